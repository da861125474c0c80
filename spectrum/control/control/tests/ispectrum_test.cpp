// ISpectrumControl on a control given spectra in memory: module facts, parameter names,
// descriptions and values (computed and from the record's list), the shown data as arrays in
// and out with every argument the interface refuses, scans and the result.
#include <cmath>

#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "spectrum/control/dialogs/dialogids.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {
namespace {

using namespace plat::ole;

class ISpectrumTest : public ControlTest {
 protected:
  ISpectrumControl& Spc(CSpcControl& c) { return *c.SpectrumControl(); }
  // A text answer, or "E_FAIL".
  template <class Call>
  static std::string TextOf(Call call) {
    Bstr text = nullptr;
    if (call(&text) != S_OK) return "E_FAIL";
    const std::string result = plat::toUtf8(stringView(text));
    freeString(text);
    return result;
  }
  std::string Param(CSpcControl& c, const char* name) {
    return TextOf([&](Bstr* t) { return Spc(c).GetParam(plat::toUtf16(name).c_str(), t); });
  }
  void Set(CSpcControl& c, const char* name, const char* value) {
    EXPECT_EQ(Spc(c).SetParam(plat::toUtf16(name).c_str(), plat::toUtf16(value).c_str()), S_OK);
  }
  std::string Description(CSpcControl& c, const char* name) {
    return TextOf([&](Bstr* t) { return Spc(c).GetParamDescription(plat::toUtf16(name).c_str(), t); });
  }
  // An n x 2 array of the element type, filled by value(i, j), dimension 1 from lb.
  template <class T>
  static SafeArray* Array(VarType vt, std::uint32_t n, std::int32_t lb, T (*value)(std::int32_t, std::int32_t),
                          std::uint32_t second = 2) {
    const SafeArrayBound bounds[2] = {{n, lb}, {second, 0}};
    SafeArray* a = safeArrayCreate(vt, 2, bounds);
    for (std::int32_t i = lb; i < lb + static_cast<std::int32_t>(n); ++i)
      for (std::int32_t j = 0; j < static_cast<std::int32_t>(second); ++j) {
        const std::int32_t at[2] = {i, j};
        const T v = value(i, j);
        safeArrayPutElementAt(a, at, &v);
      }
    return a;
  }
};

TEST_F(ISpectrumTest, TheModuleDescribesItself) {
  CSpcControl& c = *NewControl();
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetModuleName(t); }), "NMR/Mass/IR/UV/CH processing module");
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetCreateDate(t); }), "26-Nov-2002");
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetMethods(t); }), "NMR;MASS;IR;UV;CH");
  EXPECT_NE(TextOf([&](Bstr* t) { return Spc(c).GetCopyright(t); }), "E_FAIL");
  std::int16_t hi = -1, lo = -1;
  EXPECT_EQ(Spc(c).GetVersion(&hi, &lo), S_OK);
  EXPECT_GE(hi, 0);
  EXPECT_GE(lo, 0);
  // A new record is an NMR one; a kind outside the table has no name.
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetCurMethod(t); }), "NMR");
  GiveSpectrum(c, 6, 16);
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetCurMethod(t); }), "NMR 2D");
  c.m_data.nKind = 7;
  Bstr untouched = reinterpret_cast<Bstr>(&c);
  EXPECT_EQ(Spc(c).GetCurMethod(&untouched), E_FAIL);
  EXPECT_EQ(untouched, reinterpret_cast<Bstr>(&c));
}

TEST_F(ISpectrumTest, ParameterNamesAndDescriptions) {
  CSpcControl& c = *NewControl();
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetParamNames(t); }), "");
  GiveSpectrum(c, 0, 64);
  EXPECT_EQ(TextOf([&](Bstr* t) { return Spc(c).GetParamNames(t); }), "SI;TD;SF;SW");
  EXPECT_EQ(Description(c, "lb"), "line broadening");
  EXPECT_EQ(Description(c, "OFFSET"), "left bound offset");
  EXPECT_EQ(Description(c, "pp"), "");  // in the table, without a description
  EXPECT_EQ(Description(c, "TITLE"), "");
  EXPECT_EQ(Description(c, "XUNITS"), "E_FAIL");
}

