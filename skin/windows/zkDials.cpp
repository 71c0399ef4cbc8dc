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

// What a child of a standard dialog gets, by its lower-case class name and style.
struct TzkChildChoice {
  enum TKind {
    ckNone, ckIcon, ckStatic, ckTransPanel, ckDlgPanel, ckGroupBox, ckCheckBox, ckButton,
    ckComboBox, ckComboList, ckSizer, ckTabControl, ckListView, ckSpin, ckListBox, ckLink,
    ckToolBar, ckEdit, ckTreeView
  } Kind = ckNone;
  const char* Section = "";
  bool HandBackClientPaint = false;  // the dialog keeps painting its own client area
};

TzkChildChoice ChooseChildAdapter(const std::string& cls, LONG_PTR s, bool visible) {
  using C = TzkChildChoice;
  if (cls == "static") {
    if (Has(s, 3) || Has(s, 0xE)) return {C::ckIcon, "CHECKBOX"};
    const LONG_PTR kind = s & 0x1F;
    if (Has(s, 0xD) || kind == 5 || kind == 6 || kind == 11) return {};
    return {C::ckStatic, "CHECKBOX"};
  }
  if (cls == "#32770") return {C::ckTransPanel, "CHECKBOX"};
  if (cls == "tpanel" || cls == "tsilentpaintpanel") return {C::ckDlgPanel, "PANEL"};
  if (cls == "button") {
    if (Has(s, 7)) return {C::ckGroupBox, "GROUPBOX"};
    if (Has(s, 3) || Has(s, 2) || Has(s, 5) || Has(s, 9) || Has(s, 4)) return {C::ckCheckBox, "CHECKBOX"};
    return {C::ckButton, "BUTTON"};
  }
  if (cls == "combobox" || cls == "comboboxex32") return {C::ckComboBox, "COMBOBOX", true};
  if (cls == "combolbox") return {C::ckComboList, "COMBOBOX", true};
  if (cls == "scrollbar") return {C::ckSizer, "CHECKBOX"};
  if (cls == "systabcontrol32") return Has(s, 0x2000) ? C{} : C{C::ckTabControl, "PAGECONTROL"};
  if (cls == "syslistview32") return {C::ckListView, "EDIT"};
  if (cls == "msctls_updown32") return {C::ckSpin, "SPEEDBUTTON_SMALL"};
  if (cls == "listbox") return {C::ckListBox, "EDIT"};
  if (cls == "link window" || cls == "syslink") return {C::ckLink, "CHECKBOX"};
  if (cls == "toolbarwindow32") return {C::ckToolBar, Has(s, 0x200) ? "BAR" : "CHECKBOX"};
  if (cls == "edit") return visible ? C{C::ckEdit, "EDIT", true} : C{C::ckNone, "", true};
  if (cls == "systreeview32") return {C::ckTreeView, "EDIT"};
  if (cls.find("shbrowseforfolder") != std::string::npos) return {C::ckTransPanel, "CHECKBOX"};
  return {};
}

std::unique_ptr<TzkMainWnd> MakeChildAdapter(const TzkChildChoice& c, HWND wnd, TsSkinView* manager) {
  using C = TzkChildChoice;
  const std::string section = c.Section;
  switch (c.Kind) {
    case C::ckIcon: return TzkMainWnd::Attach<TzkIconWnd>(wnd, true, section, manager);
    case C::ckStatic: return TzkMainWnd::Attach<TzkStaticWnd>(wnd, true, section, manager);
    case C::ckTransPanel: return TzkMainWnd::Attach<TzkTransPanelWnd>(wnd, true, section, manager);
    case C::ckDlgPanel: return TzkMainWnd::Attach<TzkDlgPanelWnd>(wnd, true, section, manager);
    case C::ckGroupBox: return TzkMainWnd::Attach<TzkGroupBoxWnd>(wnd, true, section, manager);
    case C::ckCheckBox: return TzkMainWnd::Attach<TzkCheckBoxWnd>(wnd, true, section, manager);
    case C::ckButton: return TzkMainWnd::Attach<TzkBtnWnd>(wnd, true, section, manager);
    case C::ckComboBox: return TzkMainWnd::Attach<TzkComboBoxWnd>(wnd, true, section, manager);
    case C::ckComboList:
    case C::ckListBox:
    case C::ckEdit: return TzkMainWnd::Attach<TzkEditWnd>(wnd, true, section, manager);
    case C::ckSizer: return TzkMainWnd::Attach<TzkSizerWnd>(wnd, true, section, manager);
    case C::ckTabControl: return TzkMainWnd::Attach<TzkTabControlWnd>(wnd, true, section, manager);
    case C::ckListView: return TzkMainWnd::Attach<TzkListViewWnd>(wnd, true, section, manager);
    case C::ckSpin: return TzkMainWnd::Attach<TzkSpinWnd>(wnd, true, section, manager);
    case C::ckLink: return TzkMainWnd::Attach<TzkLinkWnd>(wnd, true, section, manager);
    case C::ckToolBar: return TzkMainWnd::Attach<TzkToolBarWnd>(wnd, true, section, manager);
    case C::ckTreeView: return TzkMainWnd::Attach<TzkTreeViewWnd>(wnd, true, section, manager);
    default: return nullptr;
  }
}

// One child of a standard dialog gets the adapter its class asks for. Every adapter made here
// serves a dialog child (DlgMode).
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
  if (std::unique_ptr<TzkMainWnd> adapter = MakeChildAdapter(choice, child, manager))
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
