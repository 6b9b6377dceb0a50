// ApplyVersion: what is copied, in which order and how safely; what is asked
// and reported; elevation, the journal and the look-ups it costs.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/elevated_switch.h"
#include "plover/main/installed.h"
#include "plover/main/recovery.h"
#include "plover/main/switch_engine.h"
#include "tests/support/fakes.h"

namespace plover::testing {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kMap = "Maps\\FrozenThrone\\(2)EchoIsles.w3x";
const Names kExample = {"Game.dll", "War3Patch.mpq", kMap};

class SwitchTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    view.gamePath = "D:\\War3\\";
    view.status = text_of::kIdle;
    fs.PutFile("D:\\War3\\war3.exe", "old war3.exe");
    for (const auto& entry : kExample) fs.PutFile("D:\\War3\\" + entry, "old");
    fs.MakeFolders("C:\\P");
  }
  // A fresh world for each case of a table.
  void Reset() {
    fs = MemoryFileSystem();
    prompts = ScriptedPrompts();
    view = FakeMainView();
    SetUp();
  }

  // Version `name`: its file (GBK, CR LF) and a store copy of each entry
  // holding "new <file name>".
  void AddVersion(const Names& entries, const std::string& name = "1.20") {
    std::string bytes;
    for (const auto& e : entries) bytes += Gbk(e) + "\r\n";
    fs.PutFile("C:\\P\\" + name + ".w3v", bytes);
    fs.MakeFolders("C:\\P\\" + name);
    for (const auto& e : entries) fs.PutFile(StoreCopy(e, name), "new " + FileNameOf(e));
  }
  static std::string StoreCopy(const std::string& entry, const std::string& name = "1.20") {
    return "C:\\P\\" + name + "\\" + FileNameOf(entry);
  }

  SwitchReport Apply(int scope = 1, const std::string& name = "1.20") {
    return ApplyVersion(services, view, name, static_cast<Scope>(scope));
  }
  Names Written() const { return FilesWritten(fs); }
  static Names InGame(const Names& entries) {
    Names out;
    for (const auto& e : entries) out.push_back("D:\\War3\\" + e);
    return out;
  }
  void ExpectWindowEnabledAfterOneSwitch() const {
    EXPECT_EQ(view.enableCalls, (std::vector<bool>{false, true}));
  }
  static Box Question(const std::string& fileName) {
    return {std::string(text_of::kMissingFileBefore) + fileName + text_of::kMissingFileAfter,
            text_of::kTitleError, ui::kYesNo | ui::kIconQuestion};
  }
  static Box NotWritten(const Names& names) {
    std::string text = text_of::kNotWrittenHeader;
    for (const auto& n : names) text += "\n" + n;
    return {text, text_of::kTitleError, ui::kIconExclamation};
  }
};

TEST_F(SwitchTest, NoVersionSelectedIsRefusedBeforeAnythingHappens) {
  AddVersion(kExample);
  EXPECT_EQ(Apply(1, "").outcome, SwitchOutcome::kNoVersion);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"请选择一个版本！", "出错", ui::kOkOnly | ui::kIconError}}));
  EXPECT_TRUE(view.enableCalls.empty());
  EXPECT_EQ(view.status, text_of::kIdle);
  EXPECT_TRUE(Written().empty());
}

// txtPath can be emptied through its context menu: "\" + entry would then
// write into the root of the current drive.
TEST_F(SwitchTest, GameDirectoryThatIsEmptyOrNotAbsoluteIsNeverATarget) {
  for (const char* gamePath : {"", "\\", "War3\\", "D:War3\\", "\\War3\\", " "}) {
    SCOPED_TRACE(gamePath);
    Reset();
    AddVersion(kExample);
    fs.MakeFolders("War3");
    fs.MakeFolders("\\War3");
    view.gamePath = gamePath;

    EXPECT_EQ(Apply().outcome, SwitchOutcome::kNoGame);
    EXPECT_EQ(prompts.boxes,
              (std::vector<Box>{{"找不到魔兽,请选择正确的目录", "错误", ui::kOkOnly}}));
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(view.enableCalls.empty());
    EXPECT_EQ(view.status, text_of::kIdle);
  }
  Reset();
  AddVersion({"Game.dll"});
  fs.MakeFolders("\\\\srv\\games\\War3");
  view.gamePath = "\\\\srv\\games\\War3";
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted) << "a UNC path is a game directory";
  EXPECT_EQ(Written(), Names{"\\\\srv\\games\\War3\\Game.dll"});
}

