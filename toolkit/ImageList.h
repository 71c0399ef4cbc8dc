// A list of equally sized images (an image list handle), filled with icons.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/Handles.h"

class TIcon;

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);
  const wchar_t* ClassName() const override { return L"TImageList"; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int width, int height);
  HIMAGELIST Handle() const { return handle_.Get(); }
  int Count() const;
  // Appends the icon; returns its index.
  int AddIcon(const TIcon& icon);
  // A copy of image index as an icon (empty when there is no such image).
  TIcon GetIcon(int index) const;
  void Clear();
  // Draws image index at (x, y).
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

 private:
  void Recreate();
  int width_;
  int height_;
  TImageListHandle handle_;
};
