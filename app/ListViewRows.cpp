#include "app/ListViewRows.h"

#include "toolkit/ListView.h"
#include "toolkit/WideText.h"

int TListViewRows::Count() const { return view_.ItemCount(); }

std::string TListViewRows::Text(int row, TTaskField field) const {
  const TListItem* item = view_.Item(row);
  return WideToUtf8(field == tfCaption ? item->Caption() : item->SubItem(field - 1));
}

void TListViewRows::SetText(int row, TTaskField field, const std::string& text) {
  TListItem* item = view_.Item(row);
  if (field == tfCaption)
    item->SetCaption(Utf8ToWide(text));
  else
    item->SetSubItem(field - 1, Utf8ToWide(text));
}

int TListViewRows::AddRow() {
  TListItem* item = view_.AddItem();
  item->SetImageIndex(tiRunning);
  for (int i = 0; i < kTaskFieldCount - 1; ++i) item->AddSubItem(L"");
  return item->Index();
}

void TListViewRows::DeleteRow(int row) { view_.DeleteItem(row); }

void TListViewRows::Clear() { view_.ClearItems(); }

int TListViewRows::ImageIndex(int row) const { return view_.Item(row)->ImageIndex(); }

void TListViewRows::SetImageIndex(int row, int index) { view_.Item(row)->SetImageIndex(index); }
