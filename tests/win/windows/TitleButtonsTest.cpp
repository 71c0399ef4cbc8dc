// The title bar beyond the standard buttons, through real window messages: the glow around a
// hot button's overlay, the application's own title buttons and their hints, the main menu's
// line in the frame, and the switch of the platform's frame animations under desktop
// composition.
#include <windows.h>

#include <memory>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkDials.h"
#include "skin/paint/zkGlowImage.h"
#include "skin/windows/zkGlowEffect.h"
#include "skin/windows/zkHintWindow.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Menu.h"

namespace {

class TButtonsForm : public TFramedTestForm {
 public:
  explicit TButtonsForm(TComponent* owner) : TFramedTestForm(owner, L"Title buttons") {}
  const wchar_t* ClassName() const override { return L"TButtonsForm"; }
};

class TitleBar : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    ASSERT_TRUE(manager->SkinData().Active);
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    delete form;
    ReleaseManager(manager);
  }
  // The form is built, given its extras by `prepare`, shown and activated (the hook skins it).
  template <typename Prepare>
  TsSkinProvider* Show(Prepare prepare, int width = 420) {
    form = Application->CreateForm<TButtonsForm>();
    form->SetBounds(90, 90, width, 220);
    prepare(*form);
    ShowAndActivate(form);
    return ProviderOf(form);
  }
  LPARAM ScreenPoint(TPoint p) const {
    RECT r;
    GetWindowRect(form->WindowHandle(), &r);
    return MAKELPARAM(r.left + p.X, r.top + p.Y);
  }
  LRESULT HitTest(TPoint p) const { return SendMessageW(form->WindowHandle(), WM_NCHITTEST, 0, ScreenPoint(p)); }
  static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  // The part of the frame cache under r.
  static TzkBitmap CacheRect(TsSkinProvider& p, const TRect& r) {
    TzkBitmap b = NewBitmap24(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(p.FrameCache()->ScanLine(r.Top + y) + r.Left * 3, r.Width() * 3, b.ScanLine(y));
    return b;
  }
  // The title background under r with the skin's glyph of that name in a state drawn over it
  // by the paint engine.
  TzkBitmap ComposedGlyph(TsSkinProvider& p, const char* key, const TRect& r, int state) const {
    TzkBitmap b = NewBitmap24(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(p.TitleBand()->ScanLine(r.Top + y) + r.Left * 3, r.Width() * 3, b.ScanLine(y));
    const TsSkinTables& t = manager->Tables();
    const int mask = t.IndexOfMask(t.IndexOfSection("GLOBALINFO"), "GLOBALINFO", key);
    EXPECT_GE(mask, 0) << key;
    if (mask < 0) return b;
    TsBackgroundInfo bg;
    bg.Bitmap = &b;
    bg.IsBitmap = true;
    PaintGlyphMask(b, TPoint{0, 0}, state, bg, t.Masks[size_t(mask)], true);
    return b;
  }

  std::unique_ptr<TsSkinManager> manager;
  TButtonsForm* form = nullptr;
};

// [SECTION] Glow

TEST_F(TitleBar, AHotButtonWithAGlowImageShowsItsOverlayInsideTheGlow) {
  TsSkinProvider* p = Show([](TForm&) {});
  ASSERT_NE(p, nullptr);
  const TsFrameGeometry g = p->Geometry();
  const TRect button = g.Buttons[tbkClose];
  int margin = 0;
  const TsMaskData* glow = p->GlowMaskOf(tbkClose, margin);
  ASSERT_NE(glow, nullptr) << "the internal skin has BICONCLOSEGLOW0";
  EXPECT_EQ(margin, manager->SkinData().CloseGlowMargin);
  ASSERT_GT(margin, 0);
  const TzkBitmap halo = GlowImageFrame(*glow);
  // The skin's halos are the button plus the margin on every side.
  EXPECT_EQ(halo.Width(), button.Width() + 2 * margin);
  EXPECT_EQ(halo.Height(), button.Height() + 2 * margin);

  ASSERT_EQ(HitTest(Centre(button)), HTCLOSE);
  TzkSBAnimation* a = p->Button(tbkClose).Animation.get();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->OverlayRect(), TRect(button.Left - margin, button.Top - margin, button.Left - margin + halo.Width(),
                                    button.Top - margin + halo.Height()));
  // Inside: the hot button, opaque; around it: the glow's own pixels, premultiplied.
  const TzkBitmap* image = a->OverlayImage();
  ASSERT_NE(image, nullptr);
  const TzkBitmap hot = ComposedGlyph(*p, "BICONCLOSE", button, kButtonHot);
  int wrong = 0;
  for (int y = 0; y < button.Height(); ++y)
    for (int x = 0; x < button.Width(); ++x) {
      const uint8_t* o = image->ScanLine(margin + y) + (margin + x) * 4;
      const uint8_t* h = hot.ScanLine(y) + x * 3;
      wrong += o[0] != h[0] || o[1] != h[1] || o[2] != h[2] || o[3] != 255;
    }
  EXPECT_EQ(wrong, 0);
  for (int x = 0; x < halo.Width(); ++x) {
    const uint8_t* o = image->ScanLine(margin / 2) + x * 4;
    const uint8_t* s = halo.ScanLine(margin / 2) + x * 4;
    ASSERT_EQ(o[3], s[3]) << x;
    EXPECT_EQ(o[2], (s[2] * s[3] + 127) / 255) << x;
  }

  // Pressed: no glow, the overlay is the button itself.
  SendMessageW(form->WindowHandle(), WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(Centre(button)));
  EXPECT_EQ(a->OverlayRect(), button);
  ReleaseCapture();
}

