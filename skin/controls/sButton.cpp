#include "skin/controls/sButton.h"

#include <algorithm>
#include <vector>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"

// [SECTION] Drawing on bitmaps

// [SECTION] Construction and properties

TsButton::TsButton(TComponent* owner)
    : TButton(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  skinData_->ControlKind = ckButton;
  SetControlStyle(ControlStyle() & ~(csOpaque | csDoubleClicks));
  skinData_->ApplyDefaultSection();
}

TsButton::~TsButton() {
  StopFade(fadeTimer_);
  skinData_.reset();
}

void TsButton::Loaded() {
  TButton::Loaded();
  skinData_->ApplyDefaultSection();
}

void TsButton::SetDown(bool value) {
  if (down_ == value) return;
  down_ = value;
  stateChanged_ = true;
  if (!IsLoading()) skinData_->Invalidate();
}

void TsButton::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  if (!IsLoading()) skinData_->Invalidate();
}

void TsButton::SetShowFocus(bool value) {
  if (showFocus_ == value) return;
  showFocus_ = value;
  if (!IsLoading()) skinData_->Invalidate();
}

void TsButton::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  if (!IsLoading()) skinData_->Invalidate();
}

void TsButton::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  if (skinData_->Skinned(true)) p.Style |= BS_OWNERDRAW;
}

void TsButton::CreateWnd() {
  TButton::CreateWnd();
  firstPaint_ = true;
}

void TsButton::DefaultStyleChanged(bool isDefault) {
  activeStyle_ = isDefault;
  if (!skinData_->Skinned(true)) {
    TButton::DefaultStyleChanged(isDefault);
    return;
  }
  stateChanged_ = true;
  skinData_->Invalidate();
}

