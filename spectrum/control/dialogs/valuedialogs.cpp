#include "spectrum/control/dialogs/valuedialogs.h"

#include <algorithm>
#include <cctype>

#include "platform/gdi/dc.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "platform/ui/messages.h"
#include "spectrum/control/dialogs/dialogids.h"

using namespace nelvar;

// ---- Reference point ----

UI_BEGIN_MESSAGE_MAP(CRefPointDlg, ui::Dialog)
ui::map::Control(ui::EN_CHANGE, IDC_HERTZ, &CRefPointDlg::OnHertzChange),
ui::map::Control(ui::EN_CHANGE, IDC_PPM, &CRefPointDlg::OnPpmChange),
UI_END_MESSAGE_MAP()

CRefPointDlg::CRefPointDlg(float hertz, float ppm, ui::Wnd* parent)
    : CValueDialog(IDD_REFPOINT, parent), m_fHertz(hertz), m_fPpm(ppm) {}

bool CRefPointDlg::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  AttachNumberEdit(IDC_PPM);
  AttachNumberEdit(IDC_HERTZ);
  SetDlgItemText(IDC_HERTZ, ui::FormatNumber("%.1f", m_fHertz));
  SetDlgItemText(IDC_PPM, ui::FormatNumber("%.3f", m_fPpm));
  m_lastEdited = -1;  // filling the edits is no entry
  m_initialised = true;
  return true;
}

void CRefPointDlg::OnOK() {
  ui::Wnd* focus = ui::Wnd::GetFocus();
  ui::Wnd* hertz = GetDlgItem(IDC_HERTZ);
  ui::Wnd* ppm = GetDlgItem(IDC_PPM);
  bool readHertz = m_lastEdited == 0;
  if (focus && focus == hertz) readHertz = true;
  else if (focus && focus == ppm) readHertz = false;
  if (readHertz) {
    if (hertz) ReadFloatField(hertz->GetWindowText(), &m_fHertz);
    m_nUnit = 0;
  } else {
    if (ppm) ReadFloatField(ppm->GetWindowText(), &m_fPpm);
    m_nUnit = 1;
  }
  EndDialog(ui::IDOK);
}

// ---- Shift ----

CShiftDlg::CShiftDlg(std::uint32_t points, ui::Wnd* parent) : CValueDialog(IDD_SHIFT, parent), m_nPoints(points) {}

void CShiftDlg::DoDataExchange(ui::DataExchange* dx) {
  std::int32_t n = static_cast<std::int32_t>(std::min<std::uint32_t>(m_nPoints, INT32_MAX));
  ExchangeCount(dx, IDC_POINTS, n);
  if (dx->m_bSaveAndValidate) m_nPoints = static_cast<std::uint32_t>(n);
}

// ---- One float ----

CFloatValueDlg::CFloatValueDlg(ui::UINT templateId, float value, ui::Wnd* parent)
    : CValueDialog(templateId, parent), m_fValue(value) {}

bool CFloatValueDlg::OnInitDialog() {
  AttachNumberEdit(IDC_VALUE);
  return CValueDialog::OnInitDialog();
}

void CFloatValueDlg::DoDataExchange(ui::DataExchange* dx) { ExchangeFloat(dx, IDC_VALUE, m_fValue, "%.3f"); }

CIntegValueDlg::CIntegValueDlg(float value, ui::Wnd* parent) : CFloatValueDlg(IDD_INTEGVALUE, value, parent) {}
CPeakValueDlg::CPeakValueDlg(float value, ui::Wnd* parent) : CFloatValueDlg(IDD_PEAKVALUE, value, parent) {}
CZoomValueDlg::CZoomValueDlg(float value, ui::Wnd* parent) : CFloatValueDlg(IDD_ZOOMVALUE, value, parent) {}

// ---- Parameter value ----

