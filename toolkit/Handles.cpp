#include "toolkit/Handles.h"

#include <atomic>

namespace handles {

namespace {
std::atomic<long> g_alive{0};
}

long GdiObjectsAlive() { return g_alive.load(); }
void CountGdiObject(int delta) { g_alive += delta; }

}  // namespace handles
