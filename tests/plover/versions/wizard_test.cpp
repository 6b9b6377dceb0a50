// The new-version wizard's three ways (auto-generate, import, expert), what
// they ask and tell, and a failure that leaves nothing behind.
#include "plover/versions/wizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "plover/base/functions.h"
#include "tests/support/fakes.h"

namespace plover::versions {
namespace {

using testing::Box;
using testing::FakeWizardView;
using testing::Op;
using testing::Snapshot;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

const std::string kGame = "D:\\Games\\Warcraft III\\";
constexpr const char* kWorking = "正在制作中....请稍侯";
constexpr const char* kDone = "正在制作中....请稍侯..........完成";
constexpr const char* kGameFileMissing = "制作失败，找不到魔兽或地图文件丢失！";
constexpr const char* kFileMissing = "制作失败，配置文件不存！";
constexpr const char* kBadPath = "制作失败，配置文件中有无效的路径！";
constexpr const char* kCannotReadOrWrite = "制作失败，无法读写文件！";
const Box kBadName{"版本名称不能包含 \\ / : * ? \" < > | 等字符，也不能以点或空格结尾。", "出错",
                   ui::kIconError};
const Box kOverwrite{"你输入的版本名称已经存在，是否覆盖原版本？", "制作新的版本文件",
                     ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2};

// The fifteen entries in version-file order.
const Lines kLineOrder = {
    "Game.dll",
    "Storm.dll",
    "War3.exe",
    "worldedit.exe",
    "War3Patch.mpq",
    "War3.org",
    "Mss32.dll",
    "ijl15.dll",
    "Maps\\(4)LostTemple.w3m",
    "Maps\\FrozenThrone\\(2)EchoIsles.w3x",
    "Maps\\FrozenThrone\\(2)TheTwoRivers.w3x",
    "Maps\\FrozenThrone\\(4)HailStone.w3x",
    "Maps\\FrozenThrone\\(4)TurtleRock.w3x",
    "Maps\\FrozenThrone\\(4)TwistedMeadows.w3x",
    "Maps\\FrozenThrone\\(6)GnollWood.w3x",
};

std::string GameBytes(const std::string& entry) {
  return "game " + entry;
}

struct WizardWorld : testing::TestWorld {
  FakeWizardView wiz;
  NewVersionWizard wizard{services, view, wiz};

  WizardWorld() {
    fs.MakeFolders("C:\\P");
    view.gamePath = kGame;
    for (const auto& e : kLineOrder) fs.PutFile(kGame + e, GameBytes(e));
  }
  // Version 1.20, listed, with a store holding an extra file.
  void AddOldVersion() {
    fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\nWar3.exe\r\n");
    fs.PutFile("C:\\P\\1.20\\Game.dll", "old dll");
    fs.PutFile("C:\\P\\1.20\\war3.exe", "old exe");
    fs.PutFile("C:\\P\\1.20\\notes.txt", "mine");
    view.versions = {"1.20", "1.18"};
  }
  void Next(const std::string& name, WizardMode mode = WizardMode::kAutoGenerate) {
    wiz.versionText = name;
    wiz.mode = mode;
    wizard.OnNext();
  }
  Lines CopySources() const {
    Lines out;
    for (const auto& line : fs.Log()) {
      if (line.starts_with("copy ")) out.push_back(line.substr(5, line.find(" -> ") - 5));
    }
    return out;
  }
  Lines StoreFiles(const std::string& name) {
    Lines names;
    EXPECT_TRUE(fs.ListFiles("C:\\P\\" + name, "*", names).ok());
    return names;
  }
  auto Disk() const {
    auto all = Snapshot(fs, "C:\\");
    all.merge(Snapshot(fs, "D:\\"));
    return all;
  }
};

class WizardTest : public ::testing::Test, public WizardWorld {};

TEST_F(WizardTest, AutoGenerateCopiesFifteenFilesAndWrites342Bytes) {
  Next("1.20");

  std::string expectedFile;
  for (const auto& e : kLineOrder) expectedFile += e + "\r\n";
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), expectedFile);
  EXPECT_EQ(expectedFile.size(), 342u);
  EXPECT_EQ(AutoGenerateFileBytes(), expectedFile);

  const Lines copyOrder = {"war3.exe",     "Storm.dll",     "War3.org",     "War3Patch.mpq",
                           "Game.dll",     "worldedit.exe", "Mss32.dll",    "ijl15.dll",
                           kLineOrder[8],  kLineOrder[9],   kLineOrder[10], kLineOrder[11],
                           kLineOrder[12], kLineOrder[13],  kLineOrder[14]};
  Lines sources;
  for (const auto& e : copyOrder) sources.push_back(kGame + e);
  EXPECT_EQ(CopySources(), sources);

