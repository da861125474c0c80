// Menus, popup menus and accelerators.
#include "platform/ui/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/ui/app.h"
#include "platform/ui/internal/menuview.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/resource.h"
#include "platform/ui/responder.h"

namespace ui {

Menu::Menu() = default;
Menu::~Menu() = default;

bool Menu::CreateMenu() {
  items_.clear();
  return true;
}
bool Menu::CreatePopupMenu() { return CreateMenu(); }
void Menu::DestroyMenu() { items_.clear(); }

namespace {

// Reads one level of a flat menu resource into menu; answers the index after it.
std::size_t ReadLevel(Menu* menu, std::span<const MenuItemResource> items, std::size_t at) {
  while (at < items.size()) {
    const MenuItemResource& r = items[at++];
    const UINT flags = r.flags & ~(MF_END | MF_POPUP);
    if (r.flags & MF_POPUP) {
      Menu* popup = menu->AppendPopup(std::make_unique<Menu>(), r.text ? r.text : "", flags);
      at = ReadLevel(popup, items, at);
    } else if (r.flags & MF_SEPARATOR) {
      menu->AppendMenu(MF_SEPARATOR);
    } else {
      menu->AppendMenu(flags, r.id, r.text ? r.text : "");
    }
    if (r.flags & MF_END) break;
  }
  return at;
}

}  // namespace

bool Menu::LoadMenuIndirect(const MenuResource& resource) {
  items_.clear();
  ReadLevel(this, resource.items, 0);
  return true;
}

bool Menu::LoadMenu(UINT resourceId) {
  const MenuResource* r = FindMenuResource(resourceId);
  return r && LoadMenuIndirect(*r);
}

int Menu::GetMenuItemCount() const { return static_cast<int>(items_.size()); }

UINT Menu::GetMenuItemID(int position) const {
  if (position < 0 || position >= GetMenuItemCount()) return 0;
  const Item& it = items_[static_cast<std::size_t>(position)];
  if (it.popup) return 0xFFFFFFFFu;
  return it.id;
}

Menu* Menu::GetSubMenu(int position) const {
  if (position < 0 || position >= GetMenuItemCount()) return nullptr;
  return items_[static_cast<std::size_t>(position)].popup.get();
}

bool Menu::FindCommand(UINT id, Menu** menu, int* position) {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    Item& it = items_[i];
    if (it.popup) {
      if (it.popup->FindCommand(id, menu, position)) return true;
    } else if (!(it.flags & MF_SEPARATOR) && it.id == id) {
      *menu = this;
      *position = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

Menu::Item* Menu::ItemAt(UINT idOrPosition, UINT flags, Menu** owner) {
  if (flags & MF_BYPOSITION) {
    if (idOrPosition >= items_.size()) return nullptr;
    if (owner) *owner = this;
    return &items_[idOrPosition];
  }
  Menu* m = nullptr;
  int pos = 0;
  if (!FindCommand(idOrPosition, &m, &pos)) return nullptr;
  if (owner) *owner = m;
  return &m->items_[static_cast<std::size_t>(pos)];
}

const Menu::Item* Menu::ItemAt(UINT idOrPosition, UINT flags) const {
  return const_cast<Menu*>(this)->ItemAt(idOrPosition, flags, nullptr);
}

UINT Menu::GetMenuState(UINT idOrPosition, UINT flags) const {
  const Item* it = ItemAt(idOrPosition, flags);
  if (!it) return 0xFFFFFFFFu;
  UINT state = it->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_RADIOCHECK | MF_DEFAULT |
                            MF_MENUBREAK | MF_MENUBARBREAK | MF_OWNERDRAW);
  if (it->popup) state |= MF_POPUP | (static_cast<UINT>(it->popup->GetMenuItemCount()) << 8);
  return state;
}

int Menu::GetMenuString(UINT idOrPosition, std::string* text, UINT flags) const {
  const Item* it = ItemAt(idOrPosition, flags);
  if (text) *text = it ? it->text : std::string();
  return it ? static_cast<int>(it->text.size()) : 0;
}

std::string Menu::GetMenuString(UINT idOrPosition, UINT flags) const {
  std::string s;
  GetMenuString(idOrPosition, &s, flags);
  return s;
}

bool Menu::AppendMenu(UINT flags, UINT id, std::string_view text) {
  Item it;
  it.flags = flags & ~(MF_BYPOSITION | MF_POPUP);
  it.id = (flags & MF_SEPARATOR) ? 0 : id;
  it.text = (flags & MF_SEPARATOR) ? std::string() : std::string(text);
  items_.push_back(std::move(it));
  return true;
}

Menu* Menu::AppendPopup(std::unique_ptr<Menu> popup, std::string_view text, UINT flags) {
  return InsertPopup(static_cast<UINT>(items_.size()), std::move(popup), text, flags);
}

bool Menu::InsertMenu(UINT idOrPosition, UINT flags, UINT id, std::string_view text) {
  std::size_t at = items_.size();
  Menu* owner = this;
  if (flags & MF_BYPOSITION) {
    if (idOrPosition < items_.size()) at = idOrPosition;
  } else {
    int pos = 0;
    if (!FindCommand(idOrPosition, &owner, &pos)) return false;
    at = static_cast<std::size_t>(pos);
  }
  Item it;
  it.flags = flags & ~(MF_BYPOSITION | MF_POPUP);
  it.id = (flags & MF_SEPARATOR) ? 0 : id;
  it.text = (flags & MF_SEPARATOR) ? std::string() : std::string(text);
  owner->items_.insert(owner->items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(it));
  return true;
}

Menu* Menu::InsertPopup(UINT position, std::unique_ptr<Menu> popup, std::string_view text, UINT flags) {
  if (!popup) return nullptr;
  Item it;
  it.flags = flags & ~(MF_BYPOSITION | MF_POPUP | MF_END);
  it.text = std::string(text);
  it.popup = std::move(popup);
  Menu* result = it.popup.get();
  const std::size_t at = std::min<std::size_t>(position, items_.size());
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(it));
  return result;
}

bool Menu::ModifyMenu(UINT idOrPosition, UINT flags, UINT id, std::string_view text) {
  Item* it = ItemAt(idOrPosition, flags);
  if (!it) return false;
  const bool keepPopup = it->popup != nullptr && !(flags & MF_SEPARATOR);
  it->flags = flags & ~(MF_BYPOSITION | MF_POPUP);
  it->id = (flags & MF_SEPARATOR) || keepPopup ? it->id : id;
  it->text = (flags & MF_SEPARATOR) ? std::string() : std::string(text);
  if (!keepPopup) it->popup.reset();
  return true;
}

bool Menu::DeleteMenu(UINT idOrPosition, UINT flags) {
  if (!ItemAt(idOrPosition, flags)) return false;
  RemoveMenu(idOrPosition, flags);  // a popup's menu goes with it
  return true;
}

std::unique_ptr<Menu> Menu::RemoveMenu(UINT idOrPosition, UINT flags) {
  Menu* owner = nullptr;
  Item* it = ItemAt(idOrPosition, flags, &owner);
  if (!it) return nullptr;
  std::unique_ptr<Menu> popup = std::move(it->popup);
  const std::ptrdiff_t index = it - owner->items_.data();
  owner->items_.erase(owner->items_.begin() + index);
  return popup;
}

UINT Menu::EnableMenuItem(UINT idOrPosition, UINT flags) {
  Item* it = ItemAt(idOrPosition, flags);
  if (!it) return 0xFFFFFFFFu;
  const UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
  it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return old;
}

UINT Menu::CheckMenuItem(UINT idOrPosition, UINT flags) {
  Item* it = ItemAt(idOrPosition, flags);
  if (!it) return 0xFFFFFFFFu;
  const UINT old = it->flags & MF_CHECKED;
  it->flags = (it->flags & ~(MF_CHECKED | MF_RADIOCHECK)) | (flags & MF_CHECKED);
  return old;
}

bool Menu::CheckMenuRadioItem(UINT first, UINT last, UINT check, UINT flags) {
  bool found = false;
  for (UINT i = first; i <= last; ++i) {
    Item* it = ItemAt(i, flags);
    if (!it) continue;
    found = true;
    it->flags &= ~(MF_CHECKED | MF_RADIOCHECK);
    if (i == check) it->flags |= MF_CHECKED | MF_RADIOCHECK;
  }
  return found;
}

void Menu::SetRadioCheck(UINT position, bool on) {
  if (Item* it = ItemAt(position, MF_BYPOSITION)) {
    it->flags &= ~(MF_CHECKED | MF_RADIOCHECK);
    if (on) it->flags |= MF_CHECKED | MF_RADIOCHECK;
  }
}

void Menu::SetItemText(UINT position, std::string_view text) {
  if (Item* it = ItemAt(position, MF_BYPOSITION)) it->text = std::string(text);
}

UINT_PTR Menu::GetItemData(UINT position) const {
  const Item* it = ItemAt(position, MF_BYPOSITION);
  return it ? it->data : 0;
}

void Menu::SetItemData(UINT position, UINT_PTR data) {
  if (Item* it = ItemAt(position, MF_BYPOSITION)) it->data = data;
}

// --- Command UI of menu items -------------------------------------------------------------------------

void UpdateMenuCommandUI(Menu* popup, CmdTarget* target, bool disableIfNoHandler) {
  if (!popup || !target) return;
  CmdUI cmdUI;
  cmdUI.m_pMenu = popup;
  cmdUI.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
  for (UINT i = 0; i < cmdUI.m_nIndexMax; ++i) {
    const UINT id = popup->GetMenuItemID(static_cast<int>(i));
    if (id == 0 || id == 0xFFFFFFFFu) continue;  // separators and popups
    cmdUI.m_nIndex = i;
    cmdUI.m_nID = id;
    cmdUI.m_pSubMenu = nullptr;
    cmdUI.DoUpdate(target, disableIfNoHandler && id < 0xF000);
  }
}

// --- Showing menus through the toolkit ----------------------------------------------------------------

namespace {

void SendInitPopup(HWND owner, Menu* menu, int index) {
  AppState& st = AppState::Get();
  if (WndImpl* impl = st.Lookup(owner))
    st.Dispatch(impl, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(static_cast<WORD>(index), 0));
}

QAction* AddItem(QWidget* menuWidget, const Menu::Item& item, UINT* chosen, HWND owner, bool postCommands) {
  auto* action = new QAction(ToQ(item.text), menuWidget);
  menuWidget->addAction(action);
  action->setData(static_cast<uint>(item.id));
  action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  if (item.flags & MF_CHECKED) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  const UINT id = item.id;
  QObject::connect(action, &QAction::triggered, action, [id, chosen, owner, postCommands] {
    if (chosen) *chosen = id;
    if (postCommands) PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  });
  return action;
}

// The owner hears which item the pointer is on (WM_MENUSELECT: the status line's fly-by help)
// and when the menu closes.
void ConnectMenuSelect(QMenu* qmenu, HWND owner) {
  if (owner == kNoWnd || qmenu->property("kedrusMenuSelect").toBool()) return;
  qmenu->setProperty("kedrusMenuSelect", true);
  QObject::connect(qmenu, &QMenu::hovered, qmenu, [owner](QAction* a) {
    const bool command = a && !a->menu() && !a->isSeparator();
    const UINT id = command ? a->data().toUInt() : 0;
    SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(command ? 0 : MF_POPUP)), 0);
    // The menu's own loop runs now: the status line paints here.
    AppState::Get().PaintPending();
  });
  QObject::connect(qmenu, &QMenu::aboutToHide, qmenu, [owner] { PostMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); });
}

