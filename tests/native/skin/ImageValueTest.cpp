#include <gtest/gtest.h>

#include "skin/data/sImageValue.h"
#include "skin/data/zkSkinPack.h"

namespace {

TsMaskData MaskOf(const TsImageValue& v) {
  TsMaskData m;
  m.Rect = v.Rect;
  m.ImageCount = v.ImageCount;
  m.MaskType = v.MaskType;
  m.BorderWidth = v.BorderWidth;
  m.WL = v.WL, m.WT = v.WT, m.WR = v.WR, m.WB = v.WB;
  return m;
}

std::string ErrorOf(const char* value) {
  try {
    ParseImageValue(value);
  } catch (const EzkSkinError& e) {
    return e.what();
  }
  return "";
}

TEST(ImageValue, BorderFieldsAreReadByCharacterPosition) {
  const TsImageValue v = ParseImageValue("^0068^0057^0122^0093^0006^0005^0004^0003^3^1^5^2");
  EXPECT_EQ(v.Form, TsImageForm::MasterBorder);
  EXPECT_EQ(v.Rect, TRect(68, 57, 122, 93));
  EXPECT_EQ(v.WL, 6);
  EXPECT_EQ(v.WT, 5);
  EXPECT_EQ(v.WR, 4);
  EXPECT_EQ(v.WB, 3);
  EXPECT_EQ(v.ImageCount, 3);
  EXPECT_EQ(v.MaskType, 1);
  EXPECT_EQ(v.StretchMode, 5);
  EXPECT_EQ(v.BorderWidth, 2);
  EXPECT_EQ(v.ImgType, itisaBorder);
}

TEST(ImageValue, DefaultBorderWidthsUseBorderWidthOrAThirdOfAFrame) {
  TsMaskData m = MaskOf(ParseImageValue("^0003^0040^0043^0081^0000^0000^0000^0000^1^0^0^2"));
  ApplyDefaultBorderWidths(m, false);
  EXPECT_EQ(m.WL, 2);
  EXPECT_EQ(m.WB, 2);
  m = MaskOf(ParseImageValue("^0003^0040^0043^0081^0000^0000^0000^0000^1^0^0^0"));
  ApplyDefaultBorderWidths(m, false);
  EXPECT_EQ(m.WL, 13);  // 40 / 3
  EXPECT_EQ(m.WR, 13);
  EXPECT_EQ(m.WT, 13);  // 41 / 3
  // Two frames over a mask half: a third of one frame of one half; BorderWidth ignored.
  m = MaskOf(ParseImageValue("^0000^0000^0060^0060^0000^0000^0000^0000^2^1^0^4"));
  ApplyDefaultBorderWidths(m, true);
  EXPECT_EQ(m.WL, 10);
  EXPECT_EQ(m.WT, 10);
  m.ImageCount = 0;  // no frames: no widths rather than a division by zero
  m.WL = m.WT = m.WR = m.WB = 0;
  ApplyDefaultBorderWidths(m, true);
  EXPECT_EQ(m.WL, 0);
}

TEST(ImageValue, GlyphAndTextureForms) {
  TsImageValue v = ParseImageValue("@0030@0002@0162@0021@3@0");
  EXPECT_EQ(v.Form, TsImageForm::MasterGlyph);
  EXPECT_EQ(v.Rect, TRect(30, 2, 162, 21));
  EXPECT_EQ(v.ImageCount, 3);
  EXPECT_EQ(v.ImgType, itisaGlyph);
  v = ParseImageValue("~0003~0133~0005~0205~01~1");
  EXPECT_EQ(v.Form, TsImageForm::MasterTexture);
  EXPECT_EQ(v.StretchMode, 1);
  EXPECT_EQ(v.MaskType, 1);
  EXPECT_EQ(v.ImageCount, 1);
  EXPECT_EQ(v.ImgType, itisaTexture);
  EXPECT_EQ(ParseImageValue("~0003~0133~0005~0205~01~0").MaskType, 0);
  EXPECT_EQ(ParseImageValue("~0003~0133~0005~0205~10").MaskType, 0);  // 23 characters
  EXPECT_EQ(ParseImageValue("~0003~0133~0005~0205~10").StretchMode, 10);
}

TEST(ImageValue, FileFormTakesBmpAndPngOnly) {
  TsImageValue v = ParseImageValue("!GLOWH.PNG!1!0!3!0053!0052!0051!0050");
  EXPECT_EQ(v.Form, TsImageForm::File);
  EXPECT_EQ(v.FileName, "GLOWH.PNG");
  EXPECT_EQ(v.ImgType, itisaGlow);
  EXPECT_EQ(v.StretchMode, 4);
  EXPECT_TRUE(v.HasBorderWidths);
  EXPECT_EQ(v.WL, 53);
  EXPECT_EQ(v.WB, 50);
  v = ParseImageValue("!BTN.BMP!3!1!9");
  EXPECT_EQ(v.ImgType, itisaPngGlyph);  // above 4: 4
  EXPECT_FALSE(v.HasBorderWidths);
  EXPECT_EQ(ParseImageValue("!BTN.BMP!3!1!-2").ImgType, itisaBorder);  // negative: 0
  EXPECT_EQ(ParseImageValue("!TILE.JPG!1!0!1").Form, TsImageForm::None);
}

TEST(ImageValue, OlderFormsAndPatterns) {
  TsImageValue v = ParseImageValue("MASTER# (10, 20,30 ,40) (2,1)");
  EXPECT_EQ(v.Form, TsImageForm::OldMaster);
  EXPECT_EQ(v.Rect, TRect(10, 20, 30, 40));
  EXPECT_EQ(v.ImageCount, 2);
  EXPECT_EQ(v.MaskType, 1);
  EXPECT_EQ(v.BorderWidth, 0);
  EXPECT_EQ(v.StretchMode, 1);
  EXPECT_TRUE(v.UpperCaseNames);
  v = ParseImageValue("# 1,2,3,4 0,-3,-1,0");
  EXPECT_EQ(v.ImageCount, 1);  // at least 1
  EXPECT_EQ(v.MaskType, 0);    // at least 0
  EXPECT_EQ(v.BorderWidth, 0);
  EXPECT_EQ(v.StretchMode, 0);
  v = ParseImageValue("Frame.bmp");
  EXPECT_EQ(v.Form, TsImageForm::OldFile);
  EXPECT_EQ(v.ImageCount, 3);
  EXPECT_EQ(v.MaskType, 1);
  EXPECT_EQ(ParseImageValue("back.Jpeg").Form, TsImageForm::Pattern);
  EXPECT_EQ(ParseImageValue("BACK.JPG").FileName, "BACK.JPG");
  for (const char* none : {"", "N/A", "TRUE", "#", "16777215", "?",
                           "16444634;11641229;52;1;0", "MASTER.PNG"})
    EXPECT_EQ(ParseImageValue(none).Form, TsImageForm::None) << none;
}

TEST(ImageValue, BadNumbersAbandonWithTheFieldNamed) {
  EXPECT_NE(ErrorOf("^00x8^0057^0122^0093^0006^0006^0006^0006^3^1^1^1").find("\"00x8\" is not a valid number for x1"),
            std::string::npos);
  EXPECT_NE(ErrorOf("^0068^0057^0122^0093").find("left border width"), std::string::npos);  // too short
  EXPECT_NE(ErrorOf("@0030@0002@0162@0021@A@0").find("image count"), std::string::npos);
  EXPECT_NE(ErrorOf("!A.PNG!1!0").find("\"!\""), std::string::npos);
  EXPECT_NE(ErrorOf("!A.PNG!1!0!3!1!2").find("four border widths"), std::string::npos);
  EXPECT_NE(ErrorOf("!A.PNG!99999!0!3").find("image count"), std::string::npos);  // 16-bit
  EXPECT_NE(ErrorOf("X# (1,2,3) (1,0)").find("rectangle"), std::string::npos);
  EXPECT_NE(ErrorOf("X# (1,2,3,99999) (1,0)").find("rectangle coordinate"), std::string::npos);
  EXPECT_NE(ErrorOf("Made by #1 fan").find("not a valid number"), std::string::npos);
}

}  // namespace
