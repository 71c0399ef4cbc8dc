// The published collections of an older stored skin: a skin kept inside the program as
// section, image and pattern items with a master bitmap, instead of a packed archive.
// Portable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/data/sSkinRecords.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// One section. FontColor and HotFontColor are five numbers separated by blanks: the colour
// and its left, top, right and bottom contour colours.
struct TsSkinGeneral {
  std::string SectionName;
  std::string ParentClass;
  TColor Color = clWhite;
  bool ReservedBoolean = false;
  bool GiveOwnFont = false;
  int32_t GlowCount = 0;
  int32_t GlowMargin = 0;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  int32_t ImagePercent = 0;
  std::string GradientData = " ";
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int32_t FadingIterations = 5;
  TColor HotColor = clWhite;
  int32_t HotTransparency = 0;
  int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  int32_t HotImagePercent = 0;
  std::string FontColor;
  std::string HotFontColor;
};

// One image: a rectangle of the master bitmap, or a picture of its own.
struct TsSkinImage {
  std::string SectionName;
  std::string PropertyName;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int ImageCount = 0;  // 0: three frames over their masks (MaskType 1)
  int MaskType = 0;
  int BorderWidth = 0;
  int StretchMode = 0;
  TzkImgType ImgType = itisaBorder;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  std::shared_ptr<const TzkBitmap> Image;  // its own picture, or null
};

// One large texture; an item without a picture takes that of another item of the same Name.
struct TsSkinPattern {
  std::string Name;
  std::string SectionName;
  std::string PropertyName;
  std::shared_ptr<const TzkBitmap> Image;
};

struct TsStoredSkinData {
  std::vector<TsSkinGeneral> GeneralData;
  std::vector<TsSkinImage> Images;
  std::vector<TsSkinPattern> Patterns;
  std::shared_ptr<const TzkBitmap> MasterBitmap;
  TColor Shadow1Color = 0;
  int Shadow1Offset = 0;
  int Shadow1Blur = -1;
  int Shadow1Transparency = 0;
  TColor BorderColor = clFuchsia;
  double Version = 0;
  std::string Author;
  std::string Description;
};

// The contour colours of a FontColor text: used only when it holds exactly five numbers, else
// colour 0 without contours.
TsFontColor ParseStoredFontColor(const std::string& text);
