#pragma once
// The shared set-up of the file dialog tests: an application with the dialogs' resources, a
// sandbox registry with the module's default section, a stand-in spectrum control registered
// under CLSID_Spc that identifies files through the real converters, and the one builder of
// sample folders.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "foundation/filedlg/filedlgex.h"
#include "platform/ui/responder.h"

namespace filedlg_test {

// What the stand-in controls did, for the tests to check.
struct ControlCounts {
  std::atomic<int> live{0};
  std::atomic<int> created{0};
  std::atomic<int> createdOnUiThread{0};
  std::atomic<int> identified{0};  // GetFileFormats calls
  std::atomic<int> delayMs{0};     // each GetFileFormats waits this long first
};
ControlCounts& Controls();

class FileDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
  // A fresh folder of the scratch area.
  std::string Scratch(const std::string& name);
  // Pumps until the dialog's listing is complete (false on time-out).
  static bool WaitForListing(CExplorFrame& dialog);
  // Answers the dialog's modal run with step.
  ui::ScriptedResponder responder{true};

 private:
  plat::DWord cookie_ = 0;
};

// The sample folder the dialogs list: spectrum files of several formats, subfolders and files
// no converter recognises. Files are written as other programs write them (JCAMP-DX text) or
// by the product's own writer (the spectrum folder).
struct SampleFolder {
  std::string dir;
  // Recognised entries, sorted as the file list sorts them, with what identification gives.
  struct Entry {
    std::string name, type, format;
    std::uint64_t size;
  };
  std::vector<Entry> recognised;
  std::vector<std::string> folders;  // every subfolder, sorted
};
// With big set, one recognised file is a sparse file of more than 4 GiB.
SampleFolder MakeSampleFolder(const std::string& dir, bool big = false);
// count files that all identify, named "f0000.dx" ...
void MakeManyFiles(const std::string& dir, int count);

// The file list's rows as "name|type|format|size" and the folder list's names, in list order.
std::vector<std::string> FileRows(CExplorFrame& dialog);
std::vector<std::string> FolderRows(CExplorFrame& dialog);
// A double click on a row of a list, as the user gives it.
void DoubleClickRow(ui::ListCtrl& list, int row);
// A click on a push button of a bar.
void Press(ui::Wnd& bar, ui::UINT id);

}  // namespace filedlg_test
