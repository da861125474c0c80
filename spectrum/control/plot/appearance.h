#pragma once
// Appearance units of the plot and the records its classes start from. Pen widths are in
// hundredths of a millimetre and font heights in points; at drawing time they become device
// pixels by the device's pixels per inch and the container's zoom percent:
//   width x ppi x zoom / 254000, height x ppi x zoom / 7200,
// rounded half away from zero (MulDiv's rule) with the product formed wide enough that no
// zoom or resolution overflows it, and the result kept inside the int range.
#include <cstdint>
#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

int ScalePenWidth(std::int32_t width, std::int32_t zoom, std::int32_t ppi);
int ScaleFontHeight(std::int32_t height, std::int32_t zoom, std::int32_t ppi);
// Any length in 0.01 mm (offsets of titles and the like) as device pixels, the same way.
int ScaleHundredthsMm(std::int32_t length, std::int32_t zoom, std::int32_t ppi);

// The 52 letters "A".."Z", "a".."z" measured in the DC's font: the scales and labels take a
// character width as cx / 52 and a line height from cy.
gdi::Size MeasureAlphabet(gdi::DC* dc);

gdi::LOGPEN MakeLogPen(gdi::UINT style, std::int32_t width, gdi::COLORREF color);
// A font record with every number 0 but those given, and the face.
gdi::LOGFONTA MakeLogFont(std::int32_t height, std::int32_t weight, std::uint8_t italic, std::string_view face,
                          std::int32_t escapement = 0);
