// Forms: top-level windows owned by the application window. A form is built in its
// constructor (the loading phase) and finished by TApplication::CreateForm, which runs
// Loaded() for every component and then OnCreate.
//
// The form keeps the focused control (ActiveControl), sends CM_ENTER / CM_EXIT and
// CM_FOCUSCHANGED when the focus moves, and handles the dialog keys: Tab moves the focus,
// Enter clicks the focused button or else the default button.
//
// Display scale: a form is built at the design DPI (96) and lays itself out for its window's
// DPI when the window is made and whenever the platform says the DPI changed (WM_DPICHANGED:
// the window takes the rectangle offered, the font and every control are scaled from the old
// DPI to the new one); then the form hears CM_DPICHANGED (WParam old DPI, LParam new DPI).
//
// MDI: a form of style fsMDIForm holds the platform's MDI client window in its client area and
// routes its default handling through DefFrameProc; a form of style fsMDIChild is made by
// that client window (WM_MDICREATE) inside the application's MDI frame form, runs
// DefMDIChildProc, and is freed when closed.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/Dpi.h"
#include "toolkit/WinControl.h"

class TButton;
class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

enum class TPosition { poDesigned, poScreenCenter };

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// fsMDIForm: the form's client area is the platform's MDI client window, which holds the MDI
// children; fsMDIChild: the form lives inside the MDI frame form's client window.
enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  const wchar_t* ClassName() const override { return L"TCustomForm"; }

  // Ends the loading phase and runs OnCreate (called by TApplication::CreateForm).
  void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TFormStyle FormStyle() const { return formStyle_; }
  // Takes effect when the window is made (it is made again when it exists already).
  void SetFormStyle(TFormStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool on);
  BYTE AlphaBlendValue() const { return alphaValue_; }
  void SetAlphaBlendValue(BYTE value);

  // The DPI the form is laid out for: the design DPI until its window is made on a monitor of
  // another scale or the platform says the scale changed.
  int Dpi() const { return dpi_; }
  // Lays the form out for another DPI: its font and controls scaled from the current DPI, the
  // client size scaled, or, when `suggested` is given (the platform's rectangle for the new
  // DPI), the window put there; then CM_DPICHANGED. MDI children follow their frame.
  void ScaleToDpi(int dpi, const RECT* suggested = nullptr);
  // The font and the controls; the form's own size is ScaleToDpi's.
  void ChangeScale(int fromDpi, int toDpi) override;

  void SetClientSize(int width, int height) override;
  void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
  TRect ClientRect() const override;
  bool Showing() const override;

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Gives the control the focus now when the form is showing, else when it is next shown.
  void FocusControl(TWinControl* control);
  // The window of control got the focus.
  void SetFocusedControl(TWinControl* control);
  void ControlRemoved(TWinControl* control);
  bool Active() const;

  // The button that Enter clicks when the focus is not on a button.
  TButton* DefaultButton() const;

  // The form's OnKeyDown sees every key pressed in its controls before the control does; a
  // key it sets to 0 goes no further.
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on) { keyPreview_ = on; }

  void Close();
  void Release();

  // The form's menu bar, or null. The form keeps the platform menu attached while it has a
  // window and runs the clicked item's Click.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Builds the platform menu bar again after the items changed.
  void MenuChanged();

  // MDI frames: the platform's MDI client window (null for other forms or without a window),
  // the MDI child forms living in it in creation order, the active one, and arranging them.
  HWND ClientHandle() const { return clientHandle_; }
  static constexpr UINT kFirstMDIChildId = 0xFF00;  // control IDs the client gives its children
  static constexpr UINT kMDIClientId = 0xFFFF;       // never one of the toolkit's own child IDs
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  void Cascade();
  void Tile();
  // The MDI frame an MDI child is made in: the main form when it is one, else the newest MDI
  // frame form; null when there is none.
  static TCustomForm* MDIFrameForm();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWnd() override;
  void AlignedAreaLeft(const TRect& rest) override;
  void DefaultHandler(TMessage& m) override;
  void VisibleChanged() override;
  void ColorChanged() override;
  void Notification(TComponent* c, TOperation op) override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  bool DialogKey(WORD key);

 private:
  void StyleFromBorder(DWORD& style, DWORD& exStyle) const;
  void ApplyLayered();
  void Center();
  void CreateMDIClient();
  std::vector<TCustomForm*> MDIChildList() const;
  // ScaleToDpi without the notification, from the client size the form has at its DPI;
  // returns the DPI the form had.
  int ApplyDpi(int dpi, const RECT* suggested, const TRect& client);
  // The window rectangle around a client rectangle at the form's DPI.
  void AdjustForFrame(RECT& r) const;
  // The client rectangle the bounds hold inside the platform's frame at the form's DPI.
  TRect ClientRectInBounds() const;
  void SetClientSizeInFrame(int width, int height);

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  // A child window of the form's own, destroyed with it by the platform.
  HWND clientHandle_ = nullptr;
  bool alphaBlend_ = false;
  bool keyPreview_ = false;
  BYTE alphaValue_ = 255;
  bool positioned_ = false;
  int dpi_ = kDesignDpi;
  TDpiLength scaledClientWidth_, scaledClientHeight_;
  TWinControl* activeControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TBrushHandle backgroundBrush_;
};

// The form class applications derive from.
class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  const wchar_t* ClassName() const override { return L"TForm"; }
};