void Fill(QMenu* qmenu, Menu* menu, HWND owner, bool postCommands, UINT* chosen) {
  ConnectMenuSelect(qmenu, owner);
  qmenu->clear();
  for (const Menu::Item& item : menu->Items()) {
    if (item.flags & MF_SEPARATOR) {
      qmenu->addSeparator();
    } else if (item.popup) {
      QMenu* sub = qmenu->addMenu(ToQ(item.text));
      sub->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      Menu* subMenu = item.popup.get();
      const int index = static_cast<int>(&item - menu->Items().data());
      QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, subMenu, owner, postCommands, chosen, index] {
        SendInitPopup(owner, subMenu, index);
        Fill(sub, subMenu, owner, postCommands, chosen);
      });
    } else {
      AddItem(qmenu, item, chosen, owner, postCommands);
    }
  }
}

}  // namespace

void FillQMenu(QMenu* qmenu, Menu* menu, HWND owner, bool postCommands) { Fill(qmenu, menu, owner, postCommands, nullptr); }

void BuildMenuBar(QMenuBar* bar, Menu* menu, HWND owner) {
  bar->clear();
  if (!menu) return;
  int index = 0;
  for (const Menu::Item& item : menu->Items()) {
    if (item.flags & MF_SEPARATOR) {
      ++index;
      continue;
    }
    if (item.popup) {
      QMenu* sub = bar->addMenu(ToQ(item.text));
      sub->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      Menu* subMenu = item.popup.get();
      const int at = index;
      QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, subMenu, owner, at] {
        SendInitPopup(owner, subMenu, at);
        Fill(sub, subMenu, owner, true, nullptr);
      });
      Fill(sub, subMenu, owner, true, nullptr);
    } else {
      AddItem(bar, item, nullptr, owner, true);
    }
    ++index;
  }
}