// [SECTION] Custom title buttons

TEST_F(TitleBar, CustomButtonsAreLaidOutPaintedAndClicked) {
  std::vector<std::tuple<int, bool>> events;  // index, down
  TsSkinProvider* p = Show([&](TForm&) {});
  ASSERT_NE(p, nullptr);
  TsTitleButtons& buttons = p->TitleButtons();
  TsTitleButton& plain = buttons.Add();
  TsTitleButton& pictured = buttons.Add();
  TsTitleButton& hidden = buttons.Add();
  TsTitleButton& disabled = buttons.Add();
  hidden.SetVisible(false);
  disabled.SetEnabled(false);
  // A 6 x 6 picture: red square on a key colour taken from its bottom-left pixel.
  pictured.Glyph.SetSize(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) pictured.Glyph.ScanLine(y)[x] = (x > 0 && x < 5 && y > 0 && y < 5) ? 0xFF0000 : 0x00FF00;
  pictured.Changed();
  for (TsTitleButton* b : {&plain, &pictured}) {
    b->OnMouseDown = [&events, b](TObject* s, TMouseButton, TShiftState, int, int) {
      events.emplace_back(static_cast<TsTitleButton*>(s)->Index(), true);
    };
    b->OnMouseUp = [&events, b](TObject*, TMouseButton, TShiftState, int, int) { events.emplace_back(b->Index(), false); };
  }
  const TsFrameGeometry g = p->Geometry();
  const TsSkinData& d = manager->SkinData();
  ASSERT_EQ(g.Custom.size(), 4u);
  EXPECT_FALSE(g.CustomShown[2]);
  // Left of minimize after the 8-pixel gap, each one BISPACE further.
  EXPECT_EQ(g.Custom[0].Right, g.Buttons[tbkMin].Left - d.TitleButtonSpacing - 8);
  EXPECT_EQ(g.Custom[1].Right, g.Custom[0].Left - d.TitleButtonSpacing);
  EXPECT_EQ(g.Custom[3].Right, g.Custom[1].Left - d.TitleButtonSpacing);
  EXPECT_EQ(g.Custom[0].Top, g.Buttons[tbkClose].Top);
  EXPECT_LT(g.Caption.Right, g.Custom[3].Left);

  // Painted: the skin's "TITLEBUTTON" glyph, the own picture centred over it.
  p->RenderCache();
  const TRect r1 = g.Custom[1];
  TzkBitmap expected = ComposedGlyph(*p, "TITLEBUTTON", g.Custom[0], kButtonNormal);
  EXPECT_EQ(DifferentPixels(CacheRect(*p, g.Custom[0]), expected), 0);
  const TzkBitmap shown = CacheRect(*p, r1);
  const int gx = (r1.Width() - 6) / 2, gy = (r1.Height() - 6) / 2;
  EXPECT_EQ(PixelOf(shown, gx + 2, gy + 2), TColor(0x0000FF)) << "the red square";
  EXPECT_NE(PixelOf(shown, gx, gy), TColor(0x00FF00)) << "the key colour is transparent";

  // Hit codes 1000 + index; the disabled one is caption.
  EXPECT_EQ(HitTest(Centre(g.Custom[0])), 1000);
  EXPECT_EQ(p->Button(kTitleButtonCount).State, kButtonHot);
  EXPECT_EQ(HitTest(Centre(r1)), 1001);
  EXPECT_EQ(p->Button(kTitleButtonCount).State, kButtonNormal);
  EXPECT_EQ(HitTest(Centre(g.Custom[3])), HTCAPTION);

  // Pressed and released through the non-client messages.
  HWND wnd = form->WindowHandle();
  HitTest(Centre(r1));
  SendMessageW(wnd, WM_NCLBUTTONDOWN, 1001, ScreenPoint(Centre(r1)));
  EXPECT_EQ(p->Button(kTitleButtonCount + 1).State, kButtonPressed);
  SendMessageW(wnd, WM_NCLBUTTONUP, 1001, ScreenPoint(Centre(r1)));
  EXPECT_EQ(p->Button(kTitleButtonCount + 1).State, kButtonNormal);
  EXPECT_EQ(p->HotButtonCode(), 0);
  EXPECT_EQ(events, (std::vector<std::tuple<int, bool>>{{1, true}, {1, false}}));

  // Deleting renumbers the hit codes.
  buttons.Delete(0);
  EXPECT_EQ(pictured.Record.HitCode, 1000);
  EXPECT_EQ(HitTest(Centre(p->Geometry().Custom[0])), 1000);
}

