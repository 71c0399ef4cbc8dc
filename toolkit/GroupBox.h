// A group box: an etched frame with a caption at the top, holding child controls. It is a
// window of its own class (not the platform's group box, which lets mouse clicks through
// to the form), so windowless children inside it get their mouse messages.
#pragma once

#include "toolkit/WinControl.h"

class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TGroupBox"; }

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
};
