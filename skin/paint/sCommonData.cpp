#include "skin/paint/sCommonData.h"

#include <algorithm>
#include <cctype>

#include "skin/data/sSkinView.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkGlowImage.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

// [SECTION] Kinds

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

template <size_t N>
bool OneOf(int v, const int (&list)[N]) {
  return std::find(std::begin(list), std::end(list), v) != std::end(list);
}

struct TKindSection {
  int First, Last;
  const char* Section;
};

const TKindSection kDefaultSections[] = {
    {2, 8, "EDIT"},          {10, 10, "EDIT"},        {41, 41, "EDIT"},
    {76, 76, "EDIT"},        {78, 78, "EDIT"},        {83, 84, "EDIT"},
    {96, 97, "EDIT"},        {131, 131, "EDIT"},      {140, 140, "EDIT"},
    {227, 227, "EDIT"},      {11, 18, "COMBOBOX"},    {81, 82, "COMBOBOX"},
    {19, 19, "BAR"},         {20, 20, "BARTITLE"},    {32, 32, "CHECKBOX"},
    {152, 152, "CHECKBOX"},  {33, 33, "RADIOBUTTON"}, {51, 51, "PANEL"},
    {59, 59, "PANEL"},       {68, 68, "PANEL"},       {73, 73, "PANEL"},
    {52, 52, "PANEL_LOW"},   {58, 58, "PANEL_LOW"},   {53, 54, "TOOLBAR"},
    {60, 60, "TOOLBAR"},     {56, 56, "DRAGBAR"},     {57, 57, "TABSHEET"},
    {74, 74, "GROUPBOX"},    {226, 226, "GROUPBOX"},  {75, 75, "SPLITTER"},
    {92, 92, "SPEEDBUTTON"}, {95, 95, "SPEEDBUTTON"}, {93, 94, "BUTTON"},
    {98, 98, "TOOLBUTTON"},  {141, 141, "PAGECONTROL"}, {143, 143, "PAGECONTROL"},
    {151, 151, "STATUSBAR"}, {161, 161, "GAUGE"},     {165, 165, "TRACKBAR"},
};

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Narrow(const wchar_t* w) {
  std::string s;
  for (; *w; ++w) s += char(*w < 128 ? *w : '?');
  return s;
}

bool IsContainerControl(TControl* c) {
  return c && c->IsWindowed() && (c->ControlStyle() & csAcceptsControls);
}

TColor RgbOf(TControl* c) { return ColorToRGB(c->Color()); }

}  // namespace

bool IsContainerKind(int kind) {
  return kind == 19 || InRange(kind, 51, 74) || kind == 110 || InRange(kind, 141, 161);
}

bool IsNoGlowKind(int kind) {
  static const int kinds[] = {51, 52, 54, 56, 57, 58, 59, 60, 68, 73, 74, 110,
                              141, 143, 151, 161, 226, 92, 93, 94};
  return OneOf(kind, kinds);
}

bool IsEditLikeKind(int kind) {
  return InRange(kind, 2, 18) || kind == 41 || InRange(kind, 76, 84) || kind == 96 ||
         kind == 97 || InRange(kind, 131, 140);
}

std::string DefaultSectionOfKind(int kind) {
  for (const TKindSection& k : kDefaultSections)
    if (InRange(kind, k.First, k.Last)) return k.Section;
  return std::string();
}

// [SECTION] TsCommonData: properties and indexes

TsCommonData::TsCommonData(TComponent* owner, bool withCache)
    : OwnerControl(dynamic_cast<TControl*>(owner)), OwnerObject(owner) {
  if (withCache) CacheBmp = std::make_unique<TzkBitmap>(NewBitmap24(0, 0));
}

TsCommonData::~TsCommonData() {
  SkinIndex = BorderIndex = TextureIndex = HotTextureIndex = -1;
  HideGlow();
  OwnerControl = nullptr;
  OwnerObject = nullptr;
  manager_ = nullptr;
}

