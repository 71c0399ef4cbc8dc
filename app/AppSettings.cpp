#include "app/AppSettings.h"

#include "skin/data/zkSkinText.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    unsigned code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

bool ReadHue(const std::string& v, int& hue) {
  if (v.empty() || v.size() > 3) return false;
  int n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n > 359) return false;
  hue = n;
  return true;
}

bool ReadFlag(const std::string& v, bool& flag) {
  if (v == "1" || SameText(v, "true")) return flag = true, true;
  if (v == "0" || SameText(v, "false")) return flag = false, true;
  return false;
}

}  // namespace

bool IsStorableSkinName(const std::string& name) {
  if (name.empty() || name.size() > kMaxSkinNameBytes || !IsUtf8(name)) return false;
  if (name != Trimmed(name)) return false;  // blanks around it would not read back
  for (const char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '\\' || c == '/' || c == ':') return false;
  }
  return true;
}

TAppSettings ParseAppSettings(const std::string& bytes) {
  TAppSettings settings;
  if (bytes.size() > kMaxAppSettingsBytes) return settings;
  size_t start = bytes.compare(0, 3, kBom) == 0 ? 3 : 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = Trimmed(bytes.substr(start, end - start));
    start = end + 1;
    const size_t eq = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '#' || eq == std::string::npos) continue;
    const std::string key = Trimmed(line.substr(0, eq));
    const std::string value = Trimmed(line.substr(eq + 1));
    if (SameText(key, "Skin")) {
      if (IsStorableSkinName(value)) settings.SkinName = value;
    } else if (SameText(key, "FollowWindows")) {
      ReadFlag(value, settings.FollowWindows);
    } else if (SameText(key, "Hue")) {
      ReadHue(value, settings.HueOffset);
    }
  }
  return settings;
}

std::string FormatAppSettings(const TAppSettings& settings) {
  std::string text = "; Vornik Desktop: the look chosen in the tray menu\r\n";
  if (IsStorableSkinName(settings.SkinName)) text += "Skin=" + settings.SkinName + "\r\n";
  text += std::string("FollowWindows=") + (settings.FollowWindows ? "1" : "0") + "\r\n";
  const int hue = settings.HueOffset >= 0 && settings.HueOffset <= 359 ? settings.HueOffset : 0;
  text += "Hue=" + std::to_string(hue) + "\r\n";
  return text;
}
