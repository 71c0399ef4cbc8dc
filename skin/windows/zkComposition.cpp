#include "skin/windows/zkComposition.h"

namespace {

constexpr DWORD kTransitionsForceDisabled = 3;

DWORD PlatformMajorVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExW(&info) ? info.dwMajorVersion : 0;
#pragma GCC diagnostic pop
}

TzkDwmApi LoadDwmApi() {
  TzkDwmApi api;
  api.MajorVersion = PlatformMajorVersion();
  if (api.MajorVersion < 6) return api;
  // Kept loaded for the process: the entry points are used on every skinned window.
  HMODULE dwm = LoadLibraryW(L"DWMAPI.DLL");
  if (!dwm) return api;
  api.IsCompositionEnabled = reinterpret_cast<TzkDwmApi::TIsCompositionEnabled>(
      reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
  api.SetWindowAttribute = reinterpret_cast<TzkDwmApi::TSetWindowAttribute>(
      reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
  return api;
}

}  // namespace

TzkDwmApi& DwmApi() {
  static TzkDwmApi api = LoadDwmApi();
  return api;
}

bool CompositionEnabled() {
  const TzkDwmApi& api = DwmApi();
  if (api.MajorVersion < 6 || !api.IsCompositionEnabled) return false;
  BOOL enabled = FALSE;
  return SUCCEEDED(api.IsCompositionEnabled(&enabled)) && enabled;
}

void SetNonClientTransitions(HWND wnd, bool on) {
  const TzkDwmApi& api = DwmApi();
  if (!wnd || api.MajorVersion < 6 || !api.SetWindowAttribute) return;
  const BOOL disabled = on ? FALSE : TRUE;
  api.SetWindowAttribute(wnd, kTransitionsForceDisabled, &disabled, sizeof(disabled));
}
