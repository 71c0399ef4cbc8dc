#include "skin/windows/zkDials.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "skin/data/sSkinView.h"
#include "skin/data/zkSkinText.h"
#include "skin/paint/sControlUtils.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkBtnWnd.h"
#include "skin/windows/zkCheckBoxWnd.h"
#include "skin/windows/zkComboBoxWnd.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkDialogWnd.h"
#include "skin/windows/zkDlgPanelWnd.h"
#include "skin/windows/zkEditWnd.h"
#include "skin/windows/zkGroupBoxWnd.h"
#include "skin/windows/zkLinkWnd.h"
#include "skin/windows/zkMnuWnd.h"
#include "skin/windows/zkSizerWnd.h"
#include "skin/windows/zkSpinWnd.h"
#include "skin/windows/zkStaticWnd.h"
#include "skin/windows/zkTabControlWnd.h"
#include "skin/windows/zkToolBarWnd.h"
#include "skin/windows/zkTransPanelWnd.h"
#include "skin/windows/zkTreeViewWnd.h"
#include "toolkit/Application.h"
#include "toolkit/FlagScope.h"
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

bool AnyServedDialogVisible() {
  if (!providers) return false;
  for (TzkProvider* p : *providers)
    if (p && p->DialogWnd && IsWindowVisible(p->DialogWnd)) return true;
  return false;
}

std::string LowerCase(std::string s) {
  for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
  return s;
}

// Some window below wnd, at any depth, is a tool bar (the file dialogs have one).
bool HasToolBarDescendant(HWND wnd) {
  for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SameText(ClassNameOf(child), "ToolbarWindow32") || HasToolBarDescendant(child)) return true;
  }
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

bool Has(LONG_PTR style, LONG_PTR mask) { return (style & mask) == mask; }

using TzkAdapterMaker = std::unique_ptr<TzkMainWnd> (*)(HWND, const std::string&, TsSkinView*);

// Every adapter made for a dialog child serves it as such (DlgMode).
template <class TAdapter>
std::unique_ptr<TzkMainWnd> MakeAdapter(HWND wnd, const std::string& section, TsSkinView* manager) {
  return TzkMainWnd::Attach<TAdapter>(wnd, true, section, manager);
}

// What a child of a standard dialog gets, by its lower-case class name and style: the maker
// of its adapter (none: no adapter) and the adapter's section.
struct TzkChildChoice {
  TzkAdapterMaker Make = nullptr;
  const char* Section = "";
  bool HandBackClientPaint = false;  // the dialog keeps painting its own client area
};

TzkChildChoice ChooseChildAdapter(const std::string& cls, LONG_PTR s, bool visible) {
  using C = TzkChildChoice;
  if (cls == "static") {
    if (Has(s, 3) || Has(s, 0xE)) return {&MakeAdapter<TzkIconWnd>, "CHECKBOX"};
    const LONG_PTR kind = s & 0x1F;
    if (Has(s, 0xD) || kind == 5 || kind == 6 || kind == 11) return {};
    return {&MakeAdapter<TzkStaticWnd>, "CHECKBOX"};
  }
  if (cls == "#32770") return {&MakeAdapter<TzkTransPanelWnd>, "CHECKBOX"};
  if (cls == "tpanel" || cls == "tsilentpaintpanel") return {&MakeAdapter<TzkDlgPanelWnd>, "PANEL"};
  if (cls == "button") {
    if (Has(s, 7)) return {&MakeAdapter<TzkGroupBoxWnd>, "GROUPBOX"};
    if (Has(s, 3) || Has(s, 2) || Has(s, 5) || Has(s, 9) || Has(s, 4))
      return {&MakeAdapter<TzkCheckBoxWnd>, "CHECKBOX"};
    return {&MakeAdapter<TzkBtnWnd>, "BUTTON"};
  }
  if (cls == "combobox" || cls == "comboboxex32") return {&MakeAdapter<TzkComboBoxWnd>, "COMBOBOX", true};
  if (cls == "combolbox") return {&MakeAdapter<TzkEditWnd>, "COMBOBOX", true};
  if (cls == "scrollbar") return {&MakeAdapter<TzkSizerWnd>, "CHECKBOX"};
  if (cls == "systabcontrol32") return Has(s, 0x2000) ? C{} : C{&MakeAdapter<TzkTabControlWnd>, "PAGECONTROL"};
  if (cls == "syslistview32") return {&MakeAdapter<TzkListViewWnd>, "EDIT"};
  if (cls == "msctls_updown32") return {&MakeAdapter<TzkSpinWnd>, "SPEEDBUTTON_SMALL"};
  if (cls == "listbox") return {&MakeAdapter<TzkEditWnd>, "EDIT"};
  if (cls == "link window" || cls == "syslink") return {&MakeAdapter<TzkLinkWnd>, "CHECKBOX"};
  if (cls == "toolbarwindow32") return {&MakeAdapter<TzkToolBarWnd>, Has(s, 0x200) ? "BAR" : "CHECKBOX"};
  if (cls == "edit") return visible ? C{&MakeAdapter<TzkEditWnd>, "EDIT", true} : C{nullptr, "", true};
  if (cls == "systreeview32") return {&MakeAdapter<TzkTreeViewWnd>, "EDIT"};
  if (cls.find("shbrowseforfolder") != std::string::npos) return {&MakeAdapter<TzkTransPanelWnd>, "CHECKBOX"};
  return {};
}

