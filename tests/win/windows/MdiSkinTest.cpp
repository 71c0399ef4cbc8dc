// MDI frames and children under the skin: providers for the frame and every child through
// the hook, the client window's "MDIAREA" background, a maximized child's icon and buttons in
// the frame's menu line (hit-tested, pressed and clicked with real messages), restoring, the
// windows' own procedures given back, and the objects left after many frames.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkPngWriter.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkDials.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Handles.h"
#include "toolkit/Menu.h"

namespace {

class TMdiFrame : public TForm {
 public:
  explicit TMdiFrame(TComponent* owner) : TForm(owner) {
    SetFormStyle(TFormStyle::fsMDIForm);
    SetCaption(L"Frame");
  }
  const wchar_t* ClassName() const override { return L"TMdiFrame"; }
};

// An MDI child that notes the system commands it receives (and acts on them) and whether it
// was freed.
class TMdiChild : public TForm {
 public:
  TMdiChild(TComponent* owner, const wchar_t* caption, bool* freed = nullptr) : TForm(owner), freed_(freed) {
    SetFormStyle(TFormStyle::fsMDIChild);
    SetCaption(caption);
  }
  ~TMdiChild() override {
    if (freed_) *freed_ = true;
  }
  const wchar_t* ClassName() const override { return L"TMdiChild"; }
  std::vector<WPARAM> commands;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SYSCOMMAND) commands.push_back(m.WParam & 0xFFF0);
    TForm::WndProc(m);
  }

 private:
  bool* freed_;
};

// A window's own procedure (what the class gives it, for our forms the toolkit's).
WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }

class MdiSkin : public ::testing::Test {
 public:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    ASSERT_TRUE(manager->HookInstalled());
  }
  void TearDown() override {
    for (auto it = children.rbegin(); it != children.rend(); ++it) delete *it;
    children.clear();
    delete frame;
    frame = nullptr;
    ReleaseManager(manager);
  }

  // A frame (hidden until shown) at a fixed place.
  TMdiFrame* MakeFrame(TMainMenu* menu = nullptr) {
    frame = Application->CreateForm<TMdiFrame>();
    frame->SetBounds(40, 40, 640, 460);
    if (menu) frame->SetMenu(menu);
    frame->HandleNeeded();
    return frame;
  }
  TMdiChild* AddChild(const wchar_t* caption, TRect r, bool* freed = nullptr) {
    auto* c = Application->CreateForm<TMdiChild>(caption, freed);
    if (!freed) children.push_back(c);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    c->Show();
    Pump();
    return c;
  }
  void ShowFrame() { ShowAndActivate(frame); }
  // A frame with two restored children, skinned through the hook.
  void ShowFrameWithTwoChildren() {
    MakeFrame();
    one = AddChild(L"One", TRect(10, 10, 290, 190));
    two = AddChild(L"Two", TRect(140, 90, 420, 270));
    ShowFrame();
  }
  static LPARAM ScreenPoint(HWND wnd, TPoint p) {
    RECT r;
    GetWindowRect(wnd, &r);
    return MAKELPARAM(r.left + p.X, r.top + p.Y);
  }
  static LRESULT HitTest(HWND wnd, TPoint p) { return SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, p)); }
  static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  static TzkBitmap ClientOnScreen(HWND wnd) {
    RECT c;
    GetClientRect(wnd, &c);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
    return ScreenPixels(TRect(c.left, c.top, c.right, c.bottom));
  }
  // The "MDIAREA" section composed directly by the paint engine at a size.
  TzkBitmap ComposedArea(int width, int height) {
    const TsSkinTables& t = manager->Tables();
    const int index = t.IndexOfSection("MDIAREA");
    TzkBitmap out = NewBitmap24(width, height);
    TsBackgroundInfo bg;
    bg.Color = t.Sections[size_t(index)].Color;
    PaintSectionByIndex(index, "MDIAREA", bg, -1, -1, &t, &out, TPoint{0, 0}, TRect(0, 0, width, height), 0, true);
    return out;
  }
  // A rectangle of a 24-bit image.
  static TzkBitmap CacheRect(const TzkBitmap& from, const TRect& r) {
    TzkBitmap b = NewBitmap24(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(from.ScanLine(r.Top + y) + r.Left * 3, r.Width() * 3, b.ScanLine(y));
    return b;
  }

  std::unique_ptr<TsSkinManager> manager;
  TMdiFrame* frame = nullptr;
  TMdiChild* one = nullptr;
  TMdiChild* two = nullptr;
  std::vector<TMdiChild*> children;
};

