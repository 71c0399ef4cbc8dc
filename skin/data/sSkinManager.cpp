#include "skin/data/sSkinManager.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "skin/data/sSkinDirectory.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/data/zkImageReaders.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

const char* const kVersionNotice = "OrvexControls v6.48";

bool zkSkinChanging = false;
bool zkSkinAnimating = false;
bool zkSkinApplying = false;
bool zkSkinRemoving = false;

namespace {

TsSkinManager* defaultManager = nullptr;

// The shadows, the platform family and the version switch, read once when the module starts.
struct TzkModuleStart {
  TzkBitmap active;
  TzkBitmap inactive;
  bool nt = true;

  TzkModuleStart() {
    ReadShadow(L"zkSHDA", active);
    ReadShadow(L"zkSHDI", inactive);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info)) nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    if (HasVersionSwitch(CommandLineArguments()))
      MessageBoxW(nullptr, Utf8ToWide(kVersionNotice).c_str(), L"", MB_OK | MB_ICONINFORMATION);
  }

  static void ReadShadow(const wchar_t* name, TzkBitmap& out) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, RT_RCDATA);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) return;
    std::string error;
    if (!ReadPngImage(static_cast<const uint8_t*>(bytes), SizeofResource(module, info), out, error))
      out = TzkBitmap();
  }

  static std::vector<std::wstring> CommandLineArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return args;
    for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
  }
};

TzkModuleStart& ModuleStart() {
  static TzkModuleStart start;
  return start;
}

// Runs the module start-up with the program's other static objects, before WinMain.
const bool moduleStarted = (ModuleStart(), true);

std::string WithoutBlanks(const std::string& line) {
  std::string out;
  for (char c : line)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

}  // namespace

// [SECTION] Process-wide state

TsSkinView* DefaultManager() { return defaultManager; }
const TzkBitmap& BuiltinActiveShadow() { return ModuleStart().active; }
const TzkBitmap& BuiltinInactiveShadow() { return ModuleStart().inactive; }
bool IsNTPlatform() { return ModuleStart().nt; }

bool HasVersionSwitch(const std::vector<std::wstring>& arguments) {
  for (std::wstring a : arguments) {
    std::transform(a.begin(), a.end(), a.begin(), [](wchar_t c) { return wchar_t(towlower(c)); });
    if (a == L"/zkver") return true;
  }
  return false;
}

// [SECTION] ThirdPartyList

namespace {
constexpr std::string ThirdPartyList::* kThirdMembers[ThirdPartyList::kCount] = {
    &ThirdPartyList::ThirdEdits,        &ThirdPartyList::ThirdButtons,
    &ThirdPartyList::ThirdBitBtns,      &ThirdPartyList::ThirdCheckBoxes,
    &ThirdPartyList::ThirdComboBoxes,   &ThirdPartyList::ThirdGrids,
    &ThirdPartyList::ThirdGroupBoxes,   &ThirdPartyList::ThirdListViews,
    &ThirdPartyList::ThirdPanels,       &ThirdPartyList::ThirdTreeViews,
    &ThirdPartyList::ThirdWWEdits,      &ThirdPartyList::ThirdGridEh,
    &ThirdPartyList::ThirdVirtualTrees, &ThirdPartyList::ThirdPageControl,
    &ThirdPartyList::ThirdTabControl,   &ThirdPartyList::ThirdToolBar,
    &ThirdPartyList::ThirdStatusBar,    &ThirdPartyList::ThirdSpeedButton,
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}
}  // namespace

std::string& ThirdPartyList::operator[](int index) { return this->*kThirdMembers[index]; }
const std::string& ThirdPartyList::operator[](int index) const {
  return this->*kThirdMembers[index];
}
const char* ThirdPartyList::Default(int index) { return index == 1 ? "TButton" : " "; }

// [SECTION] TsSkinManager

TsSkinManager::TsSkinManager(TComponent* owner) : TsSkinView(owner, this) {
  if (!defaultManager) {
    defaultManager = this;
    if (IsNTPlatform() && !IsDesigning() && Application->HandleAllocated())
      appFilterId_ = Application->HookMainWindow([this](TMessage& m) { return FilterAppMessage(m); });
  }
  InitThirdParty(false);
  if (skinDirectory_.empty()) skinDirectory_ = "c:\\Skins";
}

