// The tray icon driven as the shell drives it: callback messages sent to the shared handler
// window, the application window's own messages, and the requests it sends to the shell
// recorded instead of reaching it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "tray/CoolTrayIcon.h"

namespace {

struct TShellCall {
  DWORD message;
  UINT id;
  HWND wnd;
  UINT flags;
  UINT callback;
  DWORD size;
  HICON icon;
  std::wstring tip;
  UINT version;
  std::wstring infoTitle;
  std::wstring info;
  DWORD infoFlags;
};

class CoolTrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = TCoolTrayIcon::SetShellNotify([this](DWORD message, NOTIFYICONDATAW* d) {
      calls.push_back({message, d->uID, d->hWnd, d->uFlags, d->uCallbackMessage, d->cbSize,
                       d->hIcon, d->szTip, d->uVersion, d->szInfoTitle, d->szInfo, d->dwInfoFlags});
      return TRUE;
    });
  }

  void TearDown() override {
    delete icon;
    delete form;
    Pump();
    TCoolTrayIcon::SetShellNotify(previous);
    Application->SetShowMainForm(true);
  }

  // An icon owned by a shown form that is the application's main form.
  TCoolTrayIcon* Make() {
    form = Application->CreateForm<TForm>();
    form->SetBounds(100, 100, 300, 200);
    icon = new TCoolTrayIcon(form);
    form->Show();
    Pump();
    calls.clear();
    return icon;
  }

  void Callback(UINT mouseMessage) {
    SendMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, icon->IconId(), mouseMessage);
  }

  int Count(DWORD message) const {
    int n = 0;
    for (const TShellCall& c : calls) n += c.message == message;
    return n;
  }

  TCoolTrayIcon::TShellNotify previous;
  std::vector<TShellCall> calls;
  TForm* form = nullptr;
  TCoolTrayIcon* icon = nullptr;
  int clicks = 0, doubleClicks = 0;
};

TEST_F(CoolTrayIconTest, WithADoubleClickHandlerASingleClickWaitsForTheDoubleClickTime) {
  Make();
  icon->OnClick = [this](TObject*) { ++clicks; };
  icon->OnDblClick = [this](TObject*) { ++doubleClicks; };
  Callback(WM_LBUTTONDOWN);
  Callback(WM_LBUTTONUP);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(icon->ClickTimer().Enabled());
  EXPECT_EQ(icon->ClickTimer().Interval(), GetDoubleClickTime());
  EXPECT_TRUE(WaitUntil([&] { return clicks > 0; }, int(GetDoubleClickTime()) + 3000));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(icon->ClickTimer().Enabled());

  // The shell's sequence for a double click: down, up, double click, up.
  Callback(WM_LBUTTONDOWN);
  Callback(WM_LBUTTONUP);
  Callback(WM_LBUTTONDBLCLK);
  Callback(WM_LBUTTONUP);
  EXPECT_EQ(doubleClicks, 1);
  // Nothing is left to report a click later.
  EXPECT_TRUE(WaitUntil([&] { return !icon->ClickTimer().Enabled(); }, int(GetDoubleClickTime()) + 3000));
  EXPECT_EQ(clicks, 1) << "a double click reports no click";
  EXPECT_EQ(doubleClicks, 1);
}

TEST_F(CoolTrayIconTest, WithoutADoubleClickHandlerTheClickComesOnButtonUpWithMouseEvents) {
  Make();
  std::vector<std::pair<TMouseButton, TShiftState>> downs, ups;
  POINT at = {-1, -1};
  icon->OnClick = [this](TObject*) { ++clicks; };
  icon->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    downs.push_back({b, s});
    at = {x, y};
  };
  icon->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState s, int, int) { ups.push_back({b, s}); };
  Callback(WM_LBUTTONDOWN);
  EXPECT_FALSE(icon->ClickTimer().Enabled());
  Callback(WM_LBUTTONUP);
  EXPECT_EQ(clicks, 1);
  Callback(WM_LBUTTONUP);  // an up without a down is no click
  EXPECT_EQ(clicks, 1);
  Callback(WM_MBUTTONDOWN);
  Callback(WM_MBUTTONUP);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].first, TMouseButton::mbLeft);
  EXPECT_TRUE(downs[0].second & ssLeft);
  EXPECT_EQ(downs[1].first, TMouseButton::mbMiddle);
  EXPECT_TRUE(downs[1].second & ssMiddle);
  ASSERT_EQ(ups.size(), 3u);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(at.x, cursor.x);
  EXPECT_EQ(at.y, cursor.y);
}

