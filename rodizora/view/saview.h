#pragma once
// CSaView: the scrolling view of a CSaDoc. It shows the page in the page layout (the whole page
// at the document zoom on a grey ground, with rulers) or in the full view (the spectrum items
// stretched over the window). It draws the items, keeps one selected item with a tracker, moves
// and resizes items with the mouse, drags them within the view and to other views, runs the
// clipboard commands, inserts objects and spectra, switches modes and zoom, and keeps its frame's rulers in
// step with its scroll position and the pointer.
#include <optional>

#include "platform/ole/dataobject.h"
#include "platform/ui/docview.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/frame/saframe.h"
#include "rodizora/view/satracker.h"
#include "rodizora/view/viewmapping.h"

class CSaView : public ui::ScrollView, public CSaFrameView, public ISaPageView {
  UI_DECLARE_DYNCREATE(CSaView)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr gdi::COLORREF kPageLayoutGround = 0x787878;
  enum class DropEffect { None, Copy, Move, Link };

  CSaDoc* GetDocument() const;
  // The mapping between page units and client pixels as the view stands now.
  saview::ViewMapping Mapping() const;
  const gdi::Rect& FullViewRect() const { return m_fullView; }
  gdi::Point PastePoint() const { return m_pastePoint; }

  // ISaPageView
  bool IsPageLayout() const override { return m_bPageLayout; }
  bool IsPrinting() const override { return m_bPrinting; }
  bool PageToClient(gdi::Rect* rect) const override { return Mapping().PageToClient(rect); }
  bool ClientToPage(gdi::Rect* rect) const override { return Mapping().ClientToPage(rect); }
  bool ClientToPage(gdi::Point* point) const override { return Mapping().ClientToPage(point); }
  void SelectItem(CSaItem* item, bool activate) override { SetSelection(item, activate); }
  CSaItem* SelectedItem() const override { return m_pSelection; }
  void OnItemGone(CSaItem* item) override;
  // CSaFrameView
  int GetZoom() const override;
  void OnFrameActivate(bool) override {}

  void SetSelection(CSaItem* item, bool activate);
  bool IsSelected(const CSaItem* item) const { return item && item == m_pSelection; }
  // The item at a client point (the last one in document order); null when none.
  CSaItem* HitTest(gdi::Point client) const;

  // Pastes from a data object (the clipboard's when null): the program's own format as the items
  // it holds (moved so that their corner lands on `position` when one is given), anything else
  // as a new embedded item at `position` (page units) or at the paste point, sized by its object
  // descriptor, the caller's `size` (HIMETRIC) or its cached extent. The first item made is
  // selected; null when nothing could be pasted (then nothing was added).
  CSaItem* DoPasteItem(bool link, plat::ole::IDataObject* data, const gdi::Point* position, ui::UINT format,
                       const gdi::Size* size);
  // A drop of data at a client point (the dragged object's corner): a move of an item of this
  // view moves it; anything else pastes. True when something was dropped.
  bool OnDrop(plat::ole::IDataObject* data, DropEffect effect, gdi::Point client, CSaItem* dragged);

