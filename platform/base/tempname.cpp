#include "platform/base/tempname.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <array>
#include <cstdio>
#include <ctime>
#include <random>


namespace plat {

namespace {

constexpr std::size_t kRandomDigits = 16;

// A file of /proc, whose size the system gives as 0: read up to its end (at most 4 KiB).
bool readProcFile(const char* path, String8* text) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  text->clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer - text->size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text->append(buffer, static_cast<std::size_t>(n));
    if (text->size() >= sizeof buffer) break;
  }
  ::close(fd);
  return !text->empty();
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool allHex(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (!isHexDigit(c)) return false;
  return true;
}

bool parseHex(std::string_view text, std::uint64_t* value) {
  if (!allHex(text) || text.size() > 16) return false;
  std::uint64_t v = 0;
  for (const char c : text) v = v * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
  *value = v;
  return true;
}

// The first 8 hexadecimal digits of the kernel's id of this boot; empty without one. Kept
// without a destructor, as ownerPart's text is.
std::string_view bootTag() {
  static const std::array<char, 9> tag = [] {
    std::array<char, 9> digits{};
    String8 text;
    if (!readProcFile("/proc/sys/kernel/random/boot_id", &text)) return digits;
    std::size_t n = 0;
    for (const char c : text)
      if (isHexDigit(c) && n < 8) digits[n++] = c;
    if (n < 8) digits[0] = 0;
    return digits;
  }();
  return tag.data();
}

// The start time of a process in clock ticks since the boot (field 22 of its stat line), and
// whether it has ended but was not reaped yet (state Z or X): such a process is gone.
struct ProcessState {
  bool exists = false;
  bool ended = false;
  std::uint64_t start = 0;
};

ProcessState processState(std::uint64_t pid) {
  ProcessState state;
  String8 text;
  if (!readProcFile(("/proc/" + std::to_string(pid) + "/stat").c_str(), &text)) return state;
  // The name in parentheses may hold blanks and parentheses itself: the fields follow the last ")".
  const std::size_t close = text.rfind(')');
  if (close == String8::npos) return state;
  std::string_view rest = std::string_view(text).substr(close + 1);
  // Field 3 (the state) is the first after the name; the start time is field 22.
  for (int field = 3; field <= 22; ++field) {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    const std::size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view word = rest.substr(0, end);
    if (word.empty()) return state;
    if (field == 3) state.ended = word == "Z" || word == "X";
    if (field == 22) {
      std::uint64_t v = 0;
      for (const char c : word) {
        if (c < '0' || c > '9') return state;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
      }
      state.start = v;
    }
    rest.remove_prefix(end);
  }
  state.exists = true;
  return state;
}

// "-<boot>-<pid>-<start>" of this process; empty where the system does not tell. Worked out
// again in a forked child, which is a process of its own. Kept in storage without a destructor:
// saves run from the destructors of static objects too, after this thread's objects are gone.
String8 ownerPart() {
  static thread_local pid_t madeFor = 0;
  static thread_local char owner[64];
  if (madeFor != ::getpid()) {
    madeFor = ::getpid();
    const ProcessState self = processState(static_cast<std::uint64_t>(madeFor));
    owner[0] = 0;
    if (!bootTag().empty() && self.exists)
      std::snprintf(owner, sizeof owner, "-%s-%llx-%llx", bootTag().data(), static_cast<unsigned long long>(madeFor),
                    static_cast<unsigned long long>(self.start));
  }
  return owner;
}

struct Owner {
  String8 boot;
  std::uint64_t pid = 0;
  std::uint64_t start = 0;
};

// The parts of a token; false for text that is no token. A token of earlier versions has no owner.
bool parseToken(std::string_view text, bool* hasOwner, Owner* owner) {
  if (text.size() < kRandomDigits || !allHex(text.substr(0, kRandomDigits))) return false;
  text.remove_prefix(kRandomDigits);
  *hasOwner = !text.empty();
  if (text.empty()) return true;
  std::string_view parts[3];
  for (std::string_view& part : parts) {
    if (text.empty() || text.front() != '-') return false;
    text.remove_prefix(1);
    const std::size_t end = std::min(text.find('-'), text.size());
    part = text.substr(0, end);
    text.remove_prefix(end);
  }
  if (!text.empty() || parts[0].size() != 8 || !allHex(parts[0])) return false;
  owner->boot = String8(parts[0]);
  return parseHex(parts[1], &owner->pid) && parseHex(parts[2], &owner->start) && owner->pid != 0;
}

}  // namespace

String8 uniqueToken() {
  // Seeded again in a forked child, which would otherwise pick the names its parent picks next.
  static thread_local std::mt19937_64 rng;
  static thread_local pid_t seededFor = 0;
  if (seededFor != ::getpid()) {
    seededFor = ::getpid();
    std::random_device device;
    rng.seed((std::uint64_t{device()} << 32) ^ device() ^ static_cast<std::uint64_t>(seededFor));
  }
  char text[kRandomDigits + 1];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(rng()));
  return text + ownerPart();
}

bool isUniqueToken(std::string_view text) {
  bool hasOwner = false;
  Owner owner;
  return parseToken(text, &hasOwner, &owner);
}

TokenOwner tokenOwner(std::string_view token) {
  bool hasOwner = false;
  Owner owner;
  if (!parseToken(token, &hasOwner, &owner) || !hasOwner || bootTag().empty() || owner.boot != bootTag())
    return TokenOwner::Unknown;
  const ProcessState state = processState(owner.pid);
  return state.exists && !state.ended && state.start == owner.start ? TokenOwner::Alive : TokenOwner::Gone;
}

bool isStaleTemporary(std::string_view token, std::int64_t lastWrite) {
  switch (tokenOwner(token)) {
    case TokenOwner::Alive: return false;
    case TokenOwner::Gone: return true;
    case TokenOwner::Unknown: break;
  }
  return lastWrite < static_cast<std::int64_t>(std::time(nullptr)) - kStaleTemporaryAge;
}

}  // namespace plat
