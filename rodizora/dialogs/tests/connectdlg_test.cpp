// The connect and directory dialogs driven through the modal responder, as a user answers them.
#include "rodizora/dialogs/connectdlg.h"

#include <unistd.h>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/dirdlg.h"
#include "rodizora/dialogs/tests/dialogs_fixture.h"

namespace {

using plat::String16;
using ui::ModalKind;
using ui::ModalQuestion;

class ConnectDialog : public DialogTest {
 protected:
  String16 m_host = u"server";
  std::uint16_t m_port = 2309;
  String16 m_folder = u"C:\\";

  int Run() {
    CConnectDlg dlg(&m_host, &m_port, &m_folder);
    return dlg.DoModal();
  }
};

TEST_F(ConnectDialog, ShowsTheCallersValuesAndTakesTheEntriesOnOk) {
  ui::ScriptedResponder script(true);
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    EXPECT_EQ(q.title, "Open Connection");
    EXPECT_EQ(Text(q.dialog, IDC_ADDRESS), "server");
    EXPECT_EQ(Text(q.dialog, IDC_PORT), "2309");
    EXPECT_EQ(Text(q.dialog, IDC_TARGET_DIRECTORY), "C:\\");
    SetText(q.dialog, IDC_ADDRESS, "10.0.0.5");
    SetText(q.dialog, IDC_PORT, " 8080");
    SetText(q.dialog, IDC_TARGET_DIRECTORY, "/data/in/");
    return ui::IDOK;
  });
  EXPECT_EQ(Run(), ui::IDOK);
  EXPECT_EQ(m_host, u"10.0.0.5");
  EXPECT_EQ(m_port, 8080);
  EXPECT_EQ(m_folder, u"/data/in/");

  // Cancel changes nothing.
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    SetText(q.dialog, IDC_ADDRESS, "elsewhere");
    return ui::IDCANCEL;
  });
  EXPECT_EQ(Run(), ui::IDCANCEL);
  EXPECT_EQ(m_host, u"10.0.0.5");
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(ConnectDialog, APortWithoutANumberKeepsThePortAndOneOutOfRangeIsRefused) {
  ui::ScriptedResponder script(true);
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    SetText(q.dialog, IDC_PORT, "abc");
    SetText(q.dialog, IDC_ADDRESS, "other");
    return ui::IDOK;
  });
  EXPECT_EQ(Run(), ui::IDOK);
  EXPECT_EQ(m_port, 2309);
  EXPECT_EQ(m_host, u"other");

  // Out of range: the system's message, the dialog stays open and nothing is taken yet.
  const char* kRange = "Please enter an integer between 1 and 65535.";
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    auto* dlg = static_cast<ui::Dialog*>(q.dialog);
    for (const char* port : {"70000", "0", "-80", "99999999999999"}) {
      SetText(dlg, IDC_PORT, port);
      SetText(dlg, IDC_ADDRESS, "refused");
      dlg->PressButton(ui::IDOK);
      EXPECT_FALSE(dlg->IsEnded()) << port;
    }
    EXPECT_EQ(m_port, 2309);
    EXPECT_EQ(m_host, u"other");
    SetText(dlg, IDC_PORT, "443");
    return ui::IDOK;
  });
  for (int i = 0; i < 4; ++i)
    script.Then(ModalKind::MessageBox, [&](ModalQuestion& q) {
      EXPECT_EQ(q.text, kRange);
      return ui::IDOK;
    });
  EXPECT_EQ(Run(), ui::IDOK);
  EXPECT_EQ(m_port, 443);
  EXPECT_EQ(m_host, u"refused");
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(ConnectDialog, BrowseFillsTheFieldAndOnlyOkTakesIt) {
  const std::string chosen = plat::joinPath(Scratch(), "chosen");
  ASSERT_TRUE(plat::makeDirectories(chosen));
  ui::ScriptedResponder script(true);
  auto browse = [&](int answer) {
    script.Then(ModalKind::Dialog, [&, answer](ModalQuestion& q) {
      SetText(q.dialog, IDC_TARGET_DIRECTORY, chosen + "/..");  // browsing starts from the field
      static_cast<ui::Dialog*>(q.dialog)->PressButton(IDC_BROWSE);
      EXPECT_EQ(Text(q.dialog, IDC_TARGET_DIRECTORY), chosen + "/");
      return answer;
    });
    script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
      EXPECT_EQ(q.title, "Select directory");
      EXPECT_EQ(static_cast<CDirDlg*>(q.dialog)->WorkingDirectory(), Scratch() + "/");
      auto* list = static_cast<ui::ListBox*>(q.dialog->GetDlgItem(IDC_DIRECTORY_LIST));
      list->SetCurSel(list->FindStringExact(-1, "[chosen]"));
      static_cast<CDirDlg*>(q.dialog)->OnDirOpen();
      return ui::IDOK;
    });
  };
  browse(ui::IDCANCEL);
  EXPECT_EQ(Run(), ui::IDCANCEL);
  EXPECT_EQ(m_folder, u"C:\\");
  browse(ui::IDOK);
  EXPECT_EQ(Run(), ui::IDOK);
  EXPECT_EQ(plat::toUtf8(m_folder), chosen + "/");
  EXPECT_EQ(script.Unexpected(), 0);
}

