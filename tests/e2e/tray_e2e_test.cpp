// Plover behind its notification-area icon, driven from the outside under
// Wine: the minimise button hides the window, the icon's left click brings it
// back, its right-click menu switches, watches replays, starts the key
// blocker and quits, and the more-switching button switches the selection.
// The shell's icon is not looked at: the tests send the window the icon's
// mouse notifications themselves, as the shell would.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/tray_e2e_support.h"

namespace e2e {
namespace {

// Positions in the icon's menu mMain.
constexpr int kItemWinkey = 3;
constexpr int kItemReplay = 4;

// Map entries end in ".w3x" or ".w3m".
bool IsMap(const std::string& entry) {
  return entry.ends_with(".w3x") || entry.ends_with(".w3m");
}

class TrayTest : public testing::Test {
 protected:
  // A game, ver.dat pointing at it, and versions 1.18 and 1.20 (listed in
  // that order).
  void SetUp() override {
    s_ = std::make_unique<Scenario>(TestName("Tray."));
    MakeReady(*s_, {"1.18", "1.20"});
    main_ = StartToWindow(plover_, *s_);
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override { plover_.Kill(); }

  HWND Control(int id) { return e2e::Control(main_, id); }
  bool Shown() const { return IsWindowVisible(main_) && !IsIconic(main_); }
  void MinimiseToTray() {
    ASSERT_TRUE(Click(Control(kBtnMin)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kStepMs))
        << "the window did not hide";
    ASSERT_TRUE(IsWindow(main_));
  }
  // A right click on the icon, then `keys` in the menu that pops up.
  void ChooseInIconMenu(const std::vector<UINT>& keys) {
    IconEvent(main_, WM_RBUTTONUP);
    ASSERT_TRUE(PressInMenu(plover_.pid(), keys)) << "no menu, or it did not close";
  }
  // mMain's item at `position` (from 0).
  void ChooseIconMenuItem(int position) {
    std::vector<UINT> keys{VK_HOME};
    for (int i = 0; i < position; ++i) keys.push_back(VK_DOWN);
    keys.push_back(VK_RETURN);
    ChooseInIconMenu(keys);
  }
  // Every entry holds the flavour `maps` if it is a map, else `programs`.
  void ExpectGame(const char* programs, const char* maps) const {
    for (const auto& entry : FullEntries()) {
      EXPECT_EQ(s_->GameFlavour(entry), IsMap(entry) ? maps : programs) << entry;
    }
  }

  std::unique_ptr<Scenario> s_;
  PloverProcess plover_;
  HWND main_ = nullptr;
};

TEST_F(TrayTest, MinimiseHidesTheWindowAndALeftClickOnTheIconBringsItBack) {
  MinimiseToTray();
  EXPECT_FALSE(Shown());
  IconEvent(main_, WM_MOUSEMOVE);
  // The right click, posted after the move, opens the icon's menu: by then
  // the move has been taken.
  IconEvent(main_, WM_RBUTTONUP);
  ASSERT_NE(WaitMenu(plover_.pid()), nullptr) << plover_.Describe();
  EXPECT_FALSE(IsWindowVisible(main_)) << "moving over the icon does nothing";
  ASSERT_TRUE(PressInMenu(plover_.pid(), {VK_ESCAPE}));

  IconEvent(main_, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs)) << plover_.Describe();
  EXPECT_EQ(ListItems(Control(kLstVer)).value_or(Lines{}), (Lines{"1.18", "1.20"}));

