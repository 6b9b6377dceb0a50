// The version editor's logic: loading, adding files, saving and renaming,
// with the file system failing where it can.
#include "plover/versions/editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plover/base/functions.h"
#include "plover/versions/loader.h"
#include "plover/versions/version_file.h"
#include "tests/support/fakes.h"

namespace plover::versions {
namespace {

using testing::Box;
using testing::FileDialogCall;
using testing::Op;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

const std::string kGame = "D:\\Games\\Warcraft III\\";
constexpr const char* kEdit = "编辑版本转换文件";
constexpr const char* kNew = "制作新的版本转换文件";
const Box kLoadFailed{"找不到配置文件或者配置文件出错。", "错误", ui::kIconError};
const Box kReadIncomplete{"版本文件未能完整读入，不能保存。", "错误", ui::kIconError};
const Box kCannotRename{"无法更改版本名称，可能有程序正在使用该版本的文件。", "错误",
                        ui::kIconError};
const Box kCannotWrite{"保存失败，无法写入版本文件！", "错误", ui::kIconError};
const Box kNameTaken{"你输入的版本名称已经存在，请换一个名称。", "出错", ui::kIconError};
const Box kBadName{"版本名称不能包含 \\ / : * ? \" < > | 等字符，也不能以点或空格结尾。", "出错",
                   ui::kIconError};
const std::string kChooserPreset = "选择目录必须进入你选择的目录在按打开";

// Opens the editor as its window does: the captions first, the load once
// it shows.
void Opened(VersionEditor& e, const std::string& caption, const std::string& name) {
  e.Open(caption, name);
  e.Load();
}

Box Outside(const std::string& dir) {
  return {"你选择的目录：" + dir + " 不在设定的魔兽目录内！请从新选择！", "错误", ui::kOkOnly};
}

// Each change the log records, with the safe copy's and safe write's
// temporary steps folded into the one effect they have.
Lines Effects(const std::vector<std::string>& log) {
  Lines out;
  for (std::string line : log) {
    if (line.starts_with("move ") && line.find(".plover-tmp -> ") != std::string::npos) continue;
    if (const size_t t = line.find(".plover-tmp"); t != std::string::npos) line.erase(t, 11);
    out.push_back(line);
  }
  return out;
}

const std::string k120File =
    "Game.dll\r\nMaps\\FrozenThrone\\(2)EchoIsles.w3x\r\nWar3Patch.mpq\r\n";

// Versions 1.18 (empty) and 1.20 (three entries) on disk, Beta only listed,
// and two files to add in D:\x.
void PutVersions(testing::TestWorld& w) {
  w.view.gamePath = kGame;
  w.view.versions = {"1.18", "1.20", "Beta"};
  w.view.selected = 1;
  w.fs.PutFile("C:\\P\\1.18.w3v", "");
  w.fs.MakeFolders("C:\\P\\1.18");
  w.fs.PutFile("C:\\P\\1.20.w3v", k120File);
  for (const char* f : {"Game.dll", "(2)EchoIsles.w3x", "War3Patch.mpq"}) {
    w.fs.PutFile("C:\\P\\1.20\\"s + f, "old");
  }
  w.fs.PutFile("D:\\x\\new.w3x", "new");
  w.fs.PutFile("D:\\x\\(2)EchoIsles.w3x", "echo");
}

// Asks for `name` with the rename button.
void RenameTo(testing::TestWorld& w, VersionEditor& e, const std::string& name) {
  w.textPrompt.answers = {name};
  e.Rename();
  ASSERT_EQ(e.Name(), name);
}

class EditorTest : public ::testing::Test, public testing::TestWorld {
 protected:
  VersionEditor editor{services, view};