TEST_F(ISpectrumTest, ComputedParametersAndTheRecordsList) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 256);
  CSpcProcess& p = c.m_process;
  EXPECT_EQ(Param(c, "si"), "256");
  EXPECT_EQ(Param(c, "TD"), "256");
  EXPECT_EQ(Param(c, "SW"), "4000");
  EXPECT_EQ(Param(c, "SF"), "400.1300 MHz");
  // AQ = TD / (2 SW): 256 / 8000 s.
  EXPECT_EQ(Param(c, "AQ"), "0.03 sec");
  // Without a sweep width there is no acquisition time to compute: the list has none either.
  p.m_dSW = 0.0;
  EXPECT_EQ(Param(c, "AQ"), "E_FAIL");
  p.m_dSW = 4000.0;
  p.m_fPH0 = 12.345f;
  EXPECT_EQ(Param(c, "PH0"), "12.35 deg");
  EXPECT_EQ(Param(c, "SCAN"), "1");
  EXPECT_EQ(Param(c, "FILENAME"), "sample");
  EXPECT_EQ(Param(c, "XUNITS"), "PPM");
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.4f", p.PointToPpm(255));
  EXPECT_EQ(Param(c, "RBOUND"), expected);
  std::snprintf(expected, sizeof expected, "%.4f ppm", p.PointToPpm(0));
  EXPECT_EQ(Param(c, "OFFSET"), expected);
  // The list: a scalar's text, element n of NAMEn's array, a date in the C locale.
  c.m_data.params.Append("SOLVENT", std::string_view("CDCl3"));
  const float values[] = {1.5f, 2.5f, 3.5f};
  CSpcParam array;
  array.name = "NUC";
  array.value = CVariant(values, 3);
  c.m_data.params.Append(array);
  c.m_data.params.Append("DATE", std::string_view("12-05-2001"));
  EXPECT_EQ(Param(c, "solvent"), "CDCl3");
  EXPECT_EQ(Param(c, "NUC2"), "3.5");
  EXPECT_EQ(Param(c, "NUC7"), "E_FAIL");
  EXPECT_EQ(Param(c, "NUC"), "E_FAIL");
  EXPECT_EQ(Param(c, "DATE"), "12-May-2001");
  EXPECT_EQ(Param(c, "NOSUCH"), "E_FAIL");
  // The whole text, however long.
  const std::string longText(600, 'x');
  c.m_data.params.Append("COMMENT", std::string_view(longText));
  EXPECT_EQ(Param(c, "COMMENT"), longText);
  Bstr kept = reinterpret_cast<Bstr>(&c);
  EXPECT_EQ(Spc(c).GetParam(u"NOSUCH", &kept), E_FAIL);
  EXPECT_EQ(kept, reinterpret_cast<Bstr>(&c));
}

TEST_F(ISpectrumTest, SettingParametersByNameAndValue) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 256);
  CSpcProcess& p = c.m_process;
  // Not a power of two: the list's entry takes the value, the size stays.
  Set(c, "SI", "1000");
  EXPECT_EQ(p.m_nSI, 256);
  EXPECT_EQ(c.m_data.params.GetValue("SI").GetLong(), 1000);
  // 2K is 2048: the spectrum grows with zero points and the view shows all of it.
  p.m_nOP = 10;
  Set(c, "SI", "2K");
  EXPECT_EQ(p.m_nSI, 2048);
  EXPECT_EQ(c.m_data.spectrum().size(), 2048u);
  EXPECT_EQ(c.m_data.spectrum()[2047].re, 0.0f);
  EXPECT_EQ(p.m_nCur, 2048);
  EXPECT_EQ(p.m_nOP, 80);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 2047.0f);
  Set(c, "PH1", "45*2");
  EXPECT_EQ(p.m_fPH1, 90.0f);
  Set(c, "PP", "17");
  EXPECT_EQ(p.m_nPivot, 17);
  // Bounds in ppm: taken only inside the data and in order.
  const float left = c.m_drawList.m_fLeftBound, right = c.m_drawList.m_fRightBound;
  char text[32];
  std::snprintf(text, sizeof text, "%f", p.PointToPpm(100));
  Set(c, "LBOUND", text);
  EXPECT_NEAR(c.m_drawList.m_fLeftBound, 100.0f, 1.0f);
  std::snprintf(text, sizeof text, "%f", p.PointToPpm(3000));
  Set(c, "RBOUND", text);
  EXPECT_EQ(c.m_drawList.m_fRightBound, right);
  EXPECT_NE(c.m_drawList.m_fLeftBound, left);
  // A value that does not read as a number goes to the list as text.
  Set(c, "PH0", "fast");
  EXPECT_EQ(p.m_fPH0, 0.0f);
  EXPECT_EQ(c.m_data.params.GetValue("PH0").GetString(), "fast");
  Set(c, "TITLE", "My spectrum");
  EXPECT_EQ(Param(c, "TITLE"), "My spectrum");
}

