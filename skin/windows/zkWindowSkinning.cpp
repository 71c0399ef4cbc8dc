#include "skin/windows/zkWindowSkinning.h"

#include "skin/controls/zkAdapterFactory.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkDials.h"
#include "skin/windows/zkEditWnd.h"
#include "skin/windows/zkGlowEffect.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/zkMessageBox.h"
#include "toolkit/WideText.h"

namespace {

std::unique_ptr<TzkScrollWnd> MakeListViewAdapter(HWND wnd, const std::string& section,
                                                  TsSkinView* manager) {
  return TzkMainWnd::Attach<TzkListViewWnd>(wnd, true, section, manager);
}

void CloseOneGlow(int id) { CloseGlowEffect(id); }
void WarnInMessageBox(const std::string& text) { ShowSkinMessage(L"", Utf8ToWide(text), mkWarning); }
void CloseEveryGlow(bool freeAtOnce) { CloseAllGlowEffects(freeAtOnce); }

}  // namespace

void InstallWindowSkinning() {
  TzkWindowSkinning skinning;
  skinning.InstallHook = &InstallSkinHook;
  skinning.RemoveHook = &RemoveSkinHook;
  skinning.HookedWindows = &HookedWindows;
  skinning.CompositionEnabled = &CompositionEnabled;
  skinning.Warn = &WarnInMessageBox;
  SetWindowSkinning(skinning);
  TzkGlowHost glows;
  glows.Show = &ShowGlowEffect;
  glows.Close = &CloseOneGlow;
  glows.Open = &GlowEffectOpen;
  glows.CloseAll = &CloseEveryGlow;
  SetGlowHost(glows);
  SetListViewAdapterMaker(&MakeListViewAdapter);
  SetMenuPainterMaker(&MakeSkinableMenus);
}
