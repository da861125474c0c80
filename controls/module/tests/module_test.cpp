// libkarvel.so as the program uses it: loaded from its file, registered in the sandbox registry,
// its controls created by ProgID and class id, its type library found, and everything it wrote
// (and the user's "Start") removed by unregistering.
#include <gtest/gtest.h>

#include "common/guids.h"
#include "common/itablecontrol.h"
#include "foundation/profdesc.h"
#include "platform/base/tests/dynamic_symbols.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/driver.h"
#include "platform/com/library.h"
#include "platform/com/regkeys.h"
#include "platform/com/typelib.h"
#include "platform/ole/interfaces.h"
#include "platform/ole/proppage.h"
#include "platform/ui/responder.h"
#include "platform/registry/registry.h"
#include "platform/ui/app.h"
#include "profile/profile.h"

namespace {

using namespace plat::ole;
namespace reg = plat::reg;

constexpr char16_t kUserSection[] = u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0";
constexpr char16_t kMachineSection[] = u"HKEY_LOCAL_MACHINE\\Software\\Orvane\\KEDRUS Lite\\2.0";

HResult Call(const char* entry) {
  void* module = nullptr;
  EXPECT_EQ(loadModule(KARVEL_MODULE_PATH, true, &module), S_OK);
  auto* f = reinterpret_cast<HResult (*)()>(moduleSymbol(module, entry));
  return f ? f() : E_FAIL;
}

std::string ClassesText(const std::u16string& path) {
  plat::String16 text;
  return regkeys::readString(reg::kClassesRoot, path, u"", &text) ? plat::toUtf8(text) : "<none>";
}

// A DWORD of the module's section below root; -1 when it is not there.
std::int64_t Value(const char16_t* root, const char16_t* name) {
  COrvProfDesc desc(root, u"\\karvel");
  desc.SetAutoCreate(false);
  std::uint32_t value = 0;
  return OrvGetProfDWord(name, &value, 0, &desc) == PROF_OK ? std::int64_t(value) : -1;
}

class KarvelModule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { static ui::App app("KARVEL Module Test"); }
};

struct Control {
  const Guid* clsid;
  const char16_t* progId;
  const char* typeName;
  const char* bitmap;
};
const Control kControls[] = {
    {&CLSID_KnobControl, u"KARVEL.KnobControl.1", "Orvane Knob Control", "1"},
    {&CLSID_SoftButton, u"KARVEL.SoftButton.1", "Orvane Soft Button Control", "2"},
    {&CLSID_TableControl, u"KARVEL.TableControl.1", "Orvane Table Control", "3"},
    {&CLSID_StructureControl, u"KARVEL.StructureControl.1", "Orvane Structure Control", "4"},
    {&CLSID_ScrollControl, u"KARVEL.ScrollControl.1", "Orvane Spectrum Scroll Control", "6"},
};
const Guid* const kPages[] = {&CLSID_KnobPropPage,   &CLSID_SoftButtonPropPage, &CLSID_TablePropPage1,
                              &CLSID_TablePropPage2, &CLSID_StructPropPage,     &CLSID_FieldsPropPage};

TEST_F(KarvelModule, ExportsItsServerEntryPointsOnly) {
  const auto defined = plat_test::DynamicSymbols(KARVEL_MODULE_PATH, true);
  if (!defined) GTEST_SKIP() << "nm not available";
  std::vector<std::string> names;
  for (const auto& [name, kind] : *defined) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                             "DllUnregisterServer", "KedrusGetTypeLib", "KedrusModuleStart",
                                             "KedrusModuleStop"}));
}

