// frmMenu's menus as Windows holds them: the items, their state and the
// command behind each identifier, as built from the model.
#include "plover/shell/win32/frm_menu.h"

#include "common/win32/wide.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_main_view.h"

namespace plover::shell {
namespace {

std::string Caption(HMENU menu, int position) {
  wchar_t buf[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), buf, 128, MF_BYPOSITION);
  return win::Utf8(buf).value_or("<cannot convert>");
}

UINT State(HMENU menu, int position) {
  return GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
}

TEST(FrmMenu, MainMenuHoldsTheModelsItemsWithTheirState) {
  FrmMenu frm({"1.20", "1.18"}, true);
  HMENU main = frm.mMain();
  ASSERT_EQ(GetMenuItemCount(main), 7);
  const char* captions[] = {"转换",     "仅转换文件", "仅转换地图", "屏蔽Winkey",
                            "监视录象", "运行魔兽",   "退出"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Caption(main, i), captions[i]);
  EXPECT_TRUE(State(main, 4) & MF_CHECKED) << "mReplay follows chkSave";
  EXPECT_FALSE(State(main, 5) & MF_CHECKED);

  const Scope scopes[] = {Scope::kAll, Scope::kFiles, Scope::kMaps};
  for (int s = 0; s < 3; ++s) {
    HMENU list = GetSubMenu(main, s);
    ASSERT_NE(list, nullptr) << captions[s];
    ASSERT_EQ(GetMenuItemCount(list), 3);
    EXPECT_EQ(Caption(list, 0), "选择版本");
    EXPECT_TRUE(State(list, 0) & MF_GRAYED) << "the heading cannot be chosen";
    EXPECT_EQ(frm.CommandOf(GetMenuItemID(list, 0)), nullptr);
    for (int i = 1; i <= 2; ++i) {
      const std::string version = i == 1 ? "1.20" : "1.18";
      EXPECT_EQ(Caption(list, i), version);
      EXPECT_FALSE(State(list, i) & MF_GRAYED);
      const MenuCommand* command = frm.CommandOf(GetMenuItemID(list, i));
      ASSERT_NE(command, nullptr);
      EXPECT_EQ(*command, (MenuCommand{MenuAction::kSwitch, version, scopes[s]}));
    }
  }
  const MenuCommand* exit = frm.CommandOf(GetMenuItemID(main, 6));
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->action, MenuAction::kExit);
}

TEST(FrmMenu, EveryChoosableItemHasItsOwnIdentifier) {
  FrmMenu frm({"a", "b", "c"}, false);
  std::vector<UINT> ids;
  auto collect = [&](HMENU menu, auto& self) -> void {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      if (HMENU sub = GetSubMenu(menu, i)) {
        self(sub, self);
      } else if (!(State(menu, i) & MF_GRAYED)) {
        ids.push_back(GetMenuItemID(menu, i));
      }
    }
  };
  collect(frm.mMain(), collect);
  collect(frm.mTranB(), collect);
  ASSERT_EQ(ids.size(), 9u + 4u + 2u);
  for (size_t i = 0; i < ids.size(); ++i) {
    EXPECT_NE(ids[i], 0u) << "0 means nothing was chosen";
    EXPECT_NE(frm.CommandOf(ids[i]), nullptr);
    for (size_t j = i + 1; j < ids.size(); ++j) EXPECT_NE(ids[i], ids[j]);
  }
  EXPECT_EQ(frm.CommandOf(0), nullptr);
  EXPECT_EQ(frm.CommandOf(1000), nullptr);
}

TEST(FrmMenu, MoreSwitchingMenuAndNoVersions) {
  FrmMenu frm({}, false);
  HMENU tranB = frm.mTranB();
  ASSERT_EQ(GetMenuItemCount(tranB), 2);
  EXPECT_EQ(Caption(tranB, 0), "仅转换地图");
  EXPECT_EQ(Caption(tranB, 1), "仅转换文件");
  EXPECT_EQ(*frm.CommandOf(GetMenuItemID(tranB, 0)),
            (MenuCommand{MenuAction::kSwitchSelected, "", Scope::kMaps}));
  for (int s = 0; s < 3; ++s) {
    HMENU list = GetSubMenu(frm.mMain(), s);
    ASSERT_EQ(GetMenuItemCount(list), 1);
    EXPECT_TRUE(State(list, 0) & MF_GRAYED);
  }
  EXPECT_FALSE(State(frm.mMain(), 4) & MF_CHECKED);
}

BOOL shellTakesIcons = FALSE;
BOOL WINAPI Shell(DWORD message, PNOTIFYICONDATAW) {
  return message == NIM_ADD ? shellTakesIcons : TRUE;
}

// The main window hides only behind an icon the shell took: a refused icon
// leaves it shown, and it is tried again when the taskbar starts.
TEST(MainMenus, TheWindowHidesOnlyOnceItsIconIsThere) {
  struct Host : MenuHost {
    bool ReplayWatchOn() const override { return false; }
    void SetReplayWatchOn(bool) override {}
    void ExitProgram() override {}
    void RunMenuCommand(const MenuCommand&) override {}
    bool Busy() const override { return false; }
  } host;
  const auto previous = tray::SetNotifyFunction(Shell);
  HWND window = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  testing::FakeMainView view;
  MainMenus menus(window, view, host);

  menus.MinimiseToTray();
  EXPECT_TRUE(IsWindowVisible(window)) << "hidden without an icon";
  EXPECT_FALSE(tray::TrayInstalled());
  menus.TaskbarCreated();
  EXPECT_TRUE(IsWindowVisible(window));

  shellTakesIcons = TRUE;
  menus.TaskbarCreated();
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(tray::TrayInstalled());
  tray::TrayRemove();
  DestroyWindow(window);
  tray::SetNotifyFunction(previous);
}

}  // namespace
}  // namespace plover::shell
