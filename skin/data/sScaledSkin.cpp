#include "skin/data/sScaledSkin.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <map>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "skin/data/sMaskScaling.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkImageScale.h"

// [SECTION] Lengths and the global data

int16_t ScaleSkinSize(int16_t value, int scalePercent) {
  return int16_t(std::clamp(ScaleLength(value, scalePercent), int(INT16_MIN), int(INT16_MAX)));
}

TsSkinData ScaleSkinData(const TsSkinData& data, int scalePercent) {
  TsSkinData d = data;
  for (int16_t* v :
       {&d.Shadow1Offset, &d.ExBorderWidth, &d.TitleHeight, &d.MaxTitleHeight, &d.FormOffset,
        &d.CenterOffset, &d.TitleButtonSpacing, &d.TitleButtonVAlign, &d.TitleButtonsRight,
        &d.TitleButtonsLeft, &d.CloseGlowMargin, &d.MaxGlowMargin, &d.MinGlowMargin})
    *v = ScaleSkinSize(*v, scalePercent);
  if (d.Shadow1Blur > 0) d.Shadow1Blur = ScaleSkinSize(d.Shadow1Blur, scalePercent);
  return d;
}

size_t SkinImageBytes(const TsSkinTables& tables) {
  auto bytes = [](const TzkBitmap* b) {
    return b && !b->Empty() ? DibRowBytes(b->Width(), b->PixelFormat()) * size_t(b->Height()) : 0;
  };
  size_t total = bytes(&tables.MasterBitmap);
  for (const TsMaskData& m : tables.Masks) total += bytes(m.Image.get());
  for (const TsPatternData& p : tables.Patterns) total += bytes(p.Image.get());
  return total;
}

