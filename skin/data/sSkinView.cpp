#include "skin/data/sSkinView.h"

#include "skin/data/sMessages.h"
#include "skin/paint/sControlUtils.h"

namespace {

bool LayeredWindowsAvailable() { return UpdateLayeredWindowProc() != nullptr; }

}  // namespace

bool TsSkinView::AllowGlowing() const { return allowGlowing_ && LayeredWindowsAvailable(); }

bool TsSkinView::ExtendedBorders() const {
  return extendedBorders_ && LayeredWindowsAvailable();
}

void TsSkinView::SetHotWindow(HWND wnd) {
  if (wnd == hotWindow_) return;
  HWND previous = hotWindow_;
  hotWindow_ = wnd;
  if (previous && IsWindow(previous)) SendCommandToWindow(previous, zcMouseLeave, CommandParam());
  if (wnd) SendCommandToWindow(wnd, zcMouseEnter, CommandParam());
}
