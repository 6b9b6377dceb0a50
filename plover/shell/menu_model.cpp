#include "plover/shell/menu_model.h"

#include <utility>

namespace plover::shell {
namespace {

constexpr const char* kChooseVersion = "选择版本";

MenuItem Item(const char* name, std::string caption, MenuCommand command = {}) {
  MenuItem item;
  item.name = name;
  item.caption = std::move(caption);
  item.command = std::move(command);
  return item;
}

// A switching submenu: the greyed heading, then one item per version in list
// order, each switching that version with `scope`.
MenuItem VersionSubmenu(const char* name, const char* caption, const char* listName,
                        const std::vector<std::string>& versions, Scope scope) {
  MenuItem submenu = Item(name, caption);
  MenuItem heading = Item(listName, kChooseVersion);
  heading.enabled = false;
  submenu.items.push_back(std::move(heading));
  for (const auto& version : versions) {
    submenu.items.push_back(Item(listName, version, {MenuAction::kSwitch, version, scope}));
  }
  return submenu;
}

MenuItem Plain(const char* name, const char* caption, MenuAction action, Scope scope = {}) {
  return Item(name, caption, {action, std::string(), scope});
}

}  // namespace

MenuItem BuildMainMenu(const std::vector<std::string>& versions, bool replayOn) {
  MenuItem main = Item("mMain", "Main");
  main.items.push_back(VersionSubmenu("mTran", "转换", "mTranAll", versions, Scope::kAll));
  main.items.push_back(
      VersionSubmenu("mTranFile", "仅转换文件", "mTranFileAll", versions, Scope::kFiles));
  main.items.push_back(
      VersionSubmenu("mTranMap", "仅转换地图", "mTranMapAll", versions, Scope::kMaps));
  main.items.push_back(Plain("mWinkey", "屏蔽Winkey", MenuAction::kStartKeyBlocker));
  MenuItem replay = Plain("mReplay", "监视录象", MenuAction::kToggleReplay);
  replay.checked = replayOn;
  main.items.push_back(std::move(replay));
  main.items.push_back(Plain("mRun", "运行魔兽", MenuAction::kRunGame));
  main.items.push_back(Plain("mExit", "退出", MenuAction::kExit));
  return main;
}

MenuItem BuildTranBMenu() {
  MenuItem tranB = Item("mTranB", "TRan");
  tranB.items.push_back(
      Plain("mTranBMap", "仅转换地图", MenuAction::kSwitchSelected, Scope::kMaps));
  tranB.items.push_back(
      Plain("mTranBFile", "仅转换文件", MenuAction::kSwitchSelected, Scope::kFiles));
  return tranB;
}

}  // namespace plover::shell
