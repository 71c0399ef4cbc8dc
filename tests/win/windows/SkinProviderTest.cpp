// Automatic form skinning through real window messages: which windows the hook gives a frame
// provider, hit-testing over the whole frame, the window region at the skin's corners, the
// active and inactive looks, title-button states with their overlay fades, clicks turned
// into system commands, the system menu, detaching, and the objects left after many forms.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkDials.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

// A form with the program's frame (single border, system menu, minimize) that keeps the
// system commands it receives instead of acting on them.
class TRecordingForm : public TFramedTestForm {
 public:
  explicit TRecordingForm(TComponent* owner) : TFramedTestForm(owner, L"Vornik Desktop test form") {}
  const wchar_t* ClassName() const override { return L"TRecordingForm"; }
  std::vector<WPARAM> commands;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SYSCOMMAND) {
      commands.push_back(m.WParam & 0xFFF0);
      return;
    }
    TForm::WndProc(m);
  }
};

// A form that answers the is-skinned query itself.
class TSelfSkinnedForm : public TForm {
 public:
  using TForm::TForm;
  const wchar_t* ClassName() const override { return L"TSelfSkinnedForm"; }

 protected:
  void WndProc(TMessage& m) override {
    if (IsSkinCommand(m) && CommandCodeOf(m.WParam) == zcIsSkinned) {
      m.Result = 1;
      return;
    }
    TForm::WndProc(m);
  }
};

class TNamedForm : public TForm {
 public:
  TNamedForm(TComponent* owner, const wchar_t* name) : TForm(owner), name_(name) {}
  const wchar_t* ClassName() const override { return name_; }

 private:
  const wchar_t* name_;
};

class SkinProvider : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    ASSERT_TRUE(manager->SkinData().Active);
    ASSERT_TRUE(manager->HookInstalled());
  }
  template <typename T = TRecordingForm, typename... Args>
  T* ShowForm(int x = 80, int y = 80, Args&&... args) {
    T* f = Application->CreateForm<T>(std::forward<Args>(args)...);
    forms.push_back(f);
    f->SetBounds(x, y, 360, 220);
    ShowAndActivate(f);
    return f;
  }
  // A sizable form with every border icon.
  TRecordingForm* ShowSizableForm() {
    auto* f = Application->CreateForm<TRecordingForm>();
    forms.push_back(f);
    f->SetBorderStyle(TFormBorderStyle::bsSizeable);
    f->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    f->SetBounds(420, 120, 300, 200);
    ShowAndActivate(f);
    return f;
  }

  static size_t LiveRecords() {
    size_t n = 0;
    if (auto* list = ProviderList())
      for (TzkProvider* p : *list) n += p != nullptr;
    return n;
  }
  // The screen point of a point in window coordinates.
  static LPARAM ScreenPoint(HWND wnd, TPoint p) {
    RECT r;
    GetWindowRect(wnd, &r);
    return MAKELPARAM(r.left + p.X, r.top + p.Y);
  }
  static LRESULT HitTest(HWND wnd, TPoint p) {
    return SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, p));
  }
  static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
};

