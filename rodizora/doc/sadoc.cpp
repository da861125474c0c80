#include "rodizora/doc/sadoc.h"

#include <algorithm>

#include "common/guids.h"
#include "common/itablecontrol.h"
#include "common/shared_ids.h"
#include "foundation/filedlg/filesavedlg.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/messages.h"
#include "platform/ui/resource.h"
#include "platform/ui/waitcursor.h"
#include "rodizora/res/saids.h"
#include "rodizora/doc/replacepath.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/doc/workspace.h"
#include "rodizora/view/viewmapping.h"
#include "rodizora/sdf/sdfdatabase.h"

namespace {

using namespace plat::ole;

// What the spectrum controls call their own folder format (format 0 of every kind), in which a
// workspace keeps its spectra.
constexpr char kWorkspaceFormatName[] = "KEDRUS";

// A new item of the document whose object is made by makeObject; null (the item deleted) when
// that fails.
template <class MakeObject>
CSaItem* NewItem(CSaDoc* doc, MakeObject makeObject) {
  auto* item = new CSaItem(doc);
  if (!makeObject(item)) {
    doc->DeleteItem(item);
    return nullptr;
  }
  return item;
}

// Why a path that no spectrum format recognised did not open.
std::string UnopenedReason(const std::string& path) {
  const plat::FileInfo info = plat::fileInfo(path);
  if (!plat::pathExists(path)) return "There is no such file or folder.";
  if (!info.exists) return "It is a link to nothing.";
  if (!info.isDirectory && !info.isRegular) return "It is no file or folder.";
  if (info.isRegular && !plat::canReadFile(path)) return "The file cannot be read (no permission).";
  if (info.isRegular && info.size > kMaxSpectrumFileBytes)
    return "It is larger than 1 GB (" + std::to_string(info.size) + " bytes), the largest file this program opens.";
  return "It is not a spectrum file of any format this program reads.";
}

// Tells the user that a path of an open did not open, unless nobody is there to tell.
void ReportUnopened(const std::string& path, const std::string& reason) {
  if (SaSettings().quietOpens) return;
  ui::AppMessageBox("\"" + path + "\" cannot be opened.\n" + reason, ui::MB_OK | ui::MB_ICONSTOP);
}

}  // namespace

UI_IMPLEMENT_DYNCREATE(CSaDoc, plat::ole::OleDocument)

UI_BEGIN_MESSAGE_MAP(CSaDoc, plat::ole::OleDocument)
  ui::map::Command(ui::ID_EDIT_CLEAR_ALL, &CSaDoc::OnEditClearAll),
  ui::map::UpdateUI(ui::ID_EDIT_CLEAR_ALL, &CSaDoc::OnUpdateEditClearAll),
  ui::map::Command(ui::ID_FILE_SAVE, &CSaDoc::OnFileSave),
  ui::map::Command(ui::ID_FILE_SAVE_AS, &CSaDoc::OnFileSaveAs),
  ui::map::Command(ui::ID_EDIT_UNDO, &CSaDoc::OnEditUndo),
  ui::map::Command(ui::ID_EDIT_REDO, &CSaDoc::OnEditRedo),
  ui::map::UpdateUI(ui::ID_EDIT_UNDO, &CSaDoc::OnUpdateEditUndo),
  ui::map::UpdateUI(ui::ID_EDIT_REDO, &CSaDoc::OnUpdateEditRedo),
UI_END_MESSAGE_MAP()

CSaDoc::CSaDoc() : m_zoom(SaSettings().documentZoom) {
  // The program's clipboard format exists from the first document on.
  RodizoraClipboardFormat();
}

CSaDoc::~CSaDoc() { CSaDoc::DeleteContents(); }

void CSaDoc::ComputePageSize() {
  const auto printer = saprint::PrintDevice::Open(saprint::AppPrinter(), {});
  m_page = printer ? sapage::PageSizeFromPrinter(printer->DC().GetDeviceCaps(gdi::HORZSIZE),
                                                 printer->DC().GetDeviceCaps(gdi::VERTSIZE))
                   : sapage::PageSizeFromPrinter(0, 0);
}

ISaPageView* CSaDoc::FirstPageView() const {
  return GetViews().empty() ? nullptr : dynamic_cast<ISaPageView*>(GetViews().front());
}

int CSaDoc::GetZoom() const {
  const ISaPageView* view = FirstPageView();
  return !view || view->IsPageLayout() ? m_zoom : -1;
}

