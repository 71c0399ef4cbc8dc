// TzkDialogWnd: the adapter that gives a standard dialog ("#32770": message boxes, common
// dialogs) the skinned frame a form gets from its frame provider. Borders and background come
// from the "DIALOG" section, the title band (icon, caption, title buttons) is the shared
// TzkTitleBar, and the icon opens the skinned system menu TzkSystemMenu. Like the provider it
// keeps the platform's non-client geometry and paints over it from a cached image of the whole
// window; the window region cuts the skin's corners.
//
// The window-creation hook attaches it (TzkMainWnd::Attach<TzkDialogWnd>(wnd, false, "DIALOG",
// manager)), gives every child its adapter, then calls Initialize. The adapter gives the
// window back on WM_DESTROY and marks itself given back, so the hook can free its record.
//
// Frame kinds, from the style at initialisation:
//   0  a modal-frame dialog (DS_MODALFRAME) with a caption: small glyphs, no Restore or Size
//   1  (before initialisation only) big glyphs, maximizing allowed, not sizable
//   2  a popup without a caption: no region unless minimized or sizable
//   3  a sizable dialog, or one with neither frame style: big glyphs
//   4, 5  tool-window kinds (small caption); never computed for dialogs
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/zkScrollWnd.h"
#include "skin/windows/zkTitleBar.h"
#include "toolkit/Handles.h"

class TsSkinView;
class TzkExtBorder;
class TzkSystemMenu;

class TzkDialogWnd : public TzkScrollWnd, private IzkTitleFrame {
 public:
  TzkDialogWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  ~TzkDialogWnd() override;

  // Attaches adapters to children the dialog made since (its common-dialog messages 1025 and
  // 1326, skin command 28); the hook sets it, attaching children is its business.
  std::function<void()> OnAdoptChildren;

  // Reads style and extended style, the frame kind, the icon and glyphs, and takes
  // WS_SYSMENU off the window so that the platform draws and hit-tests no buttons of its own.
  void Initialize();
  // The dialog has edit or combo children: it paints its own client area.
  void HandBackClientPaint() { suppressClientPaint_ = false; }
  bool SuppressClientPaint() const { return suppressClientPaint_; }
  int FrameKind() const { return kind_; }
  TzkSystemMenu* SystemMenu() const { return sysMenu_.get(); }
  // The window went (WM_DESTROY / WM_NCDESTROY) and has its own procedure back.
  bool GivenBack() const { return givenBack_; }

  // The style read at initialisation; it keeps WS_SYSMENU, which the window itself lost.
  LONG_PTR SavedStyle() const { return style_; }
  bool Active() const { return active_; }
  // The one geometry of painting and hit-testing.
  TzkTitleGeometry Geometry() const;
  TzkTitleBar& TitleBar() { return title_; }
  // The image of the whole window, rendered when it is stale; null before the first paint.
  const TzkBitmap* FrameCache() const { return cache_.get(); }
  void RenderCache();
  const std::vector<TRect>& CornerAreas() const { return corners_; }
  TPoint ClientOffset() const;
  // The adapter's own answer to a hit test at a window point, or 0 when the dialog decides.
  int HitTest(TPoint p);
  // The extended border behind the dialog (only with the manager's ExtendedBorders), or null.
  TzkExtBorder* ExtBorder() const { return extBorder_.get(); }

 protected:
  void AdapterProc(TMessage& m) override;
  void BeforeHook() override;
  void MoveClientToScale(RECT& client) override;

 private:
  bool FrameShown() const;
  bool HandleFrameMessage(TMessage& m);
  bool HandleMouse(TMessage& m);
  bool HandleSkinCommand(TMessage& m);
  void GiveBack(TMessage& m);
  void PaintFrameToWindow();
  void InvalidateFrame(bool repaintNow);
  void EraseClient(HDC dc);
  void ApplyRegion(bool redraw);
  void NewSkin();
  void RestorePlatformFrame();
  void UpdateExtBorder();
  void Activate(TMessage& m);
  void DpiChanged(TMessage& m);
  void ShowSystemMenu(int x, int y);
  void ShowSystemMenuAtIcon();
  bool ButtonUp(TMessage& m, TPoint windowPoint);
  bool DoubleClick(int code);
  void AnswerBackground(TsBackgroundRequest& r);
  bool PlainSection() const;
  TColor SectionColor() const;
  TPoint WindowPoint(LPARAM screen) const;
  void TrackNonClientLeave();
  HICON IconHandle() const;

  // IzkTitleFrame.
  HWND TitleWindow() const override { return Handle(); }
  TsSkinView* TitleManager() const override { return Skin().Manager; }
  const TsCustomSysMenu* TitleQueries() const override;
  bool TitleHelpShown() const override { return (exStyle_ & WS_EX_CONTEXTHELP) != 0; }
  bool TitleActive() const override { return active_; }
  std::wstring TitleText() const override;
  bool TitleBigGlyphs() const override { return kind_ == 1 || kind_ == 3; }
  std::string TitleSectionName() const override { return "FORMTITLE"; }
  std::string FrameSectionName() const override { return "DIALOG"; }
  bool TitleBarGlyphShown() const override { return false; }
  void DrawTitleIcon(TzkBitmap& cache, const TzkTitleGeometry& g) override;
  TsTitleButtons* TitleCustomButtons() const override { return nullptr; }
  TzkBitmap* TitleCache() const override { return cache_.get(); }
  bool TitleCacheStale() const override { return cacheStale_; }
  void TitleCacheChanged(bool repaintNow) override { InvalidateFrame(repaintNow); }
  void TitleButtonStateChanged(int, int) override {}

  LONG_PTR style_ = 0;
  LONG_PTR exStyle_ = 0;
  int kind_ = 1;
  bool initialized_ = false;
  bool sysMenuTaken_ = false;
  bool active_ = true;
  bool suppressClientPaint_ = true;
  bool givenBack_ = false;
  bool flatBarsOff_ = false;
  bool regionStale_ = true;
  bool regionApplied_ = false;
  bool leaveTracked_ = false;
  bool cacheStale_ = true;
  HICON icon_ = nullptr;  // the dialog's own (not owned)
  std::unique_ptr<TzkBitmap> cache_;
  std::vector<TRect> corners_;
  TzkTitleBar title_{*this};
  std::unique_ptr<TzkSystemMenu> sysMenu_;
  std::unique_ptr<TzkExtBorder> extBorder_;
  TBrushHandle background_;  // WM_CTLCOLORDLG's brush
  TColor backgroundColor_ = clNone;
};
