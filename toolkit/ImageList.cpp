#include "toolkit/ImageList.h"

#include <stdexcept>

#include "toolkit/Icon.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  Recreate();
}

void TImageList::Recreate() {
  handle_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4));
  if (handle_) ImageList_SetBkColor(handle_.Get(), CLR_NONE);
}

void TImageList::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  Recreate();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0; }

int TImageList::AddIcon(const TIcon& icon) {
  const int index = ImageList_ReplaceIcon(handle_.Get(), -1, icon.Handle());
  if (index < 0) throw std::runtime_error("Cannot add an icon to the image list");
  return index;
}

TIcon TImageList::GetIcon(int index) const {
  if (!handle_ || index < 0 || index >= Count()) return TIcon();
  return TIcon::FromHandle(ImageList_GetIcon(handle_.Get(), index, ILD_NORMAL), width_, height_);
}

void TImageList::Clear() {
  if (handle_) ImageList_Remove(handle_.Get(), -1);
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (!handle_ || index < 0 || index >= Count()) return;
  ImageList_DrawEx(handle_.Get(), index, dc, x, y, 0, 0, CLR_NONE, CLR_NONE,
                   enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}
