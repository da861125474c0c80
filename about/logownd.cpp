#include "about/logownd.h"

#include "about/resources.h"
#include "platform/gdi/dc.h"
#include "platform/ui/dc.h"

namespace about {

namespace {

// Class styles of the logo's window class: a class device context, double clicks.
constexpr UINT kLogoClassStyle = 0x48;
// Popup, visible, thin border.
constexpr ui::DWORD kLogoStyle = 0x90800000;

}  // namespace

UI_BEGIN_MESSAGE_MAP(CSWLogoWnd, ui::Wnd)
  ui::map::Paint(&CSWLogoWnd::OnPaint),
UI_END_MESSAGE_MAP()

bool CSWLogoWnd::CreateLogoWindow() {
  if (m_bitmap.IsNull()) {
    m_bitmap = ui::LoadBitmap(IDB_LOGO);
    const ui::Size size = m_bitmap.IsNull() ? ui::Size{0, 0} : m_bitmap.GetSize();
    m_width = size.cx;
    m_height = size.cy;
  }
  const std::string windowClass = ui::RegisterWndClass(kLogoClassStyle, nullptr, nullptr);
  // The screen's size, from a context on the display.
  const gdi::DC display = gdi::DC::CreateCompatibleDC(nullptr);
  const int x = (display.GetDeviceCaps(gdi::HORZRES) - m_width) / 2;
  const int y = (display.GetDeviceCaps(gdi::VERTRES) - m_height) / 2;
  if (!CreateEx(ui::WS_EX_TOPMOST, windowClass.c_str(), "", kLogoStyle, ui::Rect(x, y, x + m_width, y + m_height),
                nullptr, 0))
    return false;
  ShowWindow(ui::SW_SHOWNORMAL);
  UpdateWindow();
  return true;
}

void CSWLogoWnd::OnPaint() {
  ui::PaintDC dc(this);
  gdi::DC memory = gdi::DC::CreateCompatibleDC(&dc);
  const gdi::Bitmap previous = memory.SelectObject(m_bitmap);
  ui::Rect client;
  GetClientRect(&client);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, gdi::SRCCOPY);
  memory.SelectObject(previous);
}

}  // namespace about
