// spchost commands of the control's dispatch interface and property sets:
//   members NAME                      every member the type information lists, as
//                                     "property|method ID NAME TYPE", checked against GetIDsOfNames
//   get NAME PROPERTY                 a property read through Invoke
//   put NAME PROPERTY VALUE...        a property written through Invoke: a number (0x for hex),
//                                     a text, or for a font "FACE HEIGHT"
//   propset NAME [N [redraw]]         ISaItem: selects set N (redraw when asked), prints the set
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "controls/font/olefont.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/com/typeinfo.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

using namespace plat::ole;

std::string Utf8(const char16_t* text) { return text ? plat::toUtf8(stringView(text)) : std::string(); }

// The control's IDispatch, owned by the driver.
void Attach(Host& host, const std::string& name, DispatchDriver* driver) {
  driver->attach(host.Interface<IDispatch>(host.Item(name), IID_IDispatch), true);
}

std::string TypeName(ITypeInfo* info, const TypeDesc& type) {
  if (type.vt == VT_PTR) return TypeName(info, *type.lptdesc) + "*";
  if (type.vt != VT_USERDEFINED) {
    switch (type.vt) {
      case VT_I2: return "I2";
      case VT_I4: return "I4";
      case VT_BOOL: return "BOOL";
      case VT_BSTR: return "BSTR";
      case VT_VOID: return "void";
      default: return "vt" + std::to_string(type.vt);
    }
  }
  ITypeInfo* ref = nullptr;
  if (failed(info->GetRefTypeInfo(type.hreftype, &ref))) return "?";
  Bstr name = nullptr;
  ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  std::string text = Utf8(name);
  freeString(name);
  ref->Release();
  return text;
}

std::string MemberName(ITypeInfo* info, MemberId id) {
  Bstr name = nullptr;
  std::uint32_t count = 0;
  info->GetNames(id, &name, 1, &count);
  std::string text = Utf8(name);
  freeString(name);
  return text;
}

ITypeInfo* TypeInfoOf(DispatchDriver& driver) {
  ITypeInfo* info = nullptr;
  if (failed(driver.get()->GetTypeInfo(0, 0, &info)) || !info) Fail("the control has no type information");
  return info;
}

void CheckName(DispatchDriver& driver, const std::string& name, MemberId id) {
  DispId found = 0;
  if (failed(driver.idOfName(plat::toUtf16(name), &found)) || found != id)
    Fail("GetIDsOfNames gives " + name + " another id than the type information");
}

void Members(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 2) Fail("members NAME");
  DispatchDriver driver;
  Attach(host, w[1], &driver);
  ITypeInfo* info = TypeInfoOf(driver);
  TypeAttr* attr = nullptr;
  info->GetTypeAttr(&attr);
  for (std::uint32_t i = 0; attr && i < attr->cVars; ++i) {
    VarDesc* var = nullptr;
    if (failed(info->GetVarDesc(i, &var))) continue;
    const std::string name = MemberName(info, var->memid);
    CheckName(driver, name, var->memid);
    std::printf("property %d %s %s\n", var->memid, name.c_str(), TypeName(info, var->elemdescVar.tdesc).c_str());
    info->ReleaseVarDesc(var);
  }
  for (std::uint32_t i = 0; attr && i < attr->cFuncs; ++i) {
    FuncDesc* func = nullptr;
    if (failed(info->GetFuncDesc(i, &func))) continue;
    const std::string name = MemberName(info, func->memid);
    CheckName(driver, name, func->memid);
    std::printf("method %d %s %s\n", func->memid, name.c_str(), TypeName(info, func->elemdescFunc.tdesc).c_str());
    info->ReleaseFuncDesc(func);
  }
  if (attr) info->ReleaseTypeAttr(attr);
  info->Release();
}

DispId IdOf(DispatchDriver& driver, const std::string& name) {
  DispId id = 0;
  if (failed(driver.idOfName(plat::toUtf16(name), &id))) Fail("no member named " + name);
  return id;
}