TEST_F(SwitchTest, CopiesTheEntriesOfTheScopeInFileOrder) {
  const Names entries = {"Game.dll", "War3Patch.mpq", kMap, "Maps\\Old.w3m", "Maps\\Upper.W3X"};
  struct Case {
    int scope;
    Names written;
  };
  const Case cases[] = {
      {1, entries},
      {2, {"Game.dll", "War3Patch.mpq", "Maps\\Upper.W3X"}},
      {3, {kMap, "Maps\\Old.w3m"}},
      {7, {}},
      {0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scope);
    Reset();
    for (const auto& e : entries) fs.PutFile("D:\\War3\\" + e, "old");
    AddVersion(entries);

    EXPECT_EQ(Apply(c.scope).outcome, SwitchOutcome::kCompleted);
    EXPECT_EQ(Written(), InGame(c.written));
    for (const auto& e : entries) {
      const bool applied = std::find(c.written.begin(), c.written.end(), e) != c.written.end();
      EXPECT_EQ(fs.Contents("D:\\War3\\" + e), applied ? "new " + FileNameOf(e) : "old") << e;
    }
    EXPECT_EQ(view.status, "转换完成！- Created by Velmor");
    ExpectWindowEnabledAfterOneSwitch();
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_TRUE(TempFilesLeft(fs).empty());
  }
}

TEST_F(SwitchTest, FindsFilesInAnyLetterCaseAndGameDirWithoutBackslash) {
  AddVersion({"War3.exe", "Maps\\運.w3x"});
  ASSERT_TRUE(fs.Delete("C:\\P\\1.20\\War3.exe").ok());
  fs.PutFile("C:\\P\\1.20\\war3.exe", "new war3");
  fs.MakeFolders("D:\\War3\\Maps");
  view.gamePath = "D:\\War3";

  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(Written(), (Names{"D:\\War3\\War3.exe", "D:\\War3\\Maps\\運.w3x"}));
  EXPECT_EQ(fs.Contents("D:\\War3\\war3.exe"), "new war3");
  EXPECT_EQ(fs.Contents("D:\\War3\\Maps\\運.w3x"), "new 運.w3x");
}

TEST_F(SwitchTest, MissingStoreCopyAsksWhetherToGoOn) {
  for (const int answer : {ui::kIdYes, ui::kIdNo}) {
    SCOPED_TRACE(answer);
    Reset();
    AddVersion({"Game.dll", kMap, "War3Patch.mpq"});
    ASSERT_TRUE(fs.Delete(StoreCopy(kMap)).ok());
    prompts.answers = {answer};
    std::string statusWhileAsking;
    bool enabledWhileAsking = true;
    prompts.onShow = [&](const Box&) {
      statusWhileAsking = view.status;
      enabledWhileAsking = view.enabled;
    };

    const SwitchReport r = Apply();

    EXPECT_EQ(prompts.boxes, std::vector<Box>{Question("(2)EchoIsles.w3x")});
    EXPECT_EQ(statusWhileAsking, text_of::kSwitching);
    EXPECT_FALSE(enabledWhileAsking);
    ExpectWindowEnabledAfterOneSwitch();
    EXPECT_EQ(fs.Contents("D:\\War3\\" + std::string(kMap)), "old");
    if (answer == ui::kIdYes) {
      EXPECT_EQ(r.outcome, SwitchOutcome::kCompleted);
      EXPECT_EQ(Written(), InGame({"Game.dll", "War3Patch.mpq"}));
      EXPECT_EQ(view.status, "转换完成！- Created by Velmor");
    } else {
      EXPECT_EQ(r.outcome, SwitchOutcome::kStopped);
      EXPECT_EQ(Written(), InGame({"Game.dll"}));
      EXPECT_EQ(view.status, "转换中...！- Created by Velmor");
    }
  }
}

