#pragma once
// Shared by the plot tests: the one builder of spectrum records they draw, a plot over a record,
// renderings into raster surfaces (written to the scratch folder as PNG), stand-ins for the
// classes of the other plot library, and the measures the tests derive positions from.
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/file.h"
#include "platform/gdi/gdi.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/plotpainter.h"
#include "spectrum/data/spcprocess.h"

namespace plot_test {

using gdi::COLORREF;
using gdi::Rect;
constexpr COLORREF kWhite = gdi::RGB(255, 255, 255);
constexpr COLORREF kBlack = 0;
constexpr COLORREF kBorderRed = 0x0000C0;
constexpr COLORREF kScaleBlue = 0xC00000;
constexpr COLORREF kScaleText = 0x640000;

// A record and its processing object.
struct TestSpectrum {
  CSpcData data;
  CSpcProcess process{&data};
  std::int32_t Points() const { return process.m_nCur; }
};

// One line of a synthetic spectrum: a Lorentzian at a point position.
struct Line {
  double position;
  double height;
  double halfWidth;
};

inline double Lorentz(const std::vector<Line>& lines, double i) {
  double v = 0.0;
  for (const Line& l : lines) {
    const double d = (i - l.position) / l.halfWidth;
    v += l.height / (1.0 + d * d);
  }
  return v;
}

// Every record the plot tests draw is made here.
class SpectrumBuilder {
 public:
  // A proton spectrum of n points from 10 to 0 ppm at 400 MHz (sweep 4000 Hz).
  static SpectrumBuilder Nmr(int n) { return SpectrumBuilder(0, 1, n).Axis(400.0, 4000.0, 4000.0); }
  // A free induction decay of n complex points (TD 2n), sweep 4000 Hz.
  static SpectrumBuilder Fid(int n) { return SpectrumBuilder(0, 0, n).Axis(400.0, 4000.0, 4000.0); }
  // An infrared spectrum of n points from 4000 down to 400 1/cm.
  static SpectrumBuilder Ir(int n) { return SpectrumBuilder(2, 1, n).Axis(4000.0, -3600.0, 0.0); }
  // A mass spectrum; its scans come from Scan().
  static SpectrumBuilder Mass() { return SpectrumBuilder(1, 1, 0); }
  // A two-dimensional NMR spectrum: rows of n points, one after another (value(i) counts
  // through all rows).
  static SpectrumBuilder Nmr2D(int rows, int n) {
    SpectrumBuilder b(6, 1, n);
    b.rows_ = rows;
    return b.Axis(400.0, 4000.0, 4000.0);
  }

  // Point i is {re(i), im(i)}; im defaults to 0.
  SpectrumBuilder& Values(std::function<double(int)> re, std::function<double(int)> im = nullptr) {
    re_ = std::move(re);
    im_ = std::move(im);
    return *this;
  }
  SpectrumBuilder& Constant(double v) { return Values([v](int) { return v; }); }
  SpectrumBuilder& Lines(std::vector<Line> lines) {
    return Values([lines](int i) { return Lorentz(lines, i); });
  }
  SpectrumBuilder& Axis(double freq, double sw, double offset) {
    freq_ = freq;
    sw_ = sw;
    offset_ = offset;
    return *this;
  }
  SpectrumBuilder& Scan(std::vector<CSpcPoint> peaks, float ionCurrent = 0.0f) {
    CMassScan scan;
    scan.peaks = std::move(peaks);
    scan.fIonCurrent = ionCurrent;
    scans_.push_back(std::move(scan));
    return *this;
  }

  std::unique_ptr<TestSpectrum> Build() const {
    auto s = std::make_unique<TestSpectrum>();
    CSpcData& d = s->data;
    CSpcProcess& p = s->process;
    d.nKind = kind_;
    d.nDomain = domain_;
    d.nState = 1;
    d.scans = scans_;
    std::vector<CSpcPoint>& points = d.data[domain_];
    for (int i = 0; i < points_ * rows_; ++i)
      points.push_back({static_cast<float>(re_ ? re_(i) : 0.0), static_cast<float>(im_ ? im_(i) : 0.0)});
    p.m_dFreq = freq_;
    p.m_dSW = sw_;
    p.m_dOffset = offset_;
    p.m_nSI = domain_ == 1 ? points_ : 0;
    p.m_nTD = domain_ == 0 ? 2 * points_ : 0;
    p.m_nScans = kind_ == 1 ? static_cast<std::int32_t>(scans_.size()) : rows_;
    p.m_nScan = 0;
    p.SelectData();
    p.UpdatePhase();
    return s;
  }

