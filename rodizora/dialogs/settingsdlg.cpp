#include "rodizora/dialogs/settingsdlg.h"

#include "rodizora/dialogs/dialogids.h"

CSettingsDlg::CSettingsDlg(CSaAppSettings& settings, ISpectrumKinds* kinds)
    : ui::PropertySheet(IDS_SETTINGS_CAPTION), m_tableInsert(kinds), m_undoBuffer(settings), m_viewProp(settings) {
  AddPage(&m_objectInsert);
  AddPage(&m_tableInsert);
  AddPage(&m_dataBase);
  AddPage(&m_undoBuffer);
  AddPage(&m_viewProp);
}

CSettingsDlg::~CSettingsDlg() {
  while (GetPageCount() > 0) RemovePage(GetPageCount() - 1);
}
