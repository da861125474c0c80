#pragma once
// SectionPath: the path of a section of the profile store, or of a registry key, below its root:
// names joined by "\" ("Software\Orvane\KEDRUS Lite\2.0"), absolute when it begins with "\"
// ("\CONTROL_NMR_0"). It is no file path: "/" is an ordinary character in it and nothing turns
// "\" into "/" (file paths are platform/base/path.h's). Names compare without regard to case.
#include <string_view>

#include "platform/base/types.h"

namespace plat {

class SectionPath {
 public:
  static constexpr char16_t kSeparator = u'\\';

  // A combined text "root\\section" (two backslashes between root and section): the root before
  // them and the section from the second on, so absolute. False when the text holds no "\\".
  static bool splitCombined(std::u16string_view text, SectionPath* root, SectionPath* section);

  SectionPath() = default;
  explicit SectionPath(std::u16string_view text) : text_(text) {}

  const String16& text() const { return text_; }
  const char16_t* c_str() const { return text_.c_str(); }
  bool empty() const { return text_.empty(); }
  bool isAbsolute() const { return !text_.empty() && text_.front() == kSeparator; }
  // One name, without any "\" (a direct subsection, a plain value name).
  bool isSingleName() const { return !text_.empty() && text_.find(kSeparator) == String16::npos; }
  bool operator==(const SectionPath&) const = default;

  // The path with "\" in front unless it has one (the empty path becomes "\").
  SectionPath absolute() const;
  // The path without its leading "\" (one): how a store names a section below its root.
  SectionPath relative() const;
  // Without a leading "\" and without trailing ones: the key path the registry opens.
  SectionPath trimmed() const;

  // This path, "\" and child, with exactly one "\" where they meet; an empty side gives the
  // other as it is.
  SectionPath join(std::u16string_view child) const;
  // The path of name below this one: "\" put after this path unless it ends with one (the empty
  // path gives "\" + name), then name, which may be empty (the unnamed value of a section).
  SectionPath child(std::u16string_view name) const;
  // The path before the last "\" ("a\b\c" gives "a\b", "\c" and "c" give the empty path).
  SectionPath parent() const;
  // Splits at the last "\" into the path before it and the name after it; false (and nothing
  // set) when the path holds no "\".
  bool splitLast(SectionPath* parent, String16* name) const;
  // The first name of the trimmed path and the rest ("HKEY_CURRENT_USER\Software\X" gives
  // "HKEY_CURRENT_USER" and "Software\X").
  void splitRoot(String16* root, SectionPath* rest) const;
  // The path of item below this one, without the "\" between ("A\b" below "a" is "b", "a\"
  // below "a" the empty path of its unnamed value); false when item is this path itself or does
  // not lie below it. Every path lies below the empty one.
  bool below(std::u16string_view item, SectionPath* rest) const;

 private:
  String16 text_;
};

}  // namespace plat
