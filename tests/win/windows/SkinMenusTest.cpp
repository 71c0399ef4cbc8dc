// Skinned popup menus through real menus: which items get the painter's handlers and lose
// them again, item sizes, item pixels against the sections composed directly, the menu
// windows' adapters, regions and caches while menus open and close, and the objects left
// after many rounds.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/controls/sEdit.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSystemMenu.h"
#include "skin/windows/zkMnuWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

// Steps run one after another while a menu's modal loop runs; then every open menu closes.
struct TMenuScript {
  static void Run(const std::function<void()>& open, std::vector<std::function<void()>> steps,
                  UINT interval = 40) {
    TModalScript::Run(open, std::move(steps), [] { EndMenu(); }, interval);
  }
};

HWND OpenMenuWindow(size_t index = 0) {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND w, LPARAM l) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof(name));
        if (std::string(name) == "#32768" && IsWindowVisible(w))
          reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  for (const auto& a : MenuWnds())
    if (index-- == 0) return a->Handle();
  return found.empty() ? nullptr : found.front();
}

void PressKey(WPARAM key) {
  HWND menu = OpenMenuWindow(MenuWnds().empty() ? 0 : MenuWnds().size() - 1);
  PostMessageW(menu, WM_KEYDOWN, key, 0);
  PostMessageW(menu, WM_KEYUP, key, 0);
}

class SkinMenus : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    form = Keep(Application->CreateForm<TFramedTestForm>());
    form->SetBounds(120, 120, 320, 240);
    menu = new TPopupMenu(form);
    auto add = [&](TMenuItem* parent, const wchar_t* caption) {
      auto* item = new TMenuItem(form);
      item->SetCaption(caption);
      parent->Add(item);
      item->OnClick = [this, item](TObject*) { clicked = item; };
      return item;
    };
    priority = add(menu->Items(), L"Приоритет");
    for (const wchar_t* c : {L"Обычный", L"Средний", L"Высокий"}) add(priority, c);
    line = add(menu->Items(), L"-");
    group = add(menu->Items(), L"-Group-");
    disabled = add(menu->Items(), L"Disabled");
    disabled->SetEnabled(false);
    checked = add(menu->Items(), L"Checked");
    checked->SetChecked(true);
    plain = add(menu->Items(), L"Plain");
    painter = SkinableMenusOf(manager.get());
    ASSERT_NE(painter, nullptr);
    painter->SetActive(true);  // the menu came after the skin
  }
  void TearDown() override {
    ReleaseMenuWindows();
    TsSkinableMenus::FreeAllCaches();
    SkinnedFormsFixture::TearDown();
  }
  // The item drawn by the painter into a bitmap of its own, as a menu would draw it.
  TzkBitmap DrawnItem(TMenuItem* item, int width, int height, TOwnerDrawState state) {
    TzkBitmap out(width, height);
    DrawOnBitmap(out, [&](HDC dc) {
      TCanvas canvas(dc);
      painter->DrawItem(item, canvas, TRect(0, 0, width, height), state);
    });
    return out;
  }
  TSize Measured(TMenuItem* item) {
    TWindowDc screen(nullptr);
    TCanvas canvas(screen.Get());
    int w = 0, h = 0;
    painter->MeasureItem(item, canvas, w, h);
    return TSize(w, h);
  }
  int TextUnit() {
    TWindowDc screen(nullptr);
    const LOGFONTW lf = TsSkinableMenus::MenuFontFor(plain);
    TFontHandle font(CreateFontIndirectW(&lf));
    TSelectObject selected(screen.Get(), font.Get());
    return TsSkinableMenus::TextUnitOf(screen.Get());
  }
  void Popup() { menu->Popup(200, 200); }

  TFramedTestForm* form = nullptr;
  TPopupMenu* menu = nullptr;
  TsSkinableMenus* painter = nullptr;
  TMenuItem *priority, *line, *group, *disabled, *checked, *plain;
  TMenuItem* clicked = nullptr;
};

