// The adapter for platform link windows ("link window", "syslink"): painted like a static
// text, but the text is written in the platform's message font, underlined, with the anchor
// tags taken out. A link with a static edge keeps its own painting entirely.
#pragma once

#include <string>

#include "skin/windows/zkStaticWnd.h"
#include "toolkit/Handles.h"

// The link text as the user sees it: every "<a ...>" and "</a>" tag removed (any case).
std::wstring StripLinkTags(const std::wstring& text);

class TzkLinkWnd : public TzkStaticWnd {
 public:
  // An empty section means "CHECKBOX".
  TzkLinkWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  bool LeftToBase() const override;

 protected:
  void DrawContent(HDC dc, int width, int height) override;

 private:
  // The underlined message font, made again only when the skin's scale changes.
  TFontHandle font_;
  int fontDpi_ = 0;
};
