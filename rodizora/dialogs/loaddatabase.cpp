#include "rodizora/dialogs/loaddatabase.h"

#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/resource.h"
#include "rodizora/dialogs/dialogids.h"

bool LoadDatabase(CSdfDatabase& database, const plat::String16& path) { return database.Load(path, SdfIdField()); }

void OnLoadDatabase(CSdfDatabase& database, plat::String16* baseDirectory, ui::Wnd* owner) {
  ui::FileDialog dlg(true, {}, {}, ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST, ui::LoadString(IDS_SDF_FILTER), owner);
  dlg.m_initialDir = plat::toPosixPath(plat::toUtf8(*baseDirectory));
  if (dlg.DoModal() != ui::IDOK) return;
  const std::string path = dlg.GetPathName();
  if (!LoadDatabase(database, plat::toUtf16(path))) {
    ui::AppMessageBox(IDS_SDF_LOAD_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  std::string text = ui::LoadString(IDS_SDF_LOADED);
  if (const std::size_t at = text.find("%u"); at != std::string::npos)
    text.replace(at, 2, plat::formatUInt(database.IdentifierCount()));
  ui::AppMessageBox(text, ui::MB_OK | ui::MB_ICONINFORMATION);
  *baseDirectory = plat::toUtf16(plat::joinPath(plat::pathDirectory(path), ""));
}
