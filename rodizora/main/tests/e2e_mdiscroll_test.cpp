// The area of the document windows scrolls: when the spectrum active in place takes room at the
// top of the main window, a document window that is not maximised keeps its size, and the
// bottom of its page is reached by the area's scroll bar.
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

constexpr int kMenuBand = 32;             // the owner-drawn menu bar's height at the top of the window
constexpr Rgb kActiveCaption = 0x0A246A;  // the active document window's caption
constexpr int kBarInset = 12;             // a column inside the area's vertical scroll bar, from the right

bool Dark(Rgb c) { return Red(c) <= 80 && Green(c) <= 80 && Blue(c) <= 80; }
bool Light(Rgb c) { return Red(c) >= 200 && Green(c) >= 200 && Blue(c) >= 200; }

// The area below the bars and above the status line: where the colour at the window's right end
// changes from the bars' ground.
Box Area(const Shot& shot, const XWindow& main) {
  const Box& w = main.box;
  const int x = w.Right() - kBarInset;
  const Rgb ground = shot.At(x, w.y + kMenuBand + 6);
  int top = w.y + kMenuBand + 6;
  while (top < w.Bottom() && shot.At(x, top) == ground) ++top;
  return {w.x, top, w.w, std::max(0, w.Bottom() - 24 - top)};
}

// The top row of the active document window's caption inside area; none when it is not there.
std::optional<int> CaptionRow(const Shot& shot, const Box& area) {
  for (int y = area.y; y < area.Bottom(); ++y)
    if (shot.CountColour({area.x, y, area.w, 1}, kActiveCaption) > 200) return y;
  return std::nullopt;
}

// Lines dark across most of area (the page's frame, the lines of its parameter table): the top
// row of each.
std::vector<int> LongDarkRows(const Shot& shot, const Box& area) {
  std::vector<int> rows;
  bool previous = false;
  for (int y = area.y; y < area.Bottom(); ++y) {
    const bool dark = shot.Count({area.x, y, area.w, 1}, Dark) > area.w / 2;
    if (dark && !previous) rows.push_back(y);
    previous = dark;
  }
  return rows;
}

// The parameter table's lines among rows: the lowest three each 15 to 40 pixels below the one
// before (a frame's edge is a line close below another); none when there are none.
std::optional<std::array<int, 3>> TableLines(const std::vector<int>& rows) {
  for (std::size_t i = rows.size(); i >= 3; --i) {
    const int a = rows[i - 3], b = rows[i - 2], c = rows[i - 1];
    if (b - a >= 15 && b - a <= 40 && c - b >= 15 && c - b <= 40) return std::array<int, 3>{a, b, c};
  }
  return std::nullopt;
}

// The vertical scroll bar at the area's right end shows: its column is light from top to bottom.
bool ScrollBarShown(const Shot& shot, const Box& area) {
  const Box column{area.Right() - kBarInset, area.y + 4, 1, area.h - 8};
  return shot.Count(column, Light) > column.h * 9 / 10;
}

class MdiScrollTest : public E2eTest {
 protected:
  // Waits until the menu bar has more items than before (the control's menus merged in), or
  // back to that many.
  bool WaitForMenuItems(const XWindow& main, const std::function<bool(int)>& pred) const {
    return XSession::WaitUntil(
        [&] {
          const Shot shot = x().Grab({main.box.x, main.box.y, main.box.w, kMenuBand});
          int items = 0;
          bool inItem = false;
          int gap = 0;
          for (int px = main.box.x + 8; px < main.box.Right() - 70; ++px) {
            bool ink = false;
            for (int y = main.box.y + 4; y < main.box.y + kMenuBand - 4 && !ink; ++y) ink = Dark(shot.At(px, y));
            if (ink) {
              if (!inItem) ++items;
              inItem = true;
              gap = 0;
            } else if (++gap > 7) {
              inItem = false;
            }
          }
          return pred(items);
        },
        10000);
  }
};

