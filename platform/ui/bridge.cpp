// Toolkit events become our messages: input (after the thread's hooks), focus, closing and
// window-system moves of top-level windows.
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

namespace {

struct EventScope {
  AppState& st;
  explicit EventScope(AppState& s, const QWidget* w) : st(s) { st.eventWidgets.push_back(w); }
  ~EventScope() { st.eventWidgets.pop_back(); }
};

struct KeyRow {
  int qt;
  UINT vk;
};

constexpr KeyRow kKeys[] = {
    {Qt::Key_Escape, VK_ESCAPE},     {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Print, VK_SNAPSHOT},    {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Home, VK_HOME},
    {Qt::Key_End, VK_END},           {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Down, VK_DOWN},        {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},     {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},          {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Help, VK_HELP},        {Qt::Key_Space, VK_SPACE},
    {Qt::Key_Slash, VK_OEM_2},       {Qt::Key_Question, VK_OEM_2},   {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},   {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Equal, VK_OEM_PLUS},    {Qt::Key_Semicolon, VK_OEM_1},  {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_QuoteLeft, VK_OEM_3},   {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},   {Qt::Key_Backslash, VK_OEM_5},  {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},    {Qt::Key_Exclam, '1'},          {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},       {Qt::Key_Dollar, '4'},          {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},      {Qt::Key_Ampersand, '7'},       {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},        {Qt::Key_ParenRight, '0'},
};

bool IsExtendedKey(UINT vk) {
  switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: case VK_NUMLOCK: case VK_DIVIDE:
      return true;
    default:
      return false;
  }
}

void NoteModifiers(AppState& st, Qt::KeyboardModifiers m) {
  st.NoteKey(VK_SHIFT, m & Qt::ShiftModifier);
  st.NoteKey(VK_CONTROL, m & Qt::ControlModifier);
  st.NoteKey(VK_MENU, m & Qt::AltModifier);
}

UINT ButtonMessage(Qt::MouseButton b, QEvent::Type type, bool doubleClicks, WPARAM* xButton) {
  const bool dbl = type == QEvent::MouseButtonDblClick && doubleClicks;
  const bool up = type == QEvent::MouseButtonRelease;
  UINT base;
  switch (b) {
    case Qt::LeftButton: base = WM_LBUTTONDOWN; break;
    case Qt::RightButton: base = WM_RBUTTONDOWN; break;
    case Qt::MiddleButton: base = WM_MBUTTONDOWN; break;
    case Qt::XButton1: base = WM_XBUTTONDOWN; *xButton = 1; break;
    case Qt::XButton2: base = WM_XBUTTONDOWN; *xButton = 2; break;
    default: return 0;
  }
  return base + (up ? 1 : dbl ? 2 : 0);
}

WndImpl* TopLevelOf(AppState& st, WndImpl* impl) {
  while (impl && !impl->IsTopLevel()) impl = st.Lookup(impl->parent);
  return impl;
}

