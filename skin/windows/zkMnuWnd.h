// TzkMnuWnd: the adapter of a popup-menu window ("#32768"). For a menu drawn by the menu
// painter (sSkinMenus.h) it composes the whole window off screen: the platform lays the
// items out and the painter draws each of them, the frame and every gap come from the
// painter's cached menu background, and the result reaches the screen in one copy, so the
// platform's white background and frame are never seen. Menus the painter does not draw
// (another window's own menu) are left to the platform.
#pragma once

#include <memory>
#include <vector>

#include "skin/controls/zkScrollWnd.h"

class TMenuItem;

class TzkMnuWnd : public TzkScrollWnd {
 public:
  TzkMnuWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The painter has drawn the window's border (its region is set).
  bool BorderDrawn() const { return borderDrawn_; }
  // Composes the whole client area into the context.
  void PaintTo(HDC dc);

 protected:
  void AdapterProc(TMessage& m) override;
  bool TurnsThemeOff() const override { return false; }

 private:
  // The first item of the shown menu when the painter draws it, else null.
  TMenuItem* PaintedMenuFirstItem() const;
  bool AnswerCommand(TMessage& m);
  void PaintFrame();
  // Builds the menu's background and region when the window gets its size.
  void PrepareBackground(const WINDOWPOS* wp);
  void WindowGoing(TMessage& m);

  bool borderDrawn_ = false;
};

// The adapters of the open menu windows, in the order the windows were made.
std::vector<std::unique_ptr<TzkMnuWnd>>& MenuWnds();
// The hook's branch for a window being made: a menu window gets an adapter while popups are
// skinned and the platform does not compose windows itself. A menu the platform built for a
// window of ours that can answer owner drawing (an edit box's own context menu) is adopted by
// the menu painter before the platform measures it.
void AdaptMenuWindow(HWND wnd, const CREATESTRUCTW* creation = nullptr);
// Lets every menu window go (the hook is removed).
void ReleaseMenuWindows();
