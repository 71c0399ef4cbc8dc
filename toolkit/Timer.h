// A window-message timer: OnTimer runs every Interval milliseconds while Enabled.
#pragma once

#include <memory>

#include "toolkit/Component.h"

class TUtilWindow;

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  const wchar_t* ClassName() const override { return L"TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  void SetOnTimer(TNotifyEvent handler);
  // Runs OnTimer once, as a tick does.
  void Tick();

  TNotifyEvent OnTimer;

 private:
  void UpdateTimer();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  bool running_ = false;
  std::unique_ptr<TUtilWindow> window_;
};