TEST_F(CoolTrayIconTest, DisabledIconRaisesNoMouseEventsButStillForwardsBalloons) {
  Make();
  int moves = 0, downs = 0, balloons = 0;
  icon->OnClick = [this](TObject*) { ++clicks; };
  icon->OnDblClick = [this](TObject*) { ++doubleClicks; };
  icon->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
  icon->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  for (TNotifyEvent* e : {&icon->OnBalloonHintShow, &icon->OnBalloonHintHide,
                          &icon->OnBalloonHintTimeout, &icon->OnBalloonHintClick})
    *e = [&](TObject* sender) { balloons += sender == icon; };
  icon->SetEnabled(false);
  for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                 WM_RBUTTONUP, WM_MBUTTONDOWN})
    Callback(m);
  Pump();
  EXPECT_FALSE(icon->ClickTimer().Enabled()) << "no click is waiting to be reported";
  EXPECT_EQ(moves + downs + clicks + doubleClicks, 0);
  for (UINT m = WM_USER + 2; m <= WM_USER + 5; ++m) Callback(m);
  EXPECT_EQ(balloons, 4);
}

TEST_F(CoolTrayIconTest, TheNotifyRecordCarriesTheIconAndACutTip) {
  Make();
  TIcon picture = TIcon::Blank(16, 16);
  icon->SetIcon(picture);
  icon->SetHint(std::wstring(200, L'x') + L"y");
  icon->SetIconVisible(true);
  ASSERT_FALSE(calls.empty());
  const TShellCall& add = calls.back();
  EXPECT_EQ(add.message, DWORD(NIM_ADD));
  EXPECT_EQ(add.size, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(add.wnd, TCoolTrayIcon::HandlerWindow());
  EXPECT_EQ(add.id, icon->IconId());
  EXPECT_EQ(add.flags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.callback, 0x800u);
  EXPECT_EQ(add.icon, icon->Icon().Handle());
  EXPECT_NE(add.icon, nullptr);
  EXPECT_EQ(add.tip, std::wstring(127, L'x'));
  icon->SetHint(std::wstring(126, L'x') + L"\U0001F600");  // the 127th unit starts a pair
  EXPECT_EQ(calls.back().tip, std::wstring(126, L'x'));
  icon->SetShowHint(false);
  EXPECT_EQ(calls.back().message, DWORD(NIM_MODIFY));
  EXPECT_EQ(calls.back().tip, L"");
  icon->SetIconVisible(false);
  EXPECT_EQ(calls.back().message, DWORD(NIM_DELETE));
  EXPECT_FALSE(icon->IconVisible());
}

TEST_F(CoolTrayIconTest, ABalloonGoesWithOneRequestAndNeverComesBackWithLaterOnes) {
  Make();
  EXPECT_FALSE(icon->ShowBalloonHint(L"Время вышло", L"not in the tray yet"));
  icon->SetCallbackMode(kCallbackVersion3);
  icon->SetIconVisible(true);
  ASSERT_TRUE(icon->ShowBalloonHint(L"Время вышло", std::wstring(300, L'z'), TBalloonHintIcon::bitWarning));
  const TShellCall& shown = calls.back();
  EXPECT_EQ(shown.message, DWORD(NIM_MODIFY));
  EXPECT_TRUE(shown.flags & NIF_INFO);
  EXPECT_EQ(shown.infoTitle, L"Время вышло");
  EXPECT_EQ(shown.info, std::wstring(255, L'z'));
  EXPECT_EQ(shown.infoFlags, DWORD(NIIF_WARNING));
  // The version shares its place with the timeout and is the icon's own again.
  EXPECT_EQ(icon->NotifyData().uVersion, UINT(NOTIFYICON_VERSION));
  icon->SetHint(L"later");
  EXPECT_FALSE(calls.back().flags & NIF_INFO);
  ASSERT_TRUE(icon->HideBalloonHint());
  EXPECT_TRUE(calls.back().flags & NIF_INFO);
  EXPECT_EQ(calls.back().info, L"");
}

TEST_F(CoolTrayIconTest, CyclesThroughTheImageListAndWrapsToTheFirst) {
  Make();
  auto* list = new TImageList(form, 16, 16);
  for (int i = 0; i < 3; ++i) list->AddIcon(TIcon::Blank(16, 16));
  icon->SetIconList(list);
  icon->SetIconIndex(7);
  EXPECT_EQ(icon->IconIndex(), 2) << "an index past the list is held at the last image";
  std::vector<int> steps;
  icon->OnCycle = [&](TObject*, int next) { steps.push_back(next); };
  icon->SetCycleInterval(30);
  icon->SetCycleIcons(true);
  EXPECT_EQ(icon->IconIndex(), 0);
  WaitUntil([&] { return steps.size() >= 4; });
  icon->SetCycleIcons(false);
  ASSERT_GE(steps.size(), 4u);
  EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(icon->IconIndex(), steps.back());
  EXPECT_NE(icon->Icon().Handle(), nullptr);

  delete list;  // the reference is cleared with the list
  EXPECT_EQ(icon->IconList(), nullptr);
  icon->SetIconIndex(2);
  EXPECT_EQ(icon->IconIndex(), 0) << "without a list the index is 0";
}

TEST_F(CoolTrayIconTest, ACycleIntervalOfZeroNeverCycles) {
  Make();
  auto* list = new TImageList(form, 16, 16);
  for (int i = 0; i < 3; ++i) list->AddIcon(TIcon::Blank(16, 16));
  icon->SetIconList(list);
  int steps = 0;
  icon->OnCycle = [&](TObject*, int) { ++steps; };
  icon->SetCycleIcons(true);
  EXPECT_FALSE(icon->CycleTimer().Enabled());
  PumpFor(200);  // ten cycle steps' time: none may come
  EXPECT_EQ(steps, 0);
  icon->SetCycleInterval(20);  // a later interval starts it
  WaitUntil([&] { return steps > 0; });
  EXPECT_GT(steps, 0);
}

TEST_F(CoolTrayIconTest, EnterOnTheFirstMoveAndExitOnceThePointerLeaves) {
  Make();
  int enters = 0, exits = 0;
  icon->OnMouseEnter = [&](TObject*) { ++enters; };
  icon->OnMouseExit = [&](TObject*) { ++exits; };
  icon->SetWantEnterExitEvents(true);
  EXPECT_TRUE(icon->ExitTimer().Enabled());
  EXPECT_EQ(icon->ExitTimer().Interval(), 20u);
  SetCursorPos(40, 40);
  Callback(WM_MOUSEMOVE);
  Callback(WM_MOUSEMOVE);
  PumpFor(100);  // five exit-timer ticks with the pointer still: none may report an exit
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 0) << "the pointer has not moved";
  SetCursorPos(400, 300);
  WaitUntil([&] { return exits > 0; });
  EXPECT_EQ(exits, 1);
  Callback(WM_MOUSEMOVE);
  EXPECT_EQ(enters, 2);
}

