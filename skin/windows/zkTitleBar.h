// The title band of a skinned frame, shared by every window that draws one (a form's frame
// provider, a standard dialog's adapter): the title section with the icon and the caption,
// the title buttons with their glyph sets, layout and vertical placement, the saved copy of
// the band, the single-button redraw, the corners the region cuts away, the buttons' hot and
// pressed states with their fading overlays and glows.
//
// The window tells the band what it needs through IzkTitleFrame; the band knows nothing of
// forms or dialogs. Whatever only one kind of window has (a form's menu line, a dialog's
// frame kinds) stays with that window.
//
// [SECTION] TzkTitleGeometry   where the parts of the band lie
// [SECTION] IzkTitleFrame      what the band asks of its window
// [SECTION] TzkTitleBar        the band itself
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "skin/windows/sTitleButtons.h"
#include "toolkit/Handles.h"

class TsCustomSysMenu;
class TsSkinView;
class TsSkinTables;
struct TsMaskData;

// [SECTION] TzkTitleGeometry

// Window coordinates (origin at the window's top-left corner).
struct TzkTitleGeometry {
  int Width = 0;
  int Height = 0;
  int W = 0;          // border width (also the top and bottom frame height)
  int W0 = 0;         // border width without the extended border
  int H = 0;          // caption height
  int TitleBand() const { return W0 + H; }
  bool Maximized = false;
  bool IconShown = false;
  TRect Icon;
  TRect Caption;
  TRect Client;       // the client area
  std::array<TRect, kTitleButtonCount> Buttons;
  std::array<bool, kTitleButtonCount> ButtonShown = {};
  std::vector<TRect> Custom;       // custom title buttons by index (empty when hidden)
  std::vector<bool> CustomShown;
};

// [SECTION] IzkTitleFrame

class IzkTitleFrame {
 public:
  virtual HWND TitleWindow() const = 0;
  virtual TsSkinView* TitleManager() const = 0;
  // The six queries that decide which standard buttons show and which act; null while the
  // window has no system menu yet (no standard button shows then).
  virtual const TsCustomSysMenu* TitleQueries() const = 0;
  virtual bool TitleHelpShown() const = 0;
  // Active windows show the title's hot look and opaque buttons.
  virtual bool TitleActive() const = 0;
  virtual std::wstring TitleText() const = 0;
  // The frame asks for the big glyph set (the BICON images); otherwise the small set, or the
  // big one as a whole when the skin has no "SICONCLOSE".
  virtual bool TitleBigGlyphs() const = 0;
  virtual std::string TitleSectionName() const = 0;  // "FORMTITLE" unless the window names another
  // The frame's own section ("FORM", "DIALOG"): the restore glyph a skin may keep there, the
  // "TITLEBAR" glyph behind the buttons, the corners of its border mask.
  virtual std::string FrameSectionName() const = 0;
  virtual bool TitleBarGlyphShown() const = 0;
  // Draws the title icon into the cache at g.Icon (only called when g.IconShown).
  virtual void DrawTitleIcon(TzkBitmap& cache, const TzkTitleGeometry& g) = 0;
  // The application's own title buttons, left of the standard ones, or null.
  virtual TsTitleButtons* TitleCustomButtons() const = 0;
  // The frame cache the band is drawn into (null before the first rendering), whether it is
  // stale, and the request to render it again (and copy it to the window at once).
  virtual TzkBitmap* TitleCache() const = 0;
  virtual bool TitleCacheStale() const = 0;
  virtual void TitleCacheChanged(bool repaintNow) = 0;
  // A button took a new state (a hint may follow a hot button).
  virtual void TitleButtonStateChanged(int kind, int state) = 0;

 protected:
  ~IzkTitleFrame() = default;
};

// [SECTION] TzkTitleBar

class TzkTitleBar {
 public:
  explicit TzkTitleBar(IzkTitleFrame& frame);
  TzkTitleBar(const TzkTitleBar&) = delete;
  TzkTitleBar& operator=(const TzkTitleBar&) = delete;

  TsSkinView* Manager() const { return frame_.TitleManager(); }
  HWND Window() const { return frame_.TitleWindow(); }

  // Looks the title, "CAPTION" and frame sections and every glyph up again (a new skin,
  // another glyph set, custom buttons added or removed).
  void LookUp();
  int TitleIndex() const { return titleIndex_; }
  int CaptionIndex() const { return captionIndex_; }
  int FrameIndex() const { return frameIndex_; }
  // Maximize shows the restore glyph while the window is maximized, minimize while it is
  // minimized; a glyph that changes drops its overlay and marks the cache stale.
  void SelectStateGlyphs();

  // A standard button (tbkClose ...) or, from kTitleButtonCount on, a custom one.
  TzkTitleButton& Button(int kind);
  const TzkTitleButton& Button(int kind) const;
  int ButtonCount() const;
  // Width from the button's own glyph, height from the close glyph; 21 for a missing one.
  TPoint ButtonSize(int kind) const;
  int ButtonTop(const TzkTitleGeometry& g, bool big, int height) const;
  // Lays the shown buttons out from the right edge of the band.
  void LayOutButtons(TzkTitleGeometry& g) const;
  // The width the buttons take at the right end of the band (the caption ends left of it).
  int ReservedWidth(const TzkTitleGeometry& g) const;
  bool ButtonEnabled(int kind) const;