  const Lines store = StoreFiles("1.20");
  EXPECT_EQ(store.size(), 15u);
  EXPECT_NE(std::find(store.begin(), store.end(), "war3.exe"), store.end());
  for (const auto& e : kLineOrder) {
    EXPECT_EQ(fs.Contents("C:\\P\\1.20\\" + FileNameOf(e)), GameBytes(e)) << e;
  }
  EXPECT_EQ(Snapshot(fs, "C:\\P").size(), 17u);  // the file, the folder and its 15 files

  EXPECT_EQ(wiz.infos.front(), kWorking);
  EXPECT_EQ(wiz.info, kDone);
  EXPECT_FALSE(wiz.nextEnabled);
  EXPECT_EQ(wiz.cancelCaption, "完成");
  EXPECT_EQ(wiz.enableCalls, (std::vector<bool>{false, true}));
  EXPECT_EQ(view.versions, Lines{"1.20"});
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(WizardTest, AutoGenerateReusesAnUnlistedStoreFolderAndKeepsItsOtherFiles) {
  fs.PutFile("C:\\P\\1.20\\Game.dll", "old dll");
  fs.PutFile("C:\\P\\1.20\\notes.txt", "mine");
  Next("1.20");
  EXPECT_EQ(wiz.info, kDone);
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\Game.dll"), GameBytes("Game.dll"));
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\notes.txt"), "mine");
  EXPECT_EQ(StoreFiles("1.20").size(), 16u);
  EXPECT_EQ(view.versions, Lines{"1.20"});
}

// Every failing run leaves the disk as it was (a new version leaves nothing,
// an overwritten one stays whole and listed), re-enables the window, and
// shows the row's text, never the progress text. Files missing from the game
// directory are then listed in a box, each as the version file names it and
// in its order; every other failure shows no message of its own.
TEST(WizardFailureTest, EveryFailureLeavesTheDiskAndTheListAsTheyWere) {
  const std::string f = "D:\\Backup\\1.20.w3v";
  struct Row {
    const char* what;
    WizardMode mode;
    std::function<void(WizardWorld&)> arrange;
    const char* info;
    bool newOnly = false;
    Lines missing = {};
  };
  const Row rows[] = {
      {"map missing",
       WizardMode::kAutoGenerate,
       [](WizardWorld& w) { (void)w.fs.Delete(kGame + kLineOrder[14]); },
       kGameFileMissing,
       false,
       {kLineOrder[14]}},
      {"three missing, the first copied last",
       WizardMode::kAutoGenerate,
       [](WizardWorld& w) {
         for (const char* gone : {"Maps\\(4)LostTemple.w3m", "war3.exe", "Game.dll"}) {
           ASSERT_TRUE(w.fs.Delete(kGame + gone).ok());
         }
       },
       kGameFileMissing,
       false,
       {"Game.dll", "War3.exe", "Maps\\(4)LostTemple.w3m"}},
      {"15th copy finds no file",
       WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.Fail(Op::kCopy, "", fs::kFileNotFound, 14); },
       kGameFileMissing,
       false,
       {kLineOrder[14]}},
      {"15th copy denied", WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.Fail(Op::kCopy, "", fs::kPermissionDenied, 14); },
       kCannotReadOrWrite},
      {"disk full on a copy", WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.Fail(Op::kCopy, "", fs::kDiskFull, 3); }, kCannotReadOrWrite},
      {"no folder can be made", WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.Fail(Op::kCreateFolder, "", fs::kPermissionDenied, 0, -1); },
       kCannotReadOrWrite},
      {"version file not writable", WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.Fail(Op::kWrite, "", fs::kDiskFull); }, kCannotReadOrWrite},
      {"a file where the store folder goes", WizardMode::kAutoGenerate,
       [](WizardWorld& w) { w.fs.PutFile("C:\\P\\1.20", "a file"); }, kCannotReadOrWrite, true},
      {"import: F missing", WizardMode::kImport, [](WizardWorld&) {}, kFileMissing},
      {"import: F unreadable", WizardMode::kImport,
       [&](WizardWorld& w) {
         w.fs.PutFile(f, "Game.dll\r\n");
         w.fs.Fail(Op::kRead, f, fs::kPermissionDenied);
       },
       kCannotReadOrWrite},
      {"import: second entry missing",
       WizardMode::kImport,
       [&](WizardWorld& w) { w.fs.PutFile(f, "Game.dll\r\nMaps\\Gone.w3x\r\nStorm.dll\r\n"); },
       kGameFileMissing,
       false,
       {"Maps\\Gone.w3x"}},
      {"import: copy denied", WizardMode::kImport,
       [&](WizardWorld& w) {
         w.fs.PutFile(f, "Game.dll\r\nStorm.dll\r\n");
         w.fs.Fail(Op::kCopy, "", fs::kPermissionDenied, 1);
       },
       kCannotReadOrWrite},
      {"import: a file where the store folder goes", WizardMode::kImport,
       [&](WizardWorld& w) {
         w.fs.PutFile(f, "Game.dll\r\n");
         w.fs.PutFile("C:\\P\\1.20", "a file");
       },
       kCannotReadOrWrite, true},
      {"import: line not in code page 936", WizardMode::kImport,
       [&](WizardWorld& w) { w.fs.PutFile(f, "Game.dll\r\n\x81\x20.dll\r\n"); }, kBadPath},
  };
  for (const auto& row : rows) {
    for (const bool overwrite : {false, true}) {
      if (overwrite && row.newOnly) continue;
      SCOPED_TRACE(std::string(row.what) + (overwrite ? ", overwriting" : ", new"));
      WizardWorld w;
      if (overwrite) {
        w.AddOldVersion();
        w.prompts.answers = {ui::kIdYes};
      }
      w.wiz.fileText = f;
      row.arrange(w);
      const auto before = w.Disk();
      const Lines listed = w.view.versions;

      w.Next("1.20", row.mode);

      EXPECT_EQ(w.wiz.info, row.info);
      EXPECT_EQ(w.Disk(), before);
      EXPECT_EQ(w.view.versions, listed);
      EXPECT_EQ(w.wiz.enableCalls, (std::vector<bool>{false, true}));
      EXPECT_TRUE(w.wiz.nextEnabled);
      EXPECT_EQ(w.wiz.cancelCaption, "取消");
      std::vector<Box> boxes;
      if (overwrite) boxes.push_back(kOverwrite);
      if (!row.missing.empty()) {
        std::string text = "以下文件在魔兽目录中找不到：";
        for (const auto& m : row.missing) text += "\n" + m;
        boxes.push_back({text, "错误", ui::kOkOnly | ui::kIconExclamation});
      }
      EXPECT_EQ(w.prompts.boxes, boxes);
    }
  }
}

