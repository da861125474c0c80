// Starting the program as a person does.
#include <filesystem>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

TEST_F(E2eTest, StartsOnASampleAndDrawsItsPage) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  EXPECT_NE(main->title.find("ethyl_acetate_fid.dx"), std::string::npos) << main->title;
  const Shot& shot = Step("started");
  // The page is drawn: the trace and the axes give dark pixels inside the main window.
  EXPECT_GT(shot.CountDark(main->box.Inset(4)), 500);
  // The spectrum control looked for its macros in its INI file, which is not there: looking
  // made no file.
  program()->Stop();
  EXPECT_TRUE(std::filesystem::is_empty(SandboxDir() + "/ini"));
}

TEST_F(E2eTest, StartsWithoutADocument) {
  ASSERT_TRUE(StartProgram());
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(main->title, "KEDRUS Rodizora");
  Step("started");
}

}  // namespace
}  // namespace e2e
