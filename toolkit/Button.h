// Push button (platform class BUTTON). Default marks the button Enter clicks when the focus
// is on no other button; the button that currently plays that role shows the default
// style, and DefaultStyleChanged tells derived buttons when the role moves.
#pragma once

#include <string>

#include "toolkit/WinControl.h"

// Whether ch is the accelerator marked with "&" in a caption (case-insensitive).
bool IsAccelerator(wchar_t ch, const std::wstring& caption);

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TButton"; }

  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  // Whether the button shows the default style now.
  bool Active() const { return active_; }
  void Click() override;

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  // The default-button role moved to (true) or away from (false) this button.
  virtual void DefaultStyleChanged(bool isDefault);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
};
