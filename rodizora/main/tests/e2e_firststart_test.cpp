// A user's first start: the settings the modules ship, seen on a real page.
#include <algorithm>
#include <string>
#include <vector>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace e2e {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;

class FirstStartTest : public E2eTest {
 protected:
  // Runs profcli on the user's settings of the product (section of a module: "\\rodizora").
  void Profile(const std::vector<std::string>& command) {
    std::vector<std::string> args = {"--root", "HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0"};
    args.insert(args.end(), command.begin(), command.end());
    std::vector<std::string> env;
    for (const auto& [name, value] : Env()) env.push_back(name + "=" + value);
    Program cli(E2E_PROFCLI, args, env, SandboxDir() + "/profcli.log");
    ASSERT_EQ(cli.WaitForExit(10000), 0) << "profcli failed: " << SandboxDir() << "/profcli.log";
  }

  // Opens a real spectrometer's proton FID (aspirin, 300 MHz, Bruker) processed as a chemist
  // asks on the command line, peaks picked, then the commands given; answers the page: the
  // white box inside the document window, once it is drawn.
  Box OpenPage(const std::string& step, const std::string& commands = "") {
    const std::string fid = std::string(E2E_REAL_DATA) + "/aspirin-1h";
    if (!StartProgram({fid, "-PROCESS", "EM;FT;AP;APP" + commands})) return {};
    const auto main = MainWindow();
    if (!main) return {};
    WaitForStartLogoGone(x());
    // Below the menu, the tool bar, the document window's caption and its rulers.
    const Box below{main->box.x, main->box.y + 110, main->box.w, main->box.h - 110};
    Box page;
    XSession::WaitUntil(
        [&] {
          page = WhiteBox(x().GrabSettled(below), below);
          return page.w > 100 && page.h > 100;
        },
        20000);
    Step(step);
    return page;
  }

