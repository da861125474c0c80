#pragma once
// Menus: a tree of items carrying command ids. A menu bar shows a frame's menu; a popup menu
// (TrackPopupMenu) shows one at a point and answers the chosen command id. Before a popup
// shows, its owner window gets WM_INITMENUPOPUP, whose standard handling runs the command-UI
// update of every item through the owner's command route (enabled, checked, text).
//
// A popup run is a modal run: it first releases the mouse capture and asks the modal
// responder (responder.h); with none on a display-less system, nothing is chosen.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/styles.h"
#include "platform/ui/types.h"

namespace ui {

class Wnd;
struct MenuResource;

class Menu {
 public:
  Menu();
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // Empties the menu (the menu bar and popup kinds differ only in how they are shown).
  bool CreateMenu();
  bool CreatePopupMenu();
  // Loads a menu resource of the current module (module state); false when it is missing.
  bool LoadMenu(UINT resourceId);
  bool LoadMenuIndirect(const MenuResource& resource);
  void DestroyMenu();

  int GetMenuItemCount() const;
  // The item's command id; 0xFFFFFFFF for a popup, 0 for a separator or a bad position.
  UINT GetMenuItemID(int position) const;
  Menu* GetSubMenu(int position) const;
  // MF_ state bits of an item (MF_GRAYED, MF_CHECKED, MF_POPUP, MF_SEPARATOR...); 0xFFFFFFFF
  // when there is no such item. MF_BYCOMMAND searches popups too.
  UINT GetMenuState(UINT idOrPosition, UINT flags) const;
  int GetMenuString(UINT idOrPosition, std::string* text, UINT flags) const;
  std::string GetMenuString(UINT idOrPosition, UINT flags) const;

  // MF_STRING or MF_SEPARATOR items; popups go through AppendPopup.
  bool AppendMenu(UINT flags, UINT id = 0, std::string_view text = {});
  // Takes the popup; answers it for further filling.
  Menu* AppendPopup(std::unique_ptr<Menu> popup, std::string_view text, UINT flags = 0);
  bool InsertMenu(UINT idOrPosition, UINT flags, UINT id, std::string_view text);
  Menu* InsertPopup(UINT position, std::unique_ptr<Menu> popup, std::string_view text, UINT flags = 0);
  bool ModifyMenu(UINT idOrPosition, UINT flags, UINT id, std::string_view text);
  // DeleteMenu destroys a popup item's menu; RemoveMenu gives it back.
  bool DeleteMenu(UINT idOrPosition, UINT flags);
  std::unique_ptr<Menu> RemoveMenu(UINT idOrPosition, UINT flags);

  // Answer the previous state (MF_GRAYED / MF_CHECKED bits), or 0xFFFFFFFF for no item.
  UINT EnableMenuItem(UINT idOrPosition, UINT flags);
  UINT CheckMenuItem(UINT idOrPosition, UINT flags);
  bool CheckMenuRadioItem(UINT first, UINT last, UINT check, UINT flags);
  void SetRadioCheck(UINT position, bool on);
  void SetItemText(UINT position, std::string_view text);
  UINT_PTR GetItemData(UINT position) const;
  void SetItemData(UINT position, UINT_PTR data);

  // Shows the menu at (x, y) in screen coordinates for owner. With TPM_RETURNCMD answers the
  // chosen id (0: none) and sends nothing; otherwise posts WM_COMMAND with it to owner and
  // answers whether something was chosen.
  int TrackPopupMenu(UINT flags, int x, int y, Wnd* owner, const Rect* rect = nullptr);

  // A change of a menu shown in a window's menu bar shows there after DrawMenuBar.
  struct Item {
    UINT flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP, MF_RADIOCHECK, ...
    UINT id = 0;
    std::string text;
    std::unique_ptr<Menu> popup;
    UINT_PTR data = 0;
  };
  const std::vector<Item>& Items() const { return items_; }

  // The menu and position of the item with this command id, searching popups; false if none.
  bool FindCommand(UINT id, Menu** menu, int* position);

 private:
  Item* ItemAt(UINT idOrPosition, UINT flags, Menu** owner = nullptr);
  const Item* ItemAt(UINT idOrPosition, UINT flags) const;

  std::vector<Item> items_;
};
using HMENU = Menu*;

// The command-UI update of every item of a popup through target's route (what WM_INITMENUPOPUP
// does by default). Popup items are left enabled.
void UpdateMenuCommandUI(Menu* popup, class CmdTarget* target, bool disableIfNoHandler);

// --- Accelerators ---------------------------------------------------------------------------------
struct ACCEL {
  BYTE fVirt = 0;  // FVIRTKEY, FSHIFT, FCONTROL, FALT
  WORD key = 0;    // virtual key (FVIRTKEY) or character
  WORD cmd = 0;
};
struct AccelResource;

class AccelTable {
 public:
  AccelTable() = default;
  explicit AccelTable(std::vector<ACCEL> entries) : entries_(std::move(entries)) {}
  // From the current module's resources; an empty table when missing.
  static AccelTable Load(UINT resourceId);
  bool IsEmpty() const { return entries_.empty(); }
  const std::vector<ACCEL>& Entries() const { return entries_; }
  // The command of a key message (WM_KEYDOWN / WM_SYSKEYDOWN for virtual keys, WM_CHAR for
  // characters) with the current shift, control and alt state; 0 when none matches.
  WORD Match(UINT message, WPARAM key) const;

 private:
  std::vector<ACCEL> entries_;
};

// Sends WM_COMMAND (code 1) for a matching key message to wnd; true when it translated.
bool TranslateAccelerator(Wnd* wnd, const AccelTable& table, const struct MSG* msg);

}  // namespace ui
