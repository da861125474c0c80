// The spectrum active in place, as a person works with it: a double-click activates it, its bars
// and menus come and go with it, its commands reach it and its plot follows them on the screen.
#include <algorithm>
#include <filesystem>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace e2e {
namespace {

constexpr int kMenuBand = 32;       // the owner-drawn menu bar's height at the top of the window
constexpr Rgb kPageGround = 0x787878;  // the page layout's grey around the page
constexpr Rgb kActiveCaption = 0x0A246A;  // the active document window's caption

// The parts of the main window a case looks at, found on a screenshot.
struct Layout {
  std::vector<Box> menuItems;  // the menu bar's items, left to right
  Box content;                 // below the bars and above the status line: the document windows
};

// Runs of columns (or rows) where pred holds, merged across gaps narrower than gap.
std::vector<std::pair<int, int>> Runs(int from, int to, int gap, const std::function<bool(int)>& pred) {
  std::vector<std::pair<int, int>> runs;
  for (int i = from; i < to; ++i) {
    if (!pred(i)) continue;
    if (!runs.empty() && i - runs.back().second <= gap) runs.back().second = i + 1;
    else runs.push_back({i, i + 1});
  }
  return runs;
}

bool Dark(Rgb c) { return Red(c) <= 80 && Green(c) <= 80 && Blue(c) <= 80; }

Layout Find(const Shot& shot, const XWindow& main) {
  Layout layout;
  const Box& w = main.box;
  // Menu items: text in the band, separated by more than a blank's width (the buttons of a
  // maximised document window at the end left out).
  for (const auto& [x0, x1] : Runs(w.x + 8, w.Right() - 70, 7, [&](int x) {
         for (int y = w.y + 4; y < w.y + kMenuBand - 4; ++y)
           if (Dark(shot.At(x, y))) return true;
         return false;
       }))
    layout.menuItems.push_back({x0, w.y + 4, x1 - x0, kMenuBand - 8});
  // The bars end where the colour at the window's right end changes from the bars' ground.
  const int x = w.Right() - 12;
  const Rgb ground = shot.At(x, w.y + kMenuBand + 6);
  int top = w.y + kMenuBand + 6;
  while (top < w.Bottom() && shot.At(x, top) == ground) ++top;
  layout.content = {w.x, top, w.w, std::max(0, w.Bottom() - 24 - top)};
  return layout;
}

// The centre of the dark pixels inside box (the middle of the box when there are none).
std::pair<int, int> DarkCentre(const Shot& shot, const Box& box) {
  long long sx = 0, sy = 0, n = 0;
  for (int y = box.y; y < box.Bottom(); ++y)
    for (int x = box.x; x < box.Right(); ++x)
      if (Dark(shot.At(x, y))) sx += x, sy += y, ++n;
  if (n == 0) return {box.CenterX(), box.CenterY()};
  return {static_cast<int>(sx / n), static_cast<int>(sy / n)};
}

// A point of the page layout's grey ground inside box (the view outside every item).
std::optional<std::pair<int, int>> GroundPoint(const Shot& shot, const Box& box) {
  for (int y = box.y + 2; y < box.Bottom() - 2; ++y)
    for (int x = box.x + 2; x < box.Right() - 2; ++x)
      if (shot.At(x, y) == kPageGround && shot.At(x + 2, y + 2) == kPageGround) return std::make_pair(x + 1, y + 1);
  return std::nullopt;
}

// The rows of a popup menu's items (text rows; separators left out), top to bottom.
std::vector<Box> MenuRows(const Shot& shot, const Box& popup) {
  const Rgb ground = shot.Dominant(popup.Inset(2));
  std::vector<Box> rows;
  for (const auto& [y0, y1] : Runs(popup.y + 2, popup.Bottom() - 2, 1, [&](int y) {
         int ink = 0;
         for (int x = popup.x + 28; x < popup.Right() - 8; ++x) ink += shot.At(x, y) != ground;
         // A separator spans the menu's width; text leaves gaps between its letters.
         return ink > 0 && ink < (popup.w - 36) * 3 / 4;
       }))
    if (y1 - y0 >= 5) rows.push_back({popup.x, y0, popup.w, y1 - y0});
  return rows;
}

// Rows of the control's "Spectrum View" menu and of the container's "View" menu.
constexpr int kRowZoomIn = 0, kRowFid = 11, kRowSpectrumControl = 20;
constexpr int kRowFullView = 0, kRowPageLayout = 1;
// The control's menus and the container's, merged: File Edit View, four of the control's,
// Window Help.
constexpr std::size_t kDocumentItems = 5, kMergedItems = 9;

class InPlaceTest : public E2eTest {
 protected:
  // Maximises the active document window by a double-click on its caption (so that it keeps
  // the whole area the control's bars leave); false when it has no caption to click.
  bool MaximiseDocument(const XWindow& main) {
    const Shot& shot = Step("before maximising");
    const Box content = Find(shot, main).content;
    for (int y = content.y; y < content.Bottom(); ++y)
      if (shot.CountColour({content.x, y, content.w, 1}, kActiveCaption) > 200) {
        x().DoubleClick(content.x + content.w / 3, y + 8);
        return XSession::WaitUntil([&] { return x().Grab().CountColour(content, kActiveCaption) < 200; }, 10000);
      }
    return false;
  }

