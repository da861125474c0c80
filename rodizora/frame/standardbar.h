#pragma once
// CStandardBar: the main frame's standard toolbar. Flat buttons for the file, clipboard, print
// and help commands and, in place of one separator, a drop-down combo that shows the zoom of the
// active document and sets it: choosing an entry posts the zoom command 1500 + percent (1500 for
// "Page Width") to the bar's owner, for the active view to carry out.
//
// What others call:
//  - the main frame creates it (Create(frame, style, kBarId)) and docks it;
//  - the child frame and the view show the document's zoom with SetZoom; a negative percent
//    (no document) disables the combo and empties it.
#include "foundation/flattoolbar.h"
#include "platform/ui/controls.h"

class CStandardBar : public CFlatToolBar {
  UI_DECLARE_DYNAMIC(CStandardBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::UINT kBarId = 2500;       // control id, and the toolbar resource
  static constexpr ui::UINT kZoomComboId = 1500;
  // Zoom commands: kZoomCommandFirst + percent; kZoomCommandFirst itself is "Page Width".
  static constexpr ui::UINT kZoomCommandFirst = 1500;
  static constexpr ui::UINT kZoomCommandLast = 2000;
  static constexpr int kZoomButtonIndex = 8;

  // The zoom of each entry of the combo, in list order; 0 is "Page Width".
  static int ZoomOfEntry(int index);
  // The standard bar of a frame (null when it has none).
  static CStandardBar* FromFrame(const ui::FrameWnd* frame);

  void SetZoom(int percent);
  ui::ComboBox& ZoomCombo() { return m_zoomCombo; }

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnZoomSelect();

 private:
  ui::ComboBox m_zoomCombo;
};
