// Device-independent bitmaps: BMP resources and files in, 24-bit DIBs out (for metafiles).
// Every size, count and offset of the input is checked before it is used.
#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/base/bytes.h"
#include "platform/gdi/internal.h"

namespace gdi {

namespace detail {

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

bool fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

struct DibHeader {
  std::uint32_t size = 0;
  std::int32_t width = 0, height = 0;
  std::uint16_t bpp = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  bool topDown = false;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
};

// Reads the header, the masks and the colour table; *consumed says how many bytes they took.
bool readHeader(std::span<const std::uint8_t> info, DibHeader* h, std::size_t* consumed, std::string* error) {
  Reader r(info);
  h->size = r.u32();
  if (!r.ok()) return fail(error, "bitmap header is truncated");
  bool core = false;
  if (h->size == 12) {
    core = true;
    h->width = r.u16();
    h->height = r.i16();
    if (r.u16() != 1) return fail(error, "bitmap has more than one plane");
    h->bpp = r.u16();
  } else if (h->size >= 40 && h->size <= 1024) {
    h->width = r.i32();
    h->height = r.i32();
    if (r.u16() != 1) return fail(error, "bitmap has more than one plane");
    h->bpp = r.u16();
    h->compression = r.u32();
    r.skip(12);  // image size, resolution
    h->colorsUsed = r.u32();
    r.skip(4);
    if (h->size >= 52) {
      for (auto& m : h->masks) m = r.u32();
    }
    r.seek(h->size);
    if (h->size == 40 && (h->compression == 3 || h->compression == 6)) {
      for (auto& m : h->masks) m = r.u32();
      if (h->compression == 6) r.skip(4);
    }
  } else {
    return fail(error, "unknown bitmap header size");
  }
  if (!r.ok()) return fail(error, "bitmap header is truncated");
  if (h->height < 0) {
    if (h->height == INT32_MIN) return fail(error, "bitmap height out of range");
    h->height = -h->height;
    h->topDown = true;
  }
  if (h->width <= 0 || h->height <= 0 || std::int64_t(h->width) * h->height > kMaxPixels)
    return fail(error, "bitmap size out of range");
  switch (h->bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail(error, "unsupported bits per pixel");
  }
  const bool rle = h->compression == 1 || h->compression == 2;
  if (h->compression > 3 && h->compression != 6) return fail(error, "unsupported bitmap compression");
  if ((h->compression == 1 && h->bpp != 8) || (h->compression == 2 && h->bpp != 4)) return fail(error, "bad run-length bitmap");
  if (rle && h->topDown) return fail(error, "run-length bitmap stored top-down");
  if ((h->compression == 3 || h->compression == 6) && h->bpp != 16 && h->bpp != 32) return fail(error, "bad bit fields");
  if (h->bpp <= 8) {
    const std::uint32_t full = 1u << h->bpp;
    const std::uint32_t n = h->colorsUsed == 0 || h->colorsUsed > full ? full : h->colorsUsed;
    const std::size_t entry = core ? 3 : 4;
    auto table = r.take(n * entry);
    if (!r.ok()) return fail(error, "bitmap colour table is truncated");
    h->palette.resize(full, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint8_t* e = table.data() + i * entry;
      h->palette[i] = std::uint32_t(e[2]) << 16 | std::uint32_t(e[1]) << 8 | e[0];
    }
  }
  *consumed = r.pos();
  return true;
}

std::uint32_t channel(std::uint32_t v, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!(mask >> shift & 1)) ++shift;
  const std::uint32_t max = mask >> shift;
  return ((v & mask) >> shift) * 255 / max;
}

// Writes row y (top-down) of a bottom-up or top-down image.
std::uint32_t* rowOf(QImage& img, const DibHeader& h, int fileRow) {
  const int y = h.topDown ? fileRow : h.height - 1 - fileRow;
  return reinterpret_cast<std::uint32_t*>(img.scanLine(y));
}

bool decodeRle(const DibHeader& h, std::span<const std::uint8_t> bits, QImage& img, std::string* error) {
  Reader r(bits);
  int x = 0, row = 0;  // row counts from the bottom
  const bool four = h.compression == 2;
  auto put = [&](int index) {
    if (x < h.width && row < h.height) rowOf(img, h, row)[x] = 0xFF000000u | h.palette[static_cast<std::size_t>(index)];
    ++x;
  };
  while (r.ok() && row < h.height) {
    const int count = r.u8();
    const int value = r.u8();
    if (!r.ok()) break;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      x += r.u8();
      row += r.u8();
    } else {
      const int bytes = four ? (value + 1) / 2 : value;
      auto run = r.take(static_cast<std::size_t>(bytes));
      if (!r.ok()) break;
      for (int i = 0; i < value; ++i) put(four ? ((i & 1) ? run[i / 2] & 0xF : run[i / 2] >> 4) : run[i]);
      if (bytes & 1) r.skip(1);
    }
  }
  if (!r.ok()) return fail(error, "run-length bitmap data is truncated");
  return true;
}

}  // namespace

