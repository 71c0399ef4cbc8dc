// Operations on controls and windows that the skin manager, the skinned controls and the
// window skinning share: sending skin commands and reading answers, spreading a message over
// a tree of controls or the child windows of a window, the colour of a control, painting the
// windowless children of a skinned container over its background, waking children whose
// painting waited, small geometry helpers, and the cover window put over a form while its
// look is switched.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/data/sMessages.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Control.h"
#include "toolkit/Messages.h"
#include "toolkit/WinControl.h"

class TCustomForm;
struct TsBackgroundRequest;

// [SECTION] Sending commands

// Sends SM_ORVEXCMD to a window; 0 for a null window.
LRESULT SendCommandToWindow(HWND wnd, uint16_t code, LPARAM param = 0, uint16_t lo = 0);
// A windowed control: nothing (0) while it is being destroyed or has no window, else sent to
// its window. A windowless control: delivered directly to its message method.
LRESULT SendCommandToControl(TControl* control, uint16_t code, LPARAM param = 0, uint16_t lo = 0);
// The answer is exactly 1.
bool CommandAnswersTrue(TControl* control, uint16_t code);
bool CommandAnswersTrue(HWND wnd, uint16_t code);
// The control or window is driven by this skin engine (it answers command 7 with 1).
inline bool IsSkinnedControl(TControl* control) { return CommandAnswersTrue(control, zcIsSkinned); }
inline bool IsSkinnedWindow(HWND wnd) { return CommandAnswersTrue(wnd, zcIsSkinned); }

// [SECTION] State and colours

// The control can take part in skinning now: it exists with a parent, a windowed one has its
// window, and it is neither being loaded, read, nor destroyed.
bool IsShowingForSkin(TControl* control);
// 0xFF00FF for none; a skinned control's answer to command 21, else its own colour (RGB).
TColor ControlColor(TControl* control);
// 0xFF00FF for none; else the window's answer to command 21 (RGB).
TColor WindowColor(HWND wnd);

// [SECTION] Broadcasting (the message record is TMessage; its Result is not used)

// Tells the container's children in order: stops at the first child being destroyed; a
// windowless child or one without a window gets the message directly; a skinned windowed
// child gets it sent to its window (and answers for its own children); any other windowed
// child is skipped itself while the broadcast goes on into its children.
void BroadcastToControls(TWinControl* container, const TMessage& message);
// Sends the message to every direct child window of the window.
void BroadcastToChildWindows(HWND wnd, const TMessage& message);
// Command 6 to every windowed child that is not being destroyed, has a window and is showing.
void WakePostponedChildren(TWinControl* container);
// Command 6 to every child window (with the child style) of the window.
void WakePostponedWindows(HWND wnd);

// [SECTION] Painting

// Paints the visible windowless children of a skinned container double-buffered into target,
// each at its position plus offset: the area behind each child is filled from the container's
// background (command 34; an opaque child: its own colour), the child paints itself over it
// off screen, and the result is copied back except where it is the key colour 0xFF00FF.
void PaintGraphicChildren(HDC target, TWinControl* container, TPoint offset);
// Command 25 with the control to its form (not while it is designed or loaded).
void AnnounceToParentForm(TControl* control);

// [SECTION] Geometry

// Text-drawing flags for an alignment: left/right/centre plus expand-tabs and vertical centre,
// mirrored and marked for right-to-left reading when the control's window reads that way.
UINT TextFlagsForAlignment(TControl* control, TAlignment alignment);
// How far the visible children aligned to one side of a container reach into it: the sum of
// their heights (top, bottom) or widths (left, right); windowless children count only with
// includeWindowless.
int AlignedSize(TWinControl* container, TAlign side, bool includeWindowless);
// The outermost parent of a window (the window itself when it has none).
HWND TopAncestorWindow(HWND wnd);
// The client rectangle in window coordinates (origin at the window's top-left corner).
TRect ClientRectInWindow(HWND wnd);
// A frame image of the whole window drawn on it around the client rectangle (in window
// coordinates), which it leaves alone.
void DrawAroundClient(HWND wnd, const TzkBitmap& image, const TRect& client);
// Answers a background request from a cached image whose point `origin` is the top-left
// corner of the area the asking children lie in: drawn into the asker's DC when it asks for
// that, else the image and the origin handed over.
void AnswerWithBitmap(TsBackgroundRequest& r, TzkBitmap& image, TPoint origin);

// [SECTION] Cover window

// A window that covers a form while its look is switched: hidden when made, caption
// "zkOutputWindow", colour 0x800080; it answers erase-background without erasing and paints
// nothing, so the screen under it stays as it was until something is copied onto it.
class TOutputWindow : public TCustomControl {
 public:
  explicit TOutputWindow(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TOutputWindow"; }
  // Makes it a top-level pop-up owned by the application window instead of a child.
  void SetPopup(bool popup) { popup_ = popup; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  bool popup_ = false;
};

// Puts a cover over the form: fills `snapshot` (when empty) with the screen's pixels under the
// form's window rectangle (24-bit), creates `cover` (owned by the form) when null, places it
// over the form and shows it without activation.
void CoverForm(TCustomForm* form, TzkBitmap& snapshot, TOutputWindow*& cover);

// [SECTION] Visual themes

// "UpdateLayeredWindow" of user32, looked up once; null when the platform has none.
using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);
TUpdateLayeredWindowProc UpdateLayeredWindowProc();

// "SetWindowTheme" of "UXTHEME", looked up once when the module starts; null when absent.
using TSetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
TSetWindowThemeProc SetWindowThemeProc();
