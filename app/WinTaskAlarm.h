// The alarm: a WAV file played once, asynchronously, by the platform's sound service.
#pragma once

#include <string>

#include "app/TaskPlatform.h"

class TWinTaskAlarm : public ITaskAlarm {
 public:
  explicit TWinTaskAlarm(std::wstring wavPath) : path_(std::move(wavPath)) {}
  void Play() override;

 private:
  std::wstring path_;
};