void TsButton::SetOwnerDraw(bool on) {
  if (!HandleAllocated()) return;
  const DWORD style = on ? BS_OWNERDRAW : (activeStyle_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  SendMessageW(handle_, BM_SETSTYLE, style, TRUE);
}

bool TsButton::FadeRunning() const { return fadeTimer_ && fadeTimer_->Enabled(); }

void TsButton::ResetShape() {
  pendingRegion_.Reset();
  if (HandleAllocated()) SetWindowRgn(handle_, nullptr, TRUE);
}

// [SECTION] State

int TsButton::ButtonState() const {
  if (forcePressed_ || down_) return 2;
  if (handle_) {
    const bool pushed = (SendMessageW(handle_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool leftDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    if (pushed && (skinData_->MouseAbove || !leftDown)) return 2;
    if ((GetWindowLongW(handle_, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON) return 1;
  }
  if (activeStyle_ || skinData_->IsHot()) return 1;
  return 0;
}

// [SECTION] The cached image

TRect ButtonCaptionRect(int width, int height, TSize text, bool pressed) {
  const int dx = (width - text.cx) / 2;
  const int dy = (height - text.cy) / 2;
  const TRect r(dx - 1, dy, width - dx + 2, height - dy);
  return pressed ? r.Offset(1, 1) : r;
}

namespace {

UINT CaptionFlags(bool wordWrap, HWND wnd) {
  UINT flags = DT_EXPANDTABS | DT_CENTER | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  if (wnd && (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_RTLREADING)) flags |= DT_RTLREADING;
  return flags;
}

TRect CaptionRectFor(HDC dc, const std::wstring& text, int width, int height, UINT flags, int state) {
  RECT r = {0, 0, text.empty() ? 0 : width - 2, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, flags | DT_CALCRECT);
  return ButtonCaptionRect(width, height, TSize(r.right - r.left, r.bottom - r.top), state == 2);
}

void PutPixel(TzkBitmap& b, int x, int y, uint8_t v) {
  if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
  uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  p[0] = p[1] = p[2] = v;
}

}  // namespace

TRect TsButton::CaptionRect() {
  TMemoryDcHandle dc(CreateCompatibleDC(nullptr));
  TSelectObject font(dc.Get(), Font().Handle());
  return CaptionRectFor(dc.Get(), Caption(), Width(), Height(), CaptionFlags(wordWrap_, handle_),
                        ButtonState());
}

void TsButton::PrepareCache() {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  if (!tables) return;
  const TsBackgroundInfo bg = d.GetBackground();
  d.PrepareCacheBitmap();
  TzkBitmap& cache = *d.CacheBmp;
  if (cache.Empty()) return;
  const int state = ButtonState();
  const TsItemLook look = d.Look();
  PaintSection(look.SectionIndex, look.SectionName, bg, d.CustomColor() ? ColorToRGB(Color()) : clFuchsia,
               look.HotTextureIndex, look.TextureIndex, tables, cache, TPoint(Left(), Top()),
               TRect(0, 0, cache.Width(), cache.Height()), state);
  if (stateChanged_) pendingRegion_.Reset(CreateRectRgn(0, 0, Width(), Height()));
  PaintBorder(state, bg);
  PaintCaption(state);
  if (!Enabled()) {
    const TColor parentColor = Parent() ? ColorToRGB(Parent()->Color()) : ColorToRGB(clBtnFace);
    PaintDisabledLook(cache, disabledKind_, parentColor, TPoint(Left(), Top()), bg);
  }
  d.BGChanged = false;
}

void TsButton::PaintBorder(int state, const TsBackgroundInfo& bg) {
  TsCommonData& d = *skinData_;
  const TsSkinTables& tables = *d.Tables();
  if (!tables.IsValidMask(d.BorderIndex)) return;
  const TsMaskData& mask = tables.Masks[size_t(d.BorderIndex)];
  if (state == 0 && (mask.StretchMode & kHiddenInNormal)) return;
  TzkBitmap& cache = *d.CacheBmp;
  PaintBorderMask(cache, TRect(0, 0, cache.Width(), cache.Height()), false, false, state, mask,
                  bg.Moved(Left(), Top()));
  if (!pendingRegion_) return;
  // The key-coloured pixels of the corners are no part of the window.
  std::vector<TRect> runs;
  CollectKeyRuns(runs, cache.Width(), mask, false, 0);
  CollectKeyRuns(runs, cache.Width(), mask, true, cache.Height() - std::min<int>(mask.WB, cache.Height()));
  for (const TRect& r : runs) {
    TRegionHandle cut(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    CombineRgn(pendingRegion_.Get(), pendingRegion_.Get(), cut.Get(), RGN_DIFF);
  }
}

void TsButton::PaintCaption(int state) {
  TsCommonData& d = *skinData_;
  TzkBitmap& cache = *d.CacheBmp;
  const std::wstring text = Caption();
  const UINT flags = CaptionFlags(wordWrap_, handle_);
  TRect rect;
  DrawOnBitmap(cache, [&](HDC dc) {
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    rect = CaptionRectFor(dc, text, cache.Width(), cache.Height(), flags, state);
    PaintSectionText(dc, text, true, d.Tables(), state != 0, d.SkinIndex, flags, rect);
  });
  const TsGeneralData* s = d.Section();
  const bool focused = HandleAllocated() && GetFocus() == handle_;
  if (!Enabled() || !focused || text.empty() || !s || !s->ShowFocus || !showFocus_) return;
  const TRect r(rect.Left - focusMargin_, rect.Top - focusMargin_, rect.Right + focusMargin_,
                rect.Bottom + focusMargin_);
  // A dotted frame set pixel by pixel: black dots every third pixel, white ones beside them.
  for (int i = 0; i <= r.Width() / 3; ++i) {
    PutPixel(cache, r.Left + 3 * i, r.Top, 0);
    PutPixel(cache, r.Left + 3 * i, r.Bottom, 0);
    PutPixel(cache, r.Left + 3 * i - 1, r.Top - 1, 255);
    PutPixel(cache, r.Left + 3 * i - 1, r.Bottom - 1, 255);
  }
  for (int j = 0; j <= r.Height() / 3; ++j) {
    PutPixel(cache, r.Left, r.Top + 3 * j, 0);
    PutPixel(cache, r.Right, r.Top + 3 * j, 0);
    PutPixel(cache, r.Left - 1, r.Top + 3 * j - 1, 255);
    PutPixel(cache, r.Right - 1, r.Top + 3 * j - 1, 255);
  }
}

// [SECTION] Painting

void TsButton::PaintHandler(HDC dc, bool foreign) {
  TsCommonData& d = *skinData_;
  d.Updating = d.IsUpdating();
  if (d.Updating || FadeRunning()) return;
  if (!d.BGChanged && !d.PartlyHidden)
    d.BGChanged = Parent() && SendCommandToControl(Parent(), zcIsHalfVisible) != 0;
  else
    d.BGChanged = true;
  if (Parent()) {
    const TRect client = Parent()->ClientRect();
    const TRect b = BoundsRect();
    d.PartlyHidden = !(b.Left >= client.Left && b.Top >= client.Top && b.Right <= client.Right &&
                       b.Bottom <= client.Bottom);
  }
  const bool redrawShape = firstPaint_;
  firstPaint_ = false;
  if (stateChanged_) d.BGChanged = true;
  if (d.BGChanged) PrepareCache();
  if (d.CacheBmp->Empty()) return;
  if (stateChanged_) ApplyShape(dc, foreign, redrawShape);
  DrawBitmapToDC(dc, 0, 0, *d.CacheBmp, TRect(0, 0, d.CacheBmp->Width(), d.CacheBmp->Height()));
}

void TsButton::ApplyShape(HDC dc, bool foreign, bool redraw) {
  TsCommonData& d = *skinData_;
  const int state = ButtonState();
  d.UpdateCorners(state);
  const TsSkinTables* tables = d.Tables();
  const TsMaskData* mask = tables && tables->IsValidMask(d.BorderIndex) ? &tables->Masks[size_t(d.BorderIndex)] : nullptr;
  const int w = d.CacheBmp->Width(), h = d.CacheBmp->Height();
  if (mask) {
    const TRect corners[4] = {TRect(0, 0, mask->WL, mask->WT), TRect(0, h - mask->WB, mask->WL, h),
                              TRect(w - mask->WR, h - mask->WB, w, h), TRect(w - mask->WR, 0, w, mask->WT)};
    for (const TRect& c : corners) DrawBitmapToDC(dc, c.Left, c.Top, *d.CacheBmp, c);
  }
  const bool leftDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  if (foreign || IsDesigning() || leftDown || !pendingRegion_) return;
  SetWindowRgn(handle_, pendingRegion_.Release(), redraw);
  // A narrower or lower button leaves its old right and bottom corners on the parent.
  const TRect now = BoundsRect();
  if (mask && Parent() && Parent()->HandleAllocated() &&
      (now.Width() < lastBounds_.Width() || now.Height() < lastBounds_.Height()) &&
      !d.GetBackground().IsBitmap) {
    const TRect& o = lastBounds_;
    const RECT strips[3] = {{o.Right - mask->WR, o.Top, o.Right, o.Top + mask->WT},
                            {o.Right - mask->WR, o.Bottom - mask->WB, o.Right, o.Bottom},
                            {o.Left, o.Bottom - mask->WB, o.Left + mask->WL, o.Bottom}};
    for (const RECT& r : strips) InvalidateRect(Parent()->Handle(), &r, TRUE);
  }
  lastBounds_ = now;
  stateChanged_ = false;
}

// [SECTION] Mouse, keyboard and focus

void TsButton::MouseDownSkinned() {
  TsCommonData& d = *skinData_;
  d.Updating = false;
  pressing_ = true;
  if (down_) return;
  stateChanged_ = true;
  d.Updating = d.IsUpdating();
  d.BGChanged = false;
  StartFade(fadeTimer_, d, true, 1, AnimationAllowed(aeMouseDown, animatEvents_, d.SkinManager()));
}

void TsButton::MouseUpSkinned() {
  TsCommonData& d = *skinData_;
  pressing_ = false;
  if (fadeTimer_ && fadeTimer_->Enabled() && fadeTimer_->Step < fadeTimer_->StepCount) {
    // A quick click: the pressed look is shown for a moment before the release fades.
    StopFade(fadeTimer_);
    forcePressed_ = true;
    stateChanged_ = true;
    d.BGChanged = true;
    if (Showing()) Repaint();
    forcePressed_ = false;
    Sleep(30);
  }
  d.Updating = false;
  stateChanged_ = true;
  d.BGChanged = false;
  StartFade(fadeTimer_, d, true, 1, AnimationAllowed(aeMouseUp, animatEvents_, d.SkinManager()));
}

void TsButton::MouseEnterSkinned() {
  TsCommonData& d = *skinData_;
  if (!Enabled() || IsDesigning() || d.MouseAbove) return;
  d.MouseAbove = true;
  if (TsSkinView* manager = d.SkinManager(); manager && HandleAllocated()) manager->SetHotWindow(handle_);
  d.BGChanged = false;
  stateChanged_ = true;
  StartFade(fadeTimer_, d, false, 1, AnimationAllowed(aeMouseEnter, animatEvents_, d.SkinManager()));
}

void TsButton::MouseLeaveSkinned() {
  TsCommonData& d = *skinData_;
  if (!Enabled() || IsDesigning()) return;
  d.MouseAbove = false;
  d.BGChanged = false;
  stateChanged_ = true;
  StartFade(fadeTimer_, d, false, 1, AnimationAllowed(aeMouseLeave, animatEvents_, d.SkinManager()));
}

void TsButton::FocusChanged(TMessage& m, bool gained) {
  TsCommonData& d = *skinData_;
  if (gained) {
    if (!Visible() || IsDesigning() || !Enabled() || inFocusChange_) {
      TButton::WndProc(m);
      return;
    }
  } else if (Enabled()) {
    StopFade(fadeTimer_);
  }
  inFocusChange_ = true;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  TButton::WndProc(m);
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  inFocusChange_ = false;
  if (!gained) d.Focused = false;
  stateChanged_ = true;
  if (gained && FadeRunning()) fadeTimer_->DoTick();
  else d.Invalidate();
}

// [SECTION] Messages

bool TsButton::SkinCommandMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  const TsSkinCommand c = SkinCommandOf(m);
  const bool mine = reinterpret_cast<TsSkinView*>(c.Param) == d.SkinManager();
  switch (c.Code) {
    case zcSkinNew:
      if (!mine) return false;
      stateChanged_ = true;
      StopFade(fadeTimer_);
      d.CommonMessage(m);
      SetOwnerDraw(d.Skinned(true));
      return true;
    case zcSkinRemove:
      if (!mine || IsDestroying()) return false;
      StopFade(fadeTimer_);
      d.CommonMessage(m);
      SetOwnerDraw(false);
      ResetShape();
      if (HandleAllocated()) Repaint();
      return true;
    case zcSkinRefresh:
      if (!mine) return false;
      StopFade(fadeTimer_);
      d.CommonMessage(m);
      stateChanged_ = true;
      if (Showing()) Repaint();
      return true;
    case zcIsSkinned: m.Result = 1; return true;
    case zcStopAnimation:
      StopFade(fadeTimer_);
      // The last blended frame is a rounding step short of the new look: show the look itself.
      if (Showing() && !d.BGChanged && !d.CacheBmp->Empty()) {
        TWindowDc dc(handle_);
        DrawBitmapToDC(dc.Get(), 0, 0, *d.CacheBmp, TRect(0, 0, Width(), Height()));
      }
      return true;
    case zcPrepareCache:
      // A rebuild for a fade: its frames never change the shape, so no region is kept; the
      // next real paint makes the shape (StateChanged stays set).
      PrepareCache();
      pendingRegion_.Reset();
      return true;
    case zcFadeStep: pendingRegion_.Reset(); m.Result = 0; return true;
    case zcGetApplication: m.Result = LRESULT(Application); return true;
    case zcParentUpdateEnd:
      if (!d.Skinned()) return false;
      if (d.Updating) {
        d.Updating = false;
        if (Showing()) Repaint();
      }
      return true;
    case zcSetSkipPaint:
      if (!d.Skinned()) return false;
      d.CommonMessage(m);
      if (d.SkipPaint) PrepareCache();
      return true;
    default:
      return d.CommonMessage(m);
  }
}

bool TsButton::SkinnedMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TButton::WndProc(m);
      if (Enabled() && !IsDesigning() && !IsDestroying()) MouseDownSkinned();
      return true;
    case WM_LBUTTONUP: {
      const bool wasPressing = pressing_;
      TButton::WndProc(m);
      if (wasPressing && !IsDestroying() && HandleAllocated()) MouseUpSkinned();
      return true;
    }
    case CM_MOUSEENTER:
      if (reinterpret_cast<TControl*>(m.LParam) == this) MouseEnterSkinned();
      TButton::WndProc(m);
      return true;
    case CM_MOUSELEAVE:
      if (reinterpret_cast<TControl*>(m.LParam) == this) MouseLeaveSkinned();
      TButton::WndProc(m);
      return true;
    case WM_SETFOCUS:
    case CM_ENTER:
      d.CommonMessage(m);
      FocusChanged(m, true);
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
      d.CommonMessage(m);
      FocusChanged(m, false);
      return true;
    case WM_ENABLE:
      return true;
    case WM_PAINT: {
      if (!(Visible() || IsDesigning()) || !Parent()) return false;
      const TPaintScope paint(handle_, m.WParam);
      PaintHandler(paint.Dc(), m.WParam != 0);
      return true;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
      stateChanged_ = true;
      d.Updating = false;
      PaintHandler(HDC(m.WParam), true);
      return true;
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      if (!(Visible() || IsDesigning())) return false;
      m.Result = 1;
      return true;
    case WM_WINDOWPOSCHANGING:
      stateChanged_ = true;
      return false;
    case WM_WINDOWPOSCHANGED:
      stateChanged_ = true;
      d.BGChanged = true;
      return false;
    case WM_MOVE:
      if (d.Transparency(0) > 0 || (d.IsHot() && d.Transparency(1) > 0)) {
        d.BGChanged = true;
        if (Showing()) Repaint();
      }
      return false;
    case WM_SIZE:
      stateChanged_ = true;
      d.HideGlow();
      return false;
    case CM_FOCUSCHANGED:
      if (inFocusChange_ || !HandleAllocated()) return false;
      SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
      TButton::WndProc(m);
      SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
      // A change of the default role made while redrawing was off is shown now.
      if (d.BGChanged && Showing()) Repaint();
      return true;
    case CM_TEXTCHANGED:
      d.Invalidate();
      return false;
    case CM_UIACTIVATE:
      d.Updating = false;
      return false;
    case CN_CTLCOLORBTN:
      // The platform asks for a brush before each owner-draw notification; nothing of the
      // platform's look is painted, so no brush is made for it.
      m.Result = LRESULT(GetStockObject(NULL_BRUSH));
      return true;
    case CN_DRAWITEM:
      m.WParam = 0;
      m.LParam = 0;
      m.Result = 1;
      return true;
    case CN_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis) {
        mis->itemWidth = UINT(Width());
        mis->itemHeight = UINT(Height());
      }
      m.Result = 1;
      return true;
    }
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) StopFade(fadeTimer_);
      return false;
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) return false;
      TButton::WndProc(m);
      stateChanged_ = true;
      d.BGChanged = true;
      if (Showing()) Repaint();
      return true;
    case CM_DIALOGCHAR:
      if (m.WParam == VK_SPACE && Enabled() && HandleAllocated() && GetFocus() == handle_) {
        StopFade(fadeTimer_);
        stateChanged_ = true;
        d.BGChanged = true;
        d.HideGlow();
        Repaint();
      }
      return false;
    default:
      return false;
  }
}

void TsButton::AfterDefault(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (m.Msg) {
    case WM_SETFONT:
      if (Visible()) {
        d.Updating = false;
        d.Invalidate();
      }
      break;
    case CM_VISIBLECHANGED:
      d.BGChanged = true;
      d.Updating = false;
      if (Visible() && Showing()) Repaint();
      break;
    case CM_ENABLEDCHANGED:
      d.Updating = false;
      stateChanged_ = true;
      d.Invalidate();
      break;
    default:
      break;
  }
}

void TsButton::WndProc(TMessage& m) {
  if (IsSkinCommand(m)) {
    if (!SkinCommandMessage(m)) TButton::WndProc(m);
    return;
  }
  if (!HandleAllocated() || !skinData_->Skinned(true) || IsDestroying()) {
    TButton::WndProc(m);
    return;
  }
  if (SkinnedMessage(m)) return;
  if (skinData_->CommonMessage(m)) return;
  TButton::WndProc(m);
  AfterDefault(m);
}
