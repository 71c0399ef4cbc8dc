// Base of the adapters with hot parts (tabs, buttons) that draw their whole client area into
// their cache: the part under the pointer and the pointer-leave watch it needs. The paint
// messages are answered by the adapters' common paint path (TzkMainWnd::AnswerPaint).
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkCachedWnd : public TzkMainWnd {
 public:
  using TzkMainWnd::TzkMainWnd;
  // Renders the cache at the client's size in the current state.
  void PrepareCache() override = 0;

 protected:
  // Asks for WM_MOUSELEAVE when the pointer leaves the window.
  void WatchPointerLeaving() const;
  // The part under the pointer (a tab, a button), -1 for none; a change repaints the window.
  int HotPart() const { return hotPart_; }
  void SetHotPart(int part);
  // The part at a client point, -1 for none; adapters with hot parts tell theirs.
  virtual int PartAt(POINT /*p*/) const { return -1; }
  // Follows the pointer over the parts: WM_MOUSEMOVE (after the window has seen it) makes
  // the part under the pointer hot, WM_MOUSELEAVE clears it. False for other messages.
  bool FollowHotPart(TMessage& m);

 private:
  int hotPart_ = -1;
};
