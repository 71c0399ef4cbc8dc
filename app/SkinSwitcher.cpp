#include "app/SkinSwitcher.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <stdexcept>

#include "app/WinTaskStorage.h"
#include "skin/data/sSkinDirectory.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "toolkit/WideText.h"

const wchar_t* const TSkinSwitcher::kFileName = L"settings.ini";

namespace {

// The file's bytes, or nothing when it is missing, a folder, too large or unreadable: any of
// those gives the defaults.
std::string ReadSettingsFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return {};
  if ((a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || a.nFileSizeHigh != 0 ||
      a.nFileSizeLow > kMaxAppSettingsBytes)
    return {};
  try {
    return TWinTaskStorage().ReadFile(WideToUtf8(path));
  } catch (const std::exception&) {
    return {};
  }
}

std::string CannotUse(const std::string& name, const std::string& problem) {
  return "The skin \"" + name + "\" cannot be used:\n" + problem + "\nThe skin shown stays as it is.";
}

}  // namespace

TSkinSwitcher::TSkinSwitcher(TsSkinManager& manager, const std::wstring& folder)
    : manager_(manager), folder_(folder), storedDirectory_(manager.SkinDirectory()) {}

std::vector<TSkinChoice> TSkinSwitcher::Choices() const {
  std::vector<std::string> stored;
  for (const TsStoredSkin& s : manager_.InternalSkins()) stored.push_back(s.Name);
  return SkinChoices(stored, {WideToUtf8(folder_ + L"Skins"),
                              ResolveSkinDirectory(storedDirectory_, WideToUtf8(ExeFolder()))});
}

int TSkinSwitcher::ActiveIndex(const std::vector<TSkinChoice>& choices) const {
  return settings_.FollowWindows ? -1 : IndexOfSkinChoice(choices, manager_.SkinName());
}

int TSkinSwitcher::HueOffset() const { return manager_.HueOffset(); }

std::string TSkinSwitcher::PrepareStartChoice(std::string& skinName) {
  settings_ = saved_ = ParseAppSettings(ReadSettingsFile(folder_ + kFileName));
  manager_.SetHueOffset(settings_.HueOffset);
  if (settings_.FollowWindows) {
    skinName = SkinForAppMode(AppsUseLightTheme());
    return {};
  }
  if (settings_.SkinName.empty()) return {};
  const std::vector<TSkinChoice> choices = Choices();
  const int i = IndexOfSkinChoice(choices, settings_.SkinName);
  if (i < 0) return {};  // a skin no longer there: the default, without a word
  const TSkinChoice& choice = choices[size_t(i)];
  if (!choice.Stored()) {
    const std::string problem = ProblemOfSkin(choice);
    if (!problem.empty()) return CannotUse(choice.Name, problem);
    manager_.SetSkinDirectory(choice.Folder);
  }
  skinName = choice.Name;
  return {};
}

void TSkinSwitcher::Apply(const std::string& directory, const std::string& name) {
  const std::string previous = manager_.SkinDirectory();
  manager_.SetSkinDirectory(directory);
  try {
    manager_.SetSkinName(name);
  } catch (const std::exception& e) {
    manager_.SetSkinDirectory(previous);
    throw std::runtime_error(CannotUse(name, e.what()));
  }
}

void TSkinSwitcher::ChooseSkin(const TSkinChoice& choice) {
  if (!choice.Stored()) {
    const std::string problem = ProblemOfSkin(choice);
    if (!problem.empty()) throw std::runtime_error(CannotUse(choice.Name, problem));
  }
  Apply(choice.Stored() ? storedDirectory_ : choice.Folder, choice.Name);
  settings_.SkinName = choice.Name;
  settings_.FollowWindows = false;
  Save();
}

void TSkinSwitcher::FollowWindows() {
  const char* name = SkinForAppMode(AppsUseLightTheme());
  Apply(storedDirectory_, name);
  settings_.SkinName = name;
  settings_.FollowWindows = true;
  Save();
}

void TSkinSwitcher::ChooseHue(int degrees) {
  manager_.SetHueOffset(degrees);
  settings_.HueOffset = degrees;
  Save();
}

bool TSkinSwitcher::SettingChanged(const wchar_t* area) {
  if (!settings_.FollowWindows || !area || std::wcscmp(area, L"ImmersiveColorSet") != 0) return false;
  const char* name = SkinForAppMode(AppsUseLightTheme());
  if (manager_.SkinName() == name && manager_.SkinDirectory() == storedDirectory_) return false;
  Apply(storedDirectory_, name);
  settings_.SkinName = name;
  Save();
  return true;
}

bool TSkinSwitcher::AppsUseLightTheme() {
  DWORD value = 1, size = sizeof value;
  const LSTATUS status =
      RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                   L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return status != ERROR_SUCCESS || value != 0;
}

const char* TSkinSwitcher::SkinForAppMode(bool light) { return light ? kInternalSkinName : kNightSkinName; }

std::string TSkinSwitcher::ProblemOfSkin(const TSkinChoice& choice) {
  TsSkinTables trial;
  TsSkinLoadReport report;
  try {
    if (choice.Kind == TsSkinKind::skkPacked) {
      const DWORD a = GetFileAttributesW(Utf8ToWide(choice.Path).c_str());
      if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY))
        return "the file \"" + choice.Path + "\" is no longer there.";
      LoadSkinFromPackedFile(choice.Path, trial, {}, &report);
    } else if (!LoadSkinFromFolder(WithTrailingSeparator(choice.Path), trial, {}, &report)) {
      return "the folder \"" + choice.Path + "\" holds no Options.dat.";
    }
  } catch (const std::exception& e) {
    return e.what();
  }
  if (trial.IndexOfSection("GLOBALINFO") < 0) return "its options have no [GLOBALINFO] section.";
  if (report.ImageProblems.empty()) return {};
  // A skin drawn without some of its images would look broken: the first few are named.
  std::string text = "images are missing or damaged:";
  const size_t shown = std::min<size_t>(report.ImageProblems.size(), 5);
  for (size_t i = 0; i < shown; ++i) text += "\n" + report.ImageProblems[i];
  if (report.ImageProblems.size() > shown)
    text += "\n(and " + std::to_string(report.ImageProblems.size() - shown) + " more)";
  return text;
}

void TSkinSwitcher::Save() {
  if (settings_ == saved_) return;
  const std::wstring path = folder_ + kFileName;
  try {
    TWinTaskStorage().WriteWholeFile(WideToUtf8(path), FormatAppSettings(settings_));
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("The look is not kept for the next start:\n") + e.what());
  }
  saved_ = settings_;
}
