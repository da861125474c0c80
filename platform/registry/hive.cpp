// Hive file format (UTF-8 text, one item a line, "\n" line ends):
//
//   kedrus-registry-hive 1
//   value "" sz "text of the root's default value"
//   key "Software"
//   key "Software" "Orvane"
//   value "Count" dword 42
//   value "Title" sz "Spectra \"Lite\"\n"
//   value "Blob" binary hex:00ff10
//
// - The first line is the header. Blank lines and lines starting with "#" are ignored.
// - "key" lines name a key by its full path below the root, one quoted name per level. Every
//   key's parent appears on an earlier line (the writer lists keys parent first, children in
//   enumeration order). "value" lines belong to the last key line above them; the root's own
//   values come before the first key line. Values are listed in creation order.
// - A value line is: value <quoted name> <type> <data>. Types: none, sz, expand-sz, binary,
//   dword, dword-be, link, multi-sz, resource-list. Data is one of
//     "..."      for sz, expand-sz, multi-sz whose bytes are 16-bit text ending in one NUL: the
//                text without that final NUL (a multi-sz keeps its inner NULs as \u0000);
//     <decimal>  for dword and dword-be of exactly 4 bytes: the number in the type's byte order;
//     hex:<hex>  for anything else: every byte, two hex digits each (may be empty).
// - Quoted strings hold the exact 16-bit code units: printable characters as UTF-8, and the
//   escapes \\ \" \n \r \t and \uXXXX (one code unit, used for other control characters and
//   for unpaired surrogates). So every name and value round-trips, whatever it contains.
// - Volatile keys are never written.
//
// The reader trusts nothing: every line, escape, number and length is checked, and anything
// it does not understand makes the whole hive unreadable rather than silently dropping data.
#include "platform/registry/hive.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <unordered_set>

#include "platform/base/numtext.h"
#include "platform/base/text.h"

namespace plat::reg::detail {

// ---- tree -------------------------------------------------------------------------------

std::size_t Node::childPosition(std::u16string_view childName, bool* found) const {
  // Children usually arrive in order (the file lists them so): check the end first.
  if (!children.empty()) {
    const int last = compareNoCase(children.back()->name, childName);
    if (last < 0) {
      *found = false;
      return children.size();
    }
    if (last == 0) {
      *found = true;
      return children.size() - 1;
    }
  }
  const auto it = std::lower_bound(children.begin(), children.end(), childName,
                                   [](const std::shared_ptr<Node>& n, std::u16string_view name) {
                                     return compareNoCase(n->name, name) < 0;
                                   });
  *found = it != children.end() && compareNoCase((*it)->name, childName) == 0;
  return static_cast<std::size_t>(it - children.begin());
}

Node* Node::findChild(std::u16string_view childName) const {
  bool found = false;
  const std::size_t i = childPosition(childName, &found);
  return found ? children[i].get() : nullptr;
}

std::shared_ptr<Node> Node::addChild(std::u16string_view childName, bool makeVolatile) {
  auto child = std::make_shared<Node>();
  child->name = String16(childName);
  child->depth = depth + 1;
  child->isVolatile = makeVolatile;
  insertChild(child);
  return child;
}

std::shared_ptr<Node> Node::detachChild(std::u16string_view childName) {
  bool found = false;
  const std::size_t i = childPosition(childName, &found);
  if (!found) return nullptr;
  std::shared_ptr<Node> child = std::move(children[i]);
  children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
  return child;
}

void Node::insertChild(std::shared_ptr<Node> child) {
  bool found = false;
  const std::size_t i = childPosition(child->name, &found);
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(i), std::move(child));
}

std::size_t Node::valuePosition(std::u16string_view valueName) const {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (equalsNoCase(values[i].name, valueName)) return i;
  }
  return values.size();
}

void markDeleted(Node& node) {
  node.deleted = true;
  for (auto& child : node.children) markDeleted(*child);
}

