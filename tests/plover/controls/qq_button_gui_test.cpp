// QQButton as a window: what it draws, read back from the screen, and how it
// answers real mouse and keyboard input.
#include <gtest/gtest.h>

#include "common/win32/wide.h"
#include "plover/controls/button_model.h"
#include "plover/controls/render.h"
#include "plover/controls/win32/qq_button.h"
#include "tests/plover/controls/gui_support.h"

namespace plover::controls {
namespace {

using gui::TestHost;

constexpr DWORD kHostStyle = WS_OVERLAPPEDWINDOW;
constexpr int kId = 7;
// btnRun at 96 DPI: 1095 x 375 twips.
constexpr int kW = 73, kH = 25;

int CountOf(const Image& img, uint32_t rgb) {
  int n = 0;
  for (Argb c : img.pixels) n += RgbOf(c) == rgb;
  return n;
}

class QQButtonTest : public testing::Test {
 protected:
  void SetUp() override { gui::MouseAway(); }
  TestHost host{kHostStyle, 400, 300};
  HWND button = host.AddButton(kId, L"运行魔兽", 40, 40, kW, kH);
};

TEST_F(QQButtonTest, IsAWindowOfItsOwnClassWhoseTextIsItsCaption) {
  wchar_t cls[32] = {};
  GetClassNameW(button, cls, 32);
  EXPECT_STREQ(cls, L"QQButton");
  EXPECT_EQ(win::WindowText(button).value_or(""), "运行魔兽");
  win::SetWindowText(button, "使用说明");
  EXPECT_EQ(win::WindowText(button).value_or(""), "使用说明");
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
}

TEST_F(QQButtonTest, DrawsItsStateImageWithTheCaptionInTheMiddle) {
  gui::Settle();
  const Image shown = gui::Capture(button);
  const Image face = ButtonFace(kW, kH, kImageNormal, 96);
  for (const auto& [x, y] : {std::pair{0, 0}, {kW - 1, 0}, {0, kH - 1}, {kW - 1, kH - 1}}) {
    EXPECT_EQ(shown.RgbAt(x, y), 0xFFFFFFu) << x << "," << y;
  }
  EXPECT_EQ(shown.RgbAt(kW / 2, 0), 0x2360B1u);
  // Away from the caption the button is its face exactly.
  for (int x = 0; x < kW; ++x) {
    for (int y : {0, 1, 2, kH - 2, kH - 1})
      EXPECT_EQ(shown.At(x, y), face.At(x, y)) << x << "," << y;
  }
  // The caption: dark pixels around the centre, none near the ends.
  int dark = 0, darkNearEnds = 0;
  for (int y = 3; y < kH - 3; ++y) {
    for (int x = 0; x < kW; ++x) {
      if ((shown.RgbAt(x, y) & 0xFF) < 0x60) (x < 8 || x >= kW - 8 ? darkNearEnds : dark)++;
    }
  }
  EXPECT_GT(dark, 20);
  EXPECT_EQ(darkNearEnds, 0);
  gui::SaveScreenshot(host.hwnd(), "qqbutton-normal");
}

TEST_F(QQButtonTest, DisabledItShowsTheDisabledImageAndAnEmbossedCaption) {
  EnableWindow(button, FALSE);
  gui::Settle();
  EXPECT_EQ(StatusOf(button).image, kImageDisabled);
  const Image shown = gui::Capture(button);
  EXPECT_EQ(shown.RgbAt(kW / 2, 0), 0x336BA4u);
  EXPECT_EQ(shown.RgbAt(kW / 2, 1), 0xFFE762u);
  // Grey over a white copy one pixel (18 twips) right and down; no black.
  bool embossed = false;
  for (int y = 3; y < kH - 4; ++y) {
    for (int x = 3; x < kW - 4; ++x) {
      if (shown.RgbAt(x, y) == 0x808080 && shown.RgbAt(x + 1, y + 1) == 0xFFFFFF) embossed = true;
    }
  }
  EXPECT_TRUE(embossed);
  EXPECT_GT(CountOf(shown, 0x808080), 20);
  EXPECT_EQ(CountOf(shown, 0x000000), 0);
  gui::SaveScreenshot(host.hwnd(), "qqbutton-disabled");
  // Disabled, it takes no mouse input.
  gui::Click(gui::CentreOf(button));
  EXPECT_TRUE(host.clicks.empty());
  EnableWindow(button, TRUE);
  gui::Settle();
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
}

TEST_F(QQButtonTest, HoverPressAndReleaseOverItClick) {
  gui::MouseTo(gui::CentreOf(button));
  ASSERT_TRUE(gui::WaitFor([&] { return StatusOf(button).hovering; }));
  EXPECT_EQ(StatusOf(button).image, kImageHover);
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(gui::Capture(button).RgbAt(kW / 2, 2), 0xF2FAFFu);

  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_LEFTDOWN});
  EXPECT_EQ(StatusOf(button).image, kImagePressed);
  EXPECT_EQ(gui::Capture(button).RgbAt(kW / 2, 1), 0xCBF3FCu);
  EXPECT_TRUE(host.clicks.empty());
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_LEFTUP});
  EXPECT_EQ(host.clicks, std::vector<int>{kId});
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
  EXPECT_FALSE(StatusOf(button).hovering);
  EXPECT_EQ(GetFocus(), button);

  // Leaving lets the mouse go.
  gui::MouseTo(gui::OnScreen(host.hwnd(), 300, 200));
  EXPECT_NE(GetCapture(), button);
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
}