  void SetUp() override { PutVersions(*this); }
  // Adds the files of one open-file buffer under `dir` (nullopt: chooser
  // cancelled).
  bool Add(const std::string& files, std::optional<std::string> dir) {
    filePicker.answers = {files, dir};
    return editor.AddFiles();
  }
  Lines Entries() const { return editor.Entries(); }
};

TEST_F(EditorTest, LoadsOnlyWithTheEditCaption) {
  const struct {
    const char* what;
    std::optional<std::string> file;
    const char* caption;
    Lines entries;
    std::vector<Box> boxes;
  } cases[] = {
      {"lines", "a\r\nMaps\\b.w3x\r\n", kEdit, {"a", "Maps\\b.w3x"}, {}},
      {"empty file", "", kEdit, {}, {}},
      {"missing file", std::nullopt, kEdit, {}, {kLoadFailed}},
      {"bad bytes", "a\r\n\x81\x20\r\nb\r\n", kEdit, {"a", "? ", "b"}, {}},
      {"new version", "a\r\n", kNew, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestWorld w;
    VersionEditor e{w.services, w.view};
    if (c.file) w.fs.PutFile("C:\\P\\1.30.w3v", *c.file);
    Opened(e, c.caption, "1.30");
    EXPECT_EQ(e.Entries(), c.entries);
    EXPECT_EQ(w.prompts.boxes, c.boxes);
    EXPECT_EQ(e.Name(), "1.30");
  }
}

TEST_F(EditorTest, MissingFileIsWrittenAnewOnSaving) {
  Opened(editor, kEdit, "1.30");
  ASSERT_EQ(prompts.boxes, std::vector<Box>{kLoadFailed});
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(fs.Contents("C:\\P\\1.30.w3v"), "");
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kLoadFailed});
}

TEST_F(EditorTest, OpeningReadsNothingUntilTheWindowLoads) {
  editor.Open(kEdit, "1.30");  // no such file: the box comes with the load
  editor.Open(kEdit, "1.20");
  EXPECT_EQ(fs.CallCount(Op::kRead), 0);
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(editor.Name(), "1.20");
  editor.Load();
  EXPECT_EQ(Entries(), SplitLines(k120File));
  EXPECT_TRUE(prompts.boxes.empty());
}

// A file saved by another editor (UTF-8, stray bytes) loses nothing: every
// line is shown, and goes back byte for byte unless it is removed.
TEST_F(EditorTest, LinesThatAreNotCodePage936AreKeptByteForByte) {
  const std::string mixed = "Maps\\" + testing::Gbk("魔兽") + "\xFF.w3x";
  const std::string raw =
      "Game.dll\r\n\x81\x20x.dll\r\n" + mixed + "\r\nWar3Patch.mpq\r\n\xFF\xFF\r\n";
  fs.PutFile("C:\\P\\1.20.w3v", raw);
  Opened(editor, kEdit, "1.20");
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(Entries(), (Lines{"Game.dll", "? x.dll", "Maps\\魔兽?.w3x", "War3Patch.mpq", "??"}));
  EXPECT_EQ(editor.InfoFor(2), "魔兽?.w3x");
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), raw);

  Opened(editor, kEdit, "1.20");
  editor.RemoveEntries({0, 4});
  Add("D:\\x\\new.w3x", kGame + "x");
  // The new entry is not mistaken for a line that only looks like it.
  fs.PutFile("D:\\x\\? x.dll", "q");
  Add("D:\\x\\? x.dll", kGame + "x");
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"),
            "\x81\x20x.dll\r\n" + mixed + "\r\nWar3Patch.mpq\r\nnew.w3x\r\n? x.dll\r\n");
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20\\Game.dll"));
  EXPECT_TRUE(testing::TempFilesLeft(fs).empty());
}

TEST_F(EditorTest, AFileThatCannotBeReadIsNeverSavedOver) {
  fs.Fail(Op::kRead, "C:\\P\\1.20.w3v", fs::kPermissionDenied);
  Opened(editor, kEdit, "1.20");
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kLoadFailed});
  EXPECT_TRUE(Entries().empty());
  RenameTo(*this, editor, "1.21");
  Add("D:\\x\\new.w3x", kGame + "x");
  const auto before = testing::Snapshot(fs, "C:\\");

  EXPECT_FALSE(editor.Save());
  EXPECT_EQ(prompts.boxes, (std::vector<Box>{kLoadFailed, kReadIncomplete}));
  EXPECT_EQ(testing::Snapshot(fs, "C:\\"), before);
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.20", "Beta"}));
}

TEST_F(EditorTest, ExtentIsEightPixelsACharacterAndNeverShrinks) {
  fs.PutFile("C:\\P\\1.30.w3v", "Game.dll\r\n" + testing::Gbk("Maps\\魔兽地图.w3x") + "\r\nab\r\n");
  Opened(editor, kEdit, "1.30");
  EXPECT_EQ(editor.WidestExtent(), 8 * 13);  // characters, not bytes
  editor.RemoveEntries({1});
  EXPECT_EQ(editor.WidestExtent(), 8 * 13);
  Add("D:\\x\\new.w3x", kGame + "Maps\\FrozenThrone\\x");
  EXPECT_EQ(editor.WidestExtent(), 8 * 25);
}

