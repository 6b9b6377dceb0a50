// Playing a replay: the version it needs is found by build or patch, switched
// to, and the game started on the replay; from the command line and from the
// window alike.
#include "plover/main/play_replay.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "plover/main/startup.h"
#include "tests/support/fakes.h"
#include "tests/support/replay_bytes.h"

namespace plover::testing {
namespace {

// File versions by path, as the versions' store copies carry them.
class FakeVersionReader : public ui::FileVersionReader {
 public:
  std::map<std::string, ui::FileVersion> versions;
  int reads = 0;
  std::optional<ui::FileVersion> Read(const std::string& path) override {
    ++reads;
    for (const auto& [p, v] : versions) {
      if (fs::EqualsNoCase(p, path)) return v;
    }
    return std::nullopt;
  }
};

class PlayReplayTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    services.versionReader = &reader;
    fs.PutFile("C:\\P\\ver.dat", "D:\\War3\\\r\n\r\n");
    fs.PutFile("D:\\War3\\war3.exe", "exe");
    fs.PutFile("D:\\War3\\Game.dll", "old");
    AddVersion("1.20", {1, 20, 4, 6074});
    AddVersion("1.24", {1, 24, 4, 6387});
    AddVersion("1.26", {1, 26, 0, 6401});
    // A version whose Game.dll says nothing: its War3.exe does.
    fs.PutFile("C:\\P\\old.w3v", "War3.exe\r\n");
    fs.PutFile("C:\\P\\old\\war3.exe", "new old");
    reader.versions["C:\\P\\old\\War3.exe"] = {1, 6, 0, 4656};
  }
  void AddVersion(const std::string& name, ui::FileVersion v) {
    fs.PutFile("C:\\P\\" + name + ".w3v", "Game.dll\r\n");
    fs.PutFile("C:\\P\\" + name + "\\Game.dll", "new " + name);
    reader.versions["C:\\P\\" + name + "\\Game.dll"] = v;
  }
  Box Exclamation(const std::string& text) const {
    return {text, "错误", ui::kOkOnly | ui::kIconExclamation};
  }
  FakeVersionReader reader;
};

TEST_F(PlayReplayTest, CommandLineReplaySwitchesToItsBuildStartsTheGameAndCloses) {
  fs.PutFile("E:\\Rep\\x.w3g", Replay(26, 6401));
  EXPECT_EQ(RunStartup(services, view, "\"E:\\Rep\\x.w3g\""), StartupResult::kClose);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new 1.26");
  EXPECT_EQ(launcher.starts,
            (std::vector<Started>{{"D:\\War3\\war3.exe", "-loadfile \"E:\\Rep\\x.w3g\"", 2}}));
  EXPECT_EQ(view.status, "转换完成！- Created by Velmor");

  // Patch 1.06 is known from War3.exe; the same patch's nearest build counts.
  fs.PutFile("E:\\Rep\\old.w3g", Replay(6, 4600, 0));
  VersionPatches patches;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\old.w3g"), ReplayPlay::kStarted);
  EXPECT_EQ(fs.Contents("D:\\War3\\War3.exe"), "new old");
}

TEST_F(PlayReplayTest, WithoutAGameDirectoryNothingIsWrittenOrStartedAndOneBoxSaysSo) {
  fs.PutFile("E:\\Rep\\x.w3g", Replay(26, 6401));
  view.versions = {"1.20", "1.24", "1.26", "old"};
  view.gamePath = "";
  VersionPatches patches;
  PlayReplay(services, view, patches, "E:\\Rep\\x.w3g");
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"找不到魔兽,请选择正确的目录", "错误", ui::kOkOnly}}));
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "old");
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(PlayReplayTest, NoMatchAndNotAReplayChangeNothing) {
  fs.PutFile("E:\\Rep\\1.21.w3g", Replay(21, 6130));
  fs.PutFile("E:\\Rep\\text.w3g", "这不是录像\r\n");
  EXPECT_EQ(RunStartup(services, view, "E:\\Rep\\1.21.w3g"), StartupResult::kShowWindow);
  VersionPatches patches;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\text.w3g"), ReplayPlay::kNotAReplay);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{
                Exclamation("没有找到与此录像匹配的版本（1.21，build 6130）。请先添加该版本。"),
                Exclamation("这不是一个魔兽争霸录像文件。")}));
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "old");
  EXPECT_TRUE(launcher.starts.empty());
  // A file that is not there, or not a .w3g, is not a replay to play.
  EXPECT_EQ(ReplayFileNamedBy(fs, "E:\\Rep\\gone.w3g"), std::nullopt);
  EXPECT_EQ(ReplayFileNamedBy(fs, "D:\\War3\\Game.dll"), std::nullopt);
}

TEST_F(PlayReplayTest, OnlyTheHeaderOfALongReplayIsRead) {
  fs.PutFile("E:\\Rep\\long.w3g", Replay(26, 6401, 1, "PX3W", 4u << 20));
  RunStartup(services, view, "");
  const uint64_t before = fs.BytesRead();
  VersionPatches patches;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\long.w3g"), ReplayPlay::kStarted);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new 1.26");
  // The header and the small version file; never the replay's megabytes.
  EXPECT_LT(fs.BytesRead() - before, 4096u);

  // A replay that cannot be read is no replay.
  fs.Fail(Op::kRead, "E:\\Rep\\long.w3g", fs::kDeviceIoError);
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\long.w3g"), ReplayPlay::kNotAReplay);
}

TEST_F(PlayReplayTest, EachVersionsPatchIsReadOnce) {
  fs.PutFile("E:\\Rep\\a.w3g", Replay(24, 6387));
  RunStartup(services, view, "");
  VersionPatches patches;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\a.w3g"), ReplayPlay::kStarted);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new 1.24");
  const int reads = reader.reads;
  EXPECT_EQ(PlayReplay(services, view, patches, "E:\\Rep\\a.w3g"), ReplayPlay::kStarted);
  EXPECT_EQ(reader.reads, reads);
}

}  // namespace
}  // namespace plover::testing