TEST_F(MdiSkin, TheFrameListsItsChildrenAndArrangesThem) {
  ShowFrameWithTwoChildren();
  ASSERT_NE(frame->ClientHandle(), nullptr);
  EXPECT_EQ(GetParent(one->WindowHandle()), frame->ClientHandle());
  ASSERT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->MDIChildren(0), one);
  EXPECT_EQ(frame->MDIChildren(1), two);
  EXPECT_EQ(frame->ActiveMDIChild(), two);
  EXPECT_EQ(TCustomForm::MDIFrameForm(), frame);
  frame->Cascade();
  RECT a, b;
  GetWindowRect(one->WindowHandle(), &a);
  GetWindowRect(two->WindowHandle(), &b);
  EXPECT_NE(a.left, b.left) << "cascaded children are set off from each other";
  frame->Tile();
  GetWindowRect(one->WindowHandle(), &a);
  GetWindowRect(two->WindowHandle(), &b);
  RECT overlap;
  EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << "tiled children do not overlap";
  // Closing a child frees it and takes it off the list; so does Ctrl+F4 on the active one.
  bool freed = false;
  TMdiChild* three = AddChild(L"Three", TRect(30, 30, 200, 150), &freed);
  EXPECT_EQ(frame->MDIChildCount(), 3);
  SendMessageW(three->WindowHandle(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(freed);
  EXPECT_EQ(frame->MDIChildCount(), 2);
  freed = false;
  three = AddChild(L"Three", TRect(30, 30, 200, 150), &freed);
  ASSERT_EQ(frame->ActiveMDIChild(), three);
  BYTE keys[256];
  GetKeyboardState(keys);
  const BYTE control = keys[VK_CONTROL];
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(three->WindowHandle(), WM_KEYDOWN, VK_F4, 0);
  Pump();
  keys[VK_CONTROL] = control;
  SetKeyboardState(keys);
  Pump();
  EXPECT_TRUE(freed);
  EXPECT_EQ(frame->MDIChildCount(), 2);
}

TEST_F(MdiSkin, TheClientWindowFillsWhatAlignedControlsLeave) {
  MakeFrame();
  auto* bar = new TButton(frame);
  bar->SetParent(frame);
  bar->SetBounds(0, 0, 100, 28);
  bar->SetAlign(TAlign::alTop);
  ShowFrame();
  RECT c, f;
  GetWindowRect(frame->ClientHandle(), &c);
  MapWindowPoints(nullptr, frame->WindowHandle(), reinterpret_cast<POINT*>(&c), 2);
  GetClientRect(frame->WindowHandle(), &f);
  EXPECT_EQ(FromRECT(c), TRect(0, 28, f.right, f.bottom));
  frame->SetBounds(40, 40, 500, 400);
  GetWindowRect(frame->ClientHandle(), &c);
  MapWindowPoints(nullptr, frame->WindowHandle(), reinterpret_cast<POINT*>(&c), 2);
  GetClientRect(frame->WindowHandle(), &f);
  EXPECT_EQ(FromRECT(c), TRect(0, 28, f.right, f.bottom));
}

TEST_F(MdiSkin, AMaximizedFrameCoversTheWorkArea) {
  ShowFrameWithTwoChildren();
  TsSkinProvider* fp = ProviderOfWindow(frame->WindowHandle());
  ASSERT_NE(fp, nullptr);
  MINMAXINFO info = {};
  SendMessageW(frame->WindowHandle(), WM_GETMINMAXINFO, 0, LPARAM(&info));
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = fp->Geometry().W;
  EXPECT_EQ(info.ptMaxPosition.x, work.left - w);
  EXPECT_EQ(info.ptMaxPosition.y, work.top - w);
  EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 2 * w);
  EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 2 * w);
}

