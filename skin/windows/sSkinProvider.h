// TsSkinProvider: the skinned frame of one form. It keeps the platform's non-client geometry
// (the client area never moves or resizes) and paints over it from a cached image of the
// whole window: borders from the "FORM" section, the title band from "FORMTITLE", the icon,
// the caption and the title buttons. It cuts the window region to the skin's corners, answers
// hit-tests itself (one geometry for painting and hit-testing), turns title-button clicks
// into system commands and shows the skinned system menu.
//
// [SECTION] TsFrameGeometry   where every part of the frame lies
// [SECTION] TsSkinProvider    the component that takes over the form's message method
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/sSkinCommands.h"
#include "skin/paint/sCommonData.h"
#include "skin/windows/sSystemMenu.h"
#include "skin/windows/sTitleButtons.h"
#include "skin/windows/zkBorderForm.h"
#include "skin/windows/zkCtrlAdapter.h"
#include "skin/windows/zkDials.h"
#include "skin/windows/zkMDIWnd.h"
#include "skin/windows/zkHintWindow.h"
#include "skin/windows/zkTitleBar.h"
#include "toolkit/Form.h"
#include "toolkit/GraphicsObjects.h"

class TsSkinView;

// A second caption text drawn after the form's caption, in its own font.
struct TzkAddedTitle {
  std::wstring Text;
  TFont Font;  // a colour left at clNone or clWindowText follows the title's font colours
};

// A title icon of the application's own instead of the window's icon.
struct TsTitleIcon {
  TBitmap Glyph;   // magenta (0xFF00FF) is transparent, or its own alpha channel when 32-bit
  int Width = 0;   // 0: derived from the caption height
  int Height = 0;
};

enum class TsGripMode { gmNone, gmRightBottom };
enum class TsResizeMode { rmStandard, rmBorder };

// Asked first by the extended border window's hit-testing with the WM_NCHITTEST message; a
// non-zero m.Result is the answer.
using TzkNCHitTest = std::function<void(TMessage& m)>;

// [SECTION] TsFrameGeometry

// The three small buttons of a maximized MDI child in its frame's menu line, from the left,
// and their hit-test codes (101, 102, 103).
enum TzkMdiButtonKind { mbkMinimize = 0, mbkRestore = 1, mbkClose = 2, kMdiButtonCount = 3 };
constexpr int kMdiButtonCode = 101;

// Window coordinates (origin at the window's top-left corner): the title band's parts and
// what only a form's frame has.
struct TsFrameGeometry : TzkTitleGeometry {
  // The menu line of a main menu: the rows the platform reserves between the title band and
  // the client area, each SM_CYMENU - 1 high, and every visible top-level item's rectangle.
  TRect MenuLine;
  int MenuLines = 0;
  int MenuLineHeight = 0;
  std::vector<TRect> MenuItems;    // by top-level item index (empty when hidden)
  // An MDI frame with a maximized child: the menu line (the main menu's, or one the provider
  // adds below the title when there is no main menu) shows the child's icon at its left and
  // the child's minimize, restore and close buttons at its right.
  bool MdiLine = false;
  TRect MdiIcon;
  TRect MdiBand;  // behind the buttons: the title's look, which the small glyphs are made for
  std::array<TRect, kMdiButtonCount> MdiButtons;
};

// [SECTION] TsSkinProvider

