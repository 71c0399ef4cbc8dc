// The notations by which an options value names an image. The first character selects the
// form; fixed-position fields are read by character position (1-based) with leading zeros:
//
//   ^x1  ^y1  ^x2  ^y2  ^WL  ^WT  ^WR  ^WB  ^n^m^s^b     border in the master bitmap
//   ^0068^0057^0122^0093^0006^0006^0006^0006^3^1^1^1
//   @x1  @y1  @x2  @y2  @n@m                            glyph in the master bitmap
//   ~x1  ~y1  ~x2  ~y2  ~ss~m                           texture in the master bitmap
//   !FILE!n!m!t[!WL!WT!WR!WB]                           an image file (".BMP" or ".PNG")
//   ... # ... (x1,y1,x2,y2) (n,m[,b[,s]])               older master-bitmap border
//   NAME.BMP                                            older image-file border
//   NAME.JPG, NAME.JPEG                                 large texture (pattern)
//
// Anything else (numbers, "N/A", flags, gradients, empty values) is no image.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/data/sSkinRecords.h"

enum class TsImageForm : uint8_t {
  None,           // not an image value
  MasterBorder,   // "^"
  MasterGlyph,    // "@"
  MasterTexture,  // "~"
  File,           // "!"
  OldMaster,      // a value containing "#"
  OldFile,        // a value containing ".BMP"
  Pattern,        // a value containing ".JPG" or ".JPEG"
};

struct TsImageValue {
  TsImageForm Form = TsImageForm::None;
  std::string FileName;  // File, OldFile, Pattern: the name as written
  TRect Rect;            // master-bitmap forms
  int16_t ImageCount = 0;
  int16_t MaskType = 0;
  int16_t BorderWidth = 0;
  int16_t StretchMode = 0;
  TzkImgType ImgType = itisaBorder;
  bool HasBorderWidths = false;  // "^" always; "!" with fields 5 to 8
  int16_t WL = 0, WT = 0, WR = 0, WB = 0;
  bool UpperCaseNames = false;  // older forms and patterns store upper-cased names
};

// Reads a value. Throws EzkSkinError naming the faulty field when a number of an image form
// is not a number or does not fit its field.
TsImageValue ParseImageValue(std::string_view value);

// Border widths of a record that has none: all BorderWidth when that is set (unless
// `ignoreBorderWidth`), else a third of a frame on each side.
void ApplyDefaultBorderWidths(TsMaskData& mask, bool ignoreBorderWidth);
