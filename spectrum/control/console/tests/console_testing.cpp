#include "spectrum/control/console/tests/console_testing.h"

#include <cstdlib>
#include <cstdio>
#include <fstream>

#include "common/guids.h"
#include "controls/knob/knobcontrol.h"
#include "controls/scroll/scrollcontrol.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/app.h"
#include "spectrum/control/control/typelib.h"

namespace nelvar_test {

std::vector<CSpcControl*> BarsTest::made_;

plat::ole::ComObject* BarsTest::MakeRecorded() {
  auto* control = static_cast<CSpcControl*>(nelvar::CreateSpcControl());
  made_.push_back(control);
  return control;
}

namespace {

template <class T>
plat::ole::ComObject* Make() {
  return new T;
}

}  // namespace

void BarsTest::SetUp() {
  ControlTest::SetUp();
  made_.clear();
  std::vector<std::pair<const plat::ole::Guid*, plat::ole::ObjectCreator>> classes = {{&CLSID_Spc, &MakeRecorded}};
  if (WithAuxiliaryControls()) {
    classes.push_back({&CLSID_KnobControl, &Make<karvel::CKnobControl>});
    classes.push_back({&CLSID_ScrollControl, &Make<karvel::CScrollControl>});
  }
  for (const auto& [clsid, create] : classes) {
    plat::ole::IUnknown* factory = nullptr;
    ASSERT_EQ(plat::ole::ClassFactory::create(create, plat::ole::IID_IUnknown, reinterpret_cast<void**>(&factory)),
              plat::ole::S_OK);
    plat::DWord cookie = 0;
    ASSERT_EQ(plat::ole::registerClassObject(*clsid, factory, &cookie), plat::ole::S_OK);
    cookies_.push_back(cookie);
    factory->Release();
  }
}

void BarsTest::TearDown() {
  for (plat::DWord cookie : cookies_) plat::ole::revokeClassObject(cookie);
  cookies_.clear();
  ControlTest::TearDown();
  EXPECT_TRUE(CMainFrameWnd::LiveFrames().empty());
}

nelvar::testing::HostItem* BarsTest::AddControl(plat::ole::testing::TestContainer& box, const gdi::Rect& at) {
  auto* item = new nelvar::testing::HostItem(&box, &settings_, true);
  item->m_rect = at;
  item->m_record.type = 1;
  item->m_record.subtype = 1;
  item->m_record.fromFile = 1;
  EXPECT_TRUE(item->CreateNewItem(CLSID_Spc));
  return item;
}

void BarsTest::ShowAllBars(CSpcControl& control) {
  if (CMainFrameWnd* frame = control.GetMainFrame())
    for (ui::ControlBar* bar : frame->Bars()) frame->ToggleBar(bar->GetDlgCtrlID(), true);
  ui::App::PumpPending();
}

ui::ControlBar* BarsTest::BarOf(plat::ole::testing::TestContainer& box, ui::UINT id) {
  for (CMainFrameWnd* frame : CMainFrameWnd::LiveFrames()) {
    if (frame->GetParent() != &box.FrameWindow()) continue;
    for (ui::ControlBar* bar : frame->Bars())
      if (bar->GetDlgCtrlID() == id) return bar;
  }
  return nullptr;
}

TraceCapture::TraceCapture() : path_(::testing::TempDir() + "console_trace.txt") {
  std::remove(path_.c_str());
  ::setenv("KEDRUS_CONSOLE_TRACE", path_.c_str(), 1);
}

TraceCapture::~TraceCapture() { Lines(); }

std::vector<std::string> TraceCapture::Lines() {
  if (!capturing_) return {};
  capturing_ = false;
  ::unsetenv("KEDRUS_CONSOLE_TRACE");
  std::ifstream in(path_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("console command ", 0) == 0) lines.push_back(line.substr(16, line.find(' ', 16) - 16));
  std::remove(path_.c_str());
  return lines;
}

}  // namespace nelvar_test
