// Switches that copy only what differs, and a window that stays drawn while
// a long switch runs, seen from outside Plover.exe under Wine.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

namespace e2e {
namespace {

constexpr int kStartMs = 15000;
constexpr int kStepMs = 8000;
constexpr int kLbInfo = 1002;
constexpr int kLstVer = 1005;
constexpr int kBtnTran = 1006;
const char* const kSwitching = "转换中...！- Created by Velmor";
const char* const kSwitched = "转换完成！- Created by Velmor";

std::string TestName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

HWND StartToWindow(PloverProcess& plover, const Scenario& s) {
  EXPECT_TRUE(plover.Start(s.exe())) << "cannot start " << s.exe();
  HWND main = plover.WaitMainWindow(kStartMs);
  EXPECT_NE(main, nullptr) << "the main window did not appear: " << plover.Describe();
  return main;
}

// Puts other text on the status line, so that the next "转换完成！" is the
// next switch's.
void ForgetStatus(HWND status) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"), SMTO_ABORTIFHUNG, 2000,
                      &result);
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

TEST(QuickSwitch, InstalledVersionLeavesEveryGameFileUntouched) {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(s.game() + "\\", "");
  s.AddVersion("1.20");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND status = ChildById(main, kLbInfo);
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  ASSERT_EQ(WaitForText(status, kSwitched, kStepMs), kSwitched);

  // Every game file and every folder holding one: a temporary made and
  // removed again would change its folder's time.
  std::map<std::string, unsigned long long> times;
  for (const auto& entry : FullEntries()) {
    const std::string file = s.GameFile(entry);
    times[file] = s.WriteTime(file);
    times[FolderOf(file)] = s.WriteTime(FolderOf(file));
  }
  Sleep(1100);  // any new time would differ even on a coarse clock
  ForgetStatus(status);
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  ASSERT_EQ(WaitForText(status, kSwitched, kStepMs), kSwitched);

  for (const auto& [path, time] : times) {
    EXPECT_NE(time, 0u) << path;
    EXPECT_EQ(s.WriteTime(path), time) << path << " was written";
  }
  for (const auto& entry : FullEntries()) EXPECT_TRUE(s.GameHolds(entry, "1.20")) << entry;
  EXPECT_FALSE(DirExists(Join(s.game(), ".plover-tmp")));
  EXPECT_FALSE(FileExists(s.GameFile(FullEntries()[0]) + ".plover-tmp"));
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0));
}

TEST(QuickSwitch, WindowRepaintsWhileALongSwitchRuns) {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(s.game() + "\\", "");
  // Many small entries: the switch takes seconds, each entry a moment.
  std::vector<std::string> entries;
  for (int folder = 0; folder < 20; ++folder) {
    const std::string dir = "Many" + std::to_string(folder);
    MakeDirs(Join(s.game(), dir));
    for (int i = 0; i < 80; ++i) {
      entries.push_back(dir + "\\f" + std::to_string(folder) + "_" + std::to_string(i) + ".dat");
    }
  }
  s.AddVersion("1.20", entries, "1.20");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND status = ChildById(main, kLbInfo);
  HWND list = ChildById(main, kLstVer);
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(status).value_or("") == kSwitching; }, kStepMs, 5));

  // The list is made to need painting; the switch paints it between entries.
  int repaints = 0;
  bool hung = false;
  while (repaints < 3 && TextOf(status).value_or("") == kSwitching) {
    InvalidateRect(list, nullptr, TRUE);
    if (!GetUpdateRect(list, nullptr, FALSE)) continue;  // painted already
    const bool painted = WaitUntil(
        [&] {
          hung = hung || IsHungAppWindow(main);
          return !GetUpdateRect(list, nullptr, FALSE);
        },
        3000, 5);
    if (!painted) break;
    if (TextOf(status).value_or("") == kSwitching) ++repaints;
  }
  const bool stillSwitching = TextOf(status).value_or("") == kSwitching;
  EXPECT_EQ(repaints, 3) << (stillSwitching ? "the window was not painted during the switch"
                                            : "the switch ended before three repaints");
  EXPECT_FALSE(hung) << "the window was taken for hung";
  EXPECT_FALSE(IsWindowEnabled(main) && stillSwitching) << "input was on during the switch";
  EXPECT_EQ(WaitForText(status, kSwitched, 120000), kSwitched);
  for (size_t i = 0; i < entries.size(); i += 97) {
    EXPECT_TRUE(s.GameHolds(entries[i], "1.20")) << entries[i];
  }
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
