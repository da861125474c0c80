// The program's command line over the class library's.
#include "rodizora/app/sacmdline.h"

#include <gtest/gtest.h>

namespace {

CSaCmdLineInfo Parse(const std::vector<std::string>& args) {
  CSaCmdLineInfo info;
  ui::ParseCommandLine(info, args);
  return info;
}

TEST(CommandLine, FileAndOwnSwitches) {
  const CSaCmdLineInfo plain = Parse({});
  EXPECT_EQ(plain.m_nShellCommand, ui::CommandLineInfo::FileNew);
  EXPECT_TRUE(plain.m_strFileName.empty());

  const CSaCmdLineInfo process = Parse({"/data/ethyl.dx", "-PROCESS", "EM;FT;APK"});
  EXPECT_EQ(process.m_nShellCommand, ui::CommandLineInfo::FileOpen);
  EXPECT_EQ(process.m_strFileName, "/data/ethyl.dx");  // "/" starts a path, not a switch
  EXPECT_EQ(process.m_strProcessCommands, "EM;FT;APK");

  const CSaCmdLineInfo sdf = Parse({"-sdf", "/db/mols.sdf", "/data/X123.fid"});
  EXPECT_EQ(sdf.m_strSdfFileName, "/db/mols.sdf");
  EXPECT_EQ(sdf.m_strFileName, "/data/X123.fid");
  EXPECT_EQ(sdf.m_nShellCommand, ui::CommandLineInfo::FileOpen);

  const CSaCmdLineInfo repeated = Parse({"-Process", "EM", "a.dx", "-PROCESS", "FT", "-PROCESS"});
  EXPECT_EQ(repeated.m_strProcessCommands, "FT");
  EXPECT_EQ(repeated.m_strFileName, "a.dx");
  EXPECT_EQ(repeated.m_nShellCommand, ui::CommandLineInfo::FileOpen);

  // Another switch ends a pending one: the next argument is the file.
  const CSaCmdLineInfo other = Parse({"-SDF", "-Embedding", "b.dx"});
  EXPECT_TRUE(other.m_strSdfFileName.empty());
  EXPECT_EQ(other.m_strFileName, "b.dx");
  EXPECT_TRUE(other.m_bRunEmbedded);
}

TEST(CommandLine, ClassLibrarySwitches) {
  const CSaCmdLineInfo embedded = Parse({"-Embedding"});
  EXPECT_TRUE(embedded.m_bRunEmbedded);
  EXPECT_FALSE(embedded.m_bShowSplash);
  EXPECT_EQ(embedded.m_nShellCommand, ui::CommandLineInfo::FileNew);
  EXPECT_TRUE(Parse({"-automation"}).m_bRunAutomated);
  EXPECT_EQ(Parse({"-p", "a.dx"}).m_nShellCommand, ui::CommandLineInfo::FilePrint);
  const CSaCmdLineInfo printTo = Parse({"-pt", "a.dx", "printer", "driver", "port"});
  EXPECT_EQ(printTo.m_nShellCommand, ui::CommandLineInfo::FilePrintTo);
  EXPECT_EQ(printTo.m_strPrinterName, "printer");
  EXPECT_EQ(printTo.m_strPortName, "port");
  EXPECT_EQ(Parse({"-Unregserver"}).m_nShellCommand, ui::CommandLineInfo::AppUnregister);
  EXPECT_EQ(Parse({"-RegServer"}).m_nShellCommand, ui::CommandLineInfo::AppRegister);
  // A lone "-" is an argument.
  EXPECT_EQ(Parse({"-"}).m_strFileName, "-");
}

}  // namespace
