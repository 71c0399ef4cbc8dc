// Loading and applying a skin: TsSkinManager's SkinName chain, the loads, the cached indexes
// and shadow images, applying (the new-skin broadcast and the window hook), removing,
// repainting, the display scale (the scaled tables and their announcement), the broadcast
// itself, the skin-changing animation and the application window filter.
#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "skin/data/sFormTransition.h"
#include "skin/data/sScaledSkin.h"
#include "skin/data/sSkinCommands.h"
#include "skin/data/sSkinDirectory.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkImageScale.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/FlagScope.h"
#include "toolkit/Form.h"
#include "toolkit/Screen.h"
#include "toolkit/WideText.h"

namespace {

bool SkinFileExists(const std::string& utf8) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::u8path(utf8), ec);
}

// Sends to a form (by message once it has a window) and then through its controls.
void SendToFormTree(TCustomForm* form, const TMessage& message) {
  if (form->HandleAllocated())
    SendMessageW(form->WindowHandle(), message.Msg, message.WParam, message.LParam);
  else
    form->Perform(message.Msg, message.WParam, message.LParam);
  BroadcastToControls(form, message);
}

// The visible windows under the hook's control, taken before any of them is told anything: a
// window told may change the list.
std::vector<HWND> VisibleHookedWindows() {
  std::vector<HWND> windows;
  if (!WindowSkinning().HookedWindows) return windows;
  for (HWND wnd : WindowSkinning().HookedWindows())
    if (IsWindowVisible(wnd)) windows.push_back(wnd);
  return windows;
}

TMessage Command(TzkCommandCode code, LPARAM param) {
  return TMessage{SM_ORVEXCMD, WPARAM(MakeCommandWParam(code)), param, 0};
}

bool CompositionOn() {
  return WindowSkinning().CompositionEnabled && WindowSkinning().CompositionEnabled();
}

void CloseAllGlows(bool freeAtOnce) {
  if (GlowHost().CloseAll) GlowHost().CloseAll(freeAtOnce);
}

// The framed top-level forms the skin-changing animation covers for a manager. Visibility is
// the form's own: a form that stopped redrawing has lost its window's visible style bit.
std::vector<IzkFrameProvider*> FormsConcerned(TsSkinManager* manager) {
  std::vector<IzkFrameProvider*> forms;
  for (IzkFrameProvider* p : FramedForms()) {
    TCustomForm* f = p->Form();
    if (f && !f->Parent() && f->HandleAllocated() && f->Visible() &&
        !IsIconic(f->WindowHandle()) && p->SkinManager() == manager)
      forms.push_back(p);
  }
  return forms;
}

// A DPI held to the scales a skin is made for.
int ClampDpi(int dpi) {
  return std::clamp(dpi, kDesignDpi * kMinScalePercent / 100, kDesignDpi * kMaxScalePercent / 100);
}

}  // namespace

// [SECTION] Loading

void TsSkinManager::SetSkinName(const std::string& value) {
  const std::string previousName = skinName_;
  skinName_ = value;
  if (!active_) return;
  if (OnBeforeChange) OnBeforeChange(this);
  {
    TFlagScope changing(zkSkinChanging);
    const bool wasActive = tables_.SkinData.Active;
    const bool wasPacked = packed_;
    SetSkinActive(false);
    try {
      packed_ = SkinFileExists(PackedSkinPath(skinDirectory_, skinName_));
      if (packed_)
        LoadPackedSkin();
      else
        LoadSkin();
    } catch (...) {
      // A load that fails leaves the tables as they were: the skin shown stays the active one.
      skinName_ = previousName;
      packed_ = wasPacked;
      SetSkinActive(wasActive);
      throw;
    }
    if (!active_)
      RemoveSkin();
    else
      ApplyNewSkin(true);
  }
  if (OnAfterChange) OnAfterChange(this);
}

TsSkinLoadOptions TsSkinManager::LoadOptions() const {
  TsSkinLoadOptions options;
  options.HueOffset = hueOffset_;
  options.Saturation = saturation_;
  for (const std::string& line : commonSections_) options.CommonSections += line + "\n";
  return options;
}

void TsSkinManager::LoadInto(const std::function<void(TsSkinTables&, const TsSkinLoadOptions&,
                                                      TsSkinLoadReport*)>& load) {
  TsSkinLoadReport report;
  load(tables_, LoadOptions(), &report);
  loadReport_ = std::move(report);
  if (!ppiSet_) ppi_ = ClampDpi(SystemDpi());
  if (loadReport_.VersionTooNew) {
    if (WindowSkinning().Warn)
      WindowSkinning().Warn(kVersionWarning);
    else  // no window layer: the platform's own box
      MessageBoxW(nullptr, Utf8ToWide(kVersionWarning).c_str(), L"Warning", MB_OK | MB_ICONWARNING);
  }
  // The skin before was painted at its scales until here (the warning's box paints); the new
  // one is scaled when its indexes are set up.
  DropScaledTables();
  InitCachedIndexes();
}