void TsCommonData::SetSkinSection(const std::string& value) {
  const std::string v = value.empty() ? "UNKNOWN" : Upper(value);
  if (v == skinSection_) return;
  skinSection_ = v;
  UpdateIndexes();
  if (OwnerControl && !OwnerObject->IsLoading())
    SendCommandToControl(OwnerControl, Skinned() ? zcSkinRefresh : zcSkinRemove,
                         LPARAM(SkinManager()));
}

TsSkinView* TsCommonData::SkinManager() const { return manager_ ? manager_ : DefaultManager(); }

void TsCommonData::SetSkinManager(TsSkinView* manager) {
  TsSkinView* explicitManager = manager == DefaultManager() ? nullptr : manager;
  if (explicitManager == manager_) return;
  manager_ = explicitManager;
  UpdateIndexes();
  if (OwnerControl && !OwnerObject->IsLoading())
    SendCommandToControl(OwnerControl, Skinned() ? zcSkinRefresh : zcSkinRemove,
                         LPARAM(SkinManager()));
}

void TsCommonData::SetCustomFont(bool value) {
  if (customFont_ == value) return;
  customFont_ = value;
  ApplyEditColors(Skinned(true));
  Invalidate();
}

void TsCommonData::SetCustomColor(bool value) {
  if (customColor_ == value) return;
  customColor_ = value;
  ApplyEditColors(Skinned(true));
  Invalidate();
}

bool TsCommonData::Skinned(bool requireActive) const {
  const TsSkinView* manager = SkinManager();
  if (!manager || SkinIndex < 0 || !manager->IsValidSection(SkinIndex)) return false;
  if ((OwnerObject && OwnerObject->IsDestroying()) || manager->IsDestroying()) return false;
  return !requireActive || manager->Tables().SkinData.Active;
}

const TsSkinTables* TsCommonData::Tables() const {
  return Skinned() ? &SkinManager()->Tables() : nullptr;
}

const TsGeneralData* TsCommonData::Section() const {
  return Skinned() ? &SkinManager()->Tables().Sections[size_t(SkinIndex)] : nullptr;
}

TsItemLook TsCommonData::Look() const {
  TsItemLook look;
  const TsSkinTables* t = Tables();
  if (!t) return look;
  look = SectionLook(*t, SkinIndex, TextureIndex, HotTextureIndex);
  look.BorderIndex = BorderIndex;
  return look;
}

int TsCommonData::Transparency(int state) const {
  const TsGeneralData* s = Section();
  if (!s) return 0;
  return state == 0 ? s->Transparency : s->HotTransparency;
}

bool TsCommonData::ShowsParentBackground() const {
  if (!Skinned()) return false;
  if (OwnerControl && !OwnerControl->Enabled()) return true;
  return Transparency(IsHot() ? 1 : 0) > 0;
}

void TsCommonData::UpdateIndexes() {
  if (OwnerObject && OwnerObject->IsDesigning()) {
    SkinIndex = -1;
    return;
  }
  BGChanged = true;
  TsSkinView* manager = SkinManager();
  SkinIndex = manager ? manager->IndexOfSection(skinSection_) : -1;
  FillKinds = 0;
  PlainBackground = 0;
  if (SkinIndex < 0) {
    BorderIndex = TextureIndex = HotTextureIndex = -1;
    return;
  }
  const TsGeneralData& s = manager->Tables().Sections[size_t(SkinIndex)];
  if (s.ImagePercent > 0) FillKinds |= kFillHasTexture;
  if (s.GradientPercent > 0 && !s.GradientArray.empty())
    FillKinds |= uint16_t(s.GradientArray.front().Mode & 3);
  BorderIndex = s.BorderIndex;
  TextureIndex = manager->IndexOfMask(SkinIndex, skinSection_, "PATTERN");
  HotTextureIndex = manager->IndexOfMask(SkinIndex, skinSection_, "HOTPATTERN");
  UpdatePlainFlag(false);
}

void TsCommonData::ApplyDefaultSection() {
  if (!skinSection_.empty()) {
    UpdateIndexes();
  } else {
    std::string section = DefaultSectionOfKind(ControlKind);
    if (section.empty() && OwnerObject) section = Narrow(OwnerObject->ClassName());
    SetSkinSection(section);
  }
  if (!Skinned() || !OwnerControl || !OwnerControl->Parent() || OwnerObject->IsLoading()) return;
  if (OwnerControl->IsWindowed()) AnnounceToParentForm(OwnerControl);
  if (ControlKind == ckEdit || ControlKind == 97) ApplyEditColors(true);
}

