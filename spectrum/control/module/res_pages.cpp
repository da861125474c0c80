// The module's resources of the property pages: their templates. The layouts share their blocks: the "&Enable" box top left, colours in a group on
// the left, the line width and the font on the right, the page's own choices below.
#include "platform/ui/styles.h"
#include "spectrum/control/module/resources.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/control/pages/schemedialog.h"

namespace nelvar {

namespace {

using ui::DialogItemResource;
constexpr ui::DWORD kPage = ui::WS_CHILD;
constexpr ui::DWORD kTab = ui::WS_TABSTOP;
constexpr ui::DWORD kCheck = ui::BS_AUTOCHECKBOX | kTab;
constexpr ui::DWORD kButton = ui::BS_PUSHBUTTON | kTab;
constexpr ui::DWORD kGroup = ui::BS_GROUPBOX;
constexpr ui::DWORD kFirstRadio = ui::BS_AUTORADIOBUTTON | ui::WS_GROUP | kTab;
constexpr ui::DWORD kRadio = ui::BS_AUTORADIOBUTTON;
constexpr ui::DWORD kWidths = ui::CBS_DROPDOWNLIST | ui::CBS_OWNERDRAWFIXED | ui::WS_VSCROLL | kTab;
constexpr ui::DWORD kList = ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | kTab;
constexpr ui::DWORD kDigits = ui::WS_BORDER | ui::WS_VSCROLL | ui::LBS_NOTIFY | ui::LBS_NOINTEGRALHEIGHT | kTab;
constexpr ui::DWORD kEdit = ui::WS_BORDER | ui::ES_AUTOHSCROLL | kTab;
constexpr ui::UINT kNone = 0xFFFF;

#define ENABLE_BOX {"BUTTON", IDC_ENABLE, "&Enable", kCheck, 7, 7, 60, 10}
#define WIDTH_GROUP(y)                                      \
  {"BUTTON", kNone, "Line Width", kGroup, 118, y, 105, 32}, \
  {"COMBOBOX", IDC_LINE_WIDTH, "", kWidths, 125, y + 12, 91, 90}
#define FONT_GROUP(y)                                              \
  {"BUTTON", kNone, "Font", kGroup, 118, y, 105, 44},              \
  {"STATIC", IDC_FONT_FACE, "", 0, 125, y + 12, 66, 10},           \
  {"STATIC", IDC_FONT_SIZE, "", 0, 125, y + 26, 40, 10},           \
  {"BUTTON", IDC_FONT, "...", kButton, 196, y + 24, 20, 14}
#define COLOR_ROW(y, label, id)                     \
  {"STATIC", kNone, label, 0, 14, y + 3, 40, 10},   \
  {"BUTTON", id, "", kButton, 58, y, 40, 16}
#define UNIT_GROUP(y)                                                   \
  {"BUTTON", kNone, "Units", kGroup, 7, y, 104, 50},                    \
  {"BUTTON", IDC_UNIT_FIRST, "", kFirstRadio, 14, y + 12, 80, 10},      \
  {"BUTTON", IDC_UNIT_FIRST + 1, "", kRadio, 14, y + 24, 80, 10},       \
  {"BUTTON", IDC_UNIT_FIRST + 2, "", kRadio, 14, y + 36, 80, 10}
#define ESCAPE_GROUP(x, y)                                                  \
  {"BUTTON", kNone, "Text Direction", kGroup, x, y, 104, 38},               \
  {"BUTTON", IDC_HORIZONTAL, "Horizontal", kFirstRadio, x + 7, y + 12, 80, 10}, \
  {"BUTTON", IDC_VERTICAL, "Vertical", kRadio, x + 7, y + 24, 80, 10}
#define DIGITS_ROW(x, y)                                    \
  {"STATIC", kNone, "Digits:", 0, x, y + 2, 30, 10},        \
  {"LISTBOX", IDC_DIGITS, "", kDigits, x + 34, y, 24, 12}

constexpr DialogItemResource kSpectrumItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 32},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    WIDTH_GROUP(22),
    {"BUTTON", kNone, "Drawing", kGroup, 7, 60, 104, 38},
    {"BUTTON", IDC_FASTEST, "Fastest", kFirstRadio, 14, 72, 80, 10},
    {"BUTTON", IDC_BEST, "Best", kRadio, 14, 84, 80, 10},
};

// The x axis' and the first peak labels': two colours, units, a width and a font.
constexpr DialogItemResource kScaleItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 52},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    COLOR_ROW(54, "Text:", IDC_TEXT_COLOR),
    UNIT_GROUP(80),
    WIDTH_GROUP(22),
    FONT_GROUP(60),
};

constexpr DialogItemResource kScaleYItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 52},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    COLOR_ROW(54, "Text:", IDC_TEXT_COLOR),
    WIDTH_GROUP(22),
    FONT_GROUP(60),
};

// The integrals', the border's: one colour and a width.
constexpr DialogItemResource kLineItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 32},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    WIDTH_GROUP(22),
};

constexpr DialogItemResource kIntegSumsItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 52},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    COLOR_ROW(54, "Text:", IDC_TEXT_COLOR),
    ESCAPE_GROUP(7, 80),
    WIDTH_GROUP(22),
    FONT_GROUP(60),
    DIGITS_ROW(125, 110),
};

constexpr DialogItemResource kMPeaksItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 32},
    COLOR_ROW(34, "Text:", IDC_TEXT_COLOR),
    UNIT_GROUP(60),
    FONT_GROUP(22),
    DIGITS_ROW(125, 72),
};

