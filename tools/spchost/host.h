#pragma once
// The host of spchost's commands. The basic commands are in spchost.cpp; each area of the
// control adds its own in a file of its own (<area>_commands.cpp), registered with
// SPCHOST_COMMANDS, so areas grow without touching one another.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ole/testing/testcontainer.h"
#include "platform/ui/responder.h"
#include "spectrum/control/testing/hostitem.h"

namespace spchost {

struct Failure {
  std::string what;
};
[[noreturn]] void Fail(const std::string& what);
int Int(const std::string& text);
double Number(const std::string& text);
bool ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes);

class Host;
// One command: its name, the words it takes (shown by "help") and what it does with the line's
// words (w[0] is the name).
struct Command {
  const char* name;
  const char* usage;
  void (*run)(Host& host, const std::vector<std::string>& w);
};
// Adds an area's commands to the host; used through SPCHOST_COMMANDS.
struct CommandSet {
  CommandSet(const Command* commands, std::size_t count);
};
#define SPCHOST_COMMANDS(table) \
  static const ::spchost::CommandSet spchost_commands_##table(table, sizeof(table) / sizeof(table[0]))

class Host {
 public:
  Host();
  ~Host();
  void Run(const std::vector<std::string>& words);

  plat::ole::testing::TestContainer& Current();
  nelvar::testing::HostItem* Item(const std::string& name);
  template <class I>
  I* Interface(nelvar::testing::HostItem* item, const plat::ole::Guid& iid) {
    auto* i = static_cast<I*>(item->QueryObject(iid));
    if (!i) Fail("the object has no such interface");
    return i;
  }
  nelvar::testing::FakeSiteSettings& Settings() { return settings_; }
  ui::ScriptedResponder& Responder() { return responder_; }
  // The named containers and controls, for commands that walk them.
  std::map<std::string, std::unique_ptr<plat::ole::testing::TestContainer>>& Frames() { return frames_; }
  std::map<std::string, nelvar::testing::HostItem*>& Items() { return items_; }
  void SetCurrent(plat::ole::testing::TestContainer* container) { current_ = container; }
  bool HasCurrent() const { return current_ != nullptr; }

 private:
  std::map<std::string, std::unique_ptr<plat::ole::testing::TestContainer>> frames_;
  std::map<std::string, nelvar::testing::HostItem*> items_;
  plat::ole::testing::TestContainer* current_ = nullptr;
  nelvar::testing::FakeSiteSettings settings_;
  ui::ScriptedResponder responder_{true};
};

}  // namespace spchost
