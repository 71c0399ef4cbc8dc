// The adapter for platform combo boxes: the edit-style frame from the section (or the flat
// frame in the skin's border colour inside dialogs) and a skinned drop-down button, drawn over
// what the platform paints for the text, so the selected item, the edit part and the list
// stay the platform's. The button is pressed while the list is down and hot under the pointer.
#pragma once

#include "skin/windows/zkEditWnd.h"

class TzkComboBoxWnd : public TzkEditWnd {
 public:
  // An empty section means "COMBOBOX".
  TzkComboBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The drop-down button in client coordinates; empty for a combo box without one.
  TRect ButtonRect() const;
  // 2 while the list is down, 1 under the pointer, 0 otherwise.
  int ButtonState() const;
  // The width of the frame ring taken from the cached look (at least the platform's edge).
  int FrameWidth() const;
  // Composes the whole client area: the platform's painting, the frame ring, the button.
  void Render(TzkBitmap& out);

 protected:
  void AdapterProc(TMessage& m) override;
  void HotChanged() override;
  // The frame stays the platform's (the edit adapter paints its ring).
  TzkPaintRules PaintRules() const override { return {true, TzkEraseRule::Swallow, false}; }
  // Shows what Render composes, or the platform's own painting when it composes nothing.
  void PaintLook(HDC dc) override;
};
