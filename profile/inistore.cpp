#include "profile/inistore.h"

#include <new>
#include <vector>
#include <string_view>

#include "platform/base/numtext.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"

namespace dorlin {

namespace {

using plat::String16;
using std::u16string_view;

int typeControl = 0;

struct TypeWord {
  u16string_view word;
  int type;
};
// In their order of search.
constexpr TypeWord kTypeWords[] = {
    {u"REG_SZ", PROF_TYPE_STRING},         {u"REG_DWORD", PROF_TYPE_DWORD},
    {u"REG_MULTI_SZ", PROF_TYPE_MULTI_STRING}, {u"REG_BINARY", PROF_TYPE_BINARY},
    {u"REG_EXPAND_SZ", PROF_TYPE_EXPAND_STRING}, {u"REG_NONE", PROF_TYPE_NONE},
};

u16string_view typeWord(int type) {
  for (const TypeWord& w : kTypeWords) {
    if (w.type == type) return w.word;
  }
  return u"REG_NONE";
}

bool fail(int code) {
  setLastError(code);
  return false;
}

bool holdsLineBreak(u16string_view text) { return text.find_first_of(u"\r\n") != u16string_view::npos; }

// A value name that would not read back as itself is refused: one that holds a line break or
// "=", is empty, has white space at either end, or starts like a comment or a header.
bool isWritableName(u16string_view name) {
  if (name.empty() || holdsLineBreak(name) || name.find(u'=') != u16string_view::npos) return false;
  if (plat::isSpace(name.front()) || plat::isSpace(name.back())) return false;
  return name.front() != u';' && name.front() != u'[';
}

bool isHeader(u16string_view line, u16string_view* name) {
  if (line.size() < 2 || line.front() != u'[' || line.back() != u']') return false;
  if (name) *name = plat::trim(line.substr(1, line.size() - 2));
  return true;
}

// Splits a value line into its trimmed name and the text after its first "=".
bool splitValueLine(u16string_view line, u16string_view* name, u16string_view* rest) {
  const u16string_view t = plat::trimLeft(line);
  if (t.empty() || t.front() == u';') return false;
  const std::size_t eq = t.find(u'=');
  if (eq == u16string_view::npos || eq == 0) return false;
  *name = plat::trim(t.substr(0, eq));
  *rest = t.substr(eq + 1);
  return true;
}

bool isTypeWord(u16string_view word, int* type) {
  for (const TypeWord& w : kTypeWords) {
    if (word == w.word) {
      *type = w.type;
      return true;
    }
  }
  return false;
}

bool isQuoted(u16string_view text) { return text.size() >= 2 && text.front() == u'"' && text.back() == u'"'; }

// True when text, written as it is, would not read back as itself: it has white space at either
// end, holds "; " (a comment would start there), begins with a type word, or is a text in
// double quotes that would itself need them (it would read as the text inside).
bool needsQuotes(u16string_view text) {
  for (;;) {
    if (text.empty()) return false;
    if (plat::isSpace(text.front()) || plat::isSpace(text.back())) return true;
    if (text.find(u"; ") != u16string_view::npos) return true;
    int type = 0;
    const std::size_t space = text.find(u' ');
    if (space != u16string_view::npos && isTypeWord(text.substr(0, space), &type)) return true;
    if (!isQuoted(text)) return false;
    text = text.substr(1, text.size() - 2);
  }
}

// The form a string value is written in: as it is, or in double quotes when it would not read
// back otherwise. Texts that read back as themselves, which is all a file written elsewhere
// holds in practice, are never quoted.
String16 storedText(const String16& text) { return needsQuotes(text) ? u"\"" + text + u"\"" : text; }

// The text after "=": an optional type word before the first space, then the value. A value in
// double quotes whose inner text needs them (see needsQuotes) is that inner text, as written;
// any other value is cut at "; ", which starts a trailing comment, and trimmed. A type word
// followed only by white space (a typed empty value) keeps its type.
void parseValueText(u16string_view rest, String16* text, int* type) {
  u16string_view t = plat::trimLeft(rest);
  *type = PROF_TYPE_NONE;
  const std::size_t space = t.find(u' ');
  if (space != u16string_view::npos && isTypeWord(t.substr(0, space), type)) t = plat::trimLeft(t.substr(space + 1));
  const u16string_view whole = plat::trimRight(t);
  if (isQuoted(whole) && needsQuotes(whole.substr(1, whole.size() - 2))) {
    *text = String16(whole.substr(1, whole.size() - 2));
    return;
  }
  const std::size_t comment = t.find(u"; ");
  if (comment != u16string_view::npos) t = t.substr(0, comment);
  *text = String16(plat::trimRight(t));
}

bool isLineHeader(const COrvTextFile& file, std::size_t i, u16string_view* name = nullptr) {
  return isHeader(file.GetLine(i), name);
}

// The line range of the named section; the root section (empty name) always exists.
bool findBlock(const COrvTextFile& file, u16string_view section, std::size_t* first, std::size_t* count) {
  const std::size_t n = file.GetLineCount();
  std::size_t start = n;
  if (section.empty()) {
    start = 0;
  } else {
    u16string_view name;
    for (std::size_t i = 0; i < n; ++i) {
      if (isLineHeader(file, i, &name) && plat::equalsNoCase(name, section)) {
        start = i;
        break;
      }
    }
    if (start == n) return false;
  }
  std::size_t end = section.empty() ? start : start + 1;
  while (end < n && !isLineHeader(file, end)) ++end;
  *first = start;
  *count = end - start;
  return true;
}

// Index of the value line named name in the block [first, first + count), or npos.
std::size_t findValueLine(const COrvTextFile& file, std::size_t first, std::size_t count, u16string_view name) {
  u16string_view lineName, rest;
  for (std::size_t i = first; i < first + count; ++i) {
    const String16& line = file.GetLine(i);
    if (isHeader(line, nullptr) || !splitValueLine(line, &lineName, &rest)) continue;
    if (plat::equalsNoCase(lineName, name)) return i;
  }
  return String16::npos;
}

// The edits of the lines. Each is made by a store operation and made again, the same way, on
// the lines of a file that another process saved meanwhile (COrvTextFile::KeepEdit).

// Makes the missing section and its missing ancestors: each level, from the top down, goes
// right after its parent's own lines; a missing top level goes to the end of the file. Gives
// the new section's block (its header line).
void makeSection(COrvTextFile& file, const String16& section, std::size_t* first, std::size_t* count) {
  std::size_t insertAt = file.GetLineCount();
  std::vector<plat::SectionPath> missing{plat::SectionPath(section)};  // from the section up
  for (plat::SectionPath up = missing.back().parent(); !up.empty(); up = up.parent()) {
    std::size_t upFirst = 0, upCount = 0;
    if (findBlock(file, up.text(), &upFirst, &upCount)) {
      insertAt = upFirst + upCount;
      break;
    }
    missing.push_back(up);
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level)
    file.InsertLine(insertAt++, u"[" + level->text() + u"]");
  *first = insertAt - 1;
  *count = 1;
}

// The block of section, made when it is missing.
void findOrMakeSection(COrvTextFile& file, const String16& section, std::size_t* first, std::size_t* count) {
  if (!findBlock(file, section, first, count)) makeSection(file, section, first, count);
}

// Sets the value line of name in the block: replaced in place, or added at the block's end.
// True when a line was added.
bool putValueLine(COrvTextFile& file, std::size_t first, std::size_t count, u16string_view name,
                  const String16& line) {
  const std::size_t at = findValueLine(file, first, count, name);
  if (at != String16::npos) {
    file.SetLine(at, line);
    return false;
  }
  file.InsertLine(first + count, line);
  return true;
}

// Removes the section's block; a section with subsections stays, as in the registry, since
// removing only its own lines would leave its subsections behind without it.
int removeSection(COrvTextFile& file, const String16& section) {
  std::size_t first = 0, count = 0;
  if (!findBlock(file, section, &first, &count)) return PROF_NO_SECTION;
  const plat::SectionPath self(section);
  plat::SectionPath below;
  u16string_view name;
  for (std::size_t i = 0; i < file.GetLineCount(); ++i) {
    if (isLineHeader(file, i, &name) && self.below(name, &below)) return PROF_HAS_SUBSECTIONS;
  }
  file.RemoveLines(first, count);
  return PROF_OK;
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The C runtime's number rules with base 0: "0x" hexadecimal, a leading "0" octal, else
// decimal; leading white space and one sign; stops at the first character that does not fit.
struct CNumber {
  std::uint64_t magnitude = 0;
  bool negative = false;
  bool overflow = false;  // above 32 bits
};

CNumber parseCNumber(u16string_view t) {
  CNumber r;
  std::size_t i = 0;
  while (i < t.size() && plat::isSpace(t[i])) ++i;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) r.negative = t[i++] == u'-';
  int base = 10;
  if (i + 2 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X') && hexDigit(t[i + 2]) >= 0) {
    base = 16;
    i += 2;
  } else if (i < t.size() && t[i] == u'0') {
    base = 8;
  }
  for (; i < t.size(); ++i) {
    const int d = hexDigit(t[i]);
    if (d < 0 || d >= base) break;
    if (!r.overflow) {
      r.magnitude = r.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
      if (r.magnitude > 0xFFFFFFFFu) r.overflow = true;
    }
  }
  return r;
}

// strtol of a 32-bit long: out of range saturates.
int parseInt(u16string_view t) {
  const CNumber n = parseCNumber(t);
  if (n.negative) return n.overflow || n.magnitude > 0x80000000u ? INT32_MIN : static_cast<int>(-static_cast<std::int64_t>(n.magnitude));
  return n.overflow || n.magnitude > 0x7FFFFFFFu ? INT32_MAX : static_cast<int>(n.magnitude);
}

// strtoul of a 32-bit unsigned long: a sign negates modulo 2^32, out of range saturates.
std::uint32_t parseDWord(u16string_view t) {
  const CNumber n = parseCNumber(t);
  if (n.overflow) return 0xFFFFFFFFu;
  const auto v = static_cast<std::uint32_t>(n.magnitude);
  return n.negative ? static_cast<std::uint32_t>(0u - v) : v;
}

Bytes parseBinary(u16string_view t) {
  Bytes out;
  unsigned current = 0;
  bool pending = false;
  for (const char16_t raw : t) {
    const char16_t c = plat::upperCase(raw);
    const int d = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') ? hexDigit(c) : -1;
    if (d >= 0) {
      current = ((current << 4) | static_cast<unsigned>(d)) & 0xFFu;
      pending = true;
    } else if (c != u'X' && pending) {
      out.push_back(static_cast<std::uint8_t>(current));
      current = 0;
      pending = false;
    }
  }
  if (pending) out.push_back(static_cast<std::uint8_t>(current));
  return out;
}

String16 hexText(std::uint32_t v) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String16 digits;
  do {
    digits.insert(digits.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return u"0x" + digits;
}

}  // namespace

COrvComDesc* newIniStore() { return new (std::nothrow) COrvIniDesc; }
int setIniCacheMode(int mode) { return COrvFileDispatcher::SetCacheMode(mode); }
int setIniTypeControl(int on) { return COrvIniDesc::SetTypeControl(on); }

int COrvIniDesc::SetTypeControl(int on) {
  typeControl = on;
  return on;
}

COrvIniDesc::~COrvIniDesc() {
  if (open_) (void)Close();
}

void COrvIniDesc::TakeLocation(const CProfLocation& location, int mode) {
  fileName_ = location.root;
  section_ = plat::SectionPath(location.path).relative().text();
  mode_ = mode;
  DropCache();
}

bool COrvIniDesc::FindSection(const COrvTextFile& file) {
  if (cachedCounter_ != 0 && cachedCounter_ == file.GetChangeCounter()) return true;
  cachedCounter_ = 0;
  if (!findBlock(file, section_, &blockFirst_, &blockCount_)) return false;
  cachedCounter_ = file.GetChangeCounter();
  return true;
}

std::size_t COrvIniDesc::FindValue(const COrvTextFile& file, const String16& name, ValueText* value) const {
  const std::size_t at = findValueLine(file, blockFirst_, blockCount_, name);
  u16string_view lineName, rest;
  if (at != String16::npos && value && splitValueLine(file.GetLine(at), &lineName, &rest))
    parseValueText(rest, &value->text, &value->type);
  return at;
}

template <class Op>
bool COrvIniDesc::Run(int need, bool forWrite, Op op) {
  if (need != 0 && (mode_ & need) == 0) return fail(PROF_ACCESS_DENIED);
  COrvTextFile* file = OpenTextFile(fileName_, forWrite);
  // A file that cannot be obtained, or a section another store deleted, has no code of its own.
  if (!file) return fail(PROF_ERROR);
  int code = FindSection(*file) ? op(*file) : PROF_ERROR;
  const bool saved = ReleaseTextFile(file);
  if (code == PROF_OK && !saved) code = PROF_WRITE_FAULT;
  return code == PROF_OK ? true : fail(code);
}

bool COrvIniDesc::Open(const CProfLocation& location, int mode) {
  if (open_) (void)Close();
  TakeLocation(location, mode);
  const bool forWrite = (mode & (PROF_ACCESS_WRITE | PROF_ACCESS_CREATE_SUB | PROF_ACCESS_CREATE_LINK)) != 0;
  COrvTextFile* file = OpenTextFile(fileName_, forWrite);
  if (!file) return fail(PROF_ERROR);
  const bool found = FindSection(*file);
  if (found) {
    ++file->refCount;
    open_ = true;
  }
  const bool saved = ReleaseTextFile(file);
  if (!found) return fail(PROF_NO_SECTION);
  return saved ? true : fail(PROF_WRITE_FAULT);
}

bool COrvIniDesc::Create(const CProfLocation& location, int mode, int /*options*/) {
  if (open_) (void)Close();
  TakeLocation(location, mode);
  if (holdsLineBreak(section_)) return fail(PROF_INVALID_PARAMETER);
  COrvTextFile* file = OpenTextFile(fileName_, true);
  if (!file) return fail(PROF_ERROR);
  if (!FindSection(*file)) {
    if (!file->CanHold(section_)) {
      (void)ReleaseTextFile(file);
      return fail(PROF_INVALID_PARAMETER);
    }
    makeSection(*file, section_, &blockFirst_, &blockCount_);
    file->KeepEdit([section = section_](COrvTextFile& f) {
      std::size_t first = 0, count = 0;
      findOrMakeSection(f, section, &first, &count);
    });
    cachedCounter_ = file->GetChangeCounter();
  }
  ++file->refCount;
  open_ = true;
  const bool saved = ReleaseTextFile(file);
  return saved ? true : fail(PROF_WRITE_FAULT);
}

bool COrvIniDesc::Close() {
  if (!open_) return true;
  open_ = false;
  COrvTextFile* file = OpenTextFile(fileName_, false);
  if (!file) return fail(PROF_ERROR);
  if (file->refCount > 0) --file->refCount;
  bool saved = ReleaseTextFile(file);
  // The last store is about to go, which writes the cache back: do it here, where a failed
  // write can still be reported.
  if (GetLiveStoreCount() == 1) saved = FlushTextFiles() && saved;
  return saved ? true : fail(PROF_WRITE_FAULT);
}

bool COrvIniDesc::DeleteSection(const CProfLocation& location) {
  TakeLocation(location, mode_);
  COrvTextFile* file = OpenTextFile(fileName_, true);
  if (!file) return fail(PROF_ERROR);
  int code = removeSection(*file, section_);
  if (code == PROF_OK)
    file->KeepEdit([section = section_](COrvTextFile& f) { (void)removeSection(f, section); });
  DropCache();
  const bool saved = ReleaseTextFile(file);
  if (code == PROF_OK && !saved) code = PROF_WRITE_FAULT;
  return code == PROF_OK ? true : fail(code);
}

bool COrvIniDesc::ReadValue(const String16& name, ValueText* value) {
  return Run(PROF_ACCESS_READ, false, [&](const COrvTextFile& file) {
    return FindValue(file, name, value) == String16::npos ? PROF_NO_VALUE : PROF_OK;
  });
}

bool COrvIniDesc::GetValueType(const String16& name, int* type) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  *type = v.type;
  return true;
}

bool COrvIniDesc::GetInt(const String16& name, int* value) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  if (v.type != PROF_TYPE_DWORD && v.type != PROF_TYPE_NONE) return fail(PROF_WRONG_TYPE);
  *value = parseInt(v.text);
  return true;
}

