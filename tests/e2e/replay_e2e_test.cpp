// Playing a replay with the version it was recorded with, driven from the
// outside under Wine: from the command line and dropped on the main window,
// a replay of a missing patch and a file that is no replay; and the version
// list marking the installed version as switches come and go. The versions'
// store copies of Game.dll carry real version resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/driver_extra.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/scenario.h"
#include "tests/support/install_gen.h"
#include "tests/support/replay_bytes.h"

#ifndef PLOVER_E2E_VERSIONED_DIR
#error "PLOVER_E2E_VERSIONED_DIR names the folder of the versioned Game.dll files"
#endif

namespace e2e {
namespace {

namespace gen = plover::testing;
using Lines = std::vector<std::string>;

const char* const kTitleError = "错误";
const char* const kNotAReplay = "这不是一个魔兽争霸录像文件。";

const bool kTimeLimit = InstallTestTimeLimit(120000);

std::string VersionedDll(std::string_view version) {
  return Join(Join(WindowsPath(PLOVER_E2E_VERSIONED_DIR), version), "Game.dll");
}

// Three full versions whose store copies of Game.dll name their patches, a
// game of none of them, and ver.dat pointing at it.
Scenario ReplayScenario() {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(s.game() + "\\", Join(s.prog(), "replays") + "\\");
  for (const auto& [name, file] :
       {std::pair{"1.20", "1.20.4.6074"}, std::pair{"1.24", "1.24.4.6387"},
        std::pair{"1.26", "1.26.0.6401"}}) {
    s.AddVersion(name);
    CopyInto(VersionedDll(file), s.StoreCopy(name, "Game.dll"));
  }
  return s;
}

// A replay file of that patch and build, in a folder with a space and
// Chinese in its name; its full path.
std::string PutReplay(const Scenario& s, std::string_view name, uint32_t patch, uint32_t build) {
  const std::string path = Join(Join(s.root(), "我的 录像"), name);
  WriteBytes(path, gen::Replay(patch, build, 1, "PX3W", 0x4000));
  return path;
}

// The game now holds the version `name`: its generated files and its
// versioned Game.dll.
void ExpectGameIs(const Scenario& s, const std::string& name, const std::string& dll) {
  EXPECT_TRUE(s.GameHolds("War3Patch.mpq", name))
      << "War3Patch.mpq is of '" << s.GameFlavour("War3Patch.mpq") << "'";
  EXPECT_EQ(ReadBytes(s.GameFile("Game.dll")), ReadBytes(VersionedDll(dll)))
      << "Game.dll is not the one of " << name;
}

Lines StartedCommandLines(const Scenario& s) {
  Lines out;
  for (const auto& start : gen::ReadGameStarts(gen::PathFromUtf8(s.game()))) {
    out.push_back(start.commandLine);
  }
  return out;
}

// The fake game's command line for a replay: war3.exe, then the arguments.
bool StartedOn(const std::string& commandLine, const std::string& replay) {
  const std::string tail = "-loadfile \"" + replay + "\"";
  return commandLine.size() > tail.size() &&
         commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0;
}

// True while a process of the fake game runs (the game folder's War3.exe;
// no other program of that name runs in these tests).
bool GameRuns() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
       more = Process32NextW(snapshot, &entry)) {
    found = CompareStringOrdinal(entry.szExeFile, -1, L"War3.exe", -1, TRUE) == CSTR_EQUAL;
  }
  CloseHandle(snapshot);
  return found;
}

// Whether the row of item `index` holds pixels of the text colour right of
// where the name ends: the mark, drawn on screen.
bool RowShowsMark(HWND list, int index, const std::string& name) {
  RECT r{};
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
    return false;
  }
  HDC dc = GetDC(list);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  const std::wstring w = Wide(name);
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  // Inside the focus rectangle, which runs round the whole row.
  POINT topLeft{r.left + 1 + extent.cx + 1, r.top + 1};
  POINT bottomRight{r.right - 1, r.bottom - 1};
  ClientToScreen(list, &topLeft);
  ClientToScreen(list, &bottomRight);
  HDC screen = GetDC(nullptr);
  const bool selected = SendMessageW(list, LB_GETCURSEL, 0, 0) == index;
  const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  int inked = 0;
  for (int y = topLeft.y; y < bottomRight.y; ++y) {
    for (int x = topLeft.x; x < bottomRight.x; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      if (c != CLR_INVALID && c != back) ++inked;
    }
  }
  ReleaseDC(nullptr, screen);
  return inked >= 3;
}

// ---- The command line -------------------------------------------------------------

TEST(ReplayCommandLine, SwitchesToTheReplaysBuildStartsTheGameOnItAndEnds) {
  Scenario s = ReplayScenario();
  const std::string replay = PutReplay(s, "x.w3g", 26, 6401);

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe(), "\"" + replay + "\""));
  const auto code = plover.WaitExit(30000);
  ASSERT_TRUE(code.has_value()) << "Plover did not end by itself: " << plover.Describe();
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(plover.EverShowedWindow()) << "a window of Plover became visible";

  ExpectGameIs(s, "1.26", "1.26.0.6401");
  ASSERT_TRUE(WaitUntil([&] { return s.GameStarts() > 0; }, 10000)) << "the game was not started";
  const Lines started = StartedCommandLines(s);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_TRUE(StartedOn(started[0], replay)) << started[0];
  EXPECT_TRUE(ReadGbkLines(s.settings()).has_value()) << "ver.dat was not written";
}

