#pragma once
// Folder search with the DOS wildcard rules, case-insensitive lookup of a name inside a folder,
// and removal of a folder tree. Listings never depend on the order the file system keeps.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

namespace plat {

// One entry of a folder search.
struct DirEntry {
  String8 name;  // name only, as stored
  bool isDirectory = false;     // of what a symbolic link names, for a link
  bool isLink = false;          // the entry is a symbolic link
  std::uint64_t size = 0;       // 0 for a folder
  std::int64_t lastWrite = 0;   // seconds since 1970 (UTC)
};

// DOS wildcard match without regard to case: "*" any run, "?" one character, a pattern ending in
// "." ("*.", "NAME.") matches names that have no dot, "*.*" and "*" match every name.
bool matchWildcard(std::string_view pattern, std::string_view name);

// Entries of folder dir ("" is the current folder) whose names match pattern, without "." and
// "..", sorted by case-folded name (then by the name itself). Empty when dir is no readable folder.
std::vector<DirEntry> findFiles(std::string_view dir, std::string_view pattern);

// The entry of folder dir whose name equals name without regard to case, as dir joined with
// that name; the exact spelling wins over others, else the smallest. Empty when there is none.
String8 findNoCase(std::string_view dir, std::string_view name);

// Whether dir is a folder whose entries can be listed.
bool isReadableDirectory(const String8& dir);

// Removes path and, when it is a folder, everything below it (symbolic links are removed, never
// followed). True when nothing is left at path, also when there was nothing.
bool removeTree(const String8& path);

}  // namespace plat
