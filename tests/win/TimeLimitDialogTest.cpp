// The time-limit dialog with the real main window: opened from the list's popup menu,
// typed into through posted key messages, "Установить" clicked, and the ticker run.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "toolkit/Application.h"
#include "skin/controls/sLabel.h"
#include "toolkit/WideText.h"

namespace {

class TimeLimitDialogTest : public ::testing::Test, protected TMainWindowParts {
 protected:
  void SetUp() override {
    TForm1Setup setup = FormSetup();
    setup.OpenUrl = [](const std::wstring&) {};
    form = CreateMainForm(setup, false);
    dialog = Application->CreateForm<TForm2>(form);
    form->TimeLimitDialog = dialog;
    form->Timer1->SetEnabled(false);  // the tests tick by hand
    form->Show();
    Pump();
  }

  void TearDown() override {
    delete dialog;
    delete form;
    Pump();
  }

  void Add(const std::wstring& text) {
    SetWindowTextW(form->sEdit1->Handle(), text.c_str());
    SendMessageW(form->sButton1->Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  void Select(int row) { SelectListRow(form->sListView1->Handle(), row); }
  void OpenDialog() {
    PostMessageW(PopupListWindow(), WM_COMMAND, form->N3->Command(), 0);
    Pump();
  }
  // Replaces a box's text by typing it.
  void Type(TsDecimalSpinEdit* box, const std::wstring& text) {
    SetFocus(box->Handle());
    SendMessageW(box->Handle(), EM_SETSEL, 0, -1);
    for (wchar_t c : text) PostMessageW(box->Handle(), WM_CHAR, c, 1);
    Pump();
  }
  void Set() {
    SendMessageW(dialog->sButton1->Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  std::string Limit(int row) { return form->Rows().Text(row, tfLimit); }
  std::string SavedFile() const { return ReadBytes(folder.Path() + L"save.txt"); }
  bool Shown() const { return dialog->HandleAllocated() && IsWindowVisible(dialog->WindowHandle()); }

  TForm1* form = nullptr;
  TForm2* dialog = nullptr;
};

TEST_F(TimeLimitDialogTest, MadeHiddenAndOpenedModelessWithItsLayout) {
  EXPECT_FALSE(Shown());
  OpenDialog();
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(IsWindowEnabled(form->Handle())) << "the main window stays usable";
  EXPECT_EQ(dialog->ClientHeight(), 120);
  EXPECT_EQ(dialog->sDecimalSpinEdit1->Text(), L"0");
  EXPECT_EQ(dialog->sDecimalSpinEdit2->Text(), L"0");
  for (TsDecimalSpinEdit* box : {dialog->sDecimalSpinEdit1, dialog->sDecimalSpinEdit2}) {
    TsEditLabel* label = box->BoundLabel().Label();
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(box->SkinData().Skinned(true)) << "drawn by the program's skin";
    EXPECT_EQ(label->Left(), box->Left());
    EXPECT_EQ(label->Top() + label->Height(), box->Top()) << "just above the box";
    EXPECT_EQ(label->Font().Color(), RGBColor(36, 44, 53));
    EXPECT_TRUE(label->Visible());
  }
  EXPECT_EQ(dialog->sDecimalSpinEdit1->BoundLabel().Label()->Caption(), L"Часов");
  EXPECT_EQ(dialog->sDecimalSpinEdit2->BoundLabel().Label()->Caption(), L"Минут");
  EXPECT_EQ(GetFocus(), dialog->sDecimalSpinEdit1->WindowHandle());
}

TEST_F(TimeLimitDialogTest, ZeroHoursZeroMinutesFiresAtTheNextTickAndOnlyOnce) {
  Add(L"Позвонить");
  Select(0);
  OpenDialog();
  Set();
  EXPECT_EQ(Limit(0), "0:0:00");
  EXPECT_FALSE(Shown());
  EXPECT_NE(SavedFile().find("<#>0:0:00<#>0\r\n"), std::string::npos);
  EXPECT_EQ(GetFocus(), form->sEdit1->WindowHandle());
  EXPECT_EQ(alarm.plays, 0) << "nothing fires before the tick";
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_EQ(form->Rows().ImageIndex(0), 3);
  EXPECT_EQ(Limit(0), "0:0:00#");
  EXPECT_NE(SavedFile().find("<#>0:0:00#<#>0\r\n"), std::string::npos);
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 1);
}

TEST_F(TimeLimitDialogTest, ANewLimitOnAFiredRowRemovesTheMarkSoItCanFireAgain) {
  Add(L"Задача");
  Select(0);
  OpenDialog();
  Set();
  form->Timer1->Tick();
  ASSERT_EQ(Limit(0), "0:0:00#");
  OpenDialog();
  Type(dialog->sDecimalSpinEdit1, L"1");
  Type(dialog->sDecimalSpinEdit2, L"30");
  Set();
  EXPECT_EQ(Limit(0), "1:30:00");
  form->Timer1->Tick();
  EXPECT_EQ(form->Rows().ImageIndex(0), 2) << "pending";
  locale.now += 90.0 / 1440;
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 2);
  EXPECT_EQ(Limit(0), "1:30:00#");
}

TEST_F(TimeLimitDialogTest, AppliesToTheRowSelectedWhenSetIsClicked) {
  Add(L"first");
  Add(L"second");
  Select(0);
  OpenDialog();
  Type(dialog->sDecimalSpinEdit1, L"2");
  Type(dialog->sDecimalSpinEdit2, L"5");
  Select(1);
  Set();
  EXPECT_EQ(Limit(0), "notime");
  EXPECT_EQ(Limit(1), "2:5:00");
}

TEST_F(TimeLimitDialogTest, WithoutASelectionNoRowChangesButTheListIsSaved) {
  Add(L"only");
  DeleteFileW((folder.Path() + L"save.txt").c_str());
  Select(-1);
  OpenDialog();
  Set();
  EXPECT_EQ(Limit(0), "notime");
  EXPECT_FALSE(Shown());
  EXPECT_NE(SavedFile().find("<#>notime<#>0\r\n"), std::string::npos);
  EXPECT_EQ(GetFocus(), form->sEdit1->WindowHandle());
}

TEST_F(TimeLimitDialogTest, ReopeningShowsTheLastValuesAndClosingOnlyHides) {
  Add(L"task");
  Select(0);
  OpenDialog();
  Type(dialog->sDecimalSpinEdit1, L"3");
  Type(dialog->sDecimalSpinEdit2, L"45");
  Set();
  const std::string saved = SavedFile();
  OpenDialog();
  EXPECT_EQ(dialog->sDecimalSpinEdit1->Text(), L"3");
  EXPECT_EQ(dialog->sDecimalSpinEdit2->Text(), L"45");
  Type(dialog->sDecimalSpinEdit1, L"9");
  SendMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Limit(0), "3:45:00") << "closing stores nothing";
  EXPECT_EQ(SavedFile(), saved);
  OpenDialog();
  EXPECT_TRUE(Shown());
  EXPECT_EQ(dialog->sDecimalSpinEdit1->Text(), L"9");
}

TEST_F(TimeLimitDialogTest, BoxesThatHoldNoWholeNumberGiveTheirWholeValueFromZero) {
  Add(L"task");
  Select(0);
  OpenDialog();
  SetWindowTextW(dialog->sDecimalSpinEdit1->Handle(), L"");
  SetWindowTextW(dialog->sDecimalSpinEdit2->Handle(), L"-");
  Set();
  EXPECT_EQ(Limit(0), "0:0:00");
  EXPECT_EQ(dialog->sDecimalSpinEdit1->Text(), L"0") << "the box shows what was written";
  OpenDialog();
  SetWindowTextW(dialog->sDecimalSpinEdit1->Handle(), L"-4");  // pasted text counts too
  SetWindowTextW(dialog->sDecimalSpinEdit2->Handle(), L"7.9");
  Set();
  EXPECT_EQ(Limit(0), "0:7:00");
  EXPECT_EQ(dialog->sDecimalSpinEdit2->Text(), L"7");
  OpenDialog();
  SendMessageW(dialog->sDecimalSpinEdit1->Handle(), WM_KEYDOWN, VK_DOWN, 0);  // through CN_KEYDOWN
  dialog->sDecimalSpinEdit1->DownClick();
  EXPECT_EQ(dialog->sDecimalSpinEdit1->Text(), L"-1") << "the boxes themselves have no limits";
  Set();
  EXPECT_EQ(Limit(0), "0:7:00");
  form->Timer1->Tick();
  EXPECT_EQ(form->Rows().ImageIndex(0), 2) << "the ticker reads the limit";
}

}  // namespace