TsSkinManager::~TsSkinManager() {
  SetActive(false);
  extendedBorders_ = false;
  shadows_ = TsShadowImages();
  DropScaledTables();
  tables_.Clear();
  // The filter goes with the manager that registered it, even when another manager has
  // become the default since: it refers to this one.
  if (appFilterId_) Application->UnhookMainWindow(appFilterId_);
  if (defaultManager == this) defaultManager = nullptr;
  StoreThirdParty();
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = "c:\\Skins";
  if (menuSupport_.IcoLineSkin.empty()) menuSupport_.IcoLineSkin = "ICOLINE";
  InitThirdParty(false);
  if (active_ && !skinName_.empty()) ApplyNewSkin(false);
}

void TsSkinManager::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) {
    SetSkinName(skinName_);
    return;
  }
  if (!IsLoading()) RemoveSkin();
  InitCachedIndexes();
}

void TsSkinManager::SetSkinnedPopups(bool value) {
  if (value == skinnedPopups_) return;
  skinnedPopups_ = value;
  if (!IsLoading() && tables_.SkinData.Active) ActivateMenus(true);
}

IzkMenuPainter* TsSkinManager::MenuPainter() {
  if (!menuPainter_ && MenuPainterMaker()) menuPainter_ = MenuPainterMaker()(this);
  return menuPainter_.get();
}

void TsSkinManager::SetExtendedBorders(bool value) {
  if (value == extendedBorders_) return;
  extendedBorders_ = value;
  if (!IsLoading() && !IsDestroying() && tables_.SkinData.Active) ReloadAndRepaint();
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
  commonSections_.clear();
  for (const std::string& l : lines)
    commonSections_.push_back(l.empty() || l[0] == ';' ? l : WithoutBlanks(l));
  if (!IsLoading() && tables_.SkinData.Active) ReloadAndRepaint();
}

void TsSkinManager::SetHueOffset(int value) { SetAdjustment(hueOffset_, value); }

void TsSkinManager::SetSaturation(int value) { SetAdjustment(saturation_, value); }

// A reload that fails keeps the skin shown, so the adjustment it was made with stays too.
void TsSkinManager::SetAdjustment(int& adjustment, int value) {
  if (value == adjustment) return;
  const int previous = adjustment;
  adjustment = value;
  if (IsLoading() || !tables_.SkinData.Active) return;
  try {
    ReloadAndRepaint();
  } catch (...) {
    adjustment = previous;
    throw;
  }
}

bool TsSkinManager::IsDefault() const { return defaultManager == this; }

void TsSkinManager::SetIsDefault(bool value) {
  if (!value && defaultManager) return;
  if (defaultManager == this) return;
  defaultManager = this;
  if (!active_)
    RemoveSkin();
  else
    ApplyNewSkin(true);
}

std::string TsSkinManager::SkinInfo() const {
  if (!tables_.SkinData.Active) return "N/A";
  char text[32];
  std::snprintf(text, sizeof text, "%g", tables_.SkinData.Version);
  std::string s = text;
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

std::string TsSkinManager::SkinPath() const {
  return ResolveSkinDirectory(skinDirectory_, WideToUtf8(ExeFolder()));
}

std::vector<std::string> TsSkinManager::ListSkinNames(int kinds, std::string& firstName) const {
  std::vector<std::string> stored;
  for (const TsStoredSkin& s : internalSkins_) stored.push_back(s.Name);
  return ::ListSkinNames(stored, SkinPath(), kinds, firstName);
}

void TsSkinManager::InitThirdParty(bool reset) {
  for (int i = 0; i < ThirdPartyList::kCount; ++i) {
    if (reset || thirdParty_[i].empty()) thirdParty_[i] = ThirdPartyList::Default(i);
    thirdLists_[size_t(i)] = SplitLines(thirdParty_[i]);
  }
}

void TsSkinManager::StoreThirdParty() {
  for (int i = 0; i < ThirdPartyList::kCount; ++i) thirdParty_[i] = JoinLines(thirdLists_[size_t(i)]);
}