TEST_F(SwitchTest, MissingVersionFileStopsWhateverTheAnswer) {
  for (const int answer : {ui::kIdYes, ui::kIdNo}) {
    SCOPED_TRACE(answer);
    Reset();
    prompts.answers = {answer};
    EXPECT_EQ(Apply().outcome, SwitchOutcome::kStopped);
    EXPECT_EQ(prompts.boxes, std::vector<Box>{Question("")});
    EXPECT_TRUE(Written().empty());
    ExpectWindowEnabledAfterOneSwitch();
  }
}

TEST_F(SwitchTest, MissingGameFolderStopsTheSwitch) {
  AddVersion({"Game.dll", kMap, "War3Patch.mpq"});
  ASSERT_TRUE(fs.DeleteFolder("D:\\War3\\Maps\\FrozenThrone").ok());

  EXPECT_EQ(Apply().outcome, SwitchOutcome::kStopped);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"找不到Maps目录，请确认设定魔兽目录是否正确", "错误", 0}}));
  EXPECT_EQ(Written(), InGame({"Game.dll"}));
  EXPECT_EQ(fs.Contents("D:\\War3\\War3Patch.mpq"), "old");
  EXPECT_TRUE(TempFilesLeft(fs).empty());
  ExpectWindowEnabledAfterOneSwitch();
}

