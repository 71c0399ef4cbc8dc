// A length that follows the display scale. It remembers the value it was last given by
// anything but a rescale, and the DPI it was given at; every rescale computes from that pair,
// so going back to that DPI gives the value exactly, whatever DPIs lay between (scaling the
// last result again would let rounding drift on a long way through several scales).
#pragma once

class TDpiLength {
 public:
  // The length `current`, which is at fromDpi now, at toDpi.
  int Rescale(int current, int fromDpi, int toDpi) {
    if (!known_ || current != scaled_ || fromDpi != scaledDpi_) {
      origin_ = current;
      originDpi_ = fromDpi;
      known_ = true;
    }
    scaled_ = Scale(origin_, toDpi, originDpi_);
    scaledDpi_ = toDpi;
    return scaled_;
  }

  // value * to / from, rounded half away from zero (as the platform's MulDiv).
  static int Scale(int value, int to, int from) {
    if (from <= 0 || to == from) return value;
    const long long product = static_cast<long long>(value) * to;
    const long long half = from / 2;
    return static_cast<int>(product >= 0 ? (product + half) / from : -((-product + half) / from));
  }

 private:
  bool known_ = false;
  int origin_ = 0;
  int originDpi_ = 0;
  int scaled_ = 0;
  int scaledDpi_ = 0;
};

// A control's bounds that follow the display scale. Each of the left, top, width and height
// is followed on its own: a parent that places a child itself (at its right edge, its height
// from the parent's) changes some of them only, and the others still come back exactly.
// Where a side's place and size were given at one DPI its far edge is scaled, so controls
// that touched still touch.
class TDpiBounds {
 public:
  struct TBox {
    int Left = 0, Top = 0, Width = 0, Height = 0;
  };

  TBox Rescale(const TBox& current, int fromDpi, int toDpi) {
    TBox scaled;
    Side(left_, width_, current.Left, current.Width, fromDpi, toDpi, scaled.Left, scaled.Width);
    Side(top_, height_, current.Top, current.Height, fromDpi, toDpi, scaled.Top, scaled.Height);
    return scaled;
  }

 private:
  // One value with where it came from.
  struct TFollowed {
    bool Known = false;
    int Origin = 0, OriginDpi = 0;  // last given by anything but a rescale, and at which DPI
    int Scaled = 0, ScaledDpi = 0;  // what the last rescale gave

    void Take(int current, int fromDpi) {
      if (Known && current == Scaled && fromDpi == ScaledDpi) return;
      Known = true;
      Origin = current;
      OriginDpi = fromDpi;
    }
    void Give(int value, int dpi) {
      Scaled = value;
      ScaledDpi = dpi;
    }
  };

  static void Side(TFollowed& place, TFollowed& size, int currentPlace, int currentSize, int fromDpi,
                   int toDpi, int& newPlace, int& newSize) {
    place.Take(currentPlace, fromDpi);
    size.Take(currentSize, fromDpi);
    newPlace = TDpiLength::Scale(place.Origin, toDpi, place.OriginDpi);
    newSize = place.OriginDpi == size.OriginDpi
                  ? TDpiLength::Scale(place.Origin + size.Origin, toDpi, size.OriginDpi) - newPlace
                  : TDpiLength::Scale(size.Origin, toDpi, size.OriginDpi);
    place.Give(newPlace, toDpi);
    size.Give(newSize, toDpi);
  }

  TFollowed left_, top_, width_, height_;
};
