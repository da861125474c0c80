#include "rodizora/app/saapp.h"

#include <cstdio>
#include <cstring>

#include "common/guids.h"
#include "foundation/genstart.h"
#include "platform/base/file.h"
#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/base/process.h"
#include "platform/base/text.h"
#include "platform/com/regkeys.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/resource.h"
#include "rodizora/app/mainframe.h"
#include "rodizora/app/placement.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/loaddatabase.h"
#include "rodizora/dialogs/settingsdlg.h"
#include "rodizora/doc/saopendialog.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/frame/saframe.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"

namespace {

constexpr char16_t kProgId[] = u"KEDRUS_Rodizora.Document.1";
constexpr char16_t kDocumentTypeName[] = u"KEDRUS Rodizora Document";

// The folder part of a path, up to its last separator ("\" or "/").
plat::String16 FolderOf(std::u16string_view path) {
  const std::size_t last = path.find_last_of(u"\\/");
  return last == std::u16string_view::npos ? plat::String16() : plat::String16(path.substr(0, last));
}

// The build date as "dd-Mon-yyyy".
std::string BuildDate() {
  const char* date = __DATE__;  // "Mmm dd yyyy"
  char text[16];
  const int day = std::atoi(date + 4);
  std::snprintf(text, sizeof text, "%02d-%.3s-%.4s", day, date, date + 7);
  return text;
}

// The kinds the settings dialog's table page offers: those the spectrum control serves.
class CSpcKinds : public ISpectrumKinds {
 public:
  std::vector<plat::String16> KindNames() override {
    const CSpcControlRef control = CSpcControlRef::Create();
    plat::ole::Bstr list = nullptr;
    if (!control || control->GetMethods(&list) < 0) {
      plat::ole::freeString(list);
      return {};
    }
    return SplitKindList(TakeBstr(list));
  }
};

}  // namespace

UI_BEGIN_MESSAGE_MAP(CSaApp, ui::App)
  ui::map::Command(ui::ID_APP_ABOUT, &CSaApp::OnAppAbout),
  ui::map::Command(ui::ID_FILE_OPEN, &CSaApp::OnFileOpen),
  ui::map::Command(saids::ID_FILE_CLOSE_ALL, &CSaApp::OnFileCloseAll),
  ui::map::Command(ui::ID_FILE_PRINT_SETUP, &CSaApp::OnFilePrintSetup),
  ui::map::Command(saids::ID_EDIT_INI, &CSaApp::OnEditIni),
  ui::map::Command(ID_OPEN_RECEIVED_FILE, &CSaApp::OnOpenReceivedFile),
  ui::map::Command(ID_LOAD_DATABASE, &CSaApp::OnLoadDatabase),
  ui::map::Command(ID_SETTINGS, &CSaApp::OnSettings),
UI_END_MESSAGE_MAP()

CSaApp::CSaApp() : ui::App("KEDRUS Rodizora") { SetSaOpenDialog(&m_openDialog); }

CSaApp::~CSaApp() { SetSaOpenDialog(nullptr); }

CSaApp* CSaApp::Get() { return dynamic_cast<CSaApp*>(ui::App::Get()); }

bool CSaApp::OnCmdMsg(ui::UINT id, int code, void* extra, ui::HandlerInfo* info) {
  if (ui::App::OnCmdMsg(id, code, extra, info)) return true;
  // The data-server connection's command and its text.
  return m_serverLink.OnCmdMsg(id, code, extra, info);
}

bool CSaApp::InitInstance() {
  // The class library's start and the OLE libraries need nothing here: there is no failure to
  // report (string 100) on this system.
  m_start.Startup();
  if (m_about.Load(m_start.Path)) m_about.ShowLogo(1);
  const bool result = StartUp();
  EndLogo();
  return result;
}