TEST_F(MdiSkin, TheHookGivesTheFrameAndEveryChildAProvider) {
  ShowFrameWithTwoChildren();
  TsSkinProvider* fp = ProviderOfWindow(frame->WindowHandle());
  TsSkinProvider* p1 = ProviderOfWindow(one->WindowHandle());
  TsSkinProvider* p2 = ProviderOfWindow(two->WindowHandle());
  ASSERT_NE(fp, nullptr);
  ASSERT_NE(p1, nullptr);
  ASSERT_NE(p2, nullptr);
  EXPECT_TRUE(p1->Skinned());
  EXPECT_NE(fp->MdiArea(), nullptr);
  EXPECT_TRUE(IsSkinnedWindow(frame->ClientHandle()));
  // A child made after the frame was skinned gets its provider when it is shown.
  TMdiChild* three = AddChild(L"Three", TRect(60, 60, 260, 200));
  EXPECT_NE(ProviderOfWindow(three->WindowHandle()), nullptr);
  // A child's frame: caption height, and the buttons an MDI child has.
  const TsFrameGeometry g = p1->Geometry();
  EXPECT_EQ(g.H, GetSystemMetrics(SM_CYCAPTION));
  EXPECT_TRUE(g.ButtonShown[tbkMax]);
  EXPECT_TRUE(g.ButtonShown[tbkMin]);
  EXPECT_TRUE(p1->SystemMenu()->VisibleMax());
  EXPECT_TRUE(p1->SystemMenu()->EnabledMax());
  p1->SystemMenu()->Refresh();
  EXPECT_TRUE(p1->SystemMenu()->ItemSize->Visible());
  EXPECT_TRUE(p1->SystemMenu()->ItemRestore->Visible());
  // A child's title-button fades and glows belong to the frame's top-level window.
  ASSERT_TRUE(manager->AllowGlowing());
  SendMessageW(one->WindowHandle(), WM_NCHITTEST, 0, ScreenPoint(one->WindowHandle(), Centre(g.Buttons[tbkClose])));
  const TzkTitleButton& close = p1->Button(tbkClose);
  ASSERT_NE(close.Animation, nullptr);
  ASSERT_NE(close.Animation->Overlay(), nullptr);
  EXPECT_EQ(GetWindow(close.Animation->Overlay(), GW_OWNER), frame->WindowHandle());
  // A second activation attaches nothing new.
  const size_t records = ProviderList()->size();
  ClassifyWindow(frame->WindowHandle());
  ClassifyWindow(one->WindowHandle());
  EXPECT_EQ(ProviderList()->size(), records);
}

TEST_F(MdiSkin, TheClientAreaShowsTheMdiAreaSection) {
  ShowFrameWithTwoChildren();
  HWND client = frame->ClientHandle();
  RECT c;
  GetClientRect(client, &c);
  const TzkBitmap expected = ComposedArea(c.right, c.bottom);
  EXPECT_EQ(DifferentPixels(PrintWindowBitmap(client, c.right, c.bottom), expected), 0);
  // On the screen, outside the children, after a child moved away from where it was.
  RECT before;
  GetWindowRect(two->WindowHandle(), &before);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&before), 2);
  two->SetBounds(300, 200, 280, 180);
  UpdateWindow(client);
  LetPaintReachScreen();
  const TRect uncovered(before.left, before.top, 300, 200);
  const TzkBitmap screen = ClientOnScreen(client);
  RECT oneRect;
  GetWindowRect(one->WindowHandle(), &oneRect);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&oneRect), 2);
  EXPECT_EQ(DifferencesIn(screen, expected, uncovered, FromRECT(oneRect)), 0);
  // The corners a child's region cuts away show the area, not what was drawn there before.
  TsSkinProvider* p1 = ProviderOfWindow(one->WindowHandle());
  ASSERT_NE(p1, nullptr);
  ASSERT_FALSE(p1->CornerAreas().empty());
  const TRect corner = p1->CornerAreas().front();
  const TPoint at{oneRect.left + corner.Left, oneRect.top + corner.Top};
  EXPECT_EQ(PixelOf(screen, at.X, at.Y), PixelOf(expected, at.X, at.Y));
}