TEST_F(EditorTest, ClickedEntryShowsItsFileName) {
  Opened(editor, kEdit, "1.20");
  EXPECT_EQ(editor.InfoFor(0), "Game.dll");
  EXPECT_EQ(editor.InfoFor(1), "(2)EchoIsles.w3x");
}

TEST_F(EditorTest, AddingAsksForFilesThenForTheirDirectory) {
  Opened(editor, kNew, "1.30");
  EXPECT_TRUE(Add("D:\\x\\new.w3x", kGame + "Maps\\dummy"));
  EXPECT_EQ(filePicker.calls,
            (std::vector<FileDialogCall>{
                {"所有文件 (*.*)", "*.*", kGame, "添加文件", 0x80220, ""},
                {"目录或所有文件", "*.*", kGame,
                 "选择文件转换后存放目录，该目录必须在设定的魔兽目录内", 0, kChooserPreset}}));
  EXPECT_EQ(Entries(), Lines{"Maps\\new.w3x"});
}

TEST(EditorAddTest, FilesAreListedUnderTheChosenDirectory) {
  const std::string ft = kGame + "Maps\\FrozenThrone\\";
  const struct {
    const char* what;
    std::optional<std::string> files;
    std::vector<std::optional<std::string>> dirs;
    Lines entries;
    std::vector<Box> boxes = {};
  } cases[] = {
      {"one file",
       "D:\\x\\(2)EchoIsles.w3x",
       {ft + "dummy"},
       {"Maps\\FrozenThrone\\(2)EchoIsles.w3x"}},
      {"one file with its NULs",
       "D:\\x\\a.w3x\0\0   "s,
       {ft + "dummy\0"s},
       {"Maps\\FrozenThrone\\a.w3x"}},
      {"the game directory itself", "D:\\x\\a.w3x", {kGame + "x.txt"}, {"a.w3x"}},
      {"several",
       "D:\\x\0a.w3x\0b.w3x"s,
       {ft + "dummy"},
       {"Maps\\FrozenThrone\\a.w3x", "Maps\\FrozenThrone\\b.w3x"}},
      {"several, trailing NULs and blanks",
       "  D:\\x\0a.w3x\0b.w3x\0\0  "s,
       {ft + "d"},
       {"Maps\\FrozenThrone\\a.w3x", "Maps\\FrozenThrone\\b.w3x"}},
      {"chooser cancelled", "D:\\x\0a.w3x\0b.w3x"s, {std::nullopt}, {"a.w3x", "b.w3x"}},
      {"chooser left as preset", "D:\\x\\a.w3x", {kChooserPreset}, {"a.w3x"}},
      {"other letter case", "D:\\x\\a.w3x", {"d:\\GAMES\\warcraft iii\\maps\\x"}, {"maps\\a.w3x"}},
      {"outside, then inside",
       "D:\\x\\a.w3x",
       {"E:\\Maps\\x", ft + "x"},
       {"Maps\\FrozenThrone\\a.w3x"},
       {Outside("E:\\Maps\\")}},
      {"a longer sibling is outside",
       "D:\\x\\a.w3x",
       {"D:\\Games\\Warcraft III2\\Maps\\x", "D:\\Games\\Warcraft III", std::nullopt},
       {"a.w3x"},
       {Outside("D:\\Games\\Warcraft III2\\Maps\\"), Outside("D:\\Games\\")}},
      {"no GBK form",
       "D:\\x\0가.w3x\0b.w3x"s,
       {ft + "x"},
       {"Maps\\FrozenThrone\\b.w3x"},
       {{"文件名含有无法保存的字符：가.w3x", "错误", ui::kIconError}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestWorld w;
    w.view.gamePath = kGame;
    VersionEditor e{w.services, w.view};
    Opened(e, kNew, "1.30");
    w.filePicker.answers = {c.files};
    w.filePicker.answers.insert(w.filePicker.answers.end(), c.dirs.begin(), c.dirs.end());
    EXPECT_TRUE(e.AddFiles());
    EXPECT_EQ(e.Entries(), c.entries);
    EXPECT_EQ(w.prompts.boxes, c.boxes);
    EXPECT_EQ(w.filePicker.calls.size(), 1 + c.dirs.size());
  }
}

TEST_F(EditorTest, CancelledOrEmptyFirstDialogChangesNothing) {
  Opened(editor, kEdit, "1.20");
  const Lines before = Entries();
  for (const std::optional<std::string>& files :
       {std::optional<std::string>{}, std::optional<std::string>{"\0D:\\x\\a.w3x"s},
        std::optional<std::string>{"   "}}) {
    filePicker.calls.clear();
    filePicker.answers = {files, kGame + "x"};
    EXPECT_FALSE(editor.AddFiles());
    EXPECT_EQ(filePicker.calls.size(), 1u);  // the chooser is not shown
  }
  EXPECT_EQ(Entries(), before);
  editor.Save();
  EXPECT_EQ(fs.CallCount(Op::kCopy), 0);
}

TEST_F(EditorTest, AListedEntryInOtherLetterCaseIsNotAddedTwice) {
  Opened(editor, kEdit, "1.20");
  const Lines before = Entries();
  EXPECT_FALSE(Add("D:\\x\\(2)ECHOISLES.W3X", kGame + "maps\\frozenthrone\\x"));
  EXPECT_EQ(Entries(), before);
}

TEST(EditorBufferTest, ParsesBothFormsOfASelection) {
  const struct {
    std::string buffer;
    Lines paths;
  } cases[] = {
      {"D:\\x\\(2)EchoIsles.w3x", {"D:\\x\\(2)EchoIsles.w3x"}},
      {"D:\\x\\(2)EchoIsles.w3x\0\0"s, {"D:\\x\\(2)EchoIsles.w3x"}},
      {"D:\\x\0a.w3x\0b.w3x"s, {"D:\\x\\a.w3x", "D:\\x\\b.w3x"}},
      {"D:\\x\0a.w3x\0b.w3x\0\0   "s, {"D:\\x\\a.w3x", "D:\\x\\b.w3x"}},
      {"D:\\\0my map.w3x\0b\0"s, {"D:\\my map.w3x", "D:\\b"}},
      {"", {}},
      {std::string(254, ' '), {}},
      {"\0D:\\x\\a.w3x"s, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseOpenFileBuffer(c.buffer), c.paths) << ::testing::PrintToString(c.buffer);
  }

  std::string many = "D:\\Some Long Folder\\Of Maps";
  Lines expected;
  for (int i = 0; i < 400; ++i) {
    const std::string name = std::to_string(i) + " Map.w3x";
    many += '\0';
    many += name;
    expected.push_back("D:\\Some Long Folder\\Of Maps\\" + name);
  }
  ASSERT_GT(many.size(), 255u);
  EXPECT_EQ(ParseOpenFileBuffer(many + "\0\0"s), expected);
}

TEST(EditorBufferTest, DirectoryOfChoiceEndsAtTheLastBackslash) {
  EXPECT_EQ(DirectoryOfChoice("D:\\W\\Maps\\dummy"), "D:\\W\\Maps\\");
  EXPECT_EQ(DirectoryOfChoice(" D:\\W\\Maps\\ \0junk\\x"s), "D:\\W\\Maps\\");
  EXPECT_EQ(DirectoryOfChoice(kChooserPreset), "");
  EXPECT_EQ(DirectoryOfChoice("\0D:\\W\\"s), "");
}

TEST_F(EditorTest, SaveRenamesThenCopiesThenWritesThenDeletes) {
  Opened(editor, kEdit, "1.20");
  textPrompt.answers = {"1.21"};
  editor.Rename();
  Add("D:\\x\\new.w3x", kGame + "Maps\\x");
  editor.RemoveEntries({0});
  EXPECT_TRUE(editor.Save());

  EXPECT_EQ(Effects(fs.Log()), (Lines{
                                   "move folder C:\\P\\1.20 -> C:\\P\\1.21",
                                   "move C:\\P\\1.20.w3v -> C:\\P\\1.21.w3v",
                                   "copy D:\\x\\new.w3x -> C:\\P\\1.21\\new.w3x",
                                   "write C:\\P\\1.21.w3v",
                                   "delete C:\\P\\1.21\\Game.dll",
                               }));
  EXPECT_EQ(fs.Contents("C:\\P\\1.21.w3v"),
            "Maps\\FrozenThrone\\(2)EchoIsles.w3x\r\nWar3Patch.mpq\r\nMaps\\new.w3x\r\n");
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20.w3v"));
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20"));
  EXPECT_EQ(fs.Contents("C:\\P\\1.21\\new.w3x"), "new");
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.21", "Beta"}));
  EXPECT_TRUE(testing::TempFilesLeft(fs).empty());
}

TEST_F(EditorTest, RemovingDeletesStoreCopiesNoEntryStillUses) {
  const struct {
    const char* what;
    std::string file;
    std::vector<int> remove;
    bool leaveStoreAlone;
    std::optional<std::string> addAgain;  // directory to add D:\x\(2)EchoIsles.w3x under
    Lines entries;
    Lines storeLeft;
  } cases[] = {
      {"two removed",
       "A.dll\r\nB.dll\r\nC.dll\r\nD.dll\r\n",
       {2, 0},
       false,
       {},
       {"B.dll", "D.dll"},
       {"B.dll", "D.dll"}},
      {"left alone",
       "A.dll\r\nB.dll\r\nC.dll\r\nD.dll\r\n",
       {0, 2},
       true,
       {},
       {"B.dll", "D.dll"},
       {"A.dll", "B.dll", "C.dll", "D.dll"}},
      {"name shared",
       "Maps\\A.w3x\r\nMaps\\FrozenThrone\\a.W3X\r\n",
       {0},
       false,
       {},
       {"Maps\\FrozenThrone\\a.W3X"},
       {"a.W3X"}},
      {"removed and added again",
       "Maps\\FrozenThrone\\(2)EchoIsles.w3x\r\nB.dll\r\n",
       {0},
       false,
       kGame + "Maps\\FrozenThrone\\x",
       {"B.dll", "Maps\\FrozenThrone\\(2)EchoIsles.w3x"},
       {"(2)EchoIsles.w3x", "B.dll"}},
      {"all removed", "A.dll\r\nB.dll\r\n", {0, 1}, false, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestWorld w;
    w.view.gamePath = kGame;
    w.fs.PutFile("D:\\x\\(2)EchoIsles.w3x", "echo");
    w.fs.PutFile("C:\\P\\v.w3v", c.file);
    w.fs.MakeFolders("C:\\P\\v");
    for (const auto& e : SplitLines(c.file)) w.fs.PutFile("C:\\P\\v\\" + FileNameOf(e), "old");
    VersionEditor e{w.services, w.view};
    Opened(e, kEdit, "v");
    e.RemoveEntries(c.remove);
    if (c.addAgain) {
      w.filePicker.answers = {"D:\\x\\(2)EchoIsles.w3x", *c.addAgain};
      e.AddFiles();
    }
    e.SetLeaveStoreAlone(c.leaveStoreAlone);
    e.Save();
    EXPECT_EQ(e.Entries(), c.entries);
    std::string bytes;
    for (const auto& entry : c.entries) bytes += entry + "\r\n";
    EXPECT_EQ(w.fs.Contents("C:\\P\\v.w3v"), bytes);
    Lines store;
    EXPECT_TRUE(w.fs.ListFiles("C:\\P\\v", "*", store).ok());
    EXPECT_EQ(store, c.storeLeft);
  }
}

// The version file is replaced whole before a store copy goes; when it
// cannot be, every copy stays and the editor stays open.
TEST(EditorSaveTest, AVersionFileThatCannotBeWrittenKeepsEveryStoreCopy) {
  const struct {
    const char* what;
    std::function<void(testing::MemoryFileSystem&)> arrange;
  } cases[] = {
      {"disk full", [](auto& fs) { fs.Fail(Op::kWrite, "", fs::kDiskFull); }},
      {"held by another program", [](auto& fs) { fs.Hold("C:\\P\\1.20.w3v"); }},
      {"replace denied", [](auto& fs) { fs.Fail(Op::kMove, "", fs::kPermissionDenied); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestWorld w;
    PutVersions(w);
    VersionEditor e{w.services, w.view};
    Opened(e, kEdit, "1.20");
    e.RemoveEntries({0, 2});
    c.arrange(w.fs);
    const auto before = testing::Snapshot(w.fs, "C:\\");

    EXPECT_FALSE(e.Save());
    EXPECT_EQ(w.prompts.boxes, std::vector<Box>{kCannotWrite});
    EXPECT_EQ(testing::Snapshot(w.fs, "C:\\"), before);

    w.fs.ClearFailures();
    if (c.what == std::string("held by another program")) continue;
    EXPECT_TRUE(e.Save());  // tried again once the disk allows it
    EXPECT_EQ(w.fs.Contents("C:\\P\\1.20.w3v"), "Maps\\FrozenThrone\\(2)EchoIsles.w3x\r\n");
    EXPECT_EQ(testing::Snapshot(w.fs, "C:\\P\\1.20").size(), 1u);
  }
}

// The folder moves first, the version file after it; when either cannot
// move, nothing of the save is done and the version keeps its old name.
TEST(EditorSaveTest, ARenameThatCannotBeCompletedChangesNothing) {
  const struct {
    const char* what;
    Op op;
    const char* path;
  } cases[] = {
      {"store folder", Op::kMoveFolder, ""},
      {"version file", Op::kMove, "C:\\P\\1.20.w3v"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestWorld w;
    PutVersions(w);
    w.fs.PutFile("C:\\P\\1.20loader.bat", "loader");
    VersionEditor e{w.services, w.view};
    Opened(e, kEdit, "1.20");
    RenameTo(w, e, "1.21");
    w.filePicker.answers = {"D:\\x\\new.w3x", kGame + "x"};
    e.AddFiles();
    e.RemoveEntries({0});
    w.fs.Fail(c.op, c.path, fs::kPermissionDenied);
    const auto before = testing::Snapshot(w.fs, "C:\\");

    EXPECT_FALSE(e.Save());
    EXPECT_EQ(w.prompts.boxes, std::vector<Box>{kCannotRename});
    EXPECT_EQ(testing::Snapshot(w.fs, "C:\\"), before);
    EXPECT_EQ(w.view.versions, (Lines{"1.18", "1.20", "Beta"}));
    EXPECT_EQ(e.Name(), "1.21");

    w.fs.ClearFailures();
    EXPECT_TRUE(e.Save());
    EXPECT_EQ(w.view.versions, (Lines{"1.18", "1.21", "Beta"}));
    EXPECT_EQ(w.fs.Contents("C:\\P\\1.21.w3v"),
              "Maps\\FrozenThrone\\(2)EchoIsles.w3x\r\nWar3Patch.mpq\r\nnew.w3x\r\n");
    EXPECT_EQ(testing::Snapshot(w.fs, "C:\\P\\1.21").size(), 3u);
    EXPECT_FALSE(w.fs.Exists("C:\\P\\1.20"));
    EXPECT_FALSE(w.fs.Exists("C:\\P\\1.20.w3v"));
  }
}

TEST_F(EditorTest, TheListShowsTheNameTheDiskHoldsAfterAFailedWrite) {
  Opened(editor, kEdit, "1.20");
  RenameTo(*this, editor, "1.21");
  editor.RemoveEntries({0});
  fs.Fail(Op::kWrite, "", fs::kDiskFull);
  EXPECT_FALSE(editor.Save());
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kCannotWrite});
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.21", "Beta"}));
  EXPECT_EQ(fs.Contents("C:\\P\\1.21.w3v"), k120File);
  EXPECT_TRUE(fs.Exists("C:\\P\\1.21\\Game.dll"));

  EXPECT_TRUE(editor.Save());  // moves nothing a second time
  EXPECT_EQ(fs.CallCount(Op::kMoveFolder), 1);
  EXPECT_EQ(fs.Contents("C:\\P\\1.21.w3v"),
            "Maps\\FrozenThrone\\(2)EchoIsles.w3x\r\nWar3Patch.mpq\r\n");
  EXPECT_FALSE(fs.Exists("C:\\P\\1.21\\Game.dll"));
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.21", "Beta"}));
}

TEST_F(EditorTest, AddedFilesThatCannotBeCopiedAreLeftOutAndNamed) {
  fs.PutFile("D:\\x\\full.w3x", "full");
  fs.Fail(Op::kCopy, "D:\\x\\full.w3x", fs::kDiskFull);
  Opened(editor, kEdit, "1.20");
  Add("D:\\x\0new.w3x\0gone.w3x\0full.w3x"s, kGame + "Maps\\x");
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"以下文件未能复制，没有加入版本：\nD:\\x\\gone.w3x\nD:\\x\\full.w3x",
                               "错误", ui::kIconExclamation}}));
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), k120File + "Maps\\new.w3x\r\n");
  EXPECT_EQ(Entries().size(), 4u);
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20\\gone.w3x"));
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20\\full.w3x"));
  EXPECT_TRUE(testing::TempFilesLeft(fs).empty());

  // A long path is cut to 200 characters.
  std::string far = "D:\\";
  for (int i = 0; i < 300; ++i) far += "魔";
  std::string cut = "D:\\";
  for (int i = 0; i < 197; ++i) cut += "魔";
  prompts.boxes.clear();
  Opened(editor, kEdit, "1.20");
  Add(far + "\\far.w3x", kGame + "x");
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(prompts.boxes, (std::vector<Box>{{"以下文件未能复制，没有加入版本：\n" + cut + "……",
                                              "错误", ui::kIconExclamation}}));
  EXPECT_EQ(fs.Contents("C:\\P\\1.20.w3v"), k120File + "Maps\\new.w3x\r\n");
}

