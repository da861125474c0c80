// The plot's commands: a control's picture as a PNG at a size, resolution and container zoom,
// and the log of the drawing calls of that same picture for golden comparisons (its lines are
// described in spectrum/control/plot/testing/drawlog.h).
//
//   render NAME FILE WIDTH HEIGHT [DPI [ZOOM]]    PNG of the control's plot on white
//   drawlog NAME FILE WIDTH HEIGHT [DPI [ZOOM]]   its drawing calls, one a line ("-": stdout)
//   view FILE                                     PNG of the current container's view as it
//                                                 shows: active controls paint their windows
//                                                 (the screen's way, through the cached bitmap)
//
// render and drawlog draw through the control's IViewObject::Draw into (0, 0, WIDTH, HEIGHT) of a device of
// DPI pixels per inch (default 96). ZOOM (default the host's "zoom") is what the container's
// IOrvClientSite answers meanwhile; a control made with "nosite" draws at 100 whatever it is.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/ole/interfaces.h"
#include "spectrum/control/plot/testing/drawlog.h"
#include "tools/spchost/host.h"

namespace spchost {

namespace {

// The device sizes a picture may have: a side of a few screens, no more.
constexpr int kMaxSide = 16384;
constexpr int kMaxDpi = 2400;

struct PictureRequest {
  nelvar::testing::HostItem* item = nullptr;
  std::string path;
  int width = 0, height = 0, dpi = 96, zoom = 100;
};

PictureRequest Request(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 5 || w.size() > 7) Fail(w[0] + " NAME FILE WIDTH HEIGHT [DPI [ZOOM]]");
  PictureRequest r;
  r.item = host.Item(w[1]);
  r.path = w[2];
  r.width = Int(w[3]);
  r.height = Int(w[4]);
  r.dpi = w.size() > 5 ? Int(w[5]) : 96;
  r.zoom = w.size() > 6 ? Int(w[6]) : host.Settings().zoom;
  if (r.width < 1 || r.height < 1 || r.width > kMaxSide || r.height > kMaxSide) Fail("a size of 1 to 16384 pixels");
  if (r.dpi < 1 || r.dpi > kMaxDpi) Fail("a resolution of 1 to 2400 pixels per inch");
  if (r.zoom < 1 || r.zoom > 10000) Fail("a zoom of 1 to 10000 percent");
  return r;
}

// The control draws its content into dc at (0, 0, width, height) with the container's zoom set
// to the request's for the call.
void DrawControl(Host& host, const PictureRequest& r, gdi::DC& dc) {
  auto* view = host.Interface<plat::ole::IViewObject>(r.item, plat::ole::IID_IViewObject);
  const std::int32_t zoom = host.Settings().zoom;
  host.Settings().zoom = r.zoom;
  const plat::ole::RectL bounds{0, 0, r.width, r.height};
  const plat::ole::HResult hr =
      view->Draw(plat::ole::DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, &dc, &bounds, nullptr, nullptr, 0);
  host.Settings().zoom = zoom;
  view->Release();
  if (plat::ole::failed(hr)) Fail("the control did not draw");
}

gdi::RasterSurface Surface(const PictureRequest& r) {
  gdi::RasterSurface surface(r.width, r.height, gdi::RGB(255, 255, 255));
  surface.SetResolution(r.dpi, r.dpi);
  return surface;
}

void Render(Host& host, const std::vector<std::string>& w) {
  const PictureRequest r = Request(host, w);
  gdi::RasterSurface surface = Surface(r);
  {
    gdi::DC dc(surface);
    DrawControl(host, r, dc);
  }
  if (!surface.SavePng(r.path)) Fail("cannot write " + r.path);
}

void DrawLog(Host& host, const std::vector<std::string>& w) {
  const PictureRequest r = Request(host, w);
  gdi::RasterSurface reference = Surface(r);
  gdi::DC referenceDc(reference);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(&referenceDc, nullptr, u"KEDRUS");
  DrawControl(host, r, recording);
  const std::vector<std::string> lines = plot_testing::DescribeDrawing(recording.CloseEnhMetaFile());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (r.path == "-") {
    std::fputs(text.c_str(), stdout);
    return;
  }
  std::ofstream out(r.path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) Fail("cannot write " + r.path);
}

void View(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 2) Fail("view FILE");
  const std::unique_ptr<gdi::RasterSurface> picture = host.Current().RenderView();
  if (!picture || !picture->SavePng(w[1])) Fail("cannot write " + w[1]);
}

const Command kPlotCommands[] = {
    {"render", "NAME FILE WIDTH HEIGHT [DPI [ZOOM]]", &Render},
    {"drawlog", "NAME FILE WIDTH HEIGHT [DPI [ZOOM]]", &DrawLog},
    {"view", "FILE", &View},
};
SPCHOST_COMMANDS(kPlotCommands);

}  // namespace

}  // namespace spchost
