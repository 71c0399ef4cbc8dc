// Drawing menu items: each item is composed on a bitmap of its own from the menu's cached
// background and copied to the menu in one piece.
#include <algorithm>

#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinMenus.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Messages.h"

namespace {

// The width at the right of an item that holds the sub-menu arrow.
constexpr int kArrowArea = 20;

TsBackgroundInfo BackgroundOf(const TzkBitmap& bmp, int x, int y) {
  TsBackgroundInfo bg;
  bg.Bitmap = &bmp;
  bg.IsBitmap = true;
  bg.X = x;
  bg.Y = y;
  return bg;
}

// The visible sibling after the item, or null.
TMenuItem* NextVisible(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return nullptr;
  for (int i = item->MenuIndex() + 1; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return nullptr;
}

TMenuItem* FirstVisible(TMenuItem* parent) {
  for (int i = 0; parent && i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return nullptr;
}

TColor FontColorOf(const TsSkinTables* t, int section, bool hot) {
  if (!t || !t->IsValidSection(section)) return ColorToRGB(hot ? clHighlightText : clMenuText);
  const TsGeneralData& s = t->Sections[size_t(section)];
  return TColor((hot ? s.HotFontColor : s.FontColor).Color);
}

// The "SysMenu" glyph of a system command in the Webdings font, or 0.
wchar_t SystemGlyphOf(intptr_t command) {
  switch (command) {
    case SC_MINIMIZE: return L'0';
    case SC_MAXIMIZE: return L'1';
    case SC_CLOSE: return L'r';
    case SC_RESTORE: return L'2';
    default: return 0;
  }
}

TFontHandle SymbolFont(int dpi, const wchar_t* face) {
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(10, dpi, 72);
  lf.lfCharSet = SYMBOL_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return TFontHandle(CreateFontIndirectW(&lf));
}

// Webdings, size 10; where an installation's Webdings lacks the glyph, Marlett, which has the
// four window-command glyphs at the same characters.
TFontHandle SymbolFontFor(HDC dc, int dpi, wchar_t glyph) {
  TFontHandle webdings = SymbolFont(dpi, L"Webdings");
  TSelectObject selected(dc, webdings.Get());
  WORD index = 0xFFFF;
  if (GetGlyphIndicesW(dc, &glyph, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF)
    return webdings;
  return SymbolFont(dpi, L"Marlett");
}

}  // namespace

void TsSkinableMenus::DrawItem(TMenuItem* item, TCanvas& canvas, const TRect& rect,
                               TOwnerDrawState state) {
  if (!Tables() || rect.IsEmpty()) return;
  HDC dc = canvas.Handle();
  HWND wnd = WindowFromDC(dc);
  if (!IsMenuWindow(wnd)) wnd = PaintingWindow;
  TMenuItem* first = FirstItemOf(item);
  if (!wnd) {
    // The border is drawn once the window can be found from the application window.
    MSG queued;
    HWND app = Application->Handle();
    if (!PeekMessageW(&queued, app, CM_MENUBORDER_ITEM, CM_MENUBORDER_WINDOW, PM_NOREMOVE))
      PostMessageW(app, CM_MENUBORDER_ITEM, 0, reinterpret_cast<LPARAM>(static_cast<TObject*>(item)));
  }
  const TPoint offset = CacheOffset(wnd);
  const TzkMenuCache& cache = CacheFor(
      first, wnd, TSize(rect.Right + offset.X + BorderWidth, rect.Bottom + offset.Y + BorderWidth));
  const int extra = InFirstColumn(item) ? ExtraLineWidthOf(first) : 0;
  switch (MenuItemTypeOf(item->Caption(), false)) {
    case smDivider:
      DrawDivider(dc, rect, cache, offset, extra);
      break;
    case smCaption:
      DrawCaptionItem(dc, item, rect, cache, offset);
      break;
    default:
      DrawNormalItem(dc, item, rect, state, cache, offset, extra);
      break;
  }
}

void TsSkinableMenus::DrawDivider(HDC dc, const TRect& rect, const TzkMenuCache& cache,
                                  TPoint offset, int extraLine) {
  const TsSkinTables* t = Tables();
  TzkBitmap bmp(rect.Width(), rect.Height());
  const int cx = rect.Left + offset.X, cy = rect.Top + offset.Y;
  CopyRect(bmp, 0, 0, cache.Bitmap, TRect(cx, cy, cx + rect.Width(), cy + rect.Height()));
  const TzkMenuBands bands =
      MenuBandsOf(TSize(cache.Bitmap.Width(), cache.Bitmap.Height()), SkinBorderWidth(),
                  cache.ExtraLineVisible ? ScaledExtraLineWidth() : 0,
                  ImageSizeOf(cache.FirstItem).cx, SpacingValues());
  const TzkSpan span = DividerSpan(0, rect.Width(), extraLine, bands.IconBand.Right - cx,
                                   SpacingValues());
  const int section = t->IndexOfSection("DIVIDERV");
  const int mask = t->IsValidSection(section) ? t->Sections[size_t(section)].BorderIndex : -1;
  if (t->IsValidMask(mask)) {
    PaintBorderMask(bmp, TRect(span.From, 0, span.To, rect.Height()), true, false, 0,
                    t->Masks[size_t(mask)], BackgroundOf(cache.Bitmap, cx, cy));
  } else {
    // The platform's etched line.
    const int y = rect.Height() / 2 - 1;
    FillRectOf(bmp, TRect(span.From, y, span.To, y + 1), 0x808080);
    FillRectOf(bmp, TRect(span.From, y + 1, span.To, y + 2), clWhite);
  }
  DrawBitmapToDC(dc, rect.Left, rect.Top, bmp, TRect(0, 0, bmp.Width(), bmp.Height()));
}

void TsSkinableMenus::DrawCaptionItem(HDC dc, TMenuItem* item, const TRect& rect,
                                      const TzkMenuCache& cache, TPoint offset) {
  const TsSkinTables* t = Tables();
  TzkBitmap bmp(rect.Width(), rect.Height());
  const int cx = rect.Left + offset.X, cy = rect.Top + offset.Y;
  CopyRect(bmp, 0, 0, cache.Bitmap, TRect(cx, cy, cx + rect.Width(), cy + rect.Height()));
  const int section = t->IndexOfSection("TOOLBAR");
  const TRect inner(1, 1, rect.Width() - 1, rect.Height() - 1);
  if (t->IsValidSection(section) && !inner.IsEmpty())
    PaintSectionByIndex(section, "TOOLBAR", BackgroundOf(bmp, 1, 1), -1, -1, t, &bmp, TPoint(),
                        inner, 0, true);
  const std::wstring text = CaptionItemText(item->Caption());
  DrawOnBitmap(bmp, [&](HDC b) {
    TSelectObject font(b, CaptionFont.Handle());
    SetBkMode(b, TRANSPARENT);
    SetTextColor(b, COLORREF(FontColorOf(t, section, false)));
    PaintSectionText(b, text, true, t, false, section,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX,
                     TRect(0, 0, rect.Width(), rect.Height()));
  });
  DrawBitmapToDC(dc, rect.Left, rect.Top, bmp, TRect(0, 0, bmp.Width(), bmp.Height()));
}

void TsSkinableMenus::CopyBackgroundAround(HDC dc, TMenuItem* item, const TRect& rect,
                                           const TzkMenuCache& cache, TPoint offset) {
  const TzkBitmap& bg = cache.Bitmap;
  const int menuBottom = bg.Height() - offset.Y;
  TMenuItem* next = NextVisible(item);
  const bool lastEndsHigh = !next && rect.Bottom + 6 < menuBottom - SkinBorderWidth();
  if ((next && next->Break()) || lastEndsHigh) {
    const int cx = rect.Left + offset.X, cy = rect.Bottom + offset.Y;
    DrawBitmapToDC(dc, rect.Left, rect.Bottom, bg,
                   TRect(cx, cy, cx + rect.Width(), bg.Height() - BorderWidth));
  }
  if (item->Break() && rect.Left >= 4) {
    const int cx = rect.Left - 4 + offset.X, cy = rect.Top + offset.Y;
    DrawBitmapToDC(dc, rect.Left - 4, rect.Top, bg, TRect(cx, cy, cx + 4, cy + rect.Height()));
  }
}

void TsSkinableMenus::DrawNormalItem(HDC dc, TMenuItem* item, const TRect& rect,
                                     TOwnerDrawState state, const TzkMenuCache& cache,
                                     TPoint offset, int extraLine) {
  const TsSkinTables* t = Tables();
  const int w = std::max(rect.Width() - extraLine, 1), h = rect.Height();
  TzkBitmap bmp(w, h);
  const int cx = rect.Left + extraLine + offset.X, cy = rect.Top + offset.Y;
  CopyRect(bmp, 0, 0, cache.Bitmap, TRect(cx, cy, cx + w, cy + h));
  CopyBackgroundAround(dc, item, rect, cache, offset);
  const bool hot = (state & odSelected) && item->Enabled();
  const int section = t->IndexOfSection("MENUITEM");
  if (t->IsValidSection(section))
    PaintSectionByIndex(section, "MENUITEM", BackgroundOf(cache.Bitmap, cx, cy), -1, -1, t, &bmp,
                        TPoint(), TRect(0, 0, w, h), hot ? 1 : 0, true);
  DrawCheckOrImage(bmp, item, hot ? 1 : 0, hot);
  DrawOnBitmap(bmp, [&](HDC b) { DrawItemText(b, item, TRect(0, 0, w, h), hot, state); });
  if (item->Count() > 0) DrawSubMenuArrow(bmp, hot);
  if (OnDrawItem) {
    DrawOnBitmap(bmp, [&](HDC b) {
      TCanvas itemCanvas(b);
      OnDrawItem(item, itemCanvas, TRect(0, 0, w, h), state, smNormal);
    });
  }
  if (!item->Enabled())
    BlendRectAt(bmp, cache.Bitmap, PercentToWeight(60), TRect(cx, cy, cx + w, cy + h), TPoint());
  DrawBitmapToDC(dc, rect.Left + extraLine, rect.Top, bmp, TRect(0, 0, w, h));
  if (extraLine > 0 && item == FirstVisible(item->Parent()))
    DrawBitmapToDC(dc, -offset.X, -offset.Y, cache.Bitmap,
                   TRect(0, 0, offset.X + rect.Left + extraLine + 3, cache.Bitmap.Height()));
  // The platform draws its own arrow after the item; it is kept out of what is ours.
  if (item->Count() > 0)
    ExcludeClipRect(dc, rect.Right - Scaled(kArrowArea), rect.Top, rect.Right, rect.Bottom);
}

void TsSkinableMenus::DrawCheckOrImage(TzkBitmap& bmp, TMenuItem* item, int state, bool hot) {
  const TsSkinTables* t = Tables();
  const TSize image = ImageSizeOf(item);
  const TMenu* menu = item->GetParentMenu();
  TImageList* images = item->Parent() && item->Parent()->SubMenuImages()
                           ? item->Parent()->SubMenuImages()
                           : (menu ? menu->Images() : nullptr);
  const bool listImage = !item->HasBitmap() && images && item->ImageIndex() >= 0;
  const bool hasImage = item->HasBitmap() || listImage;
  const int h = bmp.Height();
  if (item->Checked() && !hasImage) {
    const TsCachedIndexes& c = t->CachedIndexes;
    int glyph = item->RadioItem() ? c.RadioChecked : t->IndexOfMask(c.GlobalInfo, "GLOBALINFO", "CHECK");
    if (!t->IsValidMask(glyph)) glyph = c.CheckBoxChecked;
    if (t->IsValidMask(glyph)) {
      const TsMaskData& m = t->Masks[size_t(glyph)];
      PaintGlyphMask(bmp, TPoint(SpacingValues().Margin, (h - FrameHeight(m)) / 2), state,
                     BackgroundOf(bmp, 0, 0), m, false);
    }
  }
  if (hasImage) {
    const int d = (h - image.cy) / 2;
    if (item->Checked()) {
      const int sb = t->IndexOfSection("SPEEDBUTTON_SMALL");
      if (t->IsValidSection(sb))
        PaintSectionByIndex(sb, "SPEEDBUTTON_SMALL", BackgroundOf(bmp, d - 1, d - 1), -1, -1, t,
                            &bmp, TPoint(), TRect(d - 1, d - 1, d + image.cx + 1, d + image.cy + 1),
                            2, true);
    }
    DrawOnBitmap(bmp, [&](HDC b) {
      if (listImage) {
        images->Draw(b, d, d, item->ImageIndex(), item->Enabled());
        return;
      }
      const TBitmap& pic = item->Bitmap();
      if (pic.AlphaChannel()) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(b, d, d, pic.Width(), pic.Height(), pic.Dc(), 0, 0, pic.Width(), pic.Height(), blend);
      } else {
        BitBlt(b, d, d, pic.Width(), pic.Height(), pic.Dc(), 0, 0, SRCCOPY);
      }
    });
    return;
  }
  const wchar_t glyph = menu && menu->Name() == L"SysMenu" ? SystemGlyphOf(item->Tag()) : 0;
  if (!glyph) return;
  DrawOnBitmap(bmp, [&](HDC b) {
    TFontHandle font = SymbolFontFor(b, PixelsPerInch(), glyph);
    TSelectObject selected(b, font.Get());
    SetBkMode(b, TRANSPARENT);
    SetTextColor(b, COLORREF(FontColorOf(t, t->IndexOfSection("MENUITEM"), hot)));
    const std::wstring text(1, glyph);
    PaintSectionText(b, text, true, t, hot, t->IndexOfSection("MENUITEM"),
                     DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP,
                     TRect(Scaled(4), 0, bmp.Width(), h));
  });
}

void TsSkinableMenus::DrawItemText(HDC dc, TMenuItem* item, const TRect& r, bool hot,
                                   TOwnerDrawState state) {
  const TsSkinTables* t = Tables();
  const int section = t->IndexOfSection("MENUITEM");
  const LOGFONTW lf = MenuFontFor(item, PixelsPerInch());
  TFontHandle font(CreateFontIndirectW(&lf));
  TSelectObject selected(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, COLORREF(FontColorOf(t, section, hot)));
  const TzkMenuCaption caption = MenuCaptionOf(item->Caption());
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP;
  if (state & odNoAccel) format |= DT_HIDEPREFIX;
  if (caption.RightAligned || Alignment == TAlignment::taRightJustify) format |= DT_RIGHT;
  else if (Alignment == TAlignment::taCenter) format |= DT_CENTER;
  const int left = MenuCaptionLeft(ImageSizeOf(item).cx, SpacingValues());
  const int right = r.Right - Scaled(8);
  PaintSectionText(dc, caption.Text, true, t, hot, section, format, TRect(left, r.Top, right, r.Bottom));
  if (item->ShortCutText().empty()) return;
  PaintSectionText(dc, item->ShortCutText(), true, t, hot, section,
                   DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP, TRect(r.Left, r.Top, right, r.Bottom));
}

void TsSkinableMenus::DrawSubMenuArrow(TzkBitmap& bmp, bool hot) {
  // A solid triangle pointing right, 4 columns wide and 7 rows high at 100 %, in the
  // caption's colour; at other scales each of its columns and rows scaled.
  const TColor color = FontColorOf(Tables(), Tables()->IndexOfSection("MENUITEM"), hot);
  const int dpi = PixelsPerInch();
  const int x = bmp.Width() - ScaleForDpi(12, dpi), cy = bmp.Height() / 2, columns = ScaleForDpi(4, dpi);
  for (int i = 0; i < columns; ++i) {
    const int step = i * 4 / columns;  // the 100 % column this one stands for
    FillRectOf(bmp, TRect(x + i, cy + ScaleForDpi(step - 3, dpi), x + i + 1, cy + ScaleForDpi(4 - step, dpi)), color);
  }
}
