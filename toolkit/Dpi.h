// Display scale. The program declares itself aware of every monitor's scale (per-monitor v2
// where the platform has it, system-aware before that), so the platform never stretches its
// windows as bitmaps; every size is then computed for the DPI of the window it is used in.
// The functions of newer platforms are looked up at run time; without them the system's
// values are used (one scale for every window).
#pragma once

#include <windows.h>

// The DPI designs and logical units refer to: 100 %.
constexpr int kDesignDpi = 96;

// Declares the process's awareness; call once before the first window is made. True when
// some awareness could be set.
bool EnablePerMonitorDpiAwareness();

// The DPI of the system (the primary monitor at start-up).
int SystemDpi();
// The DPI of the monitor a window is on (the system DPI where the platform cannot tell).
int WindowDpi(HWND wnd);
// The effective DPI of a monitor (the system DPI where the platform cannot tell).
int MonitorDpi(HMONITOR monitor);
// A logical value at a DPI, rounded half away from zero (MulDiv).
inline int ScaleForDpi(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }
// The scale of a DPI in whole percent (96 -> 100, 144 -> 150).
inline int ScalePercentOf(int dpi) { return MulDiv(dpi, 100, kDesignDpi); }

// GetSystemMetrics for a DPI.
int MetricForDpi(int index, int dpi);
// AdjustWindowRectEx (no menu line) for a DPI.
void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi);
// The non-client metrics (caption, menu and message fonts, frame sizes) for a DPI.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);
