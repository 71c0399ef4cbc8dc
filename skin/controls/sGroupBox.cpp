#include "skin/controls/sGroupBox.h"

#include <algorithm>

#include "skin/controls/sButton.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

constexpr int kBevelWidth = 1;

}  // namespace

TsGroupBox::TsGroupBox(TComponent* owner)
    : TGroupBox(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  skinData_->ControlKind = ckGroupBox;
  SetControlStyle(ControlStyle() & ~unsigned(csOpaque));
  skinData_->ApplyDefaultSection();
}

TsGroupBox::~TsGroupBox() { skinData_.reset(); }

void TsGroupBox::Loaded() {
  TGroupBox::Loaded();
  skinData_->ApplyDefaultSection();
}

void TsGroupBox::SetCaptionLayout(TsGroupCaptionLayout value) {
  if (captionLayout_ == value) return;
  captionLayout_ = value;
  if (!Caption().empty()) skinData_->Invalidate();
}

void TsGroupBox::SetCaptionYOffset(int value) {
  if (captionYOffset_ == value) return;
  captionYOffset_ = value;
  skinData_->Invalidate();
}

void TsGroupBox::SetCaptionSkin(const std::string& value) {
  if (captionSkin_ == value) return;
  captionSkin_ = value;
  skinData_->Invalidate();
}

TRect TsGroupBox::ClientRect() const {
  TRect r = TGroupBox::ClientRect();
  if (!IsDestroying()) r.Top += captionYOffset_;
  return r;
}

// [SECTION] Caption geometry

TSize TsGroupBox::MeasureText(const std::wstring& text) {
  TMemoryDcHandle dc(CreateCompatibleDC(nullptr));
  TSelectObject font(dc.Get(), Font().Handle());
  SIZE s = {0, 0};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &s);
  return TSize(s.cx, s.cy);
}

int TsGroupBox::CaptionHeight() { return std::max(4, MeasureText(L"W").cy) + 2; }

