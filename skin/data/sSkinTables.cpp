#include "skin/data/sSkinTables.h"

#include "skin/data/zkSkinText.h"

#include <algorithm>
#include <utility>
#include <vector>

// [SECTION] Frame geometry

int FrameWidth(const TsMaskData& mask) {
  return mask.ImageCount > 0 ? mask.Rect.Width() / mask.ImageCount : 0;
}

int FrameHeight(const TsMaskData& mask) {
  const int parts = mask.MaskType + 1;
  return parts > 0 ? mask.Rect.Height() / parts : 0;
}

TRect FrameRect(const TsMaskData& mask, int state) {
  const int w = FrameWidth(mask);
  return Bounds(mask.Rect.Left + state * w, mask.Rect.Top, w, FrameHeight(mask));
}

int LeftBorder(TsMaskData& mask) {
  if (mask.WL > 0) return mask.WL;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  if (mask.ImageCount == 0) mask.ImageCount = 1;
  return FrameWidth(mask);
}

int TopBorder(const TsMaskData& mask) {
  if (mask.WT > 0) return mask.WT;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return FrameHeight(mask);
}

int RightBorder(const TsMaskData& mask) {
  if (mask.WR > 0) return mask.WR;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return FrameWidth(mask);
}

int BottomBorder(const TsMaskData& mask) {
  if (mask.WB > 0) return mask.WB;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return FrameHeight(mask);
}

// [SECTION] Gradient descriptions

TsGradArray ParseGradientData(std::string_view text) {
  TsGradArray steps;
  if (text == " ") return steps;
  std::vector<int32_t> fields;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ';') continue;
    const std::string_view field = TrimText(text.substr(start, i - start));
    if (!field.empty()) fields.push_back(ParseInteger(field).value_or(0));
    start = i + 1;
  }
  steps.reserve(fields.size() / 5);
  for (size_t i = 0; i + 5 <= fields.size(); i += 5) {
    TsGradStep s;
    s.Color1 = std::max(0, fields[i]);
    s.Color2 = std::max(0, fields[i + 1]);
    s.Percent = uint8_t(std::clamp(fields[i + 2], 0, 100));
    s.Mode = fields[i + 3];
    steps.push_back(s);
  }
  return steps;
}

// [SECTION] Table ownership

void TsSkinTables::Swap(TsSkinTables& other) {
  std::swap(Sections, other.Sections);
  std::swap(Masks, other.Masks);
  std::swap(Patterns, other.Patterns);
  std::swap(MasterBitmap, other.MasterBitmap);
  std::swap(SkinData, other.SkinData);
  std::swap(CachedIndexes, other.CachedIndexes);
  PointRecordsHere();
  other.PointRecordsHere();
}

void TsSkinTables::PointRecordsHere() {
  for (TsMaskData& mask : Masks) mask.Manager = this;
}

void TsSkinTables::Clear() {
  Sections.clear();
  Masks.clear();
  Patterns.clear();
  MasterBitmap = TzkBitmap();
  SkinData = TsSkinData();
  CachedIndexes = TsCachedIndexes();
}

// [SECTION] Lookups

int TsSkinTables::IndexOfSection(const std::string& name) const {
  for (size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].SectionName == name) return int(i);
  return -1;
}

// Walks the PARENTCLASS chain from a section: the first record of the chain's sections that
// `match(sectionName)` returns (not -1) wins. A chain ends at an empty parent, at a parent
// naming the section itself, at a parent that is not in the table and at a section already
// visited (two sections naming each other).
template <typename Match>
int TsSkinTables::FindInherited(int sectionIndex, const std::string& sectionName,
                                const Match& match) const {
  std::vector<bool> visited(Sections.size(), false);
  const std::string* name = &sectionName;
  int index = sectionIndex;
  while (index >= 0 && !name->empty()) {
    const int found = match(*name);
    if (found >= 0) return found;
    if (index >= int(Sections.size()) || visited[size_t(index)]) return -1;
    visited[size_t(index)] = true;
    const std::string& parent = Sections[size_t(index)].ParentClass;
    if (parent.empty() || parent == *name) return -1;
    index = IndexOfSection(parent);
    name = &parent;
  }
  return -1;
}

int TsSkinTables::IndexOfMask(int sectionIndex, const std::string& sectionName,
                              const std::string& key) const {
  return FindInherited(sectionIndex, sectionName,
                       [&](const std::string& name) { return IndexOfMaskExact(name, key); });
}

