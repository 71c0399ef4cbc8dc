// A drawing surface over a device context with its current font, brush and pen. The canvas
// selects its objects into the context when it draws and puts the context's own objects
// back when it lets go of the context (SetHandle, destruction).
#pragma once

#include <windows.h>

#include <string>

#include "skin/paint/zkTypes.h"
#include "toolkit/GraphicsObjects.h"

class TIcon;
class TBitmap;

class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(HDC dc);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }

  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void Rectangle(const TRect& r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::wstring& text);
  // Text clipped to r; the background is filled unless the brush is clear.
  void TextRect(const TRect& r, int x, int y, const std::wstring& text);
  // DrawText with the canvas font; returns the text height; DT_CALCRECT updates r.
  int DrawText(const std::wstring& text, TRect& r, UINT flags);
  TSize TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, const TIcon& icon);
  void Draw(int x, int y, const TBitmap& bitmap);
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

 private:
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void DeselectFont();
  void DeselectBrush();
  void DeselectPen();
  void DeselectAll();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
};

inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect FromRECT(const RECT& r) { return TRect(r.left, r.top, r.right, r.bottom); }
