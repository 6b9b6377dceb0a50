// The pop-up menus as built for one pop-up, and what their items do to the
// main window's state and the game directory.
#include "plover/shell/menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plover/base/functions.h"
#include "plover/main/commands.h"
#include "plover/main/menu_commands.h"
#include "plover/main/switch_engine.h"
#include "tests/support/fakes.h"

namespace plover::shell {
namespace {

using Names = std::vector<std::string>;
using plover::testing::Box;
using plover::testing::Started;
using plover::testing::TestWorld;

Names Captions(const MenuItem& menu) {
  Names out;
  for (const auto& item : menu.items) out.push_back(item.caption);
  return out;
}

const MenuItem& Child(const MenuItem& menu, const std::string& name) {
  for (const auto& item : menu.items) {
    if (item.name == name) return item;
  }
  ADD_FAILURE() << "no item " << name << " in " << menu.name;
  static const MenuItem none;
  return none;
}

struct SwitchList {
  const char* submenu;
  const char* list;
  Scope scope;
};
constexpr SwitchList kSwitchLists[] = {{"mTran", "mTranAll", Scope::kAll},
                                       {"mTranFile", "mTranFileAll", Scope::kFiles},
                                       {"mTranMap", "mTranMapAll", Scope::kMaps}};

TEST(MenuModel, MainMenuItemsInOrder) {
  const MenuItem main = BuildMainMenu({}, false);
  EXPECT_EQ(main.name, "mMain");
  EXPECT_EQ(Captions(main), (Names{"转换", "仅转换文件", "仅转换地图", "屏蔽Winkey", "监视录象",
                                   "运行魔兽", "退出"}));
  const char* names[] = {"mTran", "mTranFile", "mTranMap", "mWinkey", "mReplay", "mRun", "mExit"};
  ASSERT_EQ(main.items.size(), std::size(names));
  for (size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(main.items[i].name, names[i]);
  for (const auto& item : main.items) EXPECT_TRUE(item.enabled) << item.name;
}

TEST(MenuModel, WithoutVersionsEverySwitchListShowsOnlyTheGreyedHeading) {
  const MenuItem main = BuildMainMenu({}, false);
  for (const auto& l : kSwitchLists) {
    const MenuItem& submenu = Child(main, l.submenu);
    ASSERT_TRUE(submenu.IsSubmenu()) << l.submenu;
    ASSERT_EQ(submenu.items.size(), 1u) << l.submenu;
    const MenuItem& heading = submenu.items[0];
    EXPECT_EQ(heading.name, l.list);
    EXPECT_EQ(heading.caption, "选择版本");
    EXPECT_FALSE(heading.enabled) << "the heading cannot be chosen";
    EXPECT_EQ(heading.command.action, MenuAction::kNone);
  }
}

TEST(MenuModel, VersionsAppearInListOrderUnderEachHeadingWithTheirScope) {
  const MenuItem main = BuildMainMenu({"1.20", "1.18"}, false);
  for (const auto& l : kSwitchLists) {
    SCOPED_TRACE(l.submenu);
    const MenuItem& submenu = Child(main, l.submenu);
    EXPECT_EQ(Captions(submenu), (Names{"选择版本", "1.20", "1.18"}));
    EXPECT_FALSE(submenu.items[0].enabled);
    for (size_t i = 1; i < submenu.items.size(); ++i) {
      const MenuItem& item = submenu.items[i];
      EXPECT_TRUE(item.enabled);
      EXPECT_FALSE(item.checked);
      EXPECT_FALSE(item.IsSubmenu());
      EXPECT_EQ(item.name, l.list);
      EXPECT_EQ(item.command, (MenuCommand{MenuAction::kSwitch, item.caption, l.scope}));
    }
  }
}

TEST(MenuModel, ReplayCheckMarkFollowsTheCheckBoxAndNothingElseIsChecked) {
  for (bool on : {false, true}) {
    const MenuItem main = BuildMainMenu({"1.20"}, on);
    EXPECT_EQ(Child(main, "mReplay").checked, on);
    for (const auto& item : main.items) {
      if (item.name != "mReplay") {
        EXPECT_FALSE(item.checked) << item.name;
      }
      for (const auto& sub : item.items) EXPECT_FALSE(sub.checked) << sub.caption;
    }
  }
}

TEST(MenuModel, VersionNamesAreTakenAsTheyAre) {
  const Names odd = {"魔兽 1.24e", "a&b", "1.20", "1.20"};
  const MenuItem main = BuildMainMenu(odd, false);
  const MenuItem& maps = Child(main, "mTranMap");
  EXPECT_EQ(Captions(maps), (Names{"选择版本", "魔兽 1.24e", "a&b", "1.20", "1.20"}));
  EXPECT_EQ(maps.items[2].command.version, "a&b");
}

TEST(MenuModel, MoreSwitchingMenuOffersMapsThenFilesOfTheSelection) {
  const MenuItem tranB = BuildTranBMenu();
  EXPECT_EQ(tranB.name, "mTranB");
  EXPECT_EQ(Captions(tranB), (Names{"仅转换地图", "仅转换文件"}));
  EXPECT_EQ(tranB.items[0].name, "mTranBMap");
  EXPECT_EQ(tranB.items[0].command, (MenuCommand{MenuAction::kSwitchSelected, "", Scope::kMaps}));
  EXPECT_EQ(tranB.items[1].name, "mTranBFile");
  EXPECT_EQ(tranB.items[1].command, (MenuCommand{MenuAction::kSwitchSelected, "", Scope::kFiles}));
}

// ---- Running the items -----------------------------------------------------------

class FakeHost : public MenuHost {
 public:
  bool replayOn = false;
  int toggles = 0;
  int exits = 0;
  bool ReplayWatchOn() const override { return replayOn; }
  void SetReplayWatchOn(bool on) override {
    ++toggles;
    replayOn = on;
  }
  void ExitProgram() override { ++exits; }
  void RunMenuCommand(const MenuCommand&) override {}
  bool Busy() const override { return false; }
};

constexpr const char* kMap = "Maps\\FrozenThrone\\(2)EchoIsles.w3x";
const Names kEntries = {"Game.dll", "War3Patch.mpq", kMap, "Maps\\自定义\\回声岛.w3x"};

class MenuCommandTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    view.gamePath = "D:\\War3\\";
    fs.PutFile("D:\\War3\\war3.exe", "game");
    for (const auto& e : kEntries) fs.PutFile("D:\\War3\\" + e, "old");
    AddVersion("1.20");
    AddVersion("1.18");
    view.versions = {"1.20", "1.18"};
  }
  void AddVersion(const std::string& name) {
    std::string list;
    for (const auto& e : kEntries) list += plover::testing::Gbk(e) + "\r\n";
    fs.PutFile("C:\\P\\" + name + ".w3v", list);
    for (const auto& e : kEntries) {
      fs.PutFile("C:\\P\\" + name + "\\" + FileNameOf(e), name + " " + FileNameOf(e));
    }
  }
  // Runs the item `caption` of the submenu `submenu` of mMain, as built now.
  void Choose(const std::string& submenu, const std::string& caption) {
    const MenuItem main = BuildMainMenu(view.Versions(), host.ReplayWatchOn());
    const MenuItem& list = submenu.empty() ? main : Child(main, submenu);
    for (const auto& item : list.items) {
      if (item.caption == caption) {
        ASSERT_TRUE(item.enabled) << caption << " cannot be chosen";
        plover::RunMenuCommand(item.command, services, view, host);
        return;
      }
    }
    ADD_FAILURE() << "no item " << caption;
  }
  void ChooseTranB(const std::string& name) {
    plover::RunMenuCommand(Child(BuildTranBMenu(), name).command, services, view, host);
  }
  std::string Game(const std::string& entry) const {
    return fs.Contents("D:\\War3\\" + entry).value_or("<missing>");
  }

