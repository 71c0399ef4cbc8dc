#include "skin/windows/sSkinMenus.h"

#include <algorithm>

#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/sControlUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Dpi.h"
#include "toolkit/FlagScope.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Messages.h"

HWND TsSkinableMenus::PaintingWindow = nullptr;
bool TsSkinableMenus::MenuShown = false;

namespace {

// The handlers a painter gives an item; their types tell the painter's handlers from an
// item's own.
struct TzkMeasureHandler {
  TsSkinableMenus* Painter;
  void operator()(TObject* sender, TCanvas& canvas, int& width, int& height) const {
    Painter->MeasureItem(static_cast<TMenuItem*>(sender), canvas, width, height);
  }
};
struct TzkDrawHandler {
  TsSkinableMenus* Painter;
  void operator()(TObject* sender, TCanvas& canvas, const TRect& rect, TOwnerDrawState state) const {
    Painter->DrawItem(static_cast<TMenuItem*>(sender), canvas, rect, state);
  }
};

std::vector<std::unique_ptr<TzkMenuCache>>& Caches() {
  static auto* caches = new std::vector<std::unique_ptr<TzkMenuCache>>;
  return *caches;
}

// The backgrounds of menus that have closed, kept for the next menu of the same look so that
// opening it costs no composing. A background depends on nothing but its key; one with an
// extra line (whose caption and glyph are the menu's own) is never kept.
struct TzkSpareBackground {
  TzkMenuBackgroundKey Key;
  TzkBitmap Bitmap;
};
constexpr size_t kSpareBackgrounds = 4;

std::vector<TzkSpareBackground>& Spares() {
  static auto* spares = new std::vector<TzkSpareBackground>;
  return *spares;
}

bool applyingRegion = false;

}  // namespace

TsSkinableMenus* SkinableMenusOf(TsSkinView* manager) {
  return manager ? dynamic_cast<TsSkinableMenus*>(manager->MenuPainter()) : nullptr;
}

std::unique_ptr<IzkMenuPainter> MakeSkinableMenus(TsSkinManager* manager) {
  return std::make_unique<TsSkinableMenus>(manager);
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager) : manager_(manager) {}

TsSkinableMenus::~TsSkinableMenus() {
  if (active_) HookComponents(Application, false);
  // Entries of menus this painter drew refer to nothing of it; they go with the last window.
}

const TsSkinTables* TsSkinableMenus::Tables() const {
  return manager_ && manager_->SkinData().Active ? &manager_->Tables() : nullptr;
}

int TsSkinableMenus::SkinBorderWidth() {
  if (skinBorderWidth_ >= 0) return skinBorderWidth_;
  if (borderResolved_ >= 0) return borderResolved_;
  const TsSkinTables* t = Tables();
  if (!t) return AutomaticMenuBorder(false, 0);
  const int section = t->IndexOfSection("MAINMENU");
  const int mask = t->IsValidSection(section) ? t->Sections[size_t(section)].BorderIndex : -1;
  borderResolved_ = AutomaticMenuBorder(t->IsValidMask(mask),
                                        t->IsValidMask(mask) ? t->Masks[size_t(mask)].BorderWidth : 0);
  return borderResolved_;
}

// [SECTION] Attaching

TMenuItem* TsSkinableMenus::FirstItemOf(const TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  return parent && parent->Count() > 0 ? parent->Items(0) : const_cast<TMenuItem*>(item);
}

bool TsSkinableMenus::InFirstColumn(const TMenuItem* item) {
  const TMenuItem* parent = item->Parent();
  if (!parent) return !item->Break();
  for (int i = 0; i < parent->Count(); ++i) {
    if (parent->Items(i)->Break()) return false;
    if (parent->Items(i) == item) return true;
  }
  return true;
}

bool TsSkinableMenus::IsMenuWindow(HWND wnd) {
  char name[16] = {};
  return wnd && GetClassNameA(wnd, name, sizeof(name)) && std::string(name) == "#32768";
}

