#include "app/ListViewRows.h"

#include <stdexcept>

#include "toolkit/WideText.h"

TListViewRows::TListViewRows(TListView& view) : view_(view) { view_.SetOwnerData(this); }

const TListViewRows::TRow& TListViewRows::At(int row) const {
  if (row < 0 || row >= Count()) throw std::out_of_range("task row out of range");
  return rows_[size_t(row)];
}

TListViewRows::TRow& TListViewRows::At(int row) {
  return const_cast<TRow&>(static_cast<const TListViewRows&>(*this).At(row));
}

std::string TListViewRows::Text(int row, TTaskField field) const {
  return At(row).texts.at(size_t(field));
}

void TListViewRows::AppendText(int row, TTaskField field, std::string& out) const {
  out += At(row).texts.at(size_t(field));
}

bool TListViewRows::TextIs(int row, TTaskField field, const char* text) const {
  return At(row).texts.at(size_t(field)) == text;
}

TTaskLineCache* TListViewRows::LineCache(int row) const { return &At(row).line; }

void TListViewRows::SetText(int row, TTaskField field, const std::string& text) {
  TRow& r = At(row);
  std::string& stored = r.texts.at(size_t(field));
  if (stored == text) return;
  stored = text;
  // The elapsed time of an unfinished task is not saved ("notend"): a tick keeps the line.
  if (field != tfElapsed || r.texts[tfFinished] == "true") r.line.Valid = false;
  view_.ItemChanged(row, field);
}

int TListViewRows::AddRow() {
  rows_.emplace_back();
  view_.SetItemCount(Count());
  return Count() - 1;
}

void TListViewRows::MoveRowsDown() {
  if (rows_.empty()) {
    AddRow();
    return;
  }
  // Row 0 keeps its texts until the caller overwrites them; the selection stays with the
  // positions, as when every row's texts are copied one place down.
  rows_.push_front(rows_.front());
  for (TRow& row : rows_) row.image = row.texts[tfFinished] == "true" ? tiFinished : tiRunning;
  rows_.front().image = tiRunning;
  view_.SetItemCount(Count());
  view_.ItemChanged(0);
  view_.ItemChanged(Count() - 1);
}

void TListViewRows::DeleteRow(int row) {
  if (row < 0 || row >= Count()) return;
  rows_.erase(rows_.begin() + row);
  view_.DeleteItem(row);
}

void TListViewRows::Clear() {
  rows_.clear();
  view_.ClearItems();
}

int TListViewRows::ImageIndex(int row) const { return At(row).image; }

void TListViewRows::SetImageIndex(int row, int index) {
  TRow& stored = At(row);
  if (stored.image == index) return;
  stored.image = index;
  view_.ItemChanged(row, 0);  // the icon is drawn in the first column
}

std::wstring TListViewRows::ItemText(int index, int column) const {
  if (index < 0 || index >= Count() || column < 0 || column >= kTaskFieldCount) return L"";
  return Utf8ToWide(rows_[size_t(index)].texts[size_t(column)]);
}

int TListViewRows::ItemImage(int index) const {
  return index >= 0 && index < Count() ? rows_[size_t(index)].image : -1;
}
