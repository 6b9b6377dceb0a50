// Plover's skinned windows driven from the outside under Wine: the frame and
// buttons of the main window, the help window, closing and moving by the
// frame. Screenshots of the windows go to <build>\e2e-screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "plover/controls/render.h"
#include "plover/shell/frm_help_text.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

namespace e2e {
namespace {

constexpr int kStartMs = 15000;
constexpr int kStepMs = 8000;

constexpr int kLbInfo = 1002;
constexpr int kBtnTran = 1006;
constexpr int kBtnRun = 1011;
constexpr int kBtnHelp = 1012;
constexpr int kBtnAdd = 1015;
constexpr int kHelpText = 1101;
constexpr int kHelpOk = 1102;

const char* const kHelpCaption = "Plover2.0 - 使用说明";
const char* const kHelpClass = "PloverModal";
const char* const kModalClass = "PloverModal";
const char* const kWizardCaption = "制作新的转换版本";

std::string TestName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return std::string("Skin.") + info->name();
}

// A program folder with version 1.20, ver.dat pointing at a game.
Scenario Ready() {
  Scenario s(TestName());
  s.MakeGame();
  s.WriteSettings(s.game() + "\\", Join(s.prog(), "replays") + "\\");
  s.AddVersion("1.20");
  return s;
}

HWND StartToWindow(PloverProcess& plover, const Scenario& s) {
  EXPECT_TRUE(plover.Start(s.exe()));
  HWND main = plover.WaitMainWindow(kStartMs);
  EXPECT_NE(main, nullptr) << "the main window did not appear: " << plover.Describe();
  Sleep(300);
  return main;
}

HWND ChildOfClass(HWND parent, std::string_view cls) {
  for (HWND c : Children(parent)) {
    if (ClassOf(c) == cls) return c;
  }
  return nullptr;
}

HWND CaptionButton(HWND window, std::string_view tip) {
  for (HWND c : Children(window)) {
    if (ClassOf(c) == "QQFormButton" && TextOf(c).value_or("") == tip) return c;
  }
  return nullptr;
}

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

uint32_t ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Real mouse input along a path, queued at once: a move of the window by its
// title bar runs until the release.
void MousePath(const std::vector<std::pair<POINT, DWORD>>& steps) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (const auto& [pt, flags] : steps) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((pt.x * 65535LL + (cx - 1) / 2) / (cx - 1));
    in.mi.dy = static_cast<LONG>((pt.y * 65535LL + (cy - 1) / 2) / (cy - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeKeys(std::initializer_list<WORD> keys) {
  for (WORD vk : keys) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(50);
  }
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void Screenshot(HWND hwnd, const std::string& name) {
  MakeDirs(ScreenshotDir());
  EXPECT_TRUE(SaveScreenshot(hwnd, Join(ScreenshotDir(), name + ".bmp")));
}

TEST(Skin, EveryPushButtonIsAQQButtonWhoseTextIsItsCaption) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  std::multiset<std::string> captions;
  for (HWND c : Children(main)) {
    if (ClassOf(c) == "QQButton") captions.insert(TextOf(c).value_or("?"));
  }
  const std::multiset<std::string> expected{"...",
                                            "  转 换     ",
                                            "",
                                            "生成 Loader 文件",
                                            "最小化到系统托盘",
                                            "屏蔽WinKey",
                                            "运行魔兽",
                                            "使用说明",
                                            "...",
                                            "添加",
                                            "编辑",
                                            "删除"};
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(ClassOf(ChildById(main, 1013)), "Button");  // chkSave stays a check box
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheMainWindowHasTheDrawnFrameAndRoundedCorners) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(main, GWL_STYLE) & WS_CAPTION);
  ASSERT_NE(ChildOfClass(main, "QQForm"), nullptr);
  const RECT r = WindowRectOf(main);
  const int w = r.right - r.left, h = r.bottom - r.top;
  EXPECT_EQ(w, 329);  // 4935 x 4110 twips at 96 DPI
  EXPECT_EQ(h, 274);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(main, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(PtInRegion(rgn, w - 1, h - 1));
  EXPECT_TRUE(PtInRegion(rgn, w / 2, 0));
  DeleteObject(rgn);

  SetForegroundWindow(main);
  Sleep(300);
  const plover::controls::Image face = plover::controls::FrameFace(w, h, 96);
  for (int y = 0; y <= 20; y += 4) {
    EXPECT_EQ(ScreenPixel(r.left + 200, r.top + y), face.RgbAt(200, y)) << "title band row " << y;
  }
  EXPECT_EQ(ScreenPixel(r.left, r.top + 150), 0x1E3E93u);
  // Line2, light grey over the frame.
  EXPECT_EQ(ScreenPixel(r.left + 152, r.top + 150), 0xC0C0C0u);
  // The caption buttons of a window with a minimise button only.
  EXPECT_NE(CaptionButton(main, "关闭"), nullptr);
  EXPECT_NE(CaptionButton(main, "最小化"), nullptr);
  HWND max = CaptionButton(main, "最大化");
  EXPECT_TRUE(max == nullptr || !IsWindowVisible(max));
  Screenshot(main, "skin-main");
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, ClickingSkinnedButtonsRunsTheirCommands) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  EXPECT_EQ(WaitForText(ChildById(main, kLbInfo), "转换完成！- Created by Velmor", kStepMs),
            "转换完成！- Created by Velmor");
  for (const auto& entry : FullEntries()) EXPECT_TRUE(s.GameHolds(entry, "1.20")) << entry;
  ASSERT_TRUE(Click(ChildById(main, kBtnRun)));
  EXPECT_TRUE(WaitUntil([&] { return s.GameStarts() == 1; }, kStepMs));
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheHelpWindowShowsTheUsageTextThatCannotBeEdited) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(ChildById(main, kBtnHelp)));
  HWND help = plover.WaitWindow(kHelpClass, kHelpCaption, kStepMs);
  ASSERT_NE(help, nullptr) << plover.Describe();
  EXPECT_FALSE(IsWindowEnabled(main));  // modal
  const RECT r = WindowRectOf(help);
  EXPECT_EQ(r.right - r.left, 312);  // 4680 x 3150 twips
  EXPECT_EQ(r.bottom - r.top, 210);

  HWND text = ChildById(help, kHelpText);
  HWND ok = ChildById(help, kHelpOk);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(TextOf(ok).value_or(""), "OK我懂了");
  EXPECT_EQ(ClassOf(ok), "QQButton");
  const std::string usage = plover::help::UsageText();
  EXPECT_EQ(TextOf(text).value_or(""), usage);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(help) == ok; }, kStepMs));
  Screenshot(help, "skin-help");

  // Clicked into, the text passes the focus on; typing changes nothing.
  ASSERT_TRUE(Click(text));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(help) == ok; }, kStepMs));
  TypeKeys({'A', VK_BACK, VK_DELETE});
  PostMessageW(text, WM_CHAR, 'x', 0);
  PostMessageW(text, WM_CHAR, VK_BACK, 0);
  Sleep(300);
  EXPECT_EQ(TextOf(text).value_or(""), usage);
  EXPECT_TRUE(IsWindow(help));
  // It scrolls.
  EXPECT_EQ(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SendMessageW(text, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  ASSERT_TRUE(Click(ok));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(help); }, kStepMs));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kStepMs));

  // Again, closed by the frame's close button this time.
  ASSERT_TRUE(Click(ChildById(main, kBtnHelp)));
  help = plover.WaitWindow(kHelpClass, kHelpCaption, kStepMs);
  ASSERT_NE(help, nullptr) << plover.Describe();
  HWND close = CaptionButton(help, "关闭");
  ASSERT_NE(close, nullptr);
  HWND min = CaptionButton(help, "最小化");
  EXPECT_TRUE(min == nullptr || !IsWindowVisible(min));
  ASSERT_TRUE(Click(close));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(help); }, kStepMs));
  EXPECT_TRUE(plover.Running());
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheWizardShowsItsSeparatorLine1OverTheFrame) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(ChildById(main, kBtnAdd)));
  HWND wizard = plover.WaitWindow(kModalClass, kWizardCaption, kStepMs);
  ASSERT_NE(wizard, nullptr) << plover.Describe();
  SetForegroundWindow(wizard);
  Sleep(300);
  // Line1 runs from (240, 2820) to (4560, 2820) twips: row 188, columns 16
  // to 303 at 96 DPI.
  const RECT r = WindowRectOf(wizard);
  for (int x : {16, 100, 160, 250, 303}) {
    EXPECT_EQ(ScreenPixel(r.left + x, r.top + 188), 0xC0C0C0u) << "column " << x;
  }
  EXPECT_NE(ScreenPixel(r.left + 160, r.top + 187), 0xC0C0C0u) << "the line is one pixel high";
  EXPECT_NE(ScreenPixel(r.left + 310, r.top + 188), 0xC0C0C0u) << "the line ends at 4560 twips";
  Screenshot(wizard, "skin-wizard");
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard); }, kStepMs));
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, DraggingTheTitleBarMovesTheMainWindow) {
  Scenario s = Ready();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  SetForegroundWindow(main);
  Sleep(300);
  const RECT before = WindowRectOf(main);
  const POINT from{before.left + 150, before.top + 10};
  MousePath({{from, 0}});
  Sleep(200);
  MousePath({{from, MOUSEEVENTF_LEFTDOWN},
             {POINT{from.x + 20, from.y + 15}, 0},
             {POINT{from.x + 40, from.y + 30}, 0},
             {POINT{from.x + 40, from.y + 30}, MOUSEEVENTF_LEFTUP}});
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(main).left == before.left + 40; }, kStepMs));
  EXPECT_EQ(WindowRectOf(main).top, before.top + 30);
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheCloseButtonEndsPloverAndSavesTheSettings) {
  Scenario s = Ready();
  s.MakeOld(s.settings());
  const auto old = s.WriteTime(s.settings());
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND close = CaptionButton(main, "关闭");
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(Click(close));
  const auto code = plover.WaitExit(kStepMs);
  ASSERT_TRUE(code.has_value()) << "Plover did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_NE(s.WriteTime(s.settings()), old);
  const auto lines = ReadGbkLines(s.settings());
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(lines->front(), s.game() + "\\");
}

}  // namespace
}  // namespace e2e
