// The hook's standard-dialog branch through real dialogs: message boxes and dialogs made
// from in-memory templates get a dialog adapter and one adapter per child by its class, the
// rules that admit them, the requested position of the engine's own message box, and every
// adapter letting go of its window when the dialog closes.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/windows/zkBtnWnd.h"
#include "skin/windows/zkDialogWnd.h"
#include "skin/windows/zkDials.h"
#include "skin/windows/zkEditWnd.h"
#include "skin/windows/zkMessageBox.h"
#include "skin/windows/zkStaticWnd.h"
#include "toolkit/Application.h"

namespace {

// The visible standard dialogs of this thread, newest first.
std::vector<HWND> ShownDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM l) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof(name));
        if (std::string(name) == "#32770" && IsWindowVisible(w))
          reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND ShownDialog() {
  const std::vector<HWND> d = ShownDialogs();
  return d.empty() ? nullptr : d.front();
}

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  return name;
}

// Closes whatever dialog shows, as its Cancel (or close box) would.
void CancelShownDialog() {
  if (HWND d = ShownDialog()) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
}

// A dialog template in memory: the dialog, then its items, each DWORD-aligned.
class TDialogTemplate {
 public:
  TDialogTemplate(DWORD style, int w, int h, const wchar_t* caption) {
    DLGTEMPLATE t = {};
    t.style = style | DS_SETFONT;
    t.cx = short(w);
    t.cy = short(h);
    Append(&t, sizeof(t));
    Word(0);  // no menu
    Word(0);  // the standard class
    Text(caption);
    Word(8);
    Text(L"MS Shell Dlg");
  }
  void Item(const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h) {
    Align();
    DLGITEMTEMPLATE i = {};
    i.style = style | WS_CHILD;
    i.x = short(x);
    i.y = short(y);
    i.cx = short(w);
    i.cy = short(h);
    i.id = WORD(id);
    Append(&i, sizeof(i));
    Text(cls);
    Text(text);
    Word(0);  // no creation data
    reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit++;
  }
  const DLGTEMPLATE* Get() {
    Align();
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  void Append(const void* p, size_t n) {
    const auto* b = static_cast<const char*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Word(WORD w) { Append(&w, sizeof(w)); }
  void Text(const wchar_t* s) { Append(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
  void Align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  std::vector<char> bytes_;
};

INT_PTR CALLBACK PlainDialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (GetWindowLongPtrW(wnd, GWL_STYLE) & DS_CONTROL) return TRUE;
    EndDialog(wnd, LOWORD(wParam));
    DestroyWindow(wnd);  // a modeless one goes too
    return TRUE;
  }
  return FALSE;
}

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;

class DialogSkinning : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    ASSERT_TRUE(manager->HookInstalled());
  }
  void TearDown() override {
    while (HWND d = ShownDialog()) DestroyWindow(d);
    Pump();
    SkinnedFormsFixture::TearDown();
  }
  // The record the hook keeps for a dialog window, or null.
  static TzkProvider* RecordOf(HWND dialog) {
    if (!ProviderList()) return nullptr;
    for (TzkProvider* p : *ProviderList())
      if (p && p->DialogWnd == dialog) return p;
    return nullptr;
  }
  static TzkDialogWnd* DialogAdapterOf(HWND dialog) {
    return dynamic_cast<TzkDialogWnd*>(TzkMainWnd::FromWindow(dialog));
  }
  HWND Modeless(TDialogTemplate& t) {
    HWND d = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, &PlainDialogProc, 0);
    if (d) {
      SetActiveWindow(d);
      Pump();
    }
    return d;
  }
};

