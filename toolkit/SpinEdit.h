// A numeric edit box with a pair of arrow buttons at its right edge. The value behaviour
// (limits, stepping, formatting, the key filter, clamping on exit) is TsDecimalSpinValue's;
// this control feeds it the edit's text and caret and shows what it answers. The arrows
// step once when released over them and repeat while held: after 400 ms, then every 100 ms.
// The box can carry a bound caption label above its left edge.
#pragma once

#include <functional>
#include <string>

#include "skin/controls/sDecimalSpinValue.h"
#include "toolkit/Control.h"
#include "toolkit/Edit.h"

class TLabel;
class TSpinEdit;

// The arrow pair: the top half steps up, the bottom half down.
class TSpinButton : public TCustomControl {
 public:
  explicit TSpinButton(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TSpinButton"; }

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  // The control that gets the focus when an arrow is pressed.
  TWinControl* FocusControl = nullptr;

  static constexpr UINT kFirstDelay = 400;
  static constexpr UINT kRepeatDelay = 100;
  // 0: none, 1: up, -1: down.
  int Pressed() const { return pressed_; }

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;

 private:
  int HalfAt(int y) const { return y < Height() / 2 ? 1 : -1; }
  void ClickHalf(int half);
  void Release(bool overButton);

  int pressed_ = 0;
};

class TSpinEdit : public TEdit {
 public:
  explicit TSpinEdit(TComponent* owner);
  ~TSpinEdit() override;
  const wchar_t* ClassName() const override { return L"TSpinEdit"; }

  double Value() const;
  void SetValue(double x);
  double MinValue() const { return value_.MinValue; }
  void SetMinValue(double v) { value_.MinValue = v; }
  double MaxValue() const { return value_.MaxValue; }
  void SetMaxValue(double v) { value_.MaxValue = v; }
  double Increment() const { return value_.Increment; }
  void SetIncrement(double v) { value_.Increment = v; }
  int DecimalPlaces() const { return value_.DecimalPlaces; }
  void SetDecimalPlaces(int places);
  bool EditorEnabled() const { return value_.EditorEnabled; }
  void SetEditorEnabled(bool on) { value_.EditorEnabled = on; }
  bool UseSystemDecSeparator() const { return value_.UseSystemDecSeparator; }
  void SetUseSystemDecSeparator(bool on) { value_.UseSystemDecSeparator = on; }
  bool TextEdited() const { return value_.TextEdited; }
  double CheckValue(double x) const { return value_.CheckValue(x); }

  // Steps by Increment (an assigned OnUpClick / OnDownClick runs instead); a read-only box
  // only beeps.
  void UpClick();
  void DownClick();
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  TSpinButton* Button() const { return button_; }
  // Shows a caption label above the box at its left edge (created on first use); it follows
  // the box's position and visibility.
  TLabel* SetBoundLabel(const std::wstring& caption, TColor color);
  TLabel* BoundLabel() const { return boundLabel_; }
  // Puts the bound label above the box's left edge again.
  void RepositionLabel();

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void BoundsChanged() override;
  void VisibleChanged() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyPress(wchar_t& key) override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  void ShowText(const std::u16string& text);
  std::u16string Text16() const;
  void LayoutButton();

  TsDecimalSpinValue value_;
  TSpinButton* button_ = nullptr;
  TLabel* boundLabel_ = nullptr;
  bool showingText_ = false;
};
