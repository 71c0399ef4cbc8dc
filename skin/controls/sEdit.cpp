#include "skin/controls/sEdit.h"

#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/data/sSkinView.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

// [SECTION] Construction and properties

TsEdit::TsEdit(TComponent* owner)
    : TEdit(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  skinData_->ControlKind = ckEdit;
  boundLabel_ = std::make_unique<TsBoundLabel>(skinData_.get());
  skinData_->ApplyDefaultSection();
}

TsEdit::~TsEdit() {
  boundLabel_.reset();
  skinData_.reset();
}

void TsEdit::Loaded() {
  TEdit::Loaded();
  skinData_->ApplyDefaultSection();
  // The label measured itself when it finished loading, before this.
  if (boundLabel_->Active()) boundLabel_->Reposition();
}

void TsEdit::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  skinData_->Invalidate();
}

void TsEdit::SetBorderStyle(TsEditBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TsEdit::SetCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TsEdit::CreateParams(TCreateParams& p) {
  TEdit::CreateParams(p);
  p.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  p.Style &= ~DWORD(WS_BORDER);
  if (borderStyle_ == TsEditBorderStyle::bsSingle) {
    if (ctl3D_)
      p.ExStyle |= WS_EX_CLIENTEDGE;
    else
      p.Style |= WS_BORDER;
  }
}

int TsEdit::BorderWidth() const {
  return borderStyle_ == TsEditBorderStyle::bsSingle ? (ctl3D_ ? 2 : 1) : 0;
}

void TsEdit::RedrawFrame() {
  if (HandleAllocated())
    RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// [SECTION] The cached image

void TsEdit::PrepareCache() {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  if (!tables) return;
  d.PrepareCacheBitmap();
  TzkBitmap& cache = *d.CacheBmp;
  if (cache.Empty()) return;
  const int state = d.IsHot() ? 1 : 0;
  const TsBackgroundInfo bg = d.GetBackground();
  PaintSkinnedItem(tables, d.Look(), bg, d.CustomColor() ? ColorToRGB(Color()) : clFuchsia, true,
                   false, &cache, TPoint(Left(), Top()), TRect(0, 0, cache.Width(), cache.Height()),
                   state);
  if (!Enabled()) {
    // Only the disabled look shows the cached client; an enabled edit draws its own text.
    PaintTextToCache(state);
    PaintOverCache(cache);
    const TColor parentColor = Parent() ? ColorToRGB(Parent()->Color()) : ColorToRGB(clBtnFace);
    PaintDisabledLook(cache, disabledKind_, parentColor, TPoint(Left(), Top()), bg);
  }
  d.BGChanged = false;
}

void TsEdit::PaintTextToCache(int state) {
  TsCommonData& d = *skinData_;
  TzkBitmap& cache = *d.CacheBmp;
  std::wstring text = Text();
  if (PasswordChar()) text.assign(text.size(), PasswordChar());
  const int a = BorderWidth();
  const TRect r(a + 1, a + 1, cache.Width() - a, cache.Height() - a);
  DrawOnBitmap(cache, [&](HDC dc) {
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(Font().Color()));
    PaintSectionText(dc, text, true, d.Tables(), state != 0, d.SkinIndex,
                     DT_NOPREFIX | DT_SINGLELINE, r);
  });
}

// [SECTION] Painting

void TsEdit::CopyRing(HDC dc, int b) {
  const TzkBitmap& cache = *skinData_->CacheBmp;
  const int w = cache.Width(), h = cache.Height();
  if (b <= 0 || cache.Empty()) return;
  DrawBitmapToDC(dc, 0, 0, cache, TRect(0, 0, b, h));
  DrawBitmapToDC(dc, b, 0, cache, TRect(b, 0, w, b));
  DrawBitmapToDC(dc, w - b, b, cache, TRect(w - b, b, w, h));
  DrawBitmapToDC(dc, b, h - b, cache, TRect(b, h - b, w - b, h));
}

void TsEdit::PaintFrame() {
  TsCommonData& d = *skinData_;
  if (printing_) return;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  TWindowDc dc(handle_, true);
  if (!dc.Get()) return;
  if (d.BGChanged) PrepareCache();
  d.UpdateCorners(0);
  CopyRing(dc.Get(), BorderWidth());
}

void TsEdit::SyncColors() {
  TsCommonData& d = *skinData_;
  const TsGeneralData* s = d.Section();
  if (!s) return;
  const bool hot = d.IsHot();
  const TColor color = hot ? s->HotColor : s->Color;
  const TColor fontColor = TColor(hot ? s->HotFontColor.Color : s->FontColor.Color);
  if (!d.CustomColor() && Color() != color) SetColor(color);
  if (!d.CustomFont() && Font().Color() != fontColor) Font().SetColor(fontColor);
}

void TsEdit::PaintClient(TMessage& m) {
  TsCommonData& d = *skinData_;
  d.Updating = d.IsUpdating();
  if (printing_ || d.Updating) {
    if (!m.WParam) ValidateRect(handle_, nullptr);
    return;
  }
  SyncColors();
  if (Enabled()) {
    TEdit::WndProc(m);
    return;
  }
  if (d.BGChanged) PrepareCache();
  const TPaintScope paint(handle_, m.WParam);
  const int b = BorderWidth();
  DrawBitmapToDC(paint.Dc(), 0, 0, *d.CacheBmp, TRect(b, b, d.CacheBmp->Width(), d.CacheBmp->Height()));
}

void TsEdit::Print(TMessage& m) {
  TsCommonData& d = *skinData_;
  const HDC dc = HDC(m.WParam);
  const LPARAM flags = m.LParam;
  printing_ = true;
  d.Updating = false;
  PrepareCache();
  d.UpdateCorners(0);
  if (flags & PRF_NONCLIENT) {
    const TzkBitmap& cache = *d.CacheBmp;
    DrawBitmapToDC(dc, 0, 0, cache, TRect(0, 0, cache.Width(), cache.Height()));
    CopyRing(dc, BorderWidth());
  }
  TWinControl::Print(dc, flags & ~LPARAM(PRF_NONCLIENT));
  printing_ = false;
}

void TsEdit::PrintClient(HDC dc, LPARAM flags) {
  TsCommonData& d = *skinData_;
  if (Enabled() || !d.Skinned(true) || d.CacheBmp->Empty()) {
    TEdit::PrintClient(dc, flags);
    return;
  }
  // A disabled skinned edit shows its cached image, as on the screen.
  const int b = BorderWidth();
  DrawBitmapToDC(dc, 0, 0, *d.CacheBmp, TRect(b, b, d.CacheBmp->Width(), d.CacheBmp->Height()));
  PaintControls(dc);
}

// [SECTION] Messages

bool TsEdit::SkinCommandMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  const TsSkinCommand c = SkinCommandOf(m);
  const bool mine = reinterpret_cast<TsSkinView*>(c.Param) == d.SkinManager();
  switch (c.Code) {
    case zcSkinNew:
    case zcSkinRemove:
      if (!mine) return false;
      d.CommonMessage(m);
      SkinCommandExtra(m);
      return true;
    case zcSkinRefresh:
      if (!mine) return false;
      d.CommonMessage(m);
      if (!printing_ && HandleAllocated()) {
        RedrawFrame();
        InvalidateRect(handle_, nullptr, TRUE);
      }
      SkinCommandExtra(m);
      return true;
    case zcIsSkinned: m.Result = 1; return true;
    case zcHasOwnBackground: m.LParam = 0; m.Result = 0; return true;
    case zcGetBackgroundColor:
      if (d.Skinned()) return SkinCommandExtra(m) || d.CommonMessage(m);
      m.Result = LRESULT(uint32_t(ColorToRGB(Color())));
      return true;
    case zcGetApplication: m.Result = LRESULT(Application); return true;
    case zcParentUpdateEnd:
      d.CommonMessage(m);
      if (d.Updating) {
        d.Updating = false;
        if (Showing()) Repaint();
        RedrawFrame();
      }
      SkinCommandExtra(m);
      return true;
    default:
      return SkinCommandExtra(m) || d.CommonMessage(m);
  }
}