bool BridgeMouse(AppState& st, WndImpl* impl, QWidget* widget, QMouseEvent* me, const std::function<bool(QEvent*)>& base) {
  const HWND h = impl->hwnd;
  WPARAM xButton = 0;
  UINT message;
  if (me->type() == QEvent::MouseMove) {
    message = WM_MOUSEMOVE;
  } else {
    const bool dblClicks = !(impl->core && impl->core->OwnDrawn()) || (impl->cls.style & CS_DBLCLKS);
    message = ButtonMessage(me->button(), me->type(), dblClicks, &xButton);
    if (!message) return base(me);
  }
  QPoint local = me->position().toPoint();
  if (widget != impl->widget && impl->widget) local = widget->mapTo(impl->widget.data(), local);
  const Point client = WidgetToClient(impl, local);
  const Point origin = ClientOriginOnScreen(impl);
  const Point screen{origin.x + client.x, origin.y + client.y};
  st.cursorPos = screen;
  NoteModifiers(st, me->modifiers());
  st.NoteKey(VK_LBUTTON, me->buttons() & Qt::LeftButton);
  st.NoteKey(VK_RBUTTON, me->buttons() & Qt::RightButton);
  st.NoteKey(VK_MBUTTON, me->buttons() & Qt::MiddleButton);

  MOUSEHOOKSTRUCT mhs;
  mhs.pt = screen;
  mhs.hwnd = h;
  mhs.wHitTestCode = HTCLIENT;
  if (st.RunHooks(WH_MOUSE, message, reinterpret_cast<LPARAM>(&mhs))) {
    me->accept();
    return true;
  }
  impl = st.Lookup(h);
  if (!impl) return true;

  WndImpl* target = impl;
  Point at = client;
  if (st.capture != kNoWnd && st.capture != h) {
    if (WndImpl* cap = st.Lookup(st.capture)) {
      target = cap;
      const Point o = ClientOriginOnScreen(cap);
      at = {screen.x - o.x, screen.y - o.y};
    }
  }
  const HWND th = target->hwnd;
  st.cursorWindow = th;
  const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                    message == WM_XBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
  if (down) {
    WndImpl* top = TopLevelOf(st, target);
    const LRESULT activate = st.Dispatch(target, WM_MOUSEACTIVATE, top ? static_cast<WPARAM>(static_cast<std::uint32_t>(top->hwnd)) : 0,
                                         MAKELPARAM(HTCLIENT, static_cast<WORD>(message)));
    top = st.Lookup(top ? top->hwnd : kNoWnd);
    if (top && top->hwnd != st.active && activate != MA_NOACTIVATE && activate != MA_NOACTIVATEANDEAT)
      st.SetActive(top->hwnd);
    target = st.Lookup(th);
    if (!target || activate == MA_ACTIVATEANDEAT || activate == MA_NOACTIVATEANDEAT) {
      me->accept();
      return true;
    }
  }
  // A press on a child window's caption or its buttons is the non-client area's.
  if (st.capture == kNoWnd && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && !target->IsTopLevel() &&
      target->core && target->core->OwnDrawn() && !target->ClientRect().PtInRect(at)) {
    const int hit = WndAccess::NonClientHitTest(target, {at.x + target->insets.left, at.y + target->insets.top});
    if (hit == HTCAPTION || hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON) {
      st.Dispatch(target, message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCLBUTTONDBLCLK, static_cast<WPARAM>(hit),
                  PointToParam(screen));
      me->accept();
      return true;
    }
  }
  if (st.capture == kNoWnd && (message == WM_MOUSEMOVE || down)) {
    st.Dispatch(target, WM_SETCURSOR, static_cast<WPARAM>(static_cast<std::uint32_t>(th)),
                MAKELPARAM(HTCLIENT, static_cast<WORD>(message)));
    target = st.Lookup(th);
    if (!target) return true;
  }
  MSG msg;
  msg.hwnd = th;
  msg.message = message;
  msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseFlags(me->buttons(), me->modifiers())), static_cast<WORD>(xButton));
  msg.lParam = PointToParam(at);
  msg.pt = screen;
  std::function<bool()> toolkit;
  if (target == impl) toolkit = [&] { return base(me); };
  st.DispatchInput(target, msg, std::move(toolkit));
  me->accept();
  return true;
}

bool BridgeKey(AppState& st, WndImpl* impl, QKeyEvent* ke, const std::function<bool(QEvent*)>& base) {
  const HWND h = impl->hwnd;
  const bool release = ke->type() == QEvent::KeyRelease;
  const bool alt = ke->modifiers() & Qt::AltModifier;
  const UINT vk = VirtualKeyFromQt(ke->key(), ke->modifiers());
  NoteModifiers(st, ke->modifiers());
  if (vk) st.NoteKey(vk, !release);
  const LPARAM lp = KeyParam(vk, release, ke->isAutoRepeat(), alt);
  if (vk && st.RunHooks(WH_KEYBOARD, vk, lp)) {
    ke->accept();
    return true;
  }
  impl = st.Lookup(h);
  if (!impl) return true;
  MSG msg;
  msg.hwnd = h;
  msg.wParam = vk;
  msg.lParam = lp;
  msg.pt = st.cursorPos;
  if (release) {
    msg.message = alt ? WM_SYSKEYUP : WM_KEYUP;
    st.DispatchInput(impl, msg, [&] { return base(ke); });
    ke->accept();
    return true;
  }
  msg.message = (alt || vk == VK_F10) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  // The key's own handling without its text; the text follows as characters.
  st.DispatchInput(impl, msg, [&] {
    QKeyEvent keyOnly(QEvent::KeyPress, ke->key(), ke->modifiers(), QString(), ke->isAutoRepeat());
    return base(&keyOnly);
  });
  const QString text = ke->text();
  for (QChar c : text) {
    impl = st.Lookup(h);
    if (!impl) break;
    MSG cm = msg;
    cm.message = alt ? WM_SYSCHAR : WM_CHAR;
    cm.wParam = c.unicode();
    std::function<bool()> toolkit;
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
      toolkit = [&] {
        QKeyEvent charOnly(QEvent::KeyPress, ke->key(), ke->modifiers(), QString(c), ke->isAutoRepeat());
        return base(&charOnly);
      };
    st.DispatchInput(impl, cm, std::move(toolkit));
  }
  ke->accept();
  return true;
}

