#include "skin/controls/sSpinEdit.h"

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

char16_t PlatformDecimalSeparator() {
  wchar_t sep[4] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 4) > 0 && sep[0])
    return char16_t(sep[0]);
  return u'.';
}

}  // namespace

// [SECTION] TsSpinButton

TsSpinButton::TsSpinButton(TComponent* owner, TsBaseSpinEdit* spinEdit)
    : TWinControl(owner), spinEdit_(spinEdit) {
  SetControlStyle(ControlStyle() & ~(csAcceptsControls | csSetCaption));
  upButton_ = MakeButton(true);
  downButton_ = MakeButton(false);
  focusedButton_ = upButton_;
  SetBounds(0, 0, kDefaultWidth, 17);
}

TsTimerSpeedButton* TsSpinButton::MakeButton(bool up) {
  auto* b = new TsTimerSpeedButton(this);
  b->Up = up;
  b->SkinData().SetSkinSection("SPEEDBUTTON_SMALL");
  b->SetParent(this);
  b->OnClick = [this](TObject* sender) { ButtonClicked(sender); };
  b->SetVisible(true);
  b->SetEnabled(true);
  b->SetFlat(false);
  b->SetTransparent(true);
  b->TimerOptions = toAllowTimer;
  if (spinEdit_) b->ArrowColorSource = &spinEdit_->SkinData();
  return b;
}

void TsSpinButton::LayoutButtons() {
  if (Width() < kMinWidth) {
    SetWidth(kMinWidth);  // comes back here through BoundsChanged
    return;
  }
  const int half = Height() / 2;
  upButton_->SetBounds(0, 0, Width(), half);
  downButton_->SetBounds(0, half, Width(), Height() - half);
}

void TsSpinButton::BoundsChanged() {
  TWinControl::BoundsChanged();
  if (upButton_) LayoutButtons();
}

void TsSpinButton::Loaded() {
  TWinControl::Loaded();
  LayoutButtons();
}

void TsSpinButton::ResetGlyphs() {
  for (TsTimerSpeedButton* b : {upButton_, downButton_}) {
    b->SkinData().BGChanged = true;
    b->Invalidate();
  }
}

void TsSpinButton::SetFocusedButton(TsTimerSpeedButton* button) {
  if (focusedButton_ == button) return;
  focusedButton_->TimerOptions &= ~unsigned(toShowFocus);
  focusedButton_->Invalidate();
  focusedButton_ = button;
  focusedButton_->TimerOptions |= toShowFocus;
  focusedButton_->Invalidate();
}

void TsSpinButton::ButtonClicked(TObject* sender) {
  const TNotifyEvent& event = sender == upButton_ ? OnUpClick : OnDownClick;
  if (event) event(this);
}

void TsSpinButton::ButtonPressed(TsTimerSpeedButton* button) {
  if (CanFocus()) SetFocusedButton(button);
  if (FocusControl && FocusControl->CanFocus() && !FocusControl->Focused())
    FocusControl->SetFocus();
  else if (!FocusControl && TabStop() && CanFocus())
    SetFocus();
}

void TsSpinButton::AnswerBackground(TsBackgroundRequest& r) {
  TsCommonData& d = spinEdit_->SkinData();
  const int b = spinEdit_->BorderWidth();
  r.Color = TColor(SendCommandToControl(spinEdit_, zcGetBackgroundColor));
  if (!d.Skinned() || !d.CacheBmp || d.CacheBmp->Empty()) {
    AnswerWithColor(r, r.Color);
    return;
  }
  r.BgType = btBitmap;
  r.X = Left() + b;
  r.Y = Top() + b;
  if (r.PleaseDraw && r.DC) {
    DrawBitmapToDC(r.DC, r.Rect.Left, r.Rect.Top, *d.CacheBmp,
                   TRect(r.X, r.Y, r.X + r.Rect.Width(), r.Y + r.Rect.Height()));
    return;
  }
  r.Bitmap = d.CacheBmp.get();
}