void TsSkinManager::LoadSkin() {
  if (!active_) return;
  TFlagScope changing(zkSkinChanging);
  const std::string folder = SkinFolderPath(SkinPath(), skinName_);
  if (SkinFileExists(folder + "Options.dat")) {
    packed_ = false;
    bool found = false;
    LoadInto([&](TsSkinTables& t, const TsSkinLoadOptions& o, TsSkinLoadReport* r) {
      found = LoadSkinFromFolder(folder, t, o, r);
    });
    if (found) return;
  }
  const TsStoredSkin* stored = nullptr;
  for (const TsStoredSkin& s : internalSkins_)
    if (s.Name == skinName_) {
      stored = &s;
      break;
    }
  if (!stored && !internalSkins_.empty()) {
    stored = &internalSkins_.front();
    skinName_ = stored->Name;
  }
  if (!stored) {
    active_ = false;
    return;
  }
  packed_ = stored->Data && stored->Size > 0;
  if (!packed_) {
    LoadInto([&](TsSkinTables& t, const TsSkinLoadOptions& o, TsSkinLoadReport* r) {
      LoadSkinFromStoredData(stored->Collections, t, o, r);
    });
    return;
  }
  LoadInto([&](TsSkinTables& t, const TsSkinLoadOptions& o, TsSkinLoadReport* r) {
    LoadSkinFromArchive(stored->Data, stored->Size, t, o, r);
  });
}

void TsSkinManager::LoadPackedSkin() {
  if (!active_) return;
  TFlagScope changing(zkSkinChanging);
  const std::string path = PackedSkinPath(skinDirectory_, skinName_);
  LoadInto([&](TsSkinTables& t, const TsSkinLoadOptions& o, TsSkinLoadReport* r) {
    LoadSkinFromPackedFile(path, t, o, r);
  });
  tables_.SkinData.SkinPath = WithTrailingSeparator(SkinPath());
  SelectScale();
}

void TsSkinManager::ReloadAndRepaint() { SetSkinName(skinName_); }

void TsSkinManager::InitCachedIndexes() {
  tables_.InitCachedIndexes();
  SelectScale();
  PrepareShadowImages();
}

void TsSkinManager::PrepareShadowImages() {
  ::PrepareShadowImages(Tables(), ExtendedBorders(), &BuiltinActiveShadow(),
                        &BuiltinInactiveShadow(), ExtendedBorders() && CompositionOn(),
                        shadows_, ScalePercentOf(ppi_));
}

// [SECTION] Applying and removing

void TsSkinManager::ApplyNewSkin(bool repaint) {
  if (IsLoading()) return;
  // Glows are drawn from the old skin's images and placed by its geometry.
  CloseAllGlows(IsDestroying());
  if (repaint) PrepareSkinChanging();
  if (IzkMenuPainter* menus = MenuPainter()) menus->SkinChanged();
  SetSkinActive(false);
  {
    TFlagScope applying(zkSkinApplying);
    InitCachedIndexes();
    Broadcast(Command(zcSkinNew, CommandParam()));
  }
  SetSkinActive(true);
  if (IsDefault() && !hookInstalled_) InstallHook();
  ActivateMenus(true);
  if (repaint) RepaintAll();
}

void TsSkinManager::ActivateMenus(bool on) {
  if (IsDesigning()) return;
  if (IzkMenuPainter* menus = MenuPainter()) menus->SetActive(on);
}

void TsSkinManager::RemoveSkin() {
  TFlagScope removing(zkSkinRemoving);
  CloseAllGlows(IsDestroying());
  RemoveHook();
  ActivateMenus(false);
  SetSkinActive(false);
  Broadcast(Command(zcSkinRemove, CommandParam()));
  DropScaledTables();
  tables_.Clear();
}

void TsSkinManager::DropScaledTables() {
  scaled_ = nullptr;
  scaledTables_.clear();
}

