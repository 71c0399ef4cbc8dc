// An icon handle with its size; loaded from a file or a resource.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "toolkit/Handles.h"

// A picture file that could not be read; the message names the file.
class EPictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TIcon {
 public:
  TIcon() = default;
  TIcon(TIcon&&) = default;
  TIcon& operator=(TIcon&&) = default;

  // Loads the image of the given size from an .ico file; throws EPictureError naming the
  // file when it is missing or not an icon.
  void LoadFromFile(const std::wstring& path, int width, int height);
  // Loads a group icon resource; returns false when the module has none of that name.
  bool LoadFromResource(HINSTANCE module, const wchar_t* name, int width, int height);
  // A fully transparent icon of the given size.
  static TIcon Blank(int width, int height);
  // Takes ownership of an icon handle made elsewhere (null gives an empty icon).
  static TIcon FromHandle(HICON icon, int width, int height);
  TIcon Clone() const;

  HICON Handle() const { return handle_.Get(); }
  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  void Adopt(HICON icon, int width, int height);

  TIconHandle handle_;
  int width_ = 0;
  int height_ = 0;
};