void mergeFromFile(Node& live, Node& fromFile) {
  live.isVolatile = false;
  live.values = std::move(fromFile.values);
  std::vector<std::shared_ptr<Node>> merged;
  merged.reserve(std::max(live.children.size(), fromFile.children.size()));
  std::size_t i = 0, j = 0;
  while (i < live.children.size() || j < fromFile.children.size()) {
    int order;
    if (i == live.children.size()) order = 1;
    else if (j == fromFile.children.size()) order = -1;
    else order = compareNoCase(live.children[i]->name, fromFile.children[j]->name);
    if (order < 0) {  // only in memory: a volatile key stays, a stored one was deleted
      auto& child = live.children[i++];
      if (child->isVolatile) merged.push_back(std::move(child));
      else markDeleted(*child);
    } else if (order > 0) {  // new in the file
      merged.push_back(std::move(fromFile.children[j++]));
    } else {
      auto& child = live.children[i++];
      auto& stored = *fromFile.children[j++];
      child->name = std::move(stored.name);
      mergeFromFile(*child, stored);
      merged.push_back(std::move(child));
    }
  }
  live.children = std::move(merged);
}

// ---- writing ----------------------------------------------------------------------------

namespace {

constexpr std::string_view kHeader = "kedrus-registry-hive 1";
constexpr const char* kTypeNames[] = {"none", "sz",   "expand-sz", "binary",       "dword",
                                      "dword-be", "link", "multi-sz",  "resource-list"};
constexpr std::uint32_t kTypeCount = sizeof kTypeNames / sizeof kTypeNames[0];
constexpr char kHexDigits[] = "0123456789abcdef";

void appendUtf8(char32_t c, String8& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendEscapedUnit(char16_t c, String8& out) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(c >> shift) & 0xF];
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isPlainAscii(char16_t c) { return c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"'; }

void appendQuoted(std::u16string_view text, String8& out) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (isPlainAscii(c)) {  // the common case, copied in runs
      std::size_t end = i + 1;
      while (end < text.size() && isPlainAscii(text[end])) ++end;
      const std::size_t start = out.size();
      out.resize(start + (end - i));
      for (std::size_t k = i; k < end; ++k) out[start + (k - i)] = static_cast<char>(text[k]);
      i = end - 1;
      continue;
    }
    switch (c) {
      case u'\\': out += "\\\\"; continue;
      case u'"': out += "\\\""; continue;
      case u'\n': out += "\\n"; continue;
      case u'\r': out += "\\r"; continue;
      case u'\t': out += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      appendEscapedUnit(c, out);
    } else if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      appendUtf8(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00), out);
      ++i;
    } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
      appendEscapedUnit(c, out);
    } else {
      appendUtf8(c, out);
    }
  }
  out += '"';
}

bool isTextType(ValueType type) {
  return type == ValueType::String || type == ValueType::ExpandString ||
         type == ValueType::MultiString;
}

// 16-bit text stored as little-endian code units.
String16 unitsOf(std::string_view bytes) {
  String16 units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

void appendValueData(const Value& value, String8& out) {
  const std::string& d = value.data;
  if (isTextType(value.type) && d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 &&
      d[d.size() - 2] == 0) {
    const String16 units = unitsOf(std::string_view(d).substr(0, d.size() - 2));
    appendQuoted(units, out);
    return;
  }
  if ((value.type == ValueType::DWord || value.type == ValueType::DWordBigEndian) && d.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t byte = static_cast<unsigned char>(d[static_cast<std::size_t>(i)]);
      number |= value.type == ValueType::DWord ? byte << (8 * i) : byte << (8 * (3 - i));
    }
    out += formatUInt(number);
    return;
  }
  out += "hex:";
  for (const char ch : d) {
    const auto byte = static_cast<unsigned char>(ch);
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
  }
}