bool TsSkinableMenus::HasPainterHandlers(const TMenuItem* item) {
  return item->OnMeasureItem.target<TzkMeasureHandler>() != nullptr;
}

void TsSkinableMenus::HookItem(TMenuItem* item, bool on) {
  const auto* measure = item->OnMeasureItem.target<TzkMeasureHandler>();
  const bool own = (item->OnMeasureItem && !measure) ||
                   (item->OnAdvancedDrawItem && !item->OnAdvancedDrawItem.target<TzkDrawHandler>());
  if (on && !own) {
    item->OnMeasureItem = TzkMeasureHandler{this};
    item->OnAdvancedDrawItem = TzkDrawHandler{this};
  } else if (!on && measure && measure->Painter == this) {
    item->OnMeasureItem = nullptr;
    item->OnAdvancedDrawItem = nullptr;
  }
  for (int i = 0; i < item->Count(); ++i) HookItem(item->Items(i), on);
}

void TsSkinableMenus::HookMenu(TMenu* menu, bool on) {
  // A menu bar stays the platform's: the frame provider paints the menu line around it.
  if (!dynamic_cast<TPopupMenu*>(menu)) return;
  const bool skinned = on && manager_->SkinnedPopups();
  menu->SetOwnerDraw(skinned);
  menu->SetAnimated(!skinned);
  TMenuItem* root = menu->Items();
  for (int i = 0; i < root->Count(); ++i) HookItem(root->Items(i), skinned);
}

void TsSkinableMenus::HookComponents(TComponent* owner, bool on) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* menu = dynamic_cast<TMenu*>(c)) {
      HookMenu(menu, on);
    } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
      // A loose item: only one that belongs to no menu bar.
      TMenu* parentMenu = item->GetParentMenu();
      if (!parentMenu || dynamic_cast<TPopupMenu*>(parentMenu))
        HookItem(item, on && manager_->SkinnedPopups());
    }
    if (c->ComponentCount() > 0) HookComponents(c, on);
  }
}

void TsSkinableMenus::SetActive(bool on) {
  if (!Application) return;
  active_ = on;
  HookComponents(Application, on);
  // A new skin or scale comes through SkinChanged; switching on again changes no background,
  // so the spare ones stay usable (the tray menu switches the painter on at every opening).
  if (!on) {
    lookGeneration_ = NextLookGeneration();
    ForgetSpareBackgrounds();
    adopted_.ReleaseAll();
    extraLines_.clear();
    measured_.clear();
  }
}

void TsSkinableMenus::AdoptPlatformMenu(HMENU menu) {
  if (!active_ || !manager_->SkinnedPopups()) return;
  adopted_.Adopt(menu, [this](TMenuItem* item) { HookItem(item, true); });
}

// [SECTION] Measuring

int TsSkinableMenus::PixelsPerInch() const { return manager_->PixelsPerInch(); }
int TsSkinableMenus::Scaled(int value) const { return manager_->Scaled(value); }
int TsSkinableMenus::ScaledExtraLineWidth() const { return Scaled(manager_->MenuSupport().ExtraLineWidth); }

TzkMenuSpacing TsSkinableMenus::SpacingValues() const {
  return TzkMenuSpacing{Scaled(Margin), Scaled(Spacing)};
}

TSize TsSkinableMenus::ImageSizeOf(const TMenuItem* item) const {
  if (item->HasBitmap()) return TSize(item->Bitmap().Width(), item->Bitmap().Height());
  if (item->Parent() && item->Parent()->SubMenuImages()) {
    const TImageList* images = item->Parent()->SubMenuImages();
    return TSize(images->Width(), images->Height());
  }
  if (const TMenu* menu = item->GetParentMenu(); menu && menu->Images())
    return TSize(menu->Images()->Width(), menu->Images()->Height());
  const int side = Scaled(16);
  return TSize(side, side);
}

