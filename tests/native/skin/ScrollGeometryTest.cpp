#include <gtest/gtest.h>

#include "skin/controls/zkSBUtilsGeometry.h"

namespace {

TzkScrollInfo Info(int32_t min, int32_t max, uint32_t page, int32_t pos) {
  TzkScrollInfo i;
  i.Min = min;
  i.Max = max;
  i.Page = page;
  i.Pos = pos;
  return i;
}

// A 200-pixel bar with 16-pixel buttons: track 168.
const TzkBarMetrics kBar{200, 16, 10};

}  // namespace

TEST(ScrollGeometry, ThumbLengthFollowsPageOverRange) {
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 50, 0)).Length, 84);  // half the track
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 999, 10, 0)).Length, 10);  // raised to the minimum
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 0, 0)).Length, 16);    // no page: a button long
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, -5, 3, 0)).Length, 0);     // negative range
  EXPECT_EQ(ThumbGeometry(kBar, Info(-2, 2147483647, 3, 0)).Length, 0);  // too large
}

TEST(ScrollGeometry, ThumbStartSpansTheTrack) {
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 50, 0)).Start, 16);
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 50, 50)).Start, 16 + 84);  // last position
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 50, 25)).Start, 16 + 42);
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 50, 500)).Start, 16 + 84);  // clamped
  EXPECT_EQ(ThumbGeometry(kBar, Info(10, 109, 50, 10)).Start, 16);     // minimum counts
  EXPECT_EQ(ThumbGeometry(kBar, Info(0, 99, 100, 0)).Start, 16);        // page covers all
}

TEST(ScrollGeometry, PartsAlongTheBar) {
  const TzkThumb t = ThumbGeometry(kBar, Info(0, 99, 50, 25));  // thumb 58..141
  EXPECT_EQ(PartAt(kBar, t, -1), bpNone);
  EXPECT_EQ(PartAt(kBar, t, 0), bpFirstArrow);
  EXPECT_EQ(PartAt(kBar, t, 15), bpFirstArrow);
  EXPECT_EQ(PartAt(kBar, t, 16), bpTrackBefore);
  EXPECT_EQ(PartAt(kBar, t, 57), bpTrackBefore);
  EXPECT_EQ(PartAt(kBar, t, 58), bpThumb);
  EXPECT_EQ(PartAt(kBar, t, 141), bpThumb);
  EXPECT_EQ(PartAt(kBar, t, 142), bpTrackAfter);
  EXPECT_EQ(PartAt(kBar, t, 184), bpSecondArrow);
  EXPECT_EQ(PartAt(kBar, t, 199), bpSecondArrow);
  EXPECT_EQ(PartAt(kBar, t, 200), bpNone);
}

TEST(ScrollGeometry, ShortBarHasTwoHalfArrowsAndNoThumb) {
  const TzkBarMetrics bar{25, 16, 10};
  const TzkThumb t = ThumbGeometry(bar, Info(0, 99, 10, 0));
  EXPECT_FALSE(HasThumb(bar, t));
  EXPECT_EQ(PartAt(bar, t, 11), bpFirstArrow);
  EXPECT_EQ(PartAt(bar, t, 12), bpNone);  // the middle pixel of an odd length
  EXPECT_EQ(PartAt(bar, t, 13), bpSecondArrow);
  // A page covering the whole range leaves no room for a thumb either.
  const TzkThumb full = ThumbGeometry(kBar, Info(0, 9, 10, 0));
  EXPECT_FALSE(HasThumb(kBar, full));
  EXPECT_EQ(PartAt(kBar, full, 100), bpNone);
}

TEST(ScrollGeometry, DraggedThumbGivesPositionsOfTheWholeRange) {
  const TzkScrollInfo info = Info(0, 99, 50, 0);
  const TzkThumb t = ThumbGeometry(kBar, info);
  EXPECT_EQ(DraggedThumbStart(kBar, t, 5, 10), 16);     // before the track
  EXPECT_EQ(DraggedThumbStart(kBar, t, 190, 10), 100);  // past it
  EXPECT_EQ(PositionOfThumb(kBar, t, info, 16), 0);
  EXPECT_EQ(PositionOfThumb(kBar, t, info, 100), 50);  // Max - Page + 1, as the platform
  EXPECT_EQ(PositionOfThumb(kBar, t, info, 58), 25);
  // Positions round-trip through the thumb's place.
  for (int pos = 0; pos <= 50; ++pos) {
    TzkScrollInfo at = info;
    at.Pos = pos;
    EXPECT_EQ(PositionOfThumb(kBar, t, info, ThumbGeometry(kBar, at).Start), pos) << pos;
  }
}

TEST(ScrollGeometry, LargeRangesKeepFullPositions) {
  const TzkScrollInfo info = Info(0, 1999999, 20, 0);
  const TzkThumb t = ThumbGeometry(kBar, info);
  const int end = 200 - 16 - t.Length;
  EXPECT_EQ(PositionOfThumb(kBar, t, info, end), 1999999 - 20 + 1);
  const int32_t middle = PositionOfThumb(kBar, t, info, 16 + (end - 16) / 2);
  EXPECT_GT(middle, 65535);
  EXPECT_NEAR(middle, 1000000, 1999980 / (end - 16));
  // Without a range the pixel offset itself is reported.
  EXPECT_EQ(PositionOfThumb(kBar, t, Info(0, 0, 0, 0), 40), 24);
}

TEST(ScrollGeometry, FrameLayoutPlacesBarsInsideTheBorders) {
  TzkFrameLayout f;
  f.Window = Rect(100, 50, 400, 250);
  f.Borders = Rect(2, 2, 2, 2);
  f.HorzShown = f.VertShown = true;
  f.HorzThickness = 17;
  f.VertThickness = 16;
  EXPECT_EQ(HorzBarRect(f), Rect(102, 231, 382, 248));
  EXPECT_EQ(VertBarRect(f), Rect(382, 52, 398, 231));
  EXPECT_EQ(SizeBoxRect(f), Rect(382, 231, 398, 248));
  f.LeftScroll = true;
  EXPECT_EQ(HorzBarRect(f), Rect(118, 231, 398, 248));
  EXPECT_EQ(VertBarRect(f), Rect(102, 52, 118, 231));
  f.HorzShown = false;
  EXPECT_TRUE(SizeBoxRect(f).IsEmpty());
  EXPECT_EQ(VertBarRect(f), Rect(102, 52, 118, 248));
}

TEST(ScrollGeometry, ClientGivesBarsTheirSpaceWhenItCan) {
  bool h = false, v = false;
  EXPECT_EQ(ClientWithBars(Rect(2, 2, 102, 52), true, true, false, 17, 16, h, v),
            Rect(2, 2, 86, 35));
  EXPECT_TRUE(h && v);
  EXPECT_EQ(ClientWithBars(Rect(2, 2, 102, 52), false, true, true, 17, 16, h, v),
            Rect(18, 2, 102, 52));
  EXPECT_FALSE(h);
  EXPECT_EQ(ClientWithBars(Rect(0, 0, 10, 10), true, true, false, 17, 16, h, v), Rect(0, 0, 10, 10));
  EXPECT_FALSE(h || v);
}
