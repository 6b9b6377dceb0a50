// The main window's commands driven from the outside under Wine: the loader
// batch file (run afterwards with Wine's cmd), deleting a version, the replay
// directory, the key blocker, starting the game, and replay auto-save. Each
// test has a program folder and a game installation of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/e2e/driver_extra.h"
#include "tests/e2e/harness.h"
#include "tests/support/install_gen.h"

namespace e2e {
namespace {

namespace gen = plover::testing;

// Replay auto-save looks every 5 s: a new replay is saved within two ticks.
constexpr int kReplayMs = 15000;
constexpr int kBatchMs = 25000;

const char* const kLoaderMade = "已经生成loader！- Created by Velmor";
const char* const kDeleteTitle = "删除版本文件";

const bool kTimeLimit = InstallTestTimeLimit(120000);

// ---- Loader batch file ----------------------------------------------------------

// The loader of the selected version, made with btnMake; Plover is closed
// afterwards. Returns the loader's path ("" when it was not made).
std::string MakeLoader(const Scenario& s, const std::string& version) {
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  if (!main) return "";
  if (!SelectVersion(main, version)) return "";
  EXPECT_TRUE(Click(Control(main, kBtnMake)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kLoaderMade, kStepMs), kLoaderMade)
      << plover.Describe();
  EXPECT_FALSE(plover.MessageBoxNow().has_value()) << plover.Describe();
  // One instance per program folder: the loader starts Plover again.
  ExpectClosesCleanly(plover);
  const std::string loader = Join(s.prog(), version + "loader.bat");
  EXPECT_TRUE(FileExists(loader)) << loader;
  return FileExists(loader) ? loader : "";
}

// Runs the loader as a double-click in the program folder would: cmd /c with
// the program folder as the current directory. A main window of Plover that
// shows up (the name did not reach it as a listed version) is closed as a
// player would, so that the batch file goes on to whatever follows.
RunResult RunLoader(const Scenario& s, const std::string& version, int* windowsShown) {
  const std::string bat = version + "loader.bat";
  *windowsShown = 0;
  return RunAndCapture("\"" + CmdExePath() + "\" /c \"\"" + bat + "\"\"", s.prog(), kBatchMs,
                       [&](HANDLE job) { *windowsShown += CloseWindowsOfJob(job, "PloverMain"); });
}

// btnMake for `version`, then the loader run with cmd: the game is switched
// to that version and started once, and nothing else runs.
void ExpectLoaderSwitchesAndStarts(const std::string& version) {
  Scenario s(TestName());
  MakeReady(s, {"1.18", version});
  ASSERT_FALSE(MakeLoader(s, version).empty());
  ExpectFlavour(s, FullEntries(), kGameFlavour);

  int shown = 0;
  const RunResult run = RunLoader(s, version, &shown);
  EXPECT_EQ(shown, 0) << "Plover showed its window: the name did not reach it";
  EXPECT_TRUE(run.allEnded) << "the loader or Plover did not end; output: " << run.output;
  EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.output;
  ExpectFlavour(s, FullEntries(), version);
  const auto starts = gen::ReadGameStarts(gen::PathFromUtf8(s.game()));
  ASSERT_EQ(starts.size(), 1u) << "the game was not started once; output: " << run.output;
  EXPECT_NE(starts[0].commandLine.find("war3.exe"), std::string::npos) << starts[0].commandLine;

  // Nothing of the name ran as a command of its own.
  EXPECT_EQ(run.output.find("pwned"), std::string::npos) << run.output;
  for (const auto& dir : {s.prog(), s.game(), s.root()}) {
    EXPECT_FALSE(FileExists(Join(dir, "pwned")) || DirExists(Join(dir, "pwned"))) << dir;
  }
  // Plover ran without showing a message (the same loader again would fail
  // otherwise): ver.dat is written as usual.
  EXPECT_EQ(ReadGbkLines(s.settings()), (Lines{WithBackslash(s.game()), ReplayDirOf(s)}));
}

TEST(Loader, HoldsThreeLinesAndSwitchesAndStartsTheGameThroughCmd) {
  Scenario s = ReadyScenario();
  s.AddVersion("1.18");
  const std::string loader = MakeLoader(s, "1.20");
  ASSERT_FALSE(loader.empty());
  EXPECT_EQ(ReadBytes(loader),
            std::optional<std::string>("@echo off\r\n" +
                                       ToGbk("echo 正在进行转换并运行魔兽。。。请稍候。。。。") +
                                       "\r\nPlover.exe 1.20\r\n"));

  int shown = 0;
  const RunResult run = RunLoader(s, "1.20", &shown);
  EXPECT_EQ(shown, 0) << "Plover showed its window: the name did not reach it";
  EXPECT_TRUE(run.allEnded) << "the loader or Plover did not end; output: " << run.output;
  EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.output;
  ExpectFlavour(s, FullEntries(), "1.20");
  const auto starts = gen::ReadGameStarts(gen::PathFromUtf8(s.game()));
  ASSERT_EQ(starts.size(), 1u) << "the game was not started once; output: " << run.output;
  EXPECT_NE(starts[0].commandLine.find("war3.exe"), std::string::npos) << starts[0].commandLine;

  // Made again, the loader is replaced, not appended to.
  const auto before = ReadBytes(loader);
  ASSERT_FALSE(MakeLoader(s, "1.20").empty());
  EXPECT_EQ(ReadBytes(loader), before);
}

TEST(Loader, NameWithAmpersandReachesPloverUnchanged) {
  ExpectLoaderSwitchesAndStarts("1.20 & echo pwned");
}

TEST(Loader, NameWithPercentReachesPloverUnchanged) {
  ExpectLoaderSwitchesAndStarts("50%off");
}

TEST(Loader, NameWithCaretParenthesesAndBangReachesPloverUnchanged) {
  ExpectLoaderSwitchesAndStarts("(1.26)^a!b & mkdir pwned");
}

TEST(Loader, NothingSelectedSaysSo) {
  Scenario s(TestName());
  MakeReady(s, {});
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnMake)));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << plover.Describe();
  EXPECT_EQ(box->title, "出错");
  EXPECT_EQ(box->text, "请选择一个版本！");
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_EQ(FileNamesIn(s.prog()), (Lines{"Plover.exe", "ver.dat"}));
  ExpectClosesCleanly(plover);
}

