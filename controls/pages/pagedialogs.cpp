#include "controls/pages/pagedialogs.h"

#include "platform/ui/styles.h"

namespace karvel {

namespace {

using ui::DialogItemResource;
constexpr ui::DWORD kPage = ui::WS_CHILD;
constexpr ui::DWORD kTab = ui::WS_TABSTOP;
constexpr ui::DWORD kList = ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | kTab;

constexpr DialogItemResource kGeneralItems[] = {
    {"STATIC", 0xFFFF, "There are no properties to edit here.", 0, 10, 10, 230, 16},
};

constexpr DialogItemResource kSizeItems[] = {
    {"BUTTON", 0xFFFF, "Size", ui::BS_GROUPBOX, 7, 7, 196, 64},
    {"STATIC", 0xFFFF, "Columns", 0, 14, 20, 40, 10},
    {"EDIT", IDC_TABLE_COLUMNS, "", ui::WS_BORDER | kTab, 60, 18, 40, 12},
    {"STATIC", 0xFFFF, "Rows", 0, 110, 20, 40, 10},
    {"EDIT", IDC_TABLE_ROWS, "", ui::WS_BORDER | kTab, 150, 18, 40, 12},
    {"STATIC", 0xFFFF, "Width", 0, 14, 38, 40, 10},
    {"EDIT", IDC_TABLE_WIDTH, "", ui::WS_BORDER | kTab, 60, 36, 30, 12},
    {"STATIC", 0xFFFF, "cm", 0, 92, 38, 12, 10},
    {"BUTTON", IDC_TABLE_AUTO_WIDTH, "Auto", ui::BS_AUTOCHECKBOX | kTab, 60, 52, 40, 10},
    {"STATIC", 0xFFFF, "Height", 0, 110, 38, 40, 10},
    {"EDIT", IDC_TABLE_HEIGHT, "", ui::WS_BORDER | kTab, 150, 36, 30, 12},
    {"STATIC", 0xFFFF, "cm", 0, 182, 38, 12, 10},
    {"BUTTON", IDC_TABLE_AUTO_HEIGHT, "Auto", ui::BS_AUTOCHECKBOX | kTab, 150, 52, 40, 10},
    {"BUTTON", 0xFFFF, "Placement", ui::BS_GROUPBOX, 7, 76, 196, 44},
    {"STATIC", 0xFFFF, "Position", 0, 14, 90, 40, 10},
    {"COMBOBOX", IDC_TABLE_POSITION, "", kList, 60, 88, 80, 60},
    {"BUTTON", IDC_TABLE_HOLLOW, "Hollow", ui::BS_AUTOCHECKBOX | kTab, 150, 90, 46, 10},
    {"BUTTON", IDC_SET_DEFAULT, "S&et As Default", ui::BS_PUSHBUTTON | kTab, 7, 130, 70, 14},
};

constexpr DialogItemResource kCellsItems[] = {
    {"STATIC", 0xFFFF, "Column", 0, 7, 9, 30, 10},
    {"COMBOBOX", IDC_CELL_COLUMN, "", kList, 40, 7, 50, 80},
    {"STATIC", 0xFFFF, "Row", 0, 110, 9, 30, 10},
    {"COMBOBOX", IDC_CELL_ROW, "", kList, 140, 7, 50, 80},
    {"BUTTON", 0xFFFF, "Text", ui::BS_GROUPBOX, 7, 26, 196, 50},
    {"EDIT", IDC_CELL_TEXT, "", ui::WS_BORDER | ui::ES_MULTILINE | ui::ES_AUTOHSCROLL | kTab, 14, 38, 182, 32},
    {"BUTTON", 0xFFFF, "Font", ui::BS_GROUPBOX, 7, 80, 120, 40},
    {"STATIC", IDC_FONT_FACE, "", 0, 14, 92, 80, 10},
    {"STATIC", IDC_FONT_SIZE, "", 0, 14, 106, 40, 10},
    {"BUTTON", IDC_CELL_FONT, "...", ui::BS_PUSHBUTTON | kTab, 100, 100, 20, 14},
    {"BUTTON", 0xFFFF, "Color", ui::BS_GROUPBOX, 133, 80, 70, 40},
    {"BUTTON", IDC_CELL_COLOR, "Text:", ui::BS_PUSHBUTTON | kTab, 140, 94, 56, 18},
};

// The structure's and the fields' pages share their layout of colours, font and line width.
constexpr DialogItemResource kStructureItems[] = {
    {"BUTTON", 0xFFFF, "Colors", ui::BS_GROUPBOX, 7, 7, 90, 84},
    {"STATIC", 0xFFFF, "Text:", 0, 14, 22, 36, 10},
    {"BUTTON", IDC_TEXT_COLOR, "", ui::BS_PUSHBUTTON | kTab, 54, 19, 36, 16},
    {"STATIC", 0xFFFF, "Line:", 0, 14, 42, 36, 10},
    {"BUTTON", IDC_LINE_COLOR, "", ui::BS_PUSHBUTTON | kTab, 54, 39, 36, 16},
    {"STATIC", 0xFFFF, "Background:", 0, 14, 62, 40, 10},
    {"BUTTON", IDC_BACK_COLOR, "", ui::BS_PUSHBUTTON | kTab, 54, 59, 36, 16},
    {"BUTTON", IDC_HOLLOW, "&Hollow", ui::BS_AUTOCHECKBOX | kTab, 14, 78, 60, 10},
    {"BUTTON", 0xFFFF, "Font", ui::BS_GROUPBOX, 103, 7, 87, 46},
    {"STATIC", IDC_FONT_FACE, "", 0, 110, 20, 60, 10},
    {"STATIC", IDC_FONT_SIZE, "", 0, 110, 34, 40, 10},
    {"BUTTON", IDC_FONT, "...", ui::BS_PUSHBUTTON | kTab, 164, 32, 20, 14},
    {"BUTTON", 0xFFFF, "Line Width", ui::BS_GROUPBOX, 103, 58, 87, 33},
    {"COMBOBOX", IDC_LINE_WIDTH, "", kList, 110, 70, 74, 90},
    {"BUTTON", IDC_SET_DEFAULT, "S&et As Default", ui::BS_PUSHBUTTON | kTab, 7, 116, 70, 14},
};

constexpr DialogItemResource kFieldsItems[] = {
    {"BUTTON", 0xFFFF, "Colors", ui::BS_GROUPBOX, 7, 7, 90, 64},
    {"STATIC", 0xFFFF, "Text:", 0, 14, 22, 36, 10},
    {"BUTTON", IDC_TEXT_COLOR, "", ui::BS_PUSHBUTTON | kTab, 54, 19, 36, 16},
    {"STATIC", 0xFFFF, "Line:", 0, 14, 42, 36, 10},
    {"BUTTON", IDC_LINE_COLOR, "", ui::BS_PUSHBUTTON | kTab, 54, 39, 36, 16},
    {"BUTTON", 0xFFFF, "Font", ui::BS_GROUPBOX, 103, 7, 87, 46},
    {"STATIC", IDC_FONT_FACE, "", 0, 110, 20, 60, 10},
    {"STATIC", IDC_FONT_SIZE, "", 0, 110, 34, 40, 10},
    {"BUTTON", IDC_FONT, "...", ui::BS_PUSHBUTTON | kTab, 164, 32, 20, 14},
    {"BUTTON", 0xFFFF, "Line Width", ui::BS_GROUPBOX, 103, 58, 87, 33},
    {"COMBOBOX", IDC_LINE_WIDTH, "", kList, 110, 70, 74, 90},
    {"STATIC", 0xFFFF, "Columns", 0, 14, 80, 36, 10},
    {"LISTBOX", IDC_FIELDS_COLUMNS, "", ui::WS_BORDER | ui::WS_VSCROLL | kTab, 54, 78, 30, 12},
    {"BUTTON", IDC_SHOW_FORMULA, "&Show Formula", ui::BS_AUTOCHECKBOX | kTab, 14, 100, 80, 10},
    {"BUTTON", IDC_SHOW_WEIGHT, "&Show MolWeight", ui::BS_AUTOCHECKBOX | kTab, 14, 114, 80, 10},
};

constexpr ui::DialogResource kDialogs[] = {
    {IDD_PROPPAGE_GENERAL, nullptr, kPage, 0, 0, 250, 62, "MS Sans Serif", 8, kGeneralItems},
    {IDD_PROPPAGE_TABLE_SIZE, nullptr, kPage, 0, 0, 210, 154, "MS Sans Serif", 8, kSizeItems},
    {IDD_PROPPAGE_TABLE_CELLS, nullptr, kPage, 0, 0, 210, 154, "MS Sans Serif", 8, kCellsItems},
    {IDD_PROPPAGE_STRUCTURE, nullptr, kPage, 0, 0, 197, 139, "MS Sans Serif", 8, kStructureItems},
    {IDD_PROPPAGE_FIELDS, nullptr, kPage, 0, 0, 197, 139, "MS Sans Serif", 8, kFieldsItems},
};

}  // namespace

std::span<const ui::DialogResource> KarvelPageDialogs() { return kDialogs; }

}  // namespace karvel
