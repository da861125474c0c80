// The resources of the frames and bars. The toolbar's pictures are drawn here as text, one
// character a pixel.
#include "rodizora/frame/frameresources.h"

#include <cstdint>
#include <vector>

#include "platform/gdi/objects.h"
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

// The buttons' pictures, 16 x 15, in the order of the buttons (gdi::MakePixelArtBmp's letters).
constexpr const char* kPictures[] = {
    // New
    "................",
    "...kkkkkkk......",
    "...kwwwwwkk.....",
    "...kwwwwwkwk....",
    "...kwwwwwkkkk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
    // Open
    "................",
    "...........kkk..",
    "..........k...k.",
    "..............k.",
    ".kkk.........k..",
    "kyyykkkkkkk.....",
    "kywywywywyk.....",
    "kwywykkkkkkkkk..",
    "kywykYYYYYYYYYk.",
    "kwykYYYYYYYYYk..",
    "kykYYYYYYYYYk...",
    "kkYYYYYYYYYk....",
    "kkkkkkkkkkk.....",
    "................",
    "................",
    // Save
    "................",
    ".kkkkkkkkkkkkk..",
    ".kYkwwwwwwwkgk..",
    ".kYkwwwwwwwkkk..",
    ".kYkwwwwwwwkYk..",
    ".kYkwwwwwwwkYk..",
    ".kYYkkkkkkkYYk..",
    ".kYYYYYYYYYYYk..",
    ".kYYkkkkkkkYYk..",
    ".kYYkkkkwwkYYk..",
    ".kYYkkkkwwkYYk..",
    ".kYYkkkkwwkYYk..",
    "..kkkkkkkkkkkk..",
    "................",
    "................",
    // Cut
    "................",
    "....k.....k.....",
    "....k.....k.....",
    "....k.....k.....",
    "....kk...kk.....",
    ".....k...k......",
    ".....kk.kk......",
    "......kkk.......",
    ".......k........",
    "......bkb.......",
    "....bbb.bbb.....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "....bb...bb.....",
    // Copy
    "................",
    "kkkkkk..........",
    "kwwwwkk.........",
    "kwkkwkwk........",
    "kwwwwkkkkkk.....",
    "kwkkkkwwwwkk....",
    "kwwwkwkkwwkwk...",
    "kwkkkwwwwwkkkk..",
    "kwwwkwkkkkwwwk..",
    "kkkkkwwwwwwwwk..",
    ".....kwkkkkkwk..",
    ".....kwwwwwwwk..",
    ".....kkkkkkkkk..",
    "................",
    "................",
    // Paste
    "................",
    "....kkkk........",
    ".kkkkyykkkk.....",
    "kYYkyyyykYYk....",
    "kYkkkkkkkkYk....",
    "kYYYYYYYYYYk....",
    "kYYYYYkkkkkkk...",
    "kYYYYYkwwwwkwk..",
    "kYYYYYkwkkwkkkk.",
    "kYYYYYkwwwwwwwk.",
    "kYYYYYkwkkkkkwk.",
    "kYYYYYkwwwwwwwk.",
    ".kkkkkkwkkkkkwk.",
    "......kwwwwwwwk.",
    "......kkkkkkkkk.",
    // Print
    "................",
    "....kkkkkkkkk...",
    "...kwwwwwwwwk...",
    "...kwkkkkkwk....",
    "..kwwwwwwwwk....",
    ".kkkkkkkkkkkkk..",
    "kwwwwwwwwwwwkk..",
    "kwwwwwwwwyywkkk.",
    "kggggggggggggkk.",
    "kkkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwk..",
    ".kkkkkkkkkkkkk..",
    "................",
    "................",
    "................",
    // About
    "................",
    ".....kkkkkk.....",
    "....kbbbbbbk....",
    "...kbbkkkkbbk...",
    "...kbbk..kbbk...",
    ".........kbbk...",
    "........kbbk....",
    ".......kbbk.....",
    ".......kbbk.....",
    "........kk......",
    ".......kbbk.....",
    ".......kbbk.....",
    "........kk......",
    "................",
    "................",
    // Context help
    "k...............",
    "kk..............",
    "kwk.............",
    "kwwk.......bbb..",
    "kwwwk.....b...b.",
    "kwwwwk........b.",
    "kwwwwwk......b..",
    "kwwwwwwk....b...",
    "kwwwwkkkk...b...",
    "kwwkwwk.........",
    "kwk.kwwk....b...",
    "kk..kwwk........",
    "k....kwwk.......",
    ".....kwwk.......",
    "......kk........",
};

}  // namespace

std::span<const ui::StringResource> FrameStrings() { return kStrings; }
std::span<const ui::ToolbarResource> FrameToolbars() { return kToolbars; }
std::span<const ui::BitmapResource> FrameBitmaps() {
  static const std::vector<std::uint8_t> strip = gdi::MakePixelArtBmp(16, 15, kPictures);
  static const ui::BitmapResource bitmaps[] = {{CStandardBar::kBarId, strip}};
  return bitmaps;
}

}  // namespace rodizora_frame