// ---- Deleting a version -------------------------------------------------------------

// Selects 1.20 of {1.18, 1.20}, presses btnDel and answers the questions;
// `second` is the answer to the second question (0: it must not come).
void DeleteAnswering(PloverProcess& plover, HWND main, int first, int second) {
  ASSERT_TRUE(SelectVersion(main, "1.20"));
  ASSERT_TRUE(Click(Control(main, kBtnDel)));
  auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no question: " << plover.Describe();
  EXPECT_EQ(box->title, kDeleteTitle);
  EXPECT_EQ(box->text, "你确定要删除吗？");
  ASSERT_TRUE(plover.Answer(*box, first));
  if (second == 0) {
    // Once the window's thread takes messages again, the command is over or
    // its next question is up.
    ASSERT_TRUE(WaitHandled(main)) << plover.Describe();
    EXPECT_FALSE(plover.MessageBoxNow().has_value()) << plover.Describe();
    return;
  }
  box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no second question: " << plover.Describe();
  EXPECT_EQ(box->title, kDeleteTitle);
  EXPECT_EQ(box->text, "是否同时删除版本文件？");
  ASSERT_TRUE(plover.Answer(*box, second));
}

Scenario TwoVersions() {
  Scenario s = ReadyScenario();
  s.AddVersion("1.18");
  return s;
}

TEST(Delete, YesThenNoDeletesTheVersionFileOnly) {
  Scenario s = TwoVersions();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  DeleteAnswering(plover, main, IDYES, IDNO);
  EXPECT_TRUE(WaitListed(main, Lines{"1.18"})) << Listed(main).size() << " listed";
  EXPECT_FALSE(FileExists(VersionFile(s, "1.20")));
  EXPECT_TRUE(DirExists(Join(s.prog(), "1.20")));
  EXPECT_EQ(FileNamesIn(Join(s.prog(), "1.20")).size(), 15u);
  EXPECT_TRUE(FileExists(VersionFile(s, "1.18")));
  ExpectClosesCleanly(plover);

  // Without its version file, 1.20 is not listed at the next start either.
  PloverProcess again;
  main = StartToWindow(again, s);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitListed(main, Lines{"1.18"})) << Listed(main).size() << " listed";
  ExpectClosesCleanly(again);
}