int TsSkinTables::IndexOfMaskExact(const std::string& sectionName, const std::string& key) const {
  if (sectionName.empty()) return -1;
  for (size_t i = 0; i < Masks.size(); ++i)
    if (Masks[i].SectionName == sectionName && Masks[i].PropertyName == key) return int(i);
  return -1;
}

int TsSkinTables::IndexOfTexture(int sectionIndex, const std::string& sectionName,
                                 const std::string& key) const {
  return FindInherited(sectionIndex, sectionName, [&](const std::string& name) {
    for (size_t i = 0; i < Masks.size(); ++i) {
      const TsMaskData& m = Masks[i];
      if (m.ImgType == itisaTexture && m.SectionName == name && m.PropertyName == key)
        return int(i);
    }
    return -1;
  });
}

int TsSkinTables::IndexOfPattern(int sectionIndex, const std::string& sectionName,
                                 const std::string& key) const {
  return FindInherited(sectionIndex, sectionName, [&](const std::string& name) {
    for (size_t i = 0; i < Patterns.size(); ++i)
      if (Patterns[i].SectionName == name && Patterns[i].PropertyName == key) return int(i);
    return -1;
  });
}

// [SECTION] Frame geometry by index

int TsSkinTables::FrameWidth(int maskIndex) const {
  return IsValidMask(maskIndex) ? ::FrameWidth(Masks[size_t(maskIndex)]) : 0;
}

int TsSkinTables::FrameHeight(int maskIndex) const {
  return IsValidMask(maskIndex) ? ::FrameHeight(Masks[size_t(maskIndex)]) : 0;
}

int TsSkinTables::LeftBorder(int maskIndex) {
  return IsValidMask(maskIndex) ? ::LeftBorder(Masks[size_t(maskIndex)]) : 0;
}

int TsSkinTables::TopBorder(int maskIndex) const {
  return IsValidMask(maskIndex) ? ::TopBorder(Masks[size_t(maskIndex)]) : 0;
}

int TsSkinTables::RightBorder(int maskIndex) const {
  return IsValidMask(maskIndex) ? ::RightBorder(Masks[size_t(maskIndex)]) : 0;
}

int TsSkinTables::BottomBorder(int maskIndex) const {
  return IsValidMask(maskIndex) ? ::BottomBorder(Masks[size_t(maskIndex)]) : 0;
}

TSize TsSkinTables::ImageFrameSize(int maskIndex) const {
  if (!IsValidMask(maskIndex)) return {};
  const TsMaskData& mask = Masks[size_t(maskIndex)];
  if (mask.Image) return {mask.Image->Width() / 3, mask.Image->Height() / 2};
  return {::FrameWidth(mask), ::FrameHeight(mask)};
}

// [SECTION] Global colours

namespace {

bool IsPlainHighlight(TColor c) { return c != -1 && c != clFuchsia && c != clWhite; }

}  // namespace

TColor TsSkinTables::GlobalColor() const {
  const int i = IndexOfSection("GLOBALINFO");
  return i >= 0 ? Sections[size_t(i)].Color : ColorToRGB(clBtnFace);
}

TColor TsSkinTables::GlobalFontColor() const {
  const int i = IndexOfSection("GLOBALINFO");
  return i >= 0 ? ColorToRGB(Sections[size_t(i)].FontColor.Color) : clFuchsia;
}

TColor TsSkinTables::GlobalHotColor() const {
  const int i = IndexOfSection("GLOBALINFO");
  return i >= 0 ? ColorToRGB(Sections[size_t(i)].HotColor) : ColorToRGB(clWindow);
}

TColor TsSkinTables::EditHotFontColor() const {
  const int i = IndexOfSection("EDIT");
  return i >= 0 ? ColorToRGB(Sections[size_t(i)].HotFontColor.Color) : clFuchsia;
}

TColor TsSkinTables::MenuHighlightColor() const {
  const int i = IndexOfSection("MENUITEM");
  if (i >= 0 && IsPlainHighlight(Sections[size_t(i)].HotColor))
    return ColorToRGB(Sections[size_t(i)].HotColor);
  return ColorToRGB(clHighlight);
}

