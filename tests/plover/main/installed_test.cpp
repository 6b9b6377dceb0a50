// The version list marks the version the game directory holds: after
// start-up, after every way of switching, and when the game directory
// changes; none when no version's files are all in place.
#include "plover/main/installed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "plover/main/commands.h"
#include "plover/main/menu_commands.h"
#include "plover/main/play_replay.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/editor.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/wizard.h"
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
  std::string Installed() {
    for (const auto& v : view.versions) {
      if (versions::VersionInstalled(fs, "C:\\P\\", v, "D:\\War3\\")) return v;
    }
    return "";
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
  EXPECT_FALSE(versions::VersionInstalled(fs, "C:\\P\\", "1.24", "D:\\Other\\"));

  // The game wrote one of its files: that version is no longer whole.
  fs.Touch("D:\\War3\\Maps\\x.w3x");
  EXPECT_EQ(Installed(), "");
}

// The choice among whole versions, and what each change makes it look at
// again: the changed version and the marked one, nothing else.
TEST(InstalledMarkTest, ChoosesTheLastSwitchedToElseTheFirstListedAndRereadsOnlyWhatChanged) {
  const Names listed{"a", "b", "c", "d"};
  std::map<std::string, bool> whole{{"a", false}, {"b", true}, {"c", true}, {"d", false}};
  Names read;
  size_t slice = SIZE_MAX;  // versions the next choice may look at
  const auto isWhole = [&](const std::string& n) -> std::optional<bool> {
    if (slice == 0) return std::nullopt;
    --slice;
    read.push_back(n);
    return whole[n];
  };
  InstalledMark mark;
  EXPECT_EQ(mark.Choose(listed, isWhole), "b") << "first whole in list order";
  EXPECT_EQ(read, (Names{"a", "b"}));

  read.clear();
  mark.Switched("c", true);
  EXPECT_EQ(mark.Choose(listed, isWhole), "c") << "the version switched to, seen whole";
  EXPECT_EQ(read, Names{});

  read.clear();
  mark.VersionChanged("d");
  whole["d"] = true;
  EXPECT_EQ(mark.Choose(listed, isWhole), "c");
  EXPECT_EQ(read, Names{"c"}) << "only the marked one, which wins before d is needed";

  read.clear();
  whole["c"] = false;
  mark.VersionChanged("c");
  EXPECT_EQ(mark.Choose(listed, isWhole), "b");
  EXPECT_EQ(read, (Names{"c", "a", "b"})) << "after a switch the others are unknown";

  read.clear();
  mark.VersionRenamed("b", "B2");
  EXPECT_EQ(mark.Choose({"a", "B2", "c", "d"}, isWhole), "d") << "B2 reads as not whole";
  EXPECT_EQ(read, (Names{"B2", "d"}));

  read.clear();
  mark.GameChanged();
  slice = 1;
  EXPECT_EQ(mark.Choose(listed, isWhole), std::nullopt) << "c is read first, and not whole";
  EXPECT_EQ(mark.Marked(), "d") << "an undecided choice keeps the mark";
  slice = 2;
  EXPECT_EQ(mark.Choose(listed, isWhole), "b") << "goes on from there";
  EXPECT_EQ(read, (Names{"c", "a", "b"}));
  slice = SIZE_MAX;

  read.clear();
  mark.VersionDeleted("b");
  EXPECT_EQ(mark.Choose({"a", "c", "d"}, isWhole), "d");
  EXPECT_EQ(read, Names{"d"});
}

// After start-up the mark is worked out in steps of a few look-ups, also
// inside a version of many entries, and a change meanwhile starts that
// version again.
TEST_F(InstalledTest, TheStartUpCheckTakesLargeVersionsInSteps) {
  std::string lines;
  for (int i = 0; i < 100; ++i) {
    const std::string file = "f" + std::to_string(i) + ".mpq";
    lines += file + "\r\n";
    fs.PutFile("C:\\P\\big\\" + file, file);
    ASSERT_TRUE(fs.Copy("C:\\P\\big\\" + file, "D:\\War3\\" + file).ok());
  }
  fs.PutFile("C:\\P\\big.w3v", lines);
  view.versions = {"1.20", "big"};
  view.gamePath = "D:\\War3\\";
  services.mark.GameChanged();

  versions::InstalledCheck check;
  int steps = 0;
  for (int calls = fs.TotalCalls(); !check.Step(services, view, 16); calls = fs.TotalCalls()) {
    EXPECT_LE(fs.TotalCalls() - calls, 16) << "step " << steps;
    ++steps;
    if (steps == 5) services.mark.VersionChanged("big");  // seen so far: stale
  }
  EXPECT_EQ(LastMark(), "big");
  // 200 look-ups of 16 a step, and the five steps seen again.
  EXPECT_GE(steps, 200 / 16 + 4);
}

TEST_F(InstalledTest, StartUpAndEverySwitchMarkTheInstalledVersion) {
  ASSERT_EQ(StartFully(services, view), StartupResult::kShowWindow);
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

// Making, editing and deleting versions marks anew, as switching does.
TEST_F(InstalledTest, EveryChangeOfAVersionMarksAnew) {
  ASSERT_EQ(StartFully(services, view), StartupResult::kShowWindow);
  EXPECT_EQ(LastMark(), "");

  // Imported from the game folder's own files: whole at once.
  fs.PutFile("E:\\mine.w3v", "Game.dll\r\nMaps\\x.w3x\r\n");
  FakeWizardView wiz;
  wiz.mode = versions::WizardMode::kImport;
  wiz.fileText = "E:\\mine.w3v";
  wiz.versionText = "mine";
  versions::NewVersionWizard(services, view, wiz).OnNext();
  EXPECT_EQ(LastMark(), "mine");

  view.selected = 1;
  CmdSwitchSelected(services, view);
  EXPECT_EQ(LastMark(), "1.24");

  versions::VersionEditor editor(services, view);
  editor.Open(versions::VersionEditor::kEditCaption, "1.24");
  editor.Load();
  textPrompt.answers = {"1.24b"};
  editor.Rename();
  ASSERT_TRUE(editor.Save());
  EXPECT_EQ(LastMark(), "1.24b");

  view.selected = 1;
  prompts.answers = {ui::kIdYes, ui::kIdYes};
  CmdDeleteVersion(services, view);
  EXPECT_EQ(view.versions, (Names{"1.20", "mine"}));
  EXPECT_EQ(LastMark(), "") << "mine holds the files the game had before";
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