namespace {

// [SECTION] Size checks

// Longest side (and largest coordinate) of a source picture the scaler accepts.
constexpr int kMaxSourceSide = 1 << 16;

[[noreturn]] void TooLarge() { throw std::length_error("skin picture too large to scale"); }

void CheckSide(int64_t value) {
  if (value < -kMaxSourceSide || value > kMaxSourceSide) TooLarge();
}

void CheckBitmap(const TzkBitmap* b) {
  if (!b) return;
  CheckSide(b->Width());
  CheckSide(b->Height());
}

// Every coordinate and picture side within kMaxSourceSide, so no scaled length or sum of
// them leaves the int range.
void CheckSourceSizes(const TsSkinTables& source) {
  CheckBitmap(&source.MasterBitmap);
  for (const TsMaskData& m : source.Masks) {
    for (int v : {m.Rect.Left, m.Rect.Top, m.Rect.Right, m.Rect.Bottom}) CheckSide(v);
    CheckBitmap(m.Image.get());
  }
  for (const TsPatternData& p : source.Patterns) CheckBitmap(p.Image.get());
}

// A bitmap side made from a 64-bit length; the bitmap itself refuses too many bytes.
int BitmapSide(int64_t length) {
  if (length < 0 || length > INT_MAX) TooLarge();
  return int(length);
}

// [SECTION] Records

TsMaskData ScaledFields(const TsMaskData& m, int scale, const TsSkinTables* manager) {
  TsMaskData s;
  s.SectionName = m.SectionName;
  s.PropertyName = m.PropertyName;
  s.Rect = m.Rect;
  s.ImageCount = m.ImageCount;
  s.MaskType = m.MaskType;
  s.BorderWidth = ScaleSkinSize(m.BorderWidth, scale);
  s.StretchMode = m.StretchMode;
  s.ImgType = m.ImgType;
  s.Manager = manager;
  s.WL = ScaleSkinSize(m.WL, scale);
  s.WT = ScaleSkinSize(m.WT, scale);
  s.WR = ScaleSkinSize(m.WR, scale);
  s.WB = ScaleSkinSize(m.WB, scale);
  return s;
}

std::unique_ptr<TzkBitmap> ClonePicture(const TzkBitmap* b) {
  return b ? std::make_unique<TzkBitmap>(b->Clone()) : nullptr;
}

// [SECTION] Pictures

TsPatternData ScaledPattern(const TsPatternData& p, int scale) {
  TsPatternData s;
  s.SectionName = p.SectionName;
  s.PropertyName = p.PropertyName;
  if (!p.Image || scale == 100) {
    s.Image = ClonePicture(p.Image.get());
    return s;
  }
  const TzkBitmap& from = *p.Image;
  const int w = ScaleLength(from.Width(), scale), h = ScaleLength(from.Height(), scale);
  s.Image = std::make_unique<TzkBitmap>(w, h, from.PixelFormat());
  ScaleImagePart(*s.Image, TRect(0, 0, w, h), from, TRect(0, 0, from.Width(), from.Height()),
                 IsWholeScale(scale) ? TScaleFilter::Nearest : TScaleFilter::Area);
  return s;
}

// An image with its own bitmap: a new bitmap holding exactly its scaled frames and bands.
void ScaleOwnPicture(const TsMaskData& from, TsMaskData& to, int scale) {
  const TsMaskScaleLayout l = MaskScaleLayout(from, scale);
  const int w = BitmapSide(l.ScaledWidth()), h = BitmapSide(l.ScaledHeight());
  to.Image = std::make_unique<TzkBitmap>(w, h, from.Image->PixelFormat());
  DrawScaledMask(*to.Image, TPoint(), from, *from.Image, l,
                 MaskScaleFilter(from, *from.Image, scale));
  to.Rect = TRect(0, 0, w, h);
}

// Whole multiples: the master replicated n x n; Rects start at n times their corner.
void ReplicateMaster(const TsSkinTables& source, TsSkinTables& out, int n) {
  const TzkBitmap& master = source.MasterBitmap;
  if (!master.Empty()) {
    const int w = BitmapSide(int64_t(master.Width()) * n),
              h = BitmapSide(int64_t(master.Height()) * n);
    out.MasterBitmap = TzkBitmap(w, h, master.PixelFormat());
    ScaleImagePart(out.MasterBitmap, TRect(0, 0, w, h), master,
                   TRect(0, 0, master.Width(), master.Height()), TScaleFilter::Nearest);
  }
  for (size_t i = 0; i < source.Masks.size(); ++i) {
    const TsMaskData& m = source.Masks[i];
    if (m.Image) continue;
    const TsMaskScaleLayout l = MaskScaleLayout(m, n * 100);
    out.Masks[i].Rect = Bounds(m.Rect.Left * n, m.Rect.Top * n, BitmapSide(l.ScaledWidth()),
                               BitmapSide(l.ScaledHeight()));
  }
}

// One picture of the new master, shared by every image with the same Rect and cuts.
struct TSlot {
  const TsMaskData* Mask;  // the first image with this picture
  TsMaskScaleLayout Layout;
  int64_t X = 0, Y = 0;  // its place in the new master
};

using TSlotKey = std::array<int, 10>;

TSlotKey KeyOf(const TsMaskData& m, const TsMaskScaleLayout& l) {
  return {m.Rect.Left, m.Rect.Top,      m.Rect.Right,   m.Rect.Bottom,   l.Frames,
          m.MaskType,  l.SourceX.First, l.SourceX.Last, l.SourceY.First, l.SourceY.Last};
}

// Places the slots on shelves `width` wide, tallest first; returns the height used.
int64_t PlaceOnShelves(std::vector<TSlot>& slots, int64_t width) {
  std::vector<size_t> order(slots.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return slots[a].Layout.ScaledHeight() > slots[b].Layout.ScaledHeight();
  });
  int64_t x = 0, y = 0, shelf = 0;
  for (size_t i : order) {
    const int64_t w = slots[i].Layout.ScaledWidth(), h = slots[i].Layout.ScaledHeight();
    if (x > 0 && x + w > width) y += shelf, x = 0, shelf = 0;
    slots[i].X = x, slots[i].Y = y;
    x += w;
    shelf = std::max(shelf, h);
  }
  return y + shelf;
}

