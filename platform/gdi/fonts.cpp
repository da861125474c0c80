// Fonts: the face table's faces opened through Qt, metrics from the face's own tables, and one
// advance per character rounded to whole pixels, so text extents never depend on hinting,
// shaping or the machine.
#include <QFont>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>

#include <cmath>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/base/text.h"
#include "platform/gdi/internal.h"
#include "platform/gdi/qt_bridge.h"

namespace gdi {

namespace qt {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "kedrus";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives until exit; destroyed after everything made later (the font caches among them).
  static QGuiApplication app(argc, argv);
}

}  // namespace qt

namespace detail {

std::u16string Widen(std::string_view text) { return plat::toUtf16(text); }

namespace {

std::uint16_t be16(const QByteArray& t, int at) {
  if (at < 0 || at + 2 > t.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(t[at]) << 8 | static_cast<std::uint8_t>(t[at + 1]));
}
std::int16_t bes16(const QByteArray& t, int at) { return static_cast<std::int16_t>(be16(t, at)); }

// One face file with the numbers the metrics come from (font units).
struct Face {
  QRawFont raw;
  std::string name;
  int unitsPerEm = 2048;
  int winAscent = 0, winDescent = 0;
  int hheaAscent = 0, hheaDescent = 0, lineGap = 0;
  int avgCharWidth = 0, maxAdvance = 0;
  int underlinePos = 0, underlineThickness = 0, strikePos = 0;
  QByteArray hmtx;
  int numberOfHMetrics = 0;

  int advanceUnits(std::uint32_t glyph) const {
    if (numberOfHMetrics <= 0) return 0;
    const int i = glyph < static_cast<std::uint32_t>(numberOfHMetrics) ? static_cast<int>(glyph) : numberOfHMetrics - 1;
    return be16(hmtx, 4 * i);
  }
};

QRawFont openFace(const QString& family, bool bold, bool italic) {
  QFont font(family);
  font.setPixelSize(100);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setItalic(italic);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
  return QRawFont::fromFont(font);
}

std::shared_ptr<const Face> loadFace(const std::string& name, bool bold, bool italic) {
  qt::EnsureGuiApplication();
  auto face = std::make_shared<Face>();
  face->name = name;
  if (name == "Symbol") {
    // A symbol face where one is installed; otherwise the default face.
    const QStringList families = QFontDatabase::families();
    face->name = "Liberation Sans";
    for (const char* candidate : {"Symbol", "Standard Symbols PS", "OpenSymbol"}) {
      if (families.contains(QString::fromLatin1(candidate), Qt::CaseInsensitive)) {
        face->name = candidate;
        break;
      }
    }
  }
  face->raw = openFace(QString::fromStdString(face->name), bold, italic);
  const QByteArray head = face->raw.fontTable("head");
  const QByteArray hhea = face->raw.fontTable("hhea");
  const QByteArray os2 = face->raw.fontTable("OS/2");
  const QByteArray post = face->raw.fontTable("post");
  face->hmtx = face->raw.fontTable("hmtx");
  face->unitsPerEm = be16(head, 18) ? be16(head, 18) : 2048;
  face->hheaAscent = bes16(hhea, 4);
  face->hheaDescent = bes16(hhea, 6);
  face->lineGap = bes16(hhea, 8);
  face->maxAdvance = be16(hhea, 10);
  face->numberOfHMetrics = std::min<int>(be16(hhea, 34), static_cast<int>(face->hmtx.size() / 4));
  face->avgCharWidth = bes16(os2, 2);
  face->strikePos = bes16(os2, 28);
  face->winAscent = be16(os2, 74);
  face->winDescent = be16(os2, 76);
  if (face->winAscent + face->winDescent <= 0) {
    face->winAscent = face->hheaAscent;
    face->winDescent = -face->hheaDescent;
  }
  if (face->winAscent + face->winDescent <= 0) face->winAscent = face->unitsPerEm;
  face->underlinePos = bes16(post, 8);
  face->underlineThickness = bes16(post, 10);
  return face;
}

std::mutex& cacheMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<const Face> faceFor(const std::string& name, bool bold, bool italic) {
  static std::map<std::string, std::shared_ptr<const Face>> faces;
  const std::string key = name + (bold ? "|b" : "|") + (italic ? "i" : "");
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  auto face = loadFace(name, bold, italic);
  faces.emplace(key, face);
  return face;
}

long roundHalfUp(double v) { return std::lround(v); }

}  // namespace

struct RealizedFont::Cache {
  std::shared_ptr<const Face> face;
  double scale = 0;  // pixels per font unit, with the width stretch
  std::uint32_t asciiGlyph[128] = {};
  int asciiAdvance[128] = {};
  bool asciiDone[128] = {};
  std::unordered_map<char16_t, std::pair<std::uint32_t, int>> other;
};

void RealizedFont::Glyph(char16_t c, std::uint32_t* glyph, int* advance) const {
  Cache& k = *cache;
  if (c < 128 && k.asciiDone[c]) {
    *glyph = k.asciiGlyph[c];
    *advance = k.asciiAdvance[c];
    return;
  }
  if (c >= 128) {
    auto it = k.other.find(c);
    if (it != k.other.end()) {
      *glyph = it->second.first;
      *advance = it->second.second;
      return;
    }
  }
  const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(c)));
  const std::uint32_t g = glyphs.isEmpty() ? 0 : glyphs[0];
  const int adv = static_cast<int>(roundHalfUp(k.face->advanceUnits(g) * k.scale));
  if (c < 128) {
    k.asciiGlyph[c] = g;
    k.asciiAdvance[c] = adv;
    k.asciiDone[c] = true;
  } else if (k.other.size() < 65536) {
    k.other.emplace(c, std::make_pair(g, adv));
  }
  *glyph = g;
  *advance = adv;
}

