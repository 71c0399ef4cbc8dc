#include "SkinnedFormSupport.h"

#include "WinTestSupport.h"
#include "skin/paint/zkDibStorage.h"

void ShowAndActivate(TCustomForm* f) {
  f->Show();
  SetForegroundWindow(f->Handle());
  SetActiveWindow(f->Handle());
  Pump();
}

void ReleaseManager(std::unique_ptr<TsSkinManager>& manager) {
  Pump();
  manager.reset();
  Pump();
  SetBitmapStorageFactory(nullptr);
}

void SkinnedFormsFixture::TearDown() {
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) delete *it;
  forms.clear();
  ReleaseManager(manager);
}