// Other scales: every distinct picture scaled on its own into a new master.
void ResampleMaster(const TsSkinTables& source, TsSkinTables& out, int scale) {
  const TzkBitmap& master = source.MasterBitmap;
  std::vector<TSlot> slots;
  std::vector<size_t> slotOf(source.Masks.size(), SIZE_MAX);
  std::map<TSlotKey, size_t> known;
  int64_t widest = ScaleLength(master.Width(), scale);
  for (size_t i = 0; i < source.Masks.size(); ++i) {
    const TsMaskData& m = source.Masks[i];
    if (m.Image) continue;
    const TsMaskScaleLayout l = MaskScaleLayout(m, scale);
    if (master.Empty()) {  // nothing to draw: keep the geometry only
      out.Masks[i].Rect = Bounds(ScaleLength(m.Rect.Left, scale), ScaleLength(m.Rect.Top, scale),
                                 BitmapSide(l.ScaledWidth()), BitmapSide(l.ScaledHeight()));
      continue;
    }
    const auto [it, added] = known.emplace(KeyOf(m, l), slots.size());
    if (added) {
      slots.push_back({&m, l});
      widest = std::max(widest, l.ScaledWidth());
    }
    slotOf[i] = it->second;
  }
  if (slots.empty()) return;
  const int width = BitmapSide(widest), height = BitmapSide(PlaceOnShelves(slots, widest));
  out.MasterBitmap = TzkBitmap(width, height, master.PixelFormat());
  FillSolid(out.MasterBitmap, TRect(0, 0, width, height), clFuchsia);  // gaps are transparent
  for (const TSlot& s : slots)
    DrawScaledMask(out.MasterBitmap, TPoint(int(s.X), int(s.Y)), *s.Mask, master, s.Layout,
                   MaskScaleFilter(*s.Mask, master, scale));
  for (size_t i = 0; i < slotOf.size(); ++i) {
    if (slotOf[i] == SIZE_MAX) continue;
    const TSlot& s = slots[slotOf[i]];
    out.Masks[i].Rect =
        Bounds(int(s.X), int(s.Y), int(s.Layout.ScaledWidth()), int(s.Layout.ScaledHeight()));
  }
}

void ScalePictures(const TsSkinTables& source, TsSkinTables& out, int scale) {
  if (scale == 100) {
    out.MasterBitmap = source.MasterBitmap.Clone();
    for (size_t i = 0; i < source.Masks.size(); ++i)
      out.Masks[i].Image = ClonePicture(source.Masks[i].Image.get());
    return;
  }
  for (size_t i = 0; i < source.Masks.size(); ++i)
    if (source.Masks[i].Image) ScaleOwnPicture(source.Masks[i], out.Masks[i], scale);
  if (IsWholeScale(scale))
    ReplicateMaster(source, out, scale / 100);
  else
    ResampleMaster(source, out, scale);
}

}  // namespace

// [SECTION] Tables

std::unique_ptr<TsSkinTables> ScaleSkinTables(const TsSkinTables& source, int scalePercent) {
  const int scale = ClampScalePercent(scalePercent);
  if (scale != 100) CheckSourceSizes(source);
  auto out = std::make_unique<TsSkinTables>();
  out->Sections = source.Sections;
  for (TsGeneralData& s : out->Sections) s.GlowMargin = ScaleLength(s.GlowMargin, scale);
  out->SkinData = ScaleSkinData(source.SkinData, scale);
  out->CachedIndexes = source.CachedIndexes;
  out->Masks.reserve(source.Masks.size());
  for (const TsMaskData& m : source.Masks) out->Masks.push_back(ScaledFields(m, scale, out.get()));
  out->Patterns.reserve(source.Patterns.size());
  for (const TsPatternData& p : source.Patterns) out->Patterns.push_back(ScaledPattern(p, scale));
  ScalePictures(source, *out, scale);
  return out;
}
