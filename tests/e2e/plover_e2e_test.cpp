// Plover.exe driven from the outside under Wine: each test has a program
// folder and a game installation of its own, starts Plover, works its
// windows and checks what it shows and what it leaves on disk.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

const char* const kIdle = "Created by Velmor";
const char* const kIncomplete = "转换未完成！- Created by Velmor";
const char* const kTitleError = "错误";

const bool kTimeLimit = InstallTestTimeLimit(45000);

Lines Slice(size_t from, size_t to) {
  const auto& all = FullEntries();
  return Lines(all.begin() + static_cast<std::ptrdiff_t>(from),
               all.begin() + static_cast<std::ptrdiff_t>(to < all.size() ? to : all.size()));
}

Lines AllBut(size_t index) {
  Lines out = FullEntries();
  out.erase(out.begin() + static_cast<std::ptrdiff_t>(index));
  return out;
}

// ---- Command line -------------------------------------------------------------

TEST(CommandLine, SwitchesStartsTheGameAndEndsWithoutShowingTheWindow) {
  // A game folder with Chinese in its name: ver.dat holds it in GBK.
  Scenario s = ReadyScenario("魔兽争霸 III");
  s.MakeOld(s.settings());
  const auto before = s.WriteTime(s.settings());

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe(), "1.20"));
  const auto code = plover.WaitExit(20000);
  ASSERT_TRUE(code.has_value()) << "Plover did not end by itself: " << plover.Describe();
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(plover.EverShowedWindow()) << "a window of Plover became visible";

  ExpectFlavour(s, FullEntries(), "1.20");
  ASSERT_TRUE(WaitUntil([&] { return s.GameStarts() > 0; }, 10000)) << "the game was not started";
  EXPECT_EQ(s.GameStarts(), 1u);

  EXPECT_NE(s.WriteTime(s.settings()), before) << "ver.dat was not written";
  const auto lines = ReadGbkLines(s.settings());
  ASSERT_TRUE(lines.has_value()) << "ver.dat is not two GBK lines ending in CR LF";
  EXPECT_EQ(*lines, (Lines{WithBackslash(s.game()), ReplayDirOf(s)}));
}

TEST(CommandLine, NameOfNoVersionOpensTheWindow) {
  Scenario s = ReadyScenario();
  s.MakeOld(s.settings());
  const auto before = s.WriteTime(s.settings());
  PloverProcess plover;
  HWND main = StartToWindow(plover, s, "1.24");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(plover.EverShowedWindow());
  EXPECT_EQ(TextOf(main).value_or(""), "Plover 2.0");
  EXPECT_EQ(ListItems(Control(main, kLstVer)).value_or(Lines{}), Lines{"1.20"});
  ExpectFlavour(s, FullEntries(), kGameFlavour);
  EXPECT_EQ(s.GameStarts(), 0u);
  EXPECT_EQ(s.WriteTime(s.settings()), before) << "ver.dat written before the window closed";

  // Closing the window writes ver.dat.
  ExpectClosesCleanly(plover);
  EXPECT_NE(s.WriteTime(s.settings()), before) << "ver.dat was not written on closing";
  EXPECT_EQ(ReadGbkLines(s.settings()), (Lines{WithBackslash(s.game()), ReplayDirOf(s)}));
}

// ---- One instance per program folder ------------------------------------------

TEST(SecondInstance, SaysItRunsAlreadyAndLeavesSettingsAlone) {
  Scenario s = ReadyScenario();
  PloverProcess first;
  ASSERT_NE(StartToWindow(first, s), nullptr);
  ExpectSecondStartTellsAndEnds(s);
  EXPECT_TRUE(first.Running());
  ExpectClosesCleanly(first);
}

TEST(SecondInstance, WhileTheWizardIsOpenOnlyBringsTheWizardToTheFront) {
  Scenario s = ReadyScenario();
  PloverProcess first;
  HWND main = StartToWindow(first, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(first, main);
  ASSERT_NE(wizard, nullptr);
  RECT placed{};
  GetWindowRect(main, &placed);

  ExpectSecondStartTellsAndEnds(s);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == wizard; }, kStepMs))
      << "the wizard did not come to the front: " << first.Describe();
  // The wizard stays as it was, over a main window still waiting for it.
  EXPECT_TRUE(IsWindowVisible(wizard));
  EXPECT_FALSE(IsWindowEnabled(main)) << "the main window was set free under the wizard";
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_FALSE(IsIconic(main));
  RECT now{};
  GetWindowRect(main, &now);
  EXPECT_TRUE(EqualRect(&placed, &now)) << "the main window moved";
  EXPECT_EQ(GetLastActivePopup(main), wizard);

  // Closed, the wizard gives the main window back as before.
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard) && IsWindowEnabled(main); }, kStepMs))
      << first.Describe();
  EXPECT_TRUE(first.Running());
  ExpectClosesCleanly(first);
}

