#include "platform/base/path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>


namespace plat {

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

namespace {
std::size_t lastSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (isPathSeparator(path[i - 1])) return i - 1;
  return std::string_view::npos;
}
}  // namespace

std::string_view pathFileName(std::string_view path) {
  const std::size_t p = lastSeparator(path);
  return p == std::string_view::npos ? path : path.substr(p + 1);
}

std::string_view pathDirectory(std::string_view path) {
  const std::size_t p = lastSeparator(path);
  if (p == std::string_view::npos) return {};
  if (p == 0) return path.substr(0, 1);
  return path.substr(0, p);
}

std::string_view pathWithoutTrailingSeparator(std::string_view path) {
  while (path.size() > 1 && isPathSeparator(path.back())) path.remove_suffix(1);
  return path;
}

std::string_view pathExtension(std::string_view path) {
  const std::string_view name = pathFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string_view pathTitle(std::string_view path) {
  const std::string_view name = pathFileName(path);
  return name.substr(0, name.size() - pathExtension(name).size());
}

String8 joinPath(std::string_view dir, std::string_view name) {
  if (dir.empty()) return String8(name);
  String8 out(dir);
  if (!isPathSeparator(out.back())) out.push_back('/');
  while (!name.empty() && isPathSeparator(name.front())) name.remove_prefix(1);
  out.append(name);
  return out;
}

String8 toPosixPath(std::string_view path) {
  String8 out(path);
  for (auto& c : out)
    if (c == '\\') c = '/';
  return out;
}

String8 homeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

String8 configDirectory() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  return joinPath(homeDirectory(), ".config");
}

}  // namespace plat
