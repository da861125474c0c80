#include "spectrum/control/plot/testing/drawlog.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "platform/base/text.h"

namespace plot_testing {

namespace {

// Little-endian fields of one record, each read checked against the record's size.
class Fields {
 public:
  explicit Fields(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    const std::uint8_t* p = bytes_.data() + offset;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  }
  std::optional<std::int32_t> I32(std::size_t offset) const {
    const auto v = U32(offset);
    return v ? std::optional<std::int32_t>(static_cast<std::int32_t>(*v)) : std::nullopt;
  }
  std::optional<std::u16string> Text16(std::size_t offset, std::size_t count) const {
    if (count > bytes_.size() / 2 || !Has(offset, count * 2)) return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i)
      text.push_back(static_cast<char16_t>(bytes_[offset + 2 * i] | bytes_[offset + 2 * i + 1] << 8));
    return text;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

std::string Hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", v);
  return text;
}

// Builds one line; a field that is not in the record makes the line (and the log) "damaged".
class Line {
 public:
  Line(const Fields& fields, const char* name) : fields_(&fields), text_(name) {}
  Line& Int(std::size_t offset, const char* label = nullptr) {
    const auto v = fields_->I32(offset);
    Add(label, v ? std::to_string(*v) : "");
    return *this;
  }
  Line& Color(std::size_t offset, const char* label = nullptr) {
    const auto v = fields_->U32(offset);
    Add(label, v ? Hex(*v) : "");
    return *this;
  }
  Line& HexWord(std::size_t offset, const char* label) { return Color(offset, label); }
  Line& Pair(std::size_t offset) {
    const auto x = fields_->I32(offset), y = fields_->I32(offset + 4);
    Add(nullptr, x && y ? std::to_string(*x) + "," + std::to_string(*y) : "");
    return *this;
  }
  Line& Box(std::size_t offset) {
    const auto l = fields_->I32(offset), t = fields_->I32(offset + 4), r = fields_->I32(offset + 8),
               b = fields_->I32(offset + 12);
    Add(nullptr, l && t && r && b ? std::to_string(*l) + "," + std::to_string(*t) + "," + std::to_string(*r) + "," +
                                        std::to_string(*b)
                                  : "");
    return *this;
  }
  // A count followed by that many points.
  Line& Points(std::size_t countOffset, std::size_t pointsOffset) {
    const auto n = fields_->U32(countOffset);
    if (!n || !fields_->Has(pointsOffset, std::size_t(*n) * 8)) {
      damaged_ = true;
      return *this;
    }
    text_ += " " + std::to_string(*n);
    for (std::uint32_t i = 0; i < *n; ++i) Pair(pointsOffset + std::size_t(i) * 8);
    return *this;
  }
  Line& Word(const std::string& word) {
    text_ += " " + word;
    return *this;
  }
  void Damage() { damaged_ = true; }
  bool Damaged() const { return damaged_; }
  const std::string& Text() const { return text_; }

 private:
  void Add(const char* label, const std::string& value) {
    if (value.empty()) damaged_ = true;
    text_ += " ";
    if (label) text_ += std::string(label) + "=";
    text_ += value;
  }