TEST_F(ISpectrumTest, ParameterNamesInExpressionsStandForTheirNumbers) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 256);  // SF 400.13 MHz
  CSpcProcess& p = c.m_process;
  const auto run = [&](const char* commands) {
    EXPECT_EQ(Spc(c).ExecuteCommands(plat::toUtf16(commands).c_str()), S_OK);
  };
  run("PH1=SF/10");
  EXPECT_NEAR(p.m_fPH1, 40.013f, 1e-4f);
  run("PH0=PH1-50");  // a number in degrees, negative results too
  EXPECT_NEAR(p.m_fPH0, -9.987f, 1e-4f);
  run("PH1=-PH0*2");
  EXPECT_NEAR(p.m_fPH1, 19.974f, 1e-4f);
  // "?=" shows the number; the text of GetParam keeps its unit.
  ui::ScriptedResponder responder(true);
  std::string shown;
  responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    EXPECT_EQ(q.templateId, nelvar::IDD_PARAMVALUE);
    shown = q.dialog->GetDlgItemText(nelvar::IDC_VALUE);
    return ui::IDCANCEL;
  });
  run("?=SF*2");
  EXPECT_NEAR(std::strtod(shown.c_str(), nullptr), 800.26, 1e-9);
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_EQ(Param(c, "SF"), "400.1300 MHz");
  EXPECT_EQ(Param(c, "PH1"), "19.97 deg");
  // Full precision, not the text's rounding: AQ shows "0.03 sec" but is 0.032 s.
  std::string expr = "AQ*1000";
  c.EvaluateExpression(expr);
  EXPECT_EQ(expr, "32.000000");
  // Names without a number keep their text; joined texts keep the unit.
  std::string joined = "\"f=\"+SF";
  c.ExpandStringExpression(joined);
  EXPECT_EQ(joined, "f=400.1300 MHz");
}

TEST_F(ISpectrumTest, ASpectrumWithoutADateShowsNone) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 64);
  EXPECT_EQ(Param(c, "DATE"), "E_FAIL");
  EXPECT_EQ(Param(c, "TIME"), "E_FAIL");
  // The title's fields and the table ask the same way: no date gives an empty field.
  std::string title;
  EXPECT_FALSE(c.GetParam("DATE", &title));
  CVariant empty;
  c.m_data.params.SetParam("DATE", empty);
  EXPECT_EQ(Param(c, "DATE"), "E_FAIL");
  CVariant when;
  when.SetDate(37023.6041666667);  // 12 May 2001 14:30
  c.m_data.params.SetParam("DATE", when);
  EXPECT_EQ(Param(c, "DATE"), "12-May-2001");
  EXPECT_EQ(Param(c, "TIME"), "14:30:00");
}

