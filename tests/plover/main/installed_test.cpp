// The version list marks the version the game directory holds: after
// start-up, after every way of switching, and when the game directory
// changes; none when no version's files are all in place.
#include "plover/main/installed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plover/main/menu_commands.h"
#include "plover/main/play_replay.h"
#include "tests/support/fakes.h"
#include "tests/support/replay_bytes.h"

namespace plover::testing {
namespace {

using Names = std::vector<std::string>;

class NoHost : public shell::MenuHost {
 public:
  bool ReplayWatchOn() const override { return false; }
  void SetReplayWatchOn(bool) override {}
  void ExitProgram() override {}
  void RunMenuCommand(const shell::MenuCommand&) override {}
  bool Busy() const override { return false; }
};

class InstalledTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    fs.PutFile("C:\\P\\ver.dat", "D:\\War3\\\r\n\r\n");
    fs.PutFile("D:\\War3\\war3.exe", "exe");
    fs.PutFile("D:\\War3\\Game.dll", "old");
    fs.PutFile("D:\\War3\\Maps\\x.w3x", "old map");
    AddVersion("1.20");
    AddVersion("1.24");
    fs.Tick();
  }
  // Each version's store copies get a time of their own, as files of
  // different patches have.
  void AddVersion(const std::string& name) {
    fs.Tick();
    fs.PutFile("C:\\P\\" + name + ".w3v", "Game.dll\r\nMaps\\x.w3x\r\n");
    fs.PutFile("C:\\P\\" + name + "\\Game.dll", "dll " + name);
    fs.PutFile("C:\\P\\" + name + "\\x.w3x", "map " + name);
  }
  std::string Installed(const std::string& preferred = "") {
    return InstalledVersion(fs, "C:\\P\\", "D:\\War3\\", view.versions, preferred);
  }
  std::string LastMark() const { return view.marked.empty() ? "<none>" : view.marked.back(); }
};

TEST_F(InstalledTest, AVersionIsInstalledOnlyWhenAllItsFilesAreInPlace) {
  view.versions = {"1.20", "1.24"};
  EXPECT_EQ(Installed(), "");

  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\Game.dll", "D:\\War3\\Game.dll").ok());
  EXPECT_EQ(Installed(), "") << "one file of two is not enough";
  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\x.w3x", "D:\\War3\\Maps\\x.w3x").ok());
  EXPECT_EQ(Installed(), "1.24");
  EXPECT_EQ(InstalledVersion(fs, "C:\\P\\", "D:\\Other\\", view.versions), "");

  // The game wrote one of its files: that version is no longer whole.
  fs.Touch("D:\\War3\\Maps\\x.w3x");
  EXPECT_EQ(Installed(), "");
}

TEST_F(InstalledTest, OfTwoVersionsMadeFromTheSameFilesThePreferredOneWins) {
  // "copy" has store copies copied from those of 1.24: same sizes and times.
  fs.PutFile("C:\\P\\copy.w3v", "Game.dll\r\nMaps\\x.w3x\r\n");
  fs.MakeFolders("C:\\P\\copy");
  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\Game.dll", "C:\\P\\copy\\Game.dll").ok());
  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\x.w3x", "C:\\P\\copy\\x.w3x").ok());
  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\Game.dll", "D:\\War3\\Game.dll").ok());
  ASSERT_TRUE(fs.Copy("C:\\P\\1.24\\x.w3x", "D:\\War3\\Maps\\x.w3x").ok());
  view.versions = {"1.20", "1.24", "copy"};
  EXPECT_EQ(Installed(), "1.24");
  EXPECT_EQ(Installed("COPY"), "copy");
  EXPECT_EQ(Installed("1.20"), "1.24") << "a preferred version that is not installed";

  // After a switch only the version switched to is looked at.
  for (int i = 0; i < 20; ++i) AddVersion("v" + std::to_string(i));
  for (int i = 0; i < 20; ++i) view.versions.push_back("v" + std::to_string(i));
  const int before = fs.CallCount(Op::kRead) + fs.CallCount(Op::kGetFile);
  EXPECT_EQ(Installed("copy"), "copy");
  EXPECT_LE(fs.CallCount(Op::kRead) + fs.CallCount(Op::kGetFile) - before, 1 + 2 * 2);
}

