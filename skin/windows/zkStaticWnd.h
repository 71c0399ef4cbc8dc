// The adapters for platform static windows: TzkStaticWnd writes the text over the section
// painted on the parent's background; TzkIconWnd shows the static's icon or bitmap there
// instead. Statics with the tab-stop style or a static edge keep the base adapter's handling,
// so their own painting stays. The look is rendered into the skin state's cached image and
// copied to the window in one blit.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkStaticWnd : public TzkMainWnd {
 public:
  // An empty section means "CHECKBOX".
  TzkStaticWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // Renders the whole window into the cached image.
  void PrepareCache() override;
  // The static keeps its own painting (tab stop or static edge).
  virtual bool LeftToBase() const;

 protected:
  void AdapterProc(TMessage& m) override;
  // The look is copied on erasing; painting copies it again when nothing was erased.
  TzkPaintRules PaintRules() const override { return {false, TzkEraseRule::PaintWhenVisible, true}; }
  // Draws the content over the background already in the cache's context.
  virtual void DrawContent(HDC dc, int width, int height);

 private:
  void Redraw();
};

class TzkIconWnd : public TzkStaticWnd {
 public:
  TzkIconWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The static shows a bitmap rather than an icon.
  bool ShowsBitmap() const;

 protected:
  void DrawContent(HDC dc, int width, int height) override;
};