namespace {

// The screen's menu font and the DPI it was read for, read once per shown menu: reading the
// platform's metrics costs more than drawing an item.
struct TScreenMenuFont {
  LOGFONTW Font = {};
  int Dpi = 0;
};
TScreenMenuFont& ScreenMenuFont() {
  static TScreenMenuFont font;
  return font;
}

}  // namespace

void TsSkinableMenus::ReadScreenMenuFont(int dpi) {
  ScreenMenuFont().Font = NonClientMetricsForDpi(dpi).lfMenuFont;
  ScreenMenuFont().Dpi = dpi;
}

LOGFONTW TsSkinableMenus::MenuFontFor(const TMenuItem* item, int dpi) {
  if (!ScreenMenuFont().Font.lfFaceName[0] || ScreenMenuFont().Dpi != dpi) ReadScreenMenuFont(dpi);
  LOGFONTW lf = ScreenMenuFont().Font;
  for (const TComponent* c = item->GetParentMenu(); c; c = c->Owner()) {
    if (const auto* form = dynamic_cast<const TCustomForm*>(c)) {
      lf.lfCharSet = form->Font().Charset();
      break;
    }
  }
  if (item->Default()) lf.lfWeight = FW_BOLD;
  return lf;
}

int TsSkinableMenus::TextUnitOf(HDC dc) {
  SIZE s = {};
  GetTextExtentPoint32W(dc, L"W", 1, &s);
  return MenuTextUnit(int(s.cy));
}

void TsSkinableMenus::EnsureExtraLine(TMenuItem* firstItem) {
  if (extraLines_.count(firstItem)) return;
  TzkExtraLine& line = extraLines_[firstItem];
  if (firstItem->Name() == L"SkinSelectItem") return;
  line.Caption = L"Use OnGetExtraLineData event";
  line.Visible = true;
  TBitmap* glyph = nullptr;
  if (manager_->OnGetMenuExtraLineData)
    manager_->OnGetMenuExtraLineData(firstItem, line.Section, line.Caption, glyph, line.Visible);
  line.Caption = WithoutAmpersands(line.Caption);
  // The painter owns a returned glyph; one for a hidden line is freed at once.
  if (glyph && line.Visible) line.Glyph.reset(glyph);
  else delete glyph;
}

int TsSkinableMenus::ExtraLineWidthOf(TMenuItem* firstItem) {
  if (!manager_->MenuSupport().UseExtraLine) return 0;
  EnsureExtraLine(firstItem);
  return extraLines_[firstItem].Visible ? ScaledExtraLineWidth() : 0;
}

namespace {

std::wstring MeasuredText(const TMenuItem* item, TsMenuItemType type) {
  if (type == smCaption) return L"-" + item->Caption() + L"-";
  if (type == smDivider) return {};
  if (item->ShortCutText().empty()) return item->Caption();
  return item->Caption() + L"\t" + item->ShortCutText();
}

}  // namespace

void TsSkinableMenus::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
  if (!MenuShown) ReadScreenMenuFont(PixelsPerInch());  // the first item of a menu about to open
  MenuShown = true;
  TMenuItem* first = FirstItemOf(item);
  EnsureExtraLine(first);
  HDC dc = canvas.Handle();
  const LOGFONTW lf = MenuFontFor(item, PixelsPerInch());
  TFontHandle font(CreateFontIndirectW(&lf));
  TSelectObject selected(dc, font.Get());
  const TsMenuItemType type = MenuItemTypeOf(item->Caption(), false);
  const TSize image = ImageSizeOf(item);
  height = MenuItemHeight(type, TextUnitOf(dc), image.cy, SpacingValues());
  const std::wstring text = MeasuredText(item, type);
  RECT r = {0, 0, 0, 0};
  if (!text.empty())
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  width = MenuItemWidth(image.cx, int(r.right), SpacingValues(),
                        InFirstColumn(item) ? ExtraLineWidthOf(first) : 0);
  measured_[item] = TzkMeasuredItem{width, height, item->Break()};
}