TEST_F(SkinProvider, TheHookGivesAFormItsProviderOnceWhenFirstActivated) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Form(), f);
  EXPECT_EQ(p->Owner(), f);
  EXPECT_EQ(SendCommandToWindow(f->WindowHandle(), zcIsSkinned), 1);
  const size_t records = LiveRecords();
  EXPECT_GE(records, 1u);
  // Activating again attaches nothing new.
  ShowForm(400, 80);
  SetActiveWindow(f->WindowHandle());
  Pump();
  EXPECT_EQ(ProviderOf(f), p);
  EXPECT_EQ(LiveRecords(), records + 1);
  // The platform's system-menu style is taken away while the provider draws the frame.
  EXPECT_FALSE(GetWindowLongPtrW(f->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
  EXPECT_TRUE(p->HadSystemMenu());
}

TEST_F(SkinProvider, FormsTheRulesExcludeKeepThePlatformFrame) {
  auto* tagged = Application->CreateForm<TRecordingForm>();
  tagged->SetTag(-98);
  forms.push_back(tagged);
  tagged->Show();
  SetActiveWindow(tagged->Handle());
  Pump();
  EXPECT_EQ(SendCommandToWindow(tagged->WindowHandle(), zcIsSkinned), 0);

  TSelfSkinnedForm* self = ShowForm<TSelfSkinnedForm>();
  EXPECT_EQ(SendCommandToWindow(self->WindowHandle(), zcGetProvider), 0);

  // "TApplication" is the application window's own class; no form can take it.
  for (const wchar_t* name : {L"TQRStandardPreview", L"TfcPopup"}) {
    TNamedForm* named = ShowForm<TNamedForm>(80, 80, name);
    EXPECT_EQ(SendCommandToWindow(named->WindowHandle(), zcIsSkinned), 0) << WideToUtf8(name);
  }

  manager->SetSkinningRules(srStdDialogs | srThirdParty);
  TRecordingForm* plain = ShowForm();
  EXPECT_EQ(ProviderOf(plain), nullptr);
  TNamedForm* message = ShowForm<TNamedForm>(80, 80, L"TMessageForm");
  EXPECT_NE(ProviderOf(message), nullptr);
  manager->SetSkinningRules(srStdForms);
  TNamedForm* message2 = ShowForm<TNamedForm>(80, 80, L"TMessageForm");
  EXPECT_EQ(ProviderOf(message2), nullptr);
}

TEST_F(SkinProvider, HitTestsCoverTheWholeFrame) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  ASSERT_TRUE(g.ButtonShown[tbkClose]);
  ASSERT_TRUE(g.ButtonShown[tbkMin]);
  EXPECT_FALSE(g.ButtonShown[tbkMax]);
  EXPECT_FALSE(g.ButtonShown[tbkHelp]);
  // Minimize sits directly left of close, overlapping it by the skin's one pixel.
  EXPECT_EQ(g.Buttons[tbkMin].Right, g.Buttons[tbkClose].Left + 1);
  EXPECT_EQ(g.Buttons[tbkClose].Right, g.Width - manager->SkinData().TitleButtonsRight - g.W);

  EXPECT_EQ(HitTest(wnd, Centre(g.Buttons[tbkClose])), HTCLOSE);
  EXPECT_EQ(HitTest(wnd, Centre(g.Buttons[tbkMin])), HTMINBUTTON);
  EXPECT_EQ(HitTest(wnd, Centre(g.Icon)), HTSYSMENU);
  EXPECT_EQ(HitTest(wnd, TPoint{g.Width / 2, g.W0 + g.H / 2}), HTCAPTION);
  EXPECT_EQ(HitTest(wnd, Centre(g.Client)), HTCLIENT);
  // The single border is not for sizing: the provider leaves it to the platform.
  const LRESULT border = HitTest(wnd, TPoint{1, g.Height / 2});
  EXPECT_TRUE(border == HTBORDER || border == HTCAPTION || border == HTCLIENT) << border;
  EXPECT_NE(border, HTLEFT);

  // A sizable form answers the sizing codes itself.
  TRecordingForm* s = ShowSizableForm();
  TsSkinProvider* sp = ProviderOf(s);
  ASSERT_NE(sp, nullptr);
  const TsFrameGeometry sg = sp->Geometry();
  EXPECT_EQ(HitTest(s->WindowHandle(), TPoint{1, sg.Height / 2}), HTLEFT);
  EXPECT_EQ(HitTest(s->WindowHandle(), TPoint{sg.Width - 1, sg.Height / 2}), HTRIGHT);
  EXPECT_EQ(HitTest(s->WindowHandle(), TPoint{sg.Width - 1, sg.Height - 1}), HTBOTTOMRIGHT);
  EXPECT_EQ(HitTest(s->WindowHandle(), TPoint{1, 1}), HTTOPLEFT);
  EXPECT_EQ(HitTest(s->WindowHandle(), TPoint{sg.Width / 2, sg.Height - 1}), HTBOTTOM);
}