TEST_F(WizardTest, ImportRefusesEntriesLeavingTheGameDirectoryBeforeCopying) {
  for (const char* bad : {"..\\Game.dll", "Maps\\..\\..\\x.dll", "C:\\Windows\\x.dll", "\\x.dll",
                          "\\\\server\\share\\x.dll", "D:x.dll"}) {
    SCOPED_TRACE(bad);
    fs.PutFile("D:\\Backup\\x.w3v", "Game.dll\r\n" + std::string(bad) + "\r\n");
    const size_t logged = fs.Log().size();
    wiz.fileText = "D:\\Backup\\x.w3v";
    Next("x", WizardMode::kImport);
    EXPECT_EQ(wiz.info, kBadPath);
    EXPECT_EQ(fs.Log().size(), logged);
    EXPECT_TRUE(view.versions.empty());
  }
}

TEST_F(WizardTest, ImportCopiesFromTheGameDirectoryAndTheFileByteForByte) {
  const std::string f = "D:\\Backup\\1.20.w3v";
  // Code page 936 text, a last line without CR LF.
  const std::string bytes =
      "Game.dll\r\nMaps\\FrozenThrone\\" + testing::Gbk("魔兽") + ".w3x\r\nWar3.exe";
  fs.PutFile(f, bytes);
  fs.PutFile("D:\\Backup\\Game.dll", "backup dll");
  fs.PutFile(kGame + "Maps\\FrozenThrone\\魔兽.w3x", "map");
  wiz.fileText = f;

  // The first try fails on the missing map; the second, with the map, works.
  (void)fs.Delete(kGame + "Maps\\FrozenThrone\\魔兽.w3x");
  Next("1.20", WizardMode::kImport);
  ASSERT_EQ(wiz.info, kGameFileMissing);
  fs.PutFile(kGame + "Maps\\FrozenThrone\\魔兽.w3x", "map");
  wizard.OnNext();

  EXPECT_EQ(wiz.info, kDone);
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), bytes);
  EXPECT_EQ(StoreFiles("1.20"), (Lines{"Game.dll", "War3.exe", "魔兽.w3x"}));
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\Game.dll"), GameBytes("Game.dll"));
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\魔兽.w3x"), "map");
  EXPECT_FALSE(wiz.nextEnabled);
  EXPECT_EQ(wiz.cancelCaption, "完成");
  EXPECT_EQ(view.versions, Lines{"1.20"});
}

