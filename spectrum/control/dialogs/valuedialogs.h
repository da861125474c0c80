#pragma once
// The value dialogs of the spectrum control, one class a template. Each constructor takes the
// values the dialog opens with; after IDOK the members hold what was entered.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/types.h"
#include "spectrum/control/dialogs/valuedialog.h"

class CNumEdit;

// "Reference Point": a position in Hertz or in ppm. The template has no buttons: Return in an
// edit ends it, and the edit that holds the focus is the one read (1018 Hertz, flag 0; 1019 ppm,
// flag 1). Without the focus in either, the one last edited is read, else the ppm edit.
class CRefPointDlg : public CValueDialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CRefPointDlg(float hertz, float ppm, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnHertzChange() { m_lastEdited = 0; }
  void OnPpmChange() { m_lastEdited = 1; }

  float m_fHertz;
  float m_fPpm;
  std::int32_t m_nUnit = 1;  // 0 Hertz, 1 ppm: which was entered

 private:
  int m_lastEdited = -1;
  bool m_initialised = false;
};

// "Shift": a number of points.
class CShiftDlg : public CValueDialog {
 public:
  explicit CShiftDlg(std::uint32_t points, ui::Wnd* parent = nullptr);
  void DoDataExchange(ui::DataExchange* dx) override;
  std::uint32_t m_nPoints;
};

// One float in numeric edit 1036 shown with "%.3f": "Integral Value", "Peak Value", "Zoom Value".
class CFloatValueDlg : public CValueDialog {
 public:
  CFloatValueDlg(ui::UINT templateId, float value, ui::Wnd* parent);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  float m_fValue;
};
class CIntegValueDlg : public CFloatValueDlg {
 public:
  explicit CIntegValueDlg(float value, ui::Wnd* parent = nullptr);
};
class CPeakValueDlg : public CFloatValueDlg {
 public:
  explicit CPeakValueDlg(float value, ui::Wnd* parent = nullptr);
};
class CZoomValueDlg : public CFloatValueDlg {
 public:
  explicit CZoomValueDlg(float value, ui::Wnd* parent = nullptr);
};

// "Parameter %s value": a parameter's value as text, the caption naming it in upper case.
class CParamValueDlg : public CValueDialog {
 public:
  CParamValueDlg(const std::string& name, const std::string& value, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  std::string m_strValue;
  std::string m_strName;  // upper case
};

// "Calculate Spectrum": new = first + (factor x second), or first - (factor x second). Opens on
// the first two names and "Add" with factor 1.0; the indexes are the combos' selections (-1
// for none).
class CCalcSpcDlg : public CValueDialog {
 public:
  explicit CCalcSpcDlg(std::vector<std::string> names, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  std::vector<std::string> m_names;
  int m_nFirst = 0;
  int m_nSecond = 1;
  int m_nOperation = 0;  // 0 "Add", 1 "Subtract"
  float m_fFactor = 1.0f;
};

// "Spectrum Resize": the new point count and the method (only "Cubic Splines", index 0).
class CSpcResizeDlg : public CValueDialog {
 public:
  explicit CSpcResizeDlg(std::int32_t size, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  std::int32_t m_nSize;
  int m_nMethod = 0;
};

// "Ion Plot Generation": a mass with the range below and above it, and the trace's colour. The
// colour button shows a swatch of the colour; a click chooses another.
class CIonPlotGenDlg : public CValueDialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CIonPlotGenDlg(float mass, float minus, float plus, gdi::COLORREF color, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  void OnColor();
  // The swatch: the button's client area less 4 pixels a side, the colour outlined in black.
  void DrawSwatch();

  float m_fMass;
  float m_fMinus;
  float m_fPlus;
  gdi::COLORREF m_color;
};
