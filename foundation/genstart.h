#pragma once
// CGenStart, the start-up part of every module object: it fixes the default profile root and
// section of the module's descriptors, finds the install directory, and on a user's first start
// copies the machine-wide default settings of the module into the user's settings. It also keeps
// the module's base font and answers for the module's own version.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/module.h"
#include "platform/base/types.h"

class CGenStart {
 public:
  // The font record stored as "Base font": the platform's 16-bit LOGFONT layout, 92 bytes,
  // little-endian.
  struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char16_t, 32> faceName{};

    static constexpr std::size_t kSize = 92;
    std::array<std::uint8_t, kSize> toBytes() const;
    // False unless the face name is terminated inside its 32 characters.
    static bool fromBytes(const std::uint8_t* bytes, std::size_t size, LogFont* font);
    // Height -12, weight 400, default character set, "MS Sans".
    static LogFont fallback();
    bool operator==(const LogFont&) const = default;
  };
  static_assert(sizeof(LogFont) == LogFont::kSize);

  CGenStart() = default;
  virtual ~CGenStart() = default;
  CGenStart(const CGenStart&) = delete;
  CGenStart& operator=(const CGenStart&) = delete;

  // The module's key below "Software" (every module object returns the product key); none here.
  virtual const char16_t* GetRegistryKey() const;
  // The module's program name: its file's name without extension (and without the "lib" of a
  // shared library). The default profile section.
  virtual plat::String16 GetSectionName() const;
  // The INI file the module ships its default settings in: beside the module's file, its name
  // with ".ini" (libnelvar.so: libnelvar.ini). Its sections below the section name
  // ("[nelvar\NMR\Properties 0]") are the module's machine-wide defaults where no installer
  // wrote them into the registry.
  virtual plat::String16 GetDefaultsFile() const;
  // Sets the module's default profile root and section, reads the install directory and makes
  // the first-start copy: of the machine-wide tree below HKEY_LOCAL_MACHINE when there is one,
  // else of the defaults the module ships. Start-up always goes on: problems with the settings
  // leave defaults.
  virtual bool Startup();
  // Frees what Startup set for the application object (the help-file path).
  virtual void Cleanup();

  // Reads "Base font" of the module's profile; a missing or unusable record gives the fallback.
  void LoadBaseFont();
  // Writes the base font as "Base font"; false when there is no font yet or the write failed.
  bool SaveBaseFont();
  const std::optional<LogFont>& BaseFont() const { return m_baseFont; }

  // The help-file path for the application object: the program name after Startup, empty
  // before it and after Cleanup.
  const plat::String16& HelpFilePath() const { return m_helpFilePath; }

  // The install directory: the machine-wide "Path" of the product key, or when that is missing
  // the directory of the module's own file. Empty until Startup.
  plat::String16 Path;

 private:
  std::optional<LogFont> m_baseFont;
  plat::String16 m_helpFilePath;
};

// The path of the INI file that belongs to a module file: the file name's extension replaced by
// ".ini" ("/opt/k/libnelvar.so" -> "/opt/k/libnelvar.ini"); a shared library's version suffix
// goes with it ("libnelvar.so.2" -> "libnelvar.ini"), dots of the directories stay.
std::string ModuleIniPath(std::string_view modulePath);

// The fixed version information of a file's version record; false when it has none.
bool GetFileVersion(const char16_t* fileName, plat::FixedFileInfo* info);
// The same for the calling module's own file.
bool GetModuleVersion(plat::FixedFileInfo* info);
// The module's file version as its two words: major << 16 | minor, and build << 16 | revision.
bool GetModuleVersion(std::uint32_t* mostSignificant, std::uint32_t* leastSignificant);
// The directory part of a path, with its trailing separator and without a drive ("C:\a\x.exe"
// gives "\a\"); empty when the path has no directory.
plat::String16 GetPathDir(const char16_t* path);
// The drive part of a path ("C:"); empty when it has none.
plat::String16 GetPathDrive(const char16_t* path);
