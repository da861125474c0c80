// The auxiliary controls' property pages, reached as a person reaches them: a control inserted
// through Edit > Insert Object, its pages opened by a right click on it.
#include <algorithm>
#include <optional>
#include <string>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace e2e {
namespace {

class PagesTest : public E2eTest {
 protected:
  // Edit > Insert Object, the class's row chosen (rows in the list's order: knob, spectrum
  // control, scroll strip, structure, table) and Return. Empty on success, else what failed.
  std::string Insert(const XWindow& main, int row) {
    WaitForStartLogoGone(x());
    before_ = x().GrabSettled(x().Screen());
    std::optional<XWindow> dialog;
    // A click the program was too busy to take is given again.
    for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
      x().Click(main.box.x + 60, main.box.y + 14);  // "Edit"
      const Box item{main.box.x + 70, main.box.y + 206, 90, 18};
      if (!WaitForInk(x(), item)) {
        x().Key("Escape");
        continue;
      }
      x().Click(main.box.x + 110, main.box.y + 215);  // "Insert Object"
      dialog = x().WaitForWindow("Insert Object", 5000);
    }
    if (!dialog) return "Edit > Insert Object shows no dialog";
    Step("insert object");
    // The row is chosen once it shows the selection's colour instead of the list's white.
    const Box chosen{dialog->box.x + 20, dialog->box.y + 30 + row * 13, 150, 8};
    bool selected = false;
    for (int attempt = 0; attempt < 3 && !selected; ++attempt) {
      x().Click(dialog->box.x + 80, dialog->box.y + 34 + row * 13);
      selected = XSession::WaitUntil([&] { return x().Grab(chosen).Dominant(chosen) != 0xFFFFFF; }, 2000);
    }
    if (!selected) return "a click on the class's row does not choose it";
    // Return takes the choice; a key the dialog did not take yet is given again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      x().Key("Return");
      if (x().WaitForNoWindow("Insert Object", 3000)) return {};
    }
    return "Return leaves the Insert Object dialog up";
  }

  // Where the screen changed inside area since the last Insert: the new object and its frame.
  Box Changed(const Box& area) const {
    const Shot now = x().GrabSettled(x().Screen());
    int left = area.Right(), top = area.Bottom(), right = area.x, bottom = area.y;
    for (int y = area.y; y < area.Bottom(); ++y)
      for (int x = area.x; x < area.Right(); ++x)
        if (now.At(x, y) != before_.At(x, y)) {
          left = std::min(left, x);
          right = std::max(right, x + 1);
          top = std::min(top, y);
          bottom = std::max(bottom, y + 1);
        }
    return right > left ? Box{left, top, right - left, bottom - top} : Box{};
  }

  Shot before_;
};

TEST_F(PagesTest, InsertedTableAndStructureShowTheirPagesWithTheirFields) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  struct Case {
    int row;
    const char* name;  // the class's user type name: the sheet's caption
  };
  for (const Case& c : {Case{4, "Orvane Table Control"}, Case{3, "Orvane Structure Control"}}) {
    SCOPED_TRACE(c.name);
    const std::string failed = Insert(*main, c.row);
    ASSERT_TRUE(failed.empty()) << failed;
    Step(std::string(c.name) + " inserted");
    // The new object is active in place where the page changed: a right click opens its pages.
    const Box object = Changed({main->box.x + 40, main->box.y + 130, main->box.w - 40, main->box.h - 160});
    ASSERT_GT(object.w, 0) << "the inserted object is not on the screen";
    x().Click(object.CenterX(), object.CenterY(), 3);
    const auto sheet = x().WaitForWindow(c.name, 10000);
    ASSERT_TRUE(sheet) << "a right click on the object shows no property pages";
    const Shot& shot = Step(std::string(c.name) + " pages");
    // Below the tabs the page shows its fields: labels, edits, buttons.
    const Box page{sheet->box.x + 10, sheet->box.y + 50, sheet->box.w - 20, sheet->box.h - 100};
    EXPECT_GT(shot.CountDark(page), 400) << "the first page shows no fields";
    // The second tab ("Cells", "Fields") shows its own.
    const Shot first = shot;
    x().Click(sheet->box.x + 128, sheet->box.y + 19);
    const Shot& second = Step(std::string(c.name) + " second page");
    EXPECT_GT(second.CountDark(page), 400) << "the second page shows no fields";
    EXPECT_GT(second.CountDifferent(first, page), 1000) << "the second tab shows the first page";
    x().Key("Escape");
    EXPECT_TRUE(x().WaitForNoWindow(c.name)) << "Escape leaves the pages up";
  }
}

}  // namespace
}  // namespace e2e
