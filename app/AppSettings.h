// The program's own settings file, "settings.ini" beside the task file: the skin chosen in
// the tray menu (or that the skin follows the platform's light or dark app mode) and the hue
// offset. Plain "Key=Value" lines in UTF-8:
//
//   ; Vornik Desktop: the look chosen in the tray menu
//   Skin=Quarn Night (internal)
//   FollowWindows=0
//   Hue=60
//
// The file is outside input: whatever cannot be read gives the defaults, value by value, and
// never an error. Portable.
#pragma once

#include <cstddef>
#include <string>

// Larger files are not read at all.
constexpr size_t kMaxAppSettingsBytes = 64 * 1024;
// A skin name longer than this (bytes) is no name the program lists.
constexpr size_t kMaxSkinNameBytes = 255;

struct TAppSettings {
  std::string SkinName;        // empty: the program's first internal skin
  bool FollowWindows = false;  // the skin follows the platform's app mode; SkinName is kept
  int HueOffset = 0;           // degrees, 0 to 359

  bool operator==(const TAppSettings& o) const {
    return SkinName == o.SkinName && FollowWindows == o.FollowWindows && HueOffset == o.HueOffset;
  }
};

// The settings a file's bytes hold. A leading UTF-8 byte-order mark is skipped; keys are
// compared without regard to ASCII letter case; blanks around keys and values are dropped;
// lines starting with ";" or "#", unknown keys and values that do not read are ignored, and
// the last readable value of a key wins. A skin name must be valid UTF-8 without control
// characters, path separators or ":", at most kMaxSkinNameBytes long; a hue a whole number
// from 0 to 359; FollowWindows "1", "0", "true" or "false". Input larger than
// kMaxAppSettingsBytes gives the defaults.
TAppSettings ParseAppSettings(const std::string& bytes);

// The file's bytes for the settings (CRLF line ends, no byte-order mark). A skin name that
// ParseAppSettings would not accept is left out, so what is written always reads back.
std::string FormatAppSettings(const TAppSettings& settings);

// Whether a text is a skin name the settings file can hold.
bool IsStorableSkinName(const std::string& name);
