#pragma once
// CSpcControl: the ActiveX control that shows and processes one spectrum. It owns the spectrum
// record and the processing object on it, the plot (draw-object list) and its painter, its
// menus, accelerators and cursors, the per-kind tool-bar state, the console's arguments and
// result, and the persistent state a container saves with the item.
//
// The class is written in areas, one source file each (control_<area>.cpp), so that each can
// grow on its own. Each area keeps its declarations in its block below and its message-map
// entries in a table of its own (<Area>Messages); control_msgmap.cpp chains the tables into the
// control's message map, the core's first. An area with nothing to route keeps an empty table.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/ispectrumcontrol.h"
#include "common/orvclientsite.h"
#include "platform/gdi/objects.h"
#include "platform/ui/bars.h"
#include "platform/ui/dockstate.h"
#include "platform/ui/menu.h"
#include "spectrum/control/frames/olecontrolex.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/plotpainter.h"
#include "spectrum/data/cvariant.h"
#include "spectrum/data/spcdata.h"
#include "spectrum/data/spcprocess.h"

// One earlier visible x range (point indexes, or masses for MASS).
struct CZoomBounds {
  float left = 0.0f;
  float right = 0.0f;
  friend bool operator==(const CZoomBounds&, const CZoomBounds&) = default;
};

class CSpcControl : public COleControlEx, public CPlotHost, public CZoomSource {
  UI_DECLARE_DYNAMIC(CSpcControl)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSpcControl();
  ~CSpcControl() override;

  // ==== Core (control_core.cpp): identity, window, view, menus ==================================
  static const ui::MsgEntry* CoreMessages();
  plat::ole::Guid GetClassID() const override;
  plat::DWord GetMiscStatus() const override;
  std::u16string GetUserTypeName() const override;
  const plat::ole::Guid* GetPropPageIDs(std::uint32_t& count) override;
  // The record holds FID points, spectrum points or scans.
  bool HoldsData() const { return m_data.HasData(); }
  // Drops the cached picture, invalidates (the rectangle, or all) and updates the bars.
  void Refresh(const gdi::Rect* rect = nullptr);
  void RebuildPicture();
  // The in-place menu for what the record holds: 30004 without data, 30002 for MASS, else 30000.
  void ReloadMenus();
  // Before a load and at destruction: the outgoing kind's bar state saved, processing reset,
  // draw objects and overview picture gone, menus for no data.
  void ClearData();
  // The view's defaults: selection mode, the default objects and the full visible range.
  void ResetView();
  ui::Menu* OnGetInPlaceMenu() override;
  bool PreTranslateMessage(ui::MSG* msg) override;
  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();

  // ==== Client site (control_site.cpp) ==========================================================
  void OnSetClientSite() override;
  void OnClose(plat::DWord saveOption) override;
  // The container's zoom percent (100 without IOrvClientSite).
  std::int32_t GetZoom() override;

  // ==== Persistence (control_persist.cpp) =======================================================
  // The persisted-properties stamp: major 0, minor 184.
  static constexpr plat::DWord kPersistVersion = 184;
  void DoPropExchange(plat::ole::PropExchange* px) override;
  void Serialize(plat::Archive& ar) override;
  // This control becomes a copy of the source's persistent state.
  bool SaveToGlobal(CSpcControl* source);

  // ==== Bars (control_bars.cpp) =================================================================
  // The per-kind section: the current method name followed by "-Toolbars".
  std::string BarStateSection();
  void LoadBarState();
  void SaveBarState();
  void CreateControlBars(CMainFrameWnd* frame) override;
  plat::ole::HResult OnActivateInPlace(bool uiActivate, ui::MSG* msg) override;
  void OnHideToolBars() override;
  // One bar object of the nine, and its window in the main frame (control_toolbars.cpp).
  static std::unique_ptr<ui::ControlBar> MakeControlBar(ui::UINT id);
  static bool CreateControlBar(ui::ControlBar& bar, CMainFrameWnd* frame, ui::UINT id, ui::DWORD style);

