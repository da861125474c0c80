#pragma once
// The resources of the explorer-style file dialogs: the strings of the file list's columns, the
// templates of the three dialog bars and the Up button's picture. They are constant tables that
// every module showing the dialogs puts into its own resource set (the dialogs look them up by
// id in the current module's set), joined with the module's own tables by JoinResourceTables.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/ui/resource.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"

namespace filedlg_res {

// Ids the dialogs use.
enum : ui::UINT {
  IDB_UPFOLDER = 500,
  IDD_LOOKIN_BAR = 225,
  IDD_OPEN_BAR = 226,
  IDD_SAVE_BAR = 230,
  IDC_UP_FOLDER = 4400,
  IDC_PATH_COMBO = 4401,
  IDC_SAVE_FORMAT = 4402,
  IDC_FILE_NAME = 4403,
  IDC_SAVE_TYPE = 4404,
  IDS_COL_NAME = 4700,
  IDS_COL_DATE = 4702,
  IDS_COL_SIZE = 4703,
  IDS_COL_TYPE = 4704,
  IDS_COL_FORMAT = 4705,
  ID_LOOKIN_BAR = 1092,
  ID_BOTTOM_BAR = 1093,
};

using ui::DialogItemResource;
using ui::DialogResource;
inline constexpr ui::DWORD kBarStyle = ui::WS_CHILD | ui::DS_CONTROL;
inline constexpr ui::DWORD kDropList = ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | ui::WS_TABSTOP;

inline constexpr DialogItemResource kLookInItems[] = {
    {"STATIC", static_cast<ui::UINT>(ui::IDC_STATIC), "Look in:", ui::SS_LEFT, 4, 6, 32, 8},
    {"COMBOBOX", IDC_PATH_COMBO, "", kDropList, 38, 4, 200, 120},
    {"BUTTON", IDC_UP_FOLDER, "", ui::BS_PUSHBUTTON | ui::BS_BITMAP | ui::WS_TABSTOP, 242, 3, 16, 14},
};
inline constexpr DialogItemResource kOpenItems[] = {
    {"BUTTON", static_cast<ui::UINT>(ui::IDOK), "&Open", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 250, 4, 50, 14},
    {"BUTTON", static_cast<ui::UINT>(ui::IDCANCEL), "&Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 304, 4, 50, 14},
};
inline constexpr DialogItemResource kSaveItems[] = {
    {"STATIC", static_cast<ui::UINT>(ui::IDC_STATIC), "File name:", ui::SS_LEFT, 4, 6, 46, 8},
    {"EDIT", IDC_FILE_NAME, "", ui::ES_AUTOHSCROLL | ui::WS_BORDER | ui::WS_TABSTOP, 52, 4, 190, 12},
    {"BUTTON", static_cast<ui::UINT>(ui::IDOK), "&Save", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 250, 3, 50, 14},
    {"STATIC", static_cast<ui::UINT>(ui::IDC_STATIC), "Save as type:", ui::SS_LEFT, 4, 22, 46, 8},
    {"COMBOBOX", IDC_SAVE_FORMAT, "", kDropList, 52, 20, 120, 100},
    {"COMBOBOX", IDC_SAVE_TYPE, "", kDropList, 176, 20, 66, 100},
    {"BUTTON", static_cast<ui::UINT>(ui::IDCANCEL), "&Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 250, 19, 50, 14},
};

inline constexpr std::array<DialogResource, 3> kDialogs{{
    {IDD_LOOKIN_BAR, nullptr, kBarStyle, 0, 0, 360, 21, "MS Sans Serif", 8, kLookInItems},
    {IDD_OPEN_BAR, nullptr, kBarStyle, 0, 0, 360, 22, "MS Sans Serif", 8, kOpenItems},
    {IDD_SAVE_BAR, nullptr, kBarStyle, 0, 0, 360, 37, "MS Sans Serif", 8, kSaveItems},
}};

inline constexpr std::array<ui::StringResource, 5> kStrings{{
    {IDS_COL_NAME, "Name"},
    {IDS_COL_DATE, "Date"},
    {IDS_COL_SIZE, "Size"},
    {IDS_COL_TYPE, "Type"},
    {IDS_COL_FORMAT, "Format"},
}};

// The Up button's picture: a 16 x 15 24-bit BMP, a black arrow pointing up on the button face.
inline constexpr int kUpWidth = 16, kUpHeight = 15;
inline constexpr std::size_t kUpStride = (kUpWidth * 3 + 3) & ~std::size_t(3);
inline constexpr std::size_t kUpBmpSize = 54 + kUpStride * kUpHeight;
constexpr std::array<std::uint8_t, kUpBmpSize> MakeUpFolderBmp() {
  std::array<std::uint8_t, kUpBmpSize> b{};
  auto put32 = [&b](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, kUpBmpSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, kUpWidth);
  put32(22, kUpHeight);
  b[26] = 1;
  b[28] = 24;
  put32(34, static_cast<std::uint32_t>(kUpStride * kUpHeight));
  for (int y = 0; y < kUpHeight; ++y)
    for (int x = 0; x < kUpWidth; ++x) {
      // Head: rows 2-7 widen by one pixel each side per row; shaft: columns 7-8 below it.
      const bool head = y >= 2 && y <= 7 && x >= 7 - (y - 2) && x <= 8 + (y - 2);
      const bool shaft = y > 7 && y <= 12 && (x == 7 || x == 8);
      const std::uint8_t v = head || shaft ? 0 : 0xC0;
      const std::size_t at = 54 + static_cast<std::size_t>(kUpHeight - 1 - y) * kUpStride + static_cast<std::size_t>(x) * 3;
      b[at] = b[at + 1] = b[at + 2] = v;
    }
  return b;
}
inline constexpr std::array<std::uint8_t, kUpBmpSize> kUpFolderBmp = MakeUpFolderBmp();
inline constexpr std::array<ui::BitmapResource, 1> kBitmaps{{{IDB_UPFOLDER, kUpFolderBmp}}};

}  // namespace filedlg_res

// The tables joined, in order, into one (a module's own entries and the file dialogs').
template <class T, std::size_t... N>
constexpr std::array<T, (N + ...)> JoinResourceTables(const std::array<T, N>&... tables) {
  std::array<T, (N + ...)> out{};
  std::size_t at = 0;
  ((std::copy(tables.begin(), tables.end(), out.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
  return out;
}
