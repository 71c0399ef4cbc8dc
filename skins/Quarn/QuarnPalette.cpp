#include "QuarnPalette.h"

namespace {

constexpr TQuarnRgb kWhite{255, 255, 255};

TQuarnPalette MakeQuarn() {
  TQuarnPalette p;
  p.TitleOutline = {14, 30, 56};
  p.TitleFill = {27, 55, 99};
  p.IdleOutline = {60, 70, 86};
  p.IdleFill = {78, 91, 111};
  p.TitleLight = kWhite;
  p.TitleLightActive = 0.22, p.TitleLightIdle = 0.12;
  p.TitleIcon = {226, 234, 245};
  p.TitleIconHot = kWhite;
  p.HotFace = {74, 136, 226};
  p.PressFace = {30, 70, 140};
  p.Close = {214, 64, 56};
  p.ClosePressed = {160, 36, 30};

  p.Line = {163, 175, 191};
  p.SoftLine = {197, 205, 217};
  p.FrameLine = {180, 190, 203};
  p.HotLine = {61, 123, 217};
  p.PressLine = {36, 88, 170};
  p.Accent = {47, 111, 208};
  p.AccentHot = {66, 132, 228};
  p.ButtonLight = kWhite;
  p.ButtonHotLight = {190, 215, 250};
  p.ButtonLightOpacity = 0.75, p.ButtonHotLightOpacity = 0.9;
  p.PressShade = {0, 30, 80};
  p.EditInner = {227, 232, 239};
  p.EditInnerHot = {196, 218, 248};
  p.EditOuter = {169, 180, 196};
  p.MenuFill = kWhite;
  p.MenuOutline = {141, 154, 173};
  p.MenuItemHotLine = {122, 164, 226};
  p.GroupLight = kWhite;
  p.GroupLightOpacity = 0.8;
  p.HeaderSeparator = {205, 212, 222};
  p.HeaderLight = kWhite;
  p.ScrollHotLine = {150, 182, 230};
  p.SliderFill[0] = {192, 201, 213}, p.SliderFill[1] = {128, 166, 226}, p.SliderFill[2] = {66, 112, 190};
  p.SliderLine[0] = {170, 180, 195}, p.SliderLine[1] = {96, 140, 212}, p.SliderLine[2] = {44, 90, 164};
  p.DividerDark = {211, 218, 227};
  p.DividerLight = kWhite;
  p.StripeBack = {233, 237, 242};
  p.StripeLine = {222, 228, 236};
  p.BoxFace[0] = kWhite, p.BoxFace[1] = {240, 246, 255}, p.BoxFace[2] = {214, 229, 250};
  p.BoxLine = {140, 152, 170};
  p.Mark = kWhite;
  p.GripDot = {136, 148, 166};
  p.GripLight = kWhite;
  p.Arrow = {107, 119, 136};
  p.CheckMark = {31, 41, 55};
  p.CheckMarkHot = {20, 60, 130};
  p.ButtonGlow = {74, 141, 240};
  p.TitleGlow = {110, 170, 250};
  p.CloseGlow = {240, 92, 72};
  return p;
}

// Night keeps Quarn's blues for everything hot, pressed or checked and its glows; frames and
// lines are lighter than the dark faces they surround, and the inner lights that give Quarn's
// controls their relief are faint, so nothing glares on a dark screen.
TQuarnPalette MakeNight() {
  TQuarnPalette p = MakeQuarn();
  p.TitleOutline = {6, 10, 18};
  p.TitleFill = {22, 36, 62};
  p.IdleOutline = {16, 18, 22};
  p.IdleFill = {40, 44, 51};
  p.TitleLightActive = 0.10, p.TitleLightIdle = 0.06;
  p.TitleIcon = {214, 222, 234};
  p.HotFace = {47, 111, 208};
  p.Close = {196, 58, 50};
  p.ClosePressed = {150, 34, 28};

  p.Line = {86, 94, 108};
  p.SoftLine = {66, 73, 85};
  p.FrameLine = {78, 86, 99};
  p.ButtonHotLight = {120, 170, 240};
  p.ButtonLightOpacity = 0.07, p.ButtonHotLightOpacity = 0.3;
  p.PressShade = {0, 0, 0};
  p.EditInner = {40, 45, 53};
  p.EditInnerHot = {40, 70, 120};
  p.EditOuter = {82, 90, 104};
  p.MenuFill = {40, 44, 52};
  p.MenuOutline = {78, 86, 100};
  p.MenuItemHotLine = {90, 145, 230};
  p.GroupLightOpacity = 0.05;
  p.HeaderSeparator = {70, 77, 89};
  p.ScrollHotLine = {70, 120, 200};
  p.SliderFill[0] = {78, 86, 100}, p.SliderFill[1] = {61, 110, 190}, p.SliderFill[2] = {47, 94, 170};
  p.SliderLine[0] = {96, 105, 120}, p.SliderLine[1] = {86, 136, 214}, p.SliderLine[2] = {40, 84, 156};
  p.DividerDark = {22, 25, 30};
  p.DividerLight = {58, 64, 74};
  p.StripeBack = {38, 42, 50};
  p.StripeLine = {44, 49, 58};
  p.BoxFace[0] = {26, 30, 36}, p.BoxFace[1] = {30, 38, 52}, p.BoxFace[2] = {36, 52, 80};
  p.BoxLine = {120, 130, 146};
  p.GripDot = {110, 120, 136};
  p.GripLight = {20, 22, 27};
  p.Arrow = {150, 160, 176};
  p.CheckMark = {221, 226, 233};
  p.CheckMarkHot = kWhite;
  return p;
}

}  // namespace

const TQuarnPalette& QuarnPalette() {
  static const TQuarnPalette palette = MakeQuarn();
  return palette;
}

const TQuarnPalette& NightPalette() {
  static const TQuarnPalette palette = MakeNight();
  return palette;
}

const TQuarnPalette* FindQuarnPalette(const std::string& name) {
  if (name == "quarn") return &QuarnPalette();
  if (name == "night") return &NightPalette();
  return nullptr;
}