std::shared_ptr<const RealizedFont> Realize(const LOGFONTW& log, int heightPx, int widthPx, int logPixelsY) {
  const std::string name = MappedFaceName(plat::toUtf8(FaceNameOf(log)));
  const bool bold = log.lfWeight >= FW_SEMIBOLD;
  const bool italic = log.lfItalic != 0;
  heightPx = std::clamp(heightPx, -16384, 16384);
  widthPx = std::clamp(widthPx, 0, 16384);
  const std::string key = name + "|" + std::to_string(bold) + std::to_string(italic) + "|" + std::to_string(heightPx) +
                          "|" + std::to_string(widthPx) + "|" + std::to_string(logPixelsY) + "|" +
                          std::to_string(log.lfUnderline != 0) + std::to_string(log.lfStrikeOut != 0) + "|" +
                          std::to_string(log.lfWeight);

  std::lock_guard lock(cacheMutex());
  static std::unordered_map<std::string, std::shared_ptr<const RealizedFont>> realized;
  auto it = realized.find(key);
  if (it != realized.end()) return it->second;

  auto face = faceFor(name, bold, italic);
  auto font = std::make_shared<RealizedFont>();
  font->face = face->name;
  font->requestFace = FaceNameOf(log);
  font->requestHeight = heightPx;
  font->charSet = log.lfCharSet;
  const int cellUnits = face->winAscent + face->winDescent;
  if (heightPx > 0) font->emPixels = static_cast<double>(heightPx) * face->unitsPerEm / cellUnits;
  else if (heightPx < 0) font->emPixels = -heightPx;
  else font->emPixels = std::max(1, MulDiv(10, logPixelsY > 0 ? logPixelsY : 96, 72));
  font->raw = face->raw;
  font->raw.setPixelSize(font->emPixels);
  const double scale = font->emPixels / face->unitsPerEm;
  // The cell height rounds as a whole; the descent is what the rounded ascent leaves of it.
  const int cell = heightPx > 0 ? heightPx : std::max(1, static_cast<int>(roundHalfUp(cellUnits * scale)));
  font->ascent = std::min(cell, static_cast<int>(roundHalfUp(face->winAscent * scale)));
  font->descent = cell - font->ascent;
  font->internalLeading = std::max(0, font->Height() - static_cast<int>(roundHalfUp(font->emPixels)));
  font->externalLeading = std::max(
      0, static_cast<int>(roundHalfUp((face->hheaAscent - face->hheaDescent + face->lineGap - cellUnits) * scale)));
  const int naturalAve = std::max(1, static_cast<int>(roundHalfUp(face->avgCharWidth * scale)));
  if (widthPx > 0) font->xScale = static_cast<double>(widthPx) / naturalAve;
  font->aveCharWidth = widthPx > 0 ? widthPx : naturalAve;
  font->maxCharWidth = static_cast<int>(roundHalfUp(face->maxAdvance * scale * font->xScale));
  font->weight = log.lfWeight ? log.lfWeight : FW_NORMAL;
  font->italic = italic;
  font->underline = log.lfUnderline != 0;
  font->strikeOut = log.lfStrikeOut != 0;
  font->lineWidth = std::max(1, static_cast<int>(roundHalfUp(face->underlineThickness * scale)));
  font->underlinePos = std::max(1, static_cast<int>(roundHalfUp(-face->underlinePos * scale)));
  font->strikePos = std::max(1, static_cast<int>(roundHalfUp(face->strikePos * scale)));
  font->cache = std::make_shared<RealizedFont::Cache>();
  font->cache->face = face;
  font->cache->scale = scale * font->xScale;

  if (realized.size() > 512) realized.clear();
  realized.emplace(key, font);
  return font;
}

