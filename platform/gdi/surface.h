#pragma once
// Raster surfaces: the 32-bit pixels a DC draws into.
//
// RasterSurface is an off-screen image (also the pixels of a Bitmap selected into a memory DC).
// WindowSurface is the surface of a window the product draws itself: the ui layer owns one per
// window, hands DCs over it to OnPaint and to client DCs (so XOR marks drawn outside painting
// erase exactly), and copies the pixels that changed to the screen.
//
// Pixels are read and written as COLORREF (0x00BBGGRR). PNG output works for any surface.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/types.h"

namespace gdi {

class RasterSurface {
 public:
  // A width x height surface filled with `fill`, with the resolution of the screen.
  RasterSurface(int width, int height, COLORREF fill = RGB(255, 255, 255));
  virtual ~RasterSurface();
  RasterSurface(const RasterSurface& other);
  RasterSurface& operator=(const RasterSurface&) = delete;

  int Width() const;
  int Height() const;
  Size GetSize() const { return {Width(), Height()}; }

  // CLR_INVALID outside the surface.
  COLORREF GetPixel(int x, int y) const;
  void SetPixel(int x, int y, COLORREF color);
  void Fill(COLORREF color);
  // Counts the pixels of one colour inside rect (the whole surface when rect is null).
  std::int64_t CountPixels(COLORREF color, const Rect* rect = nullptr) const;

  // Changes the size; the pixels that stay inside are kept, new ones are `fill`.
  void Resize(int width, int height, COLORREF fill = RGB(255, 255, 255));

  // Resolution reported to DCs (pixels per inch) and the device kind.
  const DeviceCaps& Caps() const { return caps_; }
  void SetResolution(int logPixelsX, int logPixelsY);

  // PNG of the pixels. SavePng writes atomically and reports failure.
  std::vector<std::uint8_t> EncodePng() const;
  bool SavePng(const std::string& path) const;
  // A surface from PNG data (tests compare renderings); null on failure.
  static std::unique_ptr<RasterSurface> DecodePng(const std::vector<std::uint8_t>& png);

  // Called by DCs after drawing, with the device rectangle that may have changed.
  virtual void Changed(const Rect& /*rect*/) {}

  struct Impl;
  Impl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<Impl> impl_;
  DeviceCaps caps_;
};

class WindowSurface : public RasterSurface {
 public:
  WindowSurface(int width, int height, COLORREF fill = GetSysColor(COLOR_WINDOW));

  // The union of the rectangles drawn since the last call, and clears it.
  Rect TakeChangedRect();
  // Also told at once of every change (the ui layer schedules a screen update from it).
  void SetChangeListener(std::function<void(const Rect&)> listener) { listener_ = std::move(listener); }

  void Changed(const Rect& rect) override;

 private:
  Rect changed_;
  std::function<void(const Rect&)> listener_;
};

}  // namespace gdi