// The text of the tool at a point: tools of tool-tip controls first, then the window's own.
std::string ToolTipTextAt(WndImpl* impl, Point client) {
  AppState& st = AppState::Get();
  const HWND h = impl->hwnd;
  TOOLINFO ti;
  HWND notify = kNoWnd;
  bool found = false;
  for (const AppState::ToolRecord& rec : st.tools) {
    WndImpl* control = st.Lookup(rec.control);
    if (!control || !control->toolTipActive || control->destroying) continue;
    if (rec.info.hwnd != h) continue;
    const bool whole = rec.info.uFlags & TTF_IDISHWND;
    if (!whole && !rec.info.rect.PtInRect(client)) continue;
    ti = rec.info;
    notify = control->owner != kNoWnd ? control->owner : control->parent;
    if (notify == kNoWnd) notify = h;
    found = true;
    break;
  }
  if (!found && impl->toolTips) {
    if (impl->object->OnToolHitTest(client, &ti) < 0) return {};
    if (Wnd* owner = impl->object->GetOwner()) notify = owner->m_hWnd;
    else notify = h;
    found = true;
  }
  if (!found) return {};
  if (!ti.callback) return ti.text;
  NMTTDISPINFO info;
  info.hdr.hwndFrom = h;
  info.hdr.idFrom = ti.uId;
  info.hdr.code = TTN_NEEDTEXT;
  info.uFlags = ti.uFlags;
  info.lParam = ti.lParam;
  if (WndImpl* n = st.Lookup(notify))
    st.Dispatch(n, WM_NOTIFY, ti.uId, reinterpret_cast<LPARAM>(&info));
  if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACK) return info.lpszText;
  info.szText[sizeof(info.szText) - 1] = 0;
  return info.szText;
}

}  // namespace

