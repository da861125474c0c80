// Documents saved and loaded again: the document archive and the workspace with its "core" file,
// atomic saves, and damaged files that must fail cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <set>

#include "common/guids.h"
#include "platform/archive/archive.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "platform/ui/waitcursor.h"
#include "rodizora/doc/tests/doc_fixture.h"
#include "rodizora/doc/workspace.h"

namespace {

namespace fs = std::filesystem;
using fakes::FakeSpectrum;
using fakes::FakeStructure;
using fakes::FakeTable;
using fakes::WriteSpectrumFile;
using sadoctest::Dir;
using sadoctest::SetProfileInt;

// What a reload must give back of an item: its record and the state of its object.
struct ItemState {
  SaItemRecord record;
  std::string kind, commands, molfile;
  bool hasTable = false;
  bool operator==(const ItemState& o) const {
    const auto fields = [](const ItemState& s) {
      const SaItemRecord& r = s.record;
      return std::tie(r.type, r.subtype, r.left, r.top, r.right, r.bottom, r.fromFile, s.kind, s.commands, s.molfile,
                      s.hasTable);
    };
    return fields(*this) == fields(o);
  }
};

std::ostream& operator<<(std::ostream& os, const ItemState& s) {
  const SaItemRecord& r = s.record;
  return os << "{type " << r.type << " sub " << r.subtype << " (" << r.left << "," << r.top << "," << r.right << ","
            << r.bottom << ") file " << r.fromFile << " " << s.kind << " [" << s.commands << "] " << s.molfile.size()
            << (s.hasTable ? " table" : "") << "}";
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  return plat::readFile(path, &bytes) == plat::FileStatus::Ok ? bytes : std::string("<missing>");
}

void WriteAll(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A "core" file written record by record (the test's one builder of the format).
class CoreBuilder {
 public:
  explicit CoreBuilder(std::int32_t count) { ar_.writeI32(count); }
  CoreBuilder& Header(std::uint32_t magic1, std::uint32_t magic2, std::int32_t type, std::int32_t subtype) {
    for (std::uint32_t v : {magic1, magic2, static_cast<std::uint32_t>(type), static_cast<std::uint32_t>(subtype)})
      ar_.writeU32(v);
    return *this;
  }
  CoreBuilder& Spectrum(const gdi::Rect& r, std::int32_t subtype) {
    Header(saworkspace::kMagic1, saworkspace::kMagic2, ItemTypeSpectrum, subtype);
    for (std::int32_t v : {r.left, r.top, r.right, r.bottom, subtype}) ar_.writeI32(v);
    return *this;
  }
  void Save(const std::string& dir) const {
    fs::create_directories(dir);
    ASSERT_TRUE(ar_.saveFile(dir + "/core"));
  }

 private:
  plat::Archive ar_;
};

class WorkspaceTest : public sadoctest::DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    FakeSpectrum::failSaves = false;
  }
  void TearDown() override {
    FakeSpectrum::failSaves = false;
    DocTest::TearDown();
  }

  // Two NMR spectra and a MASS spectrum, the NMR table and the structure of the matching record;
  // the spectra processed, one of them moved.
  void OpenFullPage() {
    const std::string dir = Dir();
    const std::string sdf = dir + "/ws.sdf";
    std::ofstream(sdf) << "ethyl\n\n\nM  END\n> <IDNUMBER>\nWS1\n\n$$$$\n";
    ASSERT_TRUE(SaSettings().database.Load(plat::toUtf16(sdf), u"IDNUMBER"));
    SetProfileInt(u"ShowID", 0);
    SetProfileInt(u"NMR\\Table", 1);
    SaSettings().processCommands = u"EM";
    ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(dir, "WS1.dx", {"NMR", "MASS", "NMR"})));
    SaSettings().processCommands.clear();
    ASSERT_EQ(doc->Items().size(), 5u);  // three spectra, the table, the structure
    ControlOf(doc->Items()[1])->commands += ";FT";
    doc->Items()[2]->MoveTo(100, 30);
  }

  static std::vector<ItemState> StateOf(const CSaDoc& d) {
    std::vector<ItemState> states;
    for (CSaItem* item : d.Items()) {
      ItemState s;
      s.record = item->Record();
      if (FakeSpectrum* c = ControlOf(item)) {
        s.kind = c->kind;
        s.commands = c->commands;
      }
      if (FakeStructure* st = FakeOf<FakeStructure>(item)) s.molfile = st->molfile;
      if (auto* t = static_cast<ITableControl*>(item->QueryObject(IID_ITableControl))) {
        s.hasTable = true;
        t->Release();
      }
      states.push_back(s);
    }
    return states;
  }

  static std::unique_ptr<CSaDoc> NewDoc() {
    auto d = std::make_unique<CSaDoc>();
    d->m_bAutoDelete = false;
    return d;
  }

  static std::string Fresh(const std::string& name) {
    const std::string path = Dir() + "/" + name;
    fs::remove_all(path);
    return path;
  }
};

