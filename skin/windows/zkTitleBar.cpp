#include "skin/windows/zkTitleBar.h"

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSystemMenu.h"
#include "toolkit/Dpi.h"

namespace {

constexpr int kMissingGlyphSize = 21;
constexpr int kCustomButtonGap = 8;

// A custom button's own picture centred on the button (one pixel right and down while
// pressed): through its alpha channel when it has one (premultiplied), else every pixel but
// those of its bottom-left pixel's colour is copied.
void DrawCustomGlyph(TzkBitmap& dst, const TBitmap& glyph, const TRect& button, bool pressed) {
  if (glyph.Empty() || dst.BytesPerPixel() < 3) return;
  const int x0 = button.Left + (button.Width() - glyph.Width()) / 2 + (pressed ? 1 : 0);
  const int y0 = button.Top + (button.Height() - glyph.Height()) / 2 + (pressed ? 1 : 0);
  const uint32_t key = glyph.ScanLine(glyph.Height() - 1)[0] & 0xFFFFFF;
  DrawPictureAt(dst, glyph, x0, y0, glyph.Width(), glyph.Height(), key);
}

}  // namespace

const TsMaskData* MaskAt(const TsSkinTables& t, int index) {
  return t.IsValidMask(index) ? &t.Masks[size_t(index)] : nullptr;
}


