// The adapter for platform tab controls: the page frame painted from the section below (or
// beside) the tab strip, and every tab from the skin's tab section of its side, the selected
// tab pressed and a little larger, the tab under the pointer hot, with its text over it. The
// platform keeps the tabs' behaviour; only the painting is taken over.
#pragma once

#include "skin/windows/zkCachedWnd.h"

class TzkTabControlWnd : public TzkCachedWnd {
 public:
  // An empty section means "PAGECONTROL".
  TzkTabControlWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The page frame in client coordinates: the client area without the rows of tabs.
  TRect PageRect() const;
  // A tab's rectangle as painted (the selected one enlarged towards the strip's outside).
  TRect TabRect(int index) const;
  // 2 selected, 1 under the pointer, 0 otherwise.
  int TabState(int index) const;
  int HotTab() const { return HotPart(); }
  void PrepareCache() override;

 protected:
  int PartAt(POINT p) const override;
  void AdapterProc(TMessage& m) override;
  // The frame stays the platform's.
  TzkPaintRules PaintRules() const override { return {true, TzkEraseRule::Swallow, false}; }

 private:
  const TsCachedSection& TabSection() const;
  void DrawTab(int index, const TsBackgroundInfo& bg);
};
