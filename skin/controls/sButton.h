// TsButton: the push button drawn by the skin. While a skin is active the platform button is
// owner-drawn and the control paints itself from its cached image: the section (default
// "BUTTON") in the current state, its border mask with the key-coloured corner pixels cut
// out of the window's shape, the caption in the section's colours, a dotted focus frame and
// the disabled look. State changes cross-fade.
//
//   event                     ButtonState   fade
//   ------------------------  -----------   ---------------------------
//   pointer enters            1 (hot)       full  (aeMouseEnter)
//   pointer leaves            0 / 1 focus   full  (aeMouseLeave)
//   left button down          2 (pressed)   half  (aeMouseDown)
//   left button up            1             half  (aeMouseUp); a press fade still running
//                                                  shows the pressed look for 30 ms first
//   focus / default role      1             none, repainted at once
#pragma once

#include <memory>

#include "skin/paint/sCommonData.h"
#include "skin/paint/sFade.h"
#include "skin/paint/sSectionPainter.h"
#include "toolkit/Button.h"
#include "toolkit/Handles.h"

class TsButton : public TButton {
 public:
  explicit TsButton(TComponent* owner);
  ~TsButton() override;
  const wchar_t* ClassName() const override { return L"TsButton"; }

  TsCommonData& SkinData() { return *skinData_; }
  bool Down() const { return down_; }
  void SetDown(bool value);
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int value) { focusMargin_ = value; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  TzkAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TzkAnimatEvents value) { animatEvents_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  // 0 normal, 1 hot, 2 pressed.
  int ButtonState() const;
  // The rectangle the caption is drawn in, for the current state.
  TRect CaptionRect();
  TsFadeTimer* FadeTimer() const { return fadeTimer_; }
  // Composes the cached image for the current state.
  void PrepareCache();

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void DefaultStyleChanged(bool isDefault) override;

 private:
  bool SkinCommandMessage(TMessage& m);
  bool SkinnedMessage(TMessage& m);
  void AfterDefault(TMessage& m);
  void PaintHandler(HDC dc, bool foreign);
  void ApplyShape(HDC dc, bool foreign, bool redraw);
  void PaintBorder(int state, const TsBackgroundInfo& bg);
  void PaintCaption(int state);
  void DrawFocusFrame(HDC dc, TRect r);
  void SetOwnerDraw(bool on);
  void MouseDownSkinned();
  void MouseUpSkinned();
  void MouseEnterSkinned();
  void MouseLeaveSkinned();
  void FocusChanged(TMessage& m, bool gained);
  bool FadeRunning() const;
  void ResetShape();

  std::unique_ptr<TsCommonData> skinData_;
  bool pressing_ = false;
  bool down_ = false;
  bool stateChanged_ = true;
  int focusMargin_ = 1;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
  TsFadeTimer* fadeTimer_ = nullptr;
  TzkAnimatEvents animatEvents_ = kDefaultAnimatEvents;
  TRect lastBounds_;
  bool showFocus_ = true;
  bool activeStyle_ = false;
  bool wordWrap_ = true;
  bool firstPaint_ = true;      // the shape has never been applied
  TRegionHandle pendingRegion_; // window shape waiting to be applied
  bool inFocusChange_ = false;
  bool forcePressed_ = false;   // the pressed look for one repaint
};

// The caption rectangle of a width x height button around a text measuring `text`:
// (dx - 1, dy, width - dx + 2, height - dy) with dx, dy the halved free space, one pixel
// lower right when pressed.
TRect ButtonCaptionRect(int width, int height, TSize text, bool pressed);

