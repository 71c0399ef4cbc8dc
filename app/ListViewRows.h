// The task rows as the list view holds them: the caption in the first column, the five
// sub-texts in the others, and the status icon as the item's image.
#pragma once

#include "app/TaskRows.h"

class TListView;

class TListViewRows : public TTaskRows {
 public:
  explicit TListViewRows(TListView& view) : view_(view) {}

  int Count() const override;
  std::string Text(int row, TTaskField field) const override;
  void SetText(int row, TTaskField field, const std::string& text) override;
  int AddRow() override;
  void DeleteRow(int row) override;
  void Clear() override;
  int ImageIndex(int row) const override;
  void SetImageIndex(int row, int index) override;

 private:
  TListView& view_;
};
