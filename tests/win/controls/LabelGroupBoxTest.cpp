// Skinned labels and the skinned group box: text colours from the skin and their sources,
// the disabled text, the web label's fonts and opener, the group box's cached image with the
// parent's background in its caption strip, kept while a clock inside it ticks, and
// background requests answered by colour and by bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"

namespace {

class SkinnedLabels : public SkinnedForm {
 protected:
  TsGroupBox* AddGroupBox(TWinControl* parent, int left, int top, int w, int h) {
    auto* g = new TsGroupBox(form);
    g->SetParent(parent);
    g->SetBounds(left, top, w, h);
    g->SetCaption(L"Time");
    return g;
  }
  template <typename T>
  T* AddLabel(TWinControl* parent, const std::wstring& caption) {
    auto* l = new T(form);
    l->SetParent(parent);
    l->SetBounds(10, 30, 100, 16);
    l->SetCaption(caption);
    return l;
  }
  // The label painted alone into a bitmap filled with `fill`.
  static TzkBitmap PaintLabel(TControl* label, TColor fill) {
    TzkBitmap out = NewBitmap24(label->Width(), label->Height());
    out.Fill(uint32_t(RGBColor(GetBValue(fill), GetGValue(fill), GetRValue(fill))));
    TWindowDc screen(nullptr);
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), out.Width(), out.Height()));
    TBitmapDc dc(bitmap.Get(), screen.Get());
    TBrushHandle brush(CreateSolidBrush(COLORREF(fill)));
    const RECT all = {0, 0, out.Width(), out.Height()};
    FillRect(dc.Get(), &all, brush.Get());
    label->PaintTo(dc.Get());
    CopyDCToBitmap(out, dc.Get(), 0, 0);
    return out;
  }
};

TEST_F(SkinnedLabels, LabelsTakeTheSkinsTextColourUnlessTheyKeepTheirOwn) {
  TsGroupBox* box = AddGroupBox(form, 8, 8, 280, 120);
  auto* clock = AddLabel<TsLabel>(box, L"00:00:00");
  auto* own = AddLabel<TsLabel>(box, L"own");
  own->SetUseSkinColor(false);
  TFont f = own->Font();
  f.SetColor(RGBColor(1, 2, 3));
  own->SetFont(f);
  form->Show();
  Pump();
  // The group box is see-through and the form unskinned: the global font colour is used.
  EXPECT_EQ(LabelFontSection(box), -1);
  PaintLabel(clock, clWhite);
  PaintLabel(own, clWhite);
  EXPECT_EQ(clock->Font().Color(), Manager().GlobalFontColor());
  EXPECT_EQ(own->Font().Color(), RGBColor(1, 2, 3));
  // Removing the skin gives skin-coloured labels the window-text colour.
  Manager().SetActive(false);
  EXPECT_EQ(clock->Font().Color(), clWindowText);
  EXPECT_EQ(own->Font().Color(), RGBColor(1, 2, 3));
}

TEST_F(SkinnedLabels, DisabledSkinnedTextIsFortyPercentFontOverTheParentsColour) {
  // A skinned form takes the skin's colour when it is first activated; this one keeps white.
  form->SetTag(-98);
  form->SetColor(clWhite);
  auto* label = AddLabel<TsLabel>(form, L"WWWW");
  label->SetUseSkinColor(false);
  TFont f = label->Font();
  f.SetColor(clBlack);
  label->SetFont(f);
  label->SetEnabled(false);
  form->Show();
  Pump();
  const TzkBitmap painted = PaintLabel(label, clWhite);
  int grey = 0, black = 0;
  for (int y = 0; y < painted.Height(); ++y)
    for (int x = 0; x < painted.Width(); ++x) {
      const TColor c = PixelOf(painted, x, y);
      grey += c == RGBColor(153, 153, 153);
      black += c == clBlack;
    }
  EXPECT_GT(grey, 10);
  EXPECT_EQ(black, 0);
}

