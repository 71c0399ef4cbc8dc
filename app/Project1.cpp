// Vornik Desktop: the program's entry point.
#include <windows.h>

#include "app/SingleInstance.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkWindowSkinning.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/WideText.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The manifest declares it already; set here too for a copy started without its manifest.
  // It must come before the first window.
  EnablePerMonitorDpiAwareness();
  // A second start in this folder brings the running program back instead of loading and
  // saving the same task file beside it.
  TSingleInstance instance(ExeFolder());
  if (!instance.First()) {
    instance.BringBackFirst();
    return 0;
  }
  // Engine bitmaps live in DIB sections, so GDI can draw into them and blit them directly.
  InstallDibBitmapStorage();
  // The window layer of the skin engine: hook, frames, dialogs, glows, adapters.
  InstallWindowSkinning();
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
  Form1 = Application->CreateForm<TForm1>();
  Form2 = Application->CreateForm<TForm2>(Form1);
  Form1->TimeLimitDialog = Form2;
  instance.Listen([] { Form1->BringBack(); });
  Application->Run();
  instance.StopListening();
  // The forms go before the process does, so the tray icon leaves the notification area
  // instead of lingering there until the pointer passes over it.
  delete Form2;
  delete Form1;
  return 0;
}
