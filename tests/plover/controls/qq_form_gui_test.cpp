// QQForm on a window: the painted frame and rounded shape read back from the
// screen, the caption buttons, moving and maximising by the title bar.
#include <gtest/gtest.h>

#include "common/win32/wide.h"
#include "plover/controls/render.h"
#include "plover/controls/win32/qq_form.h"
#include "tests/plover/controls/gui_support.h"

namespace plover::controls {
namespace {

using gui::TestHost;

// The main window at 96 DPI: 4935 x 4110 twips.
constexpr int kW = 329, kH = 274;
constexpr DWORD kAllButtons = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// Columns of pure white in the caption's rows of the title bar.
std::vector<int> WhiteColumns(const Image& shown) {
  std::vector<int> columns;
  for (int x = 0; x < 200; ++x) {
    for (int y = 5; y < 19; ++y) {
      if (shown.RgbAt(x, y) == 0xFFFFFF) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

class QQFormTest : public testing::Test {
 protected:
  void SetUp() override { gui::MouseAway(); }
  void Frame(TestHost& host) {
    ASSERT_TRUE(form.Attach(host.hwnd()));
    gui::Settle();
  }
  HWND Button(CaptionButton b) const { return form.button(b); }
  std::string Tip(CaptionButton b) const { return win::WindowText(form.button(b)).value_or(""); }
  QQForm form;
};

TEST_F(QQFormTest, MakesTheWindowBorderlessRoundedAndPaintsItFromTheSkin) {
  HICON red = gui::SolidIcon(16, 0xFF0000);
  TestHost host(kAllButtons | WS_CAPTION, kW, kH, L"Plover 2.0", red);
  Frame(host);
  EXPECT_FALSE(GetWindowLongPtrW(host.hwnd(), GWL_STYLE) & WS_CAPTION);
  const RECT r = WindowRect(host.hwnd());
  EXPECT_EQ(r.right - r.left, kW);
  EXPECT_EQ(r.bottom - r.top, kH);
  RECT client{};
  GetClientRect(host.hwnd(), &client);
  EXPECT_EQ(client.right, kW);  // the client area is the whole window

  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(host.hwnd(), rgn), ERROR);
  for (const auto& [x, y] : {std::pair{0, 0}, {kW - 1, 0}, {0, kH - 1}, {kW - 1, kH - 1}}) {
    EXPECT_FALSE(PtInRegion(rgn, x, y)) << x << "," << y;
  }
  EXPECT_TRUE(PtInRegion(rgn, kW / 2, 0));
  EXPECT_TRUE(PtInRegion(rgn, 0, kH / 2));
  EXPECT_TRUE(PtInRegion(rgn, kW - 1, kH / 2));
  EXPECT_TRUE(PtInRegion(rgn, kW / 2, kH - 1));
  DeleteObject(rgn);

  const Image shown = gui::Capture(host.hwnd());
  const Image face = FrameFace(kW, kH, 96);
  // The title band and the border as the skin gives them.
  for (int y = 0; y <= 20; ++y) EXPECT_EQ(shown.At(200, y), face.At(200, y)) << "row " << y;
  for (int y = 30; y < 240; y += 10) {
    EXPECT_EQ(shown.RgbAt(0, y), 0x1E3E93u) << "row " << y;
    EXPECT_EQ(shown.RgbAt(kW - 1, y), 0x1E3E93u) << "row " << y;
  }
  EXPECT_EQ(shown.At(kW / 2, 150), face.At(kW / 2, 150));
  // The icon at 50 twips, 240 twips square; the caption from 360 twips on.
  EXPECT_EQ(shown.RgbAt(3, 3), 0xFF0000u);
  EXPECT_EQ(shown.RgbAt(18, 18), 0xFF0000u);
  EXPECT_NE(shown.RgbAt(19, 10), 0xFF0000u);
  const auto white = WhiteColumns(shown);
  ASSERT_FALSE(white.empty());
  EXPECT_GE(white.front(), 24);
  EXPECT_LE(white.front(), 27);
  gui::SaveScreenshot(host.hwnd(), "qqform-window");
  DestroyWindow(host.hwnd());
  DestroyIcon(red);
}

TEST_F(QQFormTest, WithoutAnIconTheCaptionStartsNearTheEdge) {
  TestHost host(kAllButtons, kW, kH, L"Plover 2.0");
  Frame(host);
  const auto white = WhiteColumns(gui::Capture(host.hwnd()));
  ASSERT_FALSE(white.empty());
  EXPECT_GE(white.front(), 7);
  EXPECT_LE(white.front(), 10);
}

TEST_F(QQFormTest, CaptionButtonsFromTheRightWithTheirTips) {
  TestHost all(kAllButtons, kW, kH);
  Frame(all);
  auto left = [&](CaptionButton b) {
    RECT r{};
    GetWindowRect(Button(b), &r);
    MapWindowPoints(nullptr, all.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right - r.left, 16);
    EXPECT_EQ(r.top, 3);
    return r.left;
  };
  EXPECT_EQ(left(CaptionButton::kClose), 308);
  EXPECT_EQ(left(CaptionButton::kMax), 290);
  EXPECT_EQ(left(CaptionButton::kMin), 272);
  EXPECT_EQ(Tip(CaptionButton::kClose), "关闭");
  EXPECT_EQ(Tip(CaptionButton::kMin), "最小化");
  EXPECT_EQ(Tip(CaptionButton::kMax), "最大化");
  DestroyWindow(all.hwnd());

  QQForm other;
  TestHost minOnly(WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, kW, kH);
  ASSERT_TRUE(other.Attach(minOnly.hwnd()));
  EXPECT_FALSE(IsWindowVisible(other.button(CaptionButton::kMax)));
  RECT r{};
  GetWindowRect(other.button(CaptionButton::kMin), &r);
  MapWindowPoints(nullptr, minOnly.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 290);
  DestroyWindow(minOnly.hwnd());

  QQForm closeOnly;
  TestHost none(WS_POPUP | WS_SYSMENU, kW, kH);
  ASSERT_TRUE(closeOnly.Attach(none.hwnd()));
  EXPECT_TRUE(IsWindowVisible(closeOnly.button(CaptionButton::kClose)));
  EXPECT_FALSE(IsWindowVisible(closeOnly.button(CaptionButton::kMin)));
  EXPECT_FALSE(IsWindowVisible(closeOnly.button(CaptionButton::kMax)));
}

TEST_F(QQFormTest, AButtonLightsWhenReachedFromTheFrame) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  const CaptionButton kClose = CaptionButton::kClose, kMin = CaptionButton::kMin;
  gui::MouseTo(gui::OnScreen(host.hwnd(), 150, 100));
  EXPECT_TRUE(form.model().buttonsAtRest());
  gui::MouseTo(gui::CentreOf(Button(kClose)));
  EXPECT_EQ(form.model().image(kClose), kCaptionHover);
  EXPECT_EQ(gui::Capture(Button(kClose)).At(8, 8),
            CaptionButtonFace(0, kCaptionHover, 16).At(8, 8));
  gui::SaveScreenshot(host.hwnd(), "qqform-close-hover");
  // Straight onto the next button, without crossing the frame: it stays normal.
  gui::MouseTo(gui::CentreOf(Button(kMin)));
  EXPECT_EQ(form.model().image(kMin), kCaptionNormal);
  gui::MouseTo(gui::OnScreen(host.hwnd(), 250, 10));  // the title bar
  EXPECT_EQ(form.model().image(kClose), kCaptionNormal);
  gui::MouseTo(gui::CentreOf(Button(kMin)));
  EXPECT_EQ(form.model().image(kMin), kCaptionHover);
  // The hand pointer over the buttons.
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(QQFormTest, PressedAndReleasedElsewhereAButtonDoesNothing) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  gui::MouseAt(gui::CentreOf(Button(CaptionButton::kClose)), {MOUSEEVENTF_LEFTDOWN});
  EXPECT_EQ(form.model().image(CaptionButton::kClose), kCaptionPressed);
  gui::MouseAt(gui::OnScreen(host.hwnd(), 150, 150), {MOUSEEVENTF_LEFTUP});
  EXPECT_EQ(form.model().image(CaptionButton::kClose), kCaptionNormal);
  EXPECT_EQ(host.closeRequests, 0);
  EXPECT_TRUE(IsWindow(host.hwnd()));
}

TEST_F(QQFormTest, CloseClosesTheWindowFirstAndThenRaisesCloseClick) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  HWND hwnd = host.hwnd();
  int raised = 0;
  bool windowGoneWhenRaised = false;
  form.onCloseClick = [&] {
    ++raised;
    windowGoneWhenRaised = !IsWindow(hwnd) && host.closeRequests == 1;
  };
  gui::Click(gui::CentreOf(Button(CaptionButton::kClose)));
  EXPECT_EQ(raised, 1);
  EXPECT_TRUE(windowGoneWhenRaised);
  EXPECT_TRUE(host.destroyed);
}

TEST_F(QQFormTest, MinimiseThenMinClick) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  bool minimisedWhenRaised = false;
  form.onMinClick = [&] { minimisedWhenRaised = IsIconic(host.hwnd()) != FALSE; };
  gui::Click(gui::CentreOf(Button(CaptionButton::kMin)));
  EXPECT_TRUE(minimisedWhenRaised);
  ShowWindow(host.hwnd(), SW_RESTORE);
  gui::Settle();
  const RECT r = WindowRect(host.hwnd());
  EXPECT_EQ(r.right - r.left, kW);
}

TEST_F(QQFormTest, MaximiseRestoreByButtonAndByDoubleClickOnTheTitleBar) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  int raised = 0;
  form.onMaxClick = [&] {
    ++raised;
    EXPECT_TRUE(IsZoomed(host.hwnd()));
  };
  gui::Click(gui::CentreOf(Button(CaptionButton::kMax)));
  ASSERT_EQ(raised, 1);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT r = WindowRect(host.hwnd());
  EXPECT_EQ(r.right - r.left, work.right - work.left);
  EXPECT_EQ(r.bottom - r.top, work.bottom - work.top);
  RECT frame{};
  GetWindowRect(form.hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, r.right - r.left);
  EXPECT_EQ(form.model().image(CaptionButton::kMax), kRestoreNormal);
  EXPECT_EQ(Tip(CaptionButton::kMax), "向下还原");