void TsCommonData::ApplyEditColors(bool fromSkin) {
  if (!OwnerControl || !(IsEditLikeKind(ControlKind) || ControlKind == 97)) return;
  const TsGeneralData* s = fromSkin ? Section() : nullptr;
  if (!customColor_) OwnerControl->SetColor(s ? s->Color : clWindow);
  if (!customFont_) {
    TFont f = OwnerControl->Font();
    f.SetColor(s ? TColor(s->FontColor.Color) : clWindowText);
    OwnerControl->SetFont(f);
  }
}

void TsCommonData::UpdatePlainFlag(bool tellChildren) {
  const bool container = IsContainerControl(OwnerControl) || (OwnerObject && !OwnerControl);
  if (!container) return;
  bool needsBitmap = false;
  const TsGeneralData* s = Section();
  if (s) {
    const TsSkinTables& t = SkinManager()->Tables();
    if (t.IsValidMask(BorderIndex)) {
      const TsMaskData& b = t.Masks[size_t(BorderIndex)];
      needsBitmap = b.WL + b.WR > 30 || b.WT + b.WB > 30;
    }
    if (!needsBitmap) {
      if (s->Transparency >= 100) {
        TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
        needsBitmap = !parent || !(SendCommandToControl(parent, zcPlainFlag) & kPlainBackgroundBit);
      } else if (s->Transparency > 0) {
        needsBitmap = true;
      } else {
        needsBitmap = s->ImagePercent != 0 || s->GradientPercent != 0;
      }
    }
  }
  PlainBackground = needsBitmap ? uint16_t(PlainBackground & ~kPlainBackgroundBit)
                                : uint16_t(PlainBackground | kPlainBackgroundBit);
  auto* owner = dynamic_cast<TWinControl*>(OwnerControl);
  if (!tellChildren || !owner) return;
  for (int i = 0; i < owner->ControlCount(); ++i)
    SendCommandToControl(owner->Controls(i), zcPlainFlag, 0, 1);
}

// [SECTION] TsCommonData: hot, updating, invalidation, cache

bool TsCommonData::IsHot() const {
  if (!OwnerControl || OwnerControl->IsDestroying() || !OwnerControl->Enabled()) return false;
  if (Focused) return true;
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl); w && w->HandleAllocated() && w->Focused())
    return true;
  return MouseAbove && !IsContainerKind(ControlKind);
}

bool TsCommonData::IsUpdating() {
  TsSkinView* manager = SkinManager();
  if (!manager || manager->IsDesigning()) return false;
  const bool fullRepaint = !(PlainBackground & kPlainBackgroundBit) || IsHot();
  if (!fullRepaint) return Updating;
  if (Updating || !OwnerControl || !OwnerControl->Parent()) return true;
  return SendCommandToControl(OwnerControl->Parent(), zcQueryUpdating) != 0;
}

void TsCommonData::BeginUpdate() {
  Updating = true;
  if (OwnerControl) SendCommandToControl(OwnerControl, zcUpdateBegin);
}

void TsCommonData::EndUpdate() {
  Updating = false;
  if (OwnerControl) SendCommandToControl(OwnerControl, zcUpdateEnd);
}

void TsCommonData::Invalidate() {
  if (!OwnerObject || OwnerObject->IsLoading() || OwnerObject->IsDestroying()) return;
  BGChanged = true;
  if (OwnerControl && OwnerControl->Showing()) OwnerControl->Repaint();
}

void TsCommonData::PrepareCacheBitmap() {
  if (!CacheBmp) CacheBmp = std::make_unique<TzkBitmap>(NewBitmap24(0, 0));
  if (CacheBmp->PixelFormat() != TPixelFormat::pf24bit) CacheBmp->SetPixelFormat(TPixelFormat::pf24bit);
  if (!OwnerControl) return;
  const int w = std::max(OwnerControl->Width(), 0);
  const int h = std::max(OwnerControl->Height(), 0);
  if (CacheBmp->Width() != w || CacheBmp->Height() != h) CacheBmp->SetSize(w, h);
}

