// Desktop composition: whether the platform composes windows itself (then the provider keeps
// the platform's frame from flashing by other means and popup menus keep their frame), and the
// switch of the platform's non-client transition animations on skinned windows. The desktop
// window manager's library is loaded on first use and kept for the process.
#pragma once

#include <windows.h>

// The entry points the composition test and the animation switch use. Tests may replace them.
struct TzkDwmApi {
  using TIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  using TSetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
  DWORD MajorVersion = 0;  // of the platform
  TIsCompositionEnabled IsCompositionEnabled = nullptr;
  TSetWindowAttribute SetWindowAttribute = nullptr;
};

// The loaded entry points (loaded on the first call).
TzkDwmApi& DwmApi();

// Composition counts as on only on platform version 6 or later when the library says so.
bool CompositionEnabled();

// Switches the platform's non-client transition animations of a window off (while skinned)
// or back on. Without the library nothing happens.
void SetNonClientTransitions(HWND wnd, bool on);