TSize TsSkinableMenus::MenuSizeOf(TMenuItem* firstItem) const {
  std::vector<TzkMeasuredItem> items;
  const TMenuItem* parent = firstItem->Parent();
  const int count = parent ? parent->Count() : 1;
  for (int i = 0; i < count; ++i) {
    const TMenuItem* item = parent ? parent->Items(i) : firstItem;
    if (!item->Visible()) continue;
    auto it = measured_.find(item);
    if (it != measured_.end()) items.push_back(it->second);
  }
  return ::MenuSizeOf(items, BorderWidth);
}

// [SECTION] Cache

TzkMenuCache* TsSkinableMenus::CacheOf(const TMenuItem* firstItem) {
  for (auto& c : Caches())
    if (c->FirstItem == firstItem) return c.get();
  return nullptr;
}

TzkMenuCache* TsSkinableMenus::CacheOfWindow(HWND wnd) {
  if (!wnd) return nullptr;
  for (auto& c : Caches())
    if (c->Window == wnd) return c.get();
  return nullptr;
}

void TsSkinableMenus::FreeAllCaches() {
  auto& spares = Spares();
  for (auto& c : Caches()) {
    if (c->ExtraLineVisible) continue;
    spares.insert(spares.begin(), TzkSpareBackground{c->Key, std::move(c->Bitmap)});
  }
  if (spares.size() > kSpareBackgrounds) spares.resize(kSpareBackgrounds);
  Caches().clear();
}

void TsSkinableMenus::ForgetSpareBackgrounds() { Spares().clear(); }
size_t TsSkinableMenus::SpareBackgroundCount() { return Spares().size(); }

unsigned TsSkinableMenus::NextLookGeneration() {
  static unsigned generation = 0;
  return ++generation;
}

TzkMenuBackgroundKey TsSkinableMenus::BackgroundKeyOf(TMenuItem* firstItem, TSize size) {
  TzkMenuBackgroundKey key;
  key.Size = size;
  key.ImageWidth = ImageSizeOf(firstItem).cx;
  key.Margin = Margin;
  key.Spacing = Spacing;
  key.Border = SkinBorderWidth();
  key.IcoLine = manager_->MenuSupport().IcoLineSkin;
  key.Generation = lookGeneration_;
  return key;
}

bool TsSkinableMenus::ReuseSpareBackground(TzkMenuCache& cache) {
  auto& spares = Spares();
  for (auto it = spares.begin(); it != spares.end(); ++it) {
    if (!(it->Key == cache.Key)) continue;
    cache.Bitmap = std::move(it->Bitmap);
    spares.erase(it);
    CollectCorners(cache.Bitmap.Width(), cache.Bitmap.Height());
    return true;
  }
  return false;
}

void TsSkinableMenus::FreeCacheOf(const TMenuItem* firstItem) {
  auto& caches = Caches();
  caches.erase(std::remove_if(caches.begin(), caches.end(),
                              [firstItem](const auto& c) { return c->FirstItem == firstItem; }),
               caches.end());
}
size_t TsSkinableMenus::CacheCount() { return Caches().size(); }

TPoint TsSkinableMenus::CacheOffset(HWND wnd) const {
  // Without a window the platform's usual 3-pixel menu frame is assumed.
  if (!wnd) return TPoint(3, 3);
  const TRect client = ClientRectInWindow(wnd);
  return TPoint(client.Left, client.Top);
}

