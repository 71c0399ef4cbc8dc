// Helpers of the Win32 tests: the application set up once, a scratch folder per test,
// message pumping, files as bytes, and a locale with a settable clock.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/WinTaskLocale.h"
#include "app/TaskPlatform.h"

// Handles everything waiting in the message queue.
void Pump();
// Pumps for roughly ms milliseconds.
void PumpFor(int ms);
// Pumps until `done` holds or deadlineMs have passed; says whether it held.
bool WaitUntil(const std::function<bool()>& done, int deadlineMs = 3000);

// Pointer input as the user gives it, each waiting (with a deadline) until the platform has
// delivered it to this thread and what it caused has been handled. Both say whether it came.
// MovePointerTo: the pointer to a screen point; a move onto no window of this thread, or to
// where the pointer already is, is delivered to nobody and only handles what is waiting.
bool MovePointerTo(POINT screen);
// SendMouseButton: the left button down or up at the pointer.
bool SendMouseButton(bool down);

// The platform copies what a window painted to the screen once its thread has been idle for
// a moment, and nothing tells when that has happened. A test that reads the screen after
// painting, and has no expected picture to wait for, lets this moment pass first.
void LetPaintReachScreen();

// Records the GDI objects alive through the toolkit's handles and the process's GDI and USER
// objects when made, and expects when it goes no more handles than before and at most
// `processSlack` more process objects (the platform keeps a few caches of its own).
// kHandlesOnly leaves the process counts out.
class TLeakCheck {
 public:
  static constexpr int kHandlesOnly = -1;
  explicit TLeakCheck(int processSlack = 0);
  ~TLeakCheck();
  TLeakCheck(const TLeakCheck&) = delete;
  TLeakCheck& operator=(const TLeakCheck&) = delete;

 private:
  int slack_;
  long handles_;
  DWORD gdi_;
  DWORD user_;
};

// Runs `open`, which returns when the modal loop it starts ends (a menu, a message box), while
// a thread timer runs the steps one after another, `interval` ms apart; after the last step
// `finish` runs on every tick until the loop has ended (it closes what `open` opened).
class TModalScript {
 public:
  static void Run(const std::function<void()>& open, std::vector<std::function<void()>> steps,
                  const std::function<void()>& finish, UINT interval = 40);

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
};

// A fresh folder under the temporary folder, removed with its files on destruction.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  // Copies the status icons and the sound from the test program's folder.
  void CopyAssets() const;

 private:
  std::wstring path_;
};

// Makes `row` the only selected row of a list view; -1 clears the selection.
void SelectListRow(HWND listView, int row);

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExistsW(const std::wstring& path);
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// A real Windows locale whose clock the test sets.
class TTestLocale : public TWinTaskLocale {
 public:
  explicit TTestLocale(const std::wstring& name = L"en-US") : TWinTaskLocale(name) {}
  TDateTime now = 46000.5;  // 2025-12-09 12:00:00
  TDateTime Now() const override { return now; }
};

class TCountingAlarm : public ITaskAlarm {
 public:
  int plays = 0;
  void Play() override { ++plays; }
};

// Errors given to the general error handler while it is alive.
class TErrorCatcher {
 public:
  TErrorCatcher();
  ~TErrorCatcher();
  std::vector<std::string> messages;
};
