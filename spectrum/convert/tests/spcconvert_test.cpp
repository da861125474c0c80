#include "spectrum/convert/spcconvert.h"

#include <gtest/gtest.h>

#include "test_files.h"

using namespace convert_test;

namespace {

struct ExpectedKind {
  const char16_t* name;
  std::uint32_t count;
};

std::string NameOf(const CSpcConvert& leaf) {
  std::string n;
  leaf.GetFormatName(n);
  return n;
}

// A fake format: a file whose first byte is its letter holds as many spectra as the digit after
// it says; Read fails for format 'F'.
class FakeKind : public CSpcKindConvert {
 public:
  explicit FakeKind(std::uint32_t format = 0) : CSpcKindConvert(format, Formats()) {}
  static const std::vector<SpcFormatInfo>& Formats();
};

class FakeLeaf : public FakeKind {
 public:
  explicit FakeLeaf(std::uint32_t format) : FakeKind(format) {}
  char Letter() const { return NameOf(*this)[0]; }
  bool Detect(COrvFile* f) override { return f->m_nSize >= 2 && f->Bytes()[0] == Letter(); }
  std::int32_t GetSpectrumCount(COrvFile* f) override {
    f->SetPosition(1);  // moves the position: the next detector must not care
    return Detect(f) ? f->Bytes()[1] - '0' : 0;
  }
  bool Read(std::string_view, CSpcData* data, std::int32_t index) override {
    if (Letter() == 'F') return false;
    std::size_t chosen = 0;
    if (!Choose({"first", "second"}, &chosen)) return false;
    data->strName = std::string(1, Letter()) + std::to_string(index) + "/" + std::to_string(chosen);
    data->nKind = 99;  // the loader replaces it
    return true;
  }
};

const std::vector<SpcFormatInfo>& FakeKind::Formats() {
  auto make = [](std::uint32_t i) -> std::unique_ptr<CSpcConvert> { return std::make_unique<FakeLeaf>(i); };
  static const std::vector<SpcFormatInfo> formats = {
      {"A", kSpcCapRead, "", "", make}, {"B", kSpcCapRead, "", "", make}, {"F", kSpcCapRead, "", "", make}};
  return formats;
}

const FakeKind kFakeOne, kFakeTwo;
const SpcKindRow kFakeTable[] = {{u"ONE", 0, &kFakeOne}, {u"TWO", 1, &kFakeTwo}};

}  // namespace

