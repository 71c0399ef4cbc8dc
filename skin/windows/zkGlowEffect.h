// Glow windows: the soft halo around a control under the pointer, drawn from a glow image of
// the skin (skin/paint/zkGlowImage.h renders it) in a borderless layered window with per-pixel
// alpha that lies around the control, is never activated and lets every mouse click through
// to the windows below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/paint/zkTypes.h"
#include "toolkit/Form.h"
#include "skin/windows/zkLayeredWindow.h"

class TsSkinView;
struct TsMaskData;

// The window a glow is shown in: a hidden borderless form with Tag -98 whose hit test says
// "transparent" and which never takes the activation.
class TzkGlowForm : public TCustomForm {
 public:
  explicit TzkGlowForm(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TzkGlowForm"; }

 protected:
  void WndProc(TMessage& m) override;
};


// Shows a glow around a control: screen rectangle, visible part in the control's coordinates,
// the section holding the glow image under key + "0", the manager (null: the default), the
// owner window (its top-most state is copied), alpha and margin. Returns the glow's id, or -1
// when layered windows or the image are missing. Ids are never reused within a process.
int ShowGlowEffect(const TRect& controlOnScreen, const TRect& visiblePart, const std::string& section,
                   TsSkinView* manager, HWND owner, uint8_t alpha, int margin,
                   const std::string& key);
// Closes one glow; unknown ids and closed ones are ignored.
void CloseGlowEffect(int id);
// Closes every glow. Their windows are freed through the toolkit once the current message has
// returned, or at once with freeAtOnce (when the skin manager itself goes).
void CloseAllGlowEffects(bool freeAtOnce = false);
// Whether a glow id is still open (not closed by its owner or by a "close all").
bool GlowEffectOpen(int id);
// The window of a shown glow, or null.
HWND GlowEffectWindow(int id);
// Number of glows open in the process.
int GlowEffectsOpen();
