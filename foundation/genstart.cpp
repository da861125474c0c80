#include "foundation/genstart.h"

#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

// An object of this file: every module links its own copy, so its address names the module.
const char kModuleAnchor = 0;

constexpr char16_t kUserSoftware[] = u"HKEY_CURRENT_USER\\Software";
constexpr char16_t kMachineSoftware[] = u"HKEY_LOCAL_MACHINE\\Software";
constexpr std::uint32_t kStartCopied = 2;

// base + "\" + key; base alone when there is no key.
plat::String16 JoinKey(const char16_t* base, const char16_t* key) {
  return plat::SectionPath(base).join(key ? key : u"").text();
}

plat::String16 ModuleFileName16() { return plat::toUtf16(plat::moduleFileName(&kModuleAnchor)); }

void PutLe32(std::uint8_t* p, std::int32_t value) {
  const auto v = std::uint32_t(value);
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
  p[2] = std::uint8_t(v >> 16);
  p[3] = std::uint8_t(v >> 24);
}

std::int32_t GetLe32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(plat::loadLe32(p));
}

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

std::size_t DriveLength(std::u16string_view path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':' ? 2 : 0;
}

}  // namespace

// ---- Base font record ----

std::array<std::uint8_t, CGenStart::LogFont::kSize> CGenStart::LogFont::toBytes() const {
  std::array<std::uint8_t, kSize> out{};
  PutLe32(&out[0], height);
  PutLe32(&out[4], width);
  PutLe32(&out[8], escapement);
  PutLe32(&out[12], orientation);
  PutLe32(&out[16], weight);
  const std::uint8_t flags[8] = {italic, underline, strikeOut, charSet,
                                 outPrecision, clipPrecision, quality, pitchAndFamily};
  for (int i = 0; i < 8; ++i) out[20 + i] = flags[i];
  for (std::size_t i = 0; i < faceName.size(); ++i) {
    out[28 + 2 * i] = std::uint8_t(faceName[i]);
    out[29 + 2 * i] = std::uint8_t(faceName[i] >> 8);
  }
  return out;
}

bool CGenStart::LogFont::fromBytes(const std::uint8_t* bytes, std::size_t size, LogFont* font) {
  if (!bytes || !font || size != kSize) return false;
  LogFont f;
  f.height = GetLe32(&bytes[0]);
  f.width = GetLe32(&bytes[4]);
  f.escapement = GetLe32(&bytes[8]);
  f.orientation = GetLe32(&bytes[12]);
  f.weight = GetLe32(&bytes[16]);
  f.italic = bytes[20];
  f.underline = bytes[21];
  f.strikeOut = bytes[22];
  f.charSet = bytes[23];
  f.outPrecision = bytes[24];
  f.clipPrecision = bytes[25];
  f.quality = bytes[26];
  f.pitchAndFamily = bytes[27];
  bool terminated = false;
  for (std::size_t i = 0; i < f.faceName.size(); ++i) {
    f.faceName[i] = char16_t(plat::loadLe16(bytes + 28 + 2 * i));
    if (f.faceName[i] == u'\0') terminated = true;
  }
  if (!terminated) return false;
  *font = f;
  return true;
}

CGenStart::LogFont CGenStart::LogFont::fallback() {
  LogFont f;
  f.height = -12;
  f.weight = 400;
  f.charSet = 1;  // the default character set
  const std::u16string_view face = u"MS Sans";
  face.copy(f.faceName.data(), face.size());
  return f;
}

// ---- Start-up object ----

const char16_t* CGenStart::GetRegistryKey() const { return nullptr; }

plat::String16 CGenStart::GetSectionName() const {
  const plat::String8 file = plat::moduleFileName(&kModuleAnchor);
  std::string_view title = plat::pathTitle(file);
  if (plat::pathExtension(file) == ".so" && title.size() > 3 && title.substr(0, 3) == "lib") title.remove_prefix(3);
  return plat::toUtf16(title);
}

plat::String16 CGenStart::GetDefaultsFile() const {
  return plat::toUtf16(ModuleIniPath(plat::moduleFileName(&kModuleAnchor)));
}