TzkMenuCache& TsSkinableMenus::CacheFor(TMenuItem* firstItem, HWND wnd, TSize atLeast) {
  TzkMenuCache* existing = CacheOf(firstItem);
  if (existing && !wnd && !existing->Window &&
      (existing->Bitmap.Width() < atLeast.cx || existing->Bitmap.Height() < atLeast.cy)) {
    // Drawn beyond the size the menu was measured at: the background is made again.
    FreeCacheOf(firstItem);
    existing = nullptr;
  }
  if (existing) {
    if (wnd && !existing->Window) {
      existing->Window = wnd;
      ApplyRegion(wnd, *existing);
    }
    return *existing;
  }
  auto cache = std::make_unique<TzkMenuCache>();
  cache->FirstItem = firstItem;
  cache->Window = wnd;
  TSize size = MenuSizeOf(firstItem);
  size = TSize(std::max(size.cx, atLeast.cx), std::max(size.cy, atLeast.cy));
  RECT wr;
  if (wnd && GetWindowRect(wnd, &wr)) size = TSize(wr.right - wr.left, wr.bottom - wr.top);
  size = TSize(std::max(size.cx, 1), std::max(size.cy, 1));
  cache->ExtraLineVisible = ExtraLineWidthOf(firstItem) > 0;
  cache->Key = BackgroundKeyOf(firstItem, size);
  if (cache->ExtraLineVisible || !ReuseSpareBackground(*cache)) {
    cache->Bitmap = TzkBitmap(size.cx, size.cy);
    RenderBackground(*cache);
  }
  Caches().push_back(std::move(cache));
  TzkMenuCache& stored = *Caches().back();
  if (wnd) ApplyRegion(wnd, stored);
  return stored;
}

void TsSkinableMenus::RenderBackground(TzkMenuCache& cache) {
  TzkBitmap& bmp = cache.Bitmap;
  const TRect whole(0, 0, bmp.Width(), bmp.Height());
  const TsSkinTables* t = Tables();
  FillRectOf(bmp, whole, ColorToRGB(clMenu));
  if (!t) return;
  const int section = t->IndexOfSection("MAINMENU");
  TsBackgroundInfo key;  // 0xFF00FF: nothing behind the menu
  PaintSection(section, "MAINMENU", key, clFuchsia, -1, -1, t, bmp, TPoint(), whole, 0);
  TsBackgroundInfo self;
  self.Bitmap = &bmp;
  self.IsBitmap = true;
  const int border = SkinBorderWidth();
  const int extra = cache.ExtraLineVisible ? ScaledExtraLineWidth() : 0;
  const TzkMenuBands bands = MenuBandsOf(TSize(bmp.Width(), bmp.Height()), border, extra,
                                         ImageSizeOf(cache.FirstItem).cx, SpacingValues());
  const std::string& icoName = manager_->MenuSupport().IcoLineSkin;
  const int ico = t->IndexOfSection(icoName);
  if (t->IsValidSection(ico) && !bands.IconBand.IsEmpty())
    PaintSection(ico, icoName, self.Moved(bands.IconBand.Left, bands.IconBand.Top), clFuchsia,
                 -1, -1, t, bmp, TPoint(), bands.IconBand, 0);
  const int mask = t->IsValidSection(section) ? t->Sections[size_t(section)].BorderIndex : -1;
  if (t->IsValidMask(mask)) PaintBorderMask(bmp, whole, false, false, 0, t->Masks[size_t(mask)], self);
  if (extra > 0) PaintExtraLine(cache, bands.ExtraLine);
  CollectCorners(bmp.Width(), bmp.Height());
}

