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
  // and date of the experiment.
  EXPECT_GT(first.CountDark(values), 7 * values.h + 20) << "the table shows no values";

  // Without the shipped fields the table is the empty one a fresh profile had.
  program()->Stop();
  Profile({"--section", "\\karvel\\NMR", "set-int", "Columns", "0"});
  const Box again = OpenPage("no table fields");
  ASSERT_TRUE(SameBox(again, page));
  EXPECT_LT(LastShot().CountDark(table) * 4, tableInk) << "the table did not come from the shipped fields";
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
