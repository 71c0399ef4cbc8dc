// Vornik Desktop: the program's entry point.
#include <windows.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Engine bitmaps live in DIB sections, so GDI can draw into them and blit them directly.
  InstallDibBitmapStorage();
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
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
