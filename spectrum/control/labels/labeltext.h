#pragma once
// Fixed-point label text, shared by the peak labels and the integral sums.
#include <cstdint>
#include <string>

// Decimals of a label: a property or an archive can hold any number; labels take 0-9.
std::int32_t LabelDecimals(std::int32_t decimals);
// value in fixed point with LabelDecimals(decimals) decimals, C locale.
std::string FormatFixed(double value, std::int32_t decimals);
