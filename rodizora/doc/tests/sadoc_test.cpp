// Opening pages of fake controls: bands, strips, tables, structures, the controls' item walk,
// item records and the clipboard payload.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/ui/app.h"
#include "platform/ui/responder.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/sasrvritem.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/doc/tests/fakecontrols.h"
#include "common/shared_ids.h"
#include "rodizora/doc/tests/doc_fixture.h"
#include "rodizora/res/saresources.h"

namespace {

using fakes::FakeSpectrum;
using fakes::WriteSpectrumFile;
using sadoctest::Dir;
using sadoctest::DocTest;
using sadoctest::H;
using sadoctest::SetProfileInt;
using sadoctest::W;

TEST_F(DocTest, ThreeSpectraOfTwoKindsLieInTwoStripsAndTheProcessCommandsRunOnEach) {
  SaSettings().processCommands = u"EM;FT";
  const std::string file = WriteSpectrumFile(Dir(), "three.dx", {"NMR", "NMR", "MASS"});
  ASSERT_TRUE(doc->OnOpenDocument(file));
  const auto items = doc->Items();
  ASSERT_EQ(items.size(), 3u);
  // "MASS" sorts before "NMR": the upper half; both NMR spectra on top of each other below.
  const gdi::Rect upper(0, 0, W, H / 2), lower(0, H / 2, W, H);
  EXPECT_EQ(Rects(), (std::vector<gdi::Rect>{lower, lower, upper}));
  for (CSaItem* item : items) {
    EXPECT_EQ(item->Record().type, ItemTypeSpectrum);
    EXPECT_EQ(item->Record().subtype, ItemFromFile);
    EXPECT_EQ(item->Record().fromFile, 1);
    FakeSpectrum* control = ControlOf(item);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->commands, "EM;FT");
    // Every control's walk visits every item.
    EXPECT_EQ(control->WalkItems(), 3);
  }
  EXPECT_EQ(ControlOf(items[2])->kind, "MASS");
  EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocTest, APathListGivesEveryEntryItsBandAndAnEmptyEntryOpensNothing) {
  const std::string a = WriteSpectrumFile(Dir(), "a.dx", {"NMR"});
  const std::string b = WriteSpectrumFile(Dir(), "b.dx", {"NMR", "MASS"});
  ASSERT_TRUE(doc->OnOpenDocument(a + " + +\t" + b));
  const int third = H / 3, twoThirds = 2 * H / 3;
  const int half = twoThirds + (H - twoThirds) / 2;
  EXPECT_EQ(Rects(), (std::vector<gdi::Rect>{{0, 0, W, third}, {0, half, W, H}, {0, twoThirds, W, half}}));
}

TEST_F(DocTest, ATableTakesTheBottomOfThePageAndEverySpectrumAboveShrinks) {
  SetProfileInt(u"NMR\\Table", 1);
  COrvProfDesc desc;
  OrvDeleteProfValue(u"NMR\\TableHeight", &desc);  // 150 tenths: 60 page units
  const std::string a = WriteSpectrumFile(Dir(), "ta.dx", {"NMR"});
  const std::string b = WriteSpectrumFile(Dir(), "tb.dx", {"NMR"});
  ASSERT_TRUE(doc->OnOpenDocument(a + "+" + b));
  const auto items = doc->Items();
  ASSERT_EQ(items.size(), 4u);  // spectrum, table, spectrum, table
  const auto shrink = [](int v) { return gdi::MulDiv(v, H - 60, H); };
  // The first entry's spectrum shrank twice, the second's once.
  EXPECT_EQ(items[0]->GetRect(), gdi::Rect(0, 0, W, shrink(shrink(H / 2))));
  EXPECT_EQ(items[2]->GetRect(), gdi::Rect(0, shrink(H / 2), W, shrink(H)));
  for (CSaItem* table : {items[1], items[3]}) {
    EXPECT_EQ(table->Record().type, ItemTypeTable);
    EXPECT_EQ(table->Record().subtype, ItemFromControl);
    EXPECT_EQ(table->GetRect(), gdi::Rect(0, H - 60 + 2, W - 1, H - 1));
  }
  ASSERT_EQ(fakes::FakeTable::Live().size(), 2u);
  EXPECT_EQ(fakes::FakeTable::Live()[0]->attachedKind, "NMR");
  // A stored height beyond the page takes the whole page, never turns the spectra over.
  SetProfileInt(u"NMR\\TableHeight", 100000);
  ASSERT_TRUE(doc->OnOpenDocument(a));
  ASSERT_EQ(doc->Items().size(), 2u);
  EXPECT_EQ(doc->Items()[0]->GetRect(), gdi::Rect(0, 0, W, 0));
}