CParamValueDlg::CParamValueDlg(const std::string& name, const std::string& value, ui::Wnd* parent)
    : CValueDialog(IDD_PARAMVALUE, parent), m_strValue(value), m_strName(name) {
  std::transform(m_strName.begin(), m_strName.end(), m_strName.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
}

bool CParamValueDlg::OnInitDialog() {
  // The template's caption holds one "%s" for the name; it is not a format the data chose.
  std::string caption = GetWindowText();
  if (const auto at = caption.find("%s"); at != std::string::npos) caption.replace(at, 2, m_strName);
  SetWindowText(caption);
  return CValueDialog::OnInitDialog();
}

void CParamValueDlg::DoDataExchange(ui::DataExchange* dx) { ui::DDX_Text(dx, IDC_VALUE, m_strValue); }

// ---- Calculate spectrum ----

CCalcSpcDlg::CCalcSpcDlg(std::vector<std::string> names, ui::Wnd* parent)
    : CValueDialog(IDD_CALCSPC, parent), m_names(std::move(names)) {}

bool CCalcSpcDlg::OnInitDialog() {
  AttachNumberEdit(IDC_FACTOR);
  for (ui::UINT id : {IDC_FIRST_SPECTRUM, IDC_SECOND_SPECTRUM})
    if (auto* combo = dynamic_cast<ui::ComboBox*>(GetDlgItem(id)))
      for (const std::string& name : m_names) combo->AddString(name);
  if (auto* operation = dynamic_cast<ui::ComboBox*>(GetDlgItem(IDC_OPERATION))) {
    operation->AddString("Add");
    operation->AddString("Subtract");
  }
  const bool result = CValueDialog::OnInitDialog();
  SetDlgItemText(IDC_FACTOR, "1.0");
  return result;
}

void CCalcSpcDlg::DoDataExchange(ui::DataExchange* dx) {
  ui::DDX_CBIndex(dx, IDC_FIRST_SPECTRUM, m_nFirst);
  ui::DDX_CBIndex(dx, IDC_SECOND_SPECTRUM, m_nSecond);
  ui::DDX_CBIndex(dx, IDC_OPERATION, m_nOperation);
  ExchangeFloat(dx, IDC_FACTOR, m_fFactor, "%.1f");
}

// ---- Spectrum resize ----

CSpcResizeDlg::CSpcResizeDlg(std::int32_t size, ui::Wnd* parent) : CValueDialog(IDD_SPCRESIZE, parent), m_nSize(size) {}

bool CSpcResizeDlg::OnInitDialog() {
  if (auto* method = dynamic_cast<ui::ComboBox*>(GetDlgItem(IDC_RESIZE_METHOD))) method->AddString("Cubic Splines");
  return CValueDialog::OnInitDialog();
}

void CSpcResizeDlg::DoDataExchange(ui::DataExchange* dx) {
  ExchangeCount(dx, IDC_POINTS, m_nSize);
  ui::DDX_CBIndex(dx, IDC_RESIZE_METHOD, m_nMethod);
}

// ---- Ion plot generation ----

UI_BEGIN_MESSAGE_MAP(CIonPlotGenDlg, ui::Dialog)
ui::map::Control(ui::BN_CLICKED, IDC_COLOR, &CIonPlotGenDlg::OnColor),
UI_END_MESSAGE_MAP()

CIonPlotGenDlg::CIonPlotGenDlg(float mass, float minus, float plus, gdi::COLORREF color, ui::Wnd* parent)
    : CValueDialog(IDD_IONPLOTGEN, parent), m_fMass(mass), m_fMinus(minus), m_fPlus(plus), m_color(color) {}

bool CIonPlotGenDlg::OnInitDialog() {
  const bool result = CValueDialog::OnInitDialog();
  DrawSwatch();
  return result;
}

void CIonPlotGenDlg::DoDataExchange(ui::DataExchange* dx) {
  ExchangeFloat(dx, IDC_MASS, m_fMass, "%g");
  ExchangeFloat(dx, IDC_RANGE_MINUS, m_fMinus, "%g");
  ExchangeFloat(dx, IDC_RANGE_PLUS, m_fPlus, "%g");
}

void CIonPlotGenDlg::OnColor() {
  ui::ColorDialog chooser(m_color, 0, this);
  if (chooser.DoModal() != ui::IDOK) return;
  m_color = chooser.GetColor();
  DrawSwatch();
}

void CIonPlotGenDlg::DrawSwatch() {
  auto* button = dynamic_cast<ui::Button*>(GetDlgItem(IDC_COLOR));
  if (!button) return;
  ui::Rect client;
  button->GetClientRect(&client);
  const int width = client.Width() - 8;
  const int height = client.Height() - 8;
  if (width <= 0 || height <= 0) return;
  gdi::Bitmap swatch;
  if (!swatch.CreateBitmap(width, height)) return;
  {
    gdi::DC dc = gdi::DC::CreateCompatibleDC(nullptr);
    dc.SelectObject(swatch);
    dc.SelectObject(gdi::Brush(m_color));
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0)));
    dc.Rectangle(0, 0, width, height);
  }
  button->SetBitmap(swatch);  // the previous image goes with the returned handle
}
