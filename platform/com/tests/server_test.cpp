// A server module registers itself, is created by class id through its module, answers
// QueryInterface by the rules, counts its objects and locks, and unregisters cleanly.
#include <stdlib.h>

#include <cmath>
#include <cstdio>

#include "platform/com/automation.h"
#include "platform/com/server.h"
#include "platform/com/tests/com_fixture.h"

namespace comtest {
namespace {

using sample::CLSID_Sample;
using sample::CLSID_SamplePage;
using sample::ISample;

std::u16string key(const Guid& clsid) { return u"CLSID\\" + guidToString(clsid); }

std::string realPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  std::string out = resolved ? resolved : path;
  std::free(resolved);
  return out;
}

TEST_F(SampleServer, RegistrationWritesTheClassAndTypeLibraryKeys) {
  const std::string path = realPath(samplePath());
  const std::u16string control = key(CLSID_Sample);
  EXPECT_EQ(classesText(control), "Sample Control");
  EXPECT_EQ(classesText(control + u"\\InprocServer32"), path);
  EXPECT_EQ(classesText(control + u"\\InprocServer32", u"ThreadingModel"), "Apartment");
  EXPECT_EQ(classesText(control + u"\\ProgID"), sample::kSampleProgId);
  EXPECT_EQ(classesText(control + u"\\MiscStatus"), "0");
  EXPECT_EQ(classesText(control + u"\\MiscStatus\\1"), "131473");  // 0x20191
  EXPECT_EQ(classesText(control + u"\\TypeLib"), guidToString8(sample::LIBID_SampleLib));
  EXPECT_EQ(classesText(control + u"\\Version"), "1.0");
  EXPECT_EQ(classesText(control + u"\\ToolboxBitmap32"), path + ", 1");
  EXPECT_TRUE(regkeys::exists(reg::kClassesRoot, control + u"\\Control"));
  EXPECT_TRUE(regkeys::exists(reg::kClassesRoot, control + u"\\Insertable"));
  const std::u16string progId = plat::toUtf16(sample::kSampleProgId);
  EXPECT_EQ(classesText(progId), "Sample Control");
  EXPECT_EQ(classesText(progId + u"\\CLSID"), guidToString8(CLSID_Sample));
  EXPECT_TRUE(regkeys::exists(reg::kClassesRoot, progId + u"\\Insertable"));

  // A property page is a plain class: no control keys, not insertable.
  const std::u16string page = key(CLSID_SamplePage);
  EXPECT_EQ(classesText(page), "Sample Property Page");
  EXPECT_EQ(classesText(page + u"\\InprocServer32"), path);
  EXPECT_EQ(classesText(page + u"\\ProgID"), sample::kSamplePageProgId);
  for (const char16_t* absent : {u"\\Control", u"\\MiscStatus", u"\\Insertable", u"\\TypeLib"})
    EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, page + absent)) << plat::toUtf8(absent);

  const std::u16string lib = u"TypeLib\\" + guidToString(sample::LIBID_SampleLib) + u"\\1.0";
  EXPECT_EQ(classesText(lib), "Sample control module");
  EXPECT_EQ(classesText(lib + u"\\409\\linux"), path);
  EXPECT_EQ(classesText(lib + u"\\FLAGS"), "0");
  EXPECT_EQ(classesText(lib + u"\\HELPDIR"), std::string(plat::pathDirectory(path)));
  const std::u16string dispatch = u"Interface\\" + guidToString(sample::DIID__DSample);
  EXPECT_EQ(classesText(dispatch), "_DSample");
  EXPECT_EQ(classesText(dispatch + u"\\TypeLib"), guidToString8(sample::LIBID_SampleLib));
  EXPECT_EQ(classesText(dispatch + u"\\TypeLib", u"Version"), "1.0");

  Guid found;
  EXPECT_EQ(clsidFromProgId(u"kedrussample.object.1", &found), S_OK);
  EXPECT_EQ(found, CLSID_Sample);
  plat::String16 name;
  EXPECT_EQ(progIdFromClsid(CLSID_Sample, &name), S_OK);
  EXPECT_EQ(plat::toUtf8(name), sample::kSampleProgId);
}

