#pragma once
// The main program's own resource and command ids (the class library's standard ids are in
// platform/ui/messages.h; the dialogs', the data server's and the frames' in their folders).
#include "platform/ui/types.h"

namespace saids {

using ui::UINT;

// Resources.
constexpr UINT IDR_MAINFRAME = 150;     // main frame: menu, accelerators, title
constexpr UINT IDR_SATYPE = 6;          // the document template: menu, accelerators, document strings
constexpr UINT IDR_CONTEXT_MENU = 10;   // the view's context menu (its first submenu)

// Strings.
constexpr UINT IDS_OLE_INIT_FAILED = 100;
constexpr UINT IDS_APP_TITLE = 57344;
constexpr UINT IDS_ALL_FILTER = 61442;
constexpr UINT IDS_PRINT_JOB_FAILED = 61702;
constexpr UINT IDS_CLIPBOARD_FAILED = 3100;
constexpr UINT IDS_NO_SPECTRUM_OBJECT = 3102;
constexpr UINT IDS_NO_PRINTER = 3105;
constexpr UINT IDS_REPLACE_EXISTING = 3110;
constexpr UINT IDS_PROCESSING_PARAMETERS = 3111;
constexpr UINT IDS_PLOTTING_PARAMETERS = 3112;
constexpr UINT IDS_PROCESSING_PLOTTING_PARAMETERS = 3113;
constexpr UINT IDS_INSERT_FAILED = 3114;
// A child window's tool tip: the string of its control id + this.
constexpr UINT kToolTipStringOffset = 3000;

// Commands.
constexpr UINT ID_CANCEL_EDIT_CNTR = 32768;  // Escape: the item active in place is deactivated
constexpr UINT ID_VIEW_FULL = 40100;
constexpr UINT ID_VIEW_PAGE_LAYOUT = 40101;
constexpr UINT ID_DIRECT_PRINT_1 = 40105;
constexpr UINT ID_DIRECT_PRINT_9 = 40113;
constexpr UINT ID_WINDOW_NEXT_CHILD = 40117;
constexpr UINT ID_WINDOW_PREV_CHILD = 40118;
constexpr UINT ID_EXPORT_WMF = 40119;
constexpr UINT ID_EXPORT_EMF = 40120;
constexpr UINT ID_HELP_CONTENTS = 40121;
constexpr UINT ID_FILE_CLOSE_ALL = 40122;
constexpr UINT ID_INSERT_SPECTRA = 40124;
constexpr UINT ID_EDIT_INI = 40126;
constexpr UINT ID_EDIT_PASTE_SPECIAL = 57639;
constexpr UINT ID_OLE_INSERT_NEW = 57856;

}  // namespace saids