TEST_F(DocTest, TheStructureOfTheMatchingDatabaseRecordSitsBesideItsSpectrum) {
  const std::string dir = Dir();
  const std::string sdf = dir + "/db.sdf";
  std::ofstream(sdf) << "other\n\n\nM  END\n> <IDNUMBER>\nA1\n\n$$$$\n"
                     << "ethyl\n\n\nM  END\n> <IDNUMBER>\nX123\n\n$$$$\n";
  ASSERT_TRUE(SaSettings().database.Load(plat::toUtf16(sdf), u"IDNUMBER"));
  SetProfileInt(u"ShowID", 0);
  const std::string file = WriteSpectrumFile(dir, "X123.fid", {"NMR"});
  const auto temporaries = [] {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
      n += entry.path().filename().string().rfind("kedrus", 0) == 0;
    return n;
  };
  const int before = temporaries();
  ASSERT_TRUE(doc->OnOpenDocument(file));
  ASSERT_EQ(doc->Items().size(), 2u);
  CSaItem* structure = doc->Items()[1];
  EXPECT_EQ(structure->Record().type, 0);
  // "ObjectLeft" and "ObjectTop" 100 tenths from the spectrum's corner, 300 tenths square.
  EXPECT_EQ(structure->GetRect(), gdi::Rect(40, 40, 40 + 120, 40 + 120));
  ASSERT_EQ(fakes::FakeStructure::Live().size(), 1u);
  const std::string molfile = fakes::FakeStructure::Live()[0]->molfile;
  EXPECT_EQ(molfile.rfind("ethyl\n", 0), 0u);
  EXPECT_EQ(molfile.find("IDNUMBER"), std::string::npos);
  // The temporary record is gone.
  EXPECT_EQ(temporaries(), before);
}

TEST_F(DocTest, ACorruptOrMissingFileOpensNothingAndFailedItemsLeaveNothingBehind) {
  const std::string corrupt = WriteSpectrumFile(Dir(), "corrupt.dx", {"CORRUPT"});
  EXPECT_FALSE(doc->OnOpenDocument(corrupt));
  EXPECT_TRUE(doc->Items().empty());
  ASSERT_EQ(ui::ModalLog().size(), 1u);  // the control's own message
  EXPECT_EQ(ui::ModalLog()[0].text, "The spectrum cannot be read.");
  EXPECT_FALSE(doc->OnOpenDocument(Dir() + "/missing.dx"));
  ASSERT_EQ(ui::ModalLog().size(), 2u);  // no control could say why: the document does
  EXPECT_EQ(ui::ModalLog()[1].text, "\"" + Dir() + "/missing.dx\" cannot be opened.\nThere is no such file or folder.");
  // A file no control recognises that is larger than any control reads: the document says that.
  const std::string huge = Dir() + "/huge.bin";
  std::ofstream(huge) << "not a spectrum";
  ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxSpectrumFileBytes) + 1), 0);
  EXPECT_FALSE(doc->OnOpenDocument(huge));
  ASSERT_EQ(ui::ModalLog().size(), 3u);
  EXPECT_EQ(ui::ModalLog()[2].text, "\"" + huge +
                                        "\" cannot be opened.\nIt is larger than 1 GB (1073741825 bytes), the largest "
                                        "file this program opens.");
  ::unlink(huge.c_str());
  // An entry whose first spectrum fails fails, even when later ones load.
  const std::string mixed = WriteSpectrumFile(Dir(), "mixed.dx", {"CORRUPT", "NMR"});
  EXPECT_FALSE(doc->OnOpenDocument(mixed));
  EXPECT_TRUE(doc->Items().empty());
  EXPECT_EQ(doc->CreateSpectrumItem(plat::toUtf16(mixed), 5), nullptr);
  EXPECT_TRUE(doc->Items().empty());
}

