// A real top-level window on a real X server (run under xvfb-run by ctest): it maps, is exposed,
// gets painted, and the screen shows what OnPaint drew.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <cstring>

#include "platform/ui/app.h"
#include "platform/ui/dc.h"
#include "platform/ui/internal/state.h"

namespace {

using namespace ui;

class Painted : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  int paints = 0;
  void OnPaint() {
    PaintDC dc(this);
    Rect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(0, 128, 255));
    ++paints;
  }
};

UI_BEGIN_MESSAGE_MAP(Painted, Wnd)
  map::Paint(&Painted::OnPaint),
UI_END_MESSAGE_MAP()

TEST(UiSmoke, ARealTopLevelWindowMapsAndShowsWhatItPainted) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!std::getenv("DISPLAY") || (platform && std::strcmp(platform, "xcb") != 0)) GTEST_SKIP() << "no X display";
  App app("Smoke");
  ASSERT_FALSE(App::IsHeadless());
  Painted w;
  ASSERT_TRUE(w.Create(nullptr, "KEDRUS smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(50, 50, 250, 200), nullptr, 0));
  QWidget* widget = w.impl()->widget.data();
  ASSERT_NE(widget, nullptr);
  const bool exposed = App::PumpUntil(
      [&] { return widget->isVisible() && widget->windowHandle() && widget->windowHandle()->isExposed() && w.paints > 0; }, 10000);
  ASSERT_TRUE(exposed) << "the window never mapped and painted";
  // What the screen shows of the window's middle.
  QImage shot;
  ASSERT_TRUE(App::PumpUntil(
      [&] {
        shot = widget->screen()->grabWindow(widget->winId()).toImage();
        return !shot.isNull() && shot.pixelColor(shot.width() / 2, shot.height() / 2) == QColor(0, 128, 255);
      },
      10000))
      << "the screen does not show the painted pixels";
  w.DestroyWindow();
}

}  // namespace
