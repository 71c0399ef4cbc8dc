// The skinned list view: colours from its skin section, the column header drawn from the
// skin's "COLHEADER" section with hot tracking, a pressed state and sort arrows, and the
// edit-style window adapter for its border and scroll bars. Items are drawn by the platform
// list view with whatever the application's own custom-draw handler does, so nothing here
// depends on how or where the items are stored. The header's part is in sListViewHeader.
#pragma once

#include <memory>

#include "skin/controls/sListViewHeader.h"
#include "skin/paint/sCommonData.h"
#include "toolkit/ListView.h"
#include "toolkit/Subclass.h"

class TzkScrollWnd;

class TsCustomListView : public TListView {
 public:
  explicit TsCustomListView(TComponent* owner);
  ~TsCustomListView() override;
  const wchar_t* ClassName() const override { return L"TsCustomListView"; }

  TsCommonData& SkinData() { return *skinData_; }
  TsBoundLabel& BoundLabel() { return *boundLabel_; }
  bool HighlightHeaders() const { return highlightHeaders_; }
  void SetHighlightHeaders(bool value) { highlightHeaders_ = value; }

  // The platform header window, or null.
  HWND HeaderWindow() const { return header_; }
  // The edit-style adapter painting border and scroll bars, or null.
  TzkScrollWnd* ScrollAdapter() const { return adapter_.get(); }
  int HotSection() const { return hotSection_; }
  int PressedSection() const { return pressedSection_; }
  // Paints one header section (display position, or -1 for the empty space) into a bitmap of
  // rect's size in the given state.
  void RenderHeaderSection(int position, const TRect& rect, int state, TzkBitmap& out);
  // The section's display rectangle in the header; empty without a header.
  TRect SectionRect(int position) const;
  // The display position of the section under a screen point, or -2.
  int SectionAt(POINT screen) const;

 protected:
  void WndProc(TMessage& m) override;
  void CreateWnd() override;
  void Loaded() override;
  void BoundsChanged() override;

 private:
  friend LRESULT SkinnedHeaderProc(void* list, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool SkinCommandMessage(TMessage& m);
  bool SkinnedMessage(TMessage& m);
  void AfterMessage(const TMessage& m);
  void FollowBoundLabel(const TMessage& m);
  void Scroll(TMessage& m, int bar);
  void ChangeCountQuietly(TMessage& m);
  LRESULT HeaderMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallHeader(UINT msg, WPARAM wParam, LPARAM lParam);
  void RefreshAdapterBars();
  void AttachHeader(HWND header);
  void DetachHeader();
  void PaintHeader(HDC dc);
  void RepaintHeader();
  void SetHot(int section);
  // The item of the section at a display position (an empty one for -1 or without a header).
  THeaderItem HeaderItemAt(int position) const;
  void ApplySkinColors();
  // The whole-control custom draw: the cached image built before the list paints, and the
  // list's colour set from the skin again.
  void InstallWholeControlDraw();
  void UninstallWholeControlDraw();
  void WholeControlDraw(TObject* sender, const TRect& r, TCustomDrawStage stage, bool& defaultDraw);
  // Paints the control's look into the cached image, placed where the list lies in its parent.
  void PrepareCache();
  // The header into a print of the list's client area.
  void PrintHeader(HDC dc);
  void RestoreDefaultColors();
  void UpdateAdapter();
  void FreeAdapter();
  bool Skinned() const;
  bool Loading() const;

  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TsBoundLabel> boundLabel_;
  std::unique_ptr<TzkScrollWnd> adapter_;
  bool wholeDrawInstalled_ = false;
  TLVAdvancedCustomDrawEvent userWholeDraw_;  // the application's handler, run instead of ours
  bool highlightHeaders_ = true;
  bool barsAfterShowing_ = false;  // the adapter's bars are read again after the next paint
  HWND header_ = nullptr;
  TWindowSubclass headerSubclass_;
  int pressedSection_ = -1;
  int hotSection_ = -2;
  bool headerButtonDown_ = false;
  int headerHeight_ = 0;
};

class TsListView : public TsCustomListView {
 public:
  using TsCustomListView::TsCustomListView;
  const wchar_t* ClassName() const override { return L"TsListView"; }
};