TEST_F(SampleServer, UnregistrationRemovesEveryKeyItWrote) {
  ASSERT_EQ(call("DllUnregisterServer"), S_OK);
  for (const std::u16string& gone :
       {key(CLSID_Sample), key(CLSID_SamplePage), plat::toUtf16(sample::kSampleProgId),
        plat::toUtf16(sample::kSamplePageProgId), u"TypeLib\\" + guidToString(sample::LIBID_SampleLib),
        u"Interface\\" + guidToString(sample::DIID__DSample), u"Interface\\" + guidToString(sample::DIID__DSampleEvents)})
    EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, gone)) << plat::toUtf8(gone);
  Guid found;
  EXPECT_EQ(clsidFromProgId(plat::toUtf16(sample::kSampleProgId), &found), CO_E_CLASSSTRING);
  Ref<ITypeLib> lib;
  EXPECT_EQ(loadRegTypeLib(sample::LIBID_SampleLib, 1, 0, 0, lib.put()), TYPE_E_LIBNOTREGISTERED);
  Ref<IUnknown> object;
  EXPECT_EQ(createInstance(CLSID_Sample, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(object);
  // Unregistering what is not there succeeds; the tear-down does it once more.
}

TEST_F(SampleServer, CreatedByClassIdThroughItsModule) {
  Ref<ISample> object = createSample<ISample>(sample::IID_ISample);
  ASSERT_TRUE(object);
  EXPECT_TRUE(isModuleLoaded(samplePath()));
  ASSERT_EQ(object->SetNumber(7), S_OK);
  std::int32_t n = 0;
  ASSERT_EQ(object->GetNumber(&n), S_OK);
  EXPECT_EQ(n, 7);

  // By ProgID, a second object of its own; the module started once.
  Guid clsid;
  ASSERT_EQ(clsidFromProgId(plat::toUtf16(sample::kSampleProgId), &clsid), S_OK);
  Ref<ISample> second;
  ASSERT_EQ(createInstance(clsid, nullptr, CLSCTX_SERVER, sample::IID_ISample, second.out()), S_OK);
  EXPECT_NE(second.get(), object.get());
  ASSERT_EQ(second->GetNumber(&n), S_OK);
  EXPECT_EQ(n, 0);
  std::int32_t starts = 0;
  ASSERT_EQ(second->GetModuleStarts(&starts), S_OK);
  EXPECT_EQ(starts, 1);

  // Only in-process servers exist.
  Ref<IUnknown> remote;
  EXPECT_EQ(createInstance(CLSID_Sample, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, remote.out()), REGDB_E_CLASSNOTREG);
}

TEST_F(SampleServer, QueryInterfaceFollowsTheRules) {
  Ref<ISample> custom = createSample<ISample>(sample::IID_ISample);
  ASSERT_TRUE(custom);
  Ref<IDispatch> dispatch;
  Ref<IConnectionPointContainer> points;
  Ref<IUnknown> unknownA, unknownB, unknownC;
  // Symmetry and transitivity: custom -> dispatch -> container, and back again.
  ASSERT_EQ(custom.query(IID_IDispatch, &dispatch), S_OK);
  ASSERT_EQ(dispatch.query(IID_IConnectionPointContainer, &points), S_OK);
  Ref<ISample> back;
  ASSERT_EQ(points.query(sample::IID_ISample, &back), S_OK);
  EXPECT_EQ(back.get(), custom.get());
  Ref<IConnectionPointContainer> direct;
  ASSERT_EQ(custom.query(IID_IConnectionPointContainer, &direct), S_OK);
  EXPECT_EQ(direct.get(), points.get());
  // Reflexivity.
  Ref<ISample> self;
  ASSERT_EQ(custom.query(sample::IID_ISample, &self), S_OK);
  EXPECT_EQ(self.get(), custom.get());
  // Identity: one IUnknown whichever interface is asked.
  ASSERT_EQ(custom.query(IID_IUnknown, &unknownA), S_OK);
  ASSERT_EQ(dispatch.query(IID_IUnknown, &unknownB), S_OK);
  ASSERT_EQ(points.query(IID_IUnknown, &unknownC), S_OK);
  EXPECT_EQ(unknownA.get(), unknownB.get());
  EXPECT_EQ(unknownA.get(), unknownC.get());
  EXPECT_NE(static_cast<void*>(unknownA.get()), static_cast<void*>(custom.get()));
  // The dispatch interface's own id gives the IDispatch.
  Ref<IDispatch> byDiid;
  ASSERT_EQ(custom.query(sample::DIID__DSample, &byDiid), S_OK);
  EXPECT_EQ(byDiid.get(), dispatch.get());

  // One reference count behind every interface.
  const std::uint32_t before = custom->AddRef();
  EXPECT_EQ(dispatch->AddRef(), before + 1);
  EXPECT_EQ(points->Release(), before);
  EXPECT_EQ(unknownA->Release(), before - 1);

  void* none = &none;
  EXPECT_EQ(custom->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(custom->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
}

TEST_F(SampleServer, TheModuleCountsObjectsAndLocksAndUnloadsWhenIdle) {
  EXPECT_EQ(canUnloadNow(), S_OK);
  {
    Ref<IUnknown> object = createSample<IUnknown>(IID_IUnknown);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(canUnloadNow(), S_OK);

  Ref<IClassFactory> factory;
  ASSERT_EQ(getClassObject(CLSID_Sample, CLSCTX_INPROC_SERVER, IID_IClassFactory, factory.out()), S_OK);
  EXPECT_EQ(canUnloadNow(), S_FALSE);  // a factory held keeps the module
  ASSERT_EQ(factory->LockServer(1), S_OK);
  {
    // Aggregation is refused, and the refused object does not stay.
    Ref<IUnknown> outer = createSample<IUnknown>(IID_IUnknown);
    Ref<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, object.out()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(object);
  }
  factory.reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE);  // the lock alone keeps it
  freeUnusedLibraries();
  EXPECT_TRUE(isModuleLoaded(samplePath()));

  ASSERT_EQ(getClassObject(CLSID_Sample, CLSCTX_INPROC_SERVER, IID_IClassFactory, factory.out()), S_OK);
  ASSERT_EQ(factory->LockServer(0), S_OK);
  factory.reset();
  EXPECT_EQ(canUnloadNow(), S_OK);

  // A class the module does not serve.
  using GetClassObjectFn = HResult (*)(const Guid&, const Guid&, void**);
  auto* get = reinterpret_cast<GetClassObjectFn>(moduleSymbol(SampleModule::handle(), "DllGetClassObject"));
  void* none = nullptr;
  EXPECT_EQ(get(sample::IID_ISample, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);

  freeUnusedLibraries();
  EXPECT_FALSE(isModuleLoaded(samplePath()));
  // Created again, it loads again.
  Ref<IUnknown> again = createSample<IUnknown>(IID_IUnknown);
  EXPECT_TRUE(again);
  EXPECT_TRUE(isModuleLoaded(samplePath()));
}

TEST_F(SampleServer, ALibraryLoadedByTheProgramStaysUntilItsLastHoldIsFreed) {
  freeUnusedLibraries();
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(loadLibrary(samplePath(), &first), S_OK);
  ASSERT_EQ(loadLibrary(samplePath(), &second), S_OK);
  EXPECT_EQ(first, second);
  EXPECT_NE(moduleSymbol(first, "DllGetClassObject"), nullptr);
  freeUnusedLibraries();  // idle, but held
  EXPECT_TRUE(isModuleLoaded(samplePath()));
  freeLibrary(first);
  EXPECT_TRUE(isModuleLoaded(samplePath()));
  freeLibrary(second);
  EXPECT_FALSE(isModuleLoaded(samplePath()));
  freeLibrary(second);  // a stale handle changes nothing
  void* missing = &first;
  EXPECT_EQ(loadLibrary("/nonexistent/ABOUT.DLL", &missing), CO_E_DLLNOTFOUND);
  EXPECT_EQ(missing, nullptr);
}

// A fake registered in the process's class table, as tests do.
class Fake final : public ComObject {
 public:
  static inline int created = 0;
  Fake() { ++created; }
};

TEST_F(SampleServer, TheInProcessClassTableServesBeforeTheRegistry) {
  Ref<IClassFactory> fakeFactory;
  ASSERT_EQ(ClassFactory::create(&createObject<Fake>, IID_IClassFactory, fakeFactory.out()), S_OK);
  DWord cookie = 0;
  ASSERT_EQ(registerClassObject(CLSID_Sample, fakeFactory.get(), &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  Fake::created = 0;
  {
    Ref<IUnknown> object;
    ASSERT_EQ(createInstance(CLSID_Sample, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), S_OK);
    EXPECT_EQ(Fake::created, 1);
    Ref<ISample> notAFake;
    EXPECT_EQ(object.query(sample::IID_ISample, &notAFake), E_NOINTERFACE);
  }
  // A class only the table knows.
  const Guid unregistered = guid("{5A1D0E55-0000-4000-8000-00000000FA4E}");
  DWord cookie2 = 0;
  ASSERT_EQ(registerClassObject(unregistered, fakeFactory.get(), &cookie2), S_OK);
  EXPECT_NE(cookie2, cookie);
  Ref<IUnknown> object;
  ASSERT_EQ(createInstance(unregistered, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.out()), S_OK);
  EXPECT_EQ(Fake::created, 2);
  object.reset();

  ASSERT_EQ(revokeClassObject(cookie), S_OK);
  ASSERT_EQ(revokeClassObject(cookie2), S_OK);
  EXPECT_EQ(revokeClassObject(cookie2), E_INVALIDARG);
  EXPECT_EQ(createInstance(unregistered, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.out()), REGDB_E_CLASSNOTREG);
  Ref<ISample> real = createSample<ISample>(sample::IID_ISample);
  EXPECT_TRUE(real);
  EXPECT_EQ(Fake::created, 2);
}

TEST(Creation, AClassWhoseModuleIsMissingOrBrokenFailsCleanly) {
  const Guid missing = guid("{5A1D0E55-0000-4000-8000-0000000DEAD0}");
  const std::u16string k = key(missing);
  const plat::String16 nowhere = u"/nonexistent/libgone.so";
  const plat::String16 notAServer = plat::toUtf16(COM_REGSERVER_TOOL);  // a file, but no module
  Ref<IUnknown> object;
  EXPECT_EQ(createInstance(missing, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, k + u"\\InprocServer32", &nowhere), reg::Status::Success);
  EXPECT_EQ(createInstance(missing, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), CO_E_DLLNOTFOUND);
  ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, k + u"\\InprocServer32", &notAServer), reg::Status::Success);
  EXPECT_EQ(createInstance(missing, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), CO_E_DLLNOTFOUND);
  // A library that loads but serves nothing.
  const plat::String16 mathLibrary = plat::toUtf16(plat::moduleFileName(reinterpret_cast<const void*>(&::cos)));
  ASSERT_FALSE(mathLibrary.empty());
  ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, k + u"\\InprocServer32", &mathLibrary), reg::Status::Success);
  EXPECT_EQ(createInstance(missing, nullptr, CLSCTX_ALL, IID_IUnknown, object.out()), CO_E_ERRORINDLL);
  EXPECT_FALSE(object);
  ASSERT_EQ(regkeys::deleteTree(reg::kClassesRoot, k), reg::Status::Success);
}

// Runs the registration tool; its output and exit status.
std::string runTool(const std::string& arguments) {
  const std::string command = std::string(COM_REGSERVER_TOOL) + " " + arguments + " 2>&1; echo \"rc=$?\"";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return "<no pipe>";
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  ::pclose(pipe);
  return out;
}

TEST(RegistrationTool, RegistersAndUnregistersAModulesClasses) {
  const std::string path = realPath(samplePath());
  EXPECT_EQ(runTool("'" + path + "'"), "DllRegisterServer in " + path + " succeeded.\nrc=0\n");
  EXPECT_EQ(classesText(key(CLSID_Sample) + u"\\InprocServer32"), path);
  // Registered by another process, the class is created here.
  Ref<ISample> object;
  EXPECT_EQ(createInstance(CLSID_Sample, nullptr, CLSCTX_INPROC_SERVER, sample::IID_ISample, object.out()), S_OK);
  object.reset();

  EXPECT_EQ(runTool("-u -s '" + path + "'"), "rc=0\n");
  EXPECT_FALSE(regkeys::exists(reg::kClassesRoot, key(CLSID_Sample)));
  EXPECT_EQ(runTool("/nonexistent/libnothing.so"), "/nonexistent/libnothing.so could not be loaded.\nrc=3\n");
  EXPECT_EQ(runTool(""), "usage: regserver [-u] [-s] MODULE...\nrc=1\n");
}

TEST(ModulePaths, PlatformNamesMapToOursInTheInstallDirectory) {
  const std::string dir(plat::pathDirectory(plat::moduleFileName(reinterpret_cast<const void*>(&resolveModulePath))));
  EXPECT_EQ(resolveModulePath("NELVAR.DLL"), dir + "/libnelvar.so");
  EXPECT_EQ(resolveModulePath("libabout.so"), dir + "/libabout.so");
  // A path keeps its directory; the platform's file name at its end becomes ours, whichever
  // separator joins it (a program joins its install path and "\\ABOUT.DLL").
  EXPECT_EQ(resolveModulePath("/opt/x/ABOUT.DLL"), "/opt/x/libabout.so");
  EXPECT_EQ(resolveModulePath("/opt/x\\About.dll"), "/opt/x/libabout.so");
  EXPECT_EQ(resolveModulePath("/opt/x/libother.so"), "/opt/x/libother.so");
  EXPECT_EQ(resolveModulePath("/opt/x/.dll"), "/opt/x/.dll");
}

}  // namespace
}  // namespace comtest
