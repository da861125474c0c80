#pragma once
// What the fake spectrum modules answer (fake_spc_server.cpp), for the tests that read it back.
#include <cstdint>

namespace fakespc {

inline constexpr char16_t kControlName[] = u"Fake NMR module";
inline constexpr char16_t kControlDate[] = u"03-Mar-2024";
inline constexpr std::int16_t kControlHi = 2, kControlLo = 5;
// The second module gives null texts and a major version above 32767.
inline constexpr std::int16_t kSecondHi = -2, kSecondLo = 12;

}  // namespace fakespc
