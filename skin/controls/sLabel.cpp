#include "skin/controls/sLabel.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlend.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"

namespace {

// Set while a label paint adjusts fonts; the font-changed notifications this causes are
// swallowed (one flag for all labels: a paint never starts another label's paint).
bool adjustingFonts = false;

TsSkinView* ActiveManager() {
  TsSkinView* manager = DefaultManager();
  return manager && manager->Tables().SkinData.Active && !manager->IsDestroying() ? manager : nullptr;
}

void SetFontColor(TFont& font, TColor color) {
  if (color != clFuchsia && font.Color() != color) font.SetColor(color);
}

// 0.4 of the font colour and 0.6 of the background, rounded.
TColor DisabledTextColor(TColor font, TColor background) {
  const auto mix = [](int f, int b) { return uint8_t(std::lround(0.4 * f + 0.6 * b)); };
  font = ColorToRGB(font);
  background = ColorToRGB(background);
  return RGBColor(mix(GetRValue(font), GetRValue(background)), mix(GetGValue(font), GetGValue(background)),
                  mix(GetBValue(font), GetBValue(background)));
}

}  // namespace

int LabelFontSection(TWinControl* parent) {
  TsSkinView* manager = ActiveManager();
  if (!manager || !parent) return -1;
  const LRESULT answer = SendCommandToControl(parent, zcGetSectionIndex);
  if (answer <= 0) return -1;
  const int s = int(answer) - 1;
  if (!manager->IsValidSection(s)) return -1;
  const TsGeneralData& section = manager->Tables().Sections[size_t(s)];
  if (section.Transparency > 50 && parent->Parent()) return LabelFontSection(parent->Parent());
  return section.GiveOwnFont ? s : -1;
}

// [SECTION] TsCustomLabel

TsCustomLabel::TsCustomLabel(TComponent* owner) : TLabel(owner) { SetTransparent(true); }

void TsCustomLabel::SetSkinSection(const std::string& value) {
  skinSection_ = value;
  Invalidate();
}

TColor TsCustomLabel::SkinFontColor() const {
  TsSkinView* manager = ActiveManager();
  if (!manager) return clFuchsia;
  const int s = LabelFontSection(Parent());
  if (s >= 0) return TColor(manager->Tables().Sections[size_t(s)].FontColor.Color);
  const int global = manager->CachedIndexes().GlobalInfo;
  return manager->IsValidSection(global) ? manager->GlobalFontColor() : clFuchsia;
}

TFont* TsCustomLabel::CurrentFont() {
  if (ActiveManager()) SetFontColor(Font(), SkinFontColor());
  return &Font();
}

void TsCustomLabel::PaintSectionBackground() {
  TsSkinView* manager = ActiveManager();
  if (skinSection_.empty() || !manager) return;
  const int index = manager->IndexOfSection(skinSection_);
  if (index <= 0) return;  // the skin's first section is never a label background
  TsBackgroundRequest request;
  if (Parent()) AskBackgroundOfControl(request, Parent(), false);
  TsBackgroundInfo bg = BackgroundInfoOf(request);
  PaintSectionToDC(index, skinSection_, bg, &manager->Tables(), Canvas().Handle(), TPoint(Left(), Top()),
                   TRect(0, 0, Width(), Height()), 0, true);
}

void TsCustomLabel::Paint() {
  if (!IsDestroying() && !adjustingFonts) {
    adjustingFonts = true;
    TFont* current = CurrentFont();
    if (current != &Font()) Font().Assign(*current);
    TsSkinView* manager = ActiveManager();
    if (!skinSection_.empty() && manager) {
      const int index = manager->IndexOfSection(skinSection_);
      if (index >= 0) SetFontColor(Font(), TColor(manager->Tables().Sections[size_t(index)].FontColor.Color));
    }
    adjustingFonts = false;
    PaintSectionBackground();
  }
  TLabel::Paint();
}

void TsCustomLabel::DoDrawText(TRect& r, UINT flags) {
  TsSkinView* manager = ActiveManager();
  if (Enabled() || !manager || IsDestroying()) {
    TLabel::DoDrawText(r, flags);
    return;
  }
  std::wstring text = Caption();
  if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == L"&"))) text += L" ";
  if (!ShowAccelChar()) flags |= DT_NOPREFIX;
  if (Parent() && Parent()->HandleAllocated() &&
      (GetWindowLongW(Parent()->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING))
    flags |= DT_RTLREADING;
  TColor background = Parent() ? ColorToRGB(Parent()->Color()) : ColorToRGB(clBtnFace);
  if (Parent() && IsSkinnedControl(Parent()))
    background = TColor(SendCommandToControl(Parent(), zcGetBackgroundColor, clFuchsia));
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  canvas.Font().SetColor(DisabledTextColor(Font().Color(), background));
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.DrawText(text, r, flags);
}

