#include "skin/data/sSkinDump.h"

#include <cstdio>
#include <sstream>

namespace {

std::string Hex(uint64_t v, int digits) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%0*llx", digits, static_cast<unsigned long long>(v));
  return buffer;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string RectText(const TRect& r) {
  return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom) + ")";
}

std::string FontText(const TsFontColor& f) {
  return "(" + std::to_string(f.Color) + "," + std::to_string(f.Left) + "," + std::to_string(f.Top) +
         "," + std::to_string(f.Right) + "," + std::to_string(f.Bottom) + ")";
}

std::string GradientText(const TsGradArray& steps) {
  std::string s = "[";
  for (const TsGradStep& g : steps)
    s += "(" + std::to_string(g.Color1) + "," + std::to_string(g.Color2) + "," +
         std::to_string(int(g.Percent)) + "," + std::to_string(g.Mode) + ")";
  return s + "]";
}

std::string Cached(const char* name, const TsCachedSection& c) {
  return std::string(name) + "=" + std::to_string(c.SkinIndex) + "/" + std::to_string(c.BorderIndex) +
         "/" + std::to_string(c.TextureIndex) + "/" + std::to_string(c.HotTextureIndex) + "/" +
         std::to_string(c.GlyphIndex);
}

}  // namespace

std::string BitmapDigest(const TzkBitmap& bitmap) {
  if (bitmap.Empty()) return "none";
  uint64_t hash = 1469598103934665603ull;
  const size_t rowBytes = size_t(bitmap.Width()) * size_t(bitmap.BytesPerPixel());
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (size_t i = 0; i < rowBytes; ++i) hash = (hash ^ row[i]) * 1099511628211ull;
  }
  return std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height()) + "x" +
         std::to_string(bitmap.BytesPerPixel() * 8) + ":" + Hex(hash, 16);
}

std::string DumpSkinTables(const TsSkinTables& t) {
  std::ostringstream out;
  const TsSkinData& d = t.SkinData;
  out << "global version=" << d.Version << " author=" << Quote(d.Author)
      << " description=" << Quote(d.Description) << " shadow=(" << d.Shadow1Color << ","
      << d.Shadow1Offset << "," << d.Shadow1Blur << "," << d.Shadow1Transparency << ")"
      << " borderwidth=" << d.ExBorderWidth << " title=" << d.TitleHeight << "/" << d.MaxTitleHeight
      << " formoffset=" << d.FormOffset << " centeroffset=" << d.CenterOffset
      << " bordermode=" << d.BorderMode << " bordercolor=" << d.BorderColor << " buttons=("
      << d.TitleButtonSpacing << "," << d.TitleButtonVAlign << "," << d.TitleButtonsRight << ","
      << d.TitleButtonsLeft << ") keephue=" << d.KeepTitleHue << " glows=(" << d.CloseGlow << ","
      << d.CloseGlowMargin << "," << d.MaxGlow << "," << d.MaxGlowMargin << "," << d.MinGlow << ","
      << d.MinGlowMargin << ")\n";
  out << "master " << BitmapDigest(t.MasterBitmap) << "\n";
  for (size_t i = 0; i < t.Sections.size(); ++i) {
    const TsGeneralData& s = t.Sections[i];
    out << "section " << i << " " << Quote(s.SectionName) << " parent=" << Quote(s.ParentClass)
        << " color=" << s.Color << " font=" << FontText(s.FontColor) << " hotfont=" << FontText(s.HotFontColor)
        << " ownfont=" << s.GiveOwnFont << " glow=" << s.GlowCount << "/" << s.GlowMargin
        << " reserved=" << s.ReservedBoolean << " transparency=" << s.Transparency
        << " gradient=" << s.GradientPercent << Quote(s.GradientData) << GradientText(s.GradientArray)
        << " image=" << s.ImagePercent << " focus=" << s.ShowFocus << " fading=" << s.FadingEnabled
        << "/" << s.FadingIterations << " hot=" << s.HotColor << "/" << s.HotTransparency << "/"
        << s.HotGradientPercent << Quote(s.HotGradientData) << GradientText(s.HotGradientArray) << "/"
        << s.HotImagePercent << " masks=" << s.BorderIndex << "," << s.ImgTopLeft << ","
        << s.ImgTopRight << "," << s.ImgBottomLeft << "," << s.ImgBottomRight << "\n";
  }
  for (size_t i = 0; i < t.Masks.size(); ++i) {
    const TsMaskData& m = t.Masks[i];
    out << "mask " << i << " " << Quote(m.SectionName) << "/" << Quote(m.PropertyName)
        << " type=" << int(m.ImgType) << " rect=" << RectText(m.Rect) << " frames=" << m.ImageCount
        << " masktype=" << m.MaskType << " borderwidth=" << m.BorderWidth << " stretch=" << m.StretchMode
        << " borders=(" << m.WL << "," << m.WT << "," << m.WR << "," << m.WB << ") image="
        << (m.Image ? BitmapDigest(*m.Image) : std::string("master")) << "\n";
  }
  for (size_t i = 0; i < t.Patterns.size(); ++i) {
    const TsPatternData& p = t.Patterns[i];
    out << "pattern " << i << " " << Quote(p.SectionName) << "/" << Quote(p.PropertyName)
        << " image=" << (p.Image ? BitmapDigest(*p.Image) : std::string("none")) << "\n";
  }
  const TsCachedIndexes& c = t.CachedIndexes;
  out << "cached globalinfo=" << c.GlobalInfo << " exborder=" << c.ExBorder << " checks=("
      << c.CheckBoxChecked << "," << c.CheckBoxUnchecked << "," << c.CheckBoxGrayed << ","
      << c.RadioChecked << "," << c.RadioUnchecked << "," << c.RadioGrayed << "," << c.SmallChecked
      << "," << c.SmallUnchecked << "," << c.SmallGrayed << ") comboglyph=" << c.ComboGlyph << "\n";
  out << "cached " << Cached("combo", c.ComboButton) << " " << Cached("tabtop", c.TabTop) << " "
      << Cached("tabbottom", c.TabBottom) << " " << Cached("tableft", c.TabLeft) << " "
      << Cached("tabright", c.TabRight) << "\n";
  out << "cached " << Cached("scrolltop", c.ScrollTop) << " " << Cached("scrollbottom", c.ScrollBottom)
      << " " << Cached("scrollleft", c.ScrollLeft) << " " << Cached("scrollright", c.ScrollRight) << " "
      << Cached("slidervert", c.SliderVert) << " " << Cached("sliderhorz", c.SliderHorz) << "\n";
  out << "cached " << Cached("bar1h", c.Bar1H) << " " << Cached("bar1v", c.Bar1V) << " "
      << Cached("bar2h", c.Bar2H) << " " << Cached("bar2v", c.Bar2V) << "\n";
  return out.str();
}
