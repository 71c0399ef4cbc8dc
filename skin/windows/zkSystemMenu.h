// The skinned system menu of a standard dialog: Restore, Move, Size, Minimize, Maximize, a
// line and Close, shown, hidden, enabled and disabled by the dialog's frame kind, style and
// window state; a chosen item becomes the dialog's system command. It is drawn by the skin's
// menu painter and shown with the dialog as its window.
#pragma once

#include <windows.h>

#include "skin/windows/sSystemMenu.h"

class TzkDialogWnd;

class TzkSystemMenu : public TsCustomSysMenu {
 public:
  explicit TzkSystemMenu(TzkDialogWnd& dialog);
  const wchar_t* ClassName() const override { return L"TzkSystemMenu"; }

  bool VisibleClose() const override;
  bool VisibleMax() const override;
  bool VisibleMin() const override;
  bool EnabledMax() const override;
  bool EnabledMin() const override;
  bool EnabledRestore() const override;

  // Captions again from the platform's system menu of the dialog.
  void Build();
  // Sets every item's visibility and enabled state from the dialog's current state.
  void Refresh();
  // Pops the menu up at a screen point with the dialog as its window and returns when it has
  // closed (after the chosen item has acted); the command chosen, or 0.
  UINT ShowAt(int x, int y);

  TMenuItem* ItemRestore = nullptr;   // "miRestore"
  TMenuItem* ItemMove = nullptr;      // "miMove"
  TMenuItem* ItemSize = nullptr;      // "miSize"
  TMenuItem* ItemMinimize = nullptr;  // "miMinimize"
  TMenuItem* ItemMaximize = nullptr;  // "miMaximize"
  TMenuItem* ItemClose = nullptr;     // "miClose", Alt+F4

 protected:
  void SendCommand(UINT command) override;

 private:
  bool Maximized() const;
  bool Minimized() const;

  TzkDialogWnd& dialog_;
};