  // Starts on the sample and answers the main window with the page drawn.
  std::optional<XWindow> OpenSample() {
    if (!StartProgram({Sample()})) return std::nullopt;
    return MainWindow();
  }

  // A top-level window other than a main window that came up since before was taken (a popup
  // menu, a dial panel).
  std::optional<XWindow> NewPopup(const std::vector<XWindow>& before) const { return WaitForPopup(x(), before); }

  // Waits until the window is no longer on the screen.
  static bool Gone(const XWindow& window) {
    return XSession::WaitUntil(
        [&] {
          for (const XWindow& w : x().Stack())
            if (w.id == window.id) return false;
          return true;
        },
        5000);
  }

  // Opens the menu bar's item with Alt + letter and chooses its item on text row `row` by a click.
  bool Choose(const XWindow& main, const std::string& altKey, int row, const std::string& step) {
    // The pointer on the status line: the keys go to the main window, and no item of the menu
    // shows highlighted.
    x().Move(main.box.Right() - 30, main.box.Bottom() - 6);
    const std::vector<XWindow> before = x().Stack();
    x().Key("alt+" + altKey);
    const std::optional<XWindow> popup = NewPopup(before);
    if (!popup) return false;
    const Shot& shot = Step(step);
    const std::vector<Box> rows = MenuRows(shot, popup->box);
    if (row >= static_cast<int>(rows.size())) return false;
    const Box& item = rows[static_cast<std::size_t>(row)];
    x().Click(item.x + 40, item.CenterY());
    return Gone(*popup);
  }

  // Waits until the menu bar shows that many items (the document's menu or the merged one).
  bool WaitForMenu(const XWindow& main, std::size_t items) const {
    return XSession::WaitUntil([&] { return Find(x().Grab(), main).menuItems.size() == items; }, 10000);
  }

  // Double-clicks the middle of the trace on the page and waits for the spectrum to be active:
  // answers the window's parts as they are then.
  std::optional<Layout> DoubleClickTheSpectrum(const XWindow& main, const Shot& pageShot, const Layout& page) {
    const auto [cx, cy] = DarkCentre(pageShot, page.content);
    x().DoubleClick(cx, cy);
    if (!WaitForMenu(main, kMergedItems)) return std::nullopt;
    return Find(Step("active"), main);
  }