TEST_F(WorkspaceTest, ADocumentSavedAsArchiveAndAsWorkspaceReloadsEveryItemAndState) {
  OpenFullPage();
  const std::vector<ItemState> before = StateOf(*doc);
  doc->SetDocumentZoom(150);

  // The document archive, through a file.
  const std::string file = Fresh("page.archive");
  plat::Archive store;
  doc->Serialize(store);
  ASSERT_TRUE(store.saveFile(file));
  std::unique_ptr<plat::Archive> load;
  ASSERT_TRUE(plat::Archive::loadFile(file, &load));
  auto copy = NewDoc();
  copy->Serialize(*load);
  EXPECT_TRUE(load->atEnd());
  EXPECT_EQ(StateOf(*copy), before);
  EXPECT_EQ(copy->GetDocumentZoom(), 150);
  copy.reset();

  // The workspace.
  const std::string ws = Fresh("page.ws");
  doc->SetWorkspace(true);
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  EXPECT_FALSE(doc->IsModified());
  // Spectrum control numbers 0, 1, 2 and table number 0 wrote their data.
  for (const char* name : {"core", "spectrum_0", "spectrum_1", "spectrum_2", "table_0"})
    EXPECT_TRUE(fs::exists(ws + "/" + name)) << name;
  auto reloaded = NewDoc();
  ASSERT_TRUE(reloaded->OnOpenDocument(ws));
  EXPECT_TRUE(reloaded->IsWorkspace());
  EXPECT_EQ(StateOf(*reloaded), before);
  ASSERT_EQ(FakeTable::Live().size(), 2u);
  EXPECT_EQ(FakeTable::Live()[1]->loadedFrom, ws + "/table_0");
  EXPECT_EQ(FakeTable::Live()[1]->attachedKind, "NMR");
}

TEST_F(WorkspaceTest, TheCoreHoldsOneRecordPerItemOfTypeOneTwoOrZero) {
  OpenFullPage();
  plat::Archive ar;
  const std::string dir = Fresh("records");
  fs::create_directories(dir);
  ASSERT_TRUE(saworkspace::StoreCore(*doc, dir, ar));
  plat::Archive read(ar.bytes());
  EXPECT_EQ(read.readI32(), 5);
  std::vector<std::int32_t> types;
  for (int r = 0; r < 4; ++r) {  // the spectra and the table: header and body
    EXPECT_EQ(read.readU32(), saworkspace::kMagic1);
    EXPECT_EQ(read.readU32(), saworkspace::kMagic2);
    types.push_back(read.readI32());
    const std::int32_t subtype = read.readI32();
    const std::int32_t left = read.readI32();
    EXPECT_EQ(left, doc->Items()[r]->Record().left);
    for (int i = 0; i < 3; ++i) read.readI32();
    EXPECT_EQ(read.readI32(), subtype);
  }
  EXPECT_EQ(read.readU32(), saworkspace::kMagic1);
  read.readU32();
  types.push_back(read.readI32());
  EXPECT_EQ(types, (std::vector<std::int32_t>{1, 1, 1, 2, 0}));
  read.readI32();
  EXPECT_EQ(read.readU16(), 0xFFFF);  // the structure item as the first object of class CSaItem
  EXPECT_EQ(read.readU16(), 0);
  EXPECT_EQ(read.readU16(), 7);
}