TEST(ReplayCommandLine, AMissingPatchIsNamedAndTheWindowOpens) {
  Scenario s = ReplayScenario();
  const std::string replay = PutReplay(s, "1.21.w3g", 21, 6130);

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe(), replay));
  const auto box = plover.WaitMessageBox(kStartMs);
  ASSERT_TRUE(box.has_value()) << "no message box: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, "没有找到与此录像匹配的版本（1.21，build 6130）。请先添加该版本。");
  ASSERT_TRUE(plover.Answer(*box, IDOK));

  HWND main = plover.WaitMainWindow(kStartMs);
  ASSERT_NE(main, nullptr) << plover.Describe();
  EXPECT_TRUE(s.GameHolds("War3Patch.mpq", kGameFlavour)) << "something was switched";
  EXPECT_EQ(s.GameStarts(), 0u);
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0)) << plover.Describe();
}

// ---- Dropped on the window, and the installed mark ---------------------------------

TEST(ReplayDrop, PlaysWithTheReplaysVersionAndTheMarkFollowsEverySwitch) {
  Scenario s = ReplayScenario();
  const std::string replay = PutReplay(s, "6387.W3G", 24, 6387);
  const std::string other = PutReplay(s, "other.w3g", 26, 6401);

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe()));
  HWND main = plover.WaitMainWindow(kStartMs);
  ASSERT_NE(main, nullptr) << plover.Describe();
  HWND list = Control(main, kLstVer);
  ASSERT_EQ(ListItems(list).value_or(Lines{}), (Lines{"1.20", "1.24", "1.26"}))
      << "the items' texts are the names alone";
  EXPECT_EQ(MarkedItem(main), -1) << "the game holds none of the versions";

  ASSERT_TRUE(plover.DropFiles(main, {replay}));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  ASSERT_TRUE(WaitUntil([&] { return s.GameStarts() > 0; }, 10000)) << plover.Describe();
  ExpectGameIs(s, "1.24", "1.24.4.6387");
  const Lines started = StartedCommandLines(s);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_TRUE(StartedOn(started[0], replay)) << started[0];
  EXPECT_TRUE(plover.Running()) << "the window stays after a drop";
  EXPECT_TRUE(WaitMarked(main, 1)) << "marked: " << MarkedItem(main);
  EXPECT_TRUE(RowShowsMark(list, 1, "1.24"));
  EXPECT_NE(MarkedItem(main), 2);

  // Several files at once play nothing, and say nothing.
  ASSERT_TRUE(WaitUntil([] { return !GameRuns(); }, kStepMs)) << "the game did not end";
  ASSERT_TRUE(plover.DropFiles(main, {replay, other}));
  // The window takes the click that follows only after the drop (posted
  // messages come before input): once the click has selected, the drop has
  // been dealt with, and a game it started would be running or have noted
  // its start.
  ASSERT_TRUE(ClickListItem(list, 2));
  ASSERT_TRUE(WaitUntil(
      [&] { return ListSelection(list) == 2 || plover.MessageBoxNow().has_value(); }, kStepMs));
  EXPECT_FALSE(plover.MessageBoxNow().has_value()) << plover.Describe();
  EXPECT_FALSE(GameRuns()) << "a game started";
  EXPECT_EQ(s.GameStarts(), 1u);
  ASSERT_EQ(ListSelection(list), 2);

  // A switch by hand moves the mark, also onto the selected item.
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  ASSERT_TRUE(WaitUntil([&] { return s.GameHolds("War3Patch.mpq", "1.26"); }, kStepMs));
  EXPECT_TRUE(WaitMarked(main, 2)) << "marked: " << MarkedItem(main);
  EXPECT_TRUE(RowShowsMark(list, 2, "1.26")) << "the mark on the selected item";
  EXPECT_NE(MarkedItem(main), 1);
  Screenshot(main, "replay-mark");

  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0)) << plover.Describe();
}

TEST(ReplayDrop, ATextFileNamedW3gIsNoReplay) {
  Scenario s = ReplayScenario();
  const std::string fake = Join(Join(s.root(), "我的 录像"), "notes.w3g");
  WriteBytes(fake, "Warcraft III replay? No, a text file.\r\n");

  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe()));
  HWND main = plover.WaitMainWindow(kStartMs);
  ASSERT_NE(main, nullptr) << plover.Describe();
  ASSERT_TRUE(plover.DropFiles(main, {fake}));
  const auto box = plover.WaitMessageBox(kStepMs);
  ASSERT_TRUE(box.has_value()) << "no message box: " << plover.Describe();
  EXPECT_EQ(box->title, kTitleError);
  EXPECT_EQ(box->text, kNotAReplay);
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_TRUE(s.GameHolds("War3Patch.mpq", kGameFlavour)) << "something was switched";
  EXPECT_EQ(s.GameStarts(), 0u);
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0)) << plover.Describe();
}

}  // namespace
}  // namespace e2e
