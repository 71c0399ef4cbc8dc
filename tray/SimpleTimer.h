// A light timer object without a window of its own: every TSimpleTimer is a platform timer
// on one shared hidden window (TSimpleTimerHandler), identified by the object's address. The
// shared window exists while at least one timer does.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Component.h"

class TSimpleTimer : public TObject {
 public:
  using TCallback = std::function<void(TSimpleTimer* sender)>;

  explicit TSimpleTimer(TCallback onTimer = {});
  TSimpleTimer(unsigned interval, TCallback onTimer);
  ~TSimpleTimer() override;
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;
  const wchar_t* ClassName() const override { return L"TSimpleTimer"; }

  // Starts the periodic timer (a running one is stopped first); false when the interval is
  // 0 or the platform refuses.
  bool Start();
  // Kills the platform timer; the enabled flag is cleared only when disable is true.
  void Stop(bool disable);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  unsigned Interval() const { return interval_; }
  // A new interval restarts an enabled timer; 0 stops it but keeps it enabled, so a later
  // non-zero interval starts it again.
  void SetInterval(unsigned ms);
  const TCallback& OnTimer() const { return onTimer_; }
  // An empty callback stops an enabled timer without disabling it.
  void SetOnTimer(TCallback onTimer);

  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }

  // The shared window and the number of timers that use it (0 and null when none exist).
  static HWND HandlerWindow();
  static int HandlerUsers();

 private:
  friend class TSimpleTimerHandler;
  void Fire();

  bool enabled_ = false;
  unsigned interval_ = 1000;
  TCallback onTimer_;
};
