// Resource lookup per module.
#include "platform/ui/resource.h"

namespace ui {

namespace {

ModuleState g_appState;
thread_local ModuleState* t_current = nullptr;

template <class T>
const T* FindById(std::span<const T> table, UINT id) {
  for (const T& entry : table)
    if (entry.id == id) return &entry;
  return nullptr;
}

}  // namespace

ModuleState* AppModuleState() { return &g_appState; }
void SetAppResources(const ResourceSet* resources) { g_appState.resources = resources; }
ModuleState* CurrentModuleState() { return t_current ? t_current : &g_appState; }

ModuleStateScope::ModuleStateScope(ModuleState* state) : previous_(t_current) { t_current = state; }
ModuleStateScope::~ModuleStateScope() { t_current = previous_; }

const ResourceSet* CurrentResources() { return CurrentModuleState()->resources; }

const char* FindStringResource(UINT id) {
  const ResourceSet* set = CurrentResources();
  if (!set) return nullptr;
  const StringResource* s = FindById(set->strings, id);
  return s ? s->text : nullptr;
}

bool LoadString(UINT id, std::string* text) {
  const char* s = FindStringResource(id);
  if (text) *text = s ? s : "";
  return s != nullptr;
}

std::string LoadString(UINT id) {
  std::string s;
  LoadString(id, &s);
  return s;
}

#define KEDRUS_FIND_RESOURCE(Type, fn, table)    \
  const Type* fn(UINT id) {                      \
    const ResourceSet* set = CurrentResources(); \
    return set ? FindById(set->table, id) : nullptr; \
  }
KEDRUS_FIND_RESOURCE(MenuResource, FindMenuResource, menus)
KEDRUS_FIND_RESOURCE(AccelResource, FindAccelResource, accelerators)
KEDRUS_FIND_RESOURCE(DialogResource, FindDialogResource, dialogs)
KEDRUS_FIND_RESOURCE(ToolbarResource, FindToolbarResource, toolbars)
KEDRUS_FIND_RESOURCE(BitmapResource, FindBitmapResource, bitmaps)
KEDRUS_FIND_RESOURCE(CursorResource, FindCursorResource, cursors)
KEDRUS_FIND_RESOURCE(IconResource, FindIconResource, icons)
#undef KEDRUS_FIND_RESOURCE

const VersionResource* FindVersionResource() {
  const ResourceSet* set = CurrentResources();
  return set ? set->version : nullptr;
}

gdi::Bitmap LoadBitmap(UINT id) {
  gdi::Bitmap bitmap;
  if (const BitmapResource* r = FindBitmapResource(id)) bitmap.LoadBmp(r->bmp);
  return bitmap;
}

gdi::Bitmap LoadIcon(UINT id) {
  gdi::Bitmap bitmap;
  if (const IconResource* r = FindIconResource(id)) bitmap.LoadBmp(r->bmp);
  return bitmap;
}

std::string GetVersionString(std::string_view key) {
  if (const VersionResource* v = FindVersionResource())
    for (const VersionString& s : v->strings)
      if (s.key && key == s.key) return s.value ? s.value : "";
  return {};
}

std::string GetSubString(std::string_view full, int n, char separator) {
  if (n < 0) return {};
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const std::size_t next = full.find(separator, start);
    if (next == std::string_view::npos) return {};
    start = next + 1;
  }
  const std::size_t end = full.find(separator, start);
  return std::string(full.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

}  // namespace ui