TEST_F(KarvelModule, RegistersItsClassesAndCreatesThemByProgIdAndClassId) {
  // The machine-wide defaults a first start copies to the user.
  {
    COrvProfDesc machine(kMachineSection, u"\\karvel");
    ASSERT_EQ(OrvSetProfDWord(u"Background", 7, &machine), PROF_OK);
  }
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  EXPECT_EQ(Value(kUserSection, u"Start"), 2);
  EXPECT_EQ(Value(kUserSection, u"Background"), 7);

  for (const Control& c : kControls) {
    SCOPED_TRACE(plat::toUtf8(c.progId));
    const std::u16string key = u"CLSID\\" + guidToString(*c.clsid);
    EXPECT_EQ(ClassesText(key), c.typeName);
    EXPECT_EQ(ClassesText(key + u"\\MiscStatus\\1"), "131473");
    EXPECT_EQ(ClassesText(key + u"\\TypeLib"), plat::toUtf8(guidToString(LIBID_TAVRINLib)));
    EXPECT_EQ(ClassesText(key + u"\\Version"), "1.0");
    EXPECT_EQ(ClassesText(key + u"\\ToolboxBitmap32").substr(ClassesText(key + u"\\ToolboxBitmap32").size() - 1),
              c.bitmap);
    // Every control but the soft button is insertable.
    EXPECT_EQ(regkeys::exists(reg::kClassesRoot, key + u"\\Insertable"), *c.clsid != CLSID_SoftButton);
    Guid found;
    ASSERT_EQ(clsidFromProgId(c.progId, &found), S_OK);
    EXPECT_EQ(found, *c.clsid);
  }
  for (const Guid* page : kPages) EXPECT_NE(ClassesText(u"CLSID\\" + guidToString(*page)), "<none>");

  // Created by ProgID, the table answers ITableControl; the others are controls.
  Guid table;
  ASSERT_EQ(clsidFromProgId(u"KARVEL.TableControl.1", &table), S_OK);
  ITableControl* tableControl = nullptr;
  ASSERT_EQ(createInstance(table, nullptr, CLSCTX_INPROC_SERVER, IID_ITableControl,
                           reinterpret_cast<void**>(&tableControl)),
            S_OK);
  ASSERT_EQ(tableControl->SetTableSize(2, 2), S_OK);
  std::uint32_t columns = 0, rows = 0;
  ASSERT_EQ(tableControl->GetTableSize(&columns, &rows), S_OK);
  EXPECT_EQ(columns * rows, 4u);
  tableControl->Release();
  for (const Guid* clsid : {&CLSID_KnobControl, &CLSID_StructureControl, &CLSID_ScrollControl}) {
    IOleObject* object = nullptr;
    ASSERT_EQ(createInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object)),
              S_OK);
    plat::DWord status = 0;
    EXPECT_EQ(object->GetMiscStatus(1, &status), S_OK);
    EXPECT_EQ(status, 0x20191u);
    object->Release();
  }
  // A structure control starts with the defaults "Set As Default" wrote.
  {
    COrvProfDesc defaults(kUserSection, u"\\karvel\\Structure\\Properties");
    ASSERT_EQ(OrvSetProfDWord(u"StructLineWidth", 55, &defaults), PROF_OK);
    ASSERT_EQ(OrvSetProfDWord(u"Hollow", 0, &defaults), PROF_OK);
  }
  IDispatch* structure = nullptr;
  ASSERT_EQ(createInstance(CLSID_StructureControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                           reinterpret_cast<void**>(&structure)),
            S_OK);
  DispatchDriver driver(structure, true);
  Variant v;
  variantInit(&v);
  ASSERT_EQ(driver.getProperty(11, &v), S_OK);
  EXPECT_EQ(v.i32, 55);
  ASSERT_EQ(driver.getProperty(3, &v), S_OK);
  EXPECT_EQ(v.boolean, kVariantFalse);
  ASSERT_EQ(driver.getProperty(4, &v), S_OK);
  EXPECT_EQ(v.i32, 3);

  // The soft button and every property page are served too.
  for (const Guid* clsid : {&CLSID_SoftButton, &CLSID_KnobPropPage, &CLSID_SoftButtonPropPage, &CLSID_TablePropPage1,
                            &CLSID_TablePropPage2, &CLSID_StructPropPage, &CLSID_FieldsPropPage}) {
    IUnknown* object = nullptr;
    EXPECT_EQ(createInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
              S_OK);
    releaseInterface(object);
  }

  // The type library: five coclasses and ten interfaces.
  ITypeLib* lib = nullptr;
  ASSERT_EQ(loadRegTypeLib(LIBID_TAVRINLib, 1, 0, 0, &lib), S_OK);
  EXPECT_EQ(lib->GetTypeInfoCount(), 15u);
  ITypeInfo* info = nullptr;
  EXPECT_EQ(lib->GetTypeInfoOfGuid(DIID__DKnobEvents, &info), S_OK);
  releaseInterface(info);
  lib->Release();
}

