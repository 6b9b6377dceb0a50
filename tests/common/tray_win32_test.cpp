// The tray module on a real window under Windows (or Wine): what it tells the
// shell, which messages reach the window's own procedure, and when the
// program's actions run. The shell call is replaced by a recorder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/tray/win32/tray.h"

namespace plover::tray {
namespace {

struct NotifyCall {
  DWORD message;
  NOTIFYICONDATAW data;
};
std::vector<NotifyCall> g_notified;

bool g_refuseAdd = false;  // the shell takes no new icon

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAW data) {
  g_notified.push_back({message, *data});
  return message == NIM_ADD && g_refuseAdd ? FALSE : TRUE;
}

struct Received {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> g_received;   // by the window's own procedure
std::vector<std::string> g_events;  // what the program was asked to do, in order

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_USER) g_received.push_back({msg, wParam, lParam});
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class RecordingClient : public TrayClient {
 public:
  HMENU menu = nullptr;
  HMENU MenuToPopUp() override {
    g_events.push_back(TrayInstalled() ? "menu, icon there" : "menu, icon gone");
    return menu;
  }
  void RunMenuCommand(UINT id) override { g_events.push_back("command " + std::to_string(id)); }
  void AfterMenu() override { g_events.push_back("after menu"); }
  void LeftClick() override {
    g_events.push_back(TrayInstalled() ? "left click, icon there" : "left click, icon gone");
  }
};

// What the timer does to the pop-up menu while it is open.
UINT g_menuKeys[4];
VOID CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND popup = FindWindowW(L"#32768", nullptr);
  g_events.push_back(popup ? "menu shown" : "no menu window");
  if (!popup) {
    EndMenu();
    return;
  }
  for (UINT key : g_menuKeys) {
    if (key) PostMessageW(popup, WM_KEYDOWN, key, 0);
  }
}

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_notified.clear();
    g_received.clear();
    g_events.clear();
    g_refuseAdd = false;
    previousNotify_ = SetNotifyFunction(RecordNotify);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TrayTestOwner";
    RegisterClassW(&wc);
    owner_ = CreateWindowW(L"TrayTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner_, nullptr);
    icon_ = LoadIconW(nullptr, IDI_WARNING);
    SendMessageW(owner_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    client_.menu = CreatePopupMenu();
    AppendMenuW(client_.menu, MF_STRING, 7, L"seven");
    AppendMenuW(client_.menu, MF_STRING, 8, L"eight");
    g_received.clear();
  }
  void TearDown() override {
    TrayRemove();
    if (IsWindow(owner_)) DestroyWindow(owner_);
    DestroyMenu(client_.menu);
    SetNotifyFunction(previousNotify_);
  }

  WNDPROC CurrentProc() const {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner_, GWLP_WNDPROC));
  }
  LRESULT Notify(UINT mouseMessage) {
    return SendMessageW(owner_, kCallbackMessage, 0, mouseMessage);
  }
  bool OwnProcGot(UINT msg, LPARAM lParam) const {
    for (const auto& r : g_received) {
      if (r.msg == msg && r.lParam == lParam) return true;
    }
    return false;
  }
  void PopUpWithKeys(std::initializer_list<UINT> keys) {
    std::fill(std::begin(g_menuKeys), std::end(g_menuKeys), 0u);
    std::copy(keys.begin(), keys.end(), g_menuKeys);
    SetTimer(nullptr, 0, 200, PressMenuKeys);
    EXPECT_EQ(Notify(WM_RBUTTONUP), 0);
  }

  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
  RecordingClient client_;
  NotifyFunction previousNotify_ = nullptr;
};

TEST_F(TrayTest, InstallAddsOneIconWithTheWindowsOwnPictureAndNoTip) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  EXPECT_EQ(CurrentProc(), &TrayWndProc);
  ASSERT_EQ(g_notified.size(), 1u);
  const auto& add = g_notified[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.data.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(add.data.hWnd, owner_);
  EXPECT_EQ(add.data.uID, 0u);
  EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
  EXPECT_EQ(add.data.uCallbackMessage, 0x7E9u);
  EXPECT_EQ(add.data.hIcon, icon_);

  // Only one icon at a time: a second installation changes nothing.
  EXPECT_FALSE(TrayInstall(owner_, client_));
  EXPECT_EQ(g_notified.size(), 1u);
  TrayRemove();
  EXPECT_NE(CurrentProc(), &TrayWndProc);
  EXPECT_EQ(CurrentProc(), &OwnProc);
}