void TsSpinButton::PaintWindow(HDC dc) {
  // The two buttons cover the whole window; unskinned, the gap of an odd width is filled.
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

void TsSpinButton::WndProc(TMessage& m) {
  if (IsSkinCommand(m) && spinEdit_) {
    switch (CommandCodeOf(m.WParam)) {
      case zcGetBackground:
        if (auto* r = reinterpret_cast<TsBackgroundRequest*>(m.LParam)) AnswerBackground(*r);
        return;
      case zcQueryUpdating:
        m.Result = spinEdit_->SkinData().Updating ? 1 : 0;
        return;
      case zcGetBackgroundColor:
        m.Result = SendCommandToControl(spinEdit_, zcGetBackgroundColor);
        return;
      case zcIsSkinned:
        m.Result = 1;
        return;
      default:
        break;
    }
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const TPoint p(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)));
      if (auto* b = dynamic_cast<TsTimerSpeedButton*>(ControlAtPos(p))) ButtonPressed(b);
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focusedButton_->TimerOptions =
          m.Msg == WM_SETFOCUS ? (focusedButton_->TimerOptions | toShowFocus)
                               : (focusedButton_->TimerOptions & ~unsigned(toShowFocus));
      focusedButton_->Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      ResetGlyphs();
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// [SECTION] TsBaseSpinEdit

TsBaseSpinEdit::TsBaseSpinEdit(TComponent* owner) : TsEdit(owner) {
  button_ = new TsSpinButton(this, this);
  button_->SetVisible(false);
  button_->SetParent(this);
  button_->FocusControl = this;
  button_->OnUpClick = [this](TObject*) { UpClick(); };
  button_->OnDownClick = [this](TObject*) { DownClick(); };
  button_->ResetGlyphs();
  button_->SetVisible(true);
  SetEditRect();
}

void TsBaseSpinEdit::CreateParams(TCreateParams& p) {
  TsEdit::CreateParams(p);
  p.Style &= ~DWORD(WS_BORDER);
  p.Style |= WS_CLIPCHILDREN | ES_MULTILINE;
}

void TsBaseSpinEdit::CreateWnd() {
  TsEdit::CreateWnd();
  SetEditRect();
}

void TsBaseSpinEdit::Loaded() {
  TsEdit::Loaded();
  button_->ResetGlyphs();
  SetEditRect();
}

void TsBaseSpinEdit::BoundsChanged() {
  TsEdit::BoundsChanged();
  if (button_) SetEditRect();
}

void TsBaseSpinEdit::SetEditRect() {
  if (!button_) return;
  const int w = button_->Width();
  button_->SetBounds(Width() - w - 4, 0, w, std::max(0, Height() - 4));
  if (!HandleAllocated()) return;
  RECT r = {0, 0, Width() - w - 3, ClientHeight() + 1};
  SendMessageW(handle_, EM_SETRECTNP, 0, LPARAM(&r));
}

void TsBaseSpinEdit::UpClick() {
  if (OnUpClick) OnUpClick(this);
}

void TsBaseSpinEdit::DownClick() {
  if (OnDownClick) OnDownClick(this);
}

bool TsBaseSpinEdit::IsValidChar(wchar_t key) {
  return editorEnabled_ || (key != 8 && (key < 32 || key > 255));
}

bool TsBaseSpinEdit::DoKeyDown(WORD& key, TShiftState shift) {
  const bool consumed = TsEdit::DoKeyDown(key, shift);
  if (key == VK_UP)
    UpClick();
  else if (key == VK_DOWN)
    DownClick();
  if (!consumed) SetEditRect();
  return consumed;
}

bool TsBaseSpinEdit::DoKeyPress(wchar_t& key) {
  if (TsEdit::DoKeyPress(key)) return true;
  if (IsValidChar(key)) return false;
  MessageBeep(0);
  key = 0;
  return true;
}

void TsBaseSpinEdit::PaintOverCache(TzkBitmap& cache) {
  const int b = BorderWidth();
  for (TsTimerSpeedButton* sb : {button_->UpButton(), button_->DownButton()}) {
    sb->PrepareCache();
    const TzkBitmap& img = *sb->SkinData().CacheBmp;
    if (img.Empty()) continue;
    const int x0 = b + button_->Left() + sb->Left(), y0 = b + button_->Top() + sb->Top();
    const int bpp = img.BytesPerPixel(), cbpp = cache.BytesPerPixel();
    for (int y = 0; y < img.Height(); ++y) {
      if (y0 + y < 0 || y0 + y >= cache.Height()) continue;
      const uint8_t* src = img.ScanLine(y);
      uint8_t* dst = cache.ScanLine(y0 + y);
      for (int x = 0; x < img.Width(); ++x)
        if (x0 + x >= 0 && x0 + x < cache.Width())
          std::copy(src + x * bpp, src + x * bpp + 3, dst + (x0 + x) * cbpp);
    }
  }
}

bool TsBaseSpinEdit::SkinCommandExtra(TMessage& m) {
  TsCommonData& d = SkinData();
  const TsSkinCommand c = SkinCommandOf(m);
  switch (c.Code) {
    case zcSkinNew:
    case zcSkinRemove:
    case zcSkinRefresh:
      for (TsTimerSpeedButton* b : {button_->UpButton(), button_->DownButton()}) {
        TMessage copy = m;
        b->WindowProc(copy);
        if (c.Code == zcSkinNew) b->SetEnabled(true);
        else b->Invalidate();
      }
      button_->ResetGlyphs();
      SetEditRect();
      EnabledFollows();
      return false;
    case zcParentUpdateEnd:
      if (button_->HandleAllocated()) button_->Repaint();
      return false;
    case zcGetBackgroundColor: {
      TColor color = d.EffectiveColor(0);
      if (!Enabled() && Parent()) color = LerpColor(ColorToRGB(Parent()->Color()), color, 0.5);
      m.Result = LRESULT(uint32_t(color));
      return true;
    }
    case zcGetBackground:
      if (auto* r = reinterpret_cast<TsBackgroundRequest*>(m.LParam)) d.AnswerBackground(*r, 0);
      return true;
    default:
      return false;
  }
}

void TsBaseSpinEdit::EnabledFollows() {
  const bool skinned = SkinData().Skinned(true);
  button_->SetEnabled(Enabled());
  button_->SetVisible(!skinned || Enabled());
  if (!skinned) {
    button_->UpButton()->SetEnabled(Enabled());
    button_->DownButton()->SetEnabled(Enabled());
  }
}

void TsBaseSpinEdit::StaleButtons() {
  for (TsTimerSpeedButton* b : {button_->UpButton(), button_->DownButton()}) {
    b->SkinData().BGChanged = true;
    b->Invalidate();
  }
}

void TsBaseSpinEdit::WndProc(TMessage& m) {
  const bool skinned = !IsSkinCommand(m) && HandleAllocated() && SkinData().Skinned(true);
  if (skinned && m.Msg == WM_PAINT && !SkinData().IsUpdating() && Enabled()) {
    // The buttons show the edit's image through them: they are painted again over the new one.
    for (TsTimerSpeedButton* b : {button_->UpButton(), button_->DownButton()}) {
      SendCommandToControl(b, zcStopAnimation);
      b->SkinData().BGChanged = true;
    }
    if (button_->HandleAllocated()) InvalidateRect(button_->WindowHandle(), nullptr, FALSE);
  }
  if (m.Msg == WM_PASTE || m.Msg == WM_CUT) {
    if (!editorEnabled_ || ReadOnly()) return;
  }
  TsEdit::WndProc(m);
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      EnabledFollows();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (reinterpret_cast<TControl*>(m.LParam) == this) StaleButtons();
      break;
    case WM_SETFOCUS:
      if (autoSelect_) SelectAll();
      break;
    case CM_FONTCHANGED:
    case WM_SETFONT:
      SetEditRect();
      break;
    default:
      break;
  }
}

