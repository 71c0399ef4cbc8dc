// The skin engine's private window message SM_ORVEXCMD and its command codes. Portable: the
// numbers and the packing of the first parameter, nothing that needs the platform.
//
//   wParam: high 16 bits = command code, low 16 bits = "lo" (a small argument, 0 unless the
//           command uses it); lParam: the command's argument; result: 0 unless stated.
//
// Commands are sent synchronously; a receiver that does not know a code answers 0 and lets
// its default handling run (see sSkinCommands.h for the receiving side).
#pragma once

#include <cstdint>

// A number in the range the platform leaves to applications (WM_APP and above).
constexpr uint32_t SM_ORVEXCMD = 0xA100;

// Command codes. lParam / result per code:
enum TzkCommandCode : uint16_t {
  zcSkinNew = 1,             // manager                    a skin was applied
  zcSkinRemove = 2,          // manager                    the skin is removed
  zcSkinRefresh = 3,         // manager                    repaint with the current skin
  zcGetProvider = 4,         // -                          -> the form's frame provider or 0
  zcChildPaint = 5,          // -                          a check-box adapter paints
  zcParentUpdateEnd = 6,     // -                          the parent finished a change
  zcIsSkinned = 7,           // -                          -> 1 from every skinned receiver
  zcSetUpdating = 8,         // lo 1 start, other end
  zcSetSkipPaint = 9,        // lo 1 set, other clear
  zcQueryUpdating = 10,      // -                          -> 1 when painting must wait
  zcIsHalfVisible = 11,      // -                          -> the partly-hidden flag
  zcParentChanged = 12,      // lo 1 background changed
  zcSectionChanged = 13,     // -                          a section is being edited
  zcMenuBorderDrawn = 14,    // -
  zcStopAnimation = 16,      // manager or 0               stop fades, show the final state
  zcBackgroundChanged = 17,  // lo 1                       mark the cached image invalid
  zcRepaintFrame = 18,       // -                          refresh outside the client area
  zcHasOwnBackground = 19,   // -                          -> 1 or 0
  zcInvalidateIfNeeded = 20, // lo 1 redraw now
  zcGetBackgroundColor = 21, // 0xFF00FF or 0              -> the background colour for a child
  zcSetHalfVisible = 22,     // -                          set the partly-hidden flag
  zcPrepareCache = 23,       // -                          an adapter repaints its cache
  zcFadeStep = 24,           // intermediate image         -> non-zero when drawn by receiver
  zcChildAdded = 25,         // the new control or 0
  zcGetSectionIndex = 26,    // -                          -> section index + 1 (0 none)
  zcGetReservedTop = 27,     // -                          -> caption band height
  zcAdoptChildren = 28,      // -
  zcMouseEnter = 29,         // manager
  zcMouseLeave = 30,         // manager
  zcUpdateBegin = 31,        // -
  zcUpdateEnd = 32,          // -
  zcGetBackground = 34,      // TsBackgroundRequest*       the parent paints or locates it
  zcBeforePaint = 35,        // -
  zcPlainFlag = 36,          // 0 query, 1 recompute       -> PlainBackground flags
  zcUpdateShadow = 37,       // -
  zcBeforeScroll = 51,       // scroll code | message << 16 -> 1 for full 32-bit positions
  zcAfterScroll = 52,        // scroll code | message << 16
  zcGetApplication = 60,     // -                          -> the application object
  zcGetClientOffset = 61,    // -                          -> x | y << 16
};

// The first parameter of a command: code in the high word, lo in the low word.
constexpr uintptr_t MakeCommandWParam(uint16_t code, uint16_t lo = 0) {
  return (uintptr_t(code) << 16) | uintptr_t(lo);
}
constexpr uint16_t CommandCodeOf(uintptr_t wParam) { return uint16_t((wParam >> 16) & 0xFFFF); }
constexpr uint16_t CommandLoOf(uintptr_t wParam) { return uint16_t(wParam & 0xFFFF); }

// BgType of a background request.
constexpr uint8_t btNotAnswered = 0;
constexpr uint8_t btColor = 1;
constexpr uint8_t btBitmap = 2;
