#pragma once
// The clipboard and data objects: data in formats, the standard ones (text, bitmaps, enhanced
// metafiles, metafile pictures) and named ones (RegisterClipboardFormat), the same data object
// for the clipboard and for drag and drop. Registered names travel as MIME types of our own, so
// another program of the suite sees the same formats.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/metafile.h"
#include "platform/gdi/objects.h"
#include "platform/ui/wnd.h"

namespace ui {

constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_DIB = 8, CF_UNICODETEXT = 13,
               CF_ENHMETAFILE = 14;

// The same name (case ignored) always answers the same number, from 0xC000 on; 0 for an empty name.
UINT RegisterClipboardFormat(std::string_view name);
std::string GetClipboardFormatName(UINT format);

class DataObject {
 public:
  void SetData(UINT format, std::vector<std::uint8_t> bytes);
  void SetText(std::string_view text);
  void SetBitmap(const gdi::Bitmap& bitmap);
  void SetEnhMetaFile(const gdi::EnhMetaFile& picture);
  void SetMetaFile(const gdi::MetaFile& picture);
  bool HasFormat(UINT format) const;
  std::vector<UINT> Formats() const;
  // Null when the format is not there.
  const std::vector<std::uint8_t>* GetData(UINT format) const;
  std::string GetText() const;
  gdi::Bitmap GetBitmap() const;
  gdi::EnhMetaFile GetEnhMetaFile() const;
  bool IsEmpty() const { return data_.empty() && bitmap_.IsNull(); }
  void Clear();

 private:
  std::map<UINT, std::vector<std::uint8_t>> data_;
  gdi::Bitmap bitmap_;
};

// The platform's clipboard calls: open, empty, set, close (which publishes what was set).
bool OpenClipboard(Wnd* owner);
bool CloseClipboard();
bool EmptyClipboard();
bool SetClipboardData(UINT format, std::vector<std::uint8_t> bytes);
std::vector<std::uint8_t> GetClipboardData(UINT format);
bool IsClipboardFormatAvailable(UINT format);

// The whole clipboard at once.
bool SetClipboard(const DataObject& data);
DataObject GetClipboard();

}  // namespace ui
