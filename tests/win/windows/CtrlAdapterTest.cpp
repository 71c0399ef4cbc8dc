// The adapters a skinned form gives its plain child controls: by the skin manager's class
// lists, labels made transparent, skinned controls left alone, and every window procedure
// given back when the form goes.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkCtrlAdapter.h"
#include "skin/windows/zkBtnWnd.h"
#include "skin/windows/zkEditWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"

namespace {

class TPlainControlsForm : public TForm {
 public:
  explicit TPlainControlsForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBounds(120, 120, 320, 200);
    button = Place(new TButton(this), 10, 10);
    edit = Place(new TEdit(this), 10, 50);
    skinned = Place(new TsButton(this), 10, 90);
    label = Place(new TLabel(this), 10, 130);
    label->SetCaption(L"Plain label");
    hidden = Place(new TEdit(this), 150, 50);
    hidden->SetTag(-98);
  }
  const wchar_t* ClassName() const override { return L"TPlainControlsForm"; }
  template <typename T>
  T* Place(T* c, int x, int y) {
    c->SetParent(this);
    c->SetBounds(x, y, 120, 28);
    return c;
  }
  TButton* button;
  TEdit* edit;
  TsButton* skinned;
  TLabel* label;
  TEdit* hidden;
};

class CtrlAdapter : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    // The edit list names the plain edit, so a list other than the buttons' is matched too.
    manager = MakeDefaultSkinManager([](TsSkinManager& m) {
      m.ThirdParty().ThirdEdits = "TEdit";
      m.InitThirdParty(false);
    });
    ASSERT_TRUE(manager->HookInstalled());
  }
  TPlainControlsForm* ShowForm() {
    auto* f = Application->CreateForm<TPlainControlsForm>();
    ShowAndActivate(f);
    return f;
  }
};

TEST_F(CtrlAdapter, ListedControlsGetAdaptersAndLabelsTurnTransparent) {
  EXPECT_EQ(ThirdListOf(*manager, "TButton"), 1);
  EXPECT_EQ(ThirdListOf(*manager, "TEdit"), 0);
  EXPECT_EQ(ThirdListOf(*manager, "tbutton"), -1);  // names match exactly
  EXPECT_EQ(ThirdListOf(*manager, "TLabel"), -1);

  const int entriesBefore = TzkMainWnd::EntriesInUse();
  TPlainControlsForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->CtrlAdapter(), nullptr);

  auto* editAdapter = dynamic_cast<TzkEditWnd*>(TzkMainWnd::FromWindow(f->edit->WindowHandle()));
  ASSERT_NE(editAdapter, nullptr);
  EXPECT_EQ(editAdapter->Skin().Section, "EDIT");
  EXPECT_EQ(SendCommandToWindow(f->edit->WindowHandle(), zcIsSkinned), 1);
  // A plain push button gets the button adapter through the "TButton" list.
  auto* buttonAdapter = dynamic_cast<TzkBtnWnd*>(TzkMainWnd::FromWindow(f->button->WindowHandle()));
  ASSERT_NE(buttonAdapter, nullptr);
  EXPECT_EQ(buttonAdapter->Skin().Section, "BUTTON");
  EXPECT_EQ(p->CtrlAdapter()->Items().size(), 2u);
  // The skinned button keeps its own procedure; the Tag -98 edit is left alone.
  EXPECT_EQ(TzkMainWnd::FromWindow(f->skinned->WindowHandle()), nullptr);
  EXPECT_EQ(TzkMainWnd::FromWindow(f->hidden->WindowHandle()), nullptr);
  EXPECT_TRUE(f->label->Transparent());
  EXPECT_EQ(f->label->Font().Color(), manager->GlobalFontColor());

  // Command 25 adapts a control put on the form later, once.
  auto* late = f->Place(new TEdit(f), 150, 90);
  late->HandleNeeded();
  EXPECT_EQ(TzkMainWnd::FromWindow(late->WindowHandle()), nullptr);
  SendCommandToWindow(f->WindowHandle(), zcChildAdded, LPARAM(static_cast<TControl*>(late)));
  EXPECT_NE(TzkMainWnd::FromWindow(late->WindowHandle()), nullptr);
  const size_t items = p->CtrlAdapter()->Items().size();
  SendCommandToWindow(f->WindowHandle(), zcChildAdded, 0);
  EXPECT_EQ(p->CtrlAdapter()->Items().size(), items);

  // Destroying the form gives every adapted window its procedure back.
  delete f;
  Pump();
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entriesBefore);
}