TColor TsSkinTables::MenuHighlightFontColor() const {
  const int i = IndexOfSection("MENUITEM");
  if (i >= 0) {
    const TsGeneralData& s = Sections[size_t(i)];
    const TColor font = s.HotFontColor.Color;
    if (IsPlainHighlight(font) && font != 0 && IsPlainHighlight(s.HotColor)) return ColorToRGB(font);
  }
  return ColorToRGB(clHighlightText);
}

// [SECTION] Cached indexes

void TsSkinTables::CacheSectionMasks() {
  for (size_t i = 0; i < Sections.size(); ++i) {
    TsGeneralData& s = Sections[i];
    if (s.SectionName == "GLOBALINFO") continue;
    const int index = int(i);
    s.BorderIndex = IndexOfMask(index, s.SectionName, "BORDERSMASK");
    s.ImgTopLeft = IndexOfMask(index, s.SectionName, "IMGTOPLEFT");
    s.ImgTopRight = IndexOfMask(index, s.SectionName, "IMGTOPRIGHT");
    s.ImgBottomLeft = IndexOfMask(index, s.SectionName, "IMGBTMLEFT");
    s.ImgBottomRight = IndexOfMask(index, s.SectionName, "IMGBTMRIGHT");
  }
}

void TsSkinTables::InitCachedIndexes() {
  TsCachedIndexes& c = CachedIndexes;
  c = TsCachedIndexes();
  const std::string global = "GLOBALINFO";
  c.GlobalInfo = IndexOfSection(global);
  auto globalMask = [&](const char* key) { return IndexOfMask(c.GlobalInfo, global, key); };
  c.ExBorder = globalMask("EXBORDER");
  c.CheckBoxChecked = globalMask("BOXCHECKED");
  c.CheckBoxUnchecked = globalMask("BOXUNCHECKED");
  c.CheckBoxGrayed = globalMask("BOXGRAYED");
  c.RadioChecked = globalMask("RADIOCHECKED");
  c.RadioUnchecked = globalMask("RADIOUNCHECKED");
  c.RadioGrayed = globalMask("RADIOGRAYED");
  c.SmallChecked = globalMask("SMALLCHECKED");
  c.SmallUnchecked = globalMask("SMALLUNCHECKED");
  c.SmallGrayed = globalMask("SMALLGRAYED");

  const std::string combo = "COMBOBTN";
  c.ComboButton.SkinIndex = IndexOfSection(combo);
  c.ComboButton.BorderIndex = IndexOfMaskExact(combo, "BORDERSMASK");
  c.ComboButton.TextureIndex = IndexOfTexture(c.ComboButton.SkinIndex, combo, "PATTERN");
  c.ComboButton.HotTextureIndex = IndexOfTexture(c.ComboButton.SkinIndex, combo, "HOTPATTERN");
  c.ComboGlyph = IndexOfMaskExact("COMBOBOX", "GLYPHMASK");

  auto tab = [&](TsCachedSection& e, const std::string& name) {
    e.SkinIndex = IndexOfSection(name);
    e.BorderIndex = IndexOfMask(e.SkinIndex, name, "BORDERSMASK");
  };
  tab(c.TabTop, "TABTOP");
  tab(c.TabBottom, "TABBOTTOM");
  tab(c.TabLeft, "TABLEFT");
  tab(c.TabRight, "TABRIGHT");

  auto bar = [&](TsCachedSection& e, const std::string& name, bool glyph) {
    tab(e, name);
    e.TextureIndex = IndexOfTexture(e.SkinIndex, name, "PATTERN");
    e.HotTextureIndex = IndexOfTexture(e.SkinIndex, name, "HOTPATTERN");
    if (glyph && e.SkinIndex >= 0) e.GlyphIndex = IndexOfMask(e.SkinIndex, name, "GLYPHMASK");
  };
  bar(c.ScrollTop, "SCROLLBTNTOP", true);
  bar(c.ScrollBottom, "SCROLLBTNBOTTOM", true);
  bar(c.ScrollLeft, "SCROLLBTNLEFT", true);
  bar(c.ScrollRight, "SCROLLBTNRIGHT", true);
  bar(c.SliderVert, "SCROLLSLIDERV", true);
  bar(c.SliderHorz, "SCROLLSLIDERH", true);
  bar(c.Bar1H, "SCROLLBAR1H", false);
  bar(c.Bar1V, "SCROLLBAR1V", false);
  bar(c.Bar2H, "SCROLLBAR2H", false);
  bar(c.Bar2V, "SCROLLBAR2V", false);
}
