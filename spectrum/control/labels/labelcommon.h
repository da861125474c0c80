#pragma once
// What the label objects share: fixed-point label text, and the selection of a band object (the
// peak band, the integral sums) that takes an x range only.
#include <cstdint>
#include <string>

class CDrawObject;

// Decimals of a label: a property or an archive can hold any number; labels take 0-9.
std::int32_t LabelDecimals(std::int32_t decimals);
// value in fixed point with LabelDecimals(decimals) decimals, C locale.
std::string FormatFixed(double value, std::int32_t decimals);

// The base selection rule of the band (the list's selection's far corner follows the mouse,
// clamped to the band), then stretched to the band's full height.
void SelectXRange(CDrawObject& band, std::uint32_t flags, int x, int y);
