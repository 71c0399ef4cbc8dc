#include "toolkit/Screen.h"

#include <windows.h>

#include <algorithm>

TScreen* Screen = new TScreen;

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::RegisterForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::UnregisterForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form) activeForm_ = nullptr;
}