TEST_F(SkinnedLabels, WebLabelIsBlueDarkRedUnderThePointerAndOpensItsAddress) {
  TsGroupBox* box = AddGroupBox(form, 8, 8, 280, 120);
  auto* link = AddLabel<TsWebLabel>(box, L"link");
  std::vector<std::pair<std::wstring, int>> opened;
  TsWebLabel::SetUrlOpener([&opened](const std::wstring& url, int show) { opened.emplace_back(url, show); });
  form->Show();
  Pump();
  EXPECT_EQ(link->CurrentFont()->Color(), clBlue);  // the internal skin defines no TCBOTTOM
  link->Perform(CM_MOUSEENTER, 0, LPARAM(link));
  EXPECT_TRUE(link->MouseOver());
  EXPECT_EQ(link->CurrentFont()->Color(), RGBColor(190, 30, 30));  // the internal skin's TCTOP
  EXPECT_EQ(link->Cursor(), TCursor::crHandPoint);
  link->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);  // no address: nothing opens
  link->SetURL(L"https://example.org/");
  link->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  link->Perform(CM_MOUSELEAVE, 0, LPARAM(link));
  EXPECT_EQ(link->CurrentFont()->Color(), clBlue);
  TsWebLabel::SetUrlOpener(nullptr);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, L"https://example.org/");
  EXPECT_EQ(opened[0].second, SW_SHOWDEFAULT);
}

TEST_F(SkinnedLabels, GroupBoxCaptionStripShowsTheParentAndTheFrameIsTheSection) {
  TsGroupBox* box = AddGroupBox(form, 8, 8, 280, 120);
  form->Show();
  Pump();
  box->PrepareCache();
  const TzkBitmap& cache = *box->SkinData().CacheBmp;
  const TRect caption = box->CaptionRect();
  const TColor behind = ColorToRGB(form->Color());
  EXPECT_EQ(caption.Left, 6);
  EXPECT_EQ(PixelOf(cache, caption.Right + 20, 0), behind);
  EXPECT_EQ(PixelOf(cache, cache.Width() - 2, caption.Height() / 2 - 1), behind);
  // Below the caption the frame is the GROUPBOX section composed by the paint engine.
  const int y0 = caption.Height() / 2;
  TzkBitmap expected = NewBitmap24(box->Width(), box->Height());
  TsBackgroundInfo bg;
  bg.Color = behind;
  PaintSkinnedItem(&Tables(), box->SkinData().Look(), bg, clFuchsia, true, true, &expected,
                   TPoint(box->Left(), box->Top() + y0), TRect(0, y0, box->Width(), box->Height()), 0);
  int differing = 0;
  for (int y = caption.Bottom; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) differing += PixelOf(cache, x, y) != PixelOf(expected, x, y);
  EXPECT_EQ(differing, 0);
  // The window shows the cached image.
  const TzkBitmap printed = PrintWindowBitmap(box->Handle(), box->Width(), box->Height());
  EXPECT_EQ(DifferentPixels(printed, cache), 0);
  // An empty caption leaves the strip plain.
  box->SetCaption(L"");
  box->PrepareCache();
  for (int x = 0; x < 40; ++x) EXPECT_EQ(PixelOf(cache, x, 1), behind);
}

TEST_F(SkinnedLabels, GroupBoxCaptionRectangleFollowsItsLayout) {
  TsGroupBox* box = AddGroupBox(form, 8, 8, 60, 50);
  box->SetCaption(L"A caption much wider than the box");
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopCenter);
  EXPECT_EQ(box->CaptionRect().Left, 0);
  EXPECT_EQ(box->CaptionRect().Right, 60);
  box->SetCaption(L"Hi");
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopRight);
  EXPECT_EQ(box->CaptionRect().Right, 60 - 6);
  box->SetCaptionYOffset(-3);
  EXPECT_EQ(box->CaptionRect().Top, -3);
}

