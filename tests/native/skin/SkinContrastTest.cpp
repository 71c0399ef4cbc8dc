// Every text colour of the internal skins stands out from what it is drawn on: a contrast
// ratio of at least 4.5 : 1 by relative luminance, the usual bar for body text.
//
// What a section's text is drawn on, per state (normal: Color, Transparency, GradientPercent,
// ImagePercent, FontColor; hot and pressed: their Hot... counterparts), as the section painter
// composes it:
//   - its own content. With a gradient share, every colour along every gradient step (ends and
//     points between); with a texture share ("PATTERN" / "HOTPATTERN"), every colour of the
//     texture; where the two shares leave room, each of those tinted by the section colour as
//     much as the room. Without shares, the section colour alone.
//   - a see-through section (transparency 100) shows what lies behind it instead: the surfaces
//     a control stands on, each in its own normal content. Those are the client areas of
//     windows, dialogs, panels, pages, tool bars and bars (FORM, DIALOG, PANEL, PAGECONTROL,
//     TOOLBAR, BAR); a menu item's is the menu (MAINMENU).
//   - a partly see-through section: its own content mixed over each of those surfaces by its
//     transparency.
// A text contour (TCLEFT ... TCBOTTOM, HOTTC...) is drawn in the pixels right beside the
// glyphs, so the text colour must stand out from each contour colour as from the background.
// GLOBALINFO's TCBOTTOM and TCTOP are no contours: web labels take them as their link colour
// and their link colour under the pointer (blue and red when -1). Web labels are see-through,
// so those two must stand out from the surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlend.h"

