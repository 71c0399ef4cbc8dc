// The adapter for container windows inside dialogs (nested dialogs, folder-browser hosts):
// the whole client area is painted on erasing (and again on painting, so nothing of the
// window's own shows) as a see-through container, the section over
// the parent's background, with the child windows left out of the clip so they are never
// painted over (a child group box only by its frame strips and caption band, since its
// inside shows this container). Children asking what lies behind them get the painted image.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TsSkinTables;

// Leaves the visible child windows of `wnd` out of the clip of a client context: each child
// whole, a group box only by its caption band and the GROUPBOX border widths.
void ExcludeChildWindows(HDC dc, HWND wnd, const TsSkinTables* tables);

class TzkTransPanelWnd : public TzkMainWnd {
 public:
  // An empty section means "CHECKBOX".
  TzkTransPanelWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // Renders the client area into the cached image: the section over the parent background.
  void PrepareCache() override;

 protected:
  void AdapterProc(TMessage& m) override;
  // A container paints nothing of its own over what erasing drew; painting copies the look
  // again.
  TzkPaintRules PaintRules() const override { return {false, TzkEraseRule::Paint, true}; }
  // The children are never painted over.
  void LeaveOutOfPaint(HDC dc) override;
  // Asks the parent to bring its own image up to date before this one is made from it.
  virtual void RefreshParentCache();

 private:
  bool AnswerBackground(TMessage& m);
};
