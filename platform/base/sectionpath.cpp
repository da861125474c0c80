#include "platform/base/sectionpath.h"

#include "platform/base/text.h"

namespace plat {

namespace {
constexpr char16_t kSep = SectionPath::kSeparator;
}

bool SectionPath::splitCombined(std::u16string_view text, SectionPath* root, SectionPath* section) {
  const std::size_t pos = text.find(u"\\\\");
  if (pos == std::u16string_view::npos) return false;
  *root = SectionPath(text.substr(0, pos));
  *section = SectionPath(text.substr(pos + 1));
  return true;
}

SectionPath SectionPath::absolute() const {
  if (isAbsolute()) return *this;
  return SectionPath(kSep + text_);
}

SectionPath SectionPath::relative() const {
  return SectionPath(isAbsolute() ? std::u16string_view(text_).substr(1) : std::u16string_view(text_));
}

SectionPath SectionPath::trimmed() const {
  std::u16string_view text(text_);
  if (!text.empty() && text.front() == kSep) text.remove_prefix(1);
  while (!text.empty() && text.back() == kSep) text.remove_suffix(1);
  return SectionPath(text);
}

SectionPath SectionPath::join(std::u16string_view child) const {
  if (text_.empty() || child.empty()) return SectionPath(text_.empty() ? child : std::u16string_view(text_));
  String16 out(text_);
  const bool leftSep = out.back() == kSep;
  const bool rightSep = child.front() == kSep;
  // A doubled "\" would name a section with an empty name, which the registry refuses.
  if (leftSep && rightSep) {
    child.remove_prefix(1);
  } else if (!leftSep && !rightSep) {
    out += kSep;
  }
  out += child;
  return SectionPath(out);
}

SectionPath SectionPath::child(std::u16string_view name) const {
  String16 out(text_);
  if (out.empty() || out.back() != kSep) out += kSep;
  out += name;
  return SectionPath(out);
}

SectionPath SectionPath::parent() const {
  const std::size_t cut = text_.rfind(kSep);
  return cut == String16::npos ? SectionPath() : SectionPath(std::u16string_view(text_).substr(0, cut));
}

bool SectionPath::splitLast(SectionPath* parent, String16* name) const {
  const std::size_t cut = text_.rfind(kSep);
  if (cut == String16::npos) return false;
  *parent = SectionPath(std::u16string_view(text_).substr(0, cut));
  *name = text_.substr(cut + 1);
  return true;
}

void SectionPath::splitRoot(String16* root, SectionPath* rest) const {
  const SectionPath whole = trimmed();
  const std::u16string_view text(whole.text_);
  const std::size_t cut = text.find(kSep);
  *root = String16(text.substr(0, cut));
  *rest = cut == std::u16string_view::npos ? SectionPath() : SectionPath(text.substr(cut + 1));
}

bool SectionPath::below(std::u16string_view item, SectionPath* rest) const {
  if (!startsWithNoCase(item, text_)) return false;
  item.remove_prefix(text_.size());
  if (!text_.empty() && text_.back() != kSep) {
    if (item.empty() || item.front() != kSep) return false;
    item.remove_prefix(1);
  }
  *rest = SectionPath(item);
  return true;
}

}  // namespace plat
