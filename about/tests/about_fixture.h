#pragma once
// The shared set-up of the about library's tests: one application object, a clean window layer
// per test with a check that no window outlives it, the user block's settings, and the fake
// spectrum modules registered and unregistered through their own module.
#include <gtest/gtest.h>

#include <string>

#include "about/resources.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog.h"
#include "platform/ui/responder.h"

namespace abouttest {

using namespace ui;

// The profile section of the about code linked into this test (the test program's own).
constexpr char16_t kTestSection[] = u"about_tests";
// The section of libabout.so.
constexpr char16_t kLibrarySection[] = u"about";

// "UserName" and "CompanyName" of a section of the product key; a null text removes the value.
void WriteUser(const char16_t* section, const char16_t* userName, const char16_t* companyName);

// The fake spectrum modules' classes (CLSID_Spc and CLSID_SpcModule2) in the registry while it lives.
class FakeModules {
 public:
  FakeModules();
  ~FakeModules();
  // Leaves the second module unregistered, so it cannot be created.
  void DropSecond();
};

// What the fake modules' entries read as, after "Module info:\n ".
std::string FakeControlEntry();
std::string FakeSecondEntry();

// Runs dialog modally; step sees it live and answers its end code. Answers DoModal's result.
int RunDialog(Dialog& dialog, const std::function<int(Dialog&)>& step);

// The colour of a palette entry of the library's pictures.
COLORREF PictureRgb(int index);

// An item's window rectangle in its dialog's client coordinates.
Rect ItemRect(const Dialog& dialog, UINT id);

class AboutTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
};

}  // namespace abouttest