bool TsEdit::SkinnedMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (m.Msg) {
    case WM_ERASEBKGND:
    case CN_DRAWITEM:
      if (printing_ || d.IsUpdating()) {
        m.Result = 1;
        return true;
      }
      if (!Enabled()) {
        m.Result = 1;
        return true;
      }
      return false;
    case WM_NCPAINT:
      PaintFrame();
      m.Result = 0;
      return true;
    case WM_PAINT:
      PaintClient(m);
      return true;
    case WM_PRINT:
      Print(m);
      return true;
    case CM_COLORCHANGED:
      if (d.CustomColor()) d.BGChanged = true;
      return false;
    case WM_INITMENUPOPUP:
      // The platform edit's own context menu is drawn by the skin's menu painter too (where
      // the platform announces it; the menu window's creation adopts it otherwise).
      if (!HIWORD(m.LParam) && d.SkinManager())
        if (IzkMenuPainter* menus = d.SkinManager()->MenuPainter())
          menus->AdoptPlatformMenu(reinterpret_cast<HMENU>(m.WParam));
      return false;
    default:
      return false;
  }
}

void TsEdit::AfterDefault(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (m.Msg) {
    case WM_SIZE:
      RedrawFrame();
      break;
    case WM_KILLFOCUS:
    case CM_EXIT:
      d.Focused = false;
      d.MouseAbove = false;
      d.BGChanged = true;
      if (Visible() && HandleAllocated()) {
        InvalidateRect(handle_, nullptr, TRUE);
        RedrawFrame();
      }
      break;
    case WM_SETFOCUS:
      if (HandleAllocated()) InvalidateRect(handle_, nullptr, TRUE);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (reinterpret_cast<TControl*>(m.LParam) == this && HandleAllocated())
        InvalidateRect(handle_, nullptr, TRUE);
      break;
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
      // The cached image holds the text only for the disabled look; an enabled edit repaints
      // its text itself, so nothing more is redrawn for it.
      if (IsLoading() || printing_ || Enabled()) break;
      d.Invalidate();
      RedrawFrame();
      break;
    case WM_SETFONT:
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      if (IsLoading() || printing_) break;
      d.Invalidate();
      RedrawFrame();
      break;
    default:
      break;
  }
}

void TsEdit::FollowBoundLabel(const TMessage& m) {
  if (boundLabel_) boundLabel_->FollowOwner(m, (disabledKind_ & dkBlended) != 0);
}

void TsEdit::BoundsChanged() {
  TEdit::BoundsChanged();
  if (boundLabel_ && boundLabel_->Label()) boundLabel_->Reposition();
}

void TsEdit::WndProc(TMessage& m) {
  if (IsSkinCommand(m)) {
    if (!SkinCommandMessage(m)) TEdit::WndProc(m);
    return;
  }
  if (!HandleAllocated() || !skinData_->Skinned(true) || IsDestroying()) {
    TEdit::WndProc(m);
    FollowBoundLabel(m);
    return;
  }
  if (SkinnedMessage(m)) return;
  if (!skinData_->CommonMessage(m)) {
    TEdit::WndProc(m);
    AfterDefault(m);
  }
  FollowBoundLabel(m);
}