TEST(Delete, YesThenYesDeletesTheStoreFolderToo) {
  Scenario s = TwoVersions();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  DeleteAnswering(plover, main, IDYES, IDYES);
  EXPECT_TRUE(WaitListed(main, Lines{"1.18"})) << Listed(main).size() << " listed";
  EXPECT_FALSE(FileExists(VersionFile(s, "1.20")));
  EXPECT_FALSE(DirExists(Join(s.prog(), "1.20")));
  EXPECT_TRUE(FileExists(VersionFile(s, "1.18")));
  EXPECT_EQ(FileNamesIn(Join(s.prog(), "1.18")).size(), 15u);
  ExpectClosesCleanly(plover);
}

TEST(Delete, NoChangesNothing) {
  Scenario s = TwoVersions();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  DeleteAnswering(plover, main, IDNO, 0);
  EXPECT_EQ(Listed(main), (Lines{"1.18", "1.20"}));
  EXPECT_TRUE(FileExists(VersionFile(s, "1.20")));
  EXPECT_EQ(FileNamesIn(Join(s.prog(), "1.20")).size(), 15u);
  ExpectClosesCleanly(plover);
}

// ---- Programs that are missing ------------------------------------------------------

TEST(KeyBlocker, MissingQuenlockSaysSo) {
  Scenario s = ReadyScenario();
  ASSERT_FALSE(FileExists(Join(s.prog(), "Quenlock.exe")));
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnKill)));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no message about Quenlock: " << plover.Describe();
  EXPECT_EQ(box->title, "确定");
  EXPECT_EQ(box->text, "无法找到 Quenlock.exe");
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  ExpectClosesCleanly(plover);
}

// ---- Replay directory -----------------------------------------------------------------

TEST(ReplayDir, ChosenFolderIsWhatTheNextSettingsHold) {
  Scenario s = ReadyScenario();
  const std::string chosen = Join(s.root(), "我的录象");
  MakeDirs(chosen);
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  const std::string prompt = "选择录象存放目录，目前存放目录：" + ReplayDirOf(s);

  // Cancelled, nothing changes.
  ASSERT_TRUE(Click(Control(main, kBtnSavePath)));
  HWND picker = plover.WaitFolderPicker(kStepMs);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open: " << plover.Describe();
  EXPECT_NE(ChildByText(picker, prompt), nullptr) << DescribeChildren(picker);
  ASSERT_TRUE(plover.CancelPicker(picker));

  ASSERT_TRUE(Click(Control(main, kBtnSavePath)));
  picker = plover.WaitFolderPicker(kStepMs);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open: " << plover.Describe();
  EXPECT_NE(ChildByText(picker, prompt), nullptr) << DescribeChildren(picker);
  ASSERT_TRUE(plover.ChooseFolder(picker, chosen));
  ASSERT_TRUE(WaitUntil([&] { return !plover.FolderPickerNow(); }, kStepMs));

  // The prompt names the new folder now.
  ASSERT_TRUE(Click(Control(main, kBtnSavePath)));
  picker = plover.WaitFolderPicker(kStepMs);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open: " << plover.Describe();
  EXPECT_NE(ChildByText(picker, "选择录象存放目录，目前存放目录：" + WithBackslash(chosen)),
            nullptr)
      << DescribeChildren(picker);
  ASSERT_TRUE(plover.CancelPicker(picker));

  ExpectClosesCleanly(plover);
  EXPECT_EQ(ReadGbkLines(s.settings()), (Lines{WithBackslash(s.game()), WithBackslash(chosen)}));
}

// ---- Replay auto-save -------------------------------------------------------------------

