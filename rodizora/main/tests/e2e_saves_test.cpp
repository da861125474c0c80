// Opening and saving as a person meets them: a page made by New and Insert Spectrum(s) saves as
// a workspace that opens again, a file named on the command line that cannot be opened says
// why, and the wait cursor shows while a large spectrum opens.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

class SavesTest : public E2eTest {
 protected:
  std::string Home() const { return SandboxDir() + "/home"; }
  // The page below the bars.
  static Box PageArea(const XWindow& main) {
    return {main.box.x + 8, main.box.y + 120, main.box.w - 16, main.box.h - 160};
  }
};

// Waits for in-place activation on the display: the item Insert Spectrum(s) makes comes active in
// place, and the page does not show again (nor take Ctrl+S) until Escape deactivates it.
TEST_F(SavesTest, DISABLED_APageMadeByNewAndInsertSpectrumSavesAsAWorkspaceThatOpensAgain) {
  const std::string sample = Home() + "/ethyl_acetate_fid.dx";
  std::filesystem::copy_file(Sample(), sample);
  ASSERT_TRUE(StartProgram());
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  x().Key("ctrl+n");
  XSession::Pause(500);
  const Shot empty = Step("new page");
  // Edit > Insert Spectrum(s), the file named in its dialog.
  x().Key("alt+e");
  XSession::Pause(200);
  x().Key("s");
  const auto open = x().WaitForWindow("Open");
  ASSERT_TRUE(open) << "Insert Spectrum(s) showed no file dialog";
  // The explorer-style dialog lists the home folder, the sample its first row.
  const Box row{open->box.x + 2, open->box.y + 121, 120, 12};
  XSession::WaitUntil([&] { return x().Grab(row).CountDark(row) > 20; }, 10000);
  x().Click(open->box.x + 40, open->box.y + 127);
  Step("insert spectrum dialog");
  x().Key("Return");
  ASSERT_TRUE(x().WaitForNoWindow("Open"));
  // The new item comes active in place; Escape gives the page back.
  XSession::Pause(500);
  StepNow("spectrum inserted, active");
  x().Key("Escape");
  const Box page = PageArea(*main);
  const Shot inserted = Step("spectrum inserted");
  EXPECT_GT(inserted.CountDifferent(empty, page), 5000) << "no spectrum on the page";

  // Saving a page that was never saved asks for a name; the page has no file of its own, so it
  // is a workspace.
  const auto again = SaveAsWorkspaceAndReopen("newpage");
  ASSERT_TRUE(again);
  const Shot& reopened = Step("reopened");
  EXPECT_GT(reopened.CountDark(PageArea(*again)), inserted.CountDark(page) / 2) << "the reopened page lost its spectrum";
}

TEST_F(SavesTest, AFileOnTheCommandLineThatCannotBeOpenedSaysWhyAndTheProgramEnds) {
  const std::string junk = Home() + "/notes.dx";
  std::ofstream(junk) << "these are notes, not a spectrum\n";
  ASSERT_TRUE(StartProgram({junk}, false));
  const auto message = x().WaitForWindow("KEDRUS Rodizora");
  ASSERT_TRUE(message) << "nothing was said";
  const Shot& shot = Step("message");
  EXPECT_LT(message->box.w, 900) << "a message box, not the main window";
  EXPECT_GT(shot.CountDark(message->box), 300) << "the message shows no text";
  x().Key("Return");
  EXPECT_EQ(WaitForProgramEnd(10000), 1);
}

TEST_F(SavesTest, TheWaitCursorShowsWhileALargeSpectrumOpens) {
  if (!x().CursorNow()) GTEST_SKIP() << "the display does not tell its cursor (no XFixes)";
  // A spectrum folder of 4M complex points (32 MB): its open takes seconds.
  const std::string folder = Home() + "/large";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/parameters", std::ios::binary)
      << "[CONTROL_NMR_0]\r\nSFO1=400.130000\r\nSW=4800.000000\r\nPH0=0.000000\r\nPH1=0.000000\r\n"
         "OFFSET=12.000000\r\nAQ_mod=1\r\nSI=0\r\nTD=8388608\r\nPP=0\r\nVERSION=2\r\n";
  {
    std::ofstream fid(folder + "/fid.0", std::ios::binary);
    std::vector<float> points(2 * 4194304);
    for (std::size_t i = 0; i < points.size(); i += 2) {
      const float decay = 1000.0f / (1.0f + static_cast<float>(i) / 20000.0f);
      points[i] = decay * static_cast<float>((i / 2) % 7) / 7.0f;
      points[i + 1] = -points[i];
    }
    fid.write(reinterpret_cast<const char*>(points.data()), static_cast<std::streamsize>(points.size() * 4));
  }
  ASSERT_TRUE(StartProgram());
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  // A point of the main window that no dialog covers: the cursor there before anything else.
  const int px = main->box.x + 20, py = main->box.Bottom() - 60;
  x().Move(px, py);
  XSession::Pause(300);
  const auto arrow = x().CursorNow();
  x().Key("ctrl+o");
  const auto open = x().WaitForWindow("Open");
  ASSERT_TRUE(open);
  const Box row{open->box.x + 2, open->box.y + 121, 120, 12};
  XSession::WaitUntil([&] { return x().Grab(row).CountDark(row) > 20; }, 10000);
  x().Click(open->box.x + 40, open->box.y + 127);  // the folder's row chosen
  Step("open dialog");
  // Back over the main window, whose cursor tells it waits for the dialog; Return opens.
  x().Move(px, py);
  XSession::Pause(300);
  const auto modal = x().CursorNow();
  x().Key("Return");
  // Until the document's window shows, the cursor over the program is neither of those.
  std::optional<XSession::Cursor> busy;
  int samples = 0, waiting = 0;
  const bool opened = XSession::WaitUntil([&] {
    const auto now = x().CursorNow();
    if (x().FindWindow("large")) return true;
    ++samples;
    if (now && !(*now == *arrow) && !(modal && *now == *modal)) {
      ++waiting;
      busy = now;
    }
    return false;
  }, 60000);
  ASSERT_TRUE(opened) << "it did not open";
  EXPECT_GT(samples, 5) << "the open was too quick to tell";
  EXPECT_GT(waiting, samples / 2) << "no wait cursor while the spectrum opened";
  Step("opened");
  // Once the spectrum is open (and drawn) the wait cursor goes. (The wait cursor moves: the
  // normal one keeps its picture.)
  x().Move(px + 5, py);
  EXPECT_TRUE(XSession::WaitUntil([&] {
    const auto now = x().CursorNow();
    XSession::Pause(300);
    const auto later = x().CursorNow();
    return busy && now && later && *now == *later && !(*now == *busy);
  }, 30000)) << "the wait cursor stayed";
}

}  // namespace
}  // namespace e2e
