#pragma once
// CSWLogoWnd: the start logo, a topmost bordered popup centred on the screen that shows bitmap
// 2000 at its own size. The bitmap is loaded on the first show and kept for later ones.
#include <cstdint>

#include "platform/gdi/objects.h"
#include "platform/ui/wnd.h"

namespace about {

class CSWLogoWnd : public ui::Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  // Creates the window, shows it and paints it at once; false (nothing shown) when it cannot be made.
  bool CreateLogoWindow();
  void OnPaint();

  std::int32_t BitmapWidth() const { return m_width; }
  std::int32_t BitmapHeight() const { return m_height; }

 private:
  gdi::Bitmap m_bitmap;  // bitmap 2000
  std::int32_t m_width = 0;
  std::int32_t m_height = 0;
};

}  // namespace about
