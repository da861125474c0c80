#pragma once
// The pixels of the pictures the independent readers render (binary PPM from pdftoppm, PNG from
// wmf2gd and rsvg-convert), for the interop tests to judge by colour.
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace interop {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // three bytes a pixel, rows top down
  bool Empty() const { return width <= 0 || height <= 0; }
  const std::uint8_t* At(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  // The share of the pixels of [x0, x1) x [y0, y1) within tolerance of the colour (r, g, b).
  double Share(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance = 40) const {
    long hits = 0, all = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, width); ++x, ++all) {
        const std::uint8_t* p = At(x, y);
        hits += std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance;
      }
    return all ? static_cast<double>(hits) / static_cast<double>(all) : 0.0;
  }
};

// A binary PPM (P6, 8 bits); empty when the bytes are not one.
inline Image ReadPpm(const std::string& bytes) {
  Image image;
  std::size_t at = 0;
  int fields[3] = {};
  if (bytes.compare(0, 2, "P6") != 0) return image;
  at = 2;
  for (int& field : fields) {
    while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
      if (bytes[at] == '#') at = bytes.find('\n', at);
      if (at == std::string::npos) return image;
      ++at;
    }
    char* end = nullptr;
    field = static_cast<int>(std::strtol(bytes.c_str() + at, &end, 10));
    at = static_cast<std::size_t>(end - bytes.c_str());
  }
  ++at;  // the one blank after the maximum
  const std::size_t size = static_cast<std::size_t>(fields[0]) * static_cast<std::size_t>(fields[1]) * 3;
  if (fields[0] <= 0 || fields[1] <= 0 || fields[2] != 255 || at + size > bytes.size()) return image;
  image.width = fields[0];
  image.height = fields[1];
  image.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
  return image;
}

// A PNG of 8-bit grey, RGB, palette, grey-alpha or RGBA pixels, not interlaced; alpha is laid
// over white. Empty when the bytes are not such a PNG.
inline Image ReadPng(const std::string& bytes) {
  Image image;
  const auto u32 = [&](std::size_t at) {
    return at + 4 > bytes.size() ? 0u
                                 : (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
                                       (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint8_t(bytes[at + 3]);
  };
  if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return image;
  int width = 0, height = 0, depth = 0, type = 0, interlace = 0;
  std::string idat, palette;
  for (std::size_t at = 8; at + 8 <= bytes.size();) {
    const std::uint32_t length = u32(at);
    const std::string kind = bytes.substr(at + 4, 4);
    if (at + 12 + length > bytes.size()) return image;
    const std::string data = bytes.substr(at + 8, length);
    if (kind == "IHDR" && length >= 13) {
      width = static_cast<int>(u32(at + 8));
      height = static_cast<int>(u32(at + 12));
      depth = std::uint8_t(data[8]);
      type = std::uint8_t(data[9]);
      interlace = std::uint8_t(data[12]);
    } else if (kind == "PLTE") {
      palette = data;
    } else if (kind == "IDAT") {
      idat += data;
    }
    at += 12 + length;
  }
  const int channels = type == 0 ? 1 : type == 2 ? 3 : type == 3 ? 1 : type == 4 ? 2 : type == 6 ? 4 : 0;
  if (width <= 0 || height <= 0 || width > 20000 || height > 20000 || depth != 8 || channels == 0 || interlace != 0)
    return image;
  const std::size_t stride = static_cast<std::size_t>(width) * channels;
  std::vector<std::uint8_t> raw((stride + 1) * static_cast<std::size_t>(height));
  uLongf rawSize = raw.size();
  if (uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(idat.data()), idat.size()) != Z_OK || rawSize != raw.size())
    return image;
  // Undo each row's filter in place.
  std::vector<std::uint8_t> prior(stride, 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &raw[static_cast<std::size_t>(y) * (stride + 1)];
    const int filter = row[0];
    std::uint8_t* px = row + 1;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(channels) ? px[i - channels] : 0, b = prior[i],
                c = i >= static_cast<std::size_t>(channels) ? prior[i - channels] : 0;
      int add = 0;
      if (filter == 1) add = a;
      else if (filter == 2) add = b;
      else if (filter == 3) add = (a + b) / 2;
      else if (filter == 4) {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      } else if (filter != 0) {
        return image;
      }
      px[i] = static_cast<std::uint8_t>(px[i] + add);
    }
    std::memcpy(prior.data(), px, stride);
  }
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* px = &raw[static_cast<std::size_t>(y) * (stride + 1) + 1];
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* s = px + static_cast<std::size_t>(x) * channels;
      std::uint8_t rgb[3] = {s[0], s[0], s[0]};
      int alpha = 255;
      if (type == 2 || type == 6) rgb[1] = s[1], rgb[2] = s[2];
      if (type == 3) {
        if (static_cast<std::size_t>(s[0]) * 3 + 2 >= palette.size()) return Image{};
        for (int k = 0; k < 3; ++k) rgb[k] = std::uint8_t(palette[static_cast<std::size_t>(s[0]) * 3 + k]);
      }
      if (type == 4) alpha = s[1];
      if (type == 6) alpha = s[3];
      std::uint8_t* d = &image.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      for (int k = 0; k < 3; ++k) d[k] = static_cast<std::uint8_t>((rgb[k] * alpha + 255 * (255 - alpha)) / 255);
    }
  }
  return image;
}

}  // namespace interop
