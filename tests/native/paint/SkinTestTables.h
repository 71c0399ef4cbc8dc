// Hand-built skin tables for painter tests: a master bitmap drawn from a character grid and
// mask and section records added one by one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "paint/PaintTestUtil.h"
#include "skin/data/sSkinTables.h"

namespace painttest {

// Each character of `rows` is one pixel; `palette` gives its colour.
inline void DrawGrid(TzkBitmap& b, int x0, int y0, const std::vector<std::string>& rows,
                     const std::map<char, TColor>& palette) {
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) SetPx(b, x0 + int(x), y0 + int(y), palette.at(rows[y][x]));
}

// The character of every pixel of `rect` in b, by reverse palette lookup ('?' for others).
inline std::vector<std::string> ReadGrid(const TzkBitmap& b, const TRect& rect,
                                         const std::map<char, TColor>& palette) {
  std::vector<std::string> rows;
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    std::string row;
    for (int x = rect.Left; x < rect.Right; ++x) {
      char c = '?';
      for (const auto& [ch, colour] : palette)
        if (Px(b, x, y) == colour) c = ch;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

struct TMaskFields {
  TRect Rect;
  int ImageCount = 1;
  int MaskType = 0;
  int StretchMode = 0;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  TzkImgType ImgType = itisaBorder;
};

inline int AddMask(TsSkinTables& t, const std::string& section, const std::string& key,
                   const TMaskFields& s) {
  TsMaskData m;
  m.SectionName = section;
  m.PropertyName = key;
  m.Rect = s.Rect;
  m.ImageCount = int16_t(s.ImageCount);
  m.MaskType = int16_t(s.MaskType);
  m.StretchMode = int16_t(s.StretchMode);
  m.ImgType = s.ImgType;
  m.WL = int16_t(s.WL), m.WT = int16_t(s.WT), m.WR = int16_t(s.WR), m.WB = int16_t(s.WB);
  m.Manager = &t;
  t.Masks.push_back(std::move(m));
  return int(t.Masks.size()) - 1;
}

inline TsGeneralData& AddSection(TsSkinTables& t, const std::string& name, TColor color) {
  TsGeneralData s;
  s.SectionName = name;
  s.Color = color;
  s.HotColor = color;
  t.Sections.push_back(std::move(s));
  return t.Sections.back();
}

}  // namespace painttest
