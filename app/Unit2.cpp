#include "app/Unit2.h"

#include <algorithm>
#include <cmath>

#include "app/TaskClock.h"
#include "app/Unit1.h"
#include "skin/controls/sLabel.h"
#include "skin/data/sSkinView.h"

TForm2* Form2 = nullptr;

namespace {

// The boxes' captions in their own colour.
const TColor kLabelColor = RGBColor(36, 44, 53);

// Relative luminance of an RGB colour (sRGB channels linearised).
double Luminance(TColor c) {
  const auto channel = [](int v) {
    const double x = v / 255.0;
    return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double ContrastRatio(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

TForm2::TForm2(TComponent* owner, TForm1* mainWindow) : TForm(owner), main_(mainWindow) {
  if (main_) main_->FreeNotification(this);
  SetName(L"Form2");
  SetCaption(L"Временное ограничение");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(TPosition::poScreenCenter);
  TFont font;
  font.SetName(L"MS Sans Serif");
  font.SetHeight(-11);
  font.SetColor(clWindowText);
  SetFont(font);
  SetClientSize(193, 120);

  const auto makeBox = [this](const wchar_t* name, int top, const wchar_t* caption) {
    TsDecimalSpinEdit* box = new TsDecimalSpinEdit(this);
    box->SetName(name);
    box->SetParent(this);
    box->SetBounds(32, top, 121, 21);
    box->SetColor(clWhite);
    TFont f = Font();
    f.SetColor(clBlack);
    box->SetFont(f);
    box->SkinData().SetSkinSection("EDIT");
    box->SetIncrement(1);
    box->SetDecimalPlaces(0);
    box->SetValue(0);
    TsBoundLabel& label = box->BoundLabel();
    TFont labelFont = Font();
    labelFont.SetColor(kLabelColor);
    label.SetFont(labelFont);
    label.SetCaption(caption);
    label.SetLayout(TsCaptionLayout::sclTopLeft);
    label.SetActive(true);
    label.SetUseSkinColor(false);  // see FitLabelColors
    return box;
  };
  sDecimalSpinEdit1 = makeBox(L"sDecimalSpinEdit1", 16, L"Часов");
  sDecimalSpinEdit2 = makeBox(L"sDecimalSpinEdit2", 56, L"Минут");

  sButton1 = new TsButton(this);
  sButton1->SetName(L"sButton1");
  sButton1->SetParent(this);
  sButton1->SetBounds(32, 88, 121, 25);
  sButton1->SetCaption(L"Установить");
  sButton1->SkinData().SetSkinSection("BUTTON");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };

  sDecimalSpinEdit1->SetTabOrder(0);
  sDecimalSpinEdit2->SetTabOrder(1);
  sButton1->SetTabOrder(2);
  FitLabelColors();
}

void TForm2::FitLabelColors() {
  bool own = true;
  if (TsSkinView* m = DefaultManager(); m && m->SkinData().Active) {
    const int form = m->IndexOfSection("FORM");
    const TColor background =
        form >= 0 ? ColorToRGB(m->Tables().Sections[size_t(form)].Color) : m->GlobalColor();
    own = ContrastRatio(kLabelColor, background) >= 4.5;
  }
  for (TsDecimalSpinEdit* box : {sDecimalSpinEdit1, sDecimalSpinEdit2}) {
    TsBoundLabel& label = box->BoundLabel();
    label.SetUseSkinColor(!own);
    if (own) label.Font().SetColor(kLabelColor);
  }
}

void TForm2::ChangeScale(int fromDpi, int toDpi) {
  TForm::ChangeScale(fromDpi, toDpi);
  for (TsDecimalSpinEdit* box : {sDecimalSpinEdit1, sDecimalSpinEdit2})
    if (box) box->BoundLabel().Reposition();
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
  if (main_ && main_->TimeLimitDialog == this) main_->TimeLimitDialog = nullptr;
}

void TForm2::Notification(TComponent* c, TOperation op) {
  TForm::Notification(c, op);
  if (op == TOperation::opRemove && c == main_) main_ = nullptr;
}

std::string TForm2::TakeLimitText() {
  const double hours = sDecimalSpinEdit1->Value();
  const double minutes = sDecimalSpinEdit2->Value();
  sDecimalSpinEdit1->SetValue(double(WholeLimitPart(hours)));
  sDecimalSpinEdit2->SetValue(double(WholeLimitPart(minutes)));
  return LimitText(hours, minutes);
}

void TForm2::sButton1Click(TObject*) {
  const std::string limit = TakeLimitText();
  if (!main_) {
    Hide();
    return;
  }
  if (TListItem* item = main_->sListView1->Selected())
    main_->Rows().SetText(item->Index(), tfLimit, limit);
  Hide();
  main_->SaveTasks();
  main_->sEdit1->SetFocus();
}