TEST_F(SkinProvider, TheRegionLeavesOutTheKeyColouredCornerPixels) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(wnd, rgn.Get()), COMPLEXREGION);
  const TsFrameGeometry g = p->Geometry();
  ASSERT_FALSE(p->CornerAreas().empty());
  for (const TRect& r : p->CornerAreas())
    for (int x = r.Left; x < r.Right; ++x) EXPECT_FALSE(PtInRegion(rgn.Get(), x, r.Top)) << x << "," << r.Top;
  // The corners are cut where the skin's mask is key-coloured, and only there.
  const TsSkinTables& t = manager->Tables();
  const TsMaskData& mask = t.Masks[size_t(t.Sections[size_t(t.IndexOfSection("FORM"))].BorderIndex)];
  const TzkBitmap* src = MaskSourceImage(mask);
  ASSERT_NE(src, nullptr);
  for (int y = 0; y < mask.WT; ++y)
    for (int x = 0; x < mask.WL; ++x) {
      const uint8_t* px = src->ScanLine(mask.Rect.Top + y) + (mask.Rect.Left + x) * src->BytesPerPixel();
      const bool key = px[0] == 0xFF && px[1] == 0 && px[2] == 0xFF;
      const bool titleKey = !PtInRegion(rgn.Get(), x, y);
      if (key) {
        EXPECT_TRUE(titleKey) << x << "," << y;
      }
    }
  // The bottom corners likewise, at the window's bottom.
  const int fh = mask.Rect.Height();
  for (int y = 0; y < mask.WB; ++y)
    for (int x = 0; x < mask.WL; ++x) {
      const uint8_t* px =
          src->ScanLine(mask.Rect.Top + fh - mask.WB + y) + (mask.Rect.Left + x) * src->BytesPerPixel();
      const bool key = px[0] == 0xFF && px[1] == 0 && px[2] == 0xFF;
      EXPECT_EQ(key, !PtInRegion(rgn.Get(), x, g.Height - mask.WB + y)) << x << "," << y;
    }
  EXPECT_TRUE(PtInRegion(rgn.Get(), g.Width / 2, g.Height / 2));
  EXPECT_TRUE(PtInRegion(rgn.Get(), g.Width / 2, 0));
  EXPECT_TRUE(PtInRegion(rgn.Get(), g.Width / 2, g.Height - 1));
  EXPECT_FALSE(PtInRegion(rgn.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(rgn.Get(), g.Width - 1, 0));
}

TEST_F(SkinProvider, TheTitleShowsTheActiveAndInactiveLooks) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  const TsFrameGeometry g = p->Geometry();
  const TsSkinTables& t = manager->Tables();
  auto expected = [&](int state) {
    TzkBitmap band(g.Width, g.TitleBand());
    band.Fill(0);
    PaintSectionByIndex(t.IndexOfSection("FORMTITLE"), "FORMTITLE", TsBackgroundInfo{}, -1, -1, &t,
                        &band, TPoint{0, 0}, TRect(0, 0, g.Width, g.TitleBand()), state, true);
    return PixelOf(band, g.Caption.Left - 2, g.TitleBand() / 2);
  };
  auto shown = [&] {
    p->RenderCache();
    return PixelOf(*p->FrameCache(), g.Caption.Left - 2, g.TitleBand() / 2);
  };
  ASSERT_TRUE(p->FormActive());
  EXPECT_EQ(shown(), expected(1));
  TRecordingForm* other = ShowForm(420, 300);
  SetActiveWindow(other->WindowHandle());
  Pump();
  EXPECT_FALSE(p->FormActive());
  EXPECT_EQ(shown(), expected(0));
  EXPECT_NE(expected(0), expected(1));
  SetActiveWindow(f->WindowHandle());
  Pump();
  EXPECT_TRUE(p->FormActive());
  EXPECT_EQ(shown(), expected(1));
}

