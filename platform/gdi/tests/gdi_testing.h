#pragma once
// Shared helpers of the drawing tests: surfaces with a known background, pixel sets, and the
// scratch folder renderings are written to.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/file.h"
#include "platform/gdi/gdi.h"

namespace gdi_test {

using namespace gdi;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A surface filled with a fixed pseudo-random pattern, so an operation that changes any bit shows.
inline RasterSurface NoiseSurface(int w, int h, std::uint32_t seed = 12345) {
  RasterSurface s(w, h);
  std::uint32_t v = seed;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      v = v * 1664525u + 1013904223u;
      s.SetPixel(x, y, v >> 8 & 0xFFFFFF);
    }
  return s;
}

inline std::vector<COLORREF> Pixels(const RasterSurface& s) {
  std::vector<COLORREF> out;
  out.reserve(static_cast<std::size_t>(s.Width() * s.Height()));
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.GetPixel(x, y));
  return out;
}

// The smallest rectangle holding every pixel that is not `background` (empty when none).
inline Rect InkBox(const RasterSurface& s, COLORREF background) {
  Rect box;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.GetPixel(x, y) != background) box.UnionRect(box, Rect(x, y, x + 1, y + 1));
  return box;
}

// Where tests leave renderings (PNG, EMF, WMF) for a person to look at.
inline std::string ScratchPath(const std::string& name) {
  const char* dir = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = dir && *dir ? dir : "/tmp";
  plat::makeDirectories(base);
  return base + "/" + name;
}

}  // namespace gdi_test