TEST_F(ISpectrumTest, DataArraysOutAndIn) {
  CSpcControl& c = *NewControl();
  SafeArray* data = reinterpret_cast<SafeArray*>(&c);
  std::int32_t n = -1;
  // Nothing loaded: no data, no size, the out-parameters untouched.
  EXPECT_EQ(Spc(c).GetData(&data), E_FAIL);
  EXPECT_EQ(data, reinterpret_cast<SafeArray*>(&c));
  EXPECT_EQ(Spc(c).GetSize(&n), E_FAIL);
  EXPECT_EQ(n, -1);
  GiveSpectrum(c, 0, 8);
  for (std::size_t i = 0; i < 8; ++i) c.m_data.spectrum()[i] = {static_cast<float>(i), -static_cast<float>(i) / 2};
  EXPECT_EQ(Spc(c).GetSize(nullptr), E_FAIL);
  ASSERT_EQ(Spc(c).GetSize(&n), S_OK);
  EXPECT_EQ(n, 8);
  ASSERT_EQ(Spc(c).GetData(&data), S_OK);
  ASSERT_EQ(data->dims, 2);
  EXPECT_EQ(data->vt, VT_R4);
  // In memory the real values, then the imaginary ones (no phase: the points themselves).
  const auto* values = static_cast<const float*>(data->data);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(values[i], static_cast<float>(i));
    EXPECT_EQ(values[8 + i], -static_cast<float>(i) / 2);
  }
  // What GetData gives, SetData takes.
  c.m_data.spectrum()[3] = {99.0f, 99.0f};
  ASSERT_EQ(Spc(c).SetData(data), S_OK);
  EXPECT_EQ(c.m_data.spectrum()[3].re, 3.0f);
  safeArrayDestroy(data);

  // Refused, nothing changed: no array, one dimension, a second dimension without index 1,
  // text elements, a row count other than the point count.
  const std::vector<CSpcPoint> before = c.m_data.spectrum();
  EXPECT_EQ(Spc(c).SetData(nullptr), E_FAIL);
  SafeArray* vector = safeArrayCreateVector(VT_R4, 0, 16);
  EXPECT_EQ(Spc(c).SetData(vector), E_FAIL);
  safeArrayDestroy(vector);
  auto seven = [](std::int32_t, std::int32_t) { return 7.0f; };
  SafeArray* narrow = Array<float>(VT_R4, 8, 0, seven, 1);
  EXPECT_EQ(Spc(c).SetData(narrow), E_FAIL);
  safeArrayDestroy(narrow);
  const SafeArrayBound textBounds[2] = {{8, 0}, {2, 0}};
  SafeArray* text = safeArrayCreate(VT_BSTR, 2, textBounds);
  EXPECT_EQ(Spc(c).SetData(text), E_FAIL);
  safeArrayDestroy(text);
  for (std::uint32_t rows : {7u, 9u, 0u}) {
    SafeArray* wrong = Array<float>(VT_R4, rows, 0, seven);
    EXPECT_EQ(Spc(c).SetData(wrong), E_FAIL) << rows;
    safeArrayDestroy(wrong);
  }
  EXPECT_EQ(c.m_data.spectrum().size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(c.m_data.spectrum()[i].re, before[i].re) << i;

  // Rows from lower bound 5 are points 0..7; doubles are taken as floats.
  SafeArray* shifted = Array<double>(VT_R8, 8, 5, [](std::int32_t i, std::int32_t j) { return 10.0 * i + j; });
  ASSERT_EQ(Spc(c).SetData(shifted), S_OK);
  safeArrayDestroy(shifted);
  EXPECT_EQ(c.m_data.spectrum()[0].re, 50.0f);
  EXPECT_EQ(c.m_data.spectrum()[7].im, 121.0f);
  // Variant elements: one that does not read as a number leaves its value.
  const SafeArrayBound vb[2] = {{8, 0}, {2, 0}};
  SafeArray* variants = safeArrayCreate(VT_VARIANT, 2, vb);
  for (std::int32_t i = 0; i < 8; ++i)
    for (std::int32_t j = 0; j < 2; ++j) {
      Variant v;
      variantInit(&v);
      if (i == 2 && j == 0) {
        v.vt = VT_BSTR;
        v.bstr = allocString(u"none");
      } else {
        v.vt = VT_I4;
        v.i32 = -i;
      }
      const std::int32_t at[2] = {i, j};
      safeArrayPutElementAt(variants, at, &v);
      variantClear(&v);
    }
  ASSERT_EQ(Spc(c).SetData(variants), S_OK);
  safeArrayDestroy(variants);
  EXPECT_EQ(c.m_data.spectrum()[2].re, 70.0f);
  EXPECT_EQ(c.m_data.spectrum()[2].im, -2.0f);
  EXPECT_EQ(c.m_data.spectrum()[3].re, -3.0f);
}

