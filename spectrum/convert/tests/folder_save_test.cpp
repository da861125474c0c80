// Saving over a stored spectrum: wherever the save stops, the folder holds the old spectrum or
// the new one, whole; what stopped saves leave behind goes once it is stale.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <random>
#include <set>
#include <thread>

#include "folder_test_util.h"
#include "foundation/profdesc.h"
#include "platform/base/tempname_testing.h"
#include "platform/base/text.h"
#include "profile/profile.h"

using namespace folder_test;

namespace {

// The two spectra a save replaces one by the other: they differ in kind of point files (the
// old one has a fid, the new one has none), sizes, values and parameters.
struct Version {
  std::string title;
  std::vector<CSpcPoint> fid, spectrum;
};
const Version kOld{"old", Ramp(16), Ramp(16, 2.0f)};
const Version kNew{"new", {}, Ramp(8, 5.0f)};

bool Save(const std::string& path, const Version& v) {
  Spectrum s(kSpcKindNmr);
  s.data.fid() = v.fid;
  s.data.spectrum() = v.spectrum;
  s.data.nDomain = 1;
  s.data.params.Append(Param("TD", Long(static_cast<std::int32_t>(2 * v.fid.size()))));
  s.data.params.Append(Param("SI", Long(static_cast<std::int32_t>(v.spectrum.size()))));
  s.data.params.Append(Param("TITLE", Text(v.title)));
  s.SetUp();
  return SpcSaveSpectrum(path, &s.process, 0, 0, 0);
}

bool Same(const std::vector<CSpcPoint>& got, const std::vector<CSpcPoint>& want) {
  if (got.size() != CSpcProcess::NextPow2(static_cast<std::uint32_t>(want.size())) && !want.empty()) return false;
  if (want.empty()) return got.empty();
  for (std::size_t i = 0; i < want.size(); ++i)
    if (got[i].re != want[i].re || got[i].im != want[i].im) return false;
  return true;
}

// Which of the two versions spectrum 0 of the folder loads as, whole: "old", "new" or a note of
// what is wrong.
std::string Loaded(const std::string& path) {
  CSpcData data;
  SpcFailure why;
  if (SpcLoadSpectrum(path, 0, &data, nullptr, &why) != SpcLoadResult::Loaded) return "no load: " + why.Describe();
  for (const Version* v : {&kOld, &kNew}) {
    if (data.params.GetValue("TITLE").GetString() != v->title) continue;
    if (!Same(data.fid(), v->fid) || !Same(data.spectrum(), v->spectrum)) return "torn " + v->title;
    return v->title;
  }
  return "unknown title " + data.params.GetValue("TITLE").GetString();
}

std::set<std::string> FolderNames(const std::string& path) {
  std::set<std::string> names;
  for (const plat::DirEntry& e : plat::findFiles(path, "*")) names.insert(e.name);
  return names;
}

// Stops a save in a child process after its step-th step; exits 0 when the save got through all
// its steps first, 1 when it failed.
int g_stopAt = 0;
void StopHere(const char*) {
  if (g_stopAt-- == 0) ::_exit(2);
}

int SaveStoppedAfter(const std::string& path, const Version& v, int step) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    g_stopAt = step;
    SpcFolderSetSaveStepHook(StopHere);
    ::_exit(Save(path, v) ? 0 : 1);
  }
  int status = -1;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SetAge(const std::string& path, std::int64_t seconds) {
  const timespec when{static_cast<std::time_t>(std::time(nullptr) - seconds), 0};
  const timespec times[2] = {when, when};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

}  // namespace

