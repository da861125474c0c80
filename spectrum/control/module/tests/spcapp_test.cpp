// The module object: where its INI file lies, its macro list from the INI file and the
// registry, the dialogs' folders across a start and a shutdown, the property-page list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/registry/registry_testing.h"
#include "profile/profile.h"
#include "spectrum/control/module/spcapp.h"

namespace {

std::string Scratch() {
  const char* dir = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = dir && *dir ? dir : "/tmp";
  plat::makeDirectories(base);
  return base;
}

class SpcAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::reg::resetForTesting();
    ASSERT_TRUE(app.InitInstance());
  }
  void TearDown() override { plat::reg::resetForTesting(); }

  static void SetRegistryMacro(const char16_t* name, const char16_t* body) {
    COrvProfDesc desc(u"", u"Macros");
    ASSERT_EQ(OrvSetProfString(name, body, &desc), PROF_OK);
  }
  CSpcApp app;
};

TEST_F(SpcAppTest, RegistryMacrosReplaceIniMacrosOfTheSameNameAndFollowTheRest) {
  const std::string ini = plat::joinPath(Scratch(), "macros.ini");
  ASSERT_TRUE(plat::writeFileAtomic(ini, "[MACROS]\nPhase=AP;QP\nStartup=FT;AP\nPhase=ZP\n"));
  SetRegistryMacro(u"PHASE", u"QP");
  SetRegistryMacro(u"Clean", u"DI;DSP");
  SetRegistryMacro(std::u16string(300, u'L').c_str(), u"FT");  // a long name is read whole
  app.LoadMacros(ini);

  ASSERT_EQ(app.m_macroNames.size(), 5u);
  EXPECT_EQ(app.m_macroNames[0], "Phase");
  EXPECT_EQ(app.m_macroBodies[0], "QP");
  EXPECT_EQ(app.m_macroNames[1], "Startup");
  EXPECT_EQ(app.m_macroBodies[1], "FT;AP");
  // Two INI entries of one name both enter, each with what reading that name gives.
  EXPECT_EQ(app.m_macroNames[2], "Phase");
  EXPECT_EQ(app.m_macroBodies[2], "AP;QP");
  EXPECT_EQ(app.m_macroNames[3], "Clean");
  EXPECT_EQ(app.m_macroNames[4], std::string(300, 'L'));
  EXPECT_EQ(app.FindMacro("clean"), 3);
  EXPECT_EQ(app.FindMacro("none"), -1);

  app.LoadMacros(plat::joinPath(Scratch(), "missing.ini"));
  EXPECT_EQ(app.m_macroNames.size(), 3u);
}

TEST_F(SpcAppTest, TheDialogFoldersStartAtHomeAndSurviveAShutdown) {
  EXPECT_EQ(app.m_loadDirectory, plat::homeDirectory());
  EXPECT_EQ(app.m_saveDirectory, plat::homeDirectory());
  app.m_loadDirectory = "/data/in";
  app.m_saveDirectory = "/data/out";
  app.ExitInstance();

  CSpcApp next;
  ASSERT_TRUE(next.InitInstance());
  EXPECT_EQ(next.m_loadDirectory, "/data/in");
  EXPECT_EQ(next.m_saveDirectory, "/data/out");
  plat::String16 stored;
  COrvProfDesc desc(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0", u"\\nelvar_app_tests");
  EXPECT_EQ(OrvGetProfCString(u"Load Directory", &stored, u"", &desc), PROF_OK);
  EXPECT_EQ(stored, u"/data/in");
}

TEST(SpcAppPages, ThirteenPagesInTheirOrderOnEveryCall) {
  const auto pages = SpcPropPageIds();
  ASSERT_EQ(pages.size(), 13u);
  EXPECT_EQ(*pages[0], CLSID_GeneralPropPage);
  EXPECT_EQ(*pages[3], CLSID_ScaleYPropPage);
  EXPECT_EQ(*pages[12], CLSID_MiscPropPage);
  EXPECT_EQ(SpcPropPageIds().data(), pages.data());
}

}  // namespace
