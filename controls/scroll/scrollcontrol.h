#pragma once
// CScrollControl: the overview strip of a spectrum (coclass ScrollControl, CLSID_ScrollControl).
// The host hands it a picture of the whole spectrum (Image, a picture handle it owns), the point
// count and the shown range; the strip draws the picture with the range highlighted. A click
// opens a panel as wide as the screen and 64 pixels high below it; dragging in the panel with
// the left button held shifts the range and fires NewBoundsSet, on which the host reads the
// bounds. The strip keeps no persistent state of its own.
#include "controls/scroll/scrollstrip.h"
#include "controls/base/karvelcontrol.h"

namespace karvel {

class CScrollControl;

// The popup overview below the strip.
class CScrollPanel : public ui::Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CScrollPanel(const CScrollControl& strip) : m_strip(strip) {}

 private:
  void OnPaint();
  const CScrollControl& m_strip;
};

class CScrollControl : public CKarvelControl {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CScrollControl();
  ~CScrollControl() override;

  static const plat::ole::DispInterfaceDesc& Dispatch();
  static const plat::ole::DispInterfaceDesc& Events();
  static const plat::ole::CoClassDesc& CoClass();

  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;

  // ---- Properties (the dispatch table's handlers) ----
  std::int32_t GetRightBound() { return m_range.right; }
  void SetRightBound(std::int32_t bound);
  std::int32_t GetLeftBound() { return m_range.left; }
  void SetLeftBound(std::int32_t bound);
  std::int32_t GetPoints() { return m_range.points; }
  void SetPoints(std::int32_t points) { m_range.points = points; }
  std::int32_t GetImage() { return static_cast<std::int32_t>(m_image); }
  void SetImage(std::int32_t image);
  void AboutBox() {}

  bool IsHot() const { return m_hot; }
  ui::Wnd& Panel() { return m_panel; }
  const ScrollRange& Range() const { return m_range; }
  gdi::EnhMetaFile Picture() const;

 private:
  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnMouseMove(ui::UINT flags, ui::Point point);
  void OnCaptureChanged(ui::Wnd* gaining);

  ScrollRange m_range;
  gdi::HENHMETAFILE m_image = 0;
  ui::Point m_last;
  bool m_hot = false;
  CScrollPanel m_panel{*this};
};

}  // namespace karvel
