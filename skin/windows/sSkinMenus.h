// TsSkinableMenus: the popup-menu painter of a skin manager. While a skin is applied every
// menu the application owns is owner-drawn, and each item is measured and drawn here: the
// whole menu background ("MAINMENU" with its border, the icon band, an optional extra line)
// is composed once per opened menu into a cache, and each item copies its part of it and
// draws its highlight ("MENUITEM"), check glyph, image, caption, shortcut and sub-menu arrow
// on top. The menu windows themselves are adapted by TzkMnuWnd (zkMnuWnd.h), which paints
// their frame from the same cache and cuts their region to the skin's corners.
//
// [SECTION] Attaching      handlers on and off the application's menus
// [SECTION] Measuring      item sizes, extra-line data, menu fonts
// [SECTION] Cache          the menu background per opened menu, corners and region
// Drawing items is in sSkinMenusDraw.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/sWindowSkinning.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkMenuLayout.h"
#include "skin/windows/zkAdoptedMenus.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"
#include "toolkit/Dpi.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/Menu.h"

class TsSkinManager;
class TsSkinView;
class TsSkinTables;
class TComponent;

using TsMenuManagerDrawItemEvent = std::function<void(
    TObject* sender, TCanvas& canvas, const TRect& rect, TOwnerDrawState state,
    TsMenuItemType itemType)>;

// What a menu background depends on besides the skin's sections: its size, the picture
// width of the menu's first item and the section of the icon band, and the painter's
// spacing; Generation changes with every new skin or scale and when the painter is switched
// off.
struct TzkMenuBackgroundKey {
  TSize Size;
  int ImageWidth = 0;
  int Margin = 0;
  int Spacing = 0;
  int Border = 0;
  std::string IcoLine;  // the icon band's section
  unsigned Generation = 0;
  bool operator==(const TzkMenuBackgroundKey& o) const {
    return Size.cx == o.Size.cx && Size.cy == o.Size.cy && ImageWidth == o.ImageWidth &&
           Margin == o.Margin && Spacing == o.Spacing && Border == o.Border && IcoLine == o.IcoLine &&
           Generation == o.Generation;
  }
};

// The background of one opened menu, keyed by the menu's first item.
struct TzkMenuCache {
  TMenuItem* FirstItem = nullptr;
  TzkBitmap Bitmap;          // the whole menu window
  HWND Window = nullptr;     // may be unknown
  bool ExtraLineVisible = false;
  TzkMenuBackgroundKey Key;  // what the background was composed for
};

class TsSkinableMenus : public IzkMenuPainter {
 public:
  explicit TsSkinableMenus(TsSkinManager* manager);
  ~TsSkinableMenus() override;

  // Published properties.
  TAlignment Alignment = TAlignment::taLeftJustify;
  int BevelWidth = 0;  // stored only
  int BorderWidth = 3;
  TFont CaptionFont;
  int Margin = 2;
  int Spacing = 6;
  // -1: the "MAINMENU" border mask's width, remembered until the next skin change.
  int SkinBorderWidth();
  void SetSkinBorderWidth(int value) { skinBorderWidth_ = value; borderResolved_ = -1; }
  TsMenuManagerDrawItemEvent OnDrawItem;

  TsSkinManager* Manager() const { return manager_; }
  bool Active() const { return active_; }

  // IzkMenuPainter
  void SetActive(bool on) override;
  void SkinChanged() override {
    borderResolved_ = -1;
    lookGeneration_ = NextLookGeneration();
    ForgetSpareBackgrounds();
  }
  void ApplyBorderOfItem(TObject* item) override;
  void ApplyBorderOfWindow(HWND menuWindow) override;
  void AdoptPlatformMenu(HMENU menu) override;
  // Gives the platform's menus adopted for drawing their own items back (their menus closed).
  void ReleaseAdoptedMenus() { adopted_.ReleaseAll(); }
  size_t AdoptedMenuCount() const { return adopted_.Count(); }

  // [SECTION] Attaching
  // Gives every item of the menu, recursively, the painter's handlers (on), or takes only
  // the painter's own back (off); items with handlers of their own are left alone. A popup
  // menu is owner-drawn and without opening animation while skinned.
  void HookMenu(TMenu* menu, bool on);
  void HookItem(TMenuItem* item, bool on);
  // Whether the item is measured and drawn by a menu painter.
  static bool HasPainterHandlers(const TMenuItem* item);
  // The first item of the item's menu: the key of the menu's cache.
  static TMenuItem* FirstItemOf(const TMenuItem* item);
  // No item up to and including this one starts a new column.
  static bool InFirstColumn(const TMenuItem* item);
  // The window is a popup-menu window ("#32768").
  static bool IsMenuWindow(HWND wnd);