TEST_F(QQButtonTest, PressedAndReleasedOutsideItClicksNot) {
  gui::MouseTo(gui::CentreOf(button));
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_LEFTDOWN});
  gui::MouseTo(gui::OnScreen(host.hwnd(), 300, 200));
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
  gui::MouseAt(gui::OnScreen(host.hwnd(), 300, 200), {MOUSEEVENTF_LEFTUP});
  EXPECT_TRUE(host.clicks.empty());
  EXPECT_EQ(StatusOf(button).image, kImageNormal);
}

TEST_F(QQButtonTest, RightClickTellsTheHostButIsNoClick) {
  gui::MouseTo(gui::CentreOf(button));
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_RIGHTDOWN});
  EXPECT_EQ(StatusOf(button).image, kImageHover);  // no pressed image
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_RIGHTUP});
  EXPECT_TRUE(host.clicks.empty());
  ASSERT_EQ(host.mouse.size(), 2u);
  EXPECT_EQ(host.mouse[0].code, QQBN_MOUSEDOWN);
  EXPECT_EQ(host.mouse[0].button, 2);
  EXPECT_EQ(host.mouse[1].code, QQBN_MOUSEUP);
  EXPECT_EQ(host.mouse[1].button, 2);
}

TEST_F(QQButtonTest, EnterClicksOnlyOnceTheLeftButtonHasPressedIt) {
  SetFocus(button);
  gui::KeyTap(VK_RETURN);
  EXPECT_TRUE(host.clicks.empty());
  gui::Click(gui::CentreOf(button));
  EXPECT_EQ(host.clicks.size(), 1u);
  gui::KeyTap(VK_RETURN);
  gui::KeyTap(VK_RETURN);
  EXPECT_EQ(host.clicks.size(), 3u);
  gui::KeyTap(VK_SPACE);
  EXPECT_EQ(host.clicks.size(), 3u);
  gui::MouseAway();
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  gui::KeyTap(VK_RETURN);
  EXPECT_EQ(host.clicks.size(), 3u);
}

TEST_F(QQButtonTest, ADoubleClickIsOneClick) {
  gui::MouseAt(gui::CentreOf(button), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                       MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  EXPECT_EQ(host.clicks, std::vector<int>{kId});
}

// Keyboard cues as Windows has them by default: hidden until the keyboard is
// used (Wine shows them always).
class HiddenKeyboardCues {
 public:
  HiddenKeyboardCues() {
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &saved_, 0);
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
  }
  ~HiddenKeyboardCues() {
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{saved_}), 0);
  }

 private:
  BOOL saved_ = FALSE;
};

