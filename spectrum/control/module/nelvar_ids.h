#pragma once
// Resource and window identifiers of the spectrum control's module (NELVAR). Ids that other
// deliverables use are in common/shared_ids.h.
#include "platform/ui/types.h"
#include "spectrum/control/module/command_ids.h"

namespace nelvar {

// Strings.
constexpr ui::UINT IDS_SPC = 1;  // the control's type name
// Captions of the property pages (their registered type names).
constexpr ui::UINT IDS_PAGE_SCALE = 3004;
constexpr ui::UINT IDS_PAGE_SPECTRUM = 3008;
constexpr ui::UINT IDS_PAGE_BORDER = 3009;
constexpr ui::UINT IDS_PAGE_MISC = 3010;
constexpr ui::UINT IDS_PAGE_INTEGRAL = 3014;
constexpr ui::UINT IDS_PAGE_TPEAKS = 3015;
constexpr ui::UINT IDS_PAGE_INTEGSUMS = 3040;
constexpr ui::UINT IDS_PAGE_GENERAL = 3053;
constexpr ui::UINT IDS_PAGE_BASELINE = 3058;
constexpr ui::UINT IDS_PAGE_TEXT = 3084;
constexpr ui::UINT IDS_PAGE_TITLE = 3090;
constexpr ui::UINT IDS_PAGE_MPEAKS = 3117;
constexpr ui::UINT IDS_PAGE_SCALEY = 3119;

// Bitmaps.
constexpr ui::UINT IDB_SPC = 1;         // toolbox bitmap
constexpr ui::UINT IDB_PICKMARK = 400;  // drawn above a picked point

// Menus: the in-place menu by what the control holds, and the context submenus.
constexpr ui::UINT IDR_SPCMENU = 30000;      // kinds other than MASS
constexpr ui::UINT IDR_CONTEXTMENU = 30001;  // context submenus
constexpr ui::UINT IDR_MASSMENU = 30002;     // MASS
constexpr ui::UINT IDR_EMPTYMENU = 30004;    // no data: Import only

// Accelerators of the control.
constexpr ui::UINT IDR_ACCELERATORS = 200;

// The nine toolbars of the control frames, in the order they are made.
constexpr ui::UINT IDW_CONSOLEBAR = 505;
constexpr ui::UINT IDW_SPECTRUMBAR = 506;
constexpr ui::UINT IDW_PHASEBAR = 507;
constexpr ui::UINT IDW_INTEGRALBAR = 508;
constexpr ui::UINT IDW_PICKBAR = 509;
constexpr ui::UINT IDW_TRANSFORMBAR = 510;
constexpr ui::UINT IDW_BASELINEBAR = 511;
constexpr ui::UINT IDW_MULTIDISPBAR = 512;
constexpr ui::UINT IDW_NAVIGATEBAR = 513;

}  // namespace nelvar
