// The hook Quenlock keeps: a fresh one goes in before the old one comes out,
// one that cannot be made leaves the old one, and without any hook the check
// mark of chkDisable is off.
#include "quenlock/hook_keeper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "quenlock/menu.h"

namespace quenlock {
namespace {

// The system as the keeper sees it: hooks are numbered as they are made, and
// every making and removing is noted ("+2", "-1").
struct FakeSystem {
  std::vector<std::string> log;
  std::vector<uintptr_t> live;
  uintptr_t next = 1;
  bool refuses = false;
};
FakeSystem g_system;

HookKeeper::Hook MakeHook() {
  if (g_system.refuses) return nullptr;
  const uintptr_t hook = g_system.next++;
  g_system.live.push_back(hook);
  g_system.log.push_back("+" + std::to_string(hook));
  return reinterpret_cast<HookKeeper::Hook>(hook);
}

void DropHook(HookKeeper::Hook hook) {
  const auto n = reinterpret_cast<uintptr_t>(hook);
  std::erase(g_system.live, n);
  g_system.log.push_back("-" + std::to_string(n));
}

using Log = std::vector<std::string>;
using Live = std::vector<uintptr_t>;

class HookKeeperTest : public testing::Test {
 protected:
  void SetUp() override { g_system = FakeSystem{}; }
  bool CheckMark() const { return Form1Menu(keeper_.installed())[0].checked; }

  HookKeeper keeper_{MakeHook, DropHook};
};

TEST_F(HookKeeperTest, InstallsOnceAndRemovesWhatItMade) {
  EXPECT_TRUE(keeper_.Install());
  EXPECT_TRUE(keeper_.Install()) << "a second install keeps the first hook";
  EXPECT_EQ(g_system.live, Live{1});
  EXPECT_EQ(keeper_.made(), 1u);
  EXPECT_TRUE(CheckMark());
  keeper_.Remove();
  keeper_.Remove();
  EXPECT_EQ(g_system.log, (Log{"+1", "-1"}));
  EXPECT_FALSE(CheckMark());
  {
    HookKeeper kept(MakeHook, DropHook);
    kept.Install();
  }
  EXPECT_TRUE(g_system.live.empty()) << "the hook goes with its keeper";
}

TEST_F(HookKeeperTest, FreshHookIsInBeforeTheOldOneGoes) {
  keeper_.Install();
  EXPECT_TRUE(keeper_.Refresh());
  EXPECT_TRUE(keeper_.Refresh());
  EXPECT_EQ(g_system.log, (Log{"+1", "+2", "-1", "+3", "-2"}));
  EXPECT_EQ(g_system.live, Live{3});
  EXPECT_EQ(keeper_.made(), 3u);
  EXPECT_TRUE(CheckMark());
}

TEST_F(HookKeeperTest, FreshHookThatFailsLeavesTheOldOne) {
  keeper_.Install();
  g_system.refuses = true;
  EXPECT_FALSE(keeper_.Refresh());
  EXPECT_EQ(g_system.live, Live{1});
  EXPECT_EQ(g_system.log, Log{"+1"});
  EXPECT_EQ(keeper_.made(), 1u);
  EXPECT_TRUE(CheckMark()) << "still blocking with the old hook";
  // And once the system gives hooks again, the next refresh takes.
  g_system.refuses = false;
  EXPECT_TRUE(keeper_.Refresh());
  EXPECT_EQ(g_system.live, Live{2});
}

TEST_F(HookKeeperTest, NoHookAtAllPutsTheCheckMarkOffAndRefreshesMakeNone) {
  g_system.refuses = true;
  EXPECT_FALSE(keeper_.Install());
  EXPECT_FALSE(CheckMark());
  // Switched off, or never on: a resume or the timer does not start blocking.
  g_system.refuses = false;
  EXPECT_FALSE(keeper_.Refresh());
  EXPECT_TRUE(g_system.log.empty());
  EXPECT_FALSE(CheckMark());
  EXPECT_EQ(keeper_.made(), 0u);
}

}  // namespace
}  // namespace quenlock