void DrawPictureAt(TzkBitmap& dst, const TBitmap& glyph, int x0, int y0, int w, int h, uint32_t key) {
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

HFONT NewCaptionFont(int dpi) {
  const NONCLIENTMETRICSW ncm = NonClientMetricsForDpi(dpi);
  return CreateFontIndirectW(&ncm.lfCaptionFont);
}

TzkFrameSize PlatformFrameSize(LONG_PTR style, LONG_PTR exStyle, int dpi) {
  TzkFrameSize f;
  f.Border = (style & WS_THICKFRAME) ? MetricForDpi(SM_CXFRAME, dpi)
             : (style & WS_BORDER)   ? MetricForDpi(SM_CXDLGFRAME, dpi)
                                     : 0;
  if ((style & WS_CAPTION) == WS_CAPTION)
    f.Caption = MetricForDpi((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
  return f;
}

void MoveClientToFrameDpi(RECT& client, LONG_PTR style, LONG_PTR exStyle, int windowDpi, int frameDpi) {
  if (windowDpi == frameDpi) return;
  const TzkFrameSize platform = PlatformFrameSize(style, exStyle, windowDpi);
  const TzkFrameSize skinned = PlatformFrameSize(style, exStyle, frameDpi);
  const int border = skinned.Border - platform.Border;
  client.left += border;
  client.right -= border;
  client.bottom -= border;
  client.top += border + skinned.Caption - platform.Caption;
  // A frame grown past a small window leaves an empty client area, never an inverted one.
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
}

TzkTitleBar::TzkTitleBar(IzkTitleFrame& frame) : frame_(frame) {
  static const int codes[kTitleButtonCount] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP};
  for (int k = 0; k < kTitleButtonCount; ++k) buttons_[size_t(k)].HitCode = codes[k];
}

// [SECTION] Sections and glyphs

void TzkTitleBar::LookUp() {
  const TsSkinTables& t = Manager()->Tables();
  // The caption font follows the manager's scale, which comes with every announcement.
  captionFont_.Reset();
  titleIndex_ = t.IndexOfSection(frame_.TitleSectionName());
  captionIndex_ = t.IndexOfSection("CAPTION");
  frameIndex_ = t.IndexOfSection(frame_.FrameSectionName());
  const int global = t.CachedIndexes.GlobalInfo;
  bool big = frame_.TitleBigGlyphs();
  if (!big && t.IndexOfMask(global, "GLOBALINFO", "SICONCLOSE") < 0) big = true;
  static const char* const bigKeys[kTitleButtonCount] = {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONHELP"};
  static const char* const smallKeys[kTitleButtonCount] = {"SICONCLOSE", "SICONMAX", "SICONMIN", "SICONHELP"};
  for (int k = 0; k < kTitleButtonCount; ++k) {
    TzkTitleButton& b = buttons_[size_t(k)];
    b.BigGlyph = big;
    b.GlyphKey = big ? bigKeys[k] : smallKeys[k];
    b.GlyphIndex = t.IndexOfMask(global, "GLOBALINFO", b.GlyphKey);
    if (k == tbkHelp && b.GlyphIndex < 0) {
      b.GlyphKey = "BICONHELP";
      b.GlyphIndex = t.IndexOfMask(global, "GLOBALINFO", b.GlyphKey);
      b.BigGlyph = true;
    }
  }
  SelectStateGlyphs();
  if (TsTitleButtons* custom = frame_.TitleCustomButtons()) {
    for (int i = 0; i < custom->Count(); ++i) {
      TsTitleButton& c = custom->Items(i);
      c.Record.BigGlyph = big;
      c.Record.GlyphKey = c.UseSkinData() ? "TITLEBUTTON" : "";
      c.Record.GlyphIndex = c.UseSkinData() ? t.IndexOfMask(global, "GLOBALINFO", "TITLEBUTTON") : -1;
    }
  }
}

// A skin without the restore glyph in GLOBALINFO may give it in the frame's own section;
// without either the button keeps its own glyph.
void TzkTitleBar::SelectStateGlyphs() {
  HWND wnd = Window();
  if (!wnd || !Manager()) return;
  const TsSkinTables& t = Manager()->Tables();
  const std::string frameName = frame_.FrameSectionName();
  const bool minimized = IsIconic(wnd) != FALSE;
  const bool maximized = IsZoomed(wnd) && !minimized;
  auto pick = [&](int kind, bool restore, const char* big, const char* small) {
    TzkTitleButton& b = buttons_[size_t(kind)];
    const std::string key = restore ? (b.BigGlyph ? "BICONNORM" : "SICONNORM") : (b.BigGlyph ? big : small);
    int index = t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", key);
    if (index < 0 && restore) index = t.IndexOfMask(frameIndex_, frameName, key);
    if (index < 0 && restore) return;
    if (key != b.GlyphKey) {
      b.Animation.reset();
      frame_.TitleCacheChanged(false);
    }
    b.GlyphKey = key;
    b.GlyphIndex = index;
  };
  pick(tbkMax, maximized, "BICONMAX", "SICONMAX");
  pick(tbkMin, minimized, "BICONMIN", "SICONMIN");
}

TzkTitleButton& TzkTitleBar::Button(int kind) {
  if (kind < kTitleButtonCount) return buttons_[size_t(kind)];
  return frame_.TitleCustomButtons()->Items(kind - kTitleButtonCount).Record;
}

const TzkTitleButton& TzkTitleBar::Button(int kind) const {
  if (kind < kTitleButtonCount) return buttons_[size_t(kind)];
  return frame_.TitleCustomButtons()->Items(kind - kTitleButtonCount).Record;
}

int TzkTitleBar::ButtonCount() const {
  const TsTitleButtons* custom = frame_.TitleCustomButtons();
  return kTitleButtonCount + (custom ? custom->Count() : 0);
}

const TsMaskData* TzkTitleBar::GlowMaskOf(int kind, int& margin) const {
  margin = 0;
  if (kind != tbkClose && kind != tbkMax && kind != tbkMin) return nullptr;
  const TzkTitleButton& b = Button(kind);
  TsSkinView* manager = Manager();
  if (!manager || b.GlyphKey.empty()) return nullptr;
  const TsSkinData& d = manager->SkinData();
  margin = kind == tbkClose ? d.CloseGlowMargin : kind == tbkMax ? d.MaxGlowMargin : d.MinGlowMargin;
  if (margin <= 0) return nullptr;
  const TsSkinTables& t = manager->Tables();
  const int index = t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", b.GlyphKey + "GLOW0");
  return t.IsValidMask(index) ? &t.Masks[size_t(index)] : nullptr;
}

// [SECTION] Layout

TPoint TzkTitleBar::ButtonSize(int kind) const {
  const TsSkinTables& t = Manager()->Tables();
  const TsMaskData* glyph = MaskAt(t, Button(kind).GlyphIndex);
  const TsMaskData* close = MaskAt(t, buttons_[tbkClose].GlyphIndex);
  const int missing = Manager()->Scaled(kMissingGlyphSize);
  TPoint size{missing, missing};
  if (glyph && glyph->ImageCount > 0)
    size.X = (glyph->Image ? glyph->Image->Width() : glyph->Rect.Width()) / glyph->ImageCount;
  if (close)
    size.Y = close->Image ? close->Image->Height() / 2 : close->Rect.Height() / (close->MaskType + 1);
  return size;
}

int TzkTitleBar::ButtonTop(const TzkTitleGeometry& g, bool big, int height) const {
  if (big && Manager()->SkinData().TitleButtonVAlign == 1) return g.Maximized ? g.W0 - 1 : 0;
  TsSkinView* m = Manager();
  return (g.W0 + g.H - height) / 2 + (big && height < m->Scaled(16) ? m->Scaled(2) : 0);
}

//  Title buttons from the right, x starting at width - BIRIGHT - W:
//
//     ... [custom 1][custom 0]  8  [help][min][max][close] BIRIGHT | W |
//                          <-gap->     each step left: width + BISPACE (big glyphs only)
void TzkTitleBar::LayOutButtons(TzkTitleGeometry& g) const {
  const TsSkinData& d = Manager()->SkinData();
  const TsCustomSysMenu* q = frame_.TitleQueries();
  const bool shown[kTitleButtonCount] = {q && q->VisibleClose(), q && q->VisibleMax(), q && q->VisibleMin(),
                                         q && q->VisibleClose() && frame_.TitleHelpShown()};
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
  const TsTitleButtons* custom = frame_.TitleCustomButtons();
  const int count = custom ? custom->Count() : 0;
  g.Custom.assign(size_t(count), TRect());
  g.CustomShown.assign(size_t(count), false);
  bool gap = false;
  for (int i = 0; i < count; ++i) {
    const TsTitleButton& c = custom->Items(i);
    if (!c.Visible()) continue;
    if (!gap) x -= Manager()->Scaled(kCustomButtonGap);
    gap = true;
    const TPoint size = ButtonSize(kTitleButtonCount + i);
    const int top = ButtonTop(g, c.Record.BigGlyph, size.Y);
    g.Custom[size_t(i)] = TRect(x - size.X, top, x, top + size.Y);
    g.CustomShown[size_t(i)] = true;
    x = x - size.X - (c.Record.BigGlyph ? d.TitleButtonSpacing : 0);
  }
}

int TzkTitleBar::ReservedWidth(const TzkTitleGeometry& g) const {
  const TsSkinData& d = Manager()->SkinData();
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
    if (!gap) reserved += Manager()->Scaled(kCustomButtonGap);
    gap = true;
    reserved += g.Custom[i].Width() + (buttons_[tbkClose].BigGlyph ? d.TitleButtonSpacing : 0);
  }
  return reserved;
}

bool TzkTitleBar::ButtonEnabled(int kind) const {
  if (kind >= kTitleButtonCount) return frame_.TitleCustomButtons()->Items(kind - kTitleButtonCount).Enabled();
  const TsCustomSysMenu* q = frame_.TitleQueries();
  if (!q) return false;
  switch (kind) {
    case tbkMax:
      return IsZoomed(Window()) ? q->EnabledRestore() : q->EnabledMax();
    case tbkMin:
      return q->EnabledMin();
    default:
      return true;
  }
}

// [SECTION] Painting into the cache

void TzkTitleBar::PaintBand(const TzkTitleGeometry& g, int state) {
  TzkBitmap* cache = frame_.TitleCache();
  if (!cache) return;
  const TsSkinTables* t = &Manager()->Tables();
  const TRect band(0, 0, g.Width, std::min(g.TitleBand(), g.Height));
  TsBackgroundInfo bg;
  bg.Bitmap = cache;
  bg.IsBitmap = true;
  PaintSectionByIndex(titleIndex_, frame_.TitleSectionName(), bg, -1, -1, t, cache, TPoint{0, 0}, band, state,
                      true);
  if (g.IconShown) frame_.DrawTitleIcon(*cache, g);
  const bool anyButton = std::find(g.ButtonShown.begin(), g.ButtonShown.end(), true) != g.ButtonShown.end() ||
                         std::find(g.CustomShown.begin(), g.CustomShown.end(), true) != g.CustomShown.end();
  if (frame_.TitleBarGlyphShown() && anyButton) {
    const int bar = t->IndexOfMask(frameIndex_, frame_.FrameSectionName(), "TITLEBAR");
    if (const TsMaskData* m = MaskAt(*t, bar)) {
      const int w = (m->Image ? m->Image->Width() : m->Rect.Width()) / std::max<int>(1, m->ImageCount);
      PaintGlyphMask(*cache, TPoint{g.Width - w, 0}, state, bg, *m, true);
    }
  }
  band_ = std::make_unique<TzkBitmap>(g.Width, band.Height());
  for (int y = 0; y < band.Height(); ++y)
    std::copy(cache->ScanLine(y), cache->ScanLine(y) + size_t(g.Width) * 3, band_->ScanLine(y));
  PaintButtons(g);
}

void TzkTitleBar::PaintButtons(const TzkTitleGeometry& g) {
  TzkBitmap* cache = frame_.TitleCache();
  const bool active = frame_.TitleActive();
  for (int k = 0; k < ButtonCount(); ++k) {
    TzkTitleButton& b = Button(k);
    const bool custom = k >= kTitleButtonCount;
    const size_t i = size_t(custom ? k - kTitleButtonCount : k);
    b.Visible = custom ? g.CustomShown[i] : g.ButtonShown[i];
    b.Rect = custom ? g.Custom[i] : g.Buttons[i];
    if (!b.Visible) continue;
    const bool animated = b.Animation && b.Animation->Overlay();
    const int state = animated ? kButtonNormal : b.State;
    const bool opaque = !(state == kButtonNormal && (!active || !ButtonEnabled(k)));
    TsBackgroundInfo bg;
    bg.Bitmap = cache;
    bg.IsBitmap = true;
    if (const TsMaskData* m = MaskAt(Manager()->Tables(), b.GlyphIndex))
      PaintGlyphMask(*cache, TPoint{b.Rect.Left, b.Rect.Top}, state, bg, *m, opaque);
    if (custom)
      DrawCustomGlyph(*cache, frame_.TitleCustomButtons()->Items(int(i)).Glyph, b.Rect, state == kButtonPressed);
  }
}

int TzkTitleBar::PaintCaption(HDC dc, const TzkTitleGeometry& g, UINT align) {
  if (!captionFont_) captionFont_.Reset(NewCaptionFont(Manager()->PixelsPerInch()));
  const std::wstring text = frame_.TitleText();
  const TRect r = g.Caption;
  if (r.Right <= r.Left || text.empty()) return -1;
  TSelectObject font(dc, captionFont_.Get());
  const TsSkinTables* t = &Manager()->Tables();
  const bool active = frame_.TitleActive();
  RECT m = {r.Left, r.Top, r.Right, r.Bottom};
  DrawTextW(dc, text.c_str(), int(text.size()), &m, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  const int w = std::min<int>(m.right - m.left, r.Width());
  const int free = r.Width() - w;
  const int shift = align == DT_RIGHT ? free : align == DT_CENTER ? free / 2 : 0;
  if (captionIndex_ >= 0) {
    const int h = m.bottom - m.top;
    const int dx = Manager()->Scaled(4), dy = Manager()->Scaled(2);
    TRect back(r.Left + shift - dx, (r.Top + r.Bottom - h) / 2 - dy, r.Left + shift + w + dx,
               (r.Top + r.Bottom + h) / 2 + dy);
    TzkBitmap* cache = frame_.TitleCache();
    TsBackgroundInfo bg;
    bg.Bitmap = cache;
    bg.IsBitmap = true;
    PaintSectionByIndex(captionIndex_, "CAPTION", bg, -1, -1, t, cache, TPoint{back.Left, back.Top}, back,
                        active ? 1 : 0, true);
  }
  PaintSectionText(dc, text, true, t, active, captionIndex_ >= 0 ? captionIndex_ : titleIndex_,
                   DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align, r);
  return r.Left + shift + w;
}

void TzkTitleBar::DrawButton(int kind, bool singleRedraw) {
  TzkTitleButton& b = Button(kind);
  TzkBitmap* cache = frame_.TitleCache();
  if (!cache || !band_ || frame_.TitleCacheStale() || !b.Visible) {
    frame_.TitleCacheChanged(true);
    return;
  }
  const TRect r(std::max(0, b.Rect.Left), std::max(0, b.Rect.Top), std::min(b.Rect.Right, band_->Width()),
                std::min(b.Rect.Bottom, band_->Height()));
  for (int y = r.Top; y < r.Bottom; ++y)
    std::copy(band_->ScanLine(y) + size_t(r.Left) * 3, band_->ScanLine(y) + size_t(r.Right) * 3,
              cache->ScanLine(y) + size_t(r.Left) * 3);
  if (const TsMaskData* m = MaskAt(Manager()->Tables(), b.GlyphIndex)) {
    const bool enabled = ButtonEnabled(kind);
    const bool opaque = enabled && !(b.State == kButtonNormal && !frame_.TitleActive()) && !(singleRedraw && !enabled);
    TsBackgroundInfo bg;
    bg.Bitmap = cache;
    bg.IsBitmap = true;
    PaintGlyphMask(*cache, TPoint{b.Rect.Left, b.Rect.Top}, b.State, bg, *m, opaque);
  }
  if (kind >= kTitleButtonCount)
    DrawCustomGlyph(*cache, frame_.TitleCustomButtons()->Items(kind - kTitleButtonCount).Glyph, b.Rect,
                    b.State == kButtonPressed);
  TWindowDc dc(Window(), true);
  if (dc.Get()) DrawBitmapToDC(dc.Get(), b.Rect.Left, b.Rect.Top, *cache, b.Rect);
}

void TzkTitleBar::DrawButtonGlyph(TzkBitmap& dst, int kind, int state, TPoint at) const {
  const TzkTitleButton& b = Button(kind);
  if (const TsMaskData* m = MaskAt(Manager()->Tables(), b.GlyphIndex)) {
    TsBackgroundInfo bg;
    bg.Bitmap = &dst;
    bg.IsBitmap = true;
    PaintGlyphMask(dst, at, state, bg, *m, true);
  }
  if (kind >= kTitleButtonCount)
    DrawCustomGlyph(dst, frame_.TitleCustomButtons()->Items(kind - kTitleButtonCount).Glyph,
                    TRect(at.X, at.Y, at.X + b.Rect.Width(), at.Y + b.Rect.Height()), state == kButtonPressed);
}

// [SECTION] Region corners

void TzkTitleBar::CollectCorners(std::vector<TRect>& corners, const TzkTitleGeometry& g) const {
  const TsSkinTables& t = Manager()->Tables();
  if (t.IsValidSection(frameIndex_)) {
    if (const TsMaskData* m = MaskAt(t, t.Sections[size_t(frameIndex_)].BorderIndex)) {
      const int wb = m->WB > 0 ? m->WB : m->BorderWidth;
      CollectKeyRuns(corners, g.Width, *m, false, 0);
      CollectKeyRuns(corners, g.Width, *m, true, g.Height - wb);
    }
  }
  if (g.H > 0 && t.IsValidSection(titleIndex_))
    if (const TsMaskData* m = MaskAt(t, t.Sections[size_t(titleIndex_)].BorderIndex))
      CollectKeyRuns(corners, g.Width, *m, false, 0);
}

// [SECTION] States and clicks

int TzkTitleBar::HitButton(const TzkTitleGeometry& g, TPoint p) {
  const bool minimized = IsIconic(Window()) != FALSE;
  const TsCustomSysMenu* q = frame_.TitleQueries();
  // A skin's negative button spacing makes neighbours overlap; the one painted last (the
  // left one) shows there, so it is asked first.
  for (int k = kTitleButtonCount - 1; k >= 0; --k) {
    if (!g.ButtonShown[size_t(k)] || !g.Buttons[size_t(k)].Contains(p)) continue;
    int code = buttons_[size_t(k)].HitCode;
    if (!q) return HTCAPTION;
    if (k == tbkMax && !(q->EnabledMax() || (q->EnabledRestore() && !minimized))) code = HTCAPTION;
    if (k == tbkMin && !(q->EnabledMin() || (minimized && g.ButtonShown[tbkMax]))) code = HTCAPTION;
    if (code != HTCAPTION && !pressed_) SetHot(code);
    return code;
  }
  const TsTitleButtons* custom = frame_.TitleCustomButtons();
  for (size_t i = 0; i < g.Custom.size(); ++i) {
    if (!g.CustomShown[i] || !g.Custom[i].Contains(p) || !custom->Items(int(i)).Enabled()) continue;
    const int code = kCustomButtonCode + int(i);
    if (!pressed_) SetHot(code);
    return code;
  }
  return 0;
}

int TzkTitleBar::KindOfCode(int code) const {
  if (code <= 0) return -1;
  if (code >= kCustomButtonCode) {
    const TsTitleButtons* custom = frame_.TitleCustomButtons();
    return custom && code - kCustomButtonCode < custom->Count() ? kTitleButtonCount + code - kCustomButtonCode : -1;
  }
  for (int k = 0; k < kTitleButtonCount; ++k)
    if (buttons_[size_t(k)].HitCode == code) return k;
  return -1;
}

void TzkTitleBar::SetButtonState(int kind, int state) {
  TzkTitleButton& b = Button(kind);
  if (b.State == state) return;
  b.State = state;
  frame_.TitleButtonStateChanged(kind, state);
  TsSkinView* manager = Manager();
  if (manager && manager->AllowGlowing() && b.Visible) {
    if (!b.Animation) b.Animation = std::make_unique<TzkSBAnimation>(*this, kind);
    b.Animation->ChangeState(state);
  } else {
    DrawButton(kind, true);
  }
}

void TzkTitleBar::AnimationFinished(int kind) {
  // The overlay is gone: the frame shows the button's own state again.
  DrawButton(kind, false);
}

void TzkTitleBar::SetHot(int code) {
  if (code == hotCode_) return;
  const int old = KindOfCode(hotCode_);
  hotCode_ = code;
  if (old >= 0) SetButtonState(old, kButtonNormal);
  const int now = KindOfCode(code);
  if (now >= 0) SetButtonState(now, kButtonHot);
  pressed_ = false;
}

bool TzkTitleBar::Press(int code) {
  const int kind = KindOfCode(code);
  if (kind < 0) return false;
  const TsCustomSysMenu* q = frame_.TitleQueries();
  // Without its system menu (never set up) the window has no buttons of its own to press.
  if (kind < kTitleButtonCount && !q) return false;
  if (kind == tbkMax && !(q->EnabledMax() || (IsZoomed(Window()) && q->EnabledRestore()))) return true;
  const int old = KindOfCode(hotCode_);
  if (old >= 0 && old != kind) SetButtonState(old, kButtonNormal);
  hotCode_ = code;
  SetButtonState(kind, kButtonPressed);
  pressed_ = true;
  SetCapture(Window());
  return true;
}

UINT TzkTitleBar::ReleaseCommand(int kind, TPoint p, bool alwaysMinimize) {
  HWND wnd = Window();
  const TsCustomSysMenu* q = frame_.TitleQueries();
  const bool inside = Button(kind).Rect.Contains(p);
  UINT command = 0;
  switch (kind) {
    case tbkMin:
      if (!inside) {
        SetHot(0);
        return 0;
      }
      command = (alwaysMinimize || !IsIconic(wnd)) ? SC_MINIMIZE : SC_RESTORE;
      break;
    case tbkMax:
      if (!(q->EnabledMax() || (IsZoomed(wnd) && q->EnabledRestore()))) return 0;
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
  if (!inside && kind != tbkClose) frame_.TitleCacheChanged(false);
  return command;
}

void TzkTitleBar::Unpress(int kind) {
  hotCode_ = 0;
  SetButtonState(kind, kButtonNormal);
}

bool TzkTitleBar::DropOverlays() {
  bool any = false;
  for (int k = 0; k < ButtonCount(); ++k) {
    TzkTitleButton& b = Button(k);
    if (!b.Animation) continue;
    b.Animation.reset();
    b.State = kButtonNormal;
    any = true;
  }
  if (!pressed_) hotCode_ = 0;
  return any;
}

void TzkTitleBar::FreeAnimations() {
  for (int k = 0; k < ButtonCount(); ++k) Button(k).Animation.reset();
}
