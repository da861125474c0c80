#pragma once
// File paths are POSIX paths. Splitting accepts both "/" and "\" as separators, because names
// that come from documents written on the original platform use "\"; paths are built with "/".
// (Profile section paths are no file paths and never go through these helpers.)
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

bool isPathSeparator(char c);
// The part after the last separator ("a\\b/c.txt" -> "c.txt").
std::string_view pathFileName(std::string_view path);
// The part before the last separator, without it ("a/b/c" -> "a/b", "c" -> "", "/c" -> "/").
std::string_view pathDirectory(std::string_view path);
// The path without trailing separators; a path of separators only keeps its first ("a/b//" -> "a/b",
// "/" -> "/").
std::string_view pathWithoutTrailingSeparator(std::string_view path);
// The extension of the file name with its dot ("a/b.c.dx" -> ".dx"), empty when there is none.
std::string_view pathExtension(std::string_view path);
// The file name without its extension.
std::string_view pathTitle(std::string_view path);
// dir + "/" + name, without doubling a separator; an empty dir gives name.
String8 joinPath(std::string_view dir, std::string_view name);
// Every "\" turned into "/".
String8 toPosixPath(std::string_view path);

// The user's home folder ($HOME, else the password database, else "/").
String8 homeDirectory();
// ${XDG_CONFIG_HOME:-$HOME/.config}
String8 configDirectory();

}  // namespace plat
