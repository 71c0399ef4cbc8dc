// Report-style list view (platform class SysListView32). The items' texts live in
// TListItem objects and reach the platform through text callbacks, so changing a text only
// invalidates its row. Custom draw: OnCustomDrawItem runs before each item is drawn with the
// canvas's brush set to the background colour (the handler may change it);
// OnAdvancedCustomDraw sees the whole-control stages.
//
// Owner-data mode (SetOwnerData, best before the window exists): the rows live in the program
// and the platform list view keeps only their count; it asks the source for the texts and
// images of the rows it shows, so a list of any length loads, grows and closes at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/WinControl.h"

class TListView;
class TImageList;

class TListItem {
 public:
  TListItem(TListView* owner, int index) : owner_(owner), index_(index) {}

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& text);
  int SubItemCount() const { return int(subItems_.size()); }
  // Sub-item i (0 = the second column); empty beyond the last one.
  const std::wstring& SubItem(int i) const;
  void SetSubItem(int i, const std::wstring& text);
  void AddSubItem(const std::wstring& text) { SetSubItem(SubItemCount(), text); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  int Index() const { return index_; }
  bool Selected() const;
  void SetSelected(bool on);
  TListView* Owner() const { return owner_; }

 private:
  friend class TListView;
  TListView* owner_;
  int index_;
  std::wstring caption_;
  std::vector<std::wstring> subItems_;
  int imageIndex_ = -1;
};

// The rows of an owner-data list view.
class TListViewSource {
 public:
  virtual ~TListViewSource() = default;
  // Column 0 is the caption, column c > 0 sub-item c - 1.
  virtual std::wstring ItemText(int index, int column) const = 0;
  virtual int ItemImage(int index) const = 0;
};

struct TListColumn {
  std::wstring Caption;
  int Width = 50;
};

enum class TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateFlag : unsigned { cdsSelected = 1, cdsFocused = 2, cdsHot = 4 };
using TCustomDrawState = unsigned;

using TLVCustomDrawItemEvent =
    std::function<void(TObject*, TListItem*, TCustomDrawState, bool& defaultDraw)>;
using TLVAdvancedCustomDrawEvent =
    std::function<void(TObject*, const TRect&, TCustomDrawStage, bool& defaultDraw)>;

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  const wchar_t* ClassName() const override { return L"TListView"; }

  // Columns.
  int AddColumn(const std::wstring& caption, int width);
  int ColumnCount() const { return int(columns_.size()); }
  const TListColumn& Column(int i) const { return columns_.at(size_t(i)); }
  void SetColumnWidth(int i, int width);
  // Also the column widths (as the user left them) go to the new scale.
  void ChangeScale(int fromDpi, int toDpi) override;

  // Items. In owner-data mode Item returns a snapshot of row i read from the source (valid
  // until the next call; change the row through its owner instead).
  int ItemCount() const { return source_ ? ownerCount_ : int(items_.size()); }
  TListItem* Item(int i) const;
  TListItem* AddItem();
  void DeleteItem(int i);
  void ClearItems();
  void BeginUpdate();
  void EndUpdate();

  // Owner-data mode: source supplies the rows and the own items are dropped; an existing
  // window is made anew, as the platform fixes the mode when it creates one.
  void SetOwnerData(TListViewSource* source);
  bool OwnerData() const { return source_ != nullptr; }
  // Owner-data mode: the number of rows. Rows keep their selection and focus by position;
  // rows beyond a smaller count lose theirs. Rows are not repainted (ItemChanged does).
  // DeleteItem and ClearItems work in both modes; AddItem adds one row to the count.
  void SetItemCount(int count);

  // Selection.
  TListItem* Selected() const;
  int ItemIndex() const;
  void SetItemIndex(int i);

  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on);
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool on);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool on);
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* images);

  // The canvas of the drawing in progress (valid inside the custom-draw events).
  TCanvas& Canvas() { return canvas_; }
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVAdvancedCustomDrawEvent OnAdvancedCustomDraw;

  // A row's texts changed: repaint it (batched; FlushItemRedraw does it at once). Given a
  // column other than the first, only that column's cells of the changed rows are repainted.
  void ItemChanged(int index, int column = -1);
  void FlushItemRedraw();

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void ColorChanged() override;
  void FontChanged() override;
  void Notification(TComponent* c, TOperation op) override;
  bool WantsKey(WORD key) const override;

 private:
  void InsertColumnInWindow(int i);
  void InsertItemInWindow(int i);
  void ApplyColors();
  void ApplyExtendedStyle();
  void ApplyStyleBit(DWORD bit, bool on);
  void ApplyItemCount();
  void OnGetDispInfo(NMLVDISPINFOW* info);
  int FindItem(const NMLVFINDITEMW& find) const;
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* cd);

  std::vector<TListColumn> columns_;
  std::vector<TDpiLength> scaledColumnWidths_;
  std::vector<std::unique_ptr<TListItem>> items_;
  bool rowSelect_ = false;
  bool columnClick_ = true;
  bool multiSelect_ = false;
  bool hideSelection_ = true;
  int updateCount_ = 0;
  int dirtyFirst_ = -1;
  int dirtyLast_ = -1;
  uint64_t dirtyColumns_ = 0;  // bit c: column c changed; bit 0 stands for whole rows
  TImageList* smallImages_ = nullptr;
  TCanvas canvas_;
  TListViewSource* source_ = nullptr;
  int ownerCount_ = 0;
  mutable std::unique_ptr<TListItem> snapshot_;
};
