#include "controls/pagebase/pagebase.h"

#include <algorithm>
#include <cstring>

#include "foundation/profdesc.h"
#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/com/font.h"
#include "platform/com/typeinfo.h"
#include "platform/gdi/dc.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/propsheet.h"
#include "profile/profile.h"

using namespace plat::ole;

namespace {

// The ids of the frame's windows that move or grow with a larger page.
constexpr ui::UINT kMovedButtons[] = {ui::IDOK, ui::IDCANCEL, kPropertyFrameHelpId, ui::ID_APPLY_NOW};

Variant makeI4(std::int32_t value) {
  Variant v;
  variantInit(&v);
  v.vt = VT_I4;
  v.i32 = value;
  return v;
}

// A property read as the given type: the call's failure, or the conversion's.
HResult readAs(DispatchDriver& driver, DispId id, VarType type, Variant* out) {
  Variant raw;
  variantInit(&raw);
  variantInit(out);
  HResult hr = driver.getProperty(id, &raw);
  if (!failed(hr)) hr = changeType(out, raw, 0, type);
  variantClear(&raw);
  return hr;
}

// --- Profile form ---------------------------------------------------------------------------------------

enum class Kind { None, Integer, Float, Font };

// What a property of type tdesc is stored as.
Kind kindOf(ITypeInfo* info, const TypeDesc* tdesc, int depth = 0) {
  if (!tdesc || depth > 8) return Kind::None;
  switch (tdesc->vt) {
    case VT_I4:
    case VT_BOOL:
      return Kind::Integer;
    case VT_R4:
      return Kind::Float;
    case VT_DISPATCH:
      return Kind::Font;
    case VT_PTR:
      return kindOf(info, tdesc->lptdesc, depth + 1);
    case VT_USERDEFINED: {
      ITypeInfo* ref = nullptr;
      if (failed(info->GetRefTypeInfo(tdesc->hreftype, &ref))) return Kind::None;
      Kind kind = Kind::None;
      TypeAttr* attr = nullptr;
      if (!failed(ref->GetTypeAttr(&attr))) {
        if (attr->guid == IID_IFontDisp) kind = Kind::Font;
        else if (attr->guid == GUID_OLE_COLOR) kind = Kind::Integer;
        else if (attr->typekind == TKIND_ALIAS) kind = kindOf(ref, &attr->tdescAlias, depth + 1);
        ref->ReleaseTypeAttr(attr);
      }
      ref->Release();
      return kind;
    }
    default:
      return Kind::None;
  }
}

void exchangeProperty(const std::u16string& name, Kind kind, COrvProfDesc* desc, DispatchDriver& driver, bool save) {
  DispId id = 0;
  if (failed(driver.idOfName(name, &id))) return;
  switch (kind) {
    case Kind::Integer: {
      if (save) {
        Variant raw, v;
        variantInit(&raw);
        variantInit(&v);
        if (!failed(driver.getProperty(id, &raw))) {
          // A BOOL is stored as 0 or 1.
          if (raw.vt == VT_BOOL) OrvSetProfDWord(name.c_str(), raw.boolean != 0 ? 1u : 0u, desc);
          else if (!failed(changeType(&v, raw, 0, VT_I4))) OrvSetProfDWord(name.c_str(), static_cast<std::uint32_t>(v.i32), desc);
        }
        variantClear(&raw);
        variantClear(&v);
      } else {
        std::uint32_t value = 0;
        if (OrvGetProfDWord(name.c_str(), &value, 0, desc) == 0)
          driver.setProperty(id, makeI4(static_cast<std::int32_t>(value)));
      }
      break;
    }
    case Kind::Float: {
      if (save) {
        Variant v;
        if (!failed(readAs(driver, id, VT_R4, &v))) OrvSetProfBinary(name.c_str(), &v.r4, 4, desc);
      } else {
        float value = 0;
        unsigned length = sizeof value;
        // Only exactly four stored bytes are a float.
        if (OrvGetProfBinary(name.c_str(), &value, &length, desc) == 0 && length == sizeof value) {
          Variant v;
          variantInit(&v);
          v.vt = VT_R4;
          v.r4 = value;
          driver.setProperty(id, v);
        }
      }
      break;
    }
    case Kind::Font: {
      gdi::LOGFONTA record{};
      COleFont font(&record);
      COrvProfDesc section(*desc);
      section.AddSubSection(name.c_str());
      if (save) {
        Variant v;
        variantInit(&v);
        if (!failed(driver.getProperty(id, &v)) && v.vt == VT_DISPATCH && v.dispatch && font.CopyFrom(v.dispatch))
          SaveFontToProfile(&font, &section);
        variantClear(&v);
      } else if (LoadFontFromProfile(&font, &section)) {
        Variant v;
        variantInit(&v);
        v.vt = VT_DISPATCH;
        v.dispatch = font.GetIDispatch(false);
        driver.setProperty(id, v);
      }
      break;
    }
    case Kind::None:
      break;
  }
}

bool exchangeDispatchProperties(IDispatch* dispatch, COrvProfDesc* desc, bool save) {
  if (!dispatch || !desc) return true;
  DispatchDriver driver(dispatch);
  ITypeInfo* info = nullptr;
  if (failed(dispatch->GetTypeInfo(0, 0, &info)) || !info) return true;
  TypeAttr* attr = nullptr;
  if (failed(info->GetTypeAttr(&attr))) {
    info->Release();
    return true;
  }
  for (std::uint32_t i = 0; i < attr->cVars; ++i) {
    VarDesc* var = nullptr;
    if (failed(info->GetVarDesc(i, &var))) continue;
    if (!(var->wVarFlags & VARFLAG_FHIDDEN)) {
      Bstr name = nullptr;
      std::uint32_t count = 0;
      if (!failed(info->GetNames(var->memid, &name, 1, &count)) && count == 1)
        exchangeProperty(std::u16string(stringView(name)), kindOf(info, &var->elemdescVar.tdesc), desc, driver, save);
      freeString(name);
    }
    info->ReleaseVarDesc(var);
  }
  info->ReleaseTypeAttr(attr);
  info->Release();
  driver.detach();
  return true;
}

}  // namespace

