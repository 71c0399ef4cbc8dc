// The toolkit pieces the program and the skin engine lean on: ownership and loading,
// replaceable message methods, notifications, mouse enter/leave of windowless controls,
// the general error handler, menus and GDI handle bookkeeping.
#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/Menu.h"
#include "toolkit/Screen.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Handles.h"
#include "toolkit/Icon.h"

#include <algorithm>

namespace {

std::vector<std::wstring> g_log;

class LoggedComponent : public TComponent {
 public:
  LoggedComponent(TComponent* owner, std::wstring name) : TComponent(owner) { SetName(name); }
  ~LoggedComponent() override { g_log.push_back(L"free " + Name()); }
  TComponent* watched = nullptr;

 protected:
  void Loaded() override {
    TComponent::Loaded();
    g_log.push_back(L"loaded " + Name() + (Owner()->IsLoading() ? L" (owner loading)" : L""));
  }
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove && c == watched) watched = nullptr;
  }
};

class LoggedForm : public TForm {
 public:
  explicit LoggedForm(TComponent* owner) : TForm(owner) {
    first = new LoggedComponent(this, L"a");
    second = new LoggedComponent(first, L"b");
    button = new TButton(this);
    button->SetParent(this);
    label = new TLabel(this);
    label->SetParent(this);
    label->SetBounds(10, 50, 60, 20);
    label->SetAutoSize(false);
    label->SetCaption(L"label");
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(10, 80, 100, 21);
    loadingInConstructor = first->IsLoading() && IsLoading();
    OnCreate = [this](TObject*) { createdAfterLoading = !first->IsLoading() && !IsLoading(); };
    SetClientSize(300, 200);
  }
  const wchar_t* ClassName() const override { return L"TLoggedForm"; }
  LoggedComponent* first;
  LoggedComponent* second;
  TButton* button;
  TLabel* label;
  TEdit* edit;
  bool loadingInConstructor = false;
  bool createdAfterLoading = false;
};

TEST(ToolkitComponents, FormsLoadInTheConstructorAndFreeWhatTheyOwn) {
  g_log.clear();
  auto* form = Application->CreateForm<LoggedForm>();
  EXPECT_TRUE(form->loadingInConstructor);
  EXPECT_TRUE(form->createdAfterLoading);
  // What a component owns is loaded before it, and it counts as loaded meanwhile.
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"loaded b", L"loaded a"}));
  EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), form);
  LoggedComponent watcher(nullptr, L"w");
  watcher.watched = form->second;
  form->second->FreeNotification(&watcher);
  g_log.clear();
  const size_t formsBefore = Screen->CustomForms().size();
  delete form;
  EXPECT_EQ(watcher.watched, nullptr);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"free a", L"free b"}));  // owner first, then owned
  EXPECT_EQ(Screen->CustomForms().size(), formsBefore - 1);
  Pump();
}

TEST(ToolkitControls, AReplacedWindowProcSeesMessagesAndNotificationsFirst) {
  auto* form = Application->CreateForm<LoggedForm>();
  form->Show();
  Pump();
  std::vector<UINT> seen;
  auto previous = form->button->WindowProc;
  form->button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    previous(m);
  };
  EXPECT_EQ(SendMessageW(form->button->Handle(), WM_USER + 7, 0, 0), 42);
  form->button->SetText(L"Go");
  form->button->SetEnabled(false);
  form->button->SetVisible(false);
  const auto has = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };
  EXPECT_TRUE(has(CM_TEXTCHANGED));
  EXPECT_TRUE(has(CM_ENABLEDCHANGED));
  EXPECT_TRUE(has(CM_VISIBLECHANGED));
  EXPECT_TRUE(has(WM_SETTEXT));
  EXPECT_EQ(form->button->Perform(WM_USER + 7), 42);
  wchar_t text[16] = {};
  GetWindowTextW(form->button->Handle(), text, 16);
  EXPECT_STREQ(text, L"Go");
  EXPECT_FALSE(IsWindowEnabled(form->button->Handle()));
  form->button->WindowProc = previous;
  delete form;
  Pump();
}

TEST(ToolkitControls, ControlsHearTheyAreShowingBeforeTheirFormAppears) {
  auto* form = Application->CreateForm<LoggedForm>();
  auto* box = new TGroupBox(form);
  box->SetParent(form);
  auto* inner = new TButton(form);
  inner->SetParent(box);
  auto* hidden = new TButton(form);
  hidden->SetParent(form);
  hidden->SetVisible(false);
  std::vector<std::pair<TControl*, bool>> told;  // control, its form's window visible then
  for (TWinControl* c : {static_cast<TWinControl*>(inner), static_cast<TWinControl*>(form->edit),
                         static_cast<TWinControl*>(hidden)}) {
    auto previous = c->WindowProc;
    c->WindowProc = [&told, previous, c, form](TMessage& m) {
      if (m.Msg == CM_SHOWINGCHANGED && m.WParam)
        told.emplace_back(c, form->HandleAllocated() && IsWindowVisible(form->WindowHandle()));
      previous(m);
    };
  }
  form->Show();
  Pump();
  EXPECT_EQ(told, (std::vector<std::pair<TControl*, bool>>{{form->edit, false}, {inner, false}}));
  delete form;
  Pump();
}

