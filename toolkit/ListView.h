// Report-style list view (platform class SysListView32). The items' texts live in
// TListItem objects and reach the platform through text callbacks, so changing a text only
// invalidates its row. Custom draw: OnCustomDrawItem runs before each item is drawn with the
// canvas's brush set to the background colour (the handler may change it);
// OnAdvancedCustomDraw sees the whole-control stages.
#pragma once

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

  // Items.
  int ItemCount() const { return int(items_.size()); }
  TListItem* Item(int i) const { return items_.at(size_t(i)).get(); }
  TListItem* AddItem();
  void DeleteItem(int i);
  void ClearItems();
  void BeginUpdate();
  void EndUpdate();

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

  // A row's texts changed: repaint it (batched; FlushItemRedraw does it at once).
  void ItemChanged(int index);
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
  void OnGetDispInfo(NMLVDISPINFOW* info);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* cd);

  std::vector<TListColumn> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  bool rowSelect_ = false;
  bool columnClick_ = true;
  bool multiSelect_ = false;
  bool hideSelection_ = true;
  int updateCount_ = 0;
  int dirtyFirst_ = -1;
  int dirtyLast_ = -1;
  TImageList* smallImages_ = nullptr;
  TCanvas canvas_;
};
