#include "skin/paint/zkPictureFormats.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

std::vector<TzkPictureFormat>& Formats() {
  static std::vector<TzkPictureFormat> formats;
  return formats;
}

std::wstring Key(std::wstring extension) {
  if (!extension.empty() && extension[0] == L'.') extension.erase(0, 1);
  for (wchar_t& c : extension) c = wchar_t(std::towlower(c));
  return extension;
}

}  // namespace

void RegisterPictureFormat(const TzkPictureFormat& format) {
  UnregisterPictureFormat(format.Extension);
  TzkPictureFormat f = format;
  f.Extension = Key(f.Extension);
  Formats().push_back(f);
}

void UnregisterPictureFormat(const std::wstring& extension) {
  const std::wstring key = Key(extension);
  auto& formats = Formats();
  formats.erase(std::remove_if(formats.begin(), formats.end(),
                               [&](const TzkPictureFormat& f) { return f.Extension == key; }),
                formats.end());
}

const TzkPictureFormat* FindPictureFormat(const std::wstring& extension) {
  const std::wstring key = Key(extension);
  for (const TzkPictureFormat& f : Formats())
    if (f.Extension == key) return &f;
  return nullptr;
}
