// The records a loaded skin is made of: sections (TsGeneralData), images (TsMaskData), large
// textures (TsPatternData), parsed gradients (TsGradArray), the global skin data (TsSkinData)
// and the cached indexes every skinned control starts from. Portable: no platform headers.
//
// Records refer to each other by integer index into the tables of TsSkinTables; -1 is none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

class TsSkinTables;

// Kind of an image record.
enum TzkImgType : uint8_t {
  itisaBorder = 0,    // a frame drawn around the element, stretched or tiled between its borders
  itisaTexture = 1,   // a tile
  itisaGlyph = 2,     // a small picture drawn as is
  itisaGlow = 3,      // a glow drawn around the element
  itisaPngGlyph = 4,  // a picture with its own alpha channel
};

// Text colour and the colours of a one-pixel contour on each side (-1: no contour there).
struct TsFontColor {
  int32_t Color = 0;
  int32_t Left = -1;
  int32_t Top = -1;
  int32_t Right = -1;
  int32_t Bottom = -1;
};

// One band of a gradient: from Color1 to Color2 over Percent of the extent; Mode (of the
// first step) is the direction of the whole gradient.
struct TsGradStep {
  TColor Color1 = 0;
  TColor Color2 = 0;
  uint8_t Percent = 0;  // 0..100
  int32_t Mode = 0;
};
using TsGradArray = std::vector<TsGradStep>;

// One skin section, fields in the order the options file defines them.
struct TsGeneralData {
  std::string ParentClass;  // "PARENTCLASS" as written, empty when absent
  std::string SectionName;  // as written in the file
  TColor Color = clWhite;   // converted to RGB
  TsFontColor FontColor;     // normal state
  TsFontColor HotFontColor;  // hot (mouse over, pressed or focused) state
  bool GiveOwnFont = false;
  int32_t GlowCount = 0;   // number of glow images, 0 = none
  int32_t GlowMargin = 0;  // pixels the glow exceeds the control on each side
  bool ReservedBoolean = false;
  int32_t Transparency = 0;     // percent of the parent's background showing through
  int32_t GradientPercent = 0;  // percent share of the gradient
  std::string GradientData = " ";  // raw description, " " when none
  TsGradArray GradientArray;
  int32_t ImagePercent = 0;  // percent share of the texture ("PATTERN")
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int32_t FadingIterations = 5;
  TColor HotColor = clWhite;  // as read, not converted
  int32_t HotTransparency = 0;
  int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradientArray;
  int32_t HotImagePercent = 0;
  // Mask indexes of "BORDERSMASK", "IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT";
  // filled once all sections are loaded, -1 for "GLOBALINFO" and when absent.
  int BorderIndex = -1;
  int ImgTopLeft = -1;
  int ImgTopRight = -1;
  int ImgBottomLeft = -1;
  int ImgBottomRight = -1;
};

// One image record: a rectangle of the master bitmap, or an image file of its own.
//
//   Rect (ImageCount 3, MaskType 1):
//   +--------+--------+--------+   frame width  = Rect width  / ImageCount
//   | frame0 | frame1 | frame2 |   frame height = Rect height / (MaskType + 1)
//   +--------+--------+--------+
//   | mask0  | mask1  | mask2  |   MaskType 1: per-channel alpha mask below each frame
//   +--------+--------+--------+
struct TsMaskData {
  std::unique_ptr<TzkBitmap> Image;  // own bitmap, or null for a master-bitmap rectangle
  std::string SectionName;           // section the key was found in
  std::string PropertyName;          // the key
  TRect Rect;                        // in the master bitmap, or (0, 0, width, height) of Image
  int16_t ImageCount = 0;            // state frames side by side
  int16_t MaskType = 0;              // 0 picture only; 1 picture over its mask
  int16_t BorderWidth = 0;           // one width for all borders when WL..WB are all 0
  int16_t StretchMode = 0;           // tile/stretch bits (borders) or fill mode (textures)
  TzkImgType ImgType = itisaBorder;
  const TsSkinTables* Manager = nullptr;  // the tables that loaded the record
  int16_t WL = 0;  // border widths in pixels of one frame
  int16_t WT = 0;
  int16_t WR = 0;
  int16_t WB = 0;
};

