#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace e2e {

std::string TestName(std::string_view prefix) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return std::string(prefix) + info->test_suite_name() + "." + info->name();
}

std::string WithBackslash(const std::string& dir) {
  return dir + "\\";
}

std::string ReplayDirOf(const Scenario& s) {
  return WithBackslash(Join(s.prog(), "replays"));
}

std::string VersionFile(const Scenario& s, std::string_view name) {
  return Join(s.prog(), std::string(name) + ".w3v");
}

void MakeReady(Scenario& s, std::initializer_list<std::string_view> versions) {
  s.MakeGame();
  s.WriteSettings(WithBackslash(s.game()), ReplayDirOf(s));
  for (std::string_view name : versions) s.AddVersion(name);
}

Scenario ReadyScenario(std::string_view gameFolder) {
  Scenario s(TestName(), gameFolder);
  MakeReady(s);
  return s;
}

bool WaitHandled(HWND window, int timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                             &result) != 0;
}

HWND StartToWindow(PloverProcess& plover, const Scenario& s, const std::string& args) {
  EXPECT_TRUE(plover.Start(s.exe(), args)) << "cannot start " << s.exe();
  HWND main = plover.WaitMainWindow(kStartMs);
  EXPECT_NE(main, nullptr) << "the main window did not appear: " << plover.Describe();
  return main;
}

HWND StartToDrawnWindow(PloverProcess& plover, const Scenario& s) {
  HWND main = StartToWindow(plover, s);
  if (main) {
    EXPECT_TRUE(WaitDrawn(main)) << "the main window was not drawn: " << plover.Describe();
  }
  return main;
}

HWND Control(HWND window, int id) {
  HWND h = ChildById(window, id);
  EXPECT_NE(h, nullptr) << "no control " << id << " in " << DescribeChildren(window);
  return h;
}

bool ClickText(HWND window, std::string_view text) {
  HWND h = ChildByText(window, text);
  EXPECT_NE(h, nullptr) << "no control \"" << text << "\" in " << DescribeChildren(window);
  return h && Click(h);
}

