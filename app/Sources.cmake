vornik_portable(
  TaskFile.cpp
  TaskClock.cpp
)
