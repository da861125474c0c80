#pragma once
// Tokens in the names of our own temporary files and folders. A token holds a random part, so
// that no two saves pick one name, and the process that made it (the machine's boot, the
// process id and the process's start time), so that a later process tells what a stopped
// (killed) save left behind from what a save at work is writing: a leftover whose maker has
// ended goes at once; one of a live process never goes.
#include <cstdint>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

// "<16 hex digits>-<boot>-<process id>-<start>", lowercase hexadecimal digits and "-" only.
String8 uniqueToken();
// A token as uniqueToken makes it, or the 16 hexadecimal digits alone (earlier versions).
bool isUniqueToken(std::string_view text);

enum class TokenOwner {
  Alive,    // the process that made the token runs
  Gone,     // it ran during this boot of this machine and has ended
  Unknown,  // not a process of this boot: another machine sharing the folder, an earlier boot or
            // an earlier version's token
};
TokenOwner tokenOwner(std::string_view token);

// A leftover of unknown maker goes only once it has not been written for this long (seconds).
constexpr std::int64_t kStaleTemporaryAge = 3600;
// Whether a temporary made under token and last written at lastWrite (seconds since 1970) is a
// leftover that may go: its maker is gone, or unknown and the leftover old.
bool isStaleTemporary(std::string_view token, std::int64_t lastWrite);

}  // namespace plat