TEST_F(WorkspaceTest, ARecordWithWrongMagicsIsSkippedAfterItsHeader) {
  const std::string ws = Fresh("magic.ws");
  CoreBuilder(2).Header(saworkspace::kMagic1, 0x12345678, ItemTypeSpectrum, 1).Spectrum({10, 20, 300, 400}, 3).Save(ws);
  // The second record is the first spectrum record: control number 0.
  WriteSpectrumFile(ws, "spectrum_0", {"MASS"});
  ASSERT_TRUE(doc->OnOpenDocument(ws));
  ASSERT_EQ(doc->Items().size(), 1u);
  EXPECT_EQ(doc->Items()[0]->GetRect(), gdi::Rect(10, 20, 300, 400));
  EXPECT_EQ(doc->Items()[0]->Record().subtype, 3);
  EXPECT_EQ(ControlOf(doc->Items()[0])->kind, "MASS");

  // A spectrum record whose data is missing leaves its item out; the next one keeps its number.
  const std::string gap = Fresh("gap.ws");
  CoreBuilder(2).Spectrum({0, 0, 10, 10}, 1).Spectrum({5, 5, 50, 50}, 1).Save(gap);
  WriteSpectrumFile(gap, "spectrum_1", {"NMR"});
  ASSERT_TRUE(doc->OnOpenDocument(gap));
  ASSERT_EQ(doc->Items().size(), 1u);
  EXPECT_EQ(doc->Items()[0]->GetRect(), gdi::Rect(5, 5, 50, 50));
}

TEST_F(WorkspaceTest, StoredRectanglesStayWithinTheReachOfPageArithmetic) {
  const std::string ws = Fresh("huge.ws");
  constexpr std::int32_t kMax = CSaItem::kMaxPageCoordinate;
  CoreBuilder(1).Spectrum({std::numeric_limits<std::int32_t>::min(), 5, std::numeric_limits<std::int32_t>::max(), 2000000000}, 1).Save(ws);
  WriteSpectrumFile(ws, "spectrum_0", {"NMR"});
  ASSERT_TRUE(doc->OnOpenDocument(ws));
  ASSERT_EQ(doc->Items().size(), 1u);
  EXPECT_EQ(doc->Items()[0]->GetRect(), gdi::Rect(-kMax, 5, kMax, kMax));
}

TEST_F(WorkspaceTest, ATruncatedOrMutatedCoreFailsCleanly) {
  OpenFullPage();
  const std::string ws = Fresh("damaged.ws");
  doc->SetWorkspace(true);
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  const std::string core = ReadAll(ws + "/core");
  ASSERT_GT(core.size(), 100u);
  doc->DeleteContents();

  // Every prefix is short of its records (every byte through the headers, then in steps).
  for (std::size_t size = 0; size < core.size(); size += size < 200 ? 1 : 13) {
    WriteAll(ws + "/core", std::string_view(core).substr(0, size));
    auto d = NewDoc();
    EXPECT_FALSE(d->OnOpenDocument(ws)) << size;
    EXPECT_TRUE(d->Items().empty()) << size;
  }
  // Random bytes changed: a clean failure or a page of whole items, never a crash.
  std::mt19937 random(29);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = core;
    for (int k = 0; k < 1 + round % 4; ++k)
      bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
    WriteAll(ws + "/core", bytes);
    auto d = NewDoc();
    if (!d->OnOpenDocument(ws)) {
      EXPECT_TRUE(d->Items().empty());
    }
    for (CSaItem* item : d->Items()) EXPECT_FALSE(item->IsEmpty());
  }
  ui::ClearModalLog();
}

