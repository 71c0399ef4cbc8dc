#include "tray/CoolTrayIcon.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/UtilWindow.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Subclass.h"
#include "toolkit/WinControl.h"

namespace {

TCoolTrayIcon::TShellNotify& ShellNotify() {
  static TCoolTrayIcon::TShellNotify notify;
  return notify;
}

// Shift, Alt and Ctrl as they are right now, plus the button the callback names.
TShiftState AsyncShiftState(TShiftState button) {
  TShiftState s = button;
  if (GetAsyncKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetAsyncKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetAsyncKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

// Messages of the shell's version 3 callbacks and balloon notifications.
constexpr UINT kSelect = WM_USER + 0;        // NIN_SELECT
constexpr UINT kKeySelect = WM_USER + 1;     // NIN_KEYSELECT
constexpr UINT kBalloonShow = WM_USER + 2;   // NIN_BALLOONSHOW
constexpr UINT kBalloonHide = WM_USER + 3;   // NIN_BALLOONHIDE
constexpr UINT kBalloonTimeout = WM_USER + 4;
constexpr UINT kBalloonClick = WM_USER + 5;

}  // namespace

// The owner windows whose procedure the icons replaced. The owner gets one subclass of ours
// however many icons hook it; the icons hooked last see its messages first. Records are
// found by handle in this list, so a message to the owner costs no lookup at the platform
// (a window property costs a round trip to the Wine server on every message).
class TOwnerHooks {
 public:
  static bool Hook(HWND wnd, TCoolTrayIcon* icon);
  static void Unhook(HWND wnd, TCoolTrayIcon* icon);

 private:
  struct TRecord {
    HWND Wnd = nullptr;
    TWindowSubclass Subclass;
    std::vector<TCoolTrayIcon*> Icons;  // in hooking order
  };
  static std::vector<std::unique_ptr<TRecord>>& Records() {
    static std::vector<std::unique_ptr<TRecord>> records;
    return records;
  }
  static TRecord* Find(HWND wnd);
  // Frees the record: the owner gets its procedure back (or keeps a pass-through entry).
  static void Drop(HWND wnd);
  static bool IsHooked(HWND wnd, TCoolTrayIcon* icon);
  static LRESULT Receive(void* record, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT Destroyed(TRecord* r, WPARAM wParam, LPARAM lParam);
};

TOwnerHooks::TRecord* TOwnerHooks::Find(HWND wnd) {
  for (auto& r : Records())
    if (r->Wnd == wnd) return r.get();
  return nullptr;
}

void TOwnerHooks::Drop(HWND wnd) {
  auto& all = Records();
  all.erase(std::remove_if(all.begin(), all.end(), [wnd](const auto& r) { return r->Wnd == wnd; }),
            all.end());
}

bool TOwnerHooks::IsHooked(HWND wnd, TCoolTrayIcon* icon) {
  const TRecord* r = Find(wnd);
  return r && std::find(r->Icons.begin(), r->Icons.end(), icon) != r->Icons.end();
}

bool TOwnerHooks::Hook(HWND wnd, TCoolTrayIcon* icon) {
  TRecord* r = Find(wnd);
  if (!r) {
    auto made = std::make_unique<TRecord>();
    made->Wnd = wnd;
    if (!made->Subclass.Install(wnd, &TOwnerHooks::Receive, made.get())) return false;
    r = made.get();
    Records().push_back(std::move(made));
  }
  r->Icons.push_back(icon);
  return true;
}

void TOwnerHooks::Unhook(HWND wnd, TCoolTrayIcon* icon) {
  TRecord* r = Find(wnd);
  if (!r) return;
  r->Icons.erase(std::remove(r->Icons.begin(), r->Icons.end(), icon), r->Icons.end());
  if (r->Icons.empty()) Drop(wnd);
}

LRESULT TOwnerHooks::Destroyed(TRecord* r, WPARAM wParam, LPARAM lParam) {
  // The owner's window is going away (it may be made again); nothing to give back later.
  const HWND wnd = r->Wnd;
  const WNDPROC prev = r->Subclass.Previous();
  for (TCoolTrayIcon* icon : r->Icons) icon->ownerWnd_ = nullptr;
  Drop(wnd);
  return CallWindowProcW(prev, wnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT TOwnerHooks::Receive(void* record, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TRecord* r = static_cast<TRecord*>(record);
  if (msg == WM_NCDESTROY) return Destroyed(r, wParam, lParam);
  const WNDPROC prev = r->Subclass.Previous();
  // A handler may unhook icons (or free them, and with the last one the record): each one
  // is asked only while still hooked.
  const std::vector<TCoolTrayIcon*> icons(r->Icons.rbegin(), r->Icons.rend());
  for (TCoolTrayIcon* icon : icons) {
    if (!IsHooked(wnd, icon)) continue;
    // Exceptions stop here: they must not unwind through the platform's frames.
    try {
      LRESULT result = 0;
      if (icon->OwnerHook(wnd, msg, wParam, lParam, result)) return result;
    } catch (const std::exception& e) {
      Application->HandleException(icon, &e);
    } catch (...) {
      Application->HandleException(icon, nullptr);
    }
  }
  return CallWindowProcW(prev, wnd, msg, wParam, lParam);
}

// The hidden window that receives the callbacks of every tray icon. Icons are known by the
// id given to the shell: a 32-bit number, so a process-wide counter rather than the
// component's 64-bit address. A callback for an icon that no longer exists is ignored.
class TTrayIconHandler {
 public:
  static TTrayIconHandler* Instance() { return instance_; }

  static UINT Register(TCoolTrayIcon* icon) {
    if (!instance_) instance_ = new TTrayIconHandler;
    const UINT id = ++lastId_;
    instance_->icons_[id] = icon;
    return id;
  }

  static void Unregister(UINT id) {
    if (!instance_) return;
    instance_->icons_.erase(id);
    if (instance_->icons_.empty()) {
      delete instance_;
      instance_ = nullptr;
    }
  }

  HWND Handle() const { return handle_; }
  int Users() const { return int(icons_.size()); }

 private:
  TTrayIconHandler() {
    handle_ = CreateHiddenWindow(kClassName, Proc);
  }

  ~TTrayIconHandler() {
    HWND wnd = handle_;
    handle_ = nullptr;
    if (wnd) DestroyWindow(wnd);
  }

  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_TRAYNOTIFY:
        if (instance_ && wnd == instance_->handle_) {
          const auto it = instance_->icons_.find(UINT(wParam));
          if (it != instance_->icons_.end()) {
            try {
              it->second->HandleCallback(UINT(lParam));
            } catch (const std::exception& e) {
              Application->HandleException(it->second, &e);
            } catch (...) {
              Application->HandleException(it->second, nullptr);
            }
          }
        }
        return 0;
      // The window cannot be closed from outside; only the last icon frees it.
      case WM_DESTROY:
      case WM_CLOSE:
      case WM_QUERYENDSESSION:
      case WM_QUIT:
      case WM_ENDSESSION:
      case WM_NCDESTROY:
        return 1;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
  }

  static constexpr const wchar_t* kClassName = L"TTrayIconHandler";
  static TTrayIconHandler* instance_;
  static UINT lastId_;
  HWND handle_ = nullptr;
  std::map<UINT, TCoolTrayIcon*> icons_;
};

TTrayIconHandler* TTrayIconHandler::instance_ = nullptr;
UINT TTrayIconHandler::lastId_ = 0;

UINT TCoolTrayIcon::TaskbarCreatedMessage() {
  // The shell broadcasts "TaskbarCreated" from common controls 4.71 on.
  static const UINT message = [] {
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl) comctl = LoadLibraryW(L"comctl32.dll");
    auto getVersion = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(
                                   reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (!getVersion || FAILED(getVersion(&info))) return UINT(0);
    if (info.dwMajorVersion < 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion < 71))
      return UINT(0);
    return RegisterWindowMessageW(L"TaskbarCreated");
  }();
  return message;
}

TCoolTrayIcon::TShellNotify TCoolTrayIcon::SetShellNotify(TShellNotify notify) {
  TShellNotify old = std::move(ShellNotify());
  ShellNotify() = std::move(notify);
  return old;
}

HWND TCoolTrayIcon::HandlerWindow() {
  return TTrayIconHandler::Instance() ? TTrayIconHandler::Instance()->Handle() : nullptr;
}

int TCoolTrayIcon::HandlerUsers() {
  return TTrayIconHandler::Instance() ? TTrayIconHandler::Instance()->Users() : 0;
}

TCoolTrayIcon::TCoolTrayIcon(TComponent* owner)
    : TComponent(owner),
      cycleTimer_([this](TSimpleTimer* t) { CycleStep(t); }),
      clickTimer_([this](TSimpleTimer* t) { ClickDecision(t); }),
      exitTimer_(20, [this](TSimpleTimer* t) { ExitCheck(t); }) {
  TaskbarCreatedMessage();
  data_.cbSize = sizeof(data_);
  data_.uID = TTrayIconHandler::Register(this);
  data_.hWnd = HandlerWindow();
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = WM_TRAYNOTIFY;
  FillData();
  if (IsDesigning()) return;
  appHookId_ = Application->HookMainWindow([this](TMessage& m) { return AppHook(m); });
  if (auto* window = dynamic_cast<TWinControl*>(Owner())) {
    // The owner's window may be remade (RecreateWnd); the new one is hooked as well.
    ownerWatchId_ = window->WatchHandle([this](HWND wnd) { HookOwnerWindow(wnd); });
    HookOwnerWindow(window->Handle());
  }
}

void TCoolTrayIcon::HookOwnerWindow(HWND wnd) {
  if (ownerWnd_ == wnd) return;
  if (ownerWnd_) TOwnerHooks::Unhook(ownerWnd_, this);
  ownerWnd_ = nullptr;
  if (wnd && TOwnerHooks::Hook(wnd, this)) ownerWnd_ = wnd;
}

TCoolTrayIcon::~TCoolTrayIcon() {
  RemoveFromTray();
  cycleTimer_.Stop(true);
  clickTimer_.Stop(true);
  exitTimer_.Stop(true);
  if (appHookId_) Application->UnhookMainWindow(appHookId_);
  // While the owner is being freed it is no longer a windowed control and forgets its
  // watchers itself.
  if (auto* window = dynamic_cast<TWinControl*>(Owner()); window && ownerWatchId_)
    window->UnwatchHandle(ownerWatchId_);
  if (ownerWnd_) TOwnerHooks::Unhook(ownerWnd_, this);
  TTrayIconHandler::Unregister(data_.uID);
}

bool TCoolTrayIcon::OwnerIsWindow() const {
  return dynamic_cast<TWinControl*>(Owner()) != nullptr && !IsDesigning();
}

void TCoolTrayIcon::Loaded() {
  TComponent::Loaded();
  if (!IsDesigning()) RunStartup();
  RefreshInTray();
  SetIconVisible(iconVisible_);
  SetCycleIcons(cycleIcons_);
  SetWantEnterExitEvents(wantEnterExitEvents_);
  SetCallbackMode(callbackMode_);
}

void TCoolTrayIcon::RunStartup() {
  if (!OwnerIsWindow()) return;
  bool showMainForm = true;
  if (OnStartup) OnStartup(this, showMainForm);
  if (!showMainForm) {
    Application->SetShowMainForm(false);
    HideMainWindow();
  }
}

void TCoolTrayIcon::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == iconList_) iconList_ = nullptr;
  if (c == popupMenu_) popupMenu_ = nullptr;
}

// ---- the tray entry ----

namespace {

// Copies at most size - 1 units of text into a zero-ended field, keeping a character made of
// two UTF-16 units whole or leaving it out.
template <size_t N>
void CopyCut(wchar_t (&field)[N], const std::wstring& text) {
  std::fill(std::begin(field), std::end(field), L'\0');
  size_t n = std::min(text.size(), N - 1);
  if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  std::copy_n(text.begin(), n, field);
}

}  // namespace

void TCoolTrayIcon::FillData() {
  HICON icon = icon_.Handle();
  if (!icon && IsDesigning() && designPreview_ && UsesStockIcon())
    icon = LoadIconW(nullptr, IDI_APPLICATION);
  data_.hIcon = icon;
  CopyCut(data_.szTip, !hint_.empty() && showHint_ ? hint_ : std::wstring());
}

bool TCoolTrayIcon::SendToShell(DWORD message) {
  if (ShellNotify()) return ShellNotify()(message, &data_) != FALSE;
  return Shell_NotifyIconW(message, &data_) != FALSE;
}

namespace {

DWORD BalloonFlagsOf(TBalloonHintIcon icon) {
  switch (icon) {
    case TBalloonHintIcon::bitInfo: return NIIF_INFO;
    case TBalloonHintIcon::bitWarning: return NIIF_WARNING;
    case TBalloonHintIcon::bitError: return NIIF_ERROR;
    default: return NIIF_NONE;
  }
}

}  // namespace

bool TCoolTrayIcon::ShowBalloonHint(const std::wstring& title, const std::wstring& text,
                                    TBalloonHintIcon icon, unsigned timeoutMs) {
  if (!iconVisible_) return false;
  FillData();
  CopyCut(data_.szInfoTitle, title);
  CopyCut(data_.szInfo, text);
  data_.dwInfoFlags = BalloonFlagsOf(icon);
  return SendBalloon(timeoutMs);
}

bool TCoolTrayIcon::HideBalloonHint() {
  if (!iconVisible_) return false;
  FillData();
  CopyCut(data_.szInfoTitle, std::wstring());
  CopyCut(data_.szInfo, std::wstring());
  return SendBalloon(0);
}

// The balloon fields go with one modify request only: later requests must not show it again.
// The version field shares its place with the timeout and is put back.
bool TCoolTrayIcon::SendBalloon(unsigned timeoutMs) {
  const UINT version = data_.uVersion;
  data_.uTimeout = timeoutMs;
  data_.uFlags |= NIF_INFO;
  const bool sent = SendToShell(NIM_MODIFY);
  data_.uFlags &= ~UINT(NIF_INFO);
  data_.uVersion = version;
  return sent;
}

bool TCoolTrayIcon::AddToTray() {
  iconVisible_ = true;
  FillData();
  return SendToShell(NIM_ADD);
}

bool TCoolTrayIcon::RemoveFromTray() {
  iconVisible_ = false;
  FillData();
  return SendToShell(NIM_DELETE);
}

bool TCoolTrayIcon::RefreshInTray() {
  FillData();
  return SendToShell(NIM_MODIFY);
}

// ---- properties ----

void TCoolTrayIcon::SetIcon(const TIcon& icon) {
  icon_ = icon.Clone();
  RefreshInTray();
}

void TCoolTrayIcon::SetIconSource(TIconSource source) {
  iconSource_ = std::move(source);
  ReloadIcon();
}

void TCoolTrayIcon::ReloadIcon() {
  if (iconSource_) SetIcon(iconSource_(ShellIconSize()));
}

int TCoolTrayIcon::ShellIconSize() {
  return MetricForDpi(SM_CXSMICON, MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
}

void TCoolTrayIcon::SetIconVisible(bool on) {
  if (on)
    AddToTray();
  else
    RemoveFromTray();
}

void TCoolTrayIcon::SetIconList(TImageList* list) {
  if (iconList_ && iconList_ != list) iconList_->RemoveFreeNotification(this);
  iconList_ = list;
  if (list) list->FreeNotification(this);
  SetIconIndex(0);
}

void TCoolTrayIcon::SetIconIndex(int index) {
  if (iconList_) {
    const int count = iconList_->Count();
    index = std::max(0, std::min(index, count - 1));
    if (count > 0) icon_ = iconList_->GetIcon(index);
  } else {
    index = 0;
  }
  iconIndex_ = index;
  RefreshInTray();
}

void TCoolTrayIcon::SetCycleIcons(bool on) {
  cycleIcons_ = on;
  if (on) {
    SetIconIndex(0);
    cycleTimer_.SetInterval(cycleInterval_);
    cycleTimer_.Start();
  } else {
    cycleTimer_.Stop(true);
  }
}

void TCoolTrayIcon::SetCycleInterval(unsigned ms) {
  cycleInterval_ = ms;
  SetCycleIcons(cycleIcons_);
}

void TCoolTrayIcon::SetHint(const std::wstring& hint) {
  hint_ = hint;
  RefreshInTray();
}

void TCoolTrayIcon::SetShowHint(bool on) {
  showHint_ = on;
  RefreshInTray();
}

void TCoolTrayIcon::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ && popupMenu_ != menu) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TCoolTrayIcon::SetWantEnterExitEvents(bool on) {
  wantEnterExitEvents_ = on;
  exitTimer_.SetEnabled(on);
}

void TCoolTrayIcon::SetDesignPreview(bool on) {
  designPreview_ = on;
  if (!IsDesigning() || iconVisible_) return;
  // Inside a designer the preview puts the icon into the tray without making it visible.
  FillData();
  SendToShell(on ? NIM_ADD : NIM_DELETE);
}

void TCoolTrayIcon::SetCallbackMode(int mode) {
  callbackMode_ = mode == kCallbackVersion3 ? kCallbackVersion3 : kCallbackMouse;
  data_.uVersion = callbackMode_ == kCallbackVersion3 ? NOTIFYICON_VERSION : 0;
  SendToShell(NIM_SETVERSION);
}

// ---- events ----

void TCoolTrayIcon::DoClick() {
  if (OnClick) OnClick(this);
}
void TCoolTrayIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TCoolTrayIcon::DoCycle(int nextIndex) {
  if (OnCycle) OnCycle(this, nextIndex);
}
void TCoolTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TCoolTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TCoolTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TCoolTrayIcon::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TCoolTrayIcon::DoMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}
void TCoolTrayIcon::DoMinimizeToTray() {
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

// ---- shell callbacks ----

// One message from the shell about the icon. Balloon notifications always reach their
// events; mouse messages only while the icon is enabled. A single click waits for the
// double-click time when there is a double-click handler, so that a double click does not
// also report a click:
//
//   message          with OnDblClick                       without OnDblClick
//   left down        mouse down; click timer starts;       mouse down; menu with LeftPopup
//                    menu with LeftPopup
//   left up          the click waits (comes at once when   click at once
//                    the press outlasted the timer);
//                    then mouse up                         then mouse up
//   timer runs out   click, unless a double click came     (no timer)
//   left dblclick    double click (the waiting click is dropped); then the popup menu's
//                    default item, when the menu pops up by itself and not on the left button
//   right down       mouse down; popup menu
//   right up         mouse up in kCallbackMouse mode
//   context menu,    mouse up (right) in kCallbackVersion3 mode
//   select, key select
//   middle down/up   mouse down / mouse up
//   move             mouse enter first, when enter/exit events are wanted and the pointer was
//                    outside; then mouse move
void TCoolTrayIcon::HandleCallback(UINT mouseMessage) {
  switch (mouseMessage) {
    case kBalloonShow:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case kBalloonHide:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case kBalloonTimeout:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case kBalloonClick:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
  }
  if (!enabled_) return;
  POINT pt = {0, 0};
  GetCursorPos(&pt);
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      if (wantEnterExitEvents_ && pointerOutside_) {
        DoMouseEnter();
        pointerOutside_ = false;
      }
      DoMouseMove(AsyncShiftState(0), pt.x, pt.y);
      lastMove_ = pt;
      break;
    case WM_LBUTTONDOWN:
      if (OnDblClick) {
        clickTimer_.SetInterval(GetDoubleClickTime());
        clickTimer_.Start();
      }
      DoMouseDown(TMouseButton::mbLeft, AsyncShiftState(ssLeft), pt.x, pt.y);
      leftDownSeen_ = true;
      if (leftPopup_) ShowMenu();
      break;
    case WM_LBUTTONUP:
      if (leftDownSeen_) clickWaiting_ = true;
      if (leftDownSeen_ && !clickTimer_.Enabled()) {
        leftDownSeen_ = false;
        clickWaiting_ = false;
        DoClick();
      }
      leftDownSeen_ = false;
      DoMouseUp(TMouseButton::mbLeft, AsyncShiftState(ssLeft), pt.x, pt.y);
      break;
    case WM_LBUTTONDBLCLK:
      clickWaiting_ = false;
      doubleClickSeen_ = true;
      DoDblClick();
      if (popupMenu_ && popupMenu_->AutoPopup() && !leftPopup_) {
        TMenuItem* items = popupMenu_->Items();
        for (int i = 0; i < items->Count(); ++i) {
          if (items->Items(i)->Default()) {
            items->Items(i)->Click();
            break;
          }
        }
      }
      break;
    case WM_RBUTTONDOWN:
      DoMouseDown(TMouseButton::mbRight, AsyncShiftState(ssRight), pt.x, pt.y);
      ShowMenu();
      break;
    case WM_RBUTTONUP:
      if (callbackMode_ == kCallbackMouse)
        DoMouseUp(TMouseButton::mbRight, AsyncShiftState(ssRight), pt.x, pt.y);
      break;
    case WM_CONTEXTMENU:
    case kSelect:
    case kKeySelect:
      if (callbackMode_ == kCallbackVersion3)
        DoMouseUp(TMouseButton::mbRight, AsyncShiftState(ssRight), pt.x, pt.y);
      break;
    case WM_MBUTTONDOWN:
      DoMouseDown(TMouseButton::mbMiddle, AsyncShiftState(ssMiddle), pt.x, pt.y);
      break;
    case WM_MBUTTONUP:
      DoMouseUp(TMouseButton::mbMiddle, AsyncShiftState(ssMiddle), pt.x, pt.y);
      break;
  }
}

