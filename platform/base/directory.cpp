#include "platform/base/directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/base/path.h"
#include "platform/base/text.h"

namespace plat {

namespace {

// Calls visit(name) for every entry of dir but "." and ".."; false when dir cannot be listed.
template <class Visit>
bool forEachEntry(std::string_view dir, Visit visit) {
  const String8 folder = dir.empty() ? String8(".") : String8(dir);
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name = e->d_name;
    if (name != "." && name != "..") visit(name);
  }
  ::closedir(d);
  return true;
}

bool matchFrom(std::string_view p, std::string_view n) {
  // Iterative glob with one backtrack point: linear enough for file names, never recursive.
  std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && (p[pi] == '?' || foldCase(p[pi]) == foldCase(n[ni]))) {
      ++pi;
      ++ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool matchWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (!pattern.empty() && pattern.back() == '.') {
    // "NAME." and "*.": names without an extension.
    if (name.find('.') != std::string_view::npos) return false;
    pattern.remove_suffix(1);
  }
  return matchFrom(pattern, name);
}

std::vector<DirEntry> findFiles(std::string_view dir, std::string_view pattern) {
  std::vector<DirEntry> found;
  const String8 folder = dir.empty() ? String8(".") : String8(dir);
  forEachEntry(dir, [&](std::string_view name) {
    if (!matchWildcard(pattern, name)) return;
    DirEntry entry;
    entry.name = String8(name);
    struct stat st {};
    const String8 path = joinPath(folder, name);
    entry.isLink = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    if (::stat(path.c_str(), &st) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(st.st_size);
      entry.lastWrite = static_cast<std::int64_t>(st.st_mtime);
    }
    found.push_back(std::move(entry));
  });
  std::sort(found.begin(), found.end(), [](const DirEntry& a, const DirEntry& b) {
    const int c = compareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return found;
}

String8 findNoCase(std::string_view dir, std::string_view name) {
  String8 best;
  bool exact = false;
  forEachEntry(dir, [&](std::string_view entry) {
    if (exact) return;
    if (entry == name) {
      best = entry;
      exact = true;
      return;
    }
    // Several spellings: take the smallest, so the answer never depends on the listing order.
    if (equalsNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
  });
  return best.empty() ? String8{} : joinPath(dir, best);
}

bool isReadableDirectory(const String8& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return false;
  ::closedir(d);
  return true;
}

bool removeTree(const String8& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (!S_ISDIR(st.st_mode)) return ::unlink(path.c_str()) == 0;
  bool ok = true;
  std::vector<String8> names;
  if (!forEachEntry(path, [&](std::string_view name) { names.emplace_back(name); })) return false;
  for (const String8& name : names) ok = removeTree(joinPath(path, name)) && ok;
  return ::rmdir(path.c_str()) == 0 && ok;
}

}  // namespace plat
