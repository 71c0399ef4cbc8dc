#include "skin/windows/zkDials.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkMnuWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Screen.h"

namespace {

HHOOK hook = nullptr;
std::unique_ptr<std::vector<TzkProvider*>> providers;

constexpr intptr_t kNeverSkinnedTag = -98;

std::string ClassNameOf(HWND wnd) {
  char name[128] = {};
  GetClassNameA(wnd, name, sizeof(name));
  return name;
}

// The form whose window is wnd; an MDI frame's children are looked at with their frame.
TCustomForm* FormOfWindow(HWND wnd) {
  const std::vector<TCustomForm*>& forms = Screen->CustomForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    TCustomForm* form = *it;
    if (form->HandleAllocated() && form->WindowHandle() == wnd) return form;
    if (form->FormStyle() != TFormStyle::fsMDIForm) continue;
    for (int i = 0; i < form->MDIChildCount(); ++i)
      if (form->MDIChildren(i)->WindowHandle() == wnd) return form->MDIChildren(i);
  }
  return nullptr;
}

bool ServedAsDialog(HWND wnd) {
  if (!providers) return false;
  for (TzkProvider* p : *providers)
    if (p && p->DialogWnd == wnd) return true;
  return false;
}

// The toolkit's own and other programs' pop-up forms that must keep their look.
bool NeverSkinnedClass(const std::string& name) {
  return name == "TApplication" || name == "TQRStandardPreview" || name == "TfcPopup";
}

void AttachFormProvider(TCustomForm* form) {
  auto* record = new TzkProvider(form);
  providers->push_back(record);
  auto* provider = new TsSkinProvider(form);
  record->SkinProvider = provider;
  // Under composition the form must show its skinned frame at once: the provider (loaded
  // on construction, the form has its window) is made visible and redrawn now.
  if (CompositionEnabled() && form->HandleAllocated()) {
    HWND wnd = form->WindowHandle();
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
  provider->MakeSkinMenu = false;
}

}  // namespace

// [SECTION] Records

TzkProvider::TzkProvider(TComponent* owner) : TComponent(owner) {}

TzkProvider::~TzkProvider() {
  if (!providers) return;
  auto it = std::find(providers->begin(), providers->end(), this);
  if (it != providers->end()) *it = nullptr;
}

std::vector<TzkProvider*>* ProviderList() { return providers.get(); }

// [SECTION] The hook's branches

void ClassifyWindow(HWND wnd) {
  if (!wnd || !providers) return;
  TsSkinView* manager = DefaultManager();
  if (!manager || IsSkinnedWindow(wnd) || ServedAsDialog(wnd)) return;
  TCustomForm* form = FormOfWindow(wnd);
  // Standard dialogs ("#32770") are left with the platform's look until they get adapters
  // of their own; anything that is not a form of the application is left alone too.
  if (!form || form->Tag() == kNeverSkinnedTag || form->IsDestroying()) return;
  const std::string name = ClassNameOf(wnd);
  if (NeverSkinnedClass(name)) return;
  const TsSkinningRule needed = name == "TMessageForm" ? srStdDialogs : srStdForms;
  if (!(manager->SkinningRules() & needed)) return;
  AttachFormProvider(form);
  if (form->FormStyle() != TFormStyle::fsMDIForm) return;
  for (int i = 0; i < form->MDIChildCount(); ++i) {
    TCustomForm* child = form->MDIChildren(i);
    if (child->Tag() != kNeverSkinnedTag && !IsSkinnedWindow(child->WindowHandle()))
      AttachFormProvider(child);
  }
}

void ClassifyMDIChildren(TCustomForm* frame) {
  if (!frame || frame->FormStyle() != TFormStyle::fsMDIForm) return;
  for (int i = 0; i < frame->MDIChildCount(); ++i) {
    HWND child = frame->MDIChildren(i)->WindowHandle();
    if (!IsSkinnedWindow(child)) ClassifyWindow(child);
  }
}

void SweepDeadProviders() {
  if (!providers) return;
  for (TzkProvider*& p : *providers) {
    if (!p || !p->Dead()) continue;
    TzkProvider* dead = p;
    p = nullptr;
    delete dead;
  }
}

LRESULT CALLBACK SkinHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
  try {
    if (code == HCBT_CREATEWND)
      AdaptMenuWindow(HWND(wParam), reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs);
    if (code == HCBT_DESTROYWND) SweepDeadProviders();
    if (code == HCBT_ACTIVATE) ClassifyWindow(HWND(wParam));
  } catch (const std::exception& e) {
    Application->HandleException(nullptr, &e);
  } catch (...) {
    Application->HandleException(nullptr, nullptr);
  }
  return result;
}

// [SECTION] Installing

bool InstallSkinHook() {
  if (hook) return true;
  if (!providers) providers = std::make_unique<std::vector<TzkProvider*>>();
  hook = SetWindowsHookExW(WH_CBT, SkinHookProc, nullptr, GetCurrentThreadId());
  return hook != nullptr;
}

void RemoveSkinHook() {
  ReleaseMenuWindows();
  if (hook) UnhookWindowsHookEx(hook);
  hook = nullptr;
  if (providers) {
    // Each record's destructor empties its own entry.
    for (size_t i = 0; i < providers->size(); ++i)
      if (TzkProvider* p = (*providers)[i]) delete p;
    providers.reset();
  }
}

bool SkinHookInstalled() { return hook != nullptr; }

std::vector<HWND> HookedWindows() {
  std::vector<HWND> windows;
  if (!providers) return windows;
  for (TzkProvider* p : *providers) {
    if (!p) continue;
    if (p->DialogWnd) {
      windows.push_back(p->DialogWnd);
    } else if (auto* form = dynamic_cast<TCustomForm*>(p->Owner()); form && form->HandleAllocated()) {
      windows.push_back(form->WindowHandle());
    }
  }
  return windows;
}
