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
#include "toolkit/Dpi.h"
#include "toolkit/Menu.h"
#include "toolkit/UtilWindow.h"

namespace {

constexpr int kMenuItemPadding = 7;

bool SingleOrSizable(const TCustomForm* form) {
  const TFormBorderStyle style = form->BorderStyle();
  return style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
}

bool ToolWindow(const TCustomForm* form) {
  const TFormBorderStyle style = form->BorderStyle();
  return style == TFormBorderStyle::bsToolWindow || style == TFormBorderStyle::bsSizeToolWin;
}

// The title icon's own picture into the frame cache at r, clipped to r: magenta is the
// transparent colour when it has no alpha channel.
void DrawTitleGlyph(TzkBitmap& dst, const TBitmap& glyph, const TRect& r) {
  DrawPictureAt(dst, glyph, r.Left, r.Top, r.Width(), r.Height(), 0xFF00FF);
}

TColor HalfWay(TColor a, TColor b) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  return RGBColor(uint8_t((GetRValue(a) + GetRValue(b)) / 2), uint8_t((GetGValue(a) + GetGValue(b)) / 2),
                  uint8_t((GetBValue(a) + GetBValue(b)) / 2));
}

}  // namespace

// [SECTION] Geometry

// The menu line: a maximized MDI child's icon and buttons at its ends, the main menu's items
// between them.
void TsSkinProvider::LayOutMenuLine(TsFrameGeometry& g) const {
  TMainMenu* menu = form_->Menu();
  const bool mdi = MaximizedMdiChild() != nullptr;
  if ((!menu && !mdi) || g.H == 0) return;
  g.MenuLineHeight = MetricForDpi(SM_CYMENU, FrameDpi()) - 1;
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
    const int w = int(ext.cx) + 2 * ScaleForDpi(kMenuItemPadding, FrameDpi());
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
  const int dpi = FrameDpi();
  g.W0 = PlatformFrameSize(style, 0, dpi).Border;
  g.W = g.W0;
  const bool caption = (style & WS_CAPTION) == WS_CAPTION &&
                       (form_->BorderStyle() != TFormBorderStyle::bsNone || MdiChild());
  if (caption || IsIconic(wnd))
    g.H = MetricForDpi(ToolWindow(form_) ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
  g.Client = ClientRectInWindow(wnd);
  g.Maximized = IsZoomed(wnd) != FALSE;
  if (!SkinManager()) return g;
  const TsSkinData& d = SkinManager()->SkinData();
  title_.LayOutButtons(g);

  g.IconShown = SingleOrSizable(form_) && ShowAppIcon && hadSysMenu_ && g.H > 0;
  const TPoint icon = TitleIconSize(g);
  const int iconSize = icon.X;
  if (g.IconShown) {
    int top = g.W0 / 2 - 1;
    top += (g.W0 + g.H - top - icon.Y) / 2;
    g.Icon = TRect(g.W + d.TitleButtonsLeft, top, g.W + d.TitleButtonsLeft + icon.X, top + icon.Y);
  }
  const int reserved = title_.ReservedWidth(g);
  if (!menuFont_) {
    const NONCLIENTMETRICSW ncm = NonClientMetricsForDpi(dpi);
    menuFont_.Reset(CreateFontIndirectW(&ncm.lfMenuFont));
  }
  LayOutMenuLine(g);
  auto px = [dpi](int value) { return ScaleForDpi(value, dpi); };
  const int left =
      g.W + (g.IconShown ? iconSize : 0) + d.TitleButtonsLeft + (title_.CaptionIndex() >= 0 ? px(2) : 0) + px(4);
  const int top = IsZoomed(wnd) ? g.W0 / 2 + 1 : px(2);
  g.Caption = TRect(left, top, g.Width - reserved - px(6), g.W0 + g.H);
  return g;
}

int TsSkinProvider::FrameDpi() const {
  if (TsSkinView* manager = SkinManager()) return manager->PixelsPerInch();
  return form_ && form_->HandleAllocated() ? WindowDpi(form_->WindowHandle()) : kDesignDpi;
}

// TitleIcon's own size where it gives one, else 1, 8 or 16 pixels (at the frame's scale) by
// the caption height.
TPoint TsSkinProvider::TitleIconSize(const TsFrameGeometry& g) const {
  const int dpi = FrameDpi();
  const int small = ScaleForDpi(8, dpi), icon = ScaleForDpi(16, dpi);
  const int derived = g.H <= small ? 1 : g.H <= icon ? small : icon;
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
  title_.SelectStateGlyphs();
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
  PaintSectionByIndex(title_.FrameIndex(), "FORM", bg, -1, -1, t, cache_.get(), TPoint{0, 0},
                      TRect(0, 0, g.Width, g.Height), state, true);
  if (GripShown(g)) PaintGrip(g);
  if (g.H > 0) PaintTitle(g, state);
  if (g.MenuLines > 0) PaintMenuLine(g);
  cacheStale_ = false;
}

void TsSkinProvider::PaintTitle(const TsFrameGeometry& g, int state) {
  title_.PaintBand(g, state);
  TBitmapDc dc(DibHandle(*cache_));
  if (!dc) return;
  UINT align = DT_LEFT;
  if (CaptionAlignment == TAlignment::taRightJustify) align = DT_RIGHT;
  if (CaptionAlignment == TAlignment::taCenter) align = DT_CENTER;
  const int right = title_.PaintCaption(dc.Get(), g, align);
  if (right >= 0) PaintAddedTitle(dc.Get(), g, right);
}

HICON TsSkinProvider::TitleIconHandle() const { return WindowIconHandle(form_->WindowHandle()); }

// TitleIcon's own picture where it has one, else the window's icon.
void TsSkinProvider::DrawTitleIcon(TzkBitmap& cache, const TzkTitleGeometry& g) {
  if (!TitleIcon.Glyph.Empty()) {
    DrawTitleGlyph(cache, TitleIcon.Glyph, g.Icon);
    return;
  }
  TBitmapDc dc(DibHandle(cache));
  if (dc)
    DrawIconEx(dc.Get(), g.Icon.Left, g.Icon.Top, TitleIconHandle(), g.Icon.Width(), g.Icon.Height(), 0, nullptr,
               DI_NORMAL);
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
  if (t.IsValidSection(title_.TitleIndex())) {
    normal = t.Sections[size_t(title_.TitleIndex())].FontColor.Color;
    hot = t.Sections[size_t(title_.TitleIndex())].HotFontColor.Color;
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

// [SECTION] Copying the frame to the window

void TsSkinProvider::PaintFrameToWindow() {
  // A maximized MDI child's frame lies outside its client window: nothing of it is drawn.
  if (!Skinned() || MdiChildMaximized()) return;
  RenderCache();
  if (!cache_) return;
  DrawAroundClient(form_->WindowHandle(), *cache_, ClientRectInWindow(form_->WindowHandle()));
}

// [SECTION] Window region

void TsSkinProvider::BuildCorners(const TsFrameGeometry& g) {
  corners_.clear();
  title_.CollectCorners(corners_, g);
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
  if (const int code = title_.HitButton(g, p)) return code;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (!IsZoomed(wnd) && (style & WS_THICKFRAME)) {
    int r = HTNOWHERE;
    if (p.Y > g.Height - g.W) r = HTBOTTOM;
    else if (p.Y < g.W) r = HTTOP;
    if (p.X < g.W) r = r == HTTOP ? HTTOPLEFT : r == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
    else if (p.X > g.Width - g.W) r = r == HTTOP ? HTTOPRIGHT : r == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
    if (r != HTNOWHERE) {
      if (!title_.Pressed()) SetHotButton(0);
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

// A custom button's mouse event, with the pointer's screen position.
void TsSkinProvider::FireCustomMouse(int kind, bool down, LPARAM screenPoint) {
  TsTitleButton& c = titleButtons_.Items(kind - kTitleButtonCount);
  const TMouseEvent& event = down ? c.OnMouseDown : c.OnMouseUp;
  if (event)
    event(&c, TMouseButton::mbLeft, KeyboardShiftState(), GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint));
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
  if (title_.Press(code)) {
    const int kind = title_.KindOfCode(code);
    if (kind >= kTitleButtonCount && title_.Pressed()) FireCustomMouse(kind, true, m.LParam);
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
  const int kind = title_.KindOfCode(title_.HotCode());
  title_.ClearPressed();
  if (GetCapture() == wnd) ReleaseCapture();
  if (kind < 0 || (kind < kTitleButtonCount && !sysMenu_)) return false;
  if (kind >= kTitleButtonCount) {
    title_.Unpress(kind);
    m.Result = 0;
    RECT wr;
    GetWindowRect(wnd, &wr);
    FireCustomMouse(kind, false, MAKELPARAM(wr.left + p.X, wr.top + p.Y));
    return true;
  }
  // The application's main form always minimizes (the application goes to the task bar).
  const UINT command = title_.ReleaseCommand(kind, p, Application->MainForm() == form_);
  if (!command) return false;
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