TEST_F(MdiSkin, AMaximizedChildsButtonsLiveInTheFramesMenuLine) {
  ShowFrameWithTwoChildren();
  HWND fw = frame->WindowHandle();
  TsSkinProvider* fp = ProviderOfWindow(fw);
  TsSkinProvider* p2 = ProviderOfWindow(two->WindowHandle());
  ASSERT_NE(fp, nullptr);
  ASSERT_NE(p2, nullptr);
  RECT clientBefore;
  GetClientRect(fw, &clientBefore);
  SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  ASSERT_TRUE(IsZoomed(two->WindowHandle()));
  EXPECT_EQ(fp->MaximizedMdiChild(), two->WindowHandle());
  EXPECT_EQ(frame->Caption(), L"Frame - [Two]");
  // The title on the screen is the skinned one with that caption, nothing of the platform's.
  LetPaintReachScreen();
  fp->RenderCache();
  const TsFrameGeometry titled = fp->Geometry();
  EXPECT_EQ(DifferencesIn(WindowOnScreen(fw), *fp->FrameCache(),
                          TRect(titled.W, 0, titled.Width - titled.W, titled.TitleBand())), 0);

  // No child frame: the child's region is its client area.
  EXPECT_TRUE(p2->MdiChildMaximized());
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(two->WindowHandle(), rgn.Get()), ERROR);
  RECT box;
  GetRgnBox(rgn.Get(), &box);
  EXPECT_EQ(FromRECT(box), ClientRectInWindow(two->WindowHandle()));

  // The frame has no main menu: a line is made for the child, one menu row high.
  RECT clientNow;
  GetClientRect(fw, &clientNow);
  EXPECT_EQ(clientBefore.bottom - clientNow.bottom, GetSystemMetrics(SM_CYMENU));
  const TsFrameGeometry g = fp->Geometry();
  ASSERT_TRUE(g.MdiLine);
  EXPECT_EQ(g.MenuLine.Bottom, g.Client.Top);
  EXPECT_GE(g.MdiIcon.Top, g.MenuLine.Top);
  for (int k = 0; k < kMdiButtonCount; ++k) {
    EXPECT_GE(g.MdiButtons[size_t(k)].Top, g.MenuLine.Top);
    EXPECT_LE(g.MdiButtons[size_t(k)].Bottom, g.MenuLine.Bottom);
    EXPECT_GT(g.MdiButtons[size_t(k)].Left, g.MdiIcon.Right);
  }
  EXPECT_LT(g.MdiButtons[mbkMinimize].Right, g.MdiButtons[mbkRestore].Left + 1);
  EXPECT_LT(g.MdiButtons[mbkRestore].Right, g.MdiButtons[mbkClose].Left + 1);

  // Hit-testing answers the three codes; the line elsewhere is menu.
  EXPECT_EQ(HitTest(fw, Centre(g.MdiButtons[mbkMinimize])), 101);
  EXPECT_EQ(fp->MdiButton(mbkMinimize).State, kButtonHot);
  EXPECT_EQ(HitTest(fw, Centre(g.MdiButtons[mbkRestore])), 102);
  EXPECT_EQ(fp->MdiButton(mbkMinimize).State, kButtonNormal);
  EXPECT_EQ(HitTest(fw, Centre(g.MdiButtons[mbkClose])), 103);
  EXPECT_EQ(fp->MdiHotCode(), 103);
  EXPECT_EQ(HitTest(fw, TPoint{(g.MdiIcon.Right + g.MdiButtons[mbkMinimize].Left) / 2, Centre(g.MenuLine).Y}), HTMENU);
  EXPECT_EQ(fp->MdiHotCode(), 0);

  // Each state is the skin's small glyph drawn over the menu line, as the painters compose it.
  EXPECT_EQ(fp->MdiButton(mbkClose).GlyphKey, "SICONCLOSE");
  auto expected = [&](int kind, int state) {
    const TsSkinTables& t = manager->Tables();
    TzkBitmap copy = NewBitmap24(fp->FrameCache()->Width(), fp->FrameCache()->Height());
    for (int y = 0; y < copy.Height(); ++y)
      std::copy_n(fp->FrameCache()->ScanLine(y), copy.Width() * 3, copy.ScanLine(y));
    TsBackgroundInfo bg;
    bg.Bitmap = &copy;
    bg.IsBitmap = true;
    PaintSectionByIndex(t.IndexOfSection("MENULINE"), "MENULINE", bg, -1, -1, &t, &copy,
                        TPoint{g.MenuLine.Left, g.MenuLine.Top}, g.MenuLine, 0, true);
    PaintSectionByIndex(t.IndexOfSection("FORMTITLE"), "FORMTITLE", bg, -1, -1, &t, &copy,
                        TPoint{g.MdiBand.Left, g.MdiBand.Top}, g.MdiBand, 1, true);
    const TRect r = g.MdiButtons[size_t(kind)];
    PaintGlyphMask(copy, TPoint{r.Left, r.Top}, state, bg, t.Masks[size_t(fp->MdiButton(kind).GlyphIndex)], true);
    return CacheRect(copy, r);
  };
  auto drawn = [&](int kind) {
    fp->RenderCache();
    return CacheRect(*fp->FrameCache(), g.MdiButtons[size_t(kind)]);
  };
  EXPECT_EQ(DifferentPixels(drawn(mbkMinimize), expected(mbkMinimize, kButtonNormal)), 0);
  HitTest(fw, Centre(g.MdiButtons[mbkClose]));
  EXPECT_EQ(DifferentPixels(drawn(mbkClose), expected(mbkClose, kButtonHot)), 0);
  SendMessageW(fw, WM_NCLBUTTONDOWN, 103, ScreenPoint(fw, Centre(g.MdiButtons[mbkClose])));
  EXPECT_EQ(fp->MdiButton(mbkClose).State, kButtonPressed);
  EXPECT_EQ(GetCapture(), fw);
  EXPECT_EQ(DifferentPixels(drawn(mbkClose), expected(mbkClose, kButtonPressed)), 0);
  EXPECT_GT(DifferentPixels(expected(mbkClose, kButtonHot), expected(mbkClose, kButtonPressed)), 0);
  // What the screen shows of the line is the frame's cache: nothing of the platform's.
  Pump();
  const TzkBitmap screen = WindowOnScreen(fw);
  EXPECT_EQ(DifferencesIn(screen, *fp->FrameCache(), g.MenuLine), 0);
  // Released outside the button: nothing happens.
  two->commands.clear();
  SendMessageW(fw, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  Pump();
  EXPECT_TRUE(two->commands.empty());
  EXPECT_TRUE(IsZoomed(two->WindowHandle()));
  EXPECT_NE(GetCapture(), fw);
  EXPECT_EQ(fp->MdiButton(mbkClose).State, kButtonNormal);
}

