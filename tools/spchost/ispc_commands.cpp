// spchost commands of the control's custom interface, loading and saving:
//
//   count NAME PATH                  ISpectrumControl::GetSpectraCount, printed as "count N"
//   try-load NAME PATH [INDEX]       LoadSpectrum, printing "loaded" or "failed" (the run goes on)
//   save-spectrum NAME PATH FORMAT [TYPE [NUMBER]]   SaveSpectrum
//   param NAME KEY                   GetParam, printed as "KEY=value" or "KEY failed"
//   same-points NAME OTHER           whether GetData of the two agree within 1e-6 of the largest
//   modal-log                        the responder's log: kind, answer and text of each modal run
//   module NAME                      the module's description, version and build date
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

using namespace plat::ole;

// The control's ISpectrumControl for one call.
class Spc {
 public:
  Spc(Host& host, const std::string& name) : spc_(host.Interface<ISpectrumControl>(host.Item(name), IID_ISpectrumControl)) {}
  ~Spc() { spc_->Release(); }
  ISpectrumControl* operator->() const { return spc_; }

 private:
  ISpectrumControl* spc_;
};

std::vector<float> Points(Host& host, const std::string& name) {
  SafeArray* data = nullptr;
  if (failed(Spc(host, name)->GetData(&data)) || !data) Fail(name + " holds no data");
  const auto* values = static_cast<const float*>(data->data);
  std::vector<float> points(values, values + data->count);
  safeArrayDestroy(data);
  return points;
}

const Command kIspcCommands[] = {
    {"count", "NAME PATH",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("count NAME PATH");
       std::int32_t n = -1;
       Spc(host, w[1])->GetSpectraCount(plat::toUtf16(w[2]).c_str(), &n);
       std::printf("count %d\n", n);
     }},
    {"try-load", "NAME PATH [INDEX]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 3) Fail("try-load NAME PATH [INDEX]");
       const HResult hr = Spc(host, w[1])->LoadSpectrum(plat::toUtf16(w[2]).c_str(), w.size() > 3 ? Int(w[3]) : 0);
       std::printf("%s\n", succeeded(hr) ? "loaded" : "failed");
     }},
    {"save-spectrum", "NAME PATH FORMAT [TYPE [NUMBER]]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 4) Fail("save-spectrum NAME PATH FORMAT [TYPE [NUMBER]]");
       const HResult hr = Spc(host, w[1])->SaveSpectrum(plat::toUtf16(w[2]).c_str(), Int(w[3]),
                                                        w.size() > 4 ? Int(w[4]) : 0, w.size() > 5 ? Int(w[5]) : 0);
       if (failed(hr)) Fail("SaveSpectrum failed");
     }},
    {"param", "NAME KEY",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("param NAME KEY");
       Bstr value = nullptr;
       if (succeeded(Spc(host, w[1])->GetParam(plat::toUtf16(w[2]).c_str(), &value)))
         std::printf("%s=%s\n", w[2].c_str(), plat::toUtf8(stringView(value)).c_str());
       else
         std::printf("%s failed\n", w[2].c_str());
       freeString(value);
     }},
    {"same-points", "NAME OTHER",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("same-points NAME OTHER");
       const std::vector<float> a = Points(host, w[1]), b = Points(host, w[2]);
       float scale = 0.0f, worst = 0.0f;
       for (float v : a) scale = std::max(scale, std::fabs(v));
       for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
       const bool same = a.size() == b.size() && worst <= scale * 1e-6f;
       std::printf("%s %zu points\n", same ? "same" : "differ", a.size() / 2);
     }},
    {"modal-log", "",
     [](Host&, const std::vector<std::string>&) {
       for (const ui::ModalLogEntry& e : ui::ModalLog()) {
         std::string text = e.text;
         std::replace(text.begin(), text.end(), '\n', ' ');
         std::printf("%s %d %s\n", ui::ModalKindName(e.kind), e.answer, text.c_str());
       }
     }},
    {"module", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("module NAME");
       Spc spc(host, w[1]);
       Bstr name = nullptr, date = nullptr;
       std::int16_t hi = -1, lo = -1;
       if (failed(spc->GetModuleName(&name)) || failed(spc->GetVersion(&hi, &lo)) || failed(spc->GetCreateDate(&date)))
         Fail("the module does not describe itself");
       std::printf("module %s version %d.%d built %s\n", plat::toUtf8(stringView(name)).c_str(), hi, lo,
                   plat::toUtf8(stringView(date)).c_str());
       freeString(name);
       freeString(date);
     }},
};
SPCHOST_COMMANDS(kIspcCommands);

}  // namespace
}  // namespace spchost
