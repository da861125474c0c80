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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ispectrumcontrol.h"
#include "common/orvclientsite.h"
#include "platform/gdi/objects.h"
#include "platform/ui/bars.h"
#include "platform/ui/dockstate.h"
#include "platform/ui/menu.h"
#include "spectrum/control/dispatch/dispatchproperties.h"
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

class COrvProfDesc;

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
  plat::ole::HResult SaveToPath(std::string_view path, std::int32_t formatIndex, std::int32_t saveType,
                                std::int32_t controlNo);
  void FireOnSpectrumLoad(std::string_view path);
  // The names GetParam computes (false: a name of the record's list) and those SetParam takes
  // itself from the evaluated value (false: the list entry takes the text).
  bool ComputedParamText(std::string_view name, std::string* text);
  // The computed names that are numbers: the value in the unit their text shows, and that
  // text's printf form (false for the others: XUNITS, DATE, TIME, FILENAME and list names).
  struct ComputedNumber {
    double value = 0.0;
    const char* format = "%f";
  };
  bool ComputedParamNumber(std::string_view name, ComputedNumber* number);
  bool SetComputedParam(std::string_view name, const std::string& evaluated);
  // The plot's X unit, a point in a unit, and the width of the container's item (false: none).
  std::int32_t CurrentXUnit();
  double PointInUnit(std::int32_t point, std::int32_t unit);
  bool ItemWidth(double* width);

  // ==== Data, loading and saving (control_ispectrum.cpp, control_load.cpp) ======================
  // The shown scan's peaks (null when the scan index is outside the scans) and the points of
  // the shown data (peaks of the shown scan for MASS).
  std::vector<CSpcPoint>* ShownScanPeaks();
  std::int32_t ShownPointCount();
  plat::ole::HResult LoadSpectrumFile(const std::string& path, std::int32_t index);
  plat::ole::HResult SaveSpectrumFile(const std::string& path, std::int32_t formatIndex, std::int32_t saveOption,
                                      std::int32_t controlNo);
  // Property sets 0 and 1 into the folder's "properties" file, section "\CONTROL_<number>".
  void SavePropertySets(const std::string& folder, std::uint32_t number);

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
  // The full view and the synchronisation are the view commands' (OnFullSize, SynchronizeViews).
  void FinishCommand(unsigned steps);
  // Update rules of several commands (with the view's and analysis' OnUpdateData,
  // OnUpdateSpectrumView, OnUpdateContainer, OnUpdateSelection and OnUpdateRangeSource).
  void OnUpdateSpectrumData(ui::CmdUI* cmd) { cmd->Enable(HoldsSpectrumData()); }
  void OnUpdateFidData(ui::CmdUI* cmd) { cmd->Enable(HoldsFidData()); }
  void OnNothing() {}
  void OnUpdateNothing(ui::CmdUI*) {}
  // Properties (40023): the property pages, then modified and refreshed.
  void OnPropertiesCommand();

  // ==== Processing (control_processing.cpp) =====================================================
  void OnFourierTransform(ui::UINT id);
  void OnInverseTransform(ui::UINT id);
  void OnHilbertTransform();
  void OnWaveletTransform(ui::UINT id);
  void OnExpMultiply();
  void OnGaussMultiply();
  void OnAutoPhase();
  void OnQuickPhase();
  void OnZeroPhase();
  void OnSetPivot();
  void OnUpdateSetPivot(ui::CmdUI* cmd);
  void OnSavePhase();
  void OnRestorePhase();
  void OnShowBaseline();
  void OnUpdateShowBaseline(ui::CmdUI* cmd);
  void OnBaselineCorrection();
  void OnUpdateBaselineCorrection(ui::CmdUI* cmd);
  void OnBaselineOn();
  void OnAutoSelectPoints();
  void OnDeselectPoints();
  void OnUpdateDeselectPoints(ui::CmdUI* cmd);
  void OnBaselineMethod(ui::UINT id);
  void OnUpdateBaselineMethod(ui::CmdUI* cmd);
  void OnReverse();
  void OnShift(ui::UINT id);
  void OnNormalizeData();
  void OnResize();
  void OnCombineFiles(ui::UINT id);
  void OnCalculateSpectrum();
  // The count or size of LS, RS and RES: the first console argument, else the dialog's answer
  // (0 on Cancel).
  std::int32_t CountArgument(std::int32_t start, bool resize);
  // The explorer-style open dialog with several files allowed; empty on Cancel.
  std::vector<std::string> ChooseFiles();

  // ==== View and multi display (control_view.cpp) ===============================================
  // The whole visible range (selection and zoom history emptied), then synchronised.
  void OnFullSize();
  // Other file spectrum items of this control's kind follow its visible range and amplitude
  // while the link unit is on.
  void SynchronizeViews();
  // File spectrum items share the height in bands, in document order.
  void OnTile();
  // The spectrum controls of the container's file spectrum items (this one included), in
  // document order, with their records; empty without a container.
  struct SiteItem {
    SaItemRecord* record;
    CSpcControl* control;
  };
  std::vector<SiteItem> FileSpectrumItems();
  // The spectrum control of this module behind an item's object; null for any other object.
  static CSpcControl* ControlOf(plat::ole::IUnknown* object);
  void OnZoomIn();
  void OnUpdateZoomIn(ui::CmdUI* cmd);
  void OnZoomOut();
  void OnUpdateFullSize(ui::CmdUI* cmd);
  void OnScrollLeft();
  void OnUpdateScrollLeft(ui::CmdUI* cmd);
  void OnScrollRight();
  void OnUpdateScrollRight(ui::CmdUI* cmd);
  void OnOffsetUp();
  void OnOffsetDown();
  void OnAmplitudeUp();
  void OnAmplitudeDown();
  void OnAddYZoom();
  void OnRemoveYZoom();
  void OnUpdateRemoveYZoom(ui::CmdUI* cmd);
  void OnDisplayMode(ui::UINT id);
  void OnUpdateDisplayMode(ui::CmdUI* cmd);
  void OnDots(ui::UINT id);
  void OnUpdateDots(ui::CmdUI* cmd);
  void OnShowFid();
  void OnUpdateShowFid(ui::CmdUI* cmd);
  void OnShowSpectrum();
  void OnUpdateShowSpectrum(ui::CmdUI* cmd);
  void OnScaleUnits(ui::UINT id);
  void OnUpdateScaleUnits(ui::CmdUI* cmd);
  void OnPeakUnits(ui::UINT id);
  void OnUpdatePeakUnits(ui::CmdUI* cmd);
  void OnScan(ui::UINT id);
  void OnUpdateScan(ui::CmdUI* cmd);
  void OnClear();
  void OnUpdateData(ui::CmdUI* cmd);
  // Opens the module's INI file in the text editor, without waiting.
  void OnEditConfiguration();
  void OnClone();
  void OnUpdateSelection(ui::CmdUI* cmd);
  void OnCouple();
  void OnLoadAdditional();
  void OnUpdateContainer(ui::CmdUI* cmd);
  void OnSynchronize();
  void OnUpdateSynchronize(ui::CmdUI* cmd);
  void OnUpdateRangeSource(ui::CmdUI* cmd);

  // ==== Analysis (control_analysis.cpp) ==========================================================
  // The first and last point under the selection's edges, clamped to the data; false when the
  // selection is empty or there are no points.
  bool SelectionPoints(std::int32_t* from, std::int32_t* to);
  // The peak and integral tables that Copy Peaks and Copy Integrals put on the clipboard.
  std::vector<std::string> PeakTable();
  std::vector<std::string> IntegralTable();
  void CopyTable(const std::vector<std::string>& lines);
  bool SelectionSpan(double* from, double* to);
  bool PeakPosition(std::int32_t peak, double* x);
  void RemovePeaksIn(double from, double to);
  CSpcProcess::FullRange AutomaticRange();
  // An integral as its label shows it: its share of the total times the integral sum (0 for a
  // zero total).
  double IntegralShare(const CSpcIntegral& range, float factor);
  double SelectedIntegralSum();
  std::int32_t RightClickPoint();
  // The points under the selection's edges, or the right-click point twice without a selection.
  void SelectionOrRightClick(std::int64_t* l, std::int64_t* r);
  // The first integral holding the right-click point, or null.
  CSpcIntegral* IntegralAtRightClick();
  void OnPeakPicking();
  void OnAutoPeakPicking();
  void OnDeletePeaks();
  void OnDeleteAllPeaks();
  void OnUpdatePeaks(ui::CmdUI* cmd);
  void OnUpdateDeletePeaks(ui::CmdUI* cmd);
  void OnAutoIntegration();
  void OnDeleteIntegrals();
  void OnUpdateIntegrals(ui::CmdUI* cmd);
  void OnUpdateIntegralAt(ui::CmdUI* cmd);
  void OnDeleteIntegral();
  void OnSetIntegralValue();
  void OnAreaIntegral();
  void OnSumOfIntegrals();
  void OnSetSumOfIntegrals();
  void OnNormalizeIntegrals();
  void OnIntegralCorrection();
  void OnUpdateIntegralCorrection(ui::CmdUI* cmd);
  void OnUpdateCursorValue(ui::CmdUI* cmd);
  void OnCalibrate();
  void OnSetPeakValue();
  void OnEditText();
  void OnDeleteText();
  void OnClearArea();
  void OnUpdateIonPlot(ui::CmdUI* cmd);
  void OnGenerateIonPlot();
  void OnCopyPeaks();
  void OnCopyIntegrals();
  void OnUpdateSpectrumView(ui::CmdUI* cmd);
  bool AskIntegValue(float* value);
  bool AskPeakValue(float* value);
  bool AskRefPoint(float* hertz, float* ppm, int* ppmEntered);
  bool AskIonPlot(float* mass, float* minus, float* plus, gdi::COLORREF* color);
  // Clear Area's noise: seeded from the clock unless a test sets the seed.
  std::optional<std::uint32_t> m_noiseSeed;

  // ==== Import and export (control_files.cpp) ===================================================
  static const ui::MsgEntry* FileMessages();
  plat::ole::HResult OnImportFile();
  plat::ole::HResult OnExportFile();
  plat::ole::HResult OnExportCommand();
  // The console import IF: the path argument, spectrum 0.
  plat::ole::HResult OnImportCommand();
  void CmdImportCommand();
  void CmdExportCommand();
  void CmdImportFile();
  void CmdExportFile();

  // ==== Mouse modes (control_mouse.cpp) =========================================================
  static const ui::MsgEntry* MouseMessages();
  // The five plot cursors, made again (window creation, CursorColor and CursorType); also hands
  // the painter the marks it draws over every paint (pick marks, pivot and range lines).
  void CreatePlotCursors();
  // Mouse modes (the mode bits) and drag states (the gesture bits).
  static constexpr std::uint32_t kModePhasing = 1, kModeSelection = 2, kModePicking = 4, kModeIntegration = 8,
                                 kModeText = 16;
  static constexpr std::uint32_t kDragPhasing = 1, kDragSelection = 2, kDragPick = 4, kDragIntegration = 8;
  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnMouseMove(ui::UINT flags, ui::Point point);
  void OnLButtonUp(ui::UINT flags, ui::Point point);
  void OnLButtonDblClk(ui::UINT flags, ui::Point point);
  void OnRButtonDown(ui::UINT flags, ui::Point point);
  void OnRButtonUp(ui::UINT flags, ui::Point point);
  void OnKeyDown(ui::UINT key, ui::UINT repeat, ui::UINT flags);
  bool OnSetCursor(ui::Wnd* wnd, ui::UINT hitTest, ui::UINT message);
  // Moves cursor `which` (0 first, 1 second) to the data point (or centroid peak) at point.
  void PickPoint(ui::Point point, int which);
  // XOR marks: drawing one twice leaves the pixels as they were.
  void DrawPickMark(gdi::DC* dc, std::int32_t index);
  void DrawPivotLine(gdi::DC* dc);
  void DrawXorLine(gdi::DC* dc, ui::Point from, ui::Point to);
  // A new integral over the selection rectangle's x range (Integration, an integration drag).
  void AddIntegral();
  // A mode command: Selection sets it, the others toggle it against selection.
  void SetMouseMode(std::uint32_t mode);
  // The submenu of context menu 30001 that a right click at point opens; -1 for none.
  int ContextMenuAt(ui::Point point);
  // The cursor read-out and, during an integration drag, the integration read-out.
  std::string CursorReadout();
  std::string IntegrationReadout();
  // The read-out to the container's status line (when the control has an in-place frame).
  void ShowReadout(const std::string& text);
  void OnModeSelection() { SetMouseMode(kModeSelection); }
  void OnModePicking() { SetMouseMode(kModePicking); }
  void OnModePhasing() { SetMouseMode(kModePhasing); }
  void OnModeIntegration() { SetMouseMode(kModeIntegration); }
  void OnModeText() { SetMouseMode(kModeText); }
  void OnUpdateMode(ui::CmdUI* cmd);
  // The value dialogs the gestures and commands of these areas open; false on Cancel.
  bool AskParamValue(const std::string& name, std::string* value);
  bool AskZoomValue(float* factor);
  ui::Point m_lastPoint{};            // previous press or move of a drag
  ui::Point m_pressPoint{};           // where the selection box or integration range began
  ui::Point m_rightClick{};           // last right-button press (context-menu commands)
  CDrawObject* m_pAnchor = nullptr;   // the object the selection box began in
  gdi::Rect m_rangeRect;              // an integration range while it is dragged
  std::string m_statusText;           // the last read-out shown

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

  // ==== Dispatch interface _DSpcControl (control_dispatch.cpp) ===================================
  // The appearance properties, each a view on the first draw object of its type or on the list.
  SPC_DISPATCH_PROPERTIES(SPC_DECLARE_DISPATCH_PROPERTY)
  // The methods; string results are new strings the caller frees, null when the query fails.
  void AboutBox() {}
  char16_t* GetCurMethod();
  char16_t* GetModuleName();
  char16_t* GetCopyright();
  std::int16_t GetHiVersion();
  std::int16_t GetLowVersion();
  char16_t* GetCreateDate();
  std::int32_t GetAvailableUnits();
  // The registered library's description of _DSpcControl, else the same description built from
  // the dispatch table, so that a control made without its module's registration can still
  // store and load its properties by name.
  plat::ole::HResult GetDispatchTypeInfo(plat::ole::Lcid lcid, plat::ole::ITypeInfo** info) override;

  // ==== Property sets (control_propsets.cpp) ====================================================
  // Frees every set's snapshot, so that each set is read from its store again.
  void FreePropertySnapshots();
  // Where a set without a snapshot is read from: the registry section "<method>\Properties n"
  // below the default root, or, for a spectrum from a spectrum folder, the section
  // "\CONTROL_<spectrum number>\<n>" of the folder's INI file "properties".
  std::unique_ptr<COrvProfDesc> PropertySetStore(std::uint32_t set);

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