TEST(FolderSave, AStopAfterAnyStepLeavesTheOldOrTheNewSpectrum) {
  for (const auto& [from, to] : {std::pair{&kOld, &kNew}, std::pair{&kNew, &kOld}}) {
    SCOPED_TRACE(from->title + " to " + to->title);
    const std::string path = FreshPath("stopped");
    bool sawOld = false, sawNew = false;
    for (int step = 0;; ++step) {
      SCOPED_TRACE("stopped after step " + std::to_string(step));
      ASSERT_LT(step, 20);
      plat::removeTree(path);
      ASSERT_TRUE(Save(path, *from));
      const int result = SaveStoppedAfter(path, *to, step);
      ASSERT_GE(result, 0);
      ASSERT_NE(result, 1);
      const std::string loaded = Loaded(path);
      ASSERT_TRUE(loaded == from->title || loaded == to->title) << loaded;
      (loaded == kOld.title ? sawOld : sawNew) = true;
      // The next save gets through whatever the stopped one left.
      ASSERT_TRUE(Save(path, *to));
      ASSERT_EQ(Loaded(path), to->title);
      if (result == 0) break;
    }
    EXPECT_TRUE(sawOld && sawNew);
    // A save that finished leaves the folder as the format lays it out, with no key of its own.
    std::set<std::string> want{"parameters", "spectrum.0"};
    if (!to->fid.empty()) want.insert("fid.0");
    EXPECT_EQ(FolderNames(path), want);
    EXPECT_EQ(ReadBytes(plat::joinPath(path, "parameters")).find("SAVING"), std::string::npos);
  }
}

TEST(FolderSave, KilledSavesLeaveTheOldOrTheNewSpectrum) {
  const std::string path = FreshPath("killed");
  // Kills land anywhere within the first two saves of a child, however fast saves are here.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Save(path, i % 2 ? kNew : kOld));
  const auto perSave = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 4;
  std::mt19937 rng(15);
  std::uniform_int_distribution<std::int64_t> delay(0, 2 * perSave.count());
  std::set<std::string> seen;
  for (int round = 0; round < 100; ++round) {
    const bool firstOld = rng() % 2 == 0;
    // In every other round the kill waits for the child's first finished save, so the folder
    // is seen changed however slowly a loaded machine lets the child start.
    const bool afterFirstSave = round % 2 == 1;
    int saved[2] = {-1, -1};
    ASSERT_EQ(::pipe(saved), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(saved[0]);
      for (bool old = firstOld;; old = !old) {
        if (!Save(path, old ? kOld : kNew)) ::_exit(1);
        if (::write(saved[1], "s", 1) != 1) ::_exit(1);
      }
    }
    ::close(saved[1]);
    char mark = 0;
    if (afterFirstSave) {
      ASSERT_EQ(::read(saved[0], &mark, 1), 1) << "the saving child failed in round " << round;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
    ::kill(pid, SIGKILL);
    int status = -1;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    ::close(saved[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed in round " << round;
    const std::string loaded = Loaded(path);
    ASSERT_TRUE(loaded == kOld.title || loaded == kNew.title) << "round " << round << ": " << loaded;
    seen.insert(loaded);
  }
  EXPECT_EQ(seen.size(), 2u);
}

TEST(FolderSave, AFailedSaveLeavesTheSpectrumAsItWas) {
  const std::string path = FreshPath("failsave");
  ASSERT_TRUE(Save(path, kOld));
  const std::set<std::string> names = FolderNames(path);
  const std::string before = ReadBytes(plat::joinPath(path, "parameters"));
  {
    // Every write that grows a file past a few bytes fails: the new point files cannot be made.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(Save(path, kNew));
    ::setrlimit(RLIMIT_FSIZE, &old);
  }
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "parameters")), before);
  EXPECT_EQ(FolderNames(path), names);
  EXPECT_EQ(Loaded(path), kOld.title);

  // A folder whose parent is missing cannot be made at all; nor is a number out of range saved.
  const std::string deep = plat::joinPath(FreshPath("failsave_parent"), "child");
  EXPECT_FALSE(Save(deep, kOld));
  EXPECT_FALSE(Exists(deep));
  Spectrum s(kSpcKindIr);
  s.data.spectrum() = Ramp(4);
  s.SetUp();
  EXPECT_FALSE(SpcSaveSpectrum(path, &s.process, 0, 0, -1));
  EXPECT_FALSE(SpcSaveSpectrum(path, &s.process, 0, 0, kSpcFolderMaxNumber + 1));
}

