#include "tray/SimpleTimer.h"

#include <set>

#include "toolkit/Application.h"
#include "toolkit/UtilWindow.h"

// The shared hidden window of every TSimpleTimer. WM_TIMER carries the timer's address;
// it is only followed for timers that still exist, because a WM_TIMER already waiting in
// the queue survives KillTimer.
class TSimpleTimerHandler {
 public:
  static TSimpleTimerHandler* Instance() { return instance_; }

  static void Register(TSimpleTimer* timer) {
    if (!instance_) instance_ = new TSimpleTimerHandler;
    instance_->timers_.insert(timer);
  }

  static void Unregister(TSimpleTimer* timer) {
    if (!instance_) return;
    instance_->timers_.erase(timer);
    if (instance_->timers_.empty()) {
      delete instance_;
      instance_ = nullptr;
    }
  }

  HWND Handle() const { return handle_; }
  int Users() const { return int(timers_.size()); }

 private:
  TSimpleTimerHandler() {
    handle_ = CreateHiddenWindow(kClassName, Proc);
  }

  ~TSimpleTimerHandler() {
    if (handle_) DestroyWindow(handle_);
  }

  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && instance_ && wnd == instance_->handle_) {
      auto* timer = reinterpret_cast<TSimpleTimer*>(wParam);
      if (instance_->timers_.count(timer)) {
        try {
          timer->Fire();
        } catch (const std::exception& e) {
          Application->HandleException(nullptr, &e);
        } catch (...) {
          Application->HandleException(nullptr, nullptr);
        }
      }
      return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
  }

  static constexpr const wchar_t* kClassName = L"TSimpleTimerHandler";
  static TSimpleTimerHandler* instance_;
  HWND handle_ = nullptr;
  std::set<TSimpleTimer*> timers_;
};

TSimpleTimerHandler* TSimpleTimerHandler::instance_ = nullptr;

TSimpleTimer::TSimpleTimer(TCallback onTimer) : TSimpleTimer(1000, std::move(onTimer)) {}

TSimpleTimer::TSimpleTimer(unsigned interval, TCallback onTimer)
    : interval_(interval), onTimer_(std::move(onTimer)) {
  TSimpleTimerHandler::Register(this);
}

TSimpleTimer::~TSimpleTimer() {
  Stop(true);
  TSimpleTimerHandler::Unregister(this);
}

HWND TSimpleTimer::HandlerWindow() {
  return TSimpleTimerHandler::Instance() ? TSimpleTimerHandler::Instance()->Handle() : nullptr;
}

int TSimpleTimer::HandlerUsers() {
  return TSimpleTimerHandler::Instance() ? TSimpleTimerHandler::Instance()->Users() : 0;
}

bool TSimpleTimer::Start() {
  if (interval_ == 0) return false;
  if (enabled_) Stop(false);
  HWND wnd = HandlerWindow();
  if (!wnd || SetTimer(wnd, Id(), interval_, nullptr) == 0) return false;
  enabled_ = true;
  return true;
}

void TSimpleTimer::Stop(bool disable) {
  if (HWND wnd = HandlerWindow()) KillTimer(wnd, Id());
  if (disable) enabled_ = false;
}

void TSimpleTimer::SetEnabled(bool on) {
  if (on)
    Start();
  else
    Stop(true);
}

void TSimpleTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (!enabled_) return;
  if (ms == 0)
    Stop(false);
  else
    Start();
}

void TSimpleTimer::SetOnTimer(TCallback onTimer) {
  onTimer_ = std::move(onTimer);
  if (!onTimer_ && enabled_) Stop(false);
}

void TSimpleTimer::Fire() {
  if (onTimer_) onTimer_(this);
}