void TsSkinManager::RepaintAll(bool crossFade) {
  const bool fade = crossFade && !IsLoading();
  Broadcast(Command(zcStopAnimation, CommandParam()));
  if (fade) PrepareSkinChanging();
  Broadcast(Command(zcSkinRefresh, CommandParam()));
  if (fade) RunSkinChanging();
  for (HWND wnd : VisibleHookedWindows())
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinManager::InstallHook() {
  if (IsDesigning() || !IsDefault() || hookInstalled_) return;
  hookInstalled_ = WindowSkinning().InstallHook && WindowSkinning().InstallHook();
}

void TsSkinManager::RemoveHook() {
  if (IsDesigning() || !IsDefault() || !hookInstalled_) return;
  if (WindowSkinning().RemoveHook) WindowSkinning().RemoveHook();
  hookInstalled_ = false;
}

// [SECTION] Display scale

void TsSkinManager::SetPixelsPerInch(int dpi) {
  ppiSet_ = true;
  dpi = ClampDpi(dpi);
  if (dpi == ppi_) return;
  ppi_ = dpi;
  if (IsLoading() || !tables_.SkinData.Active) {
    SelectScale();
    PrepareShadowImages();
    return;
  }
  AnnounceScale();
}

void TsSkinManager::SelectScale() {
  scaled_ = nullptr;
  const int percent = ScalePercentOf(ppi_);
  if (percent <= 100 || tables_.Sections.empty()) return;
  std::unique_ptr<TsSkinTables>& copy = scaledTables_[percent];
  if (!copy) {
    try {
      copy = ScaleSkinTables(tables_, percent);
    } catch (const std::length_error&) {
      // Pictures too large to scale: the skin is painted as loaded.
      scaledTables_.erase(percent);
      return;
    }
  }
  // The loaded tables' state that changes after loading: the flag, the folder, the indexes.
  copy->SkinData.Active = tables_.SkinData.Active;
  copy->SkinData.SkinPath = tables_.SkinData.SkinPath;
  copy->CachedIndexes = tables_.CachedIndexes;
  scaled_ = copy.get();
}

void TsSkinManager::SetSkinActive(bool on) {
  tables_.SkinData.Active = on;
  if (scaled_) scaled_->SkinData.Active = on;
}

// Every window hears of the skin again as of a new one (frame caches, regions, glyph sizes,
// fonts, scroll bars, menus) and is repainted at once, without the skin-changing cross-fade:
// the old look at the old scale would only show a moment longer.
void TsSkinManager::AnnounceScale() {
  CloseAllGlows(IsDestroying());
  if (IzkMenuPainter* menus = MenuPainter()) menus->SkinChanged();
  SetSkinActive(false);
  {
    TFlagScope applying(zkSkinApplying);
    SelectScale();
    PrepareShadowImages();
    Broadcast(Command(zcSkinNew, CommandParam()));
  }
  SetSkinActive(true);
  RepaintAll(false);
}

// [SECTION] Broadcast

void TsSkinManager::Broadcast(const TMessage& message) {
  const std::vector<TCustomForm*> forms = Screen->CustomForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    TCustomForm* f = *it;
    if (f->IsLoading() || f->IsDestroying() || f->Parent()) continue;
    if (f->HandleAllocated() && IsSkinnedWindow(f->WindowHandle())) continue;
    SendToFormTree(f, message);
  }
  // The framed forms, then the other windows under the hook's control (its dialogs): each
  // window once, however many of the lists it is in.
  std::vector<HWND> told;
  const std::vector<IzkFrameProvider*> framed = FramedForms();
  for (IzkFrameProvider* p : framed) {
    TCustomForm* f = p->Form();
    if (!f || f->IsDestroying()) continue;
    SendToFormTree(f, message);
    if (f->HandleAllocated()) told.push_back(f->WindowHandle());
  }
  for (HWND wnd : VisibleHookedWindows())
    if (std::find(told.begin(), told.end(), wnd) == told.end())
      SendMessageW(wnd, message.Msg, message.WParam, message.LParam);
}

// [SECTION] Skin-changing animation

void TsSkinManager::PrepareSkinChanging() {
  if (Application->Minimized()) return;
  if (IsDefault() && animEffects_.SkinChanging.Active) zkSkinAnimating = true;
  for (IzkFrameProvider* p : FormsConcerned(this)) {
    p->SetAnimating(true);
    SendMessageW(p->Form()->WindowHandle(), WM_SETREDRAW, FALSE, 0);
  }
}

void TsSkinManager::RunSkinChanging() {
  if (Application->Minimized()) return;
  if (IsDefault()) zkSkinAnimating = false;
  for (IzkFrameProvider* p : FormsConcerned(this)) {
    HWND wnd = p->Form()->WindowHandle();
    const TzkSkinChanging& settings = p->SkinManager()->AnimEffects().SkinChanging;
    const uint16_t time = p->DrawsNonClientArea() ? settings.Time : 0;
    if (settings.Active && !p->SwitchLookWithBorder(time))
      SwitchFormLook(p->Form(), time, p->CopyWindowRegion());
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    p->SetAnimating(false);
    if (p->DrawsNonClientArea()) {
      p->RebuildFrame();
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
  }
}

// [SECTION] Application window filter

bool TsSkinManager::FilterAppMessage(TMessage& m) {
  if (!skinnedPopups_) return false;
  switch (m.Msg) {
    case WM_THEMECHANGED:
      return true;
    case CM_ACTIVATE: {
      const std::vector<TCustomForm*> forms = Screen->CustomForms();
      for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        SendCommandToControl(*it, zcRepaintFrame);
      return false;
    }
    case CM_MENUBORDER_ITEM:
    case CM_MENUBORDER_WINDOW:
      // Swallowed even when nothing could be drawn: the platform's own border drawing is
      // never wanted while popups are skinned.
      if (IzkMenuPainter* menus = MenuPainter()) {
        if (m.Msg == CM_MENUBORDER_ITEM)
          menus->ApplyBorderOfItem(reinterpret_cast<TObject*>(m.LParam));
        else
          menus->ApplyBorderOfWindow(reinterpret_cast<HWND>(m.LParam));
      }
      return true;
    default:
      return false;
  }
}
