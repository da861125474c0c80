#include "rodizora/doc/tests/fakecontrols.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/guids.h"
#include "common/shared_ids.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/gdi/dc.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/waitcursor.h"

namespace fakes {

using namespace plat::ole;

namespace {

// A line starting with "@" holds the processing commands run on the spectra before it was saved.
std::vector<std::string> ReadKinds(const std::string& path, bool* ok, std::string* commands = nullptr) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> kinds;
  // A file from the data server keeps the server's 12 header bytes in front of the text.
  *ok = std::getline(in, line) && (line == "FAKESPC" || (line.size() == 19 && line.ends_with("FAKESPC")));
  while (*ok && std::getline(in, line))
    if (line.rfind('@', 0) == 0) {
      if (commands) *commands = line.substr(1);
    } else if (!line.empty()) {
      kinds.push_back(line);
    }
  return kinds;
}

bool IsDirectory(const std::string& path) { return std::filesystem::is_directory(path); }

// The file of control number n in a workspace directory.
std::string NumberedFile(const std::string& dir, const char* what, std::uint32_t n) {
  return dir + "/" + what + "_" + std::to_string(n);
}

const DispInterfaceDesc kSpectrumDispatch{"_DSpcControl", &DIID__DSpcControl, "fake", {}};
const DispInterfaceDesc kTableDispatch{"_DTableControl", &DIID__DTableControl, "fake", {}};

}  // namespace

gdi::COLORREF KindColor(const std::string& kind) {
  if (kind == "NMR") return gdi::RGB(0, 0, 200);
  if (kind == "MASS") return gdi::RGB(200, 0, 0);
  return gdi::RGB(0, 160, 0);
}

std::string WriteSpectrumFile(const std::string& dir, const std::string& name, const std::vector<std::string>& kinds) {
  const std::string path = dir + "/" + name;
  std::ofstream out(path);
  out << "FAKESPC\n";
  for (const std::string& kind : kinds) out << kind << "\n";
  return path;
}

// --- Spectrum --------------------------------------------------------------------------------------------

const ComObject::InterfaceEntry FakeSpectrum::kEntries[] = {
    interfaceEntry<ISpectrumControl, &FakeSpectrum::xSpectrumControl_>(IID_ISpectrumControl),
    interfaceEntry<ISaItem, &FakeSpectrum::xSaItem_>(IID_ISaItem),
};
const ComObject::InterfaceMap FakeSpectrum::kMap{&OleControl::kInterfaceMap, kEntries};

std::vector<FakeSpectrum*>& FakeSpectrum::Live() {
  static std::vector<FakeSpectrum*> all;
  return all;
}

FakeSpectrum::FakeSpectrum() : OleControl(kSpectrumDispatch) {
  Live().push_back(this);
  SetInitialSize(300, 150);
  EnableSimpleFrame();
}

FakeSpectrum::~FakeSpectrum() { std::erase(Live(), this); }

Guid FakeSpectrum::GetClassID() const { return CLSID_Spc; }

plat::DWord FakeSpectrum::GetMiscStatus() const { return OLEMISC_SETCLIENTSITEFIRST | OLEMISC_SIMPLEFRAME; }

void FakeSpectrum::DoPropExchange(PropExchange* px) {
  ExchangeVersion(px, 1);
  OleControl::DoPropExchange(px);
  PX_String(px, "Path", path, "");
  PX_Long(px, "Index", index, -1);
  PX_String(px, "Kind", kind, "");
  PX_String(px, "Commands", commands, "");
  PX_Long(px, "Set", propertySet, 0);
}

void FakeSpectrum::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  drawnAtZoom = site ? site->GetZoom() : -1;
  dc->FillSolidRect(bounds, KindColor(kind));
}

void FakeSpectrum::OnSetClientSite() {
  if (site) site->Release();
  site = nullptr;
  void* found = nullptr;
  if (IOleClientSite* client = GetClientSite(); client && !failed(client->QueryInterface(IID_IOrvClientSite, &found)))
    site = static_cast<IOrvClientSite*>(found);
}

void FakeSpectrum::OnClose(plat::DWord saveOption) {
  if (site) site->Release();
  site = nullptr;
  OleControl::OnClose(saveOption);
}

int FakeSpectrum::WalkItems() const {
  if (!site) return -1;
  int count = 0;
  IUnknown* object = nullptr;
  for (SaItemRecord* r = site->GetFirstItem(&object); r && count < 1000; r = site->GetNextItem(r, &object)) ++count;
  return count;
}