  FakeHost host;
};

TEST_F(MenuCommandTest, MapsOnlyOf118SwitchesJustItsMapEntries) {
  Choose("mTranMap", "1.18");
  EXPECT_EQ(Game("Game.dll"), "old");
  EXPECT_EQ(Game("War3Patch.mpq"), "old");
  EXPECT_EQ(Game(kMap), "1.18 (2)EchoIsles.w3x");
  EXPECT_EQ(Game("Maps\\自定义\\回声岛.w3x"), "1.18 回声岛.w3x");
  EXPECT_EQ(view.status, "转换完成！- Created by Velmor");
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(MenuCommandTest, WholeAndFilesOnlySwitchTheirScopes) {
  Choose("mTranFile", "1.20");
  EXPECT_EQ(Game("Game.dll"), "1.20 Game.dll");
  EXPECT_EQ(Game(kMap), "old");
  Choose("mTran", "1.18");
  for (const auto& e : kEntries) EXPECT_EQ(Game(e), "1.18 " + FileNameOf(e)) << e;
}

TEST_F(MenuCommandTest, MoreSwitchingWorksOnTheSelectedVersion) {
  view.selected = 1;  // 1.18
  ChooseTranB("mTranBFile");
  EXPECT_EQ(Game("Game.dll"), "1.18 Game.dll");
  EXPECT_EQ(Game(kMap), "old");
  view.selected = 0;  // 1.20
  ChooseTranB("mTranBMap");
  EXPECT_EQ(Game("Game.dll"), "1.18 Game.dll");
  EXPECT_EQ(Game(kMap), "1.20 (2)EchoIsles.w3x");
}

TEST_F(MenuCommandTest, MoreSwitchingWithNothingSelectedAsksForAVersion) {
  view.selected = -1;
  for (const char* item : {"mTranBMap", "mTranBFile"}) {
    prompts.boxes.clear();
    ChooseTranB(item);
    EXPECT_EQ(prompts.boxes, (std::vector<Box>{{"请选择一个版本！", "出错", 0x10}})) << item;
  }
  for (const auto& e : kEntries) EXPECT_EQ(Game(e), "old");
}

TEST_F(MenuCommandTest, NextPopUpShowsAVersionAddedOrDeletedMeanwhile) {
  view.AddVersion("1.24");
  EXPECT_EQ(Captions(Child(BuildMainMenu(view.Versions(), false), "mTran")),
            (Names{"选择版本", "1.20", "1.18", "1.24"}));
  view.RemoveVersion(0);
  EXPECT_EQ(Captions(Child(BuildMainMenu(view.Versions(), false), "mTranFile")),
            (Names{"选择版本", "1.18", "1.24"}));
}

TEST_F(MenuCommandTest, ReplayItemFlipsTheCheckBoxBothWays) {
  Choose("", "监视录象");
  EXPECT_TRUE(host.replayOn);
  EXPECT_TRUE(Child(BuildMainMenu(view.Versions(), host.ReplayWatchOn()), "mReplay").checked);
  Choose("", "监视录象");
  EXPECT_FALSE(host.replayOn);
  EXPECT_EQ(host.toggles, 2);
  // Ticked in the window meanwhile: the item turns it off.
  host.replayOn = true;
  Choose("", "监视录象");
  EXPECT_FALSE(host.replayOn);
}

TEST_F(MenuCommandTest, RunGameStartsWar3OrSaysItCannotFindIt) {
  Choose("", "运行魔兽");
  EXPECT_EQ(launcher.starts, (std::vector<Started>{{"D:\\War3\\war3.exe", "", 2}}));
  EXPECT_TRUE(prompts.boxes.empty());

  launcher.succeeds = false;
  Choose("", "运行魔兽");
  EXPECT_EQ(prompts.boxes, (std::vector<Box>{{"找不到魔兽,请选择正确的目录", "错误", 0}}));
  for (const auto& e : kEntries) EXPECT_EQ(Game(e), "old");
}

TEST_F(MenuCommandTest, KeyBlockerIsStartedFromTheProgramDirectory) {
  Choose("", "屏蔽Winkey");
  EXPECT_EQ(launcher.starts, (std::vector<Started>{{"C:\\P\\Quenlock.exe", "", 2}}));
  EXPECT_TRUE(prompts.boxes.empty());

  launcher.succeeds = false;
  Choose("", "屏蔽Winkey");
  EXPECT_EQ(prompts.boxes, (std::vector<Box>{{"无法找到 Quenlock.exe", "确定", 0}}));
}

TEST_F(MenuCommandTest, ExitLeavesThroughTheHostOnly) {
  Choose("", "退出");
  EXPECT_EQ(host.exits, 1);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(host.toggles, 0);
}

TEST_F(MenuCommandTest, NothingStartsWhileASwitchsQuestionWaits) {
  ASSERT_TRUE(fs.Delete("C:\\P\\1.18\\Game.dll").ok());
  bool asked = false;
  prompts.onShow = [&](const Box&) {
    if (asked) return;
    asked = true;
    EXPECT_TRUE(services.switching);
    // The icon's menu and the commands, while 1.18's question is open.
    Choose("mTran", "1.20");
    Choose("mTranFile", "1.20");
    ChooseTranB("mTranBMap");
    Choose("", "运行魔兽");
    Choose("", "屏蔽Winkey");
    Choose("", "监视录象");
    Choose("", "退出");
    EXPECT_EQ(ApplyVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kRefused);
    CmdSwitchSelected(services, view);
    CmdRunGame(services, view);
    CmdStartKeyBlocker(services);
  };
  prompts.answers = {ui::kIdYes};
  Choose("mTran", "1.18");
  EXPECT_TRUE(asked);
  EXPECT_FALSE(services.switching);
  EXPECT_EQ(prompts.boxes.size(), 1u) << "a second switch asked or told something";
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(host.exits + host.toggles, 0);
  EXPECT_EQ(Game("Game.dll"), "old");
  for (size_t i = 1; i < kEntries.size(); ++i) {
    EXPECT_EQ(Game(kEntries[i]), "1.18 " + FileNameOf(kEntries[i])) << kEntries[i];
  }
  EXPECT_EQ(view.status, "转换完成！- Created by Velmor");
  EXPECT_EQ(view.enableCalls, (std::vector<bool>{false, true}));

  // Afterwards everything works again.
  Choose("", "运行魔兽");
  EXPECT_EQ(launcher.starts.size(), 1u);
}

TEST_F(MenuCommandTest, HeadingsAndSubmenusRunNothing) {
  plover::RunMenuCommand(MenuCommand{}, services, view, host);
  const MenuItem main = BuildMainMenu(view.Versions(), false);
  plover::RunMenuCommand(Child(main, "mTranMap").items[0].command, services, view, host);
  EXPECT_EQ(host.toggles + host.exits, 0);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_TRUE(prompts.boxes.empty());
  for (const auto& e : kEntries) EXPECT_EQ(Game(e), "old");
}

}  // namespace
}  // namespace plover::shell