  // Titles of the viewable titled windows other than the main window.
  std::vector<std::string> OtherWindows() const {
    std::vector<std::string> titles;
    for (const XWindow& w : x().Windows())
      if (w.viewable && w.title.find("KEDRUS Rodizora") == std::string::npos) titles.push_back(w.title);
    return titles;
  }
};


TEST_F(InPlaceTest, ADoubleClickActivatesTheSpectrumWhichStaysOnScreenUnderOneMenuBar) {
  const std::optional<XWindow> main = OpenSample();
  ASSERT_TRUE(main);
  const Layout page = Find(Step("page"), *main);
  ASSERT_EQ(page.menuItems.size(), kDocumentItems);
  const std::int64_t traceBefore = LastShot().CountDark(page.content);
  ASSERT_GT(traceBefore, 500);

  const Shot pageShot = LastShot();
  const std::optional<Layout> activated = DoubleClickTheSpectrum(*main, pageShot, page);
  ASSERT_TRUE(activated) << "the double-click activated nothing";
  const Layout& active = *activated;
  // One menu bar with the merged menus; the control's bars above the document windows, which
  // still show the plot.
  EXPECT_EQ(active.menuItems.size(), kMergedItems);
  EXPECT_EQ(active.menuItems.front().x, page.menuItems.front().x);
  EXPECT_GT(active.content.y, page.content.y + 100);
  EXPECT_GE(LastShot().CountDark(active.content), traceBefore * 6 / 10);
  // The bars start right below the menu bar (the standard bar's row is theirs while it hides).
  EXPECT_GT(LastShot().CountDark({main->box.x, main->box.y + kMenuBand + 2, main->box.w, 20}), 50);

  // Escape gives the frame its menu, toolbar and area back.
  x().Key("Escape");
  ASSERT_TRUE(WaitForMenu(*main, kDocumentItems));
  const Layout back = Find(Step("escape"), *main);
  EXPECT_EQ(back.content.y, page.content.y);
  EXPECT_GE(LastShot().CountDark(back.content), traceBefore * 6 / 10);

  // A click on the page outside the item deactivates as well.
  const std::optional<Layout> again = DoubleClickTheSpectrum(*main, pageShot, page);
  ASSERT_TRUE(again) << "the second double-click activated nothing";
  const auto ground = GroundPoint(LastShot(), again->content);
  ASSERT_TRUE(ground) << "no page ground to click on";
  x().Click(ground->first, ground->second);
  EXPECT_TRUE(WaitForMenu(*main, kDocumentItems));
  EXPECT_EQ(Find(Step("clicked outside"), *main).content.y, page.content.y);
}

TEST_F(InPlaceTest, TheSpectrumsMenuCommandsReachItAndOpenNothingOfTheMainProgram) {
  const std::optional<XWindow> main = OpenSample();
  ASSERT_TRUE(main);
  const Layout page = Find(Step("page"), *main);
  const std::optional<Layout> activated = DoubleClickTheSpectrum(*main, LastShot(), page);
  ASSERT_TRUE(activated) << "the double-click activated nothing";
  const Layout& active = *activated;

  // Spectrum View > FID: the control shows its FID (the main program's numbers would export a
  // metafile through a file dialog).
  ASSERT_TRUE(Choose(*main, "s", kRowFid, "spectrum view menu"));
  XSession::Pause(1000);
  EXPECT_EQ(OtherWindows(), std::vector<std::string>{});
  Step("fid chosen");

  // Spectrum View > Spectrum Control hides the control's spectrum bar (the main program's
  // numbers would print): the document windows move up by a bar's row.
  ASSERT_TRUE(Choose(*main, "s", kRowSpectrumControl, "spectrum view menu again"));
  ASSERT_TRUE(x().WaitUntil([&] { return Find(x().Grab(), *main).content.y < active.content.y - 10; }, 10000));
  const Layout fewer = Find(Step("spectrum bar hidden"), *main);
  EXPECT_LT(fewer.content.y, active.content.y - 10);
  EXPECT_GT(fewer.content.y, page.content.y);
  XSession::Pause(500);
  EXPECT_EQ(OtherWindows(), std::vector<std::string>{});
}

TEST_F(InPlaceTest, TransformZoomAndPhaseKnobRedrawTheActivePlotAtOnceAndThePageKeepsTheResult) {
  const std::optional<XWindow> main = OpenSample();
  ASSERT_TRUE(main);
  ASSERT_TRUE(MaximiseDocument(*main));
  const Shot fid = Step("page");
  const Layout page = Find(fid, *main);
  const std::optional<Layout> activated = DoubleClickTheSpectrum(*main, fid, page);
  ASSERT_TRUE(activated) << "the double-click activated nothing";
  const Layout& active = *activated;

  // Process > Fourier Transform: the dense start of the FID leaves the corner of the page.
  Shot before = LastShot();
  ASSERT_TRUE(Choose(*main, "p", 0, "process menu"));
  EXPECT_TRUE(x().WaitUntil([&] { return x().Grab().CountDifferent(before, active.content) > 2000; }, 10000));
  Step("transformed");

  // The full view shows the whole spectrum; the item stays active.
  ASSERT_TRUE(Choose(*main, "v", kRowFullView, "view menu"));
  XSession::Pause(500);
  const Layout full = Find(Step("full view"), *main);
  ASSERT_EQ(full.menuItems.size(), kMergedItems);
  const Box plot = full.content;
  EXPECT_GT(LastShot().CountDark(plot), 300);

  // A step of the phase knob (the first control of the phase bar, the bars' second row): the
  // right arrow of its dial panel.
  before = LastShot();
  const int rows = 9;
  const int rowHeight = (full.content.y - (main->box.y + kMenuBand)) / rows;
  const int knobY = main->box.y + kMenuBand + rowHeight + rowHeight / 2;
  const std::vector<XWindow> stack = x().Stack();
  x().Click(main->box.x + 40, knobY);
  const std::optional<XWindow> panel = NewPopup(stack);
  ASSERT_TRUE(panel) << "no dial panel";
  Step("dial panel");
  x().Click(panel->box.Right() - panel->box.w / 8, panel->box.CenterY());
  EXPECT_TRUE(x().WaitUntil([&] { return x().Grab().CountDifferent(before, plot) > 500; }, 10000));
  Step("phase stepped");
  x().Move(main->box.Right() - 30, main->box.Bottom() - 6);
  EXPECT_TRUE(Gone(*panel));

  // Spectrum View > Zoom In.
  before = Step("panel closed");
  ASSERT_TRUE(Choose(*main, "s", kRowZoomIn, "spectrum view menu"));
  EXPECT_TRUE(x().WaitUntil([&] { return x().Grab().CountDifferent(before, plot) > 500; }, 10000));
  Step("zoomed");

  // Back in the page layout the item is no longer active, and the page shows the processed
  // spectrum, not the FID it showed first.
  ASSERT_TRUE(Choose(*main, "v", kRowPageLayout, "view menu again"));
  ASSERT_TRUE(WaitForMenu(*main, kDocumentItems));
  const Shot& after = Step("page with the spectrum");
  EXPECT_GT(after.CountDifferent(fid, page.content), 2000);
  EXPECT_GT(after.CountDark(page.content), 100);
}

TEST_F(InPlaceTest, TheFullViewKeepsItsWayBackToThePageLayout) {
  const std::optional<XWindow> main = OpenSample();
  ASSERT_TRUE(main);
  const Layout page = Find(Step("page"), *main);
  ASSERT_GT(LastShot().CountColour(page.content, kPageGround), 1000);

  // View > Spectrum: the spectrum fills its window, active, with the merged menus.
  ASSERT_TRUE(Choose(*main, "v", kRowFullView, "view menu"));
  ASSERT_TRUE(WaitForMenu(*main, kMergedItems));
  const Layout full = Find(Step("full view"), *main);
  EXPECT_GT(full.content.y, page.content.y + 100);
  EXPECT_LT(LastShot().CountColour(full.content, kPageGround), 100);
  EXPECT_GT(LastShot().CountDark(full.content), 500);

  // View > Page Layout from the merged menu: the page and the frame's own menu come back.
  ASSERT_TRUE(Choose(*main, "v", kRowPageLayout, "view menu in the full view"));
  ASSERT_TRUE(WaitForMenu(*main, kDocumentItems));
  const Layout back = Find(Step("page layout"), *main);
  EXPECT_EQ(back.content.y, page.content.y);
  EXPECT_GT(LastShot().CountColour(back.content, kPageGround), 1000);

  // In the full view again, Escape gives the frame its own menu and toolbar while the spectrum
  // keeps filling its window; the page layout is one choice away.
  ASSERT_TRUE(Choose(*main, "v", kRowFullView, "view menu again"));
  ASSERT_TRUE(WaitForMenu(*main, kMergedItems));
  Step("full view again");
  x().Key("Escape");
  ASSERT_TRUE(WaitForMenu(*main, kDocumentItems));
  const Layout inactive = Find(Step("escape in the full view"), *main);
  EXPECT_EQ(inactive.content.y, page.content.y);
  EXPECT_LT(LastShot().CountColour(inactive.content, kPageGround), 100);
  EXPECT_GT(LastShot().CountDark(inactive.content), 500);
  ASSERT_TRUE(Choose(*main, "v", kRowPageLayout, "view menu of the frame"));
  ASSERT_TRUE(x().WaitUntil([&] { return x().Grab().CountColour(page.content, kPageGround) > 1000; }, 10000));
  Step("page layout again");
}

TEST_F(InPlaceTest, TheActiveSpectrumsKeysGoToItAndThePagesOtherKeysToThePage) {
  const std::string copy = SampleCopy();
  const auto written = std::filesystem::last_write_time(copy);
  ASSERT_TRUE(StartProgram({copy}));
  const std::optional<XWindow> main = MainWindow();
  ASSERT_TRUE(main);
  const Layout page = Find(Step("page"), *main);
  const std::optional<Layout> activated = DoubleClickTheSpectrum(*main, LastShot(), page);
  ASSERT_TRUE(activated) << "the double-click activated nothing";
  const Layout& active = *activated;

  // Ctrl+Up is the control's (the plot moves up); Ctrl+S is the control's too (the sums of its
  // integrals), before the page's save: nothing is written and no dialog opens.
  const Shot before = LastShot();
  x().Key("ctrl+Up");
  EXPECT_TRUE(x().WaitUntil([&] { return x().Grab().CountDifferent(before, active.content) > 500; }, 10000));
  Step("moved up");
  x().Key("ctrl+s");
  XSession::Pause(1500);
  EXPECT_EQ(OtherWindows(), std::vector<std::string>{});
  EXPECT_EQ(std::filesystem::last_write_time(copy), written);
  Step("ctrl s");

  // Ctrl+P is the page's alone: its Print dialog, which Escape closes; the spectrum stays active.
  x().Key("ctrl+p");
  ASSERT_TRUE(x().WaitForWindow("Print", 10000)) << "Ctrl+P opened no print dialog";
  Step("print dialog");
  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow("Print", 10000));
  EXPECT_EQ(Find(Step("print cancelled"), *main).menuItems.size(), kMergedItems);
}

}  // namespace
}  // namespace e2e
