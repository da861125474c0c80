#pragma once
// COrvFile: read-only view of one input that converters recognise and read.
//
// A regular file is mapped whole (read only, 64-bit size); a folder or a missing path yields an
// object with its attributes and no view, so detectors can test bytes without caring where they
// come from. Of a file larger than kMaxSpectrumFileBytes only the head is in view: detectors
// tell its format, and the loader refuses to read it. Beside it stand the path splitters, the block reader and the file date that the
// readers share; folder searches are the platform's (platform/base/directory.h).
#include <any>
#include <cstdint>
#include <string_view>
#include <typeindex>
#include <unordered_map>

#include "platform/base/mappedfile.h"
#include "platform/base/types.h"

// File-system attribute bits, as the detectors test them.
constexpr std::uint32_t kOrvAttrReadOnly = 0x01;
constexpr std::uint32_t kOrvAttrDirectory = 0x10;
constexpr std::uint32_t kOrvAttrNormal = 0x80;
constexpr std::uint32_t kOrvAttrInvalid = 0xFFFFFFFFu;
// How much of a file too large to read is in view for its detection.
constexpr std::uint64_t kOrvTooLargeHeadBytes = std::uint64_t(1) << 20;

class COrvFile {
 public:
  // The access and disposition arguments of the original interface are accepted for
  // compatibility; the file is always opened read only and only if it exists.
  explicit COrvFile(std::string_view path, std::uint32_t access = 0, std::uint32_t disposition = 0);
  virtual ~COrvFile();
  COrvFile(const COrvFile&) = delete;
  COrvFile& operator=(const COrvFile&) = delete;

  bool IsFolder() const { return m_dwAttributes != kOrvAttrInvalid && (m_dwAttributes & kOrvAttrDirectory); }
  // A regular file beyond the largest the converters read (its view is its head alone).
  bool IsTooLarge() const { return m_bTooLarge; }
  bool HasView() const { return m_pView != nullptr; }
  std::string_view Bytes() const { return {reinterpret_cast<const char*>(m_pView), static_cast<std::size_t>(m_nSize)}; }

  // Next line into buffer (size bytes, terminated), without its line end (LF, and a CR before
  // it). A line longer than size - 1 bytes is split: the rest comes with the next call. A last
  // line without a line end is returned. False only when nothing is left to read.
  bool ReadLine(char* buffer, std::size_t size);
  // Next whole line, without its line end, as a view into the mapping (valid while this object
  // lives). False when nothing is left.
  bool ReadLine(std::string_view* line);
  // Copies up to n bytes from the read position; returns the number copied.
  std::size_t Read(void* buffer, std::size_t n);

  std::int64_t GetPosition() const { return m_nPos; }
  // Gives back the memory of the view's bytes before offset, which a reader going through the
  // file has done with (they read again from the file when touched). ReadLine does it behind
  // itself as it goes, a few megabytes at a time.
  void ReleaseBefore(std::int64_t offset);
  // Moves the read position; clamped to [0, size].
  void SetPosition(std::int64_t pos);
  bool AtEnd() const { return m_nPos >= m_nSize; }
  // The number (from 1) of the line that holds byte offset of the view: what a text reader names
  // when it says where a file went wrong.
  std::int64_t LineOf(std::int64_t offset) const;

  // Facts about the file that several detectors need, such as the labels of a text format: the
  // first detector that asks finds them with find(file), the others share them. The view never
  // changes while the object lives, so neither do they.
  template <class Facts, class Find>
  const Facts& SharedFacts(Find find) {
    std::any& slot = m_facts[std::type_index(typeid(Facts))];
    if (!slot.has_value()) slot = Facts(find(*this));
    return std::any_cast<const Facts&>(slot);
  }

  // Read by the detectors.
  plat::String8 m_strPath;
  const plat::Byte* m_pView = nullptr;
  std::int64_t m_nSize = 0;
  std::uint32_t m_dwAttributes = kOrvAttrInvalid;

 private:
  plat::MappedFile m_mapping;
  bool m_bTooLarge = false;
  std::int64_t m_nPos = 0;
  std::int64_t m_nReleased = 0;  // the bytes before it were given back
  std::unordered_map<std::type_index, std::any> m_facts;
};

// File name without folder and extension ("a\\b/c.fid" -> "c").
plat::String8 GetPathTitle(std::string_view path);
// File name with its extension, without folder.
plat::String8 GetPathFileName(std::string_view path);
// Extension with its dot, "" when there is none.
plat::String8 GetPathExt(std::string_view path);

// Reads up to count bytes of the file at path from offset; returns the number read (0 when the
// file cannot be opened or the offset is at or past its end).
std::size_t ReadFileBlock(std::string_view path, void* buffer, std::size_t count, std::uint64_t offset);

// The last-write time of the file at path on the user's clock, as a date value (days since 30
// December 1899); false when the file system does not report the path. Readers of formats without
// a date of their own store it as DATE.
bool GetFileDate(std::string_view path, double* date);
