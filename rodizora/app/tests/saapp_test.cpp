// Start-up, settings, the main frame and the application's commands.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/com/regkeys.h"
#include "platform/registry/registry.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/metrics.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "rodizora/app/placement.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/res/saids.h"
#include "rodizora/res/saresources.h"

namespace apptest {
namespace {

bool DocumentClassRegistered() {
  return plat::ole::regkeys::exists(plat::reg::kClassesRoot, u"KEDRUS_Rodizora.Document.1\\CLSID");
}

void ForgetRegistration() {
  plat::ole::regkeys::deleteTree(plat::reg::kClassesRoot, u"KEDRUS_Rodizora.Document.1");
  plat::ole::regkeys::deleteTree(plat::reg::kClassesRoot, u"CLSID\\" + plat::ole::guidToString(CLSID_RodizoraDocument));
}

TEST_F(AppTest, APlainStartShowsTheFrameWithNoDocumentAndTakesTheLogoDown) {
  UseAboutLibrary(true);
  ForgetRegistration();
  ASSERT_TRUE(Start());
  CMainFrame* frame = MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsWindowVisible());
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(frame->GetMenu(), nullptr);  // the menu lives in the bar
  EXPECT_EQ(frame->m_menuEx.GetSafeHmenu()->GetMenuItemCount(), 3);
  EXPECT_EQ(frame->m_wndStatusBar.GetCount(), 4);
  EXPECT_EQ(frame->m_wndStatusBar.GetItemID(1), ui::ID_INDICATOR_CAPS);
  EXPECT_TRUE(DocumentClassRegistered());
  EXPECT_EQ(AboutCalls(), "start;logo(1)logo(0);stop");
}

TEST_F(AppTest, AnEmbeddingStartShowsNothingAndRegistersNothing) {
  UseAboutLibrary(true);
  ForgetRegistration();
  COrvProfDesc desc;
  OrvDeleteProfValue(u"Main frame\\Placement", &desc);
  ASSERT_TRUE(Start({"-Embedding"}));
  ASSERT_NE(MainFrame(), nullptr);
  EXPECT_FALSE(MainFrame()->IsWindowVisible());
  EXPECT_TRUE(Documents().empty());
  EXPECT_FALSE(DocumentClassRegistered());
  EXPECT_EQ(AboutCalls(), "start;logo(1)logo(0);stop");
  app->GetMainWnd()->DestroyWindow();
  // A frame that never showed leaves the stored placement alone.
  EXPECT_FALSE(ReadStoredPlacement().has_value());
}

TEST_F(AppTest, AFileThatCannotBeOpenedFailsTheStartSaysWhyAndStillTakesTheLogoDown) {
  UseAboutLibrary(true);
  const std::string missing = ScratchDir("none") + "/missing.dx";
  ui::ClearModalLog();
  EXPECT_FALSE(Start({missing}));
  EXPECT_EQ(AboutCalls(), "start;logo(1)logo(0);stop");
  EXPECT_TRUE(Documents().empty());
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_EQ(ui::ModalLog()[0].text, "\"" + missing + "\" cannot be opened.\nThere is no such file or folder.");
  // A file that no format recognises says so too; an embedding start opens nothing and says nothing.
  const auto stop = [&] {
    if (ui::Wnd* main = app->GetMainWnd(); main && main->IsWindow()) main->DestroyWindow();
    app.reset();
  };
  stop();
  const std::string junk = WriteFile(ScratchDir("junk"), "junk.dx", "no spectrum in here\n");
  ui::ClearModalLog();
  EXPECT_FALSE(Start({junk}));
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text,
            "\"" + junk + "\" cannot be opened.\nIt is not a spectrum file of any format this program reads.");
  stop();
  ui::ClearModalLog();
  ASSERT_TRUE(Start({"-Embedding"}));
  EXPECT_TRUE(SaSettings().quietOpens);
  EXPECT_EQ(app->OpenDocumentFile(junk), nullptr);
  EXPECT_TRUE(ui::ModalLog().empty());
  SaSettings().quietOpens = false;
}

TEST_F(AppTest, WithoutTheAboutLibraryTheStartGoesOnSilently) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(ui::ModalLog().empty());
  app->OnAppAbout();
  EXPECT_TRUE(ui::ModalLog().empty());
}

TEST_F(AppTest, TheAboutBoxGetsTheTitleVersionDateAndNotice) {
  UseAboutLibrary(true);
  ASSERT_TRUE(Start());
  AboutCalls();
  app->OnAppAbout();
  const std::string calls = AboutCalls();
  // "box(title|title major.minor.build, dd-Mon-yyyy.\n\nnotice|1)", the library loaded for it alone.
  ASSERT_EQ(calls.rfind("start;box(KEDRUS Rodizora|KEDRUS Rodizora ", 0), 0u) << calls;
  const std::size_t comma = calls.find(", ");
  ASSERT_NE(comma, std::string::npos);
  const std::string date = calls.substr(comma + 2, 11);
  EXPECT_TRUE(std::isdigit(date[0]) && std::isdigit(date[1]) && date[2] == '-' && date[6] == '-') << date;
  EXPECT_EQ(calls.substr(comma + 13, 3), ".\n\n");
  EXPECT_NE(calls.find("|1);stop"), std::string::npos);
}

