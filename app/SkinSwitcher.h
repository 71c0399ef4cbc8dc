// The look the user picks in the tray menu: a skin (stored in the program, or found in the
// "Skins" folder beside the program or in the skin manager's directory), or the skin that
// follows the platform's light or dark app mode, and a hue offset. A choice is applied to
// the skin manager at once and kept in "settings.ini" beside the task file; at start the
// file's choice is applied before the first skin is loaded.
#pragma once

#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/SkinChoices.h"

class TsSkinManager;

class TSkinSwitcher {
 public:
  // folder: the task file's folder with its trailing backslash (settings.ini and the "Skins"
  // folder are there). The manager's SkinDirectory at this moment is where stored skins are
  // looked for first, as the manager does, and is listed as the second skin folder.
  TSkinSwitcher(TsSkinManager& manager, const std::wstring& folder);

  // Reads the settings file and gives the manager its hue and, for a skin from a folder, its
  // directory, before any skin is loaded; `skinName` (the default on entry) becomes the skin
  // to load. Without a file, or with one naming a skin that is not found, the default stays.
  // Returns what is wrong with a remembered skin that cannot be used, else "".
  std::string PrepareStartChoice(std::string& skinName);

  // The skins offered now: the stored ones, then those of the two folders.
  std::vector<TSkinChoice> Choices() const;
  // The index in `choices` of the skin shown, or -1 (also while following the app mode).
  int ActiveIndex(const std::vector<TSkinChoice>& choices) const;
  bool FollowsWindows() const { return settings_.FollowWindows; }
  int HueOffset() const;

  // Each applies at once and keeps the choice. A skin that cannot be used throws
  // std::runtime_error saying why, and the skin shown stays as it was.
  void ChooseSkin(const TSkinChoice& choice);
  void FollowWindows();
  void ChooseHue(int degrees);
  // A WM_SETTINGCHANGE with this area (may be null): while the skin follows the app mode, an
  // "ImmersiveColorSet" change applies the mode's skin. True when the skin was switched.
  bool SettingChanged(const wchar_t* area);

  // The platform's app mode: true for light (also when the setting is absent).
  static bool AppsUseLightTheme();
  // The stored skin for an app mode.
  static const char* SkinForAppMode(bool light);
  // Why a skin file or folder cannot be used, found by loading it aside; "" when it can.
  static std::string ProblemOfSkin(const TSkinChoice& choice);
  // The settings file's name beside the task file.
  static const wchar_t* const kFileName;  // "settings.ini"

 private:
  void Apply(const std::string& directory, const std::string& name);
  void Save();

  TsSkinManager& manager_;
  std::wstring folder_;
  std::string storedDirectory_;  // the manager's SkinDirectory when made
  TAppSettings settings_;
  TAppSettings saved_;  // what the file holds
};
