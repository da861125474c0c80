#pragma once
// CSaApp: the application object of the program. It starts the program in a fixed order (the
// profile start-up, the start logo, the settings, the main frame, the document template, the
// command line), offers the application's commands (open, close all, the about box, the INI
// file, the data-server connection, the structure database, the settings), and writes the
// settings back at exit.
#include <string>
#include <vector>

#include "foundation/filedlg/fileopendlg.h"
#include "foundation/genstart.h"
#include "platform/ui/app.h"
#include "rodizora/app/aboutlibrary.h"
#include "rodizora/app/sacmdline.h"
#include "rodizora/dialogs/serverlink.h"

class CSaApp : public ui::App {
  UI_DECLARE_MESSAGE_MAP()

 public:
  // The product key below "Software".
  static constexpr const char16_t* kRegistryKey = u"Orvane\\KEDRUS Lite\\2.0";

  CSaApp();
  ~CSaApp() override;

  static CSaApp* Get();

  // The arguments after the program name (main gives them before InitInstance).
  void SetArguments(std::vector<std::string> args) { m_args = std::move(args); }

  bool InitInstance() override;
  int ExitInstance() override;
  bool OnCmdMsg(ui::UINT id, int code, void* extra, ui::HandlerInfo* info) override;

  // The explorer-style open dialog (several files; in the load directory when its window is first
  // made); opens each chosen file in order and answers how many were chosen.
  int OnFileOpenFiles();
  // Loads the SD file as the structure database with the profile's "IDField".
  bool LoadDatabase(const plat::String16& path);

  void OnAppAbout();
  void OnFileOpen();
  void OnFileCloseAll();
  // The class library's print set-up: the application's printer; open pages follow it.
  void OnFilePrintSetup();
  void OnEditIni();
  void OnOpenReceivedFile();
  void OnLoadDatabase();
  void OnSettings();

  // The install directory (the profile start-up's "Path").
  const plat::String16& InstallPath() const { return m_start.Path; }
  const CSaCmdLineInfo& CommandLine() const { return m_cmdInfo; }
  bool StartedForEmbedding() const { return m_cmdInfo.m_bRunEmbedded || m_cmdInfo.m_bRunAutomated; }
  CServerLink& ServerLink() { return m_serverLink; }
  CFileOpenDlg& OpenDialog() { return m_openDialog; }
  // How long the logo stays after start-up, in milliseconds.
  int m_logoPauseMs = 2000;
  // The main window's first show command (the stored placement's, when it has one).
  int m_nCmdShow = ui::SW_SHOWNORMAL;

 private:
  class CSaStart : public CGenStart {
   public:
    const char16_t* GetRegistryKey() const override { return kRegistryKey; }
  };

  bool StartUp();
  void EndLogo();
  // The document class's keys below HKEY_CLASSES_ROOT.
  void UpdateRegistry() const;

  std::vector<std::string> m_args;
  CSaStart m_start;
  CAboutLibrary m_about;
  CSaCmdLineInfo m_cmdInfo;
  plat::String16 m_helpFilePath;
  CServerLink m_serverLink;
  // Kept between uses (hidden), so that it shows the folder it was left in; Insert Spectrum(s)
  // shares it.
  CFileOpenDlg m_openDialog;
};
