// The notification-area icon: one entry in the taskbar's tray whose shell callbacks become
// component events (click, double click, mouse down/up/move, enter/exit, balloon
// notifications). It can step through the images of an image list and can hide the
// application's main window into the tray when the application is minimized.
//
// The shell reports mouse activity as message 0x800 to one hidden window shared by every
// tray icon (TTrayIconHandler); the first parameter is the icon id, which names the
// component. The icon also watches the application window (minimize, restore, the shell's
// "TaskbarCreated" broadcast) and, when its owner is a window, that window's procedure.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Control.h"
#include "toolkit/Icon.h"
#include "tray/SimpleTimer.h"

class TImageList;
class TPopupMenu;

using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;
using TStartupEvent = std::function<void(TObject* sender, bool& showMainForm)>;
// Makes the picture of the icon at a size in pixels.
using TIconSource = std::function<TIcon(int size)>;

// The callback message of every tray icon: the first user message plus 1024.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1024;

// How the shell reports the icon's mouse events. kCallbackMouse: plain mouse messages, the
// right button's release as WM_RBUTTONUP. kCallbackVersion3: the shell's version 3 protocol,
// which reports the release of the right button (or the menu key) as WM_CONTEXTMENU and a
// selection as NIN_SELECT or NIN_KEYSELECT.
constexpr int kCallbackMouse = 0;
constexpr int kCallbackVersion3 = 1;

// The picture of a balloon's kind.
enum class TBalloonHintIcon { bitNone, bitInfo, bitWarning, bitError };

class TCoolTrayIcon : public TComponent {
 public:
  explicit TCoolTrayIcon(TComponent* owner);
  ~TCoolTrayIcon() override;
  const wchar_t* ClassName() const override { return L"TCoolTrayIcon"; }

  // The picture shown; every change refreshes the tray entry.
  const TIcon& Icon() const { return icon_; }
  void SetIcon(const TIcon& icon);
  // Where the picture comes from when it is drawn at the notification area's size: asked for
  // one of ShellIconSize() pixels now, again when the shell starts anew ("TaskbarCreated",
  // also sent when the taskbar's scale changes) and when the owner window's DPI changes; what
  // it gives becomes the Icon. Empty: the Icon stays as set.
  void SetIconSource(TIconSource source);
  // The side of the icons the notification area shows: the small-icon size at the DPI of the
  // primary monitor, where the taskbar is (the system DPI where the platform cannot tell).
  static int ShellIconSize();
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool on);
  TImageList* IconList() const { return iconList_; }
  void SetIconList(TImageList* list);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int index);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool on);
  unsigned CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(unsigned ms);
  // The tooltip; the tray shows at most its first 127 characters.
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool on) { leftPopup_ = on; }
  bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
  void SetWantEnterExitEvents(bool on);
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool on) { minimizeToTray_ = on; }
  bool DesignPreview() const { return designPreview_; }
  void SetDesignPreview(bool on);
  // kCallbackMouse or kCallbackVersion3 (any other value counts as kCallbackMouse).
  int CallbackMode() const { return callbackMode_; }
  void SetCallbackMode(int mode);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnBalloonHintShow;
  TNotifyEvent OnBalloonHintHide;
  TNotifyEvent OnBalloonHintTimeout;
  TNotifyEvent OnBalloonHintClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;
  TStartupEvent OnStartup;

  // Restores the application and shows its main window in front.
  void RestoreMainWindow();
  // Hides the main window and the application's taskbar button.
  void HideMainWindow();
  // Hides the application window, which removes the taskbar button.
  void HideTaskbarButton();

  // A balloon over the icon: a title (the tray shows at most 63 characters) and a text (at
  // most 255; an empty text shows nothing), with the icon of its kind, for about timeoutMs
  // (the shell keeps it between 10 and 30 s). False when the icon is not in the tray or the
  // shell refuses. Its show, hide, timeout and click come as the balloon events.
  bool ShowBalloonHint(const std::wstring& title, const std::wstring& text,
                       TBalloonHintIcon icon = TBalloonHintIcon::bitInfo, unsigned timeoutMs = 10000);
  // Takes a balloon that shows away.
  bool HideBalloonHint();

  // Consulted only by the designer's preview.
  virtual bool UsesStockIcon() const { return true; }
  virtual bool AddToTray();
  virtual bool RemoveFromTray();
  virtual bool RefreshInTray();

  // The id the shell knows this icon by (the callback's first parameter).
  UINT IconId() const { return data_.uID; }
  // The notify-icon record as last sent to the shell.
  const NOTIFYICONDATAW& NotifyData() const { return data_; }
  // The timers (for the click decision, cycling and the pointer-exit poll).
  const TSimpleTimer& ClickTimer() const { return clickTimer_; }
  const TSimpleTimer& CycleTimer() const { return cycleTimer_; }
  const TSimpleTimer& ExitTimer() const { return exitTimer_; }

  // The shell call every icon uses; replaceable (tests record the requests). Returns the
  // previous one. An empty function restores Shell_NotifyIconW.
  using TShellNotify = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;
  static TShellNotify SetShellNotify(TShellNotify notify);
  // The shared callback window and the number of icons that use it.
  static HWND HandlerWindow();
  static int HandlerUsers();
  // The "TaskbarCreated" message number, or 0 when the common controls are too old.
  static UINT TaskbarCreatedMessage();

 protected:
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

  // One overridable dispatch operation per event.
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle(int nextIndex);
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  virtual void DoMinimizeToTray();

 private:
  friend class TTrayIconHandler;
  void HandleCallback(UINT mouseMessage);
  bool AppHook(TMessage& m);
  friend class TOwnerHooks;
  bool OwnerHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void HookOwnerWindow(HWND wnd);
  void MinimizeToTrayNow();
  void ClickDecision(TSimpleTimer* timer);
  void CycleStep(TSimpleTimer* timer);
  void ExitCheck(TSimpleTimer* timer);
  void ShowMenu();
  bool SendToShell(DWORD message);
  bool SendBalloon(unsigned timeoutMs);
  void FillData();
  void RunStartup();
  // The icon made again at the shell's size, when it has a source.
  void ReloadIcon();
  bool OwnerIsWindow() const;

  NOTIFYICONDATAW data_ = {};
  TIcon icon_;
  TIconSource iconSource_;
  bool iconVisible_ = false;
  TImageList* iconList_ = nullptr;
  int iconIndex_ = 0;
  bool cycleIcons_ = false;
  unsigned cycleInterval_ = 0;
  std::wstring hint_;
  bool showHint_ = true;
  bool enabled_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  bool leftPopup_ = false;
  bool wantEnterExitEvents_ = false;
  bool minimizeToTray_ = false;
  bool designPreview_ = false;
  int callbackMode_ = kCallbackMouse;

  TSimpleTimer cycleTimer_;
  TSimpleTimer clickTimer_;
  TSimpleTimer exitTimer_;
  bool leftDownSeen_ = false;
  bool clickWaiting_ = false;
  bool doubleClickSeen_ = false;
  bool pointerOutside_ = true;
  POINT lastMove_ = {0, 0};
  bool startupChecked_ = false;
  int appHookId_ = 0;
  HWND ownerWnd_ = nullptr;  // the owner window whose procedure is hooked
  int ownerWatchId_ = 0;     // WatchHandle id on the owner control
};
