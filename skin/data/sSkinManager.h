// TsSkinManager: the non-visual component that owns the active skin. It finds a skin by name
// (stored inside the program, a skin folder, or a packed ".qvz" file), loads it into its
// tables, tells every window about it with the skin commands, installs the window-creation
// hook, and offers the lookups and global data every skinned element reads.
//
// [SECTION] Settings objects     TzkAnimEffects, TzkMenuSupport, ThirdPartyList
// [SECTION] TsSkinManager         properties, lookups, lifecycle
// [SECTION] Process-wide state    default manager, skin-changing flags, built-in shadows
//
// How a skin is loaded, applied, announced and removed is in sSkinManagerApply.cpp.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/sShadowImages.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/sSkinTables.h"
#include "skin/data/sStoredSkinResource.h"
#include "toolkit/Component.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/Messages.h"

class TsSkinManager;

class IzkMenuPainter;
class TBitmap;

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

class TzkMenuSupport {
 public:
  std::string IcoLineSkin;  // "ICOLINE" when empty after loading
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  TFont ExtraLineFont;
};

// The menu extra-line callback: given the menu's first item, may change the section, the
// caption, the glyph and whether the line shows.
using TzkGetExtraLineData = std::function<void(TObject* firstItem, std::string& skinSection,
                                               std::wstring& caption, TBitmap*& glyph,
                                               bool& lineVisible)>;

// Window class names (one per line) the automatic skinning treats as a given kind of control.
class ThirdPartyList {
 public:
  static constexpr int kCount = 18;
  std::string ThirdEdits, ThirdButtons, ThirdBitBtns, ThirdCheckBoxes, ThirdComboBoxes,
      ThirdGrids, ThirdGroupBoxes, ThirdListViews, ThirdPanels, ThirdTreeViews, ThirdWWEdits,
      ThirdGridEh, ThirdVirtualTrees, ThirdPageControl, ThirdTabControl, ThirdToolBar,
      ThirdStatusBar, ThirdSpeedButton;
  // Property i in the order above.
  std::string& operator[](int index);
  const std::string& operator[](int index) const;
  // "TButton" for ThirdButtons, " " for every other list.
  static const char* Default(int index);
};

// The skins stored inside the program.
using TsStoredSkins = std::vector<TsStoredSkin>;

