#include "controls/common/fontprofile.h"

#include <cstdint>

#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace karvel {

namespace {

struct ByteValue {
  const char16_t* name;
  std::uint8_t LogFontA::*field;
};

constexpr ByteValue kByteValues[] = {
    {u"Italic", &LogFontA::lfItalic},
    {u"Underline", &LogFontA::lfUnderline},
    {u"StrikeOut", &LogFontA::lfStrikeOut},
    {u"CharSet", &LogFontA::lfCharSet},
    {u"OutPrecision", &LogFontA::lfOutPrecision},
    {u"ClipPrecision", &LogFontA::lfClipPrecision},
    {u"Quality", &LogFontA::lfQuality},
    {u"PitchAndFamily", &LogFontA::lfPitchAndFamily},
};

struct IntValue {
  const char16_t* name;
  std::int32_t LogFontA::*field;
};

constexpr IntValue kIntValues[] = {
    {u"Height", &LogFontA::lfHeight},         {u"Width", &LogFontA::lfWidth},
    {u"Escapement", &LogFontA::lfEscapement}, {u"Orientation", &LogFontA::lfOrientation},
    {u"Weight", &LogFontA::lfWeight},
};

}  // namespace

bool SaveFontToProfile(const LogFontA& font, COrvProfDesc& desc) {
  if (desc.Open(PROF_MODE_ALL) != PROF_OK) return false;
  bool ok = true;
  for (const IntValue& v : kIntValues)
    ok = OrvSetProfDWord(v.name, static_cast<std::uint32_t>(font.*v.field), &desc) == PROF_OK && ok;
  for (const ByteValue& v : kByteValues) ok = OrvSetProfDWord(v.name, font.*v.field, &desc) == PROF_OK && ok;
  ok = OrvSetProfString(u"Name", plat::toUtf16(font.FaceName()).c_str(), &desc) == PROF_OK && ok;
  return desc.Close() == PROF_OK && ok;
}

bool LoadFontFromProfile(LogFontA* font, COrvProfDesc& desc) {
  *font = LogFontA();
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
  font->SetFaceName(plat::toUtf8(name));
  return true;
}

void CopyFontAttributes(const LogFontA& from, LogFontA* to) {
  to->SetFaceName(from.FaceName());
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
