#include "skin/windows/zkLinkWnd.h"

#include <cwctype>

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainterWin.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

bool StartsWithNoCase(const std::wstring& s, size_t at, const wchar_t* prefix) {
  for (size_t i = 0; prefix[i]; ++i)
    if (at + i >= s.size() || std::towlower(s[at + i]) != prefix[i]) return false;
  return true;
}

// The opening tag is "<a>" or "<a" followed by blanks and attributes up to ">".
size_t OpeningTagLength(const std::wstring& s, size_t at) {
  if (!StartsWithNoCase(s, at, L"<a")) return 0;
  const size_t next = at + 2;
  if (next < s.size() && s[next] == L'>') return 3;
  if (next >= s.size() || !std::iswspace(s[next])) return 0;
  const size_t end = s.find(L'>', next);
  return end == std::wstring::npos ? 0 : end - at + 1;
}

// The platform's message font at a DPI, underlined; null when the metrics cannot be read.
TFontHandle UnderlinedMessageFont(int dpi) {
  NONCLIENTMETRICSW ncm = NonClientMetricsForDpi(dpi);
  if (!ncm.lfMessageFont.lfFaceName[0]) return TFontHandle();
  ncm.lfMessageFont.lfUnderline = TRUE;
  return TFontHandle(CreateFontIndirectW(&ncm.lfMessageFont));
}

}  // namespace

std::wstring StripLinkTags(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (StartsWithNoCase(text, i, L"</a>")) {
      i += 4;
      continue;
    }
    if (const size_t open = OpeningTagLength(text, i)) {
      i += open;
      continue;
    }
    out += text[i++];
  }
  return out;
}

TzkLinkWnd::TzkLinkWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkStaticWnd(wnd, section, manager) {}

bool TzkLinkWnd::LeftToBase() const {
  return (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0;
}

void TzkLinkWnd::DrawContent(HDC dc, int width, int height) {
  const int dpi = Skin().Manager ? Skin().Manager->PixelsPerInch() : kDesignDpi;
  if (!font_ || fontDpi_ != dpi) {
    font_ = UnderlinedMessageFont(dpi);
    fontDpi_ = dpi;
  }
  TSelectObject selected(dc, font_.Get() ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP;
  if (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_RIGHT) format |= DT_RIGHT;
  PaintSectionText(dc, StripLinkTags(Utf8ToWide(CachedText())), IsWindowEnabled(Handle()) != FALSE,
                   Skin().Tables(), false, Skin().SkinIndex, format, Rect(0, 0, width + 4, height));
}