// [SECTION] TsCommonData: colours and backgrounds

TColor TsCommonData::ParentColor() const {
  if (OwnerControl && OwnerControl->Parent()) return RgbOf(OwnerControl->Parent());
  return ColorToRGB(clBtnFace);
}

TColor TsCommonData::EffectiveColor(int state) const {
  const TsGeneralData* s = Section();
  if (!s) return OwnerControl ? RgbOf(OwnerControl) : ColorToRGB(clBtnFace);
  const int t = Transparency(state);
  const TColor k = ColorToRGB(state == 0 ? s->Color : s->HotColor);
  if (t <= 0) return customColor_ && OwnerControl ? RgbOf(OwnerControl) : k;
  if (t >= 100) return ParentColor();
  if (!OwnerControl) return 0;
  // The parent's colour shows through by the transparency's share.
  return LerpColor(ParentColor(), k, t / 100.0);
}

TsBackgroundInfo TsCommonData::GetBackground() {
  if (Skinned() && OwnerControl && OwnerControl->Parent()) {
    TsBackgroundRequest r;
    AskBackgroundOfControl(r, OwnerControl->Parent(), false);
    return BackgroundInfoOf(r);
  }
  TsBackgroundInfo info;
  info.Color = EffectiveColor(0);
  return info;
}

void TsCommonData::AnswerBackground(TsBackgroundRequest& r, int state) {
  const TsGeneralData* s = Section();
  if (!s || customColor_) {
    r.BgType = btColor;
    r.Color = OwnerControl ? RgbOf(OwnerControl) : ColorToRGB(clBtnFace);
    return;
  }
  const bool hasCache = CacheBmp && !CacheBmp->Empty();
  const int t = Transparency(state);
  const int g = state == 0 ? s->GradientPercent : s->HotGradientPercent;
  const int i = state == 0 ? s->ImagePercent : s->HotImagePercent;
  const TsSkinTables& tables = SkinManager()->Tables();
  const TsMaskData* border = tables.IsValidMask(BorderIndex) ? &tables.Masks[size_t(BorderIndex)] : nullptr;
  const bool thinBorder = !border || (border->WL + border->WR <= 24 && border->WT + border->WB < 25);
  if (t == 0 && g <= 0 && i <= 0) {
    AnswerWithColor(r, EffectiveColor(state));
  } else if (t == 0 && !hasCache) {
    r.BgType = btColor;
    r.Color = clFuchsia;
  } else if (t >= 100 && thinBorder) {
    TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    if (!parent) {
      r.BgType = btColor;
      r.Color = tables.GlobalColor();
      return;
    }
    const bool draw = r.PleaseDraw != 0;
    if (draw) {
      r.X += OwnerControl->Left();
      r.Y += OwnerControl->Top();
    }
    AskBackgroundOfControl(r, parent, draw);
    if (!draw && r.BgType == btBitmap) {
      r.X += OwnerControl->Left();
      r.Y += OwnerControl->Top();
    }
  } else if (!hasCache) {
    r.BgType = btColor;
    r.Color = t >= 100 ? ParentColor() : clFuchsia;
  } else {
    AnswerWithBitmap(r, *CacheBmp, TPoint{0, 0});
  }
}

TColor TsCommonData::AnswerColor() const {
  const TsGeneralData* s = Section();
  if (!s) return OwnerControl ? RgbOf(OwnerControl) : ColorToRGB(clBtnFace);
  const int t = s->Transparency;
  const TColor k = ColorToRGB(s->Color);
  if (t <= 0) return k;
  TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
  if (!parent) return OwnerControl ? RgbOf(OwnerControl) : k;
  TColor p = TColor(SendCommandToControl(parent, zcGetBackgroundColor, clFuchsia));
  if (p == clFuchsia || p == 0) p = RgbOf(parent);
  if (t >= 100) return p;
  return MixByTransparency(p, k, t);
}

