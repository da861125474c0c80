#include "foundation/tests/filedlg/filedlg_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "common/tests/failing_spectrum_control.h"
#include "foundation/filedlg/filedlgres.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/registry/registry_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/testing.h"
#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace filedlg_test {

using namespace plat::ole;

ControlCounts& Controls() {
  static ControlCounts counts;
  return counts;
}

namespace {

std::thread::id g_uiThread;

// The spectrum control as the file dialogs see it: GetFileFormats answers through the
// converters' identification; the rest of the interface fails.
class StandInControl : public ComObject {
 public:
  StandInControl() {
    ++Controls().live;
    ++Controls().created;
    if (std::this_thread::get_id() == g_uiThread) ++Controls().createdOnUiThread;
  }
  ~StandInControl() override { --Controls().live; }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XSpectrumControl : Nested<FailingSpectrumControl> {
    using Nested::Nested;
    HResult GetFileFormats(const char16_t* path, Bstr* formatName, Bstr* kinds) override {
      ++Controls().identified;
      if (const int ms = Controls().delayMs.load()) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      COrvFile file(plat::toUtf8(stringView(path)));
      std::string format, kindNames;
      if (!SpcIdentifyFile(file, &format, &kindNames)) return E_FAIL;
      *formatName = allocString(plat::toUtf16(format));
      *kinds = allocString(plat::toUtf16(kindNames));
      return S_OK;
    }
  } xSpectrumControl_{*this};

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

const ComObject::InterfaceEntry StandInControl::kEntries[] = {
    interfaceEntry<ISpectrumControl, &StandInControl::xSpectrumControl_>(IID_ISpectrumControl)};
const ComObject::InterfaceMap StandInControl::kMap{&ComObject::kInterfaceMap, kEntries};

constexpr auto kStrings = JoinResourceTables(filedlg_res::kStrings);
constexpr auto kDialogs = JoinResourceTables(filedlg_res::kDialogs);

const ui::ResourceSet& Resources() {
  static const ui::ResourceSet set = [] {
    ui::ResourceSet s;
    s.moduleName = "filedlg test";
    s.strings = kStrings;
    s.dialogs = kDialogs;
    s.bitmaps = filedlg_res::kBitmaps;
    return s;
  }();
  return set;
}

std::string Jcamp(const std::string& title, const std::string& type, const std::string& extra) {
  return "##TITLE= " + title + "\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= " + type + "\r\n" + extra +
         "##FIRSTX= 1\r\n##LASTX= 4\r\n##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n1 10 20 30 40\r\n##END=\r\n";
}

// A file's last write set to noon of 3 March 2021, a day every time zone agrees on.
void SetNoonTime(const std::string& path) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = 1614772800;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void Write(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(plat::writeFileAtomic(path, bytes));
  SetNoonTime(path);
}

}  // namespace

void FileDlgTest::SetUpTestSuite() {
  static ui::App app("FileDlg");
  g_uiThread = std::this_thread::get_id();
}

void FileDlgTest::SetUp() {
  ::setenv("KEDRUS_REGISTRY_DIR", Scratch("registry").c_str(), 1);
  plat::reg::resetForTesting();
  SetDefaultProfRoot(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
  SetDefaultProfSection(u"Rodizora");
  ui::SetAppResources(&Resources());
  ui::testing::Reset();
  ui::SetResponder(&responder);
  Controls().delayMs = 0;
  void* factory = nullptr;
  ASSERT_EQ(ClassFactory::create(createObject<StandInControl>, IID_IUnknown, &factory), S_OK);
  auto* unknown = static_cast<IUnknown*>(factory);
  ASSERT_EQ(registerClassObject(CLSID_Spc, unknown, &cookie_), S_OK);
  unknown->Release();
}

void FileDlgTest::TearDown() {
  ui::SetResponder(nullptr);
  revokeClassObject(cookie_);
  ui::App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty());
  EXPECT_EQ(Controls().live.load(), 0);
  ui::SetAppResources(nullptr);
  plat::reg::resetForTesting();
}

std::string FileDlgTest::Scratch(const std::string& name) {
  const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = root && *root ? root : "/tmp/kedrus_filedlg_scratch";
  std::string dir = plat::joinPath(base, name + "-XXXXXX");
  EXPECT_TRUE(plat::makeDirectories(base));
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  return dir;
}

bool FileDlgTest::WaitForListing(CExplorFrame& dialog) {
  return ui::App::PumpUntil([&] { return dialog.IsListingComplete(); }, 60000);
}

SampleFolder MakeSampleFolder(const std::string& dir, bool big) {
  SampleFolder s;
  s.dir = dir;
  const std::string nmr = Jcamp("proton", "NMR SPECTRUM", "##.OBSERVE FREQUENCY= 400.13\r\n##XUNITS= HZ\r\n");
  const std::string ir = Jcamp("film", "INFRARED SPECTRUM", "##XUNITS= 1/CM\r\n##YUNITS= TRANSMITTANCE\r\n");
  const std::string lc = Jcamp("trace", "LC", "##XUNITS= SECONDS\r\n");
  Write(plat::joinPath(dir, "proton.dx"), nmr);
  Write(plat::joinPath(dir, "Film.DX"), ir);
  Write(plat::joinPath(dir, "trace.jdx"), lc);
  Write(plat::joinPath(dir, "notes.txt"), "nothing a converter knows\n");
  Write(plat::joinPath(dir, "empty.dx"), "");
  for (const char* sub : {"zeta", "Alpha", "beta"}) plat::makeDirectories(plat::joinPath(dir, sub));
  // A spectrum folder as the product saves one: a folder, listed as a file too.
  {
    CSpcData data;
    data.nKind = 2;
    data.spectrum().assign(8, CSpcPoint{1.0f, 0.0f});
    CSpcProcess process(&data);
    process.InitFromParams();
    process.SelectData();
    EXPECT_TRUE(SpcSaveSpectrum(plat::joinPath(dir, "saved"), &process, 0, 0, 0));
  }
  s.folders = {"Alpha", "beta", "saved", "zeta"};
  s.recognised = {{"Film.DX", "IR", "JCAMP-DX", ir.size()},
                  {"proton.dx", "NMR", "JCAMP-DX", nmr.size()},
                  {"saved", "IR", "KEDRUS", 0},
                  {"trace.jdx", "CH/TIC", "JCAMP-DX", lc.size()}};
  if (big) {
    // Past 4 GiB: a Galactic file (its main header, a subfile header, four floats) that grew
    // sparse; its size must not wrap at 32 bits.
    std::string spc(512 + 32 + 16, '\0');
    spc[1] = 'K';                                   // new-format version
    spc[3] = static_cast<char>(0x80);               // floating data
    spc[4] = 4;                                     // points
    spc[24] = 1;                                    // subfiles
    spc[28] = 1;                                    // x in wavenumbers
    // A line end early: text detectors read the first line whole, and one line of 4 GiB
    // would take them seconds.
    spc[40] = '\n';
    const std::string path = plat::joinPath(dir, "huge.spc");
    Write(path, spc);
    const std::uint64_t size = (std::uint64_t(1) << 32) + 12345;
    EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
    SetNoonTime(path);
    s.recognised.insert(s.recognised.begin() + 1, {"huge.spc", "IR", "Galactic", size});
  }
  return s;
}

void MakeManyFiles(const std::string& dir, int count) {
  const std::string ir = Jcamp("film", "INFRARED SPECTRUM", "##XUNITS= 1/CM\r\n");
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%04d.dx", i);
    ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(dir, name), ir));
  }
}