// The name a replay saved at local time `t` gets: a blank before every number,
// no leading zeros.
std::string SavedReplayName(const SYSTEMTIME& t) {
  char name[64];
  std::snprintf(name, sizeof name, " %u- %u- %u  %u. %u. %u.w3g", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return name;
}

SYSTEMTIME LocalNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t;
}

// The names of every second from `from` to `to`, a second either side added.
std::set<std::string> NamesBetween(const SYSTEMTIME& from, const SYSTEMTIME& to) {
  auto ticks = [](const SYSTEMTIME& t) {
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  constexpr unsigned long long kSecond = 10000000ULL;
  std::set<std::string> names;
  for (unsigned long long at = ticks(from) - kSecond; at <= ticks(to) + kSecond; at += kSecond) {
    FILETIME f{static_cast<DWORD>(at), static_cast<DWORD>(at >> 32)};
    SYSTEMTIME t{};
    FileTimeToSystemTime(&f, &t);
    names.insert(SavedReplayName(t));
  }
  return names;
}

TEST(ReplayAutoSave, SavesTwoReplaysOfEqualLengthIntoANewFolder) {
  Scenario s(TestName());
  s.MakeGame();
  // Neither the replay folder nor its parent exists yet.
  const std::string replays = Join(Join(s.root(), "saved"), "replays");
  s.WriteSettings(WithBackslash(s.game()), WithBackslash(replays));
  s.AddVersion("1.20");
  const std::string watched = s.GameFile("replay\\LastReplay.w3g");
  const std::string first(4096, 'A');
  std::string second(4096, 'B');
  second.replace(0, 6, "second");
  ASSERT_TRUE(WriteReplay(watched, first));

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  const ULONGLONG shown = GetTickCount64();
  ASSERT_NE(main, nullptr);
  // A watch that ran with the box off would have had its timer set as the
  // window was made, before it was shown.
  EXPECT_FALSE(SavedBeforeTheNextTick(shown, [&] { return DirExists(replays); }))
      << "saved while auto-save was off";

  HWND check = Control(main, kChkSave);
  const SYSTEMTIME clicked = LocalNow();
  ASSERT_TRUE(Click(check));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(check); }, kStepMs));
  ASSERT_TRUE(WaitUntil([&] { return SavedReplays(replays).size() >= 1; }, kReplayMs))
      << "the replay already there was not saved";
  const SYSTEMTIME firstSeen = LocalNow();
  Lines saved = SavedReplays(replays);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(NamesBetween(clicked, firstSeen).count(saved[0]), 1u) << "'" << saved[0] << "'";
  EXPECT_EQ(ReadBytes(Join(replays, saved[0])), std::optional<std::string>(first));
  const std::string firstName = saved[0];

  // The next game's replay: the same length, other bytes.
  const SYSTEMTIME written = LocalNow();
  ASSERT_TRUE(WriteReplay(watched, second));
  ASSERT_TRUE(WaitUntil([&] { return SavedReplays(replays).size() >= 2; }, kReplayMs))
      << "the replay of equal length was not saved";
  const SYSTEMTIME secondSeen = LocalNow();
  const ULONGLONG secondSeenAt = GetTickCount64();
  saved = SavedReplays(replays);
  ASSERT_EQ(saved.size(), 2u);
  const std::string secondName = saved[0] == firstName ? saved[1] : saved[0];
  EXPECT_EQ(NamesBetween(written, secondSeen).count(secondName), 1u) << "'" << secondName << "'";
  EXPECT_EQ(ReadBytes(Join(replays, firstName)), std::optional<std::string>(first));
  EXPECT_EQ(ReadBytes(Join(replays, secondName)), std::optional<std::string>(second));

  // An unchanged replay is not saved again: not at the tick after the one
  // that saved it.
  EXPECT_FALSE(SavedBeforeTheNextTick(secondSeenAt, [&] {
    return FileNamesIn(replays).size() > 2;
  })) << "saved again";
  EXPECT_EQ(FileNamesIn(replays).size(), 2u);
  EXPECT_FALSE(plover.MessageBoxNow().has_value()) << plover.Describe();
  ExpectClosesCleanly(plover);
}

}  // namespace
}  // namespace e2e