TEST_F(DialogSkinning, AMessageBoxGetsItsFrameAndAnAdapterPerChild) {
  struct Seen {
    bool dialogAdapter = false, record = false;
    int buttons = 0, texts = 0, icons = 0, others = 0;
  } seen;
  int answer = 0;
  TModalScript::Run([&] { answer = MessageBoxW(nullptr, L"The list could not be saved.", L"Vornik", MB_OKCANCEL | MB_ICONWARNING); },
                    {[&] {
                      HWND box = ShownDialog();
                      seen.dialogAdapter = DialogAdapterOf(box) != nullptr;
                      seen.record = RecordOf(box) != nullptr;
                      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                        TzkMainWnd* a = TzkMainWnd::FromWindow(c);
                        if (dynamic_cast<TzkBtnWnd*>(a)) ++seen.buttons;
                        else if (dynamic_cast<TzkIconWnd*>(a)) ++seen.icons;
                        else if (dynamic_cast<TzkStaticWnd*>(a)) ++seen.texts;
                        else ++seen.others;
                      }
                    }},
                    &CancelShownDialog);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_TRUE(seen.dialogAdapter);
  EXPECT_TRUE(seen.record);
  EXPECT_EQ(seen.buttons, 2);
  EXPECT_EQ(seen.icons, 1);
  EXPECT_EQ(seen.texts, 1);
  EXPECT_EQ(seen.others, 0);
}

TEST_F(DialogSkinning, TheFocusedButtonIsHotAndGoesNormalWhenAnotherTakesTheFocus) {
  int okFocused = -1, okAfter = -1, cancelAfter = -1;
  TModalScript::Run([&] { MessageBoxW(nullptr, L"Go on?", L"Vornik", MB_OKCANCEL); },
                    {[&] {
                       HWND box = ShownDialog();
                       auto* ok = dynamic_cast<TzkBtnWnd*>(TzkMainWnd::FromWindow(GetDlgItem(box, IDOK)));
                       okFocused = ok ? ok->CtlState() : -1;
                       SendMessageW(box, WM_NEXTDLGCTL, WPARAM(GetDlgItem(box, IDCANCEL)), TRUE);
                     },
                     [&] {
                       HWND box = ShownDialog();
                       auto* ok = dynamic_cast<TzkBtnWnd*>(TzkMainWnd::FromWindow(GetDlgItem(box, IDOK)));
                       auto* cancel = dynamic_cast<TzkBtnWnd*>(TzkMainWnd::FromWindow(GetDlgItem(box, IDCANCEL)));
                       okAfter = ok ? ok->CtlState() : -1;
                       cancelAfter = cancel ? cancel->CtlState() : -1;
                     }},
                    &CancelShownDialog);
  EXPECT_EQ(okFocused, 1);
  EXPECT_EQ(okAfter, 0);
  EXPECT_EQ(cancelAfter, 1);
}

TEST_F(DialogSkinning, TheDefaultButtonIsHotWithoutFocusAndEditsHandTheClientPaintBack) {
  TDialogTemplate t(kDialogStyle, 160, 70, L"Name");
  t.Item(L"Edit", L"", WS_VISIBLE | WS_BORDER | WS_TABSTOP, 100, 8, 8, 140, 14);
  t.Item(L"Button", L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 8, 40, 50, 14);
  HWND d = Modeless(t);
  ASSERT_NE(d, nullptr);
  SetFocus(GetDlgItem(d, 100));
  Pump();
  auto* ok = dynamic_cast<TzkBtnWnd*>(TzkMainWnd::FromWindow(GetDlgItem(d, IDOK)));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->CtlState(), 1);
  EXPECT_NE(dynamic_cast<TzkEditWnd*>(TzkMainWnd::FromWindow(GetDlgItem(d, 100))), nullptr);
  ASSERT_NE(DialogAdapterOf(d), nullptr);
  EXPECT_FALSE(DialogAdapterOf(d)->SuppressClientPaint());
  DestroyWindow(d);
}

