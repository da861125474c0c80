#pragma once
// The pages of the settings dialog. Each loads its controls when it becomes active and stores them
// when the sheet is confirmed (OK or Apply); a page that holds edits not yet stored keeps them when
// the user comes back to it. Every edit and check box marks its page modified.
//
// CObjectInsert, CTableInsert and CDataBase write the profile's default section; CUndoBuffer and
// CViewProp change the application's settings in memory (CSaAppSettings). Sizes kept in tenths of
// a millimetre are shown in millimetres ("%.1f") and read back exactly from the decimal text; a
// field that holds no number keeps the stored value.
#include "platform/gdi/types.h"
#include "platform/ui/propsheet.h"
#include "rodizora/dialogs/appsettings.h"
#include "rodizora/dialogs/numedit.h"
#include "rodizora/dialogs/spectrumkinds.h"

class CSettingsPage : public ui::PropertyPage {
 public:
  using ui::PropertyPage::PropertyPage;

  bool OnSetActive() override;
  // Stores the page; a value that cannot be written is reported and keeps the sheet open.
  bool OnApply() override;
  // Any edit or check box: the page is modified, unless it is being loaded.
  void OnValueChanged(ui::UINT id);

 protected:
  virtual void Load() = 0;
  // False when a value could not be written.
  virtual bool Store() = 0;
  // Load without marking the page modified by its own changes to the controls.
  void Reload();

 private:
  bool m_loading = false;
};

// "Special Paste": where and how large a pasted structure object is.
class CObjectInsert : public CSettingsPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CObjectInsert();
  bool OnInitDialog() override;

 protected:
  void Load() override;
  bool Store() override;

 private:
  CNumEdit m_fields[4];  // X, Y, width, height
};

// "Parameters Table": whether and how large the parameters table of each spectrum kind is.
class CTableInsert : public CSettingsPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CTableInsert(ISpectrumKinds* kinds);
  bool OnInitDialog() override;
  // Selection change of the kind: the values of the new kind, edits of the old one dropped.
  void OnKindChange();

 protected:
  void Load() override;
  bool Store() override;

 private:
  plat::String16 SelectedKind() const;

  ISpectrumKinds* m_kinds;
  CNumEdit m_width, m_height;
};

// "Structure Base": the SD data field that identifies a molecule and whether it stays in the
// extracted record.
class CDataBase : public CSettingsPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CDataBase();

 protected:
  void Load() override;
  bool Store() override;
};

// "Undo/Redo": the undo buffer size in steps.
class CUndoBuffer : public CSettingsPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CUndoBuffer(CSaAppSettings& settings);

 protected:
  void Load() override;
  bool Store() override;

 private:
  CSaAppSettings& m_settings;
};

// "View": the processing background colour, picked in the colour dialog and shown on a swatch
// button, and the property-set mode.
class CViewProp : public CSettingsPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CViewProp(CSaAppSettings& settings);
  void OnBackgroundColor();

 protected:
  void Load() override;
  bool Store() override;

 private:
  void PaintSwatch();

  CSaAppSettings& m_settings;
  gdi::COLORREF m_color = 0xFFFFFF;
};
