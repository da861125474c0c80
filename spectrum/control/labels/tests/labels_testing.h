#pragma once
// Shared by the label tests: one builder of spectra with a plot over them, renderings into a
// raster surface, and the texts a drawing wrote (read back from a recording).
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/file.h"
#include "platform/gdi/gdi.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/data/spcprocess.h"

namespace labels_test {

using gdi::COLORREF;
using gdi::Rect;
constexpr COLORREF kWhite = gdi::RGB(255, 255, 255);
constexpr COLORREF kBlack = 0;

// A spectrum record, its processing object and a plot over them. The plot's host answers the
// title's parameters from `params`. Objects are added one by one, so each test draws only what
// it looks at; the scale the trace would set is set by hand (SetScale).
class Plot : public CPlotHost {
 public:
  Plot() {
    static const bool registered = (RegisterLabelDrawObjects(), true);
    (void)registered;
  }

  bool GetParam(std::string_view name, std::string* value) override {
    const auto it = params.find(std::string(name));
    if (it == params.end()) return false;
    *value = it->second;
    return true;
  }

  // A frequency-domain spectrum of real values (kind 0 unless given), viewed whole.
  void SetSpectrum(const std::vector<float>& values, std::int32_t kind = 0) {
    data.Reset();
    data.nKind = kind;
    data.nDomain = 1;
    for (float v : values) data.spectrum().push_back({v, 0.0f});
    process.m_nSI = static_cast<std::int32_t>(values.size());
    process.m_nScans = 1;
    process.SelectData();
    process.UpdatePhase();
    list.m_fLeftBound = 0.0f;
    list.m_fRightBound = static_cast<float>(values.size()) - 1.0f;
  }
  // A proton axis: ppm(i) = offset / sf - sw / sf + (si - i) sw / (sf si).
  void SetPpmAxis(double sfMHz, double swHz, double offsetHz) {
    process.m_dFreq = sfMHz;
    process.m_dSW = swHz;
    process.m_dOffset = offsetHz;
    process.m_nOP = 0;
  }
  // A mass spectrum of one scan of {intensity, m/z} pairs, viewed from 0 to maxMass.
  void SetMassScan(const std::vector<CSpcPoint>& pairs, float maxMass) {
    data.Reset();
    data.nKind = 1;
    data.nDomain = 1;
    CMassScan scan;
    scan.peaks = pairs;
    data.scans.push_back(scan);
    process.m_nScans = 1;
    process.m_nScan = 0;
    process.SelectData();
    list.m_fLeftBound = 0.0f;
    list.m_fRightBound = maxMass;
  }
  // What the trace leaves in the list after drawing into `plot`: its rectangle, value range and
  // points per column.
  void SetScale(const Rect& plot, float yMin, float yMax, float pointsPerPixel) {
    list.m_plotRect = plot;
    list.m_fYMin = yMin;
    list.m_fYMax = yMax;
    list.m_fPointsPerPixel = pointsPerPixel;
  }

  template <class T>
  T& Add(std::int32_t type) {
    return *dynamic_cast<T*>(list.GetDrawObject(type));
  }

  // Draws the whole list into a white surface of the given size.
  gdi::RasterSurface Render(int width, int height, int mode = 1) {
    gdi::RasterSurface surface(width, height, kWhite);
    gdi::DC dc(surface);
    const Rect client(0, 0, width, height);
    list.DrawAll(&dc, &client, mode);
    return surface;
  }

