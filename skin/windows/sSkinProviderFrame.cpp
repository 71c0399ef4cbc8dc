// TsSkinProvider: the frame geometry, the frame cache and its painting, the window region,
// hit-testing and the title buttons' states and clicks.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Application.h"
#include "toolkit/Menu.h"
#include "toolkit/UtilWindow.h"

namespace {

constexpr int kMissingGlyphSize = 21;
constexpr int kCustomButtonGap = 8;
constexpr int kMenuItemPadding = 7;

bool SingleOrSizable(const TCustomForm* form) {
  const TFormBorderStyle style = form->BorderStyle();
  return style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
}

bool ToolWindow(const TCustomForm* form) {
  const TFormBorderStyle style = form->BorderStyle();
  return style == TFormBorderStyle::bsToolWindow || style == TFormBorderStyle::bsSizeToolWin;
}

const TsMaskData* MaskAt(const TsSkinTables& t, int index) {
  return t.IsValidMask(index) ? &t.Masks[size_t(index)] : nullptr;
}

// A picture onto a 24- or 32-bit image with its top-left corner at (x0, y0), at most w x h of
// it, clipped to the image: through its alpha channel when it has one (premultiplied), else
// every pixel but those of the colour key is copied.
void DrawGlyphAt(TzkBitmap& dst, const TBitmap& glyph, int x0, int y0, int w, int h, uint32_t key) {
  if (glyph.Empty() || dst.BytesPerPixel() < 3) return;
  const int n = dst.BytesPerPixel();
  for (int y = 0; y < glyph.Height() && y < h; ++y) {
    const int dy = y0 + y;
    if (dy < 0 || dy >= dst.Height()) continue;
    const uint32_t* s = glyph.ScanLine(y);
    uint8_t* d = dst.ScanLine(dy);
    for (int x = 0; x < glyph.Width() && x < w; ++x) {
      const int dx = x0 + x;
      if (dx < 0 || dx >= dst.Width()) continue;
      const uint32_t px = s[x];
      uint8_t* q = d + dx * n;
      if (glyph.AlphaChannel()) {
        const unsigned a = px >> 24;
        for (int c = 0; c < 3; ++c)
          q[c] = uint8_t(std::min(255u, ((px >> (8 * c)) & 0xFF) + (q[c] * (255 - a) + 127) / 255));
      } else if ((px & 0xFFFFFF) != key) {
        for (int c = 0; c < 3; ++c) q[c] = uint8_t(px >> (8 * c));
      }
    }
  }
}

// A custom button's own picture centred on the button (one pixel right and down while
// pressed): its bottom-left pixel is the transparent colour when it has no alpha channel.
void DrawCustomGlyph(TzkBitmap& dst, const TBitmap& glyph, const TRect& button, bool pressed) {
  if (glyph.Empty()) return;
  const int x0 = button.Left + (button.Width() - glyph.Width()) / 2 + (pressed ? 1 : 0);
  const int y0 = button.Top + (button.Height() - glyph.Height()) / 2 + (pressed ? 1 : 0);
  const uint32_t key = glyph.ScanLine(glyph.Height() - 1)[0] & 0xFFFFFF;
  DrawGlyphAt(dst, glyph, x0, y0, glyph.Width(), glyph.Height(), key);
}

// The title icon's own picture into the frame cache at r, clipped to r: magenta is the
// transparent colour when it has no alpha channel.
void DrawTitleGlyph(TzkBitmap& dst, const TBitmap& glyph, const TRect& r) {
  DrawGlyphAt(dst, glyph, r.Left, r.Top, r.Width(), r.Height(), 0xFF00FF);
}

TColor HalfWay(TColor a, TColor b) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  return RGBColor(uint8_t((GetRValue(a) + GetRValue(b)) / 2), uint8_t((GetGValue(a) + GetGValue(b)) / 2),
                  uint8_t((GetBValue(a) + GetBValue(b)) / 2));
}

}  // namespace

// [SECTION] Geometry

TPoint TsSkinProvider::ButtonSize(int kind) const {
  const TsSkinTables& t = SkinManager()->Tables();
  const TsMaskData* glyph = MaskAt(t, Button(kind).GlyphIndex);
  const TsMaskData* close = MaskAt(t, buttons_[tbkClose].GlyphIndex);
  TPoint size{kMissingGlyphSize, kMissingGlyphSize};
  if (glyph && glyph->ImageCount > 0)
    size.X = (glyph->Image ? glyph->Image->Width() : glyph->Rect.Width()) / glyph->ImageCount;
  if (close)
    size.Y = close->Image ? close->Image->Height() / 2 : close->Rect.Height() / (close->MaskType + 1);
  return size;
}

int TsSkinProvider::ButtonTop(const TsFrameGeometry& g, bool big, int height) const {
  if (big && SkinManager()->SkinData().TitleButtonVAlign == 1) return g.Maximized ? g.W0 - 1 : 0;
  return (g.W0 + g.H - height) / 2 + (big && height < 16 ? 2 : 0);
}

