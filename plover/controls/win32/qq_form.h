// QQForm, the skinned window frame. A window adopts it by holding one as a
// member and attaching it once its own window exists:
//
//   form_.Attach(hwnd_, this);  // `this` a FrameContent, or nullptr
//
// The frame then has its part in the window's messages through a subclass.
// A window of the program's own instead hands each of its messages to
// HostMessage, with its own handling as `next` (SkinnedWindow does so).
//
// The frame then makes the window borderless (its size stays its outer size),
// covers all of it with the painted border, title bar, icon and caption, gives
// it rounded corners, and supplies the minimise, maximise/restore and close
// buttons (shown as the window's WS_MINIMIZEBOX and WS_MAXIMIZEBOX styles
// ask), moving by the title bar and maximise/restore by a double click on it.
// It follows the window's size, caption, icon, state and DPI by itself. The
// close button sends the window WM_CLOSE, as a caption's close button does.
//
// The frame is a child window kept below all other children; the window's
// own controls stay its direct children. Labels and check boxes are drawn
// over the frame's background unless the window gives them a brush of its
// own in WM_CTLCOLORSTATIC (the button-face brush, which is what
// DefWindowProc gives, counts as none). What the window paints itself is
// covered: it draws through FrameContent::PaintContent instead.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string_view>

#include "common/win32/owned.h"
#include "common/win32/window.h"
#include "plover/controls/form_model.h"
#include "plover/controls/win32/gdi.h"

namespace plover::controls {

inline constexpr const wchar_t* kQQFormClass = L"QQForm";
inline constexpr const wchar_t* kQQFormButtonClass = L"QQFormButton";

// What a framed window draws itself: its lines and pictures, over the frame
// after each repaint, in the window's coordinates.
class FrameContent {
 public:
  virtual void PaintContent(HDC dc, UINT dpi) = 0;

 protected:
  ~FrameContent() = default;
};

// The frame is a window of its own (hwnd()), a child of its host.
class QQForm final : public win::Window {
 public:
  QQForm() = default;
  ~QQForm() override;

  // The host's own handling of a message, which the frame calls on.
  using HostNext = LRESULT (*)(void* context, UINT msg, WPARAM wParam, LPARAM lParam);

  // Frames `host`, a top-level window, with `content` drawn over the frame;
  // false when it has a frame already. With `next`, the host hands every
  // message to HostMessage, which calls next(context, ...) for the host's
  // own part; without, the frame subclasses the host.
  bool Attach(HWND host, FrameContent* content = nullptr, HostNext next = nullptr,
              void* context = nullptr);
  // A message of the host, handled by the frame and then by the host.
  LRESULT HostMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The frame of `host`, or nullptr.
  static QQForm* FrameOf(HWND host);
  // Repaints the frame and lays out its buttons.
  void Refresh();
  // How far a long task has come, in thousandths, drawn as a fill of the
  // title bar from the left behind the caption; -1 takes it away. The
  // window's caption stays its text.
  void SetProgress(int permille);

  HWND host() const { return host_; }
  // A caption button's window (its text is its tooltip).
  HWND button(CaptionButton b) const { return buttons_[static_cast<size_t>(b)]; }
  const FrameModel& model() const { return model_; }
  // The frame as last painted, in the host's coordinates.
  const gdi::Surface& surface() const { return surface_; }

  // Raised after the frame has done the work.
  std::function<void()> onMinClick;
  std::function<void()> onMaxClick;
  std::function<void()> onCloseClick;

  // The frame's background as a brush for the child `child` to fill with.
  HBRUSH BackgroundFor(HWND child, HDC dc);

 private:
  friend class FrameButton;

  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT HandleHost(UINT msg, WPARAM wParam, LPARAM lParam);
  // The host's own handling of a message.
  LRESULT Next(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;  // the frame's
  LRESULT HandleButton(HWND button, CaptionButton b, UINT msg, WPARAM wParam, LPARAM lParam);

  HostState State() const;
  void MakeBorderless();
  void Paint();
  void ApplyShape();
  void Layout(UINT dpi);
  void ShowImages();
  void SetTip(CaptionButton b, std::string_view tip);
  // The caption buttons' tooltip, made when the pointer first comes over a
  // button (the message that brought it is passed on to it).
  void MakeTips(HWND button, UINT msg, WPARAM wParam, LPARAM lParam);
  bool InTitleBar(LPARAM lParam) const;
  void Run(FrameCommand command);
  void KeepAtBottom();
  void Detach();

  HWND host_ = nullptr;
  FrameContent* content_ = nullptr;
  HostNext next_ = nullptr;  // nullptr: the host is subclassed
  void* context_ = nullptr;
  HWND tooltip_ = nullptr;
  std::array<HWND, 3> buttons_{};
  std::array<int, 3> shown_{};  // the image each button last drew
  FrameModel model_;
  gdi::Surface surface_;
  win::UniqueBrush background_;
  win::UniqueFont captionFont_;
  UINT fontDpi_ = 0;
  RECT titleBar_{};
  SIZE shape_{};  // the size the rounded shape was made for
  // A press on a caption button whose release over it is a click.
  int pressed_ = -1;
  bool refreshing_ = false;
  int progress_ = -1;  // thousandths, -1 none
};

}  // namespace plover::controls