// ---- First start ----------------------------------------------------------------

// The first start's welcome: the wizard with its name prompt on top, which
// is cancelled. Returns false when it did not come.
bool DismissWelcome(PloverProcess& plover) {
  const Welcome welcome = WaitWelcome(plover);
  HWND wizard = welcome.wizard, prompt = welcome.prompt;
  if (!wizard || !prompt) return false;
  HWND cancel = ChildByText(prompt, "取消");
  EXPECT_NE(cancel, nullptr);
  if (!cancel) return false;
  Click(cancel);
  return WaitUntil([&] { return !IsWindowVisible(prompt) && !IsWindowVisible(wizard); }, kStepMs);
}

TEST(FirstStart, CreatesSettingsAndAsksUntilTheFolderHoldsTheGame) {
  Scenario s(TestName());
  const std::string wrong = Join(s.root(), "not a game");
  const std::string right = Join(s.root(), "魔兽争霸 III");
  WriteBytes(Join(wrong, "readme.txt"), "nothing here");
  CopyInto(FakeGameExePath(), Join(right, "WAR3.EXE"));

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe()));
  HWND picker = plover.WaitFolderPicker(kStartMs);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open: " << plover.Describe();
  EXPECT_EQ(ReadBytes(s.settings()), std::optional<std::string>("\r\n\r\n"));
  EXPECT_NE(ChildByText(picker, "选择魔兽所在目录"), nullptr) << "the picker's prompt";

  ASSERT_TRUE(plover.ChooseFolder(picker, wrong));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no message for a folder without war3.exe: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "你选择的魔兽目录不对，请选择！");
  ASSERT_TRUE(plover.Answer(*box, IDOK));

  picker = plover.WaitFolderPicker(kStepMs);
  ASSERT_NE(picker, nullptr) << "the picker did not open again: " << plover.Describe();
  ASSERT_TRUE(plover.ChooseFolder(picker, right));

  ASSERT_TRUE(DismissWelcome(plover));
  HWND main = plover.WaitMainWindow(kStartMs);
  ASSERT_NE(main, nullptr) << plover.Describe();
  EXPECT_EQ(TextOf(Control(main, kTxtPath)).value_or(""), WithBackslash(right));
  EXPECT_EQ(ListItems(Control(main, kLstVer)).value_or(Lines{"?"}), Lines{});

  ExpectClosesCleanly(plover);
  const auto lines = ReadGbkLines(s.settings());
  ASSERT_TRUE(lines.has_value()) << "ver.dat is not GBK lines ending in CR LF";
  ASSERT_EQ(lines->size(), 2u);
  EXPECT_EQ((*lines)[0], WithBackslash(right));
}

// Without a game folder the welcome has nothing to make a version from: a
// cancelled picker brings the window, whatever ver.dat holds (here a UTF-16
// mark, a NUL and bytes that are not code page 936).
TEST(FirstStart, CancelledPickerShowsTheWindowWhateverVerDatHolds) {
  Scenario s(TestName());
  WriteBytes(s.settings(), std::string("\xFF\xFE\0C:\\x\r\n\0\x81\r\n", 13));
  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe()));
  HWND picker = plover.WaitFolderPicker(kStartMs);
  ASSERT_NE(picker, nullptr) << plover.Describe();
  ASSERT_TRUE(plover.CancelPicker(picker));
  HWND main = plover.WaitMainWindow(5000);
  EXPECT_EQ(plover.WindowNow(kModalClass, kWelcomeCaption), nullptr) << "the welcome came";
  ASSERT_NE(main, nullptr) << plover.Describe();
  EXPECT_EQ(TextOf(Control(main, kLbInfo)).value_or(""), kIdle);
  ExpectClosesCleanly(plover);
}

// ---- The version list -----------------------------------------------------------