// [SECTION] Hints

class TitleHints : public TitleBar {
 protected:
  // The pointer is moved to a point of the form (window coordinates) as the user would.
  void PointAt(TPoint p) {
    RECT r;
    GetWindowRect(form->WindowHandle(), &r);
    MovePointerTo(POINT{r.left + p.X, r.top + p.Y});
  }
  // The hover time is over.
  static void HoverTimeOver(TzkHintWindow& hint) {
    SendMessageW(hint.Handle(), WM_TIMER, TzkHintWindow::kShowTimer, 0);
  }
  // The "HINT" section over the hint's whole picture with the text in its font colour, as the
  // paint engine composes them.
  TzkBitmap ComposedHint(const TzkHintWindow& hint) const {
    const TsSkinTables& t = manager->Tables();
    const int section = t.IndexOfSection("HINT");
    TzkBitmap b = NewDeviceBitmap24(hint.Image().Width(), hint.Image().Height());
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(t.Sections[size_t(section)].Color);
    PaintSectionByIndex(section, "HINT", bg, -1, -1, &t, &b, TPoint{0, 0}, TRect(0, 0, b.Width(), b.Height()), 0, true);
    const TFontHandle font = TzkHintWindow::MessageFont(kDesignDpi);
    DrawOnBitmap(b, [&](HDC dc) {
      TSelectObject f(dc, font.Get());
      PaintSectionText(dc, hint.Text(), true, &t, false, section, TzkHintWindow::kTextFormat, hint.TextRect());
    });
    return b;
  }
  TsTitleButton* hinted = nullptr;
  TsTitleButton* silent = nullptr;
  TsSkinProvider* ShowWithButtons() {
    TsSkinProvider* p = Show([](TForm&) {});
    if (!p) return nullptr;
    hinted = &p->TitleButtons().Add();
    hinted->Hint = L"Отправить отчёт";
    silent = &p->TitleButtons().Add();
    return p;
  }
};

