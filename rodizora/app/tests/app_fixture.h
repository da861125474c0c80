#pragma once
// The shared set-up of the program's tests: its resources, a sandboxed install directory (with or
// without the tests' stand-in about library), the program started through CSaApp::InitInstance on
// a command line, and everything torn down after the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rodizora/app/mainframe.h"
#include "rodizora/app/saapp.h"
#include "rodizora/view/saview.h"

namespace apptest {

// Registers the real spectrum control (libnelvar.so) into the sandbox as the set-up does; false
// when the module serves no spectrum control yet.
bool RegisterNelvar();
// Registers the auxiliary controls (libkarvel.so) into the sandbox likewise; false when the
// module could not be loaded or refused.
bool RegisterKarvel();
// Takes them out again (pages made later get no parameters table unasked).
bool UnregisterKarvel();

// Maximises the view's window, paints it and counts the pixels inside an item's rectangle (less
// a 2-pixel border) that are not white.
std::int64_t DrawnPixels(CSaView* view, const CSaItem* item);

// A folder of the test's scratch area (made empty).
std::string ScratchDir(const std::string& name);
// Writes a file of the given text; answers its path.
std::string WriteFile(const std::string& dir, const std::string& name, const std::string& text);

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The install directory the profile start-up finds: the stand-in about library's folder, or
  // an empty one.
  void UseAboutLibrary(bool present);
  // What the stand-in about library was asked since the last call (its log is then cleared).
  std::string AboutCalls();
  // Starts the program on a command line; answers InitInstance's result.
  bool Start(const std::vector<std::string>& args = {});
  CMainFrame* MainFrame() const;
  // Every open document, of every template.
  std::vector<ui::Document*> Documents() const;

  std::unique_ptr<CSaApp> app;
};

}  // namespace apptest