constexpr DialogItemResource kBaselineItems[] = {
    ENABLE_BOX,
    {"BUTTON", kNone, "Colors", kGroup, 7, 22, 104, 52},
    COLOR_ROW(34, "Line:", IDC_LINE_COLOR),
    COLOR_ROW(54, "Circle:", IDC_CIRC_COLOR),
    WIDTH_GROUP(22),
    {"STATIC", kNone, "Circle radius (mm):", 0, 118, 62, 70, 10},
    {"EDIT", IDC_RADIUS, "", kEdit, 190, 60, 33, 12},
};

constexpr DialogItemResource kTextItems[] = {
    {"BUTTON", kNone, "Colors", kGroup, 7, 7, 104, 32},
    COLOR_ROW(19, "Text:", IDC_TEXT_COLOR),
    ESCAPE_GROUP(7, 45),
    FONT_GROUP(7),
};

constexpr DialogItemResource kTitleItems[] = {
    ENABLE_BOX,
    {"STATIC", kNone, "Title:", 0, 7, 24, 30, 10},
    {"EDIT", IDC_TITLE_TEXT, "", kEdit, 40, 22, 183, 12},
    {"BUTTON", kNone, "Colors", kGroup, 7, 40, 104, 32},
    COLOR_ROW(52, "Text:", IDC_TEXT_COLOR),
    {"BUTTON", kNone, "Position (mm)", kGroup, 7, 78, 104, 46},
    {"STATIC", kNone, "X:", 0, 14, 92, 12, 10},
    {"EDIT", IDC_POS_X, "", kEdit, 30, 90, 50, 12},
    {"STATIC", kNone, "Y:", 0, 14, 108, 12, 10},
    {"EDIT", IDC_POS_Y, "", kEdit, 30, 106, 50, 12},
    FONT_GROUP(40),
};

constexpr DialogItemResource kMiscItems[] = {
    {"BUTTON", kNone, "Colors", kGroup, 7, 7, 104, 52},
    COLOR_ROW(19, "Background:", IDC_BACK_COLOR),
    COLOR_ROW(39, "Cursor:", IDC_CURSOR_COLOR),
    {"BUTTON", kNone, "Cursor", kGroup, 118, 7, 105, 52},
    {"BUTTON", IDC_CURSOR_STANDARD, "Standard", kFirstRadio, 125, 19, 80, 10},
    {"BUTTON", IDC_CURSOR_CROSS, "Cross", kRadio, 125, 31, 80, 10},
    {"BUTTON", IDC_CURSOR_RECTANGLE, "Rectangle", kRadio, 125, 43, 80, 10},
};

constexpr DialogItemResource kGeneralItems[] = {
    {"STATIC", kNone, "Property set:", 0, 7, 9, 50, 10},
    {"COMBOBOX", IDC_PROPERTY_SET, "", kList, 60, 7, 163, 80},
    {"BUTTON", kNone, "Schemes", kGroup, 7, 28, 216, 58},
    {"COMBOBOX", IDC_SCHEME, "", kList, 14, 42, 202, 100},
    {"BUTTON", IDC_SAVE_AS, "&Save As", kButton, 14, 62, 60, 14},
    {"BUTTON", IDC_DELETE, "&Delete", kButton, 80, 62, 60, 14},
    {"BUTTON", IDC_SET_DEFAULT, "S&et As Default", kButton, 146, 62, 70, 14},
};

// "Save Scheme As".
constexpr DialogItemResource kSaveSchemeItems[] = {
    {"STATIC", kNone, "Save this properties scheme as:", 0, 7, 7, 150, 10},
    {"EDIT", IDC_SCHEME_NAME, "", kEdit, 7, 20, 150, 12},
    {"BUTTON", ui::IDOK, "OK", ui::BS_DEFPUSHBUTTON | kTab, 165, 7, 50, 14},
    {"BUTTON", ui::IDCANCEL, "Cancel", kButton, 165, 24, 50, 14},
};

#undef ENABLE_BOX
#undef WIDTH_GROUP
#undef FONT_GROUP
#undef COLOR_ROW
#undef UNIT_GROUP
#undef ESCAPE_GROUP
#undef DIGITS_ROW

constexpr short kWidth = 230;
constexpr short kHeight = 130;
constexpr ui::DialogResource kDialogs[] = {
    {IDD_PAGE_GENERAL, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kGeneralItems},
    {IDD_PAGE_SPECTRUM, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kSpectrumItems},
    {IDD_PAGE_SCALE, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kScaleItems},
    {IDD_PAGE_SCALEY, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kScaleYItems},
    {IDD_PAGE_INTEGRAL, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kLineItems},
    {IDD_PAGE_INTEGSUMS, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kIntegSumsItems},
    {IDD_PAGE_TPEAKS, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kScaleItems},
    {IDD_PAGE_MPEAKS, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kMPeaksItems},
    {IDD_PAGE_BASELINE, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kBaselineItems},
    {IDD_PAGE_BORDER, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kLineItems},
    {IDD_PAGE_TEXT, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kTextItems},
    {IDD_PAGE_TITLE, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kTitleItems},
    {IDD_PAGE_MISC, nullptr, kPage, 0, 0, kWidth, kHeight, "MS Sans Serif", 8, kMiscItems},
    {IDD_SAVE_SCHEME, "Save Scheme As", ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::DS_MODALFRAME, 0, 0, 222, 45,
     "MS Sans Serif", 8, kSaveSchemeItems},
};

}  // namespace

const ui::ResourceSet& PageResources() {
  static const ui::ResourceSet part = [] {
    ui::ResourceSet set;
    set.dialogs = kDialogs;
    return set;
  }();
  return part;
}

}  // namespace nelvar
