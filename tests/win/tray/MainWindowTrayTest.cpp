// The main window's own tray icon: in the tray from the start, minimizing hides the window
// and its taskbar button, and a double click on the icon brings the window back in front.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "toolkit/Application.h"

namespace {

TEST(MainWindowTray, MinimizeHidesIntoTheTrayAndADoubleClickRestores) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm();
  TCoolTrayIcon* tray = form->CoolTrayIcon1;
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_TRUE(tray->MinimizeToTray());
  EXPECT_FALSE(tray->CycleIcons());
  EXPECT_EQ(tray->CycleInterval(), 0u);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(tray->Hint(), L"");

  HWND app = Application->Handle();
  HWND wnd = form->Handle();
  PostMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_FALSE(IsWindowVisible(app)) << "no taskbar button while in the tray";

  for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    PostMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, tray->IconId(), m);
  Pump();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_FALSE(IsIconic(app));
  EXPECT_EQ(GetForegroundWindow(), wnd);
  EXPECT_EQ(GetFocus(), form->sEdit1->WindowHandle()) << "the focus is back in the edit box";
  EXPECT_TRUE(tray->IconVisible());
  delete form;
  Pump();
  EXPECT_EQ(TCoolTrayIcon::HandlerWindow(), nullptr);
}

}  // namespace
