// The list view in owner-data mode on its own: a window made before the mode was chosen is
// made anew with it, items are snapshots of the source's rows, and the platform's count
// waits for the end of an update.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ListView.h"

namespace {

class TNumberedRows : public TListViewSource {
 public:
  std::wstring ItemText(int index, int column) const override {
    return L"r" + std::to_wstring(index) + L"c" + std::to_wstring(column);
  }
  int ItemImage(int index) const override { return index % 4; }
};

class OwnerDataListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    list = new TListView(form);
    list->SetParent(form);
    list->AddColumn(L"a", 80);
    list->AddColumn(L"b", 80);
    list->AddColumn(L"c", 80);
  }
  void TearDown() override {
    delete form;
    Pump();
  }
  TForm* form = nullptr;
  TListView* list = nullptr;
  TNumberedRows rows;
};

TEST_F(OwnerDataListViewTest, ChoosingTheModeRemakesAnExistingWindowWithItsColumns) {
  list->AddItem();
  HWND before = list->Handle();
  ASSERT_FALSE(GetWindowLongPtrW(before, GWL_STYLE) & LVS_OWNERDATA);
  list->SetOwnerData(&rows);
  HWND after = list->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(after, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(after)), 3);
  EXPECT_EQ(list->ItemCount(), 0) << "the list's own items are dropped";
  EXPECT_EQ(ListView_GetItemCount(after), 0);
  // Item is a snapshot of the row as the source has it.
  list->SetItemCount(100);
  TListItem* snapshot = list->Item(42);
  EXPECT_EQ(snapshot->Index(), 42);
  EXPECT_EQ(snapshot->Caption(), L"r42c0");
  EXPECT_EQ(snapshot->SubItem(1), L"r42c2");
  EXPECT_EQ(snapshot->ImageIndex(), 2);
  EXPECT_THROW(list->Item(100), std::out_of_range);
}

TEST_F(OwnerDataListViewTest, CountsWaitForTheEndOfAnUpdateAndDeletesMoveTheSelection) {
  list->SetOwnerData(&rows);
  HWND wnd = list->Handle();
  list->BeginUpdate();
  for (int i = 1; i <= 500; ++i) list->SetItemCount(i);
  EXPECT_EQ(list->ItemCount(), 500);
  EXPECT_EQ(ListView_GetItemCount(wnd), 0) << "no platform call per row while updating";
  list->EndUpdate();
  EXPECT_EQ(ListView_GetItemCount(wnd), 500);
  list->SetItemIndex(10);
  list->DeleteItem(3);
  EXPECT_EQ(list->ItemCount(), 499);
  EXPECT_EQ(ListView_GetItemCount(wnd), 499);
  EXPECT_EQ(list->ItemIndex(), 9) << "the selected row moved up with the rows below the deleted one";
  list->SetItemCount(5);
  EXPECT_EQ(list->ItemIndex(), -1) << "rows beyond a smaller count lose their selection";
  list->ClearItems();
  EXPECT_EQ(list->ItemCount(), 0);
  EXPECT_EQ(ListView_GetItemCount(wnd), 0);
}

}  // namespace
