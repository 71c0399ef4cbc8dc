#include "toolkit/Dpi.h"

#include <initializer_list>

namespace {

template <typename F>
F Lookup(const char* module, const char* name) {
  HMODULE m = GetModuleHandleA(module);
  if (!m) m = LoadLibraryA(module);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

using TSetContext = BOOL(WINAPI*)(HANDLE);
using TSetAwareness = HRESULT(WINAPI*)(int);
using TSetAware = BOOL(WINAPI*)();
using TDpiForWindow = UINT(WINAPI*)(HWND);
using TDpiForSystem = UINT(WINAPI*)();
using TMetricsForDpi = int(WINAPI*)(int, UINT);
using TParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE, and
// PROCESS_PER_MONITOR_DPI_AWARE, as the platform's headers of newer versions define them.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(intptr_t(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(intptr_t(-3));
constexpr int kProcessPerMonitor = 2;

}  // namespace

bool EnablePerMonitorDpiAwareness() {
  if (auto set = Lookup<TSetContext>("user32.dll", "SetProcessDpiAwarenessContext")) {
    if (set(kPerMonitorV2) || set(kPerMonitor)) return true;
    // Already set (by the manifest): the platform refuses a second declaration.
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  if (auto set = Lookup<TSetAwareness>("shcore.dll", "SetProcessDpiAwareness")) {
    const HRESULT hr = set(kProcessPerMonitor);
    if (SUCCEEDED(hr) || hr == E_ACCESSDENIED) return true;
  }
  if (auto set = Lookup<TSetAware>("user32.dll", "SetProcessDPIAware")) return set() != FALSE;
  return false;
}

int SystemDpi() {
  static const auto get = Lookup<TDpiForSystem>("user32.dll", "GetDpiForSystem");
  if (get) return int(get());
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND wnd) {
  static const auto get = Lookup<TDpiForWindow>("user32.dll", "GetDpiForWindow");
  if (get && wnd) {
    const UINT dpi = get(wnd);
    if (dpi > 0) return int(dpi);
  }
  return SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
  static const auto get = Lookup<TDpiForMonitor>("shcore.dll", "GetDpiForMonitor");
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT x = 0, y = 0;
  if (get && monitor && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && y > 0) return int(y);
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjust = Lookup<TAdjustForDpi>("user32.dll", "AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&r, style, FALSE, exStyle, UINT(dpi))) AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

int MetricForDpi(int index, int dpi) {
  static const auto get = Lookup<TMetricsForDpi>("user32.dll", "GetSystemMetricsForDpi");
  if (get) return get(index, UINT(dpi));
  // One scale for every window: the system's metrics, scaled when asked for another DPI.
  const int system = SystemDpi();
  const int value = GetSystemMetrics(index);
  return dpi == system ? value : MulDiv(value, dpi, system);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof(ncm);
  static const auto get = Lookup<TParametersForDpi>("user32.dll", "SystemParametersInfoForDpi");
  if (get && get(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, UINT(dpi))) return ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  const int system = SystemDpi();
  if (dpi == system) return ncm;
  for (LOGFONTW* f : {&ncm.lfCaptionFont, &ncm.lfSmCaptionFont, &ncm.lfMenuFont, &ncm.lfStatusFont,
                      &ncm.lfMessageFont})
    f->lfHeight = MulDiv(f->lfHeight, dpi, system);
  for (int* v : {&ncm.iBorderWidth, &ncm.iScrollWidth, &ncm.iScrollHeight, &ncm.iCaptionWidth,
                 &ncm.iCaptionHeight, &ncm.iSmCaptionWidth, &ncm.iSmCaptionHeight, &ncm.iMenuWidth,
                 &ncm.iMenuHeight, &ncm.iPaddedBorderWidth})
    *v = MulDiv(*v, dpi, system);
  return ncm;
}
