// Vornik Desktop: the program's entry point.
#include <windows.h>

#include "app/Unit1.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
  Form1 = Application->CreateForm<TForm1>();
  Application->Run();
  return 0;
}