  // And again: the icon can be had any number of times.
  MinimiseToTray();
  IconEvent(main_, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs));
  EXPECT_TRUE(plover_.CloseMainWindow(kStepMs).has_value());
}

TEST_F(TrayTest, IconMenuSwitchesOnlyTheMapsOf118) {
  MinimiseToTray();
  // A menu closed without a choice changes nothing and comes back next time.
  ChooseInIconMenu({VK_ESCAPE});
  ExpectGame(kGameFlavour, kGameFlavour);

  // 仅转换地图 is the third item; its list is 选择版本, 1.18, 1.20.
  ChooseInIconMenu({VK_HOME, VK_DOWN, VK_DOWN, VK_RIGHT, VK_END, VK_UP, VK_RETURN});
  EXPECT_EQ(WaitForText(Control(kLbInfo), kSwitched, kStepMs), kSwitched);
  ExpectGame(kGameFlavour, "1.18");
  EXPECT_FALSE(IsWindowVisible(main_)) << "the window stays in the notification area";
  EXPECT_TRUE(plover_.Running());
}

TEST_F(TrayTest, MoreSwitchingButtonSwitchesTheSelectedVersionsFilesOnly) {
  ASSERT_TRUE(SelectItem(Control(kLstVer), 1));  // 1.20
  ASSERT_TRUE(Click(Control(kBtnTranmore)));
  // 仅转换地图, then 仅转换文件.
  ASSERT_TRUE(PressInMenu(plover_.pid(), {VK_HOME, VK_DOWN, VK_RETURN}));
  EXPECT_EQ(WaitForText(Control(kLbInfo), kSwitched, kStepMs), kSwitched);
  ExpectGame("1.20", kGameFlavour);
  EXPECT_TRUE(plover_.CloseMainWindow(kStepMs).has_value());
}

TEST_F(TrayTest, ReplayItemAndCheckBoxStayInStep) {
  const std::string replay = Join(Join(s_->game(), "replay"), "LastReplay.w3g");
  const std::string saved = Join(s_->prog(), "replays");
  MakeDirs(saved);
  WriteBytes(replay, "a replay of some length");

  // Ticked in the window: the menu item turns the watch off...
  ASSERT_TRUE(Click(Control(kChkSave)));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(Control(kChkSave)); }, kStepMs));
  MinimiseToTray();
  ChooseIconMenuItem(kItemReplay);
  EXPECT_TRUE(WaitUntil([&] { return !IsChecked(Control(kChkSave)); }, kStepMs));

  // ... and on again, and the watch runs while the window is hidden.
  ChooseIconMenuItem(kItemReplay);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(Control(kChkSave)); }, kStepMs));
  const auto savedReplays = [&] { return SavedReplays(saved).size(); };
  EXPECT_TRUE(WaitUntil([&] { return savedReplays() >= 1; }, 15000)) << "no replay was saved";
  const ULONGLONG savedAt = GetTickCount64();

  // Off from the menu: a new replay is not saved any more, not at the tick
  // that would have come next.
  ChooseIconMenuItem(kItemReplay);
  EXPECT_TRUE(WaitUntil([&] { return !IsChecked(Control(kChkSave)); }, kStepMs));
  const size_t before = savedReplays();
  WriteBytes(replay, "another replay, of another length");
  EXPECT_FALSE(SavedBeforeTheNextTick(savedAt, [&] { return savedReplays() > before; }))
      << "saved with the watch off";
  EXPECT_EQ(savedReplays(), before);
}

TEST_F(TrayTest, ExitItemWritesTheSettingsAndEnds) {
  MinimiseToTray();
  s_->MakeOld(s_->settings());
  const auto before = s_->WriteTime(s_->settings());
  ChooseInIconMenu({VK_HOME, VK_END, VK_RETURN});  // 退出, the last item
  const auto code = plover_.WaitExit(kStepMs);
  ASSERT_TRUE(code.has_value()) << "Plover did not end";
  EXPECT_NE(s_->WriteTime(s_->settings()), before) << "ver.dat was not written";
  EXPECT_EQ(ReadGbkLines(s_->settings()).value_or(Lines{}),
            (Lines{s_->game() + "\\", Join(s_->prog(), "replays") + "\\"}));
}

TEST_F(TrayTest, NoSwitchStartsWhileASwitchsQuestionWaits) {
  // 1.18 lacks the store copy of its first entry: its switch asks at once.
  ASSERT_TRUE(DeleteFileW(Wide(s_->StoreCopy("1.18", FullEntries().front())).c_str()));
  MinimiseToTray();
  ChooseInIconMenu({VK_HOME, VK_RIGHT, VK_END, VK_UP, VK_RETURN});  // 转换 ▸ 1.18
  const auto question = plover_.WaitMessageBox(kStepMs);
  ASSERT_TRUE(question.has_value()) << plover_.Describe();
  EXPECT_EQ(question->title, "错误");

  // The icon ignores both buttons while the question waits. The answer,
  // posted after them to the same thread, is taken after them: once the
  // question has gone, both have been dealt with while it waited.
  ASSERT_EQ(GetWindowThreadProcessId(question->hwnd, nullptr),
            GetWindowThreadProcessId(main_, nullptr));
  IconEvent(main_, WM_RBUTTONUP);
  IconEvent(main_, WM_LBUTTONUP);
  ASSERT_TRUE(plover_.Answer(*question, IDNO));
  const bool menuCame = MenuOf(plover_.pid()) != nullptr;
  EXPECT_FALSE(menuCame) << "the icon's menu opened during a switch";
  if (menuCame) PressInMenu(plover_.pid(), {VK_ESCAPE});
  EXPECT_FALSE(IsWindowVisible(main_)) << "the window came back during a switch";
  EXPECT_FALSE(plover_.MessageBoxNow().has_value()) << plover_.Describe();
  ExpectGame(kGameFlavour, kGameFlavour);
  // Over, the switch leaves the icon working again.
  ChooseInIconMenu({VK_ESCAPE});
  IconEvent(main_, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs)) << plover_.Describe();
  EXPECT_TRUE(plover_.CloseMainWindow(kStepMs).has_value());
}