  void OnDraw(gdi::DC* dc) override;
  void OnInitialUpdate() override;

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnSize(ui::UINT type, int cx, int cy);
  void OnHScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar);
  void OnVScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar);
  void OnMouseMove(ui::UINT flags, ui::Point point);
  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnLButtonUp(ui::UINT flags, ui::Point point);
  void OnLButtonDblClk(ui::UINT flags, ui::Point point);
  void OnRButtonDown(ui::UINT flags, ui::Point point);
  bool OnSetCursor(ui::Wnd* wnd, ui::UINT hitTest, ui::UINT message);
  void OnCaptureChanged(ui::Wnd* wnd);
  // The tip of a child window (an item active in place): the string of its control id + 3000.
  bool OnToolTipText(ui::UINT id, ui::NMHDR* hdr, ui::LRESULT* result);

  void OnZoom(ui::UINT id);
  void OnViewFull();
  void OnViewPageLayout();
  void OnUpdateViewFull(ui::CmdUI* cmdUI);
  void OnUpdateViewPageLayout(ui::CmdUI* cmdUI);
  void OnEditClear();
  void OnEditCopy();
  void OnEditCut();
  void OnEditPaste();
  void OnEditPasteSpecial();
  void OnUpdateNeedSelection(ui::CmdUI* cmdUI);
  void OnUpdateEditPaste(ui::CmdUI* cmdUI);
  void OnInsertSpectra();
  // The insert-object dialog; the chosen class's new object becomes a selected, active item at
  // the default place. An object that cannot be made is reported and leaves the page as it was.
  void OnInsertObject();

  // --- Printing (saviewprint.cpp) ---------------------------------------------------------------
  // Draws the page on a printing DC: stretched over its HORZRES x VERTRES, no scroll position, no
  // ground or tracker, items active in place too; the full view prints with the "ViewProperties"
  // property set and gets its own back afterwards.
  void OnPrint(gdi::DC* dc, ui::PrintInfo* info);
  // The print loop of printing and exports: starts the document and a page (not for a
  // metafile), prints, ends them; the main window is disabled meanwhile. A job that cannot start
  // is reported (61702). False when nothing or not all was printed.
  bool RunPrintJob(gdi::DC& dc, saprint::PrintDevice* job, std::u16string_view docName, bool metafile);
  // The page as a Windows metafile (placeable, in the reference's pixels) or an enhanced
  // metafile (framed in 0.01 mm, described "KEDRUS") written to path; a failure is reported.
  bool WriteMetafile(gdi::DC& reference, const std::string& path, bool enhanced);
  void OnFilePrint();
  void OnFilePageSetup();
  // The application's printer changed: in the page layout the page follows its printable area.
  void PrinterChanged();
  void OnExportWmf();
  void OnExportEmf();
  // "Printer &1" .. "Printer &9": section "\DirectPrinter<n>" of "rodizora.ini".
  void OnDirectPrint(ui::UINT id);

 protected:
  void DrawGround(gdi::DC* dc) const;
  void SetPageLayoutExtent();
  void UpdateRulerOrigin();
  CSaFrame* Frame() const;
  CSaTracker TrackerFor(const CSaItem* item) const;
  void InvalidateItem(const CSaItem* item);
  // Every item to property set `set`.
  void SelectPropertySets(std::uint32_t set, bool redraw);
  // Moves pasted items off items they coincide with (by 40 page units, at most 100 times).
  void SeparateFromOthers(const std::vector<CSaItem*>& pasted);
  // The print dialog: the printer (and file) a job goes to; false when cancelled.
  bool PreparePrinting(saprint::PrinterChoice* printer, std::string* outputFile);
  void ExportMetafile(bool enhanced);

  bool m_bPageLayout = true;
  bool m_bPrinting = false;
  gdi::Size m_printSize;
  gdi::Rect m_fullView;
  gdi::Point m_pastePoint{10, 10};
  CSaItem* m_pSelection = nullptr;

 private:
  // A mouse press on the selected item, until the button comes up.
  struct MouseTrack {
    enum class Mode { Resize, Drag } mode = Mode::Resize;
    CSaItem* item = nullptr;
    CSaTracker::Hit hit = CSaTracker::kHitNothing;
    gdi::Point start;
    gdi::Rect startRect;  // client pixels
    gdi::Point offset;    // the press point less the item's corner (dragging)
    std::optional<gdi::Rect> shown;  // the feedback rectangle drawn now
  };
  void ShowFeedback(const std::optional<gdi::Rect>& rect);
  void EndTrack(gdi::Point point, ui::UINT flags);
  std::optional<MouseTrack> m_track;
  static constexpr ui::UINT kChildTipStringOffset = 3000;
  std::string m_toolTipText;  // the tip shown now (the tool tip holds on to its text)
};