TEST_F(SkinMenus, HandlersComeAndGoButAnItemsOwnStay) {
  TMenuItem* own = new TMenuItem(form);
  own->SetCaption(L"Own");
  int ownMeasures = 0;
  own->OnMeasureItem = [&](TObject*, TCanvas&, int&, int&) { ++ownMeasures; };
  menu->Items()->Add(own);
  painter->SetActive(true);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_FALSE(menu->Animated());
  for (TMenuItem* i : {priority, priority->Items(2), line, plain})
    EXPECT_TRUE(TsSkinableMenus::HasPainterHandlers(i));
  EXPECT_FALSE(TsSkinableMenus::HasPainterHandlers(own));

  painter->SetActive(false);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_TRUE(menu->Animated());
  EXPECT_FALSE(TsSkinableMenus::HasPainterHandlers(plain));
  EXPECT_FALSE(plain->OnAdvancedDrawItem);
  ASSERT_TRUE(own->OnMeasureItem);
  TWindowDc screen(nullptr);
  TCanvas canvas(screen.Get());
  int w = 0, h = 0;
  own->MeasureItem(canvas, w, h);
  EXPECT_EQ(ownMeasures, 1);

  // Without skinned popups nothing is owner-drawn.
  painter->SetActive(true);
  manager->SetSkinnedPopups(false);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(TsSkinableMenus::HasPainterHandlers(plain));
  manager->SetSkinnedPopups(true);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(TsSkinableMenus::HasPainterHandlers(plain));
}

TEST_F(SkinMenus, ItemsMeasureByKindWithTheDefaultImageSize) {
  const int t = TextUnit();
  EXPECT_EQ(Measured(plain).cy, std::max(t, 16) + 4);
  EXPECT_EQ(Measured(priority).cy, std::max(t, 16) + 4);
  EXPECT_EQ(Measured(line).cy, 2);
  EXPECT_EQ(Measured(group).cy, t + 4);
  // The caption starts 26 pixels in: the width is 2 x 16 + text + 3 x 2 + 6.
  const int plainWidth = Measured(plain).cx;
  EXPECT_GT(plainWidth, 32 + 12);

  // The extra line counts only while it is used, and never for a "SkinSelectItem" menu.
  int events = 0;
  manager->OnGetMenuExtraLineData = [&](TObject*, std::string&, std::wstring& caption, TBitmap*&,
                                        bool& visible) {
    ++events;
    caption = L"&Line";
    visible = true;
  };
  painter->SetActive(false);
  painter->SetActive(true);  // forgets what it asked
  EXPECT_EQ(Measured(plain).cx, plainWidth);
  manager->MenuSupport().UseExtraLine = true;
  EXPECT_EQ(Measured(plain).cx, plainWidth + manager->MenuSupport().ExtraLineWidth);
  EXPECT_EQ(events, 1);  // asked once per menu
  menu->Items()->Items(0)->SetName(L"SkinSelectItem");
  painter->SetActive(false);
  painter->SetActive(true);
  EXPECT_EQ(Measured(plain).cx, plainWidth);
  EXPECT_EQ(events, 1);
  manager->MenuSupport().UseExtraLine = false;
}

