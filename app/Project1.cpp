// Vornik Desktop: the program's entry point.
#include <windows.h>

#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

namespace {

// Loads the program's stored skin "Quarn (internal)" from its resource. The program works
// without a skin, so a missing or damaged one is reported and the program goes on.
void LoadInternalSkin(TsActiveSkin& skin) {
  try {
    skin.Load(InternalStoredSkin());
  } catch (const EzkSkinError& e) {
    const std::wstring text = Utf8ToWide(e.what());
    MessageBoxW(nullptr, text.c_str(), L"Vornik Desktop", MB_OK | MB_ICONERROR);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Engine bitmaps live in DIB sections, so GDI can draw into them and blit them directly.
  InstallDibBitmapStorage();
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
  // The skin the windows will be drawn with, held for the program's lifetime.
  TsActiveSkin skin;
  LoadInternalSkin(skin);
  Form1 = Application->CreateForm<TForm1>();
  Form2 = Application->CreateForm<TForm2>(Form1);
  Form1->TimeLimitDialog = Form2;
  Application->Run();
  // The forms go before the process does, so the tray icon leaves the notification area
  // instead of lingering there until the pointer passes over it.
  delete Form2;
  delete Form1;
  return 0;
}
