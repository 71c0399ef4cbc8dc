#include "toolkit/Icon.h"

#include <vector>

#include "toolkit/WideText.h"

void TIcon::Adopt(HICON icon, int width, int height) {
  handle_.Reset(icon);
  width_ = icon ? width : 0;
  height_ = icon ? height : 0;
}

void TIcon::LoadFromFile(const std::wstring& path, int width, int height) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw EPictureError(WideToUtf8(L"Icon file not found: " + path));
  HICON icon = static_cast<HICON>(
      LoadImageW(nullptr, path.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE));
  if (!icon) {
    // The loader often fails on a damaged file without setting an error code; "success"
    // would then be the reason given, so name the file's content instead.
    const DWORD error = GetLastError();
    const std::wstring reason =
        error == ERROR_SUCCESS ? L"the file holds no icon image that can be read" : SystemErrorText(error);
    throw EPictureError(WideToUtf8(L"Cannot read icon file " + path + L": " + reason));
  }
  Adopt(icon, width, height);
}

bool TIcon::LoadFromResource(HINSTANCE module, const wchar_t* name, int width, int height) {
  HICON icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, width, height, 0));
  if (!icon) return false;
  Adopt(icon, width, height);
  return true;
}

TIcon TIcon::Blank(int width, int height) {
  void* bits = nullptr;
  TBitmapHandle color = NewDibSection(width, height, bits);
  std::vector<BYTE> maskBits(size_t((width + 15) / 16 * 2) * size_t(height), 0xFF);
  TBitmapHandle mask(CreateBitmap(width, height, 1, 1, maskBits.data()));
  ICONINFO info = {TRUE, 0, 0, mask.Get(), color.Get()};
  TIcon icon;
  icon.Adopt(CreateIconIndirect(&info), width, height);
  return icon;
}

TIcon TIcon::FromHandle(HICON handle, int width, int height) {
  TIcon icon;
  icon.Adopt(handle, width, height);
  return icon;
}

TIcon TIcon::Clone() const {
  TIcon copy;
  if (handle_) copy.Adopt(CopyIcon(handle_.Get()), width_, height_);
  return copy;
}