TEST_F(TitleHints, AHintedButtonShowsItsHintBelowThePointerDrawnByTheSkin) {
  TsSkinProvider* p = ShowWithButtons();
  ASSERT_NE(p, nullptr);
  TzkHintWindow& hint = p->TitleHint();
  const TsFrameGeometry g = p->Geometry();
  const TPoint over = Centre(g.Custom[0]);
  PointAt(over);
  ASSERT_EQ(p->HotButtonCode(), 1000);
  EXPECT_TRUE(hint.Waiting());
  EXPECT_FALSE(hint.Showing()) << "not before the hover time";
  HoverTimeOver(hint);
  ASSERT_TRUE(hint.Showing());
  EXPECT_EQ(hint.Text(), L"Отправить отчёт");
  EXPECT_EQ(GetForegroundWindow(), form->WindowHandle()) << "the hint takes no activation";
  EXPECT_EQ(p->HotButtonCode(), 1000) << "the button stays hot under its hint";

  // Just below the pointer, the size of its picture.
  POINT cursor;
  GetCursorPos(&cursor);
  RECT r;
  GetWindowRect(hint.Handle(), &r);
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_GT(r.top, cursor.y);
  EXPECT_LT(r.top, cursor.y + GetSystemMetrics(SM_CYCURSOR));
  EXPECT_EQ(r.right - r.left, hint.Image().Width());
  EXPECT_EQ(r.bottom - r.top, hint.Image().Height());

  // Its pixels are the skin's "HINT" section with the text in the section's font colour.
  const TzkBitmap shown = PrintWindowBitmap(hint.Handle(), r.right - r.left, r.bottom - r.top);
  const TzkBitmap expected = ComposedHint(hint);
  EXPECT_EQ(DifferentPixels(shown, expected), 0);
  const TColor ink = ColorToRGB(manager->Tables().Sections[size_t(manager->Tables().IndexOfSection("HINT"))].FontColor.Color);
  int inked = 0;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) inked += PixelOf(shown, x, y) == ink;
  EXPECT_GT(inked, 20) << "the text is written";

  // The pointer leaves the button for the caption: the hint goes.
  PointAt(TPoint{g.Width / 3, g.TitleBand() / 2});
  EXPECT_EQ(p->HotButtonCode(), 0);
  EXPECT_FALSE(hint.Showing());
  EXPECT_FALSE(hint.Waiting());

  // A button without a hint shows none.
  PointAt(Centre(g.Custom[1]));
  EXPECT_EQ(p->HotButtonCode(), 1001);
  EXPECT_FALSE(hint.Waiting());
  HoverTimeOver(hint);
  EXPECT_FALSE(hint.Showing());
}

TEST_F(TitleHints, TheHintGoesOnPressDeactivationMoveTimeOutAndDestruction) {
  TsSkinProvider* p = ShowWithButtons();
  ASSERT_NE(p, nullptr);
  TzkHintWindow& hint = p->TitleHint();
  HWND wnd = form->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  const TPoint over = Centre(g.Custom[0]);
  const TPoint away{g.Width / 3, g.TitleBand() / 2};
  auto showHint = [&] {
    PointAt(away);
    PointAt(over);
    HoverTimeOver(hint);
    return hint.Showing();
  };

  ASSERT_TRUE(showHint());
  SendMessageW(wnd, WM_NCLBUTTONDOWN, 1000, ScreenPoint(over));
  EXPECT_FALSE(hint.Showing()) << "pressed";
  HoverTimeOver(hint);
  EXPECT_FALSE(hint.Showing()) << "nothing waits while pressing";
  SendMessageW(wnd, WM_NCLBUTTONUP, 1000, ScreenPoint(over));

  ASSERT_TRUE(showHint());
  SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(hint.Showing()) << "deactivated";
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);

  ASSERT_TRUE(showHint());
  form->SetBounds(form->Left() + 7, form->Top(), form->Width(), form->Height());
  EXPECT_FALSE(hint.Showing()) << "moved";

  ASSERT_TRUE(showHint());
  SendMessageW(hint.Handle(), WM_TIMER, TzkHintWindow::kHideTimer, 0);
  EXPECT_FALSE(hint.Showing()) << "timed out";
  EXPECT_EQ(p->HotButtonCode(), 1000) << "the button is still hot";

  ASSERT_TRUE(showHint());
  HWND popup = hint.Handle();
  delete form;
  form = nullptr;
  Pump();
  EXPECT_FALSE(IsWindow(popup)) << "destroyed with the form";
}

