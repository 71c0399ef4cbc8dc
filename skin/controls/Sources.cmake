vornik_portable(
  sDecimalSpinValue.cpp
)
vornik_portable(
  zkSBUtilsGeometry.cpp
)
# Window adapters and skinned scroll bars (Win32).
vornik_win32(
  zkSBUtils.cpp
)