TEST_F(SkinProvider, TitleButtonsFadeInWhenHotAndOutWhenLeft) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(manager->AllowGlowing());
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  SetCursorPos(0, 0);
  ASSERT_EQ(HitTest(wnd, Centre(g.Buttons[tbkClose])), HTCLOSE);
  TzkTitleButton& close = p->Button(tbkClose);
  EXPECT_EQ(close.State, kButtonHot);
  ASSERT_NE(close.Animation, nullptr);
  // The first step shows at once, a tenth of full alpha.
  EXPECT_EQ(close.Animation->LastAlpha(), 25);
  EXPECT_NE(close.Animation->Overlay(), nullptr);
  EXPECT_TRUE(close.Animation->Running());
  std::vector<int> alphas;
  for (int i = 0; i < 12; ++i) {
    close.Animation->Tick();
    alphas.push_back(close.Animation->LastAlpha());
  }
  for (size_t i = 1; i < alphas.size(); ++i) EXPECT_GE(alphas[i], alphas[i - 1]);
  EXPECT_EQ(alphas.back(), 255);
  // The overlay lies over the button on the screen (with its glow margin around it).
  int margin = 0;
  p->GlowMaskOf(tbkClose, margin);
  RECT wr, orc;
  GetWindowRect(wnd, &wr);
  GetWindowRect(close.Animation->Overlay(), &orc);
  EXPECT_EQ(orc.left, wr.left + close.Rect.Left - margin);
  EXPECT_EQ(orc.top, wr.top + close.Rect.Top - margin);

  // Moving on to minimize: close fades out, minimize in.
  ASSERT_EQ(HitTest(wnd, Centre(g.Buttons[tbkMin])), HTMINBUTTON);
  EXPECT_EQ(close.State, kButtonNormal);
  EXPECT_FALSE(close.Animation->FadingIn());
  EXPECT_EQ(p->Button(tbkMin).State, kButtonHot);
  // The pointer is not over the window: the fades run to their ends with the timers.
  EXPECT_TRUE(WaitUntil([&] { return !close.Animation->Overlay() && p->Button(tbkMin).State == kButtonNormal; }));
  EXPECT_EQ(close.Animation->Overlay(), nullptr);
  EXPECT_EQ(p->Button(tbkMin).State, kButtonNormal) << "the pointer is elsewhere";
  EXPECT_EQ(p->HotButtonCode(), 0);
}