TEST_F(WorkspaceTest, ATruncatedOrMutatedDocumentArchiveThrowsAndLeavesNoControl) {
  OpenFullPage();
  plat::Archive store;
  doc->Serialize(store);
  const std::vector<std::uint8_t> bytes = store.bytes();
  doc->DeleteContents();
  for (std::size_t size = 0; size < bytes.size(); size += size < 200 ? 1 : 11) {
    auto d = NewDoc();
    plat::Archive ar(std::span(bytes.data(), size));
    EXPECT_THROW(d->Serialize(ar), std::exception) << size;
  }
  std::mt19937 random(31);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> mutated = bytes;
    mutated[random() % mutated.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
    auto d = NewDoc();
    plat::Archive ar(mutated);
    try {
      d->Serialize(ar);
    } catch (const std::exception&) {
    }
  }
  ui::ClearModalLog();
}

TEST_F(WorkspaceTest, AFailedSaveLeavesTheOldWorkspaceOrFileAsItWasAndIsReported) {
  OpenFullPage();
  const std::string root = Fresh("atomic");
  fs::create_directories(root);
  const std::string ws = root + "/page.ws";
  doc->SetWorkspace(true);
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  const std::string core = ReadAll(ws + "/core");
  const std::string spectrum = ReadAll(ws + "/spectrum_1");
  const auto entries = [&] {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(root)) names.insert(e.path().filename().string());
    return names;
  };
  const std::set<std::string> beside = entries();

  // A control that cannot write its data fails the save.
  doc->Items()[1]->MoveTo(0, 77);
  doc->SetModifiedFlag(true);
  FakeSpectrum::failSaves = true;
  ui::ClearModalLog();
  EXPECT_FALSE(doc->OnSaveDocument(ws));
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ReadAll(ws + "/core"), core);
  EXPECT_EQ(ReadAll(ws + "/spectrum_1"), spectrum);
  EXPECT_EQ(entries(), beside);  // no temporary left behind
  FakeSpectrum::failSaves = false;

  // An old workspace holding a directory is not replaced.
  fs::create_directory(ws + "/keep");
  EXPECT_FALSE(doc->OnSaveDocument(ws));
  EXPECT_EQ(ReadAll(ws + "/core"), core);
  EXPECT_EQ(entries(), beside);
  fs::remove(ws + "/keep");

  // A good save replaces the whole old directory.
  WriteAll(ws + "/stale", "old");
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  EXPECT_NE(ReadAll(ws + "/core"), core);
  EXPECT_FALSE(fs::exists(ws + "/stale"));
  EXPECT_EQ(entries(), beside);

  // A spectrum document: the file of its first spectrum, replaced only when the new one is whole.
  const std::string file = root + "/single.dx";
  WriteAll(file, "old spectrum");
  doc->SetWorkspace(false);
  FakeSpectrum::failSaves = true;
  EXPECT_FALSE(doc->OnSaveDocument(file));
  EXPECT_EQ(ReadAll(file), "old spectrum");
  FakeSpectrum::failSaves = false;
  ASSERT_TRUE(doc->OnSaveDocument(file));
  EXPECT_EQ(ReadAll(file).rfind("FAKESPC\nNMR\n", 0), 0u);
  ui::ClearModalLog();
}

TEST_F(WorkspaceTest, APageWithoutASpectrumFromAFileSavesAsAWorkspace) {
  // A spectrum document whose file spectra were deleted: its table and an inserted spectrum stay.
  SetProfileInt(u"NMR\\Table", 1);
  ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(Dir(), "deleted.dx", {"NMR"})));
  const std::string other = WriteSpectrumFile(Dir(), "inserted.dx", {"MASS"});
  CSaItem* inserted = doc->CreateSpectrumItem(plat::toUtf16(other), 0);
  ASSERT_NE(inserted, nullptr);
  inserted->Record().subtype = ItemFromControl;
  doc->DeleteItem(doc->Items()[0]);
  ASSERT_EQ(doc->Items().size(), 2u);
  ASSERT_FALSE(doc->IsWorkspace());
  const std::string path = Fresh("nofile.ws");
  ui::ClearModalLog();
  ASSERT_TRUE(doc->OnSaveDocument(path));
  EXPECT_TRUE(ui::ModalLog().empty());
  EXPECT_TRUE(doc->IsWorkspace());
  const std::vector<ItemState> before = StateOf(*doc);
  auto reloaded = NewDoc();
  ASSERT_TRUE(reloaded->OnOpenDocument(path));
  EXPECT_EQ(StateOf(*reloaded), before);
}

