#include "skin/controls/sSpeedButton.h"

#include <algorithm>

#include "skin/controls/sButton.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"
#include "toolkit/WinControl.h"

// [SECTION] TsSpeedButton: construction and properties

TsSpeedButton::TsSpeedButton(TComponent* owner)
    : TGraphicControl(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  skinData_->ControlKind = ckSpeedButton;
  SetBounds(0, 0, 23, 22);
  skinData_->ApplyDefaultSection();
}

TsSpeedButton::~TsSpeedButton() {
  StopAnimation(animTimer_);
  skinData_.reset();
}

void TsSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  skinData_->ApplyDefaultSection();
}

void TsSpeedButton::SetDown(bool value) {
  if (down_ == value) return;
  down_ = value;
  skinData_->Invalidate();
}

void TsSpeedButton::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  skinData_->Invalidate();
}

void TsSpeedButton::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  skinData_->Invalidate();
}

void TsSpeedButton::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  skinData_->Invalidate();
}

void TsSpeedButton::SetGlyph(const TzkBitmap& glyph) {
  glyph_.Assign(glyph);
  skinData_->Invalidate();
}

void TsSpeedButton::SetNumGlyphs(int value) {
  numGlyphs_ = std::max(1, value);
  Invalidate();
}

void TsSpeedButton::SetSpacing(int value) {
  spacing_ = value;
  Invalidate();
}

int TsSpeedButton::VisualState() const {
  if (down_ || pressed_) return 2;
  return skinData_->IsHot() ? 1 : 0;
}

// [SECTION] TsSpeedButton: the cached image and painting

void TsSpeedButton::PrepareCache() {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  if (!tables) return;
  d.PrepareCacheBitmap();
  TzkBitmap& cache = *d.CacheBmp;
  if (cache.Empty()) return;
  const TsBackgroundInfo bg = d.GetBackground();
  if (bg.IsBitmap && (!bg.Bitmap || bg.Bitmap->Width() == 0)) return;
  const int state = VisualState();
  PaintSkinnedItem(tables, d.Look(), bg, clFuchsia, true, true, &cache, TPoint(Left(), Top()),
                   TRect(0, 0, cache.Width(), cache.Height()), state);
  d.UpdateCorners(state);
  PaintGlyph(&cache, state);
  if (!Enabled()) {
    const TColor parentColor = Parent() ? ColorToRGB(Parent()->Color()) : ColorToRGB(clBtnFace);
    PaintDisabledLook(cache, disabledKind_, parentColor, TPoint(Left(), Top()), bg);
  }
  if (OnPaint) OnPaint(this, cache);
  d.BGChanged = false;
}

void TsSpeedButton::PaintGlyph(TzkBitmap* cache, int /*state*/) {
  if (glyph_.Empty()) return;
  const int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
  const int x0 = (Width() - gw) / 2, y0 = (Height() - gh) / 2;
  if (!cache) {
    TzkBitmap part = NewBitmap24(gw, gh);
    part.Assign(glyph_);
    part.SetSize(gw, gh);
    DrawBitmapToDC(Canvas().Handle(), x0, y0, part, TRect(0, 0, gw, gh));
    return;
  }
  const int bpp = glyph_.BytesPerPixel(), cbpp = cache->BytesPerPixel();
  for (int y = 0; y < gh; ++y) {
    const int ty = y0 + y;
    if (ty < 0 || ty >= cache->Height()) continue;
    const uint8_t* src = glyph_.ScanLine(y);
    uint8_t* dst = cache->ScanLine(ty);
    for (int x = 0; x < gw; ++x) {
      const int tx = x0 + x;
      const uint8_t* p = src + x * bpp;
      if (tx < 0 || tx >= cache->Width() || (p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF)) continue;
      std::copy(p, p + 3, dst + tx * cbpp);
    }
  }
}