TEST_F(KarvelModule, UnregisteringRemovesTheKeysAndStartSoTheNextStartCopiesTheDefaultsAgain) {
  {
    COrvProfDesc machine(kMachineSection, u"\\karvel");
    ASSERT_EQ(OrvSetProfDWord(u"Background", 7, &machine), PROF_OK);
  }
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  {
    COrvProfDesc user(kUserSection, u"\\karvel");
    ASSERT_EQ(OrvDeleteProfValue(u"Background", &user), PROF_OK);
  }
  ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
  EXPECT_EQ(Value(kUserSection, u"Start"), -1);
  for (const Control& c : kControls) {
    EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, u"CLSID\\" + guidToString(*c.clsid)));
    EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, c.progId));
  }
  for (const Guid* page : kPages) EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, u"CLSID\\" + guidToString(*page)));
  EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, u"TypeLib\\" + guidToString(LIBID_TAVRINLib)));
  EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, u"Interface\\" + guidToString(DIID__DTableControl)));
  Guid found;
  EXPECT_EQ(clsidFromProgId(u"KARVEL.TableControl.1", &found), CO_E_CLASSSTRING);

  // The module's next start copies the machine-wide defaults again.
  freeUnusedLibraries();
  EXPECT_FALSE(isModuleLoaded(KARVEL_MODULE_PATH));
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  EXPECT_EQ(Value(kUserSection, u"Start"), 2);
  EXPECT_EQ(Value(kUserSection, u"Background"), 7);
  EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
}

}  // namespace

TEST_F(KarvelModule, EachControlRegistersAndListsItsVerbsAndRefusesOthers) {
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  for (const Control& c : kControls) {
    SCOPED_TRACE(plat::toUtf8(c.progId));
    const bool button = *c.clsid == CLSID_SoftButton;
    const std::vector<std::string> wanted =
        button ? std::vector<std::string>{"&Properties...,0,2"} : std::vector<std::string>{"&Edit,0,2", "&Properties...,0,2"};
    const std::u16string key = u"CLSID\\" + guidToString(*c.clsid) + u"\\Verb\\";
    for (std::size_t n = 0; n < wanted.size(); ++n) EXPECT_EQ(ClassesText(key + plat::toUtf16(std::to_string(n))), wanted[n]);
    EXPECT_EQ(ClassesText(key + plat::toUtf16(std::to_string(wanted.size()))), "<none>");

    IOleObject* object = nullptr;
    ASSERT_EQ(createInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object)),
              S_OK);
    IEnumOleVerb* verbs = nullptr;
    ASSERT_EQ(object->EnumVerbs(&verbs), S_OK);
    ASSERT_NE(verbs, nullptr);
    std::vector<std::string> listed;
    OleVerb verb;
    std::uint32_t fetched = 0;
    while (verbs->Next(1, &verb, &fetched) == S_OK && fetched == 1) {
      EXPECT_EQ(verb.lVerb, static_cast<std::int32_t>(listed.size()));
      listed.push_back(plat::toUtf8(verb.lpszVerbName) + "," + std::to_string(verb.fuFlags) + "," +
                       std::to_string(verb.grfAttribs));
      taskMemFree(verb.lpszVerbName);
    }
    EXPECT_EQ(listed, wanted);
    // A clone walks from where the original stood; Reset starts over.
    IEnumOleVerb* copy = nullptr;
    ASSERT_EQ(verbs->Reset(), S_OK);
    ASSERT_EQ(verbs->Skip(1), S_OK);
    ASSERT_EQ(verbs->Clone(&copy), S_OK);
    EXPECT_EQ(copy->Next(1, &verb, &fetched), button ? S_FALSE : S_OK);
    if (fetched == 1) {
      EXPECT_EQ(verb.lVerb, 1);
      taskMemFree(verb.lpszVerbName);
    }
    copy->Release();
    verbs->Release();
    // A verb number past the control's list is refused and does nothing.
    EXPECT_EQ(object->DoVerb(static_cast<std::int32_t>(wanted.size()), nullptr, nullptr, -1, ui::kNoWnd, nullptr),
              OLEOBJ_S_INVALIDVERB);
    object->Release();
  }
}

