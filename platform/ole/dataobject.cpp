#include "platform/ole/dataobject.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/base/bytes.h"
#include "platform/ole/enumerator.h"

namespace plat::ole {

std::uint16_t embedSourceFormat() { return static_cast<std::uint16_t>(ui::RegisterClipboardFormat(kEmbedSourceFormatName)); }
std::uint16_t objectDescriptorFormat() {
  return static_cast<std::uint16_t>(ui::RegisterClipboardFormat(kObjectDescriptorFormatName));
}

namespace {

constexpr std::size_t kObjectDescriptorSize = 16 + 4 + 4 + 4;

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool tymedFits(DWord asked, DWord offered) { return (asked & offered) != 0; }

}  // namespace

std::vector<std::uint8_t> writeGuid(const Guid& g) {
  std::vector<std::uint8_t> out;
  putU32(out, g.data1);
  out.push_back(static_cast<std::uint8_t>(g.data2));
  out.push_back(static_cast<std::uint8_t>(g.data2 >> 8));
  out.push_back(static_cast<std::uint8_t>(g.data3));
  out.push_back(static_cast<std::uint8_t>(g.data3 >> 8));
  out.insert(out.end(), g.data4, g.data4 + 8);
  return out;
}

Guid readGuid(const std::uint8_t* p) {
  Guid g;
  g.data1 = loadLe32(p);
  g.data2 = loadLe16(p + 4);
  g.data3 = loadLe16(p + 6);
  std::memcpy(g.data4, p + 8, 8);
  return g;
}

std::vector<std::uint8_t> writeEmbedSource(const Guid& clsid, std::span<const std::uint8_t> state) {
  std::vector<std::uint8_t> out = writeGuid(clsid);
  out.insert(out.end(), state.begin(), state.end());
  return out;
}

bool readEmbedSource(std::span<const std::uint8_t> bytes, Guid* clsid, std::span<const std::uint8_t>* state) {
  if (bytes.size() < 16 || !clsid || !state) return false;
  *clsid = readGuid(bytes.data());
  *state = bytes.subspan(16);
  return true;
}

std::vector<std::uint8_t> writeObjectDescriptor(const ObjectDescriptor& d) {
  std::vector<std::uint8_t> out = writeGuid(d.clsid);
  putU32(out, static_cast<std::uint32_t>(d.extent.cx));
  putU32(out, static_cast<std::uint32_t>(d.extent.cy));
  putU32(out, d.miscStatus);
  return out;
}

bool readObjectDescriptor(std::span<const std::uint8_t> bytes, ObjectDescriptor* d) {
  if (bytes.size() != kObjectDescriptorSize || !d) return false;
  d->clsid = readGuid(bytes.data());
  d->extent.cx = static_cast<std::int32_t>(loadLe32(bytes.data() + 16));
  d->extent.cy = static_cast<std::int32_t>(loadLe32(bytes.data() + 20));
  d->miscStatus = loadLe32(bytes.data() + 24);
  return true;
}

// --- Reading -----------------------------------------------------------------------------------------

bool DataReader::GetBytes(IDataObject* data, std::uint16_t format, std::vector<std::uint8_t>* bytes, DWord aspect) {
  if (!data || !bytes) return false;
  FormatEtc f;
  f.cfFormat = format;
  f.dwAspect = aspect;
  f.tymed = TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_MFPICT;
  StgMedium medium;
  if (failed(data->GetData(&f, &medium))) return false;
  bool ok = false;
  if ((medium.tymed == TYMED_HGLOBAL || medium.tymed == TYMED_MFPICT) && medium.hGlobal) {
    // A block that is ours to free is taken over whole.
    if (medium.pUnkForRelease) *bytes = medium.hGlobal->bytes();
    else *bytes = std::move(medium.hGlobal->bytes());
    ok = true;
  } else if (medium.tymed == TYMED_ISTREAM && medium.pstm) {
    medium.pstm->Seek(0, STREAM_SEEK_SET, nullptr);
    ok = readRest(medium.pstm, bytes);
  }
  releaseStgMedium(&medium);
  return ok;
}

gdi::EnhMetaFile DataReader::GetEnhMetaFile(IDataObject* data, DWord aspect) {
  if (!data) return {};
  FormatEtc f;
  f.cfFormat = ui::CF_ENHMETAFILE;
  f.dwAspect = aspect;
  f.tymed = TYMED_ENHMF;
  StgMedium medium;
  if (failed(data->GetData(&f, &medium))) return {};
  gdi::EnhMetaFile picture;
  if (medium.tymed == TYMED_ENHMF && medium.hEnhMetaFile) picture = *medium.hEnhMetaFile;
  releaseStgMedium(&medium);
  return picture;
}

bool DataReader::IsAvailable(IDataObject* data, std::uint16_t format, DWord tymed) {
  if (!data) return false;
  FormatEtc f;
  f.cfFormat = format;
  f.tymed = tymed;
  return data->QueryGetData(&f) == S_OK;
}

// --- Advise holders ---------------------------------------------------------------------------------------

DataAdviseHolder::~DataAdviseHolder() { clear(); }

HResult DataAdviseHolder::Advise(IDataObject*, const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) {
  if (!format || !sink || !connection) return E_INVALIDARG;
  sink->AddRef();
  connections_.push_back({*format, advf, sink, next_});
  *connection = next_++;
  return S_OK;
}

HResult DataAdviseHolder::Unadvise(DWord connection) {
  auto it = std::find_if(connections_.begin(), connections_.end(), [&](const Connection& c) { return c.id == connection; });
  if (it == connections_.end()) return OLE_E_NOCONNECTION;
  IAdviseSink* sink = it->sink;
  connections_.erase(it);
  sink->Release();
  return S_OK;
}

void DataAdviseHolder::SendOnDataChange(IDataObject* source) {
  // A snapshot: sinks may unadvise while they are told.
  const std::vector<Connection> snapshot = connections_;
  for (const Connection& c : snapshot) {
    const bool live = std::any_of(connections_.begin(), connections_.end(), [&](const Connection& x) { return x.id == c.id; });
    if (!live) continue;
    c.sink->AddRef();
    StgMedium medium;
    if (!(c.advf & ADVF_NODATA) && source) source->GetData(&c.format, &medium);
    c.sink->OnDataChange(&c.format, &medium);
    releaseStgMedium(&medium);
    if (c.advf & ADVF_ONLYONCE) Unadvise(c.id);
    c.sink->Release();
  }
}

void DataAdviseHolder::clear() {
  std::vector<Connection> all;
  all.swap(connections_);
  for (Connection& c : all) c.sink->Release();
}

OleAdviseHolder::~OleAdviseHolder() { clear(); }

HResult OleAdviseHolder::Advise(IAdviseSink* sink, DWord* connection) {
  if (!sink || !connection) return E_INVALIDARG;
  sink->AddRef();
  sinks_.emplace_back(next_, sink);
  *connection = next_++;
  return S_OK;
}

HResult OleAdviseHolder::Unadvise(DWord connection) {
  auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == connection; });
  if (it == sinks_.end()) return OLE_E_NOCONNECTION;
  IAdviseSink* sink = it->second;
  sinks_.erase(it);
  sink->Release();
  return S_OK;
}

