#include "toolkit/Button.h"

#include "toolkit/Form.h"

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
    case CN_CTLCOLORBTN:
      break;
  }
  TWinControl::WndProc(m);
}