class TsSkinProvider : public TComponent,
                       public IzkFrameProvider,
                       public IzkSkinCommandTarget,
                       private IzkTitleFrame {
 public:
  // owner: the form to serve. A frame or other non-form owner gets the misuse warning.
  explicit TsSkinProvider(TComponent* owner);
  ~TsSkinProvider() override;
  const wchar_t* ClassName() const override { return L"TsSkinProvider"; }

  // Published properties.
  bool DrawNonClientArea() const { return drawNonClientArea_; }
  void SetDrawNonClientArea(bool on);
  bool ShowAppIcon = true;
  bool UseGlobalColor = true;
  bool MakeSkinMenu = false;
  bool AllowExtBorders = true;
  TAlignment CaptionAlignment = TAlignment::taLeftJustify;
  std::string TitleSkin;     // empty: "FORMTITLE"
  std::string MenuLineSkin;  // empty: "MENULINE"
  TzkAddedTitle AddedTitle;
  TsTitleIcon TitleIcon;
  TsGripMode GripMode = TsGripMode::gmNone;
  // rmBorder: moving and sizing drag an outline, the window follows on release.
  TsResizeMode ResizeMode = TsResizeMode::rmStandard;
  bool ScreenSnap = false;  // snap to the work area's edges while moving
  int SnapBuffer = 10;      // snapping distance in pixels
  TzkNCHitTest OnExtHitTest;
  // Asked for every child control that is adapted (it outlives the skin's adapters).
  TAddItemEvent OnSkinItem;
  // Call after changing AddedTitle, TitleIcon or GripMode: the frame is drawn again.
  void FrameChanged();
  // The application's own title buttons, left of the standard ones.
  TsTitleButtons& TitleButtons() { return titleButtons_; }
  TsCommonData& SkinData() { return *skinData_; }

  // IzkFrameProvider.
  TCustomForm* Form() const override { return form_; }
  TsSkinView* SkinManager() const override;
  bool DrawsNonClientArea() const override { return drawNonClientArea_; }
  void SetAnimating(bool on) override { animating_ = on; }
  void RebuildFrame() override;
  HRGN CopyWindowRegion() const override;
  bool SwitchLookWithBorder(uint16_t time) override;

  // The loaded step: system menu, section indexes, glyphs, form colour.
  void InitSkin();
  // The frame is drawn by the provider now (a skin is active, the form is not going away).
  bool Skinned() const;
  bool FormActive() const { return active_; }
  // The form colour: the "FORM" section's hot colour while active, its colour while not.
  TColor FormColor() const;
  bool HadSystemMenu() const { return hadSysMenu_; }
  // The one geometry of painting and hit-testing.
  TsFrameGeometry Geometry() const;
  // The provider's own hit-test answer for a point in window coordinates (before results 0,
  // 1, 2 and 5 go on to the form's previous message method).
  int HitTest(TPoint p);
  const TzkBitmap* FrameCache() const { return cache_.get(); }
  // Renders the frame cache when it is marked stale.
  void RenderCache();
  void InvalidateFrame(bool repaintNow);
  // A standard button (tbkClose ...) or, from kTitleButtonCount on, a custom one.
  TzkTitleButton& Button(int kind) { return title_.Button(kind); }
  const TzkTitleButton& Button(int kind) const { return title_.Button(kind); }
  int HotButtonCode() const { return title_.HotCode(); }
  bool ButtonPressed() const { return title_.Pressed(); }
  TsSystemMenu* SystemMenu() const { return sysMenu_.get(); }
  // The adapters of the form's non-skinned child controls; null until the loaded step.
  TzkCtrlAdapter* CtrlAdapter() const { return ctrlAdapter_.get(); }
  // The extended border behind the form (only with the manager's ExtendedBorders), or null.
  TzkExtBorder* ExtBorder() const { return extBorder_.get(); }
  // The corner rectangles the window region leaves out.
  const std::vector<TRect>& CornerAreas() const { return corners_; }
  TPoint ClientOffset() const;

  // Used by the title-button animation.
  const TzkBitmap* TitleBand() const { return title_.Band(); }
  // The glow image around the hot look of a standard button and its margin, or null when the
  // skin has none for the button's glyph (or its margin is 0).
  const TsMaskData* GlowMaskOf(int kind, int& margin) const { return title_.GlowMaskOf(kind, margin); }
  // The top-level menu item whose popup is open from the menu line, or -1.
  int OpenMenuItem() const { return openMenuItem_; }
  // The hint of the hot title button.
  TzkHintWindow& TitleHint() { return hint_; }

  bool SkinCommand(const TsSkinCommand& command, LRESULT& result) override;

  // MDI. A frame's maximized active child, or null (also for forms that are no MDI frame).
  HWND MaximizedMdiChild() const;
  // This form is a maximized MDI child: its frame lies outside the client and is not drawn.
  bool MdiChildMaximized() const;
  // A frame's children came, went, were activated, maximized or restored: skins the new ones,
  // adds or drops the menu line made for a maximized child, redraws the frame.
  void MdiChildrenChanged();
  const TzkTitleButton& MdiButton(int kind) const { return mdiButtons_[size_t(kind)]; }
  // The MDI child button under the pointer or pressed (101 to 103), 0 for none.
  int MdiHotCode() const { return mdiHot_; }
  // The adapter of an MDI frame's client window, or null.
  TzkMDIWnd* MdiArea() const { return mdiArea_.get(); }

 private:
  void NewWndProc(TMessage& m);
  void CallPrevious(TMessage& m);
  void CallPreviousHidden(TMessage& m);
  bool HandleFrameMessage(TMessage& m);
  void Attach();
  void Detach();
  void TakeSystemMenuStyle();
  void GiveSystemMenuStyle();
  void LookUpIndexes();
  void UpdateFormColor();
  bool SkinAvailable() const;
  // Every overlay of the title buttons goes at once (the form hides, minimizes or is
  // deactivated); the buttons show their normal look again.
  void DropOverlays();
  // Client area.
  bool EraseClient(TMessage& m);
  void FillClientBackground(HDC dc, const TRect& clientRect);
  void AnswerBackground(TsBackgroundRequest& r);
  bool GripShown(const TsFrameGeometry& g) const;
  TRect GripRect(const TsFrameGeometry& g) const;
  void PaintGrip(const TsFrameGeometry& g);
  void PaintGripOver(HDC dc, const TsFrameGeometry& g);
  void PaintAddedTitle(HDC dc, const TsFrameGeometry& g, int captionRight);
  TPoint TitleIconSize(const TsFrameGeometry& g) const;
  // The DPI the frame is laid out for: its skin manager's scale.
  int FrameDpi() const;
  // The platform computed the client area at the window's own DPI: the frame around it
  // becomes the one at FrameDpi.
  void CalcFrame(TMessage& m);
  // The form has laid itself out at a new DPI: the manager takes it as its scale.
  void DpiChanged(int dpi);
  void SnapToScreen(WINDOWPOS& wp) const;
  bool OutlineDrag(WPARAM hitCode, LPARAM screenPoint);
  void ShowSystemMenuAtIcon();
  bool HandleShowWindow(TMessage& m);
  bool PlainForm() const;

  // IzkTitleFrame.
  HWND TitleWindow() const override;
  TsSkinView* TitleManager() const override { return SkinManager(); }
  const TsCustomSysMenu* TitleQueries() const override { return sysMenu_.get(); }
  bool TitleHelpShown() const override { return (form_->BorderIcons() & biHelp) != 0; }
  bool TitleActive() const override { return active_; }
  std::wstring TitleText() const override { return form_->Caption(); }
  bool TitleBigGlyphs() const override;
  std::string TitleSectionName() const override { return TitleSkin.empty() ? "FORMTITLE" : TitleSkin; }
  std::string FrameSectionName() const override { return "FORM"; }
  bool TitleBarGlyphShown() const override { return true; }
  void DrawTitleIcon(TzkBitmap& cache, const TzkTitleGeometry& g) override;
  TsTitleButtons* TitleCustomButtons() const override { return &titleButtons_; }
  TzkBitmap* TitleCache() const override { return cache_.get(); }
  bool TitleCacheStale() const override { return cacheStale_; }
  void TitleCacheChanged(bool repaintNow) override { InvalidateFrame(repaintNow); }
  void TitleButtonStateChanged(int kind, int state) override;

  // Painting.
  void PaintFrameToWindow();
  void PaintTitle(const TsFrameGeometry& g, int state);
  HICON TitleIconHandle() const;

  // Region.
  void BuildCorners(const TsFrameGeometry& g);
  void ApplyRegion(bool redraw);

  // Title buttons and mouse.
  void LayOutMenuLine(TsFrameGeometry& g) const;
  void LayOutMenuItems(TsFrameGeometry& g, TMainMenu* menu, int left, int right, int& row, bool& any) const;
  void PaintMenuLine(const TsFrameGeometry& g);
  bool MenuLineDown(TPoint windowPoint);
  void TitleButtonsChanged();
  void FireCustomMouse(int kind, bool down, LPARAM screenPoint);
  void SetHotButton(int code) { title_.SetHot(code); }
  bool NonClientButtonDown(int code, TMessage& m);
  bool ReleaseButton(TPoint windowPoint, TMessage& m);
  bool DoubleClick(int code);
  void PopupSystemMenu(int x, int y);
  void TrackNonClientLeave();
  void ChildAdded(TControl* control);
  void UpdateExtBorder();
  void ShowTransition();
  void SetMaximizedPlacement(MINMAXINFO& info) const;

  // MDI (sSkinProviderMdi.cpp).
  bool MdiChild() const;
  bool MdiFrame() const;
  bool MdiLineMade() const;
  void AttachMdiArea();
  void LookUpMdiGlyphs();
  void LayOutMdiLine(TsFrameGeometry& g, int& itemsLeft, int& itemsRight) const;
  void PaintMdiLine(const TsFrameGeometry& g);
  void SetMdiHot(int code);
  void MdiButtonDown(int code);
  bool MdiButtonUp(TPoint windowPoint);
  bool MdiLineDown(TPoint windowPoint);
  void ResizeForMdiLine(TMessage& m);
  TsSkinProvider* MdiFrameProvider() const;
  void TellMdiFrame();

  TCustomForm* form_ = nullptr;
  std::function<void(TMessage&)> prevProc_;
  bool attached_ = false;
  bool drawNonClientArea_ = true;
  bool active_ = false;
  bool animating_ = false;
  bool hadSysMenu_ = false;
  bool sysMenuTaken_ = false;
  bool regionApplied_ = false;
  bool leaveTracked_ = false;
  bool applying_ = false;  // set up for a new skin while the manager announces it
  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TzkBitmap> cache_;
  bool cacheStale_ = true;
  std::vector<TRect> corners_;
  TPoint regionSize_;  // the window size the region was made for
  mutable TsTitleButtons titleButtons_;
  TzkTitleBar title_{*this};
  int openMenuItem_ = -1;
  mutable TFontHandle menuFont_;  // made on the first layout
  std::unique_ptr<TsSystemMenu> sysMenu_;
  std::unique_ptr<TzkCtrlAdapter> ctrlAdapter_;
  std::unique_ptr<TzkExtBorder> extBorder_;
  std::array<TzkTitleButton, kMdiButtonCount> mdiButtons_;
  int mdiHot_ = 0;
  bool mdiPressed_ = false;
  bool mdiLineMade_ = false;  // the frame has the menu line it added for a maximized child
  HWND mdiDrawnChild_ = nullptr;  // the maximized child the frame was last drawn with
  std::unique_ptr<TzkMDIWnd> mdiArea_;
  bool inMdiChange_ = false;
  TzkHintWindow hint_{[this] { return Skinned() ? SkinManager() : nullptr; }};
};

// The icon a window shows in its title: its own small or large icon, its class's, the
// application's, or the platform's standard one.
HICON WindowIconHandle(HWND wnd);
// The frame provider serving a window, or null.
TsSkinProvider* ProviderOfWindow(HWND wnd);

// The misuse warnings (shown with a message box, construction goes on).
extern const char* const kProviderFormsOnly;   // "TsSkinProvider component must be used with forms only!"
extern const char* const kProviderOneInstance; // "Only one instance of the TsSkinProvider component is allowed!"
