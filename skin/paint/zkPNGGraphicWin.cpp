#include "skin/paint/zkPNGGraphicWin.h"

#include <cstring>
#include <vector>

#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkPictureFormats.h"

const wchar_t* const kPNGFormatDescription = L"Portable network graphics (OrvexControls)";

void RegisterPNGPictureFormat() {
  TzkPictureFormat f;
  f.Extension = L"png";
  f.Description = kPNGFormatDescription;
  f.Load = &ReadPngImage;
  RegisterPictureFormat(f);
}

namespace {

// d = (s * a + d * (255 - a) + 127) / 255 for the three colour bytes; 24-bit destination.
inline void BlendPixel(uint8_t* d, const uint8_t* s, unsigned a) {
  for (int c = 0; c < 3; ++c) d[c] = uint8_t((s[c] * a + d[c] * (255 - a) + 127) / 255);
}

// Composes a 32-bit image of the same size as dst's top part over it; with `reflect`, rows of
// the mirror image follow below, fading from half the image's alpha to none.
void ComposeOver(TzkBitmap& dst, const TzkBitmap& image, bool reflect) {
  const int w = std::min(dst.Width(), image.Width()), h = std::min(dst.Height(), image.Height());
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = image.ScanLine(y);
    uint8_t* d = dst.ScanLine(y);
    for (int x = 0; x < w; ++x, s += 4, d += 3) BlendPixel(d, s, s[3]);
  }
  if (!reflect) return;
  const int extra = dst.Height() - h;
  for (int k = 0; k < extra && k < h; ++k) {
    const uint8_t* s = image.ScanLine(h - 1 - k);
    uint8_t* d = dst.ScanLine(h + k);
    const unsigned fade = unsigned(extra - k);  // of 2 * extra
    for (int x = 0; x < w; ++x, s += 4, d += 3) BlendPixel(d, s, s[3] * fade / (2 * unsigned(extra)));
  }
}

}  // namespace

void DrawPNGGraphic(HDC dc, const TRect& rect, const TPNGGraphic& png) {
  const TzkBitmap& image = png.Bitmap();
  if (!dc || image.Empty() || rect.IsEmpty()) return;
  const TRect all(0, 0, image.Width(), image.Height());
  const bool sameSize = rect.Width() == image.Width() && rect.Height() == image.Height();
  if (image.BytesPerPixel() != 4) {
    if (sameSize) {
      DrawBitmapToDC(dc, rect.Left, rect.Top, image, all);
      return;
    }
    TzkBitmap stretched(rect.Width(), rect.Height(), image.PixelFormat());
    StretchCopy(stretched, TRect(0, 0, rect.Width(), rect.Height()), image, all);
    DrawBitmapToDC(dc, rect.Left, rect.Top, stretched, TRect(0, 0, rect.Width(), rect.Height()));
    return;
  }
  const bool reflect = png.Reflected && sameSize;
  const int height = rect.Height() + (reflect ? rect.Height() / 2 : 0);
  TzkBitmap area = NewBitmap24(rect.Width(), height);
  CopyDCToBitmap(area, dc, rect.Left, rect.Top);
  if (sameSize) {
    ComposeOver(area, image, reflect);
  } else {
    TzkBitmap stretched(rect.Width(), rect.Height(), TPixelFormat::pf32bit);
    StretchCopy(stretched, TRect(0, 0, rect.Width(), rect.Height()), image, all);
    ComposeOver(area, stretched, false);
  }
  DrawBitmapToDC(dc, rect.Left, rect.Top, area, TRect(0, 0, area.Width(), area.Height()));
}

TIconHandle CreatePNGGraphicIcon(const TPNGGraphic& png, bool forceKeyMask) {
  const TzkBitmap& image = png.Bitmap();
  if (image.Empty()) return TIconHandle();
  const int w = image.Width(), h = image.Height();
  const bool keyMask = forceKeyMask || image.BytesPerPixel() != 4;
  // The colour part: a top-down 32-bit DIB; masked pixels black so the screen shows through.
  std::unique_ptr<TzkPixelStorage> colour = TzkDibStorage::Create(w, h, TPixelFormat::pf32bit, TRowOrder::TopDown);
  if (!colour) return TIconHandle();
  // The mask: 1 bit a pixel, rows padded to 16 bits, 1 = transparent.
  const int maskRow = ((w + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(size_t(maskRow) * size_t(h), 0);
  const int n = image.BytesPerPixel();
  const uint8_t* key = image.ScanLine(0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = image.ScanLine(y);
    uint8_t* d = colour->Row0() + colour->Stride() * y;
    for (int x = 0; x < w; ++x, s += n, d += 4) {
      const bool transparent = keyMask && std::memcmp(s, key, 3) == 0;
      if (transparent) {
        maskBits[size_t(y) * size_t(maskRow) + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        std::memset(d, 0, 4);
        continue;
      }
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
      d[3] = n == 4 && !keyMask ? s[3] : 255;
    }
  }
  TBitmapHandle mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
  if (!mask) return TIconHandle();
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = static_cast<TzkDibStorage*>(colour.get())->Handle();
  GdiFlush();
  return TIconHandle(CreateIconIndirect(&info));
}
