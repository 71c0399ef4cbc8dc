// The skinned list view in a shown form: header looks through mouse messages, row colours
// from the application's custom draw, border and bars from the skin, scrolling by the bars.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListView.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/windows/zkEditWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

class ListViewSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_ = std::make_unique<TsSkinManager>(nullptr);
    skin_->InternalSkins().push_back(InternalStoredSkin());
    skin_->SetSkinName("Quarn (internal)");
    ASSERT_TRUE(skin_->SkinData().Active);
    form_ = Application->CreateForm<TForm>();
    form_->SetBounds(30, 30, 520, 360);
    list_ = new TsListView(form_);
    list_->SkinData().SetSkinManager(skin_.get());
    list_->SkinData().SetSkinSection("EDIT");
    list_->SetBounds(8, 8, 480, 260);
    list_->SetRowSelect(true);
    list_->AddColumn(L"Name", 200);
    list_->AddColumn(L"Start", 120);
    list_->OnCustomDrawItem = [this](TObject*, TListItem* item, TCustomDrawState, bool&) {
      list_->Canvas().Brush().SetColor(item->Index() % 2 ? TColor(0x0000FF) : TColor(0x00FF00));
    };
    list_->SetParent(form_);
    form_->Show();
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
  }
  void TearDown() override {
    delete form_;
    Pump();
    skin_.reset();
  }
  void AddRows(int n) {
    list_->BeginUpdate();
    for (int i = 0; i < n; ++i) {
      TListItem* it = list_->AddItem();
      it->SetCaption(L"task " + std::to_wstring(i));
      it->AddSubItem(L"12:00");
    }
    list_->EndUpdate();
    Pump();
  }
  // The screen pixel at a point of the header's client area.
  COLORREF HeaderPixel(int x, int y) {
    POINT p{x, y};
    ClientToScreen(list_->HeaderWindow(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
  }
  // True when the header shows the section as RenderHeaderSection draws it in `state`.
  bool HeaderShows(int position, int state) {
    UpdateWindow(list_->HeaderWindow());
    LetPaintReachScreen();
    const TRect r = list_->SectionRect(position);
    TzkBitmap want;
    list_->RenderHeaderSection(position, r, state, want);
    if (want.Empty()) return false;
    for (int y = 1; y < r.Height() - 1; y += 3)
      for (int x = 1; x < r.Width() - 1; x += 5) {
        const uint8_t* p = want.ScanLine(y) + x * 3;
        if (HeaderPixel(r.Left + x, r.Top + y) != RGB(p[2], p[1], p[0])) return false;
      }
    return true;
  }
  std::unique_ptr<TsSkinManager> skin_;
  TForm* form_ = nullptr;
  TsListView* list_ = nullptr;
};

TEST_F(ListViewSkin, HeaderHotAndPressedThroughMouseMessages) {
  HWND header = list_->HeaderWindow();
  ASSERT_NE(header, nullptr);
  ASSERT_NE(list_->ScrollAdapter(), nullptr);
  EXPECT_TRUE(HeaderShows(0, 0));
  EXPECT_TRUE(HeaderShows(1, 0));
  // The empty space right of the last column is a skinned section too.
  RECT hc;
  GetClientRect(header, &hc);
  TzkBitmap empty;
  list_->RenderHeaderSection(-1, Rect(320, 0, hc.right, hc.bottom), 0, empty);
  const uint8_t* e = empty.ScanLine(hc.bottom / 2) + 40 * 3;
  EXPECT_EQ(HeaderPixel(360, hc.bottom / 2), RGB(e[2], e[1], e[0]));

  const TRect second = list_->SectionRect(1);
  POINT at{second.Left + 30, second.Top + second.Height() / 2};
  POINT screen = at;
  ClientToScreen(header, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(header, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(list_->HotSection(), 1);
  EXPECT_TRUE(HeaderShows(1, 1));
  EXPECT_TRUE(HeaderShows(0, 0));

  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(list_->PressedSection(), 1);
  EXPECT_TRUE(HeaderShows(1, 2));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(list_->PressedSection(), -1);
  // A press on the divider presses nothing.
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.Left, at.y));
  EXPECT_EQ(list_->PressedSection(), -1);
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(second.Left, at.y));
  ReleaseCapture();

  // Without column clicks there is no hot tracking.
  list_->SetColumnClick(false);
  SendMessageW(list_->HeaderWindow(), WM_MOUSELEAVE, 0, 0);
  SendMessageW(list_->HeaderWindow(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(list_->HotSection(), -2);
}

TEST_F(ListViewSkin, RowColoursComeFromTheApplicationsCustomDraw) {
  AddRows(4);
  RECT row{};
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(ListView_GetItemRect(list_->Handle(), i, &row, LVIR_BOUNDS));
    POINT p{row.left + 250, (row.top + row.bottom) / 2};  // in the second column's empty part
    ClientToScreen(list_->Handle(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(c, i % 2 ? RGB(255, 0, 0) : RGB(0, 255, 0)) << i;
  }
}

TEST_F(ListViewSkin, BorderComesFromTheCachedSectionLook) {
  auto* a = list_->ScrollAdapter();
  ASSERT_NE(a, nullptr);
  RedrawWindow(list_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 480);
  ASSERT_EQ(cache.Height(), 260);
  // The same section composed directly over the form's colour.
  const TsSkinTables& t = skin_->Tables();
  TzkBitmap want = NewBitmap24(480, 260);
  TsBackgroundInfo bg;
  bg.Color = ColorToRGB(form_->Color());
  const int state = GetFocus() == list_->Handle() ? 1 : 0;  // hot while focused
  PaintSkinnedItem(&t, SectionLook(t, t.IndexOfSection("EDIT")), bg, clFuchsia, false, true, &want,
                   {0, 0}, Rect(0, 0, 480, 260), state);
  int differ = 0;
  for (int y : {0, 1, 130, 258, 259})
    for (int x = 0; x < 480; x += 7)
      differ += memcmp(cache.ScanLine(y) + x * 3, want.ScanLine(y) + x * 3, 3) != 0;
  EXPECT_EQ(differ, 0);
  // And on the screen, the frame's pixels are the cache's.
  RECT wr;
  GetWindowRect(list_->Handle(), &wr);
  HDC screen = GetDC(nullptr);
  for (int x : {3, 100, 400}) {
    const uint8_t* p = cache.ScanLine(0) + x * 3;
    EXPECT_EQ(GetPixel(screen, wr.left + x, wr.top), RGB(p[2], p[1], p[0])) << x;
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(ListViewSkin, ThumbDragAndWheelScrollTheList) {
  AddRows(60);
  auto* a = list_->ScrollAdapter();
  ASSERT_NE(a, nullptr);
  a->RefreshBars(true);
  ASSERT_TRUE(a->VertBar().Shown);
  const TRect v = a->BarRect(SB_VERT);
  const TzkBarMetrics m = a->VertBar().Metrics(v, a->Skin().Tables());
  const TzkThumb t = ThumbGeometry(m, a->VertBar().Info);
  const int x = v.Left + v.Width() / 2;
  SendMessageW(list_->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, v.Top + t.Start + 2));
  POINT p{x, v.Bottom + 40};
  ScreenToClient(list_->Handle(), &p);
  SendMessageW(list_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(list_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  const int perPage = ListView_GetCountPerPage(list_->Handle());
  EXPECT_EQ(ListView_GetTopIndex(list_->Handle()), 60 - perPage);
  // The wheel scrolls back up, and the bar follows.
  SendMessageW(list_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 20), MAKELPARAM(x, v.Top + 5));
  EXPECT_EQ(ListView_GetTopIndex(list_->Handle()), 0);
  EXPECT_EQ(a->VertBar().Info.Pos, 0);
}

// The capture goes elsewhere during a thumb drag (Alt+Tab, a modal window): the drag ends,
// and the pointer's moves are the list's own again instead of moving the thumb.
TEST_F(ListViewSkin, ALostCaptureEndsAThumbDragAndTheListGetsItsMouseMoves) {
  AddRows(60);
  auto* a = list_->ScrollAdapter();
  ASSERT_NE(a, nullptr);
  a->RefreshBars(true);
  const TRect v = a->BarRect(SB_VERT);
  const TzkThumb t = ThumbGeometry(a->VertBar().Metrics(v, a->Skin().Tables()), a->VertBar().Info);
  const int x = v.Left + v.Width() / 2;
  SendMessageW(list_->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, v.Top + t.Start + 2));
  ASSERT_TRUE(a->ThumbDragging());
  SetCapture(form_->Handle());
  EXPECT_FALSE(a->ThumbDragging());
  ReleaseCapture();
  int moves = 0;
  list_->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
  POINT p{x, v.Bottom + 40};
  ScreenToClient(list_->Handle(), &p);
  SendMessageW(list_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  list_->OnMouseMove = nullptr;
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(ListView_GetTopIndex(list_->Handle()), 0) << "the list did not scroll";
}

TEST_F(ListViewSkin, RemovingTheSkinGivesTheWindowBack) {
  HWND wnd = list_->Handle();
  ASSERT_NE(TzkMainWnd::FromWindow(wnd), nullptr);
  const int freedTooEarly = TzkMainWnd::DestroyedWhileReceiving();
  // The command passes through the adapter, whose window lets go of it meanwhile.
  SendMessageW(wnd, SM_ORVEXCMD, MakeCommandWParam(zcSkinRemove), LPARAM(skin_.get()));
  EXPECT_EQ(TzkMainWnd::DestroyedWhileReceiving(), freedTooEarly) << "freed inside its own procedure";
  EXPECT_EQ(list_->ScrollAdapter(), nullptr);
  EXPECT_EQ(TzkMainWnd::FromWindow(wnd), nullptr);
  EXPECT_EQ(list_->Color(), clWindow);
}

// The section composed directly by the section painter, as the header paints it without text.
TzkBitmap PlainSection(const TsSkinTables& t, TColor color, int w, int h, int state) {
  TzkBitmap out = NewBitmap24(w, h);
  PaintSectionByName(out, "COLHEADER", "BUTTON", nullptr, color, Rect(0, 0, w, h), &t, state);
  return out;
}

// How many of the pixels of `area` (header coordinates, relative to the section at `at`) the
// screen shows differently from `want`.
int DifferentOnScreen(HWND header, const TRect& at, const TzkBitmap& want, const TRect& area) {
  HDC screen = GetDC(nullptr);
  int differ = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      POINT p{at.Left + x, at.Top + y};
      ClientToScreen(header, &p);
      const uint8_t* w = want.ScanLine(y) + x * 3;
      differ += GetPixel(screen, p.x, p.y) != RGB(w[2], w[1], w[0]);
    }
  ReleaseDC(nullptr, screen);
  return differ;
}

TEST_F(ListViewSkin, HeaderFollowsTheRealPointer) {
  HWND header = list_->HeaderWindow();
  ASSERT_NE(header, nullptr);
  const TsSkinTables& t = skin_->Tables();
  const TRect second = list_->SectionRect(1);
  // The right end of the section holds no text: there it is the section itself.
  const TRect blank = Rect(second.Width() - 40, 2, second.Width() - 4, second.Height() - 2);
  const auto shows = [&](int state) {
    UpdateWindow(header);
    LetPaintReachScreen();
    const TzkBitmap want = PlainSection(t, ColorToRGB(list_->Color()), second.Width(), second.Height(), state);
    return DifferentOnScreen(header, second, want, blank) == 0;
  };
  // The pointer starts away from the form, whatever an earlier test left hot.
  MovePointerTo(POINT{2, 2});
  SendMessageW(header, WM_MOUSELEAVE, 0, 0);
  Pump();
  ASSERT_TRUE(shows(0));
  ASSERT_FALSE(shows(1)) << "the hot look must differ from the normal one";
  POINT over{second.Left + second.Width() / 2, second.Height() / 2};
  ClientToScreen(header, &over);
  MovePointerTo(over);
  EXPECT_EQ(list_->HotSection(), 1) << "the pointer moved over the second section";
  EXPECT_TRUE(shows(1));
  // Into the rows: the header is normal again.
  RECT client;
  GetClientRect(list_->Handle(), &client);
  POINT rows{client.right / 2, client.bottom / 2};
  ClientToScreen(list_->Handle(), &rows);
  MovePointerTo(rows);
  EXPECT_EQ(list_->HotSection(), -2);
  EXPECT_TRUE(shows(0));
}

TEST_F(ListViewSkin, SortedColumnsShowTheScrollButtonGlyphRightOfTheirText) {
  HWND header = list_->HeaderWindow();
  const TsSkinTables& t = skin_->Tables();
  const int up = t.CachedIndexes.ScrollTop.GlyphIndex, down = t.CachedIndexes.ScrollBottom.GlyphIndex;
  ASSERT_TRUE(t.IsValidMask(up));
  ASSERT_TRUE(t.IsValidMask(down));
  const TRect first = list_->SectionRect(0);
  HDC dc = GetDC(header);
  HGDIOBJ old = SelectObject(dc, list_->Font().Handle());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Name", 4, &text);
  SelectObject(dc, old);
  ReleaseDC(header, dc);
  // Left-justified: the text rectangle starts 4 pixels in and is the text's width plus 6.
  const int x = 4 + text.cx + 6 + 6;
  const auto sortAndCompare = [&](int format, int glyph) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING | format;
    Header_SetItem(header, 0, &item);
    UpdateWindow(header);
    LetPaintReachScreen();
    TzkBitmap want = PlainSection(t, ColorToRGB(list_->Color()), first.Width(), first.Height(), 0);
    const int gw = t.FrameWidth(glyph), gh = t.FrameHeight(glyph);
    const TzkBitmap plain = want.Clone();
    TsBackgroundInfo self;
    self.Bitmap = &plain;
    self.IsBitmap = true;
    PaintGlyphMask(want, {x, (first.Height() - 2 - gh) / 2}, 0, self, t.Masks[size_t(glyph)], false);
    const TRect glyphArea = Rect(x, 0, x + gw, first.Height());
    EXPECT_GT(DifferentOnScreen(header, first, plain, glyphArea), 0) << "an arrow is shown";
    return DifferentOnScreen(header, first, want, glyphArea);
  };
  EXPECT_EQ(sortAndCompare(HDF_SORTUP, up), 0);
  EXPECT_EQ(sortAndCompare(HDF_SORTDOWN, down), 0);
  EXPECT_EQ(sortAndCompare(HDF_SORTUP | HDF_SORTDOWN, down), 0) << "sort-down wins";
}

TEST_F(ListViewSkin, TheBoundLabelSitsAboveTheListAndFollowsItsPlaceVisibilityAndEnabling) {
  TsBoundLabel& bound = list_->BoundLabel();
  bound.SetCaption(L"Задачи");
  bound.SetLayout(TsCaptionLayout::sclTopLeft);
  bound.SetIndent(2);
  bound.SetActive(true);
  TsEditLabel* label = bound.Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), L"Задачи");
  EXPECT_EQ(label->Left(), 8);
  EXPECT_EQ(label->Top(), 8 - label->Height() - 2);
  list_->SetBounds(20, 60, 460, 200);
  EXPECT_EQ(label->Left(), 20);
  EXPECT_EQ(label->Top(), 60 - label->Height() - 2);
  SetWindowPos(list_->Handle(), nullptr, 30, 70, 450, 190, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(label->Left(), 30) << "moved by the platform";
  EXPECT_EQ(label->Top(), 70 - label->Height() - 2);
  list_->Hide();
  EXPECT_FALSE(label->Visible());
  list_->Show();
  EXPECT_TRUE(label->Visible());
  list_->SetEnabled(false);
  EXPECT_FALSE(label->Enabled()) << "a disabled list has a disabled label";
  list_->SetEnabled(true);
  EXPECT_TRUE(label->Enabled());
  // Without the skin the label still goes with the list.
  SendMessageW(list_->Handle(), SM_ORVEXCMD, MakeCommandWParam(zcSkinRemove), LPARAM(skin_.get()));
  list_->SetBounds(40, 80, 440, 180);
  EXPECT_EQ(label->Left(), 40);
  list_->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  list_->Hide();
  EXPECT_FALSE(label->Visible());
}

// With a gradient in its section the list answers a child's background request with its
// cached image, which is the section composed where the list lies in the form; before each
// paint its colour is the skin's again.
TEST_F(ListViewSkin, TheBackgroundOfAGradientListIsItsComposedSection) {
  TsSkinTables& t = skin_->LoadedTables();
  const int index = t.IndexOfSection("EDIT");
  TsGeneralData& edit = t.Sections[size_t(index)];
  edit.GradientPercent = 100;
  edit.GradientArray = {{RGBColor(255, 0, 0), RGBColor(0, 0, 255), 100, 0}};
  SendMessageW(list_->Handle(), SM_ORVEXCMD, MakeCommandWParam(zcSkinRefresh), LPARAM(skin_.get()));
  UpdateWindow(list_->Handle());
  Pump();
  TsBackgroundRequest r;
  SendMessageW(list_->Handle(), SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), LPARAM(&r));
  ASSERT_EQ(r.BgType, btBitmap);
  ASSERT_NE(r.Bitmap, nullptr);
  ASSERT_EQ(r.Bitmap->Width(), 480);
  ASSERT_EQ(r.Bitmap->Height(), 260);
  TzkBitmap want = NewBitmap24(480, 260);
  TsBackgroundInfo bg;
  bg.Color = ColorToRGB(form_->Color());
  PaintSkinnedItem(&t, SectionLook(t, index), bg, clFuchsia, true, false, &want, {8, 8},
                   Rect(0, 0, 480, 260), 0);
  EXPECT_EQ(DifferentPixels(*r.Bitmap, want), 0);

  list_->SetColor(clRed);
  RedrawWindow(list_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(list_->Color(), list_->SkinData().EffectiveColor(0));
}

// A printed list shows its header as the screen does.
TEST_F(ListViewSkin, PrintingTheListKeepsItsHeader) {
  ASSERT_NE(list_->ScrollAdapter(), nullptr);
  HWND header = list_->HeaderWindow();
  RECT wr, hr;
  GetWindowRect(list_->Handle(), &wr);
  GetWindowRect(header, &hr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  TzkBitmap printed = NewDeviceBitmap24(w, h);
  DrawOnBitmap(printed, [&](HDC dc) {
    SendMessageW(list_->Handle(), WM_PRINT, WPARAM(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  });
  const TRect second = list_->SectionRect(1);
  TzkBitmap want;
  list_->RenderHeaderSection(1, second, 0, want);
  ASSERT_FALSE(want.Empty());
  int differ = 0;
  for (int y = 2; y < second.Height() - 2; y += 2)
    for (int x = second.Width() - 40; x < second.Width() - 4; x += 3)
      differ += PixelOf(printed, hr.left - wr.left + second.Left + x, hr.top - wr.top + y) != PixelOf(want, x, y);
  EXPECT_EQ(differ, 0);
}

}  // namespace