TEST_F(TitleHints, StandardButtonsHaveHintsOnlyWithTheExtendedBorder) {
  TsSkinProvider* p = Show([](TForm&) {});
  ASSERT_NE(p, nullptr);
  PointAt(Centre(p->Geometry().Buttons[tbkClose]));
  ASSERT_EQ(p->HotButtonCode(), HTCLOSE);
  EXPECT_FALSE(p->TitleHint().Waiting());
  delete form;
  form = nullptr;
  Pump();

  manager.reset();
  manager = MakeDefaultSkinManager([](TsSkinManager& m) { m.SetExtendedBorders(true); });
  ASSERT_TRUE(manager->ExtendedBorders());
  p = Show([](TForm&) {});
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->ExtBorder(), nullptr);
  const TsFrameGeometry g = p->Geometry();
  PointAt(TPoint{g.Width / 3, g.TitleBand() / 2});
  PointAt(Centre(g.Buttons[tbkClose]));
  ASSERT_EQ(p->HotButtonCode(), HTCLOSE);
  EXPECT_EQ(p->TitleHint().Text(), L"Close");
  HoverTimeOver(p->TitleHint());
  EXPECT_TRUE(p->TitleHint().Showing());
  PointAt(Centre(g.Buttons[tbkMin]));
  ASSERT_EQ(p->HotButtonCode(), HTMINBUTTON);
  EXPECT_FALSE(p->TitleHint().Showing());
  EXPECT_EQ(p->TitleHint().Text(), L"Minimize");
}

