// Several processes sharing one hive: forked children start with a fresh registry view, as a
// separate program of the suite would.
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/base/numtext.h"
#include "platform/registry/tests/registry_fixture.h"

namespace regtest {
namespace {

pid_t spawn(const std::function<bool()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    resetForTesting();
    ::_exit(body() ? 0 : 1);
  }
  return pid;
}

bool succeeded(pid_t pid) {
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

std::u16string valueName(char16_t prefix, int i) { return prefix + plat::formatInt16(i); }
std::uint32_t valueData(char16_t prefix, int i) { return static_cast<std::uint32_t>(prefix) * 1000 + i; }

TEST_F(RegistryTest, TwoProcessesWritingOneHiveKeepEveryValue) {
  constexpr int kPerProcess = 200;
  const Key race = create(kCurrentUser, u"Software\\Race");
  auto writer = [](char16_t prefix) {
    return [prefix] {
      Key key = kNoKey;
      // Each also creates a key of its own, racing on the tree as well as on the values.
      if (createKey(kCurrentUser, std::u16string(u"Software\\Race\\") + prefix, false, kAllAccess,
                    &key) != Status::Success) {
        return false;
      }
      if (openKey(kCurrentUser, u"Software\\Race", kSetValue, &key) != Status::Success) return false;
      for (int i = 0; i < kPerProcess; ++i) {
        if (put(key, valueName(prefix, i), ValueType::DWord, dword(valueData(prefix, i))) !=
            Status::Success) {
          return false;
        }
      }
      return true;
    };
  };
  const pid_t a = spawn(writer(u'a'));
  const pid_t b = spawn(writer(u'b'));
  ASSERT_TRUE(succeeded(a));
  ASSERT_TRUE(succeeded(b));

  // The handle opened before the children ran sees their work after a re-read...
  KeyInfo info;
  ASSERT_EQ(queryInfo(race, &info), Status::Success);
  EXPECT_EQ(info.valueCount, 2u * kPerProcess);
  EXPECT_EQ(info.subKeyCount, 2u);
  // ...and so does a fresh view, value by value.
  resetForTesting();
  Key reread = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Software\\Race", kRead, &reread), Status::Success);
  for (const char16_t prefix : {u'a', u'b'}) {
    for (int i = 0; i < kPerProcess; ++i) {
      Status status;
      EXPECT_EQ(get(reread, valueName(prefix, i), nullptr, &status), dword(valueData(prefix, i)));
      EXPECT_EQ(status, Status::Success);
    }
  }
}

TEST_F(RegistryTest, ChangesOfAnotherProcessReachOpenHandles) {
  const Key shared = create(kCurrentUser, u"Shared");
  const Key gone = create(shared, u"Gone");
  const Key stays = create(shared, u"Stays");
  const Key mine = create(shared, u"Mine", true);
  ASSERT_EQ(put(mine, u"temp", ValueType::DWord, dword(1)), Status::Success);
  ASSERT_EQ(put(stays, u"old", ValueType::DWord, dword(1)), Status::Success);

  const pid_t child = spawn([] {
    Key k = kNoKey;
    return openKey(kCurrentUser, u"Shared\\Mine", kRead, &k) == Status::FileNotFound &&
           openKey(kCurrentUser, u"Shared\\Stays", kAllAccess, &k) == Status::Success &&
           put(k, u"fromChild", ValueType::String, sz(u"hi")) == Status::Success &&
           deleteValue(k, u"old") == Status::Success &&
           deleteKey(kCurrentUser, u"Shared\\Gone") == Status::Success &&
           createKey(kCurrentUser, u"Shared\\New", false, kAllAccess, &k) == Status::Success;
  });
  ASSERT_TRUE(succeeded(child));

  EXPECT_EQ(get(stays, u"fromChild"), sz(u"hi"));
  EXPECT_EQ(queryValue(stays, u"old", nullptr, nullptr, nullptr), Status::FileNotFound);
  KeyInfo info;
  EXPECT_EQ(queryInfo(gone, &info), Status::KeyDeleted);
  EXPECT_EQ(get(mine, u"temp"), dword(1));  // this process's volatile key outlives the re-read
  std::u16string name;
  std::vector<std::u16string> names;
  for (std::uint32_t i = 0; enumKey(shared, i, &name) == Status::Success; ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Mine", u"New", u"Stays"}));

  // Writing again keeps the other process's changes and still leaves the volatile key out.
  ASSERT_EQ(put(shared, u"last", ValueType::DWord, dword(2)), Status::Success);
  resetForTesting();
  Key reread = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Shared\\Stays", kRead, &reread), Status::Success);
  EXPECT_EQ(get(reread, u"fromChild"), sz(u"hi"));
  EXPECT_EQ(openKey(kCurrentUser, u"Shared\\Mine", kRead, &reread), Status::FileNotFound);
  EXPECT_EQ(openKey(kCurrentUser, u"Shared\\New", kRead, &reread), Status::Success);
}

TEST_F(RegistryTest, AStoredKeyOfAnotherProcessTakesOverAVolatileOneOfTheSameName) {
  const Key vol = create(kCurrentUser, u"Clash", true);
  ASSERT_EQ(put(vol, u"mem", ValueType::DWord, dword(1)), Status::Success);
  const Key volChild = create(vol, u"Inner", true);
  const pid_t child = spawn([] {
    Key k = kNoKey;
    return createKey(kCurrentUser, u"clash", false, kAllAccess, &k) == Status::Success &&
           put(k, u"disk", ValueType::DWord, dword(2)) == Status::Success;
  });
  ASSERT_TRUE(succeeded(child));
  // The key is now the stored one, with the stored values; what was below it in memory stays.
  EXPECT_EQ(get(vol, u"disk"), dword(2));
  EXPECT_EQ(queryValue(vol, u"mem", nullptr, nullptr, nullptr), Status::FileNotFound);
  KeyInfo info;
  EXPECT_EQ(queryInfo(volChild, &info), Status::Success);
  // A stored key may now go below it.
  Key stored = kNoKey;
  EXPECT_EQ(createKey(vol, u"Stored", false, kAllAccess, &stored), Status::Success);
}

TEST_F(RegistryTest, ThreadsOfOneProcessShareTheRegistry) {
  const Key key = create(kCurrentUser, u"Threads");
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (char16_t prefix = u'a'; prefix < u'e'; ++prefix) {
    threads.emplace_back([&, prefix] {
      for (int i = 0; i < 50; ++i) {
        Key own = kNoKey;
        if (createKey(key, std::u16string(1, prefix), false, kAllAccess, &own) != Status::Success ||
            put(own, valueName(prefix, i), ValueType::DWord, dword(valueData(prefix, i))) !=
                Status::Success ||
            get(own, valueName(prefix, i)) != dword(valueData(prefix, i)) ||
            closeKey(own) != Status::Success) {
          ++failures;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  resetForTesting();
  for (char16_t prefix = u'a'; prefix < u'e'; ++prefix) {
    Key own = kNoKey;
    ASSERT_EQ(openKey(kCurrentUser, u"Threads\\" + std::u16string(1, prefix), kRead, &own),
              Status::Success);
    KeyInfo info;
    ASSERT_EQ(queryInfo(own, &info), Status::Success);
    EXPECT_EQ(info.valueCount, 50u);
  }
}

}  // namespace
}  // namespace regtest