// One child of a standard dialog gets the adapter its class asks for.
bool AttachChildAdapter(HWND child, TzkProvider& record) {
  if (!child) return false;
  if (IsSkinnedWindow(child)) return true;
  TzkDialogWnd* dialog = record.DialogAdapter.get();
  TsSkinView* manager = dialog ? dialog->Skin().Manager : DefaultManager();
  TFlagScope creating(TzkMainWnd::CreatingDialogAdapters);
  // The child's own visible style: a dialog is often activated before it shows, when no
  // child of it counts as visible yet.
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  const TzkChildChoice choice = ChooseChildAdapter(LowerCase(ClassNameOf(child)), style,
                                                   (style & WS_VISIBLE) != 0);
  if (choice.HandBackClientPaint && dialog) dialog->HandBackClientPaint();
  if (choice.Make)
    if (std::unique_ptr<TzkMainWnd> adapter = choice.Make(child, choice.Section, manager))
      record.ChildAdapters.push_back(std::move(adapter));
  return true;
}

// Gives the dialog its adapter and every child its own, then announces the skin to it; false
// (the record is dropped) when the children could not be walked.
bool AttachDialogProvider(TzkProvider& record, HWND wnd) {
  record.DialogWnd = wnd;
  TsSkinView* manager = DefaultManager();
  if (record.DialogAdapter || !manager || !manager->Active()) return true;
  const std::string cls = ClassNameOf(wnd);
  if (cls == "#32770" || cls == "TMessageForm") {
    record.DialogAdapter = TzkMainWnd::Attach<TzkDialogWnd>(wnd, false, "DIALOG", manager);
    record.DialogAdapter->OnAdoptChildren = [&record] { AttachChildren(record.DialogWnd, record); };
    const TPoint at = RequestedDialogPosition();
    if (at.X != -1 || at.Y != -1)
      SetWindowPos(wnd, nullptr, at.X, at.Y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
  }
  if (!AttachChildren(wnd, record)) return false;
  if (record.DialogAdapter) {
    record.DialogAdapter->Initialize();
    SendCommandToWindow(wnd, zcSkinNew, reinterpret_cast<LPARAM>(manager));
  }
  return true;
}

void AttachDialog(HWND wnd, TsSkinView* manager) {
  if (!(manager->SkinningRules() & srStdDialogs)) return;
  // While a skinned dialog shows, a second one is skinned only when it holds a tool bar
  // somewhere (the file dialogs); simpler ones opened from it keep the platform's look.
  if (AnyServedDialogVisible() && !HasToolBarDescendant(wnd)) return;
  auto* record = new TzkProvider(nullptr);
  providers->push_back(record);
  if (!AttachDialogProvider(*record, wnd)) delete record;  // its destructor empties its entry
}

}  // namespace

// [SECTION] Records

TzkProvider::TzkProvider(TComponent* owner) : TComponent(owner) {}

TzkProvider::~TzkProvider() {
  // The children give their windows back first, then the dialog.
  for (auto it = ChildAdapters.rbegin(); it != ChildAdapters.rend(); ++it) TzkMainWnd::Dispose(*it);
  ChildAdapters.clear();
  if (DialogAdapter) TzkMainWnd::Dispose(DialogAdapter);
  if (!providers) return;
  auto it = std::find(providers->begin(), providers->end(), this);
  if (it != providers->end()) *it = nullptr;
}

bool TzkProvider::Released() const { return DialogAdapter && DialogAdapter->GivenBack(); }

TPoint& RequestedDialogPosition() {
  static TPoint position{-1, -1};
  return position;
}

bool AttachChildren(HWND wnd, TzkProvider& record) {
  if (!wnd) return false;
  for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!AttachChildren(child, record)) return false;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !AttachChildAdapter(child, record)) return false;
  }
  return true;
}

std::vector<TzkProvider*>* ProviderList() { return providers.get(); }

// [SECTION] The hook's branches

void ClassifyWindow(HWND wnd) {
  if (!wnd || !providers) return;
  TsSkinView* manager = DefaultManager();
  if (!manager || IsSkinnedWindow(wnd) || ServedAsDialog(wnd)) return;
  TCustomForm* form = FormOfWindow(wnd);
  if (!form) {
    if (ClassNameOf(wnd) == "#32770") AttachDialog(wnd, manager);
    return;
  }
  if (form->Tag() == kNeverSkinnedTag || form->IsDestroying()) return;
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
  // The window being destroyed still exists here: a record goes when its dialog adapter
  // has given the window back, not when the window is gone.
  for (TzkProvider*& p : *providers) {
    if (!p || !p->Released()) continue;
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
