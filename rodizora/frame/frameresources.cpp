// The resources of the frames and bars. The toolbar picture is drawn here as text, one character
// per pixel, and turned into a 4-bit BMP resource at compile time.
#include "rodizora/frame/frameresources.h"

#include <array>
#include <cstdint>

#include "rodizora/frame/standardbar.h"

namespace rodizora_frame {

namespace {

constexpr ui::StringResource kStrings[] = {
    {4000, "500%"}, {4001, "200%"}, {4002, "150%"}, {4003, "100%"}, {4004, "75%"},
    {4005, "50%"},  {4006, "25%"},  {4007, "10%"},  {4008, "Page Width"},
};

// New, Open, Save, Cut, Copy, Paste, Print, About, context help; 0 is a separator (the third
// separator in a row becomes the zoom combo).
constexpr ui::UINT kStandardButtons[] = {57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 0, 0, 57607, 57664, 57669};
constexpr ui::ToolbarResource kToolbars[] = {{CStandardBar::kBarId, 16, 15, kStandardButtons}};

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;
constexpr int kImages = 9;

// '.' is the strip's background (left out when a button is drawn).
constexpr const char* kArt[kImages][kImageHeight] = {
    {"................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....", "...kwwwwwkkkk...",
     "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
     "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"},
    {"................", "...........kkk..", "..........k...k.", "..............k.", ".kkk.........k..",
     "kyyykkkkkkk.....", "kywywywywyk.....", "kwywykkkkkkkkk..", "kywykYYYYYYYYYk.", "kwykYYYYYYYYYk..",
     "kykYYYYYYYYYk...", "kkYYYYYYYYYk....", "kkkkkkkkkkk.....", "................", "................"},
    {"................", ".kkkkkkkkkkkkk..", ".kYkwwwwwwwkgk..", ".kYkwwwwwwwkkk..", ".kYkwwwwwwwkYk..",
     ".kYkwwwwwwwkYk..", ".kYYkkkkkkkYYk..", ".kYYYYYYYYYYYk..", ".kYYkkkkkkkYYk..", ".kYYkkkkwwkYYk..",
     ".kYYkkkkwwkYYk..", ".kYYkkkkwwkYYk..", "..kkkkkkkkkkkk..", "................", "................"},
    {"................", "....k.....k.....", "....k.....k.....", "....k.....k.....", "....kk...kk.....",
     ".....k...k......", ".....kk.kk......", "......kkk.......", ".......k........", "......bkb.......",
     "....bbb.bbb.....", "...b..b.b..b....", "...b..b.b..b....", "...b..b.b..b....", "....bb...bb....."},
    {"................", "kkkkkk..........", "kwwwwkk.........", "kwkkwkwk........", "kwwwwkkkkkk.....",
     "kwkkkkwwwwkk....", "kwwwkwkkwwkwk...", "kwkkkwwwwwkkkk..", "kwwwkwkkkkwwwk..", "kkkkkwwwwwwwwk..",
     ".....kwkkkkkwk..", ".....kwwwwwwwk..", ".....kkkkkkkkk..", "................", "................"},
    {"................", "....kkkk........", ".kkkkyykkkk.....", "kYYkyyyykYYk....", "kYkkkkkkkkYk....",
     "kYYYYYYYYYYk....", "kYYYYYkkkkkkk...", "kYYYYYkwwwwkwk..", "kYYYYYkwkkwkkkk.", "kYYYYYkwwwwwwwk.",
     "kYYYYYkwkkkkkwk.", "kYYYYYkwwwwwwwk.", ".kkkkkkwkkkkkwk.", "......kwwwwwwwk.", "......kkkkkkkkk."},
    {"................", "....kkkkkkkkk...", "...kwwwwwwwwk...", "...kwkkkkkwk....", "..kwwwwwwwwk....",
     ".kkkkkkkkkkkkk..", "kwwwwwwwwwwwkk..", "kwwwwwwwwyywkkk.", "kggggggggggggkk.", "kkkkkkkkkkkkkkk.",
     ".kwwwwwwwwwwwk..", ".kkkkkkkkkkkkk..", "................", "................", "................"},
    {"................", ".....kkkkkk.....", "....kbbbbbbk....", "...kbbkkkkbbk...", "...kbbk..kbbk...",
     ".........kbbk...", "........kbbk....", ".......kbbk.....", ".......kbbk.....", "........kk......",
     ".......kbbk.....", ".......kbbk.....", "........kk......", "................", "................"},
    {"k...............", "kk..............", "kwk.............", "kwwk.......bbb..", "kwwwk.....b...b.",
     "kwwwwk........b.", "kwwwwwk......b..", "kwwwwwwk....b...", "kwwwwkkkk...b...", "kwwkwwk.........",
     "kwk.kwwk....b...", "kk..kwwk........", "k....kwwk.......", ".....kwwk.......", "......kk........"},
};

// The palette, as BMP colour entries (blue, green, red, 0).
struct PaletteEntry {
  char key;
  std::uint8_t r, g, b;
};
constexpr PaletteEntry kPalette[16] = {
    {'.', 192, 192, 192}, {'k', 0, 0, 0},     {'w', 255, 255, 255}, {'g', 128, 128, 128},
    {'y', 255, 255, 0},   {'Y', 128, 128, 0}, {'b', 0, 0, 128},     {'B', 0, 0, 255},
    {'r', 128, 0, 0},     {'R', 255, 0, 0},   {'c', 0, 128, 128},   {'C', 0, 255, 255},
    {'m', 128, 0, 128},   {'M', 255, 0, 255}, {'G', 0, 128, 0},     {'L', 0, 255, 0},
};

constexpr int ColourIndex(char c) {
  for (int i = 0; i < 16; ++i)
    if (kPalette[i].key == c) return i;
  throw "a pixel of the toolbar picture has no colour";  // stops the build
}

constexpr int kStripWidth = kImageWidth * kImages;
constexpr int kStride = (kStripWidth * 4 + 31) / 32 * 4;
constexpr int kBmpSize = 40 + 16 * 4 + kStride * kImageHeight;

constexpr void Put32(std::array<std::uint8_t, kBmpSize>& out, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

constexpr std::array<std::uint8_t, kBmpSize> MakeStrip() {
  std::array<std::uint8_t, kBmpSize> out{};
  Put32(out, 0, 40);
  Put32(out, 4, kStripWidth);
  Put32(out, 8, kImageHeight);  // bottom-up
  out[12] = 1;                   // planes
  out[14] = 4;                   // bits per pixel
  Put32(out, 20, kStride * kImageHeight);
  Put32(out, 32, 16);  // colours used
  for (int i = 0; i < 16; ++i) {
    out[static_cast<std::size_t>(40 + 4 * i)] = kPalette[i].b;
    out[static_cast<std::size_t>(41 + 4 * i)] = kPalette[i].g;
    out[static_cast<std::size_t>(42 + 4 * i)] = kPalette[i].r;
  }
  const int bits = 40 + 64;
  for (int y = 0; y < kImageHeight; ++y) {
    const int row = bits + (kImageHeight - 1 - y) * kStride;
    for (int x = 0; x < kStripWidth; ++x) {
      const char* line = kArt[x / kImageWidth][y];
      int length = 0;
      while (line[length]) ++length;
      if (length != kImageWidth) throw "a row of the toolbar picture is not 16 pixels";
      const int c = ColourIndex(line[x % kImageWidth]);
      std::uint8_t& byte = out[static_cast<std::size_t>(row + x / 2)];
      byte = static_cast<std::uint8_t>(byte | (x % 2 ? c : c << 4));
    }
  }
  return out;
}

constexpr std::array<std::uint8_t, kBmpSize> kStripBmp = MakeStrip();
constexpr ui::BitmapResource kBitmaps[] = {{CStandardBar::kBarId, kStripBmp}};

}  // namespace

std::span<const ui::StringResource> FrameStrings() { return kStrings; }
std::span<const ui::ToolbarResource> FrameToolbars() { return kToolbars; }
std::span<const ui::BitmapResource> FrameBitmaps() { return kBitmaps; }

}  // namespace rodizora_frame
