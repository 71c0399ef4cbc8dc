// The thread's window-creation hook of the skin engine and the lists it shares with the skin
// manager: the windows under the hook's control and the forms that have a frame provider.
//
// The hook is installed by the default skin manager while a skin is active. Its procedure
// passes every call on to the next hook; the automatic skinning of new windows adds its
// create, destroy and activate branches to it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class TCustomForm;
class TsSkinManager;

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

 protected:
  ~IzkFrameProvider() = default;
};
// The forms that have a frame provider, in the order they got one.
std::vector<IzkFrameProvider*>& FramedForms();
