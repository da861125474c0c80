#include "rodizora/doc/replacepath.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

namespace sasave {

namespace {

constexpr const char* kSaving = "saving";
constexpr const char* kOld = "old";

// The target without a trailing separator, its folder and its name.
struct Target {
  explicit Target(const std::string& path)
      : path(plat::pathWithoutTrailingSeparator(path)),
        folder(plat::pathDirectory(this->path)),
        name(plat::pathFileName(this->path)) {}
  std::string path, folder, name;
  std::string Prefix(const char* what) const { return "." + name + "." + what + "-"; }
};

// The token of a temporary sibling of target made for what: ".<name>.<what>-<token>", or a file
// a writer made inside the save beside it, ".<name>.<what>-<token>.tmp<token>". None for any
// other name.
std::optional<std::string> SiblingToken(const Target& target, const char* what, std::string_view name) {
  const std::string prefix = target.Prefix(what);
  if (!name.starts_with(prefix)) return std::nullopt;
  std::string_view token = name.substr(prefix.size());
  if (const std::size_t tmp = token.find(".tmp"); tmp != std::string_view::npos) token = token.substr(tmp + 4);
  if (!plat::isUniqueToken(token)) return std::nullopt;
  return std::string(token);
}

bool HoldsSubdirectory(const std::string& dir) {
  for (const plat::DirEntry& e : plat::findFiles(dir, "*"))
    if (e.isDirectory && !e.isLink) return true;
  // An unreadable directory is not replaced either.
  return !plat::isReadableDirectory(dir);
}

// Moves target aside, then fresh in; a failure of the second puts target back.
bool RenameAsideAndIn(const std::string& fresh, const std::string& target) {
  const std::string aside = TemporarySibling(target, kOld);
  if (!plat::renameFile(target, aside)) return false;
  if (!plat::renameFile(fresh, target)) {
    plat::renameFile(aside, target);
    return false;
  }
  RemovePath(aside);
  return true;
}

}  // namespace

std::string TemporarySibling(const std::string& target, const char* what) {
  const Target t(target);
  return plat::joinPath(t.folder, t.Prefix(what) + plat::uniqueToken());
}

std::string MakeTemporaryDirectory(const std::string& target) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string dir = TemporarySibling(target, kSaving);
    if (plat::pathExists(dir)) continue;
    if (plat::makeDirectory(dir)) return dir;
    return {};
  }
  return {};
}

bool ReplaceWith(const std::string& fresh, const std::string& target) {
  const std::string path = Target(target).path;
  bool replaced = false;
  if (!plat::pathExists(path)) {
    replaced = plat::renameFile(fresh, path);
  } else if (plat::isDirectory(path) && HoldsSubdirectory(path)) {
    replaced = false;
  } else if (plat::isRegularFile(path) && plat::isRegularFile(fresh)) {
    replaced = plat::renameFile(fresh, path);
  } else {
    switch (plat::exchangePaths(fresh, path)) {
      case plat::Exchange::Done:
        replaced = true;  // fresh now names the old data, which goes below
        break;
      case plat::Exchange::Unsupported:
        replaced = RenameAsideAndIn(fresh, path);
        break;
      case plat::Exchange::Failed:
        replaced = false;
        break;
    }
  }
  RemovePath(fresh);
  return replaced;
}

void TidyTarget(const std::string& target) {
  const Target t(target);
  if (t.name.empty()) return;
  if (!plat::pathExists(t.path)) {
    // The newest old data of a stopped save comes back (there is one unless saves were stopped
    // again while nothing was there), but not while the save that moved it aside runs: it is
    // about to rename its new data in.
    const plat::DirEntry* newest = nullptr;
    const std::vector<plat::DirEntry> entries = plat::findFiles(t.folder, t.Prefix(kOld) + "*");
    for (const plat::DirEntry& e : entries) {
      const std::optional<std::string> token = SiblingToken(t, kOld, e.name);
      if (!token || e.name.find(".tmp") != std::string::npos || plat::tokenOwner(*token) == plat::TokenOwner::Alive)
        continue;
      if (!newest || e.lastWrite > newest->lastWrite) newest = &e;
    }
    if (newest) plat::renameFile(plat::joinPath(t.folder, newest->name), t.path);
  }
  plat::removeStaleFiles(t.folder, t.Prefix(kSaving) + "*",
                         [&](std::string_view name) { return SiblingToken(t, kSaving, name); }, true);
  // Old data moved aside goes only once the target holds data again.
  if (plat::pathExists(t.path))
    plat::removeStaleFiles(t.folder, t.Prefix(kOld) + "*",
                           [&](std::string_view name) { return SiblingToken(t, kOld, name); }, true);
}

void RemovePath(const std::string& path) { plat::removeTree(path); }

}  // namespace sasave