// One large texture picture (a JPEG of 90,000 pixels or more).
struct TsPatternData {
  std::unique_ptr<TzkBitmap> Image;  // the decoded picture, 24 bits per pixel
  std::string SectionName;           // upper-cased
  std::string PropertyName;          // upper-cased
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;

// Global data of the active skin, from "GLOBALINFO".
struct TsSkinData {
  bool Active = false;      // a skin is loaded and applied
  std::string SkinPath;     // folder of the skin files with a trailing separator; empty if stored
  std::string Author;
  std::string Description;
  double Version = 0;
  TColor Shadow1Color = 0;
  int16_t Shadow1Offset = 0;
  int16_t Shadow1Blur = -1;
  int16_t Shadow1Transparency = 0;
  int16_t ExBorderWidth = 4;   // "BORDERWIDTH": width of the extended window border
  int16_t TitleHeight = 30;
  int16_t MaxTitleHeight = 0;  // 0: TitleHeight
  int16_t FormOffset = 8;
  int16_t CenterOffset = 0;
  int16_t BorderMode = 0;
  TColor BorderColor = 0;
  int16_t TitleButtonSpacing = 0;  // "BISPACE"
  int16_t TitleButtonVAlign = 0;   // "BIVALIGN"
  int16_t TitleButtonsRight = 0;   // "BIRIGHT"
  int16_t TitleButtonsLeft = 0;    // "BILEFT"
  int16_t KeepTitleHue = 0;        // "BIKEEPHUE"
  int16_t CloseGlow = 0;
  int16_t CloseGlowMargin = 0;
  int16_t MaxGlow = 0;
  int16_t MaxGlowMargin = 0;
  int16_t MinGlow = 0;
  int16_t MinGlowMargin = 0;
};

// Indexes of one section and of its usual images (-1 each when absent).
struct TsCachedSection {
  int SkinIndex = -1;        // the section
  int BorderIndex = -1;      // its "BORDERSMASK"
  int TextureIndex = -1;     // its "PATTERN" texture
  int HotTextureIndex = -1;  // its "HOTPATTERN" texture
  int GlyphIndex = -1;       // its "GLYPHMASK"
};

// Looked up once after every load, so painting never searches by name for these.
struct TsCachedIndexes {
  int GlobalInfo = -1;  // section "GLOBALINFO"
  int ExBorder = -1;    // masks of "GLOBALINFO" ...
  int CheckBoxChecked = -1;
  int CheckBoxUnchecked = -1;
  int CheckBoxGrayed = -1;
  int RadioChecked = -1;
  int RadioUnchecked = -1;
  int RadioGrayed = -1;
  int SmallChecked = -1;
  int SmallUnchecked = -1;
  int SmallGrayed = -1;
  TsCachedSection ComboButton;  // "COMBOBTN" (its BorderIndex by exact lookup; no glyph)
  int ComboGlyph = -1;          // "COMBOBOX"/"GLYPHMASK", exact lookup
  TsCachedSection TabTop;       // section and "BORDERSMASK" only
  TsCachedSection TabBottom;
  TsCachedSection TabLeft;
  TsCachedSection TabRight;
  TsCachedSection ScrollTop;  // section, border, textures and glyph
  TsCachedSection ScrollBottom;
  TsCachedSection ScrollLeft;
  TsCachedSection ScrollRight;
  TsCachedSection SliderVert;
  TsCachedSection SliderHorz;
  TsCachedSection Bar1H;  // section, border and textures
  TsCachedSection Bar1V;
  TsCachedSection Bar2H;
  TsCachedSection Bar2V;
};