bool COrvIniDesc::GetDWord(const String16& name, std::uint32_t* value) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  if (v.type != PROF_TYPE_DWORD && v.type != PROF_TYPE_NONE) return fail(PROF_WRONG_TYPE);
  *value = parseDWord(v.text);
  return true;
}

bool COrvIniDesc::GetString(const String16& name, String16* text) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  if (v.type != PROF_TYPE_STRING && v.type != PROF_TYPE_NONE) return fail(PROF_WRONG_TYPE);
  *text = std::move(v.text);
  return true;
}

bool COrvIniDesc::GetBinary(const String16& name, Bytes* bytes) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  if (v.type != PROF_TYPE_BINARY && v.type != PROF_TYPE_NONE) return fail(PROF_WRONG_TYPE);
  *bytes = parseBinary(v.text);
  return true;
}

bool COrvIniDesc::GetValue(const String16& name, Bytes* bytes, int* type) {
  ValueText v;
  if (!ReadValue(name, &v)) return false;
  auto appendText = [&](u16string_view text, int nulCount) {
    bytes->clear();
    bytes->reserve((text.size() + 2) * 2);
    for (const char16_t c : text) {
      bytes->push_back(static_cast<std::uint8_t>(c & 0xFF));
      bytes->push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes->insert(bytes->end(), static_cast<std::size_t>(nulCount) * 2, 0);
  };
  switch (v.type) {
    case PROF_TYPE_DWORD: {
      const std::uint32_t d = parseDWord(v.text);
      *bytes = {static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(d >> 8), static_cast<std::uint8_t>(d >> 16),
                static_cast<std::uint8_t>(d >> 24)};
      *type = PROF_TYPE_DWORD;
      return true;
    }
    case PROF_TYPE_BINARY:
      *bytes = parseBinary(v.text);
      *type = PROF_TYPE_BINARY;
      return true;
    case PROF_TYPE_MULTI_STRING:
      // The text is the one string of the list.
      appendText(v.text, 2);
      *type = PROF_TYPE_MULTI_STRING;
      return true;
    case PROF_TYPE_EXPAND_STRING:
      appendText(v.text, 1);
      *type = PROF_TYPE_EXPAND_STRING;
      return true;
    default:
      // An untyped value reads as a string, so a tree copied out of the file keeps its values.
      appendText(v.text, 1);
      *type = PROF_TYPE_STRING;
      return true;
  }
}

bool COrvIniDesc::WriteValue(const String16& name, const String16& text, int type) {
  if ((mode_ & PROF_ACCESS_WRITE) == 0) return fail(PROF_ACCESS_DENIED);
  if (!isWritableName(name) || holdsLineBreak(text)) return fail(PROF_INVALID_PARAMETER);
  // An untyped value never gets a type word, whatever the type control says.
  const String16 line = typeControl && type != PROF_TYPE_NONE ? name + u" = " + String16(typeWord(type)) + u" " + text
                                                              : name + u"=" + text;
  return Run(PROF_ACCESS_WRITE, true, [&](COrvTextFile& file) {
    if (!file.CanHold(line)) return PROF_INVALID_PARAMETER;
    if (putValueLine(file, blockFirst_, blockCount_, name, line)) {
      ++blockCount_;
      cachedCounter_ = file.GetChangeCounter();
    }
    file.KeepEdit([section = section_, name, line](COrvTextFile& f) {
      std::size_t first = 0, count = 0;
      findOrMakeSection(f, section, &first, &count);
      (void)putValueLine(f, first, count, name, line);
    });
    return PROF_OK;
  });
}

bool COrvIniDesc::SetInt(const String16& name, const int* value) {
  return WriteValue(name, plat::formatInt16(*value), PROF_TYPE_DWORD);
}

bool COrvIniDesc::SetDWord(const String16& name, const std::uint32_t* value) {
  return WriteValue(name, hexText(*value), PROF_TYPE_DWORD);
}

bool COrvIniDesc::SetString(const String16& name, const String16* text) {
  return WriteValue(name, storedText(*text), PROF_TYPE_STRING);
}

bool COrvIniDesc::SetBinary(const String16& name, const Bytes* bytes) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String16 text;
  text.reserve(bytes->size() * 3);
  for (const std::uint8_t b : *bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
    text += u' ';
  }
  return WriteValue(name, text, PROF_TYPE_BINARY);
}

