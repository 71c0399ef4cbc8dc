#include "MainWindowParts.h"

#include "toolkit/Application.h"

TForm1Setup TMainWindowParts::FormSetup() {
  TForm1Setup setup;
  setup.Folder = folder.Path();
  setup.Locale = &locale;
  setup.Alarm = &alarm;
  return setup;
}

TForm1* TMainWindowParts::CreateMainForm(const TForm1Setup& setup, bool show) {
  TForm1* form = Application->CreateForm<TForm1>(setup);
  if (show) {
    form->Show();
    Pump();
  }
  return form;
}