bool IsMouseEvent(const QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

bool AppState::InEvent(const QWidget* widget) const {
  for (const QWidget* w : eventWidgets)
    for (const QWidget* p = w; p; p = p->parentWidget())
      if (p == widget) return true;
  return false;
}

bool BridgeEvent(WndImpl* impl, QWidget* widget, QEvent* e, const std::function<bool(QEvent*)>& base) {
  AppState& st = AppState::Get();
  if (st.syntheticDepth > 0) return base(e);
  EventScope scope(st, widget);
  const HWND h = impl->hwnd;
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return BridgeMouse(st, impl, widget, static_cast<QMouseEvent*>(e), base);
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      QPoint local = we->position().toPoint();
      if (widget != impl->widget && impl->widget) local = widget->mapTo(impl->widget.data(), local);
      const Point client = WidgetToClient(impl, local);
      const Point o = ClientOriginOnScreen(impl);
      const Point screen{o.x + client.x, o.y + client.y};
      MOUSEHOOKSTRUCT mhs;
      mhs.pt = screen;
      mhs.hwnd = h;
      mhs.wHitTestCode = HTCLIENT;
      if (st.RunHooks(WH_MOUSE, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&mhs))) return true;
      if (!(impl = st.Lookup(h))) return true;
      MSG msg;
      msg.hwnd = h;
      msg.message = WM_MOUSEWHEEL;
      msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseFlags(we->buttons(), we->modifiers())),
                              static_cast<WORD>(static_cast<short>(we->angleDelta().y())));
      msg.lParam = PointToParam(screen);
      msg.pt = screen;
      st.DispatchInput(impl, msg, [&] { return base(e); });
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return BridgeKey(st, impl, static_cast<QKeyEvent*>(e), base);
    case QEvent::FocusIn:
      if (st.focus != h) st.SetFocus(h);
      return base(e);
    case QEvent::ToolTip: {
      auto* he = static_cast<QHelpEvent*>(e);
      QPoint local = he->pos();
      if (widget != impl->widget && impl->widget) local = widget->mapTo(impl->widget.data(), local);
      std::string text = ToolTipTextAt(impl, WidgetToClient(impl, local));
      // A window without a tip of its own: a parent that gives tips for its child windows.
      const Point client = WidgetToClient(impl, local);
      const Point origin = ClientOriginOnScreen(impl);
      for (WndImpl* p = impl->IsTopLevel() ? nullptr : st.Lookup(impl->parent); text.empty() && p;
           p = p->IsTopLevel() ? nullptr : st.Lookup(p->parent)) {
        if (!p->toolTips) continue;
        const Point o = ClientOriginOnScreen(p);
        text = ToolTipTextAt(p, {origin.x + client.x - o.x, origin.y + client.y - o.y});
      }
      st.lastToolTip = text;
      if (text.empty()) {
        QToolTip::hideText();
      } else if (!st.headless) {
        QToolTip::showText(he->globalPos(), ToQ(text), widget);
      }
      return true;
    }
    case QEvent::ContextMenu:
      // The context menu comes from WM_RBUTTONUP's standard handling, as WM_CONTEXTMENU.
      e->accept();
      return true;
    case QEvent::Close:
      if (impl->IsTopLevel()) {
        static_cast<QCloseEvent*>(e)->ignore();
        st.Dispatch(impl, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
      }
      return base(e);
    case QEvent::WindowActivate: {
      if (impl->IsTopLevel() && st.active != h) {
        if (impl->object->IsWindowEnabled()) {
          // Active in the window system already: only our side follows.
          st.SetActive(h, false);
        } else {
          // A window disabled for a modal run (its owner clicked): the run's window keeps the
          // activation, as the platform gives it to the enabled popup; never a tug of war.
          WndImpl* active = st.Lookup(st.active);
          if (active && active->widget && active->owner == h) active->widget->activateWindow();
        }
      }
      const bool result = base(e);
      // The toolkit's keyboard focus comes back to our focus window in it (set while the
      // window was hidden or inactive, the toolkit may have kept another).
      WndImpl* focus = st.Lookup(st.focus);
      if (focus && focus->widget && TopLevelOf(st, focus) == st.Lookup(h) && QApplication::focusWidget() != focus->widget) {
        ++st.syntheticDepth;
        focus->widget->setFocus(Qt::ActiveWindowFocusReason);
        --st.syntheticDepth;
      }
      return result;
    }
    case QEvent::Move:
    case QEvent::Resize: {
      const bool result = base(e);
      if (WndImpl* again = st.Lookup(h))
        if (again->IsTopLevel() && !again->settingGeometry) WndAccess::ToolkitMovedTopLevel(again);
      return result;
    }
    default:
      return base(e);
  }
}

void SynthesizeInput(WndImpl* impl, UINT message, WPARAM wParam, LPARAM lParam) {
  QWidget* w = impl->widget.data();
  if (!w) return;
  AppState& st = AppState::Get();
  Qt::KeyboardModifiers mods;
  if (st.KeyState(VK_SHIFT) < 0) mods |= Qt::ShiftModifier;
  if (st.KeyState(VK_CONTROL) < 0) mods |= Qt::ControlModifier;
  if (st.KeyState(VK_MENU) < 0) mods |= Qt::AltModifier;
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      QKeyEvent e(message == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease,
                  QtKeyFromVirtualKey(static_cast<UINT>(wParam)), mods, QString());
      SendSynthetic(w, &e);
      return;
    }
    case WM_CHAR: {
      if (wParam < 0x20 || wParam == 0x7F) return;  // control characters act through their keys
      QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, mods, QString(QChar(static_cast<char16_t>(wParam))));
      SendSynthetic(w, &e);
      return;
    }
    default: {
      const QPoint local = ClientToWidget(impl, ParamToPoint(lParam));
      const Point o = ClientOriginOnScreen(impl);
      const QPoint global(o.x + local.x() - impl->insets.left, o.y + local.y() - impl->insets.top);
      QEvent::Type type = QEvent::MouseMove;
      Qt::MouseButton button = Qt::NoButton;
      if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) type = QEvent::MouseButtonPress;
      else if (message == WM_LBUTTONUP || message == WM_RBUTTONUP) type = QEvent::MouseButtonRelease;
      else if (message == WM_LBUTTONDBLCLK) type = QEvent::MouseButtonDblClick;
      if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK) button = Qt::LeftButton;
      if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) button = Qt::RightButton;
      Qt::MouseButtons buttons;
      const UINT flags = LOWORD(wParam);
      if (flags & MK_LBUTTON) buttons |= Qt::LeftButton;
      if (flags & MK_RBUTTON) buttons |= Qt::RightButton;
      QWidget* target = w->childAt(local);
      const QPoint at = target ? target->mapFrom(w, local) : local;
      QMouseEvent e(type, QPointF(at), QPointF(global), button, buttons, mods);
      SendSynthetic(target ? target : w, &e);
      return;
    }
  }
}