enum TsSkinningRule : unsigned { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TsSkinningRules = unsigned;

// [SECTION] TsSkinManager

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* owner);
  ~TsSkinManager() override;
  const wchar_t* ClassName() const override { return L"TsSkinManager"; }

  // Published properties (see each setter for its effect).
  bool Active() const { return active_; }
  void SetActive(bool value);
  bool AllowGlowing() const;  // set, and the platform offers layered windows
  void SetAllowGlowing(bool value) { allowGlowing_ = value; }
  TzkAnimEffects& AnimEffects() { return animEffects_; }
  const std::vector<std::string>& CommonSections() const { return commonSections_; }
  // Strips the blanks of every line that is not empty and not a ";" comment, then reloads.
  void SetCommonSections(const std::vector<std::string>& lines);
  bool ExtendedBorders() const;  // set, and the platform offers layered windows
  void SetExtendedBorders(bool value);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  TsStoredSkins& InternalSkins() { return internalSkins_; }
  const TsStoredSkins& InternalSkins() const { return internalSkins_; }
  bool IsDefault() const;
  void SetIsDefault(bool value);
  TzkMenuSupport& MenuSupport() { return menuSupport_; }
  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& value) { skinDirectory_ = value; }
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& value);
  std::string SkinInfo() const;  // the active skin's VERSION ("6.6"), else "N/A"
  bool SkinnedPopups() const { return skinnedPopups_; }
  // Switched on at run time, the application's menus are skinned from then on.
  void SetSkinnedPopups(bool value);
  TsSkinningRules SkinningRules() const { return skinningRules_; }
  void SetSkinningRules(TsSkinningRules value) { skinningRules_ = value; }
  ThirdPartyList& ThirdParty() { return thirdParty_; }
  static const char* Version() { return "6.48"; }
  TNotifyEvent OnBeforeChange;
  TNotifyEvent OnAfterChange;
  TzkGetExtraLineData OnGetMenuExtraLineData;

  // The active skin.
  TsSkinTables& Tables() { return tables_; }
  const TsSkinTables& Tables() const { return tables_; }
  TsSkinData& SkinData() { return tables_.SkinData; }
  const TsCachedIndexes& CachedIndexes() const { return tables_.CachedIndexes; }
  const TsShadowImages& ShadowImages() const { return shadows_; }
  // What the last load noticed without failing (skipped images ...).
  const TsSkinLoadReport& LoadReport() const { return loadReport_; }
  // The resolved skin directory (the folder of folder skins).
  std::string SkinPath() const;

  // Lookups: the skin tables' (one implementation), exposed for skinned elements.
  int IndexOfSection(const std::string& name) const { return tables_.IndexOfSection(name); }
  int IndexOfMask(int section, const std::string& name, const std::string& key) const {
    return tables_.IndexOfMask(section, name, key);
  }
  int IndexOfMaskExact(const std::string& name, const std::string& key) const {
    return tables_.IndexOfMaskExact(name, key);
  }
  int IndexOfTexture(int section, const std::string& name, const std::string& key) const {
    return tables_.IndexOfTexture(section, name, key);
  }
  int IndexOfPattern(int section, const std::string& name, const std::string& key) const {
    return tables_.IndexOfPattern(section, name, key);
  }
  bool IsValidSection(int i) const { return tables_.IsValidSection(i); }
  bool IsValidMask(int i) const { return tables_.IsValidMask(i); }
  TColor GlobalColor() const { return tables_.GlobalColor(); }
  TColor GlobalFontColor() const { return tables_.GlobalFontColor(); }
  TColor GlobalHotColor() const { return tables_.GlobalHotColor(); }
  TColor EditHotFontColor() const { return tables_.EditHotFontColor(); }
  TColor MenuHighlightColor() const { return tables_.MenuHighlightColor(); }
  TColor MenuHighlightFontColor() const { return tables_.MenuHighlightFontColor(); }

  // The names a user can pick (kinds: skFolders, skPacked, skBoth); firstName becomes the
  // first name found when it is empty.
  std::vector<std::string> ListSkinNames(int kinds, std::string& firstName) const;
  // The window under the mouse: command 30 to the previous one, 29 to the new one.
  void SetHotWindow(HWND wnd);
  HWND HotWindow() const { return hotWindow_; }
  // A window that is going stops being the hot one without being told anything more.
  void ForgetHotWindow(HWND wnd) {
    if (hotWindow_ == wnd) hotWindow_ = nullptr;
  }

  // The ThirdParty properties and their line lists.
  void InitThirdParty(bool reset);
  void StoreThirdParty();
  const std::vector<std::string>& ThirdLists(int index) const { return thirdLists_.at(size_t(index)); }

  // Loading and applying (sSkinManagerApply.cpp).
  void ApplyNewSkin(bool repaint);
  void RemoveSkin();
  void RepaintAll();
  void InstallHook();
  void RemoveHook();
  bool HookInstalled() const { return hookInstalled_; }
  void InitCachedIndexes();
  void PrepareShadowImages();
  // Sends a message to every form, then to the framed forms and the hooked windows.
  void Broadcast(const TMessage& message);
  // True when the skin being loaded came from an archive.
  bool Packed() const { return packed_; }
  // The popup-menu painter (made on first use), null until the window layer offers one.
  IzkMenuPainter* MenuPainter();

 protected:
  void Loaded() override;

 private:
  void LoadSkin();
  void LoadPackedSkin();
  void LoadInto(const std::function<void(TsSkinTables&, const TsSkinLoadOptions&,
                                         TsSkinLoadReport*)>& load);
  TsSkinLoadOptions LoadOptions() const;
  void ReloadAndRepaint();
  void SetAdjustment(int& adjustment, int value);
  void PrepareSkinChanging();
  void RunSkinChanging();
  // The filter on the application window's messages; true consumes the message.
  bool FilterAppMessage(TMessage& m);
  // Gives the application's menus the painter's handlers, or takes them back.
  void ActivateMenus(bool on);

  bool active_ = true;
  bool allowGlowing_ = true;
  bool extendedBorders_ = false;
  bool skinnedPopups_ = true;
  bool hookInstalled_ = false;
  bool packed_ = false;
  int hueOffset_ = 0;
  int saturation_ = 0;
  TsSkinningRules skinningRules_ = srStdForms | srStdDialogs | srThirdParty;
  std::string skinDirectory_;
  std::string skinName_;
  std::vector<std::string> commonSections_;
  TsStoredSkins internalSkins_;
  TzkAnimEffects animEffects_;
  TzkMenuSupport menuSupport_;
  ThirdPartyList thirdParty_;
  std::array<std::vector<std::string>, ThirdPartyList::kCount> thirdLists_;
  TsSkinTables tables_;
  TsSkinLoadReport loadReport_;
  TsShadowImages shadows_;
  HWND hotWindow_ = nullptr;
  int appFilterId_ = 0;
  std::unique_ptr<IzkMenuPainter> menuPainter_;
};

// [SECTION] Process-wide state

// The first manager created; controls without a manager of their own use it.
TsSkinManager* DefaultManager();
// Set while a skin loads (painting may be suppressed), while the skin-changing animation
// runs, while the new-skin command is broadcast, and while the skin is removed.
extern bool zkSkinChanging;
extern bool zkSkinAnimating;
extern bool zkSkinApplying;
extern bool zkSkinRemoving;
// The built-in shadow images, read from the program's "zkSHDA" / "zkSHDI" resources when
// the module starts (empty when they are absent).
const TzkBitmap& BuiltinActiveShadow();
const TzkBitmap& BuiltinInactiveShadow();
// The platform is of the NT family (read when the module starts).
bool IsNTPlatform();
// The version notice shown for "/zkver".
extern const char* const kVersionNotice;  // "OrvexControls v6.48"
// True when one of the arguments (after the program's name), lower-cased, is "/zkver".
bool HasVersionSwitch(const std::vector<std::wstring>& arguments);
