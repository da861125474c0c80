// Input injection through the toolkit's event path.
#include "platform/ui/input.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>
#include <vector>

#include "platform/ui/internal/state.h"
#include "platform/ui/menu.h"

namespace ui::input {

namespace {

Qt::KeyboardModifiers QtModifiers(UINT m) {
  Qt::KeyboardModifiers q;
  if (m & kShift) q |= Qt::ShiftModifier;
  if (m & kControl) q |= Qt::ControlModifier;
  if (m & kAlt) q |= Qt::AltModifier;
  return q;
}

Qt::MouseButton QtButton(UINT b) {
  if (b & MK_RBUTTON) return Qt::RightButton;
  if (b & MK_MBUTTON) return Qt::MiddleButton;
  return Qt::LeftButton;
}

Qt::MouseButtons QtButtons(UINT b) {
  Qt::MouseButtons q;
  if (b & MK_LBUTTON) q |= Qt::LeftButton;
  if (b & MK_RBUTTON) q |= Qt::RightButton;
  if (b & MK_MBUTTON) q |= Qt::MiddleButton;
  return q;
}

// The widget that real input at a client point of wnd would reach, and the point there.
struct Target {
  QWidget* widget = nullptr;
  QPoint local;
  QPoint global;
};

Target TargetAt(Wnd* wnd, Point client) {
  Target t;
  WndImpl* impl = wnd ? wnd->impl() : nullptr;
  if (!impl || !impl->widget) return t;
  QWidget* top = impl->widget.data();
  const QPoint inTop = ClientToWidget(impl, client);
  QWidget* child = top->childAt(inTop);
  t.widget = child ? child : top;
  t.local = child ? child->mapFrom(top, inTop) : inTop;
  const Point origin = ClientOriginOnScreen(impl);
  t.global = QPoint(origin.x + client.x, origin.y + client.y);
  return t;
}

void SendMouse(Wnd* wnd, Point client, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, UINT modifiers) {
  const Target t = TargetAt(wnd, client);
  if (!t.widget) return;
  QMouseEvent e(type, QPointF(t.local), QPointF(t.global), button, buttons, QtModifiers(modifiers));
  QCoreApplication::sendEvent(t.widget, &e);
}

QWidget* KeyTarget() {
  AppState& st = AppState::Get();
  WndImpl* impl = st.Lookup(st.focus);
  if (!impl) impl = st.Lookup(st.active);
  return impl ? impl->widget.data() : nullptr;
}

void SendKey(QEvent::Type type, UINT vk, UINT modifiers, const QString& text) {
  QWidget* w = KeyTarget();
  if (!w) return;
  QKeyEvent e(type, QtKeyFromVirtualKey(vk), QtModifiers(modifiers), text);
  QCoreApplication::sendEvent(w, &e);
}

QString KeyText(UINT vk, UINT modifiers) {
  if (modifiers & (kControl | kAlt)) return {};
  if (vk == VK_TAB) return QStringLiteral("\t");
  if (vk == VK_BACK) return QString(QChar(8));
  const char c = CharOfKey(vk, (modifiers & kShift) != 0, false);
  return c ? QString(QChar(c)) : QString();
}

// The key (and whether Shift is down) that types c, found through the same layout.
bool KeyOfChar(char c, UINT* vk, bool* shift) {
  *shift = false;
  if (c == '\n') c = '\r';
  if (c == '\t') {
    *vk = VK_TAB;
    return true;
  }
  // Every key that types a character, listed once.
  static const std::vector<UINT> keys = [] {
    std::vector<UINT> all = {VK_SPACE, VK_RETURN, VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD,
                             VK_OEM_2, VK_OEM_3,  VK_OEM_4, VK_OEM_5,    VK_OEM_6,     VK_OEM_7};
    for (UINT k = '0'; k <= '9'; ++k) all.push_back(k);
    for (UINT k = 'A'; k <= 'Z'; ++k) all.push_back(k);
    return all;
  }();
  for (const bool shifted : {false, true})
    for (const UINT k : keys)
      if (CharOfKey(k, shifted, false) == c) {
        *vk = k;
        *shift = shifted;
        return true;
      }
  return false;
}

}  // namespace

void MouseMove(Wnd* wnd, Point client, UINT buttons, UINT modifiers) {
  SendMouse(wnd, client, QEvent::MouseMove, Qt::NoButton, QtButtons(buttons), modifiers);
}

void MouseDown(Wnd* wnd, Point client, UINT button, UINT modifiers) {
  SendMouse(wnd, client, QEvent::MouseButtonPress, QtButton(button), QtButton(button), modifiers);
}

void MouseUp(Wnd* wnd, Point client, UINT button, UINT modifiers) {
  SendMouse(wnd, client, QEvent::MouseButtonRelease, QtButton(button), Qt::NoButton, modifiers);
}

void Click(Wnd* wnd, Point client, UINT button, UINT modifiers) {
  const HWND h = wnd ? wnd->m_hWnd : kNoWnd;
  MouseDown(wnd, client, button, modifiers);
  if (Wnd* again = Wnd::FromHandle(h)) MouseUp(again, client, button, modifiers);
}

void DoubleClick(Wnd* wnd, Point client, UINT button, UINT modifiers) {
  const HWND h = wnd ? wnd->m_hWnd : kNoWnd;
  Click(wnd, client, button, modifiers);
  if (Wnd* again = Wnd::FromHandle(h))
    SendMouse(again, client, QEvent::MouseButtonDblClick, QtButton(button), QtButton(button), modifiers);
  if (Wnd* again = Wnd::FromHandle(h)) MouseUp(again, client, button, modifiers);
}

void Wheel(Wnd* wnd, Point client, int delta, UINT modifiers) {
  const Target t = TargetAt(wnd, client);
  if (!t.widget) return;
  QWheelEvent e(QPointF(t.local), QPointF(t.global), QPoint(), QPoint(0, delta), Qt::NoButton, QtModifiers(modifiers),
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(t.widget, &e);
}

void KeyDown(UINT vk, UINT modifiers) { SendKey(QEvent::KeyPress, vk, modifiers, KeyText(vk, modifiers)); }
void KeyUp(UINT vk, UINT modifiers) { SendKey(QEvent::KeyRelease, vk, modifiers, KeyText(vk, modifiers)); }
void Key(UINT vk, UINT modifiers) {
  KeyDown(vk, modifiers);
  KeyUp(vk, modifiers);
}

void Type(std::string_view text) {
  for (char c : text) {
    UINT vk = 0;
    bool shift = false;
    if (!KeyOfChar(c, &vk, &shift)) continue;
    Key(vk, shift ? kShift : kNone);
  }
}

std::string Hover(Wnd* wnd, Point client) {
  AppState& st = AppState::Get();
  st.lastToolTip.clear();
  const Target t = TargetAt(wnd, client);
  if (!t.widget) return {};
  QHelpEvent e(QEvent::ToolTip, t.local, t.global);
  QCoreApplication::sendEvent(t.widget, &e);
  return st.lastToolTip;
}

namespace {

bool Choose(QMenu* qmenu, UINT id) {
  emit qmenu->aboutToShow();
  for (QAction* a : qmenu->actions()) {
    if (QMenu* sub = a->menu()) {
      if (Choose(sub, id)) return true;
      continue;
    }
    if (!a->isSeparator() && a->data().toUInt() == id) {
      if (!a->isEnabled()) return false;
      a->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace

bool ChooseMenuCommand(Wnd* wnd, UINT id) {
  WndImpl* impl = wnd ? wnd->impl() : nullptr;
  if (!impl || !impl->menuBar) return false;
  for (QAction* a : impl->menuBar->actions()) {
    if (QMenu* sub = a->menu()) {
      if (Choose(sub, id)) return true;
    } else if (a->data().toUInt() == id && a->isEnabled()) {
      a->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace ui::input