TEST_F(InstalledTest, StartUpAndEverySwitchMarkTheInstalledVersion) {
  ASSERT_EQ(RunStartup(services, view, ""), StartupResult::kShowWindow);
  EXPECT_EQ(view.marked, Names{""}) << "nothing switched yet";

  view.selected = 1;
  CmdSwitchSelected(services, view);
  EXPECT_EQ(LastMark(), "1.24");

  shell::MenuCommand menu;
  menu.action = shell::MenuAction::kSwitch;
  menu.version = "1.20";
  menu.scope = Scope::kAll;
  NoHost host;
  RunMenuCommand(menu, services, view, host);
  EXPECT_EQ(LastMark(), "1.20");

  // A switch stopped half-way leaves nothing marked.
  ASSERT_TRUE(fs.Delete("C:\\P\\1.24\\x.w3x").ok());
  prompts.answers = {ui::kIdNo};
  menu.version = "1.24";
  RunMenuCommand(menu, services, view, host);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "dll 1.24");
  EXPECT_EQ(LastMark(), "");

  // A refused switch changed nothing, and marks nothing anew.
  const size_t marks = view.marked.size();
  services.switching = true;
  EXPECT_EQ(SwitchVersion(services, view, "1.24", Scope::kAll).outcome, SwitchOutcome::kRefused);
  services.switching = false;
  EXPECT_EQ(view.marked.size(), marks);
}

TEST_F(InstalledTest, CommandLineReplayAndGameDirectoryMarkToo) {
  ASSERT_EQ(RunStartup(services, view, "1.20"), StartupResult::kClose);
  EXPECT_EQ(LastMark(), "1.20");

  ui::FileVersion v{1, 24, 4, 6387};
  struct Reader : ui::FileVersionReader {
    ui::FileVersion v;
    std::optional<ui::FileVersion> Read(const std::string& path) override {
      if (path == "C:\\P\\1.24\\Game.dll") return v;
      return std::nullopt;
    }
  } reader;
  reader.v = v;
  services.versionReader = &reader;
  fs.PutFile("E:\\Rep\\x.w3g", Replay(24, 6387));
  VersionPatches patches;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\x.w3g"), ReplayPlay::kStarted);
  EXPECT_EQ(LastMark(), "1.24");

  // Another game directory holds none of them.
  fs.PutFile("F:\\Game\\war3.exe", "exe");
  picker.answers = {"F:\\Game"};
  CmdChooseGameDir(services, view);
  EXPECT_EQ(LastMark(), "");
}

TEST_F(InstalledTest, OnlyASingleDroppedReplayIsPlayed) {
  fs.PutFile("E:\\Rep\\a.w3g", Replay(24, 6387));
  fs.PutFile("E:\\Rep\\b.W3G", Replay(24, 6387));
  fs.PutFile("E:\\Rep\\notes.txt", "text");
  fs.MakeFolders("E:\\Rep\\folder.w3g");
  EXPECT_EQ(DroppedReplay(services, {"E:\\Rep\\b.W3G"}), "E:\\Rep\\b.W3G");
  EXPECT_EQ(DroppedReplay(services, {"E:\\Rep\\a.w3g", "E:\\Rep\\b.W3G"}), std::nullopt);
  EXPECT_EQ(DroppedReplay(services, {"E:\\Rep\\notes.txt"}), std::nullopt);
  EXPECT_EQ(DroppedReplay(services, {"E:\\Rep\\folder.w3g"}), std::nullopt);
  EXPECT_EQ(DroppedReplay(services, {}), std::nullopt);
  services.switching = true;
  EXPECT_EQ(DroppedReplay(services, {"E:\\Rep\\a.w3g"}), std::nullopt);
}

}  // namespace
}  // namespace plover::testing