TEST(VersionList, ListsOnlyVersionsWithAStoreFolder) {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(WithBackslash(s.game()), "");
  s.AddVersion("1.18", FullEntries(), "");
  s.AddVersion("1.20");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND list = Control(main, kLstVer);
  EXPECT_EQ(ListItems(list).value_or(Lines{}), Lines{"1.20"});
  EXPECT_EQ(ListSelection(list), 0);
  ExpectClosesCleanly(plover);
}

TEST(VersionList, StoreFolderMatchesInAnyLetterCase) {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(WithBackslash(s.game()), "");
  s.AddVersion("1.20a", FullEntries(), "1.20A");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ListItems(Control(main, kLstVer)).value_or(Lines{}), Lines{"1.20a"});
  ExpectClosesCleanly(plover);
}

// ---- Switching --------------------------------------------------------------------

TEST(Switch, ButtonAppliesTheSelectedVersion) {
  Scenario s = ReadyScenario();
  s.AddVersion("1.18");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND list = Control(main, kLstVer);
  EXPECT_EQ(ListItems(list).value_or(Lines{}), (Lines{"1.18", "1.20"}));
  EXPECT_EQ(ListSelection(list), 0);
  EXPECT_EQ(TextOf(Control(main, kLbInfo)).value_or(""), kIdle);

  ASSERT_TRUE(SelectItem(list, 1));
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  ExpectFlavour(s, FullEntries(), "1.20");
  EXPECT_EQ(s.GameStarts(), 0u);

  Screenshot(main, "main-window");
  ExpectClosesCleanly(plover);
}

TEST(Switch, DoubleClickAppliesTheClickedVersion) {
  Scenario s = ReadyScenario();
  s.AddVersion("1.18");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(DoubleClickListItem(Control(main, kLstVer), 1));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  ExpectFlavour(s, FullEntries(), "1.20");
  ExpectClosesCleanly(plover);
}

TEST(Switch, EntriesAreReadAsGbk) {
  Scenario s = ReadyScenario();
  const std::string chinese = "Maps\\自定义\\(2)回声岛.w3x";
  s.PutGameFile(chinese, kGameFlavour);
  Lines entries = FullEntries();
  entries.push_back(chinese);
  s.AddVersion("1.20", entries, "1.20");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched)
      << plover.Describe();
  ExpectFlavour(s, entries, "1.20");
  ExpectClosesCleanly(plover);
}

TEST(Switch, MissingStoreCopyAnsweredYesGoesOn) {
  Scenario s = ReadyScenario();
  RemoveTree(s.StoreCopy("1.20", FullEntries()[kWar3Patch]));
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnTran)));

  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no question for the missing store copy: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "转换中找不到文件War3Patch.mpq，是否继续？");
  EXPECT_EQ(TextOf(Control(main, kLbInfo)).value_or(""), kSwitching);
  ASSERT_TRUE(plover.Answer(*box, IDYES));

  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  EXPECT_FALSE(plover.MessageBoxNow().has_value());
  ExpectFlavour(s, AllBut(kWar3Patch), "1.20");
  ExpectFlavour(s, {FullEntries()[kWar3Patch]}, kGameFlavour);
  ExpectClosesCleanly(plover);
}

TEST(Switch, MissingStoreCopyAnsweredNoStops) {
  Scenario s = ReadyScenario();
  RemoveTree(s.StoreCopy("1.20", FullEntries()[kWar3Patch]));
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(DoubleClickListItem(Control(main, kLstVer), 0));

  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no question for the missing store copy: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "转换中找不到文件War3Patch.mpq，是否继续？");
  ASSERT_TRUE(plover.Answer(*box, IDNO));

  // The switch keeps the window disabled for as long as it runs.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kStepMs))
      << "the window stays disabled after the switch stopped";
  ASSERT_TRUE(WaitHandled(main)) << plover.Describe();
  EXPECT_EQ(TextOf(Control(main, kLbInfo)).value_or(""), kSwitching);
  EXPECT_FALSE(plover.MessageBoxNow().has_value());
  ExpectFlavour(s, Slice(0, kWar3Patch), "1.20");
  ExpectFlavour(s, Slice(kWar3Patch, 15), kGameFlavour);
  ExpectClosesCleanly(plover);
}