  // ==== Parameters and expressions (control_params.cpp) =========================================
  bool GetParamText(std::string_view name, std::string* text);
  bool SetParamText(std::string_view name, std::string_view text);
  bool EvaluateExpression(std::string& text);
  bool ExpandStringExpression(std::string& text);
  bool GetParam(std::string_view name, std::string* value) override;  // for the plot's titles
  plat::ole::HResult LoadFromPath(std::string_view path, std::int32_t index);
  void FireOnSpectrumLoad(std::string_view path);

  // ==== Painting (control_paint.cpp) ============================================================
  static const ui::MsgEntry* PaintMessages();
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  void OnDrawMetafile(gdi::DC* dc, const gdi::Rect& bounds) override;

  // ==== Commands (control_processing.cpp, control_view.cpp, control_analysis.cpp) ===============
  static const ui::MsgEntry* ProcessingMessages();
  static const ui::MsgEntry* ViewMessages();
  static const ui::MsgEntry* AnalysisMessages();
  // When commands are enabled (control_commands.cpp). "Data" is HoldsData() of the core.
  // At least one spectrum point or one scan.
  bool HoldsSpectrumData() const;
  // Spectrum data shown in the spectrum domain.
  bool ShowsSpectrum() const;
  // At least one FID point.
  bool HoldsFidData() const;
  // The selection rectangle is not empty.
  bool HasSelection() const;
  // Spectrum view, and a selection, a first cursor that is set or console arguments.
  bool HasRangeSource() const;
  // The container offers its own client-site interface.
  bool HasContainer() const { return m_pOrvSite != nullptr; }
  // A frame hosts the control's tool bars.
  bool HasBarFrame() const { return GetMainFrame() != nullptr; }
  // The mouse's selection rectangle (client pixels, empty when none) and the two pick cursors
  // (data point index, or peak index of a centroid mass spectrum; -1 when not set). The plot
  // keeps them, since its objects move and draw them.
  gdi::Rect& SelectionRect() { return m_drawList.m_selection; }
  const gdi::Rect& SelectionRect() const { return m_drawList.m_selection; }
  std::int32_t& FirstCursor() { return m_drawList.m_nPickCursor1; }
  std::int32_t FirstCursor() const { return m_drawList.m_nPickCursor1; }
  std::int32_t& SecondCursor() { return m_drawList.m_nPickCursor2; }
  std::int32_t SecondCursor() const { return m_drawList.m_nPickCursor2; }
  // What a handler does after its operation, always in this order: the picture rebuilt, the
  // full view, the other views synchronised, the control marked modified, refreshed.
  enum CommandStep : unsigned {
    kStepRebuild = 1,
    kStepFullSize = 2,
    kStepSynchronize = 4,
    kStepModified = 8,
    kStepRefresh = 16,
  };
  void FinishCommand(unsigned steps);
  // The full visible range, and the views of the other items brought in line (control_view.cpp).
  void OnFullSize();
  void SynchronizeViews();

  // ==== Import and export (control_files.cpp) ===================================================
  static const ui::MsgEntry* FileMessages();

  // ==== Mouse modes (control_mouse.cpp) =========================================================
  static const ui::MsgEntry* MouseMessages();
  // The five plot cursors (window creation).
  void CreatePlotCursors();

  // ==== Console (control_console.cpp) ===========================================================
  static const ui::MsgEntry* ConsoleMessages();
  // A command as the menus send it (its update rule decides whether it runs).
  void RunConsoleCommand(ui::UINT commandId);
  // The bar show/hide commands and the macro list.
  void OnToggleBar(ui::UINT commandId);
  void OnUpdateToggleBar(ui::CmdUI* cmdUI);
  void OnEditMacroList();
  void OnUpdateEditMacroList(ui::CmdUI* cmdUI);
  // Tool tips of the bars' buttons: the help text of the button's console word.
  bool OnToolTipText(ui::UINT id, ui::NMHDR* hdr, ui::LRESULT* result);

