vornik_portable(
  sDecimalSpinValue.cpp
  zkSBUtilsGeometry.cpp
)

vornik_win32(
  sButton.cpp
  sLabel.cpp
  sGroupBox.cpp
  sEdit.cpp
  sSpeedButton.cpp
  sSpinEdit.cpp
  # Window adapters and skinned scroll bars.
  zkSBUtils.cpp
  zkAdapterFactory.cpp
)
vornik_win32(
  sListView.cpp
)
