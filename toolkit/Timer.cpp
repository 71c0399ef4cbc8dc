#include "toolkit/Timer.h"

#include "toolkit/UtilWindow.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = std::make_unique<TUtilWindow>([this](TMessage& m, bool& handled) {
    if (m.Msg == WM_TIMER) {
      handled = true;
      Tick();
    }
  });
}

TTimer::~TTimer() {
  if (running_) KillTimer(window_->Handle(), 1);
}

void TTimer::SetEnabled(bool on) {
  enabled_ = on;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Tick() {
  if (OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer() {
  if (running_) KillTimer(window_->Handle(), 1);
  running_ = false;
  if (enabled_ && interval_ > 0 && OnTimer && window_->Handle())
    running_ = SetTimer(window_->Handle(), 1, interval_, nullptr) != 0;
}
