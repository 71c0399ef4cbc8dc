// The time-limit dialog: hours and minutes for the task selected in the main window. It is
// made hidden at start-up, shown modeless from the list's popup menu and only ever hidden
// again, so the boxes keep what was last entered.
#pragma once

#include <string>

#include "skin/controls/sButton.h"
#include "skin/controls/sSpinEdit.h"
#include "toolkit/Form.h"

class TForm1;

class TForm2 : public TForm {
 public:
  TForm2(TComponent* owner, TForm1* mainWindow);
  ~TForm2() override;
  const wchar_t* ClassName() const override { return L"TForm2"; }

  TsDecimalSpinEdit* sDecimalSpinEdit1 = nullptr;  // hours
  TsDecimalSpinEdit* sDecimalSpinEdit2 = nullptr;  // minutes
  TsButton* sButton1 = nullptr;

  // "Установить": the limit goes to the row selected at this moment; the dialog hides, the
  // list is saved and the main window's edit box gets the focus.
  void sButton1Click(TObject* sender);

  // The limit text of the boxes, "H:M:00". Each box gives a whole number from 0 up (see
  // LimitText): an empty or unreadable box gives 0, a negative value 0, a fraction its
  // whole part; the boxes are set to the numbers used, so they show what was written.
  std::string TakeLimitText();

  // The boxes' captions keep their own dark colour where it reads on the skin's form colour
  // (a contrast of 4.5 : 1 or more) and take the skin's label colour where it does not, as on
  // a dark skin. The main window calls it after every skin change.
  void FitLabelColors();

  // The boxes' captions are placed above their boxes again once everything has its new size.
  void ChangeScale(int fromDpi, int toDpi) override;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TForm1* main_;
};

extern TForm2* Form2;
