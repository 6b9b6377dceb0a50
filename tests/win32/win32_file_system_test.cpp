// The real file system under the same promises the logic relies on: the two
// error numbers, whole-or-nothing replacement of files held by another
// program, names found without regard to case, and Chinese names on disk.
#include "plover/versions/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/quick_check.h"
#include "tests/support/fakes.h"

namespace plover {
namespace {

using fs::Status;

class Win32FsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = win::Utf8(temp).value() + "plover-fs-" + info->name() + "-" +
            std::to_string(GetCurrentProcessId());
    (void)fs_.DeleteFolder(root_);
    ASSERT_TRUE(fs_.CreateFolder(root_).ok());
  }
  void TearDown() override { (void)fs_.DeleteFolder(root_); }

  std::string P(const std::string& rel) const { return root_ + "\\" + rel; }
  void Put(const std::string& rel, const std::string& bytes) {
    ASSERT_TRUE(fs_.WriteAll(P(rel), bytes).ok()) << rel;
  }
  std::string Get(const std::string& rel) {
    std::string bytes;
    EXPECT_TRUE(fs_.ReadAll(P(rel), bytes).ok()) << rel;
    return bytes;
  }
  void SetReadOnly(const std::string& rel) {
    ASSERT_TRUE(SetFileAttributesW(win::Wide(P(rel)).value().c_str(), FILE_ATTRIBUTE_READONLY));
  }
  bool IsReadOnly(const std::string& rel) {
    const DWORD a = GetFileAttributesW(win::Wide(P(rel)).value().c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    EXPECT_TRUE(fs_.ListFiles(root_, "*", names).ok());
    return names;
  }
  // Opens a file the way a running game holds its files: no sharing at all.
  win::UniqueFile Hold(const std::string& rel) {
    return win::UniqueFile(CreateFileW(win::Wide(P(rel)).value().c_str(),
                                       GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
  }

  fs::Win32FileSystem fs_;
  std::string root_;
};

TEST_F(Win32FsTest, ErrorNumbersCallersTellApart) {
  Put("a.txt", "a");
  EXPECT_EQ(fs_.GetFile(P("missing.txt")).code, fs::kFileNotFound);
  EXPECT_EQ(fs_.GetFile(P("no\\such\\folder.txt")).code, fs::kFileNotFound);
  EXPECT_EQ(fs_.GetFile(root_).code, fs::kFileNotFound) << "a folder is not a file";
  std::string bytes;
  EXPECT_EQ(fs_.ReadAll(P("missing.txt"), bytes).code, fs::kFileNotFound);
  // A copy creates no folders: a missing target folder is reported as 58.
  EXPECT_EQ(fs_.Copy(P("a.txt"), P("Maps\\FrozenThrone\\a.txt")).code, fs::kFileAlreadyExists);
  EXPECT_EQ(fs_.Copy(P("missing.txt"), P("b.txt")).code, fs::kFileNotFound);
  ASSERT_TRUE(fs_.CreateFolder(P("store")).ok());
  EXPECT_EQ(fs_.CreateFolder(P("store")).code, fs::kFileAlreadyExists);
}

TEST_F(Win32FsTest, APrefixReadStopsAtItsCountOrAtTheEnd) {
  // More than one read buffer, so the count must stop the reading loop.
  std::string big(200 * 1024, 'x');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
  Put("big.w3g", big);
  Put("short.w3g", "abc");
  Put("empty.w3g", "");
  std::string bytes = "left over";
  ASSERT_TRUE(fs_.ReadPrefix(P("big.w3g"), 0x44, bytes).ok());
  EXPECT_EQ(bytes, big.substr(0, 0x44));
  ASSERT_TRUE(fs_.ReadPrefix(P("big.w3g"), 70 * 1024, bytes).ok());
  EXPECT_EQ(bytes, big.substr(0, 70 * 1024));
  ASSERT_TRUE(fs_.ReadPrefix(P("short.w3g"), 0x44, bytes).ok());
  EXPECT_EQ(bytes, "abc");
  ASSERT_TRUE(fs_.ReadPrefix(P("empty.w3g"), 0x44, bytes).ok());
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(fs_.ReadPrefix(P("missing.w3g"), 0x44, bytes).code, fs::kFileNotFound);
  EXPECT_EQ(fs_.ReadPrefix(P("no\\such.w3g"), 0x44, bytes).code, fs::kFileNotFound);
  EXPECT_EQ(fs_.ReadPrefix(P("\xFF.w3g"), 0x44, bytes).code, fs::kBadFileName);
}

TEST_F(Win32FsTest, APathThatCannotConvertIsABadFileName) {
  Put("a.txt", "a");
  const std::string bad = P("\xFF.txt");  // not UTF-8
  std::string bytes;
  std::vector<std::string> names;
  EXPECT_EQ(fs_.GetFile(bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.ReadAll(bad, bytes).code, fs::kBadFileName);
  EXPECT_EQ(fs_.WriteAll(bad, "x").code, fs::kBadFileName);
  EXPECT_EQ(fs_.Copy(P("a.txt"), bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.Move(P("a.txt"), bad, true).code, fs::kBadFileName);
  EXPECT_EQ(fs_.Delete(bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.CreateFolder(bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.DeleteFolder(bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.MoveFolder(root_, bad).code, fs::kBadFileName);
  EXPECT_EQ(fs_.ListFiles(bad, "*", names).code, fs::kPathNotFound);
  EXPECT_FALSE(fs_.FolderExists(bad));
  ASSERT_TRUE(fs_.ListFiles(root_, "*", names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(Get("a.txt"), "a");
}

TEST_F(Win32FsTest, FilesAreFoundWithoutRegardToCase) {
  Put("war3.exe", "game");
  fs::FileInfo info;
  ASSERT_TRUE(fs_.GetFile(P("War3.exe"), &info).ok());
  EXPECT_EQ(info.size, 4u);
  ASSERT_TRUE(fs_.Copy(P("WAR3.EXE"), P("copy.exe")).ok());
  EXPECT_EQ(Get("Copy.EXE"), "game");
}

TEST_F(Win32FsTest, ListingMatchesLongNamesOnlyInCaseFreeOrder) {
  for (const char* n : {"b.w3v", "A.w3v", "c.w3vx", "x.txt", "1.20.W3V"}) Put(n, "");
  ASSERT_TRUE(fs_.CreateFolder(P("d.w3v")).ok());
  std::vector<std::string> names;
  ASSERT_TRUE(fs_.ListFiles(root_, "*.w3v", names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"1.20.W3V", "A.w3v", "b.w3v"}));
  ASSERT_TRUE(fs_.ListFolders(root_, names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"d.w3v"}));
  EXPECT_FALSE(fs_.ListFiles(P("gone"), "*.exe", names).ok());
  // Both in one look, as start-up lists the program folder.
  std::vector<std::string> files, folders;
  ASSERT_TRUE(fs_.ListFilesAndFolders(root_, "*.w3v", files, folders).ok());
  EXPECT_EQ(files, (std::vector<std::string>{"1.20.W3V", "A.w3v", "b.w3v"}));
  EXPECT_EQ(folders, (std::vector<std::string>{"d.w3v"}));
  EXPECT_EQ(fs_.ListFilesAndFolders(P("gone"), "*", files, folders).code, fs::kPathNotFound);
}

TEST_F(Win32FsTest, ChineseNamesSurviveTheRoundTrip) {
  Put("魔兽争霸.w3v", "x");
  std::vector<std::string> names;
  ASSERT_TRUE(fs_.ListFiles(root_, "*.w3v", names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"魔兽争霸.w3v"}));
}

TEST_F(Win32FsTest, FlushKeepsTheFileAndItsReadOnlyAttribute) {
  Put("ro.dll", "store copy");
  const std::wstring path = win::Wide(P("ro.dll")).value();
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(fs_.Flush(P("ro.dll")).ok());
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  std::string bytes;
  ASSERT_TRUE(fs_.ReadAll(P("ro.dll"), bytes).ok());
  EXPECT_EQ(bytes, "store copy");
  EXPECT_EQ(fs_.Flush(P("missing.dll")).code, fs::kFileNotFound);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
}

TEST_F(Win32FsTest, SafeCopyLeavesAHeldFileWholeAndNoTemporary) {
  Put("new.dll", std::string(100000, 'n'));
  Put("Game.dll", "old contents");
  {
    win::UniqueFile held = Hold("Game.dll");
    ASSERT_TRUE(held);
    const Status s = fs::SafeCopy(fs_, P("new.dll"), P("Game.dll"));
    EXPECT_FALSE(s.ok());
    EXPECT_FALSE(s.is(fs::kFileNotFound) || s.is(fs::kFileAlreadyExists)) << s.code;
  }
  EXPECT_EQ(Get("Game.dll"), "old contents");
  std::vector<std::string> names;
  ASSERT_TRUE(fs_.ListFiles(root_, "*", names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"Game.dll", "new.dll"}));

  ASSERT_TRUE(fs::SafeCopy(fs_, P("new.dll"), P("Game.dll")).ok());
  EXPECT_EQ(Get("Game.dll"), std::string(100000, 'n'));
}

// A copy keeps the last-write time of its source through the temporary and
// the move, beside the target or in a folder of temporaries, so a switch
// can tell later that the game file holds its store copy.
TEST_F(Win32FsTest, SafeCopyKeepsTheSourceTimeAndItsTemporaryFolderWorks) {
  Put("store.dll", std::string(70000, 's'));
  {
    win::UniqueFile f(CreateFileW(win::Wide(P("store.dll")).value().c_str(), FILE_WRITE_ATTRIBUTES,
                                  0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    FILETIME old{0x12345670, 0x01c5a000};  // 2005, with 100 ns digits of its own
    ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &old));
  }
  ASSERT_TRUE(fs_.CreateFolder(P("temps")).ok());
  ASSERT_TRUE(fs_.CreateFolder(P("maps")).ok());
  for (const char* temps : {"", "temps"}) {
    SCOPED_TRACE(temps);
    const std::string folder = *temps ? P(temps) : std::string();
    Put("maps\\Game.dll", "old");
    ASSERT_TRUE(fs::SafeCopy(fs_, P("store.dll"), P("maps\\Game.dll"), folder).ok());
    fs::FileInfo store, game;
    ASSERT_TRUE(fs_.GetFile(P("store.dll"), &store).ok());
    ASSERT_TRUE(fs_.GetFile(P("maps\\Game.dll"), &game).ok());
    EXPECT_EQ(game.size, store.size);
    EXPECT_EQ(game.lastWrite, store.lastWrite);
    EXPECT_TRUE(versions::InPlace(fs_, P("store.dll"), P("maps\\Game.dll")));
    std::vector<std::string> names;
    ASSERT_TRUE(fs_.ListFiles(P("maps"), "*", names).ok());
    EXPECT_EQ(names, std::vector<std::string>{"Game.dll"});
    ASSERT_TRUE(fs_.ListFiles(P("temps"), "*", names).ok());
    EXPECT_TRUE(names.empty());
    // A missing target folder is 58 either way, and leaves no temporary.
    EXPECT_EQ(fs::SafeCopy(fs_, P("store.dll"), P("gone\\Game.dll"), folder).code,
              fs::kFileAlreadyExists);
    ASSERT_TRUE(fs_.ListFiles(P("temps"), "*", names).ok());
    EXPECT_TRUE(names.empty());
  }
}

TEST_F(Win32FsTest, ReadOnlyTargetIsReportedNotReplaced) {
  Put("new.dll", "new");
  Put("Game.dll", "old");
  SetReadOnly("Game.dll");
  EXPECT_EQ(fs::SafeCopy(fs_, P("new.dll"), P("Game.dll")).code, fs::kPermissionDenied);
  EXPECT_EQ(Get("Game.dll"), "old");
  EXPECT_TRUE(IsReadOnly("Game.dll"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Game.dll", "new.dll"})) << "no temporary left";
  ASSERT_TRUE(fs_.ClearReadOnly(P("Game.dll")).ok());
}

// A store copy from a CD is read-only, and CopyFileW carries the attribute:
// the game file made from it is writable all the same, so the next switch
// replaces it.
TEST_F(Win32FsTest, ReadOnlyStoreCopyMakesAWritableGameFile) {
  Put("store.dll", "new");
  Put("Game.dll", "old");
  SetReadOnly("store.dll");
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    ASSERT_TRUE(fs::SafeCopy(fs_, P("store.dll"), P("Game.dll")).ok());
    EXPECT_EQ(Get("Game.dll"), "new");
    EXPECT_FALSE(IsReadOnly("Game.dll"));
    EXPECT_TRUE(IsReadOnly("store.dll"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Game.dll", "store.dll"}));
  }
  EXPECT_TRUE(fs_.ClearReadOnly(P("none.dll")).is(fs::kFileNotFound));
  EXPECT_TRUE(fs_.ClearReadOnly(root_).is(fs::kFileNotFound)) << "a folder is not a file";
  ASSERT_TRUE(fs_.ClearReadOnly(P("store.dll")).ok());
  EXPECT_FALSE(IsReadOnly("store.dll"));
  EXPECT_TRUE(fs_.Delete(P("store.dll")).ok());
}

TEST_F(Win32FsTest, FoldersMoveAndDeleteWithTheirContents) {
  ASSERT_TRUE(fs_.CreateFolder(P("1.20")).ok());
  ASSERT_TRUE(fs_.CreateFolder(P("1.20\\sub")).ok());
  Put("1.20\\Game.dll", "g");
  Put("1.20\\sub\\x", "x");
  ASSERT_TRUE(fs_.MoveFolder(P("1.20"), P("1.21")).ok());
  EXPECT_FALSE(fs_.FolderExists(P("1.20")));
  EXPECT_EQ(Get("1.21\\sub\\x"), "x");
  ASSERT_TRUE(fs_.DeleteFolder(P("1.21")).ok());
  EXPECT_FALSE(fs_.FolderExists(P("1.21")));
  ASSERT_TRUE(fs_.Move(P("none"), P("x"), false).is(fs::kFileNotFound));
}

// A switch on real files while the game holds one of them: the others are
// written, the held one is untouched and reported.
TEST_F(Win32FsTest, SwitchReportsAFileTheGameHolds) {
  ASSERT_TRUE(fs_.CreateFolder(P("prog")).ok());
  ASSERT_TRUE(fs_.CreateFolder(P("prog\\1.20")).ok());
  ASSERT_TRUE(fs_.CreateFolder(P("game")).ok());
  Put("prog\\1.20.w3v", "Game.dll\r\nStorm.dll\r\n");
  Put("prog\\1.20\\Game.dll", "game 1.20");
  Put("prog\\1.20\\Storm.dll", "storm 1.20");
  Put("game\\Game.dll", "game old");
  Put("game\\Storm.dll", "storm old");

  testing::FakeMainView view;
  view.gamePath = P("game");
  testing::ScriptedPrompts prompts;
  testing::ScriptedFolderPicker picker;
  testing::RecordingLauncher launcher;
  Services services{fs_, prompts, picker, launcher, P("prog") + "\\"};
  {
    win::UniqueFile held = Hold("game\\Storm.dll");
    const SwitchReport r = ApplyVersion(services, view, "1.20", Scope::kAll);
    EXPECT_EQ(r.outcome, SwitchOutcome::kIncomplete);
    EXPECT_EQ(r.notWritten, (std::vector<std::string>{"Storm.dll"}));
  }
  EXPECT_EQ(Get("game\\Game.dll"), "game 1.20");
  EXPECT_EQ(Get("game\\Storm.dll"), "storm old");
  EXPECT_EQ(view.status, "转换未完成！- Created by Velmor");
}

}  // namespace
}  // namespace plover
