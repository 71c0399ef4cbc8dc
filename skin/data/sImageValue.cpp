#include "skin/data/sImageValue.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "skin/data/zkSkinPack.h"
#include "skin/data/zkSkinText.h"

namespace {

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

[[noreturn]] void BadNumber(std::string_view field, std::string_view what) {
  throw EzkSkinError("\"" + std::string(field) + "\" is not a valid number for " + std::string(what));
}

int32_t Number(std::string_view field, std::string_view what) {
  const auto v = ParseInteger(field);
  if (!v) BadNumber(field, what);
  return *v;
}

int16_t Short(std::string_view field, std::string_view what) {
  const int32_t v = Number(field, what);
  if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
    BadNumber(field, what);
  return int16_t(v);
}

// Characters from the 1-based position, at most `count`; empty past the end.
std::string_view At(std::string_view s, size_t position, size_t count) {
  return position - 1 < s.size() ? s.substr(position - 1, count) : std::string_view();
}

TRect MasterRect(std::string_view s) {
  return {Number(At(s, 2, 4), "x1"), Number(At(s, 7, 4), "y1"), Number(At(s, 12, 4), "x2"),
          Number(At(s, 17, 4), "y2")};
}

std::vector<std::string_view> Split(std::string_view s, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == separator) {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Words of the older "#" form: blanks separate words; a group in parentheses is one word.
std::vector<std::string_view> OldFormWords(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ' || s[i] == ')') {
      ++i;
      continue;
    }
    if (s[i] == '(') {
      const size_t close = s.find(')', i + 1);
      const size_t end = close == std::string_view::npos ? s.size() : close;
      words.push_back(s.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    size_t end = i;
    while (end < s.size() && s[end] != ' ' && s[end] != '(' && s[end] != ')') ++end;
    words.push_back(s.substr(i, end - i));
    i = end;
  }
  return words;
}

// Numbers of one word of the older form, separated by commas or blanks.
std::vector<int32_t> OldFormNumbers(std::string_view word, std::string_view what) {
  std::vector<int32_t> numbers;
  size_t i = 0;
  while (i < word.size()) {
    if (word[i] == ',' || word[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < word.size() && word[end] != ',' && word[end] != ' ') ++end;
    numbers.push_back(Number(word.substr(i, end - i), what));
    i = end;
  }
  return numbers;
}

int16_t ClampShort(int32_t v) {
  return int16_t(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max()));
}

TsImageValue ParseFileForm(std::string_view s) {
  TsImageValue r;
  const std::vector<std::string_view> fields = Split(s.substr(1), '!');
  const std::string upper = UpperCase(fields[0]);
  if (!Contains(upper, ".BMP") && !Contains(upper, ".PNG")) return r;
  if (fields.size() < 4) BadNumber("", "the image count, mask type and image type of \"!\"");
  r.Form = TsImageForm::File;
  r.FileName = std::string(fields[0]);
  r.ImageCount = Short(fields[1], "the image count");
  r.MaskType = Short(fields[2], "the mask type");
  r.ImgType = TzkImgType(std::clamp<int32_t>(Number(fields[3], "the image type"), 0, 4));
  r.StretchMode = 4;
  if (fields.size() > 4) {
    if (fields.size() < 8) BadNumber("", "the four border widths of \"!\"");
    r.HasBorderWidths = true;
    r.WL = Short(fields[4], "the left border width");
    r.WT = Short(fields[5], "the top border width");
    r.WR = Short(fields[6], "the right border width");
    r.WB = Short(fields[7], "the bottom border width");
  }
  return r;
}

TsImageValue ParseOldMasterForm(std::string_view s) {
  TsImageValue r;
  r.Form = TsImageForm::OldMaster;
  r.UpperCaseNames = true;
  const std::vector<std::string_view> words = OldFormWords(s);
  if (words.size() < 3) BadNumber("", "the rectangle and frames of a \"#\" image");
  const std::vector<int32_t> rect = OldFormNumbers(words[1], "the rectangle");
  const std::vector<int32_t> frames = OldFormNumbers(words[2], "the frames");
  if (rect.size() < 4) BadNumber(words[1], "the rectangle (x1, y1, x2, y2)");
  if (frames.size() < 2) BadNumber(words[2], "the frames (n, m)");
  for (int32_t v : rect)
    if (v != ClampShort(v)) BadNumber(std::to_string(v), "a rectangle coordinate");
  r.Rect = {rect[0], rect[1], rect[2], rect[3]};
  r.ImageCount = ClampShort(std::max(frames[0], 1));
  r.MaskType = ClampShort(std::max(frames[1], 0));
  r.BorderWidth = frames.size() > 2 ? ClampShort(std::max(frames[2], 0)) : 0;
  r.StretchMode = frames.size() > 3 ? ClampShort(frames[3]) : 1;
  return r;
}

}  // namespace