LRESULT TsCommonData::AnswerNeedsBitmap() const {
  const TsGeneralData* s = Section();
  if (!s) return 0;
  TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
  if (s->Transparency >= 100 && parent)
    return SendCommandToControl(parent, zcHasOwnBackground) & 0x7F;
  return (s->GradientPercent + s->ImagePercent > 0 || ShowsParentBackground()) ? 1 : 0;
}

// [SECTION] TsCommonData: corners and glow

void TsCommonData::UpdateCorners(int state) {
  const TsSkinTables* t = Tables();
  if (!t || !t->IsValidMask(BorderIndex) || !CacheBmp || CacheBmp->Empty() || !OwnerControl) return;
  const int w = CacheBmp->Width(), h = CacheBmp->Height();
  if (w < 2 || h < 2) return;
  const TsMaskData& mask = t->Masks[size_t(BorderIndex)];
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image || mask.ImageCount <= 0) return;
  TsBackgroundInfo bg;
  if (OwnerControl->Parent()) {
    TsBackgroundRequest r;
    AskBackgroundOfControl(r, OwnerControl->Parent(), false);
    bg = BackgroundInfoOf(r);
    if (bg.IsBitmap) bg = bg.Moved(OwnerControl->Left(), OwnerControl->Top());
  } else {
    bg.Color = ParentColor();
  }
  // Only the pixels the mask marks as outside the control (its key colour) take the
  // background; the rest of each corner keeps the control's own look.
  FillKeyCornersFromBackground(*CacheBmp, mask, state, bg);
}

void TsCommonData::ShowGlow(bool repeat) {
  (void)repeat;
  TsSkinView* m = SkinManager();
  const TsGeneralData* s = Section();
  auto* w = dynamic_cast<TWinControl*>(OwnerControl);
  const TzkGlowHost& glows = GlowHost();
  if (!m || !s || !w || !glows.Show || !m->AllowGlowing() || s->GlowCount < 1) return;
  if (!MouseAbove || !w->HandleAllocated() || !IsWindowEnabled(w->Handle())) {
    HideGlow();
    return;
  }
  // Already shown around the control, unless a "close all" took it since.
  if (GlowId >= 0 && glows.Open && glows.Open(GlowId)) return;
  RECT wr;
  GetWindowRect(w->Handle(), &wr);
  const TRect screen = FromRECT(wr);
  TRect visible(0, 0, screen.Width(), screen.Height());
  HWND owner = nullptr;
  if (TWinControl* parent = w->Parent()) {
    visible = GlowVisiblePart(w->BoundsRect(), parent->ClientRect());
    // An MDI child form lives inside its frame: the glow belongs to the top-level window.
    if (TCustomForm* form = w->ParentForm()) owner = GetAncestor(form->Handle(), GA_ROOT);
  }
  GlowId = glows.Show(screen, visible, skinSection_, m, owner, 255, s->GlowMargin, "GLOW");
}

void TsCommonData::HideGlow() {
  if (GlowId < 0) return;
  if (GlowHost().Close) GlowHost().Close(GlowId);
  GlowId = -1;
}

// [SECTION] TsCommonData: copying the cache around children

void TsCommonData::CopyCacheExcludingChildren(TWinControl* parent, const TRect& src, int dy,
                                              int dx, bool refreshCorners, HDC dc,
                                              const TRect& clip, bool graphics) {
  if (!CacheBmp || CacheBmp->Empty() || !dc) return;
  if (refreshCorners) UpdateCorners(0);
  TSaveDc saved(dc);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  for (int i = 0; parent && i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    const bool opaque = (c->ControlStyle() & csOpaque) != 0;
    if (!c->IsWindowed() && !(graphics && opaque)) continue;
    const TRect r = IntersectRect(c->BoundsRect().Offset(dx, dy), clip);
    if (!r.IsEmpty()) ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  }
  DrawBitmapToDC(dc, src.Left + dx, src.Top + dy, *CacheBmp, src);
}

