# Window skinning (Win32): the window-creation hook and the lists it shares.
vornik_win32(
  zkDials.cpp
  zkGlowEffect.cpp
)
# Dialog control adapters (Win32).
vornik_win32(
  zkEditWnd.cpp
  zkGroupBoxWnd.cpp
  zkBtnWnd.cpp
  zkCheckBoxWnd.cpp
  zkStaticWnd.cpp
)