 private:
  SpectrumBuilder(int kind, int domain, int points) : kind_(kind), domain_(domain), points_(points) {}

  int kind_, domain_, points_;
  int rows_ = 1;
  double freq_ = 0.0, sw_ = 0.0, offset_ = 0.0;
  std::function<double(int)> re_, im_;
  std::vector<CMassScan> scans_;
};

// A container zoom for the painter.
class FixedZoom : public CZoomSource {
 public:
  explicit FixedZoom(std::int32_t zoom) : zoom_(zoom) {}
  std::int32_t GetZoom() override { return zoom_; }

 private:
  std::int32_t zoom_;
};

// Where tests leave renderings for a person to look at.
inline std::string ScratchPath(const std::string& name) {
  const char* dir = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = dir && *dir ? dir : "/tmp";
  plat::makeDirectories(base);
  return base + "/" + name;
}

// The plot's own drawing of its list into a surface of its own (no painter, no background).
inline gdi::RasterSurface DrawList(CDrawObjectList& list, int width, int height, const std::string& png = "",
                                   int mode = kDrawModeScreen) {
  gdi::RasterSurface surface(width, height, kWhite);
  gdi::DC dc(surface);
  const Rect client(0, 0, width, height);
  list.DrawAll(&dc, &client, mode);
  if (!png.empty()) surface.SavePng(ScratchPath(png));
  return surface;
}

// A plot over a record: the default set, the whole record in view.
class TestPlot : public CPlotHost {
 public:
  explicit TestPlot(std::unique_ptr<TestSpectrum> s, bool defaults = true) : spectrum(std::move(s)) {
    if (defaults) list.CreateDefaultObjects(&spectrum->process);
    ViewAll();
  }
  bool GetParam(std::string_view, std::string*) override { return false; }

  void ViewAll() {
    const CSpcProcess::FullRange r = spectrum->process.GetFullRange();
    const bool mass = spectrum->data.nKind == 1;
    list.m_fLeftBound = mass ? r.first : 0.0f;
    list.m_fRightBound = mass ? r.second : static_cast<float>(spectrum->Points() - 1);
  }
  template <class T>
  T* Find(std::int32_t type) {
    return dynamic_cast<T*>(list.FindDrawObject(type, -1));
  }

  // The plot painted at width x height through the painter, at a container zoom (100 without
  // a container); written to the scratch folder when png names a file.
  gdi::RasterSurface Render(int width, int height, std::int32_t zoom = 100, const std::string& png = "") {
    gdi::RasterSurface surface(width, height, kWhite);
    gdi::DC dc(surface);
    CPlotPainter painter(list);
    FixedZoom site(zoom);
    CPlotPainter::PaintState state;
    state.site = zoom == 100 ? nullptr : &site;
    painter.OnDraw(dc, Rect(0, 0, width, height), state);
    if (!png.empty()) surface.SavePng(ScratchPath(png));
    return surface;
  }

