// Switches that copy only what differs, and a window that stays drawn while
// a long switch runs, seen from outside Plover.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/scenario.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

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
  // A file written from now on gets a later time than every one noted, on
  // however coarse a clock: written again, any of them would show it.
  unsigned long long newest = 0;
  for (const auto& [path, time] : times) newest = std::max(newest, time);
  const std::string probe = Join(s.root(), "clock-probe");
  ASSERT_TRUE(WaitUntil(
      [&] {
        WriteBytes(probe, "now");
        return s.WriteTime(probe) > newest;
      },
      kStepMs, 50));
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
  // The middle of the title bar, between the caption and its buttons, where
  // the switch's progress passes.
  RECT bar{};
  GetWindowRect(main, &bar);
  const LONG width = bar.right - bar.left;
  bar = {bar.left + width * 45 / 100, bar.top + 3, bar.left + width * 75 / 100, bar.top + 14};
  using plover::testing::CaptureScreen;
  // Once the window is drawn on the screen.
  plover::testing::ScreenImage idle = CaptureScreen(bar);
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto now = CaptureScreen(bar);
        return std::exchange(idle, now).rgb == now.rgb && !now.empty() && now.At(0, 0) != 0;
      },
      kStepMs, 100));
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(status).value_or("") == kSwitching; }, kStepMs, 5));
  // Two moments of the switch look different; the caption stays the text.
  plover::testing::ScreenImage early, later;
  EXPECT_TRUE(WaitUntil(
      [&] {
        later = CaptureScreen(bar);
        if (early.empty() && later.rgb != idle.rgb) early = later;
        return !early.empty() && later.rgb != early.rgb;
      },
      10000, 20))
      << "no progress drawn on the title bar";
  plover::testing::SaveBmp(early, Wide(Join(ScreenshotDir(), "switch-progress-early.bmp")));
  plover::testing::SaveBmp(later, Wide(Join(ScreenshotDir(), "switch-progress-later.bmp")));
  EXPECT_EQ(TextOf(main).value_or(""), "Plover 2.0");

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
  EXPECT_TRUE(WaitUntil([&] { return CaptureScreen(bar).rgb == idle.rgb; }, kStepMs))
      << "the progress stayed after the switch";

  for (size_t i = 0; i < entries.size(); i += 97) {
    EXPECT_TRUE(s.GameHolds(entries[i], "1.20")) << entries[i];
  }
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0));
}

// The window comes first; the mark follows once start-up's later work (the
// sweep of the store folders, then the look at the versions) has run.
TEST(QuickSwitch, TheWindowShowsBeforeTheMark) {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(s.game() + "\\", "");
  s.AddVersion("a");
  for (const auto& entry : FullEntries()) {
    ASSERT_TRUE(
        CopyFileW(Wide(s.StoreCopy("a", entry)).c_str(), Wide(s.GameFile(entry)).c_str(), FALSE));
  }
  for (int i = 0; i < 300; ++i) {
    const std::string name = "v" + std::to_string(1000 + i);
    s.AddVersion(name, {"Game.dll"}, name);
  }
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(MarkedItem(main), -1) << "marked before the window showed";
  EXPECT_TRUE(WaitMarked(main, 0));
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