TEST_F(QQButtonTest, FocusIsShownOnlyOnceTheKeyboardIsUsed) {
  HiddenKeyboardCues hidden;
  HWND second = host.AddButton(kId + 1, L"使用说明", 140, 40, kW, kH);
  gui::Click(gui::CentreOf(button));
  gui::MouseAway();
  ASSERT_EQ(GetFocus(), button);
  const Image face = ButtonFace(kW, kH, kImageNormal, 96);
  auto focusRectShown = [&](HWND b) {
    const Image shown = gui::Capture(b);
    int changed = 0;
    for (int x = 3; x < kW - 3; ++x) changed += shown.At(x, 3) != face.At(x, 3);
    return changed > 10;
  };
  EXPECT_FALSE(focusRectShown(button));
  gui::KeyTap(VK_TAB);
  ASSERT_EQ(GetFocus(), second);
  gui::Settle();
  EXPECT_TRUE(focusRectShown(second));
  EXPECT_FALSE(focusRectShown(button));
}

TEST_F(QQButtonTest, TheAccessKeyIsOneUpperCaseCharacterAndClicksLikeEnter) {
  SetKeys(button, "keys");
  EXPECT_EQ(Keys(button), "K");
  SetKeys(button, "");
  EXPECT_EQ(Keys(button), "");
  SetKeys(button, "q");
  EXPECT_TRUE(DispatchAccessKey(host.hwnd(), L'q'));  // not pressed yet: no click
  EXPECT_TRUE(host.clicks.empty());
  gui::Click(gui::CentreOf(button));
  ASSERT_EQ(host.clicks.size(), 1u);
  gui::KeyDown(VK_MENU);
  gui::KeyTap('Q');
  gui::KeyUp(VK_MENU);
  EXPECT_EQ(host.clicks.size(), 2u);
  // The key belongs to the control, so it works while the button is disabled.
  EnableWindow(button, FALSE);
  EXPECT_TRUE(DispatchAccessKey(host.hwnd(), L'Q'));
  EXPECT_EQ(host.clicks.size(), 3u);
  EXPECT_FALSE(DispatchAccessKey(host.hwnd(), L'Z'));
}

TEST_F(QQButtonTest, PictureBesideOrAboveTheCaptionByStyle) {
  HICON red = gui::SolidIcon(32, 0xFF0000);
  HWND big = host.AddButton(kId + 2, L"转 换", 40, 90, 137, 60);
  SetPicture(big, red);
  gui::Settle();
  auto redBox = [&] {
    const Image shown = gui::Capture(big);
    RECT box{shown.width, shown.height, -1, -1};
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        if (shown.RgbAt(x, y) != 0xFF0000) continue;
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
               std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
      }
    }
    return box;
  };
  RECT box = redBox();
  EXPECT_EQ(box.right - box.left, 32);
  EXPECT_EQ(box.bottom - box.top, 32);
  EXPECT_LT(box.left, 137 / 3);  // left of the caption
  EXPECT_EQ(box.top, (60 - 32) / 2);
  gui::SaveScreenshot(host.hwnd(), "qqbutton-picture");

  SetStyle(big, 1);
  gui::Settle();
  box = redBox();
  EXPECT_NEAR(box.left, (137 - 32) / 2.0, 0.6);  // above the caption
  EXPECT_LT(box.top, 10);

  SetStyle(big, 2);
  gui::Settle();
  EXPECT_EQ(gui::Capture(big).pixels, ButtonFace(137, 60, kImageNormal, 96).pixels);

  SetWindowTextW(big, L"");
  gui::Settle();
  box = redBox();
  EXPECT_NEAR(box.left, (137 - 32) / 2.0, 0.6);  // alone, in the middle
  EXPECT_EQ(box.top, (60 - 32) / 2);
  DestroyWindow(big);
  DestroyIcon(red);
}

}  // namespace
}  // namespace plover::controls
