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
  # Window adapters, and the skinned scroll bars many of them add.
  zkSBUtils.cpp
  zkScrollWnd.cpp
  zkAdapterFactory.cpp
)
vornik_win32(
  sListView.cpp
  sListViewHeader.cpp
)