bool CSaApp::StartUp() {
  m_helpFilePath = plat::toUtf16(plat::joinPath(plat::toUtf8(m_start.Path), "kedrus.hlp"));
  CSaSettings& settings = SaSettings();
  settings.Read();
  settings.installPath = m_start.Path;
  if (const auto placement = ReadStoredPlacement(); placement && IsKnownShowCommand(placement->showCmd))
    m_nCmdShow = static_cast<int>(placement->showCmd);
  m_serverLink.Connection().SetServerDirectory(settings.serverDirectory);
  m_serverLink.Connection().RemoveLeftovers();
  // No printer defaults exist here: pages stay landscape A4 (the orientation the program sets).
  m_start.LoadBaseFont();

  // Until its window exists the frame is ours to delete; afterwards it deletes itself with it.
  auto* frame = new CMainFrame;
  frame->m_bAutoDelete = false;
  if (!frame->LoadFrame(saids::IDR_MAINFRAME, CMainFrame::kMainFrameStyle)) {
    if (frame->IsWindow()) frame->DestroyWindow();
    delete frame;
    m_pMainWnd = nullptr;
    return false;
  }
  frame->m_bAutoDelete = true;
  auto* docTemplate = new CMultiDocTemplateEx(saids::IDR_SATYPE, UI_RUNTIME_CLASS(CSaDoc), UI_RUNTIME_CLASS(CSaFrame),
                                              UI_RUNTIME_CLASS(CSaView));
  docTemplate->SetContainerInfo(saids::IDR_SATYPE);
  AddDocTemplate(docTemplate);
  m_pMainWnd = frame;
  m_serverLink.SetMainWindow(frame->m_hWnd);

  ui::ParseCommandLine(m_cmdInfo, m_args);
  settings.processCommands = plat::toUtf16(m_cmdInfo.m_strProcessCommands);
  settings.quietOpens = StartedForEmbedding();
  if (!m_cmdInfo.m_strSdfFileName.empty() && !LoadDatabase(plat::toUtf16(m_cmdInfo.m_strSdfFileName)))
    ui::AppMessageBox(IDS_SDF_LOAD_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);

  if (StartedForEmbedding()) return true;
  UpdateRegistry();
  if (m_cmdInfo.m_nShellCommand == ui::CommandLineInfo::AppRegister) return false;
  if (m_cmdInfo.m_nShellCommand == ui::CommandLineInfo::AppUnregister) {
    plat::ole::regkeys::deleteTree(plat::reg::kClassesRoot, u"CLSID\\" + plat::ole::guidToString(CLSID_RodizoraDocument));
    plat::ole::regkeys::deleteTree(plat::reg::kClassesRoot, kProgId);
    return false;
  }
  if (m_cmdInfo.m_nShellCommand != ui::CommandLineInfo::FileNew && !ui::ProcessShellCommand(*this, m_cmdInfo))
    return false;
  frame->ShowWindow(m_nCmdShow);
  frame->UpdateWindow();
  return true;
}

void CSaApp::EndLogo() {
  if (!m_about.IsLoaded()) return;
  // Start-up pauses with the logo up; what the user types meanwhile waits for the message loop.
  if (m_logoPauseMs > 0) ui::App::PumpFor(m_logoPauseMs, false);
  m_about.ShowLogo(0);
  m_about.Free();
}

void CSaApp::UpdateRegistry() const {
  namespace rk = plat::ole::regkeys;
  const plat::String16 clsidKey = u"CLSID\\" + plat::ole::guidToString(CLSID_RodizoraDocument);
  const plat::String16 typeName = kDocumentTypeName;
  const plat::String16 server = plat::toUtf16(plat::moduleFileName(reinterpret_cast<const void*>(&FolderOf)));
  const plat::String16 progId = kProgId;
  const plat::String16 clsid = plat::ole::guidToString(CLSID_RodizoraDocument);
  rk::writeKey(plat::reg::kClassesRoot, clsidKey, &typeName);
  rk::writeKey(plat::reg::kClassesRoot, clsidKey + u"\\LocalServer32", &server);
  rk::writeKey(plat::reg::kClassesRoot, clsidKey + u"\\ProgID", &progId);
  rk::writeKey(plat::reg::kClassesRoot, kProgId, &typeName);
  rk::writeKey(plat::reg::kClassesRoot, plat::String16(kProgId) + u"\\CLSID", &clsid);
}