TRect TsGroupBox::CaptionRect() {
  const int w = MeasureText(Caption()).cx;
  TRect r(0, 0, 0, CaptionHeight());
  if (skinData_->Skinned()) {
    r.Bottom += captionYOffset_;
    if (captionYOffset_ < 0) r.Top = captionYOffset_;
  }
  const bool rtl = HandleAllocated() && (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  if (captionLayout_ == TsGroupCaptionLayout::clTopCenter)
    r.Left = (Width() - w - 10) / 2;
  else if ((captionLayout_ == TsGroupCaptionLayout::clTopLeft) != rtl)
    r.Left = 6;
  else
    r.Left = Width() - w - 14;
  r.Left = std::max(r.Left, 0);
  r.Right = std::min(r.Left + w + 8, Width());
  if (r.Width() < 2 * kBevelWidth) {
    r.Left -= kBevelWidth;
    r.Right += kBevelWidth;
  }
  return r;
}

// [SECTION] The cached image

void TsGroupBox::PrepareCache() {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  if (!tables) return;
  d.PrepareCacheBitmap();
  const TsBackgroundInfo bg = d.GetBackground();
  TzkBitmap& cache = *d.CacheBmp;
  if (cache.Empty()) return;
  const TRect caption = CaptionRect();
  // The strip behind the caption shows the parent.
  if (bg.HasBitmap())
    CopyRect(cache, 0, 0, *bg.Bitmap,
             TRect(bg.X + Left(), bg.Y + Top(), bg.X + Left() + Width(), bg.Y + Top() + caption.Height()));
  else if (Parent())
    FillSolid(cache, TRect(0, 0, Width(), caption.Bottom), bg.Color);
  const int y0 = captionYOffset_ < 0 ? 0 : caption.Height() / 2;
  PaintSkinnedItem(tables, d.Look(), bg, d.CustomColor() ? ColorToRGB(Color()) : clFuchsia, true, true,
                   &cache, TPoint(Left(), Top() + y0), TRect(0, y0, Width(), Height()), 0);
  if (!Caption().empty()) PaintCaption(caption, bg);
  d.BGChanged = false;
}

void TsGroupBox::PaintCaption(const TRect& caption, const TsBackgroundInfo& bg) {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  TzkBitmap& cache = *d.CacheBmp;
  const TRect target = IntersectRect(caption, TRect(0, 0, cache.Width(), cache.Height()));
  const int state = Focused() ? 1 : 0;
  if (!captionSkin_.empty()) {
    TsBackgroundInfo self;
    self.Bitmap = &cache;
    self.IsBitmap = true;
    PaintSectionByIndex(tables->IndexOfSection(captionSkin_), captionSkin_, self, -1, -1, tables,
                        &cache, target.TopLeft(), target, state, true);
  } else if (bg.HasBitmap()) {
    PaintSectionByIndex(tables->IndexOfSection("CHECKBOX"), "CHECKBOX", bg, -1, -1, tables, &cache,
                        TPoint(Left() + target.Left, Top() + target.Top), target, state, true);
  } else {
    FillSolid(cache, target, bg.Color);
  }
  // A caption wider than the box ends in an ellipsis instead of losing both of its ends.
  const std::wstring text = Caption();
  DrawOnBitmap(cache, [&](HDC dc) {
    TSelectObject font(dc, Font().Handle());
    PaintSectionText(dc, text, true, tables, false, d.SkinIndex,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, caption);
  });
}

// [SECTION] Painting

void TsGroupBox::PaintHandler(HDC dc) {
  TsCommonData& d = *skinData_;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  if (d.ShowsParentBackground() && Parent()) {
    const TRect client = Parent()->ClientRect();
    d.PartlyHidden = !client.Contains(TPoint(Left() + 1, Top() + 1)) ||
                     !client.Contains(TPoint(Left() + Width() - 1, Top() + Height() - 1));
  } else {
    d.PartlyHidden = false;
  }
  // The cached image is rebuilt only when stale: a child label changing its text repaints
  // its own area from the image as it is.
  if (!d.SkipPaint && CacheStale()) PrepareCache();
  if (d.CacheBmp->Empty()) return;
  const TRect all(0, 0, Width(), Height());
  d.CopyCacheExcludingChildren(this, all, 0, 0, false, dc, all, true);
  PaintGraphicChildren(dc, this, TPoint(0, 0));
  WakePostponedChildren(this);
  for (int i = 0; i < ControlCount(); ++i)
    if (!Controls(i)->IsWindowed()) SendCommandToControl(Controls(i), zcParentUpdateEnd);
}

bool TsGroupBox::CacheStale() const {
  const TsCommonData& d = *skinData_;
  return d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() != Width() || d.CacheBmp->Height() != Height();
}

void TsGroupBox::ForwardToChildren(const TMessage& m) { BroadcastToControls(this, m); }

// [SECTION] Messages

bool TsGroupBox::SkinCommandMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  const TsSkinCommand c = SkinCommandOf(m);
  const bool mine = reinterpret_cast<TsSkinView*>(c.Param) == d.SkinManager();
  switch (c.Code) {
    case zcSkinNew:
      ForwardToChildren(m);
      if (mine) d.CommonMessage(m);
      return true;
    case zcSkinRemove:
    case zcSkinRefresh:
      if (!mine) {
        ForwardToChildren(m);
        return true;
      }
      d.CommonMessage(m);
      ForwardToChildren(m);
      if (HandleAllocated()) Repaint();
      return true;
    case zcIsSkinned: m.Result = 1; return true;
    case zcGetBackground:
      if (captionSkin_.empty() || !m.LParam) break;
      {
        auto& r = *reinterpret_cast<TsBackgroundRequest*>(m.LParam);
        r.Bitmap = d.CacheBmp.get();
        r.X = r.Y = 0;
        r.BgType = btBitmap;
      }
      return true;
    case zcGetApplication: m.Result = LRESULT(Application); return true;
    default:
      break;
  }
  if (!HandleAllocated() || !d.Skinned()) return false;
  switch (c.Code) {
    case zcParentUpdateEnd:
      if (d.Updating) {
        d.Updating = false;
        d.Updating = d.IsUpdating();
        if (Showing() && !d.Updating)
          RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      return true;
    case zcSetSkipPaint:
      d.CommonMessage(m);
      if (d.SkipPaint) PrepareCache();
      return true;
    case zcQueryUpdating:
      m.Result = (d.BGChanged || d.IsUpdating()) ? 1 : 0;
      return true;
    default:
      return d.CommonMessage(m);
  }
}

bool TsGroupBox::SkinnedMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  switch (m.Msg) {
    case WM_MOVE:
      if (d.ShowsParentBackground()) d.BGChanged = true;
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The caption is drawn in the focused state while the box has the focus.
      if (!Caption().empty()) d.BGChanged = true;
      TGroupBox::WndProc(m);
      return true;
    case WM_PAINT: {
      const TPaintScope paint(handle_, m.WParam);
      if (!IsDestroying() && (Visible() || IsDesigning())) PaintHandler(paint.Dc());
      return true;
    }
    case WM_ERASEBKGND:
      m.Result = 1;
      return true;
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
      d.BGChanged = true;
      return false;
    case WM_PRINT:
    case WM_PRINTCLIENT:
      d.Updating = false;
      PaintHandler(HDC(m.WParam));
      return true;
    case CM_TEXTCHANGED:
      d.Invalidate();
      return true;
    case CM_FONTCHANGED:
      TGroupBox::WndProc(m);
      if (!Caption().empty()) d.Invalidate();
      return true;
    default:
      return false;
  }
}

void TsGroupBox::WndProc(TMessage& m) {
  if (IsSkinCommand(m) && SkinCommandMessage(m)) return;
  if (!HandleAllocated() || !skinData_->Skinned(true) || IsDestroying()) {
    TGroupBox::WndProc(m);
    return;
  }
  if (SkinnedMessage(m)) return;
  if (skinData_->CommonMessage(m)) return;
  TGroupBox::WndProc(m);
}
