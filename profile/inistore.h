#pragma once
// The INI store: sections and values in an INI text file.
//
// Text format: a section starts at a header line "[name]" ("[" first, "]" last, the name
// trimmed; nested sections are backslash paths from the top, "[a\b]") and runs to the next
// header. The root section is the lines before the first header. A value line is
// "name=text", optionally "name = TYPEWORD text"; "; " starts a trailing comment and white space
// around the text is dropped. Other lines (empty, ";" comments, text without "=") stay in the
// file untouched.
//
// Every string a setter accepts reads back as it was given: a text that would not (white space
// at an end, a "; ", a type word in front) is written in double quotes, and a value in double
// quotes reads as the text inside only when that text needs them. Other quoted values, such as
// "name="x"", read with their quotes as before. Names, texts and section names with a line
// break, or with a character the file's encoding cannot hold, are refused with code 10.
//
// Each operation obtains the file from the process-wide cache, works on its lines and releases
// it; the section's line range is remembered together with the file's change counter, so
// changes made by other stores on the same file are noticed.
#include <cstddef>
#include <cstdint>

#include "profile/comdesc.h"
#include "profile/filecache.h"

namespace dorlin {

class COrvIniDesc : public COrvComDesc, public COrvFileDispatcher {
 public:
  COrvIniDesc() = default;
  ~COrvIniDesc() override;

  bool Open(const CProfLocation& location, int mode) override;
  bool Create(const CProfLocation& location, int mode, int options) override;
  bool Close() override;
  bool DeleteSection(const CProfLocation& location) override;
  bool GetValueType(const plat::String16& name, int* type) override;
  bool GetInt(const plat::String16& name, int* value) override;
  bool GetDWord(const plat::String16& name, std::uint32_t* value) override;
  bool GetString(const plat::String16& name, plat::String16* text) override;
  bool GetBinary(const plat::String16& name, Bytes* bytes) override;
  bool GetValue(const plat::String16& name, Bytes* bytes, int* type) override;
  bool SetInt(const plat::String16& name, const int* value) override;
  bool SetDWord(const plat::String16& name, const std::uint32_t* value) override;
  bool SetString(const plat::String16& name, const plat::String16* text) override;
  bool SetBinary(const plat::String16& name, const Bytes* bytes) override;
  bool SetValue(const plat::String16& name, const Bytes* bytes, int type) override;
  bool DeleteValue(const plat::String16& name) override;
  bool GetSectionCount(int* count) override;
  bool GetValueCount(int* count) override;
  bool EnumSection(int index, plat::String16* name) override;
  bool EnumValue(int index, plat::String16* name, int* type) override;

  // The type control flag: when set, values are written "name = TYPEWORD text".
  static int SetTypeControl(int on);

 private:
  // The text and type of one value, as read from its line.
  struct ValueText {
    plat::String16 text;
    int type = PROF_TYPE_NONE;
  };

  void TakeLocation(const CProfLocation& location, int mode);
  void DropCache() { cachedCounter_ = 0; }
  // Finds the section's line range in file, from the cache when the file did not change.
  bool FindSection(const COrvTextFile& file);
  // Index of the value line named name in the section, or npos.
  std::size_t FindValue(const COrvTextFile& file, const plat::String16& name, ValueText* value) const;
  // Obtains the file, finds the section and runs op(file), which returns a ProfError code;
  // releases the file on every path. Fails with 17 first when mode_ lacks need.
  template <class Op>
  bool Run(int need, bool forWrite, Op op);
  bool ReadValue(const plat::String16& name, ValueText* value);
  bool WriteValue(const plat::String16& name, const plat::String16& text, int type);
  // Calls visit(ownName) for each direct subsection, in file order.
  template <class Visit>
  void ForEachSubsection(const COrvTextFile& file, Visit visit) const;

  plat::String16 fileName_;
  // The section path without its leading backslash; empty for the root section.
  plat::String16 section_;
  // The file's change counter when the range below was found; 0 when nothing is cached.
  std::uint64_t cachedCounter_ = 0;
  std::size_t blockFirst_ = 0;
  std::size_t blockCount_ = 0;
  int mode_ = 0;
  bool open_ = false;
};

}  // namespace dorlin
