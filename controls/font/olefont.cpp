#include "controls/font/olefont.h"

#include <limits>

#include "controls/common/fontprofile.h"
#include "platform/base/text.h"

using namespace plat::ole;

namespace {

constexpr std::int64_t kCurrencyScale = 10000;

std::int32_t HeightFromCurrency(Currency size) {
  const std::int64_t height = size / kCurrencyScale;
  if (height > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (height < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(height);
}

}  // namespace

COleFont::COleFont(gdi::LOGFONTA* font) : AutomationObject(Dispatch()), m_pFont(font) {}

COleFont::~COleFont() = default;

const DispInterfaceDesc& COleFont::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispProperty<&COleFont::GetName, &COleFont::SetName>("Name", DISPID_FONT_NAME, DispType::Bstr),
      dispProperty<&COleFont::GetSize, &COleFont::SetSize>("Size", DISPID_FONT_SIZE, DispType::Cy),
      dispProperty<&COleFont::GetBold, &COleFont::SetBold>("Bold", DISPID_FONT_BOLD, DispType::Bool),
      dispProperty<&COleFont::GetItalic, &COleFont::SetItalic>("Italic", DISPID_FONT_ITALIC, DispType::Bool),
      dispProperty<&COleFont::GetUnderline, &COleFont::SetUnderline>("Underline", DISPID_FONT_UNDER, DispType::Bool),
      dispProperty<&COleFont::GetStrikethrough, &COleFont::SetStrikethrough>("Strikethrough", DISPID_FONT_STRIKE,
                                                                            DispType::Bool),
      dispProperty<&COleFont::GetWeight, &COleFont::SetWeight>("Weight", DISPID_FONT_WEIGHT, DispType::I2),
      dispProperty<&COleFont::GetCharset, &COleFont::SetCharset>("Charset", DISPID_FONT_CHARSET, DispType::I2),
  };
  static constexpr DispInterfaceDesc kDesc{"IFontDisp", &IID_IFontDisp, "Font Object", kMembers};
  return kDesc;
}

void* COleFont::GetInterface(const Guid& iid) {
  if (iid == IID_IFont) return static_cast<IFont*>(&m_xFont);
  return AutomationObject::GetInterface(iid);
}

IFont* COleFont::GetIFont(bool addRef) {
  if (addRef) AddRef();
  return &m_xFont;
}

// ---- Properties -------------------------------------------------------------------------------
// Through dispatch a font without a record raises E_FAIL; IFont answers E_FAIL itself.

namespace {

gdi::LOGFONTA& Record(gdi::LOGFONTA* font) {
  if (!font) throwDispatchException(E_FAIL, u"The font object has no font.");
  return *font;
}

}  // namespace

Bstr COleFont::GetName() { return allocString(plat::toUtf16(gdi::FaceNameOf(Record(m_pFont)))); }
void COleFont::SetName(const char16_t* name) {
  gdi::SetFaceName(Record(m_pFont), plat::toUtf8(name ? std::u16string_view(name) : std::u16string_view()));
}
std::int64_t COleFont::GetSize() { return static_cast<std::int64_t>(Record(m_pFont).lfHeight) * kCurrencyScale; }
void COleFont::SetSize(std::int64_t size) { Record(m_pFont).lfHeight = HeightFromCurrency(size); }
bool COleFont::GetBold() { return Record(m_pFont).lfWeight > 500; }
void COleFont::SetBold(bool bold) { Record(m_pFont).lfWeight = bold ? 700 : 400; }
bool COleFont::GetItalic() { return Record(m_pFont).lfItalic != 0; }
void COleFont::SetItalic(bool italic) { Record(m_pFont).lfItalic = italic ? 1 : 0; }
bool COleFont::GetUnderline() { return Record(m_pFont).lfUnderline != 0; }
void COleFont::SetUnderline(bool underline) { Record(m_pFont).lfUnderline = underline ? 1 : 0; }
bool COleFont::GetStrikethrough() { return Record(m_pFont).lfStrikeOut != 0; }
void COleFont::SetStrikethrough(bool strikethrough) { Record(m_pFont).lfStrikeOut = strikethrough ? 1 : 0; }
std::int16_t COleFont::GetWeight() { return static_cast<std::int16_t>(Record(m_pFont).lfWeight & 0xFFFF); }
void COleFont::SetWeight(std::int16_t weight) { Record(m_pFont).lfWeight = weight; }
std::int16_t COleFont::GetCharset() { return Record(m_pFont).lfCharSet; }
void COleFont::SetCharset(std::int16_t charset) { Record(m_pFont).lfCharSet = static_cast<std::uint8_t>(charset & 0xFF); }

// ---- Copies -----------------------------------------------------------------------------------

namespace {

// The attributes a copy moves, in the order it reads and puts them.
struct FontAttributes {
  Bstr name = nullptr;
  Currency size = 0;
  Bool32 bold = 0, italic = 0, underline = 0, strikethrough = 0;
  std::int16_t weight = 0, charset = 0;
};

void ReadAttributes(IFont* font, FontAttributes* a) {
  font->get_Name(&a->name);
  font->get_Size(&a->size);
  font->get_Bold(&a->bold);
  font->get_Italic(&a->italic);
  font->get_Underline(&a->underline);
  font->get_Strikethrough(&a->strikethrough);
  font->get_Weight(&a->weight);
  font->get_Charset(&a->charset);
}

void PutAttributes(IFont* font, const FontAttributes& a) {
  font->put_Name(a.name ? a.name : u"");
  font->put_Size(a.size);
  font->put_Bold(a.bold);
  font->put_Italic(a.italic);
  font->put_Underline(a.underline);
  font->put_Strikethrough(a.strikethrough);
  font->put_Weight(a.weight);
  font->put_Charset(a.charset);
}

IFont* QueryFont(IUnknown* object) {
  if (!object) return nullptr;
  void* font = nullptr;
  if (failed(object->QueryInterface(IID_IFont, &font))) return nullptr;
  return static_cast<IFont*>(font);
}

bool CopyBetween(IFont* from, IFont* to) {
  FontAttributes a;
  ReadAttributes(from, &a);
  PutAttributes(to, a);
  freeString(a.name);
  return true;
}

}  // namespace