TEST_F(CtrlAdapter, WithoutTheThirdPartyRuleNothingIsAdapted) {
  manager->SetSkinningRules(srStdForms | srStdDialogs);
  TPlainControlsForm* f = ShowForm();
  ASSERT_NE(ProviderOf(f), nullptr);
  EXPECT_EQ(TzkMainWnd::FromWindow(f->edit->WindowHandle()), nullptr);
  EXPECT_FALSE(f->label->Transparent());
  // Freeing the provider of a live form gives the adapted windows back as well.
  manager->SetSkinningRules(srStdForms | srStdDialogs | srThirdParty);
  ProviderOf(f)->CtrlAdapter()->AddAllItems();
  HWND edit = f->edit->WindowHandle();
  ASSERT_NE(TzkMainWnd::FromWindow(edit), nullptr);
  delete ProviderOf(f);
  EXPECT_EQ(TzkMainWnd::FromWindow(edit), nullptr);
  EXPECT_EQ(SendCommandToWindow(edit, zcIsSkinned), 0);
  delete f;
}

// Plain labels with their own looks: one to be skinned, one that keeps its colour (Tag 98) on
// the form and one inside a skinned group box.
class TPlainLabelsForm : public TForm {
 public:
  explicit TPlainLabelsForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBounds(120, 120, 320, 200);
    plain = AddLabel(this, L"Plain", RGBColor(200, 0, 0), 0);
    kept = AddLabel(this, L"Kept", RGBColor(0, 0, 200), 98);
    box = new TsGroupBox(this);
    box->SetParent(this);
    box->SetBounds(10, 80, 200, 80);
    keptInBox = AddLabel(box, L"Kept too", RGBColor(0, 150, 0), 98);
  }
  const wchar_t* ClassName() const override { return L"TPlainLabelsForm"; }
  TLabel* AddLabel(TWinControl* parent, const wchar_t* caption, TColor color, intptr_t tag) {
    auto* l = new TLabel(this);
    l->SetParent(parent);
    l->SetBounds(10, 10 + 20 * parent->ControlCount(), 100, 16);
    l->SetCaption(caption);
    l->Font().SetColor(color);
    l->SetTag(tag);
    return l;
  }
  TLabel* plain;
  TLabel* kept;
  TsGroupBox* box;
  TLabel* keptInBox;
};

TEST_F(CtrlAdapter, PlainLabelsGetTheirOwnLookBackAndTagNinetyEightKeepsItsColour) {
  auto* f = Application->CreateForm<TPlainLabelsForm>();
  f->Show();
  Pump();
  ASSERT_NE(ProviderOf(f), nullptr);
  EXPECT_TRUE(f->plain->Transparent());
  EXPECT_EQ(f->plain->Font().Color(), manager->GlobalFontColor());
  for (TLabel* kept : {f->kept, f->keptInBox}) EXPECT_FALSE(kept->Transparent()) << "skinned";
  EXPECT_EQ(f->kept->Font().Color(), RGBColor(0, 0, 200)) << "skinned";
  EXPECT_EQ(f->keptInBox->Font().Color(), RGBColor(0, 150, 0)) << "skinned";

  manager->SetActive(false);
  EXPECT_FALSE(f->plain->Transparent()) << "removed";
  EXPECT_EQ(f->plain->Font().Color(), RGBColor(200, 0, 0)) << "removed";
  EXPECT_EQ(f->kept->Font().Color(), RGBColor(0, 0, 200)) << "removed";
  EXPECT_EQ(f->keptInBox->Font().Color(), RGBColor(0, 150, 0)) << "removed";
  for (TLabel* kept : {f->kept, f->keptInBox}) EXPECT_FALSE(kept->Transparent()) << "removed";
  delete f;
  Pump();
}

}  // namespace
