// How toolkit controls get and run their windows: classes registered under the toolkit's
// names with our procedure from the first message, the system procedure reached by every
// message outside the toolkit's own range, unique control IDs, creation nested inside
// creation, and printing into a bitmap.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"

namespace {

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

bool Has(const std::vector<UINT>& seen, UINT msg) {
  return std::find(seen.begin(), seen.end(), msg) != seen.end();
}

// Logs what a control's message method sees, from before its window exists.
void LogMessages(TControl* c, std::vector<UINT>& seen) {
  auto previous = c->WindowProc;
  c->WindowProc = [previous, &seen](TMessage& m) {
    seen.push_back(m.Msg);
    previous(m);
  };
}

TEST(ToolkitWindows, ControlsGetToolkitClassesAndSeeTheirFirstMessages) {
  auto* form = Application->CreateForm<TForm>();
  form->Handle();
  std::vector<TWinControl*> controls = {new TButton(form), new TEdit(form), new TListView(form),
                                        new TGroupBox(form)};
  const std::vector<std::wstring> names = {L"TButton", L"TEdit", L"TListView", L"TGroupBox"};
  // The logs live as long as the controls: they keep logging until the form is freed.
  std::vector<std::vector<UINT>> logs(controls.size());
  for (size_t i = 0; i < controls.size(); ++i) {
    std::vector<UINT>& seen = logs[i];
    LogMessages(controls[i], seen);
    controls[i]->SetParent(form);
    ASSERT_TRUE(controls[i]->HandleAllocated());
    EXPECT_EQ(ClassOf(controls[i]->WindowHandle()), names[i]);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), UINT(WM_NCCREATE)) << i;
    EXPECT_TRUE(Has(seen, WM_NCCALCSIZE)) << i;
    EXPECT_TRUE(Has(seen, WM_CREATE)) << i;
  }
  // The superclasses still behave as the platform's controls.
  SetWindowTextW(controls[1]->Handle(), L"typed");
  EXPECT_EQ(controls[1]->Text(), L"typed");
  EXPECT_EQ(SendMessageW(controls[0]->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  delete form;
  Pump();
}

// A control of its own class whose unhandled messages go to a recording procedure.
std::vector<UINT> g_systemSaw;
LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_systemSaw.push_back(msg);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

class TRecordedControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const wchar_t* ClassName() const override { return L"TRecordedControl"; }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.SystemClass = L"VornikRecordingClass";
  }
};

TEST(ToolkitWindows, OnlyToolkitNotificationsAreKeptFromTheSystemProcedure) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VornikRecordingClass";
  wc.style = CS_GLOBALCLASS;
  RegisterClassExW(&wc);
  auto* form = Application->CreateForm<TForm>();
  auto* control = new TRecordedControl(form);
  control->SetParent(form);
  const UINT registered = RegisterWindowMessageW(L"VornikToolkitTestMessage");
  control->HandleNeeded();
  g_systemSaw.clear();
  SendMessageW(control->Handle(), registered, 0, 0);
  SendMessageW(control->Handle(), CM_DIALOGKEY, 0, 0);
  SendMessageW(control->Handle(), CN_COMMAND, 0, 0);
  SendMessageW(control->Handle(), WM_USER + 1, 0, 0);
  EXPECT_EQ(g_systemSaw, (std::vector<UINT>{registered, WM_USER + 1}));
  delete form;
  Pump();
}

