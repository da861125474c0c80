#include "rodizora/dialogs/dialogresources.h"

#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "rodizora/dialogs/dialogids.h"

using namespace ui;

namespace {

constexpr ui::UINT kStatic = 0xFFFF;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;

const DialogItemResource kConnectItems[] = {
    {"BUTTON", kStatic, "Server", BS_GROUPBOX, 10, 15, 165, 60},
    {"STATIC", kStatic, "Address", SS_LEFT, 20, 30, 27, 8},
    {"EDIT", IDC_ADDRESS, "", kEdit, 55, 30, 109, 12},
    {"STATIC", kStatic, "Port", SS_LEFT, 20, 52, 13, 8},
    {"EDIT", IDC_PORT, "", kEdit, 55, 50, 40, 12},
    {"BUTTON", kStatic, "Target Directory", BS_GROUPBOX, 10, 85, 165, 40},
    {"EDIT", IDC_TARGET_DIRECTORY, "", kEdit, 20, 100, 109, 12},
    {"BUTTON", IDC_BROWSE, "&Browse", BS_PUSHBUTTON | WS_TABSTOP, 135, 100, 34, 12},
    {"BUTTON", ui::IDOK, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 140, 50, 14},
    {"BUTTON", ui::IDCANCEL, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 70, 140, 50, 14},
};

const DialogItemResource kDirectoryItems[] = {
    {"COMBOBOX", IDC_DRIVE, "", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 10, 10, 67, 90},
    {"LISTBOX", IDC_DIRECTORY_LIST, "",
     LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP, 10, 30, 175, 120},
    {"STATIC", IDC_DIRECTORY_PATH, "Static", SS_LEFT | SS_SUNKEN | SS_CENTERIMAGE, 10, 160, 175, 13},
    {"BUTTON", ui::IDOK, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 180, 50, 14},
    {"BUTTON", ui::IDCANCEL, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 135, 180, 50, 14},
};

const DialogItemResource kObjectInsertItems[] = {
    {"BUTTON", kStatic, "Object position (mm)", BS_GROUPBOX, 7, 7, 100, 52},
    {"STATIC", kStatic, "X:", SS_LEFT, 15, 22, 22, 8},
    {"EDIT", IDC_OBJECT_X, "", kEdit, 42, 20, 55, 12},
    {"STATIC", kStatic, "Y:", SS_LEFT, 15, 40, 22, 8},
    {"EDIT", IDC_OBJECT_Y, "", kEdit, 42, 38, 55, 12},
    {"BUTTON", kStatic, "Object size (mm)", BS_GROUPBOX, 114, 7, 100, 52},
    {"STATIC", kStatic, "Width:", SS_LEFT, 122, 22, 28, 8},
    {"EDIT", IDC_WIDTH, "", kEdit, 152, 20, 55, 12},
    {"STATIC", kStatic, "Height:", SS_LEFT, 122, 40, 28, 8},
    {"EDIT", IDC_HEIGHT, "", kEdit, 152, 38, 55, 12},
};

const DialogItemResource kTableInsertItems[] = {
    {"BUTTON", kStatic, "Module", BS_GROUPBOX, 7, 7, 100, 45},
    {"COMBOBOX", IDC_MODULE, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 15, 19, 84, 80},
    {"BUTTON", IDC_TABLE_ENABLE, "Enable", kCheck, 15, 37, 60, 10},
    {"BUTTON", kStatic, "Align", BS_GROUPBOX, 114, 7, 100, 45},
    {"BUTTON", IDC_ALIGN_LEFT, "Left", BS_AUTORADIOBUTTON | WS_GROUP | WS_DISABLED, 122, 20, 38, 10},
    {"BUTTON", IDC_ALIGN_RIGHT, "Right", BS_AUTORADIOBUTTON | WS_DISABLED, 165, 20, 40, 10},
    {"BUTTON", IDC_ALIGN_TOP, "Top", BS_AUTORADIOBUTTON | WS_DISABLED, 122, 35, 38, 10},
    {"BUTTON", IDC_ALIGN_BOTTOM, "Bottom", BS_AUTORADIOBUTTON, 165, 35, 40, 10},
    {"BUTTON", kStatic, "Size (mm)", BS_GROUPBOX | WS_GROUP, 7, 56, 207, 32},
    {"STATIC", kStatic, "Width:", SS_LEFT, 15, 70, 25, 8},
    {"EDIT", IDC_WIDTH, "", kEdit | WS_DISABLED, 42, 68, 55, 12},
    {"STATIC", kStatic, "Height:", SS_LEFT, 114, 70, 28, 8},
    {"EDIT", IDC_HEIGHT, "", kEdit, 145, 68, 55, 12},
};

const DialogItemResource kDataBaseItems[] = {
    {"STATIC", kStatic, "ID Field:", SS_LEFT, 15, 22, 40, 8},
    {"EDIT", IDC_ID_FIELD, "", kEdit, 60, 20, 110, 12},
    {"BUTTON", IDC_SHOW_ID, "Show ID Field", kCheck, 15, 44, 100, 10},
};

const DialogItemResource kUndoBufferItems[] = {
    {"STATIC", kStatic, "Undo/Redo buffer size (in steps):", SS_LEFT, 15, 22, 120, 8},
    {"EDIT", IDC_UNDO_SIZE, "", kEdit | ES_NUMBER, 140, 20, 40, 12},
};

const DialogItemResource kViewPropItems[] = {
    {"STATIC", kStatic, "Processing Background Color:", SS_LEFT, 15, 24, 110, 8},
    {"BUTTON", IDC_BACKGROUND, "", BS_PUSHBUTTON | BS_BITMAP | BS_CENTER | WS_TABSTOP, 130, 18, 40, 20},
    {"BUTTON", IDC_SEPARATE_PROPERTIES, "Separate Plotting and Processing Properties", kCheck, 15, 52, 190, 10},
};

const DialogResource kTemplates[] = {
    {IDD_CONNECT, "Open Connection", kDialogStyle, 0, 0, 184, 165, "MS Sans Serif", 8, kConnectItems},
    {IDD_DIRECTORY, "Select directory", kDialogStyle, 0, 0, 194, 200, "MS Sans Serif", 8, kDirectoryItems},
    {IDD_OBJECT_INSERT, "Special Paste", kPageStyle, 0, 0, 221, 94, "MS Sans Serif", 8, kObjectInsertItems},
    {IDD_TABLE_INSERT, "Parameters Table", kPageStyle, 0, 0, 221, 94, "MS Sans Serif", 8, kTableInsertItems},
    {IDD_DATA_BASE, "Structure Base", kPageStyle, 0, 0, 221, 94, "MS Sans Serif", 8, kDataBaseItems},
    {IDD_UNDO_BUFFER, "Undo/Redo", kPageStyle, 0, 0, 221, 94, "MS Sans Serif", 8, kUndoBufferItems},
    {IDD_VIEW_PROP, "View", kPageStyle, 0, 0, 221, 94, "MS Sans Serif", 8, kViewPropItems},
};

const StringResource kStrings[] = {
    {IDS_SDF_FILTER, "SDF Files (*.sdf)|*.sdf|All Files (*.*)|*.*||"},
    {IDS_SDF_LOADED, "The %u molecules from data base\n have been successfully loaded."},
    {IDS_SDF_LOAD_FAILED, "The error has appeared during data base loading."},
    {IDS_SETTINGS_CAPTION, "Document settings"},
};

}  // namespace

std::span<const DialogResource> DialogTemplates() { return kTemplates; }
std::span<const StringResource> DialogStrings() { return kStrings; }
