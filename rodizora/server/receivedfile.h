#pragma once
// A file arriving from the data server. Its bytes go to a temporary file in the target folder
// (created exclusively, so nothing existing is touched) and it takes its own name by a rename
// only when complete; an object destroyed before that removes what it wrote. A same-name file is
// replaced; a symbolic link of that name is replaced too, never followed.
#include <cstddef>
#include <string>

#include "platform/base/file.h"

class CReceivedFile {
 public:
  // Creates the temporary file in folder (which must exist); false when it cannot be created.
  bool Create(const std::string& folder);
  bool Write(const void* bytes, std::size_t size);
  // Flushes the bytes to disk and renames the file to path (in the same folder).
  bool Commit(const std::string& path);

  // Removes the temporary files of folder that receives of stopped programs left behind (never
  // those of a program still receiving); returns how many.
  static std::size_t RemoveStale(const std::string& folder);

 private:
  plat::PendingFile m_file;
};