std::vector<CSaItem*> CSaDoc::Items() const {
  std::vector<CSaItem*> items;
  for (OleClientItem* item : GetItems())
    if (auto* sa = dynamic_cast<CSaItem*>(item)) items.push_back(sa);
  return items;
}

bool CSaDoc::CanCloseFrame(ui::FrameWnd*) { return true; }

// --- Items ---------------------------------------------------------------------------------------------

int CSaDoc::GetSpectraCountInFile(const plat::String16& path) { return CSpcControlRef::Create().SpectraCount(path); }

CSaItem* CSaDoc::CreateSpectrumItem(const plat::String16& path, int index) {
  CSpcControlRef control = CSpcControlRef::Create();
  if (!control || failed(control->LoadSpectrum(BstrArg(path), index))) return nullptr;
  const plat::String16& commands = SaSettings().processCommands;
  if (!commands.empty()) control->ExecuteCommands(BstrArg(commands));
  // The loaded control goes once its embedding is taken, before the item's own control loads
  // it: a large spectrum is held twice at the most, not three times.
  std::optional<std::vector<std::uint8_t>> embedding = EmbeddingOf(control.Get());
  control.Reset();
  return SpectrumItemFromEmbedding(std::move(embedding), ItemFromFile, 1);
}

std::optional<std::vector<std::uint8_t>> CSaDoc::EmbeddingOf(IUnknown* source) {
  void* data = nullptr;
  if (source) source->QueryInterface(IID_IDataObject, &data);
  if (!data) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  const bool got = plat::ole::DataReader::GetBytes(static_cast<IDataObject*>(data), plat::ole::embedSourceFormat(), &bytes);
  static_cast<IDataObject*>(data)->Release();
  if (!got) return std::nullopt;
  return bytes;
}

CSaItem* CSaDoc::SpectrumItemFromEmbedding(std::optional<std::vector<std::uint8_t>> embedding, std::int32_t subtype,
                                           std::int32_t fromFile) {
  CSaItem* item = NewItem(this, [&](CSaItem* it) {
    it->Record().type = ItemTypeSpectrum;
    it->Record().subtype = subtype;
    it->Record().fromFile = fromFile;
    return embedding && it->CreateFromEmbedSource(std::move(*embedding));
  });
  if (item) {
    item->SizeFromCachedExtent();
    item->SetRect({0, 0, m_page.width, m_page.height});
  }
  return item;
}

CSaItem* CSaDoc::AddTableItem(CSaItem* spectrum, bool always) {
  const CSpcControlRef control(spectrum ? static_cast<ISpectrumControl*>(spectrum->QueryObject(IID_ISpectrumControl))
                                        : nullptr);
  if (!control && !always) return nullptr;
  const plat::String16 kind = control ? control.CurMethod() : plat::String16();
  if (!always && SaProfileInt((kind + u"\\Table").c_str(), 1) == 0) return nullptr;
  // A stored height outside the page would turn the spectra upside down.
  const int height =
      std::clamp(sapage::TenthsToPage(SaProfileInt((kind + u"\\TableHeight").c_str(), 150)), 0, m_page.height);
  CSaItem* table = NewItem(this, [](CSaItem* it) { return it->CreateNewItem(CLSID_TableControl); });
  if (!table) return nullptr;
  if (auto* itable = static_cast<ITableControl*>(table->QueryObject(IID_ITableControl))) {
    if (control) itable->AttachSpectrum(control.Get());
    itable->Release();
  }
  table->Record().type = ItemTypeTable;
  table->SizeFromCachedExtent();
  for (CSaItem* item : Items())
    if (item->Record().subtype == ItemFromFile)
      item->SetRect(sapage::ShrinkForTable(item->GetRect(), m_page.height, height));
  table->SetRect(sapage::TableRect(m_page.width, m_page.height, height));
  return table;
}

CSaItem* CSaDoc::AddObjectItem(const Guid& clsid) {
  CSaItem* item = NewItem(this, [&](CSaItem* it) { return it->CreateNewItem(clsid); });
  if (!item) return nullptr;
  item->UpdatePresentation();
  item->SizeFromCachedExtent();
  return item;
}

