// What a person sees of the program's screens: the toolbars' pictures, Clear, the metafile export,
// the zoom combo once the last document is closed, and the dialog of Insert Spectrum(s).
#include <filesystem>
#include <fstream>
#include <map>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kWhite = 0xFFFFFF, kShadow = 0x808080;

// The main window less its caption-free top (menus and bars) and its status line: where the
// page or the active control shows.
Box ContentOf(const XWindow& main) { return {main.box.x, main.box.y + 90, main.box.w, main.box.h - 120}; }

// The box around the dark pixels inside area (empty when there are none).
Box DarkBox(const Shot& shot, const Box& area) {
  int left = area.Right(), top = area.Bottom(), right = area.x, bottom = area.y;
  for (int y = area.y; y < area.Bottom(); ++y)
    for (int x = area.x; x < area.Right(); ++x) {
      const Rgb c = shot.At(x, y);
      if (Red(c) > 80 || Green(c) > 80 || Blue(c) > 80) continue;
      left = std::min(left, x), right = std::max(right, x + 1);
      top = std::min(top, y), bottom = std::max(bottom, y + 1);
    }
  return right > left ? Box{left, top, right - left, bottom - top} : Box{};
}

// Puts the pointer on the main window's status line, where it changes nothing: without a window
// manager the keys go to the window under the pointer once the start logo has gone.
void PointAtMainWindow(XSession& x, const XWindow& main) { x.Move(main.box.CenterX(), main.box.Bottom() - 8); }

// Double-clicks the spectrum on the page, which activates it in place with its bars.
void ActivateSpectrum(XSession& x, const Shot& page, const XWindow& main) {
  const Box trace = DarkBox(page, ContentOf(main));
  x.DoubleClick(trace.CenterX(), trace.CenterY());
}

// A picture on a toolbar button, cut to its ink.
struct Picture {
  Box box;
  std::vector<Rgb> pixels;
  bool operator<(const Picture& other) const {
    return std::tie(box.w, box.h, pixels) < std::tie(other.box.w, other.box.h, other.pixels);
  }
};

// The grippers of the docked bars: two etched bars three pixels wide, four apart, as high as
// the bar.
std::vector<Box> GrippersOf(const Shot& shot, const Box& area) {
  const auto etched = [&](int x, int y) {
    return shot.At(x, y) == kWhite && shot.At(x + 2, y) == kShadow && shot.At(x + 4, y) == kWhite &&
           shot.At(x + 6, y) == kShadow;
  };
  std::vector<Box> grippers;
  for (int x = area.x; x + 7 < area.Right(); ++x)
    for (int y = area.y; y < area.Bottom(); ++y) {
      int end = y;
      while (end < area.Bottom() && etched(x, end)) ++end;
      if (end - y >= 16) grippers.push_back({x, y, 7, end - y});
      y = end;
    }
  return grippers;
}

// The button pictures of the bar whose gripper is given, cut to their ink: runs of columns that
// are not all face, at most a button's image wide (wider runs are embedded controls, two-pixel
// ones etched separators), up to the next bar's gripper.
std::vector<Picture> PicturesOf(const Shot& shot, const Box& gripper, const Box& area, Rgb face) {
  const int top = gripper.y + 2, bottom = gripper.Bottom() - 2;
  const auto inkIn = [&](int x) {
    for (int y = top; y < bottom; ++y)
      if (shot.At(x, y) != face) return true;
    return false;
  };
  std::vector<Picture> pictures;
  int x = gripper.Right() + 1, blank = 0;
  while (x < area.Right() && blank < 60) {
    if (!inkIn(x)) {
      ++x, ++blank;
      continue;
    }
    if (shot.At(x, top) == kWhite && shot.At(x + 2, top) == kShadow && shot.At(x + 4, top) == kWhite) break;
    blank = 0;
    int end = x, gap = 0;
    while (end < area.Right() && gap < 3) {
      gap = inkIn(end) ? 0 : gap + 1;
      ++end;
    }
    const int width = end - gap - x;
    if (width > 2 && width <= 17) {
      int t = bottom, b = top;
      for (int yy = top; yy < bottom; ++yy)
        for (int xx = x; xx < x + width; ++xx)
          if (shot.At(xx, yy) != face) t = std::min(t, yy), b = std::max(b, yy + 1);
      Picture p;
      p.box = {x, t, width, b - t};
      for (int yy = p.box.y; yy < p.box.Bottom(); ++yy)
        for (int xx = p.box.x; xx < p.box.Right(); ++xx) p.pixels.push_back(shot.At(xx, yy));
      pictures.push_back(std::move(p));
    }
    x = end;
  }
  return pictures;
}

