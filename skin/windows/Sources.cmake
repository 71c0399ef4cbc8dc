# Window skinning (Win32): the window-creation hook, form frames with their title buttons and
# system menu, and glow windows.
vornik_win32(
  sSkinProvider.cpp
  sSkinProviderFrame.cpp
  sSkinProviderMdi.cpp
  sSystemMenu.cpp
  sTitleButtons.cpp
  zkBorderForm.cpp
  zkComposition.cpp
  zkCtrlAdapter.cpp
  zkDials.cpp
  zkWindowSkinning.cpp
  zkGlowEffect.cpp
  zkLayeredWindow.cpp
  zkMDIWnd.cpp
  zkHintWindow.cpp
)
# Dialog control adapters (Win32).
vornik_win32(
  zkEditWnd.cpp
  zkGroupBoxWnd.cpp
  zkBtnWnd.cpp
  zkCheckBoxWnd.cpp
  zkStaticWnd.cpp
  zkLinkWnd.cpp
  zkTransPanelWnd.cpp
  zkDlgPanelWnd.cpp
  zkCachedWnd.cpp
  zkSizerWnd.cpp
  zkSpinWnd.cpp
  zkToolBarWnd.cpp
  zkTabControlWnd.cpp
  zkComboBoxWnd.cpp
  zkTreeViewWnd.cpp
)
