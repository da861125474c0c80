#pragma once
// The data server's log: one line per connection made or ended, per file received and per file
// refused, with the local date and time, in the file "rodizora-server.log" of the server
// directory (its name has lower-case letters, which the server's six-bit names never hold).
// A log that has grown past 1 MB is moved to "rodizora-server.log.old" and begun anew.
// Lines come from any thread.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

class CServerLog {
 public:
  static constexpr const char* kFileName = "rodizora-server.log";
  static constexpr std::uint64_t kMaxBytes = std::uint64_t(1) << 20;

  // Appends "<date> <time> <text>" to the log of folder; false when it could not be written.
  bool Write(const std::string& folder, std::string_view text);

 private:
  std::mutex m_mutex;
};