// [SECTION] TsDecimalSpinEdit

TsDecimalSpinEdit::TsDecimalSpinEdit(TComponent* owner) : TsBaseSpinEdit(owner) {
  value_.DecimalSeparator = PlatformDecimalSeparator();
  value_.UseSystemDecSeparator = true;
  value_.Increment = 1;
  value_.DecimalPlaces = 2;
  value_.TextEdited = false;
  SetValue(0);
}

std::u16string TsDecimalSpinEdit::Text16() const {
  const std::wstring t = Text();
  return std::u16string(t.begin(), t.end());
}

void TsDecimalSpinEdit::ShowText(const std::u16string& text) {
  showingText_ = true;
  SetText(std::wstring(text.begin(), text.end()));
  showingText_ = false;
}

double TsDecimalSpinEdit::Value() const { return value_.Value(Text16()); }

void TsDecimalSpinEdit::SetValue(double x) {
  const std::u16string text = value_.SetValue(x);
  if (!IsLoading()) ShowText(text);
}

void TsDecimalSpinEdit::SetDecimalPlaces(int places) {
  const std::u16string before = Text16();
  const std::u16string after = value_.SetDecimalPlaces(places, before);
  if (after != before) ShowText(after);
}

void TsDecimalSpinEdit::UpClick() {
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

void TsDecimalSpinEdit::DownClick() {
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

bool TsDecimalSpinEdit::IsValidChar(wchar_t key) {
  DWORD selStart = 0;
  if (HandleAllocated()) SendMessageW(handle_, EM_GETSEL, WPARAM(&selStart), 0);
  value_.EditorEnabled = EditorEnabled();
  return value_.IsValidChar(char16_t(key), Text16(), int(selStart));
}

void TsDecimalSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      // Text that arrives other than by SetValue (typing, pasting, WM_SETTEXT from outside)
      // is what the box now holds, so the value is read from it.
      if (HIWORD(m.WParam) == EN_CHANGE && !showingText_) value_.TextEdited = true;
      break;
    case WM_SETTEXT:
      // A multi-line edit reports no change for text set by message.
      if (!showingText_) value_.TextEdited = true;
      break;
    case WM_MOUSEWHEEL:
      if (ReadOnly()) break;
      ShowText(value_.Wheel(Text16(), GET_WHEEL_DELTA_WPARAM(m.WParam)));
      m.Result = 1;
      return;
    case CM_EXIT: {
      TsBaseSpinEdit::WndProc(m);
      std::u16string clamped;
      if (value_.ClampOnExit(Text16(), clamped)) ShowText(clamped);
      return;
    }
    default:
      break;
  }
  TsBaseSpinEdit::WndProc(m);
}