void TsSkinableMenus::PaintExtraLine(TzkMenuCache& cache, const TRect& band) {
  const TsSkinTables* t = Tables();
  const TzkExtraLine& line = extraLines_[cache.FirstItem];
  TzkBitmap& bmp = cache.Bitmap;
  const int section = t->IndexOfSection(line.Section);
  TsBackgroundInfo self;
  self.Bitmap = &bmp;
  self.IsBitmap = true;
  if (t->IsValidSection(section))
    PaintSection(section, line.Section, self.Moved(band.Left, band.Top), clFuchsia, -1, -1, t, bmp,
                 TPoint(), band, 0);
  int textBottom = band.Bottom - 12;
  DrawOnBitmap(bmp, [&](HDC dc) {
    if (line.Glyph && !line.Glyph->Empty()) {
      const int gx = band.Left + (band.Width() - line.Glyph->Width()) / 2;
      const int gy = band.Bottom - 12 - line.Glyph->Height();
      BitBlt(dc, gx, gy, line.Glyph->Width(), line.Glyph->Height(), line.Glyph->Dc(), 0, 0, SRCCOPY);
      textBottom = gy;
    }
    if (line.Caption.empty()) return;
    LOGFONTW lf = {};
    GetObjectW(manager_->MenuSupport().ExtraLineFont.Handle(), sizeof(lf), &lf);
    lf.lfEscapement = lf.lfOrientation = -2700;
    TFontHandle font(CreateFontIndirectW(&lf));
    TSelectObject selected(dc, font.Get());
    SIZE s = {};
    GetTextExtentPoint32W(dc, line.Caption.c_str(), int(line.Caption.size()), &s);
    // Turned a quarter clockwise... -2700 turns it so that it reads upwards: the text starts
    // at the bottom and its top faces left.
    const int x = band.Left + (band.Width() - s.cy) / 2;
    const int y = textBottom;
    SetBkMode(dc, TRANSPARENT);
    const TColor color = t->IsValidSection(section) ? TColor(t->Sections[size_t(section)].FontColor.Color)
                                                     : ColorToRGB(clWindowText);
    SetTextColor(dc, COLORREF(color));
    ExtTextOutW(dc, x, y, 0, nullptr, line.Caption.c_str(), UINT(line.Caption.size()), nullptr);
  });
}

void TsSkinableMenus::CollectCorners(int width, int height) {
  corners_.clear();
  const TsSkinTables* t = Tables();
  const int section = t->IndexOfSection("MAINMENU");
  const int mask = t->IsValidSection(section) ? t->Sections[size_t(section)].BorderIndex : -1;
  if (!t->IsValidMask(mask)) return;
  const TsMaskData& m = t->Masks[size_t(mask)];
  CollectKeyRuns(corners_, width, m, false, 0);
  CollectKeyRuns(corners_, width, m, true, height - BottomBorder(m));
}

void TsSkinableMenus::ApplyRegion(HWND wnd, const TzkMenuCache& cache) {
  if (applyingRegion || !IsWindow(wnd)) return;
  TFlagScope applying(applyingRegion);
  if (SendCommandToWindow(wnd, zcSetUpdating) != 0) return;
  SendCommandToWindow(wnd, zcMenuBorderDrawn);
  if (corners_.empty()) return;  // a rectangular menu needs no region
  TRegionHandle region(CreateRectRgn(0, 0, cache.Bitmap.Width(), cache.Bitmap.Height()));
  for (const TRect& c : corners_) {
    TRegionHandle cut(CreateRectRgn(c.Left, c.Top, c.Right, c.Bottom));
    CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
  }
  if (SetWindowRgn(wnd, region.Get(), TRUE)) region.Release();
}

void TsSkinableMenus::ApplyBorderOfWindow(HWND menuWindow) {
  if (!menuWindow || !IsWindow(menuWindow)) return;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  TMenuItem* first = menu ? TMenuItem::FromMenu(menu, 0) : nullptr;
  if (!first || !HasPainterHandlers(first)) return;
  TzkMenuCache& cache = CacheFor(first, menuWindow);
  ApplyRegion(menuWindow, cache);
}

void TsSkinableMenus::ApplyBorderOfItem(TObject* item) {
  // The message was posted: its item may be gone since.
  TMenuItem* menuItem = TMenuItem::Live(item);
  if (!menuItem) return;
  HMENU menu = menuItem->ContainingHandle();
  if (!menu) return;
  RECT r;
  if (!GetMenuItemRect(nullptr, menu, 0, &r) && !GetMenuItemRect(PopupListWindow(), menu, 0, &r))
    return;
  const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  HWND wnd = WindowFromPoint(centre);
  if (!IsMenuWindow(wnd)) return;
  ApplyBorderOfWindow(wnd);
}