  // The page: the white pixels of the area whose two neighbours on every side are white too
  // (the frames' one-pixel white edge lines drop out), as one box, grown back by those two.
  static Box WhiteBox(const Shot& shot, const Box& area) {
    const auto white = [&](int x, int y) { return shot.At(x, y) == kWhite; };
    int left = area.Right(), top = area.Bottom(), right = area.x, bottom = area.y;
    for (int y = area.y + 2; y < area.Bottom() - 2; ++y)
      for (int x = area.x + 2; x < area.Right() - 2; ++x) {
        bool inside = true;
        for (int d = -2; d <= 2 && inside; ++d) inside = white(x + d, y) && white(x, y + d);
        if (!inside) continue;
        left = std::min(left, x);
        right = std::max(right, x + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
    if (right <= left || bottom <= top) return {};
    return {left - 2, top - 2, right - left + 4, bottom - top + 4};
  }

  static bool SameBox(const Box& a, const Box& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

  // The parameter table in the page's bottom 15 mm: the pixel spans [first, end) of its grid
  // lines, the dark rows and columns that cross the whole table.
  struct Grid {
    std::vector<std::pair<int, int>> rows, columns;
    // Inside cell (column c, row r), the lines left out.
    Box Cell(std::size_t c, std::size_t r) const {
      return {columns[c].second, rows[r].second, columns[c + 1].first - columns[c].second,
              rows[r + 1].first - rows[r].second};
    }
  };
  static std::vector<std::pair<int, int>> Spans(const std::vector<bool>& line, int origin) {
    std::vector<std::pair<int, int>> spans;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (!line[i]) continue;
      const int at = origin + static_cast<int>(i);
      if (!spans.empty() && spans.back().second == at) ++spans.back().second;
      else spans.push_back({at, at + 1});
    }
    return spans;
  }
  static Grid FindTable(const Shot& shot, const Box& page) {
    const int band = page.h * 15 / 210;
    // The table's bottom and right lines can lie on the page's edge, a pixel past the white.
    const Box area{page.x + 3, page.Bottom() - band - 4, page.w - 6, band + 6};
    std::vector<bool> across;
    for (int y = area.y; y < area.Bottom(); ++y) across.push_back(shot.CountDark({area.x, y, area.w, 1}) * 10 > area.w * 9);
    Grid grid;
    grid.rows = Spans(across, area.y);
    if (grid.rows.size() < 2) return grid;
    const int top = grid.rows.front().second, height = grid.rows.back().first - top;
    std::vector<bool> down;
    for (int x = page.x - 2; x < page.Right() + 2; ++x) down.push_back(height > 0 && shot.CountDark({x, top, 1, height}) == height);
    grid.columns = Spans(down, page.x - 2);
    return grid;
  }

  bool program_ok_ = false;
};

TEST_F(FirstStartTest, AnNmrPageShowsAParameterTableWithValues) {
  // The user's only change: a zoom at which the whole page fits the document window.
  Profile({"--section", "\\rodizora", "set-int", "Document Zoom", "25"});
  const Box page = OpenPage("first start");
  ASSERT_GT(page.w, 100) << "no page on the screen";
  // A whole landscape page: the table is its bottom 15 mm, two rows, names over values.
  ASSERT_NEAR(page.w * 210.0 / page.h, 297.0, 12.0);
  const int band = page.h * 15 / 210;
  const Box table{page.x + 2, page.Bottom() - band, page.w - 4, band - 1};
  const Box values{table.x, table.y + band / 2 + 1, table.w, band / 2 - 2};
  const Shot first = LastShot();
  const std::int64_t tableInk = first.CountDark(table);
  EXPECT_GT(tableInk, 2 * table.w) << "no parameter table";
  // Its value row holds more than its seven column lines: the nucleus, frequency, scans, solvent
  // and date of the experiment (in texts a quarter of their size, grey more than black).
  EXPECT_GT(first.CountDark(values, 191), 7 * values.h + 20) << "the table shows no values";

  // Without the shipped fields the table is the empty one a fresh profile had.
  program()->Stop();
  Profile({"--section", "\\karvel\\NMR", "set-int", "Columns", "0"});
  const Box again = OpenPage("no table fields");
  ASSERT_TRUE(SameBox(again, page));
  EXPECT_LT(LastShot().CountDark(table) * 4, tableInk) << "the table did not come from the shipped fields";
}

TEST_F(FirstStartTest, ThePagesTableKeepsEachTextInItsCellAtEveryZoomAndShowsTheExperimentsTitle) {
  // The page is drawn from the items' pictures scaled to the zoom: the table's texts shrink with
  // its cells as the whole page does.
  for (const char* zoom : {"25", "50", "100"}) {
    SCOPED_TRACE(std::string("zoom ") + zoom);
    Profile({"--section", "\\rodizora", "set-int", "Document Zoom", zoom});
    const Box page = OpenPage(std::string("zoom ") + zoom);
    ASSERT_GT(page.w, 100) << "no page on the screen";
    const Shot shot = LastShot();
    const Grid grid = FindTable(shot, page);
    // Two rows of six cells: names over values.
    ASSERT_EQ(grid.rows.size(), 3u);
    ASSERT_EQ(grid.columns.size(), 7u);
    const auto ink = [](Rgb c) { return std::min({Red(c), Green(c), Blue(c)}) < 192; };
    for (std::size_t r = 0; r < 2; ++r)
      for (std::size_t c = 0; c < 6; ++c) {
        SCOPED_TRACE("cell " + std::to_string(c) + ", " + std::to_string(r));
        const Box cell = grid.Cell(c, r);
        ASSERT_GT(cell.w, 2);
        ASSERT_GT(cell.h, 2);
        EXPECT_GT(shot.Count(cell, ink), 0) << "no text in the cell";
        // The text keeps off the cell's lines: nothing of it in the pixels along them.
        EXPECT_EQ(shot.Count(cell, ink) - shot.Count(cell.Inset(1), ink), 0) << "the text runs into the lines";
      }
    // The title is the experiment's ("1H BBI", a thirtieth of the page's width), not the
    // parameter file's own ("Parameter file, XWIN-NMR Version 3.5", a fifth of it).
    const Box title = grid.Cell(0, 1);
    int left = title.Right(), right = title.x;
    for (int x = title.x; x < title.Right(); ++x)
      if (shot.Count({x, title.y, 1, title.h}, ink) > 0) left = std::min(left, x), right = std::max(right, x + 1);
    EXPECT_LT((right - left) * 12, page.w) << "the title is " << right - left << " pixels wide";
    program()->Stop();
  }
}

TEST_F(FirstStartTest, AnNmrPageShowsNoMassPeakDigits) {
  // Full size, the view on the tallest peak (the methyl singlet at 2.29 ppm) near the left, where
  // its top shows.
  const std::string view = ";LBOUND=2.6;RBOUND=1.0";
  const Box page = OpenPage("first start", view);
  ASSERT_GT(page.w, 100) << "no page on the screen";
  const Shot first = LastShot();
  // The plot, above the table: where a mass-peak label would stand (the two pages differ in
  // nothing else).
  const Box trace{page.x, page.y, page.w, page.h * 190 / 210};
  ASSERT_GT(first.CountDark(trace), 50) << "no trace in view";
  // Turned on, mass-peak labels show there: the first start's page had none.
  program()->Stop();
  Profile({"--section", "\\nelvar\\NMR\\Properties 0", "set-int", "MPeaksEnable", "1"});
  ASSERT_TRUE(SameBox(OpenPage("mass labels turned on", view), page));
  EXPECT_GT(LastShot().CountDifferent(first, trace), 20) << "the first start showed mass-peak digits already";
}

}  // namespace
}  // namespace e2e