void CSaDoc::AddStructureItem(CSaItem* spectrum) {
  const CSpcControlRef control(spectrum ? static_cast<ISpectrumControl*>(spectrum->QueryObject(IID_ISpectrumControl))
                                        : nullptr);
  if (!control) return;
  const auto fileName = control.Param(u"FILENAME");
  if (!fileName) return;
  const plat::String16 molfile = SaSettings().database.ExtractRecord(*fileName, SdfShowId());
  if (molfile.empty()) return;
  if (CSaItem* item = NewItem(this, [](CSaItem* it) { return it->CreateNewItem(CLSID_StructureControl); })) {
    const sapage::ObjectPlacement place{sapage::TenthsToPage(SaProfileInt(u"ObjectLeft", 100)),
                                        sapage::TenthsToPage(SaProfileInt(u"ObjectTop", 100)),
                                        sapage::TenthsToPage(SaProfileInt(u"ObjectWidth", 300)),
                                        sapage::TenthsToPage(SaProfileInt(u"ObjectHeight", 300))};
    item->SizeFromCachedExtent();
    item->SetRect(sapage::StructureRect(spectrum->GetRect(), place));
    if (auto* dispatch = static_cast<IDispatch*>(item->QueryObject(IID_IDispatch))) {
      DispatchDriver driver(dispatch, true);
      Variant path;
      variantInit(&path);
      path.vt = VT_BSTR;
      path.bstr = allocString(molfile);
      driver.invoke(kedrus_dispid::kStructureLoadFile, DISPATCH_METHOD, std::span<const Variant>(&path, 1), nullptr);
      variantClear(&path);
    }
  }
  plat::removeFile(plat::toUtf8(molfile));
}

CSaItem* CSaDoc::CreateItemFromSource(IUnknown* source) {
  return SpectrumItemFromEmbedding(EmbeddingOf(source), ItemFromControl, 0);
}

void CSaDoc::DeleteItem(CSaItem* item) {
  if (!item) return;
  for (ui::View* view : GetViews())
    if (auto* page = dynamic_cast<ISaPageView*>(view)) page->OnItemGone(item);
  item->Delete();
}

// --- Document -------------------------------------------------------------------------------------------

bool CSaDoc::OnOpenDocument(std::string_view pathList) {
  ui::WaitCursor wait;
  m_notReadWhole.clear();
  ComputePageSize();
  DeleteContents();
  const std::vector<std::u16string> entries = sapage::SplitPathList(plat::toUtf16(pathList));
  const int count = static_cast<int>(entries.size());
  bool opened = false;
  for (int d = 0; d < count; ++d) {
    const plat::String16& entry = entries[d];
    // An empty entry keeps its band but opens nothing.
    if (entry.empty()) continue;
    const std::string folder = plat::toUtf8(entry);
    // A save of this path that was stopped midway may have left its old data aside.
    sasave::TidyTarget(folder);
    if (saworkspace::IsWorkspace(folder)) {
      std::size_t lost = 0;
      if (saworkspace::Load(*this, folder, &lost)) {
        m_workspace = true;
        opened = true;
        // Saved over as it is, the workspace would lose what could not be read.
        if (lost > 0) m_notReadWhole = folder;
      } else {
        opened = false;
        ReportUnopened(folder, "It is a workspace whose \"core\" file is damaged.");
      }
      continue;
    }
    try {
      const int spectra = GetSpectraCountInFile(entry);
      // No control could have said why: nothing of the path reads as a spectrum.
      if (spectra == 0) ReportUnopened(folder, UnopenedReason(folder));
      std::vector<CSaItem*> items;
      std::vector<std::u16string> keys;
      CSaItem* first = nullptr;
      for (int i = 0; i < spectra; ++i) {
        CSaItem* item = CreateSpectrumItem(entry, i);
        if (i == 0) first = item;
        if (!item) continue;
        items.push_back(item);
        keys.push_back(item->GetMethodName());
      }
      const std::vector<gdi::Rect> strips = sapage::StripRects(sapage::BandOf(d, count, m_page.height), keys, m_page.width);
      for (std::size_t j = 0; j < items.size(); ++j)
        if (items[j]->Record().subtype == ItemFromFile) items[j]->SetRect(strips[j]);
      if (first) {
        AddTableItem(first);
        AddStructureItem(first);
        opened = true;
      }
    } catch (const std::exception&) {
      opened = false;
    }
  }
  if (opened) {
    SetModifiedFlag(false);
    SaveUndoCheckpoint();
  } else {
    DeleteContents();
  }
  return opened;
}

