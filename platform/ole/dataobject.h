#pragma once
// Data objects: data in formats, offered through IDataObject (the clipboard, drag and drop, the
// presentation and persistent state of embedded objects), and the advise holders through which
// objects tell their containers that data, views or the object changed.
//
// Formats are clipboard format numbers (ui::RegisterClipboardFormat for named ones). Media:
//  - bytes in global memory (TYMED_HGLOBAL), every named format and CF_TEXT;
//  - enhanced metafiles (TYMED_ENHMF, CF_ENHMETAFILE);
//  - metafile pictures (CF_METAFILEPICT, TYMED_MFPICT): the placeable Windows metafile's bytes in
//    global memory.
// The embedding formats are ours: "Embed Source" holds an object's class id (16 bytes, the
// GUID's fields little-endian) followed by its persistent state (what IPersistStreamInit::Save
// writes), "Object Descriptor" the class id, the extent (HIMETRIC, two 32-bit values) and the
// miscellaneous status (32 bits). Readers check the sizes before they use them.
#include <memory>
#include <vector>

#include "platform/gdi/metafile.h"
#include "platform/ole/interfaces.h"
#include "platform/ole/stream.h"
#include "platform/ui/clipboard.h"

namespace plat::ole {

inline constexpr char kEmbedSourceFormatName[] = "Embed Source";
inline constexpr char kObjectDescriptorFormatName[] = "Object Descriptor";
std::uint16_t embedSourceFormat();
std::uint16_t objectDescriptorFormat();

// A GUID as 16 bytes (its fields little-endian) and back (16 bytes read).
std::vector<std::uint8_t> writeGuid(const Guid& g);
Guid readGuid(const std::uint8_t* bytes);
// "Embed Source": class id, then state. False when bytes hold no class id.
std::vector<std::uint8_t> writeEmbedSource(const Guid& clsid, std::span<const std::uint8_t> state);
bool readEmbedSource(std::span<const std::uint8_t> bytes, Guid* clsid, std::span<const std::uint8_t>* state);

struct ObjectDescriptor {
  Guid clsid;
  SizeL extent;  // HIMETRIC
  DWord miscStatus = 0;
};
std::vector<std::uint8_t> writeObjectDescriptor(const ObjectDescriptor& descriptor);
// False when the bytes are not exactly one descriptor.
bool readObjectDescriptor(std::span<const std::uint8_t> bytes, ObjectDescriptor* descriptor);

// An owning copy of a medium's content, read from an IDataObject.
struct DataReader {
  // The bytes of format (global memory or a stream medium); false when the object has none.
  static bool GetBytes(IDataObject* data, std::uint16_t format, std::vector<std::uint8_t>* bytes,
                       DWord aspect = DVASPECT_CONTENT);
  // The object's enhanced metafile (CF_ENHMETAFILE); a null picture when it has none.
  static gdi::EnhMetaFile GetEnhMetaFile(IDataObject* data, DWord aspect = DVASPECT_CONTENT);
  static bool IsAvailable(IDataObject* data, std::uint16_t format, DWord tymed = TYMED_HGLOBAL | TYMED_ENHMF |
                                                                                  TYMED_MFPICT | TYMED_ISTREAM);
};

// The sinks that asked a data object for data-change reports (DAdvise), with their formats and
// flags. Each connection holds its sink with a reference; connection numbers are never 0.
class DataAdviseHolder {
 public:
  ~DataAdviseHolder();
  HResult Advise(IDataObject* source, const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection);
  HResult Unadvise(DWord connection);
  // Tells every sink: with the data in its format unless it asked for ADVF_NODATA (then an empty
  // medium); ADVF_ONLYONCE connections end after their report. A sink may unadvise (itself or
  // another) while it is told.
  void SendOnDataChange(IDataObject* source);
  bool empty() const { return connections_.empty(); }
  void clear();

 private:
  struct Connection {
    FormatEtc format;
    DWord advf = 0;
    IAdviseSink* sink = nullptr;
    DWord id = 0;
  };
  std::vector<Connection> connections_;
  DWord next_ = 1;
};

// The sinks of IOleObject::Advise: they hear of saves, closing and renames.
class OleAdviseHolder {
 public:
  ~OleAdviseHolder();
  HResult Advise(IAdviseSink* sink, DWord* connection);
  HResult Unadvise(DWord connection);
  void SendOnSave();
  void SendOnClose();
  void clear();

 private:
  std::vector<std::pair<DWord, IAdviseSink*>> sinks_;
  DWord next_ = 1;
};

// COleDataSource: a data object whose formats are cached up front (or rendered when asked,
// through OnRenderData). It is a COM object: made with new, handed out through
// GetIDataObject(true), and deleted by its last release.
class DataSource : public ComObject {
 public:
  DataSource();
  ~DataSource() override;

  // Takes the block; replaces a format cached before.
  void CacheGlobalData(std::uint16_t format, GlobalMemory* block, DWord aspect = DVASPECT_CONTENT);
  void CacheData(std::uint16_t format, std::vector<std::uint8_t> bytes, DWord aspect = DVASPECT_CONTENT);
  void CacheEnhMetaFile(const gdi::EnhMetaFile& picture, DWord aspect = DVASPECT_CONTENT);
  // Offers format without data yet; OnRenderData makes it when asked.
  void DelayRenderData(std::uint16_t format, DWord tymed = TYMED_HGLOBAL, DWord aspect = DVASPECT_CONTENT);
  void Empty();
  std::vector<FormatEtc> Formats() const;

  IDataObject* GetIDataObject(bool addRef);
  // The clipboard's form of what is cached (delayed formats are rendered first).
  ui::DataObject ToClipboard();
  bool SetClipboard();

 protected:
  // Renders a delayed format into medium (tymed already set); false when it cannot.
  virtual bool OnRenderData(const FormatEtc& format, StgMedium* medium);
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  struct Entry {
    FormatEtc format;
    std::vector<std::uint8_t> bytes;
    gdi::EnhMetaFile picture;
    bool delayed = false;
  };
  const Entry* find(const FormatEtc& format) const;
  // A new entry for format and aspect in place of the one there was.
  Entry& replaceEntry(std::uint16_t format, DWord aspect, DWord tymed);
  HResult render(const FormatEtc* format, StgMedium* medium);

  struct XDataObject : Nested<IDataObject> {
    using Nested::Nested;
    HResult GetData(const FormatEtc* format, StgMedium* medium) override;
    HResult GetDataHere(const FormatEtc* format, StgMedium* medium) override;
    HResult QueryGetData(const FormatEtc* format) override;
    HResult GetCanonicalFormatEtc(const FormatEtc* in, FormatEtc* out) override;
    HResult SetData(const FormatEtc* format, StgMedium* medium, Bool32 release) override;
    HResult EnumFormatEtc(DWord direction, IEnumFormatEtc** formats) override;
    HResult DAdvise(const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) override;
    HResult DUnadvise(DWord connection) override;
    HResult EnumDAdvise(IUnknown** advise) override;
  } xDataObject_{*this};

  std::vector<Entry> entries_;
  DataAdviseHolder advise_;
  static const InterfaceEntry kEntries[];
};

// A snapshot enumerator of formats (one reference for the caller).
HResult createFormatEnum(std::vector<FormatEtc> formats, IEnumFormatEtc** out);

// An IDataObject over the clipboard's present content (one reference for the caller).
HResult getClipboardDataObject(IDataObject** data);

}  // namespace plat::ole
