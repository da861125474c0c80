// Dialogs as a person meets them: they come up usable over the main window, take keys and
// clicks, close on Escape, OK and Cancel, and leave the program idle while they wait.
#include <filesystem>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

constexpr char kOpenTitle[] = "Open";
constexpr char kAboutTitle[] = "About KEDRUS Rodizora";

// The Open dialog's buttons sit at its bottom right; its first file row below the column titles.
struct OpenDialog {
  Box box;
  int OpenX() const { return box.Right() - 138; }
  int CancelX() const { return box.Right() - 57; }
  int ButtonY() const { return box.Bottom() - 18; }
  int FirstRowX() const { return box.x + 40; }
  int FirstRowY() const { return box.y + 127; }
};

class DialogsTest : public E2eTest {
 protected:
  // The sample lies in the home folder, the folder the Open dialog shows on a first start.
  void SetUp() override {
    E2eTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::filesystem::copy_file(Sample(), SandboxDir() + "/home/ethyl_acetate_fid.dx");
  }

  std::optional<OpenDialog> ShowOpenDialog() {
    x().Key("ctrl+o");
    const auto w = x().WaitForWindow(kOpenTitle);
    if (!w || w->title != kOpenTitle) return std::nullopt;
    // The worker thread lists the folder: wait for the file's row to be drawn.
    OpenDialog dialog{w->box};
    XSession::WaitUntil([&] {
      const Box row{dialog.box.x + 2, dialog.FirstRowY() - 6, 120, 12};
      return x().Grab(row).CountDark(row) > 20;
    }, 10000);
    return dialog;
  }

  bool DialogGone(const char* title) { return x().WaitForNoWindow(title); }
};

TEST_F(DialogsTest, OpenDialogComesUpUsableAndClosesOnEscapeAndCancel) {
  ASSERT_TRUE(StartProgram());
  auto dialog = ShowOpenDialog();
  ASSERT_TRUE(dialog) << "Ctrl+O shows no Open dialog";
  const Shot& shown = Step("open dialog");
  // Enabled: the file's row and the button texts are drawn dark, not greyed.
  EXPECT_GT(shown.CountDark({dialog->box.x, dialog->FirstRowY() - 6, 200, 12}), 30);
  EXPECT_GT(shown.CountDark({dialog->CancelX() - 25, dialog->ButtonY() - 6, 50, 12}), 15);

  x().Key("Escape");
  EXPECT_TRUE(DialogGone(kOpenTitle)) << "Escape leaves the Open dialog up";
  Step("after escape");

  dialog = ShowOpenDialog();
  ASSERT_TRUE(dialog);
  x().Click(dialog->CancelX(), dialog->ButtonY());
  EXPECT_TRUE(DialogGone(kOpenTitle)) << "Cancel leaves the Open dialog up";
  Step("after cancel");
  EXPECT_EQ(MainWindow()->title, "KEDRUS Rodizora") << "a cancelled dialog opened something";
}

TEST_F(DialogsTest, OpenDialogOpensTheChosenFileByOpenAndByDoubleClick) {
  ASSERT_TRUE(StartProgram());
  auto dialog = ShowOpenDialog();
  ASSERT_TRUE(dialog);
  x().Click(dialog->FirstRowX(), dialog->FirstRowY());
  Step("file chosen");
  x().Click(dialog->OpenX(), dialog->ButtonY());
  ASSERT_TRUE(DialogGone(kOpenTitle));
  EXPECT_TRUE(x().WaitForWindow("ethyl_acetate_fid.dx - KEDRUS Rodizora")) << "Open opened no document";
  Step("opened by open");

  const Shot one = LastShot();
  const auto main = MainWindow();
  ASSERT_TRUE(main);

  dialog = ShowOpenDialog();
  ASSERT_TRUE(dialog);
  x().DoubleClick(dialog->FirstRowX(), dialog->FirstRowY());
  ASSERT_TRUE(DialogGone(kOpenTitle)) << "a double-click on the file leaves the dialog up";
  // The same file opened twice gives a second document window over the first.
  const Shot& two = Step("opened by double-click");
  EXPECT_GT(two.CountDifferent(one, main->box), 5000) << "the double-click opened no second document";
}

TEST_F(DialogsTest, AboutBoxClosesOnEscapeAndOnOk) {
  ASSERT_TRUE(StartProgram());
  for (const bool byEscape : {true, false}) {
    x().Key("alt+h");
    x().Key("a");
    const auto about = x().WaitForWindow(kAboutTitle);
    ASSERT_TRUE(about) << "Help > About shows no about box";
    const Shot& shot = Step(byEscape ? "about box" : "about box again");
    // The picture at the top and the texts below it are drawn.
    EXPECT_GT(shot.CountDark(about->box.Inset(4)), 500);
    if (byEscape) {
      x().Key("Escape");
    } else {
      // OK: dialog units 168,168 64x14 of a 239x230 dialog.
      x().Click(about->box.x + about->box.w * 200 / 239, about->box.y + about->box.h * 175 / 230);
    }
    EXPECT_TRUE(DialogGone(kAboutTitle)) << (byEscape ? "Escape" : "OK") << " leaves the about box up";
    Step(byEscape ? "after escape" : "after ok");
  }
}

TEST_F(DialogsTest, ProgramStaysIdleWhileADialogWaits) {
  ASSERT_TRUE(StartProgram());
  x().Key("alt+h");
  x().Key("a");
  ASSERT_TRUE(x().WaitForWindow(kAboutTitle));
  x().GrabSettled(x().Screen());
  const double before = program()->CpuSeconds();
  XSession::Pause(3000);
  const double used = program()->CpuSeconds() - before;
  Step("about box waiting");
  EXPECT_LT(used / 3.0, 0.05) << "the waiting dialog took " << used << " s of CPU in 3 s";
  x().Key("Escape");
}

}  // namespace
}  // namespace e2e