void CSaDoc::Serialize(plat::Archive& ar) {
  ISaPageView* view = FirstPageView();
  if (ar.isStoring()) {
    SerializeItems(ar, {});
    const std::vector<CSaItem*> items = Items();
    CSaItem* selected = view ? view->SelectedItem() : nullptr;
    const auto at = std::find(items.begin(), items.end(), selected);
    const std::int32_t index = selected && at != items.end() ? static_cast<std::int32_t>(at - items.begin()) : -1;
    ar.writeI32(m_zoom);
    ar.writeI32(index);
    ar.writeI32(index >= 0 && selected->IsInPlaceActive() ? index : -1);
    return;
  }
  const std::size_t before = GetItems().size();
  SerializeItems(ar, [this] { return new CSaItem(this); });
  const std::int32_t zoom = ar.readI32();
  const std::int32_t selected = ar.readI32();
  const std::int32_t inPlace = ar.readI32();
  // A zoom from a file stays one the view can draw at.
  m_zoom = std::clamp(zoom, saview::kMinZoom, 10000);
  const std::vector<OleClientItem*> loaded(GetItems().begin() + static_cast<std::ptrdiff_t>(before), GetItems().end());
  CSaItem* selection =
      selected >= 0 && static_cast<std::size_t>(selected) < loaded.size() ? dynamic_cast<CSaItem*>(loaded[selected]) : nullptr;
  // No empty items: one whose object could not be made again is left out.
  for (OleClientItem* item : loaded)
    if (item->IsEmpty()) {
      if (item == selection) selection = nullptr;
      if (auto* sa = dynamic_cast<CSaItem*>(item)) DeleteItem(sa);
      else item->Delete();
    }
  if (!view || view->IsPageLayout()) return;
  if (selection) view->SelectItem(selection, inPlace != -1);
}

CSpcControlRef CSaDoc::FirstFileSpectrum() const {
  for (CSaItem* item : Items())
    if (item->Record().subtype == ItemFromFile) return CSpcControlRef::Query(item->GetOleObject());
  return {};
}

bool CSaDoc::SaveSpectrumFile(const std::string& path) {
  const CSpcControlRef control = FirstFileSpectrum();
  if (!control) return false;
  // The control writes beside the old file; the old one goes only when the new one is whole.
  const std::string fresh = sasave::TemporarySibling(path, "saving");
  if (failed(control->SaveSpectrum(BstrArg(plat::toUtf16(fresh)), m_saveFormat, m_saveOption, 0))) {
    sasave::RemovePath(fresh);
    return false;
  }
  return sasave::ReplaceWith(fresh, path);
}

