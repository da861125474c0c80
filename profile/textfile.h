#pragma once
// An INI file held in memory as an array of lines.
//
// The file is read whole when it is loaded and written whole, atomically (temporary sibling and
// rename), when it is saved. Lines end with CR, LF or CR LF when read and with CR LF when written.
//
// Programs of the suite share INI files. Every edit the store makes is kept with the lines, as an
// operation that can be made again: a save takes the file's lock and, when another process
// replaced the file since it was read, reads it again and makes the kept edits on its lines
// before writing, so neither side's writes are lost. A file that changed on disk is read again
// (with the kept edits made again) when the cache hands it out (Refresh).
//
// The encoding is decided once per file, when it is loaded, and every line is written in it:
// UTF-16LE when the file starts with FF FE; else 8-bit text, UTF-8 when all of it (after an
// optional UTF-8 mark EF BB BF, which is kept) is well-formed UTF-8, Windows-1252 otherwise. A new
// or empty file is UTF-8. So a file another program wrote in the legacy code page stays in it,
// and unchanged lines keep their bytes; a text the file's encoding cannot hold must be refused
// before it is put into a line (CanHold). A UTF-16 file of odd length loses its last, incomplete
// byte. A file whose lines did not change is not written back at all.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/base/file.h"
#include "platform/base/types.h"

namespace dorlin {

// One line, without its line end.
struct COrvFileStr {
  plat::String16 text;
};

class COrvTextFile {
 public:
  enum Mode { kReadOnly = 0, kReadWrite = 2 };
  enum class Encoding { kUtf8, kCp1252, kUtf16 };

  // Larger files, or files of more lines, are refused rather than held in memory: no settings
  // file comes near these limits.
  static constexpr std::size_t kMaxFileBytes = std::size_t(1) << 25;
  static constexpr std::size_t kMaxLines = std::size_t(1) << 18;

  // Opens and reads the file named by name (a file path; "\" counts as a separator). A missing
  // file is created empty for a read-write load; a read-only load finds no lines and leaves the
  // file system as it is. Fails when the file cannot be read (or, read-write, neither written
  // nor created), is no regular file, or is too large.
  bool Load(const plat::String16& name, int mode);
  // Makes a read-only file writable: succeeds when the file can be opened for writing (a file
  // that was missing is created empty).
  bool ReopenReadWrite();
  // Writes the lines back, under the file's lock, merged with what another process saved since
  // the file was read (see above). A read-only file, or one whose lines did not change, is not
  // written and the call succeeds. On failure the file on disk stays as it was.
  bool Save();
  // Reads the file again when it changed on disk since it was last read or written, and makes
  // the kept edits again on the new lines. A file that can no longer be read keeps its lines.
  void Refresh();

  // An edit of the lines, as the store made it, that can be made again on lines another process
  // left: it finds what it changes by name, not by position.
  using Edit = std::function<void(COrvTextFile&)>;
  // Keeps edit, which the caller has just made on the lines, until the next save.
  void KeepEdit(Edit edit) { edits_.push_back(std::move(edit)); }

  // Reads the line that starts at byte offset of bytes, decoded from encoding. Returns the number
  // of bytes the line and its end take, 0 at the end.
  static std::size_t ReadLine(std::string_view bytes, std::size_t offset, Encoding encoding, plat::String16* text);

  std::size_t GetLineCount() const { return lines_.size(); }
  const plat::String16& GetLine(std::size_t n) const { return lines_[n].text; }
  void SetLine(std::size_t n, const plat::String16& text);
  // Inserts before line n (n == count appends). Raises the change counter.
  void InsertLine(std::size_t n, const plat::String16& text);
  void AppendLine(const plat::String16& text) { InsertLine(lines_.size(), text); }
  // Removes count lines from first on. Raises the change counter.
  void RemoveLines(std::size_t first, std::size_t count);
  void RemoveLine(std::size_t n) { RemoveLines(n, 1); }

  const plat::String16& GetName() const { return name_; }
  const plat::String8& GetPath() const { return path_; }
  int GetMode() const { return mode_; }
  Encoding GetEncoding() const { return encoding_; }
  // True when every character of text can be written in the file's encoding.
  bool CanHold(std::u16string_view text) const;
  bool IsModified() const { return modified_; }
  // Unique in the process: every load and every insertion or removal of lines takes a new
  // value, so a store can tell whether the section position it remembers still holds.
  std::uint64_t GetChangeCounter() const { return changeCounter_; }

  // Number of open INI sections in this file.
  int refCount = 0;
  // Set while one store operation works on the file.
  bool busy = false;

 private:
  void BumpChangeCounter();
  // Takes the lines (and the encoding) from the file's bytes; false when there are too many.
  bool TakeLines(std::string_view bytes);
  // Reads bytes anew and makes the kept edits on them.
  bool Merge(std::string_view bytes);
  plat::String8 Serialise(bool* ok) const;

  std::vector<COrvFileStr> lines_;
  std::vector<Edit> edits_;
  // What the file held when last read or written, and its stamp then.
  plat::String8 diskBytes_;
  plat::FileStamp diskStamp_;
  plat::String16 name_;
  plat::String8 path_;
  int mode_ = kReadOnly;
  Encoding encoding_ = Encoding::kUtf8;
  bool utf8Mark_ = false;
  bool modified_ = false;
  unsigned permissions_ = 0644;
  std::uint64_t changeCounter_ = 0;
};

}  // namespace dorlin
