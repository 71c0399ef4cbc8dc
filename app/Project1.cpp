// Vornik Desktop: the program's entry point.
#include <windows.h>

#include "app/Unit1.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Engine bitmaps live in DIB sections, so GDI can draw into them and blit them directly.
  InstallDibBitmapStorage();
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
  Form1 = Application->CreateForm<TForm1>();
  Application->Run();
  return 0;
}
