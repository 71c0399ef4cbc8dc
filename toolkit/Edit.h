// Single-line edit box (platform class EDIT).
#pragma once

#include "toolkit/WinControl.h"

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TEdit"; }

  void Clear() { SetText(L""); }
  void SelectAll();
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  wchar_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(wchar_t c);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);

  TNotifyEvent OnChange;

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int maxLength_ = 0;
  wchar_t passwordChar_ = 0;
  bool readOnly_ = false;
};