bool COrvIniDesc::SetValue(const String16& name, const Bytes* bytes, int type) {
  // Untyped text (16-bit, an ending NUL allowed) is the one value without a typed setter; a
  // caller writes it so that no type word is written whatever the process-wide switch says. It
  // reads back as a string, so it is stored in the same lossless form as one.
  if (type != PROF_TYPE_NONE) return fail(PROF_NOT_SUPPORTED);
  String16 text = plat::fromUtf16Le(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  if (bytes->size() % 2 != 0 || text.find(u'\0') != String16::npos) return fail(PROF_INVALID_PARAMETER);
  return WriteValue(name, storedText(text), PROF_TYPE_NONE);
}

bool COrvIniDesc::DeleteValue(const String16& name) {
  return Run(PROF_ACCESS_WRITE, true, [&](COrvTextFile& file) {
    const std::size_t at = FindValue(file, name, nullptr);
    if (at == String16::npos) return PROF_NO_VALUE;
    file.RemoveLine(at);
    DropCache();
    file.KeepEdit([section = section_, name](COrvTextFile& f) {
      std::size_t first = 0, count = 0;
      if (!findBlock(f, section, &first, &count)) return;
      const std::size_t line = findValueLine(f, first, count, name);
      if (line != String16::npos) f.RemoveLine(line);
    });
    return PROF_OK;
  });
}

template <class Visit>
void COrvIniDesc::ForEachSubsection(const COrvTextFile& file, Visit visit) const {
  const plat::SectionPath self(section_);
  plat::SectionPath own;
  u16string_view name;
  for (std::size_t i = blockFirst_ + blockCount_; i < file.GetLineCount(); ++i) {
    if (!isLineHeader(file, i, &name)) continue;
    if (!self.below(name, &own)) break;
    if (own.isSingleName()) visit(u16string_view(own.text()));
  }
}

bool COrvIniDesc::GetSectionCount(int* count) {
  return Run(PROF_ACCESS_ENUM, false, [&](const COrvTextFile& file) {
    int n = 0;
    ForEachSubsection(file, [&](u16string_view) { ++n; });
    *count = n;
    return PROF_OK;
  });
}

bool COrvIniDesc::EnumSection(int index, String16* name) {
  if ((mode_ & PROF_ACCESS_ENUM) == 0) return fail(PROF_ACCESS_DENIED);
  if (index < 0) return fail(PROF_NO_MORE_ITEMS);
  return Run(PROF_ACCESS_ENUM, false, [&](const COrvTextFile& file) {
    int n = 0;
    bool found = false;
    ForEachSubsection(file, [&](u16string_view own) {
      if (n++ == index) {
        *name = String16(own);
        found = true;
      }
    });
    return found ? PROF_OK : PROF_NO_MORE_ITEMS;
  });
}

bool COrvIniDesc::GetValueCount(int* count) {
  return Run(PROF_ACCESS_READ, false, [&](const COrvTextFile& file) {
    int n = 0;
    u16string_view lineName, rest;
    for (std::size_t i = blockFirst_; i < blockFirst_ + blockCount_; ++i) {
      const String16& line = file.GetLine(i);
      if (!isHeader(line, nullptr) && splitValueLine(line, &lineName, &rest)) ++n;
    }
    *count = n;
    return PROF_OK;
  });
}

bool COrvIniDesc::EnumValue(int index, String16* name, int* type) {
  if ((mode_ & PROF_ACCESS_READ) == 0) return fail(PROF_ACCESS_DENIED);
  if (index < 0) return fail(PROF_NO_MORE_ITEMS);
  return Run(PROF_ACCESS_READ, false, [&](const COrvTextFile& file) {
    int n = 0;
    u16string_view lineName, rest;
    for (std::size_t i = blockFirst_; i < blockFirst_ + blockCount_; ++i) {
      const String16& line = file.GetLine(i);
      if (isHeader(line, nullptr) || !splitValueLine(line, &lineName, &rest)) continue;
      if (n++ != index) continue;
      String16 text;
      parseValueText(rest, &text, type);
      *name = String16(lineName);
      return PROF_OK;
    }
    return PROF_NO_MORE_ITEMS;
  });
}

}  // namespace dorlin
