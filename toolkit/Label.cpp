#include "toolkit/Label.h"

#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"
#include "toolkit/WinControl.h"

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustBounds();
}

void TLabel::SetTransparent(bool on) {
  transparent_ = on;
  SetControlStyle(on ? ControlStyle() & ~unsigned(csOpaque) : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TLabel::SetWordWrap(bool on) {
  wordWrap_ = on;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool on) {
  showAccelChar_ = on;
  AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  switch (alignment_) {
    case TAlignment::taLeftJustify:
      flags |= DT_LEFT;
      break;
    case TAlignment::taRightJustify:
      flags |= DT_RIGHT;
      break;
    case TAlignment::taCenter:
      flags |= DT_CENTER;
      break;
  }
  return flags;
}

void TLabel::DoDrawText(TRect& r, UINT flags) {
  std::wstring text = Caption();
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&"))) text += L" ";
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  if (!Enabled()) {
    canvas.Font().SetColor(clGrayText);
  }
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.DrawText(text, r, flags);
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
  }
  DoDrawText(r, TextFlags());
}

void TLabel::ChangeScale(int fromDpi, int toDpi) {
  TGraphicControl::ChangeScale(fromDpi, toDpi);
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  HDC dc = GetDC(nullptr);
  TCanvas& canvas = Canvas();
  const bool borrowed = !canvas.HandleAllocated();
  if (borrowed) canvas.SetHandle(dc);
  TRect r(0, 0, wordWrap_ ? Width() : 0, 0);
  DoDrawText(r, TextFlags() | DT_CALCRECT);
  if (borrowed) canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int left = Left();
  if (alignment_ == TAlignment::taRightJustify) left += Width() - r.Width();
  else if (alignment_ == TAlignment::taCenter) left += (Width() - r.Width()) / 2;
  SetBounds(left, Top(), r.Width(), r.Height());
}

void TLabel::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) {
    AdjustBounds();
    Invalidate();
  }
}
