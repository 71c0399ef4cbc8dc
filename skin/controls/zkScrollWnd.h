// Skinned scroll bars in the non-client area of an adapted window.
//
// TzkScrollWnd is the window adapter that adds them: it makes room for the bars in the
// frame calculation, paints them from the skin, and answers the pointer over them itself,
// sending the window the scroll messages the platform's own bars would. Their geometry comes
// from zkSBUtilsGeometry, which painting, hit-testing and dragging share.
//
// The pointer over a bar (one pointer, so its state is shared by all adapters):
//
//   state      enters by                       while in it                    leaves by
//   hovering   moving onto a bar               the hover timer finds the      the pointer off
//                                              part under the pointer and     the bar: repaint
//                                              repaints it hot
//   pressing   left button down on an arrow    one scroll step at once; after button up,
//   a part     or the track beside the thumb   kFirstRepeatDelay it repeats   capture lost or
//   (capture)                                  every kRepeatInterval, but     cancel mode
//                                              only while the pointer is
//                                              on the pressed part (drawn
//                                              pressed only then)
//   dragging   left button down on the thumb   the thumb follows the pointer  button up,
//   the thumb                                  from where it was grabbed;     capture lost or
//   (capture)                                  each new position is sent as   cancel mode
//                                              a track message
//
// Ending a press or a drag stops the repeat, sends the final position (after a drag) and
// the end of the scroll, and reads and repaints the bars. A press on a disabled bar takes
// the capture but scrolls nothing.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "skin/controls/zkSBUtils.h"
#include "skin/controls/zkSBUtilsGeometry.h"
#include "toolkit/Dpi.h"

class TzkScrollWnd;

// One skinned bar's state.
class TzkScrollBar {
 public:
  TzkScrollBar(TzkScrollWnd* owner, int kind) : owner_(owner), kind_(kind) {}
  int Kind() const { return kind_; }  // SB_HORZ or SB_VERT
  bool StyleFlag = false;  // the window style asks for this bar
  bool Shown = false;      // the bar got space in the last frame calculation
  TzkScrollInfo Info;
  int ButtonOverride = -1;
  int ThicknessOverride = -1;
  int MinThumb = 10;

  void ReadInfo(HWND wnd);
  int Thickness() const;
  // The button length painting and hit-testing use: the system's arrow length, or the skin's
  // button image when its section asks for it.
  int ButtonLength(const TsSkinTables* tables) const;
  TzkBarMetrics Metrics(const TRect& barRect, const TsSkinTables* tables) const;
  // The bar is not disabled by the platform.
  bool Enabled(HWND wnd) const;
  TzkScrollWnd* Owner() const { return owner_; }

 private:
  TzkScrollWnd* owner_;
  int kind_;
};

// Timer identifiers set on the adapted window.
constexpr UINT_PTR kHoverTimer = 0xFFF2;
constexpr UINT_PTR kFirstRepeatTimer = 0xFFFD;
constexpr UINT_PTR kRepeatTimer = 0xFFFE;
constexpr UINT kHoverInterval = 20;
constexpr UINT kFirstRepeatDelay = 300;
constexpr UINT kRepeatInterval = 55;

class TzkScrollWnd : public TzkMainWnd {
 public:
  TzkScrollBar& HorzBar() { return *bars_[0]; }
  TzkScrollBar& VertBar() { return *bars_[1]; }
  const TRect& Borders() const { return borders_; }
  bool LeftScroll() const { return leftScroll_; }
  bool OwnScrolling() const { return ownScroll_; }
  bool ThumbDragging() const { return dragging_; }
  // The frame in screen coordinates as the last calculation left it.
  TzkFrameLayout Layout() const;
  TRect BarRect(int kind) const;  // screen coordinates, empty when not shown
  // Re-reads both bars and, with repaint, paints them.
  void RefreshBars(bool repaint);
  // Re-reads both bars and paints them only when their information changed.
  void RefreshChangedBars();
  // Paints the shown bars (and the corner) into a whole-window context, or the window's own.
  void PaintBars(HDC windowDc = nullptr);
  // Runs action while the window does not count as visible, so the platform, updating its
  // scroll information, does not draw its own bars where the skinned ones are (each such
  // drawing is costly and is painted over at once). The window hears nothing of it, and
  // nothing it invalidates meanwhile is kept: the caller repaints what the action changed.
  void WithoutPlatformPainting(const std::function<void()>& action);
  // Paints one bar into a bitmap of its size with the given part states.
  void RenderBar(int kind, TzkBitmap& out, int hotPart, int pressedPart, int dragThumbStart);
  // The DPI the bars were last given their space for (their thickness, button length and
  // minimum thumb follow it), and the skin manager's scale, which the next frame
  // calculation takes.
  int BarDpi() const { return barDpi_; }
  int SkinDpi() const;

  TzkScrollWnd(HWND wnd, const std::string& section, TsSkinView* manager);

 protected:
  void AdapterProc(TMessage& m) override;
  void BeforeHook() override;
  void AfterHook(bool repaint) override;
  void OnDetached() override;
  // The background behind the bars' track, for a bitmap whose top-left lies at `at` in the
  // window.
  virtual TsBackgroundInfo BarBackground(TPoint at);
  // The client rectangle the platform computed, before the bars take their space: a window
  // that draws its own frame moves it to the frame at its skin's scale.
  virtual void MoveClientToScale(RECT& client) { (void)client; }

 private:
  bool ScrollCommand(TMessage& m);
  void CalcSize(TMessage& m);
  LRESULT HitTest(TPoint screen);
  void NcMouseMove(TMessage& m);
  void NcButtonDown(TMessage& m);
  void MouseMove(TPoint screen);
  // A bar of this window is pressed (an arrow or track part held, or the thumb dragged).
  bool Pressing() const;
  void EndPress(bool releaseCapture);
  void Timer(TMessage& m);
  void PressPart(int kind, TPoint screen);
  void CheckPressedPart(TPoint screen);
  void DragTo(TPoint screen);
  void SendScroll(int code, int32_t pos);
  void PaintBar(int kind, HDC windowDc);
  void PaintSizeBox(HDC windowDc);
  bool SizeBoxIsGrip() const;
  int Along(int kind, TPoint screen) const;

  std::array<std::unique_ptr<TzkScrollBar>, 2> bars_;
  TRect borders_;
  bool leftScroll_ = false;
  int barDpi_ = kDesignDpi;
  bool dragging_ = false;
  bool preventStyleChange_ = false;
  bool ownScroll_ = false;
};

// The pointer state shared by every adapter (there is one pointer).
struct TzkScrollPointerState {
  HWND WindowUnder = nullptr;
  int HoverBar = -1;  // 0 horizontal, 1 vertical
  TRect HoverRect;
  int HoverPart = bpNone;
  int PrevHoverPart = bpNone;
  int PressedBar = -1;
  int PressedPart = bpNone;
  int DrawnPressed = bpNone;
  UINT ScrollMsg = 0;
  int ThumbLength = 0;
  int ThumbStart = 0;
  TRect BarRect;
  int Grab = 0;
  int32_t LastPos = 0;
};
TzkScrollPointerState& ScrollPointer();