TEST_F(DocTest, TheControlsSiteWalksCreatesAndAnswers) {
  const std::string a = WriteSpectrumFile(Dir(), "site.dx", {"NMR", "MASS"});
  ASSERT_TRUE(doc->OnOpenDocument(a));
  FakeSpectrum* control = ControlOf(doc->Items()[0]);
  ASSERT_TRUE(control && control->site);
  IOrvClientSite* site = control->site;
  EXPECT_EQ(site->GetItemRecord(), &doc->Items()[0]->Record());
  plat::ole::IUnknown* object = nullptr;
  EXPECT_EQ(site->GetNextItem(&doc->Items()[1]->Record(), &object), nullptr);
  EXPECT_EQ(object, nullptr);
  SaItemRecord stranger;
  EXPECT_EQ(site->GetNextItem(&stranger, &object), nullptr);
  // No view: zoom 100, nothing to activate in.
  doc->SetDocumentZoom(250);
  EXPECT_EQ(site->GetZoom(), 100);
  EXPECT_EQ(site->ActivateItem(), plat::ole::kFail);
  // Captions by the view-properties mode.
  plat::ole::Bstr caption = nullptr;
  EXPECT_EQ(site->GetParamTitle(1, &caption), plat::ole::kFail);
  ASSERT_EQ(site->GetParamTitle(0, &caption), plat::ole::kOk);
  EXPECT_EQ(TakeBstr(caption), u"PROCESSING/PLOTTING PARAMETERS");
  SaSettings().app.viewProperties = 1;
  ASSERT_EQ(site->GetParamTitle(1, &caption), plat::ole::kOk);
  EXPECT_EQ(TakeBstr(caption), u"PLOTTING PARAMETERS");
  // A new item from another control's data: a spectrum item over the whole page.
  plat::ole::IDataObject* data = ControlOf(doc->Items()[1])->GetClipboardDataObject();
  SaItemRecord* made = site->CreateItem(data);
  data->Release();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->type, ItemTypeSpectrum);
  EXPECT_EQ(made->subtype, ItemFromControl);
  EXPECT_EQ((gdi::Rect{made->left, made->top, made->right, made->bottom}), gdi::Rect(0, 0, W, H));
  EXPECT_EQ(ControlOf(doc->Items()[2])->kind, "MASS");
  // Nothing to make it from: no item.
  EXPECT_EQ(site->CreateItem(nullptr), nullptr);
  EXPECT_EQ(doc->Items().size(), 3u);
}

TEST_F(DocTest, TheClipboardPayloadCarriesItemsWithTheirRecordsAndABadOneAddsNothing) {
  const std::string a = WriteSpectrumFile(Dir(), "clip.dx", {"NMR", "MASS"});
  ASSERT_TRUE(doc->OnOpenDocument(a));
  doc->Items()[1]->Record().subtype = 7;
  plat::Archive store;
  CSaSrvrItem carrier(doc.get());
  carrier.AddItem(doc->Items()[0]);
  carrier.AddItem(doc->Items()[1]);
  EXPECT_EQ(carrier.GetExtent().cx, W * 100 / 4);
  carrier.Serialize(store);
  const std::vector<std::uint8_t> payload = store.bytes();

  CSaSrvrItem loaded(doc.get());
  plat::Archive load(payload);
  loaded.Serialize(load);
  ASSERT_EQ(loaded.Items().size(), 2u);
  EXPECT_EQ(loaded.Items()[1]->Record().subtype, 7);
  EXPECT_EQ(loaded.Items()[1]->GetRect(), doc->Items()[1]->GetRect());
  EXPECT_EQ(ControlOf(loaded.Items()[1])->kind, "MASS");
  loaded.MoveTo(100, 50);
  EXPECT_EQ(loaded.Items()[0]->GetRect().TopLeft(), (gdi::Point{100, 50 + H / 2}));
  ASSERT_EQ(doc->Items().size(), 4u);

  // Cut short, a count far beyond what follows, an item whose class nobody serves: nothing added.
  std::vector<std::vector<std::uint8_t>> bad;
  bad.emplace_back(payload.begin(), payload.end() - 10);
  bad.push_back({0xFF, 0xFF, 0xFF, 0x7F});
  std::vector<std::uint8_t> unknownClass = payload;
  unknownClass[4] ^= 0x5A;  // the first item's class id
  bad.push_back(unknownClass);
  for (const auto& bytes : bad) {
    CSaSrvrItem hostile(doc.get());
    plat::Archive ar(bytes);
    EXPECT_THROW(hostile.Serialize(ar), plat::ArchiveError);
    EXPECT_TRUE(hostile.Items().empty());
    EXPECT_EQ(doc->Items().size(), 4u);
  }
}

}  // namespace
