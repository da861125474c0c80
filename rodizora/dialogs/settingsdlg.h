#pragma once
// CSettingsDlg, the "Settings" command's property sheet ("Document settings"): the pages for a
// pasted structure object, the parameters tables, the structure database, the undo buffer and the
// view, in that order. Run it with DoModal; OK and Apply store the pages that were shown.
#include "platform/ui/propsheet.h"
#include "rodizora/dialogs/appsettings.h"
#include "rodizora/dialogs/settingspages.h"
#include "rodizora/dialogs/spectrumkinds.h"

class CSettingsDlg : public ui::PropertySheet {
 public:
  // settings: the application's settings that two pages change; kinds: where the table page finds
  // the spectrum kinds (null: none).
  CSettingsDlg(CSaAppSettings& settings, ISpectrumKinds* kinds);
  // The pages go before the sheet's own destruction reaches them.
  ~CSettingsDlg() override;

  CObjectInsert m_objectInsert;
  CTableInsert m_tableInsert;
  CDataBase m_dataBase;
  CUndoBuffer m_undoBuffer;
  CViewProp m_viewProp;
};