bool SaveDispatchProperties(IDispatch* dispatch, COrvProfDesc* desc) { return exchangeDispatchProperties(dispatch, desc, true); }

bool LoadDispatchProperties(IDispatch* dispatch, COrvProfDesc* desc) { return exchangeDispatchProperties(dispatch, desc, false); }

bool ChooseFontInPoints(ui::Wnd* owner, gdi::LOGFONTA* font) {
  if (!font) return false;
  ui::ClientDC dc(owner);
  const int perInch = std::max(1, dc.GetDeviceCaps(gdi::LOGPIXELSY));
  font->lfHeight = -gdi::MulDiv(font->lfHeight, perInch, 72);
  ui::FontDialog dialog(font, ui::CF_EFFECTS | ui::CF_SCREENFONTS, owner);
  const bool chosen = dialog.DoModal() == ui::IDOK;
  if (chosen) dialog.GetCurrentFont(font);
  font->lfHeight = -gdi::MulDiv(font->lfHeight, 72, perInch);
  return chosen;
}

// --- The page ----------------------------------------------------------------------------------------------

COlePropertyPageEx::COlePropertyPageEx(ui::UINT templateId, ui::UINT captionId) : OlePropertyPage(templateId, captionId) {}

void COlePropertyPageEx::DoDataExchange(ui::DataExchange* dx) {
  if (dx->m_bSaveAndValidate) SetProperties();
  else GetProperties();
}

void COlePropertyPageEx::OnSetPageSite() {
  OlePropertyPage::OnSetPageSite();
  Lcid lcid = 0;
  IPropertyPageSite* site = GetPageSite();
  m_lcid = site && !failed(site->GetLocaleID(&lcid)) ? lcid : 0;
}

bool COlePropertyPageEx::OnInitDialog() {
  const bool result = OlePropertyPage::OnInitDialog();
  ui::Wnd* area = GetParent();
  ui::Wnd* frame = area ? area->GetParent() : nullptr;
  if (!frame) return result;
  gdi::Rect page, room;
  GetWindowRect(&page);
  area->GetWindowRect(&room);
  // The frame grows to a larger page and never shrinks for a smaller one.
  const int dx = std::max(0, page.Width() - room.Width());
  const int dy = std::max(0, page.Height() - room.Height());
  if (dx == 0 && dy == 0) return result;
  constexpr ui::UINT kSizeOnly = ui::SWP_NOMOVE | ui::SWP_NOZORDER;
  gdi::Rect outer;
  frame->GetWindowRect(&outer);
  frame->SetWindowPos(nullptr, 0, 0, outer.Width() + dx, outer.Height() + dy, kSizeOnly);
  area->SetWindowPos(nullptr, 0, 0, room.Width() + dx, room.Height() + dy, kSizeOnly);
  for (ui::UINT id : kMovedButtons)
    if (ui::Wnd* button = frame->GetDlgItem(id)) {
      gdi::Rect r;
      button->GetWindowRect(&r);
      frame->ScreenToClient(&r);
      button->SetWindowPos(nullptr, r.left + dx, r.top + dy, 0, 0, ui::SWP_NOSIZE | ui::SWP_NOZORDER);
    }
  if (ui::Wnd* tabs = frame->GetDlgItem(kPropertyFrameTabId)) {
    gdi::Rect r;
    tabs->GetWindowRect(&r);
    tabs->SetWindowPos(nullptr, 0, 0, r.Width() + dx, r.Height() + dy, kSizeOnly);
  }
  return result;
}