std::unique_ptr<RasterSurface> DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                                         std::string* error) {
  DibHeader h;
  std::size_t consumed = 0;
  if (!readHeader(info, &h, &consumed, error)) return nullptr;
  // Uncompressed pixels are allocated only when every row is there.
  const bool rle = h.compression == 1 || h.compression == 2;
  const std::int64_t stride = (std::int64_t(h.width) * h.bpp + 31) / 32 * 4;
  if (!rle && stride * h.height > static_cast<std::int64_t>(bits.size())) {
    fail(error, "bitmap bits are truncated");
    return nullptr;
  }
  auto surface = std::make_unique<RasterSurface>(h.width, h.height, RGB(0, 0, 0));
  QImage& img = surface->impl()->image;
  if (img.isNull()) {
    fail(error, "no memory for the bitmap");
    return nullptr;
  }
  if (rle) {
    if (!decodeRle(h, bits, img, error)) return nullptr;
    return surface;
  }
  std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  const bool fields = h.compression == 3 || h.compression == 6;
  if (!fields && h.bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  for (int fileRow = 0; fileRow < h.height; ++fileRow) {
    const std::uint8_t* src = bits.data() + stride * fileRow;
    std::uint32_t* dst = rowOf(img, h, fileRow);
    for (int x = 0; x < h.width; ++x) {
      std::uint32_t rgb = 0;
      switch (h.bpp) {
        case 1: rgb = h.palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
        case 4: rgb = h.palette[(x & 1) ? src[x / 2] & 0xF : src[x / 2] >> 4]; break;
        case 8: rgb = h.palette[src[x]]; break;
        case 16: {
          const std::uint32_t v = plat::loadLe16(src + 2 * x);
          rgb = channel(v, masks[0]) << 16 | channel(v, masks[1]) << 8 | channel(v, masks[2]);
          break;
        }
        case 24: rgb = std::uint32_t(src[3 * x + 2]) << 16 | std::uint32_t(src[3 * x + 1]) << 8 | src[3 * x]; break;
        case 32: {
          const std::uint32_t v = plat::loadLe32(src + 4 * x);
          rgb = fields ? channel(v, masks[0]) << 16 | channel(v, masks[1]) << 8 | channel(v, masks[2]) : v & 0xFFFFFF;
          break;
        }
      }
      dst[x] = 0xFF000000u | rgb;
    }
  }
  return surface;
}

Dib EncodeDib(const RasterSurface& surface, const Rect& part) {
  Rect r;
  r.IntersectRect(part, Rect(0, 0, surface.Width(), surface.Height()));
  const int w = r.Width(), h = r.Height();
  const std::uint32_t stride = static_cast<std::uint32_t>((w * 3 + 3) / 4 * 4);
  Dib dib;
  dib.width = w;
  dib.height = h;
  Writer info;
  info.u32(40);
  info.i32(w);
  info.i32(h);
  info.u16(1);
  info.u16(24);
  info.u32(0);
  info.u32(stride * static_cast<std::uint32_t>(h));
  const std::int32_t ppm = static_cast<std::int32_t>(surface.Caps().logPixelsX * 10000 / 254);
  info.i32(ppm);
  info.i32(ppm);
  info.u32(0);
  info.u32(0);
  dib.info = std::move(info.data());
  dib.bits.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), 0);
  const QImage& img = surface.impl()->image;
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(img.constScanLine(r.top + y)) + r.left;
    std::uint8_t* dst = dib.bits.data() + static_cast<std::size_t>(stride) * static_cast<std::size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = static_cast<std::uint8_t>(src[x]);
      dst[3 * x + 1] = static_cast<std::uint8_t>(src[x] >> 8);
      dst[3 * x + 2] = static_cast<std::uint8_t>(src[x] >> 16);
    }
  }
  return dib;
}

}  // namespace detail