TEST_F(TitleHints, WithoutASkinTheHintHasThePlatformLookAndStaysOnTheWorkArea) {
  TzkHintWindow hint([]() -> TsSkinManager* { return nullptr; });
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetCursorPos(work.right - 3, work.bottom - 3);
  hint.Arm(L"Plain");
  ASSERT_TRUE(hint.Waiting());
  HoverTimeOver(hint);
  ASSERT_TRUE(hint.Showing());
  const TzkBitmap& image = hint.Image();
  EXPECT_EQ(PixelOf(image, 0, 0), TColor(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(PixelOf(image, 1, 1), TColor(GetSysColor(COLOR_INFOBK)));
  RECT r;
  GetWindowRect(hint.Handle(), &r);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom - 3) << "above the pointer when there is no room below";
  hint.Arm(L"");
  EXPECT_FALSE(hint.Showing());
  EXPECT_FALSE(hint.Waiting());
}

TEST_F(TitleHints, ShowingAndHidingLeavesNoObjectsBehind) {
  TsSkinProvider* p = ShowWithButtons();
  ASSERT_NE(p, nullptr);
  TzkHintWindow& hint = p->TitleHint();
  const TsFrameGeometry g = p->Geometry();
  HWND wnd = form->WindowHandle();
  const LPARAM over = ScreenPoint(Centre(g.Custom[0]));
  const LPARAM away = ScreenPoint(TPoint{g.Width / 3, g.TitleBand() / 2});
  manager->SetAllowGlowing(false);
  auto round = [&] {
    SendMessageW(wnd, WM_NCHITTEST, 0, over);
    HoverTimeOver(hint);
    SendMessageW(wnd, WM_NCHITTEST, 0, away);
  };
  round();
  ASSERT_EQ(p->HotButtonCode(), 0);
  {
    TLeakCheck noLeaks;
    int shown = 0;
    for (int i = 0; i < 200; ++i) {
      SendMessageW(wnd, WM_NCHITTEST, 0, over);
      HoverTimeOver(hint);
      shown += hint.Showing();
      SendMessageW(wnd, WM_NCHITTEST, 0, away);
    }
    EXPECT_EQ(shown, 200);
    EXPECT_FALSE(hint.Showing());
  }
}

// [SECTION] Main menu line

struct TMenuFixture {
  TMainMenu* menu = nullptr;
  TMenuItem* file = nullptr;
  TMenuItem* help = nullptr;
  int helpClicks = 0;
  int openClicks = 0;

  void Build(TForm& f) {
    menu = new TMainMenu(&f);
    file = new TMenuItem(&f);
    file->SetCaption(L"Файл");
    auto* open = new TMenuItem(&f);
    open->SetCaption(L"Открыть");
    open->OnClick = [this](TObject*) { ++openClicks; };
    file->Add(open);
    help = new TMenuItem(&f);
    help->SetCaption(L"Справка");
    help->OnClick = [this](TObject*) { ++helpClicks; };
    menu->Items()->Add(file);
    menu->Items()->Add(help);
    f.SetMenu(menu);
  }
};

TEST_F(TitleBar, TheMenuLineIsPaintedAnswersHtMenuAndOpensItsItems) {
  TMenuFixture m;
  TsSkinProvider* p = Show([&](TForm& f) { m.Build(f); });
  ASSERT_NE(p, nullptr);
  const TsFrameGeometry g = p->Geometry();
  EXPECT_EQ(g.MenuLines, 1);
  EXPECT_EQ(g.MenuLineHeight, GetSystemMetrics(SM_CYMENU) - 1);
  EXPECT_EQ(g.MenuLine.Top, g.TitleBand());
  EXPECT_EQ(g.MenuLine.Bottom, g.Client.Top);
  ASSERT_EQ(g.MenuItems.size(), 2u);
  EXPECT_EQ(g.MenuItems[0].Left, g.W);
  EXPECT_EQ(g.MenuItems[1].Left, g.MenuItems[0].Right);

  // Right of the items the cache shows the "MENULINE" section as the painter composes it.
  p->RenderCache();
  const TsSkinTables& t = manager->Tables();
  TzkBitmap line = NewBitmap24(g.MenuLine.Width(), g.MenuLine.Height());
  TsBackgroundInfo bg;
  bg.Color = manager->Tables().Sections[size_t(t.IndexOfSection("FORM"))].HotColor;
  PaintSectionByIndex(t.IndexOfSection("MENULINE"), "MENULINE", bg, -1, -1, &t, &line, TPoint{0, 0},
                      TRect(0, 0, line.Width(), line.Height()), 0, true);
  const TRect free(g.MenuItems[1].Right + 1, g.MenuLine.Top, g.MenuLine.Right, g.MenuLine.Bottom);
  TzkBitmap expected = NewBitmap24(free.Width(), free.Height());
  for (int y = 0; y < free.Height(); ++y)
    std::copy_n(line.ScanLine(y) + (free.Left - g.MenuLine.Left) * 3, free.Width() * 3, expected.ScanLine(y));
  EXPECT_EQ(DifferentPixels(CacheRect(*p, free), expected), 0);
  // The items' captions are written in the section's font colour.
  const TzkBitmap item = CacheRect(*p, g.MenuItems[1]);
  int text = 0;
  for (int y = 0; y < item.Height(); ++y)
    for (int x = 0; x < item.Width(); ++x) text += PixelOf(item, x, y) != PixelOf(item, 0, 0);
  EXPECT_GT(text, 10);

  EXPECT_EQ(HitTest(Centre(g.MenuItems[0])), HTMENU);
  EXPECT_EQ(HitTest(TPoint{g.Width - g.W - 3, g.MenuLine.Top + 2}), HTMENU);
  EXPECT_EQ(HitTest(TPoint{g.Width / 2, g.TitleBand() - 2}), HTCAPTION);
  HWND wnd = form->WindowHandle();

  // An item without sub-items is clicked at once.
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPoint(Centre(g.MenuItems[1])));
  EXPECT_EQ(m.helpClicks, 1);
  // One with sub-items opens them below itself, drawn open meanwhile; a timer closes it.
  static int openItem = -2;
  static bool menuShown = false;
  static TsSkinProvider* provider;
  provider = p;
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    openItem = provider->OpenMenuItem();
    menuShown = FindWindowW(L"#32768", nullptr) != nullptr;
    EndMenu();
  });
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPoint(Centre(g.MenuItems[0])));
  KillTimer(nullptr, timer);
  EXPECT_EQ(openItem, 0);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(p->OpenMenuItem(), -1);
  // A command of the menu bar reaches its item.
  SendMessageW(wnd, WM_COMMAND, m.file->Items(0)->Command(), 0);
  EXPECT_EQ(m.openClicks, 1);
}