  // [SECTION] Measuring (the owner-draw protocol's handlers)
  void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
  void DrawItem(TMenuItem* item, TCanvas& canvas, const TRect& rect, TOwnerDrawState state);
  // The picture size of an item: its own bitmap, its parent's sub-menu images, the menu's
  // images, else 16 x 16 at the manager's scale.
  TSize ImageSizeOf(const TMenuItem* item) const;
  // Margin and Spacing at the manager's scale.
  TzkMenuSpacing SpacingValues() const;
  // The extra line's width for items of this menu's first column (0 without the line).
  int ExtraLineWidthOf(TMenuItem* firstItem);
  // The screen's menu font at a DPI in the charset of the menu owner's form; bold for
  // default items.
  static LOGFONTW MenuFontFor(const TMenuItem* item, int dpi = kDesignDpi);
  // Reads the screen's menu font at a DPI again (the settings may have changed since the
  // last menu).
  static void ReadScreenMenuFont(int dpi);
  // The manager's display scale (a DPI).
  int PixelsPerInch() const;
  // A length at the manager's scale, and the extra line's width there.
  int Scaled(int value) const;
  int ScaledExtraLineWidth() const;
  static int TextUnitOf(HDC dc);

  // [SECTION] Cache
  // The entry of the menu whose first item this is, or null.
  static TzkMenuCache* CacheOf(const TMenuItem* firstItem);
  static TzkMenuCache* CacheOfWindow(HWND wnd);
  // Builds the entry (a window-sized background) when the menu has none; with a window
  // known, the window's region is set from it. Without a window the background is made at
  // least `atLeast` large, so that every item drawn finds its background inside it.
  TzkMenuCache& CacheFor(TMenuItem* firstItem, HWND wnd, TSize atLeast = TSize());
  // Frees every entry (a menu window went). Backgrounds without an extra line are kept
  // aside (a few, the newest) for the next menu of the same look.
  static void FreeAllCaches();
  static void ForgetSpareBackgrounds();
  static size_t SpareBackgroundCount();
  // Frees the entry of one menu.
  static void FreeCacheOf(const TMenuItem* firstItem);
  static size_t CacheCount();
  // The rectangles cut from the last built menu's window at the skin's corners.
  const std::vector<TRect>& Corners() const { return corners_; }
  // Sets the region of a menu window whose adapter has not painted yet.
  void ApplyRegion(HWND wnd, const TzkMenuCache& cache);
  // The size a menu is shown at when its window cannot be asked.
  TSize MenuSizeOf(TMenuItem* firstItem) const;
  // The menu window whose painting is composed off screen right now (a memory context
  // carries no window of its own).
  static HWND PaintingWindow;
  // A skinned menu is being measured or shown; cleared when a menu window goes.
  static bool MenuShown;

 private:
  struct TzkExtraLine {
    std::string Section = "EXTRALINE";
    std::wstring Caption;
    std::unique_ptr<TBitmap> Glyph;
    bool Visible = false;
  };
  void HookComponents(TComponent* owner, bool on);
  void EnsureExtraLine(TMenuItem* firstItem);
  const TsSkinTables* Tables() const;
  void RenderBackground(TzkMenuCache& cache);
  void PaintExtraLine(TzkMenuCache& cache, const TRect& band);
  void CollectCorners(int width, int height);
  TzkMenuBackgroundKey BackgroundKeyOf(TMenuItem* firstItem, TSize size);
  // Takes a kept background of the cache's key; false when there is none.
  bool ReuseSpareBackground(TzkMenuCache& cache);
  static unsigned NextLookGeneration();
  TPoint CacheOffset(HWND wnd) const;

  // Drawing (sSkinMenusDraw.cpp).
  void DrawDivider(HDC dc, const TRect& rect, const TzkMenuCache& cache, TPoint offset,
                   int extraLine);
  void DrawCaptionItem(HDC dc, TMenuItem* item, const TRect& rect, const TzkMenuCache& cache,
                       TPoint offset);
  void DrawNormalItem(HDC dc, TMenuItem* item, const TRect& rect, TOwnerDrawState state,
                      const TzkMenuCache& cache, TPoint offset, int extraLine);
  void CopyBackgroundAround(HDC dc, TMenuItem* item, const TRect& rect,
                            const TzkMenuCache& cache, TPoint offset);
  void DrawCheckOrImage(TzkBitmap& bmp, TMenuItem* item, int state, bool hot);
  void DrawItemText(HDC dc, TMenuItem* item, const TRect& itemRect, bool hot,
                    TOwnerDrawState state);
  void DrawSubMenuArrow(TzkBitmap& bmp, bool hot);

  TsSkinManager* manager_;
  bool active_ = false;
  int skinBorderWidth_ = -1;
  int borderResolved_ = -1;
  std::vector<TRect> corners_;
  std::map<const TMenuItem*, TzkExtraLine> extraLines_;
  std::map<const TMenuItem*, TzkMeasuredItem> measured_;
  TzkAdoptedMenus adopted_;
  unsigned lookGeneration_ = NextLookGeneration();
};

// The painter of a manager as the window layer sees it (null when it has none).
TsSkinableMenus* SkinableMenusOf(TsSkinView* manager);
// Makes the painter for the manager's seam.
std::unique_ptr<IzkMenuPainter> MakeSkinableMenus(TsSkinManager* manager);