std::vector<std::string> FileRows(CExplorFrame& dialog) {
  std::vector<std::string> rows;
  ui::ListCtrl& list = dialog.FileList();
  for (int i = 0; i < list.GetItemCount(); ++i)
    rows.push_back(list.GetItemText(i, 0) + "|" + list.GetItemText(i, 1) + "|" + list.GetItemText(i, 2) + "|" +
                   list.GetItemText(i, 4));
  return rows;
}

std::vector<std::string> FolderRows(CExplorFrame& dialog) {
  std::vector<std::string> rows;
  for (int i = 0; i < dialog.FolderList().GetItemCount(); ++i) rows.push_back(dialog.FolderList().GetItemText(i, 0));
  return rows;
}

void DoubleClickRow(ui::ListCtrl& list, int row) {
  ui::Rect r;
  ASSERT_TRUE(list.GetItemRect(row, &r, ui::LVIR_BOUNDS));
  list.SendMessage(ui::WM_LBUTTONDBLCLK, ui::MK_LBUTTON, ui::PointToParam(ui::Point{r.left + 5, (r.top + r.bottom) / 2}));
}

void Press(ui::Wnd& bar, ui::UINT id) {
  auto* button = dynamic_cast<ui::Button*>(bar.GetDlgItem(id));
  ASSERT_NE(button, nullptr);
  button->Click();
}

}  // namespace filedlg_test
