#include "toolkit/Canvas.h"

#include "toolkit/Bitmap.h"
#include "toolkit/Icon.h"

TCanvas::TCanvas() {
  font_.OnChanging = [this] { DeselectFont(); };
  brush_.OnChanging = [this] { DeselectBrush(); };
  pen_.OnChanging = [this] { DeselectPen(); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { DeselectAll(); }

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  DeselectAll();
  dc_ = dc;
}

void TCanvas::DeselectFont() {
  if (dc_ && oldFont_) SelectObject(dc_, oldFont_);
  oldFont_ = nullptr;
}

void TCanvas::DeselectBrush() {
  if (dc_ && oldBrush_) SelectObject(dc_, oldBrush_);
  oldBrush_ = nullptr;
}

void TCanvas::DeselectPen() {
  if (dc_ && oldPen_) SelectObject(dc_, oldPen_);
  oldPen_ = nullptr;
}

void TCanvas::DeselectAll() {
  DeselectFont();
  DeselectBrush();
  DeselectPen();
}

void TCanvas::RequireFont() {
  HGDIOBJ old = SelectObject(dc_, font_.Handle());
  if (!oldFont_) oldFont_ = old;
  SetTextColor(dc_, ToColorRef(font_.Color()));
}

void TCanvas::RequireBrush() {
  HGDIOBJ old = SelectObject(dc_, brush_.Handle());
  if (!oldBrush_) oldBrush_ = old;
  if (brush_.Style() == TBrushStyle::bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ToColorRef(brush_.Color()));
  }
}

void TCanvas::RequirePen() {
  HGDIOBJ old = SelectObject(dc_, pen_.Handle());
  if (!oldPen_) oldPen_ = old;
}

void TCanvas::FillRect(const TRect& r) {
  if (!dc_ || brush_.Style() == TBrushStyle::bsClear) return;
  RECT rc = ToRECT(r);
  ::FillRect(dc_, &rc, brush_.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
  if (!dc_) return;
  RECT rc = ToRECT(r);
  ::FrameRect(dc_, &rc, brush_.Handle());
}

void TCanvas::Rectangle(const TRect& r) {
  if (!dc_) return;
  RequirePen();
  RequireBrush();
  ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!dc_) return;
  RequirePen();
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  if (!dc_) return;
  RequireFont();
  RequireBrush();
  ExtTextOutW(dc_, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::wstring& text) {
  if (!dc_) return;
  RequireFont();
  RequireBrush();
  RECT rc = ToRECT(r);
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(dc_, x, y, options, &rc, text.c_str(), UINT(text.size()), nullptr);
}

int TCanvas::DrawText(const std::wstring& text, TRect& r, UINT flags) {
  if (!dc_) return 0;
  RequireFont();
  RequireBrush();
  RECT rc = ToRECT(r);
  const int h = ::DrawTextW(dc_, text.c_str(), int(text.size()), &rc, flags);
  if (flags & DT_CALCRECT) r = FromRECT(rc);
  return h;
}

TSize TCanvas::TextExtent(const std::wstring& text) {
  if (!dc_) return {};
  RequireFont();
  SIZE s = {};
  GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &s);
  return TSize(s.cx, s.cy);
}

void TCanvas::Draw(int x, int y, const TIcon& icon) {
  if (!dc_ || icon.Empty()) return;
  DrawIconEx(dc_, x, y, icon.Handle(), icon.Width(), icon.Height(), 0, nullptr, DI_NORMAL);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (!dc_ || bitmap.Empty()) return;
  if (bitmap.AlphaChannel()) {
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, bitmap.Width(),
               bitmap.Height(), bf);
  } else {
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
  }
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  if (!dc_ || !source.dc_) return;
  if (dest.Width() == sourceRect.Width() && dest.Height() == sourceRect.Height()) {
    BitBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.dc_, sourceRect.Left,
           sourceRect.Top, SRCCOPY);
  } else {
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.dc_, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), SRCCOPY);
  }
}

TColor TCanvas::Pixel(int x, int y) {
  if (!dc_) return clNone;
  const COLORREF c = GetPixel(dc_, x, y);
  return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (dc_) SetPixelV(dc_, x, y, ToColorRef(color));
}