  // The whole band into the cache: the title section, the icon, the "TITLEBAR" glyph, the
  // saved copy of the band, then the buttons and the caption.
  void PaintBand(const TzkTitleGeometry& g, int state);
  void PaintButtons(const TzkTitleGeometry& g);
  // The caption text in the platform's caption font, behind it the "CAPTION" section when
  // the skin has one; gives the right end of the text drawn.
  int PaintCaption(HDC dc, const TzkTitleGeometry& g, UINT align);
  // Redraws one button without rendering the frame: the band under it comes back from the
  // saved copy, the glyph is drawn in its state and copied to the window.
  void DrawButton(int kind, bool singleRedraw);
  // Draws a button's glyph in a state into dst at `at` (opaque).
  void DrawButtonGlyph(TzkBitmap& dst, int kind, int state, TPoint at) const;
  // The saved copy of the band (the background of the buttons), or null.
  const TzkBitmap* Band() const { return band_.get(); }
  void DropBand() { band_.reset(); }

  // The corners the region cuts away: those of the frame section's border mask (the bottom
  // ones moved down to the window's bottom) and the title section's top corners.
  void CollectCorners(std::vector<TRect>& corners, const TzkTitleGeometry& g) const;

  // The button under p (window coordinates) as a hit-test code, made hot; 0 for none. A
  // maximize or minimize button that cannot act answers HTCAPTION.
  int HitButton(const TzkTitleGeometry& g, TPoint p);

  int HotCode() const { return hotCode_; }
  bool Pressed() const { return pressed_; }
  void ClearPressed() { pressed_ = false; }
  // Forgets the hot and pressed button without touching the buttons (they are going away).
  void ForgetHot() {
    hotCode_ = 0;
    pressed_ = false;
  }
  int KindOfCode(int code) const;
  // The button of this code becomes hot (0: none), the previous one normal.
  void SetHot(int code);
  void SetButtonState(int kind, int state);
  // A press on a button code; false when nothing was pressed (a maximize button that cannot
  // act, or no system menu yet).
  bool Press(int code);
  // The pressed standard button comes up at p: it goes back to normal and gives the system
  // command to send, or 0 when the release is passed on (minimize released outside, a
  // maximize button that cannot act). alwaysMinimize: minimize never restores.
  UINT ReleaseCommand(int kind, TPoint p, bool alwaysMinimize);
  // A custom button came up: no longer hot, back to normal.
  void Unpress(int kind);
  void AnimationFinished(int kind);
  // Every overlay goes at once; the buttons show their normal look again. True when any went.
  bool DropOverlays();
  void FreeAnimations();
  // The glow image around the hot look of a standard button and its margin, or null when the
  // skin has none for the button's glyph (or its margin is 0).
  const TsMaskData* GlowMaskOf(int kind, int& margin) const;

 private:
  IzkTitleFrame& frame_;
  std::array<TzkTitleButton, kTitleButtonCount> buttons_;
  std::unique_ptr<TzkBitmap> band_;
  TFontHandle captionFont_;
  int titleIndex_ = -1;
  int captionIndex_ = -1;
  int frameIndex_ = -1;
  int hotCode_ = 0;
  bool pressed_ = false;
};

// The platform's caption font at a DPI (the caption font of its non-client metrics).
HFONT NewCaptionFont(int dpi);

// The platform's frame of a window at a DPI, from its styles: the border width (a thick
// frame, a plain border, or none) and the caption height (0 without a caption, the small one
// for tool windows).
struct TzkFrameSize {
  int Border = 0;
  int Caption = 0;
};
TzkFrameSize PlatformFrameSize(LONG_PTR style, LONG_PTR exStyle, int dpi);
// A skinned frame is laid out at its skin manager's scale, which may not be the DPI the
// platform sized the window's frame for (a window on another monitor, a scale set by the
// program): the client rectangle the platform computed at windowDpi moves so the frame
// around it is the one at frameDpi, each side by the difference of the border widths, the
// top also by that of the caption heights. Nothing moves when the two DPIs are the same.
void MoveClientToFrameDpi(RECT& client, LONG_PTR style, LONG_PTR exStyle, int windowDpi, int frameDpi);

// The skin's mask at an index, or null when there is none there.
const TsMaskData* MaskAt(const TsSkinTables& t, int index);
// A picture onto a 24- or 32-bit image with its top-left corner at (x0, y0), at most w x h of
// it, clipped to the image: through its alpha channel when it has one (premultiplied), else
// every pixel but those of the colour key is copied.
void DrawPictureAt(TzkBitmap& dst, const TBitmap& picture, int x0, int y0, int w, int h, uint32_t key);
