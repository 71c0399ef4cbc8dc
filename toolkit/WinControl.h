// Windowed controls: a control that owns a window handle. Its window is made when first
// needed (HandleNeeded), from CreateParams, in a class registered under the control's class
// name (TButton, TEdit, TListView ...). For platform controls (BUTTON, EDIT, SysListView32)
// that class is a superclass of the platform one, so every message from WM_NCCREATE on goes
// through the control's WindowProc and whatever is not handled reaches the platform class's
// own procedure (DefaultHandler). Every child window gets a control ID unique among its
// siblings.
//
// A windowed control reflects its children's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
// WM_MEASUREITEM and WM_CTLCOLOR* back to them as CN_* notifications, paints its windowless
// children after itself, and routes mouse messages over a windowless child to that child.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "toolkit/Canvas.h"
#include "toolkit/Control.h"
#include "toolkit/Handles.h"

struct TCreateParams {
  std::wstring WinClassName;    // class to create (registered as needed)
  std::wstring SystemClass;     // platform class WinClassName extends, or empty for our own
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  UINT ClassStyle = CS_DBLCLKS;
  HMENU Id = nullptr;           // control ID of a child; a unique one is chosen when null
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  const wchar_t* ClassName() const override { return L"TWinControl"; }

  bool IsWindowed() const override { return true; }
  HWND Handle();
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window (and so the children's windows); the control stays.
  void DestroyHandle();
  // The control whose window this is, or nullptr.
  static TWinControl* FindControl(HWND wnd);
  // Calls `created` with every window this control gets from now on (also one remade by
  // RecreateWnd), so helpers that hook the window can hook the new one. Returns an id for
  // UnwatchHandle.
  int WatchHandle(std::function<void(HWND)> created);
  void UnwatchHandle(int id);

  // Lays the visible aligned children out along their sides of the client area, in child
  // order: top, bottom, left and right ones stacked, then the client ones over what is left.
  void AlignControls();

  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(size_t(index)); }
  // The children in tab order (windowed ones only).
  const std::vector<TWinControl*>& TabList() const { return tabList_; }
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool on);

  // Prints the whole window (frame, client area, windowless and windowed children) into a
  // device context with its top-left corner at (x, y), as WM_PRINT does.
  using TControl::PaintTo;
  void PaintTo(HDC dc, int x, int y);

  void SetBounds(int left, int top, int width, int height) override;
  // Scales the control's font, then every child inside it, then the control's bounds.
  void ChangeScale(int fromDpi, int toDpi) override;
  TRect ClientRect() const override;
  bool Showing() const override;
  void Invalidate() override;
  void Update() override;

  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  // The next focusable control after current in tab order among this control's descendants.
  TWinControl* FindNextControl(TWinControl* current, bool forward) const;
  // The windowless child at a client point, or nullptr.
  TControl* ControlAtPos(TPoint p) const;
  // Sends a message to every child control.
  void Broadcast(TMessage& m);
  // Tells every visible windowed control inside, at any depth, that it is about to be shown
  // with its form (CM_SHOWINGCHANGED, WParam 1).
  void NotifyShowing();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  virtual void CreateParams(TCreateParams& params);
  // After the window exists: apply the state kept while it did not.
  virtual void CreateWnd();
  // Makes the window from params (inside the creation scope that attaches it to this
  // control); forms made inside another window's client override it.
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd() {}
  // The client area left over after the aligned children were laid out (forms put their MDI
  // client window there).
  virtual void AlignedAreaLeft(const TRect& /*rest*/) {}
  // Paints the window with windowless children on top (used when it has any).
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc);
  // WM_PRINT / WM_PRINTCLIENT: the frame (PRF_NONCLIENT), then the client area with its
  // windowless children, then the windowed children (PRF_CHILDREN), in window coordinates.
  void Print(HDC dc, LPARAM flags);
  virtual void PrintClient(HDC dc, LPARAM flags);
  void PrintFrame(HDC dc, LPARAM flags);
  void PrintPlatformClient(HDC dc, LPARAM flags);
  void PrintChildren(HDC dc, LPARAM flags);
  std::wstring GetText() const override;
  void TextChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  // Keys: true when the control consumed the key.
  virtual bool DoKeyDown(WORD& key, TShiftState shift);
  virtual bool DoKeyPress(wchar_t& key);
  // Whether the control wants a key that would otherwise move the focus or press a button.
  virtual bool WantsKey(WORD key) const;
  void RecreateWnd();
  bool WantsWindowlessPainting() const;
  // Every child's ChangeScale, then the aligned ones laid out again.
  void ScaleChildren(int fromDpi, int toDpi);

  HWND handle_ = nullptr;
  bool aligning_ = false;
  WNDPROC defWndProc_ = nullptr;
  bool tabStop_ = false;

 private:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void Attach(HWND wnd);
  void Detach();
  void ReflectToChild(TMessage& m, HWND child);
  void HandleCtlColor(TMessage& m);
  void RouteMouse(TMessage& m, bool& handled);
  void UpdateBoundsFromWindow();

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  TBrushHandle colorBrush_;
  TColor colorBrushColor_ = clNone;
  TControl* mouseCapture_ = nullptr;  // windowless child that got the button down
  std::map<int, std::function<void(HWND)>> handleWatchers_;
  int nextWatcherId_ = 1;
};

// A windowed control of our own window class that paints itself on a canvas.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TCustomControl"; }
  TCanvas& Canvas() { return canvas_; }

 protected:
  void WndProc(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};
