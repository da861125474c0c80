#include "rodizora/server/receivedfile.h"

#include <string_view>

namespace {

// Lower-case letters never come out of the six-bit names the server sends, so a temporary name
// cannot meet a received one.
constexpr std::string_view kTemporaryPrefix = ".receiving-";

}  // namespace

bool CReceivedFile::Create(const std::string& folder) {
  return !folder.empty() && m_file.create(folder, kTemporaryPrefix);
}

bool CReceivedFile::Write(const void* bytes, std::size_t size) {
  return m_file.write(std::string_view(static_cast<const char*>(bytes), size));
}

bool CReceivedFile::Commit(const std::string& path) { return m_file.commit(path); }

std::size_t CReceivedFile::RemoveStale(const std::string& folder) {
  if (folder.empty()) return 0;
  return plat::removeStaleFiles(folder, std::string(kTemporaryPrefix) + "*",
                                [](std::string_view name) -> std::optional<std::string> {
                                  if (!name.starts_with(kTemporaryPrefix)) return std::nullopt;
                                  const std::string_view token = name.substr(kTemporaryPrefix.size());
                                  if (!plat::isUniqueToken(token)) return std::nullopt;
                                  return std::string(token);
                                });
}