// A loader made for the old name is made anew for the new one.
TEST_F(EditorTest, ARenameTakesTheLoaderAlong) {
  services.exeStem = "sw";
  fs.PutFile("C:\\P\\1.20loader.bat", testing::Gbk(LoaderText("sw", "1.20")));
  Opened(editor, kEdit, "1.20");
  RenameTo(*this, editor, "魔兽 1.21");
  EXPECT_TRUE(editor.Save());
  EXPECT_FALSE(fs.Exists("C:\\P\\1.20loader.bat"));
  EXPECT_EQ(fs.Contents("C:\\P\\魔兽 1.21loader.bat"), testing::Gbk(LoaderText("sw", "魔兽 1.21")));

  // Without a loader none is made; a change of letter case keeps one.
  fs.PutFile("C:\\P\\Beta.w3v", "");
  fs.MakeFolders("C:\\P\\Beta");
  fs.PutFile("C:\\P\\Betaloader.bat", testing::Gbk(LoaderText("sw", "Beta")));
  Opened(editor, kEdit, "1.18");
  RenameTo(*this, editor, "1.19");
  EXPECT_TRUE(editor.Save());
  Opened(editor, kEdit, "Beta");
  RenameTo(*this, editor, "BETA");
  EXPECT_TRUE(editor.Save());
  Lines loaders;
  ASSERT_TRUE(fs.ListFiles("C:\\P", "*loader.bat", loaders).ok());
  EXPECT_EQ(loaders.size(), 2u);
  EXPECT_EQ(fs.Contents("C:\\P\\BETAloader.bat"), testing::Gbk(LoaderText("sw", "BETA")));
  EXPECT_EQ(view.versions, (Lines{"1.19", "魔兽 1.21", "BETA"}));
}