bool SendSynthetic(QWidget* widget, QEvent* event) {
  AppState& st = AppState::Get();
  ++st.syntheticDepth;
  const bool r = QCoreApplication::sendEvent(widget, event);
  --st.syntheticDepth;
  return r;
}

UINT VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return VK_NUMPAD0 + static_cast<UINT>(key - Qt::Key_0);
    switch (key) {
      case Qt::Key_Asterisk: return VK_MULTIPLY;
      case Qt::Key_Plus: return VK_ADD;
      case Qt::Key_Minus: return VK_SUBTRACT;
      case Qt::Key_Period: return VK_DECIMAL;
      case Qt::Key_Slash: return VK_DIVIDE;
      default: break;
    }
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return static_cast<UINT>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
  for (const KeyRow& row : kKeys)
    if (row.qt == key) return row.vk;
  return 0;
}

int QtKeyFromVirtualKey(UINT vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<int>(vk);
  if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return Qt::Key_0 + static_cast<int>(vk - VK_NUMPAD0);
  switch (vk) {
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DECIMAL: return Qt::Key_Period;
    case VK_DIVIDE: return Qt::Key_Slash;
    default: break;
  }
  for (const KeyRow& row : kKeys)
    if (row.vk == vk) return row.qt;
  return 0;
}

LPARAM KeyParam(UINT vk, bool release, bool autoRepeat, bool alt) {
  std::uint32_t lp = 1;  // repeat count
  lp |= (vk & 0xFF) << 16;
  if (IsExtendedKey(vk)) lp |= static_cast<std::uint32_t>(KF_EXTENDED_BIT);
  if (alt) lp |= static_cast<std::uint32_t>(KF_ALTDOWN_BIT);
  if (autoRepeat || release) lp |= static_cast<std::uint32_t>(KF_REPEAT_BIT);
  if (release) lp |= KF_UP_BIT;
  return static_cast<LPARAM>(static_cast<std::int32_t>(lp));
}

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  UINT f = 0;
  if (buttons & Qt::LeftButton) f |= MK_LBUTTON;
  if (buttons & Qt::RightButton) f |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) f |= MK_MBUTTON;
  if (buttons & Qt::XButton1) f |= MK_XBUTTON1;
  if (buttons & Qt::XButton2) f |= MK_XBUTTON2;
  if (modifiers & Qt::ShiftModifier) f |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) f |= MK_CONTROL;
  return f;
}

WndImpl* ImplOfWidget(const QWidget* widget) {
  AppState& st = AppState::Get();
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (WndImpl* impl = st.WindowOfWidget(w)) return impl;
  return nullptr;
}

QPoint ClientToWidget(const WndImpl* impl, Point client) {
  return QPoint(client.x + impl->insets.left, client.y + impl->insets.top);
}

Point WidgetToClient(const WndImpl* impl, const QPoint& local) {
  return Point{local.x() - impl->insets.left, local.y() - impl->insets.top};
}

Point ClientOriginOnScreen(const WndImpl* impl) {
  AppState& st = AppState::Get();
  Point p{0, 0};
  for (const WndImpl* w = impl; w; w = w->IsTopLevel() ? nullptr : st.Lookup(w->parent)) {
    p.x += w->rect.left + w->insets.left;
    p.y += w->rect.top + w->insets.top;
  }
  return p;
}

QString ToQ(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
std::string FromQ(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace ui
