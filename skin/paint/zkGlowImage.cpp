#include "skin/paint/zkGlowImage.h"

#include <algorithm>

#include "skin/data/sSkinRecords.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlit.h"

namespace {

// Frame 0 of the mask as 32-bit pixels with straight alpha: a 32-bit picture keeps its alpha,
// a picture over its mask (MaskType 1) takes 255 - mask, and a plain one is opaque except
// where it is the key colour.
TzkBitmap GlowFrame(const TsMaskData& mask, const TzkBitmap& image) {
  const int fw = mask.Rect.Width() / std::max<int>(mask.ImageCount, 1);
  const int fh = mask.Rect.Height() / (mask.MaskType + 1);
  TzkBitmap frame = NewBitmap32(std::max(fw, 0), std::max(fh, 0));
  if (frame.Empty()) return frame;
  const int n = image.BytesPerPixel();
  for (int y = 0; y < fh; ++y) {
    const int sy = mask.Rect.Top + y;
    if (sy < 0 || sy >= image.Height()) continue;
    const uint8_t* s = image.ScanLine(sy);
    const int my = sy + fh;
    const uint8_t* ms = mask.MaskType == 1 && my < image.Height() ? image.ScanLine(my) : nullptr;
    uint8_t* d = frame.ScanLine(y);
    for (int x = 0; x < fw; ++x) {
      const int sx = mask.Rect.Left + x;
      if (sx < 0 || sx >= image.Width()) continue;
      const uint8_t* p = s + sx * n;
      uint8_t a = 255;
      if (n == 4) a = p[3];
      else if (ms) a = uint8_t(255 - ms[sx * n]);
      else if (p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF) a = 0;
      d[x * 4] = p[0];
      d[x * 4 + 1] = p[1];
      d[x * 4 + 2] = p[2];
      d[x * 4 + 3] = a;
    }
  }
  return frame;
}

// A zero border width falls back to the mask's one border width, then to the whole frame.
int BorderOr(int width, int fallback, int frameSize) {
  if (width > 0) return width;
  if (fallback > 0) return fallback;
  return frameSize;
}

// Borders wider than the target together shrink evenly, the far one taking the odd pixel.
void ShrinkToFit(int size, int& nearSide, int& farSide) {
  if (size >= nearSide + farSide) return;
  const int d = (nearSide + farSide - size) / 2;
  nearSide -= d;
  farSide -= d + (size % 2);
  nearSide = std::max(nearSide, 0);
  farSide = std::max(farSide, 0);
}

}  // namespace

TzkBitmap GlowImageFrame(const TsMaskData& mask) {
  const TzkBitmap* image = MaskSourceImage(mask);
  return image ? GlowFrame(mask, *image) : TzkBitmap();
}

TRect RenderGlowImage(TzkBitmap& out, const TsMaskData& mask, int controlWidth, int controlHeight,
                      int margin) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image) return TRect();
  TzkBitmap frame = GlowFrame(mask, *image);
  const int fw = frame.Width(), fh = frame.Height();
  const int wl = BorderOr(mask.WL, mask.BorderWidth, fw);
  const int wt = BorderOr(mask.WT, mask.BorderWidth, fh);
  const int wr = BorderOr(mask.WR, mask.BorderWidth, fw);
  const int wb = BorderOr(mask.WB, mask.BorderWidth, fh);
  const int w = controlWidth + wl + wr - 2 * margin;
  const int h = controlHeight + wt + wb - 2 * margin;
  out = NewBitmap32(std::max(w, 0), std::max(h, 0));
  if (out.Empty() || frame.Empty()) return TRect(wl, wt, wr, wb);
  out.Fill(0);
  // Nine parts: corners as they are, sides and centre stretched. A border as wide as the
  // frame makes its corner the whole frame; the source's sides and centre are then empty.
  int dl = wl, dr = wr, dt = wt, db = wb;
  ShrinkToFit(w, dl, dr);
  ShrinkToFit(h, dt, db);
  const int sl = std::min(dl, fw), sr = std::min(dr, fw);
  const int st = std::min(dt, fh), sb = std::min(db, fh);
  const int xs[3][2] = {{0, sl}, {sl, fw - sr}, {fw - sr, fw}};
  const int ys[3][2] = {{0, st}, {st, fh - sb}, {fh - sb, fh}};
  const int xd[3][2] = {{0, dl}, {dl, w - dr}, {w - dr, w}};
  const int yd[3][2] = {{0, dt}, {dt, h - db}, {h - db, h}};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      const TRect src(xs[i][0], ys[j][0], xs[i][1], ys[j][1]);
      const TRect dst(xd[i][0], yd[j][0], xd[i][1], yd[j][1]);
      if (src.Width() > 0 && src.Height() > 0 && dst.Width() > 0 && dst.Height() > 0)
        StretchCopy(out, dst, frame, src);
    }
  return TRect(wl, wt, wr, wb);
}

TRect GlowCuts(const TRect& borders, int cw, int ch, const TRect& v, int w, int h, int m) {
  TRect cut;
  if (v.Width() >= cw && v.Height() >= ch) return cut;
  cut.Left = v.Left != 0 ? borders.Left + v.Left - m : 0;
  cut.Top = v.Top != 0 ? borders.Top + v.Top - m : 0;
  if (v.Right < cw)
    cut.Right = cut.Left ? w - cut.Left - v.Width() : cw + borders.Right - v.Width() - m;
  if (v.Bottom < ch)
    cut.Bottom = cut.Top ? h - cut.Top - v.Height() : ch + borders.Bottom - v.Height() - m;
  return cut;
}


TRect GlowVisiblePart(const TRect& control, const TRect& parentClient) {
  return IntersectRect(control, parentClient).Offset(-control.Left, -control.Top);
}