TEST_F(DialogSkinning, AHiddenEditGetsNoAdapterButStillHandsTheClientPaintBack) {
  TDialogTemplate plain(kDialogStyle, 160, 60, L"Plain");
  plain.Item(L"Button", L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON, IDOK, 8, 30, 50, 14);
  HWND p = Modeless(plain);
  ASSERT_NE(DialogAdapterOf(p), nullptr);
  // Without an edit or combo box the dialog's client shows the cache (on a platform that
  // composes windows the dialog paints itself anyway).
  const bool suppressedWithoutEdit = DialogAdapterOf(p)->SuppressClientPaint();
  DestroyWindow(p);
  Pump();
  TDialogTemplate t(kDialogStyle, 160, 60, L"Hidden");
  t.Item(L"Edit", L"", 0, 100, 8, 8, 140, 14);
  t.Item(L"Button", L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON, IDOK, 8, 30, 50, 14);
  HWND d = Modeless(t);
  ASSERT_NE(DialogAdapterOf(d), nullptr);
  EXPECT_EQ(TzkMainWnd::FromWindow(GetDlgItem(d, 100)), nullptr);
  EXPECT_FALSE(DialogAdapterOf(d)->SuppressClientPaint());
  EXPECT_EQ(suppressedWithoutEdit, true);
  DestroyWindow(d);
}

TEST_F(DialogSkinning, ASecondDialogIsSkinnedOnlyWithAToolBarWhileOneShows) {
  TDialogTemplate first(kDialogStyle, 160, 60, L"First");
  HWND a = Modeless(first);
  ASSERT_NE(DialogAdapterOf(a), nullptr);
  TDialogTemplate plain(kDialogStyle, 160, 60, L"Plain second");
  HWND b = Modeless(plain);
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(IsSkinnedWindow(b));
  TDialogTemplate tools(kDialogStyle, 160, 60, L"With a tool bar");
  tools.Item(L"ToolbarWindow32", L"", WS_VISIBLE, 300, 0, 0, 160, 14);
  HWND c = Modeless(tools);
  ASSERT_NE(c, nullptr);
  EXPECT_NE(DialogAdapterOf(c), nullptr);
  DestroyWindow(c);
  DestroyWindow(b);
  DestroyWindow(a);
}

TEST_F(DialogSkinning, WithoutTheDialogRuleAMessageBoxKeepsThePlatformsLook) {
  manager->SetSkinningRules(srStdForms | srThirdParty);
  bool skinned = true;
  TModalScript::Run([&] { MessageBoxW(nullptr, L"Plain", L"Vornik", MB_OK); },
                    {[&] { skinned = IsSkinnedWindow(ShownDialog()); }}, &CancelShownDialog);
  EXPECT_FALSE(skinned);
}

TEST_F(DialogSkinning, TheEnginesMessageBoxGoesWhereItIsAskedAndSaysItsKind) {
  RECT where = {};
  std::wstring caption;
  int modalSeen = 0;
  Application->OnModalBegin = [&](TObject*) { ++modalSeen; };
  TModalScript::Run([&] { ShowSkinMessage(L"", L"Something to know", mkInformation, 70, 90); },
                    {[&] {
                      HWND box = ShownDialog();
                      GetWindowRect(box, &where);
                      wchar_t text[64] = {};
                      GetWindowTextW(box, text, 64);
                      caption = text;
                    }},
                    &CancelShownDialog);
  Application->OnModalBegin = nullptr;
  EXPECT_EQ(where.left, 70);
  EXPECT_EQ(where.top, 90);
  EXPECT_EQ(caption, L"Information");
  EXPECT_EQ(modalSeen, 1);
  EXPECT_EQ(RequestedDialogPosition().X, -1);
  EXPECT_EQ(Application->ModalLevel(), 0);
}