void TsCustomLabel::SkinRemoved() {
  if (!adjustingFonts) Font().SetColor(clWindowText);
}

void TsCustomLabel::WndProc(TMessage& m) {
  if (IsSkinCommand(m)) {
    const TsSkinCommand c = SkinCommandOf(m);
    if (c.Code == zcSkinRemove && reinterpret_cast<TsSkinView*>(c.Param) == DefaultManager())
      SkinRemoved();
    TGraphicControl::WndProc(m);
    return;
  }
  if (m.Msg == CM_FONTCHANGED && !IsDestroying()) {
    if (adjustingFonts) return;
    if (AutoSize()) AdjustBounds();
    Invalidate();
    return;
  }
  TLabel::WndProc(m);
}

// [SECTION] TsLabel and TsEditLabel

TsLabel::TsLabel(TComponent* owner) : TsCustomLabel(owner) { useSkinColor_ = true; }

void TsLabel::SetUseSkinColor(bool value) {
  useSkinColor_ = value;
  Invalidate();
}

TFont* TsLabel::CurrentFont() {
  if (IsDestroying() || !useSkinColor_) return &Font();
  return TsCustomLabel::CurrentFont();
}

void TsLabel::SkinRemoved() {
  if (useSkinColor_) TsCustomLabel::SkinRemoved();
}

TsEditLabel::TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel)
    : TsLabel(owner), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel() {
  if (boundLabel_) boundLabel_->LabelDestroyed();
}

// [SECTION] TsWebLabel

namespace {

TsWebLabel::TUrlOpener& UrlOpener() {
  static TsWebLabel::TUrlOpener opener;
  return opener;
}

void OpenWithShell(const std::wstring& url, int showCommand) {
  ShellExecuteW(Application ? Application->Handle() : nullptr, L"open", url.c_str(), nullptr,
                nullptr, showCommand);
}

}  // namespace

void TsWebLabel::SetUrlOpener(TUrlOpener opener) { UrlOpener() = std::move(opener); }

TsWebLabel::TsWebLabel(TComponent* owner) : TsLabel(owner) {
  SetCursor(TCursor::crHandPoint);
  SetTransparent(true);
  SetControlStyle(ControlStyle() | csOpaque);
  normalFont_.Assign(Font());
  hoverFont_.Assign(Font());
}

void TsWebLabel::SetNormalFont(const TFont& font) {
  normalFont_.Assign(font);
  Font().Assign(font);
  Invalidate();
}

TFont* TsWebLabel::CurrentFont() {
  TsSkinView* manager = UseSkinColor() ? ActiveManager() : nullptr;
  const int global = manager ? manager->CachedIndexes().GlobalInfo : -1;
  const TsGeneralData* info =
      manager && manager->IsValidSection(global) ? &manager->Tables().Sections[size_t(global)] : nullptr;
  TFont& font = mouseOver_ && !IsDesigning() ? hoverFont_ : normalFont_;
  const bool hover = &font == &hoverFont_;
  if (info) {
    const int32_t c = hover ? info->FontColor.Top : info->FontColor.Bottom;
    font.SetColor(c == -1 ? (hover ? clRed : clBlue) : TColor(c));
  }
  return &font;
}

void TsWebLabel::HoverChanged(bool over) {
  mouseOver_ = over;
  if (AutoSize()) {
    Invalidate();
    Update();
    AdjustBounds();
  }
  if (Parent() && Parent()->HandleAllocated()) {
    const RECT r = ToRECT(BoundsRect());
    InvalidateRect(Parent()->Handle(), &r, TRUE);
  }
}

void TsWebLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TsLabel::WndProc(m);
      if (reinterpret_cast<TControl*>(m.LParam) == this) HoverChanged(m.Msg == CM_MOUSEENTER);
      return;
    case WM_LBUTTONDOWN:
      TsLabel::WndProc(m);
      if (url_.empty()) return;
      if (UrlOpener()) UrlOpener()(url_, int(showMode_));
      else OpenWithShell(url_, int(showMode_));
      return;
    default:
      TsLabel::WndProc(m);
  }
}

