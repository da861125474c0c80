// spchost commands of the control's property sheet:
//   sheet NAME [ACTION...]   opens control NAME's property sheet through its Properties verb and
//                            does the actions in order while it is up; it then closes with Cancel
//                            unless an action closed it. Item ids are decimal.
// Actions:
//   tab:INDEX                shows the page at INDEX (0 General ... 11 Title, 12 Miscellaneous)
//   text:ID=TEXT             types TEXT into edit ID ("_" stands for a blank)
//   check:ID=0|1             sets check box or radio ID and clicks it
//   choose:ID=INDEX          selects entry INDEX of combo ID
//   color:ID=0xBBGGRR        clicks colour button ID; the chooser answers the colour
//   saveas:NAME              clicks "&Save As" (1038) and answers the name dialog with NAME
//   click:ID                 clicks button ID
//   show:ID                  prints "item ID: TEXT" of the shown page
//   apply | ok | cancel      the frame's Apply, OK (applies and closes), Cancel
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/guids.h"
#include "platform/ole/proppage.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

using namespace plat::ole;

constexpr ui::UINT kSaveAs = 1038;
constexpr ui::UINT kSchemeNameEdit = 1041;

struct Action {
  std::string verb;
  std::string key;    // before "="
  std::string value;  // after "="
};

Action Parse(const std::string& word) {
  Action a;
  const std::size_t colon = word.find(':');
  a.verb = word.substr(0, colon);
  if (colon == std::string::npos) return a;
  const std::string rest = word.substr(colon + 1);
  const std::size_t eq = rest.find('=');
  a.key = rest.substr(0, eq);
  if (eq != std::string::npos) a.value = rest.substr(eq + 1);
  for (char& c : a.value)
    if (c == '_') c = ' ';
  return a;
}

// The page the frame shows: the visible child of its page area.
ui::Wnd* ShownPage(PropertyFrame& frame) {
  if (!frame.PageArea()) return nullptr;
  for (ui::Wnd* child : frame.PageArea()->GetChildren())
    if (child->IsWindowVisible()) return child;
  return nullptr;
}

ui::Wnd* ItemOf(PropertyFrame& frame, const std::string& id) {
  ui::Wnd* page = ShownPage(frame);
  ui::Wnd* item = page ? page->GetDlgItem(static_cast<ui::UINT>(Int(id))) : nullptr;
  if (!item) Fail("the shown page has no item " + id);
  return item;
}

void Notify(ui::Wnd* item, int code) {
  ui::Wnd* page = item->GetParent();
  page->SendMessage(ui::WM_COMMAND,
                    ui::MAKEWPARAM(static_cast<ui::WORD>(item->GetDlgCtrlID()), static_cast<ui::WORD>(code)),
                    ui::HandleToParam(item->m_hWnd));
}

// One action; true when it closed the frame.
bool Do(Host& host, PropertyFrame& frame, const Action& a, int* end) {
  if (a.verb == "tab") {
    if (!frame.SetActivePage(Int(a.key))) Fail("no page " + a.key);
  } else if (a.verb == "text") {
    ui::Wnd* item = ItemOf(frame, a.key);
    item->SetWindowText(a.value);
    Notify(item, ui::EN_CHANGE);
  } else if (a.verb == "check") {
    auto* button = dynamic_cast<ui::Button*>(ItemOf(frame, a.key));
    if (!button) Fail("item " + a.key + " is not a button");
    button->SetCheck(Int(a.value) ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    Notify(button, ui::BN_CLICKED);
  } else if (a.verb == "choose") {
    auto* combo = dynamic_cast<ui::ComboBox*>(ItemOf(frame, a.key));
    if (!combo || combo->SetCurSel(Int(a.value)) < 0) Fail("combo " + a.key + " has no entry " + a.value);
    Notify(combo, ui::CBN_SELCHANGE);
  } else if (a.verb == "color") {
    const auto color = static_cast<gdi::COLORREF>(std::strtoul(a.value.c_str(), nullptr, 0));
    host.Responder().Then(ui::ModalKind::ColorDialog, [color](ui::ModalQuestion& q) {
      *q.color = color;
      return ui::IDOK;
    });
    Notify(ItemOf(frame, a.key), ui::BN_CLICKED);
  } else if (a.verb == "saveas") {
    const std::string name = a.key;
    host.Responder().Then(ui::ModalKind::Dialog, [name](ui::ModalQuestion& q) {
      if (q.dialog) q.dialog->SetDlgItemText(kSchemeNameEdit, name);
      return ui::IDOK;
    });
    Notify(ItemOf(frame, std::to_string(kSaveAs)), ui::BN_CLICKED);
  } else if (a.verb == "click") {
    Notify(ItemOf(frame, a.key), ui::BN_CLICKED);
  } else if (a.verb == "show") {
    std::printf("item %s: %s\n", a.key.c_str(), ItemOf(frame, a.key)->GetWindowText().c_str());
  } else if (a.verb == "apply") {
    if (!frame.ApplyAll()) Fail("a page refused Apply");
  } else if (a.verb == "ok" || a.verb == "cancel") {
    *end = a.verb == "ok" ? ui::IDOK : ui::IDCANCEL;
    return true;
  } else {
    Fail("unknown sheet action " + a.verb);
  }
  return false;
}

void Sheet(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 2) Fail("sheet NAME [ACTION...]");
  nelvar::testing::HostItem* item = host.Item(w[1]);
  const std::vector<std::string> actions(w.begin() + 2, w.end());
  std::string failure;
  bool ran = false;
  host.Responder().Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    ran = true;
    auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
    int end = ui::IDCANCEL;
    if (!frame) {
      failure = "the Properties verb showed no property sheet";
      return end;
    }
    // A failed action ends the run with Cancel; the failure is the command's.
    try {
      for (const std::string& word : actions)
        if (Do(host, *frame, Parse(word), &end)) break;
    } catch (const Failure& f) {
      failure = f.what;
      end = ui::IDCANCEL;
    }
    return end;
  });
  const HResult hr = item->GetOleObject()->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, ui::kNoWnd, nullptr);
  if (!failure.empty()) Fail(failure);
  if (failed(hr) || !ran) Fail("the property sheet did not open");
}

const Command kPageCommands[] = {
    {"sheet", "NAME [ACTION...]", &Sheet},
};
SPCHOST_COMMANDS(kPageCommands);

}  // namespace
}  // namespace spchost