//  Title buttons from the right, x starting at width - BIRIGHT - W:
//
//     ... [custom 1][custom 0]  8  [help][min][max][close] BIRIGHT | W |
//                          <-gap->     each step left: width + BISPACE (big glyphs only)
void TsSkinProvider::LayOutButtons(TsFrameGeometry& g) const {
  const TsSkinData& d = SkinManager()->SkinData();
  const bool shown[kTitleButtonCount] = {
      sysMenu_ && sysMenu_->VisibleClose(), sysMenu_ && sysMenu_->VisibleMax(),
      sysMenu_ && sysMenu_->VisibleMin(),
      sysMenu_ && sysMenu_->VisibleClose() && (form_->BorderIcons() & biHelp)};
  int x = g.Width - d.TitleButtonsRight - g.W;
  for (int k = 0; k < kTitleButtonCount; ++k) {
    const TzkTitleButton& b = buttons_[size_t(k)];
    g.ButtonShown[size_t(k)] = false;
    if (!shown[k] || b.GlyphIndex < 0) continue;
    const TPoint size = ButtonSize(k);
    const int top = ButtonTop(g, b.BigGlyph, size.Y);
    g.Buttons[size_t(k)] = TRect(x - size.X, top, x, top + size.Y);
    g.ButtonShown[size_t(k)] = true;
    x = x - size.X - (b.BigGlyph ? d.TitleButtonSpacing : 0);
  }
  const int count = titleButtons_.Count();
  g.Custom.assign(size_t(count), TRect());
  g.CustomShown.assign(size_t(count), false);
  bool gap = false;
  for (int i = 0; i < count; ++i) {
    const TsTitleButton& c = titleButtons_.Items(i);
    if (!c.Visible()) continue;
    if (!gap) x -= kCustomButtonGap;
    gap = true;
    const TPoint size = ButtonSize(kTitleButtonCount + i);
    const int top = ButtonTop(g, c.Record.BigGlyph, size.Y);
    g.Custom[size_t(i)] = TRect(x - size.X, top, x, top + size.Y);
    g.CustomShown[size_t(i)] = true;
    x = x - size.X - (c.Record.BigGlyph ? d.TitleButtonSpacing : 0);
  }
}

// The menu line: a maximized MDI child's icon and buttons at its ends, the main menu's items
// between them.
void TsSkinProvider::LayOutMenuLine(TsFrameGeometry& g) const {
  TMainMenu* menu = form_->Menu();
  const bool mdi = MaximizedMdiChild() != nullptr;
  if ((!menu && !mdi) || g.H == 0) return;
  g.MenuLineHeight = GetSystemMetrics(SM_CYMENU) - 1;
  const int top = g.TitleBand();
  int left = g.W, right = g.Width - g.W;
  if (mdi) LayOutMdiLine(g, left, right);
  int row = 0;
  bool any = false;
  if (menu) LayOutMenuItems(g, menu, left, right, row, any);
  g.MenuLines = any ? row + 1 : 1;
  // The rows the platform reserved (its own bar may be a pixel higher than ours).
  g.MenuLine = TRect(g.W, top, g.Width - g.W, std::max(top + g.MenuLines * g.MenuLineHeight, g.Client.Top));
}

// Top-level items of the main menu from left to right, a new row when an item does not fit.
void TsSkinProvider::LayOutMenuItems(TsFrameGeometry& g, TMainMenu* menu, int left, int right, int& row,
                                     bool& any) const {
  const int top = g.TitleBand();
  TWindowDc dc(form_->WindowHandle(), false);
  TSelectObject font(dc.Get(), menuFont_.Get());
  int x = left;
  TMenuItem* items = menu->Items();
  g.MenuItems.assign(size_t(items->Count()), TRect());
  for (int i = 0; i < items->Count(); ++i) {
    const TMenuItem* item = items->Items(i);
    if (!item->Visible()) continue;
    SIZE ext = {};
    GetTextExtentPoint32W(dc.Get(), item->Caption().c_str(), int(item->Caption().size()), &ext);
    const int w = int(ext.cx) + 2 * kMenuItemPadding;
    if (any && x + w > right) {
      x = left;
      ++row;
    }
    any = true;
    g.MenuItems[size_t(i)] = TRect(x, top + row * g.MenuLineHeight, x + w, top + (row + 1) * g.MenuLineHeight);
    x += w;
  }
}

TsFrameGeometry TsSkinProvider::Geometry() const {
  TsFrameGeometry g;
  HWND wnd = form_->WindowHandle();
  RECT wr;
  GetWindowRect(wnd, &wr);
  g.Width = wr.right - wr.left;
  g.Height = wr.bottom - wr.top;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  g.W0 = (style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME)
         : (style & WS_BORDER)   ? GetSystemMetrics(SM_CXDLGFRAME)
                                 : 0;
  g.W = g.W0;
  const bool caption = (style & WS_CAPTION) == WS_CAPTION &&
                       (form_->BorderStyle() != TFormBorderStyle::bsNone || MdiChild());
  if (caption || IsIconic(wnd))
    g.H = GetSystemMetrics(ToolWindow(form_) ? SM_CYSMCAPTION : SM_CYCAPTION);
  g.Client = ClientRectInWindow(wnd);
  g.Maximized = IsZoomed(wnd) != FALSE;
  if (!SkinManager()) return g;
  const TsSkinData& d = SkinManager()->SkinData();
  LayOutButtons(g);

  g.IconShown = SingleOrSizable(form_) && ShowAppIcon && hadSysMenu_ && g.H > 0;
  const TPoint icon = TitleIconSize(g);
  const int iconSize = icon.X;
  if (g.IconShown) {
    int top = g.W0 / 2 - 1;
    top += (g.W0 + g.H - top - icon.Y) / 2;
    g.Icon = TRect(g.W + d.TitleButtonsLeft, top, g.W + d.TitleButtonsLeft + icon.X, top + icon.Y);
  }
  int reserved = d.TitleButtonsRight;
  bool first = true;
  for (int k = 0; k < kTitleButtonCount; ++k) {
    if (!g.ButtonShown[size_t(k)]) continue;
    reserved += g.Buttons[size_t(k)].Width();
    if (!first && buttons_[size_t(k)].BigGlyph) reserved += d.TitleButtonSpacing;
    first = false;
  }
  bool gap = false;
  for (size_t i = 0; i < g.Custom.size(); ++i) {
    if (!g.CustomShown[i]) continue;
    if (!gap) reserved += kCustomButtonGap;
    gap = true;
    reserved += g.Custom[i].Width() + (buttons_[tbkClose].BigGlyph ? d.TitleButtonSpacing : 0);
  }
  if (!menuFont_) {
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    menuFont_.Reset(CreateFontIndirectW(&ncm.lfMenuFont));
  }
  LayOutMenuLine(g);
  const int left = g.W + (g.IconShown ? iconSize : 0) + d.TitleButtonsLeft + (captionIndex_ >= 0 ? 2 : 0) + 4;
  const int top = IsZoomed(wnd) ? g.W0 / 2 + 1 : 2;
  g.Caption = TRect(left, top, g.Width - reserved - 6, g.W0 + g.H);
  return g;
}