  std::unique_ptr<TestSpectrum> spectrum;
  CDrawObjectList list{this, &spectrum->process};
};

// Stand-ins for the classes the other plot library registers (types 2, 5, 7, 10-14): they draw
// nothing and archive only the base part, so these tests see the list's own behaviour.
template <std::int32_t Type>
class StandIn : public CDrawObject, public CAnchoredText {
 public:
  StandIn(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
      : CDrawObject(Type, owner, process, instance) {}
  void Draw(gdi::DC*, gdi::Rect*, int) override {}
  void SetDefaults() override { m_bEnabled = Type != kDrawBaseline && Type != kDrawTitle; }
};

inline void RegisterStandIns() {
  RegisterDrawObjectClass(kDrawCopyright, &MakeDrawObject<StandIn<kDrawCopyright>>);
  RegisterDrawObjectClass(kDrawTPeaks, &MakeDrawObject<StandIn<kDrawTPeaks>>);
  RegisterDrawObjectClass(kDrawIntegSums, &MakeDrawObject<StandIn<kDrawIntegSums>>);
  RegisterDrawObjectClass(kDrawIntegrals, &MakeDrawObject<StandIn<kDrawIntegrals>>);
  RegisterDrawObjectClass(kDrawMPeaks, &MakeDrawObject<StandIn<kDrawMPeaks>>);
  RegisterDrawObjectClass(kDrawBaseline, &MakeDrawObject<StandIn<kDrawBaseline>>);
  RegisterDrawObjectClass(kDrawTitle, &MakeDrawObject<StandIn<kDrawTitle>>);
  RegisterDrawObjectClass(kDrawText, &MakeDrawObject<StandIn<kDrawText>>);
}

// The extent of text in a font at 96 pixels per inch and a zoom (heights in points).
inline gdi::Size TextSize(const gdi::LOGFONTA& font, std::string_view text, int zoom = 100) {
  gdi::RasterSurface surface(1, 1);
  gdi::DC dc(surface);
  gdi::LOGFONTA scaled = font;
  scaled.lfHeight = ScaleFontHeight(font.lfHeight, zoom, 96);
  dc.SelectObject(gdi::Font(scaled));
  return dc.GetTextExtent(text);
}

// The row of the x axis line in a plot of that height: 3b / 2 above the bottom ("A" in two thirds
// of the axis font), higher when the unit name, which runs upward from a / 4 above the bottom,
// is longer than that, so that the name stays below the line.
inline int XAxisTop(int height, std::string_view unitName, int zoom = 100) {
  const gdi::LOGFONTA small = MakeLogFont(8, 400, 0, "Arial");
  const gdi::Size letter = TextSize(small, "A", zoom);
  return std::min(height - 3 * letter.cy / 2, height - letter.cx / 4 - TextSize(small, unitName, zoom).cx);
}

// The bounding box of the pixels that hold mostly red (text is drawn smoothed, so its pixels
// are shades of its colour).
inline Rect RedBox(const gdi::RasterSurface& s) {
  Rect box;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const COLORREF c = s.GetPixel(x, y);
      if (gdi::GetRValue(c) > 160 && gdi::GetGValue(c) < 120 && gdi::GetBValue(c) < 120)
        box.UnionRect(box, Rect(x, y, x + 1, y + 1));
    }
  return box;
}

// Columns of one row holding a colour.
inline std::vector<int> ColumnsOf(const gdi::RasterSurface& s, int y, COLORREF color) {
  std::vector<int> xs;
  for (int x = 0; x < s.Width(); ++x)
    if (s.GetPixel(x, y) == color) xs.push_back(x);
  return xs;
}

// The bounding box of the pixels of a colour (empty when there are none).
inline Rect BoxOf(const gdi::RasterSurface& s, COLORREF color) {
  Rect box;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.GetPixel(x, y) == color) box.UnionRect(box, Rect(x, y, x + 1, y + 1));
  return box;
}

// The step between labels by the scales' rule: the estimate k x perCharacter, k counting up
// while the estimate's decade stays below a bound counting down from 1, then the decade's power
// of ten, or its half or fifth while that still exceeds the estimate. The labels get one
// decimal less than the rounds taken.
inline double LabelStepOf(int k, double perCharacter, int* decimals = nullptr) {
  int m = 2, rounds = 0;
  double estimate, e;
  do {
    estimate = k * perCharacter;
    e = std::ceil(std::log10(std::fabs(estimate)));
    ++k;
    --m;
    ++rounds;
  } while (e < m);
  if (decimals) *decimals = rounds - 1;
  const double p = std::pow(10.0, e);
  double s = p;
  if (p / 2 > std::fabs(estimate)) s = p / 2;
  if (p / 5 > std::fabs(estimate)) s = p / 5;
  return s;
}

// The columns of an x axis's major ticks (each label and the half step) on an axis from column
// left to right with the values x0 and x1 at its ends, the step taken from six characters of
// "A" (a wide, b high in two thirds of the axis font).
inline std::set<int> MajorTickColumns(double x0, double x1, int left, int right, int a, int b) {
  const int width = right - left;
  const double span = x1 - x0;
  const double s = LabelStepOf(6, span * a / width);
  std::set<int> xs;
  const bool rising = x0 <= x1;
  for (double t = rising ? std::round(x0 / s) * s : (std::round(x0 / s) + 1) * s; rising ? t < x1 : t > x1;
       t += rising ? s : -s) {
    for (const double tick : {t, rising ? t + s / 2 : t - s / 2}) {
      const int x = left + static_cast<int>(std::round((tick - x0) / span * width));
      if (left + b < x && x < right) xs.insert(x);
    }
  }
  return xs;
}

}  // namespace plot_test