  // Maximised, pressing the title bar does not move the window.
  const POINT title = gui::OnScreen(host.hwnd(), 200, 10);
  gui::MousePath({{title, MOUSEEVENTF_LEFTDOWN},
                  {POINT{title.x + 20, title.y + 15}, 0},
                  {POINT{title.x + 40, title.y + 30}, MOUSEEVENTF_LEFTUP}});
  EXPECT_EQ(WindowRect(host.hwnd()).left, r.left);
  EXPECT_EQ(WindowRect(host.hwnd()).top, r.top);
  gui::MouseAway();

  // A double click there restores it.
  form.onMaxClick = [&] { ++raised; };
  gui::MouseAt(
      title, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  EXPECT_EQ(raised, 2);
  EXPECT_FALSE(IsZoomed(host.hwnd()));
  EXPECT_EQ(WindowRect(host.hwnd()).right - WindowRect(host.hwnd()).left, kW);
  EXPECT_EQ(Tip(CaptionButton::kMax), "最大化");
}

TEST_F(QQFormTest, DraggingTheTitleBarMovesTheWindow) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  const RECT before = WindowRect(host.hwnd());
  const POINT from = gui::OnScreen(host.hwnd(), 150, 10);
  const POINT to{from.x + 40, from.y + 30};
  gui::MouseTo(from);
  std::vector<std::pair<POINT, DWORD>> path{{from, MOUSEEVENTF_LEFTDOWN}};
  for (int i = 1; i <= 4; ++i) path.push_back({POINT{from.x + 10 * i, from.y + 15 * i / 2}, 0});
  path.push_back({to, MOUSEEVENTF_LEFTUP});
  gui::MousePath(path);
  ASSERT_TRUE(gui::WaitFor([&] { return WindowRect(host.hwnd()).left != before.left; }, 3000));
  const RECT after = WindowRect(host.hwnd());
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 30);
  EXPECT_EQ(after.right - after.left, kW);
}