class DirectoryDialog : public DialogTest {};

TEST_F(DirectoryDialog, WalksTheTreeByNameAndGivesTheDirectoryEndingInASlash) {
  // a holds b, c, a hidden directory and a file.
  const std::string a = plat::joinPath(Scratch(), "a");
  for (const char* sub : {"b", "c", ".hidden"}) ASSERT_TRUE(plat::makeDirectories(plat::joinPath(a, sub)));
  ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(a, "file.txt"), "x"));

  String16 directory = plat::toUtf16(Scratch() + "\\a\\.\\b");  // the original platform's separators
  ui::ScriptedResponder script(true);
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    auto* dlg = static_cast<CDirDlg*>(q.dialog);
    auto* list = static_cast<ui::ListBox*>(dlg->GetDlgItem(IDC_DIRECTORY_LIST));
    auto* roots = static_cast<ui::ComboBox*>(dlg->GetDlgItem(IDC_DRIVE));
    auto entries = [&] {
      std::vector<std::string> texts;
      for (int i = 0; i < list->GetCount(); ++i) texts.push_back(list->GetText(i));
      return texts;
    };
    // One root, no drives.
    EXPECT_EQ(roots->GetCount(), 1);
    EXPECT_EQ(roots->GetLBText(0), "/");
    EXPECT_EQ(roots->GetCurSel(), 0);
    EXPECT_EQ(Text(dlg, IDC_DIRECTORY_PATH), a + "/b/");
    EXPECT_EQ(entries(), std::vector<std::string>{"[..]"});

    // A double click on the parent, as the user gives it.
    ui::Rect item;
    list->GetItemRect(0, &item);
    ui::input::DoubleClick(list, item.CenterPoint());
    EXPECT_EQ(dlg->WorkingDirectory(), a + "/");
    EXPECT_EQ(entries(), (std::vector<std::string>{"[..]", "[b]", "[c]"}));
    list->SetCurSel(list->FindStringExact(-1, "[c]"));
    dlg->OnDirOpen();
    EXPECT_EQ(Text(dlg, IDC_DIRECTORY_PATH), a + "/c/");
    return ui::IDOK;
  });
  CDirDlg dlg(&directory);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(plat::toUtf8(directory), a + "/c/");

  // The root has no parent entry; Cancel leaves the caller's directory.
  script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    auto* dlg = static_cast<CDirDlg*>(q.dialog);
    ChooseComboEntry(dlg, IDC_DRIVE, 0);
    EXPECT_EQ(dlg->WorkingDirectory(), "/");
    auto* list = static_cast<ui::ListBox*>(dlg->GetDlgItem(IDC_DIRECTORY_LIST));
    EXPECT_EQ(list->FindStringExact(-1, "[..]"), ui::LB_ERR);
    EXPECT_NE(list->FindStringExact(-1, "[tmp]"), ui::LB_ERR);
    list->SetCurSel(-1);
    dlg->OnDirOpen();  // no entry: nothing happens
    EXPECT_EQ(dlg->WorkingDirectory(), "/");
    return ui::IDCANCEL;
  });
  CDirDlg again(&directory);
  EXPECT_EQ(again.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(plat::toUtf8(directory), a + "/c/");
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST(StartingDirectory, IsAbsoluteResolvedByNameAndEndsInASlash) {
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  const std::string here = std::string(cwd) == "/" ? "/" : std::string(cwd) + "/";
  EXPECT_EQ(StartingDirectory(u""), here);
  EXPECT_EQ(StartingDirectory(u"x/./y/../z"), here + "x/z/");
  EXPECT_EQ(StartingDirectory(u"/"), "/");
  EXPECT_EQ(StartingDirectory(u"/a//b\\"), "/a/b/");
  EXPECT_EQ(StartingDirectory(u"/a/../../.."), "/");
}

}  // namespace