TEST(Switch, FileHeldByAnotherProcessIsReportedAndKept) {
  Scenario s = ReadyScenario();
  const std::string held = FullEntries()[kEchoIsles];
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  {
    FileHolder holder(s.GameFile(held));
    ASSERT_TRUE(holder.ok());
    ASSERT_TRUE(Click(Control(main, kBtnTran)));
    const auto box = plover.WaitMessageBox(kStepMs);
    ASSERT_TRUE(box.has_value()) << "no report of the file left out: " << plover.Describe();
    EXPECT_EQ(box->title, kTitleError);
    EXPECT_EQ(box->text, "以下文件未能转换（可能正在使用或只读）：\n" + held);
    ASSERT_TRUE(plover.Answer(*box, IDOK));
    EXPECT_EQ(WaitForText(Control(main, kLbInfo), kIncomplete, kStepMs), kIncomplete);
    // Over, the switch takes the window's input back on: no report of it
    // can come after that.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kStepMs))
        << plover.Describe();
    ASSERT_TRUE(WaitHandled(main)) << plover.Describe();
    EXPECT_FALSE(plover.MessageBoxNow().has_value()) << "more than one message box";
  }
  ExpectFlavour(s, {held}, kGameFlavour);
  ExpectFlavour(s, AllBut(kEchoIsles), "1.20");
  ExpectClosesCleanly(plover);
}

// ---- A switch while the game runs ------------------------------------------------------

// True when nobody may write the file now: a running game holds it.
bool HeldOpen(const std::string& path) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return true;
  CloseHandle(h);
  return false;
}

// The fake game started from `exe` and kept running, holding the files of
// `held` (names in the game's folder) as the game holds its program files,
// until the object goes.
class RunningGame {
 public:
  explicit RunningGame(const std::string& exe, const Lines& held = {}) {
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    std::string list;
    for (const auto& name : held) list += name + ";";
    SetEnvironmentVariableW(L"FAKE_WAR3_STAY_MS", L"120000");
    SetEnvironmentVariableW(L"FAKE_WAR3_HOLD", Wide(list).c_str());
    const bool started = process_.Start(exe);
    SetEnvironmentVariableW(L"FAKE_WAR3_STAY_MS", nullptr);
    SetEnvironmentVariableW(L"FAKE_WAR3_HOLD", nullptr);
    ok_ = started && WaitUntil(
                         [&] {
                           if (!FileExists(Join(folder, "war3-started.txt"))) return false;
                           for (const auto& name : held) {
                             if (!HeldOpen(Join(folder, name))) return false;
                           }
                           return true;
                         },
                         kStepMs);
  }
  ~RunningGame() { process_.Kill(); }
  bool ok() const { return ok_ && process_.Running(); }

 private:
  PloverProcess process_;
  bool ok_ = false;
};

const char* const kGameRunning = "魔兽正在运行，部分文件可能无法转换。是否继续？";

// The question about the running game, with No as its default button.
std::optional<Dialog> ExpectGameRunningQuestion(PloverProcess& plover) {
  auto box = plover.WaitMessageBox(kStepMs);
  EXPECT_TRUE(box.has_value()) << "no question about the running game: " << plover.Describe();
  if (!box) return box;
  EXPECT_EQ(box->title, "转换");
  EXPECT_EQ(box->text, kGameRunning);
  HWND yes = GetDlgItem(box->hwnd, IDYES);
  HWND no = GetDlgItem(box->hwnd, IDNO);
  EXPECT_TRUE(yes && no) << "the question has no Yes and No buttons";
  if (no) {
    EXPECT_TRUE(GetWindowLongW(no, GWL_STYLE) & BS_DEFPUSHBUTTON) << "No is not the default";
  }
  return box;
}

TEST(RunningGame, AnsweredNoLeavesEveryGameFileUntouched) {
  Scenario s = ReadyScenario();
  RunningGame game(s.GameFile("War3.exe"));
  ASSERT_TRUE(game.ok()) << "the fake game did not stay running";
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  std::vector<unsigned long long> times;
  for (const auto& entry : FullEntries()) times.push_back(s.WriteTime(s.GameFile(entry)));

  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  const auto box = ExpectGameRunningQuestion(plover);
  ASSERT_TRUE(box.has_value());
  EXPECT_FALSE(IsWindowEnabled(main)) << "the window takes input while the question waits";
  ASSERT_TRUE(plover.Answer(*box, IDNO));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kIdle, kStepMs), kIdle);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kStepMs));
  ASSERT_TRUE(WaitHandled(main)) << plover.Describe();
  EXPECT_FALSE(plover.MessageBoxNow().has_value()) << plover.Describe();
  ExpectFlavour(s, FullEntries(), kGameFlavour);
  for (size_t i = 0; i < FullEntries().size(); ++i) {
    EXPECT_EQ(s.WriteTime(s.GameFile(FullEntries()[i])), times[i]) << FullEntries()[i];
  }
  ExpectClosesCleanly(plover);
}