// Presses and releases one of the three buttons with real messages.
void ClickMdiButton(HWND fw, TsSkinProvider* fp, int kind) {
  const TsFrameGeometry g = fp->Geometry();
  ASSERT_TRUE(g.MdiLine);
  const TPoint at = MdiSkin::Centre(g.MdiButtons[size_t(kind)]);
  ASSERT_EQ(MdiSkin::HitTest(fw, at), kMdiButtonCode + kind);
  SendMessageW(fw, WM_NCLBUTTONDOWN, WPARAM(kMdiButtonCode + kind), MdiSkin::ScreenPoint(fw, at));
  SendMessageW(fw, WM_NCLBUTTONUP, WPARAM(kMdiButtonCode + kind), MdiSkin::ScreenPoint(fw, at));
  Pump();
}

TEST_F(MdiSkin, EachChildButtonSendsItsCommandAndDoesItsJob) {
  ShowFrameWithTwoChildren();
  HWND fw = frame->WindowHandle();
  HWND cw = two->WindowHandle();
  TsSkinProvider* fp = ProviderOfWindow(fw);
  TsSkinProvider* p2 = ProviderOfWindow(cw);
  ASSERT_NE(fp, nullptr);
  ASSERT_NE(p2, nullptr);
  RECT frameClient;
  GetClientRect(fw, &frameClient);

  SendMessageW(cw, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  two->commands.clear();
  ClickMdiButton(fw, fp, mbkRestore);
  ASSERT_EQ(two->commands.size(), 1u);
  EXPECT_EQ(two->commands[0], WPARAM(SC_RESTORE));
  EXPECT_FALSE(IsZoomed(cw));
  // Restored: the frame's line is gone, the child has its corners and its skinned frame back.
  EXPECT_EQ(fp->MaximizedMdiChild(), nullptr);
  EXPECT_FALSE(fp->Geometry().MdiLine);
  RECT now;
  GetClientRect(fw, &now);
  EXPECT_EQ(now.bottom, frameClient.bottom);
  EXPECT_FALSE(p2->CornerAreas().empty());
  UpdateWindow(frame->ClientHandle());
  LetPaintReachScreen();
  p2->RenderCache();
  const TsFrameGeometry cg = p2->Geometry();
  const TzkBitmap childOnScreen = WindowOnScreen(cw);
  const TRect title(cg.W + 30, 2, cg.Width - cg.W - 80, cg.TitleBand() - 2);
  EXPECT_EQ(DifferencesIn(childOnScreen, *p2->FrameCache(), title), 0);

  SendMessageW(cw, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  two->commands.clear();
  ClickMdiButton(fw, fp, mbkMinimize);
  ASSERT_EQ(two->commands.size(), 1u);
  EXPECT_EQ(two->commands[0], WPARAM(SC_MINIMIZE));
  EXPECT_TRUE(IsIconic(cw));
  EXPECT_EQ(fp->MaximizedMdiChild(), nullptr);

  SendMessageW(cw, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  ASSERT_TRUE(IsZoomed(cw));
  bool freed = false;
  TMdiChild* three = AddChild(L"Three", TRect(20, 20, 220, 160), &freed);
  EXPECT_TRUE(IsZoomed(three->WindowHandle())) << "a child made while one is maximized comes maximized";
  ClickMdiButton(fw, fp, mbkClose);
  ASSERT_TRUE(freed);
  EXPECT_EQ(frame->MDIChildCount(), 2);
}

TEST_F(MdiSkin, WithAMainMenuTheChildsButtonsShareTheMenuLine) {
  MakeFrame();
  auto* menu = new TMainMenu(frame);
  for (const wchar_t* caption : {L"Файл", L"Окно"}) {
    auto* item = new TMenuItem(frame);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  frame->SetMenu(menu);
  one = AddChild(L"One", TRect(10, 10, 290, 190));
  ShowFrame();
  HWND fw = frame->WindowHandle();
  TsSkinProvider* fp = ProviderOfWindow(fw);
  ASSERT_NE(fp, nullptr);
  RECT before;
  GetClientRect(fw, &before);
  SendMessageW(one->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  RECT after;
  GetClientRect(fw, &after);
  EXPECT_EQ(after.bottom, before.bottom) << "the main menu's line is used, none is added";
  const TsFrameGeometry g = fp->Geometry();
  ASSERT_TRUE(g.MdiLine);
  ASSERT_EQ(g.MenuItems.size(), 2u);
  EXPECT_GT(g.MenuItems[0].Left, g.MdiIcon.Right) << "the items follow the child's icon";
  EXPECT_LT(g.MenuItems[1].Right, g.MdiButtons[mbkMinimize].Left);
  EXPECT_EQ(HitTest(fw, Centre(g.MdiButtons[mbkClose])), 103);
  EXPECT_EQ(HitTest(fw, Centre(g.MenuItems[1])), HTMENU);
  // The platform's own bar (with its buttons for the child) never shows over the line.
  RedrawWindow(fw, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  DrawMenuBar(fw);
  LetPaintReachScreen();
  fp->RenderCache();
  EXPECT_EQ(DifferencesIn(WindowOnScreen(fw), *fp->FrameCache(), g.MenuLine), 0);
}

TEST_F(MdiSkin, EveryWindowGetsItsOwnProcedureBack) {
  MakeFrame();
  one = AddChild(L"One", TRect(10, 10, 290, 190));
  two = AddChild(L"Two", TRect(140, 90, 420, 270));
  HWND fw = frame->WindowHandle(), client = frame->ClientHandle();
  HWND w1 = one->WindowHandle(), w2 = two->WindowHandle();
  const WNDPROC clientOwn = ProcOf(client);
  const int entries = TzkMainWnd::EntriesInUse();
  ShowFrame();
  EXPECT_NE(ProcOf(client), clientOwn) << "the client window is adapted";
  // The frame and the children are skinned inside their own procedure, not by replacing it.
  ASSERT_NE(ProviderOfWindow(fw), nullptr);
  ASSERT_NE(ProviderOfWindow(w1), nullptr);
  EXPECT_TRUE(ProviderOfWindow(fw)->Skinned());
  EXPECT_TRUE(ProviderOfWindow(w1)->Skinned());
  SendMessageW(w2, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  // Freed child: its window goes with it, the provider with the form.
  delete two;
  children.pop_back();
  Pump();
  EXPECT_FALSE(IsWindow(w2));
  // The skin goes: the client runs its own procedure again, the frame and the child are no
  // longer skinned and have their system menu and whole window back.
  manager->SetActive(false);
  Pump();
  EXPECT_EQ(ProcOf(client), clientOwn);
  for (HWND w : {fw, w1}) {
    const TsSkinProvider* p = ProviderOfWindow(w);
    EXPECT_TRUE(!p || !p->Skinned());
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU);
    TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(w, rgn.Get()), ERROR);
  }
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  EXPECT_EQ(GetPropW(client, kAdapterProp), nullptr);
}

TEST_F(MdiSkin, AFrameGoingFirstLetsGoOfEveryWindow) {
  const int entries = TzkMainWnd::EntriesInUse();
  ShowFrameWithTwoChildren();
  SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  TsSkinProvider* p1 = ProviderOfWindow(one->WindowHandle());
  ASSERT_NE(p1, nullptr);
  EXPECT_GT(TzkMainWnd::EntriesInUse(), entries);
  // The frame's window takes the client and the children's windows with it; the children's
  // forms stay, their providers detached.
  delete frame;
  frame = nullptr;
  Pump();
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  EXPECT_FALSE(one->HandleAllocated());
  EXPECT_FALSE(p1->Skinned());
  size_t live = 0;
  for (TzkProvider* p : *ProviderList()) live += p != nullptr;
  EXPECT_EQ(live, 2u) << "the children's records go with their forms";
  for (TMdiChild* c : children) delete c;
  children.clear();
  live = 0;
  for (TzkProvider* p : *ProviderList()) live += p != nullptr;
  EXPECT_EQ(live, 0u);
}

TEST_F(MdiSkin, NoObjectsAreLeftAfterManyMdiFrames) {
  // Frames are skinned hidden (the hook's activation branch run on them directly): hiding
  // shown windows costs seconds on the test display.
  auto cycle = [&] {
    MakeFrame();
    one = AddChild(L"One", TRect(10, 10, 290, 190));
    two = AddChild(L"Two", TRect(140, 90, 420, 270));
    ClassifyWindow(frame->WindowHandle());
    TsSkinProvider* fp = ProviderOfWindow(frame->WindowHandle());
    ASSERT_NE(fp, nullptr);
    SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    SendMessageW(frame->WindowHandle(), WM_NCPAINT, 1, 0);
    const TsFrameGeometry g = fp->Geometry();
    EXPECT_TRUE(g.MdiLine);
    HitTest(frame->WindowHandle(), Centre(g.MdiButtons[mbkRestore]));
    PrintWindowBitmap(frame->ClientHandle(), 100, 100);
    SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageW(one->WindowHandle(), WM_CLOSE, 0, 0);
    Pump();  // the closed child is freed
    children = {two};
    for (TMdiChild* c : children) delete c;
    children.clear();
    delete frame;
    frame = nullptr;
    Pump();
  };
  cycle();
  const int entries = TzkMainWnd::EntriesInUse();
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 100; ++i) cycle();
  }
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  size_t live = 0;
  for (TzkProvider* p : *ProviderList()) live += p != nullptr;
  EXPECT_EQ(live, 0u);
}

// With VORNIK_SCREENSHOT_DIR set, the frame as the screen shows it is saved there: with two
// restored children and with one maximized.
TEST_F(MdiSkin, ScreenshotsOfASkinnedFrame) {
  MakeFrame();
  auto* menu = new TMainMenu(frame);
  for (const wchar_t* caption : {L"Файл", L"Правка", L"Окно"}) {
    auto* item = new TMenuItem(frame);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  one = AddChild(L"Первый документ", TRect(12, 12, 312, 212));
  two = AddChild(L"Второй документ", TRect(150, 110, 500, 330));
  ShowFrame();
  HWND fw = frame->WindowHandle();
  TsSkinProvider* fp = ProviderOfWindow(fw);
  ASSERT_NE(fp, nullptr);
  const char* dir = getenv("VORNIK_SCREENSHOT_DIR");
  auto shoot = [&](const char* name) {
    RedrawWindow(fw, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    LetPaintReachScreen();
    const TzkBitmap shot = WindowOnScreen(fw);
    // Nothing of the platform's frame: the title band on the screen is the skinned one.
    const TsFrameGeometry g = fp->Geometry();
    fp->RenderCache();
    EXPECT_EQ(DifferencesIn(shot, *fp->FrameCache(), TRect(g.W, 0, g.Width - g.W, g.TitleBand())), 0) << name;
    if (dir) SavePng(shot, std::string(dir) + "/" + name);
  };
  shoot("mdi-restored-children.png");
  one->SetBounds(420, 300, 300, 200);
  SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  shoot("mdi-scrolled-and-minimized.png");
  one->SetBounds(12, 12, 300, 200);
  SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  SendMessageW(two->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  shoot("mdi-maximized-child-no-menu.png");
  frame->SetMenu(menu);
  Pump();
  shoot("mdi-maximized-child-with-menu.png");
}

}  // namespace

namespace {

// Removing the skin and applying it again while the frame and its children are open: the
// client window gets its adapter back and every frame is drawn by its provider again.
TEST_F(MdiSkin, ASkinAppliedAgainAdaptsTheClientAndFramesTheChildren) {
  ShowFrameWithTwoChildren();
  TsSkinProvider* fp = ProviderOfWindow(frame->WindowHandle());
  TsSkinProvider* p1 = ProviderOfWindow(one->WindowHandle());
  ASSERT_NE(fp, nullptr);
  ASSERT_NE(p1, nullptr);
  ASSERT_NE(fp->MdiArea(), nullptr);
  manager->SetActive(false);
  Pump();
  EXPECT_EQ(fp->MdiArea(), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(one->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
  manager->SetActive(true);
  Pump();
  ASSERT_NE(fp->MdiArea(), nullptr);
  EXPECT_TRUE(fp->MdiArea()->Hooked());
  EXPECT_EQ(TzkMainWnd::FromWindow(frame->ClientHandle()), fp->MdiArea());
  for (TsSkinProvider* p : {fp, p1}) {
    EXPECT_TRUE(p->Skinned());
    EXPECT_FALSE(GetWindowLongPtrW(p->Form()->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_NE(p->SystemMenu(), nullptr);
  }
}

}  // namespace