TEST_F(CoolTrayIconTest, CallbackModeSelectsWhichMessagesReportTheRightButtonUp) {
  Make();
  int rightUps = 0;
  icon->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) {
    rightUps += b == TMouseButton::mbRight;
  };
  Callback(WM_RBUTTONUP);
  Callback(WM_CONTEXTMENU);
  EXPECT_EQ(rightUps, 1);
  icon->SetCallbackMode(1);
  EXPECT_EQ(calls.back().message, DWORD(NIM_SETVERSION));
  EXPECT_EQ(calls.back().version, 3u);
  Callback(WM_RBUTTONUP);
  EXPECT_EQ(rightUps, 1);
  Callback(WM_CONTEXTMENU);
  Callback(WM_USER + 0);
  Callback(WM_USER + 1);
  EXPECT_EQ(rightUps, 4);
  icon->SetCallbackMode(0);
  EXPECT_EQ(calls.back().version, 0u);
}

TEST_F(CoolTrayIconTest, ADoubleClickClicksTheMenusDefaultItem) {
  Make();
  auto* menu = new TPopupMenu(form);
  int chosen = -1;
  for (int i = 0; i < 3; ++i) {
    auto* item = new TMenuItem(form);
    item->SetCaption(L"item");
    item->SetDefault(i > 0);
    item->OnClick = [&chosen, i](TObject*) { if (chosen < 0) chosen = i; };
    menu->Items()->Add(item);
  }
  icon->SetPopupMenu(menu);
  icon->SetLeftPopup(true);
  icon->SetPopupMenu(nullptr);
  icon->SetPopupMenu(menu);
  icon->SetLeftPopup(false);
  Callback(WM_LBUTTONDBLCLK);
  EXPECT_EQ(chosen, 1) << "the first item with the default flag";
  delete menu;
  EXPECT_EQ(icon->PopupMenu(), nullptr);
}