void appendKey(const Node& node, std::vector<const String16*>& path, String8& out) {
  for (const Value& value : node.values) {
    out += "value ";
    appendQuoted(value.name, out);
    out += ' ';
    out += kTypeNames[static_cast<std::uint32_t>(value.type)];
    out += ' ';
    appendValueData(value, out);
    out += '\n';
  }
  for (const auto& child : node.children) {
    if (child->isVolatile) continue;
    path.push_back(&child->name);
    out += "key";
    for (const String16* name : path) {
      out += ' ';
      appendQuoted(*name, out);
    }
    out += '\n';
    appendKey(*child, path, out);
    path.pop_back();
  }
}

}  // namespace

String8 serializeHive(const Node& root, std::size_t sizeHint) {
  String8 out;
  out.reserve(sizeHint + 4096);
  out += kHeader;
  out += '\n';
  std::vector<const String16*> path;
  appendKey(root, path, out);
  return out;
}

// ---- reading ----------------------------------------------------------------------------

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the tokens of one line.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool atEnd() {
    skipBlanks();
    return pos_ == line_.size();
  }
  bool nextIsQuoted() {
    skipBlanks();
    return pos_ < line_.size() && line_[pos_] == '"';
  }
  // A run of characters up to the next blank.
  std::string_view word() {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
    return line_.substr(start, pos_ - start);
  }
  // A quoted string; false when it is malformed or longer than maxUnits code units.
  bool quoted(String16* out, std::size_t maxUnits) {
    skipBlanks();
    out->clear();
    if (pos_ >= line_.size() || line_[pos_] != '"') return false;
    ++pos_;
    while (pos_ < line_.size()) {
      const char c = line_[pos_];
      if (c == '"') {
        ++pos_;
        // The token must end here.
        return pos_ == line_.size() || line_[pos_] == ' ' || line_[pos_] == '\t';
      }
      if (out->size() >= maxUnits) return false;
      if (c == '\\') {
        if (!escape(out)) return false;
      } else if (!utf8Char(out)) {
        return false;
      }
    }
    return false;  // no closing quote
  }

 private:
  void skipBlanks() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }

  bool escape(String16* out) {
    if (pos_ + 1 >= line_.size()) return false;
    const char e = line_[pos_ + 1];
    pos_ += 2;
    switch (e) {
      case '\\': *out += u'\\'; return true;
      case '"': *out += u'"'; return true;
      case 'n': *out += u'\n'; return true;
      case 'r': *out += u'\r'; return true;
      case 't': *out += u'\t'; return true;
      case 'u': {
        if (pos_ + 4 > line_.size()) return false;
        unsigned unit = 0;
        for (int i = 0; i < 4; ++i) {
          const int h = hexValue(line_[pos_ + static_cast<std::size_t>(i)]);
          if (h < 0) return false;
          unit = unit * 16 + static_cast<unsigned>(h);
        }
        pos_ += 4;
        *out += static_cast<char16_t>(unit);
        return true;
      }
      default: return false;
    }
  }

  // One well-formed UTF-8 character (no overlong forms, no encoded surrogates).
  bool utf8Char(String16* out) {
    const auto lead = static_cast<unsigned char>(line_[pos_]);
    std::size_t extra;
    char32_t c;
    if (lead < 0x80) {
      extra = 0;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      c = lead & 0x07;
    } else {
      return false;
    }
    if (pos_ + extra >= line_.size()) return false;
    for (std::size_t i = 1; i <= extra; ++i) {
      const auto b = static_cast<unsigned char>(line_[pos_ + i]);
      if ((b & 0xC0) != 0x80) return false;
      c = (c << 6) | (b & 0x3F);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      return false;
    }
    pos_ += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      *out += static_cast<char16_t>(0xD800 + (c >> 10));
      *out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      *out += static_cast<char16_t>(c);
    }
    return true;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

bool parseType(std::string_view word, ValueType* type) {
  for (std::uint32_t i = 0; i < kTypeCount; ++i) {
    if (word == kTypeNames[i]) {
      *type = static_cast<ValueType>(i);
      return true;
    }
  }
  return false;
}

