vornik_portable(
  sDecimalSpinValue.cpp
)

vornik_win32(
  sButton.cpp
  sLabel.cpp
  sGroupBox.cpp
)
