// Shared pieces of the tests of skinned forms: a form shown and made active, the frame
// provider the hook gave it, and a fixture that frees its forms before its skin manager.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "skin/data/sSkinManager.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Form.h"

// The frame provider serving the form's window, or null.
inline TsSkinProvider* ProviderOf(TCustomForm* f) { return ProviderOfWindow(f->WindowHandle()); }
// Shows the form, makes it the foreground and active window and handles what follows.
void ShowAndActivate(TCustomForm* f);
// Frees the manager once the messages still on their way are handled, and gives bitmaps
// back to the default storage.
void ReleaseManager(std::unique_ptr<TsSkinManager>& manager);

// A skin manager and the forms a test keeps, freed newest first before the manager.
class SkinnedFormsFixture : public ::testing::Test {
 protected:
  void TearDown() override;
  template <typename T>
  T* Keep(T* f) {
    forms.push_back(f);
    return f;
  }

  std::unique_ptr<TsSkinManager> manager;
  std::vector<TCustomForm*> forms;
};
