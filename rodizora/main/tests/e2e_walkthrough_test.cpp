// A new user's walk through the program: the dialogs of the menus take the keyboard as they come
// up, without a click into them first; the window menu's arrangements leave no stale strip; the
// exit's "Save changes?" saves as the Save command does and leaves the spectrum file alone; undo
// at another zoom draws the page at the zoom shown; Print Setup says it sets up and prints nothing.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <optional>
#include <string>

#include "rodizora/main/tests/e2e.h"
#include "rodizora/main/tests/e2e_waits.h"

namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace

namespace e2e {
namespace {

constexpr char kInsertObject[] = "Insert Object";
constexpr char kSettings[] = "Document settings";
constexpr Rgb kPageGround = 0x787878;  // the page layout's grey around the page

class WalkthroughTest : public E2eTest {
 protected:
  // Opens the menu bar's item at dx of the main window and clicks its entry at (ix, iy); false when
  // the menu did not open. A click the program was too busy to take is given again.
  bool FromMenuCommand(const XWindow& main, int dx, int ix, int iy) {
    WaitForStartLogoGone(x());
    x().GrabSettled(x().Screen());
    for (int attempt = 0; attempt < 3; ++attempt) {
      x().Click(main.box.x + dx, main.box.y + 14);
      const Box item{main.box.x + ix - 30, main.box.y + iy - 8, 80, 16};
      if (!WaitForInk(x(), item)) {
        x().Key("Escape");
        continue;
      }
      x().Click(main.box.x + ix, main.box.y + iy);
      return true;
    }
    return false;
  }

  // The same, answering the window whose title holds title once it is up.
  std::optional<XWindow> FromMenu(const XWindow& main, int dx, int ix, int iy, const char* title) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!FromMenuCommand(main, dx, ix, iy)) return std::nullopt;
      if (auto w = x().WaitForWindow(title, 5000)) {
        x().GrabSettled(w->box);
        return w;
      }
    }
    return std::nullopt;
  }

  // The message box the program asks with: its caption is the program's name alone.
  std::optional<XWindow> WaitForQuestion() const {
    std::optional<XWindow> found;
    XSession::WaitUntil([&] {
      for (const XWindow& w : x().Windows())
        if (w.viewable && w.title == "KEDRUS Rodizora") found = w;
      return found.has_value();
    }, 10000);
    return found;
  }
};

// The Insert Object list has the keyboard at once: the arrow keys move its choice.
TEST_F(WalkthroughTest, TheInsertObjectListTakesTheArrowKeysAtOnce) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  const auto dialog = FromMenu(*main, 60, 110, 215, kInsertObject);
  ASSERT_TRUE(dialog) << "Edit > Insert Object shows no dialog";
  // Rows of the class list (knob, spectrum control, scroll strip, structure, table).
  auto row = [&](int i) { return Box{dialog->box.x + 20, dialog->box.y + 30 + i * 13, 150, 8}; };
  const Shot& shown = Step("insert object");
  EXPECT_NE(shown.Dominant(row(0)), 0xFFFFFFu) << "the first class is not chosen";
  x().Key("Down");
  x().Key("Down");
  const bool moved = XSession::WaitUntil([&] { return x().Grab(row(2)).Dominant(row(2)) != 0xFFFFFF; }, 3000);
  const Shot& after = Step("two rows down");
  EXPECT_TRUE(moved) << "Down does not move the choice: the list has no keyboard focus";
  EXPECT_EQ(after.Dominant(row(0)), 0xFFFFFFu);
  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow(kInsertObject)) << "Escape leaves the dialog up";
  Step("after escape");
  EXPECT_EQ(MainWindow()->title, "ethyl_acetate_fid.dx - KEDRUS Rodizora");
}

// The settings sheet's first field has the keyboard with its text chosen: typing replaces it.
TEST_F(WalkthroughTest, TheSettingsSheetsFirstFieldTakesTypingAtOnce) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  const auto sheet = FromMenu(*main, 94, 130, 127, kSettings);
  ASSERT_TRUE(sheet) << "View > Settings shows no sheet";
  // The "X" field of the first page ("10.0"), inside its border: its ink is the text, or the
  // selection's colour behind it.
  const Box field{sheet->box.x + 75, sheet->box.y + 65, 76, 14};
  auto ink = [&](const Shot& shot) {
    return shot.Count(field, [](Rgb c) { return std::min({Red(c), Green(c), Blue(c)}) < 200; });
  };
  const Shot& shown = Step("settings");
  const auto before = ink(shown);
  ASSERT_GT(before, 15) << "the first field shows no text";
  x().Type("7");
  // One digit where there were four (or the selection's block): less ink. Typing that went
  // nowhere leaves the field as it was, typing after the text adds to it.
  const bool replaced = XSession::WaitUntil([&] {
    const auto now = ink(x().Grab(field));
    return now > 0 && now < before;
  }, 3000);
  const Shot& typed = Step("typed 7");
  EXPECT_TRUE(replaced) << "typing does not replace the field's text (" << ink(typed) << " pixels of ink, " << before
                        << " before)";
  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow(kSettings)) << "Escape leaves the sheet up";
  Step("after escape");
}