TsImageValue ParseImageValue(std::string_view s) {
  TsImageValue r;
  if (s.empty()) return r;
  switch (s[0]) {
    case '^':
      r.Form = TsImageForm::MasterBorder;
      r.Rect = MasterRect(s);
      r.HasBorderWidths = true;
      r.WL = Short(At(s, 22, 4), "the left border width");
      r.WT = Short(At(s, 27, 4), "the top border width");
      r.WR = Short(At(s, 32, 4), "the right border width");
      r.WB = Short(At(s, 37, 4), "the bottom border width");
      r.ImageCount = Short(At(s, 42, 1), "the image count");
      r.MaskType = Short(At(s, 44, 1), "the mask type");
      r.StretchMode = Short(At(s, 46, 1), "the stretch mode");
      r.BorderWidth = Short(At(s, 48, 1), "the border width");
      r.ImgType = itisaBorder;
      return r;
    case '@':
      r.Form = TsImageForm::MasterGlyph;
      r.Rect = MasterRect(s);
      r.ImageCount = Short(At(s, 22, 1), "the image count");
      r.MaskType = Short(At(s, 24, 1), "the mask type");
      r.ImgType = itisaGlyph;
      return r;
    case '~':
      r.Form = TsImageForm::MasterTexture;
      r.Rect = MasterRect(s);
      r.ImageCount = 1;
      r.StretchMode = Short(At(s, 22, 2), "the fill mode");
      r.MaskType = s.size() >= 25 ? Short(At(s, 25, 1), "the mask type") : 0;
      r.ImgType = itisaTexture;
      return r;
    case '!':
      return ParseFileForm(s);
    default:
      break;
  }
  if (Contains(s, "#") && s != "#") return ParseOldMasterForm(s);
  const std::string upper = UpperCase(s);
  if (Contains(upper, ".BMP")) {
    r.Form = TsImageForm::OldFile;
    r.FileName = std::string(s);
    r.ImageCount = 3;
    r.MaskType = 1;
    r.ImgType = itisaBorder;
    r.UpperCaseNames = true;
  } else if (Contains(upper, ".JPG") || Contains(upper, ".JPEG")) {
    r.Form = TsImageForm::Pattern;
    r.FileName = std::string(s);
    r.UpperCaseNames = true;
  }
  return r;
}

void ApplyDefaultBorderWidths(TsMaskData& mask, bool ignoreBorderWidth) {
  if (mask.WL + mask.WT + mask.WR + mask.WB != 0) return;
  if (!ignoreBorderWidth && mask.BorderWidth != 0) {
    mask.WL = mask.WT = mask.WR = mask.WB = mask.BorderWidth;
    return;
  }
  const int across = mask.ImageCount * 3;
  const int down = (mask.MaskType + 1) * 3;
  const int16_t wide = across > 0 ? ClampShort(mask.Rect.Width() / across) : 0;
  const int16_t high = down > 0 ? ClampShort(mask.Rect.Height() / down) : 0;
  mask.WL = mask.WR = wide;
  mask.WT = mask.WB = high;
}