void OleAdviseHolder::SendOnSave() {
  const auto snapshot = sinks_;
  for (const auto& [id, sink] : snapshot) {
    sink->AddRef();
    sink->OnSave();
    sink->Release();
  }
}

void OleAdviseHolder::SendOnClose() {
  const auto snapshot = sinks_;
  for (const auto& [id, sink] : snapshot) {
    sink->AddRef();
    sink->OnClose();
    sink->Release();
  }
}

void OleAdviseHolder::clear() {
  auto all = std::move(sinks_);
  sinks_.clear();
  for (auto& [id, sink] : all) sink->Release();
}

// --- Format enumerator ----------------------------------------------------------------------------------

HResult createFormatEnum(std::vector<FormatEtc> formats, IEnumFormatEtc** out) {
  return ListEnum<IEnumFormatEtc, IID_IEnumFORMATETC, FormatEtc>::create(std::move(formats), out);
}

// --- Data source ------------------------------------------------------------------------------------------

const ComObject::InterfaceEntry DataSource::kEntries[] = {interfaceEntry<IDataObject, &DataSource::xDataObject_>(IID_IDataObject)};
const ComObject::InterfaceMap DataSource::kInterfaceMap{&ComObject::kInterfaceMap, kEntries};

DataSource::DataSource() = default;
DataSource::~DataSource() = default;

void DataSource::CacheGlobalData(std::uint16_t format, GlobalMemory* block, DWord aspect) {
  std::vector<std::uint8_t> bytes;
  if (block) bytes = std::move(block->bytes());
  globalFree(block);
  CacheData(format, std::move(bytes), aspect);
}

DataSource::Entry& DataSource::replaceEntry(std::uint16_t format, DWord aspect, DWord tymed) {
  std::erase_if(entries_, [&](const Entry& e) { return e.format.cfFormat == format && e.format.dwAspect == aspect; });
  Entry& e = entries_.emplace_back();
  e.format.cfFormat = format;
  e.format.dwAspect = aspect;
  e.format.tymed = tymed;
  return e;
}

void DataSource::CacheData(std::uint16_t format, std::vector<std::uint8_t> bytes, DWord aspect) {
  replaceEntry(format, aspect, format == ui::CF_METAFILEPICT ? TYMED_MFPICT : TYMED_HGLOBAL).bytes = std::move(bytes);
}

void DataSource::CacheEnhMetaFile(const gdi::EnhMetaFile& picture, DWord aspect) {
  replaceEntry(ui::CF_ENHMETAFILE, aspect, TYMED_ENHMF).picture = picture;
}

void DataSource::DelayRenderData(std::uint16_t format, DWord tymed, DWord aspect) {
  replaceEntry(format, aspect, tymed).delayed = true;
}

void DataSource::Empty() { entries_.clear(); }