TEST_F(SkinMenus, ItemPixelsAreTheSectionsOverTheMenuBackground) {
  const int h = 22, w = 140;
  for (TMenuItem* i : {priority, line, group, disabled, checked, plain}) Measured(i);
  const TzkBitmap normal = DrawnItem(plain, w, h, 0);
  const TzkBitmap hot = DrawnItem(plain, w, h, odSelected);
  const TzkMenuCache* cache = TsSkinableMenus::CacheOf(priority);
  // Without a window: the measured menu size, grown to hold the item drawn.
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->Bitmap.Width(), std::max(painter->MenuSizeOf(priority).cx, 3 + w + 3));
  EXPECT_GE(cache->Bitmap.Height(), 3 + h + 3);

  // Normal and hot: MENUITEM in its state over the cached background (offset by the
  // platform's 3-pixel frame), compared away from the caption.
  const TsSkinTables& t = manager->Tables();
  const int section = t.IndexOfSection("MENUITEM");
  for (int state : {0, 1}) {
    TzkBitmap expected(w, h);
    CopyRect(expected, 0, 0, cache->Bitmap, TRect(3, 3, 3 + w, 3 + h));
    TsBackgroundInfo bg;
    bg.Bitmap = &cache->Bitmap;
    bg.IsBitmap = true;
    bg.X = bg.Y = 3;
    PaintSectionByIndex(section, "MENUITEM", bg, -1, -1, &t, &expected, TPoint(), TRect(0, 0, w, h),
                        state, true);
    const TRect captionArea(20, 0, w, h);
    EXPECT_EQ(DifferencesIn(state ? hot : normal, expected, TRect(0, 0, w, h), captionArea), 0)
        << "state " << state;
  }
  EXPECT_GT(DifferencesIn(normal, hot, TRect(0, 0, w, h)), w * h / 2);

  // Disabled: the enabled look kept at 60 % over the background.
  plain->SetEnabled(false);
  const TzkBitmap grey = DrawnItem(plain, w, h, 0);
  plain->SetEnabled(true);
  TzkBitmap blended(w, h);
  CopyRect(blended, 0, 0, normal, TRect(0, 0, w, h));
  BlendRectAt(blended, cache->Bitmap, PercentToWeight(60), TRect(3, 3, 3 + w, 3 + h), TPoint());
  EXPECT_LE(ChannelDistance(grey, blended), 1);
  EXPECT_GT(DifferentPixels(grey, normal), 20);

  // Checked: the check glyph left of the caption; the rest as unchecked.
  const TzkBitmap tick = DrawnItem(checked, w, h, 0);
  const TzkBitmap untick = [&] {
    checked->SetChecked(false);
    TzkBitmap b = DrawnItem(checked, w, h, 0);
    checked->SetChecked(true);
    return b;
  }();
  EXPECT_GT(DifferencesIn(tick, untick, TRect(0, 0, 20, h)), 10);
  EXPECT_EQ(DifferencesIn(tick, untick, TRect(20, 0, w, h)), 0);
}

TEST_F(SkinMenus, ACaptionItemShowsTheWordAloneOnTheToolbarLook) {
  const int h = 20, w = 160;
  const TzkBitmap item = DrawnItem(group, w, h, 0);
  // The inked columns are as wide as "Group" in the caption font, not "-Group-".
  TWindowDc screen(nullptr);
  TSelectObject selected(screen.Get(), painter->CaptionFont.Handle());
  SIZE word = {}, dashed = {};
  GetTextExtentPoint32W(screen.Get(), L"Group", 5, &word);
  GetTextExtentPoint32W(screen.Get(), L"-Group-", 7, &dashed);
  const TColor ground = PixelOf(item, 4, h / 2);
  int first = w, last = -1;
  for (int x = 2; x < w - 2; ++x)
    for (int y = 2; y < h - 2; ++y)
      if (PixelOf(item, x, y) != PixelOf(item, 4, y)) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  ASSERT_GE(last, first);
  EXPECT_LE(last - first + 1, word.cx + 1);
  EXPECT_LT(last - first + 1, dashed.cx - 2);
  EXPECT_NEAR((first + last) / 2, w / 2, 2);
  EXPECT_NE(ground, PixelOf(TsSkinableMenus::CacheOf(priority)->Bitmap, 7, 7));
}