bool parseValueData(LineReader& reader, ValueType type, std::string* data) {
  data->clear();
  if (reader.nextIsQuoted()) {
    if (!isTextType(type)) return false;
    String16 text;
    if (!reader.quoted(&text, kMaxValueSize / 2 - 1)) return false;
    data->reserve(text.size() * 2 + 2);
    for (const char16_t unit : text) {
      *data += static_cast<char>(unit & 0xFF);
      *data += static_cast<char>(unit >> 8);
    }
    data->append(2, '\0');
    return true;
  }
  const std::string_view word = reader.word();
  if (word.substr(0, 4) == "hex:") {
    const std::string_view digits = word.substr(4);
    if (digits.size() % 2 != 0 || digits.size() / 2 > kMaxValueSize) return false;
    data->resize(digits.size() / 2);
    for (std::size_t i = 0; i < data->size(); ++i) {
      const int hi = hexValue(digits[2 * i]), lo = hexValue(digits[2 * i + 1]);
      if (hi < 0 || lo < 0) return false;
      (*data)[i] = static_cast<char>(hi * 16 + lo);
    }
    return true;
  }
  if (type != ValueType::DWord && type != ValueType::DWordBigEndian) return false;
  std::uint32_t number = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
  if (word.empty() || ec != std::errc() || end != word.data() + word.size()) return false;
  data->resize(4);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t shift = type == ValueType::DWord ? 8 * i : 8 * (3 - i);
    (*data)[i] = static_cast<char>((number >> shift) & 0xFF);
  }
  return true;
}

String16 foldedName(std::u16string_view name) {
  String16 folded(name);
  for (char16_t& c : folded) c = foldCase(c);
  return folded;
}

}  // namespace

bool parseHive(std::string_view text, Node* root, String8* error) {
  std::size_t lineNumber = 0;
  auto fail = [&](const char* what) {
    if (error) *error = String8(what) + " on line " + formatUInt(lineNumber);
    return false;
  };
  if (text.empty()) return true;  // an empty file is an empty hive

  bool sawHeader = false;
  Node* current = root;
  std::unordered_set<String16> currentValueNames;  // folded, to catch duplicates fast
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++lineNumber;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    LineReader reader(line);
    if (reader.atEnd()) continue;
    const std::string_view keyword = reader.word();
    if (keyword[0] == '#') continue;
    if (!sawHeader) {
      const std::string_view version = reader.word();
      if (keyword != "kedrus-registry-hive" || version != "1" || !reader.atEnd()) {
        return fail("missing or unknown hive header");
      }
      sawHeader = true;
      continue;
    }
    if (keyword == "key") {
      Node* parent = root;
      String16 name;
      bool any = false;
      while (!reader.atEnd()) {
        if (any) {
          parent = parent->findChild(name);
          if (!parent) return fail("key listed before its parent");
        }
        if (!reader.quoted(&name, kMaxKeyNameLength) || name.empty()) return fail("bad key name");
        if (name.find(u'\\') != String16::npos) return fail("bad key name");
        any = true;
      }
      if (!any) return fail("key without a name");
      if (parent->depth + 1 > kMaxDepth) return fail("keys nested too deep");
      if (parent->findChild(name)) return fail("key listed twice");
      current = parent->addChild(name, false).get();
      currentValueNames.clear();
    } else if (keyword == "value") {
      Value value;
      if (!reader.quoted(&value.name, kMaxValueNameLength)) return fail("bad value name");
      if (!parseType(reader.word(), &value.type)) return fail("unknown value type");
      if (!parseValueData(reader, value.type, &value.data)) return fail("bad value data");
      if (!reader.atEnd()) return fail("text after the value");
      if (!currentValueNames.insert(foldedName(value.name)).second) return fail("value listed twice");
      current->values.push_back(std::move(value));
    } else {
      return fail("unknown line");
    }
  }
  if (!sawHeader) return fail("missing hive header");
  return true;
}

}  // namespace plat::reg::detail