TEST_F(DialogSkinning, EveryAdapterLetsGoWhenTheDialogClosesOrTheSkinGoes) {
  const int before = TzkMainWnd::EntriesInUse();
  TModalScript::Run([&] { MessageBoxW(nullptr, L"One", L"Vornik", MB_YESNOCANCEL | MB_ICONQUESTION); }, {},
                    &CancelShownDialog);
  Pump();
  // A later window's destruction sweeps the record of the closed box.
  DestroyWindow(CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), before);
  for (TzkProvider* p : *ProviderList()) EXPECT_TRUE(!p || !p->DialogWnd);

  // Removing the skin while a dialog shows gives every window its own procedure back.
  TDialogTemplate t(kDialogStyle, 160, 70, L"Open");
  t.Item(L"Edit", L"", WS_VISIBLE | WS_BORDER, 100, 8, 8, 140, 14);
  t.Item(L"Button", L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON, IDOK, 8, 40, 50, 14);
  HWND d = Modeless(t);
  ASSERT_NE(DialogAdapterOf(d), nullptr);
  std::vector<std::pair<HWND, LONG_PTR>> classProcs;
  for (HWND w : {d, GetDlgItem(d, 100), GetDlgItem(d, IDOK)})
    classProcs.emplace_back(w, GetClassLongPtrW(w, GCLP_WNDPROC));
  manager->SetActive(false);
  Pump();
  for (const auto& [w, proc] : classProcs) {
    EXPECT_EQ(TzkMainWnd::FromWindow(w), nullptr) << ClassOf(w);
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), proc) << ClassOf(w);
  }
  DestroyWindow(d);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), before);
}

// A box that was open while the skin changed looks exactly like one opened on the new skin.
TEST_F(DialogSkinning, ABoxOpenWhileTheSkinChangesLooksLikeOneOpenedOnTheNewSkin) {
  manager->InternalSkins().push_back(NightStoredSkin());
  auto box = [] { MessageBoxW(nullptr, L"The list could not be saved.", L"Vornik", MB_OKCANCEL | MB_ICONWARNING); };
  auto shot = [](TzkBitmap& into) {
    HWND b = ShownDialog();
    // Both boxes drawn active, whichever window the platform had in front when they opened.
    SetForegroundWindow(b);
    SendMessageW(b, WM_NCACTIVATE, TRUE, 0);
    SetWindowPos(b, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(b, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    LetPaintReachScreen();
    into = WindowOnScreen(b);
  };
  TzkBitmap switched, fresh;
  TModalScript::Run(box, {[&] { manager->SetSkinName(kNightSkinName); }, [&] { shot(switched); }},
                    &CancelShownDialog, 80);
  ASSERT_EQ(manager->SkinName(), kNightSkinName);
  TModalScript::Run(box, {[] {}, [&] { shot(fresh); }}, &CancelShownDialog, 80);
  ASSERT_FALSE(fresh.Empty());
  EXPECT_EQ(DifferentPixels(switched, fresh), 0);
}

// The platform's save dialog has a tool bar: it is skinned even while another skinned
// dialog shows.
TEST_F(DialogSkinning, TheSaveDialogIsSkinnedEvenWhileAnotherDialogShows) {
  TDialogTemplate first(kDialogStyle, 160, 60, L"First");
  HWND a = Modeless(first);
  ASSERT_NE(DialogAdapterOf(a), nullptr);
  wchar_t path[MAX_PATH] = L"tasks.csv";
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = a;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  bool skinned = false;
  TModalScript::Run([&] { GetSaveFileNameW(&ofn); },
                    {[&] {
                      for (HWND d : ShownDialogs())
                        if (d != a) skinned = DialogAdapterOf(d) != nullptr;
                    }},
                    [&] {
                      for (HWND d : ShownDialogs())
                        if (d != a) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                    });
  EXPECT_TRUE(skinned);
  DestroyWindow(a);
}

TEST_F(DialogSkinning, ManyMessageBoxesLeaveNoObjects) {
  auto one = [] { TModalScript::Run([] { MessageBoxW(nullptr, L"Again", L"Vornik", MB_OK | MB_ICONERROR); }, {}, &CancelShownDialog, 10); };
  one();
  Pump();
  {
    TLeakCheck leaks(8);
    for (int i = 0; i < 200; ++i) one();
    Pump();
  }
  EXPECT_EQ(ShownDialog(), nullptr);
}

}  // namespace