// The profile store may keep the switched parameters file in memory (a cache mode that defers
// writing while another INI section is open): until it is written, the folder on disk keeps the
// old spectrum, and once written it holds the new one.
TEST(FolderSave, ASwitchTheStoreWritesLaterKeepsTheOldSpectrumUntilThen) {
  const std::string path = FreshPath("deferred");
  ASSERT_TRUE(Save(path, kOld));
  const std::string before = ReadBytes(plat::joinPath(path, "parameters"));
  const std::string oldPoints = ReadBytes(plat::joinPath(path, "spectrum.0"));
  OrvSetIniCacheMode(5);
  {
    COrvProfDesc keeper(plat::toUtf16(plat::joinPath(FreshFolder("keeper"), "keeper.ini")).c_str(), u"\\k");
    keeper.SetIni(true);
    ASSERT_EQ(keeper.Open(PROF_MODE_ALL), PROF_OK);
    ASSERT_TRUE(Save(path, kNew));
    EXPECT_EQ(ReadBytes(plat::joinPath(path, "parameters")), before);
    EXPECT_EQ(ReadBytes(plat::joinPath(path, "spectrum.0")), oldPoints);
    OrvSetIniCacheMode(0);  // the store writes its files back
    EXPECT_NE(ReadBytes(plat::joinPath(path, "parameters")).find("SAVING"), std::string::npos);
    EXPECT_EQ(Loaded(path), kNew.title);
  }
  OrvSetIniCacheMode(1);
  // The next save finishes the folder's layout.
  ASSERT_TRUE(Save(path, kNew));
  EXPECT_EQ(FolderNames(path), (std::set<std::string>{"parameters", "spectrum.0"}));
}

TEST(FolderSave, WhatStoppedSavesLeftIsFinishedOrRemovedButNeverWhatASaveAtWorkWrites) {
  const std::string path = FreshFolder("stale");
  // Tokens of a program that was stopped (it has ended), and one of this program, still saving.
  const std::vector<std::string> gone = plat::tokensOfAnEndedProcess(2);
  ASSERT_EQ(gone.size(), 2u);
  const std::string working = plat::uniqueToken();
  // A save that stopped after its switch: the section lists the fid written under its token.
  WriteBytes(plat::joinPath(path, "parameters"),
             "[CONTROL_NMR_0]\r\nTD=8\r\nSI=4\r\nTITLE=new\r\nSAVING=" + gone[0] + " fid\r\n");
  std::string points;
  for (int i = 0; i < 4; ++i) {
    AppendFloat(points, 7.0f + i);
    AppendFloat(points, 0.0f);
  }
  WriteBytes(plat::joinPath(path, ".fid.0." + gone[0] + ".saving"), points);
  WriteBytes(plat::joinPath(path, "fid.0"), std::string(32, '\0'));
  WriteBytes(plat::joinPath(path, "spectrum.0"), std::string(32, '\0'));  // the old spectrum's
  const std::vector<std::string> leftovers = {".fid.0." + gone[1] + ".saving", ".spectrum.0.saving.tmp" + gone[1],
                                              "parameters.tmp" + gone[1]};
  const std::vector<std::string> atWork = {".fid.0." + working + ".saving", "parameters.tmp" + working};
  for (const std::string& name : leftovers) WriteBytes(plat::joinPath(path, name), "x");
  for (const std::string& name : atWork) WriteBytes(plat::joinPath(path, name), "x");
  // Names of earlier versions carry no maker: they go once they are old.
  WriteBytes(plat::joinPath(path, ".spectrum.0.saving"), "x");
  SetAge(plat::joinPath(path, ".spectrum.0.saving"), 2 * plat::kStaleTemporaryAge);
  WriteBytes(plat::joinPath(path, ".spectrum.1.saving"), "x");
  WriteBytes(plat::joinPath(path, ".fid.0.saving.notes"), "x");  // not a name saves make

  CSpcData data;
  ASSERT_TRUE(Load(path, 0, &data));
  ASSERT_EQ(data.fid().size(), 4u);
  EXPECT_EQ(data.fid()[3].re, 10.0f);
  EXPECT_TRUE(data.spectrum().empty());  // the key lists no spectrum file
  EXPECT_FALSE(data.params.HasParam("SAVING"));
  // The stopped save is finished: its fid took its own name, the old spectrum file went, the key too.
  EXPECT_EQ(FolderNames(path), (std::set<std::string>{"parameters", "fid.0", atWork[0], atWork[1],
                                                      ".spectrum.1.saving", ".fid.0.saving.notes"}));
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "fid.0")), points);
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "parameters")).find("SAVING"), std::string::npos);
  data = CSpcData();
  ASSERT_TRUE(Load(path, 0, &data));
  EXPECT_EQ(data.fid()[3].re, 10.0f);
}
