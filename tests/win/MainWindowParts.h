// What the tests of the program's main window need around it: a scratch folder holding the
// program's icons and sound, a locale whose clock the test sets and an alarm that counts.
#pragma once

#include "WinTestSupport.h"
#include "app/Unit1.h"

class TMainWindowParts {
 public:
  TMainWindowParts() { folder.CopyAssets(); }

  // A setup pointing at the folder, locale and alarm below; tests add their own storage or
  // link opener to it.
  TForm1Setup FormSetup();
  // Makes the main window (the application's main form) from `setup`; when `show`, shows it
  // and handles what the showing queued.
  TForm1* CreateMainForm(const TForm1Setup& setup, bool show = true);
  TForm1* CreateMainForm(bool show = true) { return CreateMainForm(FormSetup(), show); }

  TScratchFolder folder;
  TTestLocale locale;
  TCountingAlarm alarm;
};
