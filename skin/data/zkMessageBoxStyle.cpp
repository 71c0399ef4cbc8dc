#include "skin/data/zkMessageBoxStyle.h"

namespace {

constexpr unsigned kForegroundAndTopmost = 0x50000;  // MB_SETFOREGROUND | MB_TOPMOST
constexpr unsigned kHelpButton = 0x4000;            // MB_HELP

unsigned IconOf(int kind) {
  switch (kind) {
    case mkError: return 0x10;         // MB_ICONERROR
    case mkInformation: return 0x40;   // MB_ICONINFORMATION
    case mkConfirmation: return 0x20;  // MB_ICONQUESTION
    default: return 0x30;              // MB_ICONWARNING
  }
}

unsigned ButtonSetOf(unsigned b) {
  if (b & mbtOK) return (b & mbtCancel) ? 1 : 0;      // MB_OKCANCEL : MB_OK
  if (b & (mbtAbort | mbtIgnore)) return 2;            // MB_ABORTRETRYIGNORE
  if (b & (mbtYes | mbtNo)) return (b & mbtCancel) ? 3 : 4;  // MB_YESNOCANCEL : MB_YESNO
  if (b & mbtRetry) return 5;                          // MB_RETRYCANCEL
  return 0;
}

}  // namespace

std::string MessageBoxCaptionOf(int kind) {
  switch (kind) {
    case mkError: return "Error";
    case mkInformation: return "Information";
    case mkConfirmation: return "Confirm";
    default: return "Warning";
  }
}

unsigned MessageBoxStyleOf(int kind, unsigned buttons) {
  return IconOf(kind) | kForegroundAndTopmost | ButtonSetOf(buttons) |
         ((buttons & mbtHelp) ? kHelpButton : 0);
}
