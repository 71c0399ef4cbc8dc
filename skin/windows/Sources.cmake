# Window skinning (Win32): the window-creation hook and the lists it shares.
vornik_win32(
  zkDials.cpp
  zkGlowEffect.cpp
)
