#include "skin/controls/zkSBUtilsGeometry.h"

#include <algorithm>

namespace {

// a / b rounded to the nearest whole number (halves away from zero); 0 for b == 0.
int64_t RoundDiv(int64_t a, int64_t b) {
  if (b == 0) return 0;
  if (b < 0) {
    a = -a;
    b = -b;
  }
  return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

bool RangeUsable(int64_t range) { return range >= 0 && range <= kMaxThumbRange; }

}  // namespace

TzkThumb ThumbGeometry(const TzkBarMetrics& bar, const TzkScrollInfo& info) {
  TzkThumb t;
  const int track = bar.Track();
  const int64_t range = info.Range();
  if (info.Page == 0) {
    t.Length = bar.Button;
  } else if (!RangeUsable(range)) {
    t.Length = 0;
  } else {
    t.Length = int(std::max<int64_t>(RoundDiv(int64_t(info.Page) * track, range + 1), bar.MinThumb));
  }
  int offset = 0;
  if (RangeUsable(range)) {
    const int64_t free = int64_t(track) - t.Length;
    const int64_t divisor = range - std::max<int64_t>(info.Page, 1) + 1;
    const int64_t raw = RoundDiv((int64_t(info.Pos) - info.Min) * free, divisor);
    offset = int(std::clamp<int64_t>(raw, 0, std::max<int64_t>(free, 0)));
  }
  t.Start = bar.Button + offset;
  return t;
}

int ArrowLength(const TzkBarMetrics& bar) {
  return 2 * bar.Button < bar.Length ? bar.Button : bar.Length / 2;
}

bool HasThumb(const TzkBarMetrics& bar, const TzkThumb& thumb) {
  return 2 * bar.Button < bar.Length && thumb.Length < bar.Track();
}

TzkBarPart PartAt(const TzkBarMetrics& bar, const TzkThumb& thumb, int along) {
  if (along < 0 || along >= bar.Length) return bpNone;
  const int arrow = ArrowLength(bar);
  if (along < arrow) return bpFirstArrow;
  if (along >= bar.Length - arrow) return bpSecondArrow;
  if (!HasThumb(bar, thumb)) return bpNone;
  if (along < thumb.Start) return bpTrackBefore;
  if (along < thumb.Start + thumb.Length) return bpThumb;
  return bpTrackAfter;
}

int DraggedThumbStart(const TzkBarMetrics& bar, const TzkThumb& thumb, int along, int grab) {
  const int first = bar.Button;
  const int last = std::max(first, bar.Length - bar.Button - thumb.Length);
  return std::clamp(along - grab, first, last);
}

int32_t PositionOfThumb(const TzkBarMetrics& bar, const TzkThumb& thumb,
                        const TzkScrollInfo& info, int thumbStart) {
  const int64_t offset = int64_t(thumbStart) - bar.Button;
  const int64_t range = info.Range();
  if (range < 1) return int32_t(offset);
  const int64_t free = int64_t(bar.Track()) - thumb.Length;
  const int64_t steps = range - std::max<int64_t>(info.Page, 1) + 1;
  if (free <= 0 || steps <= 0) return info.Min;
  const int64_t pos = RoundDiv(offset * steps, free);
  return int32_t(std::clamp<int64_t>(int64_t(info.Min) + pos, info.Min, int64_t(info.Min) + steps));
}

TRect HorzBarRect(const TzkFrameLayout& f) {
  if (!f.HorzShown) return {};
  TRect r;
  r.Left = f.Window.Left + f.Borders.Left;
  r.Right = f.Window.Right - f.Borders.Right;
  if (f.VertShown && f.LeftScroll) r.Left += f.VertThickness;
  if (f.VertShown && !f.LeftScroll) r.Right -= f.VertThickness;
  r.Bottom = f.Window.Bottom - f.Borders.Bottom;
  r.Top = r.Bottom - f.HorzThickness;
  return r;
}

TRect VertBarRect(const TzkFrameLayout& f) {
  if (!f.VertShown) return {};
  TRect r;
  r.Top = f.Window.Top + f.Borders.Top;
  r.Bottom = f.Window.Bottom - f.Borders.Bottom - (f.HorzShown ? f.HorzThickness : 0);
  if (f.LeftScroll) {
    r.Left = f.Window.Left + f.Borders.Left;
    r.Right = r.Left + f.VertThickness;
  } else {
    r.Right = f.Window.Right - f.Borders.Right;
    r.Left = r.Right - f.VertThickness;
  }
  return r;
}

TRect SizeBoxRect(const TzkFrameLayout& f) {
  if (!f.HorzShown || !f.VertShown) return {};
  const TRect h = HorzBarRect(f);
  const TRect v = VertBarRect(f);
  return {v.Left, h.Top, v.Right, h.Bottom};
}

TRect ClientWithBars(TRect client, bool wantHorz, bool wantVert, bool leftScroll,
                     int horzThickness, int vertThickness, bool& horzShown, bool& vertShown) {
  horzShown = wantHorz && client.Height() >= horzThickness;
  if (horzShown) client.Bottom -= horzThickness;
  vertShown = wantVert && client.Width() >= vertThickness;
  if (vertShown && leftScroll) client.Left += vertThickness;
  if (vertShown && !leftScroll) client.Right -= vertThickness;
  return client;
}