TEST_F(SkinProvider, ButtonsRedrawThemselvesWithoutGlowing) {
  manager->SetAllowGlowing(false);
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  p->RenderCache();
  const TRect r = g.Buttons[tbkClose];
  auto look = [&] {
    TzkBitmap b = NewBitmap24(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(p->FrameCache()->ScanLine(r.Top + y) + r.Left * 3, r.Width() * 3, b.ScanLine(y));
    return b;
  };
  // The title background with the skin's close glyph drawn over it by the paint engine.
  const TsSkinTables& t = manager->Tables();
  const int closeMask = t.IndexOfMask(t.IndexOfSection("GLOBALINFO"), "GLOBALINFO", "BICONCLOSE");
  ASSERT_GE(closeMask, 0);
  auto glyph = [&](int state) {
    TzkBitmap b = NewBitmap24(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(p->TitleBand()->ScanLine(r.Top + y) + r.Left * 3, r.Width() * 3, b.ScanLine(y));
    TsBackgroundInfo bg;
    bg.Bitmap = &b;
    bg.IsBitmap = true;
    PaintGlyphMask(b, TPoint{0, 0}, state, bg, t.Masks[size_t(closeMask)], true);
    return b;
  };
  const TzkBitmap normal = look();
  HitTest(wnd, Centre(r));
  EXPECT_EQ(p->Button(tbkClose).Animation, nullptr);
  const TzkBitmap hot = look();
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(wnd, Centre(r)));
  const TzkBitmap pressed = look();
  EXPECT_EQ(DifferentPixels(normal, glyph(kButtonNormal)), 0);
  EXPECT_EQ(DifferentPixels(hot, glyph(kButtonHot)), 0);
  EXPECT_EQ(DifferentPixels(pressed, glyph(kButtonPressed)), 0);
  EXPECT_GT(DifferentPixels(normal, hot), 0);
  EXPECT_GT(DifferentPixels(hot, pressed), 0);
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(SkinProvider, ClicksBecomeTheRightSystemCommands) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  const TPoint close = Centre(g.Buttons[tbkClose]);
  const TPoint minimize = Centre(g.Buttons[tbkMin]);

  // Close: pressed, released anywhere (here in the client area, while captured).
  HitTest(wnd, close);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(wnd, close));
  EXPECT_EQ(p->Button(tbkClose).State, kButtonPressed);
  EXPECT_EQ(GetCapture(), wnd);
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Pump();
  ASSERT_EQ(f->commands.size(), 1u);
  EXPECT_EQ(f->commands[0], WPARAM(SC_CLOSE));
  EXPECT_EQ(p->Button(tbkClose).State, kButtonNormal);
  EXPECT_NE(GetCapture(), wnd);

  // Minimize released outside the button does nothing.
  f->commands.clear();
  HitTest(wnd, minimize);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMINBUTTON, ScreenPoint(wnd, minimize));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Pump();
  EXPECT_TRUE(f->commands.empty());
  // Released over it: minimize.
  HitTest(wnd, minimize);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMINBUTTON, ScreenPoint(wnd, minimize));
  SendMessageW(wnd, WM_NCLBUTTONUP, HTMINBUTTON, ScreenPoint(wnd, minimize));
  Pump();
  ASSERT_EQ(f->commands.size(), 1u);
  EXPECT_EQ(f->commands[0], WPARAM(SC_MINIMIZE));
  // A double click on the icon closes.
  f->commands.clear();
  SendMessageW(wnd, WM_NCLBUTTONDBLCLK, HTSYSMENU, ScreenPoint(wnd, Centre(g.Icon)));
  Pump();
  ASSERT_EQ(f->commands.size(), 1u);
  EXPECT_EQ(f->commands[0], WPARAM(SC_CLOSE));
}

TEST_F(SkinProvider, TheSystemMenuShowsTheFormsItemsAndStates) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  TsSystemMenu* menu = p->SystemMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Name(), L"SysMenu");
  menu->Refresh();
  struct Expect {
    TMenuItem* item;
    const wchar_t* name;
    UINT command;
    bool visible, enabled;
  } expected[] = {
      {menu->ItemRestore, L"zkIR", SC_RESTORE, true, false},
      {menu->ItemMove, L"zkIM", SC_MOVE, true, true},
      {menu->ItemSize, L"zkIS", SC_SIZE, true, false},
      {menu->ItemMinimize, L"zkIN", SC_MINIMIZE, true, true},
      {menu->ItemMaximize, L"zkIX", SC_MAXIMIZE, false, false},
      {menu->ItemClose, L"zkIC", SC_CLOSE, true, true},
  };
  for (const Expect& e : expected) {
    ASSERT_NE(e.item, nullptr);
    EXPECT_EQ(e.item->Name(), e.name);
    EXPECT_EQ(e.item->Tag(), intptr_t(e.command));
    EXPECT_EQ(e.item->Visible(), e.visible) << WideToUtf8(e.name);
    EXPECT_EQ(e.item->Enabled(), e.enabled) << WideToUtf8(e.name);
    EXPECT_FALSE(e.item->Caption().empty());
  }
  EXPECT_EQ(menu->Items()->Items(0), menu->ItemRestore);
  EXPECT_EQ(menu->Items()->Items(menu->Items()->Count() - 1), menu->ItemClose);
  EXPECT_TRUE(menu->Items()->Items(5)->IsLine());
  // Items send their commands.
  menu->ItemClose->Click();
  ASSERT_EQ(f->commands.size(), 1u);
  EXPECT_EQ(f->commands[0], WPARAM(SC_CLOSE));
  // A sizable, maximizable form offers Size and Maximize.
  TRecordingForm* s = ShowSizableForm();
  TsSkinProvider* sp = ProviderOf(s);
  ASSERT_NE(sp, nullptr);
  sp->SystemMenu()->Refresh();
  EXPECT_TRUE(sp->SystemMenu()->ItemMaximize->Visible());
  EXPECT_TRUE(sp->SystemMenu()->ItemMaximize->Enabled());
  EXPECT_TRUE(sp->SystemMenu()->ItemSize->Enabled());
}