bool COleFont::CopyFrom(IUnknown* object) {
  if (!m_pFont) return false;
  IFont* other = QueryFont(object);
  if (!other) return false;
  CopyBetween(other, &m_xFont);
  other->Release();
  return true;
}

bool COleFont::CopyTo(IUnknown* object) {
  if (!m_pFont) return false;
  IFont* other = QueryFont(object);
  if (!other) return false;
  CopyBetween(&m_xFont, other);
  other->Release();
  return true;
}

// ---- IFont ------------------------------------------------------------------------------------

#define FONT_RECORD_OR_FAIL()                      \
  gdi::LOGFONTA* font = outer<COleFont>().m_pFont; \
  if (!font) return E_FAIL

HResult COleFont::XFont::get_Name(Bstr* name) {
  if (!name) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *name = allocString(plat::toUtf16(gdi::FaceNameOf(*font)));
  return S_OK;
}

HResult COleFont::XFont::put_Name(const char16_t* name) {
  FONT_RECORD_OR_FAIL();
  gdi::SetFaceName(*font, plat::toUtf8(name ? std::u16string_view(name) : std::u16string_view()));
  return S_OK;
}

HResult COleFont::XFont::get_Size(Currency* size) {
  if (!size) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *size = static_cast<Currency>(font->lfHeight) * kCurrencyScale;
  return S_OK;
}

HResult COleFont::XFont::put_Size(Currency size) {
  FONT_RECORD_OR_FAIL();
  font->lfHeight = HeightFromCurrency(size);
  return S_OK;
}

HResult COleFont::XFont::get_Bold(Bool32* bold) {
  if (!bold) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *bold = font->lfWeight > 500 ? 1 : 0;
  return S_OK;
}

HResult COleFont::XFont::put_Bold(Bool32 bold) {
  FONT_RECORD_OR_FAIL();
  font->lfWeight = bold ? 700 : 400;
  return S_OK;
}

HResult COleFont::XFont::get_Italic(Bool32* italic) {
  if (!italic) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *italic = font->lfItalic;
  return S_OK;
}

HResult COleFont::XFont::put_Italic(Bool32 italic) {
  FONT_RECORD_OR_FAIL();
  font->lfItalic = static_cast<std::uint8_t>(italic);
  return S_OK;
}

HResult COleFont::XFont::get_Underline(Bool32* underline) {
  if (!underline) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *underline = font->lfUnderline;
  return S_OK;
}

HResult COleFont::XFont::put_Underline(Bool32 underline) {
  FONT_RECORD_OR_FAIL();
  font->lfUnderline = static_cast<std::uint8_t>(underline);
  return S_OK;
}

HResult COleFont::XFont::get_Strikethrough(Bool32* strikethrough) {
  if (!strikethrough) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *strikethrough = font->lfStrikeOut;
  return S_OK;
}

HResult COleFont::XFont::put_Strikethrough(Bool32 strikethrough) {
  FONT_RECORD_OR_FAIL();
  font->lfStrikeOut = static_cast<std::uint8_t>(strikethrough);
  return S_OK;
}

HResult COleFont::XFont::get_Weight(std::int16_t* weight) {
  if (!weight) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *weight = static_cast<std::int16_t>(font->lfWeight & 0xFFFF);
  return S_OK;
}

HResult COleFont::XFont::put_Weight(std::int16_t weight) {
  FONT_RECORD_OR_FAIL();
  font->lfWeight = weight;
  return S_OK;
}

HResult COleFont::XFont::get_Charset(std::int16_t* charset) {
  if (!charset) return E_POINTER;
  FONT_RECORD_OR_FAIL();
  *charset = font->lfCharSet;
  return S_OK;
}

HResult COleFont::XFont::put_Charset(std::int16_t charset) {
  FONT_RECORD_OR_FAIL();
  font->lfCharSet = static_cast<std::uint8_t>(charset & 0xFF);
  return S_OK;
}

#undef FONT_RECORD_OR_FAIL

HResult COleFont::XFont::get_hFont(FontHandle*) { return E_NOTIMPL; }
HResult COleFont::XFont::Clone(IFont**) { return E_NOTIMPL; }
HResult COleFont::XFont::IsEqual(IFont*) { return E_NOTIMPL; }
HResult COleFont::XFont::SetRatio(std::int32_t, std::int32_t) { return E_NOTIMPL; }
HResult COleFont::XFont::QueryTextMetrics(void*) { return E_NOTIMPL; }
HResult COleFont::XFont::AddRefHfont(FontHandle) { return E_NOTIMPL; }
HResult COleFont::XFont::ReleaseHfont(FontHandle) { return E_NOTIMPL; }
HResult COleFont::XFont::SetHdc(DeviceContextHandle) { return E_NOTIMPL; }

// ---- Profile form -----------------------------------------------------------------------------

bool SaveFontToProfile(COleFont* font, COrvProfDesc* desc) {
  if (!font || !font->GetLogFont() || !desc) return false;
  return karvel::SaveFontToProfile(*font->GetLogFont(), *desc);
}

bool LoadFontFromProfile(COleFont* font, COrvProfDesc* desc) {
  if (!font || !font->GetLogFont() || !desc) return false;
  return karvel::LoadFontFromProfile(font->GetLogFont(), *desc);
}
