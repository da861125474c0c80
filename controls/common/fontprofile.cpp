#include "controls/common/fontprofile.h"

#include <cstdint>

#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace karvel {

namespace {

struct ByteValue {
  const char16_t* name;
  std::uint8_t gdi::LOGFONTA::*field;
};

constexpr ByteValue kByteValues[] = {
    {u"Italic", &gdi::LOGFONTA::lfItalic},
    {u"Underline", &gdi::LOGFONTA::lfUnderline},
    {u"StrikeOut", &gdi::LOGFONTA::lfStrikeOut},
    {u"CharSet", &gdi::LOGFONTA::lfCharSet},
    {u"OutPrecision", &gdi::LOGFONTA::lfOutPrecision},
    {u"ClipPrecision", &gdi::LOGFONTA::lfClipPrecision},
    {u"Quality", &gdi::LOGFONTA::lfQuality},
    {u"PitchAndFamily", &gdi::LOGFONTA::lfPitchAndFamily},
};

struct IntValue {
  const char16_t* name;
  std::int32_t gdi::LOGFONTA::*field;
};

constexpr IntValue kIntValues[] = {
    {u"Height", &gdi::LOGFONTA::lfHeight},         {u"Width", &gdi::LOGFONTA::lfWidth},
    {u"Escapement", &gdi::LOGFONTA::lfEscapement}, {u"Orientation", &gdi::LOGFONTA::lfOrientation},
    {u"Weight", &gdi::LOGFONTA::lfWeight},
};

}  // namespace

bool SaveFontToProfile(const gdi::LOGFONTA& font, COrvProfDesc& desc) {
  if (desc.Open(PROF_MODE_ALL) != PROF_OK) return false;
  bool ok = true;
  for (const IntValue& v : kIntValues)
    ok = OrvSetProfDWord(v.name, static_cast<std::uint32_t>(font.*v.field), &desc) == PROF_OK && ok;
  for (const ByteValue& v : kByteValues) ok = OrvSetProfDWord(v.name, font.*v.field, &desc) == PROF_OK && ok;
  ok = OrvSetProfString(u"Name", plat::toUtf16(gdi::FaceNameOf(font)).c_str(), &desc) == PROF_OK && ok;
  return desc.Close() == PROF_OK && ok;
}

bool LoadFontFromProfile(gdi::LOGFONTA* font, COrvProfDesc& desc) {
  *font = gdi::LOGFONTA();
  if (desc.Open(PROF_MODE_OPEN) != PROF_OK) return false;
  std::uint32_t value = 0;
  for (const IntValue& v : kIntValues) {
    OrvGetProfDWord(v.name, &value, 0, &desc);
    font->*v.field = static_cast<std::int32_t>(value);
  }
  for (const ByteValue& v : kByteValues) {
    OrvGetProfDWord(v.name, &value, 0, &desc);
    font->*v.field = static_cast<std::uint8_t>(value & 0xFF);
  }
  plat::String16 name;
  OrvGetProfCString(u"Name", &name, u"", &desc);
  gdi::SetFaceName(*font, plat::toUtf8(name));
  return true;
}

void CopyFontAttributes(const gdi::LOGFONTA& from, gdi::LOGFONTA* to) {
  gdi::SetFaceName(*to, gdi::FaceNameOf(from));
  // The size travels as currency (height x 10000) and comes back divided: the height itself.
  to->lfHeight = from.lfHeight;
  // Bold puts 700 or 400, which the weight put that follows replaces.
  to->lfItalic = from.lfItalic;
  to->lfUnderline = from.lfUnderline;
  to->lfStrikeOut = from.lfStrikeOut;
  to->lfWeight = static_cast<std::int16_t>(from.lfWeight & 0xFFFF);
  to->lfCharSet = from.lfCharSet;
}

}  // namespace karvel
