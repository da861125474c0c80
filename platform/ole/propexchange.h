#pragma once
// Property exchange: one function per control (DoPropExchange) that names its persistent
// properties once, and runs in three directions:
//  - storing into an archive (the control's persistent state, IPersistStreamInit::Save),
//  - loading from an archive (IPersistStreamInit::Load, items made from data),
//  - resetting to the defaults the calls give (IPersistStreamInit::InitNew).
// In an archive the values follow each other in call order, without names: integers 32-bit
// (short 16-bit) little-endian, BOOL as 32 bits, floats and doubles in their IEEE bytes, strings
// in the archive's string form. A read past the end throws plat::ArchiveError (the caller of the
// exchange turns it into a failure).
#include <cstdint>
#include <string>

#include "platform/archive/archive.h"

namespace plat::ole {

class PropExchange {
 public:
  enum class Mode { Store, Load, Reset };
  // Over an archive (its direction decides the mode), or resetting when archive is null.
  explicit PropExchange(Archive* archive) : archive_(archive) {}

  Mode mode() const {
    if (!archive_) return Mode::Reset;
    return archive_->isStoring() ? Mode::Store : Mode::Load;
  }
  bool IsLoading() const { return mode() != Mode::Store; }
  Archive* archive() const { return archive_; }

  // The version stamp (major << 16 | minor) of what is loaded: the one stored, or on storing and
  // resetting the one the control gives. ExchangeVersion is the control's first call.
  DWord GetVersion() const { return version_; }
  void ExchangeVersion(DWord* version, DWord defaultVersion);

 private:
  Archive* archive_;
  DWord version_ = 0;
};

// The PX_ calls: each exchanges one value under a name (names document the order; archives keep
// no names). Loading and resetting write *value; resetting gives it the default.
void PX_Long(PropExchange* px, const char* name, std::int32_t& value, std::int32_t defaultValue = 0);
void PX_ULong(PropExchange* px, const char* name, std::uint32_t& value, std::uint32_t defaultValue = 0);
void PX_Short(PropExchange* px, const char* name, std::int16_t& value, std::int16_t defaultValue = 0);
void PX_Bool(PropExchange* px, const char* name, bool& value, bool defaultValue = false);
void PX_Color(PropExchange* px, const char* name, std::uint32_t& value, std::uint32_t defaultValue = 0);
void PX_Float(PropExchange* px, const char* name, float& value, float defaultValue = 0);
void PX_Double(PropExchange* px, const char* name, double& value, double defaultValue = 0);
void PX_String(PropExchange* px, const char* name, std::string& value, std::string_view defaultValue = {});

}  // namespace plat::ole
