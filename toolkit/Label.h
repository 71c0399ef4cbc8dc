// A windowless text label painted by its parent. With AutoSize the label takes the size of
// its text; with Transparent the parent shows through around the text.
#pragma once

#include "toolkit/Control.h"

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TLabel"; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool on);

  // Sizes the label to its text when AutoSize is on.
  void AdjustBounds();
  // A label that takes the size of its text takes it again in the new font.
  void ChangeScale(int fromDpi, int toDpi) override;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
  void Loaded() override;
  // Draws the text with the given DrawText flags (DT_CALCRECT measures into r).
  virtual void DoDrawText(TRect& r, UINT flags);
  UINT TextFlags() const;

 private:
  bool autoSize_ = true;
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};