  // ==== Members, in declaration order ============================================================
  ui::Menu m_inPlaceMenu;                 // the popups the control adds while UI-active
  CSpcData m_data;                        // the spectrum record
  CSpcProcess m_process;                  // processing on the record
  std::vector<CZoomBounds> m_zoomHistory;  // earlier visible ranges; persisted
  CDrawObjectList m_drawList;             // the plot
  CPlotPainter m_painter;                 // the cached screen bitmap and the overview picture
  std::uint32_t m_mouseMode = 0;          // what a left-button drag does
  std::uint32_t m_dragState = 0;          // the gesture in progress
  gdi::Bitmap m_pickMark;                 // drawn above a picked point
  std::array<ui::HCURSOR, 5> m_cursors{};  // the plot's cursors, made at window creation
  std::uint32_t m_propertySet = 0;        // the selected property set; persisted
  std::map<std::uint32_t, std::vector<std::uint8_t>> m_propertySnapshots;  // appearance per set
  ui::AccelTable m_accelerators;          // resource 200
  std::uint32_t m_runStartup = 0;         // run "STARTUP" once at window creation; persisted
  std::string m_propertyFolder;           // folder of the "properties" file, empty: registry; persisted
  std::uint32_t m_spectrumNumber = 0;     // the spectrum's index in its file or folder; persisted
  std::uint32_t m_linkUnit = 0;           // 1 while the visible range follows the kind's items; persisted
  std::vector<CVariant> m_args;           // arguments of the console command being run (text)
  ui::DockState m_dockState;              // dock layout of the current kind's bars
  std::map<std::uint32_t, std::uint32_t> m_barStates;  // bar id -> state flags; persisted
  CVariant m_result;                      // result of the last console command
  IOrvClientSite* m_pOrvSite = nullptr;   // the container's own interface, when it offers it

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  // The control's own state after the class library's, in archive order (Serialize).
  void SerializeOwnState(plat::Archive& ar);

  // ==== ISpectrumControl (control_ispectrum.cpp; loading and saving in control_load.cpp, ========
  // ==== ExecuteCommands in control_console.cpp) ================================================
  struct XSpectrumControl : plat::ole::Nested<ISpectrumControl> {
    using Nested::Nested;
    HResult GetCurMethod(Bstr* method) override;
    HResult GetModuleName(Bstr* text) override;
    HResult GetCopyright(Bstr* text) override;
    HResult GetVersion(std::int16_t* hi, std::int16_t* lo) override;
    HResult GetCreateDate(Bstr* date) override;
    HResult GetFileFormats(const char16_t* path, Bstr* formatName, Bstr* kinds) override;
    HResult LoadSpectrum(const char16_t* path, std::int32_t index) override;
    HResult SaveSpectrum(const char16_t* path, std::int32_t formatIndex, std::int32_t saveOption,
                         std::int32_t controlNo) override;
    HResult GetFormat(std::int32_t index, Bstr* name, Bstr* saveOptions, std::int32_t* caps) override;
    HResult GetKindFormatCount(std::int32_t* n) override;
    HResult GetParamNames(Bstr* names) override;
    HResult GetParam(const char16_t* name, Bstr* value) override;
    HResult SetParam(const char16_t* name, const char16_t* value) override;
    HResult GetParamDescription(const char16_t* name, Bstr* text) override;
    HResult ExecuteCommands(const char16_t* commands) override;
    HResult GetMethods(Bstr* list) override;
    HResult GetData(plat::ole::SafeArray** data) override;
    HResult GetSpectraCount(const char16_t* path, std::int32_t* n) override;
    HResult GetCount(std::int32_t* n) override;
    HResult GetCurIndex(std::int32_t* index) override;
    HResult SetCurIndex(std::int32_t index) override;
    HResult TakeResult(plat::ole::Variant* result) override;
    HResult GetSize(std::int32_t* n) override;
    HResult SetData(plat::ole::SafeArray* data) override;
  } m_xSpectrumControl{*this};

  // ==== ISaItem (control_propsets.cpp) ===========================================================
  struct XSaItem : plat::ole::Nested<ISaItem> {
    using Nested::Nested;
    HResult SelectPropertySet(std::uint32_t set, std::int32_t redraw) override;
    HResult GetPropertySet(std::uint32_t* set) override;
  } m_xSaItem{*this};

  static const InterfaceEntry kEntries[];

 public:
  ISpectrumControl* SpectrumControl() { return &m_xSpectrumControl; }
  ISaItem* SaItem() { return &m_xSaItem; }
};