HResult FakeSpectrum::XSpectrumControl::GetCurMethod(Bstr* method) {
  const FakeSpectrum& self = outer<FakeSpectrum>();
  if (self.kind.empty()) return kFail;
  *method = allocString(plat::toUtf16(self.kind));
  return kOk;
}

bool FakeSpectrum::failSaves = false;
int FakeSpectrum::busyCalls = 0;
int FakeSpectrum::idleCalls = 0;

namespace {
void CountBusy() { ++(ui::IsWaitCursorShown() ? FakeSpectrum::busyCalls : FakeSpectrum::idleCalls); }
}  // namespace

HResult FakeSpectrum::XSpectrumControl::LoadSpectrum(const char16_t* path, std::int32_t index) {
  CountBusy();
  FakeSpectrum& self = outer<FakeSpectrum>();
  bool ok = false;
  std::string file = plat::toUtf8(stringView(path));
  // A workspace: spectrum number index is the first one of its own file there.
  if (IsDirectory(file)) {
    if (index < 0) return kFail;
    file = NumberedFile(file, "spectrum", static_cast<std::uint32_t>(index));
    index = 0;
  }
  std::string commands;
  const auto kinds = ReadKinds(file, &ok, &commands);
  if (!ok || index < 0 || index >= static_cast<std::int32_t>(kinds.size())) return kFail;
  if (kinds[index] == "CORRUPT") {
    ui::AppMessageBox("The spectrum cannot be read.", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return kFail;
  }
  self.path = file;
  self.index = index;
  self.kind = kinds[index];
  self.commands = commands;
  self.SetModifiedFlag();
  return kOk;
}

HResult FakeSpectrum::XSpectrumControl::GetParam(const char16_t* name, Bstr* value) {
  const FakeSpectrum& self = outer<FakeSpectrum>();
  if (!plat::equalsNoCase(stringView(name), u"FILENAME") || self.path.empty()) return kFail;
  *value = allocString(plat::toUtf16(self.path));
  return kOk;
}

HResult FakeSpectrum::XSpectrumControl::SaveSpectrum(const char16_t* path, std::int32_t, std::int32_t,
                                                     std::int32_t number) {
  CountBusy();
  const FakeSpectrum& self = outer<FakeSpectrum>();
  if (failSaves || number < 0) return kFail;
  std::string file = plat::toUtf8(stringView(path));
  if (IsDirectory(file)) file = NumberedFile(file, "spectrum", static_cast<std::uint32_t>(number));
  std::ofstream out(file);
  out << "FAKESPC\n" << self.kind << "\n@" << self.commands << "\n";
  return out.good() ? kOk : kFail;
}

HResult FakeSpectrum::XSpectrumControl::ExecuteCommands(const char16_t* commands) {
  FakeSpectrum& self = outer<FakeSpectrum>();
  if (!self.commands.empty()) self.commands += ";";
  self.commands += plat::toUtf8(stringView(commands));
  return kOk;
}

HResult FakeSpectrum::XSpectrumControl::GetMethods(Bstr* list) {
  *list = allocString(u"NMR;MASS;IR;UV;CH");
  return kOk;
}

HResult FakeSpectrum::XSpectrumControl::GetFileFormats(const char16_t* path, Bstr* format, Bstr* kinds) {
  bool ok = false;
  const auto read = ReadKinds(plat::toUtf8(stringView(path)), &ok);
  if (!ok || read.empty()) return kFail;
  *format = allocString(u"FAKE");
  *kinds = allocString(plat::toUtf16(read.front()));
  return kOk;
}

HResult FakeSpectrum::XSpectrumControl::GetSpectraCount(const char16_t* path, std::int32_t* n) {
  bool ok = false;
  const auto kinds = ReadKinds(plat::toUtf8(stringView(path)), &ok);
  *n = ok ? static_cast<std::int32_t>(kinds.size()) : 0;
  return ok ? kOk : kFail;
}

HResult FakeSpectrum::XSaItem::SelectPropertySet(std::uint32_t set, std::int32_t) {
  outer<FakeSpectrum>().propertySet = static_cast<std::int32_t>(set);
  outer<FakeSpectrum>().propertySets.push_back(static_cast<std::int32_t>(set));
  return kOk;
}

HResult FakeSpectrum::XSaItem::GetPropertySet(std::uint32_t* set) {
  *set = static_cast<std::uint32_t>(outer<FakeSpectrum>().propertySet);
  return kOk;
}

// --- Table ---------------------------------------------------------------------------------------------

const ComObject::InterfaceEntry FakeTable::kEntries[] = {
    interfaceEntry<ITableControl, &FakeTable::xTableControl_>(IID_ITableControl),
};
const ComObject::InterfaceMap FakeTable::kMap{&OleControl::kInterfaceMap, kEntries};

std::vector<FakeTable*>& FakeTable::Live() {
  static std::vector<FakeTable*> all;
  return all;
}

FakeTable::FakeTable() : OleControl(kTableDispatch) {
  Live().push_back(this);
  SetInitialSize(200, 60);
}

FakeTable::~FakeTable() { std::erase(Live(), this); }

Guid FakeTable::GetClassID() const { return CLSID_TableControl; }

void FakeTable::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) { dc->FillSolidRect(bounds, 0x00C0C0); }