TEST_F(CoolTrayIconTest, TaskbarCreatedAddsTheVisibleIconAgain) {
  Make();
  ASSERT_NE(TCoolTrayIcon::TaskbarCreatedMessage(), 0u);
  SendMessageW(Application->Handle(), TCoolTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(Count(NIM_ADD), 0) << "an invisible icon stays out";
  icon->SetIconVisible(true);
  calls.clear();
  SendMessageW(Application->Handle(), TCoolTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(Count(NIM_ADD), 1);
}

TEST_F(CoolTrayIconTest, AnIconSourceDrawsTheIconAtTheShellsSizeAgainWhenTheScaleMayHaveChanged) {
  Make();
  std::vector<int> asked;
  icon->SetIconVisible(true);
  icon->SetIconSource([&](int size) {
    asked.push_back(size);
    return TIcon::Blank(size, size);
  });
  const int size = TCoolTrayIcon::ShellIconSize();
  EXPECT_EQ(size, GetSystemMetrics(SM_CXSMICON)) << "one scale under test: the system's";
  ASSERT_EQ(asked, std::vector<int>{size});
  EXPECT_EQ(icon->Icon().Width(), size);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().message, DWORD(NIM_MODIFY));
  EXPECT_EQ(calls.back().icon, icon->Icon().Handle()) << "the new picture reaches the tray";

  // The shell starts anew (also after its scale changed): drawn again, then added.
  calls.clear();
  SendMessageW(Application->Handle(), TCoolTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(asked.size(), 2u);
  ASSERT_EQ(Count(NIM_ADD), 1);
  EXPECT_EQ(calls.back().icon, icon->Icon().Handle());
  // The owner window moves to another scale.
  RECT r;
  GetWindowRect(form->Handle(), &r);
  SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(asked.size(), 3u);

  icon->SetIconSource(nullptr);
  SendMessageW(Application->Handle(), TCoolTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(asked.size(), 3u) << "without a source the icon stays as set";
}

TEST_F(CoolTrayIconTest, AMinimizeHandlerTakesTheMinimizeFromTheOwnerWindow) {
  Make();
  int minimized = 0;
  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = [&](TObject*) { ++minimized; };
  const LRESULT answer = SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(minimized, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsIconic(Application->Handle())) << "consumed before the application minimized";
  EXPECT_TRUE(icon->IconVisible());
  SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(CoolTrayIconTest, TheOwnerHookFollowsTheOwnersRemadeWindow) {
  Make();
  int minimized = 0;
  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = [&](TObject*) { ++minimized; };
  const HWND first = form->Handle();
  form->SetBorderStyle(TFormBorderStyle::bsSingle);  // remakes the window
  Pump();
  ASSERT_NE(form->Handle(), first);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
  Pump();
  EXPECT_EQ(minimized, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(CoolTrayIconTest, AnExceptionInTheOwnerHookGoesToTheErrorHandler) {
  Make();
  TErrorCatcher errors;
  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = [](TObject*) { throw std::runtime_error("tray failed"); };
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_EQ(errors.messages, std::vector<std::string>{"tray failed"});
  SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  form->Show();
  Pump();
}

// Somebody else replaces the owner's procedure after the icon: when the icon goes, its
// procedure stays in their chain and passes every message on; the owner keeps working.
WNDPROC g_overPrev = nullptr;
int g_overMessages = 0;
LRESULT CALLBACK OverProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++g_overMessages;
  return CallWindowProcW(g_overPrev, wnd, msg, wParam, lParam);
}

TEST_F(CoolTrayIconTest, AnIconHookedUnderAnotherProcedurePassesMessagesOnAfterItGoes) {
  Make();
  HWND owner = form->Handle();
  int minimized = 0;
  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = [&](TObject*) { ++minimized; };
  g_overPrev = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverProc)));
  EXPECT_EQ(SendMessageW(owner, WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
  Pump();
  EXPECT_EQ(minimized, 1) << "the icon still hears its owner";
  SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  delete icon;
  icon = nullptr;
  int reached = 0;
  const auto inner = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    reached += m.Msg == WM_USER + 77;
    inner(m);
  };
  SendMessageW(owner, WM_USER + 77, 0, 0);
  EXPECT_EQ(reached, 1) << "the form's own procedure is reached through the icon's";
  SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_overPrev));
  g_overMessages = 0;
  SendMessageW(owner, WM_USER + 77, 0, 0);
  EXPECT_EQ(reached, 2);
  EXPECT_EQ(g_overMessages, 0);
}

// A form that asks to start hidden in the tray.
class TStartHiddenForm : public TForm {
 public:
  explicit TStartHiddenForm(TComponent* owner) : TForm(owner) {
    Tray = new TCoolTrayIcon(this);
    Tray->SetIconVisible(true);
    Tray->OnStartup = [](TObject*, bool& show) { show = false; };
  }
  TCoolTrayIcon* Tray;
};

TEST_F(CoolTrayIconTest, OnStartupCanKeepTheMainWindowInTheTray) {
  auto* hidden = Application->CreateForm<TStartHiddenForm>();
  form = hidden;
  EXPECT_FALSE(Application->ShowMainForm());
  EXPECT_FALSE(hidden->Visible());
  EXPECT_TRUE(hidden->Tray->IconVisible());
  EXPECT_GE(Count(NIM_ADD), 1);
}

TEST_F(CoolTrayIconTest, DestructionRemovesTheIconAndGivesEverythingBack) {
  HWND owner = nullptr;
  {
    form = Application->CreateForm<TForm>();
    owner = form->Handle();
    const LONG_PTR procBefore = GetWindowLongPtrW(owner, GWLP_WNDPROC);
    auto* first = new TCoolTrayIcon(form);
    auto* second = new TCoolTrayIcon(form);
    EXPECT_NE(GetWindowLongPtrW(owner, GWLP_WNDPROC), procBefore);
    EXPECT_EQ(TCoolTrayIcon::HandlerUsers(), 2);
    HWND handler = TCoolTrayIcon::HandlerWindow();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"TTrayIconHandler", nullptr), handler);
    SendMessageW(handler, WM_CLOSE, 0, 0);
    SendMessageW(handler, WM_DESTROY, 0, 0);
    EXPECT_TRUE(IsWindow(handler)) << "the shared window cannot be closed from outside";

    first->SetIconVisible(true);
    const UINT firstId = first->IconId();
    calls.clear();
    delete first;
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, DWORD(NIM_DELETE));
    EXPECT_EQ(calls[0].id, firstId);
    int clicked = 0;
    second->OnClick = [&](TObject*) { ++clicked; };
    SendMessageW(handler, WM_TRAYNOTIFY, firstId, WM_LBUTTONDOWN);  // a late callback
    SendMessageW(handler, WM_TRAYNOTIFY, firstId, WM_LBUTTONUP);
    EXPECT_EQ(clicked, 0);
    EXPECT_TRUE(IsWindow(handler));
    delete second;
    EXPECT_EQ(TCoolTrayIcon::HandlerUsers(), 0);
    EXPECT_EQ(TCoolTrayIcon::HandlerWindow(), nullptr);
    EXPECT_FALSE(IsWindow(handler));
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"TTrayIconHandler", nullptr), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(owner, GWLP_WNDPROC), procBefore) << "the owner's procedure is back";
  }
  // The application hook went with the icon: minimizing no longer touches the tray.
  form->Show();
  calls.clear();
  SendMessageW(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(calls.empty());
}