TEST_F(QQFormTest, DoubleClickOnTheTitleBarOfAWindowWithoutMaximiseDoesNothing) {
  TestHost host(WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, kW, kH);
  Frame(host);
  int raised = 0;
  form.onMaxClick = [&] { ++raised; };
  gui::MouseAt(gui::OnScreen(host.hwnd(), 150, 10), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                                     MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  EXPECT_EQ(raised, 0);
  EXPECT_FALSE(IsZoomed(host.hwnd()));
}

TEST_F(QQFormTest, LabelsShowTheFrameBehindThemAndTheFrameStaysBelowNewControls) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 60, 100, 20,
                               host.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND later = host.AddButton(9, L"添加", 20, 200, 41, 17);
  gui::Settle();
  const Image shown = gui::Capture(host.hwnd());
  const Image face = FrameFace(kW, kH, 96);
  EXPECT_EQ(shown.At(30, 62), face.At(30, 62));
  EXPECT_EQ(shown.At(110, 75), face.At(110, 75));
  EXPECT_EQ(GetWindow(form.hwnd(), GW_HWNDNEXT), nullptr);  // the bottom of the children
  POINT at{30, 205};
  EXPECT_EQ(ChildWindowFromPoint(host.hwnd(), at), later);
  gui::Click(gui::CentreOf(later));
  EXPECT_EQ(host.clicks, std::vector<int>{9});
  DestroyWindow(label);
}

TEST_F(QQFormTest, AWindowTakesOneFrame) {
  TestHost host(kAllButtons, kW, kH);
  Frame(host);
  EXPECT_EQ(QQForm::FrameOf(host.hwnd()), &form);
  QQForm second;
  EXPECT_FALSE(second.Attach(host.hwnd()));
}

}  // namespace
}  // namespace plover::controls
