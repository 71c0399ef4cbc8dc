// What the skin manager drives in the window layer above it: the window-creation hook and the
// windows under its control, the forms that have a frame provider, desktop composition and
// the glow windows. The manager cannot name that layer (it is built on the manager), so the
// layer fills these seams in at start-up (InstallWindowSkinning in skin/windows). Until it
// has, a manager applies its skin to the forms it reaches, installs no hook and shows no glow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/paint/zkTypes.h"

class TCustomForm;
class TObject;
class TsSkinManager;
class TsSkinView;

// A form's frame provider as the skin manager's broadcast and skin-changing animation see it.
class IzkFrameProvider {
 public:
  virtual TCustomForm* Form() const = 0;
  virtual TsSkinView* SkinManager() const = 0;
  // The provider paints the form's frame and title bar itself.
  virtual bool DrawsNonClientArea() const = 0;
  virtual void SetAnimating(bool on) = 0;
  // After a skin change: rebuild the corner areas and the window region, redraw.
  virtual void RebuildFrame() = 0;
  // A copy of the form's window region for the cover window, or null.
  virtual HRGN CopyWindowRegion() const = 0;
  // Switches a frozen form with an extended border window to its new look together with the
  // border, in `time` milliseconds; false (nothing done) when the form has no such window.
  virtual bool SwitchLookWithBorder(uint16_t /*time*/) { return false; }

 protected:
  ~IzkFrameProvider() = default;
};
// The forms that have a frame provider, in the order they got one.
std::vector<IzkFrameProvider*>& FramedForms();

// The window hook and what it knows.
struct TzkWindowSkinning {
  // Installs the thread's window-creation hook (once); false when the platform refuses.
  bool (*InstallHook)() = nullptr;
  // Removes it and frees the records of the windows it skinned.
  void (*RemoveHook)() = nullptr;
  // Every window under the hook's control: the skinned forms and dialogs.
  std::vector<HWND> (*HookedWindows)() = nullptr;
  // The platform composes windows itself.
  bool (*CompositionEnabled)() = nullptr;
  // Shows one of the engine's warnings in the engine's own (skinned) message box.
  void (*Warn)(const std::string& text) = nullptr;
};
void SetWindowSkinning(const TzkWindowSkinning& skinning);
const TzkWindowSkinning& WindowSkinning();

// The glow windows shown around hot controls.
struct TzkGlowHost {
  // Shows a glow (screen rectangle of the control, its visible part in its own coordinates,
  // the section holding the image under key + "0", the manager, the owner window, alpha,
  // margin) and returns its id, or -1 when nothing could be shown.
  int (*Show)(const TRect& controlOnScreen, const TRect& visiblePart, const std::string& section,
              TsSkinView* manager, HWND owner, uint8_t alpha, int margin,
              const std::string& key) = nullptr;
  // Closes one glow; unknown and closed ids are ignored.
  void (*Close)(int id) = nullptr;
  // Whether the glow with this id is still open.
  bool (*Open)(int id) = nullptr;
  // Closes every glow: freed now with freeAtOnce (the manager itself goes, and with it the
  // message loop may be gone), otherwise once the current message has returned.
  void (*CloseAll)(bool freeAtOnce) = nullptr;
};
void SetGlowHost(const TzkGlowHost& host);
const TzkGlowHost& GlowHost();

// The popup-menu painter a skin manager owns: it switches the application's menus to its own
// drawing while a skin is applied and draws their borders.
class IzkMenuPainter {
 public:
  virtual ~IzkMenuPainter() = default;
  // Gives every menu the application owns the painter's handlers (true) or takes them back.
  virtual void SetActive(bool on) = 0;
  // A new skin is being applied: measures taken from the old one are forgotten.
  virtual void SkinChanged() = 0;
  // Draws the border of the shown menu that holds this menu item into its window.
  virtual void ApplyBorderOfItem(TObject* item) = 0;
  // Draws the border of this menu window.
  virtual void ApplyBorderOfWindow(HWND menuWindow) = 0;
  // A popup menu the platform built for one of the application's windows (an edit box's own
  // context menu) is about to open: it is drawn like the application's menus.
  virtual void AdoptPlatformMenu(HMENU menu) = 0;
};
// Makes the painter of a manager; null until the window layer has filled it in.
using TzkMenuPainterMaker = std::unique_ptr<IzkMenuPainter> (*)(TsSkinManager* manager);
void SetMenuPainterMaker(TzkMenuPainterMaker maker);
TzkMenuPainterMaker MenuPainterMaker();
