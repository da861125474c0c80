#include "rodizora/res/saresources.h"

#include <vector>

#include "foundation/filedlg/filedlgres.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/dialogresources.h"
#include "rodizora/frame/frameresources.h"
#include "rodizora/res/saids.h"
#include "rodizora/server/serverconnection.h"

namespace {

using namespace saids;
using ui::MF_END;
using ui::MF_POPUP;
using ui::MF_SEPARATOR;

constexpr ui::StringResource kStrings[] = {
    {IDS_OLE_INIT_FAILED, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    {IDR_MAINFRAME, "KEDRUS Rodizora"},
    // Window title, document name, new-file name, filter name, filter extension (none: every
    // file opens through this template), registry type id and name.
    {IDR_SATYPE, "\nPage\nKEDRUS Page\n\n\nKEDRUS_Rodizora.Document\nKEDRUS Rodizora Document"},
    {IDS_APP_TITLE, "KEDRUS Rodizora"},
    {IDS_ALL_FILTER, "All Files (*.*)"},
    {ui::ID_INDICATOR_CAPS, "CAP"},
    {ui::ID_INDICATOR_NUM, "NUM"},
    {ui::ID_INDICATOR_SCRL, "SCRL"},
    {ui::AFX_IDS_IDLEMESSAGE, "Ready"},
    {IDS_CLIPBOARD_FAILED, "Clipboard operation failed"},
    {IDS_NO_SPECTRUM_OBJECT,
     "The main object containing spectrum image\n is not found. It is likely spectrum file was not loaded \n or main "
     "object was removed by user."},
    {IDS_NO_PRINTER, "Printer is not installed\n"},
    {IDS_PRINT_JOB_FAILED, "Failed to start print job."},
    {IDS_REPLACE_EXISTING, "%1\nThis file or directory already exist.\nReplace existing file or directory?"},
    {IDS_PROCESSING_PARAMETERS, "PROCESSING PARAMETERS"},
    {IDS_PLOTTING_PARAMETERS, "PLOTTING PARAMETERS"},
    {IDS_PROCESSING_PLOTTING_PARAMETERS, "PROCESSING/PLOTTING PARAMETERS"},
    {IDS_INSERT_FAILED, "The object could not be created.\nIts program may not be installed or registered."},
    // Status line and tool tip of the commands on the bars.
    {ui::ID_FILE_NEW, "Create a new document\nNew"},
    {ui::ID_FILE_OPEN, "Open spectrum files or a workspace\nOpen"},
    {ui::ID_FILE_SAVE, "Save the document\nSave"},
    {ui::ID_EDIT_CUT, "Cut the selected object to the clipboard\nCut"},
    {ui::ID_EDIT_COPY, "Copy the selected object to the clipboard\nCopy"},
    {ui::ID_EDIT_PASTE, "Insert the clipboard's contents\nPaste"},
    {ui::ID_FILE_PRINT, "Print the page\nPrint"},
    {ui::ID_APP_ABOUT, "Program information and version\nAbout"},
    {ui::ID_CONTEXT_HELP, "Help on a part of the window\nHelp"},
};

// The menu without a document.
constexpr ui::MenuItemResource kMainMenu[] = {
    {MF_POPUP, 0, "&File"},
    {0, ui::ID_FILE_NEW, "&New\tCtrl+N"},
    {0, ui::ID_FILE_OPEN, "&Open\tCtrl+O"},
    {0, ui::ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {MF_SEPARATOR, 0, nullptr},
    {0, ID_SERVER_CONNECT, "&Connect to Server"},
    {0, ID_LOAD_DATABASE, "Load Structure &Database..."},
    {MF_SEPARATOR, 0, nullptr},
    {MF_END, ui::ID_APP_EXIT, "E&xit"},
    {MF_POPUP, 0, "&View"},
    {0, ui::ID_VIEW_TOOLBAR, "&Toolbar"},
    {0, ui::ID_VIEW_STATUS_BAR, "&Status Bar"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ID_SETTINGS, "&Settings"},
    {MF_END, ID_EDIT_INI, "&Edit Rodizora INI"},
    {MF_POPUP | MF_END, 0, "&Help"},
    {0, ID_HELP_CONTENTS, "&Contents\tF1"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_END, ui::ID_APP_ABOUT, "&About ..."},
};

// The menu of a document window.
constexpr ui::MenuItemResource kDocumentMenu[] = {
    {MF_POPUP, 0, "&File"},
    {0, ui::ID_FILE_NEW, "&New\tCtrl+N"},
    {0, ui::ID_FILE_OPEN, "&Open\tCtrl+O"},
    {0, ui::ID_FILE_CLOSE, "&Close"},
    {0, ID_FILE_CLOSE_ALL, "Clos&e All"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ui::ID_FILE_SAVE, "&Save\tCtrl+S"},
    {0, ui::ID_FILE_SAVE_AS, "Save &As..."},
    {MF_POPUP, 0, "E&xport"},
    {0, ID_EXPORT_WMF, "&Metafile"},
    {MF_END, ID_EXPORT_EMF, "&Enhanced Metafile"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ui::ID_FILE_PRINT, "&Print\tCtrl+P"},
    {0, ui::ID_FILE_PAGE_SETUP, "Page Set&up..."},
    {0, ui::ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {MF_POPUP, 0, "&Direct Print"},
    {0, ID_DIRECT_PRINT_1, "Printer &1\tCtrl+1"},
    {0, ID_DIRECT_PRINT_1 + 1, "Printer &2\tCtrl+2"},
    {0, ID_DIRECT_PRINT_1 + 2, "Printer &3\tCtrl+3"},
    {0, ID_DIRECT_PRINT_1 + 3, "Printer &4\tCtrl+4"},
    {0, ID_DIRECT_PRINT_1 + 4, "Printer &5\tCtrl+5"},
    {0, ID_DIRECT_PRINT_1 + 5, "Printer &6\tCtrl+6"},
    {0, ID_DIRECT_PRINT_1 + 6, "Printer &7\tCtrl+7"},
    {0, ID_DIRECT_PRINT_1 + 7, "Printer &8\tCtrl+8"},
    {MF_END, ID_DIRECT_PRINT_9, "Printer &9\tCtrl+9"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ID_SERVER_CONNECT, "&Connect to Server"},
    {0, ID_LOAD_DATABASE, "Load Structure &Database..."},
    {MF_SEPARATOR, 0, nullptr},
    {MF_END, ui::ID_APP_EXIT, "E&xit"},
    {MF_POPUP, 0, "&Edit"},
    {0, ui::ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {0, ui::ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ui::ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {0, ui::ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {0, ui::ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {0, ID_EDIT_PASTE_SPECIAL, "Pas&te Special\tShift+Ins"},
    {0, ui::ID_EDIT_CLEAR, "&Delete\tCtrl+Del"},
    {0, ui::ID_EDIT_CLEAR_ALL, "Clear A&ll"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ID_OLE_INSERT_NEW, "Insert &Object"},
    {MF_END, ID_INSERT_SPECTRA, "Insert &Spectrum(s)"},
    {MF_POPUP, 0, "&View"},
    {0, ID_VIEW_FULL, "Spectum"},
    {0, ID_VIEW_PAGE_LAYOUT, "Page Layout"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ui::ID_VIEW_TOOLBAR, "&Toolbar"},
    {0, ui::ID_VIEW_STATUS_BAR, "&Status Bar"},
    {MF_SEPARATOR, 0, nullptr},
    {0, ID_SETTINGS, "&Settings"},
    {MF_END, ID_EDIT_INI, "&Edit Rodizora INI"},
    // While an item is active in place this menu gives the container's groups: File, Edit and
    // View; none; Window and Help. The object's menus go between them.
    {MF_SEPARATOR, 0, nullptr},
    {MF_SEPARATOR, 0, nullptr},
    {MF_POPUP, 0, "&Window"},
    {0, ID_WINDOW_NEXT_CHILD, "&Next"},
    {0, ID_WINDOW_PREV_CHILD, "&Previous"},
    {0, ui::ID_WINDOW_CASCADE, "&Cascade"},
    {0, ui::ID_WINDOW_TILE_HORZ, "&Tile"},
    {MF_END, ui::ID_WINDOW_ARRANGE, "&Arrange Icons"},
    {MF_POPUP | MF_END, 0, "&Help"},
    {0, ID_HELP_CONTENTS, "&Contents\tF1"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_END, ui::ID_APP_ABOUT, "&About ..."},
};

constexpr ui::MenuItemResource kContextMenu[] = {
    {MF_POPUP | MF_END, 0, "Edit"},
    {0, ui::ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {0, ui::ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {0, ui::ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {0, ui::ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {0, ui::ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {0, ui::ID_EDIT_CLEAR, "&Delete\tCtrl+Del"},
    {MF_END, ui::ID_EDIT_SELECT_ALL, "Select &All\tCtrl+L"},
};

constexpr ui::MenuResource kMenus[] = {
    {IDR_MAINFRAME, kMainMenu},
    {IDR_SATYPE, kDocumentMenu},
    {IDR_CONTEXT_MENU, kContextMenu},
};

using ui::FCONTROL;
using ui::FSHIFT;
using ui::FVIRTKEY;
constexpr ui::BYTE kCtrl = FVIRTKEY | FCONTROL;

constexpr ui::ACCEL kMainAccel[] = {
    {kCtrl, 'N', ui::ID_FILE_NEW},
    {kCtrl, 'O', ui::ID_FILE_OPEN},
    {FVIRTKEY, ui::VK_F1, ID_HELP_CONTENTS},
    {kCtrl, ui::VK_RIGHT, ID_WINDOW_NEXT_CHILD},
    {FVIRTKEY, ui::VK_F6, ID_WINDOW_NEXT_CHILD},
    {kCtrl, ui::VK_LEFT, ID_WINDOW_PREV_CHILD},
    {FVIRTKEY | FSHIFT, ui::VK_F6, ID_WINDOW_PREV_CHILD},
};

constexpr ui::ACCEL kDocumentAccel[] = {
    {kCtrl, 'N', ui::ID_FILE_NEW},
    {kCtrl, 'O', ui::ID_FILE_OPEN},
    {kCtrl, 'S', ui::ID_FILE_SAVE},
    {kCtrl, 'P', ui::ID_FILE_PRINT},
    {kCtrl, 'Z', ui::ID_EDIT_UNDO},
    {kCtrl, 'Y', ui::ID_EDIT_REDO},
    {kCtrl, 'X', ui::ID_EDIT_CUT},
    {kCtrl, 'C', ui::ID_EDIT_COPY},
    {kCtrl, 'V', ui::ID_EDIT_PASTE},
    {FVIRTKEY | FSHIFT, ui::VK_INSERT, ID_EDIT_PASTE_SPECIAL},
    {kCtrl, ui::VK_DELETE, ui::ID_EDIT_CLEAR},
    {kCtrl, 'L', ui::ID_EDIT_SELECT_ALL},
    {FVIRTKEY, ui::VK_ESCAPE, ID_CANCEL_EDIT_CNTR},
    {kCtrl, '1', ID_DIRECT_PRINT_1},
    {kCtrl, '2', ID_DIRECT_PRINT_1 + 1},
    {kCtrl, '3', ID_DIRECT_PRINT_1 + 2},
    {kCtrl, '4', ID_DIRECT_PRINT_1 + 3},
    {kCtrl, '5', ID_DIRECT_PRINT_1 + 4},
    {kCtrl, '6', ID_DIRECT_PRINT_1 + 5},
    {kCtrl, '7', ID_DIRECT_PRINT_1 + 6},
    {kCtrl, '8', ID_DIRECT_PRINT_1 + 7},
    {kCtrl, '9', ID_DIRECT_PRINT_9},
    {FVIRTKEY, ui::VK_F1, ID_HELP_CONTENTS},
    {kCtrl, ui::VK_RIGHT, ID_WINDOW_NEXT_CHILD},
    {FVIRTKEY, ui::VK_F6, ID_WINDOW_NEXT_CHILD},
    {kCtrl, ui::VK_LEFT, ID_WINDOW_PREV_CHILD},
    {FVIRTKEY | FSHIFT, ui::VK_F6, ID_WINDOW_PREV_CHILD},
};

constexpr ui::AccelResource kAccelerators[] = {
    {IDR_MAINFRAME, kMainAccel},
    {IDR_SATYPE, kDocumentAccel},
};

template <class T>
std::vector<T> Joined(std::initializer_list<std::span<const T>> parts) {
  std::vector<T> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

const ui::ResourceSet& ProgramResources() {
  static const std::vector<ui::StringResource> strings =
      Joined<ui::StringResource>({kStrings, rodizora_frame::FrameStrings(), DialogStrings(), filedlg_res::kStrings});
  // The explorer-style file dialogs look their bars and pictures up in the program's set.
  static const std::vector<ui::DialogResource> dialogs =
      Joined<ui::DialogResource>({DialogTemplates(), filedlg_res::kDialogs});
  static const std::vector<ui::BitmapResource> bitmaps =
      Joined<ui::BitmapResource>({rodizora_frame::FrameBitmaps(), filedlg_res::kBitmaps});
  static const ui::ResourceSet set = [] {
    ui::ResourceSet s;
    s.moduleName = "rodizora";
    s.strings = strings;
    s.menus = kMenus;
    s.accelerators = kAccelerators;
    s.dialogs = dialogs;
    s.toolbars = rodizora_frame::FrameToolbars();
    s.bitmaps = bitmaps;
    return s;
  }();
  return set;
}