void FakeTable::OnClose(plat::DWord saveOption) {
  if (spectrum_) spectrum_->Release();
  spectrum_ = nullptr;
  OleControl::OnClose(saveOption);
}

HResult FakeTable::XTableControl::AttachSpectrum(ISpectrumControl* spectrum) {
  FakeTable& self = outer<FakeTable>();
  if (spectrum) spectrum->AddRef();
  if (self.spectrum_) self.spectrum_->Release();
  self.spectrum_ = spectrum;
  Bstr kind = nullptr;
  if (spectrum && spectrum->GetCurMethod(&kind) == kOk) self.attachedKind = plat::toUtf8(stringView(kind));
  freeString(kind);
  return kOk;
}

HResult FakeTable::XTableControl::SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) {
  if (FakeSpectrum::failSaves || kind != 1) return kFail;
  std::ofstream out(NumberedFile(plat::toUtf8(stringView(path)), "table", index));
  out << "table\n";
  return out.good() ? kOk : kFail;
}

HResult FakeTable::XTableControl::LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) {
  const std::string file = NumberedFile(plat::toUtf8(stringView(path)), "table", index);
  if (kind != 1 || !std::filesystem::exists(file)) return kFail;
  outer<FakeTable>().loadedFrom = file;
  return kOk;
}

HResult FakeTable::XTableControl::GetSpectrum(ISpectrumControl** spectrum) {
  *spectrum = outer<FakeTable>().spectrum_;
  return *spectrum ? kOk : kFail;
}

// --- Structure ---------------------------------------------------------------------------------------------

const DispInterfaceDesc& FakeStructure::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispMethod<&FakeStructure::LoadFile>("LoadFile", 100, DispType::Error, {{"pszFileName", DispType::Bstr}}),
  };
  static constexpr DispInterfaceDesc kDesc{"_DStructureControl", &DIID__DStructureControl, "fake", kMembers};
  return kDesc;
}

std::vector<FakeStructure*>& FakeStructure::Live() {
  static std::vector<FakeStructure*> all;
  return all;
}

FakeStructure::FakeStructure() : OleControl(Dispatch()) {
  Live().push_back(this);
  SetInitialSize(100, 100);
}

FakeStructure::~FakeStructure() { std::erase(Live(), this); }

Guid FakeStructure::GetClassID() const { return CLSID_StructureControl; }

void FakeStructure::DoPropExchange(PropExchange* px) {
  ExchangeVersion(px, 1);
  OleControl::DoPropExchange(px);
  PX_String(px, "Molfile", molfile, "");
}

void FakeStructure::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) { dc->FillSolidRect(bounds, 0x808000); }

HResult FakeStructure::LoadFile(const char16_t* path) {
  std::ifstream in(plat::toUtf8(stringView(path)));
  std::ostringstream text;
  text << in.rdbuf();
  molfile = text.str();
  SetModifiedFlag();
  return kOk;
}

// --- Registration ---------------------------------------------------------------------------------------------

FakeControls::FakeControls() {
  const ObjectCreator creators[] = {&createObject<FakeSpectrum>, &createObject<FakeTable>, &createObject<FakeStructure>};
  const Guid* ids[] = {&CLSID_Spc, &CLSID_TableControl, &CLSID_StructureControl};
  for (int i = 0; i < 3; ++i) {
    IClassFactory* factory = nullptr;
    if (ClassFactory::create(creators[i], IID_IClassFactory, reinterpret_cast<void**>(&factory)) != kOk) continue;
    registerClassObject(*ids[i], factory, &cookies_[i]);
    factory->Release();
  }
}

FakeControls::~FakeControls() {
  for (plat::DWord cookie : cookies_)
    if (cookie) revokeClassObject(cookie);
}

}  // namespace fakes
