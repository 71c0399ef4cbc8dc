// Geometry of the skinned scroll bars, free of the platform: where the bars lie in a window's
// frame, how long the thumb is and where it sits, which part of a bar lies under a point, and
// which position a dragged thumb stands for. Painting, hit-testing and dragging all take
// their numbers from these functions, so what is drawn is what is hit.
//
// Lengths run along the bar (width of a horizontal bar, height of a vertical one); offsets
// are measured from the bar's start.
#pragma once

#include <cstdint>

#include "skin/paint/zkTypes.h"

// Parts of a bar; the same numbers are the scroll codes sent to the window.
enum TzkBarPart : int {
  bpNone = -1,
  bpFirstArrow = 0,   // left / up: line back
  bpSecondArrow = 1,  // right / down: line forward
  bpTrackBefore = 2,  // page back
  bpTrackAfter = 3,   // page forward
  bpThumb = 5,
};
// Scroll codes beyond the parts.
constexpr int kScrollThumbPosition = 4;
constexpr int kScrollThumbTrack = 5;
constexpr int kScrollEnd = 8;

// The largest range for which a thumb is computed.
constexpr int64_t kMaxThumbRange = 2147483646;

// A bar's scroll information as the window reports it.
struct TzkScrollInfo {
  int32_t Min = 0;
  int32_t Max = 0;
  uint32_t Page = 0;
  int32_t Pos = 0;
  int32_t TrackPos = 0;
  int64_t Range() const { return int64_t(Max) - int64_t(Min); }
};

// The thumb of one bar: its length and its start, both from the bar's start.
struct TzkThumb {
  int Length = 0;
  int Start = 0;
};

// One bar's measures: length along the bar, button length, minimum thumb length.
struct TzkBarMetrics {
  int Length = 0;
  int Button = 0;
  int MinThumb = 10;
  int Track() const { return Length - 2 * Button; }
};

// Thumb length and start for the given information. A page of 0 gives a thumb as long as a
// button; a negative or too large range gives a thumb of length 0.
TzkThumb ThumbGeometry(const TzkBarMetrics& bar, const TzkScrollInfo& info);

// The arrows' length: the button, or half the bar when two buttons do not fit.
int ArrowLength(const TzkBarMetrics& bar);

// True when the bar has room for a thumb and track parts.
bool HasThumb(const TzkBarMetrics& bar, const TzkThumb& thumb);

// The part at `along` pixels from the bar's start; bpNone outside the bar.
TzkBarPart PartAt(const TzkBarMetrics& bar, const TzkThumb& thumb, int along);

// Where a thumb grabbed `grab` pixels from its start lands for a pointer at `along`: clamped
// to the track.
int DraggedThumbStart(const TzkBarMetrics& bar, const TzkThumb& thumb, int along, int grab);

// The scroll position a thumb starting at `thumbStart` stands for: the minimum at the track's
// start, Max - Page + 1 at its end (the highest position the window accepts).
int32_t PositionOfThumb(const TzkBarMetrics& bar, const TzkThumb& thumb,
                        const TzkScrollInfo& info, int thumbStart);

// The frame of a window with skinned bars: borders measured from the platform's calculation
// and the bars' thickness.
struct TzkFrameLayout {
  TRect Window;         // the window rectangle (any origin)
  TRect Borders;        // left, top, right, bottom border widths
  bool HorzShown = false;
  bool VertShown = false;
  bool LeftScroll = false;  // the vertical bar lies on the left
  int HorzThickness = 0;
  int VertThickness = 0;
};

// The bars' rectangles in the coordinates of Window (empty when not shown) and the corner
// between them (empty unless both are shown).
TRect HorzBarRect(const TzkFrameLayout& f);
TRect VertBarRect(const TzkFrameLayout& f);
TRect SizeBoxRect(const TzkFrameLayout& f);

// The client rectangle left after giving the bars their space: client is the platform's
// client rectangle without bars; the flags say which bars ask for space, the result says
// which got it.
TRect ClientWithBars(TRect client, bool wantHorz, bool wantVert, bool leftScroll,
                     int horzThickness, int vertThickness, bool& horzShown, bool& vertShown);