TEST(ToolkitControls, WindowlessControlsGetMouseEnterLeaveAndClicks) {
  auto* form = Application->CreateForm<LoggedForm>();
  form->Show();
  Pump();
  std::vector<std::wstring> events;
  form->label->OnMouseEnter = [&](TObject*) { events.push_back(L"enter"); };
  form->label->OnMouseLeave = [&](TObject*) { events.push_back(L"leave"); };
  form->label->OnClick = [&](TObject*) { events.push_back(L"click"); };
  std::vector<LPARAM> parentEnters;
  auto previous = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER) parentEnters.push_back(m.LParam);
    previous(m);
  };
  HWND wnd = form->Handle();
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(15, 55));
  EXPECT_TRUE(form->label->MouseInControl());
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 55));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(16, 56));
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  EXPECT_FALSE(form->label->MouseInControl());
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter", L"click", L"leave"}));
  // The parent hears of the child's enter with the child named.
  ASSERT_FALSE(parentEnters.empty());
  EXPECT_EQ(parentEnters.front(), reinterpret_cast<LPARAM>(form->label));
  form->WindowProc = previous;
  delete form;
  Pump();
}

TEST(ToolkitControls, FocusMovesSendEnterExitAndFocusChanged) {
  auto* form = Application->CreateForm<LoggedForm>();
  form->Show();
  Pump();
  std::vector<std::wstring> events;
  form->edit->OnEnter = [&](TObject*) { events.push_back(L"edit enter"); };
  form->edit->OnExit = [&](TObject*) { events.push_back(L"edit exit"); };
  TControl* reported = nullptr;
  auto previous = form->button->WindowProc;
  form->button->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_FOCUSCHANGED) reported = reinterpret_cast<TControl*>(m.LParam);
    previous(m);
  };
  form->edit->SetFocus();
  Pump();
  EXPECT_EQ(form->ActiveControl(), form->edit);
  EXPECT_EQ(reported, form->edit);
  form->button->SetFocus();
  Pump();
  EXPECT_EQ(reported, form->button);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"edit enter", L"edit exit"}));
  // Tab goes round the tab order.
  PostMessageW(form->button->Handle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  Pump();
  EXPECT_EQ(GetFocus(), form->edit->WindowHandle());
  form->button->WindowProc = previous;
  delete form;
  Pump();
}