TEST_F(EditorTest, RenameRefusesEmptyTakenAndInvalidNames) {
  fs.MakeFolders("C:\\P\\1.19");      // a store folder only
  fs.PutFile("C:\\P\\1.17.w3v", "");  // a version file only
  const struct {
    std::optional<std::string> answer;
    std::string name;
    std::vector<Box> boxes;
  } cases[] = {
      {std::nullopt, "1.20", {}},     {"", "1.20", {}},
      {"1.20", "1.20", {}},           {"1.18", "1.20", {kNameTaken}},
      {"BETA", "1.20", {kNameTaken}}, {"1.19", "1.20", {kNameTaken}},
      {"1.17", "1.20", {kNameTaken}}, {"a:b", "1.20", {kBadName}},
      {"1.21.", "1.20", {kBadName}},  {"Lpt3", "1.20", {kBadName}},
      {"1.21", "1.21", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancel)"));
    Opened(editor, kEdit, "1.20");
    prompts.boxes.clear();
    textPrompt.asked.clear();
    textPrompt.answers.clear();
    if (c.answer) textPrompt.answers = {*c.answer};
    editor.Rename();
    EXPECT_EQ(textPrompt.asked,
              (std::vector<testing::Asked>{{"请输入一个版本名称", "更改版本名称", "1.20"}}));
    EXPECT_EQ(editor.Name(), c.name);
    EXPECT_EQ(prompts.boxes, c.boxes);
  }
}

TEST_F(EditorTest, RefusedRenameMovesNothingOnSaving) {
  Opened(editor, kEdit, "1.20");
  textPrompt.answers = {"1.18"};
  editor.Rename();
  editor.Save();
  EXPECT_EQ(fs.CallCount(Op::kMoveFolder), 0);
  EXPECT_EQ(fs.Contents("C:\\P\\1.18.w3v"), "");
  EXPECT_TRUE(fs.Exists("C:\\P\\1.20\\Game.dll"));
  EXPECT_EQ(view.versions, (Lines{"1.18", "1.20", "Beta"}));
}

}  // namespace
}  // namespace plover::versions
