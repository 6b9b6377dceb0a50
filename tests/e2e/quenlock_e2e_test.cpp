// Quenlock driven from the outside under Wine: one instance at a time, and
// keys typed with SendInput into a window of this test, which shows what the
// blocker lets through while it blocks, after chkDisable and after it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <wtsapi32.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quenlock/hook_refresh.h"
#include "quenlock/win32/form1.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/tray_e2e_support.h"
#include "tests/support/input.h"

namespace e2e {
namespace {

using quenlock::kRefreshPeriodMs;

constexpr const char* kForm1 = "QuenlockForm1";

std::string QuenlockExePath() {
  if (const char* v = std::getenv("QUENLOCK_E2E_EXE"); v && *v) return WindowsPath(v);
  return WindowsPath(QUENLOCK_E2E_EXE);
}

// ---- A window of the test that notes every key that reaches it ---------------

struct Arrived {
  UINT msg;
  UINT vk;
};
std::vector<Arrived> g_arrived;

LRESULT CALLBACK KeyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      g_arrived.push_back({msg, static_cast<UINT>(wParam)});
      return 0;  // Alt alone must not open a window menu
    case WM_SYSCHAR:
    case WM_CHAR:
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Stroke {
  UINT vk;
  bool up;
};

// Presses the keys in order and releases them in reverse: {Alt, Tab} is
// Alt+Tab.
std::vector<Stroke> Combo(std::initializer_list<UINT> keys) {
  std::vector<Stroke> out;
  for (UINT k : keys) out.push_back({k, false});
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) out.push_back({*it, true});
  return out;
}

class KeyWindow {
 public:
  KeyWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = KeyWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuenlockE2eKeys";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"keys", WS_OVERLAPPEDWINDOW, 40, 40,
                            320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
  }
  ~KeyWindow() { DestroyWindow(hwnd_); }
  KeyWindow(const KeyWindow&) = delete;
  KeyWindow& operator=(const KeyWindow&) = delete;

  // Types the strokes, then a marker key, and returns the keys whose press
  // reached the window before the marker did (empty with a failure when the
  // marker never came).
  std::vector<UINT> Type(const std::vector<Stroke>& strokes) {
    EXPECT_TRUE(Focus()) << "the key window cannot take the keyboard";
    g_arrived.clear();
    std::vector<INPUT> inputs;
    for (const auto& s : strokes) inputs.push_back(plover::testing::KeyInput(s.vk, s.up));
    inputs.push_back(plover::testing::KeyInput(kMarker, false));
    inputs.push_back(plover::testing::KeyInput(kMarker, true));
    plover::testing::SendKeys(inputs);
    const bool marked = WaitUntil(
        [] {
          return std::any_of(g_arrived.begin(), g_arrived.end(),
                             [](const Arrived& a) { return a.vk == kMarker && a.msg == WM_KEYUP; });
        },
        kStepMs);
    EXPECT_TRUE(marked) << "the marker key did not arrive";
    std::vector<UINT> pressed;
    for (const auto& a : g_arrived) {
      if ((a.msg == WM_KEYDOWN || a.msg == WM_SYSKEYDOWN) && a.vk != kMarker)
        pressed.push_back(a.vk);
    }
    return pressed;
  }

 private:
  static constexpr UINT kMarker = 'Z';

  bool Focus() {
    return WaitUntil(
        [&] {
          if (GetForegroundWindow() == hwnd_) return true;
          SetForegroundWindow(hwnd_);
          SetFocus(hwnd_);
          return false;
        },
        kStepMs, 50);
  }

  HWND hwnd_ = nullptr;
};

bool Has(const std::vector<UINT>& keys, UINT vk) {
  return std::find(keys.begin(), keys.end(), vk) != keys.end();
}

// What gets through of each stroke the blocker knows about.
struct Through {
  bool leftWindows, altTab, altEsc, ctrlEsc, ctrlShiftDelete;
  bool tab, escape, alt, shiftDelete, rightWindows;
};

Through TryEverything(KeyWindow& keys) {
  Through t{};
  t.leftWindows = Has(keys.Type(Combo({VK_LWIN})), VK_LWIN);
  const auto winR = keys.Type(Combo({VK_LWIN, 'R'}));
  t.leftWindows = t.leftWindows || Has(winR, VK_LWIN);
  EXPECT_TRUE(Has(winR, 'R')) << "the other key of Windows+R is not the blocker's";
  const auto altTab = keys.Type(Combo({VK_MENU, VK_TAB}));
  t.altTab = Has(altTab, VK_TAB);
  EXPECT_TRUE(Has(altTab, VK_MENU)) << "Alt itself always passes";
  t.altEsc = Has(keys.Type(Combo({VK_MENU, VK_ESCAPE})), VK_ESCAPE);
  const auto ctrlEsc = keys.Type(Combo({VK_CONTROL, VK_ESCAPE}));
  t.ctrlEsc = Has(ctrlEsc, VK_ESCAPE);
  EXPECT_TRUE(Has(ctrlEsc, VK_CONTROL));
  t.ctrlShiftDelete = Has(keys.Type(Combo({VK_CONTROL, VK_SHIFT, VK_DELETE})), VK_DELETE);
  t.tab = Has(keys.Type(Combo({VK_TAB})), VK_TAB);
  t.escape = Has(keys.Type(Combo({VK_ESCAPE})), VK_ESCAPE);
  t.alt = Has(keys.Type(Combo({VK_MENU})), VK_MENU);
  t.shiftDelete = Has(keys.Type(Combo({VK_SHIFT, VK_DELETE})), VK_DELETE);
  t.rightWindows = Has(keys.Type(Combo({VK_RWIN})), VK_RWIN);
  return t;
}

