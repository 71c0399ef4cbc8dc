#include "toolkit/Subclass.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kSlotCount = 512;

struct TSlot {
  bool Used = false;
  bool Gone = false;  // the window's last message (WM_NCDESTROY) has reached the receiver
  HWND Wnd = nullptr;
  WNDPROC Prev = nullptr;
  TWindowSubclass::TReceiver Receiver = nullptr;  // null: the entry only passes messages on
  void* Context = nullptr;
};
std::array<TSlot, kSlotCount> g_slots;

LRESULT Dispatch(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

template <int N>
LRESULT CALLBACK SlotProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Dispatch(N, wnd, msg, wParam, lParam);
}
template <size_t... I>
std::array<WNDPROC, sizeof...(I)> MakeSlotProcs(std::index_sequence<I...>) {
  return {{&SlotProc<int(I)>...}};
}
const std::array<WNDPROC, kSlotCount> g_slotProcs = MakeSlotProcs(std::make_index_sequence<kSlotCount>());

int TakeSlot() {
  for (int i = 0; i < kSlotCount; ++i)
    if (!g_slots[size_t(i)].Used) return i;
  return -1;
}

bool SlotOnTop(int slot) {
  const TSlot& entry = g_slots[size_t(slot)];
  return GetWindowLongPtrW(entry.Wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(g_slotProcs[size_t(slot)]);
}

// Takes the entry out of the window's chain when it is on top; true when it was.
bool UnlinkSlot(int slot) {
  TSlot& entry = g_slots[size_t(slot)];
  if (!SlotOnTop(slot)) return false;
  SetWindowLongPtrW(entry.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.Prev));
  entry = TSlot();
  return true;
}

LRESULT Dispatch(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSlot& entry = g_slots[size_t(slot)];
  if (!entry.Used) return DefWindowProcW(wnd, msg, wParam, lParam);
  if (entry.Receiver) {
    if (msg == WM_NCDESTROY) entry.Gone = true;
    // The receiver may let go of the entry while it runs: nothing of it is read afterwards.
    return entry.Receiver(entry.Context, wnd, msg, wParam, lParam);
  }
  const WNDPROC prev = entry.Prev;
  if (!UnlinkSlot(slot) && msg == WM_NCDESTROY) entry = TSlot();
  return CallWindowProcW(prev, wnd, msg, wParam, lParam);
}

}  // namespace

bool TWindowSubclass::Install(HWND wnd, TReceiver receiver, void* context) {
  Remove();
  if (!IsWindow(wnd) || !receiver) return false;
  const int slot = TakeSlot();
  if (slot < 0) return false;
  TSlot& entry = g_slots[size_t(slot)];
  entry.Used = true;
  entry.Wnd = wnd;
  entry.Receiver = receiver;
  entry.Context = context;
  entry.Prev = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_slotProcs[size_t(slot)])));
  if (!entry.Prev) {  // refused (a window of another process)
    entry = TSlot();
    return false;
  }
  slot_ = slot;
  return true;
}

void TWindowSubclass::Remove() {
  if (slot_ < 0) return;
  const int slot = std::exchange(slot_, -1);
  if (UnlinkSlot(slot)) return;
  TSlot& entry = g_slots[size_t(slot)];
  // A window that is gone sends nothing more; any other keeps the entry in its chain.
  if (entry.Gone || !IsWindow(entry.Wnd)) {
    entry = TSlot();
    return;
  }
  entry.Receiver = nullptr;
  entry.Context = nullptr;
}

HWND TWindowSubclass::Window() const { return slot_ >= 0 ? g_slots[size_t(slot_)].Wnd : nullptr; }

WNDPROC TWindowSubclass::Previous() const { return slot_ >= 0 ? g_slots[size_t(slot_)].Prev : nullptr; }

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
  const WNDPROC prev = Previous();
  return prev ? CallWindowProcW(prev, Window(), msg, wParam, lParam) : 0;
}

int TWindowSubclass::EntriesInUse() {
  return int(std::count_if(g_slots.begin(), g_slots.end(), [](const TSlot& s) { return s.Used; }));
}