TEST(SpcKinds, TableRowsIdsAndFormatCounts) {
  const ExpectedKind expected[] = {{u"NMR", 16}, {u"MASS", 9}, {u"IR", 8}, {u"UV", 4},
                                   {u"CH", 3},   {u"TIC", 6},  {u"NMR 2D", 3}};
  const auto& table = SpcKindTable();
  for (std::int32_t row = 0; row < kSpcKindCount; ++row) {
    EXPECT_EQ(std::u16string(table[row].name), expected[row].name);
    EXPECT_EQ(table[row].id, row);
    EXPECT_EQ(table[row].kind->GetFormatCount(), expected[row].count);
    EXPECT_EQ(table[row].kind->GetCaps(), 0u);  // a kind object is no format
    EXPECT_EQ(table[row].kind->CreateFormat(static_cast<std::int32_t>(expected[row].count)), nullptr);
    EXPECT_EQ(table[row].kind->CreateFormat(-1), nullptr);
    const auto first = table[row].kind->CreateFormat(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(NameOf(*first), "KEDRUS");
    EXPECT_EQ(first->GetCaps(), kSpcCapReadWrite);
    EXPECT_EQ(first->m_nFormat, 0u);
    EXPECT_FALSE(first->m_pfnChoose);
  }
  EXPECT_EQ(SpcFindKind(6)->kind, table[6].kind);
  EXPECT_EQ(SpcFindKind(7), nullptr);
}

TEST(SpcKinds, FormatRowsCarryNamesCapsExtensionsAndOptions) {
  auto leaf = [](std::int32_t kind, std::int32_t format) { return SpcFindKind(kind)->kind->CreateFormat(format); };
  auto nmrJcamp = leaf(kSpcKindNmr, 3);
  EXPECT_EQ(NameOf(*nmrJcamp), "JCAMP-DX");
  EXPECT_EQ(nmrJcamp->GetDefaultExt(), ".dx");
  EXPECT_EQ(nmrJcamp->GetSaveOptions(), "FIX;PACKED;SQUEEZED;DIFFDUP");
  auto nmrAscii = leaf(kSpcKindNmr, 15);
  EXPECT_EQ(NameOf(*nmrAscii), "ASCII");
  EXPECT_EQ(nmrAscii->GetCaps(), kSpcCapWrite);
  EXPECT_EQ(nmrAscii->GetSaveOptions(), "X-POINTS;X-PPM;X-HERTZ");
  auto massLynx = leaf(kSpcKindMass, 6);
  EXPECT_EQ(NameOf(*massLynx), "MassLynx");
  EXPECT_EQ(massLynx->GetDefaultExt(), ".");
  EXPECT_EQ(massLynx->GetSaveOptions(), "");
  auto irGalactic = leaf(kSpcKindIr, 5);
  EXPECT_EQ(irGalactic->GetSaveOptions(), "FLOAT;INTEGER");
  EXPECT_EQ(NameOf(*leaf(kSpcKindTic, 4)), "MassLynx");
  EXPECT_EQ(NameOf(*leaf(kSpcKindNmr2d, 2)), "XWIN-NMR");
  EXPECT_EQ(leaf(kSpcKindUv, 3)->GetSaveOptions(), "X-POINTS;X-NM");
}

TEST(SpcKinds, AFileNoConverterKnowsHasNoSpectraAndFailsToLoadWithoutAName) {
  const std::string path = WriteScratch("plain.txt", "1 2\n3 4\n");
  COrvFile f(path);
  EXPECT_EQ(SpcCountSpectra(f), 0);
  std::string format, kinds;
  EXPECT_FALSE(SpcIdentifyFile(f, &format, &kinds));
  CSpcData data;
  format = "unchanged";
  EXPECT_EQ(SpcLoadSpectrum(path, 0, &data, &format), SpcLoadResult::NotFound);
  EXPECT_EQ(format, "unchanged");
}

TEST(SpcNumbering, SpectraAreNumberedOverKindsThenFormats) {
  // Kind ONE formats A, B, F and kind TWO the same: a file "A3" is three spectra of ONE/A and
  // three of TWO/A.
  const std::string path = WriteScratch("fake.a3", "A3");
  COrvFile f(path);
  EXPECT_EQ(SpcCountSpectra(f, kFakeTable), 6);
  SpcLocation where;
  ASSERT_TRUE(SpcFindConverter(f, 4, &where, kFakeTable));
  EXPECT_EQ(where.kindId, 1);
  EXPECT_EQ(where.indexInFile, 1);
  EXPECT_FALSE(SpcFindConverter(f, 6, &where, kFakeTable));
  EXPECT_FALSE(SpcFindConverter(f, -1, &where, kFakeTable));

  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(f, &format, &kinds, kFakeTable));
  EXPECT_EQ(format, "A");
  EXPECT_EQ(kinds, "ONE/TWO");

  CSpcData data;
  data.strName = "old";
  ASSERT_EQ(SpcLoadSpectrum(path, 2, &data, nullptr, nullptr, kFakeTable), SpcLoadResult::Loaded);
  EXPECT_EQ(data.strName, "A2/0");  // no chooser installed: the first entry
  EXPECT_EQ(data.nKind, 0);
}

TEST(SpcNumbering, AFailingReaderEndsTheLoadAndTheChoiceIsChecked) {
  const std::string path = WriteScratch("fake.f1", "F1");
  CSpcData data;
  std::string format;
  EXPECT_EQ(SpcLoadSpectrum(path, 0, &data, &format, nullptr, kFakeTable), SpcLoadResult::ReadFailed);
  EXPECT_EQ(format, "F");

  const std::string b = WriteScratch("fake.b1", "B1");
  SetChooseFromList([](const std::vector<std::string>& list) { return static_cast<std::int32_t>(list.size()) - 1; });
  ASSERT_EQ(SpcLoadSpectrum(b, 1, &data, nullptr, nullptr, kFakeTable), SpcLoadResult::Loaded);
  EXPECT_EQ(data.strName, "B0/1");
  EXPECT_EQ(data.nKind, 1);
  SetChooseFromList([](const std::vector<std::string>&) { return 5; });  // outside the list
  EXPECT_EQ(SpcLoadSpectrum(b, 0, &data, nullptr, nullptr, kFakeTable), SpcLoadResult::ReadFailed);
  SetChooseFromList([](const std::vector<std::string>&) { return -1; });  // nothing selected
  EXPECT_EQ(SpcLoadSpectrum(b, 0, &data, nullptr, nullptr, kFakeTable), SpcLoadResult::ReadFailed);
  SetChooseFromList(nullptr);
  EXPECT_EQ(ChooseFromList({"a", "b"}), 0);
}

TEST(SpcConvertHelpers, NameFromPathAndRenameTables) {
  CSpcData data;
  CSpcConvert::SetNameFromPath(&data, "C:\\data\\sample.dx");
  EXPECT_EQ(data.strName, "sample.dx");
  CSpcConvert::SetNameFromPath(&data, "plain");
  EXPECT_EQ(data.strName, "plain");
  CVariant v;
  v.SetLong(1);
  data.params.SetParam("SOLVENT", v);
  data.params.SetParam("sw", v);
  const CSpcConvert::RenamePair table[] = {{"solvent", "SOLV"}, {"missing", "X"}, {"SW", "SW_h"}, {nullptr, nullptr}};
  CSpcConvert::RenameParams(data.params, table);
  EXPECT_EQ(data.params[0].name, "SOLV");
  EXPECT_EQ(data.params[1].name, "SW_h");
}
