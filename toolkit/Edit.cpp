#include "toolkit/Edit.h"

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  SetColor(clWindow);
  SetControlStyle(csSetCaption | csDoubleClicks);
  SetBounds(0, 0, 121, 21);
}

void TEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = L"EDIT";
  p.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (passwordChar_) p.Style |= ES_PASSWORD;
  if (readOnly_) p.Style |= ES_READONLY;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (maxLength_) SendMessageW(handle_, EM_LIMITTEXT, WPARAM(maxLength_), 0);
  if (passwordChar_) SendMessageW(handle_, EM_SETPASSWORDCHAR, passwordChar_, 0);
}

void TEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(handle_, EM_SETSEL, 0, -1);
}

void TEdit::SetMaxLength(int n) {
  maxLength_ = n;
  if (HandleAllocated()) SendMessageW(handle_, EM_LIMITTEXT, WPARAM(n), 0);
}

void TEdit::SetPasswordChar(wchar_t c) {
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageW(handle_, EM_SETPASSWORDCHAR, c, 0);
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TEdit::SetReadOnly(bool on) {
  readOnly_ = on;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETREADONLY, on, 0);
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE) {
      Perform(CM_TEXTCHANGED);
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}