TEST_F(WizardTest, ImportWithoutAFileAsksForOne) {
  wiz.fileText = "   ";
  Next("1.20", WizardMode::kImport);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"请选择一个配置文件（*.w3v）！", "错误", ui::kOkOnly}}));
  EXPECT_TRUE(wiz.infos.empty());
  EXPECT_TRUE(fs.Log().empty());
}

TEST_F(WizardTest, RefusedNamesWriteNothing) {
  const Box blank{"请输入一个版本名称，如“1.20”，“1.18”等。", "出错", ui::kIconError};
  const struct {
    std::string name;
    Box box;
  } cases[] = {
      {"", blank},         {"   ", blank},    {"a\\b", kBadName},  {"a/b", kBadName},
      {"1:20", kBadName},  {"1*", kBadName},  {"1?", kBadName},    {"\"1\"", kBadName},
      {"<1>", kBadName},   {"a|b", kBadName}, {"a\tb", kBadName},  {"1.20.", kBadName},
      {"1.20 ", kBadName}, {"CON", kBadName}, {"nul.1", kBadName}, {"Com7", kBadName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompts.boxes.clear();
    Next(c.name);
    EXPECT_EQ(prompts.boxes, std::vector<Box>{c.box});
    EXPECT_TRUE(wiz.infos.empty());
    EXPECT_TRUE(fs.Log().empty());
    EXPECT_TRUE(view.versions.empty());
  }
}

TEST_F(WizardTest, OverwriteAsksAndNoChangesNothing) {
  AddOldVersion();
  const auto before = Disk();
  prompts.answers = {ui::kIdNo};
  Next("1.20");
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kOverwrite});
  EXPECT_EQ(Disk(), before);
  EXPECT_EQ(view.versions, (Lines{"1.20", "1.18"}));
  EXPECT_TRUE(wiz.infos.empty());
}

TEST_F(WizardTest, OverwriteWithYesReplacesTheVersionAndListsItOnce) {
  AddOldVersion();
  prompts.answers = {ui::kIdYes};
  Next("1.20");
  EXPECT_EQ(wiz.info, kDone);
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), AutoGenerateFileBytes());
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\war3.exe"), GameBytes("War3.exe"));
  EXPECT_EQ(StoreFiles("1.20").size(), 16u);  // with notes.txt
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.20"}));
  EXPECT_TRUE(testing::TempFilesLeft(fs).empty());
}

TEST_F(WizardTest, TheStartTextIsAName) {
  Next("在这里输入一个名称");
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(view.versions, (Lines{"在这里输入一个名称"}));
  EXPECT_EQ(fs.Contents("C:\\P\\在这里输入一个名称.w3v"), AutoGenerateFileBytes());
  Next("COM10");  // not a device name
  EXPECT_EQ(view.versions.back(), "COM10");
}

// The file system takes "test" for "Test": the overwrite question comes up,
// No keeps Test, and Yes replaces it so that the list holds "test" once.
TEST(WizardOverwriteTest, NamesInOtherLetterCaseAreTheSameVersion) {
  for (const WizardMode mode :
       {WizardMode::kAutoGenerate, WizardMode::kImport, WizardMode::kExpert}) {
    for (const int answer : {ui::kIdNo, ui::kIdYes}) {
      SCOPED_TRACE(::testing::Message() << static_cast<int>(mode) << ", answer " << answer);
      WizardWorld w;
      w.fs.PutFile("C:\\P\\Test.w3v", "Game.dll\r\n");
      w.fs.PutFile("C:\\P\\Test\\Game.dll", "old dll");
      w.fs.PutFile("D:\\Backup\\t.w3v", "Storm.dll\r\n");
      w.wiz.fileText = "D:\\Backup\\t.w3v";
      w.view.versions = {"1.18", "Test", "Beta"};
      const auto before = w.Disk();
      w.prompts.answers = {answer};

      w.Next("test", mode);

      EXPECT_EQ(w.prompts.boxes, std::vector<Box>{kOverwrite});
      if (answer == ui::kIdNo) {
        EXPECT_EQ(w.Disk(), before);
        EXPECT_EQ(w.view.versions, (Lines{"1.18", "Test", "Beta"}));
        continue;
      }
      EXPECT_EQ(w.view.versions, (Lines{"1.18", "Beta", "test"}));
      Lines versionFiles;
      ASSERT_TRUE(w.fs.ListFiles("C:\\P", "*.w3v", versionFiles).ok());
      EXPECT_EQ(versionFiles.size(), 1u);
      const std::string expected = mode == WizardMode::kAutoGenerate ? AutoGenerateFileBytes()
                                   : mode == WizardMode::kImport     ? "Storm.dll\r\n"
                                                                     : "";
      EXPECT_EQ(w.fs.Contents("C:\\P\\test.w3v"), expected);
      EXPECT_TRUE(testing::TempFilesLeft(w.fs).empty());
    }
  }
}

