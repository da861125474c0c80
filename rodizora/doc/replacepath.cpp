#include "rodizora/doc/replacepath.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <system_error>

namespace sasave {

namespace fs = std::filesystem;

namespace {

bool HoldsSubdirectory(const fs::path& dir) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_directory(ec) && !it->is_symlink(ec)) return true;
  return static_cast<bool>(ec);  // an unreadable directory is not replaced either
}

}  // namespace

std::string TemporarySibling(const std::string& target, const char* what) {
  static std::atomic<unsigned> counter{0};
  fs::path path(target);
  while (!path.empty() && path.filename().empty()) path = path.parent_path();  // a trailing "/"
  const std::string name = path.filename().string();
  return (path.parent_path() / ("." + name + "." + what + "-" + std::to_string(::getpid()) + "-" +
                                std::to_string(counter.fetch_add(1))))
      .string();
}

std::string MakeTemporaryDirectory(const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string dir = TemporarySibling(target, "saving");
    std::error_code ec;
    if (fs::create_directory(dir, ec)) return dir;
    if (ec && ec != std::errc::file_exists) return {};
  }
  return {};
}

bool ReplaceWith(const std::string& fresh, const std::string& target) {
  std::error_code ec;
  const fs::file_status old = fs::symlink_status(target, ec);
  if (!fs::exists(old)) {
    fs::rename(fresh, target, ec);
    if (ec) RemovePath(fresh);
    return !ec;
  }
  if (fs::is_directory(old) && HoldsSubdirectory(target)) {
    RemovePath(fresh);
    return false;
  }
  // The old data steps aside first, so that it can come back when the new one cannot go in.
  const std::string aside = TemporarySibling(target, "old");
  fs::rename(target, aside, ec);
  if (ec) {
    RemovePath(fresh);
    return false;
  }
  fs::rename(fresh, target, ec);
  if (ec) {
    std::error_code back;
    fs::rename(aside, target, back);
    RemovePath(fresh);
    return false;
  }
  RemovePath(aside);
  return true;
}

void RemovePath(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

}  // namespace sasave
