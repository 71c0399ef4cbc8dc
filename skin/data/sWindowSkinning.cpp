#include "skin/data/sWindowSkinning.h"

namespace {

TzkWindowSkinning windowSkinning;
TzkGlowHost glowHost;
TzkMenuPainterMaker menuPainterMaker = nullptr;

}  // namespace

std::vector<IzkFrameProvider*>& FramedForms() {
  static std::vector<IzkFrameProvider*> forms;
  return forms;
}

void SetWindowSkinning(const TzkWindowSkinning& skinning) { windowSkinning = skinning; }
const TzkWindowSkinning& WindowSkinning() { return windowSkinning; }

void SetGlowHost(const TzkGlowHost& host) { glowHost = host; }
const TzkGlowHost& GlowHost() { return glowHost; }

void SetMenuPainterMaker(TzkMenuPainterMaker maker) { menuPainterMaker = maker; }
TzkMenuPainterMaker MenuPainterMaker() { return menuPainterMaker; }