bool COlePropertyPageEx::IdOfName(IDispatch* object, const char* name, DispId* id) const {
  const plat::String16 wide = plat::toUtf16(name ? name : "");
  const char16_t* names[] = {wide.c_str()};
  return object && !failed(object->GetIDsOfNames(IID_NULL, names, 1, m_lcid, id));
}

void COlePropertyPageEx::ReportFailure(HResult hr, const DispatchException& exception) {
  if (hr != DISP_E_EXCEPTION) return;
  ui::MessageBox(this, plat::toUtf8(exception.description), "", ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

bool COlePropertyPageEx::ForEachObject(const char* name, const std::function<HResult(DispatchDriver&, DispId)>& call) {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  bool ok = true;
  for (std::uint32_t i = 0; i < count; ++i) {
    DispId id = 0;
    if (!IdOfName(objects[i], name, &id)) {
      ok = false;
      continue;
    }
    DispatchDriver driver(objects[i]);
    const HResult hr = call(driver, id);
    if (failed(hr)) {
      ReportFailure(hr, driver.exception());
      ok = false;
    }
  }
  return ok;
}

bool COlePropertyPageEx::SetIntProperty(int value, const char* name) {
  return ForEachObject(name, [&](DispatchDriver& driver, DispId id) { return driver.setProperty(id, makeI4(value)); });
}

bool COlePropertyPageEx::GetIntProperty(int* value, const char* name) {
  return ForEachObject(name, [&](DispatchDriver& driver, DispId id) {
    Variant v;
    const HResult hr = readAs(driver, id, VT_I4, &v);
    if (!failed(hr) && value) *value = v.i32;
    return hr;
  });
}

bool COlePropertyPageEx::GetFontProperty(gdi::LOGFONTA* font, const char* name) {
  if (!font) return false;
  *font = gdi::LOGFONTA{};
  COleFont target(font);
  return ForEachObject(name, [&](DispatchDriver& driver, DispId id) {
    Variant v;
    variantInit(&v);
    HResult hr = driver.getProperty(id, &v);
    if (!failed(hr) && (v.vt != VT_DISPATCH || !target.CopyFrom(v.dispatch))) hr = E_FAIL;
    variantClear(&v);
    return hr;
  });
}

bool COlePropertyPageEx::SetFontProperty(gdi::LOGFONTA* font, const char* name) {
  COleFont source(font);
  return ForEachObject(name, [&](DispatchDriver& driver, DispId id) {
    Variant v;
    variantInit(&v);
    v.vt = VT_DISPATCH;
    v.dispatch = source.GetIDispatch(false);
    return driver.setProperty(id, v);
  });
}

void COlePropertyPageEx::ShowFontInfo(ui::Wnd* face, ui::Wnd* size, const gdi::LOGFONTA* font) {
  if (!font) return;
  if (face) face->SetWindowText(gdi::FaceNameOf(*font));
  if (size) size->SetWindowText(plat::formatInt(font->lfHeight));
}

void COlePropertyPageEx::ShowColorSwatch(ui::Wnd*, ui::Button* button, gdi::COLORREF color) {
  if (!button || !button->IsWindow()) return;
  gdi::Rect client;
  button->GetClientRect(&client);
  const int width = std::max(0, client.Width() - 8);
  const int height = std::max(0, client.Height() - 8);
  gdi::Bitmap swatch;
  if (width == 0 || height == 0 || !swatch.CreateBitmap(width, height)) {
    button->SetBitmap(gdi::Bitmap());
    return;
  }
  gdi::DC memory = gdi::DC::CreateCompatibleDC(nullptr);
  memory.SelectObject(swatch);
  gdi::Brush fill;
  fill.CreateSolidBrush(color);
  memory.SelectObject(fill);
  memory.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0)));
  memory.Rectangle(0, 0, width, height);
  memory.SelectObject(gdi::Bitmap());
  // The previous image goes with the value the button hands back.
  button->SetBitmap(swatch);
}

bool COlePropertyPageEx::ChooseColor(ui::Wnd* owner, gdi::COLORREF* color) {
  if (!color) return false;
  ui::ColorDialog dialog(*color, 0, owner);
  if (dialog.DoModal() != ui::IDOK) return false;
  *color = dialog.GetColor();
  return true;
}

void COlePropertyPageEx::FillLineWidthCombo(ui::ComboBox* combo, int width) {
  if (!combo) return;
  combo->ResetContent();
  int selected = -1;
  for (int i = 0; kLineWidths[i] != -1; ++i) {
    const int item = combo->AddString(plat::formatInt(i));
    combo->SetItemData(item, static_cast<ui::UINT_PTR>(kLineWidths[i]));
    if (selected < 0 && kLineWidths[i] >= width) selected = item;
  }
  combo->SetCurSel(selected);
}

bool COlePropertyPageEx::GetSelectedLineWidth(const ui::ComboBox* combo, int* width) {
  if (!combo || !width) return false;
  const int selected = combo->GetCurSel();
  if (selected < 0) return false;
  *width = static_cast<int>(combo->GetItemData(selected));
  return true;
}
