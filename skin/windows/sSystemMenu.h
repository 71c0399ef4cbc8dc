// The skinned system menu of a form with a frame provider: a popup menu built from the
// platform's system menu of the form window, whose items are shown, hidden, enabled and
// disabled by the form's border style, border icons and window state, and whose clicks become
// the form's system commands.
#pragma once

#include <windows.h>

#include "toolkit/Form.h"
#include "toolkit/Menu.h"

class TsSkinView;

class TsSkinProvider;

// The six queries the system menu and the title buttons share, and the items every system
// menu makes the same way.
class TsCustomSysMenu : public TPopupMenu {
 public:
  explicit TsCustomSysMenu(TComponent* owner) : TPopupMenu(owner) {}
  const wchar_t* ClassName() const override { return L"TsCustomSysMenu"; }
  virtual bool VisibleClose() const = 0;
  virtual bool VisibleMax() const = 0;
  virtual bool VisibleMin() const = 0;
  virtual bool EnabledMax() const = 0;
  virtual bool EnabledMin() const = 0;
  virtual bool EnabledRestore() const = 0;

 protected:
  // The system command an item's click gives its window.
  virtual void SendCommand(UINT command) = 0;
  // An item of a system command, captioned as the platform's own menu of the window captions
  // that command (in the user's language), else with the fallback.
  TMenuItem* AddItem(const wchar_t* name, UINT command, const wchar_t* fallback, HMENU platform);
  void AddLine();
  void ClearItems();
  // The menu drawn by the skin's menu painter while its popups are skinned.
  void HookToPainter(TsSkinView* manager);
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  TsSystemMenu(TsSkinProvider* provider, TCustomForm* form);
  const wchar_t* ClassName() const override { return L"TsSystemMenu"; }

  bool VisibleClose() const override;
  bool VisibleMax() const override;
  bool VisibleMin() const override;
  bool EnabledMax() const override;
  bool EnabledMin() const override;
  bool EnabledRestore() const override;

  // Rebuilds the items from the platform's system menu of the form window.
  void Build();
  // Sets every item's visibility and enabled state from the form's current state.
  void Refresh();
  // Pops the menu up at a screen point (the platform's own system menu, made to match, when
  // popups are not skinned).
  void ShowAt(int x, int y);

  TMenuItem* ItemRestore = nullptr;   // "zkIR"
  TMenuItem* ItemMove = nullptr;      // "zkIM"
  TMenuItem* ItemSize = nullptr;      // "zkIS"
  TMenuItem* ItemMinimize = nullptr;  // "zkIN"
  TMenuItem* ItemMaximize = nullptr;  // "zkIX"
  TMenuItem* ItemClose = nullptr;     // "zkIC"
  int ExtraCount() const { return extraCount_; }

 private:
  void SendCommand(UINT command) override;
  bool Sizable() const;
  bool SingleOrSizable() const;
  bool Maximized() const;
  bool Minimized() const;
  bool MdiChild() const { return form_->FormStyle() == TFormStyle::fsMDIChild; }
  void ShowPlatformMenu(int x, int y);

  TsSkinProvider* provider_;
  TCustomForm* form_;
  int extraCount_ = 0;
};
