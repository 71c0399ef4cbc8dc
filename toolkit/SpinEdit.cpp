#include "toolkit/SpinEdit.h"

#include "toolkit/Label.h"

namespace {

constexpr int kSpinWidth = 18;
constexpr UINT_PTR kRepeatTimer = 1;

char16_t PlatformDecimalSeparator() {
  wchar_t sep[4] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 4) > 0 && sep[0])
    return char16_t(sep[0]);
  return u'.';
}

// The bound label: a label that keeps its place above the box whenever its own size changes
// (an auto-sized label measures itself again when its font or caption changes).
class TBoundLabel : public TLabel {
 public:
  TBoundLabel(TComponent* owner, TSpinEdit* box) : TLabel(owner), box_(box) {}
  void Detach() { box_ = nullptr; }

 protected:
  void BoundsChanged() override {
    TLabel::BoundsChanged();
    if (box_ && !repositioning_) {
      repositioning_ = true;
      box_->RepositionLabel();
      repositioning_ = false;
    }
  }

 private:
  TSpinEdit* box_;
  bool repositioning_ = false;
};

}  // namespace

// ---- TSpinButton ----

TSpinButton::TSpinButton(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(csOpaque);
  SetBounds(0, 0, kSpinWidth, 17);
}

void TSpinButton::Paint() {
  const int w = Width(), h = Height(), top = h / 2;
  HDC dc = Canvas().Handle();
  RECT up = {0, 0, w, top};
  RECT down = {0, top, w, h};
  const UINT disabled = Enabled() ? 0 : DFCS_INACTIVE;
  DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | disabled | (pressed_ == 1 ? DFCS_PUSHED : 0));
  DrawFrameControl(dc, &down, DFC_SCROLL,
                   DFCS_SCROLLDOWN | disabled | (pressed_ == -1 ? DFCS_PUSHED : 0));
}

void TSpinButton::ClickHalf(int half) {
  const TNotifyEvent& event = half == 1 ? OnUpClick : OnDownClick;
  if (event) event(this);
}

void TSpinButton::Release(bool overButton) {
  const int half = pressed_;
  pressed_ = 0;
  KillTimer(handle_, kRepeatTimer);
  if (GetCapture() == handle_) ReleaseCapture();
  Invalidate();
  if (half && overButton) ClickHalf(half);
}

void TSpinButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Enabled()) return;
      if (FocusControl && FocusControl->CanFocus() && !FocusControl->Focused())
        FocusControl->SetFocus();
      pressed_ = HalfAt(short(HIWORD(m.LParam)));
      SetCapture(handle_);
      SetTimer(handle_, kRepeatTimer, kFirstDelay, nullptr);
      Invalidate();
      return;
    }
    case WM_LBUTTONUP:
      if (pressed_) {
        const int x = short(LOWORD(m.LParam)), y = short(HIWORD(m.LParam));
        const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
        Release(inside && HalfAt(y) == pressed_);
      }
      return;
    case WM_TIMER:
      if (m.WParam == kRepeatTimer) {
        SetTimer(handle_, kRepeatTimer, kRepeatDelay, nullptr);
        if (pressed_ && GetCapture() == handle_) {
          try {
            ClickHalf(pressed_);
          } catch (...) {
            Release(false);
            throw;
          }
        }
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (pressed_ && HWND(m.LParam) != handle_) Release(false);
      break;
  }
  TCustomControl::WndProc(m);
}

// ---- TSpinEdit ----

TSpinEdit::TSpinEdit(TComponent* owner) : TEdit(owner) {
  value_.DecimalSeparator = PlatformDecimalSeparator();
  button_ = new TSpinButton(this);
  button_->SetParent(this);
  button_->FocusControl = this;
  button_->OnUpClick = [this](TObject*) { UpClick(); };
  button_->OnDownClick = [this](TObject*) { DownClick(); };
  SetValue(0);
  LayoutButton();
}

