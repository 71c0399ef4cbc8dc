// One program per folder: the lock is the folder's however it is spelled, a copy in another
// folder is not held back, and a later start brings the first one's window back from the tray.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/SingleInstance.h"
#include "toolkit/Application.h"

namespace {

TEST(SingleInstance, OneLockPerFolderWhateverItsSpelling) {
  {
    TSingleInstance first(L"C:\\Vornik Lock\\Folder A\\");
    EXPECT_TRUE(first.First());
    TSingleInstance sameCase(L"c:\\vornik lock\\FOLDER A");
    TSingleInstance slashes(L"C:/Vornik Lock/Folder A//");
    TSingleInstance dotted(L"C:\\Vornik Lock\\Other\\..\\Folder A\\");
    EXPECT_FALSE(sameCase.First());
    EXPECT_FALSE(slashes.First());
    EXPECT_FALSE(dotted.First());
    EXPECT_EQ(sameCase.Name(), first.Name());
    TSingleInstance elsewhere(L"C:\\Vornik Lock\\Folder B\\");
    EXPECT_TRUE(elsewhere.First()) << "a copy in another folder keeps its own list";
    EXPECT_NE(elsewhere.Name(), first.Name());
  }
  // Once every holder has gone (the program ended, or crashed), the folder is free again.
  TSingleInstance again(L"C:\\Vornik Lock\\Folder A\\");
  EXPECT_TRUE(again.First());
}

TEST(SingleInstance, ALaterStartBringsTheRunningWindowBackFromTheTray) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm();
  TSingleInstance first(parts.folder.Path());
  ASSERT_TRUE(first.First());
  first.Listen([form] { form->BringBack(); });

  HWND wnd = form->Handle();
  PostMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  ASSERT_FALSE(IsWindowVisible(wnd));

  TSingleInstance later(parts.folder.Path());
  EXPECT_FALSE(later.First());
  EXPECT_TRUE(later.BringBackFirst(2000));
  Pump();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(IsIconic(wnd));
  EXPECT_TRUE(IsWindowVisible(Application->Handle())) << "with its taskbar button";
  EXPECT_EQ(GetForegroundWindow(), wnd);

  // A program that stopped answering (it is closing) is not waited for beyond the limit.
  first.StopListening();
  EXPECT_FALSE(later.BringBackFirst(100));
  delete form;
  Pump();
}

}  // namespace