  const Fields* fields_;
  std::string text_;
  bool damaged_ = false;
};

// Offsets inside a record: type and size come first.
constexpr std::size_t kBody = 8;

std::string Handle(std::uint32_t h) {
  return h & 0x80000000u ? "stock " + std::to_string(h & 0x7FFFFFFFu) : std::to_string(h);
}

void DescribeText(const Fields& f, Line& line) {
  // EMRTEXT after the bounds, graphics mode and scales.
  constexpr std::size_t kText = kBody + 16 + 12;
  line.Pair(kText);
  const auto count = f.U32(kText + 8), offset = f.U32(kText + 12);
  const auto text = count && offset ? f.Text16(*offset, *count) : std::nullopt;
  if (!text) return line.Damage();
  line.Word("\"" + plat::toUtf8(*text) + "\"");
}

void DescribeFont(const Fields& f, Line& line) {
  const auto handle = f.U32(kBody);
  if (!handle) return line.Damage();
  line.Word(std::to_string(*handle)).Int(kBody + 4, "height").Int(kBody + 12, "escapement").Int(kBody + 20, "weight");
  const auto italic = f.U32(kBody + 24);
  auto face = f.Text16(kBody + 32, 32);
  if (!italic || !face) return line.Damage();
  face->resize(face->find(u'\0') == std::u16string::npos ? face->size() : face->find(u'\0'));
  line.Word("italic=" + std::to_string(*italic & 0xFF)).Word("face=" + plat::toUtf8(*face));
}

std::string Describe(const gdi::MetaRecord& record, bool* damaged) {
  const Fields f(record.bytes);
  auto one = [&](const char* name) { return Line(f, name).Int(kBody); };
  auto color = [&](const char* name) { return Line(f, name).Color(kBody); };
  std::optional<Line> line;
  switch (record.type) {
    case gdi::EMR_HEADER: line = Line(f, "bounds").Box(kBody); break;
    case gdi::EMR_POLYLINE: line = Line(f, "polyline").Points(kBody + 16, kBody + 20); break;
    case gdi::EMR_POLYLINETO: line = Line(f, "polylineto").Points(kBody + 16, kBody + 20); break;
    case gdi::EMR_POLYGON: line = Line(f, "polygon").Points(kBody + 16, kBody + 20); break;
    case gdi::EMR_POLYPOLYGON: line = Line(f, "polypolygon").Int(kBody + 16).Int(kBody + 20); break;
    case gdi::EMR_MOVETOEX: line = Line(f, "moveto").Pair(kBody); break;
    case gdi::EMR_LINETO: line = Line(f, "lineto").Pair(kBody); break;
    case gdi::EMR_RECTANGLE: line = Line(f, "rectangle").Box(kBody); break;
    case gdi::EMR_ELLIPSE: line = Line(f, "ellipse").Box(kBody); break;
    case gdi::EMR_ROUNDRECT: line = Line(f, "roundrect").Box(kBody).Pair(kBody + 16); break;
    case gdi::EMR_ARC: line = Line(f, "arc").Box(kBody).Pair(kBody + 16).Pair(kBody + 24); break;
    case gdi::EMR_CHORD: line = Line(f, "chord").Box(kBody).Pair(kBody + 16).Pair(kBody + 24); break;
    case gdi::EMR_PIE: line = Line(f, "pie").Box(kBody).Pair(kBody + 16).Pair(kBody + 24); break;
    case gdi::EMR_SETPIXELV: line = Line(f, "pixel").Pair(kBody).Color(kBody + 8); break;
    case gdi::EMR_CREATEPEN:
      line = Line(f, "pen").Int(kBody).Int(kBody + 4, "style").Int(kBody + 8, "width").Color(kBody + 16, "color");
      break;
    case gdi::EMR_CREATEBRUSHINDIRECT:
      line = Line(f, "brush").Int(kBody).Int(kBody + 4, "style").Color(kBody + 8, "color").Int(kBody + 12, "hatch");
      break;
    case gdi::EMR_EXTCREATEFONTINDIRECTW: line = Line(f, "font"); DescribeFont(f, *line); break;
    case gdi::EMR_EXTTEXTOUTW: line = Line(f, "text"); DescribeText(f, *line); break;
    case gdi::EMR_SELECTOBJECT:
    case gdi::EMR_DELETEOBJECT: {
      line = Line(f, record.type == gdi::EMR_SELECTOBJECT ? "select" : "delete");
      const auto h = f.U32(kBody);
      if (h) line->Word(Handle(*h));
      else line->Damage();
      break;
    }
    case gdi::EMR_SETTEXTCOLOR: line = color("textcolor"); break;
    case gdi::EMR_SETBKCOLOR: line = color("bkcolor"); break;
    case gdi::EMR_SETBKMODE: line = one("bkmode"); break;
    case gdi::EMR_SETTEXTALIGN: line = one("textalign"); break;
    case gdi::EMR_SETROP2: line = one("rop2"); break;
    case gdi::EMR_SETPOLYFILLMODE: line = one("polyfillmode"); break;
    case gdi::EMR_SETMAPMODE: line = one("mapmode"); break;
    case gdi::EMR_SAVEDC: line = Line(f, "savedc"); break;
    case gdi::EMR_RESTOREDC: line = one("restoredc"); break;
    case gdi::EMR_SETBRUSHORGEX: line = Line(f, "brushorg").Pair(kBody); break;
    case gdi::EMR_BITBLT:
      line = Line(f, "bitblt").Pair(kBody + 16).Pair(kBody + 24).HexWord(kBody + 32, "rop");
      break;
    default:
      line = Line(f, "record").Word(std::to_string(record.type)).Word("size=" + std::to_string(record.bytes.size()));
  }
  *damaged = line->Damaged();
  return line->Text();
}

}  // namespace

std::vector<std::string> DescribeDrawing(const gdi::EnhMetaFile& picture) {
  std::vector<std::string> lines;
  for (const gdi::MetaRecord& record : picture.Records()) {
    if (record.type == gdi::EMR_EOF) break;
    bool damaged = false;
    std::string line = Describe(record, &damaged);
    if (damaged) {
      lines.push_back("damaged");
      break;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace plot_testing