TEST_F(SkinProvider, TheProviderGivesTheWindowBackWhenItGoes) {
  // Destroying a skinned form frees its record and takes it off the framed forms.
  TRecordingForm* g = ShowForm(300, 100);
  TsSkinProvider* gp = ProviderOf(g);
  ASSERT_NE(gp, nullptr);
  auto framedHas = [](IzkFrameProvider* p) {
    return std::find(FramedForms().begin(), FramedForms().end(), p) != FramedForms().end();
  };
  EXPECT_TRUE(framedHas(gp));
  const size_t records = LiveRecords();
  forms.pop_back();
  delete g;
  EXPECT_EQ(LiveRecords(), records - 1);
  EXPECT_FALSE(framedHas(gp));

  // Freeing the provider of a live form gives the form its own frame and message method.
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  delete p;
  EXPECT_FALSE(framedHas(p));
  EXPECT_EQ(SendCommandToWindow(wnd, zcIsSkinned), 0);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(wnd, rgn.Get()), ERROR);
  // The platform answers hit-tests again: its own close box in the title bar.
  RECT r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.right - 8, r.top + 10)), HTCLOSE);
}

TEST_F(SkinProvider, RemovingTheSkinGivesThePlatformFrameBack) {
  TRecordingForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  manager->SetActive(false);
  Pump();
  EXPECT_FALSE(manager->HookInstalled());
  EXPECT_EQ(ProviderList(), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(wnd, rgn.Get()), ERROR);
  EXPECT_FALSE(p->Skinned());
}

TEST_F(SkinProvider, NoObjectsAreLeftAfterManySkinnedForms) {
  // Hiding a shown window costs seconds on the test display, so most cycles skin forms that
  // are never shown (the hook's activation branch is run on them directly, the frame painted
  // by message, the buttons redrawn without overlays); a few show the form with its fades.
  ShowForm(420, 300);
  bool shown = false;
  auto cycle = [&] {
    auto* f = Application->CreateForm<TRecordingForm>();
    f->SetBounds(100, 100, 300, 200);
    manager->SetAllowGlowing(shown);
    if (shown) ShowWindow(f->Handle(), SW_SHOWNOACTIVATE);
    ClassifyWindow(f->Handle());
    TsSkinProvider* p = ProviderOf(f);
    ASSERT_NE(p, nullptr);
    SendMessageW(f->WindowHandle(), WM_NCACTIVATE, TRUE, 0);
    SendMessageW(f->WindowHandle(), WM_NCPAINT, 1, 0);
    const TsFrameGeometry g = p->Geometry();
    HitTest(f->WindowHandle(), Centre(g.Buttons[tbkClose]));
    HitTest(f->WindowHandle(), Centre(g.Buttons[tbkMin]));
    if (shown) PumpFor(60);  // a shown form's fades and glows run on timers: let them start
    delete f;
    Pump();
  };
  cycle();
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 200; ++i) cycle();
    shown = true;
    for (int i = 0; i < 3; ++i) cycle();
  }
  size_t live = 0;
  for (TzkProvider* p : *ProviderList()) live += p != nullptr;
  EXPECT_EQ(live, 1u) << "only the form that stays";
}

}  // namespace