TEST_F(TitleBar, NoObjectsAreLeftAfterFormsWithMenusAndCustomButtons) {
  auto cycle = [&] {
    TMenuFixture m;
    auto* f = Application->CreateForm<TButtonsForm>();
    f->SetBounds(100, 100, 300, 200);
    m.Build(*f);
    ClassifyWindow(f->Handle());
    TsSkinProvider* p = ProviderOf(f);
    ASSERT_NE(p, nullptr);
    p->TitleButtons().Add().Glyph.SetSize(8, 8);
    SendMessageW(f->WindowHandle(), WM_NCACTIVATE, TRUE, 0);
    SendMessageW(f->WindowHandle(), WM_NCPAINT, 1, 0);
    delete f;
    Pump();
  };
  manager->SetAllowGlowing(false);
  cycle();
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 100; ++i) cycle();
  }
}

// [SECTION] Composition

std::vector<std::tuple<HWND, DWORD, BOOL>> dwmCalls;  // window, attribute, value

class TitleBarComposed : public TitleBar {
 protected:
  void SetUp() override {
    saved = DwmApi();
    DwmApi().MajorVersion = 6;
    DwmApi().IsCompositionEnabled = [](BOOL* on) -> HRESULT {
      *on = TRUE;
      return S_OK;
    };
    DwmApi().SetWindowAttribute = [](HWND wnd, DWORD attribute, const void* value, DWORD size) -> HRESULT {
      if (size == sizeof(BOOL)) dwmCalls.emplace_back(wnd, attribute, *static_cast<const BOOL*>(value));
      return S_OK;
    };
    dwmCalls.clear();
    TitleBar::SetUp();
  }
  void TearDown() override {
    TitleBar::TearDown();
    DwmApi() = saved;
  }
  TzkDwmApi saved;
};

TEST_F(TitleBarComposed, FrameAnimationsAreOffWhileSkinnedAndBackOnWhenTheSkinGoes) {
  EXPECT_TRUE(CompositionEnabled());
  TsSkinProvider* p = Show([](TForm&) {});
  ASSERT_NE(p, nullptr);
  HWND wnd = form->WindowHandle();
  ASSERT_FALSE(dwmCalls.empty());
  EXPECT_EQ(dwmCalls.back(), std::make_tuple(wnd, DWORD(3), TRUE));
  // The form shows its skinned frame.
  EXPECT_NE(p->FrameCache(), nullptr);
  EXPECT_TRUE(IsWindowVisible(wnd));
  dwmCalls.clear();
  manager->SetActive(false);
  ASSERT_FALSE(dwmCalls.empty());
  EXPECT_EQ(dwmCalls.back(), std::make_tuple(wnd, DWORD(3), FALSE));
}

}  // namespace