TEST_F(SwitchTest, FilesThatCannotBeReplacedAreReportedAndKeptWhole) {
  struct Case {
    const char* what;
    void (*arrange)(MemoryFileSystem&);
    bool staysReadOnly = false;
  };
  const Case cases[] = {
      {"held by the game", [](MemoryFileSystem& f) { f.Hold("D:\\War3\\War3Patch.mpq"); }},
      {"copy denied",
       [](MemoryFileSystem& f) { f.Fail(Op::kCopy, StoreCopy("War3Patch.mpq"), 70); }},
      {"disk full", [](MemoryFileSystem& f) { f.Fail(Op::kCopy, "", 61, /*skip=*/1); }},
      {"replace denied",
       [](MemoryFileSystem& f) { f.Fail(Op::kMove, "D:\\War3\\War3Patch.mpq", 70); }},
      {"made read-only by someone else",
       [](MemoryFileSystem& f) { f.SetReadOnly("D:\\War3\\War3Patch.mpq"); }, true},
      {"attribute of the copy cannot be cleared",
       [](MemoryFileSystem& f) {
         f.SetReadOnly(StoreCopy("War3Patch.mpq"));
         f.Fail(Op::kClearReadOnly, "D:\\War3\\.plover-tmp\\War3Patch.mpq.plover-tmp", 70);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    AddVersion(kExample);
    c.arrange(fs);

    const SwitchReport r = Apply();

    EXPECT_EQ(r.outcome, SwitchOutcome::kIncomplete);
    EXPECT_EQ(r.notWritten, Names{"War3Patch.mpq"});
    EXPECT_EQ(Written(), InGame({"Game.dll", kMap}));
    EXPECT_EQ(fs.Contents("D:\\War3\\War3Patch.mpq"), "old");
    EXPECT_EQ(fs.IsReadOnly("D:\\War3\\War3Patch.mpq"), c.staysReadOnly);
    EXPECT_EQ(TempFilesLeft(fs), Names{});
    EXPECT_EQ(view.status, "转换未完成！- Created by Velmor");
    EXPECT_EQ(prompts.boxes, std::vector<Box>{NotWritten({"War3Patch.mpq"})});
  }
}

// Store copies taken from a CD or an archive are read-only; the game files
// made from them must not be, or no later switch could replace them.
TEST_F(SwitchTest, ReadOnlyStoreCopiesNeverMakeReadOnlyGameFiles) {
  AddVersion(kExample, "1.20");
  AddVersion(kExample, "1.21");
  for (const auto& e : kExample) {
    ASSERT_TRUE(fs.WriteAll(StoreCopy(e, "1.21"), "1.21 " + FileNameOf(e)).ok());
    fs.SetReadOnly(StoreCopy(e, "1.20"));
    fs.SetReadOnly(StoreCopy(e, "1.21"));
  }

  for (const char* name : {"1.20", "1.21", "1.20"}) {
    SCOPED_TRACE(name);
    prompts.boxes.clear();
    const SwitchReport r = Apply(1, name);
    EXPECT_EQ(r.outcome, SwitchOutcome::kCompleted);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(TempFilesLeft(fs), Names{});
    for (const auto& e : kExample) {
      EXPECT_EQ(fs.Contents("D:\\War3\\" + e), *fs.Contents(StoreCopy(e, name))) << e;
      EXPECT_FALSE(fs.IsReadOnly("D:\\War3\\" + e)) << e;
      EXPECT_TRUE(fs.IsReadOnly(StoreCopy(e, name))) << "the store copy stays as it was";
    }
  }
}

TEST_F(SwitchTest, ReportListsAtMostTwentyNames) {
  for (const int count : {20, 21, 25}) {
    SCOPED_TRACE(count);
    Reset();
    Names entries;
    for (int i = 1; i <= count; ++i) {
      std::string name = "F";
      name.append(std::to_string(i)).append(".dll");
      entries.push_back(name);
    }
    AddVersion(entries);
    fs.Fail(Op::kCopy, "", fs::kPermissionDenied, 0, -1);

    Apply();

    Box expected = NotWritten(Names(entries.begin(), entries.begin() + 20));
    if (count > 20) expected.text += "\n……";
    EXPECT_EQ(prompts.boxes, std::vector<Box>{expected});
  }
}

TEST_F(SwitchTest, EntriesOutsideTheGameDirectoryAreNeverWritten) {
  AddVersion({"C:\\Windows\\a.dll", "..\\b.dll", "\\c.dll", "\\\\srv\\s\\d", "Maps\\..\\..\\e.dll",
              "Game.dll"});
  fs.MakeFolders("C:\\Windows");

  const SwitchReport r = Apply();

  EXPECT_EQ(Written(), InGame({"Game.dll"}));
  EXPECT_FALSE(fs.Exists("C:\\Windows\\a.dll"));
  EXPECT_EQ(r.notWritten, (Names{"C:\\Windows\\a.dll", "..\\b.dll", "\\c.dll", "\\\\srv\\s\\d",
                                 "Maps\\..\\..\\e.dll"}));
  EXPECT_EQ(prompts.boxes, std::vector<Box>{NotWritten(r.notWritten)});
  EXPECT_EQ(view.status, text_of::kSwitchIncomplete);
}

TEST_F(SwitchTest, UnreadableLinesAndFilesAreReported) {
  AddVersion(kExample);
  fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\nMaps\\\xC4\xA7\x81\r\n");
  EXPECT_EQ(Apply().notWritten, Names{"Maps\\???"});
  EXPECT_EQ(Written(), InGame({"Game.dll"}));

  fs.Fail(Op::kRead, "C:\\P\\1.20.w3v", fs::kPermissionDenied);
  EXPECT_EQ(Apply().notWritten, Names{"1.20.w3v"});
  EXPECT_EQ(view.status, text_of::kSwitchIncomplete);
}

// The report names each entry as the version file writes it, so that two
// maps of one name in different folders can be told apart; whatever a box
// shows of a line is cut to 200 characters.
TEST_F(SwitchTest, ReportNamesEntriesAndCutsLongOnes) {
  const std::string longMap = "Maps\\" + std::string(300, 'm') + ".w3x";
  AddVersion({"Game.dll", kMap, longMap});
  fs.Hold("D:\\War3\\" + std::string(kMap));
  fs.Fail(Op::kCopy, "C:\\P\\1.20\\" + FileNameOf(longMap), fs::kPermissionDenied);

  const SwitchReport r = Apply();

  EXPECT_EQ(r.notWritten, (Names{kMap, longMap}));
  ASSERT_EQ(prompts.boxes.size(), 1u);
  EXPECT_EQ(prompts.boxes[0].text, std::string(text_of::kNotWrittenHeader) + "\n" + kMap + "\n" +
                                       longMap.substr(0, 200) + "……");
}

// A line no Win32 call could take as a path is reported like any file that
// was not written, without a file-system call of its own and without a box
// the size of the line.
TEST_F(SwitchTest, ALineTooLongForAPathIsReportedNotWritten) {
  AddVersion({"Game.dll"});
  const std::string huge = "Maps\\" + std::string(2 * 1024 * 1024, 'x');
  const std::string fits = std::string(kLongPathLimit - 8, 'y');  // with "D:\War3\"
  fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\n" + huge + "\r\n" + fits + "x\r\n" + fits + "\r\n");
  fs.PutFile(StoreCopy(huge), "new");
  fs.PutFile(StoreCopy(fits + "x"), "new");
  prompts.answers = {ui::kIdYes};

  const SwitchReport r = Apply();

  EXPECT_EQ(Written(), InGame({"Game.dll"}));
  EXPECT_EQ(r.notWritten, (Names{huge, fits + "x"}));
  ASSERT_EQ(prompts.boxes.size(), 2u) << "the line that fits is looked up and found missing";
  EXPECT_EQ(prompts.boxes[0], Question(fits.substr(0, 200) + "……"));
  EXPECT_EQ(prompts.boxes[1].text, std::string(text_of::kNotWrittenHeader) + "\n" +
                                       huge.substr(0, 200) + "……\n" + fits.substr(0, 200) + "……");
}

TEST_F(SwitchTest, EmptyVersionFileCompletesWithoutCopying) {
  AddVersion({});
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_TRUE(Written().empty());
  EXPECT_EQ(view.status, text_of::kSwitched);
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SwitchTest, RepeatedEntryIsWrittenOnceAndThenInPlace) {
  AddVersion({"Game.dll", "War3Patch.mpq", "Game.dll"});
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(Written(), InGame({"Game.dll", "War3Patch.mpq"}));
}

// ---- Only what differs is copied ----------------------------------------------

TEST_F(SwitchTest, SwitchToTheInstalledVersionCopiesNothing) {
  AddVersion(kExample);
  ASSERT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  const size_t logged = fs.Log().size();
  const int copies = fs.CallCount(Op::kCopy);
  view = FakeMainView();
  view.gamePath = "D:\\War3\\";

  const SwitchReport r = Apply();

  EXPECT_EQ(r.outcome, SwitchOutcome::kCompleted);
  EXPECT_TRUE(r.notWritten.empty());
  EXPECT_EQ(fs.Log().size(), logged) << fs.Log().back();
  EXPECT_EQ(fs.CallCount(Op::kCopy), copies);
  EXPECT_TRUE(TempFilesLeft(fs).empty());
  EXPECT_EQ(view.status, text_of::kSwitched);
  ExpectWindowEnabledAfterOneSwitch();
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SwitchTest, EveryDifferenceIsCopiedAsBefore) {
  const Names entries = {"Game.dll", "War3Patch.mpq", kMap, "war3.exe", "Maps\\Old.w3m"};
  AddVersion(entries);
  ASSERT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  fs.Tick();
  fs.Touch("D:\\War3\\Game.dll");                                        // written since
  fs.PutFile("D:\\War3\\War3Patch.mpq", "other size");                   // other size, same time
  fs.Touch(StoreCopy(kMap));                                             // store copy replaced
  ASSERT_TRUE(fs.Delete("D:\\War3\\war3.exe").ok());                     // gone
  fs.Fail(Op::kGetFile, "D:\\War3\\Maps\\Old.w3m", fs::kDeviceIoError);  // cannot be looked up
  const size_t logged = fs.Log().size();

  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);

  const Names since(fs.Log().begin() + static_cast<std::ptrdiff_t>(logged), fs.Log().end());
  Names written;
  for (const auto& line : since) {
    if (line.starts_with("move ")) written.push_back(line.substr(line.find(" -> ") + 4));
  }
  EXPECT_EQ(written, InGame(entries));
  for (const auto& e : entries) {
    EXPECT_EQ(fs.Contents("D:\\War3\\" + e), "new " + FileNameOf(e)) << e;
  }
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SwitchTest, EntryInPlaceCountsAsDoneEvenWhenItCannotBeReplaced) {
  AddVersion(kExample);
  ASSERT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  fs.Hold("D:\\War3\\War3Patch.mpq");  // the game runs
  fs.Touch("D:\\War3\\Game.dll");

  const SwitchReport r = Apply();

  EXPECT_EQ(r.outcome, SwitchOutcome::kCompleted);
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new Game.dll");
}

TEST_F(SwitchTest, TemporariesLiveInAFolderOfTheirOwnForAsLongAsTheSwitchRuns) {
  AddVersion({"Game.dll", kMap});
  bool folderWhileAsking = false;
  prompts.onShow = [&](const Box&) { folderWhileAsking = fs.Exists("D:\\War3\\.plover-tmp"); };
  fs.Fail(Op::kCopy, "", fs::kPermissionDenied, /*skip=*/1);  // the map: reported

  Apply();

  EXPECT_EQ(fs.Log()[0], "mkdir D:\\War3\\.plover-tmp");
  EXPECT_EQ(fs.Log()[1],
            "copy C:\\P\\1.20\\Game.dll -> D:\\War3\\.plover-tmp\\Game.dll.plover-tmp");
  EXPECT_EQ(fs.Log()[2], "move D:\\War3\\.plover-tmp\\Game.dll.plover-tmp -> D:\\War3\\Game.dll");
  EXPECT_EQ(fs.Log().back(), "rmdir D:\\War3\\.plover-tmp");
  EXPECT_TRUE(folderWhileAsking);
  EXPECT_FALSE(fs.Exists("D:\\War3\\.plover-tmp"));
  EXPECT_TRUE(TempFilesLeft(fs).empty());

  // One left behind is taken over and cleared.
  Reset();
  AddVersion({"Game.dll"});
  fs.PutFile("D:\\War3\\.plover-tmp\\Game.dll.plover-tmp", "half");
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new Game.dll");
  EXPECT_FALSE(fs.Exists("D:\\War3\\.plover-tmp"));

  // A game directory that takes no new folder gets its temporaries beside
  // their targets, once the journal says so; without a record, none at all.
  Reset();
  AddVersion({"Game.dll", kMap});
  fs.Fail(Op::kCreateFolder, "", fs::kPermissionDenied, 0, -1);
  const SwitchReport unrecorded = Apply();
  EXPECT_EQ(unrecorded.outcome, SwitchOutcome::kIncomplete);
  EXPECT_EQ(unrecorded.notWritten, (Names{"Game.dll", kMap}));
  EXPECT_TRUE(Written().empty());

  Reset();
  AddVersion({"Game.dll", kMap});
  Journal journal(fs, "C:\\P\\");
  services.journal = &journal;
  fs.Fail(Op::kCreateFolder, "", fs::kPermissionDenied, 0, -1);
  std::optional<std::string> recordWhileCopying;
  prompts.onShow = nullptr;
  view.onProgress = [&](size_t done, size_t) {
    if (done == 1) recordWhileCopying = fs.Contents(journal.Path());
  };
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new Game.dll");
  EXPECT_NE(std::find(fs.Log().begin(), fs.Log().end(),
                      "move D:\\War3\\Game.dll.plover-tmp -> D:\\War3\\Game.dll"),
            fs.Log().end());
  EXPECT_TRUE(TempFilesLeft(fs).empty());
  EXPECT_NE(recordWhileCopying.value_or("").find("\tbeside"), std::string::npos);
}

// The everyday switch, to the version installed, looks up the store copy and
// the game file of each entry and nothing else, and the mark afterwards
// takes what the switch saw.
TEST_F(SwitchTest, ANoOpSwitchMakesTwoLookUpsAnEntryAndReadsNoVersionAgain) {
  Names many;
  for (int i = 0; i < 30; ++i) many.push_back("Maps\\m" + std::to_string(i) + ".w3x");
  fs.MakeFolders("D:\\War3\\Maps");
  AddVersion(many);
  view.versions = {"1.20"};
  ASSERT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  const int calls = fs.TotalCalls();
  const int lookUps = fs.CallCount(Op::kGetFile);
  EXPECT_EQ(SwitchVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kCompleted);
  EXPECT_EQ(fs.CallCount(Op::kGetFile) - lookUps, 2 * 30);
  EXPECT_EQ(fs.TotalCalls() - calls, 2 * 30 + 1) << "and one read of the version file";
  EXPECT_EQ(view.marked.back(), "1.20");
}

// A game folder that refuses the switch's first write asks for an elevated
// run, before anything is written, when Plover is not elevated; the run's
// exit code gives the status. Otherwise the failures are reported as ever.
TEST_F(SwitchTest, AGameFolderThatRefusesTheFirstWriteAsksForAnAdministrator) {
  struct Elevation : ui::Elevation {
    bool elevated = false;
    std::optional<int> code;
    std::vector<std::string> runs;
    bool Elevated() override { return elevated; }
    std::optional<int> RunElevated(const std::string& arguments) override {
      runs.push_back(arguments);
      return code;
    }
  };
  const Box question{"魔兽目录需要管理员权限才能写入。是否以管理员身份转换？", "转换",
                     ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2};
  services.known.localAppData = "C:\\Users\\p\\AppData\\Local";
  const std::string run = "/switch 1 \"D:\\War3\\\" \"1.20\" \"C:\\Users\\p\\AppData\\Local\"";
  struct Case {
    const char* what;
    bool elevated;
    int refusal;  // of every write into the game folder
    int skip;     // writes that succeed first
    int answer;
    std::optional<int> code;
    bool asked;
    const char* status;
  };
  const Case cases[] = {
      {"Yes, done", false, fs::kAccessDenied, 0, ui::kIdYes, 0, true, text_of::kSwitched},
      {"Yes, not all", false, fs::kAccessDenied, 0, ui::kIdYes, 1, true,
       text_of::kSwitchIncomplete},
      {"Yes, refused", false, fs::kAccessDenied, 0, ui::kIdYes, std::nullopt, true, text_of::kIdle},
      {"No", false, fs::kAccessDenied, 0, ui::kIdNo, 0, true, text_of::kIdle},
      {"elevated already", true, fs::kAccessDenied, 0, 0, 0, false, text_of::kSwitchIncomplete},
      {"in use", false, fs::kPermissionDenied, 0, 0, 0, false, text_of::kSwitchIncomplete},
      {"after a first write", false, fs::kAccessDenied, 1, 0, 0, false, text_of::kSwitchIncomplete},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    AddVersion(kExample);
    Elevation elevation;
    elevation.elevated = c.elevated;
    elevation.code = c.code;
    services.elevation = &elevation;
    fs.Fail(Op::kCreateFolder, "D:\\War3\\.plover-tmp", c.refusal, c.skip);
    fs.Fail(Op::kCopy, "", c.refusal, c.skip, -1);
    if (c.asked) prompts.answers = {c.answer};

    Apply();

    EXPECT_EQ(!prompts.boxes.empty() && prompts.boxes[0] == question, c.asked);
    EXPECT_EQ(elevation.runs, c.asked && c.answer == ui::kIdYes ? Names{run} : Names{});
    if (c.asked) {
      EXPECT_TRUE(Written().empty());
    }
    EXPECT_EQ(view.status, c.status);
    ExpectWindowEnabledAfterOneSwitch();
  }
  EXPECT_EQ(ParseElevatedSwitch(run),
            (ElevatedSwitch{Scope::kAll, "D:\\War3\\", "1.20", "C:\\Users\\p\\AppData\\Local"}));
  for (const char* bad : {"1.20", "/switch 4 \"D:\\\" \"x\" \"\"", "/switch 1 \"D:\\\" \"\" \"\"",
                          "/switch 1 \"D:\\\" \"x\"", "/switch 1 \"D:\\\" \"x\" \"\" y"}) {
    EXPECT_EQ(ParseElevatedSwitch(bad), std::nullopt) << bad;
  }
}

// Recovery looks beside the game files only for a switch that put its
// temporaries there; otherwise it removes the temporary folder and makes no
// look-up for any entry.
TEST_F(SwitchTest, RecoveryLooksBesideTheTargetsOnlyWhenTheRecordSaysSo) {
  Names many;
  for (int i = 0; i < 50; ++i) many.push_back("f" + std::to_string(i) + ".dll");
  AddVersion(many);
  for (const char* where : {"folder", "beside"}) {
    SCOPED_TRACE(where);
    fs.PutFile("C:\\P\\Plover.journal",
               std::string("Plover journal 1\r\nswitch\tD:\\War3\\\t1.20\t") + where + "\r\n");
    fs.PutFile("D:\\War3\\.plover-tmp\\f1.dll.plover-tmp", "half");
    fs.PutFile("D:\\War3\\f2.dll.plover-tmp", "half");
    const int lookUps = fs.CallCount(Op::kGetFile) + fs.CallCount(Op::kDelete);
    RecoverInterruptedWork(services);
    const int made = fs.CallCount(Op::kGetFile) + fs.CallCount(Op::kDelete) - lookUps;
    EXPECT_FALSE(fs.Exists("D:\\War3\\.plover-tmp"));
    EXPECT_FALSE(fs.Exists("C:\\P\\Plover.journal"));
    if (std::string(where) == "folder") {
      EXPECT_LT(made, 5) << "no look-up per entry";
      // Left behind by no switch this record knows: the sweep's.
      ASSERT_TRUE(fs.Delete("D:\\War3\\f2.dll.plover-tmp").ok());
    } else {
      EXPECT_GE(made, 50);
      EXPECT_FALSE(fs.Exists("D:\\War3\\f2.dll.plover-tmp"));
    }
  }
}

// A temporary folder the switch cannot remove keeps the switch's record in
// the journal, and the next start removes it.
TEST_F(SwitchTest, ATemporaryFolderThatCannotBeRemovedIsLeftToTheNextStart) {
  Journal journal(fs, "C:\\P\\");
  services.journal = &journal;
  AddVersion({"Game.dll"});
  fs.Fail(Op::kDeleteFolder, "D:\\War3\\.plover-tmp", fs::kPermissionDenied);

  EXPECT_EQ(Apply().outcome, SwitchOutcome::kCompleted);
  EXPECT_TRUE(fs.Exists("D:\\War3\\.plover-tmp"));
  EXPECT_TRUE(fs.Exists(journal.Path()));

  RecoverInterruptedWork(services);
  EXPECT_FALSE(fs.Exists("D:\\War3\\.plover-tmp"));
  EXPECT_FALSE(fs.Exists(journal.Path()));
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new Game.dll");
}

TEST_F(SwitchTest, ProgressIsShownBeforeEveryLineAndEndedAfterwards) {
  AddVersion({"Game.dll", "..\\out.dll", kMap});
  std::vector<bool> enabledAtProgress;
  std::vector<std::string> writtenAtProgress;
  view.onProgress = [&](size_t, size_t) {
    enabledAtProgress.push_back(view.enabled);
    writtenAtProgress.push_back(Written().empty() ? "" : Written().back());
  };

  Apply();

  using Step = std::pair<size_t, size_t>;
  EXPECT_EQ(view.progress, (std::vector<Step>{{0, 3}, {1, 3}, {2, 3}, {0, 0}}));
  EXPECT_EQ(enabledAtProgress, (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(writtenAtProgress, (Names{"", "D:\\War3\\Game.dll", "D:\\War3\\Game.dll",
                                      "D:\\War3\\" + std::string(kMap)}));

  // A switch that stops at a question ends its progress too.
  Reset();
  AddVersion({"Game.dll", kMap});
  ASSERT_TRUE(fs.Delete(StoreCopy("Game.dll")).ok());
  prompts.answers = {ui::kIdNo};
  EXPECT_EQ(Apply().outcome, SwitchOutcome::kStopped);
  EXPECT_EQ(view.progress, (std::vector<Step>{{0, 2}, {0, 0}}));
}

}  // namespace
}  // namespace plover::testing