bool CSaDoc::OnSaveDocument(std::string_view path) {
  ui::WaitCursor wait;
  const std::string target(path);
  sasave::TidyTarget(target);
  // A page without a spectrum from a file has no spectrum file to be saved as: it is a workspace.
  if (!m_workspace && !FirstFileSpectrum()) m_workspace = true;
  const bool saved = m_workspace ? saworkspace::Save(*this, target) : SaveSpectrumFile(target);
  if (!saved) {
    ui::AppMessageBox("The document could not be saved as \"" + target + "\"; what was there before is unchanged.",
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

bool CSaDoc::MayReplace(const std::string& path, bool ask) {
  if (!plat::pathExists(path)) return true;
  if (!ask) return true;
  std::string question = ui::LoadString(saids::IDS_REPLACE_EXISTING);
  if (const std::size_t at = question.find("%1"); at != std::string::npos) question.replace(at, 2, path);
  return ui::AppMessageBox(question, ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_DEFBUTTON2) == ui::IDYES;
}

void CSaDoc::OnFileSaveAs() { SaveAs(); }

bool CSaDoc::SaveAs() {
  const CSpcControlRef control = FirstFileSpectrum();
  CFileSaveDlg dialog;
  std::vector<int> formatIndexes;
  if (!control) {
    // A page without a spectrum from a file (made by New, or whose file spectra were deleted) is
    // saved as a workspace, the controls' own folder format.
    dialog.m_saveFormats.push_back(kWorkspaceFormatName);
    formatIndexes.push_back(0);
  } else {
    if (const auto name = control.Param(u"FILENAME")) {
      const std::string path = plat::toUtf8(*name);
      dialog.m_fileName = path.substr(path.find_last_of('/') + 1);
    }
    constexpr std::int32_t kWritable = 2;  // the converters' write capability
    for (std::int32_t i = 0; i < 1000; ++i) {
      Bstr name = nullptr, options = nullptr;
      std::int32_t caps = 0;
      if (failed(control->GetFormat(i, &name, &options, &caps))) break;
      const plat::String16 formatName = TakeBstr(name), saveOptions = TakeBstr(options);
      if (!(caps & kWritable)) continue;
      dialog.m_saveFormats.push_back(plat::toUtf8(saveOptions.empty() ? formatName : formatName + u";" + saveOptions));
      formatIndexes.push_back(i);
    }
  }
  dialog.SetCurrentDirectory(plat::toUtf8(SaSettings().saveDirectory));
  if (dialog.DoModal({}, nullptr) != ui::IDOK) return false;
  const std::string path = dialog.GetFilePath();
  SaSettings().saveDirectory = plat::toUtf16(dialog.GetCurrentDirectory());
  const int chosen = dialog.GetFormatIndex();
  if (chosen < 0 || chosen >= static_cast<int>(formatIndexes.size())) {
    ui::AppMessageBox("The document could not be saved: no format to save it in was chosen.",
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  if (!MayReplace(path, true)) return false;
  m_saveFormat = formatIndexes[static_cast<std::size_t>(chosen)];
  m_saveOption = std::max(0, dialog.GetTypeIndex());
  m_workspace = m_saveFormat == 0;
  return DoSave(path);
}

void CSaDoc::OnFileSave() { DoFileSave(); }

bool CSaDoc::DoFileSave() {
  if (!m_workspace || GetPathName().empty()) return SaveAs();
  // A workspace opened without some of its items is replaced only when the user agrees.
  return MayReplace(GetPathName(), GetPathName() == m_notReadWhole) && DoSave(GetPathName());
}

// --- Undo ---------------------------------------------------------------------------------------------

void CSaDoc::SaveUndoCheckpoint() {
  plat::Archive ar;
  try {
    Serialize(ar);
  } catch (const std::exception&) {
    return;  // an item that cannot be stored: the list stays as it was
  }
  m_undo.Push(ar.takeBytes(), SaSettings().app.undoBufferSize);
}

bool CSaDoc::LoadSnapshot(int index) {
  // The zoom is how the page is looked at, not a change of it: a step keeps the zoom the view
  // and the toolbar show (the snapshot's would draw the items at another scale than the page).
  const int zoom = m_zoom;
  DeleteContents();
  bool loaded = false;
  try {
    // Its bytes whole, read where they lie: the snapshot itself may go while the items load.
    const std::vector<std::uint8_t> bytes = m_undo.At(index).Bytes();
    plat::Archive ar(plat::Archive::Borrow{}, bytes);
    Serialize(ar);
    loaded = true;
  } catch (const std::exception&) {
    DeleteContents();
  }
  m_zoom = zoom;
  return loaded;
}

bool CSaDoc::StepTo(int index) {
  const bool stepped = LoadSnapshot(index);
  if (stepped) m_undo.SetCurrent(index);
  else LoadSnapshot(m_undo.Current());
  UpdateAllViews(nullptr);
  if (!stepped) ui::AppMessageBox("The step cannot be undone or redone.", ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return stepped;
}

bool CSaDoc::Undo() { return m_undo.CanUndo() && StepTo(m_undo.Current() - 1); }

bool CSaDoc::Redo() { return m_undo.CanRedo() && StepTo(m_undo.Current() + 1); }

void CSaDoc::OnCloseDocument() {
  if (ISaPageView* view = FirstPageView()) view->SelectItem(nullptr, false);
  OleDocument::OnCloseDocument();
}

void CSaDoc::DeleteContents() {
  const std::vector<OleClientItem*> items = GetItems();
  for (OleClientItem* item : items) {
    if (item->IsInPlaceActive()) item->Deactivate();
    UpdateAllViews(nullptr);
    if (auto* sa = dynamic_cast<CSaItem*>(item)) DeleteItem(sa);
    else item->Delete();
  }
  if (!items.empty()) SetModifiedFlag(true);
}

void CSaDoc::OnEditClearAll() {
  DeleteContents();
  SetModifiedFlag(true);
  UpdateAllViews(nullptr);
}

void CSaDoc::OnUpdateEditClearAll(ui::CmdUI* cmdUI) { cmdUI->Enable(!GetItems().empty()); }