// The zoom combo's edit field: the widest white box of a text's height in the main window's
// top rows (the menu bar and the standard bar).
Box ZoomComboOf(const Shot& shot, const XWindow& main) {
  Box best;
  const int limit = main.box.y + 90;
  for (int y = main.box.y; y < limit; ++y)
    for (int x = main.box.x; x < main.box.Right();) {
      int end = x;
      while (end < main.box.Right() && shot.At(end, y) == kWhite) ++end;
      // As high as its first column stays white (the text starts a few pixels in).
      int bottom = y;
      while (end - x >= 60 && bottom < limit && shot.At(x + 1, bottom) == kWhite) ++bottom;
      if (bottom - y >= 12 && bottom - y <= 40 && end - x > best.w) best = {x, y, end - x, bottom - y};
      x = end + 1;
    }
  return best;
}

TEST_F(E2eTest, EveryToolbarButtonHasAPictureOfItsOwn) {
  ASSERT_TRUE(StartProgram({SampleCopy()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  ActivateSpectrum(x(), Step("page"), *main);
  XSession::Pause(500);
  const Shot& shot = Step("bars of the active spectrum");
  const Rgb face = shot.Dominant({main->box.x, main->box.y + 40, main->box.w, 200});
  std::map<Picture, Box> seen;
  int pictures = 0, bars = 0;
  for (const Box& gripper : GrippersOf(shot, main->box)) {
    const std::vector<Picture> bar = PicturesOf(shot, gripper, main->box, face);
    bars += !bar.empty();
    for (const Picture& p : bar) {
      ++pictures;
      const auto [at, added] = seen.emplace(p, p.box);
      EXPECT_TRUE(added) << "the picture at " << p.box.x << "," << p.box.y << " is also at " << at->second.x << ","
                         << at->second.y;
    }
  }
  // The standard bar's nine and the spectrum control's nine bars' (45 buttons).
  EXPECT_GE(bars, 10);
  EXPECT_GE(pictures, 50);
}

TEST_F(E2eTest, ClearTakesTheSpectrumOffTheScreen) {
  ASSERT_TRUE(StartProgram({SampleCopy()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  ActivateSpectrum(x(), Step("page"), *main);
  XSession::Pause(500);
  const Box shown = {main->box.x, main->box.y, main->box.w, main->box.h - 30};  // not the status line
  const Shot& before = Step("active");
  const std::int64_t active = before.CountDark(shown);
  // The control's own window: below the bars it shows (the lowest gripper's).
  int barsEnd = main->box.y + 90;
  for (const Box& gripper : GrippersOf(before, main->box)) barsEnd = std::max(barsEnd, gripper.Bottom() + 4);
  const Box plot = {main->box.x + 10, barsEnd, main->box.w - 20, main->box.Bottom() - 40 - barsEnd};
  ASSERT_GT(plot.h, 50);
  // The console's word, typed into the active control.
  x().Type("CLR");
  x().Key("Return");
  XSession::Pause(300);
  const Shot& cleared = Step("cleared");
  // Gone: the trace and its overview on the spectrum bar's strip, the menus of a spectrum.
  EXPECT_LT(cleared.CountDark(shown), active - 150);
  EXPECT_EQ(cleared.CountDark(plot), 0);
}

TEST_F(E2eTest, ExportAsEnhancedMetafileAsksForItsNameOnlyAndWritesIt) {
  const std::string page = SampleCopy("page.dx");
  ASSERT_TRUE(StartProgram({page}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  PointAtMainWindow(x(), *main);
  Step("page");
  x().Key("alt+f");
  XSession::Pause(300);
  x().Key("x");
  XSession::Pause(300);
  x().Key("e");
  const auto save = x().WaitForWindow("Save As");
  ASSERT_TRUE(save) << "no save dialog";
  Step("save dialog");
  // The proposed name is the document's, as a metafile: taken as it is.
  x().Key("Return");
  EXPECT_TRUE(x().WaitForNoWindow("Save As"));
  // Nothing else asks: no print dialog, no question about another file.
  XSession::Pause(1000);
  const Shot& after = Step("exported");
  for (const XWindow& w : x().Windows())
    EXPECT_NE(w.title.find("KEDRUS Rodizora"), std::string::npos) << "a window \"" << w.title << "\" came up";
  const std::string emf = ScratchDir() + "/page.emf";
  ASSERT_TRUE(XSession::WaitUntil([&] { return fs::exists(emf) && fs::file_size(emf) > 100; }, 10000));
  std::ifstream in(emf, std::ios::binary);
  std::string head(44, '\0');
  in.read(head.data(), 44);
  EXPECT_EQ(head.substr(40, 4), " EMF");
  EXPECT_GT(after.CountDark(MainWindow()->box), 0);
}

TEST_F(E2eTest, TheZoomComboIsDisabledAndEmptyOnceTheLastDocumentIsClosed) {
  ASSERT_TRUE(StartProgram({SampleCopy()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  PointAtMainWindow(x(), *main);
  const Shot& open = Step("document open");
  const Box combo = ZoomComboOf(open, *main);
  ASSERT_GT(combo.w, 0) << "no zoom combo found";
  EXPECT_GT(open.CountDark(combo), 10);  // "100%"
  // File, Close (its letter is shared: Return takes the item it chose).
  x().Key("alt+f");
  XSession::Pause(300);
  x().Key("c");
  XSession::Pause(200);
  x().Key("Return");
  ASSERT_TRUE(XSession::WaitUntil([&] { return x().FindWindow("KEDRUS Rodizora")->title == "KEDRUS Rodizora"; }, 10000));
  const Shot& closed = Step("last document closed");
  EXPECT_EQ(closed.CountDark(combo), 0);
  EXPECT_NE(closed.Dominant(combo), kWhite);  // greyed
}

TEST_F(E2eTest, InsertSpectraShowsTheExplorerStyleOpenDialog) {
  // A spectrum in the folder the dialog opens in (the load directory, by default the home).
  fs::copy_file(Sample(), SandboxDir() + "/home/second.dx");
  ASSERT_TRUE(StartProgram({SampleCopy()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  PointAtMainWindow(x(), *main);
  const Shot page = Step("page");
  x().Key("alt+e");
  XSession::Pause(300);
  x().Key("s");
  const auto dialog = x().WaitForWindow("Open");
  ASSERT_TRUE(dialog) << "no open dialog";
  const Shot& shot = Step("insert spectra dialog");
  // The program's own dialog: its frame of 550 x 440 with the folder list over the file list,
  // centred on the main window (the platform's plain dialog is none of these).
  EXPECT_EQ(dialog->box.w, 550);
  EXPECT_EQ(dialog->box.h, 440);
  EXPECT_NEAR(dialog->box.CenterX(), main->box.CenterX(), 2);
  EXPECT_NEAR(dialog->box.CenterY(), main->box.CenterY(), 2);
  EXPECT_GT(shot.Count(dialog->box.Inset(4), [](Rgb c) { return c != kWhite; }), 1000);
  // The spectrum in the home folder is listed (its row below the column titles, once the
  // listing worker has drawn it); chosen and opened, it joins the page as a second item.
  const Box firstRow{dialog->box.x + 2, dialog->box.y + 121, 120, 12};
  ASSERT_TRUE(XSession::WaitUntil([&] { return x().Grab(firstRow).CountDark(firstRow) > 20; }, 10000))
      << "the dialog lists no file";
  x().Click(dialog->box.x + 40, dialog->box.y + 127);
  x().Click(dialog->box.Right() - 138, dialog->box.Bottom() - 18);
  ASSERT_TRUE(x().WaitForNoWindow("Open"));
  const Shot& inserted = Step("spectrum inserted");
  EXPECT_GT(inserted.CountDifferent(page, ContentOf(*main)), 2000) << "nothing joined the page";
}

}  // namespace
}  // namespace e2e