namespace {

constexpr double kMinimumContrast = 4.5;

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(TColor c) {
  const uint32_t v = uint32_t(ColorToRGB(c));
  return 0.2126 * Linear(v & 0xFF) + 0.7152 * Linear((v >> 8) & 0xFF) + 0.0722 * Linear((v >> 16) & 0xFF);
}

double Contrast(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class SkinContrast {
 public:
  explicit SkinContrast(const TsSkinTables& t) : t_(t) {}

  // The colours of what see-through controls lie on (see the rule above).
  std::vector<TColor> Surfaces(const std::string& section) const {
    const std::vector<std::string> names =
        section == "MENUITEM" ? std::vector<std::string>{"MAINMENU"}
                              : std::vector<std::string>{"FORM", "DIALOG", "PANEL", "PAGECONTROL", "TOOLBAR", "BAR"};
    std::vector<TColor> colors;
    for (const std::string& name : names) {
      const int i = t_.IndexOfSection(name);
      if (!t_.IsValidSection(i)) continue;
      for (TColor c : Content(t_.Sections[size_t(i)], false)) colors.push_back(c);
    }
    return colors;
  }

  // The colours the section's text lies on in one state (0 normal, 1 hot).
  std::vector<TColor> Backgrounds(const TsGeneralData& s, int state) const {
    const bool hot = state != 0;
    const int transparency = std::clamp(hot ? s.HotTransparency : s.Transparency, 0, 100);
    const std::vector<TColor> own = Content(s, hot);
    if (transparency == 0) return own;
    std::vector<TColor> mixed;
    for (TColor surface : Surfaces(s.SectionName))
      for (TColor c : own)
        mixed.push_back(transparency >= 100 ? surface
                                            : MixByTransparency(surface, c, PercentToWeight(transparency)));
    return mixed;
  }

 private:
  std::vector<TColor> Content(const TsGeneralData& s, bool hot) const {
    const TColor color = ColorToRGB(hot ? s.HotColor : s.Color);
    const int gradient = std::clamp(hot ? s.HotGradientPercent : s.GradientPercent, 0, 100);
    const int image = std::clamp(hot ? s.HotImagePercent : s.ImagePercent, 0, 100);
    std::vector<TColor> drawn;
    if (gradient > 0) {
      const TsGradArray& steps = hot ? s.HotGradientArray : s.GradientArray;
      for (const TsGradStep& step : steps)
        for (int i = 0; i <= 8; ++i) drawn.push_back(LerpColor(step.Color2, step.Color1, i / 8.0));
      if (steps.empty()) drawn.push_back(color);
    }
    if (image > 0) TextureColors(s, hot, drawn);
    const int shares = gradient + image;
    if (drawn.empty() || shares <= 0) return {color};
    if (shares <= 99)
      for (TColor& c : drawn) c = LerpColor(c, color, shares / 100.0);
    return drawn;
  }

  void TextureColors(const TsGeneralData& s, bool hot, std::vector<TColor>& out) const {
    const int section = t_.IndexOfSection(s.SectionName);
    const int index = t_.IndexOfTexture(section, s.SectionName, hot ? "HOTPATTERN" : "PATTERN");
    if (!t_.IsValidMask(index)) return;
    const TsMaskData& m = t_.Masks[size_t(index)];
    const TzkBitmap* image = MaskSourceImage(m);
    ASSERT_NE(image, nullptr) << s.SectionName;
    std::set<uint32_t> seen;
    const int bpp = image->BytesPerPixel();
    for (int y = m.Rect.Top; y < m.Rect.Top + FrameHeight(m); ++y)
      for (int x = m.Rect.Left; x < m.Rect.Left + FrameWidth(m); ++x) {
        const uint8_t* p = image->ScanLine(y) + x * bpp;
        seen.insert(uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16);
      }
    seen.erase(0xFF00FF);
    for (uint32_t c : seen) out.push_back(TColor(c));
  }

  const TsSkinTables& t_;
};

// "#RRGGBB", as colours are usually written.
std::string Hex(TColor c) {
  const uint32_t v = uint32_t(ColorToRGB(c));
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return text;
}

// "WHAT: text #RRGGBB on #RRGGBB reaches only R" when `text` stands out from one of `under`
// by less than the bar (naming the worst), else empty.
std::string Fault(const std::string& what, TColor text, const std::vector<TColor>& under) {
  double worst = 21;
  TColor worstColor = 0;
  for (TColor c : under) {
    const double ratio = Contrast(text, c);
    if (ratio < worst) worst = ratio, worstColor = c;
  }
  if (worst >= kMinimumContrast) return {};
  return what + ": text " + Hex(text) + " on " + Hex(worstColor) + " reaches only " + std::to_string(worst);
}

// The faults of one skin, one line for each text colour that falls short.
std::vector<std::string> ContrastFaults(const TsSkinTables& t) {
  const SkinContrast contrast(t);
  std::vector<std::string> faults;
  const auto check = [&](const std::string& what, TColor text, const std::vector<TColor>& under) {
    const std::string fault = Fault(what, text, under);
    if (!fault.empty()) faults.push_back(fault);
  };
  for (const TsGeneralData& s : t.Sections) {
    const bool global = s.SectionName == "GLOBALINFO";
    for (int state = 0; state < 2; ++state) {
      const TsFontColor& font = state == 0 ? s.FontColor : s.HotFontColor;
      std::vector<TColor> under = contrast.Backgrounds(s, state);
      std::vector<int32_t> contours = {font.Left, font.Right};
      if (!global || state != 0) contours.insert(contours.end(), {font.Top, font.Bottom});
      for (int32_t contour : contours)
        if (contour != -1) under.push_back(TColor(contour));
      check(s.SectionName + (state == 0 ? " normal" : " hot"), TColor(font.Color), under);
    }
    if (global) {
      const TsFontColor& links = s.FontColor;
      check("GLOBALINFO link", links.Bottom == -1 ? TColor(0xFF0000) : TColor(links.Bottom), contrast.Surfaces(""));
      check("GLOBALINFO link under the pointer", links.Top == -1 ? TColor(0x0000FF) : TColor(links.Top),
            contrast.Surfaces(""));
    }
  }
  return faults;
}

std::unique_ptr<TsSkinTables> LoadBuilt(const std::string& file) {
  const std::string path = std::string(VORNIK_BINARY_DIR) + "/quarn/" + file;
  if (!std::filesystem::exists(path)) return nullptr;
  const std::vector<uint8_t> archive = ReadWholeFile(path, kMaxArchiveBytes);
  auto tables = std::make_unique<TsSkinTables>();
  LoadSkinFromArchive(archive.data(), archive.size(), *tables);
  return tables;
}

TEST(SkinContrast, FollowsTheLuminanceFormula) {
  EXPECT_NEAR(Contrast(TColor(0xFFFFFF), TColor(0)), 21.0, 1e-9);
  EXPECT_NEAR(Contrast(TColor(0x777777), TColor(0xFFFFFF)), 4.48, 0.01);  // just below the bar
  // Red, green and blue count differently: blue text on black is hard to read, green is not.
  EXPECT_LT(Contrast(TColor(0xFF0000), TColor(0)), 3.0);
  EXPECT_GT(Contrast(TColor(0x00FF00), TColor(0)), 15.0);
}

// The rule itself on a small skin: the default link colour and a see-through label on a dark
// window, a gradient bar with one light end, a contour as light as the text, and a textured
// strip.
TEST(SkinContrast, RuleTakesSurfacesGradientsContoursAndTextures) {
  TsSkinTables t;
  auto add = [&](const char* name, TColor color, TColor font) -> TsGeneralData& {
    t.Sections.emplace_back();
    TsGeneralData& s = t.Sections.back();
    s.SectionName = name;
    s.Color = s.HotColor = color;
    s.FontColor.Color = s.HotFontColor.Color = font;
    return s;
  };
  // Links are blue by default, too dark for this window; under the pointer they are light.
  add("GLOBALINFO", 0xFFFFFF, 0x000000).FontColor.Top = 0xC0FFFF;
  add("FORM", 0x202020, 0xFFFFFF);
  add("LABEL", 0xFFFFFF, 0x000000).Transparency = 100;  // black text over the dark window
  TsGeneralData& gauge = add("GAUGE", 0x202020, 0xFFFFFF);
  gauge.HotGradientPercent = 100;  // white text, and the gradient's far end is near white
  gauge.HotGradientArray = {TsGradStep{0x202020, 0xF0F0F0, 100, 0}};
  add("TITLE", 0x303030, 0xE0E0E0).FontColor.Bottom = 0xD0D0D0;
  // A strip whose light texture shows at 90 %: its white text fails only through the texture.
  t.MasterBitmap = TzkBitmap(4, 1);
  t.MasterBitmap.Fill(0xF8F8F8);
  t.Masks.emplace_back();
  TsMaskData& tile = t.Masks.back();
  tile.SectionName = "STRIP", tile.PropertyName = "PATTERN";
  tile.Rect = TRect(0, 0, 4, 1), tile.ImageCount = 1, tile.ImgType = itisaTexture, tile.Manager = &t;
  add("STRIP", 0x101010, 0xFFFFFF).ImagePercent = 90;

  const std::vector<std::string> faults = ContrastFaults(t);
  ASSERT_EQ(faults.size(), 5u) << ::testing::PrintToString(faults);
  EXPECT_EQ(faults[0].rfind("GLOBALINFO link: text #0000FF on #202020", 0), 0u) << faults[0];
  EXPECT_EQ(faults[1].rfind("LABEL normal: text #000000 on #202020", 0), 0u) << faults[1];
  EXPECT_EQ(faults[2].rfind("GAUGE hot: text #FFFFFF on #F0F0F0", 0), 0u) << faults[2];
  EXPECT_EQ(faults[3].rfind("TITLE normal: text #E0E0E0 on #D0D0D0", 0), 0u) << faults[3];
  EXPECT_EQ(faults[4].rfind("STRIP normal: text #FFFFFF on #E", 0), 0u) << faults[4];
}

TEST(SkinContrast, EveryTextOfBothInternalSkinsIsReadable) {
  for (const char* file : {"Quarn.qvz", "QuarnNight.qvz"}) {
    const std::unique_ptr<TsSkinTables> t = LoadBuilt(file);
    ASSERT_TRUE(t) << "the internal skin was not built: " << file;
    ASSERT_EQ(t->Sections.size(), 64u) << file;
    const std::vector<std::string> faults = ContrastFaults(*t);
    EXPECT_TRUE(faults.empty()) << file << ":\n" << ::testing::PrintToString(faults);
  }
}

}  // namespace
