#pragma once
// Resources: data compiled into the module that owns them (strings, menus, accelerators,
// dialog templates, toolbar button strips, bitmaps, cursors, icons and the version record),
// looked up by id in one module's set.
//
// Whose set a call sees is decided by the module state: the program's by default, and another
// module's while that module's code runs inside a ModuleStateScope (each entry point of a
// library that reads resources opens one first).
//
// The tables are plain constant data (no start-up code): a module writes them as arrays and
// hands their spans to a ResourceSet.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/module.h"
#include "platform/gdi/objects.h"
#include "platform/ui/menu.h"
#include "platform/ui/types.h"

namespace ui {

struct StringResource {
  UINT id;
  const char* text;
};

// A menu as a flat list: an item with MF_POPUP opens a popup whose items follow it; the item
// with MF_END is the last one of its level.
struct MenuItemResource {
  UINT flags;
  UINT id;
  const char* text;
};
struct MenuResource {
  UINT id;
  std::span<const MenuItemResource> items;
};

struct AccelResource {
  UINT id;
  std::span<const ACCEL> entries;
};

// A dialog template: position and size in dialog units, laid out from the metrics of the
// template's font. Item classes are the standard control classes ("BUTTON", "EDIT", "STATIC",
// "LISTBOX", "COMBOBOX", "SysListView32", "SysTabControl32", "msctls_statusbar32", ...) or any
// registered class.
struct DialogItemResource {
  const char* className;
  UINT id;
  const char* text;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  short x, y, cx, cy;
  DWORD exStyle = 0;
};
struct DialogResource {
  UINT id = 0;
  const char* caption = nullptr;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  const char* fontName = nullptr;
  WORD pointSize = 0;
  std::span<const DialogItemResource> items;
  DWORD exStyle = 0;
};

// A toolbar: its button size and the command id of each entry (0: a separator); the images
// are the bitmap of the same id, one image per button in a strip.
struct ToolbarResource {
  UINT id;
  WORD width;
  WORD height;
  std::span<const UINT> items;
};

// BMP data (a resource's header and bits, or a .bmp file).
struct BitmapResource {
  UINT id;
  std::span<const std::uint8_t> bmp;
};

// A cursor: its picture (black and colour pixels show, white ones are transparent where the
// mask is white) and hot spot.
struct CursorResource {
  UINT id;
  Point hotSpot;
  std::span<const std::uint8_t> mask;   // BMP
  std::span<const std::uint8_t> color;  // BMP
};

struct IconResource {
  UINT id;
  std::span<const std::uint8_t> bmp;
};

struct VersionString {
  const char* key;
  const char* value;
};
struct VersionResource {
  plat::FixedFileInfo fixed;
  std::span<const VersionString> strings;
};

struct ResourceSet {
  const char* moduleName = "";
  std::span<const StringResource> strings;
  std::span<const MenuResource> menus;
  std::span<const AccelResource> accelerators;
  std::span<const DialogResource> dialogs;
  std::span<const ToolbarResource> toolbars;
  std::span<const BitmapResource> bitmaps;
  std::span<const CursorResource> cursors;
  std::span<const IconResource> icons;
  const VersionResource* version = nullptr;
};

class ProfileStore;

// What a module's code sees while it runs: its resources and where the window layer keeps
// what the module's frames remember (null: the application's profile store).
struct ModuleState {
  const ResourceSet* resources = nullptr;
  ProfileStore* profile = nullptr;
};

// The program's module state (what calls see outside any scope).
ModuleState* AppModuleState();
void SetAppResources(const ResourceSet* resources);
// The state in force on this thread now.
ModuleState* CurrentModuleState();

class ModuleStateScope {
 public:
  explicit ModuleStateScope(ModuleState* state);
  ~ModuleStateScope();
  ModuleStateScope(const ModuleStateScope&) = delete;
  ModuleStateScope& operator=(const ModuleStateScope&) = delete;

 private:
  ModuleState* previous_;
};

// Lookups in the current module's set; null or empty when missing.
const ResourceSet* CurrentResources();
const char* FindStringResource(UINT id);
bool LoadString(UINT id, std::string* text);
std::string LoadString(UINT id);
const MenuResource* FindMenuResource(UINT id);
const AccelResource* FindAccelResource(UINT id);
const DialogResource* FindDialogResource(UINT id);
const ToolbarResource* FindToolbarResource(UINT id);
const BitmapResource* FindBitmapResource(UINT id);
const CursorResource* FindCursorResource(UINT id);
const IconResource* FindIconResource(UINT id);
const VersionResource* FindVersionResource();
// A bitmap resource decoded; a null bitmap when missing or unreadable.
gdi::Bitmap LoadBitmap(UINT id);
// An icon resource's picture; a null bitmap when missing or unreadable.
gdi::Bitmap LoadIcon(UINT id);
// A value of the version record's string table ("FileVersion", "CompanyName", ...).
std::string GetVersionString(std::string_view key);
// Substring n of a "\n"-separated resource string (document strings); empty past the end.
std::string GetSubString(std::string_view full, int n, char separator = '\n');

}  // namespace ui
