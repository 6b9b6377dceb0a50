// Plover's skinned windows driven from the outside under Wine: the frame and
// buttons of the main window, the help window, closing and moving by the
// frame. Screenshots of the windows go to <build>\e2e-screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "plover/controls/render.h"
#include "plover/controls/win32/qq_button.h"
#include "plover/shell/help_text.h"
#include "tests/e2e/harness.h"
#include "tests/support/input.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

namespace support = plover::testing;

const char* const kHelpCaption = "Plover2.0 - 使用说明";

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

void TypeKeys(std::initializer_list<UINT> keys) {
  std::vector<INPUT> strokes;
  for (UINT vk : keys) {
    strokes.push_back(support::KeyInput(vk, false));
    strokes.push_back(support::KeyInput(vk, true));
  }
  support::SendKeys(strokes);
}

bool Hovering(HWND button) {
  DWORD_PTR status = 0;
  return SendMessageTimeoutW(button, plover::controls::QQBM_GETSTATUS, 0, 0, SMTO_ABORTIFHUNG, 2000,
                             &status) &&
         (static_cast<LRESULT>(status) & plover::controls::kStatusHovering) != 0;
}

TEST(Skin, EveryPushButtonIsAQQButtonWhoseTextIsItsCaption) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
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
  EXPECT_EQ(ClassOf(ChildById(main, kChkSave)), "Button");  // chkSave stays a check box
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheMainWindowHasTheDrawnFrameAndRoundedCorners) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
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

  ASSERT_TRUE(BringToFront(main)) << plover.Describe();
  const plover::controls::Image face = plover::controls::FrameFace(w, h, 96);
  for (int y = 0; y <= 20; y += 4) {
    EXPECT_EQ(support::ScreenPixel(r.left + 200, r.top + y), face.RgbAt(200, y))
        << "title band row " << y;
  }
  EXPECT_EQ(support::ScreenPixel(r.left, r.top + 150), 0x1E3E93u);
  // Line2, light grey over the frame.
  EXPECT_EQ(support::ScreenPixel(r.left + 152, r.top + 150), 0xC0C0C0u);
  // The caption buttons of a window with a minimise button only.
  EXPECT_NE(CaptionButton(main, "关闭"), nullptr);
  EXPECT_NE(CaptionButton(main, "最小化"), nullptr);
  HWND max = CaptionButton(main, "最大化");
  EXPECT_TRUE(max == nullptr || !IsWindowVisible(max));
  Screenshot(main, "skin-main");
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, ClickingSkinnedButtonsRunsTheirCommands) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(ChildById(main, kBtnTran)));
  EXPECT_EQ(WaitForText(ChildById(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  for (const auto& entry : FullEntries()) EXPECT_TRUE(s.GameHolds(entry, "1.20")) << entry;
  ASSERT_TRUE(Click(ChildById(main, kBtnRun)));
  EXPECT_TRUE(WaitUntil([&] { return s.GameStarts() == 1; }, kStepMs));
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheHelpWindowShowsTheUsageTextThatCannotBeEdited) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(ChildById(main, kBtnHelp)));
  HWND help = plover.WaitWindow(kModalClass, kHelpCaption, kStepMs);
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
  EXPECT_NE(ChildByText(help, "BUG举报,thx"), nullptr) << DescribeChildren(help);
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
  // The pointer moved onto OK after them lights it up only once the window
  // has taken the keys and the characters (input comes in its order, and
  // after what was posted).
  ASSERT_FALSE(Hovering(ok));
  const RECT okRect = WindowRectOf(ok);
  support::SendMouse(POINT{(okRect.left + okRect.right) / 2, (okRect.top + okRect.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return Hovering(ok); }, kStepMs)) << "the pointer did not reach OK";
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
  help = plover.WaitWindow(kModalClass, kHelpCaption, kStepMs);
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
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(BringToFront(wizard)) << plover.Describe();
  // Line1 runs from (240, 2820) to (4560, 2820) twips: row 188, columns 16
  // to 303 at 96 DPI.
  const RECT r = WindowRectOf(wizard);
  for (int x : {16, 100, 160, 250, 303}) {
    EXPECT_EQ(support::ScreenPixel(r.left + x, r.top + 188), 0xC0C0C0u) << "column " << x;
  }
  EXPECT_NE(support::ScreenPixel(r.left + 160, r.top + 187), 0xC0C0C0u)
      << "the line is one pixel high";
  EXPECT_NE(support::ScreenPixel(r.left + 310, r.top + 188), 0xC0C0C0u)
      << "the line ends at 4560 twips";
  Screenshot(wizard, "skin-wizard");
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard); }, kStepMs));
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, DraggingTheTitleBarMovesTheMainWindow) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(BringToFront(main)) << plover.Describe();
  const RECT before = WindowRectOf(main);
  const POINT from{before.left + 150, before.top + 10};
  support::SendMousePath({{from, 0},
                          {from, MOUSEEVENTF_LEFTDOWN},
                          {POINT{from.x + 20, from.y + 15}, 0},
                          {POINT{from.x + 40, from.y + 30}, 0},
                          {POINT{from.x + 40, from.y + 30}, MOUSEEVENTF_LEFTUP}});
  EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(main).left == before.left + 40; }, kStepMs));
  EXPECT_EQ(WindowRectOf(main).top, before.top + 30);
  // The window moves while the system's move loop runs; it ends with the
  // button's release, before the window is closed.
  const DWORD thread = GetWindowThreadProcessId(main, nullptr);
  EXPECT_TRUE(WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && !(info.flags & GUI_INMOVESIZE);
      },
      kStepMs));
  EXPECT_NE(plover.CloseMainWindow(kStepMs), std::nullopt);
}

TEST(Skin, TheCloseButtonEndsPloverAndSavesTheSettings) {
  Scenario s = ReadyScenario();
  s.MakeOld(s.settings());
  const auto old = s.WriteTime(s.settings());
  PloverProcess plover;
  HWND main = StartToDrawnWindow(plover, s);
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