void TsCommonData::CopyCacheExcludingWindows(HWND wnd, const TRect& src, int dy, int dx,
                                             bool refreshCorners, HDC dc, const TRect& clip) {
  if (!CacheBmp || CacheBmp->Empty() || !dc) return;
  if (refreshCorners) UpdateCorners(0);
  TSaveDc saved(dc);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  const TsSkinTables* t = Tables();
  for (HWND child = wnd ? GetWindow(wnd, GW_CHILD) : nullptr; child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&rc), 2);
    const TRect r = FromRECT(rc).Offset(dx, dy);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const bool groupBox = (style & 0xF) == BS_GROUPBOX &&
                          !(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    if (!groupBox) {
      ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      continue;
    }
    // A group box shows what lies behind its inside: only its frame is left out.
    int wl = 0, wr = 0, wb = 0;
    if (t) {
      const int sec = t->IndexOfSection("GROUPBOX");
      const int b = t->IsValidSection(sec) ? t->Sections[size_t(sec)].BorderIndex : -1;
      if (t->IsValidMask(b)) {
        wl = t->Masks[size_t(b)].WL;
        wr = t->Masks[size_t(b)].WR;
        wb = t->Masks[size_t(b)].WB;
      }
    }
    const int top = int(SendCommandToWindow(child, zcGetReservedTop));
    ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Top + top);
    ExcludeClipRect(dc, r.Left, r.Top, r.Left + wl, r.Bottom);
    ExcludeClipRect(dc, r.Right - wr, r.Top, r.Right, r.Bottom);
    ExcludeClipRect(dc, r.Left, r.Bottom - wb, r.Right, r.Bottom);
  }
  DrawBitmapToDC(dc, src.Left + dx, src.Top + dy, *CacheBmp, src);
}

// [SECTION] TsCommonData: messages

TWinControl* TsCommonData::OwnerWindow() const {
  auto* w = dynamic_cast<TWinControl*>(OwnerControl);
  return w && w->HandleAllocated() ? w : nullptr;
}

void TsCommonData::ForgetSkin(TsSkinView* manager) {
  if (manager && manager->IsDestroying() && manager == manager_) manager_ = nullptr;
  SkinIndex = BorderIndex = TextureIndex = HotTextureIndex = -1;
  Updating = true;
  if (CacheBmp) CacheBmp->SetSize(0, 0);
  if (IsEditLikeKind(ControlKind)) {
    ApplyEditColors(false);
    if (TWinControl* w = OwnerWindow())
      SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (auto* w = dynamic_cast<TWinControl*>(OwnerControl)) {
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      if (c->IsWindowed() || dynamic_cast<IzkSkinTextColor*>(c)) continue;
      if (c->Tag() == 98) continue;  // a plain label that keeps its own font colour
      TFont f = c->Font();
      f.SetColor(clWindowText);
      c->SetFont(f);
    }
  }
}

void TsCommonData::InvalidateIfNeeded(bool redraw) {
  const bool seeThrough = ShowsParentBackground();
  if (seeThrough) BGChanged = true;
  TWinControl* w = OwnerWindow();
  if (redraw && w)
    RedrawWindow(w->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_UPDATENOW);
  if (!seeThrough) return;
  if (auto* c = dynamic_cast<TWinControl*>(OwnerControl))
    for (int i = 0; i < c->ControlCount(); ++i)
      SendCommandToControl(c->Controls(i), zcInvalidateIfNeeded, 0, 0);
}