TEST_F(SkinMenus, OpenMenusGetAdaptersRegionsAndCachesThatGoWithThem) {
  struct Seen {
    size_t adapters = 0;
    bool adapted = false, regionCut = false, cached = false;
    size_t withSubmenu = 0, cachesWithSubmenu = 0;
    bool parentRebuilt = false;
    size_t afterSubmenu = 0;
  } seen;
  TMenuScript::Run([&] { Popup(); },
                   {[&] {
                      HWND w = OpenMenuWindow();
                      seen.adapters = MenuWnds().size();
                      seen.adapted = TzkMainWnd::FromWindow(w) != nullptr;
                      UpdateWindow(w);
                      seen.cached = TsSkinableMenus::CacheOfWindow(w) != nullptr;
                      TRegionHandle r(CreateRectRgn(0, 0, 0, 0));
                      const int kind = GetWindowRgn(w, r.Get());
                      const bool cornersCut = painter->Corners().empty() ? kind == ERROR
                                                                         : kind != ERROR;
                      bool cornerOut = true;
                      for (const TRect& c : painter->Corners())
                        cornerOut = cornerOut && !PtInRegion(r.Get(), c.Left, c.Top);
                      seen.regionCut = cornersCut && cornerOut;
                    },
                    [&] { PressKey(VK_DOWN); },
                    [&] { PressKey(VK_RIGHT); },
                    [&] {
                      seen.withSubmenu = MenuWnds().size();
                      for (const auto& a : MenuWnds()) UpdateWindow(a->Handle());
                      seen.cachesWithSubmenu = TsSkinableMenus::CacheCount();
                    },
                    [&] { PressKey(VK_ESCAPE); },
                    [&] {
                      seen.afterSubmenu = MenuWnds().size();
                      // The parent lost its background with the submenu and painted anew.
                      seen.parentRebuilt = TsSkinableMenus::CacheOf(priority) != nullptr;
                    }});
  EXPECT_EQ(seen.adapters, 1u);
  EXPECT_TRUE(seen.adapted);
  EXPECT_TRUE(seen.cached);
  EXPECT_TRUE(seen.regionCut);
  EXPECT_EQ(seen.withSubmenu, 2u);
  EXPECT_EQ(seen.cachesWithSubmenu, 2u);
  EXPECT_EQ(seen.afterSubmenu, 1u);
  EXPECT_TRUE(seen.parentRebuilt);
  Pump();
  EXPECT_TRUE(MenuWnds().empty());
  EXPECT_EQ(TsSkinableMenus::CacheCount(), 0u);
  EXPECT_FALSE(TsSkinableMenus::MenuShown);
}

