// Command targets: message-map lookup and the command-UI enable rule.
#include "platform/ui/menu.h"
#include "platform/ui/msgmap.h"

namespace ui {

bool RuntimeClass::IsDerivedFrom(const RuntimeClass* other) const {
  for (const RuntimeClass* c = this; c; c = c->base ? c->base() : nullptr)
    if (c == other) return true;
  return false;
}

const RuntimeClass* CmdTarget::GetThisClass() {
  static const RuntimeClass rc{"CmdTarget", nullptr, nullptr};
  return &rc;
}
const RuntimeClass* CmdTarget::GetRuntimeClass() const { return GetThisClass(); }

const MessageMap* CmdTarget::GetThisMessageMap() {
  static const MsgEntry entries[] = {MsgEntry{}};
  static const MessageMap map{nullptr, entries};
  return &map;
}
const MessageMap* CmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

template <class Pred>
const MsgEntry* FindEntry(const MessageMap* map, Pred pred) {
  for (; map; map = map->base ? map->base() : nullptr)
    for (const MsgEntry* e = map->entries; e->kind != EntryKind::End; ++e)
      if (pred(*e)) return e;
  return nullptr;
}

bool InRange(const MsgEntry& e, UINT id) { return id >= e.idFirst && id <= e.idLast; }
bool SameCode(int a, int b) { return (a & 0xFFFF) == (b & 0xFFFF); }
bool IsNotifyCode(int code) { return (static_cast<unsigned>(code) & 0xFF000000u) == 0x4E000000u; }

}  // namespace

const MsgEntry* CmdTarget::FindMessageEntry(UINT message) const {
  return FindEntry(GetMessageMap(), [&](const MsgEntry& e) { return e.kind == EntryKind::Message && e.message == message; });
}

const MsgEntry* CmdTarget::FindReflectEntry(bool notify, int code) const {
  const EntryKind kind = notify ? EntryKind::ReflectNotify : EntryKind::ReflectCommand;
  return FindEntry(GetMessageMap(), [&](const MsgEntry& e) { return e.kind == kind && SameCode(e.code, code); });
}

bool CmdTarget::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
  const bool update = code == CN_UPDATE_COMMAND_UI;
  const bool notify = !update && IsNotifyCode(code);
  const MsgEntry* entry = FindEntry(GetMessageMap(), [&](const MsgEntry& e) {
    switch (e.kind) {
      case EntryKind::UpdateUI:
      case EntryKind::UpdateUIRange:
        return update && InRange(e, id);
      case EntryKind::Notify:
        return notify && SameCode(e.code, code) && InRange(e, id);
      case EntryKind::Command:
      case EntryKind::CommandRange:
        return !update && !notify && code == CN_COMMAND && InRange(e, id);
      case EntryKind::Control:
        return !update && !notify && SameCode(e.code, code) && InRange(e, id);
      default:
        return false;
    }
  });
  if (!entry) return false;
  if (info) {
    info->target = this;
    info->entry = entry;
    return true;
  }
  return DispatchCmdEntry(*entry, id, code, extra);
}

bool CmdTarget::DispatchCmdEntry(const MsgEntry& e, UINT id, int /*code*/, void* extra) {
  switch (e.sig) {
    case Sig::Cmd:
      (this->*e.pfn)();
      return true;
    case Sig::CmdRange:
      (this->*PmfCast<void (CmdTarget::*)(UINT)>(e.pfn))(id);
      return true;
    case Sig::CmdEx:
      return (this->*PmfCast<bool (CmdTarget::*)(UINT)>(e.pfn))(id);
    case Sig::Update: {
      auto* cmdUI = static_cast<CmdUI*>(extra);
      if (!cmdUI) return false;
      cmdUI->m_bContinueRouting = false;
      (this->*PmfCast<void (CmdTarget::*)(CmdUI*)>(e.pfn))(cmdUI);
      return !cmdUI->m_bContinueRouting;
    }
    case Sig::Notify:
    case Sig::NotifyRange:
    case Sig::NotifyEx: {
      auto* args = static_cast<NotifyArgs*>(extra);
      LRESULT scratch = 0;
      NMHDR* hdr = args ? args->hdr : nullptr;
      LRESULT* result = args && args->result ? args->result : &scratch;
      if (e.sig == Sig::Notify) {
        (this->*PmfCast<void (CmdTarget::*)(NMHDR*, LRESULT*)>(e.pfn))(hdr, result);
        return true;
      }
      if (e.sig == Sig::NotifyRange) {
        (this->*PmfCast<void (CmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e.pfn))(id, hdr, result);
        return true;
      }
      return (this->*PmfCast<bool (CmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e.pfn))(id, hdr, result);
    }
    default:
      return false;
  }
}

// --- CmdUI --------------------------------------------------------------------------------------

void CmdUI::Enable(bool on) {
  if (m_pMenu) m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
  m_bEnableChanged = true;
}

void CmdUI::SetCheck(int check) {
  if (m_pMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CmdUI::SetRadio(bool on) {
  if (m_pMenu) m_pMenu->SetRadioCheck(m_nIndex, on);
}

void CmdUI::SetText(std::string_view text) {
  if (m_pMenu) m_pMenu->SetItemText(m_nIndex, text);
}

bool CmdUI::DoUpdate(CmdTarget* target, bool disableIfNoHandler) {
  if (!target) return false;
  m_bEnableChanged = false;
  const bool handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (!handled && disableIfNoHandler && !m_bEnableChanged) {
    HandlerInfo info;
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}

namespace {

class StateCmdUI : public CmdUI {
 public:
  explicit StateCmdUI(CommandState* state) : state_(state) {}
  void Enable(bool on) override {
    state_->enabled = on;
    m_bEnableChanged = true;
  }
  void SetCheck(int check) override { state_->check = check; }
  void SetRadio(bool on) override {
    state_->radio = on;
    state_->check = on ? 1 : 0;
  }
  void SetText(std::string_view text) override {
    state_->textSet = true;
    state_->text = std::string(text);
  }

 private:
  CommandState* state_;
};

}  // namespace

CommandState QueryCommandState(CmdTarget* target, UINT id, bool disableIfNoHandler) {
  CommandState state;
  // An update handler that never calls Enable leaves the command enabled.
  state.enabled = true;
  StateCmdUI cmdUI(&state);
  cmdUI.m_nID = id;
  state.updateHandled = cmdUI.DoUpdate(target, disableIfNoHandler) || cmdUI.m_bEnableChanged;
  return state;
}

}  // namespace ui