// With an OnDblClick handler a single click is only reported once the double-click time
// has passed without a double click.
void TCoolTrayIcon::ClickDecision(TSimpleTimer*) {
  clickTimer_.Stop(true);
  if (!doubleClickSeen_ && clickWaiting_) {
    clickWaiting_ = false;
    DoClick();
  }
  doubleClickSeen_ = false;
}

void TCoolTrayIcon::CycleStep(TSimpleTimer*) {
  if (!iconList_) return;
  const int next = iconIndex_ >= iconList_->Count() - 1 ? 0 : iconIndex_ + 1;
  DoCycle(next);
  SetIconIndex(next);
}

void TCoolTrayIcon::ExitCheck(TSimpleTimer*) {
  if (pointerOutside_) return;
  POINT pt;
  if (!GetCursorPos(&pt)) return;
  if (pt.x != lastMove_.x || pt.y != lastMove_.y) {
    pointerOutside_ = true;
    DoMouseExit();
  }
}

void TCoolTrayIcon::ShowMenu() {
  POINT pt;
  if (!popupMenu_ || !popupMenu_->AutoPopup() || !GetCursorPos(&pt)) return;
  SetForegroundWindow(Application->Handle());
  Application->ProcessMessages();
  if (!popupMenu_) return;  // freed while the messages were handled
  popupMenu_->SetPopupComponent(this);
  // A menu tracks clicks elsewhere only while the window that owns it is the foreground
  // window; for a tray menu nothing else makes it so.
  SetForegroundWindow(PopupListWindow());
  popupMenu_->Popup(pt.x, pt.y);
  // Lets the menu close when the user clicks elsewhere.
  PostMessageW(ownerWnd_ ? ownerWnd_ : Application->Handle(), WM_NULL, 0, 0);
}

