#pragma once
// What every dialog test stands on: the application object with the dialogs' resources, a
// sandbox registry of the test's own under the product key, a scratch folder, a clean modal log,
// and no window left behind.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/types.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The scratch folder of this test (made empty).
  const std::string& Scratch() const { return m_scratch; }

  // Values of the program's default section (or of a subsection of it), read with their own
  // descriptors: -1 / "-" when absent.
  static int StoredInt(const char16_t* name, const char16_t* subsection = nullptr);
  static std::uint32_t StoredDWord(const char16_t* name);
  static std::string StoredString(const char16_t* name);
  static void Store(const char16_t* name, int value, const char16_t* subsection = nullptr);

  // Items of a live dialog.
  static std::string Text(ui::Wnd* dialog, ui::UINT id) { return dialog->GetDlgItemText(id); }
  static void SetText(ui::Wnd* dialog, ui::UINT id, const std::string& text) { dialog->SetDlgItemText(id, text); }
  // Typed into an edit, as the user types, replacing its text.
  static void TypeInto(ui::Wnd* dialog, ui::UINT id, std::string_view text);
  // A combo box selection chosen as the user does (CBN_SELCHANGE to the dialog).
  static void ChooseComboEntry(ui::Wnd* dialog, ui::UINT id, int index);

 private:
  std::string m_scratch;
};
