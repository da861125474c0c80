#pragma once
// The plain types of the window layer: handles, message parameters, and the geometry and
// colours it shares with drawing (gdi::Point, gdi::Size, gdi::Rect, COLORREF).
//
// A window handle is a number from one process-wide table: a handle of a destroyed window
// never names another window, and looking it up gives no object.
#include <cstdint>

#include "platform/gdi/types.h"

namespace ui {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;

using gdi::COLORREF;
using gdi::Point;
using gdi::Rect;
using gdi::RGB;
using gdi::Size;

// Window handles: 0 is no window.
enum class HWND : std::uint32_t {};
constexpr HWND kNoWnd = HWND(0);
inline LPARAM HandleToParam(HWND h) { return static_cast<LPARAM>(static_cast<std::uint32_t>(h)); }
inline HWND ParamToHandle(std::intptr_t p) { return static_cast<HWND>(static_cast<std::uint32_t>(p)); }

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return DWORD(lo) | DWORD(hi) << 16; }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
// Signed coordinates packed into an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<std::int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<std::int16_t>((lp >> 16) & 0xFFFF); }
constexpr LPARAM PointToParam(Point p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }
constexpr Point ParamToPoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

}  // namespace ui
