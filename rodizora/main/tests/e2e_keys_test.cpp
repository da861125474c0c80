// The document's keys from the first document window on: copy and paste an item, and save a
// changed document, which asks for a name and writes a workspace that opens again.
#include <filesystem>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

class KeysTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    sample_ = SandboxDir() + "/home/ethyl_acetate_fid.dx";
    std::filesystem::copy_file(Sample(), sample_);
  }

  // The page below the bars.
  Box PageArea(const XWindow& main) const { return {main.box.x + 8, main.box.y + 120, main.box.w - 16, main.box.h - 160}; }

  // Selects the spectrum item (a click on it), copies it and pastes the copy: the page changes.
  void CopyAndPaste(const XWindow& main) {
    const Box page = PageArea(main);
    x().Click(page.CenterX(), page.CenterY());
    x().Key("ctrl+c");
    x().Key("ctrl+v");
  }

  std::string sample_;
};

TEST_F(KeysTest, CopyAndPasteWorkInTheFirstDocumentWindow) {
  ASSERT_TRUE(StartProgram({sample_}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  const Shot before = Step("opened");
  CopyAndPaste(*main);
  const Shot& after = Step("copied and pasted");
  EXPECT_GT(after.CountDifferent(before, PageArea(*main)), 20000) << "Ctrl+C, Ctrl+V gave no second item";
}

TEST_F(KeysTest, SavingAChangedDocumentAsksForANameAndWritesAWorkspaceThatOpensAgain) {
  ASSERT_TRUE(StartProgram({sample_}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  CopyAndPaste(*main);
  const Shot changed = Step("changed");
  // Its type is the workspace's.
  const auto again = SaveAsWorkspaceAndReopen("workspace1");
  ASSERT_TRUE(again);
  EXPECT_NE(again->title.find("workspace1"), std::string::npos) << again->title;
  const Shot& reopened = Step("reopened");
  // Both items come back where they were.
  const Box page = PageArea(*again);
  EXPECT_LT(reopened.CountDifferent(changed, page), page.w * page.h / 20) << "the reopened page differs";
  EXPECT_GT(reopened.CountDark(page), changed.CountDark(page) / 2);
}

}  // namespace
}  // namespace e2e
