// The thread's window-creation hook of the skin engine and the records of the windows it
// skinned, which the skin manager reaches through the seams of skin/data/sWindowSkinning.h.
//
// The hook is installed by the default skin manager while a skin is active. Its procedure
// passes every call on to the next hook, then skins the forms of the application when they
// are first activated (each gets a run-time frame provider), skins the platform's standard
// dialogs (message boxes, common dialogs: a dialog adapter for the frame and one adapter per
// child control, by the child's window class), gives menu windows their adapters, and
// forgets the dialog records whose windows are gone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "skin/data/sWindowSkinning.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Component.h"

class TCustomForm;
class TsSkinView;
class TsSkinProvider;
class TzkDialogWnd;
class TzkMainWnd;

// Installs the WH_CBT hook for the current thread (once) and creates the provider list; false
// when the platform refuses.
bool InstallSkinHook();
// Unhooks and frees every record of the provider list and the list.
void RemoveSkinHook();
bool SkinHookInstalled();
// The windows under the hook's control: the window of every record of the provider list (the
// skinned forms and dialogs). Empty while the hook is not installed.
std::vector<HWND> HookedWindows();

// The record the automatic skinning keeps per window it skinned. A form's record is owned by
// the form and lives as long as it does; a dialog's has no owner and goes when its dialog
// adapter has given the window back (or the hook is removed), freeing the child adapters and
// the dialog adapter with it.
class TzkProvider : public TComponent {
 public:
  explicit TzkProvider(TComponent* owner);
  // Sets its own entry of the provider list to empty.
  ~TzkProvider() override;
  const wchar_t* ClassName() const override { return L"TzkProvider"; }

  HWND DialogWnd = nullptr;                // the dialog served; empty for a form
  TsSkinProvider* SkinProvider = nullptr;  // the form's frame provider (owned by the form)
  std::unique_ptr<TzkDialogWnd> DialogAdapter;             // the dialog's frame (owned)
  std::vector<std::unique_ptr<TzkMainWnd>> ChildAdapters;  // one per adapted child (owned)
  // The dialog adapter gave its window back: the record can go.
  bool Released() const;
};
// Every record made since the hook was installed; dead entries stay as empty holes while the
// hook is installed. Null while the hook is not installed.
std::vector<TzkProvider*>* ProviderList();
// The activation branch of the hook: gives an application form that is not skinned yet its
// frame provider, and a standard dialog ("#32770") its dialog adapter and one adapter per
// child, when the skin manager's rules admit them.
void ClassifyWindow(HWND wnd);
// Gives every child of the window, depth first, the adapter its class asks for (children
// that are skinned already are left alone); the record keeps them. False for an empty handle.
bool AttachChildren(HWND wnd, TzkProvider& record);
// Where the next standard dialog the hook admits is moved; (-1, -1) leaves it where the
// platform puts it (the message box routine asks for a place for its box).
TPoint& RequestedDialogPosition();
// Runs the activation branch on every MDI child of an MDI frame form that is not skinned yet
// (MDI children are never activated as top-level windows, so the hook does not see them).
void ClassifyMDIChildren(TCustomForm* frame);
// The destruction branch: frees the dialog records whose adapters gave their windows back.
void SweepDeadProviders();
// The hook procedure itself (exposed for tests that drive it directly).
LRESULT CALLBACK SkinHookProc(int code, WPARAM wParam, LPARAM lParam);