void ExpectBlocking(const Through& t) {
  EXPECT_FALSE(t.leftWindows) << "left Windows key";
  EXPECT_FALSE(t.altTab) << "Alt+Tab";
  EXPECT_FALSE(t.altEsc) << "Alt+Esc";
  EXPECT_FALSE(t.ctrlEsc) << "Ctrl+Esc";
  EXPECT_FALSE(t.ctrlShiftDelete) << "Ctrl+Shift+Delete";
  EXPECT_TRUE(t.tab && t.escape && t.alt && t.shiftDelete && t.rightWindows)
      << "Tab " << t.tab << ", Escape " << t.escape << ", Alt " << t.alt << ", Shift+Delete "
      << t.shiftDelete << ", right Windows key " << t.rightWindows;
}

void ExpectEverythingThrough(const Through& t) {
  EXPECT_TRUE(t.leftWindows && t.altTab && t.altEsc && t.ctrlEsc && t.ctrlShiftDelete)
      << "left Windows " << t.leftWindows << ", Alt+Tab " << t.altTab << ", Alt+Esc " << t.altEsc
      << ", Ctrl+Esc " << t.ctrlEsc << ", Ctrl+Shift+Delete " << t.ctrlShiftDelete;
  EXPECT_TRUE(t.tab && t.escape && t.alt && t.shiftDelete && t.rightWindows);
}

// ---- Quenlock, the process -------------------------------------------------------

// What Form1 says of its blocking: chkDisable's check mark, and how many
// hooks it has made so far.
struct HookState {
  bool checked = false;
  unsigned made = 0;
};

std::optional<HookState> AskHookState(HWND form1) {
  static const UINT query = RegisterWindowMessageW(quenlock::Form1::kHookStateQuery);
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(form1, query, 0, 0, SMTO_BLOCK, kStepMs, &answer)) return std::nullopt;
  return HookState{(answer & 1) != 0, static_cast<unsigned>(answer >> 1)};
}

// Waits until Form1 has made a hook beyond the `made` ones, and then checks
// that its check mark is on and that the left Windows key is swallowed.
void ExpectFreshHookStillBlocking(HWND form1, KeyWindow& keys, unsigned& made, int timeoutMs,
                                  const char* when) {
  SCOPED_TRACE(when);
  HookState now;
  EXPECT_TRUE(WaitUntil(
      [&] {
        now = AskHookState(form1).value_or(HookState{});
        return now.made > made;
      },
      timeoutMs, 100))
      << "no fresh hook; " << now.made << " made";
  made = now.made;
  EXPECT_TRUE(now.checked) << "the check mark went off";
  EXPECT_FALSE(Has(keys.Type(Combo({VK_LWIN})), VK_LWIN)) << "the left Windows key got through";
}

class QuenlockTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = WorkDir(TestName("Quenlock."));
    exe_ = Join(dir_, "Quenlock.exe");
    CopyInto(QuenlockExePath(), exe_);
    ASSERT_TRUE(FileExists(exe_));
  }
  // Starts Quenlock and waits for its (hidden) window, which exists once the
  // blocking has started.
  HWND Start(PloverProcess& p) {
    EXPECT_TRUE(p.Start(exe_));
    HWND form1 = WaitWindowOf(p.pid(), kForm1, kStartMs);
    EXPECT_NE(form1, nullptr) << "Quenlock's window did not appear";
    return form1;
  }
  void ChooseChkDisable(const PloverProcess& p, HWND form1) {
    IconEvent(form1, WM_RBUTTONUP);
    ASSERT_TRUE(PressInMenu(p.pid(), {VK_HOME, VK_RETURN})) << "no menu, or it did not close";
  }

  std::string dir_, exe_;
};