TEST_F(ISpectrumTest, MassPeaksOutAndInWholeOrNotAtAll) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 1, 3);
  ASSERT_EQ(Spc(c).SetCurIndex(1), S_OK);
  std::int32_t n = 0;
  ASSERT_EQ(Spc(c).GetSize(&n), S_OK);
  EXPECT_EQ(n, 5);
  SafeArray* data = nullptr;
  ASSERT_EQ(Spc(c).GetData(&data), S_OK);
  const auto* values = static_cast<const float*>(data->data);
  // (mass, intensity) of each peak of scan 1.
  EXPECT_EQ(values[0], 101.0f);
  EXPECT_EQ(values[5], 50.0f);
  EXPECT_EQ(values[4], 501.0f);
  safeArrayDestroy(data);
  // Three new peaks replace the scan's.
  SafeArray* three = Array<float>(VT_R4, 3, 0, [](std::int32_t i, std::int32_t j) { return j == 0 ? 200.0f + i : 1.0f; });
  ASSERT_EQ(Spc(c).SetData(three), S_OK);
  safeArrayDestroy(three);
  ASSERT_EQ(c.m_data.scans[1].peaks.size(), 3u);
  EXPECT_EQ(c.m_data.scans[1].peaks[2].im, 202.0f);
  // A row that cannot be read fails the whole array; the scan keeps its peaks.
  const SafeArrayBound vb[2] = {{2, 0}, {2, 0}};
  SafeArray* bad = safeArrayCreate(VT_VARIANT, 2, vb);
  Variant v;
  variantInit(&v);
  v.vt = VT_R4;
  v.r4 = 5.0f;
  const std::int32_t at[2] = {0, 0}, at2[2] = {0, 1}, at3[2] = {1, 1};
  safeArrayPutElementAt(bad, at, &v);
  safeArrayPutElementAt(bad, at2, &v);
  safeArrayPutElementAt(bad, at3, &v);
  Variant word;
  variantInit(&word);
  word.vt = VT_BSTR;
  word.bstr = allocString(u"n/a");
  const std::int32_t at4[2] = {1, 0};
  safeArrayPutElementAt(bad, at4, &word);
  variantClear(&word);
  EXPECT_EQ(Spc(c).SetData(bad), E_FAIL);
  safeArrayDestroy(bad);
  EXPECT_EQ(c.m_data.scans[1].peaks.size(), 3u);
  SafeArray* none = Array<float>(VT_R4, 0, 0, [](std::int32_t, std::int32_t) { return 0.0f; });
  EXPECT_EQ(Spc(c).SetData(none), E_FAIL);
  safeArrayDestroy(none);
  EXPECT_EQ(c.m_data.scans[1].peaks.size(), 3u);

  // A mass record with points but no scans (as a damaged file can leave it): no shown scan, so
  // no peaks to give; the out-parameter stays untouched.
  c.m_data.scans.clear();
  c.m_data.spectrum().assign(4, CSpcPoint{1.0f, 0.0f});
  ASSERT_TRUE(c.HoldsData());
  SafeArray* untouched = reinterpret_cast<SafeArray*>(&c);
  EXPECT_EQ(Spc(c).GetData(&untouched), E_FAIL);
  EXPECT_EQ(untouched, reinterpret_cast<SafeArray*>(&c));
  ASSERT_EQ(Spc(c).GetSize(&n), S_OK);
  EXPECT_EQ(n, 0);
}

TEST_F(ISpectrumTest, ScansAreCountedAndSelectedWithinTheirNumber) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 1, 3);
  std::int32_t n = 0, index = -1;
  ASSERT_EQ(Spc(c).GetCount(&n), S_OK);
  EXPECT_EQ(n, 3);
  for (std::int32_t bad : {3, -1, 1 << 30}) EXPECT_EQ(Spc(c).SetCurIndex(bad), E_FAIL) << bad;
  ASSERT_EQ(Spc(c).GetCurIndex(&index), S_OK);
  EXPECT_EQ(index, 0);
  ASSERT_EQ(Spc(c).SetCurIndex(2), S_OK);
  ASSERT_EQ(Spc(c).GetCurIndex(&index), S_OK);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(Param(c, "SCAN"), "3");
  GiveSpectrum(c, 0, 16);
  ASSERT_EQ(Spc(c).GetCount(&n), S_OK);
  EXPECT_EQ(n, 1);
}

TEST_F(ISpectrumTest, TheResultIsHandedOutOnce) {
  CSpcControl& c = *NewControl();
  EXPECT_EQ(Spc(c).TakeResult(nullptr), E_FAIL);
  c.m_result.SetLong(5);
  Variant out;
  variantInit(&out);
  ASSERT_EQ(Spc(c).TakeResult(&out), S_OK);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.i32, 5);
  EXPECT_TRUE(c.m_result.IsEmpty());
  ASSERT_EQ(Spc(c).TakeResult(&out), S_OK);
  EXPECT_EQ(out.vt, VT_EMPTY);
}

}  // namespace
}  // namespace nelvar_test