// TitleIcon's own size where it gives one, else 1, 8 or 16 pixels by the caption height.
TPoint TsSkinProvider::TitleIconSize(const TsFrameGeometry& g) const {
  const int derived = g.H <= 8 ? 1 : g.H <= 16 ? 8 : 16;
  return TPoint{TitleIcon.Width > 0 ? TitleIcon.Width : derived, TitleIcon.Height > 0 ? TitleIcon.Height : derived};
}

// The size grip of GripMode: on a sizable window that is not maximized, at the bottom right
// of the client area, as large as the skin's "GRIPIMAGE" glyph.
bool TsSkinProvider::GripShown(const TsFrameGeometry& g) const {
  if (GripMode != TsGripMode::gmRightBottom || g.Maximized) return false;
  if (!(GetWindowLongPtrW(form_->WindowHandle(), GWL_STYLE) & WS_THICKFRAME)) return false;
  return !GripRect(g).IsEmpty();
}

TRect TsSkinProvider::GripRect(const TsFrameGeometry& g) const {
  const TsSkinTables& t = SkinManager()->Tables();
  const TsMaskData* m = MaskAt(t, t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", "GRIPIMAGE"));
  if (!m) return TRect();
  const int w = (m->Image ? m->Image->Width() : m->Rect.Width()) / std::max<int>(1, m->ImageCount);
  const int h = (m->Image ? m->Image->Height() : m->Rect.Height()) / std::max<int>(1, m->MaskType + 1);
  return TRect(g.Client.Right - w, g.Client.Bottom - h, g.Client.Right, g.Client.Bottom);
}

void TsSkinProvider::PaintGrip(const TsFrameGeometry& g) {
  const TsSkinTables& t = SkinManager()->Tables();
  const TsMaskData* m = MaskAt(t, t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", "GRIPIMAGE"));
  if (!m) return;
  const TRect r = GripRect(g);
  TsBackgroundInfo bg;
  bg.Bitmap = cache_.get();
  bg.IsBitmap = true;
  PaintGlyphMask(*cache_, TPoint{r.Left, r.Top}, 0, bg, *m, true);
}

// The grip over a client area filled with the form colour (a plain form section).
void TsSkinProvider::PaintGripOver(HDC dc, const TsFrameGeometry& g) {
  const TsSkinTables& t = SkinManager()->Tables();
  const TsMaskData* m = MaskAt(t, t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", "GRIPIMAGE"));
  const TRect r = GripRect(g);
  if (!m || r.IsEmpty()) return;
  TzkBitmap grip(r.Width(), r.Height(), TPixelFormat::pf24bit, TRowOrder::TopDown, TBitmapUse::Device);
  const TColor c = ColorToRGB(FormColor());
  for (int y = 0; y < grip.Height(); ++y)
    for (int x = 0; x < grip.Width(); ++x) {
      uint8_t* p = grip.ScanLine(y) + x * 3;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  TsBackgroundInfo own;
  own.Bitmap = &grip;
  own.IsBitmap = true;
  PaintGlyphMask(grip, TPoint{0, 0}, 0, own, *m, true);
  const TPoint off = ClientOffset();
  DrawBitmapToDC(dc, r.Left - off.X, r.Top - off.Y, grip, TRect(0, 0, r.Width(), r.Height()));
}

void TsSkinProvider::FrameChanged() {
  if (!Skinned()) return;
  InvalidateFrame(true);
  if (form_->HandleAllocated())
    RedrawWindow(form_->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// [SECTION] The frame cache

void TsSkinProvider::InvalidateFrame(bool repaintNow) {
  cacheStale_ = true;
  if (repaintNow && form_->HandleAllocated() && IsWindowVisible(form_->WindowHandle()))
    PaintFrameToWindow();
}

void TsSkinProvider::RenderCache() {
  if (!Skinned()) return;
  SelectStateGlyphs();
  TsFrameGeometry g = Geometry();
  if (g.Width <= 0 || g.Height <= 0) return;
  if (!cache_ || cache_->Width() != g.Width || cache_->Height() != g.Height) {
    cache_ = std::make_unique<TzkBitmap>(g.Width, g.Height, TPixelFormat::pf24bit,
                                         TRowOrder::TopDown, TBitmapUse::Device);
    cacheStale_ = true;
  }
  if (!cacheStale_) return;
  const int state = active_ ? 1 : 0;
  const TsSkinTables* t = &SkinManager()->Tables();
  TsBackgroundInfo bg;
  bg.Color = FormColor();
  cache_->Fill(0);
  PaintSectionByIndex(formIndex_, "FORM", bg, -1, -1, t, cache_.get(), TPoint{0, 0},
                      TRect(0, 0, g.Width, g.Height), state, true);
  if (GripShown(g)) PaintGrip(g);
  if (g.H > 0) PaintTitle(g, state);
  if (g.MenuLines > 0) PaintMenuLine(g);
  cacheStale_ = false;
}

void TsSkinProvider::PaintTitle(const TsFrameGeometry& g, int state) {
  const TsSkinTables* t = &SkinManager()->Tables();
  const TRect band(0, 0, g.Width, std::min(g.TitleBand(), g.Height));
  TsBackgroundInfo bg;
  bg.Bitmap = cache_.get();
  bg.IsBitmap = true;
  PaintSectionByIndex(titleIndex_, TitleSkin.empty() ? "FORMTITLE" : TitleSkin, bg, -1, -1, t,
                      cache_.get(), TPoint{0, 0}, band, state, true);
  if (g.IconShown && !TitleIcon.Glyph.Empty()) {
    DrawTitleGlyph(*cache_, TitleIcon.Glyph, g.Icon);
  } else if (g.IconShown) {
    TBitmapDc dc(DibHandle(*cache_));
    if (dc) PaintIcon(dc.Get(), g);
  }
  const int bar = t->IndexOfMask(formIndex_, "FORM", "TITLEBAR");
  const bool anyButton = std::find(g.ButtonShown.begin(), g.ButtonShown.end(), true) != g.ButtonShown.end() ||
                         std::find(g.CustomShown.begin(), g.CustomShown.end(), true) != g.CustomShown.end();
  if (const TsMaskData* m = MaskAt(*t, bar); m && anyButton) {
    const int w = (m->Image ? m->Image->Width() : m->Rect.Width()) / std::max<int>(1, m->ImageCount);
    PaintGlyphMask(*cache_, TPoint{g.Width - w, 0}, state, bg, *m, true);
  }
  titleBand_ = std::make_unique<TzkBitmap>(g.Width, band.Height());
  for (int y = 0; y < band.Height(); ++y)
    std::copy(cache_->ScanLine(y), cache_->ScanLine(y) + size_t(g.Width) * 3, titleBand_->ScanLine(y));
  PaintButtons(g);
  TBitmapDc dc(DibHandle(*cache_));
  if (dc) PaintCaption(dc.Get(), g);
}

HICON TsSkinProvider::TitleIconHandle() const { return WindowIconHandle(form_->WindowHandle()); }

void TsSkinProvider::PaintIcon(HDC dc, const TsFrameGeometry& g) {
  DrawIconEx(dc, g.Icon.Left, g.Icon.Top, TitleIconHandle(), g.Icon.Width(), g.Icon.Height(), 0,
             nullptr, DI_NORMAL);
}

void TsSkinProvider::PaintCaption(HDC dc, const TsFrameGeometry& g) {
  if (!captionFont_) {
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    captionFont_.Reset(CreateFontIndirectW(&ncm.lfCaptionFont));
  }
  const std::wstring text = form_->Caption();
  TRect r = g.Caption;
  if (r.Right <= r.Left || text.empty()) return;
  TSelectObject font(dc, captionFont_.Get());
  UINT align = DT_LEFT;
  if (CaptionAlignment == TAlignment::taRightJustify) align = DT_RIGHT;
  if (CaptionAlignment == TAlignment::taCenter) align = DT_CENTER;
  const TsSkinTables* t = &SkinManager()->Tables();
  if (captionIndex_ >= 0) {
    RECT m = {r.Left, r.Top, r.Right, r.Bottom};
    DrawTextW(dc, text.c_str(), int(text.size()), &m, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    const int w = std::min<int>(m.right - m.left, r.Width());
    const int free = r.Width() - w;
    const int shift = align == DT_RIGHT ? free : align == DT_CENTER ? free / 2 : 0;
    const int h = m.bottom - m.top;
    TRect back(r.Left + shift - 4, (r.Top + r.Bottom - h) / 2 - 2, r.Left + shift + w + 4,
               (r.Top + r.Bottom + h) / 2 + 2);
    TsBackgroundInfo bg;
    bg.Bitmap = cache_.get();
    bg.IsBitmap = true;
    PaintSectionByIndex(captionIndex_, "CAPTION", bg, -1, -1, t, cache_.get(),
                        TPoint{back.Left, back.Top}, back, active_ ? 1 : 0, true);
  }
  PaintSectionText(dc, text, true, t, active_, captionIndex_ >= 0 ? captionIndex_ : titleIndex_,
                   DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align, r);
  RECT m = {r.Left, r.Top, r.Right, r.Bottom};
  DrawTextW(dc, text.c_str(), int(text.size()), &m, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  const int w = std::min<int>(m.right - m.left, r.Width());
  const int free = r.Width() - w;
  const int shift = align == DT_RIGHT ? free : align == DT_CENTER ? free / 2 : 0;
  PaintAddedTitle(dc, g, r.Left + shift + w);
}

// AddedTitle 4 pixels right of the caption when at least 12 pixels remain, in its own font.
// A colour left at none or the window-text colour follows the title's font colours; another
// is blended half-way toward the title's normal font colour while the form is inactive.
void TsSkinProvider::PaintAddedTitle(HDC dc, const TsFrameGeometry& g, int captionRight) {
  const std::wstring& text = AddedTitle.Text;
  const TRect r(captionRight + 4, g.Caption.Top, g.Caption.Right, g.Caption.Bottom);
  if (text.empty() || r.Width() < 12) return;
  const TsSkinTables& t = SkinManager()->Tables();
  TColor normal = clWindowText, hot = clWindowText;
  if (t.IsValidSection(titleIndex_)) {
    normal = t.Sections[size_t(titleIndex_)].FontColor.Color;
    hot = t.Sections[size_t(titleIndex_)].HotFontColor.Color;
  }
  const TColor own = AddedTitle.Font.Color();
  TColor color;
  if (own == clNone || own == clWindowText)
    color = active_ ? hot : normal;
  else
    color = active_ ? own : HalfWay(own, normal);
  TSelectObject font(dc, AddedTitle.Font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, COLORREF(ColorToRGB(color)));
  RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
  DrawTextW(dc, text.c_str(), int(text.size()), &rc,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
}

// [SECTION] The menu line

// The menu-line section over the menu rows, then the top-level items in the menu font; the
// item whose popup is open is drawn in the section's hot look.
void TsSkinProvider::PaintMenuLine(const TsFrameGeometry& g) {
  const TsSkinTables* t = &SkinManager()->Tables();
  const std::string name = MenuLineSkin.empty() ? "MENULINE" : MenuLineSkin;
  const int index = t->IndexOfSection(name);
  TsBackgroundInfo bg;
  bg.Bitmap = cache_.get();
  bg.IsBitmap = true;
  PaintSectionByIndex(index, name, bg, -1, -1, t, cache_.get(), TPoint{g.MenuLine.Left, g.MenuLine.Top},
                      g.MenuLine, 0, true);
  if (g.MdiLine) PaintMdiLine(g);
  if (!form_->Menu()) return;
  TMenuItem* items = form_->Menu()->Items();
  for (int i = 0; i < items->Count() && size_t(i) < g.MenuItems.size(); ++i) {
    const TRect& r = g.MenuItems[size_t(i)];
    if (r.Width() <= 0) continue;
    const bool open = i == openMenuItem_;
    if (open)
      PaintSectionByIndex(index, name, bg, -1, -1, t, cache_.get(), TPoint{r.Left, r.Top}, r, 1, true);
    TBitmapDc dc(DibHandle(*cache_));
    if (!dc) return;
    TSelectObject font(dc.Get(), menuFont_.Get());
    const TMenuItem* item = items->Items(i);
    PaintSectionText(dc.Get(), item->Caption(), item->Enabled(), t, open, index,
                     DT_SINGLELINE | DT_VCENTER | DT_CENTER, r);
  }
}

// A press in the menu line: an item with sub-items opens them as a popup menu just below it
// (the item drawn open meanwhile); an item without sub-items is clicked.
bool TsSkinProvider::MenuLineDown(TPoint p) {
  TMainMenu* menu = form_->Menu();
  if (!menu) return false;
  const TsFrameGeometry g = Geometry();
  TMenuItem* items = menu->Items();
  for (int i = 0; i < items->Count() && size_t(i) < g.MenuItems.size(); ++i) {
    const TRect& r = g.MenuItems[size_t(i)];
    if (r.Width() <= 0 || !r.Contains(p)) continue;
    TMenuItem* item = items->Items(i);
    if (!item->Enabled()) return true;
    if (item->Count() == 0 || !item->Handle()) {
      item->Click();
      return true;
    }
    RECT wr;
    GetWindowRect(form_->WindowHandle(), &wr);
    openMenuItem_ = i;
    InvalidateFrame(true);
    TrackPopupMenuEx(item->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     wr.left + r.Left, wr.top + r.Bottom, PopupListWindow(), nullptr);
    openMenuItem_ = -1;
    if (Skinned()) InvalidateFrame(true);
    return true;
  }
  return true;
}

// [SECTION] Title buttons in the cache

bool TsSkinProvider::ButtonEnabled(int kind) const {
  if (kind >= kTitleButtonCount) return titleButtons_.Items(kind - kTitleButtonCount).Enabled();
  if (!sysMenu_) return false;
  switch (kind) {
    case tbkMax:
      return IsZoomed(form_->WindowHandle()) ? sysMenu_->EnabledRestore() : sysMenu_->EnabledMax();
    case tbkMin:
      return sysMenu_->EnabledMin();
    default:
      return true;
  }
}

void TsSkinProvider::DrawButtonGlyph(TzkBitmap& dst, int kind, int state, TPoint at) const {
  const TzkTitleButton& b = Button(kind);
  if (const TsMaskData* m = MaskAt(SkinManager()->Tables(), b.GlyphIndex)) {
    TsBackgroundInfo bg;
    bg.Bitmap = &dst;
    bg.IsBitmap = true;
    PaintGlyphMask(dst, at, state, bg, *m, true);
  }
  if (kind >= kTitleButtonCount)
    DrawCustomGlyph(dst, titleButtons_.Items(kind - kTitleButtonCount).Glyph,
                    TRect(at.X, at.Y, at.X + b.Rect.Width(), at.Y + b.Rect.Height()), state == kButtonPressed);
}

void TsSkinProvider::PaintButtons(const TsFrameGeometry& g) {
  const int count = kTitleButtonCount + titleButtons_.Count();
  for (int k = 0; k < count; ++k) {
    TzkTitleButton& b = Button(k);
    const bool custom = k >= kTitleButtonCount;
    const size_t i = size_t(custom ? k - kTitleButtonCount : k);
    b.Visible = custom ? g.CustomShown[i] : g.ButtonShown[i];
    b.Rect = custom ? g.Custom[i] : g.Buttons[i];
    if (!b.Visible) continue;
    const bool animated = b.Animation && b.Animation->Overlay();
    const int state = animated ? kButtonNormal : b.State;
    const bool opaque = !(state == kButtonNormal && (!active_ || !ButtonEnabled(k)));
    TsBackgroundInfo bg;
    bg.Bitmap = cache_.get();
    bg.IsBitmap = true;
    if (const TsMaskData* m = MaskAt(SkinManager()->Tables(), b.GlyphIndex))
      PaintGlyphMask(*cache_, TPoint{b.Rect.Left, b.Rect.Top}, state, bg, *m, opaque);
    if (custom) DrawCustomGlyph(*cache_, titleButtons_.Items(int(i)).Glyph, b.Rect, state == kButtonPressed);
  }
}

// Redraws one button without rendering the whole frame: the title band under it comes back
// from the saved copy, the glyph is drawn in its state and the rectangle copied to the window.
void TsSkinProvider::DrawButton(int kind, bool singleRedraw) {
  TzkTitleButton& b = Button(kind);
  if (!cache_ || !titleBand_ || cacheStale_ || !b.Visible) {
    InvalidateFrame(true);
    return;
  }
  const TRect r(std::max(0, b.Rect.Left), std::max(0, b.Rect.Top),
                std::min(b.Rect.Right, titleBand_->Width()), std::min(b.Rect.Bottom, titleBand_->Height()));
  for (int y = r.Top; y < r.Bottom; ++y)
    std::copy(titleBand_->ScanLine(y) + size_t(r.Left) * 3, titleBand_->ScanLine(y) + size_t(r.Right) * 3,
              cache_->ScanLine(y) + size_t(r.Left) * 3);
  const TsMaskData* m = MaskAt(SkinManager()->Tables(), b.GlyphIndex);
  if (m) {
    const bool enabled = ButtonEnabled(kind);
    const bool opaque = enabled && !(b.State == kButtonNormal && !active_) && !(singleRedraw && !enabled);
    TsBackgroundInfo bg;
    bg.Bitmap = cache_.get();
    bg.IsBitmap = true;
    PaintGlyphMask(*cache_, TPoint{b.Rect.Left, b.Rect.Top}, b.State, bg, *m, opaque);
  }
  if (kind >= kTitleButtonCount)
    DrawCustomGlyph(*cache_, titleButtons_.Items(kind - kTitleButtonCount).Glyph, b.Rect, b.State == kButtonPressed);
  TWindowDc dc(form_->WindowHandle(), true);
  if (dc.Get()) DrawBitmapToDC(dc.Get(), b.Rect.Left, b.Rect.Top, *cache_, b.Rect);
}

// [SECTION] Copying the frame to the window

void TsSkinProvider::PaintFrameToWindow() {
  // A maximized MDI child's frame lies outside its client window: nothing of it is drawn.
  if (!Skinned() || MdiChildMaximized()) return;
  RenderCache();
  if (!cache_) return;
  HWND wnd = form_->WindowHandle();
  TWindowDc dc(wnd, true);
  if (!dc.Get()) return;
  const TRect c = ClientRectInWindow(wnd);
  TSaveDc save(dc.Get());
  ExcludeClipRect(dc.Get(), c.Left, c.Top, c.Right, c.Bottom);
  DrawBitmapToDC(dc.Get(), 0, 0, *cache_, TRect(0, 0, cache_->Width(), cache_->Height()));
}

// [SECTION] Window region

void TsSkinProvider::BuildCorners(const TsFrameGeometry& g) {
  corners_.clear();
  const TsSkinTables& t = SkinManager()->Tables();
  if (t.IsValidSection(formIndex_)) {
    if (const TsMaskData* m = MaskAt(t, t.Sections[size_t(formIndex_)].BorderIndex)) {
      const int wb = m->WB > 0 ? m->WB : m->BorderWidth;
      CollectKeyRuns(corners_, g.Width, *m, false, 0);
      CollectKeyRuns(corners_, g.Width, *m, true, g.Height - wb);
    }
  }
  if (g.H > 0 && t.IsValidSection(titleIndex_))
    if (const TsMaskData* m = MaskAt(t, t.Sections[size_t(titleIndex_)].BorderIndex))
      CollectKeyRuns(corners_, g.Width, *m, false, 0);
}

void TsSkinProvider::ApplyRegion(bool redraw) {
  HWND wnd = form_->WindowHandle();
  const bool framed = form_->BorderStyle() != TFormBorderStyle::bsNone || MdiChild() || IsIconic(wnd);
  if (!drawNonClientArea_ || !framed) return;
  const TsFrameGeometry g = Geometry();
  regionSize_ = TPoint{g.Width, g.Height};
  TRegionHandle rgn;
  if (MdiChildMaximized()) {
    corners_.clear();
    rgn.Reset(CreateRectRgn(g.Client.Left, g.Client.Top, g.Client.Right, g.Client.Bottom));
  } else if (IsZoomed(wnd)) {
    corners_.clear();
    rgn.Reset(CreateRectRgn(g.W, g.W, g.Width - g.W, g.Height - g.W));
  } else {
    BuildCorners(g);
    rgn.Reset(CreateRectRgn(0, 0, g.Width, g.Height));
    for (const TRect& r : corners_) {
      TRegionHandle cut(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
      if (rgn && cut) CombineRgn(rgn.Get(), rgn.Get(), cut.Get(), RGN_DIFF);
    }
  }
  // What an MDI child's region leaves out is its parent's to paint (a top-level window's
  // is the desktop's): the change is always drawn.
  if (rgn && SetWindowRgn(wnd, rgn.Get(), redraw || MdiChild() ? TRUE : FALSE)) {
    rgn.Release();
    regionApplied_ = true;
  }
}

// [SECTION] Hit-testing

int TsSkinProvider::HitTest(TPoint p) {
  if (!Skinned() || MdiChildMaximized()) return HTNOWHERE;
  const TsFrameGeometry g = Geometry();
  if (g.H == 0) return HTNOWHERE;
  HWND wnd = form_->WindowHandle();
  const bool minimized = IsIconic(wnd) != FALSE;
  for (int k = 0; k < kTitleButtonCount; ++k) {
    if (!g.ButtonShown[size_t(k)] || !g.Buttons[size_t(k)].Contains(p)) continue;
    int code = buttons_[size_t(k)].HitCode;
    if (!sysMenu_) return HTCAPTION;
    if (k == tbkMax && !(sysMenu_->EnabledMax() || (sysMenu_->EnabledRestore() && !minimized)))
      code = HTCAPTION;
    if (k == tbkMin && !(sysMenu_->EnabledMin() || (minimized && g.ButtonShown[tbkMax])))
      code = HTCAPTION;
    if (code != HTCAPTION && !pressed_) SetHotButton(code);
    return code;
  }
  for (size_t i = 0; i < g.Custom.size(); ++i) {
    if (!g.CustomShown[i] || !g.Custom[i].Contains(p) || !titleButtons_.Items(int(i)).Enabled()) continue;
    const int code = kCustomButtonCode + int(i);
    if (!pressed_) SetHotButton(code);
    return code;
  }
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (!IsZoomed(wnd) && (style & WS_THICKFRAME)) {
    int r = HTNOWHERE;
    if (p.Y > g.Height - g.W) r = HTBOTTOM;
    else if (p.Y < g.W) r = HTTOP;
    if (p.X < g.W) r = r == HTTOP ? HTTOPLEFT : r == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
    else if (p.X > g.Width - g.W) r = r == HTTOP ? HTTOPRIGHT : r == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
    if (r != HTNOWHERE) {
      if (!pressed_) SetHotButton(0);
      return r;
    }
  }
  if (p.Y >= 0 && p.Y < g.TitleBand()) {
    if (g.IconShown && g.Icon.Contains(p)) return HTSYSMENU;
    return HTCAPTION;
  }
  if (GripShown(g)) {
    const TRect grip = GripRect(g);
    if (p.X >= grip.Left && p.Y >= grip.Top && g.Client.Contains(p)) return HTBOTTOMRIGHT;
  }
  if (g.MenuLines > 0 && p.Y < g.MenuLine.Bottom) {
    for (int k = 0; g.MdiLine && k < kMdiButtonCount; ++k) {
      if (!g.MdiButtons[size_t(k)].Contains(p)) continue;
      const int code = kMdiButtonCode + k;
      if (!mdiPressed_) SetMdiHot(code);
      return code;
    }
    return HTMENU;
  }
  return HTCLIENT;
}

// [SECTION] Button states and clicks

int TsSkinProvider::ButtonKindOfCode(int code) const {
  if (code <= 0) return -1;
  if (code >= kCustomButtonCode)
    return code - kCustomButtonCode < titleButtons_.Count() ? kTitleButtonCount + code - kCustomButtonCode : -1;
  for (int k = 0; k < kTitleButtonCount; ++k)
    if (buttons_[size_t(k)].HitCode == code) return k;
  return -1;
}

// A custom button's mouse event, with the pointer's screen position.
void TsSkinProvider::FireCustomMouse(int kind, bool down, LPARAM screenPoint) {
  TsTitleButton& c = titleButtons_.Items(kind - kTitleButtonCount);
  const TMouseEvent& event = down ? c.OnMouseDown : c.OnMouseUp;
  if (event)
    event(&c, TMouseButton::mbLeft, KeyboardShiftState(), GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint));
}

void TsSkinProvider::SetButtonState(int kind, int state) {
  TzkTitleButton& b = Button(kind);
  if (b.State == state) return;
  b.State = state;
  hint_.Arm(state == kButtonHot ? TitleButtonHint(*this, kind) : std::wstring());
  TsSkinView* manager = SkinManager();
  if (manager && manager->AllowGlowing() && b.Visible) {
    if (!b.Animation) b.Animation = std::make_unique<TzkSBAnimation>(*this, kind);
    b.Animation->ChangeState(state);
  } else {
    DrawButton(kind, true);
  }
}

void TsSkinProvider::AnimationFinished(int kind) {
  // The overlay is gone: the frame shows the button's own state again.
  DrawButton(kind, false);
}

void TsSkinProvider::SetHotButton(int code) {
  if (code == hotCode_) return;
  const int old = ButtonKindOfCode(hotCode_);
  hotCode_ = code;
  if (old >= 0) SetButtonState(old, kButtonNormal);
  const int now = ButtonKindOfCode(code);
  if (now >= 0) SetButtonState(now, kButtonHot);
  pressed_ = false;
}

bool TsSkinProvider::NonClientButtonDown(int code, TMessage& m) {
  HWND wnd = form_->WindowHandle();
  if (code >= kMdiButtonCode && code < kMdiButtonCode + kMdiButtonCount) {
    MdiButtonDown(code);
    return true;
  }
  if (code == HTMENU && MaximizedMdiChild()) {
    RECT wr;
    GetWindowRect(wnd, &wr);
    if (MdiLineDown(TPoint{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top})) return true;
  }
  if (code == HTSYSMENU) {
    SetHotButton(0);
    if (SkinManager() && !SkinManager()->SkinnedPopups()) {
      const DWORD until = GetTickCount() + 200;
      while (GetTickCount() < until) Application->ProcessMessages();
    }
    ShowSystemMenuAtIcon();
    return true;
  }
  const int kind = ButtonKindOfCode(code);
  // Without its system menu (never set up) the provider has no buttons of its own to press.
  if (kind >= 0 && kind < kTitleButtonCount && !sysMenu_) return false;
  if (kind >= 0) {
    if (kind == tbkMax && !(sysMenu_->EnabledMax() || (IsZoomed(wnd) && sysMenu_->EnabledRestore())))
      return true;
    const int old = ButtonKindOfCode(hotCode_);
    if (old >= 0 && old != kind) SetButtonState(old, kButtonNormal);
    hotCode_ = code;
    SetButtonState(kind, kButtonPressed);
    pressed_ = true;
    SetCapture(wnd);
    if (kind >= kTitleButtonCount) FireCustomMouse(kind, true, m.LParam);
    return true;
  }
  if (code == HTMENU && form_->Menu()) {
    RECT wr;
    GetWindowRect(wnd, &wr);
    return MenuLineDown(TPoint{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top});
  }
  if (IsIconic(wnd) && code != HTMENU) {
    m.Result = SendMessageW(wnd, WM_SYSCOMMAND, SC_MOVE + 2, m.LParam);
    return true;
  }
  if (ResizeMode == TsResizeMode::rmBorder && (code == HTCAPTION || (code >= HTLEFT && code <= HTBOTTOMRIGHT)))
    return OutlineDrag(WPARAM(code), m.LParam);
  return false;
}

// The skinned system menu just below the title icon (below the title's left end when the
// icon is not shown), as a click on the icon or Alt+Space opens it.
void TsSkinProvider::ShowSystemMenuAtIcon() {
  const TsFrameGeometry g = Geometry();
  RECT wr;
  GetWindowRect(form_->WindowHandle(), &wr);
  if (g.IconShown)
    PopupSystemMenu(wr.left + g.Icon.Left, wr.top + g.Icon.Bottom);
  else
    PopupSystemMenu(wr.left + g.W, wr.top + g.TitleBand());
}

bool TsSkinProvider::ReleaseButton(TPoint p, TMessage& m) {
  HWND wnd = form_->WindowHandle();
  const int kind = ButtonKindOfCode(hotCode_);
  pressed_ = false;
  if (GetCapture() == wnd) ReleaseCapture();
  if (kind < 0 || (kind < kTitleButtonCount && !sysMenu_)) return false;
  const bool inside = Button(kind).Rect.Contains(p);
  if (kind >= kTitleButtonCount) {
    hotCode_ = 0;
    SetButtonState(kind, kButtonNormal);
    m.Result = 0;
    RECT wr;
    GetWindowRect(wnd, &wr);
    FireCustomMouse(kind, false, MAKELPARAM(wr.left + p.X, wr.top + p.Y));
    return true;
  }
  UINT command = 0;
  switch (kind) {
    case tbkMin:
      if (!inside) {
        SetHotButton(0);
        return false;
      }
      command = (Application->MainForm() == form_ || !IsIconic(wnd)) ? SC_MINIMIZE : SC_RESTORE;
      break;
    case tbkMax:
      if (!(sysMenu_->EnabledMax() || (IsZoomed(wnd) && sysMenu_->EnabledRestore()))) return false;
      command = IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE;
      break;
    case tbkClose:
      command = SC_CLOSE;
      break;
    default:
      command = SC_CONTEXTHELP;
      break;
  }
  hotCode_ = 0;
  SetButtonState(kind, kButtonNormal);
  if (!inside && kind != tbkClose) cacheStale_ = true;
  if (sysMenu_) sysMenu_->Refresh();
  m.Result = 0;
  // Posted: the command may close and free the form, and this provider with it.
  PostMessageW(wnd, WM_SYSCOMMAND, command, 0);
  return true;
}

bool TsSkinProvider::DoubleClick(int code) {
  HWND wnd = form_->WindowHandle();
  if (code == HTSYSMENU) {
    PostMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (code != HTCAPTION || !sysMenu_) return false;
  const bool frameless = form_->BorderStyle() == TFormBorderStyle::bsNone;
  if ((sysMenu_->VisibleClose() && (sysMenu_->EnabledMax() || sysMenu_->EnabledRestore())) ||
      (frameless && IsIconic(wnd))) {
    SendMessageW(wnd, WM_SYSCOMMAND, (IsZoomed(wnd) || IsIconic(wnd)) ? SC_RESTORE : SC_MAXIMIZE, 0);
    sysMenu_->Refresh();
    return true;
  }
  return false;
}
