#include "platform/ole/propexchange.h"

namespace plat::ole {

void PropExchange::ExchangeVersion(DWord* version, DWord defaultVersion) {
  switch (mode()) {
    case Mode::Store: archive_->writeU32(*version = defaultVersion); break;
    case Mode::Load: *version = archive_->readU32(); break;
    case Mode::Reset: *version = defaultVersion; break;
  }
  version_ = *version;
}

namespace {

// One value in the exchange's direction: write puts it, read takes it.
template <class T, class Write, class Read>
void exchange(PropExchange* px, T& value, const T& defaultValue, Write write, Read read) {
  switch (px->mode()) {
    case PropExchange::Mode::Store: write(*px->archive(), value); break;
    case PropExchange::Mode::Load: value = read(*px->archive()); break;
    case PropExchange::Mode::Reset: value = defaultValue; break;
  }
}

}  // namespace

void PX_Long(PropExchange* px, const char*, std::int32_t& value, std::int32_t defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, std::int32_t v) { a.writeI32(v); }, [](Archive& a) { return a.readI32(); });
}
void PX_ULong(PropExchange* px, const char*, std::uint32_t& value, std::uint32_t defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, std::uint32_t v) { a.writeU32(v); }, [](Archive& a) { return a.readU32(); });
}
void PX_Short(PropExchange* px, const char*, std::int16_t& value, std::int16_t defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, std::int16_t v) { a.writeI16(v); }, [](Archive& a) { return a.readI16(); });
}
void PX_Bool(PropExchange* px, const char*, bool& value, bool defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, bool v) { a.writeI32(v ? 1 : 0); },
           [](Archive& a) { return a.readI32() != 0; });
}
void PX_Color(PropExchange* px, const char* name, std::uint32_t& value, std::uint32_t defaultValue) {
  PX_ULong(px, name, value, defaultValue);
}
void PX_Float(PropExchange* px, const char*, float& value, float defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, float v) { a.writeF32(v); }, [](Archive& a) { return a.readF32(); });
}
void PX_Double(PropExchange* px, const char*, double& value, double defaultValue) {
  exchange(px, value, defaultValue, [](Archive& a, double v) { a.writeF64(v); }, [](Archive& a) { return a.readF64(); });
}
void PX_String(PropExchange* px, const char*, std::string& value, std::string_view defaultValue) {
  const std::string d(defaultValue);
  exchange(px, value, d, [](Archive& a, const std::string& v) { a.writeString(v); }, [](Archive& a) { return a.readString(); });
}

}  // namespace plat::ole
