#pragma once
// Resource identifiers of the main program's dialogs: the connect and directory dialogs and the
// settings sheet with its pages.
#include "platform/ui/types.h"

// Dialog templates.
inline constexpr ui::UINT IDD_CONNECT = 303;       // "Open Connection"
inline constexpr ui::UINT IDD_DIRECTORY = 304;     // "Select directory"
inline constexpr ui::UINT IDD_OBJECT_INSERT = 305; // "Special Paste"
inline constexpr ui::UINT IDD_TABLE_INSERT = 306;  // "Parameters Table"
inline constexpr ui::UINT IDD_DATA_BASE = 307;     // "Structure Base"
inline constexpr ui::UINT IDD_UNDO_BUFFER = 308;   // "Undo/Redo"
inline constexpr ui::UINT IDD_VIEW_PROP = 309;     // "View"

// Items.
inline constexpr ui::UINT IDC_BROWSE = 1012;
inline constexpr ui::UINT IDC_ADDRESS = 1013;
inline constexpr ui::UINT IDC_PORT = 1014;
inline constexpr ui::UINT IDC_TARGET_DIRECTORY = 1015;
inline constexpr ui::UINT IDC_DIRECTORY_LIST = 1016;
inline constexpr ui::UINT IDC_DRIVE = 1017;
inline constexpr ui::UINT IDC_DIRECTORY_PATH = 1018;
inline constexpr ui::UINT IDC_OBJECT_X = 1019;
inline constexpr ui::UINT IDC_OBJECT_Y = 1020;
inline constexpr ui::UINT IDC_WIDTH = 1021;
inline constexpr ui::UINT IDC_HEIGHT = 1022;
inline constexpr ui::UINT IDC_MODULE = 1023;
inline constexpr ui::UINT IDC_ALIGN_LEFT = 1024;
inline constexpr ui::UINT IDC_ALIGN_RIGHT = 1025;
inline constexpr ui::UINT IDC_ALIGN_TOP = 1026;
inline constexpr ui::UINT IDC_ALIGN_BOTTOM = 1027;
inline constexpr ui::UINT IDC_TABLE_ENABLE = 1028;
inline constexpr ui::UINT IDC_ID_FIELD = 1029;
inline constexpr ui::UINT IDC_SHOW_ID = 1030;
inline constexpr ui::UINT IDC_UNDO_SIZE = 1031;
inline constexpr ui::UINT IDC_BACKGROUND = 1032;
inline constexpr ui::UINT IDC_SEPARATE_PROPERTIES = 1033;

// Strings.
inline constexpr ui::UINT IDS_SDF_FILTER = 3106;        // the SD database's open-file filter
inline constexpr ui::UINT IDS_SDF_LOADED = 3107;        // "The %u molecules ... loaded."
inline constexpr ui::UINT IDS_SDF_LOAD_FAILED = 3108;
inline constexpr ui::UINT IDS_SETTINGS_CAPTION = 3109;  // "Document settings"

// Commands.
inline constexpr ui::UINT ID_LOAD_DATABASE = 40116;
inline constexpr ui::UINT ID_SETTINGS = 40123;
