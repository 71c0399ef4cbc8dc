// TsSkinView: what a skinned element reads from its skin manager. TsSkinManager (sSkinManager.h)
// derives from it and is the only one that writes its settings and tables; an element holds a
// TsSkinView* and includes this header alone, so loading, applying, announcing and configuring
// a skin stay out of its sight. What an element tells it: the window under the mouse
// (SetHotWindow, ForgetHotWindow) and the DPI a window moved to (SetPixelsPerInch).
//
// [SECTION] Settings objects     TzkAnimEffects, skinning rules
// [SECTION] TsSkinView           flags, active skin, lookups, hot window, class lists
// [SECTION] Process-wide state   default manager, skin-changing flags
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/sShadowImages.h"
#include "skin/data/sSkinTables.h"
#include "toolkit/Component.h"
#include "toolkit/Dpi.h"

class TsSkinManager;
class IzkMenuPainter;

// [SECTION] Settings objects

enum TzkBtnEvent : unsigned { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };
using TzkBtnEvents = unsigned;

class TzkBtnEffects {
 public:
  explicit TzkBtnEffects(TsSkinManager* manager) : Manager(manager) {}
  TsSkinManager* const Manager;
  TzkBtnEvents Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
};

// A form transition: run when Active, lasting Time milliseconds.
class TzkFormAnimation {
 public:
  explicit TzkFormAnimation(uint16_t time = 0) : Time(time) {}
  bool Active = true;
  uint16_t Time;
};
class TzkDialogShow : public TzkFormAnimation {};
class TzkFormShow : public TzkFormAnimation {};
class TzkPageChange : public TzkFormAnimation {};
class TzkSkinChanging : public TzkFormAnimation {
 public:
  TzkSkinChanging() : TzkFormAnimation(100) {}
};

class TzkAnimEffects {
 public:
  explicit TzkAnimEffects(TsSkinManager* manager) : Manager(manager), Buttons(manager) {}
  TsSkinManager* const Manager;
  TzkBtnEffects Buttons;
  TzkDialogShow DialogShow;
  TzkFormShow FormShow;
  TzkPageChange PageChange;  // stored only
  TzkSkinChanging SkinChanging;
};

enum TsSkinningRule : unsigned { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TsSkinningRules = unsigned;

// The number of ThirdParty class lists (ThirdPartyList in sSkinManager.h).
constexpr int kThirdListCount = 18;

// [SECTION] TsSkinView

class TsSkinView : public TComponent {
 public:
  // Flags and settings, set through TsSkinManager.
  bool Active() const { return active_; }
  bool AllowGlowing() const;  // set, and the platform offers layered windows
  const TzkAnimEffects& AnimEffects() const { return animEffects_; }
  bool ExtendedBorders() const;  // set, and the platform offers layered windows
  bool SkinnedPopups() const { return skinnedPopups_; }
  TsSkinningRules SkinningRules() const { return skinningRules_; }
  // The window class names of ThirdParty list i, one per line of its property.
  const std::vector<std::string>& ThirdLists(int index) const { return thirdLists_.at(size_t(index)); }

  // The display scale the skin is painted at, as a DPI (kDesignDpi is 100 %), and a length
  // made for 100 % at that scale. Every window the manager skins takes the platform's
  // metrics and fonts for this DPI, so painting and hit-testing share one scale.
  int PixelsPerInch() const { return ppi_; }
  int Scaled(int value) const { return ScaleForDpi(value, ppi_); }

  // The active skin at the manager's scale: every size and picture of the loaded skin
  // multiplied by the scale (the loaded tables themselves at 100 %). Indexes are the same
  // at every scale.
  const TsSkinTables& Tables() const { return scaled_ ? *scaled_ : tables_; }
  const TsSkinData& SkinData() const { return Tables().SkinData; }
  const TsCachedIndexes& CachedIndexes() const { return Tables().CachedIndexes; }
  const TsShadowImages& ShadowImages() const { return shadows_; }

  // Lookups: the skin tables' (one implementation), exposed for skinned elements.
  int IndexOfSection(const std::string& name) const { return Tables().IndexOfSection(name); }
  int IndexOfMask(int section, const std::string& name, const std::string& key) const {
    return Tables().IndexOfMask(section, name, key);
  }
  int IndexOfMaskExact(const std::string& name, const std::string& key) const {
    return Tables().IndexOfMaskExact(name, key);
  }
  int IndexOfTexture(int section, const std::string& name, const std::string& key) const {
    return Tables().IndexOfTexture(section, name, key);
  }
  int IndexOfPattern(int section, const std::string& name, const std::string& key) const {
    return Tables().IndexOfPattern(section, name, key);
  }
  bool IsValidSection(int i) const { return Tables().IsValidSection(i); }
  bool IsValidMask(int i) const { return Tables().IsValidMask(i); }
  TColor GlobalColor() const { return Tables().GlobalColor(); }
  TColor GlobalFontColor() const { return Tables().GlobalFontColor(); }
  TColor GlobalHotColor() const { return Tables().GlobalHotColor(); }
  TColor EditHotFontColor() const { return Tables().EditHotFontColor(); }
  TColor MenuHighlightColor() const { return Tables().MenuHighlightColor(); }
  TColor MenuHighlightFontColor() const { return Tables().MenuHighlightFontColor(); }

  // A window the manager skins was laid out for another DPI: that becomes the manager's
  // scale (one for all its windows), and every window is told the skin again.
  virtual void SetPixelsPerInch(int dpi) = 0;

  // The window under the mouse: command 30 to the previous one, 29 to the new one.
  void SetHotWindow(HWND wnd);
  HWND HotWindow() const { return hotWindow_; }
  // A window that is going stops being the hot one without being told anything more.
  void ForgetHotWindow(HWND wnd) {
    if (hotWindow_ == wnd) hotWindow_ = nullptr;
  }

  // The popup-menu painter (made on first use), null until the window layer offers one.
  virtual IzkMenuPainter* MenuPainter() = 0;
  // The argument of the skin commands this manager sends: its TsSkinView address, which a
  // receiver compares with the TsSkinView* it holds.
  LPARAM CommandParam() const { return LPARAM(this); }

 protected:
  // manager: the derived manager, which the animation settings refer to.
  TsSkinView(TComponent* owner, TsSkinManager* manager)
      : TComponent(owner), animEffects_(manager) {}

  bool active_ = true;
  bool allowGlowing_ = true;
  bool extendedBorders_ = false;
  bool skinnedPopups_ = true;
  TsSkinningRules skinningRules_ = srStdForms | srStdDialogs | srThirdParty;
  TzkAnimEffects animEffects_;
  std::array<std::vector<std::string>, kThirdListCount> thirdLists_;
  TsSkinTables tables_;                    // as loaded: the skin at 100 %
  TsSkinTables* scaled_ = nullptr;         // the skin at ppi_, null at 100 %
  int ppi_ = kDesignDpi;
  TsShadowImages shadows_;
  HWND hotWindow_ = nullptr;
};

// [SECTION] Process-wide state

// The first manager created; controls without a manager of their own use it.
TsSkinView* DefaultManager();
// Set while a skin loads (painting may be suppressed), while the skin-changing animation
// runs, while the new-skin command is broadcast, and while the skin is removed.
extern bool zkSkinChanging;
extern bool zkSkinAnimating;
extern bool zkSkinApplying;
extern bool zkSkinRemoving;