TextRun LayoutText(std::shared_ptr<const RealizedFont> font, std::u16string_view text, const int* dxDevice) {
  TextRun run;
  run.text.assign(text);
  run.glyphs.resize(text.size());
  run.advances.resize(text.size());
  std::int64_t width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int adv = 0;
    font->Glyph(text[i], &run.glyphs[i], &adv);
    if (dxDevice) adv = dxDevice[i];
    run.advances[i] = adv;
    width += adv;
  }
  run.width = static_cast<int>(std::clamp<std::int64_t>(width, -(1 << 30), 1 << 30));
  run.font = std::move(font);
  return run;
}

void PaintText(QPainter& p, const TextRun& run, const QColor& ink, const QColor& background) {
  const RealizedFont& f = *run.font;
  if (run.opaqueRect) {
    const Rect& r = *run.opaqueRect;
    p.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), background);
  }
  if (run.glyphs.empty()) return;
  QGlyphRun glyphs;
  glyphs.setRawFont(f.raw);
  glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
  QList<QPointF> positions;
  positions.reserve(static_cast<qsizetype>(run.glyphs.size()));
  double x = 0;
  for (int adv : run.advances) {
    positions << QPointF(x / f.xScale, 0);
    x += adv;
  }
  glyphs.setPositions(positions);
  p.save();
  p.translate(run.origin);
  p.rotate(-run.angle);
  if (run.opaque) p.fillRect(QRectF(0, -f.ascent, run.width, f.Height()), background);
  if (f.underline) p.fillRect(QRectF(0, f.underlinePos, run.width, f.lineWidth), ink);
  if (f.strikeOut) p.fillRect(QRectF(0, -f.strikePos, run.width, f.lineWidth), ink);
  p.scale(f.xScale, 1);
  p.setPen(ink);
  p.drawGlyphRun(QPointF(0, 0), glyphs);
  p.restore();
}

QPolygonF TextRun::CellBox() const {
  const double a = angle * M_PI / 180.0;
  const QPointF dir(std::cos(a), -std::sin(a));
  const QPointF up(-std::sin(a), -std::cos(a));
  const QPointF topLeft = origin + up * font->ascent;
  const QPointF bottomLeft = origin - up * font->descent;
  QPolygonF box;
  box << topLeft << topLeft + dir * width << bottomLeft + dir * width << bottomLeft;
  return box;
}

}  // namespace detail
}  // namespace gdi