  CSpcData data;
  CSpcProcess process{&data};
  CDrawObjectList list{this, &process};
  std::map<std::string, std::string> params;
};

// The height a font of `points` gets at 96 pixels per inch and zoom 100 (MulDiv's rounding).
inline int FontPixels(int points) { return gdi::MulDiv(points, 9600, 7200); }

// A font as the plot makes it for drawing, for measuring in a test.
inline gdi::Font PlotFont(int points, int escapement, std::uint8_t italic) {
  gdi::LOGFONTA font;
  font.lfHeight = FontPixels(points);
  font.lfEscapement = escapement;
  font.lfWeight = 400;
  font.lfItalic = italic;
  gdi::SetFaceName(font, "Arial");
  return gdi::Font(font);
}

inline gdi::Size Measure(const gdi::Font& font, std::string_view text) {
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SelectObject(font);
  return dc.GetTextExtent(text);
}

// The character width and line height the plot measures with (the 52 letters).
inline gdi::Size Alphabet(const gdi::Font& font) {
  const gdi::Size s = Measure(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {s.cx / 52, s.cy};
}

// The smallest rectangle of the pixels of one colour inside `within` (empty when none).
inline Rect ColorBox(const gdi::RasterSurface& s, COLORREF color, const Rect& within) {
  Rect box;
  for (int y = std::max(within.top, 0); y < std::min(within.bottom, s.Height()); ++y)
    for (int x = std::max(within.left, 0); x < std::min(within.right, s.Width()); ++x)
      if (s.GetPixel(x, y) == color) box.UnionRect(box, Rect(x, y, x + 1, y + 1));
  return box;
}
inline Rect ColorBox(const gdi::RasterSurface& s, COLORREF color) {
  return ColorBox(s, color, Rect(0, 0, s.Width(), s.Height()));
}

// The smallest rectangle of the pixels that are not white inside `within`: text ink (glyphs are
// smoothed, so their pixels are shades rather than the text colour).
inline Rect InkBox(const gdi::RasterSurface& s, const Rect& within) {
  Rect box;
  for (int y = std::max(within.top, 0); y < std::min(within.bottom, s.Height()); ++y)
    for (int x = std::max(within.left, 0); x < std::min(within.right, s.Width()); ++x)
      if (s.GetPixel(x, y) != kWhite) box.UnionRect(box, Rect(x, y, x + 1, y + 1));
  return box;
}

inline bool SamePixels(const gdi::RasterSurface& a, const gdi::RasterSurface& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

// Leaves a rendering where a person can look at it.
inline void SaveRendering(const gdi::RasterSurface& s, const std::string& name) {
  const char* dir = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = dir && *dir ? dir : "/tmp";
  plat::makeDirectories(base);
  s.SavePng(base + "/" + name + ".png");
}

// The texts that draw(dc) wrote, in order, read back from a recording of it.
inline std::vector<std::string> DrawnTexts(const std::function<void(gdi::DC&)>& draw) {
  gdi::DC dc = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"labels test");
  draw(dc);
  const gdi::EnhMetaFile picture = dc.CloseEnhMetaFile();
  std::vector<std::string> texts;
  for (const gdi::MetaRecord& r : picture.Records()) {
    if (r.type != gdi::EMR_EXTTEXTOUTW || r.bytes.size() < 52) continue;
    auto u32 = [&](std::size_t at) {
      return std::uint32_t(r.bytes[at]) | std::uint32_t(r.bytes[at + 1]) << 8 | std::uint32_t(r.bytes[at + 2]) << 16 |
             std::uint32_t(r.bytes[at + 3]) << 24;
    };
    // EMRTEXT after the bounds, graphics mode and scales: reference, count, string offset.
    const std::uint32_t count = u32(44);
    const std::uint32_t offset = u32(48);
    std::string text;
    for (std::uint32_t i = 0; i < count && offset + 2 * i + 1 < r.bytes.size(); ++i)
      text += static_cast<char>(r.bytes[offset + 2 * i]);  // the labels are ASCII
    texts.push_back(text);
  }
  return texts;
}

// Draws one object into rect on a recording and gives the texts it wrote.
inline std::vector<std::string> TextsOf(CDrawObject& object, Rect rect) {
  return DrawnTexts([&](gdi::DC& dc) { object.Draw(&dc, &rect, kDrawModePrint); });
}

}  // namespace labels_test
