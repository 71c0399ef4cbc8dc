// Window adapters and skinned scroll bars.
//
// A window adapter takes over an existing window by its handle: it reroutes the window's
// procedure through its own handler, answers the skin command message, and passes everything
// else on. While attached, the window property "ZKSBSC" holds the adapter.
//
// Rerouting goes through the toolkit's TWindowSubclass, so several subclassers (ours and
// anybody's) can stack on one window and leave in any order; an adapter that leaves while
// somebody else has subclassed over it leaves an entry that only passes messages on.
//
// The skinned scroll bars that many adapters add are in zkScrollWnd.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/data/sSkinCommands.h"
#include "skin/paint/sBackgroundInfo.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBitmap.h"
#include "toolkit/Messages.h"
#include "toolkit/Subclass.h"

class TsSkinView;
class TsSkinTables;
struct TsCachedSection;

// The skin state of an adapted window: its section, the cached image of the whole window and
// the flags that say when the image is stale or painting must wait.
struct TzkAdapterSkin {
  TsSkinView* Manager = nullptr;
  std::string Section;
  int SkinIndex = -1;
  bool BGChanged = true;
  bool Updating = false;
  bool Focused = false;
  bool MouseAbove = false;
  TzkBitmap CacheBmp;

  // Makes the cached image w x h (a new image only when its size changes).
  void FitCache(int w, int h);
  // The active skin's tables, or null without an active skin.
  const TsSkinTables* Tables() const;
  bool Skinned() const;
  // Looks the section up again (after a skin change).
  void UpdateIndexes();
};

// How an adapter that shows its look from the cached image answers erasing: the message is
// only answered as done, or the look is rendered afresh and copied at once (unless painting
// waits, or, with PaintWhenVisible, the window is hidden) so it shows before the window's own
// painting runs.
enum class TzkEraseRule { Swallow, Paint, PaintWhenVisible };

// How an adapter that shows its look from the cached image answers the paint messages.
struct TzkPaintRules {
  // Each paint renders the look afresh, as its state is read while rendering; otherwise
  // only a stale or missing image is rendered again.
  bool RenderEachPaint = true;
  TzkEraseRule Erase = TzkEraseRule::Swallow;
  // The look covers the window's frame: frame painting is swallowed rather than passed on.
  bool OwnFrame = true;
};

// The library's name of the window property that holds the adapter.
extern const wchar_t kAdapterProp[];  // L"ZKSBSC"

class TzkMainWnd {
 public:
  virtual ~TzkMainWnd();
  TzkMainWnd(const TzkMainWnd&) = delete;
  TzkMainWnd& operator=(const TzkMainWnd&) = delete;

  // Creates an adapter of type T for the window and attaches it; throws when the window is
  // not a window or already has an adapter.
  template <typename T, typename... Args>
  static std::unique_ptr<T> Attach(HWND wnd, bool repaint, Args&&... args) {
    std::unique_ptr<T> a(new T(wnd, std::forward<Args>(args)...));
    a->Start(repaint);
    return a;
  }
  // Frees an adapter its owner lets go of. An adapter whose own procedure is running (its
  // window's handling of a message freed it, as a control does on losing its skin) is
  // detached at once and freed when that procedure returns, so the procedure never reads a
  // freed object.
  template <typename T>
  static void Dispose(std::unique_ptr<T>& adapter) {
    if (TzkMainWnd* a = adapter.release()) a->DisposeNowOrLater();
  }
  // How many adapters were destroyed while their own procedure was running (the owner did
  // not go through Dispose); each one is a fault.
  static int DestroyedWhileReceiving();
  // The adapter attached to a window, or null.
  static TzkMainWnd* FromWindow(HWND wnd);
  // How many entries of the window-subclass pool are in use (attached adapters, other
  // subclasses and pass-through entries).
  static int EntriesInUse() { return TWindowSubclass::EntriesInUse(); }

  HWND Handle() const { return wnd_; }
  bool Hooked() const { return subclass_.Installed() && !detached_; }
  bool Destroyed() const { return destroyed_; }
  TzkAdapterSkin& Skin() { return skin_; }
  const TzkAdapterSkin& Skin() const { return skin_; }
  bool DlgMode() const { return dlgMode_; }
  const std::string& CachedText() const { return text_; }
  // Lets go of the window: its procedure back (or a pass-through entry), property removed.
  void Detach();

  virtual void SaveControlColors() {}
  virtual void RestoreControlColors() {}
  virtual void ApplySkinColors() { skinColorsApplied_ = true; }
  // Renders the adapter's whole look into the cached image; adapters that paint from their
  // cache (through AnswerPaint) say how.
  virtual void PrepareCache() {}
  // Builds the cached image of the whole window from the parent's background and the section.
  void PrepareWindowCache(bool dialogMode);
  // What lies behind the window in its parent, seen from the window's top-left corner.
  TsBackgroundInfo ParentBackground() const;
  // The colour the window shows in its normal state: the section's colour, the parent's
  // through a transparent section, or the window's own colour without a skin.
  TColor EffectiveColor() const;
  // Answers a child's request for what lies behind it (command 34): a colour for a flat
  // section, the parent's answer through a see-through one, else the cached image with the
  // client origin as offset.
  void AnswerBackground(TsBackgroundRequest& r);
  // The disabled look painting uses; preset to blended before a disabled toolkit control is
  // asked (command 35), which may change it.
  static TsDisabledKind DisabledKindForPaint;

