// Opening and saving as a person meets them: a page made by New and Insert Spectrum(s) saves as
// a workspace that opens again, a file named on the command line that cannot be opened says
// why, and the wait cursor shows while a large spectrum opens.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace e2e {
namespace {

constexpr Rgb kActiveCaption = 0x0A246A;  // the active document window's caption

class SavesTest : public E2eTest {
 protected:
  std::string Home() const { return SandboxDir() + "/home"; }
  // The page below the bars.
  static Box PageArea(const XWindow& main) {
    return {main.box.x + 8, main.box.y + 120, main.box.w - 16, main.box.h - 160};
  }
  // The smallest box around the pixels of box that differ between two shots.
  static Box Changed(const Shot& a, const Shot& b, const Box& box) {
    int left = box.Right(), top = box.Bottom(), right = box.x, bottom = box.y;
    for (int y = box.y; y < box.Bottom(); ++y)
      for (int x = box.x; x < box.Right(); ++x)
        if (a.At(x, y) != b.At(x, y)) {
          left = std::min(left, x);
          top = std::min(top, y);
          right = std::max(right, x + 1);
          bottom = std::max(bottom, y + 1);
        }
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
  }
  // Where the document window's caption starts now (the bars above it end there); -1 when none
  // shows. An item active in place puts its bars above it.
  static int CaptionTop(const XWindow& main) {
    const Shot shot = x().Grab(main.box);
    const int column = main.box.x + 60;
    for (int y = main.box.y; y < main.box.Bottom(); ++y)
      if (shot.At(column, y) == kActiveCaption) return y;
    return -1;
  }
};

// A person makes a page: File > New, Edit > Insert Spectrum(s) with the sample chosen in the
// dialog; the new item comes active in place, Escape gives the page back, and then the keys are
// the page's: Ctrl+S on the never-saved page asks for a name.
TEST_F(SavesTest, APageMadeByNewAndInsertSpectrumSavesAsAWorkspaceThatOpensAgain) {
  const std::string sample = Home() + "/ethyl_acetate_fid.dx";
  std::filesystem::copy_file(Sample(), sample);
  ASSERT_TRUE(StartProgram());
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  x().Key("ctrl+n");
  ASSERT_TRUE(x().WaitForWindow("Page1")) << "Ctrl+N made no page";
  const Shot empty = Step("new page");
  const int pageCaption = CaptionTop(*main);
  ASSERT_GT(pageCaption, main->box.y);
  // Edit > Insert Spectrum(s), the file named in its dialog.
  const std::vector<XWindow> before = x().Stack();
  x().Key("alt+e");
  ASSERT_TRUE(WaitForPopup(x(), before)) << "Alt+E opened no Edit menu";
  x().Key("s");
  const auto open = x().WaitForWindow("Open");
  ASSERT_TRUE(open) << "Insert Spectrum(s) showed no file dialog";
  // The explorer-style dialog lists the home folder, the sample its first row.
  const Box row{open->box.x + 2, open->box.y + 121, 120, 12};
  ASSERT_TRUE(WaitForInk(x(), row, 20, 10000)) << "the dialog lists no file";
  x().Click(open->box.x + 40, open->box.y + 127);
  Step("insert spectrum dialog");
  // Return held as a finger holds it: the item comes active before the key comes up.
  x().Key("Return", 150);
  ASSERT_TRUE(x().WaitForNoWindow("Open"));
  // The new item comes active in place: its bars push the document window down.
  EXPECT_TRUE(XSession::WaitUntil([&] { return CaptionTop(*main) > pageCaption + 50; }, 10000))
      << "the inserted item did not come active";
  Step("spectrum inserted, active");
  // Escape gives the page back: the bars go, the page shows the spectrum.
  x().Key("Escape");
  EXPECT_TRUE(XSession::WaitUntil([&] { return CaptionTop(*main) == pageCaption; }, 10000))
      << "Escape left the item active";
  const Box page = PageArea(*main);
  const Shot inserted = Step("spectrum inserted");
  EXPECT_GT(inserted.CountDifferent(empty, page), 5000) << "no spectrum on the page";
  // The item stays chosen: its frame's handle sits at the top left of what it drew.
  const Box drawn = Changed(inserted, empty, page);
  EXPECT_EQ(inserted.CountDark({drawn.x, drawn.y, 5, 5}), 25) << "the inserted item is no longer chosen";

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
  // A spectrum folder of 16M complex points (128 MB): its open takes longer than the half second
  // from which a person is shown the wait.
  const std::string folder = Home() + "/large";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/parameters", std::ios::binary)
      << "[CONTROL_NMR_0]\r\nSFO1=400.130000\r\nSW=4800.000000\r\nPH0=0.000000\r\nPH1=0.000000\r\n"
         "OFFSET=12.000000\r\nAQ_mod=1\r\nSI=0\r\nTD=33554432\r\nPP=0\r\nVERSION=2\r\n";
  {
    std::ofstream fid(folder + "/fid.0", std::ios::binary);
    std::vector<float> points(2 * 16777216);
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
