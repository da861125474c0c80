#pragma once
// Walking, copying and deleting whole profile trees through the profile exports.
//
// The walker visits every section and value below one section, depth first: a section is
// reported when it is entered, before its contents; within a section all its subsections (each
// with its whole subtree) come before its own values; the starting section itself is not
// reported, and its values come last. Names are read without any fixed length limit.
#include <memory>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/base/types.h"

class CProfTreeWalker {
 public:
  CProfTreeWalker() = default;
  ~CProfTreeWalker();
  CProfTreeWalker(const CProfTreeWalker&) = delete;
  CProfTreeWalker& operator=(const CProfTreeWalker&) = delete;

  // Pushes an opened copy of root (its section made absolute). False when that section cannot
  // be opened: there is nothing to walk.
  bool Start(const COrvProfDesc* root);
  // The next item: name is the item's full path (a section's GetPath, or its section's GetPath +
  // "\" + the value name), isSection tells which, type is the value's type (0 for a section).
  // False when the walk is over.
  bool Next(plat::String16* name, bool* isSection, int* type);
  // Closes and deletes every stacked descriptor.
  void Reset();

  // The path of the starting section (its GetPath), valid after a successful Start.
  const plat::String16& RootPath() const { return m_rootPath; }
  // The first failure met since Start (a subsection that could not be opened, an enumeration
  // that ended with an error instead of running out of items); 0 when there was none.
  int Error() const { return m_error; }

 private:
  struct Level {
    std::unique_ptr<COrvProfDesc> desc;
    int nextSubsection = 0;
  };
  bool NextSubsection(Level& top, plat::String16* name);
  bool NextValue(Level& top, plat::String16* name, int* type);
  void NoteError(int code);

  std::vector<Level> m_stack;
  int m_valueIndex = -1;      // -1 while the top's subsections are enumerated
  plat::String16 m_rootPath;
  int m_error = 0;
};

// The name (and type) of the index-th value of desc's section, read whole whatever its length:
// OrvEnumProfValue's result code (PROF_NO_MORE_ITEMS past the last value).
int EnumProfValueName(int index, COrvProfDesc* desc, plat::String16* name, int* type = nullptr);

// The part of a walked item's name below the starting section (no leading "\"); false when the
// name does not lie below rootPath.
bool RelativeProfName(const plat::String16& rootPath, const plat::String16& itemName, plat::String16* relative);

enum class ProfCopyMode {
  Overwrite,      // values in dest are replaced by those of src
  KeepExisting,   // values that already exist in dest are left as they are
};

// Copies every section and value below src into dest (empty sections included); missing
// sections of dest are created when dest's auto-create flag is set. A value of a type that an
// INI destination cannot hold (anything but DWORD, string and binary) is not copied; an INI file
// keeps the types of its values only while the INI type control is on. True when everything was
// copied; false when a section could not be created or read, or a value could not be read or
// written (the rest is still copied). A src that cannot be opened copies nothing and gives true;
// a dest inside src is refused (false), since the copy would never end.
bool CopyProfTree(COrvProfDesc* dest, const COrvProfDesc* src, ProfCopyMode mode = ProfCopyMode::Overwrite);

// Deletes every section below desc, the deepest first, and then desc's own section. True when
// every deletion succeeded.
bool DeleteProfTree(const COrvProfDesc* desc);
