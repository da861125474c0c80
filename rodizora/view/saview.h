#pragma once
// CSaView: the scrolling view of a CSaDoc. It shows the page in the page layout (the whole page
// at the document zoom on a grey ground, with rulers) or in the full view (the spectrum items
// stretched over the window), carries out the zoom commands of the standard toolbar and keeps
// the rulers of its frame (CSaFrame) in step with its scroll position and the pointer.
#include "platform/ui/docview.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/frame/saframe.h"
#include "rodizora/view/viewmapping.h"

class CSaView : public ui::ScrollView, public CSaFrameView, public ISaPageView {
  UI_DECLARE_DYNCREATE(CSaView)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr gdi::COLORREF kPageLayoutGround = 0x787878;

  CSaDoc* GetDocument() const;
  // The mapping between page units and client pixels as the view stands now.
  saview::ViewMapping Mapping() const;

  // ISaPageView
  bool IsPageLayout() const override { return m_bPageLayout; }
  bool IsPrinting() const override { return m_bPrinting; }
  // CSaFrameView
  int GetZoom() const override;
  void OnFrameActivate(bool) override {}

  void OnDraw(gdi::DC* dc) override;
  // Shows the frame's rulers for the page layout.
  void OnInitialUpdate() override;

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnHScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar);
  void OnVScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar);
  void OnMouseMove(ui::UINT flags, ui::Point point);
  void OnZoom(ui::UINT id);
  void OnViewFull();
  void OnViewPageLayout();
  void OnUpdateViewFull(ui::CmdUI* cmdUI);
  void OnUpdateViewPageLayout(ui::CmdUI* cmdUI);

 protected:
  // Grey ground, white page with its frame and shadow (page layout), or the background colour
  // (full view).
  void DrawGround(gdi::DC* dc) const;
  void SetPageLayoutExtent();
  void UpdateRulerOrigin();
  CSaFrame* Frame() const;

  bool m_bPageLayout = true;
  bool m_bPrinting = false;
  gdi::Size m_printSize;
  gdi::Rect m_fullView;
  gdi::Point m_pastePoint{10, 10};
};
