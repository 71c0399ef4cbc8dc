// The tables of a loaded skin and the lookups every skinned element uses: the section,
// mask and pattern tables, the master bitmap, the global skin data and the cached indexes.
// Portable; the Win32 skin manager owns one TsSkinTables and exposes it to the painters.
//
// Lookups compare names exactly (case-sensitive) and search linearly from index 0; the first
// match wins. Every lookup answers -1 when nothing matches.
#pragma once

#include <string>
#include <string_view>

#include "skin/data/sSkinRecords.h"

// Frame geometry of an image record (see the picture above TsMaskData).
int FrameWidth(const TsMaskData& mask);   // Rect width / ImageCount; 0 when ImageCount <= 0
int FrameHeight(const TsMaskData& mask);  // Rect height / (MaskType + 1); 0 when that is <= 0
// The rectangle of state frame `state` of the picture (not clamped to ImageCount).
TRect FrameRect(const TsMaskData& mask, int state);

// Border widths: the record's own width when above 0, else BorderWidth when above 0, else the
// whole frame width (left, right) or height (top, bottom). LeftBorder first sets an
// ImageCount of 0 to 1, as the painters expect a usable frame afterwards.
int LeftBorder(TsMaskData& mask);
int TopBorder(const TsMaskData& mask);
int RightBorder(const TsMaskData& mask);
int BottomBorder(const TsMaskData& mask);

// Steps of a gradient description: numbers separated by ";" (empty fields skipped), five per
// step: Color1 (at least 0), Color2 (at least 0), Percent (clamped to 0..100), Mode, and one
// ignored. An incomplete last group is dropped; " " (no gradient) and "" give no steps; a
// field that is not a number counts as 0.
TsGradArray ParseGradientData(std::string_view text);

class TsSkinTables {
 public:
  TsSkinTables() = default;
  // Records point back at their tables (TsMaskData::Manager), so tables are never copied or
  // moved; Swap exchanges two sets and re-points the records.
  TsSkinTables(const TsSkinTables&) = delete;
  TsSkinTables& operator=(const TsSkinTables&) = delete;
  void Swap(TsSkinTables& other);

  TsGeneralDataArray Sections;  // one per section, in file order
  TsMaskArray Masks;            // one per image key (and small JPEG textures)
  TsPatternArray Patterns;      // large JPEG textures
  TzkBitmap MasterBitmap;       // 24 bits per pixel, 0xFF00FF transparent; empty when none
  TsSkinData SkinData;          // global data from "GLOBALINFO"
  TsCachedIndexes CachedIndexes;

  // Empties every table, the master bitmap and the cached indexes; resets the global data.
  void Clear();

  // Lookups.
  int IndexOfSection(const std::string& name) const;
  // Key of a section, inheriting along the PARENTCLASS chain of the section table.
  int IndexOfMask(int sectionIndex, const std::string& sectionName, const std::string& key) const;
  int IndexOfMaskExact(const std::string& sectionName, const std::string& key) const;
  // As IndexOfMask, but only records of type itisaTexture qualify.
  int IndexOfTexture(int sectionIndex, const std::string& sectionName, const std::string& key) const;
  // As IndexOfMask, over the pattern table.
  int IndexOfPattern(int sectionIndex, const std::string& sectionName, const std::string& key) const;
  bool IsValidSection(int index) const { return index >= 0 && index < int(Sections.size()); }
  bool IsValidMask(int index) const { return index >= 0 && index < int(Masks.size()); }
  bool IsValidPattern(int index) const { return index >= 0 && index < int(Patterns.size()); }

  // Border widths and frame sizes of a mask by index (0 for an invalid index).
  int FrameWidth(int maskIndex) const;
  int FrameHeight(int maskIndex) const;
  int LeftBorder(int maskIndex);
  int TopBorder(int maskIndex) const;
  int RightBorder(int maskIndex) const;
  int BottomBorder(int maskIndex) const;
  // (width / 3, height / 2) of an own bitmap whatever its frames; else the frame size.
  TSize ImageFrameSize(int maskIndex) const;

  // Global colours, converted to RGB, with the platform's colours as fall-backs.
  TColor GlobalColor() const;
  TColor GlobalFontColor() const;
  TColor GlobalHotColor() const;
  TColor EditHotFontColor() const;
  TColor MenuHighlightColor() const;
  TColor MenuHighlightFontColor() const;

  // Fills BorderIndex and the four corner-image indexes of every section but "GLOBALINFO".
  void CacheSectionMasks();
  // Fills CachedIndexes (the shadow images of extended borders are the Win32 side's).
  void InitCachedIndexes();

 private:
  template <typename Match>
  int FindInherited(int sectionIndex, const std::string& sectionName, const Match& match) const;
  void PointRecordsHere();
};
