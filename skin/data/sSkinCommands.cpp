#include "skin/data/sSkinCommands.h"

#include "toolkit/Handles.h"

bool DispatchSkinCommand(IzkSkinCommandTarget& target, TMessage& m) {
  if (!IsSkinCommand(m)) return false;
  LRESULT result = 0;
  if (!target.SkinCommand(SkinCommandOf(m), result)) {
    m.Result = 0;
    return false;
  }
  m.Result = result;
  return true;
}

void AnswerWithColor(TsBackgroundRequest& r, TColor color) {
  r.BgType = btColor;
  r.Color = color;
  if (!r.PleaseDraw || !r.DC) return;
  TBrushHandle brush(CreateSolidBrush(COLORREF(ColorToRGB(color)) & 0xFFFFFF));
  if (!brush) return;
  const RECT rc = {r.Rect.Left, r.Rect.Top, r.Rect.Right, r.Rect.Bottom};
  FillRect(r.DC, &rc, brush.Get());
}
