#pragma once
// The drawing records the controls keep and archive are the platform's own (gdi::LOGFONTA, 60
// bytes; gdi::LOGPEN, 16; gdi::LOGBRUSH, 12; gdi::COLORREF): the controls' archives hold them
// raw. This adds the starting values the controls share.
#include <cstdint>
#include <string_view>

#include "platform/gdi/objects.h"

namespace karvel {

// What a new control or table cell starts with: height 10 (points), weight 400, "Arial".
gdi::LOGFONTA DefaultControlFont();
// Hollow, white, no hatch.
gdi::LOGBRUSH DefaultBackgroundBrush();
// Solid black, the given width in hundredths of a millimetre (both width members).
gdi::LOGPEN SolidPen(std::int32_t width);

// The longest prefix of text of at most maxBytes bytes that does not end inside a UTF-8
// sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace karvel