TEST_F(SkinnedLabels, BackgroundRequestsAreAnsweredByColourAndByBitmapWithOffsets) {
  TsGroupBox* outer = AddGroupBox(form, 8, 8, 280, 150);
  TsGroupBox* inner = AddGroupBox(outer, 12, 30, 200, 80);
  form->Show();
  Pump();
  // See-through group boxes pass the question on to the form, which answers with its colour.
  TsBackgroundRequest r;
  AskBackgroundOfControl(r, inner, false);
  EXPECT_EQ(r.BgType, btColor);
  EXPECT_EQ(r.Color, ColorToRGB(form->Color()));
  // With a caption section the outer box answers with its own image; the inner one passes
  // that on with its own position added.
  outer->SetCaptionSkin("PANEL");
  outer->PrepareCache();
  TsBackgroundRequest fromOuter;
  AskBackgroundOfControl(fromOuter, outer, false);
  EXPECT_EQ(fromOuter.BgType, btBitmap);
  EXPECT_EQ(fromOuter.Bitmap, outer->SkinData().CacheBmp.get());
  EXPECT_EQ(fromOuter.X, 0);
  TsBackgroundRequest throughInner;
  AskBackgroundOfControl(throughInner, inner, false);
  EXPECT_EQ(throughInner.BgType, btBitmap);
  EXPECT_EQ(throughInner.X, 12);
  EXPECT_EQ(throughInner.Y, 30);
  // Asked to draw, a colour answer fills the rectangle.
  TzkBitmap target = NewBitmap24(10, 10);
  DrawOnBitmap(target, [&](HDC dc) {
    TsBackgroundRequest draw;
    draw.DC = dc;
    draw.Rect = TRect(0, 0, 10, 10);
    outer->SetCaptionSkin("");
    AskBackgroundOfControl(draw, inner, true);
  });
  EXPECT_EQ(PixelOf(target, 5, 5), ColorToRGB(form->Color()));
}

TEST_F(SkinnedLabels, AClockTickingInsideTheGroupBoxRepaintsOnlyItsOwnAreaFromTheCache) {
  TsGroupBox* box = AddGroupBox(form, 8, 8, 280, 120);
  auto* clock = AddLabel<TsLabel>(box, L"00:00:00");
  form->Show();
  Pump();
  UpdateWindow(box->Handle());
  TsCommonData& d = box->SkinData();
  ASSERT_FALSE(d.BGChanged);
  TzkBitmap& cache = *d.CacheBmp;
  ASSERT_EQ(cache.Width(), 280);
  // A mark in the cached image, away from the clock: it stays unless the image is recomposed.
  const TColor fresh = PixelOf(cache, 270, 110);
  uint8_t* mark = cache.ScanLine(110) + 270 * 3;
  mark[0] = 1, mark[1] = 2, mark[2] = 3;

  clock->SetCaption(L"00:00:01");
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetUpdateRgn(box->Handle(), update, FALSE), ERROR);
  RECT bounds;
  GetRgnBox(update, &bounds);
  DeleteObject(update);
  EXPECT_EQ(FromRECT(bounds), clock->BoundsRect()) << "only the clock's own area is repainted";
  UpdateWindow(box->Handle());
  Pump();
  EXPECT_EQ(PixelOf(cache, 270, 110), RGBColor(3, 2, 1)) << "the group box was recomposed";
  EXPECT_FALSE(d.BGChanged);

  // The image as it is matches a fresh composition, and the box shows it with the clock over it.
  mark[0] = GetBValue(fresh), mark[1] = GetGValue(fresh), mark[2] = GetRValue(fresh);
  TzkBitmap kept = NewBitmap24(cache.Width(), cache.Height());
  CopyRect(kept, 0, 0, cache, TRect(0, 0, cache.Width(), cache.Height()));
  d.BGChanged = true;
  box->PrepareCache();
  EXPECT_EQ(DifferentPixels(kept, cache), 0);
  clock->SetCaption(L"00:00:02");
  Pump();
  const TzkBitmap printed = PrintWindowBitmap(box->Handle(), box->Width(), box->Height());
  EXPECT_EQ(DifferencesIn(printed, cache, TRect(0, 0, 280, 120), clock->BoundsRect()), 0);
  EXPECT_GT(DifferencesIn(printed, cache, clock->BoundsRect()), 0) << "the clock's text";
}

}  // namespace
