// The edit-style window adapter: the window's border painted from its skin section (or a
// one-pixel frame in the skin's border colour inside standard dialogs) and skinned scroll
// bars. Used for edit, list-box and list-view windows; the skinned list view carries one for
// its border and bars.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkEditWnd : public TzkScrollWnd {
 public:
  TzkEditWnd(HWND wnd, const std::string& section, TsSkinManager* manager);
  // Marked by the adapter itself when its window went away; its owner then makes a new one.
  bool Obsolete() const { return Destroyed(); }
  // The frame ring and the bars into a whole-window context (the window's own when null).
  void PaintFrame(HDC windowDc = nullptr);

 protected:
  void AdapterProc(TMessage& m) override;
  TsBackgroundInfo BarBackground(TPoint at) override;

 private:
  void Print(TMessage& m);
  void SetHot(bool focused, bool mouseAbove);
  bool ChangesContent(UINT msg) const;
};

// A list view's adapter: the edit-style frame and bars.
class TzkListViewWnd : public TzkEditWnd {
 public:
  using TzkEditWnd::TzkEditWnd;
};
