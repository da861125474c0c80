// The clipboard over the toolkit's, with our formats as MIME types.
#include "platform/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/gdi/qt_bridge.h"
#include "platform/ui/internal/state.h"

namespace ui {

namespace {

constexpr UINT kFirstRegistered = 0xC000;

std::vector<std::string>& Registered() {
  static std::vector<std::string> names;
  return names;
}

QString MimeOf(UINT format) {
  switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT: return QStringLiteral("text/plain");
    case CF_ENHMETAFILE: return QStringLiteral("image/x-emf");
    case CF_METAFILEPICT: return QStringLiteral("image/x-wmf");
    default: break;
  }
  if (format >= kFirstRegistered) {
    const std::string name = GetClipboardFormatName(format);
    if (!name.empty()) return QStringLiteral("application/x-kedrus-") + QString::fromUtf8(QByteArray(name.data(), static_cast<qsizetype>(name.size())).toPercentEncoding());
  }
  return QStringLiteral("application/x-kedrus-cf") + QString::number(format);
}

struct OpenState {
  bool open = false;
  bool changed = false;
  DataObject staged;
};
OpenState& Open() {
  static OpenState state;
  return state;
}

}  // namespace

UINT RegisterClipboardFormat(std::string_view name) {
  if (name.empty()) return 0;
  auto& names = Registered();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (plat::equalsNoCase(names[i], name)) return kFirstRegistered + static_cast<UINT>(i);
  if (names.size() >= 0x3FFF) return 0;
  names.emplace_back(name);
  return kFirstRegistered + static_cast<UINT>(names.size() - 1);
}

std::string GetClipboardFormatName(UINT format) {
  if (format < kFirstRegistered) return {};
  const std::size_t i = format - kFirstRegistered;
  return i < Registered().size() ? Registered()[i] : std::string();
}

// --- DataObject -------------------------------------------------------------------------------------------

void DataObject::SetData(UINT format, std::vector<std::uint8_t> bytes) { data_[format] = std::move(bytes); }

void DataObject::SetText(std::string_view text) {
  data_[CF_TEXT] = std::vector<std::uint8_t>(text.begin(), text.end());
}

void DataObject::SetBitmap(const gdi::Bitmap& bitmap) { bitmap_ = bitmap; }

void DataObject::SetEnhMetaFile(const gdi::EnhMetaFile& picture) {
  if (!picture.IsNull()) data_[CF_ENHMETAFILE] = picture.Bytes();
}

void DataObject::SetMetaFile(const gdi::MetaFile& picture) {
  if (!picture.IsNull()) data_[CF_METAFILEPICT] = picture.Bytes();
}

bool DataObject::HasFormat(UINT format) const {
  if (format == CF_BITMAP || format == CF_DIB) return !bitmap_.IsNull();
  if (format == CF_UNICODETEXT) return data_.count(CF_TEXT) != 0;
  return data_.count(format) != 0;
}

std::vector<UINT> DataObject::Formats() const {
  std::vector<UINT> out;
  for (const auto& [f, bytes] : data_) out.push_back(f);
  if (!bitmap_.IsNull()) out.push_back(CF_BITMAP);
  return out;
}

const std::vector<std::uint8_t>* DataObject::GetData(UINT format) const {
  if (format == CF_UNICODETEXT) format = CF_TEXT;
  auto it = data_.find(format);
  return it == data_.end() ? nullptr : &it->second;
}

std::string DataObject::GetText() const {
  const std::vector<std::uint8_t>* bytes = GetData(CF_TEXT);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

gdi::Bitmap DataObject::GetBitmap() const { return bitmap_; }

gdi::EnhMetaFile DataObject::GetEnhMetaFile() const {
  const std::vector<std::uint8_t>* bytes = GetData(CF_ENHMETAFILE);
  return bytes ? gdi::EnhMetaFile::FromBytes(*bytes) : gdi::EnhMetaFile();
}

void DataObject::Clear() {
  data_.clear();
  bitmap_ = gdi::Bitmap();
}

// --- The clipboard ----------------------------------------------------------------------------------------

bool SetClipboard(const DataObject& data) {
  AppState::Get();
  auto* mime = new QMimeData;
  for (UINT format : data.Formats()) {
    if (format == CF_BITMAP) {
      mime->setImageData(gdi::qt::ToQImage(data.GetBitmap()));
      continue;
    }
    const std::vector<std::uint8_t>* bytes = data.GetData(format);
    if (!bytes) continue;
    const QByteArray raw(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
    if (format == CF_TEXT) mime->setText(QString::fromUtf8(raw));
    else mime->setData(MimeOf(format), raw);
  }
  QGuiApplication::clipboard()->setMimeData(mime);
  return true;
}

DataObject GetClipboard() {
  AppState::Get();
  DataObject out;
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) return out;
  if (mime->hasText()) out.SetText(FromQ(mime->text()));
  if (mime->hasImage()) out.SetBitmap(gdi::qt::BitmapFromImage(qvariant_cast<QImage>(mime->imageData())));
  auto take = [&](UINT format) {
    const QString type = MimeOf(format);
    if (!mime->hasFormat(type)) return;
    const QByteArray raw = mime->data(type);
    out.SetData(format, std::vector<std::uint8_t>(raw.begin(), raw.end()));
  };
  take(CF_ENHMETAFILE);
  take(CF_METAFILEPICT);
  for (std::size_t i = 0; i < Registered().size(); ++i) take(kFirstRegistered + static_cast<UINT>(i));
  return out;
}

bool OpenClipboard(Wnd*) {
  OpenState& s = Open();
  if (s.open) return false;
  s.open = true;
  s.changed = false;
  s.staged = GetClipboard();
  return true;
}

bool CloseClipboard() {
  OpenState& s = Open();
  if (!s.open) return false;
  s.open = false;
  if (s.changed) SetClipboard(s.staged);
  s.staged.Clear();
  return true;
}

bool EmptyClipboard() {
  OpenState& s = Open();
  if (!s.open) return false;
  s.staged.Clear();
  s.changed = true;
  return true;
}

bool SetClipboardData(UINT format, std::vector<std::uint8_t> bytes) {
  OpenState& s = Open();
  if (!s.open || format == 0) return false;
  if (format == CF_UNICODETEXT) format = CF_TEXT;
  s.staged.SetData(format, std::move(bytes));
  s.changed = true;
  return true;
}

std::vector<std::uint8_t> GetClipboardData(UINT format) {
  OpenState& s = Open();
  const DataObject data = s.open ? s.staged : GetClipboard();
  const std::vector<std::uint8_t>* bytes = data.GetData(format);
  return bytes ? *bytes : std::vector<std::uint8_t>();
}

bool IsClipboardFormatAvailable(UINT format) {
  OpenState& s = Open();
  return (s.open ? s.staged : GetClipboard()).HasFormat(format);
}

}  // namespace ui