TEST(RunningGame, AnsweredYesSwitchesAndReportsTheHeldFiles) {
  Scenario s = ReadyScenario();
  RunningGame game(s.GameFile("War3.exe"), {"Game.dll", "War3Patch.mpq"});
  ASSERT_TRUE(game.ok()) << "the fake game did not stay running with its files";
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);

  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  const auto question = ExpectGameRunningQuestion(plover);
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(plover.Answer(*question, IDYES));
  const auto report = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(report.has_value()) << "no report of the held files: " << plover.Describe();
  EXPECT_EQ(report->title, kTitleError);
  // The running program file itself may be replaced or not, as the system
  // allows; the files the game holds are never.
  const std::string header = "以下文件未能转换（可能正在使用或只读）：\nGame.dll\n";
  EXPECT_TRUE(report->text == header + "War3Patch.mpq" ||
              report->text == header + "War3.exe\nWar3Patch.mpq")
      << report->text;
  ASSERT_TRUE(plover.Answer(*report, IDOK));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kIncomplete, kStepMs), kIncomplete);
  ExpectFlavour(s, {"Game.dll", "War3Patch.mpq"}, kGameFlavour);
  for (const auto& entry : FullEntries()) {
    if (entry == "Game.dll" || entry == "War3Patch.mpq" || entry == "War3.exe") continue;
    EXPECT_TRUE(s.GameHolds(entry, "1.20")) << entry;
  }
  ExpectClosesCleanly(plover);
}

TEST(RunningGame, GameOfAnotherFolderAsksNothing) {
  Scenario s = ReadyScenario();
  const std::string other = Join(s.root(), "other game");
  MakeDirs(other);
  CopyInto(FakeGameExePath(), Join(other, "war3.exe"));
  RunningGame game(Join(other, "war3.exe"));
  ASSERT_TRUE(game.ok()) << "the fake game did not stay running";
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched)
      << plover.Describe();
  EXPECT_FALSE(plover.MessageBoxNow().has_value());
  ExpectFlavour(s, FullEntries(), "1.20");
  ExpectClosesCleanly(plover);
}

TEST(RunningGame, CommandLineAsksTheSameWay) {
  Scenario s = ReadyScenario();
  RunningGame game(s.GameFile("War3.exe"));
  ASSERT_TRUE(game.ok()) << "the fake game did not stay running";
  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe(), "1.20"));
  const auto box = ExpectGameRunningQuestion(plover);
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(plover.Answer(*box, IDNO));
  EXPECT_EQ(plover.WaitExit(20000), std::optional<DWORD>(0)) << plover.Describe();
  ExpectFlavour(s, FullEntries(), kGameFlavour);
}

TEST(Switch, MissingMapsFolderIsReported) {
  Scenario s(TestName());
  s.MakeGame(false);
  s.WriteSettings(WithBackslash(s.game()), "");
  s.AddVersion("1.20");
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no message about the Maps folder: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "找不到Maps目录，请确认设定魔兽目录是否正确");
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_FALSE(DirExists(Join(s.game(), "Maps")));
  ExpectClosesCleanly(plover);
}

// ---- Running the game ---------------------------------------------------------------

TEST(RunGame, StartsWar3OfTheGameFolder) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnRun)));
  ASSERT_TRUE(WaitUntil([&] { return s.GameStarts() > 0; }, kStepMs))
      << "the game was not started: " << plover.Describe();
  EXPECT_FALSE(plover.MessageBoxNow().has_value());
  ExpectClosesCleanly(plover);
}

TEST(RunGame, WithoutWar3SaysSo) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  // The game folder loses its program while Plover runs.
  RemoveTree(s.GameFile("War3.exe"));
  ASSERT_TRUE(Click(Control(main, kBtnRun)));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no message about the missing game: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "找不到魔兽,请选择正确的目录");
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_EQ(s.GameStarts(), 0u);
  ExpectClosesCleanly(plover);
}

}  // namespace
}  // namespace e2e
