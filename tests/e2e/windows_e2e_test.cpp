// Plover on Windows as players install it, driven from the outside under
// Wine: the administrator's run of one switch that a game under Program
// Files needs, and the game's own copies that Windows keeps in VirtualStore.
#include <gtest/gtest.h>

#include "tests/e2e/driver_extra.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

const bool kTimeLimit = InstallTestTimeLimit(120000);

std::string Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return Utf8(value);
}

// What the waiting Plover starts elevated: the switch alone, with no window
// and no game, and no refusal as a second instance. It clears the mirror of
// the player who asked, whose local application data it is given: an
// administrator's run may be another account's.
TEST(ElevatedRun, SwitchesAloneWhilePloverRuns) {
  const std::string programFiles = Environment(L"ProgramFiles");
  ASSERT_FALSE(programFiles.empty());
  const std::string game = Join(programFiles, "Plover e2e elevated Warcraft III");
  Scenario s(TestName(), game);
  MakeReady(s);
  const std::string playerLocal = Join(s.root(), "player's local data");
  const std::string mirror = Join(Join(playerLocal, "VirtualStore"), game.substr(3));
  WriteBytes(Join(mirror, "Game.dll"), "left by an older switcher");
  PloverProcess plover;
  ASSERT_NE(StartToWindow(plover, s), nullptr);

  PloverProcess elevated;
  ASSERT_TRUE(elevated.Start(
      s.exe(), "/switch 1 \"" + WithBackslash(game) + "\" \"1.20\" \"" + playerLocal + "\""));
  EXPECT_EQ(elevated.WaitExit(kStartMs), std::optional<DWORD>(0)) << elevated.Describe();
  EXPECT_FALSE(elevated.EverShowedWindow());
  ExpectFlavour(s, FullEntries(), "1.20");
  EXPECT_FALSE(FileExists(Join(mirror, "Game.dll")));
  EXPECT_EQ(s.GameStarts(), 0u);
  ExpectClosesCleanly(plover);
  RemoveTree(game);
}

// A game under Program Files: the stale copy of Game.dll that Windows kept
// for it in VirtualStore goes with the switch, and the replay the game wrote
// there is saved.
TEST(VirtualStore, ASwitchRemovesTheMirrorsCopyAndTheReplayThereIsSaved) {
  const std::string programFiles = Environment(L"ProgramFiles");
  const std::string local = Environment(L"LOCALAPPDATA");
  ASSERT_FALSE(programFiles.empty() || local.empty());
  const std::string game = Join(programFiles, "Plover e2e Warcraft III");
  const std::string mirror =
      Join(Join(local, "VirtualStore"), game.substr(3));  // the path without its drive
  RemoveTree(mirror);
  Scenario s(TestName(), game);
  MakeReady(s);
  WriteBytes(Join(mirror, "Game.dll"), "left by an older switcher");
  WriteBytes(Join(mirror, "replay\\LastReplay.w3g"), "a virtualized replay");

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickListItem(Control(main, kLstVer), 0));
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  ExpectFlavour(s, FullEntries(), "1.20");
  EXPECT_FALSE(FileExists(Join(mirror, "Game.dll")));

  ASSERT_TRUE(Click(Control(main, kChkSave)));
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const auto& name : FileNamesIn(Join(s.prog(), "replays"))) {
          if (ReadBytes(Join(Join(s.prog(), "replays"), name)) == "a virtualized replay") {
            return true;
          }
        }
        return false;
      },
      kStepMs + 6000))
      << "the mirror's replay was not saved";
  ExpectClosesCleanly(plover);
  RemoveTree(mirror);
  RemoveTree(game);
}

}  // namespace
}  // namespace e2e