TEST(SimpleTimer, StartStopIntervalAndCallbackRules) {
  int ticks = 0;
  {
    TSimpleTimer timer(0, [&](TSimpleTimer*) { ++ticks; });
    EXPECT_EQ(TSimpleTimer::HandlerUsers(), 1);
    EXPECT_FALSE(timer.Start()) << "an interval of 0 is refused";
    EXPECT_FALSE(timer.Enabled());
    timer.SetInterval(20);
    EXPECT_TRUE(timer.Start());
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled()) << "stopped but still enabled";
    PumpFor(100);  // five intervals' time for ticks that must not come
    EXPECT_EQ(ticks, 0);
    timer.SetInterval(20);
    WaitUntil([&] { return ticks > 0; });
    EXPECT_GT(ticks, 0);
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
  }
  EXPECT_EQ(TSimpleTimer::HandlerUsers(), 0);
  EXPECT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
  TSimpleTimer defaults;
  EXPECT_EQ(defaults.Interval(), 1000u);
  EXPECT_FALSE(defaults.Enabled());
}

TEST(SimpleTimer, ATickStillQueuedForAFreedTimerIsIgnored) {
  TSimpleTimer keeper;  // keeps the shared window alive
  int ticks = 0;
  auto* timer = new TSimpleTimer(10, [&](TSimpleTimer*) { ++ticks; });
  PostMessageW(TSimpleTimer::HandlerWindow(), WM_TIMER, timer->Id(), 0);
  delete timer;
  Pump();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