void TSpinEdit::CreateParams(TCreateParams& p) {
  TEdit::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd() {
  TEdit::CreateWnd();
  LayoutButton();
}

std::u16string TSpinEdit::Text16() const {
  const std::wstring t = Text();
  return std::u16string(t.begin(), t.end());
}

void TSpinEdit::ShowText(const std::u16string& text) {
  showingText_ = true;
  SetText(std::wstring(text.begin(), text.end()));
  showingText_ = false;
}

double TSpinEdit::Value() const { return value_.Value(Text16()); }

void TSpinEdit::SetValue(double x) { ShowText(value_.SetValue(x)); }

void TSpinEdit::SetDecimalPlaces(int places) {
  const std::u16string before = Text16();
  const std::u16string after = value_.SetDecimalPlaces(places, before);
  if (after != before) ShowText(after);
}

void TSpinEdit::UpClick() {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  value_.TextEdited = true;
  if (OnUpClick)
    OnUpClick(this);
  else
    ShowText(value_.StepUp(Text16()));
}

void TSpinEdit::DownClick() {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  value_.TextEdited = true;
  if (OnDownClick)
    OnDownClick(this);
  else
    ShowText(value_.StepDown(Text16()));
}

bool TSpinEdit::DoKeyDown(WORD& key, TShiftState shift) {
  const bool consumed = TEdit::DoKeyDown(key, shift);
  if (key == VK_UP)
    UpClick();
  else if (key == VK_DOWN)
    DownClick();
  return consumed;
}

bool TSpinEdit::DoKeyPress(wchar_t& key) {
  if (TEdit::DoKeyPress(key)) return true;
  DWORD selStart = 0;
  if (HandleAllocated()) SendMessageW(handle_, EM_GETSEL, WPARAM(&selStart), 0);
  if (!value_.IsValidChar(char16_t(key), Text16(), int(selStart))) {
    MessageBeep(0);
    key = 0;
    return true;
  }
  return false;
}

void TSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      // Text that arrives other than by SetValue (typing, pasting, WM_SETTEXT from outside)
      // is what the box now holds, so the value is read from it.
      if (HIWORD(m.WParam) == EN_CHANGE && !showingText_) value_.TextEdited = true;
      break;
    case WM_MOUSEWHEEL:
      if (ReadOnly()) break;
      ShowText(value_.Wheel(Text16(), GET_WHEEL_DELTA_WPARAM(m.WParam)));
      m.Result = 1;
      return;
    case WM_PASTE:
    case WM_CUT:
      if (!value_.EditorEnabled || ReadOnly()) return;
      break;
    case CM_EXIT: {
      TEdit::WndProc(m);
      std::u16string clamped;
      if (value_.ClampOnExit(Text16(), clamped)) ShowText(clamped);
      return;
    }
  }
  TEdit::WndProc(m);
}

void TSpinEdit::LayoutButton() {
  const int h = Height() - 4;
  button_->SetBounds(Width() - kSpinWidth - 4, 0, kSpinWidth, h > 0 ? h : 0);
  // The text stops short of the arrows.
  if (HandleAllocated())
    SendMessageW(handle_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kSpinWidth + 1));
}

void TSpinEdit::BoundsChanged() {
  TEdit::BoundsChanged();
  if (button_) LayoutButton();
  RepositionLabel();
}

void TSpinEdit::VisibleChanged() {
  TEdit::VisibleChanged();
  if (boundLabel_) boundLabel_->SetVisible(Visible());
}

TLabel* TSpinEdit::SetBoundLabel(const std::wstring& caption, TColor color) {
  if (!boundLabel_) {
    boundLabel_ = new TBoundLabel(Owner() ? Owner() : this, this);
    boundLabel_->SetName(Name() + L"Label");
    boundLabel_->FreeNotification(this);
    boundLabel_->SetTransparent(true);
  }
  boundLabel_->SetParent(Parent());
  boundLabel_->SetCaption(caption);
  TFont font = Parent() ? Parent()->Font() : Font();
  font.SetColor(color);
  boundLabel_->SetFont(font);
  boundLabel_->SetVisible(Visible());
  RepositionLabel();
  return boundLabel_;
}

void TSpinEdit::RepositionLabel() {
  if (!boundLabel_ || !boundLabel_->Visible()) return;
  boundLabel_->SetAutoSize(true);
  boundLabel_->SetBounds(Left(), Top() - boundLabel_->Height(), boundLabel_->Width(),
                         boundLabel_->Height());
}

void TSpinEdit::Notification(TComponent* c, TOperation op) {
  TEdit::Notification(c, op);
  if (op == TOperation::opRemove && c == boundLabel_) boundLabel_ = nullptr;
}

TSpinEdit::~TSpinEdit() {
  if (boundLabel_) static_cast<TBoundLabel*>(boundLabel_)->Detach();
}