TEST_F(TrayTest, TipIsSetOnTheInstalledIconAndCut) {
  TraySetTip("nothing installed");
  EXPECT_TRUE(g_notified.empty());
  ASSERT_TRUE(TrayInstall(owner_, client_));
  TraySetTip("Plover 2.0");
  ASSERT_EQ(g_notified.size(), 2u);
  EXPECT_EQ(g_notified[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(g_notified[1].data.uFlags, static_cast<UINT>(NIF_TIP));
  EXPECT_EQ(std::wstring(g_notified[1].data.szTip), L"Plover 2.0");

  TraySetTip(std::string(64, 'a'));
  EXPECT_EQ(std::wstring(g_notified.back().data.szTip), std::wstring(63, L'a'));
  std::string chinese;
  for (int i = 0; i < 32; ++i) chinese += "屏";
  TraySetTip(chinese);
  EXPECT_EQ(std::wstring(g_notified.back().data.szTip), std::wstring(31, L'\x5C4F'));
}

TEST_F(TrayTest, OtherMouseMessagesReachTheWindowUnchanged) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONUP}) {
    Notify(m);
    EXPECT_TRUE(OwnProcGot(kCallbackMessage, m)) << std::hex << m;
  }
  EXPECT_TRUE(g_events.empty());
  EXPECT_TRUE(TrayInstalled());
  // And so does everything else.
  SendMessageW(owner_, WM_USER + 5, 11, 22);
  EXPECT_TRUE(OwnProcGot(WM_USER + 5, 22));
}

TEST_F(TrayTest, LeftClickRemovesTheIconBeforeTheProgramActsAndIsPassedOn) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  TraySetTip("tip");
  g_notified.clear();
  Notify(WM_LBUTTONUP);
  EXPECT_EQ(g_events, (std::vector<std::string>{"left click, icon gone"}));
  ASSERT_EQ(g_notified.size(), 1u);
  EXPECT_EQ(g_notified[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(g_notified[0].data.hWnd, owner_);
  EXPECT_EQ(g_notified[0].data.uID, 0u);
  EXPECT_EQ(CurrentProc(), &OwnProc);
  EXPECT_TRUE(OwnProcGot(kCallbackMessage, WM_LBUTTONUP));

  // The second click of a double click finds no icon any more.
  Notify(WM_LBUTTONUP);
  EXPECT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_notified.size(), 1u);
}

TEST_F(TrayTest, RightClickPopsUpTheMenuAndSwallowsTheMessage) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  PopUpWithKeys({VK_ESCAPE});
  EXPECT_EQ(g_events, (std::vector<std::string>{"menu, icon there", "menu shown", "after menu"}));
  EXPECT_FALSE(OwnProcGot(kCallbackMessage, WM_RBUTTONUP));
  EXPECT_TRUE(TrayInstalled());
}

TEST_F(TrayTest, ChosenItemRunsBeforeTheMenuCloses) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  PopUpWithKeys({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(g_events, (std::vector<std::string>{"menu, icon there", "menu shown", "command 8",
                                                "after menu"}));
}

TEST_F(TrayTest, NoMenuStillEndsTheRightClick) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  HMENU keep = client_.menu;
  client_.menu = nullptr;
  EXPECT_EQ(Notify(WM_RBUTTONUP), 0);
  client_.menu = keep;
  EXPECT_EQ(g_events, (std::vector<std::string>{"menu, icon there", "after menu"}));
}

TEST_F(TrayTest, RestartedShellGetsTheIconBackWithItsTip) {
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageW(owner_, taskbarCreated, 0, 0);
  EXPECT_TRUE(g_notified.empty()) << "no icon, nothing to add back";
  ASSERT_TRUE(TrayInstall(owner_, client_));
  TraySetTip("点击取消屏蔽");
  g_notified.clear();
  SendMessageW(owner_, taskbarCreated, 0, 0);
  ASSERT_EQ(g_notified.size(), 1u);
  const auto& add = g_notified[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.data.uCallbackMessage, 0x7E9u);
  EXPECT_EQ(add.data.hIcon, icon_);
  EXPECT_EQ(std::wstring(add.data.szTip), L"点击取消屏蔽");
  EXPECT_TRUE(OwnProcGot(taskbarCreated, 0));
}

TEST_F(TrayTest, RestartedShellThatRefusesTheIconHandsTheWindowBack) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  g_refuseAdd = true;
  SendMessageW(owner_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(TrayInstalled());
  EXPECT_NE(CurrentProc(), &TrayWndProc);
  EXPECT_EQ(g_events, std::vector<std::string>{"left click, icon gone"});
}

TEST_F(TrayTest, WindowDestroyedWithItsIconTakesTheIconAlong) {
  ASSERT_TRUE(TrayInstall(owner_, client_));
  g_notified.clear();
  DestroyWindow(owner_);
  EXPECT_FALSE(TrayInstalled());
  ASSERT_EQ(g_notified.size(), 1u);
  EXPECT_EQ(g_notified[0].message, static_cast<DWORD>(NIM_DELETE));
  TrayRemove();
  EXPECT_EQ(g_notified.size(), 1u) << "removing twice deletes once";
}

TEST_F(TrayTest, WindowWithoutAnIconStillGetsAPicture) {
  SendMessageW(owner_, WM_SETICON, ICON_SMALL, 0);
  ASSERT_TRUE(TrayInstall(owner_, client_));
  ASSERT_EQ(g_notified.size(), 1u);
  EXPECT_NE(g_notified[0].data.hIcon, nullptr);
}

}  // namespace
}  // namespace plover::tray