// ---- the main window ----

void TCoolTrayIcon::RestoreMainWindow() {
  TCustomForm* main = Application->MainForm();
  if (!OwnerIsWindow() || !main) return;
  Application->Restore();
  if (main->HandleAllocated() && IsIconic(main->WindowHandle()))
    ShowWindow(main->WindowHandle(), SW_RESTORE);
  main->Show();
  Application->BringToFront();
}

void TCoolTrayIcon::HideMainWindow() {
  TCustomForm* main = Application->MainForm();
  if (!OwnerIsWindow() || !main) return;
  main->Hide();
  HideTaskbarButton();
}

void TCoolTrayIcon::HideTaskbarButton() {
  HWND app = Application->Handle();
  if (app && IsWindowVisible(app)) ShowWindow(app, SW_HIDE);
}

void TCoolTrayIcon::MinimizeToTrayNow() {
  HideMainWindow();
  SetIconVisible(true);
}

// Sees every message of the application window first and never consumes one.
bool TCoolTrayIcon::AppHook(TMessage& m) {
  TCustomForm* main = Application->MainForm();
  switch (m.Msg) {
    case WM_SIZE:
      if (m.WParam == SIZE_MINIMIZED && minimizeToTray_) MinimizeToTrayNow();
      break;
    case WM_WINDOWPOSCHANGED:
      if (!startupChecked_ && main) {
        startupChecked_ = true;
        // A multi-document frame is shown by the toolkit before OnStartup could answer.
        if (main->HandleAllocated() &&
            FindWindowExW(main->WindowHandle(), nullptr, L"MDICLIENT", nullptr)) {
          bool showMainForm = true;
          if (OnStartup) OnStartup(this, showMainForm);
          if (!showMainForm) HideTaskbarButton();
        }
      }
      break;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_RESTORE && main) main->Show();
      break;
  }
  const UINT taskbarCreated = TaskbarCreatedMessage();
  if (taskbarCreated && m.Msg == taskbarCreated) {
    ReloadIcon();
    if (iconVisible_) AddToTray();
  }
  return false;
}

bool TCoolTrayIcon::OwnerHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  bool minimizing = false;
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wParam == 1 && lParam == 0) {
        SetForegroundWindow(Application->Handle());
        SetForegroundWindow(wnd);
      } else if (wParam == 0 && lParam == SW_PARENTCLOSING && !Application->Terminated()) {
        minimizing = true;
      }
      break;
    case WM_SYSCOMMAND:
      minimizing = (wParam & 0xFFF0) == SC_MINIMIZE;
      break;
    case WM_DPICHANGED:
      ReloadIcon();
      break;
  }
  if (minimizing && minimizeToTray_ && OnMinimizeToTray) {
    DoMinimizeToTray();
    MinimizeToTrayNow();
    result = 1;
    return true;
  }
  return false;
}