bool WaitGone(HWND window, int timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

void ExpectClosesCleanly(PloverProcess& plover) {
  EXPECT_EQ(plover.CloseMainWindow(kStepMs), std::optional<DWORD>(0))
      << "Plover did not end cleanly: " << plover.Describe();
}

HWND OpenWizard(PloverProcess& plover, HWND main) {
  EXPECT_TRUE(Click(Control(main, kBtnAdd)));
  HWND wizard = plover.WaitWindow(kModalClass, kWizardCaption, kStepMs);
  EXPECT_NE(wizard, nullptr) << "the wizard did not open: " << plover.Describe();
  return wizard;
}

HWND OpenEditor(PloverProcess& plover, HWND main) {
  EXPECT_TRUE(Click(Control(main, kBtnEdit)));
  HWND editor = plover.WaitWindow(kModalClass, kEditCaption, kStepMs);
  EXPECT_NE(editor, nullptr) << "the editor did not open: " << plover.Describe();
  return editor;
}

HWND WaitFileDialog(PloverProcess& plover, std::string_view title) {
  HWND dialog = plover.WaitWindow(kFileDialogClass, title, kStepMs);
  EXPECT_NE(dialog, nullptr) << "no dialog \"" << title << "\": " << plover.Describe();
  return dialog;
}

Welcome WaitWelcome(PloverProcess& plover) {
  Welcome w;
  w.wizard = plover.WaitWindow(kModalClass, kWelcomeCaption, kStartMs);
  EXPECT_NE(w.wizard, nullptr) << "the new-version wizard did not open: " << plover.Describe();
  if (!w.wizard) return w;
  w.prompt = plover.WaitWindow(kModalClass, kWelcomePromptCaption, kStepMs);
  EXPECT_NE(w.prompt, nullptr) << "the name prompt did not open: " << plover.Describe();
  return w;
}

void Screenshot(HWND hwnd, const std::string& name) {
  MakeDirs(ScreenshotDir());
  EXPECT_TRUE(SaveScreenshot(hwnd, Join(ScreenshotDir(), name + ".bmp")));
}

void ExpectSecondStartTellsAndEnds(const Scenario& s, const std::function<void()>& whileTold,
                                   const std::string& args) {
  s.MakeOld(s.settings());
  const auto bytes = ReadBytes(s.settings());
  const auto time = s.WriteTime(s.settings());

  PloverProcess second;
  ASSERT_TRUE(second.Start(s.exe(), args));
  const auto box = second.WaitMessageBox(kStartMs);
  ASSERT_TRUE(box.has_value()) << "no message box from the second instance: " << second.Describe();
  EXPECT_EQ(box->title, "Plover");
  EXPECT_EQ(box->text, "Plover2.0已经运行");
  EXPECT_EQ(second.MainWindow(), nullptr);
  if (whileTold) whileTold();
  ASSERT_TRUE(second.Answer(*box, IDOK));
  EXPECT_EQ(second.WaitExit(kStepMs), std::optional<DWORD>(0)) << "the second instance did not end";

  EXPECT_EQ(ReadBytes(s.settings()), bytes) << "ver.dat changed";
  EXPECT_EQ(s.WriteTime(s.settings()), time) << "ver.dat was written";
}

int MarkedItem(HWND main) {
  static const UINT query = RegisterWindowMessageW(L"Plover.MarkedVersionItem");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(main, query, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return -2;
  return static_cast<int>(static_cast<LONG_PTR>(result));
}

bool WaitMarked(HWND main, int index) {
  return WaitUntil([&] { return MarkedItem(main) == index; }, kStepMs);
}

Lines Listed(HWND main) {
  return ListItems(Control(main, kLstVer)).value_or(Lines{"<unreadable>"});
}

bool WaitListed(HWND main, const Lines& expected) {
  return WaitUntil([&] { return Listed(main) == expected; }, kStepMs);
}

bool SelectItem(HWND list, int index) {
  return ClickListItem(list, index) &&
         WaitUntil([&] { return ListSelection(list) == index; }, kStepMs);
}

bool SelectVersion(HWND main, const std::string& name) {
  const Lines items = Listed(main);
  const auto it = std::find(items.begin(), items.end(), name);
  EXPECT_NE(it, items.end()) << name << " is not listed";
  return it != items.end() &&
         SelectItem(Control(main, kLstVer), static_cast<int>(it - items.begin()));
}

void ExpectFlavour(const Scenario& s, const Lines& entries, const std::string& flavour) {
  for (const auto& entry : entries) {
    EXPECT_TRUE(s.GameHolds(entry, flavour))
        << entry << " should be of " << flavour << ", is of '" << s.GameFlavour(entry) << "'";
  }
}

// ---- The replay watch ---------------------------------------------------------------

Lines SavedReplays(const std::string& dir) {
  Lines names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(Join(dir, "*")).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(fd.cFileName);
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.ends_with(".w3g")) {
      names.push_back(name);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

bool WriteReplay(const std::string& path, std::string_view bytes) {
  return WaitUntil(
      [&] {
        WriteBytes(path, bytes);
        return ReadBytes(path) == std::optional<std::string>(bytes);
      },
      kStepMs, 100);
}

bool SavedBeforeTheNextTick(ULONGLONG tickedBy, const std::function<bool()>& saved) {
  // The margin covers a timer that comes late on a busy machine, and the copy.
  constexpr ULONGLONG kMarginMs = 1000;
  const ULONGLONG until = tickedBy + kReplayTickMs + kMarginMs;
  const ULONGLONG now = GetTickCount64();
  const int left = now < until ? static_cast<int>(until - now) : 0;
  return WaitUntil(saved, left, 50);
}

// ---- Time limit -------------------------------------------------------------------

namespace {

class TimeLimit : public testing::EmptyTestEventListener {
 public:
  explicit TimeLimit(DWORD limitMs)
      : limitMs_(limitMs),
        started_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    CloseHandle(CreateThread(nullptr, 0, Watch, this, 0, nullptr));
  }
  void OnTestStart(const testing::TestInfo&) override {
    ResetEvent(ended_);
    SetEvent(started_);
  }
  void OnTestEnd(const testing::TestInfo&) override {
    ResetEvent(started_);
    SetEvent(ended_);
  }

 private:
  static DWORD WINAPI Watch(void* self) {
    auto* t = static_cast<TimeLimit*>(self);
    for (;;) {
      WaitForSingleObject(t->started_, INFINITE);
      if (WaitForSingleObject(t->ended_, t->limitMs_) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "e2e time limit: a test ran longer than %lu s; stopping\n",
                     static_cast<unsigned long>(t->limitMs_ / 1000));
        std::fflush(stderr);
        ExitProcess(3);
      }
    }
  }

  DWORD limitMs_;
  HANDLE started_;
  HANDLE ended_;
};

}  // namespace

bool InstallTestTimeLimit(DWORD limitMs) {
  testing::UnitTest::GetInstance()->listeners().Append(new TimeLimit(limitMs));
  return true;
}

}  // namespace e2e