  // Set while the children of a standard dialog get adapters; copied into DlgMode.
  static bool CreatingDialogAdapters;

  // Adapters are made through Attach, which hooks them once they are fully constructed.
  TzkMainWnd(HWND wnd, const std::string& section, TsSkinView* manager);

 protected:
  // The message handler; the base passes unknown messages on.
  virtual void AdapterProc(TMessage& m);
  // The paint path of adapters that paint from their cache: WM_PAINT (or a print message
  // carrying its own DC in WParam; nothing is drawn while the look is being updated) and
  // WM_PRINTCLIENT show the look through PaintLook, erasing and frame painting go as the
  // rules say. False for other messages (WM_PRINT reaches the window as WM_PAINT with its DC).
  bool AnswerPaint(TMessage& m);
  virtual TzkPaintRules PaintRules() const { return {}; }
  // Shows the look on dc: the cached image, brought up to date as the rules say, copied at
  // 0, 0 within what LeaveOutOfPaint leaves of the clip.
  virtual void PaintLook(HDC dc);
  // Takes out of dc's clip what the adapter must not paint over (the inside of a frame,
  // child windows).
  virtual void LeaveOutOfPaint(HDC /*dc*/) {}
  // Renders the cache again when it is stale or missing.
  void PrepareStaleCache();
  // Copies the whole cached image to dc at 0, 0 (nothing without one).
  void CopyCache(HDC dc) const;
  // Redraws the whole window at once (nothing once it is going).
  void RedrawNow();
  // Whether a look of w x h can be rendered: a skin is active and the size is not empty.
  bool CanRender(int w, int h) const { return skin_.Skinned() && w > 0 && h > 0; }
  // Sizes the skin's cached image to the window rectangle and gives its size; false (nothing
  // to draw) without a skin or for an empty window.
  bool SizeCacheToWindow(int& w, int& h);
  // The same for the client area, which it returns in `client`.
  bool SizeCacheToClient(RECT& client);
  // Lets the window handle m with its redrawing off, then redraws it once, so a state change
  // never shows in the platform's own look.
  void HandleQuietly(TMessage& m);
  // Whether the pointer lies inside the window rectangle; by geometry, so a glow window lying
  // over the control does not count as leaving it.
  bool PointerInside() const;
  // The pointer left: the skin manager's hot window is given up when it is this window.
  void GiveUpHotWindow();
  // Letting go: the manager's hot window is cleared when it is this one (quietly when the
  // window is being destroyed).
  void ReleaseHotWindow(bool gone);
  // Steps of attaching that descendants extend: before and after the window is hooked.
  // The platform's visual theme is switched off for the window (a dialog's frame and a menu
  // window draw nothing the theme would).
  virtual bool TurnsThemeOff() const { return skin_.Section != "DIALOG"; }
  virtual void BeforeHook() {}
  virtual void AfterHook(bool /*repaint*/) {}
  virtual void OnDetached() {}
  // Skin commands of the base; true when answered (not passed on).
  virtual bool MainCommand(TMessage& m);
  // Where the client area's top-left lies in the cached image: the window's frame width for
  // an image of the whole window.
  virtual TPoint ClientOriginInCache() const;
  // The parent asks its children to wait (command 10).
  bool ParentUpdating() const;
  // Command 19: whether children must repaint with this window's background.
  LRESULT AnswerHasOwnBackground() const;
  // A toolkit control behind the window counts as opaque for the toolkit while adapted.
  virtual bool MarksControlOpaque() const { return true; }
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  void PassOn(TMessage& m) { m.Result = CallPrevious(m.Msg, m.WParam, m.LParam); }
  // The owner-draw traffic of a menu the window owns; true when answered.
  bool AnswerOwnedMenu(TMessage& m);
  void RefreshText();
  // A disabled toolkit control's cached image gets the disabled look over its background.
  void PaintDisabledControl(const TsBackgroundInfo& bg);
  // The window is going: nothing is drawn or restored on it any more.
  void MarkDestroyed() { destroyed_ = true; }
  bool skinColorsApplied_ = false;

 private:
  void Start(bool repaint);
  void Hook();
  LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam);
  void DisposeNowOrLater();

  HWND wnd_;
  TWindowSubclass subclass_;
  WNDPROC prevAfterDetach_ = nullptr;
  bool detached_ = false;
  bool destroyed_ = false;
  bool themeOff_ = false;
  bool madeOpaque_ = false;  // the adapter set the toolkit control's opaque style
  bool dlgMode_ = false;
  int receiving_ = 0;          // nesting depth of the adapter's own procedure
  bool freeWhenDone_ = false;  // disposed while receiving: freed as the outermost call returns
  TzkAdapterSkin skin_;
  std::string text_;
};

// Fills a rectangle of a 24- or 32-bit bitmap with an opaque colour, cut to the bitmap.
void FillRectOf(TzkBitmap& bmp, TRect r, TColor color);

// Copies what lies behind r (element coordinates) into the image: the background bitmap's
// pixels, or its colour (the button face when the colour is unknown).
void FillFromBackground(TzkBitmap& dst, const TRect& r, const TsBackgroundInfo& bg);

// One skinned part (a scroll-bar piece, an arrow or drop-down button): the cached section, its
// border mask over what is painted so far in `out`, and, with glyphArea, its glyph centred
// there.
void PaintBarPart(const TsSkinTables& t, const TsCachedSection& cs, const TsBackgroundInfo& bg,
                  TzkBitmap& out, const TRect& r, int state, const TRect* glyphArea);
