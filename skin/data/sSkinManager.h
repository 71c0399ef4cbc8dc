// TsSkinManager: the non-visual component that owns the active skin. It finds a skin by name
// (stored inside the program, a skin folder, or a packed ".qvz" file), loads it into its
// tables, keeps it scaled for its display scale, tells every window about it with the skin
// commands and installs the window-creation hook. The lookups and global data every skinned element reads are its base TsSkinView's
// (sSkinView.h), which is all an element includes; this header is for the code that owns,
// configures, loads or applies a skin.
//
// [SECTION] Settings objects     TzkMenuSupport, ThirdPartyList, stored skins
// [SECTION] TsSkinManager         properties, loading, applying, lifecycle
// [SECTION] Process-wide state    built-in shadows, version switch
//
// How a skin is loaded, applied, announced and removed is in sSkinManagerApply.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/sShadowImages.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/sSkinTables.h"
#include "skin/data/sSkinView.h"
#include "skin/data/sStoredSkinResource.h"
#include "toolkit/Component.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/Messages.h"

class IzkMenuPainter;
class TBitmap;

// [SECTION] Settings objects

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
  static constexpr int kCount = kThirdListCount;
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

// [SECTION] TsSkinManager

// What skinned elements read (flags, tables, lookups, the hot window) is TsSkinView's; the
// manager adds the settings that configure it, loading, applying and the broadcast.
class TsSkinManager : public TsSkinView {
 public:
  explicit TsSkinManager(TComponent* owner);
  ~TsSkinManager() override;
  const wchar_t* ClassName() const override { return L"TsSkinManager"; }

  // Published properties (see each setter for its effect).
  void SetActive(bool value);
  void SetAllowGlowing(bool value) { allowGlowing_ = value; }
  using TsSkinView::AnimEffects;
  TzkAnimEffects& AnimEffects() { return animEffects_; }
  const std::vector<std::string>& CommonSections() const { return commonSections_; }
  // Strips the blanks of every line that is not empty and not a ";" comment, then reloads.
  void SetCommonSections(const std::vector<std::string>& lines);
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
  // Switched on at run time, the application's menus are skinned from then on.
  void SetSkinnedPopups(bool value);
  void SetSkinningRules(TsSkinningRules value) { skinningRules_ = value; }
  ThirdPartyList& ThirdParty() { return thirdParty_; }
  static const char* Version() { return "6.48"; }
  TNotifyEvent OnBeforeChange;
  TNotifyEvent OnAfterChange;
  TzkGetExtraLineData OnGetMenuExtraLineData;

  // The display scale (a DPI): the system's when a skin loads, until it is set. Setting
  // another announces the skin to every window again at the new scale, as a skin change
  // does, but from the loaded tables (no file is read) and without the cross-fade. Held to
  // 100..400 %, the scales the skin is made for.
  void SetPixelsPerInch(int dpi) override;

  // The skin as loaded (at 100 %), writable.
  TsSkinTables& LoadedTables() { return tables_; }
  // How many scales the skin is kept at (each made once per skin, at first use).
  size_t ScaledTableCount() const { return scaledTables_.size(); }
  // What the last load noticed without failing (skipped images ...).
  const TsSkinLoadReport& LoadReport() const { return loadReport_; }
  // The resolved skin directory (the folder of folder skins).
  std::string SkinPath() const;

  // The names a user can pick (kinds: skFolders, skPacked, skBoth); firstName becomes the
  // first name found when it is empty.
  std::vector<std::string> ListSkinNames(int kinds, std::string& firstName) const;

  // The ThirdParty properties and their line lists.
  void InitThirdParty(bool reset);
  void StoreThirdParty();

  // Loading and applying (sSkinManagerApply.cpp).
  void ApplyNewSkin(bool repaint);
  void RemoveSkin();
  // Every window refreshed and repainted; with the skin-changing cross-fade unless loading.
  void RepaintAll(bool crossFade = true);
  void InstallHook();
  void RemoveHook();
  bool HookInstalled() const { return hookInstalled_; }
  void InitCachedIndexes();
  void PrepareShadowImages();
  // Sends a message to every form, then to the framed forms and the hooked windows.
  void Broadcast(const TMessage& message);
  // True when the skin being loaded came from an archive.
  bool Packed() const { return packed_; }
  IzkMenuPainter* MenuPainter() override;

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
  // The tables at the current scale become the ones Tables() answers (made on first use).
  void SelectScale();
  void DropScaledTables();
  // The skin's Active flag, in the loaded tables and the scaled ones alike.
  void SetSkinActive(bool on);
  void AnnounceScale();
  // The filter on the application window's messages; true consumes the message.
  bool FilterAppMessage(TMessage& m);
  // Gives the application's menus the painter's handlers, or takes them back.
  void ActivateMenus(bool on);

  bool hookInstalled_ = false;
  bool packed_ = false;
  int hueOffset_ = 0;
  int saturation_ = 0;
  std::string skinDirectory_;
  std::string skinName_;
  std::vector<std::string> commonSections_;
  TsStoredSkins internalSkins_;
  TzkMenuSupport menuSupport_;
  ThirdPartyList thirdParty_;
  TsSkinLoadReport loadReport_;
  int appFilterId_ = 0;
  std::unique_ptr<IzkMenuPainter> menuPainter_;
  // The loaded skin at every scale used since it loaded, by percent.
  std::map<int, std::unique_ptr<TsSkinTables>> scaledTables_;
  bool ppiSet_ = false;       // the scale was set (else the system's is taken at each load)
};

// [SECTION] Process-wide state

// The default manager and the skin-changing flags are in sSkinView.h.

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
