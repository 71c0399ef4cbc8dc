vornik_portable(
  sDecimalSpinValue.cpp
)