int Menu::TrackPopupMenu(UINT flags, int x, int y, Wnd* owner, const Rect*) {
  AppState& st = AppState::Get();
  const HWND ownerHwnd = owner ? owner->m_hWnd : kNoWnd;
  SendInitPopup(ownerHwnd, this, 0);
  ModalQuestion q;
  q.kind = ModalKind::PopupMenu;
  q.menu = this;
  q.point = {x, y};
  q.style = flags;
  bool byResponder = false;
  ++st.modalDepth;
  int chosen = AskModal(q, [&] {
    QMenu qmenu;
    UINT picked = 0;
    Fill(&qmenu, this, ownerHwnd, false, &picked);
    qmenu.exec(QPoint(x, y));
    return static_cast<int>(picked);
  }, &byResponder);
  --st.modalDepth;
  // Only an enabled command of this menu can be chosen.
  if (chosen) {
    Menu* m = nullptr;
    int pos = 0;
    if (!FindCommand(static_cast<UINT>(chosen), &m, &pos) || (m->GetMenuState(static_cast<UINT>(pos), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)))
      chosen = 0;
  }
  LogModal(q, chosen, byResponder);
  if (flags & TPM_RETURNCMD) return chosen;
  if (chosen && ownerHwnd != kNoWnd) PostMessage(ownerHwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return chosen != 0;
}

// --- Accelerators ------------------------------------------------------------------------------------

AccelTable AccelTable::Load(UINT resourceId) {
  const AccelResource* r = FindAccelResource(resourceId);
  if (!r) return AccelTable();
  return AccelTable(std::vector<ACCEL>(r->entries.begin(), r->entries.end()));
}

WORD AccelTable::Match(UINT message, WPARAM key) const {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  const bool keyMessage = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool charMessage = message == WM_CHAR || message == WM_SYSCHAR;
  for (const ACCEL& a : entries_) {
    if (a.fVirt & FVIRTKEY) {
      if (!keyMessage || a.key != key) continue;
      if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != control ||
          ((a.fVirt & FALT) != 0) != alt)
        continue;
      return a.cmd;
    }
    if (!charMessage || a.key != key) continue;
    if (((a.fVirt & FALT) != 0) != (message == WM_SYSCHAR)) continue;
    return a.cmd;
  }
  return 0;
}

bool TranslateAccelerator(Wnd* wnd, const AccelTable& table, const MSG* msg) {
  if (!wnd || !msg || !wnd->IsWindow() || !wnd->IsWindowEnabled()) return false;
  const WORD cmd = table.Match(msg->message, msg->wParam);
  if (!cmd) return false;
  wnd->SendMessage(WM_COMMAND, MAKEWPARAM(cmd, 1), 0);
  return true;
}

}  // namespace ui