TEST_F(WorkspaceTest, AWorkspaceOpenedWithoutSomeItemsIsSavedOverOnlyWhenTheUserAgrees) {
  OpenFullPage();
  const std::string ws = Fresh("partly.ws");
  doc->SetWorkspace(true);
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  // The data of the second spectrum is damaged: its item cannot be made.
  WriteAll(ws + "/spectrum_1", "FAKESPC\nCORRUPT\n");
  auto reopened = NewDoc();
  ui::ScriptedResponder script(true);
  script.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);  // the control's own report
  ASSERT_TRUE(reopened->OnOpenDocument(ws));
  reopened->SetPathName(ws);
  ASSERT_EQ(reopened->Items().size(), 4u);
  const std::string core = ReadAll(ws + "/core");
  script.Then(ui::ModalKind::MessageBox, [&](ui::ModalQuestion& q) {
              EXPECT_EQ(q.text.rfind(ws + "\n", 0), 0u) << q.text;
              return ui::IDNO;
            })
      .ThenAnswer(ui::ModalKind::MessageBox, ui::IDYES);
  reopened->OnFileSave();  // refused: the damaged spectrum's data stays
  EXPECT_EQ(ReadAll(ws + "/core"), core);
  EXPECT_EQ(ReadAll(ws + "/spectrum_1"), "FAKESPC\nCORRUPT\n");
  reopened->OnFileSave();  // agreed
  EXPECT_NE(ReadAll(ws + "/core"), core);
  EXPECT_TRUE(script.Done());
  // A workspace that opened whole is saved over without a question.
  auto whole = NewDoc();
  ASSERT_TRUE(whole->OnOpenDocument(ws));
  whole->SetPathName(ws);
  ui::ClearModalLog();
  whole->OnFileSave();
  EXPECT_TRUE(ui::ModalLog().empty());
}

TEST_F(WorkspaceTest, OpensAndSavesShowTheWaitCursorWhileTheyWork) {
  FakeSpectrum::busyCalls = FakeSpectrum::idleCalls = 0;
  OpenFullPage();
  const std::string ws = Fresh("busy.ws");
  doc->SetWorkspace(true);
  ASSERT_TRUE(doc->OnSaveDocument(ws));
  auto reopened = NewDoc();
  ASSERT_TRUE(reopened->OnOpenDocument(ws));
  EXPECT_EQ(FakeSpectrum::busyCalls, 3 + 3 + 3);  // three spectra loaded, saved and loaded again
  EXPECT_EQ(FakeSpectrum::idleCalls, 0);
  EXPECT_FALSE(ui::IsWaitCursorShown());
}

TEST_F(WorkspaceTest, AnExistingPathIsReplacedOnlyWhenTheUserAgrees) {
  const std::string path = Fresh("replace.ws");
  EXPECT_TRUE(CSaDoc::MayReplace(path, true));
  EXPECT_TRUE(ui::ModalLog().empty());
  fs::create_directories(path);
  ui::ScriptedResponder script(true);
  script
      .Then(ui::ModalKind::MessageBox,
            [&](ui::ModalQuestion& q) {
              EXPECT_EQ(q.text, path + "\nThis file or directory already exist.\nReplace existing file or directory?");
              EXPECT_EQ(q.style & ui::MB_DEFMASK, ui::MB_DEFBUTTON2);
              return ui::IDNO;
            })
      .ThenAnswer(ui::ModalKind::MessageBox, ui::IDYES);
  EXPECT_FALSE(CSaDoc::MayReplace(path, true));
  EXPECT_TRUE(CSaDoc::MayReplace(path, true));
  EXPECT_TRUE(CSaDoc::MayReplace(path, false));  // File Save of a workspace does not ask
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(fs::exists(path));  // nothing is removed before the new data is whole
}

}  // namespace
