// The picture formats the program can load, by file extension: each entry has a description
// (as file dialogs show it) and a loader that decodes a whole file held in memory. Lookups
// ignore the letter case of the extension; a later registration of an extension replaces
// the earlier one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/paint/zkBitmap.h"

struct TzkPictureFormat {
  std::wstring Extension;    // without the dot, e.g. L"png"
  std::wstring Description;  // e.g. L"Portable network graphics (OrvexControls)"
  // Fills `out` or returns false with a message in `error`.
  bool (*Load)(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error) = nullptr;
};

void RegisterPictureFormat(const TzkPictureFormat& format);
void UnregisterPictureFormat(const std::wstring& extension);
// The format registered for the extension (with or without a leading dot), or null.
const TzkPictureFormat* FindPictureFormat(const std::wstring& extension);
