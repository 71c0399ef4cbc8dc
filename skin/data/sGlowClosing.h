// Closing every glow window from the skin manager. The glow windows live above the skin data,
// so the manager cannot name them: the glow service registers its "close all" here when it
// shows its first glow, and until then there is nothing to close.
#pragma once

// freeAtOnce: the windows are freed now, not once the message that closes them has returned
// (the manager itself is going away, and with it the message loop may be gone).
using TzkCloseAllGlows = void (*)(bool freeAtOnce);

inline TzkCloseAllGlows zkCloseAllGlowsHandler = nullptr;

inline void SetCloseAllGlowsHandler(TzkCloseAllGlows handler) { zkCloseAllGlowsHandler = handler; }

inline void CloseAllGlowWindows(bool freeAtOnce) {
  if (zkCloseAllGlowsHandler) zkCloseAllGlowsHandler(freeAtOnce);
}
