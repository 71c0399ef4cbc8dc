// The colours the internal skins' images are drawn in. One drawing code serves both internal
// skins; each skin is a palette:
//   "quarn"  Quarn: a dark blue title bar, light neutral controls, a clear blue hot state
//   "night"  Quarn Night: a dark title and dark controls with light lines, the same blue hot
//            state, lighter outlines where Quarn draws darker ones
// The options file of each skin gives the section colours (backgrounds, text); the palette
// gives what is drawn into the images (frames, glyphs, glows) so both agree.
#pragma once

#include <string>

#include "QuarnCanvas.h"

struct TQuarnPalette {
  // Window frame and title band: active and inactive fill and outline, the faint inner light
  // of the band (with its opacity when active and inactive), the title-button symbols.
  TQuarnRgb TitleOutline, TitleFill, IdleOutline, IdleFill;
  TQuarnRgb TitleLight;
  double TitleLightActive = 0, TitleLightIdle = 0;
  TQuarnRgb TitleIcon, TitleIconHot;
  // Title buttons: hot and pressed faces, the close button's.
  TQuarnRgb HotFace, PressFace, Close, ClosePressed;

  // Control outlines: the usual line, a softer one (group box, header bottom), frame lines
  // (tabs, panels), the blue hot line, the darker pressed line, the accent (checked boxes).
  TQuarnRgb Line, SoftLine, FrameLine, HotLine, PressLine, Accent, AccentHot;
  // Push buttons: the one-pixel inner light (normal and hot, with opacities) and the shade of
  // the pressed face.
  TQuarnRgb ButtonLight, ButtonHotLight;
  double ButtonLightOpacity = 0, ButtonHotLightOpacity = 0;
  TQuarnRgb PressShade;
  // Edit boxes: inner and outer line, normal and focused.
  TQuarnRgb EditInner, EditInnerHot, EditOuter;
  // Menus: the popup's fill and outline, the hot item's outline.
  TQuarnRgb MenuFill, MenuOutline, MenuItemHotLine;
  // Group box light line (and its opacity), column header separator and its light.
  TQuarnRgb GroupLight;
  double GroupLightOpacity = 0;
  TQuarnRgb HeaderSeparator, HeaderLight;
  // Scroll bars: hot button outline, thumb fill and outline per state.
  TQuarnRgb ScrollHotLine;
  TQuarnRgb SliderFill[3], SliderLine[3];
  // Divider lines (dark and light) and the status bar's stripes.
  TQuarnRgb DividerDark, DividerLight, StripeBack, StripeLine;
  // Check boxes and radio buttons: face per state, outline when unchecked, the mark.
  TQuarnRgb BoxFace[3], BoxLine, Mark;
  // Size grip dots and their light; scroll arrows; the menu check mark (normal, hot).
  TQuarnRgb GripDot, GripLight, Arrow, CheckMark, CheckMarkHot;
  // Glows: buttons, title buttons, the close button.
  TQuarnRgb ButtonGlow, TitleGlow, CloseGlow;
};

// The palette named `name` ("quarn" or "night"), or null.
const TQuarnPalette* FindQuarnPalette(const std::string& name);
const TQuarnPalette& QuarnPalette();
const TQuarnPalette& NightPalette();