TEST_F(TrayTest, EndOfSessionSavesTheSettingsAndRemovesTheIcon) {
  // A replay directory chosen in this run, then the window hidden.
  const std::string chosen = Join(s_->prog(), "saved replays");
  MakeDirs(chosen);
  ASSERT_TRUE(Click(Control(kBtnSavePath)));
  HWND picker = plover_.WaitFolderPicker(kStepMs);
  ASSERT_NE(picker, nullptr) << plover_.Describe();
  ASSERT_TRUE(plover_.ChooseFolder(picker, chosen));
  MinimiseToTray();
  s_->MakeOld(s_->settings());
  const auto before = s_->WriteTime(s_->settings());

  // Logging off: the question first, then the end itself.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                  kStepMs, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "Plover refused the end of the session";
  PostMessageW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  const auto code = plover_.WaitExit(kStepMs);
  ASSERT_TRUE(code.has_value()) << "Plover did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_NE(s_->WriteTime(s_->settings()), before) << "ver.dat was not written";
  EXPECT_EQ(ReadGbkLines(s_->settings()).value_or(Lines{}),
            (Lines{s_->game() + "\\", chosen + "\\"}));
  // The icon went with the window: nothing of Plover is left to answer it.
  EXPECT_FALSE(IsWindow(main_));
}

TEST_F(TrayTest, SecondStartBringsTheHiddenWindowBackWithoutItsIcon) {
  MinimiseToTray();
  ExpectSecondStartTellsAndEnds(*s_, [&] {
    EXPECT_FALSE(IsWindowVisible(main_)) << "the window came back before the message was answered";
  });
  ASSERT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs)) << plover_.Describe();
  // The icon is gone: its notifications reach nothing any more. The click
  // on the minimise button that follows is taken after the notification
  // (posted messages come before input).
  IconEvent(main_, WM_RBUTTONUP);
  ASSERT_TRUE(Click(Control(kBtnMin)));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_) || MenuOf(plover_.pid()); }, kStepMs));
  const bool menuCame = MenuOf(plover_.pid()) != nullptr;
  EXPECT_FALSE(menuCame) << "the icon is still there";
  if (menuCame) PressInMenu(plover_.pid(), {VK_ESCAPE});
  // And it can be put up again.
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kStepMs))
      << "the window did not hide";
  ASSERT_TRUE(IsWindow(main_));
  IconEvent(main_, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs));
  EXPECT_TRUE(plover_.CloseMainWindow(kStepMs).has_value());
}

TEST_F(TrayTest, SecondStartDuringAMessageBoxOnlyBringsTheBoxToTheFront) {
  // The key blocker's item without Quenlock: a message box, the window hidden.
  MinimiseToTray();
  ChooseIconMenuItem(kItemWinkey);
  const auto box = plover_.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << plover_.Describe();

  ExpectSecondStartTellsAndEnds(*s_);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box->hwnd; }, kStepMs))
      << "the message box did not come to the front: " << plover_.Describe();
  EXPECT_TRUE(IsWindowVisible(box->hwnd)) << "the message box went";
  EXPECT_FALSE(IsWindowVisible(main_)) << "the window came back from under the message box";

  // Answered, the box leaves the icon as it was: its left click brings the
  // window back.
  ASSERT_TRUE(plover_.Answer(*box, IDOK));
  EXPECT_FALSE(IsWindowVisible(main_));
  IconEvent(main_, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return Shown(); }, kStepMs)) << "the icon is gone";
  EXPECT_TRUE(plover_.CloseMainWindow(kStepMs).has_value());
}

TEST_F(TrayTest, KeyBlockerItemWithoutQuenlockSaysSo) {
  MinimiseToTray();
  // The message box comes while the menu's command runs: the menu has closed.
  ChooseIconMenuItem(kItemWinkey);
  const auto box = plover_.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << plover_.Describe();
  EXPECT_EQ(box->title, "确定");
  EXPECT_EQ(box->text, "无法找到 Quenlock.exe");
  EXPECT_TRUE(plover_.Answer(*box, IDOK));
  EXPECT_FALSE(IsWindowVisible(main_));
}

}  // namespace
}  // namespace e2e
