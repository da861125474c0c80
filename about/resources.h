#pragma once
// The about library's resources: the about dialog's template, the start logo and the about
// box's picture. Every entry point of the library shows them through the library's module state.
#include "platform/ui/resource.h"

namespace about {

using ui::UINT;

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDB_LOGO = 2000;     // the start logo
constexpr UINT IDB_PICTURE = 2001;  // the picture at the top of the about box

// Items of the about dialog.
constexpr UINT IDC_BODY = 1000;         // the caller's text
constexpr UINT IDC_PICTURE = 1001;      // bitmap 2001
constexpr UINT IDC_MODULE_INFO = 1002;  // "&Module Info..."
constexpr UINT IDC_CREDITS = 1003;      // "&Credits...": has no handler
constexpr UINT IDC_USER = 1004;         // user and company
constexpr UINT IDC_RULE = 1005;         // a sunken horizontal rule
constexpr UINT IDC_NOTICE = 1006;       // the legal notice
constexpr UINT IDC_USER_LABEL = 1007;   // the line above the user block

// The dialog template 100 (also for tests that pair it with other pictures).
const ui::DialogResource& AboutDialogTemplate();
// The library's whole set, and its module state (the one its entry points switch to).
const ui::ResourceSet& AboutResources();
ui::ModuleState* AboutModuleState();

}  // namespace about
