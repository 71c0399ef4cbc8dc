// The hint of a title button: a small popup with the button's text that appears below the
// pointer once it has rested on the button for the platform's hover time, and goes again
// when the pointer leaves, the button is pressed, the form deactivates, moves or goes away,
// or after the platform's tooltip time-out.
//
// With an active skin it is drawn from the skin's "HINT" section (background, border and
// font colour) through the paint engine; without one (or a skin without "HINT") it has the
// platform tooltip's colours. The text is written in the message font.
//
//   Arm(text) --hover time--> shown below the pointer --time-out--> hidden
//        \------ Cancel() -------/-------- Cancel() ------/
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Handles.h"

class TsSkinView;

class TzkHintWindow {
 public:
  // The manager whose skin draws the hint, asked at every showing; null for the platform look.
  using TManagerSource = std::function<TsSkinView*()>;

  explicit TzkHintWindow(TManagerSource manager);
  ~TzkHintWindow();
  TzkHintWindow(const TzkHintWindow&) = delete;
  TzkHintWindow& operator=(const TzkHintWindow&) = delete;

  // Shows `text` after the hover time unless cancelled first; an empty text only cancels.
  void Arm(const std::wstring& text);
  // Hides the hint and forgets a waiting one.
  void Cancel();

  bool Waiting() const { return waiting_; }
  bool Showing() const;
  const std::wstring& Text() const { return text_; }
  // The popup window (made at the first Arm), null before.
  HWND Handle() const { return window_.Get(); }
  // The picture the popup shows (its client area) and where the text lies in it.
  const TzkBitmap& Image() const { return image_; }
  TRect TextRect() const { return textRect_; }
  // The timers of the popup window: WM_TIMER with these ids shows and hides the hint.
  static constexpr UINT_PTR kShowTimer = 1;
  static constexpr UINT_PTR kHideTimer = 2;
  // The text format of the hint (several lines allowed, no prefix characters).
  static constexpr UINT kTextFormat = DT_LEFT | DT_NOPREFIX;
  // Space between the popup's edge and the text.
  static constexpr int kPaddingX = 4;
  static constexpr int kPaddingY = 2;

  // The platform's hover time and tooltip time-out, in milliseconds.
  static unsigned HoverTime();
  static unsigned AutoPopTime();
  // The platform's message font (the caller owns it).
  static TFontHandle MessageFont(int dpi);

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam);
  bool MakeWindow();
  void ShowNow();
  void Render();
  void Paint(HDC dc) const;

  TManagerSource manager_;
  TWindowHandle window_;
  TFontHandle font_;
  int fontDpi_ = 0;  // the DPI font_ was made for
  TzkBitmap image_;
  TRect textRect_;
  std::wstring text_;
  bool waiting_ = false;
};
