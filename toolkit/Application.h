// The application: the hidden top-level window that carries the program's title and
// taskbar button and owns the forms, the event loop, and the general error handler.
//
// Everything sent to the application window is first offered to the hooks installed with
// HookMainWindow (a hook that returns true consumes the message). An exception that escapes
// a message handler is shown by HandleException (or given to OnException) and the loop goes
// on.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Icon.h"
#include "toolkit/Messages.h"

class TControl;
class TWinControl;
class TCustomForm;

using TExceptionEvent = std::function<void(TObject* sender, const std::exception* e)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TWindowHook = std::function<bool(TMessage& m)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  const wchar_t* ClassName() const override { return L"TApplication"; }

  // Creates the application window, loads the application icon (resource "MAINICON") and
  // sets the system colour resolver.
  void Initialize();
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);
  const TIcon& Icon() const { return icon_; }

  // Makes a form owned by the application; the first one made becomes the main form. Its
  // constructor runs in the loading phase; then every component gets Loaded() and the
  // form's OnCreate runs.
  template <typename T, typename... Args>
  T* CreateForm(Args&&... args);
  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool on) { showMainForm_ = on; }

  // Shows the main form and runs the event loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Handles one message; false when there was none.
  bool ProcessMessage(MSG& msg);

  void Minimize();
  void Restore();
  void BringToFront();
  bool Minimized() const;

  // The general error handler: OnException when assigned, otherwise a message box with the
  // exception's message. e may be null for an unknown exception.
  void HandleException(TObject* sender, const std::exception* e);
  void ShowException(const std::wstring& message);
  TExceptionEvent OnException;
  TMessageEvent OnMessage;

  // A message box owned by the active window (the application window when none is active),
  // announced as a modal box that starts and ends. Returns the platform's answer.
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
  // A modal box of somebody's starts or ends; OnModalBegin / OnModalEnd run around it.
  void ModalStarted();
  void ModalFinished();
  int ModalLevel() const { return modalLevel_; }
  TNotifyEvent OnModalBegin;
  TNotifyEvent OnModalEnd;

  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int id);

  // Mouse enter / leave bookkeeping for controls.
  TControl* MouseControl() const { return mouseControl_; }
  void SetMouseControl(TControl* control);
  void MouseLeftWindow(TWinControl* window);
  void ControlDestroyed(TControl* control);

  // Called by forms: the main form closed.
  void MainFormClosed();
  void FormDestroyed(TCustomForm* form);

 private:
  static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void WndProc(TMessage& m);
  bool IsKeyMsg(MSG& msg);
  void RegisterForm(TCustomForm* form);

  HWND handle_ = nullptr;
  std::wstring title_;
  TIcon icon_;
  TIcon smallIcon_;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool handlingException_ = false;
  int modalLevel_ = 0;
  std::map<int, TWindowHook> hooks_;
  int nextHookId_ = 1;
  TControl* mouseControl_ = nullptr;
};

extern TApplication* Application;

template <typename T, typename... Args>
T* TApplication::CreateForm(Args&&... args) {
  T* form = new T(this, std::forward<Args>(args)...);
  RegisterForm(form);
  form->AfterConstruction();
  return form;
}
