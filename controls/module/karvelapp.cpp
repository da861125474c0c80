#include "controls/module/karvelapp.h"

#include "controls/pages/pagedialogs.h"

#include <array>
#include <vector>

#include "controls/module/karvel_ids.h"

namespace karvel {

namespace {

constexpr ui::StringResource kStrings[] = {
    {IDS_KNOB, kKnobTypeName},
    {IDS_KNOB_PPG, "Knob Property Page"},
    {IDS_SOFTBUTTON, kSoftButtonTypeName},
    {IDS_SOFTBUTTON_PPG, "Soft Button Property Page"},
    {IDS_TABLE, kTableTypeName},
    {IDS_TABLE_PPG1, "Size && Position"},
    {IDS_STRUCTURE, kStructureTypeName},
    {IDS_STRUCTURE_PPG, "Structure Property Page"},
    {IDS_PLOT, "Orvane Plot Control"},
    {IDS_SCROLL, kScrollTypeName},
    {IDS_TABLE_PPG2, "Cells"},
    {IDS_GENERAL, "General"},
    {IDS_STRUCT_PPG, "Structure"},
    {IDS_FIELDS_PPG, "Fields"},
    {100, "General"},
    {101, "General"},
    {102, "General"},
    {103, "General"},
};

// A 16 x 15 toolbox picture, 24 bits per pixel: a grey field with a coloured mark of the
// control's kind (a square of its own colour in the middle).
std::vector<std::uint8_t> ToolboxBitmap(std::uint32_t mark) {
  constexpr int kWidth = 16, kHeight = 15, kStride = (kWidth * 3 + 3) & ~3;
  constexpr int kBits = 14 + 40;
  std::vector<std::uint8_t> bmp(kBits + kStride * kHeight, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bmp.size()));
  put32(10, kBits);
  put32(14, 40);
  put32(18, kWidth);
  put32(22, kHeight);
  bmp[26] = 1;
  bmp[28] = 24;
  put32(34, kStride * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool inMark = x >= 4 && x < 12 && y >= 4 && y < 11;
      const std::uint32_t c = inMark ? mark : 0xC0C0C0;  // 0x00BBGGRR
      std::uint8_t* p = &bmp[kBits + y * kStride + x * 3];
      p[0] = static_cast<std::uint8_t>(c >> 16);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c);
    }
  return bmp;
}

struct Resources {
  Resources() {
    const std::pair<ui::UINT, std::uint32_t> marks[] = {{IDB_KNOB, 0x008000},    {IDB_SOFTBUTTON, 0xFF0000},
                                                        {IDB_TABLE, 0x000000},   {IDB_STRUCTURE, 0x0000C0},
                                                        {IDB_UNUSED, 0x808080}, {IDB_SCROLL, 0xFFFFFF}};
    for (const auto& [id, mark] : marks) pictures.push_back(ToolboxBitmap(mark));
    for (std::size_t i = 0; i < std::size(marks); ++i) bitmaps.push_back({marks[i].first, pictures[i]});
    set.moduleName = "karvel";
    set.strings = kStrings;
    set.bitmaps = bitmaps;
    set.dialogs = KarvelPageDialogs();
  }
  std::vector<std::vector<std::uint8_t>> pictures;
  std::vector<ui::BitmapResource> bitmaps;
  ui::ResourceSet set;
};

}  // namespace

const ui::ResourceSet& KarvelResources() {
  static const Resources resources;
  return resources.set;
}

COrvCtlApp::COrvCtlApp() { m_moduleState.resources = &KarvelResources(); }

const char16_t* COrvCtlApp::GetRegistryKey() const { return u"Orvane\\KEDRUS Lite\\2.0"; }

bool COrvCtlApp::InitInstance() {
  ui::ModuleStateScope scope(&m_moduleState);
  return Startup();
}

void COrvCtlApp::ExitInstance() {
  ui::ModuleStateScope scope(&m_moduleState);
  Cleanup();
}

COrvCtlApp& KarvelApp() {
  static COrvCtlApp app;
  return app;
}

}  // namespace karvel
