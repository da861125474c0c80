#pragma once
// Pictures recorded by a recording DC.
//
// EnhMetaFile is an enhanced metafile: the records as they are written to an .emf file (header
// with bounds, frame, byte and record counts and handle count, the drawing records, EOF). It
// plays back onto any DC scaled into a rectangle (DC::PlayMetaFile), is written as EMF, and as a
// Windows metafile with its placeable header (ToWmf). FromBytes reads the EMF files we write
// (and others that use the same records): every size, count and offset is checked, and a record
// it does not know is skipped on playback.
//
// MetaFile is a Windows metafile as CloseMetaFile gives it: placeable header, metafile header
// and records, ready for a .wmf file or a clipboard picture. Its records keep the logical
// coordinates and the mapping calls as they were made (a player sets the viewport), as Windows
// metafiles do.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/types.h"

namespace gdi {

// One record: its type and its whole bytes (type and size fields included).
struct MetaRecord {
  std::uint32_t type = 0;
  std::span<const std::uint8_t> bytes;
};

// EMF record types we write and read.
enum : std::uint32_t {
  EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYLINETO = 6, EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9, EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12,
  EMR_SETBRUSHORGEX = 13, EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27,
  EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
  EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_LINETO = 54,
  EMR_FILLRGN = 71, EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75,
  EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84, EMR_CREATEDIBPATTERNBRUSHPT = 94,
};

class EnhMetaFile {
 public:
  EnhMetaFile();
  ~EnhMetaFile();
  EnhMetaFile(const EnhMetaFile&);
  EnhMetaFile& operator=(const EnhMetaFile&);
  EnhMetaFile(EnhMetaFile&&) noexcept;
  EnhMetaFile& operator=(EnhMetaFile&&) noexcept;

  // An EMF from its file bytes; a null picture and the reason in *error when they are not one.
  static EnhMetaFile FromBytes(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
  static EnhMetaFile ReadFile(const std::string& path, std::string* error = nullptr);

  bool IsNull() const;
  void DeleteEnhMetaFile() { *this = EnhMetaFile(); }

  // The file bytes.
  const std::vector<std::uint8_t>& Bytes() const;
  // Writes the .emf file atomically.
  bool WriteFile(const std::string& path) const;
  // The records in order, header and EOF included (views into Bytes()).
  std::vector<MetaRecord> Records() const;

  // From the header: the drawing's bounds in reference pixels (inclusive), the frame in 0.01 mm
  // (inclusive), the reference device's size in pixels and millimetres, the description.
  Rect Bounds() const;
  Rect Frame() const;
  Size ReferencePixels() const;
  Size ReferenceMillimetres() const;
  std::u16string Description() const;

  // The same picture as a Windows metafile with placeable header, in reference pixels.
  std::vector<std::uint8_t> ToWmf() const;

  struct Impl;
  const Impl* impl() const { return impl_.get(); }

 private:
  std::shared_ptr<const Impl> impl_;
};

// Pictures handed between modules by a 32-bit handle (HENHMETAFILE), as the platform's API hands
// them: one process-wide table, a picture held from registration until its handle is deleted.
// A handle is never 0 and never reused while the process runs; an unknown one finds nothing.
using HENHMETAFILE = std::uint32_t;
HENHMETAFILE RegisterEnhMetaFileHandle(const EnhMetaFile& picture);
// The picture of a handle; a null picture for 0 or an unknown handle.
EnhMetaFile EnhMetaFileFromHandle(HENHMETAFILE handle);
// False for an unknown handle.
bool DeleteEnhMetaFileHandle(HENHMETAFILE handle);

class MetaFile {
 public:
  MetaFile() = default;
  explicit MetaFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  bool IsNull() const { return bytes_.empty(); }
  void DeleteMetaFile() { *this = MetaFile(); }
  // Placeable header, metafile header, records.
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  bool WriteFile(const std::string& path) const;

 private:
  std::vector<std::uint8_t> bytes_;
};

// WMF record functions we write.
enum : std::uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_SETBKCOLOR = 0x0201, META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104, META_SETPOLYFILLMODE = 0x0106, META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_RESTOREDC = 0x0127, META_SELECTOBJECT = 0x012D,
  META_SETTEXTALIGN = 0x012E, META_DELETEOBJECT = 0x01F0, META_SETPIXEL = 0x041F, META_MOVETO = 0x0214,
  META_LINETO = 0x0213, META_RECTANGLE = 0x041B, META_ELLIPSE = 0x0418, META_ROUNDRECT = 0x061C,
  META_PATBLT = 0x061D, META_INTERSECTCLIPRECT = 0x0416, META_ARC = 0x0817, META_PIE = 0x081A,
  META_CHORD = 0x0830, META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_POLYPOLYGON = 0x0538,
  META_EXTTEXTOUT = 0x0A32, META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB,
  META_CREATEBRUSHINDIRECT = 0x02FC, META_STRETCHDIB = 0x0F43, META_SELECTCLIPREGION = 0x012C,
  META_CREATEREGION = 0x06FF,
};

}  // namespace gdi