bool CGenStart::Startup() {
  const char16_t* key = GetRegistryKey();
  const plat::String16 section = GetSectionName();
  SetDefaultProfRoot(JoinKey(kUserSoftware, key).c_str());
  SetDefaultProfSection(section.c_str());
  m_helpFilePath = section;

  // The install directory: the machine-wide product key's "Path", else where this module lies.
  {
    COrvProfDesc machine(kMachineSoftware, plat::SectionPath(key ? key : u"").absolute().c_str());
    OrvGetProfCString(u"Path", &Path, u"", &machine);
    if (Path.empty()) Path = plat::toUtf16(plat::moduleDirectory(&kModuleAnchor));
  }

  // First start: copy the module's machine-wide defaults into the user's key. Values the user
  // already has are kept, so a "Start" that cannot be read never costs the user a setting, and a
  // copy cut short is completed by the next start.
  COrvProfDesc user;
  std::uint32_t start = 0;
  OrvGetProfDWord(u"Start", &start, 0, &user);
  if (start >= kStartCopied) return true;

  COrvProfDesc source(JoinKey(kMachineSoftware, key).c_str(), plat::SectionPath(section).absolute().c_str());
  source.SetAutoCreate(false);
  bool complete = true;
  if (source.Open(PROF_MODE_OPEN) == PROF_OK) {
    complete = CopyProfTree(&user, &source, ProfCopyMode::KeepExisting);
  } else {
    // No installer wrote machine-wide defaults here: take those the module ships beside it
    // (only a file that is there: the store would make an empty one).
    const plat::String16 file = GetDefaultsFile();
    COrvProfDesc shipped(file.c_str(), plat::SectionPath(section).absolute().c_str());
    shipped.SetIni(true);
    shipped.SetAutoCreate(false);
    if (plat::fileInfo(plat::toUtf8(file)).isRegular && shipped.Open(PROF_MODE_OPEN) == PROF_OK)
      complete = CopyProfTree(&user, &shipped, ProfCopyMode::KeepExisting);
  }
  // Only a complete copy is recorded; otherwise the next start tries again.
  if (complete) OrvSetProfDWord(u"Start", kStartCopied, &user);
  return true;
}

void CGenStart::Cleanup() {
  m_helpFilePath.clear();
  m_helpFilePath.shrink_to_fit();
}

void CGenStart::LoadBaseFont() {
  std::array<std::uint8_t, LogFont::kSize> bytes{};
  unsigned length = unsigned(bytes.size());
  COrvProfDesc user;
  LogFont font;
  if (OrvGetProfBinary(u"Base font", bytes.data(), &length, &user) == PROF_OK && length == LogFont::kSize &&
      LogFont::fromBytes(bytes.data(), length, &font))
    m_baseFont = font;
  else
    m_baseFont = LogFont::fallback();
}

bool CGenStart::SaveBaseFont() {
  if (!m_baseFont) return false;
  const auto bytes = m_baseFont->toBytes();
  COrvProfDesc user;
  return OrvSetProfBinary(u"Base font", bytes.data(), unsigned(bytes.size()), &user) == PROF_OK;
}

// ---- Versions and paths ----

bool GetFileVersion(const char16_t* fileName, plat::FixedFileInfo* info) {
  if (!fileName || !*fileName || !info) return false;
  return plat::readFileVersion(plat::toUtf8(fileName), info);
}

bool GetModuleVersion(plat::FixedFileInfo* info) {
  const plat::String16 file = ModuleFileName16();
  return !file.empty() && GetFileVersion(file.c_str(), info);
}

bool GetModuleVersion(std::uint32_t* mostSignificant, std::uint32_t* leastSignificant) {
  plat::FixedFileInfo info;
  if (!GetModuleVersion(&info)) return false;
  if (mostSignificant) *mostSignificant = info.fileVersionMS;
  if (leastSignificant) *leastSignificant = info.fileVersionLS;
  return true;
}

plat::String16 GetPathDir(const char16_t* path) {
  if (!path) return {};
  std::u16string_view text(path);
  text.remove_prefix(DriveLength(text));
  const std::size_t last = text.find_last_of(u"\\/");
  return last == std::u16string_view::npos ? plat::String16() : plat::String16(text.substr(0, last + 1));
}

plat::String16 GetPathDrive(const char16_t* path) {
  if (!path) return {};
  const std::u16string_view text(path);
  return plat::String16(text.substr(0, DriveLength(text)));
}

std::string ModuleIniPath(std::string_view modulePath) {
  const std::string_view name = plat::pathFileName(modulePath);
  const std::string_view directory = modulePath.substr(0, modulePath.size() - name.size());
  std::string_view stem = name;
  const std::size_t so = name.find(".so");
  if (so != std::string_view::npos && (so + 3 == name.size() || name[so + 3] == '.')) stem = name.substr(0, so);
  else if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) stem = name.substr(0, dot);
  return std::string(directory) + std::string(stem) + ".ini";
}