std::string FontText(IDispatch* font) {
  DispatchDriver driver(font);
  Variant name, size;
  variantInit(&name);
  variantInit(&size);
  driver.getProperty(IdOf(driver, "Name"), &name);
  driver.getProperty(IdOf(driver, "Size"), &size);
  std::string text = Utf8(name.vt == VT_BSTR ? name.bstr : nullptr) + " " +
                     std::to_string(size.vt == VT_CY ? size.cy / 10000 : 0);
  variantClear(&name);
  variantClear(&size);
  driver.detach();
  return text;
}

void Get(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 3) Fail("get NAME PROPERTY");
  DispatchDriver driver;
  Attach(host, w[1], &driver);
  Variant value;
  variantInit(&value);
  if (failed(driver.getProperty(IdOf(driver, w[2]), &value))) Fail("the property cannot be read");
  std::string text;
  switch (value.vt) {
    case VT_I4: text = std::to_string(value.i32); break;
    case VT_I2: text = std::to_string(value.i16); break;
    case VT_BOOL: text = std::to_string(value.boolean); break;
    case VT_BSTR: text = value.bstr ? "\"" + Utf8(value.bstr) + "\"" : "null"; break;
    case VT_DISPATCH: text = value.dispatch ? FontText(value.dispatch) : "null"; break;
    default: text = "vt" + std::to_string(value.vt); break;
  }
  variantClear(&value);
  std::printf("%s = %s\n", w[2].c_str(), text.c_str());
}

void Put(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 4) Fail("put NAME PROPERTY VALUE...");
  DispatchDriver driver;
  Attach(host, w[1], &driver);
  const DispId id = IdOf(driver, w[2]);
  std::string joined;
  for (std::size_t i = 3; i < w.size(); ++i) joined += (i > 3 ? " " : "") + w[i];
  // A font property takes "FACE HEIGHT" through a font object of its own.
  gdi::LOGFONTA record;
  COleFont font(&record);
  Variant current;
  variantInit(&current);
  const bool isFont = succeeded(driver.getProperty(id, &current)) && current.vt == VT_DISPATCH;
  variantClear(&current);
  Variant value;
  variantInit(&value);
  char* end = nullptr;
  const long long number = std::strtoll(joined.c_str(), &end, 0);
  if (isFont) {
    if (w.size() != 5) Fail("a font is given as FACE HEIGHT");
    std::snprintf(record.lfFaceName, sizeof record.lfFaceName, "%s", w[3].c_str());
    record.lfHeight = Int(w[4]);
    value.vt = VT_DISPATCH;
    value.dispatch = font.GetIDispatch(false);
  } else if (!joined.empty() && end && !*end) {
    value.vt = VT_I4;
    value.i32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
  } else {
    value.vt = VT_BSTR;
    value.bstr = allocString(plat::toUtf16(joined));
  }
  const HResult hr = driver.setProperty(id, value);
  if (!isFont) variantClear(&value);
  if (failed(hr)) Fail("the property cannot be written: " + std::to_string(hr));
}

void PropertySet(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 2 || w.size() > 4) Fail("propset NAME [N [redraw]]");
  auto* item = host.Interface<ISaItem>(host.Item(w[1]), IID_ISaItem);
  if (w.size() >= 3) item->SelectPropertySet(static_cast<std::uint32_t>(Int(w[2])), w.size() == 4 && w[3] == "redraw");
  std::uint32_t set = 0;
  item->GetPropertySet(&set);
  item->Release();
  std::printf("property set %u\n", set);
}

const Command kDispatchCommands[] = {
    {"members", "NAME", Members},
    {"get", "NAME PROPERTY", Get},
    {"put", "NAME PROPERTY VALUE...", Put},
    {"propset", "NAME [N [redraw]]", PropertySet},
};
SPCHOST_COMMANDS(kDispatchCommands);

}  // namespace
}  // namespace spchost
