#include "toolkit/GroupBox.h"

#include <algorithm>

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  const std::wstring caption = Caption();
  const int textHeight = canvas.TextHeight(L"0");
  RECT frame = {0, textHeight / 2, Width(), Height()};
  DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
  if (!caption.empty()) {
    TRect r(8, 0, Width() - 8, textHeight);
    canvas.Brush().SetColor(Color());
    TRect measure = r;
    canvas.DrawText(caption, measure, DT_SINGLELINE | DT_LEFT | DT_CALCRECT | DT_NOPREFIX);
    measure.Right = std::min(measure.Right, r.Right);
    canvas.FillRect(TRect(measure.Left - 1, 0, measure.Right + 1, textHeight));
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.DrawText(caption, r, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

void TGroupBox::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) Invalidate();
}