TEST_F(MdiScrollTest, ThePagesBottomScrollsIntoViewWhileTheSpectrumIsActiveInAWindowNotMaximised) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const std::optional<XWindow> main = MainWindow();
  ASSERT_TRUE(main);
  const Shot page = Step("page");
  const Box area = Area(page, *main);
  // A document window with its caption (not maximised), the page's table at its bottom in view.
  const std::optional<int> caption = CaptionRow(page, area);
  ASSERT_TRUE(caption) << "the document window is maximised or missing";
  const std::optional<std::array<int, 3>> table = TableLines(LongDarkRows(page, area));
  ASSERT_TRUE(table) << "no parameter table on the page";
  const int tableBottom = (*table)[2] - *caption;  // from the caption's top
  EXPECT_FALSE(ScrollBarShown(page, area)) << "a scroll bar while every window fits";

  // The spectrum active in place: its bars take room at the top; the window keeps its size.
  long long sx = 0, sy = 0, n = 0;
  for (int y = area.y; y < area.Bottom(); ++y)
    for (int x = area.x; x < area.Right(); ++x)
      if (Dark(page.At(x, y))) sx += x, sy += y, ++n;
  ASSERT_GT(n, 500);
  x().DoubleClick(static_cast<int>(sx / n), static_cast<int>(sy / n));
  ASSERT_TRUE(WaitForMenuItems(*main, [](int items) { return items > 5; })) << "the double-click activated nothing";
  const Shot active = Step("active");
  const Box shrunk = Area(active, *main);
  EXPECT_GT(shrunk.y, area.y + 100);
  const std::optional<int> activeCaption = CaptionRow(active, shrunk);
  ASSERT_TRUE(activeCaption);
  EXPECT_GT(*activeCaption + tableBottom, shrunk.Bottom()) << "the page's bottom was not pushed out of view";
  ASSERT_TRUE(ScrollBarShown(active, shrunk)) << "no scroll bar reaches the page's bottom";

  // A click in the bar's trough above its down arrow scrolls the window up: the table's lines
  // come into view, spaced as on the page, and the caption goes out of it.
  const int barX = shrunk.Right() - kBarInset;
  x().Click(barX, shrunk.Bottom() - 30);
  ASSERT_TRUE(XSession::WaitUntil([&] { return !CaptionRow(x().Grab(shrunk), shrunk); }, 5000)) << "nothing scrolled";
  const Shot scrolled = Step("scrolled to the bottom");
  const std::optional<std::array<int, 3>> seen = TableLines(LongDarkRows(scrolled, shrunk));
  ASSERT_TRUE(seen) << "the table's lines are not in view";
  EXPECT_EQ((*seen)[1] - (*seen)[0], (*table)[1] - (*table)[0]);
  EXPECT_EQ((*seen)[2] - (*seen)[1], (*table)[2] - (*table)[1]);
  EXPECT_LE((*seen)[2], shrunk.Bottom());
  const Box textThen{area.x, (*table)[0], area.w, (*table)[2] - (*table)[0]};
  const Box textNow{shrunk.x, (*seen)[0], shrunk.w, (*seen)[2] - (*seen)[0]};
  EXPECT_GT(scrolled.CountDark(textNow), page.CountDark(textThen) * 9 / 10) << "the table's text is not in view";

  // The thumb dragged back to the top brings the caption back where it was.
  x().Drag(barX, shrunk.Bottom() - 40, barX, shrunk.y - 200);
  ASSERT_TRUE(XSession::WaitUntil([&] { return CaptionRow(x().Grab(shrunk), shrunk).has_value(); }, 5000));
  const Shot top = Step("scrolled back");
  EXPECT_EQ(CaptionRow(top, shrunk), activeCaption);

  // Escape gives the area its room back: everything fits, and the bar goes.
  x().Key("Escape");
  ASSERT_TRUE(WaitForMenuItems(*main, [](int items) { return items == 5; }));
  const Shot back = Step("escape");
  EXPECT_EQ(Area(back, *main).y, area.y);
  EXPECT_FALSE(ScrollBarShown(back, area));
  EXPECT_EQ(CaptionRow(back, area), caption);
}

}  // namespace
}  // namespace e2e