void TsWebLabel::Loaded() {
  TsLabel::Loaded();
  Font().Assign(normalFont_);
}

// [SECTION] TsBoundLabel

TsBoundLabel::TsBoundLabel(TsCommonData* commonData) : commonData_(commonData) {}

TsBoundLabel::~TsBoundLabel() {
  if (label_) {
    TsEditLabel* label = label_;
    label_ = nullptr;
    delete label;  // its destructor tells LabelDestroyed, which finds nothing left to clear
  }
}

void TsBoundLabel::LabelDestroyed() {
  active_ = false;
  label_ = nullptr;
}

TFont& TsBoundLabel::Font() { return label_ ? label_->Font() : font_; }

void TsBoundLabel::SetFont(const TFont& font) {
  font_.Assign(font);
  if (label_) label_->SetFont(font);
}

bool TsBoundLabel::UseSkinColor() const { return label_ ? label_->UseSkinColor() : true; }

void TsBoundLabel::SetUseSkinColor(bool value) {
  if (label_) label_->SetUseSkinColor(value);
}

void TsBoundLabel::SetMaxWidth(int value) {
  maxWidth_ = value;
  if (active_) Reposition();
}

void TsBoundLabel::SetCaption(const std::wstring& value) {
  caption_ = value;
  if (label_) label_->SetCaption(value);
  if (active_) Reposition();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
  layout_ = value;
  if (active_) Reposition();
}

void TsBoundLabel::SetIndent(int value) {
  indent_ = value;
  if (active_) Reposition();
}

namespace {

TAlignment AlignmentOf(TsCaptionLayout layout) {
  switch (layout) {
    case TsCaptionLayout::sclTopLeft: return TAlignment::taLeftJustify;
    case TsCaptionLayout::sclTopCenter: return TAlignment::taCenter;
    default: return TAlignment::taRightJustify;
  }
}

}  // namespace

void TsBoundLabel::SetActive(bool value) {
  if (active_ == value) return;
  TControl* control = commonData_ ? commonData_->OwnerControl : nullptr;
  if (!value) {
    active_ = false;
    TsEditLabel* label = label_;
    label_ = nullptr;
    delete label;
    return;
  }
  if (!control) return;
  active_ = true;
  label_ = new TsEditLabel(control, this);
  label_->SetVisible(false);
  label_->SetParent(control->Parent());
  label_->SetAlignment(AlignmentOf(layout_));
  label_->SetName(control->Name() + L"Label");
  if (caption_.empty()) caption_ = control->Name();
  label_->SetFont(font_);
  label_->SetCaption(caption_);
  label_->SetEnabled(control->Enabled());
  label_->SetVisible(control->Visible() || control->IsDesigning());
  Reposition();
}

void TsBoundLabel::Reposition() {
  TControl* f = commonData_ ? commonData_->OwnerControl : nullptr;
  TsEditLabel* l = label_;
  if (!active_ || !f || !l || !l->Visible()) return;
  l->SetAutoSize(true);
  l->SetAlignment(AlignmentOf(layout_));
  const int topAbove = f->Top() - l->Height() - indent_;
  switch (layout_) {
    case TsCaptionLayout::sclLeft:
      l->SetBounds(f->Left() - l->Width() - indent_ - 4, f->Top() + (f->Height() - l->Height()) / 2 - 1,
                   l->Width(), l->Height());
      break;
    case TsCaptionLayout::sclTopLeft:
      l->SetBounds(f->Left(), topAbove, l->Width(), l->Height());
      break;
    case TsCaptionLayout::sclTopCenter:
      l->SetBounds(f->Left() + (f->Width() - l->Width()) / 2, topAbove, l->Width(), l->Height());
      break;
    case TsCaptionLayout::sclTopRight:
      l->SetBounds(f->Left() + f->Width() - l->Width(), topAbove, l->Width(), l->Height());
      break;
  }
  if (maxWidth_ != 0) {
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetBounds(l->Left(), l->Top(), maxWidth_, std::max(l->Height(), f->Height()));
  }
}

void TsBoundLabel::FollowOwner(const TMessage& m, bool dimsWhenDisabled) {
  TControl* control = commonData_ ? commonData_->OwnerControl : nullptr;
  if (!label_ || !control) return;
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      label_->SetVisible(control->Visible());
      break;
    case CM_ENABLEDCHANGED:
      label_->SetEnabled(control->Enabled() || !dimsWhenDisabled);
      break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    default:
      return;
  }
  Reposition();
}
