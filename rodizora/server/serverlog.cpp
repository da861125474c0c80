#include "rodizora/server/serverlog.h"

#include <cstdio>
#include <ctime>

#include "platform/base/file.h"
#include "platform/base/path.h"

bool CServerLog::Write(const std::string& folder, std::string_view text) {
  if (folder.empty()) return false;
  const std::string path = plat::joinPath(folder, kFileName);
  plat::LocalTime now;
  char stamp[32] = "";
  if (plat::toLocalTime(static_cast<std::int64_t>(std::time(nullptr)), &now))
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
  std::lock_guard lock(m_mutex);
  if (plat::fileInfo(path).size > kMaxBytes) plat::renameFile(path, path + ".old");
  return plat::appendToFile(path, std::string(stamp) + std::string(text) + "\n");
}
