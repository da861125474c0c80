#pragma once
// Stand-ins for the controls a page embeds, served from this process's class table under the
// real class ids: a spectrum control (CLSID_Spc) that reads "fake spectrum files", a table
// (CLSID_TableControl) and a structure control (CLSID_StructureControl).
//
// A fake spectrum file is text: the line "FAKESPC" (after the 12 header bytes of the data
// server in a file it sent), then one line per spectrum with its kind
// ("NMR", "MASS", ...); a spectrum line "CORRUPT" cannot be loaded (the control says so in a
// message box, as a real one does). The control draws itself filled with its kind's colour.
//
// Saved into a workspace directory, spectrum control number n writes the file "spectrum_<n>"
// (a fake spectrum file of its kind and its processing commands) and table number m the file
// "table_<m>"; loading from the directory reads them back.
#include <string>
#include <vector>

#include "common/ispectrumcontrol.h"
#include "common/itablecontrol.h"
#include "common/orvclientsite.h"
#include "platform/ole/control.h"

namespace fakes {

// The colour a kind's control fills itself with.
gdi::COLORREF KindColor(const std::string& kind);

// Writes a fake spectrum file of these kinds; answers its path.
std::string WriteSpectrumFile(const std::string& dir, const std::string& name, const std::vector<std::string>& kinds);

class FakeSpectrum : public plat::ole::OleControl {
 public:
  FakeSpectrum();
  ~FakeSpectrum() override;

  plat::ole::Guid GetClassID() const override;
  plat::DWord GetMiscStatus() const override;
  void DoPropExchange(plat::ole::PropExchange* px) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  void OnSetClientSite() override;
  void OnClose(plat::DWord saveOption) override;

  // Every live fake spectrum control, in creation order.
  static std::vector<FakeSpectrum*>& Live();
  // The number of item records the control's site walk visits.
  int WalkItems() const;

  std::string path;
  std::int32_t index = -1;
  std::string kind;
  std::string commands;     // every ExecuteCommands, ";"-joined
  std::int32_t propertySet = 0;
  std::vector<std::int32_t> propertySets;  // every set selected, in order
  IOrvClientSite* site = nullptr;
  // The zoom the site answered when the control last drew (-1 without a site).
  std::int32_t drawnAtZoom = -1;
  // Every spectrum and table save fails while this is set.
  static bool failSaves;
  // Loads and saves that ran while the wait cursor showed, and those that ran without it.
  static int busyCalls, idleCalls;

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XSpectrumControl : plat::ole::Nested<ISpectrumControl> {
    using Nested::Nested;
    HResult GetCurMethod(Bstr* method) override;
    HResult GetModuleName(Bstr*) override { return plat::ole::kFail; }
    HResult GetCopyright(Bstr*) override { return plat::ole::kFail; }
    HResult GetVersion(std::int16_t*, std::int16_t*) override { return plat::ole::kFail; }
    HResult GetCreateDate(Bstr*) override { return plat::ole::kFail; }
    // A fake spectrum file is format "FAKE" of its first spectrum's kind.
    HResult GetFileFormats(const char16_t* path, Bstr* format, Bstr* kinds) override;
    HResult LoadSpectrum(const char16_t* path, std::int32_t index) override;
    HResult SaveSpectrum(const char16_t* path, std::int32_t format, std::int32_t option, std::int32_t number) override;
    HResult GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) override { return plat::ole::kFail; }
    HResult GetKindFormatCount(std::int32_t*) override { return plat::ole::kFail; }
    HResult GetParamNames(Bstr*) override { return plat::ole::kFail; }
    HResult GetParam(const char16_t* name, Bstr* value) override;
    HResult SetParam(const char16_t*, const char16_t*) override { return plat::ole::kFail; }
    HResult GetParamDescription(const char16_t*, Bstr*) override { return plat::ole::kFail; }
    HResult ExecuteCommands(const char16_t* commands) override;
    HResult GetMethods(Bstr* list) override;
    HResult GetData(plat::ole::SafeArray**) override { return plat::ole::kFail; }
    HResult GetSpectraCount(const char16_t* path, std::int32_t* n) override;
    HResult GetCount(std::int32_t*) override { return plat::ole::kFail; }
    HResult GetCurIndex(std::int32_t*) override { return plat::ole::kFail; }
    HResult SetCurIndex(std::int32_t) override { return plat::ole::kFail; }
    HResult TakeResult(plat::ole::Variant*) override { return plat::ole::kFail; }
    HResult GetSize(std::int32_t*) override { return plat::ole::kFail; }
    HResult SetData(plat::ole::SafeArray*) override { return plat::ole::kFail; }
  } xSpectrumControl_{*this};
  struct XSaItem : plat::ole::Nested<ISaItem> {
    using Nested::Nested;
    HResult SelectPropertySet(std::uint32_t set, std::int32_t redraw) override;
    HResult GetPropertySet(std::uint32_t* set) override;
  } xSaItem_{*this};
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

class FakeTable : public plat::ole::OleControl {
 public:
  FakeTable();
  ~FakeTable() override;
  plat::ole::Guid GetClassID() const override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  void OnClose(plat::DWord saveOption) override;
  static std::vector<FakeTable*>& Live();

  std::string attachedKind;
  std::string loadedFrom;  // the file LoadTable read

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XTableControl : plat::ole::Nested<ITableControl> {
    using Nested::Nested;
    HResult AttachSpectrum(ISpectrumControl* spectrum) override;
    HResult GetSpectrum(ISpectrumControl** spectrum) override;
    HResult SetTableSize(std::uint32_t, std::uint32_t) override { return plat::ole::kOk; }
    HResult GetTableSize(std::uint32_t*, std::uint32_t*) override { return plat::ole::kOk; }
    HResult SetCellText(std::uint32_t, std::uint32_t, const char16_t*) override { return plat::ole::kFail; }
    HResult GetCellText(std::uint32_t, std::uint32_t, char16_t*, std::int32_t) override { return plat::ole::kFail; }
    HResult SetCellColor(std::uint32_t, std::uint32_t, std::uint32_t) override { return plat::ole::kFail; }
    HResult GetCellColor(std::uint32_t, std::uint32_t, std::uint32_t*) override { return plat::ole::kFail; }
    HResult GetCellFont(std::uint32_t, std::uint32_t, plat::ole::IDispatch**) override { return plat::ole::kFail; }
    HResult SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) override;
    HResult LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) override;
  } xTableControl_{*this};
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
  ISpectrumControl* spectrum_ = nullptr;
};

class FakeStructure : public plat::ole::OleControl {
 public:
  FakeStructure();
  ~FakeStructure() override;
  plat::ole::Guid GetClassID() const override;
  void DoPropExchange(plat::ole::PropExchange* px) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  static std::vector<FakeStructure*>& Live();
  // Automation method 100: the molfile's text is read at once (the caller deletes the file).
  plat::ole::HResult LoadFile(const char16_t* path);
  static const plat::ole::DispInterfaceDesc& Dispatch();

  std::string molfile;
};

// Serves the three classes from the class table while it lives; at its end no fake is left.
class FakeControls {
 public:
  FakeControls();
  ~FakeControls();
  FakeControls(const FakeControls&) = delete;
  FakeControls& operator=(const FakeControls&) = delete;

 private:
  plat::DWord cookies_[3] = {};
};

}  // namespace fakes