TEST_F(AppTest, SettingsAreReadAtStartAndWrittenBackAtExit) {
  {
    COrvProfDesc desc;
    OrvSetProfInt(u"Document Zoom", 150, &desc);
    OrvSetProfString(u"Load Directory", u"/spectra", &desc);
    OrvDeleteProfValue(u"UndoBufferSize", &desc);
  }
  ASSERT_TRUE(Start({"-PROCESS", "EM;FT"}));
  CSaSettings& settings = SaSettings();
  EXPECT_EQ(settings.documentZoom, 150);
  EXPECT_EQ(settings.loadDirectory, u"/spectra");
  EXPECT_EQ(settings.app.undoBufferSize, 5);
  EXPECT_EQ(settings.processCommands, u"EM;FT");
  settings.documentZoom = 75;
  settings.app.undoBufferSize = 9;
  settings.saveDirectory = u"/out";
  app->ExitInstance();
  COrvProfDesc desc;
  int zoom = 0, undo = 0;
  plat::String16 save;
  EXPECT_EQ(OrvGetProfInt(u"Document Zoom", &zoom, 0, &desc), PROF_OK);
  EXPECT_EQ(OrvGetProfInt(u"UndoBufferSize", &undo, 0, &desc), PROF_OK);
  EXPECT_EQ(OrvGetProfCString(u"Save Directory", &save, u"", &desc), PROF_OK);
  EXPECT_EQ(zoom, 75);
  EXPECT_EQ(undo, 9);
  EXPECT_EQ(save, u"/out");
}

TEST_F(AppTest, TheStoredPlacementIsUsedOnlyWhenItLiesOnTheScreen) {
  const ui::Size screen{ui::GetSystemMetrics(ui::SM_CXSCREEN), ui::GetSystemMetrics(ui::SM_CYSCREEN)};
  EXPECT_TRUE(PlacementFitsScreen({0, 0, screen.cx - 1, screen.cy - 1}, screen));
  EXPECT_FALSE(PlacementFitsScreen({0, 0, screen.cx, screen.cy - 1}, screen));  // the right edge is outside
  EXPECT_FALSE(PlacementFitsScreen({-1, 0, 100, 100}, screen));

  ui::WINDOWPLACEMENT placement;
  placement.showCmd = ui::SW_SHOWMAXIMIZED;
  placement.rcNormalPosition = {30, 40, 630, 480};
  ASSERT_TRUE(WriteStoredPlacement(placement));
  ASSERT_TRUE(Start());
  ui::Rect rect;
  MainFrame()->GetWindowRect(&rect);
  EXPECT_EQ(rect, placement.rcNormalPosition);
  EXPECT_EQ(app->m_nCmdShow, ui::SW_SHOWMAXIMIZED);
  // Leaving stores where the frame is now.
  MainFrame()->ShowWindow(ui::SW_RESTORE);
  MainFrame()->MoveWindow(50, 60, 500, 400);
  app->GetMainWnd()->DestroyWindow();
  const auto stored = ReadStoredPlacement();
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->rcNormalPosition, ui::Rect(50, 60, 550, 460));
  EXPECT_EQ(stored->showCmd, ui::UINT(ui::SW_SHOWNORMAL));
  app.reset();

  // Stored on a larger screen: the default rectangle.
  placement.rcNormalPosition = {100, 100, screen.cx + 200, screen.cy + 100};
  ASSERT_TRUE(WriteStoredPlacement(placement));
  ASSERT_TRUE(Start());
  MainFrame()->GetWindowRect(&rect);
  EXPECT_NE(rect, placement.rcNormalPosition);
}

TEST_F(AppTest, ARecordOfAnotherSizeIsNoPlacement) {
  COrvProfDesc desc;
  const std::uint8_t shortRecord[40] = {40};
  OrvSetProfBinary(u"Main frame\\Placement", shortRecord, sizeof shortRecord, &desc);
  EXPECT_FALSE(ReadStoredPlacement().has_value());
  std::uint8_t badLength[44] = {40};
  OrvSetProfBinary(u"Main frame\\Placement", badLength, sizeof badLength, &desc);
  EXPECT_FALSE(ReadStoredPlacement().has_value());
  badLength[0] = 44;
  badLength[8] = 77;  // an unknown show command
  OrvSetProfBinary(u"Main frame\\Placement", badLength, sizeof badLength, &desc);
  ASSERT_TRUE(ReadStoredPlacement().has_value());
  ASSERT_TRUE(Start());
  EXPECT_EQ(app->m_nCmdShow, ui::SW_SHOWNORMAL);
}

