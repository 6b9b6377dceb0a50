// What Quenlock costs every keystroke of the desktop.
//
// 1. The key filter alone, per event, against a baseline that calls a
//    function of the same five inputs through the same kind of pointer.
// 2. The hook's whole round trip: keys typed with SendInput into a window of
//    this program while a low-level keyboard hook runs on another thread,
//    with Quenlock's hook procedure against an empty one that only passes
//    events on (and against no hook at all), in the same run.
//
// Usage: bench_keyfilter [--events N] [--runs R]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "quenlock/key_filter.h"
#include "quenlock/win32/winkey.h"

namespace {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// ---- 1. The filter ----------------------------------------------------------------

struct Event {
  uint32_t message, vk, flags;
  bool ctrl, shift;
};

using Decide = bool (*)(uint32_t, uint32_t, uint32_t, bool, bool);

// The cheapest function of the same inputs that is not optimised away.
__attribute__((noinline)) bool Baseline(uint32_t message, uint32_t vk, uint32_t flags, bool ctrl,
                                        bool shift) {
  return ((message ^ vk ^ flags) & 1) != static_cast<uint32_t>(ctrl && shift);
}

// Typing as a player types: mostly letters and digits, some modifiers, now
// and then one of the keys the filter looks at.
std::vector<Event> TypicalEvents(size_t n) {
  std::mt19937 random(20070316);
  const uint32_t special[] = {0x09, 0x1B, 0x2E, 0x5B, 0x5C, 0x10, 0x11, 0x12, 0xA0, 0xA2};
  std::vector<Event> events(n);
  for (auto& e : events) {
    const bool up = random() & 1;
    const bool alt = random() % 8 == 0;
    e.vk = random() % 10 == 0 ? special[random() % std::size(special)] : 0x30 + random() % 43;
    e.message = alt ? (up ? 0x105 : 0x104) : (up ? 0x101 : 0x100);
    e.flags = (up ? 0x80 : 0) | (alt ? 0x20 : 0);
    e.ctrl = random() % 6 == 0;
    e.shift = random() % 5 == 0;
  }
  return events;
}

double NanosPerEvent(Decide decide, const std::vector<Event>& events, int rounds) {
  volatile unsigned sink = 0;
  unsigned swallowed = 0;
  const double start = Now();
  for (int r = 0; r < rounds; ++r) {
    for (const auto& e : events) swallowed += decide(e.message, e.vk, e.flags, e.ctrl, e.shift);
  }
  const double seconds = Now() - start;
  sink = swallowed;
  (void)sink;
  return seconds * 1e9 / (static_cast<double>(events.size()) * rounds);
}

// The filter as the hook procedure asks it: the two key states are read
// only for the keys whose decision depends on them.
bool WithKeyStates(uint32_t message, uint32_t vk, uint32_t flags, bool, bool) {
  const bool modifiers = quenlock::NeedsModifierStates(vk);
  return quenlock::SwallowKey(message, vk, flags,
                              modifiers && (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0,
                              modifiers && (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
}

// The same, reading both states for every key.
bool AlwaysKeyStates(uint32_t message, uint32_t vk, uint32_t flags, bool, bool) {
  return quenlock::SwallowKey(message, vk, flags, (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0,
                              (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
}

// ---- 2. The hook's round trip -----------------------------------------------------

std::atomic<long> g_arrived{0};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    ++g_arrived;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EmptyHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookThread {
  HOOKPROC proc;
  HANDLE ready;
  DWORD threadId = 0;
  bool installed = false;
};

DWORD WINAPI RunHook(LPVOID p) {
  auto* h = static_cast<HookThread*>(p);
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, h->proc, GetModuleHandleW(nullptr), 0);
  h->installed = hook != nullptr;
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before we say so
  SetEvent(h->ready);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  if (hook) UnhookWindowsHookEx(hook);
  return 0;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool MakeForeground(HWND window) {
  for (int i = 0; i < 200 && GetForegroundWindow() != window; ++i) {
    SetForegroundWindow(window);
    SetFocus(window);
    Pump();
    Sleep(10);
  }
  return GetForegroundWindow() == window;
}

// Seconds per key event for `events` presses and releases of Q, each typed
// on its own, until all of them have reached the window. -1 when they did
// not all arrive.
double TypeAndWait(HWND window, int events) {
  MakeForeground(window);
  g_arrived = 0;
  INPUT keys[2] = {};
  for (int i = 0; i < 2; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = 'Q';
    keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW('Q', MAPVK_VK_TO_VSC));
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  const double start = Now();
  for (int i = 0; i < events; ++i) {
    SendInput(1, &keys[i % 2], sizeof(INPUT));
    Pump();
  }
  while (g_arrived < events) {
    if (Now() - start > 60) return -1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
  return (Now() - start) / events;
}

// Seconds per event with `proc` hooked (nullptr: no hook at all); negative
// when the hook could not be installed or keys went missing.
double RoundTrip(HWND window, HOOKPROC proc, int events) {
  HookThread h{proc, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = nullptr;
  if (proc) {
    thread = CreateThread(nullptr, 0, RunHook, &h, 0, &h.threadId);
    WaitForSingleObject(h.ready, INFINITE);
  }
  double t = -1;
  if (!proc || h.installed) {
    TypeAndWait(window, 50);  // warm up
    t = TypeAndWait(window, events);
  }
  if (thread) {
    PostThreadMessageW(h.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  CloseHandle(h.ready);
  return t;
}

int Arg(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int events = Arg(argc, argv, "--events", 2000);
  const int runs = Arg(argc, argv, "--runs", 5);

  // 1. The filter.
  const auto typical = TypicalEvents(4096);
  const int rounds = 2000;
  std::vector<double> base, filter, withStates, always;
  for (int r = 0; r < runs; ++r) {
    base.push_back(NanosPerEvent(&Baseline, typical, rounds));
    filter.push_back(NanosPerEvent(&quenlock::SwallowKey, typical, rounds));
    withStates.push_back(NanosPerEvent(&WithKeyStates, typical, rounds / 20));
    always.push_back(NanosPerEvent(&AlwaysKeyStates, typical, rounds / 20));
  }
  const double b = Median(base), f = Median(filter), s = Median(withStates), a = Median(always);
  std::printf("key filter, per event (median of %d runs of %d events):\n", runs,
              static_cast<int>(typical.size()) * rounds);
  std::printf("  baseline call          %8.2f ns\n", b);
  std::printf("  SwallowKey             %8.2f ns   %.2fx baseline\n", f, f / b);
  std::printf("  as the hook asks it    %8.2f ns   %.2fx baseline\n", s, s / b);
  std::printf("  states for every key   %8.2f ns   %.2fx baseline\n", a, a / b);

  // 2. The round trip.
  WNDCLASSW wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchKeyfilterTarget";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 20,
                                20, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  if (!MakeForeground(window)) {
    std::printf("the benchmark's window cannot take the keyboard; no round trip measured\n");
    return 1;
  }
  // The three kinds take turns, so that a slow moment of the machine falls
  // on all of them alike.
  std::vector<double> none, empty, quenlock;
  bool ok = true;
  for (int r = 0; r < runs; ++r) {
    none.push_back(RoundTrip(window, nullptr, events));
    empty.push_back(RoundTrip(window, &EmptyHookProc, events));
    quenlock.push_back(RoundTrip(window, &quenlock::KeyboardHookProc, events));
    ok = ok && none.back() > 0 && empty.back() > 0 && quenlock.back() > 0;
  }
  DestroyWindow(window);
  if (!ok) {
    std::printf("the hook could not be installed or keys went missing\n");
    return 1;
  }
  std::printf("SendInput to window, per key event (median of %d runs of %d events):\n", runs,
              events);
  const double n = Median(none), e = Median(empty), q = Median(quenlock);
  std::printf("  no hook                %8.2f us\n", n * 1e6);
  std::printf("  empty hook             %8.2f us   baseline\n", e * 1e6);
  std::printf("  Quenlock's hook        %8.2f us   %.2fx empty hook\n", q * 1e6, q / e);
  return 0;
}
