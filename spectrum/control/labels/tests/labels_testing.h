#pragma once
// Shared by the label tests: a plot (records from the plot tests' one SpectrumBuilder) to which
// each test adds the label objects it looks at, the measures positions are derived from, text
// ink on renderings, and the texts a drawing wrote (read back from a recording of it).
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/gdi.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace labels_test {

using namespace plot_test;

// A plot over a built record, with the default objects or (most tests) without them, each
// test adding the objects it looks at; the title's parameters come from `params`. Without the
// trace, the scale it would leave in the list is set by hand (SetScale).
class LabelPlot : public TestPlot {
 public:
  explicit LabelPlot(const SpectrumBuilder& builder, bool defaults = false) : TestPlot(builder.Build(), false) {
    static const bool registered = (RegisterLabelDrawObjects(), true);
    (void)registered;
    if (defaults) list.CreateDefaultObjects(&spectrum->process);
    else list.SetListDefaults();
  }

  bool GetParam(std::string_view name, std::string* value) override {
    const auto it = params.find(std::string(name));
    if (it == params.end()) return false;
    *value = it->second;
    return true;
  }

  CSpcData& data() { return spectrum->data; }
  CSpcProcess& process() { return spectrum->process; }

  template <class T>
  T& Add(std::int32_t type) {
    return *dynamic_cast<T*>(list.GetDrawObject(type));
  }
  // What the trace leaves in the list after drawing into `plot`.
  void SetScale(const Rect& plot, float yMin, float yMax, float pointsPerPixel) {
    list.m_plotRect = plot;
    list.m_fYMin = yMin;
    list.m_fYMax = yMax;
    list.m_fPointsPerPixel = pointsPerPixel;
  }
  // The list drawn straight into a white surface (no painter, no background).
  gdi::RasterSurface Draw(int width, int height, int mode = kDrawModeScreen) {
    gdi::RasterSurface surface(width, height, kWhite);
    gdi::DC dc(surface);
    const Rect client(0, 0, width, height);
    list.DrawAll(&dc, &client, mode);
    return surface;
  }

  std::map<std::string, std::string> params;
};

// A record of n points from a function of the point index.
inline SpectrumBuilder Points(int n, std::function<double(int)> value) { return SpectrumBuilder::Nmr(n).Values(value); }

// A font as the plot makes it for drawing at 96 dpi and zoom 100, for measuring in a test.
inline gdi::LOGFONTA LabelFont(int points, int escapement, std::uint8_t italic) {
  return MakeLogFont(points, 400, italic, "Arial", escapement);
}
inline gdi::Size Measure(const gdi::LOGFONTA& font, std::string_view text) { return TextSize(font, text); }
// The plot's character width (the 52 letters / 52) and line height.
inline gdi::Size Alphabet(const gdi::LOGFONTA& font) {
  const gdi::Size s = TextSize(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
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
// The same for every pixel that is not white: text ink (glyphs are smoothed, so their pixels
// are shades rather than the text colour).
inline Rect InkBox(const gdi::RasterSurface& s, const Rect& within) {
  Rect box;
  for (int y = std::max(within.top, 0); y < std::min(within.bottom, s.Height()); ++y)
    for (int x = std::max(within.left, 0); x < std::min(within.right, s.Width()); ++x)
      if (s.GetPixel(x, y) != kWhite) box.UnionRect(box, Rect(x, y, x + 1, y + 1));
  return box;
}

// Text ink inside its cell; smoothed italic glyphs may reach one pixel out of it.
inline bool InkInCell(const Rect& ink, const Rect& cell) {
  return !ink.IsRectEmpty() && ink.left >= cell.left - 1 && ink.top >= cell.top - 1 && ink.right <= cell.right + 1 &&
         ink.bottom <= cell.bottom + 1;
}

inline bool SamePixels(const gdi::RasterSurface& a, const gdi::RasterSurface& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

inline void SaveRendering(const gdi::RasterSurface& s, const std::string& name) {
  s.SavePng(ScratchPath(name + ".png"));
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
