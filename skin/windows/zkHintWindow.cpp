#include "skin/windows/zkHintWindow.h"

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/UtilWindow.h"

namespace {

constexpr wchar_t kHintClass[] = L"TzkHintWindow";

// The tables and the "HINT" section of the manager's active skin; null tables when the hint
// takes the platform look.
const TsSkinTables* HintSection(TsSkinView* manager, int& section) {
  section = -1;
  if (!manager || !manager->Active() || !manager->SkinData().Active) return nullptr;
  const TsSkinTables* t = &manager->Tables();
  section = t->IndexOfSection("HINT");
  return t->IsValidSection(section) ? t : nullptr;
}

// How far the section's border reaches into the popup on each side.
TRect BorderOf(const TsSkinTables* t, int section) {
  if (!t) return TRect(1, 1, 1, 1);
  const int index = t->Sections[size_t(section)].BorderIndex;
  if (!t->IsValidMask(index)) return TRect(0, 0, 0, 0);
  const TsMaskData& m = t->Masks[size_t(index)];
  if (!m.WL && !m.WT && !m.WR && !m.WB) return TRect(m.BorderWidth, m.BorderWidth, m.BorderWidth, m.BorderWidth);
  return TRect(m.WL, m.WT, m.WR, m.WB);
}

// The platform tooltip's look: its background colour inside a one-pixel frame.
void PaintPlatformBack(TzkBitmap& image) {
  const int w = image.Width(), h = image.Height();
  FillSolid(image, TRect(0, 0, w, h), TColor(GetSysColor(COLOR_WINDOWFRAME)));
  FillSolid(image, TRect(1, 1, w - 1, h - 1), TColor(GetSysColor(COLOR_INFOBK)));
}

}  // namespace

TzkHintWindow::TzkHintWindow(TManagerSource manager) : manager_(std::move(manager)) {}

TzkHintWindow::~TzkHintWindow() {
  if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

unsigned TzkHintWindow::HoverTime() {
  UINT ms = 0;
  if (SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &ms, 0) && ms > 0) return ms;
  return GetDoubleClickTime();
}

// The platform tooltip's default time-out is ten double-click times.
unsigned TzkHintWindow::AutoPopTime() { return GetDoubleClickTime() * 10; }

TFontHandle TzkHintWindow::MessageFont(int dpi) {
  const NONCLIENTMETRICSW ncm = NonClientMetricsForDpi(dpi);
  if (!ncm.lfMessageFont.lfFaceName[0]) return TFontHandle();
  return TFontHandle(CreateFontIndirectW(&ncm.lfMessageFont));
}

bool TzkHintWindow::Showing() const { return window_ && IsWindowVisible(window_.Get()); }

void TzkHintWindow::Arm(const std::wstring& text) {
  Cancel();
  if (text.empty() || !MakeWindow()) return;
  text_ = text;
  waiting_ = SetTimer(window_.Get(), kShowTimer, HoverTime(), nullptr) != 0;
}

void TzkHintWindow::Cancel() {
  waiting_ = false;
  if (!window_) return;
  KillTimer(window_.Get(), kShowTimer);
  KillTimer(window_.Get(), kHideTimer);
  if (IsWindowVisible(window_.Get()))
    SetWindowPos(window_.Get(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TzkHintWindow::MakeWindow() {
  if (window_) return true;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  RegisterWindowClassOnce(kHintClass, Proc, CS_SAVEBITS);
  window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass, L"",
                                WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, nullptr));
  if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return bool(window_);
}

// Just below the pointer, moved inside the work area of the pointer's monitor; above the
// pointer when there is no room below it.
void TzkHintWindow::ShowNow() {
  waiting_ = false;
  KillTimer(window_.Get(), kShowTimer);
  Render();
  if (image_.Empty()) return;
  POINT p = {0, 0};
  GetCursorPos(&p);
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& work = mi.rcWork;
  const int w = image_.Width(), h = image_.Height();
  int y = p.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
  if (y + h > work.bottom) y = p.y - h - 2;
  const int x = std::max<int>(work.left, std::min<int>(p.x, work.right - w));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
  SetWindowPos(window_.Get(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(window_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  SetTimer(window_.Get(), kHideTimer, AutoPopTime(), nullptr);
}

// The section (or the platform colours) over the whole popup, then the text in the section's
// font colour, inside the border and the padding.
void TzkHintWindow::Render() {
  TsSkinView* manager = manager_ ? manager_() : nullptr;
  const int dpi = manager ? manager->PixelsPerInch() : kDesignDpi;
  if (!font_ || fontDpi_ != dpi) {
    font_ = MessageFont(dpi);
    fontDpi_ = dpi;
  }
  TMemoryDcHandle measure(CreateCompatibleDC(nullptr));
  RECT r = {0, 0, 0, 0};
  if (measure) {
    TSelectObject font(measure.Get(), font_.Get());
    DrawTextW(measure.Get(), text_.c_str(), int(text_.size()), &r, kTextFormat | DT_CALCRECT);
  }
  int section = -1;
  const TsSkinTables* t = HintSection(manager, section);
  const TRect b = BorderOf(t, section);
  const int padX = ScaleForDpi(kPaddingX, dpi), padY = ScaleForDpi(kPaddingY, dpi);
  textRect_ = TRect(b.Left + padX, b.Top + padY, b.Left + padX + r.right, b.Top + padY + r.bottom);
  const int w = textRect_.Right + padX + b.Right, h = textRect_.Bottom + padY + b.Bottom;
  image_ = NewDeviceBitmap24(w, h);
  if (t) {
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(t->Sections[size_t(section)].Color);
    PaintSectionByIndex(section, "HINT", bg, -1, -1, t, &image_, TPoint{0, 0}, TRect(0, 0, w, h), 0, true);
  } else {
    PaintPlatformBack(image_);
  }
  DrawOnBitmap(image_, [&](HDC dc) {
    TSelectObject font(dc, font_.Get());
    if (!t) SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    PaintSectionText(dc, text_, true, t, false, section, kTextFormat, textRect_);
  });
}

void TzkHintWindow::Paint(HDC dc) const {
  if (!image_.Empty()) DrawBitmapToDC(dc, 0, 0, image_, TRect(0, 0, image_.Width(), image_.Height()));
}

LRESULT CALLBACK TzkHintWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TzkHintWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
  try {
    return self->Receive(msg, wParam, lParam);
  } catch (const std::exception& e) {
    Application->HandleException(nullptr, &e);
  } catch (...) {
    Application->HandleException(nullptr, nullptr);
  }
  return 0;
}

LRESULT TzkHintWindow::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND wnd = window_.Get();
  switch (msg) {
    case WM_TIMER:
      if (wParam == kShowTimer && waiting_) ShowNow();
      else if (wParam == kHideTimer) Cancel();
      return 0;
    case WM_PAINT: {
      const TPaintScope paint(wnd);
      Paint(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(HDC(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      // The pointer's windows below keep their hot state and clicks.
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(wnd, msg, wParam, lParam);
  }
}