// Cascade makes the document window small enough for scroll bars; Tile gives it the whole area
// again and the bars go: where they were, the view's grey ground is drawn, not a blank strip.
TEST_F(WalkthroughTest, TileAfterCascadeDrawsWhereTheScrollBarsWere) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  // Window > Cascade, then Window > Tile (the menu's third and fourth entries).
  ASSERT_TRUE(FromMenuCommand(*main, 136, 180, 79)) << "Window > Cascade cannot be chosen";
  const Shot& cascaded = Step("cascaded");
  ASSERT_TRUE(FromMenuCommand(*main, 136, 180, 101)) << "Window > Tile cannot be chosen";
  const Shot& tiled = Step("tiled");
  EXPECT_GT(tiled.CountDifferent(cascaded, main->box), 10000) << "Tile changed nothing";
  // The strip along the document window's bottom, below the page: all ground.
  const Box strip{main->box.x + 150, main->box.Bottom() - 60, main->box.w - 220, 30};
  EXPECT_GT(tiled.CountColour(strip, kPageGround), strip.w * strip.h * 9 / 10);
  EXPECT_LT(tiled.CountColour(strip, 0xFFFFFF), strip.w) << "a blank strip stays where the scroll bar was";
}

// A changed page opened from a spectrum file, closed: Yes to "Save changes?" asks for a name as
// Save does (it never writes the page over the instrument's file in another format), and
// cancelling that keeps the program; No then ends it. The file is as it was throughout.
TEST_F(WalkthroughTest, YesToSaveChangesAtTheEndAsksForANameAndTheSpectrumFileStays) {
  const std::string file = SampleCopy("changed.dx");
  const std::string original = Bytes(file);
  ASSERT_FALSE(original.empty());
  ASSERT_TRUE(StartProgram({file}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  // A copy of the spectrum pasted: the page is changed.
  x().Click(main->box.CenterX(), main->box.CenterY());
  x().Key("ctrl+c");
  x().Key("ctrl+v");
  Step("changed");
  x().RequestClose(*main);
  auto question = WaitForQuestion();
  ASSERT_TRUE(question) << "closing a changed page asks nothing";
  Step("save changes");
  x().Key("Return");  // Yes, the default
  const auto save = x().WaitForWindow("Save", 10000);
  EXPECT_TRUE(save) << "Yes saved without asking for a name";
  Step("save dialog");
  if (save) {
    x().Key("Escape");
    EXPECT_TRUE(x().WaitForNoWindow("Save"));
  }
  XSession::Pause(500);
  Step("save cancelled");
  EXPECT_TRUE(program()->Running()) << "a cancelled save let the program end";
  EXPECT_TRUE(std::filesystem::is_regular_file(file)) << "the spectrum file was replaced by a folder";
  EXPECT_EQ(Bytes(file), original) << "the spectrum file was written over";

  x().RequestClose(*main);
  question = WaitForQuestion();
  ASSERT_TRUE(question);
  x().GrabSettled(question->box);
  // No: the middle of the box's three buttons, along its bottom.
  x().Click(question->box.CenterX() - 3, question->box.Bottom() - 24);
  EXPECT_EQ(WaitForProgramEnd(10000), 0) << "No does not end the program";
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_EQ(Bytes(file), original);
}

// At 50 % a processing step of the active spectrum is undone: the page and its items stay at the
// zoom the toolbar shows (the items came back at the zoom the page was opened at, drawn twice as
// large as the page, across the ground beside it).
TEST_F(WalkthroughTest, UndoAtAnotherZoomDrawsTheItemsOnThePage) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  const Box& w = main->box;
  // The zoom combo's list, its "50%" entry.
  WaitForStartLogoGone(x());
  x().Click(w.x + 292, w.y + 44);
  ASSERT_TRUE(WaitForInk(x(), {w.x + 110, w.y + 126, 60, 12})) << "the zoom combo shows no list";
  x().Click(w.x + 177, w.y + 132);
  // Beside the page at 50 %: the ground, nothing drawn on it.
  const Box beside{w.x + 700, w.y + 140, 600, 600};
  ASSERT_TRUE(XSession::WaitUntil([&] { return x().Grab(beside).CountDark(beside) < 50; }, 5000));
  Step("at 50 %");
  // The spectrum active in place, Process > Exponential Mult., then back to the page.
  x().DoubleClick(w.x + 300, w.y + 250);
  ASSERT_TRUE(FromMenuCommand(*main, 302, 350, 459)) << "the spectrum's Process menu does not open";
  Step("processed");
  x().Click(w.x + 1300, w.y + 900);
  Step("page again");
  x().Key("ctrl+z");
  XSession::Pause(500);
  const Shot& undone = Step("undone");
  EXPECT_LT(undone.CountDark(beside), 50) << "after Undo the items are drawn off the page, at another zoom";
  EXPECT_GT(undone.CountDark({w.x + 60, w.y + 140, 560, 380}), 1000) << "after Undo the page shows no spectrum";
}

// File > Print Setup asks under its own title, not the print dialog's "Print", and closes on
// Escape having printed nothing.
TEST_F(WalkthroughTest, PrintSetupAsksAsPrintSetupAndClosesOnEscape) {
  ASSERT_TRUE(StartProgram());
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  const auto setup = FromMenu(*main, 31, 85, 79, "Print");
  ASSERT_TRUE(setup) << "File > Print Setup shows no dialog";
  Step("print setup");
  EXPECT_EQ(setup->title, "Print Setup");
  EXPECT_TRUE(main->box.Contains(setup->box)) << "the dialog is not over the main window";
  x().Key("Escape");
  EXPECT_TRUE(x().WaitForNoWindow("Print")) << "Escape leaves the dialog up";
  Step("after escape");
  EXPECT_FALSE(std::filesystem::exists(SandboxDir() + "/home/print.pdf")) << "setting up printed";
}

}  // namespace
}  // namespace e2e
