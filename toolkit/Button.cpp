#include "toolkit/Button.h"

#include "toolkit/Form.h"

bool IsAccelerator(wchar_t ch, const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return CharUpperW(reinterpret_cast<wchar_t*>(uintptr_t(caption[i + 1]))) ==
           CharUpperW(reinterpret_cast<wchar_t*>(uintptr_t(ch)));
  }
  return false;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  SetControlStyle(csSetCaption | csDoubleClicks);
  SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = L"BUTTON";
  p.Style |= (active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool on) {
  default_ = on;
  TCustomForm* form = ParentForm();
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  const bool active = focused == this || (on && !dynamic_cast<TButton*>(focused));
  if (active != active_) {
    active_ = active;
    DefaultStyleChanged(active);
  }
}

void TButton::DefaultStyleChanged(bool isDefault) {
  if (HandleAllocated())
    SendMessageW(handle_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  TControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TControl*>(m.LParam);
      const bool active = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
      if (active != active_) {
        active_ = active;
        DefaultStyleChanged(active);
      }
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccelerator(wchar_t(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
  }
  TWinControl::WndProc(m);
}
