// Value types shared by the whole engine and the toolkit: colours, points, rectangles.
// Portable: no platform headers.
#pragma once

#include <cstdint>

// A colour value 0x00BBGGRR (red in the low byte). A negative value (high byte 0xFF) names a
// system colour by its index in the low byte; ColorToRGB turns it into a plain colour.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clFuchsia = 0xFF00FF;  // the transparent key of skin images
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: 0xFF000000 | index of the platform's system colour.
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | unsigned(index)); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// Parenthesised names: the platform headers define these three as macros (with the same
// results), and this header may come before or after them.
constexpr uint8_t (GetRValue)(TColor c) { return uint8_t(uint32_t(c) & 0xFF); }
constexpr uint8_t (GetGValue)(TColor c) { return uint8_t((uint32_t(c) >> 8) & 0xFF); }
constexpr uint8_t (GetBValue)(TColor c) { return uint8_t((uint32_t(c) >> 16) & 0xFF); }
constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16));
}

// Resolves system colours to plain ones. The default table holds the platform's classic
// colours so portable code and its tests work without a platform; the Win32 side installs
// a resolver that asks the running system.
using TSysColorResolver = TColor (*)(int index);
void SetSysColorResolver(TSysColorResolver resolver);  // nullptr: the built-in table
TColor ColorToRGB(TColor color);

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  friend constexpr bool operator==(TPoint a, TPoint b) { return a.X == b.X && a.Y == b.Y; }
  friend constexpr bool operator!=(TPoint a, TPoint b) { return !(a == b); }
};

struct TSize {
  int cx = 0;
  int cy = 0;
  constexpr TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}
  friend constexpr bool operator==(TSize a, TSize b) { return a.cx == b.cx && a.cy == b.cy; }
};

// A rectangle with exclusive Right and Bottom.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  friend constexpr bool operator==(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
  friend constexpr bool operator!=(const TRect& a, const TRect& b) { return !(a == b); }
};

constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
// The common part of two rectangles; an empty rectangle when they do not meet.
TRect IntersectRect(const TRect& a, const TRect& b);