TEST(ToolkitWindows, EveryChildHasItsOwnIdAndReflectionFindsIt) {
  auto* form = Application->CreateForm<TForm>();
  std::vector<TButton*> buttons;
  std::vector<std::vector<UINT>> seen(3);
  for (int i = 0; i < 3; ++i) {
    buttons.push_back(new TButton(form));
    buttons.back()->SetParent(form);
    LogMessages(buttons.back(), seen[size_t(i)]);
  }
  form->Handle();
  std::vector<int> ids;
  for (TButton* b : buttons) {
    const int id = GetDlgCtrlID(b->Handle());
    EXPECT_NE(id, 0);
    EXPECT_EQ(GetDlgItem(form->Handle(), id), b->Handle());
    ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
  MEASUREITEMSTRUCT mis = {ODT_BUTTON, UINT(GetDlgCtrlID(buttons[1]->Handle())), 0, 0, 0, 0};
  SendMessageW(form->Handle(), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  EXPECT_FALSE(Has(seen[0], CN_MEASUREITEM));
  EXPECT_TRUE(Has(seen[1], CN_MEASUREITEM));
  EXPECT_FALSE(Has(seen[2], CN_MEASUREITEM));
  delete form;
  Pump();
}

// Notifications anybody may send without their record name no child and are left to the
// default handling.
TEST(ToolkitWindows, NotificationsWithoutTheirRecordAreNotReadThroughNull) {
  auto* form = Application->CreateForm<TForm>();
  auto* button = new TButton(form);
  button->SetParent(form);
  HWND wnd = form->Handle();
  EXPECT_EQ(SendMessageW(wnd, WM_NOTIFY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(wnd, WM_DRAWITEM, 0, 0), 0);
  EXPECT_EQ(SendMessageW(wnd, WM_MEASUREITEM, 0, 0), 0);
  EXPECT_TRUE(IsWindow(button->Handle()));
  delete form;
  Pump();
}

// While the outer control's window is being made (before its first message), a creation
// hook makes another toolkit window.
TWinControl* g_inner = nullptr;
HHOOK g_hook = nullptr;
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_inner) {
    auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    if (!IS_INTRESOURCE(cbt->lpcs->lpszClass) && ClassOf(HWND(wParam)) == L"TGroupBox") {
      TWinControl* inner = std::exchange(g_inner, nullptr);
      inner->HandleNeeded();
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class TCreatingControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  const wchar_t* ClassName() const override { return L"TCreatingControl"; }
  TWinControl* Other = nullptr;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CREATE && Other) Other->HandleNeeded();
    TCustomControl::WndProc(m);
  }
};

TEST(ToolkitWindows, AWindowMadeWhileAnotherIsBeingMadeFindsItsOwnControl) {
  auto* form = Application->CreateForm<TForm>();
  auto* second = Application->CreateForm<TForm>();
  form->Handle();
  auto* outer = new TGroupBox(form);
  g_inner = second;
  g_hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
  outer->SetParent(form);
  UnhookWindowsHookEx(g_hook);
  EXPECT_EQ(g_inner, nullptr) << "the hook ran";
  ASSERT_TRUE(outer->HandleAllocated());
  ASSERT_TRUE(second->HandleAllocated());
  EXPECT_EQ(TWinControl::FindControl(outer->WindowHandle()), outer);
  EXPECT_EQ(TWinControl::FindControl(second->WindowHandle()), second);
  EXPECT_NE(outer->WindowHandle(), second->WindowHandle());

  auto* third = Application->CreateForm<TForm>();
  auto* creating = new TCreatingControl(form);
  creating->Other = third;
  creating->SetParent(form);
  EXPECT_EQ(TWinControl::FindControl(creating->WindowHandle()), creating);
  EXPECT_EQ(TWinControl::FindControl(third->WindowHandle()), third);
  delete third;
  delete second;
  delete form;
  Pump();
}

// Controls are found by their windows only while the two belong together: not after the
// control let its window go, nor after the window was destroyed under it, nor on a window
// made later under the same handle.
TEST(ToolkitWindows, AControlIsFoundByItsWindowOnlyWhileItHasIt) {
  auto* form = Application->CreateForm<TForm>();
  form->Handle();
  auto* kept = new TButton(form);
  kept->SetParent(form);
  const HWND keptWnd = kept->WindowHandle();
  auto* freed = new TEdit(form);
  freed->SetParent(form);
  const HWND freedWnd = freed->WindowHandle();
  ASSERT_EQ(TWinControl::FindControl(keptWnd), kept);
  delete freed;
  EXPECT_EQ(TWinControl::FindControl(freedWnd), nullptr);
  DestroyWindow(keptWnd);
  EXPECT_FALSE(kept->HandleAllocated());
  EXPECT_EQ(TWinControl::FindControl(keptWnd), nullptr);
  for (int i = 0; i < 50; ++i) {
    const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, form->Handle(), nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(TWinControl::FindControl(plain), nullptr);
    DestroyWindow(plain);
  }
  EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
  delete form;
  Pump();
}

// A form with one of each kind of control, shown.
class TPrintedForm : public TForm {
 public:
  explicit TPrintedForm(TComponent* owner) : TForm(owner) {
    SetClientSize(360, 240);
    auto* group = new TGroupBox(this);
    group->SetParent(this);
    group->SetBounds(8, 8, 160, 90);
    group->SetCaption(L"Group");
    label = new TLabel(this);
    label->SetParent(group);
    label->SetBounds(10, 30, 120, 16);
    label->SetAutoSize(false);
    label->SetCaption(L"Label inside");
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(180, 10, 150, 21);
    edit->SetText(L"Some text");
    button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(180, 40, 90, 25);
    button->SetCaption(L"Press");
    list = new TListView(this);
    list->SetParent(this);
    list->SetBounds(8, 110, 330, 110);
  }
  const wchar_t* ClassName() const override { return L"TPrintedForm"; }
  TLabel* label;
  TEdit* edit;
  TButton* button;
  TListView* list;
};

struct TImage {
  TImage(int w, int h) : bitmap(w, h) {}
  TBitmap bitmap;
  uint32_t At(int x, int y) const { return bitmap.ScanLine(y)[x] & 0xFFFFFF; }
};

TEST(ToolkitWindows, APrintedFormEqualsItsPictureOnScreen) {
  auto* form = Application->CreateForm<TPrintedForm>();
  form->list->AddColumn(L"Task", 200);
  form->list->AddItem()->SetCaption(L"first row");
  form->Show();
  form->button->SetFocus();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  const TRect client = form->ClientRect();
  POINT origin = {0, 0};
  ClientToScreen(form->Handle(), &origin);
  // Printing works in window coordinates: the client area lies where the frame leaves it.
  RECT window;
  GetWindowRect(form->Handle(), &window);
  const POINT at = {origin.x - window.left, origin.y - window.top};
  TImage printed(window.right - window.left, window.bottom - window.top);
  HDC target = printed.bitmap.Canvas().Handle();
  SendMessageW(form->Handle(), WM_PRINT, WPARAM(target), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  // The client alone has the form's background where the button is.
  EXPECT_EQ(printed.At(at.x + 220, at.y + 50), printed.At(at.x + 350, at.y + 230));
  SendMessageW(form->Handle(), WM_PRINT, WPARAM(target), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  GdiFlush();
  // The newly shown form reaches the screen when the platform has put it there.
  TImage screen(client.Width(), client.Height());
  const auto differentOnScreen = [&] {
    HDC dc = GetDC(nullptr);
    BitBlt(screen.bitmap.Canvas().Handle(), 0, 0, client.Width(), client.Height(), dc, origin.x,
           origin.y, SRCCOPY);
    ReleaseDC(nullptr, dc);
    GdiFlush();
    int different = 0;
    for (int y = 0; y < client.Height(); ++y)
      for (int x = 0; x < client.Width(); ++x)
        different += screen.At(x, y) != printed.At(at.x + x, at.y + y);
    return different;
  };
  WaitUntil([&] { return differentOnScreen() == 0; });
  EXPECT_EQ(differentOnScreen(), 0);

  // One control printed on its own equals its part of the screen.
  const TRect b = form->button->BoundsRect();
  TImage alone(b.Width(), b.Height());
  form->button->PaintTo(alone.bitmap.Canvas().Handle(), 0, 0);
  GdiFlush();
  int differentAlone = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      differentAlone += alone.At(x, y) != screen.At(b.Left + x, b.Top + y);
  EXPECT_EQ(differentAlone, 0);
  delete form;
  Pump();
}

}  // namespace
