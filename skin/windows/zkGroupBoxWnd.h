// The group-box adapter for platform group boxes (BUTTON windows of the group-box style): the
// caption band on the parent's background, the GROUPBOX section from half the caption's height
// down, and the caption centred in its band. Only the frame and the band are painted; the
// inside stays the parent's, so sibling controls inside the box are never painted over.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkGroupBoxWnd : public TzkMainWnd {
 public:
  TzkGroupBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The caption band in window coordinates.
  TRect CaptionRect() const;
  // Renders the whole box into the skin state's cached image.
  void PrepareCache() override;
  // The part of the window the box paints: everything but the inside of the frame.
  TRect InnerRect() const;

 protected:
  void AdapterProc(TMessage& m) override;
  // The frame stays the platform's; only a stale image is rendered again.
  TzkPaintRules PaintRules() const override { return {false, TzkEraseRule::Swallow, false}; }
  // The inside of the frame keeps the parent's painting.
  void LeaveOutOfPaint(HDC dc) override;
};
