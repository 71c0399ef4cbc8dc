// Base of the adapters that draw their whole client area into their cache and copy it to the
// window: the paint messages answered from the cache, and the pointer-leave watch that their
// hot parts need.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkCachedWnd : public TzkMainWnd {
 public:
  using TzkMainWnd::TzkMainWnd;
  // Renders the cache at the client's size in the current state.
  virtual void PrepareCache() = 0;

 protected:
  // Renders the cache and copies it to dc at 0, 0.
  void Paint(HDC dc);
  // Answers WM_PAINT and WM_PRINTCLIENT from the cache and swallows WM_ERASEBKGND, and
  // WM_NCPAINT too when `ownFrame`; false for every other message.
  bool AnswerPaint(TMessage& m, bool ownFrame);
  // Asks for WM_MOUSELEAVE when the pointer leaves the window.
  void WatchPointerLeaving() const;
  // Sizes the cache to the client area, which it returns in `client`; false when there is
  // nothing to render (no skin, an empty client area).
  bool SizeCacheToClient(RECT& client);
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
