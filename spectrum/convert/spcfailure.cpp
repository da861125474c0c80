#include "spectrum/convert/spcfailure.h"

#include "platform/base/bytecursor.h"
#include "platform/base/numtext.h"

std::string SpcFailure::Describe() const {
  std::string text = check;
  if (line >= 0) {
    text += ", at line " + plat::formatInt(line);
  } else if (offset >= 0) {
    text += ", at offset " + plat::formatInt(offset);
  }
  if (!file.empty()) text += (line >= 0 || offset >= 0 ? " of " : ", in ") + file;
  return text;
}

SpcFailure SpcFailure::At(std::string check, std::int64_t offset, std::string file) {
  return SpcFailure{std::move(check), offset, -1, std::move(file)};
}

SpcFailure SpcFailure::AtLine(std::string check, std::int64_t line, std::string file) {
  return SpcFailure{std::move(check), -1, line, std::move(file)};
}

SpcFailure SpcFailure::CutShort(std::string_view what, const plat::ByteCursor& cursor, std::string file) {
  const std::uint64_t wanted = cursor.failedAt() + cursor.failedWant();
  std::string check = std::string(what) + " cut short: bytes up to offset " + plat::formatUInt(wanted) +
                      " wanted, the file ends at " + plat::formatUInt(cursor.end());
  return At(std::move(check), static_cast<std::int64_t>(cursor.failedAt()), std::move(file));
}
