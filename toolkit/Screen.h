// The screen: its size and the list of the application's forms.
#pragma once

#include <cstddef>
#include <vector>

class TCustomForm;

class TScreen {
 public:
  int Width() const;
  int Height() const;
  int FormCount() const { return int(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(size_t(index)); }
  // The forms in creation order (the skin hook walks them from the last).
  const std::vector<TCustomForm*>& CustomForms() const { return forms_; }
  TCustomForm* ActiveForm() const { return activeForm_; }

  void RegisterForm(TCustomForm* form);
  void UnregisterForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

 private:
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
};

extern TScreen* Screen;