std::vector<FormatEtc> DataSource::Formats() const {
  std::vector<FormatEtc> out;
  for (const Entry& e : entries_) out.push_back(e.format);
  return out;
}

IDataObject* DataSource::GetIDataObject(bool addRef) {
  if (addRef) AddRef();
  return &xDataObject_;
}

bool DataSource::OnRenderData(const FormatEtc&, StgMedium*) { return false; }

const DataSource::Entry* DataSource::find(const FormatEtc& format) const {
  for (const Entry& e : entries_)
    if (e.format.cfFormat == format.cfFormat && e.format.dwAspect == format.dwAspect && tymedFits(format.tymed, e.format.tymed))
      return &e;
  return nullptr;
}

HResult DataSource::render(const FormatEtc* format, StgMedium* medium) {
  if (!format || !medium) return E_POINTER;
  const Entry* e = find(*format);
  if (!e) {
    for (const Entry& x : entries_)
      if (x.format.cfFormat == format->cfFormat) return x.format.dwAspect != format->dwAspect ? DV_E_DVASPECT : DV_E_TYMED;
    return DV_E_FORMATETC;
  }
  medium->pUnkForRelease = nullptr;
  if (e->delayed) {
    medium->tymed = e->format.tymed & format->tymed;
    // One medium kind: the lowest bit asked and offered.
    medium->tymed &= ~(medium->tymed - 1);
    return OnRenderData(*format, medium) ? S_OK : DV_E_FORMATETC;
  }
  if (e->format.tymed == TYMED_ENHMF) {
    medium->tymed = TYMED_ENHMF;
    medium->hEnhMetaFile = new (std::nothrow) gdi::EnhMetaFile(e->picture);
    return medium->hEnhMetaFile ? S_OK : E_OUTOFMEMORY;
  }
  medium->tymed = e->format.tymed;
  medium->hGlobal = globalCopy(e->bytes);
  return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
}

ui::DataObject DataSource::ToClipboard() {
  ui::DataObject out;
  for (const FormatEtc& f : Formats()) {
    StgMedium medium;
    FormatEtc asked = f;
    if (failed(render(&asked, &medium))) continue;
    if (medium.tymed == TYMED_ENHMF && medium.hEnhMetaFile) out.SetEnhMetaFile(*medium.hEnhMetaFile);
    else if ((medium.tymed == TYMED_HGLOBAL || medium.tymed == TYMED_MFPICT) && medium.hGlobal)
      out.SetData(f.cfFormat, medium.hGlobal->bytes());
    releaseStgMedium(&medium);
  }
  return out;
}

bool DataSource::SetClipboard() { return ui::SetClipboard(ToClipboard()); }

HResult DataSource::XDataObject::GetData(const FormatEtc* format, StgMedium* medium) {
  return outer<DataSource>().render(format, medium);
}
HResult DataSource::XDataObject::GetDataHere(const FormatEtc*, StgMedium*) { return E_NOTIMPL; }
HResult DataSource::XDataObject::QueryGetData(const FormatEtc* format) {
  if (!format) return E_POINTER;
  return outer<DataSource>().find(*format) ? S_OK : DV_E_FORMATETC;
}
HResult DataSource::XDataObject::GetCanonicalFormatEtc(const FormatEtc* in, FormatEtc* out) {
  if (!in || !out) return E_POINTER;
  *out = *in;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}
HResult DataSource::XDataObject::SetData(const FormatEtc*, StgMedium*, Bool32) { return E_NOTIMPL; }
HResult DataSource::XDataObject::EnumFormatEtc(DWord direction, IEnumFormatEtc** formats) {
  if (direction != DATADIR_GET) return E_NOTIMPL;
  return createFormatEnum(outer<DataSource>().Formats(), formats);
}
HResult DataSource::XDataObject::DAdvise(const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) {
  DataSource& self = outer<DataSource>();
  return self.advise_.Advise(&self.xDataObject_, format, advf, sink, connection);
}
HResult DataSource::XDataObject::DUnadvise(DWord connection) { return outer<DataSource>().advise_.Unadvise(connection); }
HResult DataSource::XDataObject::EnumDAdvise(IUnknown**) { return E_NOTIMPL; }

// --- The clipboard as a data object ---------------------------------------------------------------------

HResult getClipboardDataObject(IDataObject** data) {
  if (!data) return E_POINTER;
  *data = nullptr;
  const ui::DataObject clip = ui::GetClipboard();
  auto* source = new (std::nothrow) DataSource;
  if (!source) return E_OUTOFMEMORY;
  for (const std::uint32_t format : clip.Formats()) {
    if (format == ui::CF_ENHMETAFILE) {
      source->CacheEnhMetaFile(clip.GetEnhMetaFile());
    } else if (const std::vector<std::uint8_t>* bytes = clip.GetData(format)) {
      source->CacheData(static_cast<std::uint16_t>(format), *bytes);
    }
  }
  *data = source->GetIDataObject(false);
  return S_OK;
}

}  // namespace plat::ole
