// The spectrum control's own screens while it is active in place: its console takes the
// expressions a person types, and its property frame turns its thirteen pages by the keyboard and
// by the tab row's arrows.
#include <algorithm>
#include <functional>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace e2e {
namespace {

constexpr int kMenuBand = 32;          // the owner-drawn menu bar's height
constexpr std::size_t kMergedItems = 9;  // the control's menus and the container's, merged
constexpr int kBarRows = 9;            // the control's bars, one row each, above the document windows
constexpr int kConsoleRow = 4;         // the console bar's row

bool Dark(Rgb c, int level = 80) { return Red(c) <= level && Green(c) <= level && Blue(c) <= level; }

// The menu bar's items: runs of text in the band, separated by more than a blank's width.
std::size_t MenuItems(const Shot& shot, const XWindow& main) {
  const Box& w = main.box;
  std::size_t items = 0;
  int last = -100;
  for (int x = w.x + 8; x < w.Right() - 70; ++x) {
    bool ink = false;
    for (int y = w.y + 4; y < w.y + kMenuBand - 4 && !ink; ++y) ink = Dark(shot.At(x, y));
    if (!ink) continue;
    if (x - last > 7) ++items;
    last = x;
  }
  return items;
}

// Where the document windows start below the bars (the colour at the window's right end changes
// from the bars' ground there).
int ContentTop(const Shot& shot, const XWindow& main) {
  const int x = main.box.Right() - 12;
  const Rgb ground = shot.At(x, main.box.y + kMenuBand + 6);
  int top = main.box.y + kMenuBand + 6;
  while (top < main.box.Bottom() && shot.At(x, top) == ground) ++top;
  return top;
}

// The columns from the first to the last dark pixel inside box; 0 when there is none.
int InkWidth(const Shot& shot, const Box& box) {
  int first = -1, last = -1;
  for (int x = box.x; x < box.Right(); ++x)
    for (int y = box.y; y < box.Bottom(); ++y)
      if (Dark(shot.At(x, y))) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return first < 0 ? 0 : last - first + 1;
}

class ControlTest : public E2eTest {
 protected:
  // Starts on the sample, double-clicks the trace on the page and waits until the spectrum is
  // active (the merged menu bar is up).
  std::optional<XWindow> ActiveSample() {
    if (!StartProgram({Sample()})) return std::nullopt;
    std::optional<XWindow> main = MainWindow();
    if (!main) return std::nullopt;
    const Shot page = Step("page");
    const Box content{main->box.x, ContentTop(page, *main), main->box.w, main->box.h / 2};
    x().DoubleClick(content.CenterX(), content.y + content.h / 2);
    if (!XSession::WaitUntil([&] { return MenuItems(x().Grab(), *main) == kMergedItems; }, 10000)) return std::nullopt;
    Step("active");
    return main;
  }

  // The middle of the console bar's edit.
  static std::pair<int, int> ConsolePoint(const Shot& shot, const XWindow& main) {
    const int barsTop = main.box.y + kMenuBand;
    const int row = (ContentTop(shot, main) - barsTop) / kBarRows;
    return {main.box.x + 100, barsTop + row * kConsoleRow + row / 2};
  }
};

TEST_F(ControlTest, TheConsoleKeepsTheOperatorsOfAnExpression) {
  const std::optional<XWindow> main = ActiveSample();
  ASSERT_TRUE(main) << "the spectrum did not become active";
  const auto [cx, cy] = ConsolePoint(LastShot(), *main);
  x().Click(cx, cy);
  XSession::Pause(300);
  // "*" is Shift+8, which the console bar posts again to its edit: twice the spectrometer
  // frequency (400.13 MHz) is 800.26, where the lost operator left the text "SF2".
  x().Type("?=SF*2");
  Step("typed");
  x().Key("Return");
  const std::optional<XWindow> value = x().WaitForWindow("Parameter", 10000);
  ASSERT_TRUE(value) << "the expression opened no value dialog";
  const Box& b = value->box;
  // The dialog takes the End key once it has drawn itself and holds the focus; a slow build
  // (the sanitizers') may take a while to get there.
  x().GrabSettled(b);
  x().Key("End");  // the value shows unselected, in dark letters
  const Box edit{b.x + 4, b.y + b.h / 12, b.w - 8, b.h * 45 / 100 - b.h / 12};
  // "800.260000" against "SF2": ten characters against three.
  XSession::WaitUntil([&] { return InkWidth(x().Grab(edit), edit) > 40; }, 5000);
  const Shot shot = Step("value dialog");
  EXPECT_GT(InkWidth(shot, edit), 40);
  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow("Parameter", 10000));
  Step("closed");
}

TEST_F(ControlTest, ThePropertyPagesTurnByKeysAndByTheArrowsOfTheirTabRow) {
  const std::optional<XWindow> main = ActiveSample();
  ASSERT_TRUE(main) << "the spectrum did not become active";
  // Spectrum Edit > Properties, its last item.
  x().Move(main->box.Right() - 30, main->box.Bottom() - 6);
  const std::vector<XWindow> before = x().Stack();
  x().Key("alt+c");
  ASSERT_TRUE(WaitForPopup(x(), before)) << "no Spectrum Edit menu";
  x().Key("Up");
  x().Key("Return");
  const std::optional<XWindow> frame = x().WaitForWindow("Spectrum Control", 10000);
  ASSERT_TRUE(frame) << "no property frame";
  const Box& f = frame->box;
  const Shot first = Step("general page");
  // The thirteen tabs do not fit: the tab row ends in two scroll arrows, drawn in it (not blank
  // buttons whose arrows lie under the page).
  const Box arrows{f.Right() - 36, f.y + 4, 28, 30};
  EXPECT_GT(first.Count(arrows, [](Rgb c) { return Dark(c, 110); }), 4);
  const Box page{f.x + 16, f.y + 44, f.w - 32, f.h - 100};

  // Ctrl+Tab turns to the next page, Ctrl+Shift+Tab back to the first.
  x().Key("ctrl+Tab");
  EXPECT_TRUE(XSession::WaitUntil([&] { return x().Grab(page).CountDifferent(first, page) > 200; }, 5000));
  Step("next page");
  x().Key("ctrl+shift+Tab");
  EXPECT_TRUE(XSession::WaitUntil([&] { return x().Grab(page).CountDifferent(first, page) < 20; }, 5000));
  Step("back to the first page");

  // The right arrow scrolls the tab row.
  const Box row{f.x + 8, f.y + 4, f.w - 60, 28};
  const Shot tabs = x().GrabSettled(row);
  x().Click(f.Right() - 16, f.y + 4 + 14);
  EXPECT_TRUE(XSession::WaitUntil([&] { return x().Grab(row).CountDifferent(tabs, row) > 100; }, 5000));
  Step("tabs scrolled");

  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow("Spectrum Control", 10000));
  EXPECT_EQ(MenuItems(Step("closed"), *main), kMergedItems);
}

}  // namespace
}  // namespace e2e
