// Every Win32 test runs with the skin engine's window layer plugged in, as the program plugs
// it in at start-up.
#include "skin/windows/zkWindowSkinning.h"

namespace {

const bool kWindowLayer = (InstallWindowSkinning(), true);

}  // namespace
