#include "plover/main/running_game.h"

#include "plover/base/functions.h"
#include "plover/base/strings.h"

namespace plover {

bool GameRunsFrom(const std::vector<std::string>& imagePaths, const std::string& gameDir) {
  if (gameDir.empty()) return false;  // no game folder chosen yet
  const std::string game = AddBackslash(gameDir) + "war3.exe";
  for (const auto& path : imagePaths) {
    if (fs::EqualsNoCase(path, game)) return true;
  }
  return false;
}

bool GoOnThoughGameRuns(Services& s, const std::string& gameDir) {
  if (!s.processes || !GameRunsFrom(s.processes->ImagePaths(), gameDir)) return true;
  return s.prompts.MsgBox(text_of::kGameRunning, text_of::kTitleSwitch,
                          ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2) == ui::kIdYes;
}

}  // namespace plover