TEST_F(WizardTest, ExpertModeMakesAnEmptyVersionAndOpensTheEditor) {
  AddOldVersion();
  prompts.answers = {ui::kIdYes};
  Next("1.20", WizardMode::kExpert);
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), "");
  EXPECT_EQ(fs.Contents("C:\\P\\1.20\\Game.dll"), "old dll");
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.20"}));
  EXPECT_TRUE(wiz.closed);
  EXPECT_EQ(wiz.editor, (FakeWizardView::EditorRequest{"制作新的版本转换文件", "1.20"}));
}

TEST_F(WizardTest, ExpertModeTriesEveryStep) {
  fs.Fail(Op::kCreateFolder, "", fs::kPermissionDenied);
  fs.Fail(Op::kWrite, "", fs::kPermissionDenied);
  Next("1.21", WizardMode::kExpert);
  // Both steps were tried; a version that is not on the disk is not listed.
  EXPECT_EQ(fs.CallCount(Op::kWrite), 1);
  EXPECT_TRUE(view.versions.empty());
  EXPECT_EQ(wiz.info, "制作失败，无法读写文件！");
  EXPECT_FALSE(wiz.closed);
  EXPECT_EQ(wiz.editor, std::nullopt);
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(WizardTest, WelcomeAsksOnceAndAutoGeneratesTheTrimmedAnswer) {
  wiz.caption = "欢迎使用";
  wiz.mode = WizardMode::kExpert;  // not consulted
  textPrompt.answers = {" 1.20 "};
  wizard.OnActivate();
  wizard.OnActivate();
  EXPECT_EQ(
      textPrompt.asked,
      (std::vector<testing::Asked>{{"输入您现在使用的魔兽版本的名称，如 1.20 等。然后按确定，系统将"
                                    "自动生成版本转换文件。以便您今后使用",
                                    "欢迎使用-您是第一次使用本软件", ""}}));
  EXPECT_EQ(wiz.versionText, "1.20");
  EXPECT_EQ(wiz.info, kDone);
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), AutoGenerateFileBytes());
  EXPECT_EQ(view.versions, Lines{"1.20"});
  EXPECT_FALSE(wiz.closed);
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST(WizardWelcomeTest, EmptyOrCancelledAnswerClosesAndMakesNothing) {
  for (const std::deque<std::string>& answers :
       {std::deque<std::string>{}, std::deque<std::string>{""}, std::deque<std::string>{"  "}}) {
    WizardWorld w;
    w.wiz.caption = "欢迎使用";
    w.textPrompt.answers = answers;
    w.wizard.OnActivate();
    EXPECT_TRUE(w.wiz.closed);
    EXPECT_TRUE(w.fs.Log().empty());
    EXPECT_TRUE(w.view.versions.empty());
  }
}

TEST_F(WizardTest, OnlyTheWelcomeCaptionAsks) {
  wizard.OnActivate();
  EXPECT_TRUE(textPrompt.asked.empty());
  EXPECT_FALSE(wiz.closed);
}

TEST_F(WizardTest, PickingAFileProposesItsName) {
  filePicker.answers = {"D:\\Backup\\1.20.w3v", std::nullopt};
  wizard.OnPickFile();
  EXPECT_EQ(filePicker.calls, (std::vector<testing::FileDialogCall>{
                                  {"配置文件 (*.w3v)", "*.w3v", kGame, "添加文件", 0, ""}}));
  EXPECT_EQ(wiz.fileText, "D:\\Backup\\1.20.w3v");
  EXPECT_EQ(wiz.versionText, "1.20");

  wizard.OnPickFile();  // cancelled
  EXPECT_EQ(wiz.fileText, "D:\\Backup\\1.20.w3v");
  EXPECT_EQ(wiz.versionText, "1.20");

  filePicker.answers = {" D:\\Backup\\x1.w3v \0junk"s};
  wizard.OnPickFile();
  EXPECT_EQ(wiz.fileText, "D:\\Backup\\x1.w3v");
  EXPECT_EQ(wiz.versionText, "x1");
}

}  // namespace
}  // namespace plover::versions
