// The main program: from start-up to the main window's first paint, and opening a spectrum of
// 131,072 points as a document and as one item (through the spectrum control the registry
// names; skipped when no spectrum control is served).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <cmath>
#include <string>

#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/ui/app.h"
#include "platform/ui/docview.h"
#include "rodizora/app/saapp.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/res/saresources.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr int kPoints = 131072;

std::string g_dir;
std::string g_spectrum;

// A sandbox registry and the spectrum control's classes registered in it.
void SetUpOnce() {
  if (!g_dir.empty()) return;
  char pattern[] = "/tmp/rodizora_bench_XXXXXX";
  g_dir = mkdtemp(pattern);
  setenv("KEDRUS_REGISTRY_DIR", (g_dir + "/registry").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ui::SetAppResources(&ProgramResources());
  void* module = nullptr;
  if (plat::ole::loadModule("NELVAR.DLL", false, &module) >= 0 && module)
    if (auto reg = reinterpret_cast<int (*)()>(plat::ole::moduleSymbol(module, "DllRegisterServer"))) reg();

  CSpcData data;
  data.nDomain = 0;
  data.nAcqCode = 1;
  data.strName = "bench";
  data.data[0].resize(kPoints);
  for (int n = 0; n < kPoints; ++n) {
    const double t = n / 4800.0;
    data.data[0][n].re = static_cast<float>(1.0e6 * std::cos(2 * 3.14159265 * 600 * t) * std::exp(-t / 0.4));
    data.data[0][n].im = static_cast<float>(1.0e6 * std::sin(2 * 3.14159265 * 600 * t) * std::exp(-t / 0.4));
  }
  CVariant v;
  v.SetDouble(400.13);
  data.params.SetParam("SFO1", v);
  data.params.SetParam("SF", v);
  v.SetDouble(4800.0);
  data.params.SetParam("SW_h", v);
  v.SetLong(2 * kPoints);
  data.params.SetParam("TD", v);
  data.params.SetParam("SI", v);
  CSpcProcess process(&data);
  process.InitFromParams();
  process.SelectData();
  g_spectrum = g_dir + "/bench.dx";
  SpcSaveSpectrum(g_spectrum.c_str(), &process, 3, 3, 0);
}

void StartUpToFirstPaint(benchmark::State& state) {
  SetUpOnce();
  for (auto _ : state) {
    CSaApp app;
    app.m_logoPauseMs = 0;
    if (!app.InitInstance()) {
      state.SkipWithError("start-up failed");
      break;
    }
    ui::App::PumpPending();
    app.GetMainWnd()->DestroyWindow();
    app.m_pMainWnd = nullptr;
    app.ExitInstance();
    ui::App::PumpPending();
  }
}
BENCHMARK(StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

void OpenSpectrumDocument(benchmark::State& state) {
  SetUpOnce();
  CSaApp app;
  app.m_logoPauseMs = 0;
  if (!app.InitInstance()) {
    state.SkipWithError("start-up failed");
    return;
  }
  if (CSaDoc::GetSpectraCountInFile(plat::toUtf16(g_spectrum)) == 0) {
    state.SkipWithError("no spectrum control reads the file");
  } else {
    for (auto _ : state) {
      ui::Document* doc = app.OpenDocumentFile(g_spectrum);
      if (!doc) {
        state.SkipWithError("the document did not open");
        break;
      }
      ui::App::PumpPending();
      doc->OnCloseDocument();
      ui::App::PumpPending();
    }
  }
  app.GetMainWnd()->DestroyWindow();
  app.m_pMainWnd = nullptr;
  app.ExitInstance();
}
BENCHMARK(OpenSpectrumDocument)->Unit(benchmark::kMillisecond);

// One spectrum item of that file in an open document: the control's load, the item made from its
// data (through its persistent state) and its picture.
void SpectrumItemOfTheFile(benchmark::State& state) {
  SetUpOnce();
  CSaApp app;
  app.m_logoPauseMs = 0;
  if (!app.InitInstance()) {
    state.SkipWithError("start-up failed");
    return;
  }
  app.OnFileNew();
  auto* doc = dynamic_cast<CSaDoc*>(app.GetDocTemplates().front()->GetDocuments().front());
  for (auto _ : state) {
    CSaItem* item = doc->CreateSpectrumItem(plat::toUtf16(g_spectrum), 0);
    if (!item) {
      state.SkipWithError("no spectrum control loads the file");
      break;
    }
    doc->DeleteItem(item);
  }
  app.GetMainWnd()->DestroyWindow();
  app.m_pMainWnd = nullptr;
  app.ExitInstance();
}
BENCHMARK(SpectrumItemOfTheFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
