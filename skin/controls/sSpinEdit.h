// The skinned spin edits: a skinned edit with a pair of small arrow buttons inside its right
// edge. TsSpinButton holds the two TsTimerSpeedButtons (section "SPEEDBUTTON_SMALL") and
// gives them the edit's cached image as their background; TsBaseSpinEdit lays the pair out
// and keeps the text clear of it; TsDecimalSpinEdit holds a decimal value (the value logic
// is TsDecimalSpinValue's) that the arrows, the up/down keys and the wheel step.
//
//   edit (client area)                         spin button
//   +----------------------------------+--+    +--+  up button: top half
//   | text rect: 0..width-spin-3        |^ |    |^ |
//   |                                   |v |    |v |  down button: the rest
//   +----------------------------------+--+    +--+
#pragma once

#include "skin/controls/sDecimalSpinValue.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"
#include "toolkit/WinControl.h"

class TsBaseSpinEdit;

class TsSpinButton : public TWinControl {
 public:
  static constexpr int kDefaultWidth = 18;
  static constexpr int kMinWidth = 15;

  TsSpinButton(TComponent* owner, TsBaseSpinEdit* spinEdit);
  const wchar_t* ClassName() const override { return L"TsSpinButton"; }

  TsTimerSpeedButton* UpButton() const { return upButton_; }
  TsTimerSpeedButton* DownButton() const { return downButton_; }
  TsTimerSpeedButton* FocusedButton() const { return focusedButton_; }
  void SetFocusedButton(TsTimerSpeedButton* button);
  TWinControl* FocusControl = nullptr;
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  // Own glyphs of the two buttons; empty ones show the drawn arrows.
  void SetUpGlyph(const TzkBitmap& glyph) { upButton_->SetGlyph(glyph); }
  void SetDownGlyph(const TzkBitmap& glyph) { downButton_->SetGlyph(glyph); }
  // The arrows drawn again in the current colours.
  void ResetGlyphs();
  // Gives the up button the top half and the down button the rest.
  void LayoutButtons();

 protected:
  void WndProc(TMessage& m) override;
  void BoundsChanged() override;
  void Loaded() override;
  void PaintWindow(HDC dc) override;

 private:
  TsTimerSpeedButton* MakeButton(bool up);
  void ButtonClicked(TObject* sender);
  void ButtonPressed(TsTimerSpeedButton* button);
  void AnswerBackground(TsBackgroundRequest& request);

  TsBaseSpinEdit* spinEdit_;
  TsTimerSpeedButton* upButton_ = nullptr;
  TsTimerSpeedButton* downButton_ = nullptr;
  TsTimerSpeedButton* focusedButton_ = nullptr;
};

class TsBaseSpinEdit : public TsEdit {
 public:
  explicit TsBaseSpinEdit(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsBaseSpinEdit"; }

  TsSpinButton* Button() const { return button_; }
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool value) { editorEnabled_ = value; }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  // What the arrows do: the events, when assigned.
  virtual void UpClick();
  virtual void DownClick();
  // Places the spin button and sets the text rectangle clear of it.
  void SetEditRect();

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void BoundsChanged() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyPress(wchar_t& key) override;
  void PaintOverCache(TzkBitmap& cache) override;
  bool SkinCommandExtra(TMessage& m) override;
  // Whether a typed character may go into the text.
  virtual bool IsValidChar(wchar_t key);

 private:
  void EnabledFollows();
  void StaleButtons();

  TsSpinButton* button_ = nullptr;
  bool editorEnabled_ = true;
  bool autoSelect_ = true;
};

class TsDecimalSpinEdit : public TsBaseSpinEdit {
 public:
  explicit TsDecimalSpinEdit(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsDecimalSpinEdit"; }

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
  bool UseSystemDecSeparator() const { return value_.UseSystemDecSeparator; }
  void SetUseSystemDecSeparator(bool on) { value_.UseSystemDecSeparator = on; }
  bool TextEdited() const { return value_.TextEdited; }
  double CheckValue(double x) const { return value_.CheckValue(x); }

  // A read-only box only beeps; otherwise the value steps by Increment (an assigned
  // OnUpClick / OnDownClick runs instead).
  void UpClick() override;
  void DownClick() override;

 protected:
  void WndProc(TMessage& m) override;
  bool IsValidChar(wchar_t key) override;

 private:
  void ShowText(const std::u16string& text);
  std::u16string Text16() const;

  TsDecimalSpinValue value_;
  bool showingText_ = false;
};