int CSaApp::ExitInstance() {
  m_serverLink.Connection().Disconnect();
  m_start.SaveBaseFont();
  CSaSettings& settings = SaSettings();
  settings.serverDirectory = m_serverLink.Connection().ServerDirectory();
  settings.Write();
  m_start.Cleanup();
  return ui::App::ExitInstance();
}

int CSaApp::OnFileOpenFiles() {
  const std::vector<std::string> paths = ChooseSpectrumFiles(m_pMainWnd);
  for (const std::string& path : paths) {
    OpenDocumentFile(path);
    SaSettings().loadDirectory = FolderOf(plat::toUtf16(path));
  }
  return static_cast<int>(paths.size());
}

void CSaApp::OnFileOpen() { OnFileOpenFiles(); }

void CSaApp::OnFileCloseAll() { CloseAllDocuments(false); }

void CSaApp::OnFilePrintSetup() {
  if (!saprint::RunPrintSetup(&saprint::AppPrinter(), m_pMainWnd)) return;
  for (ui::DocTemplate* doctemplate : GetDocTemplates())
    for (ui::Document* doc : doctemplate->GetDocuments())
      for (ui::View* view : doc->GetViews())
        if (auto* page = dynamic_cast<CSaView*>(view)) page->PrinterChanged();
}

void CSaApp::OnEditIni() { plat::startProgram("notepad.exe", {plat::joinPath(plat::toUtf8(m_start.Path), "rodizora.ini")}); }

void CSaApp::OnOpenReceivedFile() {
  const auto path = m_serverLink.TakeReceivedPath();
  if (!path) return;
  const std::string file = plat::toUtf8(*path);
  const std::string_view folder = plat::pathDirectory(file);
  // What the server's files hold open already: the documents of files in its folder.
  std::size_t open = 0;
  std::uint64_t bytes = 0;
  for (ui::DocTemplate* t : GetDocTemplates())
    for (ui::Document* doc : std::vector<ui::Document*>(t->GetDocuments())) {
      if (plat::equalsNoCase(doc->GetPathName(), file)) {
        doc->OnCloseDocument();
      } else if (plat::pathDirectory(doc->GetPathName()) == folder) {
        ++open;
        bytes += plat::fileInfo(doc->GetPathName()).size;
      }
    }
  if (const auto refusal = m_serverLink.Connection().RefuseOpen(*path, open, bytes)) {
    if (!refusal->empty()) ui::AppMessageBox(plat::toUtf8(*refusal), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  OpenDocumentFile(file);
}

bool CSaApp::LoadDatabase(const plat::String16& path) { return ::LoadDatabase(SaSettings().database, path); }

void CSaApp::OnLoadDatabase() { ::OnLoadDatabase(SaSettings().database, &SaSettings().baseDirectory, m_pMainWnd); }

void CSaApp::OnSettings() {
  CSpcKinds kinds;
  CSettingsDlg dialog(SaSettings().app, &kinds);
  dialog.DoModal();
}

void CSaApp::OnAppAbout() {
  const std::string title = ui::LoadString(saids::IDS_APP_TITLE);
  std::uint32_t ms = 0, ls = 0;
  GetModuleVersion(&ms, &ls);
  char version[48];
  std::snprintf(version, sizeof version, "%u.%02u.%u", unsigned(ms >> 16), unsigned(ms & 0xFFFF), unsigned(ls >> 16));
  const std::string text = title + " " + version + ", " + BuildDate() +
                           ".\n\nSpectra of NMR, mass, infrared and ultraviolet spectroscopy and chromatography.";
  CAboutLibrary about;
  if (about.Load(m_start.Path)) about.DoDialogBox(title, text, 1);
}