bool Bitmap::LoadBmp(std::span<const std::uint8_t> data, std::string* error) {
  std::span<const std::uint8_t> info = data, bits;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    if (data.size() < 14 + 4) {
      if (error) *error = "bitmap file is truncated";
      return false;
    }
    const std::uint32_t offBits = plat::loadLe32(data.data() + 10);
    if (offBits < 14 || offBits > data.size()) {
      if (error) *error = "bitmap file's bits offset is out of range";
      return false;
    }
    info = data.subspan(14);
    bits = data.subspan(offBits);
  } else {
    detail::DibHeader h;
    std::size_t consumed = 0;
    if (!detail::readHeader(data, &h, &consumed, error)) return false;
    bits = data.subspan(consumed);
  }
  auto surface = detail::DecodeDib(info, bits, error);
  if (!surface) return false;
  surface_ = std::shared_ptr<RasterSurface>(std::move(surface));
  return true;
}

namespace {

std::vector<std::uint8_t> Bmp24(int width, int height, const std::function<COLORREF(int, int)>& color) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const int stride = (width * 3 + 3) & ~3;
  const auto imageSize = static_cast<std::uint32_t>(stride * height);
  std::vector<std::uint8_t> out(14 + 40 + imageSize, 0);
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&out[at], &v, 2); };
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = color(x, y);
      std::uint8_t* p = &out[54 + static_cast<std::size_t>((height - 1 - y) * stride + x * 3)];
      p[0] = static_cast<std::uint8_t>(GetBValue(c));
      p[1] = static_cast<std::uint8_t>(GetGValue(c));
      p[2] = static_cast<std::uint8_t>(GetRValue(c));
    }
  return out;
}

struct ArtColour {
  char letter;
  COLORREF colour;
};
constexpr ArtColour kArtPalette[] = {
    {'.', RGB(192, 192, 192)}, {'k', RGB(0, 0, 0)},     {'w', RGB(255, 255, 255)}, {'g', RGB(128, 128, 128)},
    {'r', RGB(128, 0, 0)},     {'R', RGB(255, 0, 0)},   {'G', RGB(0, 128, 0)},     {'L', RGB(0, 255, 0)},
    {'Y', RGB(128, 128, 0)},   {'y', RGB(255, 255, 0)}, {'b', RGB(0, 0, 128)},     {'B', RGB(0, 0, 255)},
    {'m', RGB(128, 0, 128)},   {'M', RGB(255, 0, 255)}, {'c', RGB(0, 128, 128)},   {'C', RGB(0, 255, 255)},
};

}  // namespace

std::vector<std::uint8_t> MakeBmp(int width, int height, COLORREF (*color)(int x, int y)) {
  return Bmp24(width, height, color);
}

std::vector<std::uint8_t> MakePixelArtBmp(int width, int height, std::span<const char* const> rows) {
  if (width <= 0 || height <= 0 || rows.empty() || rows.size() % static_cast<std::size_t>(height) != 0) return {};
  const int pictures = static_cast<int>(rows.size() / static_cast<std::size_t>(height));
  std::vector<COLORREF> pixels;
  pixels.reserve(rows.size() * static_cast<std::size_t>(width));
  for (const char* row : rows) {
    if (!row || std::strlen(row) != static_cast<std::size_t>(width)) return {};
    for (int x = 0; x < width; ++x) {
      const auto* entry = std::find_if(std::begin(kArtPalette), std::end(kArtPalette),
                                       [c = row[x]](const ArtColour& e) { return e.letter == c; });
      if (entry == std::end(kArtPalette)) return {};
      pixels.push_back(entry->colour);
    }
  }
  // Picture p's row y is rows[p * height + y].
  return Bmp24(width * pictures, height, [&](int x, int y) {
    const int picture = x / width;
    return pixels[static_cast<std::size_t>((picture * height + y) * width + x % width)];
  });
}

}  // namespace gdi
