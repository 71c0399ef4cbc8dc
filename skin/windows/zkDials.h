// The thread's window-creation hook of the skin engine and the lists it shares with the skin
// manager: the windows under the hook's control and the forms that have a frame provider.
//
// The hook is installed by the default skin manager while a skin is active. Its procedure
// passes every call on to the next hook, then skins the forms of the application when they
// are first activated (each gets a run-time frame provider) and forgets the providers whose
// windows are gone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/Component.h"

class TCustomForm;
class TsSkinManager;
class TsSkinProvider;

// A window the hook took under its control; the entry is destroyed when the hook goes.
class TzkHookedWindow {
 public:
  virtual ~TzkHookedWindow() = default;
  virtual HWND Window() const = 0;
};
using TzkHookWindowList = std::vector<std::unique_ptr<TzkHookedWindow>>;

// Installs the WH_CBT hook for the current thread (once) and creates the window list; false
// when the platform refuses.
bool InstallSkinHook();
// Unhooks and destroys every entry of the window list and the list.
void RemoveSkinHook();
bool SkinHookInstalled();
// The windows under the hook's control; null while the hook is not installed.
TzkHookWindowList* HookWindowList();

// A form's frame provider as the skin manager's broadcast and skin-changing animation see it.
class IzkFrameProvider {
 public:
  virtual TCustomForm* Form() const = 0;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider paints the form's frame and title bar itself.
  virtual bool DrawsNonClientArea() const = 0;
  virtual void SetAnimating(bool on) = 0;
  // After a skin change: rebuild the corner areas and the window region, redraw.
  virtual void RebuildFrame() = 0;
  // A copy of the form's window region for the cover window, or null.
  virtual HRGN CopyWindowRegion() const = 0;
  // Switches a frozen form with an extended border window to its new look together with the
  // border, in `time` milliseconds; false (nothing done) when the form has no such window.
  virtual bool SwitchLookWithBorder(uint16_t /*time*/) { return false; }

 protected:
  ~IzkFrameProvider() = default;
};
// The forms that have a frame provider, in the order they got one.
std::vector<IzkFrameProvider*>& FramedForms();

// The record the automatic skinning keeps per window it skinned. A form's record is owned by
// the form and lives as long as it does; a dialog's has no owner and goes when its window is
// gone or the hook is removed.
class TzkProvider : public TComponent {
 public:
  explicit TzkProvider(TComponent* owner);
  // Sets its own entry of the provider list to empty.
  ~TzkProvider() override;
  const wchar_t* ClassName() const override { return L"TzkProvider"; }

  HWND DialogWnd = nullptr;                // the dialog served; empty for a form
  TsSkinProvider* SkinProvider = nullptr;  // the form's frame provider (owned by the form)
  // A dialog record whose window no longer exists.
  bool Dead() const { return DialogWnd && !IsWindow(DialogWnd); }
};
// Every record made since the hook was installed; dead entries stay as empty holes while the
// hook is installed. Null while the hook is not installed.
std::vector<TzkProvider*>* ProviderList();
// The activation branch of the hook: gives an application form that is not skinned yet its
// frame provider when the skin manager's rules admit it.
void ClassifyWindow(HWND wnd);
// Runs the activation branch on every MDI child of an MDI frame form that is not skinned yet
// (MDI children are never activated as top-level windows, so the hook does not see them).
void ClassifyMDIChildren(TCustomForm* frame);
// The destruction branch: frees the dialog records whose windows are gone.
void SweepDeadProviders();
// The hook procedure itself (exposed for tests that drive it directly).
LRESULT CALLBACK SkinHookProc(int code, WPARAM wParam, LPARAM lParam);