// Counts the paints menu windows finish and whether each window had its region by then.
struct TMenuPaintWatch {
  static TMenuPaintWatch*& Current() {
    static TMenuPaintWatch* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK After(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_PAINT && TsSkinableMenus::IsMenuWindow(m->hwnd)) {
      TRegionHandle r(CreateRectRgn(0, 0, 0, 0));
      if (++Current()->paints == 1) Current()->regionAtFirstPaint = GetWindowRgn(m->hwnd, r.Get()) != ERROR;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  TMenuPaintWatch() : hook(SetWindowsHookExW(WH_CALLWNDPROCRET, &After, nullptr, GetCurrentThreadId())) {
    Current() = this;
  }
  ~TMenuPaintWatch() {
    UnhookWindowsHookEx(hook);
    Current() = nullptr;
  }
  HHOOK hook;
  int paints = 0;
  bool regionAtFirstPaint = false;
};

TEST_F(SkinMenus, AMenuHasItsRegionAtItsFirstPaintAndPaintsOnce) {
  int paints = 0;
  bool region = false;
  {
    TMenuPaintWatch watch;
    TMenuScript::Run([&] { Popup(); }, {[&] {
                       paints = watch.paints;
                       region = watch.regionAtFirstPaint;
                     }});
  }
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(region, !painter->Corners().empty());
}

// A closed menu's background serves the next menu of the same look, and never one of another
// skin.
TEST_F(SkinMenus, AClosedMenusBackgroundServesTheNextOpeningUntilTheSkinChanges) {
  TsSkinableMenus::ForgetSpareBackgrounds();
  auto background = [&] {
    TzkBitmap copy;
    TMenuScript::Run([&] { Popup(); }, {[&] {
                       const TzkMenuCache* c = TsSkinableMenus::CacheOfWindow(OpenMenuWindow());
                       if (!c) return;
                       copy = TzkBitmap(c->Bitmap.Width(), c->Bitmap.Height());
                       CopyRect(copy, 0, 0, c->Bitmap, TRect(0, 0, copy.Width(), copy.Height()));
                     }});
    Pump();
    return copy;
  };
  const TzkBitmap first = background();
  ASSERT_FALSE(first.Empty());
  EXPECT_EQ(TsSkinableMenus::SpareBackgroundCount(), 1u);
  const TzkBitmap second = background();
  EXPECT_EQ(DifferentPixels(first, second), 0);
  EXPECT_EQ(TsSkinableMenus::SpareBackgroundCount(), 1u);  // taken, then kept again
  painter->SkinChanged();
  EXPECT_EQ(TsSkinableMenus::SpareBackgroundCount(), 0u);
}

TEST_F(SkinMenus, TheComposedMenuShowsNoPlatformPixels) {
  TzkBitmap printed;
  TzkBitmap background;
  TMenuScript::Run([&] { Popup(); }, {[&] {
                     HWND w = OpenMenuWindow();
                     auto* a = dynamic_cast<TzkMnuWnd*>(TzkMainWnd::FromWindow(w));
                     ASSERT_NE(a, nullptr);
                     RECT r;
                     GetClientRect(w, &r);
                     printed = TzkBitmap(r.right, r.bottom);
                     DrawOnBitmap(printed, [&](HDC dc) { a->PaintTo(dc); });
                     const TzkMenuCache* c = TsSkinableMenus::CacheOfWindow(w);
                     ASSERT_NE(c, nullptr);
                     background = TzkBitmap(c->Bitmap.Width(), c->Bitmap.Height());
                     CopyRect(background, 0, 0, c->Bitmap, TRect(0, 0, background.Width(), background.Height()));
                   }});
  ASSERT_FALSE(printed.Empty());
  // The frame and the corners are the skin's, wherever the platform drew its own.
  const TRect client = TRect(0, 0, printed.Width(), printed.Height());
  EXPECT_EQ(DifferencesIn(printed, background, TRect(0, 0, client.Right, 3)), 0);
  EXPECT_EQ(DifferencesIn(printed, background, TRect(0, 0, 3, client.Bottom)), 0);
  EXPECT_EQ(DifferencesIn(printed, background, TRect(0, client.Bottom - 3, client.Right, client.Bottom)), 0);
  // No pixel of the platform's menu colour where the background has none.
  const TColor platform = ColorToRGB(clMenu);
  int stray = 0;
  for (int y = 0; y < printed.Height(); ++y)
    for (int x = 0; x < printed.Width(); ++x)
      stray += PixelOf(printed, x, y) == platform && PixelOf(background, x, y) != platform;
  EXPECT_EQ(stray, 0);
}

TEST_F(SkinMenus, ChoosingAnItemByKeyboardRunsIt) {
  TMenuScript::Run([&] { Popup(); }, {[&] { PressKey(VK_DOWN); }, [&] { PressKey(VK_RIGHT); },
                                      [&] { PressKey(VK_DOWN); }, [&] { PressKey(VK_RETURN); }});
  Pump();
  EXPECT_EQ(clicked, priority->Items(1));
}

TEST_F(SkinMenus, WithoutSkinnedPopupsMenusStayThePlatforms) {
  manager->SetSkinnedPopups(false);
  bool adapted = true;
  size_t adapters = 1;
  TMenuScript::Run([&] { Popup(); }, {[&] {
                     adapted = TzkMainWnd::FromWindow(OpenMenuWindow()) != nullptr;
                     adapters = MenuWnds().size();
                   }});
  EXPECT_FALSE(adapted);
  EXPECT_EQ(adapters, 0u);
  EXPECT_FALSE(menu->OwnerDraw());
}

// The platform edit's own context menu (Undo, Cut, Copy, Paste ...) opened on a skinned edit.
class EditContextMenu : public SkinMenus {
 protected:
  void SetUp() override {
    SkinMenus::SetUp();
    edit = new TsEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 24);
    ShowAndActivate(form);
    SetWindowTextW(edit->Handle(), L"alpha beta");
    SendMessageW(edit->Handle(), EM_SETSEL, 0, 0);
    SetFocus(edit->Handle());
  }
  void OpenContextMenu() {
    RECT r;
    GetWindowRect(edit->Handle(), &r);
    SendMessageW(edit->Handle(), WM_CONTEXTMENU, WPARAM(edit->Handle()), MAKELPARAM(r.left + 20, r.top + 10));
  }
  TsEdit* edit = nullptr;
};

TEST_F(EditContextMenu, IsDrawnByThePainterAndItsChoiceReachesTheEdit) {
  struct Seen {
    bool adapted = false, standIns = true, composed = false;
    int items = 0;
    size_t adopted = 0;
  } seen;
  TMenuScript::Run([&] { OpenContextMenu(); },
                   {[&] {
                      HWND w = OpenMenuWindow();
                      auto* a = dynamic_cast<TzkMnuWnd*>(TzkMainWnd::FromWindow(w));
                      seen.adapted = a != nullptr;
                      HMENU menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
                      seen.items = GetMenuItemCount(menu);
                      for (int i = 0; i < seen.items; ++i) {
                        TMenuItem* item = TMenuItem::FromMenu(menu, i);
                        seen.standIns = seen.standIns && item && TsSkinableMenus::HasPainterHandlers(item);
                      }
                      seen.adopted = painter->AdoptedMenuCount();
                      seen.composed = TsSkinableMenus::CacheOfWindow(w) != nullptr;
                    },
                    // The last item, "Select All", then Enter.
                    [&] { PressKey(VK_UP); },
                    [&] { PressKey(VK_RETURN); }});
  Pump();
  EXPECT_TRUE(seen.adapted);
  EXPECT_GT(seen.items, 3);
  EXPECT_TRUE(seen.standIns);
  EXPECT_EQ(seen.adopted, 1u);
  EXPECT_TRUE(seen.composed);
  // The edit ran the command it chose: the whole text is selected.
  DWORD from = 1, to = 0;
  SendMessageW(edit->Handle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, DWORD(GetWindowTextLengthW(edit->Handle())));
  EXPECT_TRUE(MenuWnds().empty());
  EXPECT_EQ(painter->AdoptedMenuCount(), 0u);
}

TEST_F(EditContextMenu, StaysThePlatformsWithoutSkinnedPopups) {
  manager->SetSkinnedPopups(false);
  bool standIn = true;
  TMenuScript::Run([&] { OpenContextMenu(); }, {[&] {
                     HWND w = OpenMenuWindow();
                     HMENU menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
                     standIn = TMenuItem::FromMenu(menu, 0) != nullptr;
                   }});
  EXPECT_FALSE(standIn);
  EXPECT_EQ(painter->AdoptedMenuCount(), 0u);
}

TEST_F(EditContextMenu, ManyRoundsLeaveNoObjects) {
  auto round = [&] { TMenuScript::Run([&] { OpenContextMenu(); }, {[] {}}, 10); };
  round();
  Pump();
  {
    TLeakCheck leaks(8);
    for (int i = 0; i < 100; ++i) round();
    Pump();
  }
  EXPECT_EQ(painter->AdoptedMenuCount(), 0u);
}

TEST_F(SkinMenus, ManyRoundsOfMenusAndSystemMenusLeaveNoObjects) {
  ShowAndActivate(form);
  TsSkinProvider* p = ProviderOf(form);
  ASSERT_NE(p, nullptr);
  auto round = [&] {
    TMenuScript::Run([&] { Popup(); }, {[&] { PressKey(VK_DOWN); }, [&] { PressKey(VK_RIGHT); }},
                     10);
    TMenuScript::Run([&] { p->SystemMenu()->ShowAt(150, 150); }, {[] {}}, 10);
  };
  round();  // first-use caches of the platform
  Pump();
  {
    TLeakCheck leaks(8);
    for (int i = 0; i < 200; ++i) round();
    Pump();
  }
  EXPECT_TRUE(MenuWnds().empty());
}

}  // namespace
