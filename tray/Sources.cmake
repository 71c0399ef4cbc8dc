vornik_win32(
  CoolTrayIcon.cpp
  SimpleTimer.cpp
)