TEST_F(AppTest, NextAndPreviousCycleTheDocumentWindowsInOppositeDirections) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = MainFrame();
  EXPECT_FALSE(ui::QueryCommandState(frame, ui::ID_NEXT_PANE).enabled);
  for (int i = 0; i < 3; ++i) app->OnFileNew();
  ASSERT_EQ(Documents().size(), 3u);
  EXPECT_TRUE(ui::QueryCommandState(frame, ui::ID_NEXT_PANE).enabled);
  EXPECT_TRUE(ui::QueryCommandState(frame, ui::ID_PREV_PANE).enabled);
  const ui::Wnd* start = frame->MDIGetActive();
  frame->SendMessage(ui::WM_COMMAND, saids::ID_WINDOW_NEXT_CHILD);
  const ui::Wnd* next = frame->MDIGetActive();
  EXPECT_NE(next, start);
  frame->SendMessage(ui::WM_COMMAND, saids::ID_WINDOW_PREV_CHILD);
  EXPECT_EQ(frame->MDIGetActive(), start);
  frame->SendMessage(ui::WM_COMMAND, saids::ID_WINDOW_PREV_CHILD);
  const ui::Wnd* previous = frame->MDIGetActive();
  EXPECT_NE(previous, start);
  EXPECT_NE(previous, next);
}

TEST_F(AppTest, CloseAllClosesModifiedDocumentsWithoutAsking) {
  ASSERT_TRUE(Start());
  app->OnFileNew();
  app->OnFileNew();
  for (ui::Document* doc : Documents()) doc->SetModifiedFlag(true);
  MainFrame()->SendMessage(ui::WM_COMMAND, saids::ID_FILE_CLOSE_ALL);
  EXPECT_TRUE(Documents().empty());
  EXPECT_TRUE(ui::ModalLog().empty());
}

TEST_F(AppTest, EveryFileMatchesTheTemplateNeverAsAnOpenDocument) {
  ASSERT_TRUE(Start());
  ui::DocTemplate* docTemplate = app->GetDocTemplates().front();
  app->OnFileNew();
  ui::Document* doc = Documents().front();
  doc->SetPathName("/data/a.dx");
  ui::Document* match = doc;
  EXPECT_EQ(docTemplate->MatchDocType("/data/a.dx", match), ui::DocTemplate::yesAttemptForeign);
  EXPECT_EQ(match, nullptr);
  // A template whose document string names an extension takes its files as its own.
  static const ui::StringResource kStrings[] = {{700, "\nPage\nPage\nPages\n.sa"}};
  ui::ResourceSet set = ProgramResources();
  set.strings = kStrings;
  ui::SetAppResources(&set);
  CMultiDocTemplateEx withExt(700, nullptr, nullptr, nullptr);
  EXPECT_EQ(withExt.MatchDocType("/x/page.SA", match), ui::DocTemplate::yesAttemptNative);
  EXPECT_EQ(withExt.MatchDocType("/x.sa/page", match), ui::DocTemplate::yesAttemptForeign);
  ui::SetAppResources(&ProgramResources());
}

TEST_F(AppTest, TheSdfSwitchLoadsTheStructureDatabase) {
  const std::string dir = ScratchDir("sdf");
  const std::string sdf = WriteFile(dir, "mols.sdf",
                                    "mol1\n\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\nM  END\n> <IDNUMBER>\nX123\n\n$$$$\n"
                                    "mol2\n\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\nM  END\n> <IDNUMBER>\nY7\n\n$$$$\n");
  ASSERT_TRUE(Start({"-SDF", sdf}));
  EXPECT_EQ(SaSettings().database.IdentifierCount(), 2u);
  EXPECT_TRUE(ui::ModalLog().empty());
  TearDown();
  SetUp();
  ASSERT_TRUE(Start({"-SDF", dir + "/missing.sdf"}));
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text, ui::LoadString(3108));
}

TEST_F(AppTest, EditIniStartsTheEditorOnTheProgramsIniFile) {
  UseAboutLibrary(true);
  const std::string dir = ScratchDir("editor");
  const std::string script = WriteFile(dir, "editor.sh", "#!/bin/sh\necho \"$1\" > \"" + dir + "/opened\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ::setenv("VISUAL", script.c_str(), 1);
  ASSERT_TRUE(Start());
  MainFrame()->SendMessage(ui::WM_COMMAND, saids::ID_EDIT_INI);
  std::string opened;
  for (int i = 0; i < 1000 && opened.empty(); ++i) {  // up to 10 s on a loaded machine
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream(dir + "/opened") >> opened;
  }
  ::unsetenv("VISUAL");
  EXPECT_EQ(opened, std::string(FAKE_ABOUT_DIR) + "/rodizora.ini");
}

}  // namespace
}  // namespace apptest