namespace {

// The items of a page of the frame by id, the page shown first.
std::vector<int> PageItemIds(PropertyFrame& frame, int page) {
  std::vector<int> ids;
  if (!frame.SetActivePage(page)) return ids;
  ui::Wnd* dialog = frame.PageArea() ? frame.PageArea()->GetTopWindow() : nullptr;
  while (dialog && !dialog->IsWindowVisible()) dialog = dialog->GetNextWindow();  // the shown page
  for (ui::Wnd* child = dialog ? dialog->GetTopWindow() : nullptr; child; child = child->GetNextWindow())
    ids.push_back(child->GetDlgCtrlID());
  return ids;
}

bool Holds(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST_F(KarvelModule, ThePropertyPagesShowTheirFieldsWhenTheModuleMakesThem) {
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  struct Expected {
    const Guid* clsid;
    std::vector<std::pair<std::string, int>> pages;  // caption and one item of each page
  };
  const Expected controls[] = {
      {&CLSID_TableControl, {{"Size && Position", 208}, {"Cells", 216}}},
      {&CLSID_StructureControl, {{"Structure", 227}, {"Fields", 231}}},
      {&CLSID_KnobControl, {{"General", -1}}},
      {&CLSID_SoftButton, {{"General", -1}}},
  };
  for (const Expected& c : controls) {
    SCOPED_TRACE(plat::toUtf8(guidToString(*c.clsid)));
    IOleObject* object = nullptr;
    ASSERT_EQ(createInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object)),
              S_OK);
    ui::ScriptedResponder responder(true);
    bool shown = false;
    responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) -> int {
      auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
      EXPECT_NE(frame, nullptr);
      if (!frame) return ui::IDCANCEL;
      shown = true;
      EXPECT_EQ(frame->PageCount(), static_cast<int>(c.pages.size()));
      for (int i = 0; i < frame->PageCount() && i < static_cast<int>(c.pages.size()); ++i) {
        PropPageInfo info;
        EXPECT_EQ(frame->Page(i)->GetPageInfo(&info), S_OK);
        EXPECT_EQ(plat::toUtf8(info.pszTitle ? stringView(info.pszTitle) : std::u16string_view()), c.pages[i].first);
        EXPECT_GT(info.size.cx, 0);
        freeString(info.pszTitle);
        freeString(info.pszDocString);
        freeString(info.pszHelpFile);
        const std::vector<int> ids = PageItemIds(*frame, i);
        EXPECT_FALSE(ids.empty()) << "page " << i << " shows nothing";
        if (c.pages[i].second >= 0) {
          EXPECT_TRUE(Holds(ids, c.pages[i].second)) << "page " << i << " items " << testing::PrintToString(ids);
        }
      }
      return ui::IDCANCEL;
    });
    EXPECT_EQ(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, ui::kNoWnd, nullptr), S_OK);
    EXPECT_TRUE(shown);
    object->Release();
  }
}

}  // namespace
