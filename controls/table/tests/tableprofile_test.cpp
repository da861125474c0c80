// The table's profile form: the workspace "table" INI file and the defaults of a spectrum kind.
#include <gtest/gtest.h>

#include "controls/table/tests/tabletestutil.h"
#include "foundation/profdesc.h"
#include "platform/base/numtext.h"
#include "profile/profile.h"

namespace karvel::test {
namespace {

class TableProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = ScratchDir(std::string("profile-") + info->name());
    path_ = plat::toUtf16(dir_);
  }
  // A table attached to an NMR spectrum (which loads the NMR defaults: none).
  static std::unique_ptr<CTableModel> Attached() {
    auto model = std::make_unique<CTableModel>();
    model->AttachSpectrum(std::make_shared<FakeSpectrum>());
    return model;
  }
  // The INI section of the NMR table of item index.
  std::unique_ptr<COrvProfDesc> Section(std::uint32_t index) const {
    auto desc = std::make_unique<COrvProfDesc>(plat::toUtf16(plat::joinPath(dir_, "table")).c_str(),
                                               (u"\\NMR_" + plat::formatInt16(index)).c_str());
    desc->SetIni(true);
    return desc;
  }

  std::string dir_;
  plat::String16 path_;
};

TEST_F(TableProfile, WorkspaceTablesRoundTripWithLongTexts) {
  auto model = Attached();
  ASSERT_TRUE(model->SetTableSize(2, 2));
  model->SetCellText(0, 0, plat::toUtf16(std::string(255, 'a')).c_str());
  model->SetCellText(1, 1, plat::toUtf16(std::string(65536, 'b')).c_str());
  model->SetCellText(0, 1, u"$SF$ MHz, \u00B9H");
  model->SetCellColor(1, 0, 0x00FFB400);
  gdi::LOGFONTA& font = *model->CellFont(1, 0);
  font.lfHeight = 14;
  font.lfWeight = 700;
  font.lfItalic = 1;
  font.lfWidth = 9;  // not carried by the font object's copy
  gdi::SetFaceName(font, "Courier New");
  ASSERT_TRUE(model->SaveTable(1, path_.c_str(), 3));
  EXPECT_TRUE(plat::isRegularFile(plat::joinPath(dir_, "table")));

  auto loaded = Attached();
  loaded->LoadTable(1, path_.c_str(), 3);
  EXPECT_EQ(loaded->Columns(), 2u);
  EXPECT_EQ(loaded->Rows(), 2u);
  EXPECT_EQ(Positions(*loaded), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
  EXPECT_EQ(CellText(*loaded, 0, 0), std::string(255, 'a'));
  EXPECT_EQ(CellText(*loaded, 1, 1), std::string(65536, 'b'));
  EXPECT_EQ(CellText(*loaded, 0, 1), "$SF$ MHz, \u00B9H");
  gdi::COLORREF color = 0;
  loaded->GetCellColor(1, 0, &color);
  EXPECT_EQ(color, 0x00FFB400u);
  gdi::LOGFONTA expected = font;
  expected.lfWidth = 0;
  EXPECT_EQ(*loaded->CellFont(1, 0), expected);
  EXPECT_EQ(*loaded->CellFont(0, 0), DefaultControlFont());

  // Another item index is another section: nothing there.
  loaded->LoadTable(1, path_.c_str(), 4);
  EXPECT_TRUE(loaded->cells().empty());
}

TEST_F(TableProfile, LoadMakesExactlyTheStoredSizeAndRefusesOversizedOnes) {
  const auto desc = Section(0);
  ASSERT_EQ(OrvSetProfDWord(u"Columns", 2, desc.get()), PROF_OK);
  ASSERT_EQ(OrvSetProfDWord(u"Rows", 3, desc.get()), PROF_OK);
  auto model = Attached();
  model->SetTableSize(5, 5);
  model->LoadTable(1, path_.c_str(), 0);
  // Cells without a subsection: empty text, colour 0, the default font.
  EXPECT_EQ(model->cells().size(), 6u);
  EXPECT_EQ(CellText(*model, 1, 2), "");
  EXPECT_EQ(*model->CellFont(1, 2), DefaultControlFont());

  for (const auto& [columns, rows] : {std::pair{2000u, 1u}, {1u, 2000u}, {300u, 300u}}) {
    ASSERT_EQ(OrvSetProfDWord(u"Columns", columns, desc.get()), PROF_OK);
    ASSERT_EQ(OrvSetProfDWord(u"Rows", rows, desc.get()), PROF_OK);
    model->LoadTable(1, path_.c_str(), 0);
    EXPECT_EQ(model->Columns(), 0u);
    EXPECT_EQ(model->Rows(), 0u);
    EXPECT_TRUE(model->cells().empty());
  }
}

TEST_F(TableProfile, WithoutASpectrumKindNothingMoves) {
  CTableModel unattached;
  unattached.SetTableSize(1, 1);
  EXPECT_TRUE(unattached.SaveTable(1, path_.c_str(), 0));
  unattached.LoadTable(1, path_.c_str(), 0);
  EXPECT_EQ(unattached.cells().size(), 1u);
  EXPECT_FALSE(plat::fileExists(plat::joinPath(dir_, "table")));

  CTableModel silent;
  silent.AttachSpectrum(std::make_shared<FakeSpectrum>(u""));
  silent.SetTableSize(1, 1);
  EXPECT_TRUE(silent.SaveTable(1, path_.c_str(), 0));
  EXPECT_FALSE(plat::fileExists(plat::joinPath(dir_, "table")));
}

TEST_F(TableProfile, KindDefaultsComeBackWhenASpectrumOfTheKindIsAttached) {
  auto model = Attached();
  model->SetTableSize(1, 2);
  model->SetCellText(0, 1, u"$SF$");
  ASSERT_TRUE(model->SaveTable(0, nullptr, 0));
  auto next = Attached();
  EXPECT_EQ(CellText(*next, 0, 1), "$SF$");
  CTableModel other;
  other.AttachSpectrum(std::make_shared<FakeSpectrum>(u"MASS"));
  EXPECT_TRUE(other.cells().empty());
}

TEST_F(TableProfile, FailedWritesFailTheSave) {
  auto model = Attached();
  model->SetTableSize(1, 1);
  // An INI value cannot hold a line break.
  model->SetCellText(0, 0, u"two\nlines");
  EXPECT_FALSE(model->SaveTable(1, path_.c_str(), 0));
  // The folder is a file.
  model->SetCellText(0, 0, u"one line");
  const std::string file = plat::joinPath(dir_, "plain");
  ASSERT_TRUE(plat::writeFileAtomic(file, "x"));
  EXPECT_FALSE(model->SaveTable(1, plat::toUtf16(file).c_str(), 0));
}

}  // namespace
}  // namespace karvel::test