void TsSpeedButton::PaintUnskinned() {
  RECT r = {0, 0, Width(), Height()};
  UINT state = DFCS_BUTTONPUSH | (VisualState() == 2 ? DFCS_PUSHED : 0) | (flat_ ? DFCS_FLAT : 0);
  if (!Enabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(Canvas().Handle(), &r, DFC_BUTTON, state);
  PaintGlyph(nullptr, VisualState());
}

void TsSpeedButton::Paint() {
  TsCommonData& d = *skinData_;
  TsSkinView* manager = d.SkinManager();
  if (d.SkinIndex < 0 && manager && manager->Active()) d.UpdateIndexes();
  if (!d.Skinned(true)) {
    PaintUnskinned();
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  HDC dc = Canvas().Handle();
  if (animTimer_ && animTimer_->FrameImage && animTimer_->FrameImage->Width() == Width()) {
    const TzkBitmap& frame = *animTimer_->FrameImage;
    DrawBitmapToDC(dc, 0, 0, frame, TRect(0, 0, frame.Width(), frame.Height()));
    return;
  }
  if (lastDown_ != (down_ || pressed_) || d.PartlyHidden || lastNumGlyphs_ != numGlyphs_ ||
      lastSpacing_ != spacing_)
    d.BGChanged = true;
  lastDown_ = down_ || pressed_;
  lastNumGlyphs_ = numGlyphs_;
  lastSpacing_ = spacing_;
  d.PartlyHidden = d.ShowsParentBackground() || transparent_;
  if (d.BGChanged && !d.SkipPaint) PrepareCache();
  if (d.CacheBmp->Empty()) return;
  d.UpdateCorners(0);
  DrawBitmapToDC(dc, 0, 0, *d.CacheBmp, TRect(0, 0, Width(), Height()));
}

// [SECTION] TsSpeedButton: mouse and fades

void TsSpeedButton::StopAnimationAndShow() {
  const bool stepShown = animTimer_ && animTimer_->Step > 1;
  StopAnimation(animTimer_);
  if (stepShown) {
    skinData_->BGChanged = true;
    Repaint();
  }
}

void TsSpeedButton::RequestFade(TzkAnimatEvent event, bool halve) {
  TsCommonData& d = *skinData_;
  const TsGeneralData* s = d.Section();
  const bool allowed = AnimationAllowed(event, animatEvents_, d.SkinManager());
  if (allowed && d.Skinned() && s && s->FadingEnabled && !d.BGChanged && Parent() &&
      Showing()) {
    StartAnimation(*this, halve);
    d.BGChanged = true;
  } else {
    d.BGChanged = true;
    StopAnimationAndShow();
    Repaint();
  }
  d.ShowGlow(halve);
}

void TsSpeedButton::MouseEntered() {
  TsCommonData& d = *skinData_;
  if (d.MouseAbove) return;
  d.MouseAbove = true;
  if (Enabled() && !IsDesigning()) RequestFade(aeMouseEnter, false);
}

void TsSpeedButton::MouseLeft() {
  TsCommonData& d = *skinData_;
  if (!d.MouseAbove) return;
  d.MouseAbove = false;
  pressed_ = false;
  if (Visible() && Enabled() && !IsDesigning()) RequestFade(aeMouseLeave, false);
}

void TsSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && Enabled()) {
    pressed_ = true;
    RequestFade(aeMouseDown, true);
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TsSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && pressed_) {
    pressed_ = false;
    RequestFade(aeMouseUp, true);
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

// [SECTION] TsSpeedButton: messages

bool TsSpeedButton::SkinCommandMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (CommandCodeOf(m.WParam)) {
    case zcStopAnimation:
      StopAnimationAndShow();
      return true;
    case zcRepaintFrame:
      d.Updating = false;
      d.BGChanged = true;
      Repaint();
      return true;
    case zcParentUpdateEnd:
      if (d.Updating) {
        d.Updating = false;
        Repaint();
      }
      return true;
    case zcQueryUpdating:
      m.Result = d.Updating ? 1 : 0;
      return true;
    case zcSectionChanged:
      Repaint();
      return true;
    case zcSkinNew:
    case zcSkinRemove:
    case zcSkinRefresh:
      StopAnimation(animTimer_);
      d.CommonMessage(m);
      Repaint();
      return true;
    default:
      return d.CommonMessage(m);
  }
}

void TsSpeedButton::WndProc(TMessage& m) {
  if (IsSkinCommand(m)) {
    if (!SkinCommandMessage(m)) TGraphicControl::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // The parents hear of it first: an edit around the button repaints and marks the button
      // stale, so the button is painted again before its fade starts from its current look.
      TGraphicControl::WndProc(m);
      if (reinterpret_cast<TControl*>(m.LParam) != this) return;
      if (Parent()) Parent()->Update();
      if (m.Msg == CM_MOUSEENTER)
        MouseEntered();
      else
        MouseLeft();
      return;
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
    case CM_TEXTCHANGED:
      StopAnimation(animTimer_);
      skinData_->CommonMessage(m);
      skinData_->BGChanged = true;
      TGraphicControl::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

// [SECTION] TsTimerSpeedButton

TArrowPoints SpinArrowPoints(int width, int height, bool up) {
  const int x0 = (width - 9) / 2, y0 = (height - 5) / 2;
  const int yb = up ? y0 + 4 : y0 + 1;
  const int ya = up ? y0 + 1 : y0 + 4;
  return {{TPoint(x0 + 1, yb), TPoint(x0 + 7, yb), TPoint(x0 + 4, ya)}};
}

TsTimerSpeedButton::TsTimerSpeedButton(TComponent* owner) : TsSpeedButton(owner) {}

TColor TsTimerSpeedButton::ArrowColor(int state) {
  TsCommonData& d = SkinData();
  if (!d.Skinned()) return Enabled() ? Font().Color() : clGrayText;
  const TsGeneralData* own = d.Section();
  if (state != 0 || !ArrowColorSource || !ArrowColorSource->Section())
    return TColor(own->FontColor.Color);
  return TColor(ArrowColorSource->Section()->FontColor.Color);
}

void TsTimerSpeedButton::PaintGlyph(TzkBitmap* cache, int state) {
  if (!Glyph().Empty()) {
    TsSpeedButton::PaintGlyph(cache, state);
    return;
  }
  const TArrowPoints a = SpinArrowPoints(Width(), Height(), Up);
  const POINT pts[3] = {{a.P[0].X, a.P[0].Y}, {a.P[1].X, a.P[1].Y}, {a.P[2].X, a.P[2].Y}};
  const COLORREF c = ToColorRef(ColorToRGB(ArrowColor(state)));
  const auto draw = [&](HDC dc) {
    TBrushHandle brush(CreateSolidBrush(c));
    TPenHandle pen(CreatePen(PS_SOLID, 1, c));
    TSelectObject b(dc, brush.Get());
    TSelectObject p(dc, pen.Get());
    Polygon(dc, pts, 3);
  };
  if (cache)
    DrawOnBitmap(*cache, draw);
  else
    draw(Canvas().Handle());
}

void TsTimerSpeedButton::Paint() {
  TsSpeedButton::Paint();
  const TWinControl* spin = Parent();
  if (!(TimerOptions & toShowFocus) || !spin || !spin->HandleAllocated() ||
      GetFocus() != spin->WindowHandle())
    return;
  RECT r = {3, 3, Width() - 3, Height() - 3};
  if (VisualState() == 2) OffsetRect(&r, 1, 1);
  DrawFocusRect(Canvas().Handle(), &r);
}

bool TsTimerSpeedButton::HoldsMouse() const {
  const TWinControl* p = Parent();
  return Pressed() && p && p->HandleAllocated() && GetCapture() == p->WindowHandle();
}

void TsTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TsSpeedButton::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled() || !(TimerOptions & toAllowTimer)) return;
  if (!repeatTimer_) {
    repeatTimer_ = new TTimer(this);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->OnTimer = [this](TObject*) { TimerExpired(); };
  }
  repeatTimer_->SetInterval(kFirstDelay);
  repeatTimer_->SetEnabled(true);
}

void TsTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TsSpeedButton::MouseUp(button, shift, x, y);
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TsTimerSpeedButton::TimerExpired() {
  repeatTimer_->SetInterval(kRepeatDelay);
  if (!HoldsMouse()) return;
  try {
    Click();
  } catch (...) {
    repeatTimer_->SetEnabled(false);
    throw;
  }
}