TEST_F(QuenlockTest, SecondStartEndsSilentlyAndTheFirstRunsOn) {
  PloverProcess first;
  HWND form1 = Start(first);
  ASSERT_NE(form1, nullptr);
  EXPECT_FALSE(IsWindowVisible(form1)) << "Form1 is never shown";

  PloverProcess second;
  ASSERT_TRUE(second.Start(exe_));
  const auto code = second.WaitExit(kStartMs);
  ASSERT_TRUE(code.has_value()) << "the second Quenlock did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(second.EverShowedWindow());
  EXPECT_EQ(WindowOf(second.pid(), kForm1), nullptr);
  EXPECT_TRUE(first.Running());

  IconEvent(form1, WM_LBUTTONUP);
  EXPECT_TRUE(first.WaitExit(kStepMs).has_value());
}

TEST_F(QuenlockTest, BlocksUntilSwitchedOffAndAgainWhenSwitchedOn) {
  KeyWindow keys;
  SCOPED_TRACE("before Quenlock");
  ExpectEverythingThrough(TryEverything(keys));

  PloverProcess quenlock;
  HWND form1 = Start(quenlock);
  ASSERT_NE(form1, nullptr);
  {
    SCOPED_TRACE("blocking");
    ExpectBlocking(TryEverything(keys));
  }
  ChooseChkDisable(quenlock, form1);
  {
    SCOPED_TRACE("after chkDisable");
    ExpectEverythingThrough(TryEverything(keys));
  }
  ChooseChkDisable(quenlock, form1);
  {
    SCOPED_TRACE("after chkDisable again");
    ExpectBlocking(TryEverything(keys));
  }
  EXPECT_TRUE(quenlock.Running());
}

TEST_F(QuenlockTest, FreshHooksAfterResumeSessionChangeAndTheRefreshPeriodKeepBlocking) {
  KeyWindow keys;
  PloverProcess quenlock;
  HWND form1 = Start(quenlock);
  ASSERT_NE(form1, nullptr);
  const auto started = AskHookState(form1);
  ASSERT_TRUE(started.has_value()) << "Form1 does not answer";
  EXPECT_TRUE(started->checked);
  EXPECT_EQ(started->made, 1u);
  unsigned made = started->made;

  PostMessageW(form1, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  ExpectFreshHookStillBlocking(form1, keys, made, kStepMs, "after a resume");
  PostMessageW(form1, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  ExpectFreshHookStillBlocking(form1, keys, made, kStepMs, "after an unlock");
  // Nothing posted: the refresh timer alone puts in the next one.
  ExpectFreshHookStillBlocking(form1, keys, made, kRefreshPeriodMs + kStepMs,
                               "after the refresh period");
  EXPECT_TRUE(quenlock.Running());

  // Not blocking, a resume does not start the blocking again. Sent, it has
  // been handled when the state is asked for.
  ChooseChkDisable(quenlock, form1);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !AskHookState(form1).value_or(HookState{true, 0}).checked;
      },
      kStepMs))
      << "the check mark stayed on";
  made = AskHookState(form1).value_or(HookState{}).made;
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(form1, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_BLOCK,
                                  kStepMs, &answer));
  const auto resumed = AskHookState(form1);
  ASSERT_TRUE(resumed.has_value());
  EXPECT_FALSE(resumed->checked) << "a resume switched the blocking on";
  EXPECT_EQ(resumed->made, made) << "a resume made a hook while not blocking";
  EXPECT_TRUE(Has(keys.Type(Combo({VK_LWIN})), VK_LWIN)) << "after chkDisable and a resume";
}

TEST_F(QuenlockTest, LeftClickOnTheIconEndsItAndTheKeysWorkAgain) {
  KeyWindow keys;
  PloverProcess quenlock;
  HWND form1 = Start(quenlock);
  ASSERT_NE(form1, nullptr);
  EXPECT_FALSE(Has(keys.Type(Combo({VK_LWIN})), VK_LWIN));

  IconEvent(form1, WM_LBUTTONUP);
  const auto code = quenlock.WaitExit(kStepMs);
  ASSERT_TRUE(code.has_value()) << "Quenlock did not end";
  EXPECT_EQ(*code, 0u);
  ExpectEverythingThrough(TryEverything(keys));
}

TEST_F(QuenlockTest, PloverStartsItFromTheIconMenu) {
  Scenario s(TestName("Quenlock.") + ".plover");
  MakeReady(s);
  CopyInto(exe_, Join(s.prog(), "Quenlock.exe"));

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(Control(main, kBtnMin)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kStepMs));
  IconEvent(main, WM_RBUTTONUP);
  ASSERT_TRUE(PressInMenu(plover.pid(), {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));

  HWND form1 = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (form1 = FindWindowW(Wide(kForm1).c_str(), nullptr)) != nullptr; }, kStartMs))
      << "Quenlock was not started";
  DWORD pid = 0;
  GetWindowThreadProcessId(form1, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  IconEvent(form1, WM_LBUTTONUP);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, kStepMs), WAIT_OBJECT_0) << "Quenlock did not end";
    CloseHandle(process);
  }
  EXPECT_TRUE(plover.Running());
  EXPECT_EQ(plover.MessageBoxNow(), std::nullopt);
}

}  // namespace
}  // namespace e2e