bool TsCommonData::SkinCommand(const TsSkinCommand& c, LRESULT& result) {
  TsSkinView* named = reinterpret_cast<TsSkinView*>(c.Param);
  const bool mine = named == SkinManager();
  switch (c.Code) {
    case zcSkinNew:
      if (mine) {
        UpdateIndexes();
        UpdatePlainFlag(false);
      }
      return true;
    case zcSkinRemove:
      if (mine || named == manager_) ForgetSkin(named);
      return true;
    case zcSkinRefresh:
      if (!mine) return true;
      BGChanged = true;
      Updating = false;
      if (IsEditLikeKind(ControlKind)) {
        ApplyEditColors(Skinned(true));
        if (TWinControl* w = OwnerWindow())
          SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      UpdatePlainFlag(false);
      return true;
    case zcIsSkinned: result = 1; return true;
    case zcSetUpdating: Updating = c.Lo == 1; return true;
    case zcSetSkipPaint: SkipPaint = c.Lo == 1; return true;
    case zcQueryUpdating: result = (BGChanged || Updating) ? 1 : 0; return true;
    case zcIsHalfVisible: result = PartlyHidden ? 1 : 0; return true;
    case zcParentChanged:
      if (Transparency(0) >= 1 && c.Lo == 1) BGChanged = true;
      return true;
    case zcBackgroundChanged: BGChanged = true; return true;
    case zcHasOwnBackground: result = AnswerNeedsBitmap(); return true;
    case zcInvalidateIfNeeded: InvalidateIfNeeded(c.Lo == 1); return true;
    case zcGetBackgroundColor: result = LRESULT(uint32_t(AnswerColor())); return true;
    case zcSetHalfVisible: PartlyHidden = true; return true;
    case zcGetSectionIndex: result = Skinned() ? SkinIndex + 1 : 0; return true;
    case zcGetBackground:
      if (c.Param) AnswerBackground(*reinterpret_cast<TsBackgroundRequest*>(c.Param), 0);
      return true;
    case zcPlainFlag:
      if (c.Lo == 1) UpdatePlainFlag(true);
      else result = PlainBackground;
      return true;
    case zcGetApplication: result = LRESULT(Application); return true;
    default: return false;
  }
}

void TsCommonData::MouseEnterNotification(TMessage& m) {
  auto* self = dynamic_cast<TWinControl*>(OwnerControl);
  TsSkinView* manager = SkinManager();
  if (!self || !manager) {
    if (!IsContainerKind(ControlKind)) MouseAbove = true;
    return;
  }
  // Speed buttons inside that still think the pointer is over them are told it left.
  for (int i = 0; i < self->ControlCount(); ++i) {
    TControl* c = self->Controls(i);
    if (c->IsWindowed() || LPARAM(c) == m.LParam || !c->MouseInControl()) continue;
    if (SendCommandToControl(c, zcIsSkinned) == 1 && c->ClassName() == std::wstring(L"TsSpeedButton"))
      c->Perform(CM_MOUSELEAVE, 0, LPARAM(c));
  }
  if (!IsContainerKind(ControlKind)) MouseAbove = true;
  if (self->HandleAllocated()) manager->SetHotWindow(self->Handle());
  if (!IsNoGlowKind(ControlKind)) ShowGlow(false);
  if (IsEditLikeKind(ControlKind) && self->HandleAllocated()) {
    BGChanged = true;
    RedrawWindow(self->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

void TsCommonData::MouseLeaveNotification() {
  if (!IsContainerKind(ControlKind)) MouseAbove = false;
  if (!IsNoGlowKind(ControlKind)) HideGlow();
  TWinControl* w = OwnerWindow();
  if (IsEditLikeKind(ControlKind) && w && w->Visible()) {
    BGChanged = true;
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

bool TsCommonData::HandleStandardMessage(TMessage& m) {
  TWinControl* w = OwnerWindow();
  switch (m.Msg) {
    case WM_MOVE:
      if (ShowsParentBackground() && OwnerControl) {
        BGChanged = true;
        SendCommandToControl(OwnerControl, zcInvalidateIfNeeded, 0, 1);
      }
      HideGlow();
      return false;
    case WM_SIZE:
      if (Skinned()) {
        BGChanged = true;
        const TsGeneralData* s = Section();
        auto* c = dynamic_cast<TWinControl*>(OwnerControl);
        if (c && s && s->GradientPercent > 0)
          for (int i = 0; i < c->ControlCount(); ++i)
            if (!c->Controls(i)->IsDestroying())
              SendCommandToControl(c->Controls(i), zcInvalidateIfNeeded, 0, 1);
      }
      HideGlow();
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (w && w->TabStop()) {
        BGChanged = true;
        Focused = m.Msg == WM_SETFOCUS;
        if (IsEditLikeKind(ControlKind) && (Focused || w->Visible()))
          RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      return false;
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
      MouseAbove = false;
      Focused = false;
      if (OwnerControl && !OwnerControl->Enabled()) HideGlow();
      return false;
    case WM_UPDATEUISTATE:
      if (Skinned()) {
        m.Result = 1;
        return true;
      }
      return false;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && OwnerControl) AnnounceToParentForm(OwnerControl);
      return false;
    case CM_VISIBLECHANGED:
      if (m.WParam) {
        Updating = false;
        BGChanged = true;
      } else if (CacheBmp) {
        CacheBmp->SetSize(0, 0);
      }
      return false;
    case CM_MOUSEENTER:
      MouseEnterNotification(m);
      return false;
    case CM_MOUSELEAVE:
      MouseLeaveNotification();
      return false;
    default:
      return false;
  }
}

bool TsCommonData::CommonMessage(TMessage& m) {
  if (IsSkinCommand(m)) {
    LRESULT result = 0;
    if (!SkinCommand(SkinCommandOf(m), result)) return false;
    m.Result = result;
    return true;
  }
  return HandleStandardMessage(m);
}

// [SECTION] Asking parents

namespace {

void FillRequestRect(const TsBackgroundRequest& r) {
  if (!r.DC || r.Rect.IsEmpty()) return;
  TBrushHandle brush(CreateSolidBrush(COLORREF(ColorToRGB(r.Color))));
  const RECT rc = ToRECT(r.Rect);
  FillRect(r.DC, &rc, brush.Get());
}

void DrawParentInto(TsBackgroundRequest& r, HWND parent) {
  if (!r.DC || !parent) return;
  TSaveDc saved(r.DC);
  POINT old;
  OffsetViewportOrgEx(r.DC, -r.X, -r.Y, &old);
  const TRect moved = r.Rect.Offset(r.X, r.Y);
  IntersectClipRect(r.DC, moved.Left, moved.Top, moved.Right, moved.Bottom);
  SendMessageW(parent, WM_ERASEBKGND, WPARAM(r.DC), 0);
  SendMessageW(parent, WM_PAINT, WPARAM(r.DC), 0);
}

}  // namespace

void AskBackgroundOfControl(TsBackgroundRequest& r, TControl* control, bool pleaseDraw) {
  r.BgType = btNotAnswered;
  r.PleaseDraw = pleaseDraw ? 1 : 0;
  if (!control) return;
  SendCommandToControl(control, zcGetBackground, LPARAM(&r));
  if (r.BgType != btNotAnswered) return;
  auto* w = dynamic_cast<TWinControl*>(control);
  if (pleaseDraw && w && w->HandleAllocated()) {
    DrawParentInto(r, w->Handle());
    return;
  }
  const LRESULT answer = SendCommandToControl(control, zcGetBackgroundColor);
  r.BgType = btColor;
  r.Color = answer != 0 ? TColor(answer) : ColorToRGB(control->Color());
  if (pleaseDraw) FillRequestRect(r);
}

void AskBackgroundOfWindow(TsBackgroundRequest& r, HWND wnd, bool pleaseDraw) {
  r.BgType = btNotAnswered;
  r.PleaseDraw = pleaseDraw ? 1 : 0;
  if (!wnd) return;
  SendCommandToWindow(wnd, zcGetBackground, LPARAM(&r));
  if (r.BgType != btNotAnswered) return;
  if (pleaseDraw) {
    DrawParentInto(r, wnd);
    return;
  }
  const LRESULT answer = SendCommandToWindow(wnd, zcGetBackgroundColor);
  r.BgType = btColor;
  if (answer != 0) {
    r.Color = TColor(answer);
  } else {
    TsSkinView* manager = DefaultManager();
    r.Color = manager && manager->Tables().SkinData.Active ? manager->GlobalColor() : ColorToRGB(clBtnFace);
  }
}

TsBackgroundInfo BackgroundInfoOf(const TsBackgroundRequest& r) {
  TsBackgroundInfo info;
  if (r.BgType == btBitmap) {
    info.Bitmap = r.Bitmap;
    info.X = r.X;
    info.Y = r.Y;
    info.IsBitmap = true;
  } else {
    info.Color = ColorToRGB(r.Color);
  }
  return info;
}
