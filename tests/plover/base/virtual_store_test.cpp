// A game under Program Files, as Windows virtualizes it for the game: its
// mirror in VirtualStore is found from the known folders, a switch leaves no
// mirror copy that hides what it wrote, the mark looks at what the game
// reads, and the replay watch follows the replays written there.
#include "plover/base/virtual_store.h"

#include <gtest/gtest.h>

#include "plover/main/installed.h"
#include "plover/main/replay_watch.h"
#include "plover/versions/quick_check.h"
#include "tests/support/fakes.h"

namespace plover::testing {
namespace {

const KnownFolders kKnown{"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Windows",
                          "C:\\Users\\p\\AppData\\Local", ""};
const std::string kGame = "C:\\Program Files (x86)\\Warcraft III\\";
const std::string kMirror =
    "C:\\Users\\p\\AppData\\Local\\VirtualStore\\Program Files (x86)\\"
    "Warcraft III\\";

TEST(VirtualStoreTest, OnlyTheVirtualizedFoldersHaveAMirror) {
  const struct {
    const char* gameDir;
    const char* mirror;
  } cases[] = {
      {"C:\\Program Files (x86)\\Warcraft III\\", kMirror.c_str()},
      {"c:\\program files\\War3",
       "C:\\Users\\p\\AppData\\Local\\VirtualStore\\program files\\War3\\"},
      {"C:\\Windows\\Games\\W3\\",
       "C:\\Users\\p\\AppData\\Local\\VirtualStore\\Windows\\Games\\W3\\"},
      {"C:\\Program Files Extra\\War3\\", ""},
      {"D:\\Games\\Warcraft III\\", ""},
      {"\\\\server\\share\\War3\\", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualStoreOf(c.gameDir, kKnown), c.mirror) << c.gameDir;
  EXPECT_EQ(VirtualStoreOf(kGame, {"C:\\Program Files (x86)", "", "", "", ""}), "")
      << "no local application data folder known";
  // What a 32-bit Plover on 64-bit Windows is told: Program Files itself only
  // by %ProgramW6432%.
  const KnownFolders wow64{"C:\\Program Files (x86)", "C:\\Program Files (x86)", "C:\\Windows",
                           "C:\\Users\\p\\AppData\\Local", "C:\\Program Files"};
  EXPECT_EQ(VirtualStoreOf("C:\\Program Files\\Warcraft III", wow64),
            "C:\\Users\\p\\AppData\\Local\\VirtualStore\\Program Files\\Warcraft III\\");
}

class MirroredSwitchTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    services.known = kKnown;
    view.gamePath = kGame;
    view.versions = {"1.20"};
    for (const char* f : {"Game.dll", "Storm.dll"}) {
      fs.PutFile(kGame + f, "old");
      fs.PutFile("C:\\P\\1.20\\" + std::string(f), "new");
    }
    fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\nStorm.dll\r\n");
  }
};

TEST_F(MirroredSwitchTest, AMirrorCopyGoesOnceTheGameFileIsWrittenAndTheMarkSeesTheMirror) {
  fs.PutFile(kMirror + "Game.dll", "stale, from an older switcher");
  EXPECT_EQ(SwitchVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(fs.Contents(kGame + "Game.dll"), "new");
  EXPECT_FALSE(fs.Exists(kMirror + "Game.dll"));
  EXPECT_EQ(view.marked.back(), "1.20");

  // The game's own copy in the mirror is what it reads: the version is not
  // whole then, and a mirror copy that is the store copy needs no writing.
  fs.PutFile(kMirror + "Storm.dll", "the game wrote this");
  services.mark.GameChanged();
  versions::ShowInstalledVersion(services, view);
  EXPECT_EQ(view.marked.back(), "");
  ASSERT_TRUE(fs.Delete(kMirror + "Storm.dll").ok());
  ASSERT_TRUE(fs.Copy("C:\\P\\1.20\\Storm.dll", kMirror + "Storm.dll").ok());
  const size_t logged = fs.Log().size();
  EXPECT_EQ(SwitchVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(fs.Log().size(), logged) << "nothing written";
  EXPECT_EQ(view.marked.back(), "1.20");
}

TEST(MirroredReplayTest, TheReplayThatChangedIsSavedTheNewerWhenBothDid) {
  struct Clock : plover::Clock {
    LocalTime Now() override { return {2007, 3, 16, 14, 5, 9}; }
  } clock;
  MemoryFileSystem fs;
  ReplayWatch watch;
  const std::string saved = "C:\\P\\replays\\ 2007- 3- 16  14. 5. 9.w3g";
  const auto put = [&](const std::string& dir, const std::string& bytes) {
    fs.Tick();
    fs.PutFile(WatchedReplayPath(dir), bytes);
  };
  const auto tick = [&] {
    (void)fs.Delete(saved);
    return ReplayTick(fs, clock, watch, kGame, "C:\\P\\replays\\", nullptr, kMirror)
               ? fs.Contents(saved).value_or("?")
               : "";
  };
  put(kGame, "in the game folder");
  EXPECT_EQ(tick(), "in the game folder");
  put(kMirror, "virtualized");
  EXPECT_EQ(tick(), "virtualized");
  EXPECT_EQ(tick(), "");
  put(kMirror, "virtualized, older");
  put(kGame, "in the game folder, newer");
  EXPECT_EQ(tick(), "in the game folder, newer");
  EXPECT_EQ(tick(), "") << "the older one counts as seen";
}

}  // namespace
}  // namespace plover::testing
