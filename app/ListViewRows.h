// The task rows, kept here and shown by the main window's list view in owner-data mode:
// the caption in the first column, the five sub-texts in the others and the status icon as
// the row's image. The list view holds only the row count and asks for the rows it shows,
// so loading, adding to and closing a long list cost no more than the rows on screen.
#pragma once

#include <array>
#include <deque>
#include <string>

#include "app/TaskRows.h"
#include "toolkit/ListView.h"

class TListViewRows : public TTaskRows, public TListViewSource {
 public:
  // Puts view into owner-data mode; call before its window exists.
  explicit TListViewRows(TListView& view);

  int Count() const override { return int(rows_.size()); }
  std::string Text(int row, TTaskField field) const override;
  void SetText(int row, TTaskField field, const std::string& text) override;
  void AppendText(int row, TTaskField field, std::string& out) const override;
  TTaskLineCache* LineCache(int row) const override;
  bool TextIs(int row, TTaskField field, const char* text) const override;
  int AddRow() override;
  void MoveRowsDown() override;
  void DeleteRow(int row) override;
  void Clear() override;
  int ImageIndex(int row) const override;
  void SetImageIndex(int row, int index) override;

  std::wstring ItemText(int index, int column) const override;
  int ItemImage(int index) const override;

 private:
  struct TRow {
    std::array<std::string, kTaskFieldCount> texts;
    int image = tiRunning;
    mutable TTaskLineCache line;
  };
  const TRow& At(int row) const;
  TRow& At(int row);

  TListView& view_;
  std::deque<TRow> rows_;
};
