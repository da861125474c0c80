#include "rodizora/dialogs/tests/dialogs_fixture.h"

#include <cstdlib>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/registry/registry_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"
#include "rodizora/dialogs/dialogresources.h"

void DialogTest::SetUpTestSuite() {
  static ui::App app("KEDRUS Rodizora");
  static const ui::ResourceSet resources = [] {
    ui::ResourceSet set;
    set.moduleName = "rodizora";
    set.dialogs = DialogTemplates();
    set.strings = DialogStrings();
    return set;
  }();
  ui::SetAppResources(&resources);
}

void DialogTest::SetUp() {
  const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  m_scratch = plat::joinPath(root && *root ? root : "/tmp",
                             std::string(test->test_suite_name()) + "." + test->name());
  ASSERT_TRUE(plat::removeTree(m_scratch));
  ASSERT_TRUE(plat::makeDirectories(m_scratch));
  ::setenv("KEDRUS_REGISTRY_DIR", plat::joinPath(m_scratch, "registry").c_str(), 1);
  plat::reg::resetForTesting();
  SetDefaultProfRoot(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
  SetDefaultProfSection(u"rodizora");
  ui::testing::Reset();
}

void DialogTest::TearDown() {
  ui::App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty()) << ui::testing::LiveWindows().size() << " window(s) left over";
  ui::testing::Reset();
  plat::reg::resetForTesting();
}

namespace {

struct Section {
  explicit Section(const char16_t* subsection) {
    if (subsection) desc.AddSubSection(subsection);
  }
  COrvProfDesc desc;
};

}  // namespace

int DialogTest::StoredInt(const char16_t* name, const char16_t* subsection) {
  Section s(subsection);
  int value = -1;
  OrvGetProfInt(name, &value, -1, &s.desc);
  return value;
}

std::uint32_t DialogTest::StoredDWord(const char16_t* name) {
  Section s(nullptr);
  std::uint32_t value = 0xFFFFFFFF;
  OrvGetProfDWord(name, &value, 0xFFFFFFFF, &s.desc);
  return value;
}

std::string DialogTest::StoredString(const char16_t* name) {
  Section s(nullptr);
  plat::String16 value;
  OrvGetProfCString(name, &value, u"-", &s.desc);
  return plat::toUtf8(value);
}

void DialogTest::Store(const char16_t* name, int value, const char16_t* subsection) {
  Section s(subsection);
  ASSERT_EQ(OrvSetProfInt(name, value, &s.desc), PROF_OK);
}

void DialogTest::ChooseComboEntry(ui::Wnd* dialog, ui::UINT id, int index) {
  auto* combo = static_cast<ui::ComboBox*>(dialog->GetDlgItem(id));
  ASSERT_NE(combo, nullptr);
  combo->SetCurSel(index);
  dialog->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(static_cast<ui::WORD>(id), ui::CBN_SELCHANGE),
                      ui::HandleToParam(combo->m_hWnd));
}

void DialogTest::TypeInto(ui::Wnd* dialog, ui::UINT id, std::string_view text) {
  auto* edit = static_cast<ui::Edit*>(dialog->GetDlgItem(id));
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  edit->SetSel(0, -1);
  ui::input::Type(text);
}