TEST(ToolkitApplication, AnExceptionInAHandlerGoesToTheErrorHandlerAndTheLoopGoesOn) {
  auto* form = Application->CreateForm<LoggedForm>();
  form->Show();
  Pump();
  TErrorCatcher errors;
  int clicks = 0;
  form->button->OnClick = [&](TObject*) {
    ++clicks;
    throw std::runtime_error("boom");
  };
  SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
  PostMessageW(form->button->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(errors.messages, (std::vector<std::string>{"boom", "boom"}));
  delete form;
  Pump();
}

TEST(ToolkitApplication, HooksSeeApplicationWindowMessagesFirst) {
  int seen = 0;
  const int id = Application->HookMainWindow([&](TMessage& m) {
    if (m.Msg != CM_MENUBORDER_ITEM) return false;
    ++seen;
    m.Result = 5;
    return true;
  });
  EXPECT_EQ(SendMessageW(Application->Handle(), CM_MENUBORDER_ITEM, 0, 0), 5);
  Application->UnhookMainWindow(id);
  SendMessageW(Application->Handle(), CM_MENUBORDER_ITEM, 0, 0);
  EXPECT_EQ(seen, 1);
}

TEST(ToolkitApplication, BecomingTheActiveProgramReachesTheHooksAsActivate) {
  int activations = 0;
  const int id = Application->HookMainWindow([&](TMessage& m) {
    activations += m.Msg == CM_ACTIVATE;
    return false;
  });
  SendMessageW(Application->Handle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(activations, 0);
  SendMessageW(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(activations, 1);
  Application->UnhookMainWindow(id);
}

TEST(ToolkitMenus, CommandsReachTheItemAndOwnerDrawGoesThroughItsEvents) {
  TPopupMenu menu(nullptr);
  auto* parent = new TMenuItem(&menu);
  parent->SetCaption(L"Parent");
  menu.Items()->Add(parent);
  auto* child = new TMenuItem(&menu);
  child->SetCaption(L"Child");
  parent->Add(child);
  int clicks = 0;
  child->OnClick = [&](TObject*) { ++clicks; };
  menu.SetOwnerDraw(true);
  HMENU h = menu.Handle();
  ASSERT_EQ(GetMenuItemCount(h), 1);
  ASSERT_NE(parent->Handle(), nullptr);
  EXPECT_EQ(GetMenuItemID(parent->Handle(), 0), child->Command());
  SendMessageW(PopupListWindow(), WM_COMMAND, child->Command(), 0);
  EXPECT_EQ(clicks, 1);

  bool measured = false, drawn = false;
  child->OnMeasureItem = [&](TObject*, TCanvas&, int& w, int& h2) {
    measured = true;
    w = 77;
    h2 = 19;
  };
  child->OnAdvancedDrawItem = [&](TObject*, TCanvas&, const TRect& r, TOwnerDrawState state) {
    drawn = r.Width() == 77 && (state & odSelected);
  };
  MEASUREITEMSTRUCT mis = {ODT_MENU, 0, child->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(child)};
  SendMessageW(PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_TRUE(measured);
  EXPECT_EQ(mis.itemWidth, 77u);
  HDC dc = GetDC(nullptr);
  DRAWITEMSTRUCT dis = {ODT_MENU, 0, child->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr, dc,
                        {0, 0, 77, 19}, reinterpret_cast<ULONG_PTR>(child)};
  SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  ReleaseDC(nullptr, dc);
  EXPECT_TRUE(drawn);
  const UINT command = child->Command();
  delete child;
  EXPECT_EQ(parent->Count(), 0);
  EXPECT_EQ(TMenuItem::FindByCommand(command), nullptr);
}

TEST(ToolkitGraphics, ChangingACanvasFontWhileSelectedReleasesTheOldHandle) {
  {
    TLeakCheck noLeaks(TLeakCheck::kHandlesOnly);
    HDC screen = GetDC(nullptr);
    TCanvas canvas(screen);
    for (int i = 0; i < 20; ++i) {
      canvas.Font().SetHeight(-10 - i);
      canvas.Brush().SetColor(RGBColor(uint8_t(i), 0, 0));
      canvas.Pen().SetWidth(1 + i % 3);
      canvas.TextOut(0, 0, L"x");
      canvas.Rectangle(TRect(0, 0, 4, 4));
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, screen);
  }
  TBitmap bitmap(8, 8);
  bitmap.Canvas().Brush().SetColor(RGBColor(0, 0, 255));
  bitmap.Canvas().FillRect(TRect(0, 0, 8, 8));
  EXPECT_EQ(*bitmap.ScanLine(3) & 0xFFFFFF, 0x0000FFu);  // B-G-R-A bytes: blue
  TIcon blank = TIcon::Blank(16, 16);
  EXPECT_FALSE(blank.Empty());
}

}  // namespace

namespace {

TEST(ToolkitControls, AnAutoSizedLabelTakesTheSizeOfItsText) {
  auto* form = Application->CreateForm<LoggedForm>();
  TLabel* label = form->label;
  label->SetAutoSize(true);
  label->SetCaption(L"Автор программы (Orlund)");
  HDC dc = GetDC(nullptr);
  TCanvas canvas(dc);
  canvas.Font().Assign(label->Font());
  const TSize size = canvas.TextExtent(label->Caption());
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(label->Width(), size.cx);
  EXPECT_EQ(label->Height(), size.cy);
  delete form;
  Pump();
}

}  // namespace

namespace {

TEST(ToolkitControls, AltWithAnAcceleratorClicksTheButtonThroughDialogChar) {
  auto* form = Application->CreateForm<LoggedForm>();
  form->button->SetCaption(L"&Save");
  form->Show();
  Pump();
  int clicks = 0;
  form->button->OnClick = [&](TObject*) { ++clicks; };
  form->edit->SetFocus();
  Pump();
  PostMessageW(form->edit->Handle(), WM_SYSCHAR, L's', 0x20000001);
  PostMessageW(form->edit->Handle(), WM_SYSCHAR, L'x', 0x20000001);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(IsAccelerator(L'S', L"&save"));
  EXPECT_FALSE(IsAccelerator(L'a', L"R&&amp"));
  delete form;
  Pump();
}

}  // namespace

namespace {

// A damaged icon file names what is wrong with it, never the platform's "success" text,
// and a missing one says it is missing.
TEST(ToolkitGraphics, AnUnreadableIconFileSaysWhy) {
  TScratchFolder folder;
  const std::wstring damaged = folder.Path() + L"damaged.ico";
  WriteBytes(damaged, std::string("\0\0\1\0\1\0\20\20\0\0\1\0\40\0\377\377\0\0\26\0\0\0", 22));
  auto messageOf = [](const std::wstring& path) {
    try {
      TIcon icon;
      icon.LoadFromFile(path, 16, 16);
    } catch (const EPictureError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const std::string text = messageOf(damaged);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find("uccess"), std::string::npos) << text;
  EXPECT_NE(text.find("damaged.ico"), std::string::npos) << text;
  EXPECT_NE(messageOf(folder.Path() + L"absent.ico").find("not found"), std::string::npos);
}

}  // namespace
