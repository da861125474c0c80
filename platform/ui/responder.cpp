// The modal responder and its log.
#include "platform/ui/responder.h"

#include "platform/ui/app.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "platform/ui/waitcursor.h"
#include "platform/ui/wnd.h"

namespace ui {

namespace {
Responder* g_responder = nullptr;
std::vector<ModalLogEntry>& Log() {
  static std::vector<ModalLogEntry> log;
  return log;
}
}  // namespace

const char* ModalKindName(ModalKind kind) {
  switch (kind) {
    case ModalKind::Dialog: return "dialog";
    case ModalKind::PropertySheet: return "property sheet";
    case ModalKind::MessageBox: return "message box";
    case ModalKind::PopupMenu: return "popup menu";
    case ModalKind::ColorDialog: return "colour dialog";
    case ModalKind::FontDialog: return "font dialog";
    case ModalKind::FileDialog: return "file dialog";
    case ModalKind::PrintDialog: return "print dialog";
    case ModalKind::Window: return "window";
  }
  return "?";
}

void SetResponder(Responder* responder) { g_responder = responder; }
Responder* GetResponder() { return g_responder; }
const std::vector<ModalLogEntry>& ModalLog() { return Log(); }
void ClearModalLog() { Log().clear(); }

int DefaultModalAnswer(const ModalQuestion& q) {
  if (q.kind == ModalKind::PopupMenu) return 0;
  if (q.kind != ModalKind::MessageBox) return IDCANCEL;
  const UINT type = q.style & MB_TYPEMASK;
  const UINT def = q.style & MB_DEFMASK;
  switch (type) {
    case MB_OK: return IDOK;
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return def == MB_DEFBUTTON2 ? IDNO : IDYES;
    case MB_ABORTRETRYIGNORE: return def == MB_DEFBUTTON2 ? IDRETRY : def == MB_DEFBUTTON3 ? IDIGNORE : IDABORT;
    default: return IDCANCEL;
  }
}

int AskModal(ModalQuestion& question, const std::function<int()>& real, bool* byResponder) {
  Wnd::ReleaseCapture();
  if (byResponder) *byResponder = false;
  if (g_responder) {
    if (byResponder) *byResponder = true;
    return g_responder->Answer(question);
  }
  if (App::IsHeadless() || !real) return DefaultModalAnswer(question);
  // A person answers with the normal cursor, whatever work waits for the answer.
  WaitCursorPause pause;
  return real();
}

void LogModal(const ModalQuestion& q, int answer, bool byResponder) {
  ModalLogEntry e;
  e.kind = q.kind;
  e.title = q.title;
  e.text = q.text;
  e.templateId = q.templateId;
  e.answer = answer;
  e.byResponder = byResponder;
  Log().push_back(std::move(e));
}

ScriptedResponder::ScriptedResponder(bool install) : installed_(install) {
  if (install) SetResponder(this);
}

ScriptedResponder::~ScriptedResponder() {
  if (installed_ && GetResponder() == this) SetResponder(nullptr);
}

ScriptedResponder& ScriptedResponder::Then(ModalKind kind, Step step) {
  steps_.push_back({kind, std::move(step)});
  return *this;
}

ScriptedResponder& ScriptedResponder::ThenAnswer(ModalKind kind, int answer) {
  return Then(kind, [answer](ModalQuestion&) { return answer; });
}

int ScriptedResponder::Answer(ModalQuestion& question) {
  if (steps_.empty() || steps_.front().kind != question.kind) {
    ++unexpected_;
    return DefaultModalAnswer(question);
  }
  Scripted next = std::move(steps_.front());
  steps_.pop_front();
  return next.step(question);
}

}  // namespace ui
