// Windows for the skinned controls to live in during a test, real mouse and
// keyboard input, and the screen read back as pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/win32/window.h"
#include "plover/controls/image.h"

namespace plover::controls::gui {

// Runs this thread's messages (through IsDialogMessage, as the program's
// windows do) until nothing is left to do: no input, no posted or sent
// message and nothing to paint, twice a moment apart (the display's own
// events come a moment after the calls that cause them). At most `ms`.
void Settle(int ms = 3000);
// Pumps until `done` holds or `ms` pass; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 3000);

// Real input, as from the mouse and the keyboard; each returns once the
// input has been taken (Settle).
void MouseTo(POINT screen);
// Mouse events (MOUSEEVENTF_LEFTDOWN ...) at `screen`, all queued at once.
void MouseAt(POINT screen, std::initializer_list<DWORD> events);
void Click(POINT screen);
// Moves and button events along a path, all queued before any is handled
// (a window move started by the first press runs until the release).
void MousePath(const std::vector<std::pair<POINT, DWORD>>& steps);
void KeyTap(WORD vk);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Parks the pointer away from every test window, and waits until the last
// press is longer ago than the double-click time, so that the next click is
// a click of its own.
void MouseAway();

// A point of a window's client area on the screen.
POINT OnScreen(HWND hwnd, int x, int y);
POINT CentreOf(HWND hwnd);

// The window's client area as the screen shows it.
Image Capture(HWND hwnd);
// Saves the window (frame and all) to <build>/e2e-screens/<name>.bmp.
void SaveScreenshot(HWND hwnd, const std::string& name);

// A top-level window that records what its controls tell it.
class TestHost final : public win::Window {
 public:
  TestHost(DWORD style, int width, int height, const wchar_t* caption = L"Plover 2.0",
           HICON icon = nullptr);
  ~TestHost() override;
  HWND AddButton(int id, const wchar_t* caption, int x, int y, int w, int h,
                 const wchar_t* windowClass = L"QQButton", DWORD style = 0);

  std::vector<int> clicks;  // ids of the BN_CLICKED received
  struct Mouse {
    UINT code;
    int button;
  };
  std::vector<Mouse> mouse;  // QQButton mouse notifications, in order
  int closeRequests = 0;     // WM_CLOSE received (each destroys the window)
  bool destroyed = false;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// A solid square icon of one colour.
HICON SolidIcon(int size, uint32_t rgb);

}  // namespace plover::controls::gui
