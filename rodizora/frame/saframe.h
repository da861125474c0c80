#pragma once
// CSaFrame: the MDI child frame of every document window. It hosts the document's view, can draw
// the two rulers (CRulers) inside its own non-client area along its top and left edge, marks the
// pointer or a dragged rectangle on them, keeps the standard toolbar's zoom combo in step with
// the active document, and tells its view when it is activated or deactivated.
//
// What the view calls:
//  - ShowRulers(on): the page-layout view shows them, the full view hides them (the client area
//    then starts 25 pixels further right and down, or back);
//  - UpdateRulers(): after the document's zoom changed (zoom combo and ruler scale follow);
//  - SetRulerOrigin(x, y): the millimetres of the page at the view's top-left corner, after a scroll;
//  - ShowRulerCrosshair(x, y) while the pointer moves, ShowRulerRect(r) while a rectangle is dragged
//    (view client pixels).
// The view implements CSaFrameView, through which the frame reads the zoom and reports activation.
#include "platform/ui/docview.h"
#include "platform/ui/frame.h"
#include "rodizora/frame/rulers.h"

class CSaFrameView {
 public:
  virtual ~CSaFrameView() = default;
  // The zoom percent of the view's document.
  virtual int GetZoom() const = 0;
  // The frame became the active document window (true), or another one did (false).
  virtual void OnFrameActivate(bool active) = 0;
};

class CSaFrame : public ui::MDIChildWnd {
  UI_DECLARE_DYNCREATE(CSaFrame)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSaFrame();

  static constexpr float kPixelsPerMillimetre = 4.0f;

  void ShowRulers(bool show);
  bool RulersShown() const { return m_bRulers; }
  void UpdateRulers();
  void SetRulerOrigin(float x, float y);
  void ShowRulerCrosshair(int x, int y);
  void ShowRulerRect(const ui::Rect& rect);
  const CRulers& GetRulers() const { return m_rulers; }
  // The view made from the creation context (null when there was none).
  ui::View* GetView() const { return m_pView; }

  bool OnCreateClient(ui::CREATESTRUCT* cs, ui::CreateContext* context) override;
  int OnCreate(ui::CREATESTRUCT* cs);
  ui::LRESULT OnMDIActivate(ui::WPARAM wParam, ui::LPARAM lParam);
  void OnNcCalcSize(bool calcValidRects, ui::NCCALCSIZE_PARAMS* params);
  void OnNcPaint();

 private:
  CSaFrameView* ViewSide() const;
  // The ruler area in window coordinates.
  ui::Rect RulerArea() const;
  void RepaintRulers();

  CRulers m_rulers;
  ui::View* m_pView = nullptr;
  bool m_bRulers = false;
};
