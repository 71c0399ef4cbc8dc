#include "QuarnImages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "skin/data/zkBmpWriter.h"
#include "skin/paint/zkPngWriter.h"

namespace {

// One frame of the big title-button glyphs and the glow margin around them.
constexpr int kTitleButtonWidth = 28;
constexpr int kTitleButtonHeight = 20;
constexpr int kTitleGlowMargin = 6;

// State frames: 0 normal, 1 hot, 2 pressed.
TQuarnRgb ByState(int state, TQuarnRgb normal, TQuarnRgb hot, TQuarnRgb pressed) {
  return state == 0 ? normal : state == 1 ? hot : pressed;
}

// [SECTION] Borders

// Rounded push button frame: outline and a one-pixel inner light, uniform along every side so
// the sides tile without seams.
void ButtonFrame(TQuarnCanvas& c, const TQuarnPalette& k, int state, double r) {
  const double w = c.Width(), h = c.Height();
  const TQuarnShape outer = RoundRect(0, 0, w, h, r);
  const TQuarnShape inner = RoundRect(1, 1, w - 1, h - 1, r - 1);
  c.MarkBody(outer);
  if (state == 2) {
    // Pressed: the whole face darkens a little, most at its edges.
    c.Fill(inner, k.PressShade, 0.10);
    c.Fill(Outline(inner, 2), k.PressShade, 0.14);
  } else {
    c.Fill(Outline(inner, 1), state == 1 ? k.ButtonHotLight : k.ButtonLight,
           state == 1 ? k.ButtonHotLightOpacity : k.ButtonLightOpacity);
  }
  c.Fill(Outline(outer, 1), ByState(state, k.Line, k.HotLine, k.PressLine));
}

// Square two-pixel frame of edit boxes: an outer line and a lighter inner one.
void EditFrame(TQuarnCanvas& c, const TQuarnPalette& k, int state) {
  const double w = c.Width(), h = c.Height();
  c.Fill(Outline(RoundRect(1, 1, w - 1, h - 1, 0), 1), state == 0 ? k.EditInner : k.EditInnerHot);
  c.Fill(Outline(RoundRect(0, 0, w, h, 0), 1), state == 0 ? k.EditOuter : k.HotLine);
}

// Window frame: top corners rounded (outside them is the key colour, which the window region
// cuts away), an outline and the frame colour. Frame 0 inactive, 1 active.
void WindowFrame(TQuarnCanvas& c, const TQuarnPalette& k, int state) {
  const double w = c.Width(), h = c.Height();
  const TQuarnShape outer = RoundRect(0, 0, w, h, 7, 7, 0, 0);
  c.Fill(outer, state ? k.TitleFill : k.IdleFill);
  c.Fill(Outline(outer, 1), state ? k.TitleOutline : k.IdleOutline);
  c.HardenEdge(outer, 0.45);
}

// Title band frame: rounded top corners as the window's, an outline, a faint inner light and
// a dark line under the band. The band's own gradient shows inside.
void TitleFrame(TQuarnCanvas& c, const TQuarnPalette& k, int state) {
  const double w = c.Width(), h = c.Height();
  const TQuarnShape outer = RoundRect(0, 0, w, h + 8, 7, 7, 0, 0);
  c.MarkBody(outer);
  c.Fill(Outline(RoundRect(1, 1, w - 1, h + 8, 6, 6, 0, 0), 1), k.TitleLight,
         state ? k.TitleLightActive : k.TitleLightIdle);
  c.Fill(Outline(outer, 1), state ? k.TitleOutline : k.IdleOutline);
  c.Fill(RoundRect(0, h - 1, w, h, 0), state ? k.TitleOutline : k.IdleOutline, 0.85);
  c.HardenEdge(outer, 0.45);
}

// [SECTION] Glyphs

void CloseIcon(TQuarnCanvas& c, double cx, double cy, double s, TQuarnRgb color) {
  c.Fill(Union(Segment(cx - s, cy - s, cx + s, cy + s, 0.95), Segment(cx - s, cy + s, cx + s, cy - s, 0.95)), color);
}

void MaxIcon(TQuarnCanvas& c, double cx, double cy, double s, TQuarnRgb color) {
  c.Fill(Outline(RoundRect(cx - s, cy - s, cx + s, cy + s, 1), 1.3), color);
  c.Fill(RoundRect(cx - s, cy - s, cx + s, cy - s + 2.4, 1, 1, 0, 0), color);
}

void MinIcon(TQuarnCanvas& c, double cx, double cy, double s, TQuarnRgb color) {
  c.Fill(RoundRect(cx - s, cy + s - 2.2, cx + s, cy + s, 0.8), color);
}

void NormIcon(TQuarnCanvas& c, double cx, double cy, double s, TQuarnRgb color) {
  // Two windows: the one behind shows only its top and right edges.
  const double d = 2.5;
  const TQuarnShape front = RoundRect(cx - s, cy - s + d, cx + s - d, cy + s, 1);
  c.Fill(Subtract(Outline(RoundRect(cx - s + d, cy - s, cx + s, cy + s - d, 1), 1.1),
                  RoundRect(cx - s - 1, cy - s + d - 1, cx + s - d + 1, cy + s + 1, 1)),
         color);
  c.Fill(Outline(front, 1.2), color);
  c.Fill(RoundRect(cx - s, cy - s + d, cx + s - d, cy - s + d + 2.2, 1, 1, 0, 0), color);
}

void HelpIcon(TQuarnCanvas& c, double cx, double cy, double s, TQuarnRgb color) {
  const double r = s * 0.62;
  const double ay = cy - s + r;
  // The hook: the upper ring without its lower left part, then the stem and the dot.
  const TQuarnShape ring = Outline(Circle(cx, ay, r + 0.7), 1.5);
  const TQuarnShape cut = Polygon({cx - 2 * r, ay, cx, ay + 0.2, cx, ay + 2 * r, cx - 2 * r, ay + 2 * r});
  c.Fill(Subtract(ring, cut), color);
  c.Fill(Segment(cx, ay + r, cx, cy + s * 0.35, 0.8), color);
  c.Fill(Circle(cx, cy + s * 0.85, 1.1), color);
}

using TIcon = void (*)(TQuarnCanvas&, double, double, double, TQuarnRgb);

// Big title button: hangs from the window's top edge (its first row stays clear so the
// window outline shows), rounded at the bottom; idle it shows only its symbol.
void BigTitleButton(TQuarnCanvas& c, const TQuarnPalette& k, int state, TIcon icon, bool close) {
  const double w = c.Width(), h = c.Height();
  const TQuarnShape face = RoundRect(0, 1, w, h, 0, 0, 4, 4);
  if (state > 0) {
    const TQuarnRgb fill = close ? (state == 1 ? k.Close : k.ClosePressed) : (state == 1 ? k.HotFace : k.PressFace);
    const TQuarnRgb top = {std::min(255, fill.R + 28), std::min(255, fill.G + 28), std::min(255, fill.B + 28)};
    c.FillVertical(face, state == 1 ? top : fill, fill, 1, h);
    c.Fill(Outline(face, 1), k.TitleOutline, 0.55);
  }
  icon(c, w / 2, 1 + (h - 1) / 2, 4.5, state == 0 ? k.TitleIcon : k.TitleIconHot);
}

// Small title button (tool windows, dialogs): a rounded square, vertically centred.
void SmallTitleButton(TQuarnCanvas& c, const TQuarnPalette& k, int state, TIcon icon, bool close) {
  const double w = c.Width(), h = c.Height();
  const TQuarnShape face = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3);
  if (state > 0) {
    const TQuarnRgb fill = close ? (state == 1 ? k.Close : k.ClosePressed) : (state == 1 ? k.HotFace : k.PressFace);
    c.Fill(face, fill);
  }
  icon(c, w / 2, h / 2, 3.5, state == 0 ? k.TitleIcon : k.TitleIconHot);
}

void Chevron(TQuarnCanvas& c, int dir, TQuarnRgb color) {
  // dir: 0 up, 1 down, 2 left, 3 right; drawn in a square canvas.
  const double m = c.Width() / 2.0, a = 3.0, b = 1.6;
  double p[6];
  switch (dir) {
    case 0: p[0] = m - a, p[1] = m + b, p[2] = m, p[3] = m - b, p[4] = m + a, p[5] = m + b; break;
    case 1: p[0] = m - a, p[1] = m - b, p[2] = m, p[3] = m + b, p[4] = m + a, p[5] = m - b; break;
    case 2: p[0] = m + b, p[1] = m - a, p[2] = m - b, p[3] = m, p[4] = m + b, p[5] = m + a; break;
    default: p[0] = m - b, p[1] = m - a, p[2] = m + b, p[3] = m, p[4] = m - b, p[5] = m + a; break;
  }
  c.Fill(Union(Segment(p[0], p[1], p[2], p[3], 0.95), Segment(p[2], p[3], p[4], p[5], 0.95)), color);
}

enum TMark { kMarkNone, kMarkCheck, kMarkGray };

// Check box: a rounded square, the face colour when clear and accent blue when checked.
void CheckBox(TQuarnCanvas& c, const TQuarnPalette& k, int state, TMark mark) {
  const double s = c.Width();
  const TQuarnShape box = RoundRect(1, 1, s - 1, s - 1, s > 12 ? 3 : 2.5);
  if (mark == kMarkCheck) {
    c.Fill(box, ByState(state, k.Accent, k.AccentHot, k.PressLine));
    const double u = s / 15.0;
    c.Fill(Union(Segment(4.2 * u, 7.6 * u, 6.6 * u, 10.0 * u, 1.05 * u),
                 Segment(6.6 * u, 10.0 * u, 10.9 * u, 4.9 * u, 1.05 * u)),
           k.Mark);
    return;
  }
  c.Fill(box, ByState(state, k.BoxFace[0], k.BoxFace[1], k.BoxFace[2]));
  c.Fill(Outline(box, 1), ByState(state, k.BoxLine, k.HotLine, k.PressLine));
  if (mark == kMarkGray) {
    const double q = s * 0.3;
    c.Fill(RoundRect(q, q, s - q, s - q, 1), ByState(state, k.Accent, k.AccentHot, k.PressLine), 0.85);
  }
}

void Radio(TQuarnCanvas& c, const TQuarnPalette& k, int state, TMark mark) {
  const double s = c.Width(), m = s / 2;
  const TQuarnShape disc = Circle(m, m, m - 1);
  if (mark == kMarkCheck) {
    c.Fill(disc, ByState(state, k.Accent, k.AccentHot, k.PressLine));
    c.Fill(Circle(m, m, s * 0.17), k.Mark);
    return;
  }
  c.Fill(disc, ByState(state, k.BoxFace[0], k.BoxFace[1], k.BoxFace[2]));
  c.Fill(Outline(disc, 1), ByState(state, k.BoxLine, k.HotLine, k.PressLine));
  if (mark == kMarkGray) c.Fill(Circle(m, m, s * 0.2), ByState(state, k.Accent, k.AccentHot, k.PressLine), 0.6);
}

// Size grip: six dots in a triangle towards the bottom right corner, each with a light under it.
void Grip(TQuarnCanvas& c, const TQuarnPalette& k) {
  const double s = c.Width();
  for (int row = 0; row < 3; ++row)
    for (int col = 2 - row; col < 3; ++col) {
      const double x = s - 2.5 - (2 - col) * 4, y = s - 2.5 - (2 - row) * 4;
      c.Fill(Circle(x + 0.8, y + 0.8, 1.2), k.GripLight, 0.9);
      c.Fill(Circle(x, y, 1.2), k.GripDot);
    }
}

// [SECTION] Glows

// A soft halo around a rounded rectangle inset `inset` pixels from the image edges: strongest
// just outside the rectangle, fading out by `spread`, and fading out within two pixels inside.
TzkBitmap Glow(int w, int h, int inset, double r, TQuarnRgb color, double peak, double spread) {
  TQuarnCanvas c(w, h);
  const TQuarnShape body = RoundRect(inset, inset, w - inset, h - inset, r);
  c.FillAlpha(color, [&](double x, double y) {
    const double d = body(x, y);
    if (d < 0) return peak * std::max(0.0, 1.0 + d / 2.0);
    const double t = d / spread;
    return peak * std::exp(-t * t * 2.2);
  });
  return c.ToBitmap32();
}

}  // namespace

// [SECTION] Pieces

std::string TQuarnPiece::Value() const {
  char text[96];
  const int x2 = X + Width(), y2 = Y + Height();
  if (Form == '^')
    std::snprintf(text, sizeof text, "^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%d^%d^%d^%d", X, Y, x2, y2, WL, WT,
                  WR, WB, Frames, Masked ? 1 : 0, Stretch, BorderWidth);
  else if (Form == '@')
    std::snprintf(text, sizeof text, "@%04d@%04d@%04d@%04d@%d@%d", X, Y, x2, y2, Frames, Masked ? 1 : 0);
  else
    std::snprintf(text, sizeof text, "~%04d~%04d~%04d~%04d~%02d~%d", X, Y, x2, y2, Stretch, Masked ? 1 : 0);
  return text;
}

std::vector<TQuarnPiece> MasterPieces(const TQuarnPalette& k) {
  std::vector<TQuarnPiece> p;
  const auto border = [&](const char* name, int frames, int size, bool masked, int b, int stretch,
                          std::function<void(TQuarnCanvas&, int)> draw) {
    p.push_back({name, '^', frames, size, size, masked, b, b, b, b, stretch, 0, std::move(draw)});
  };
  const auto glyph = [&](const char* name, int frames, int w, int h, std::function<void(TQuarnCanvas&, int)> draw) {
    p.push_back({name, '@', frames, w, h, true, 0, 0, 0, 0, 0, 0, std::move(draw)});
  };
  // The palette outlives every piece: both palettes are static.
  const TQuarnPalette* pk = &k;
  // Frames and borders.
  border("BUTTON", 3, 16, true, 5, 4, [pk](TQuarnCanvas& c, int s) { ButtonFrame(c, *pk, s, 3.5); });
  border("EDIT", 3, 8, false, 2, 0, [pk](TQuarnCanvas& c, int s) { EditFrame(c, *pk, s); });
  border("FORM", 2, 24, false, 8, 0, [pk](TQuarnCanvas& c, int s) { WindowFrame(c, *pk, s); });
  p.push_back({"FORMTITLE", '^', 2, 24, 24, true, 8, 8, 8, 2, 0, 0,
               [pk](TQuarnCanvas& c, int s) { TitleFrame(c, *pk, s); }});
  p.push_back({"MAINMENU", '^', 1, 12, 12, false, 3, 3, 3, 3, 0, 3, [pk](TQuarnCanvas& c, int) {
                 c.Fill(RoundRect(0, 0, 12, 12, 0), pk->MenuFill);
                 c.Fill(Outline(RoundRect(0, 0, 12, 12, 0), 1), pk->MenuOutline);
               }});
  border("MENUITEM", 3, 12, true, 4, 2, [pk](TQuarnCanvas& c, int s) {
    c.MarkBody(RoundRect(0, 0, 12, 12, 3));
    if (s > 0) c.Fill(Outline(RoundRect(0, 0, 12, 12, 3), 1), pk->MenuItemHotLine);
  });
  border("GROUPBOX", 1, 12, true, 4, 0, [pk](TQuarnCanvas& c, int) {
    c.MarkBody(RoundRect(0, 0, 12, 12, 3));
    c.Fill(Outline(RoundRect(1, 1, 12, 12, 3), 1), pk->GroupLight, pk->GroupLightOpacity);
    c.Fill(Outline(RoundRect(0, 0, 11, 11, 3), 1), pk->SoftLine);
  });
  border("COLHEADER", 3, 8, true, 2, 0, [pk](TQuarnCanvas& c, int s) {
    c.MarkBody(RoundRect(0, 0, 8, 8, 0));
    c.Fill(RoundRect(7, 0, 8, 8, 0), pk->HeaderSeparator);
    c.Fill(RoundRect(6, 0, 7, 8, 0), pk->HeaderLight, pk->GroupLightOpacity);
    if (s == 0) c.Fill(RoundRect(0, 7, 8, 8, 0), pk->SoftLine);
    else c.Fill(RoundRect(0, 6, 8, 8, 0), s == 1 ? pk->HotLine : pk->PressLine);
  });
  border("SCROLLBTN", 3, 14, true, 4, 2, [pk](TQuarnCanvas& c, int s) {
    c.MarkBody(RoundRect(0, 0, 14, 14, 3));
    if (s > 0) c.Fill(Outline(RoundRect(0, 0, 14, 14, 3), 1), s == 1 ? pk->ScrollHotLine : pk->PressLine);
  });
  border("SCROLLSLIDER", 3, 14, true, 5, 4, [pk](TQuarnCanvas& c, int s) {
    const TQuarnShape thumb = RoundRect(2, 2, 12, 12, 3);
    c.Fill(thumb, pk->SliderFill[s]);
    c.Fill(Outline(thumb, 1), pk->SliderLine[s]);
  });
  border("TAB", 3, 14, true, 4, 0, [pk](TQuarnCanvas& c, int s) {
    const TQuarnShape tab = RoundRect(0, 0, 14, 18, 3, 3, 0, 0);
    c.MarkBody(tab);
    c.Fill(Outline(tab, 1), pk->FrameLine);
    if (s > 0) c.Fill(RoundRect(1, 1, 13, 3, 2, 2, 0, 0), s == 1 ? pk->HotLine : pk->Accent);
  });
  border("FRAME", 1, 6, false, 1, 0,
         [pk](TQuarnCanvas& c, int) { c.Fill(Outline(RoundRect(0, 0, 6, 6, 0), 1), pk->FrameLine); });
  p.push_back({"DIVIDER", '^', 1, 6, 2, false, 1, 1, 1, 1, 0, 0, [pk](TQuarnCanvas& c, int) {
                 c.Fill(RoundRect(0, 0, 6, 1, 0), pk->DividerDark);
                 c.Fill(RoundRect(0, 1, 6, 2, 0), pk->DividerLight);
               }});
  p.push_back({"STRIPES", '~', 1, 8, 8, false, 0, 0, 0, 0, 1, 0, [pk](TQuarnCanvas& c, int) {
                 c.Fill(RoundRect(0, 0, 8, 8, 0), pk->StripeBack);
                 for (int d = -8; d <= 8; d += 4)
                   c.Fill(Segment(d, 8, d + 8, 0, 0.5), pk->StripeLine);
               }});
  // Title buttons: big set (hanging, 28 x 20) and small set (18 x 16).
  const struct {
    const char* name;
    TIcon icon;
    bool close;
  } titleButtons[] = {{"CLOSE", CloseIcon, true}, {"MAX", MaxIcon, false}, {"MIN", MinIcon, false},
                      {"NORM", NormIcon, false}, {"HELP", HelpIcon, false}};
  for (const auto& b : titleButtons)
    glyph((std::string("BICON") + b.name).c_str(), 3, kTitleButtonWidth, kTitleButtonHeight,
          [pk, b](TQuarnCanvas& c, int s) { BigTitleButton(c, *pk, s, b.icon, b.close); });
  for (const auto& b : titleButtons)
    glyph((std::string("SICON") + b.name).c_str(), 3, 18, 16,
          [pk, b](TQuarnCanvas& c, int s) { SmallTitleButton(c, *pk, s, b.icon, b.close); });
  glyph("TITLEBUTTON", 3, kTitleButtonWidth, kTitleButtonHeight, [pk](TQuarnCanvas& c, int s) {
    BigTitleButton(c, *pk, s, [](TQuarnCanvas& cc, double cx, double cy, double, TQuarnRgb color) {
      cc.Fill(Circle(cx, cy, 2.2), color);
    }, false);
  });
  // Check boxes, radio buttons and the small set, then arrows and the menu check mark.
  const TMark marks[] = {kMarkCheck, kMarkNone, kMarkGray};
  const char* const markNames[] = {"CHECKED", "UNCHECKED", "GRAYED"};
  for (int i = 0; i < 3; ++i)
    glyph((std::string("BOX") + markNames[i]).c_str(), 3, 15, 15,
          [pk, m = marks[i]](TQuarnCanvas& c, int s) { CheckBox(c, *pk, s, m); });
  for (int i = 0; i < 3; ++i)
    glyph((std::string("RADIO") + markNames[i]).c_str(), 3, 15, 15,
          [pk, m = marks[i]](TQuarnCanvas& c, int s) { Radio(c, *pk, s, m); });
  for (int i = 0; i < 3; ++i)
    glyph((std::string("SMALL") + markNames[i]).c_str(), 3, 11, 11,
          [pk, m = marks[i]](TQuarnCanvas& c, int s) { CheckBox(c, *pk, s, m); });
  const char* const arrowNames[] = {"ARROWUP", "ARROWDOWN", "ARROWLEFT", "ARROWRIGHT"};
  for (int dir = 0; dir < 4; ++dir)
    glyph(arrowNames[dir], 3, 11, 11, [pk, dir](TQuarnCanvas& c, int s) {
      Chevron(c, dir, ByState(s, pk->Arrow, pk->Accent, pk->PressLine));
    });
  glyph("CHECK", 3, 16, 16, [pk](TQuarnCanvas& c, int s) {
    const TQuarnRgb color = s == 0 ? pk->CheckMark : pk->CheckMarkHot;
    c.Fill(Union(Segment(4.5, 8.2, 7, 10.8, 1.1), Segment(7, 10.8, 11.8, 5.2, 1.1)), color);
  });

  // Rows of at most 256 pixels, in table order.
  int x = 0, y = 0, rowHeight = 0;
  for (TQuarnPiece& piece : p) {
    if (x > 0 && x + piece.Width() > 256) x = 0, y += rowHeight, rowHeight = 0;
    piece.X = x, piece.Y = y;
    x += piece.Width();
    rowHeight = std::max(rowHeight, piece.Height());
  }
  return p;
}

TzkBitmap DrawMaster(const std::vector<TQuarnPiece>& pieces) {
  int w = 0, h = 0;
  for (const TQuarnPiece& piece : pieces) {
    w = std::max(w, piece.X + piece.Width());
    h = std::max(h, piece.Y + piece.Height());
  }
  TzkBitmap master = NewBitmap24(w, h);
  master.Fill(0xFF00FF);
  for (const TQuarnPiece& piece : pieces)
    for (int f = 0; f < piece.Frames; ++f) {
      TQuarnCanvas c(piece.FrameWidth, piece.FrameHeight);
      piece.Draw(c, f);
      c.PutPicture(master, piece.X + f * piece.FrameWidth, piece.Y, piece.Masked, piece.FrameHeight);
    }
  return master;
}

namespace {

// A picture of `frames` frames with its mask below, as a 24-bit BMP file.
std::vector<uint8_t> MaskedBmp(int frames, int w, int h, const std::function<void(TQuarnCanvas&, int)>& draw) {
  TzkBitmap image = NewBitmap24(frames * w, 2 * h);
  image.Fill(0xFF00FF);
  for (int f = 0; f < frames; ++f) {
    TQuarnCanvas c(w, h);
    draw(c, f);
    c.PutPicture(image, f * w, 0, true, h);
  }
  return EncodeBmp(image);
}

}  // namespace

std::vector<TQuarnFile> DrawSkinFiles(const TQuarnPalette& k) {
  std::vector<TQuarnFile> files;
  files.push_back({"ButtonHuge.bmp", MaskedBmp(3, 30, 30, [&k](TQuarnCanvas& c, int s) { ButtonFrame(c, k, s, 6); })});
  files.push_back({"Corner.bmp", MaskedBmp(1, 12, 12, [&k](TQuarnCanvas& c, int) { Grip(c, k); })});
  files.push_back({"Master.bmp", EncodeBmp(DrawMaster(MasterPieces(k)))});
  files.push_back({"Glow.png", EncodePng(Glow(48, 48, 12, 4, k.ButtonGlow, 0.55, 7))});
  files.push_back({"GlowBtn.PNG", EncodePng(Glow(36, 36, 8, 4, k.TitleGlow, 0.6, 5))});
  files.push_back({"GlowH.png", EncodePng(Glow(64, 64, 16, 7, k.ButtonGlow, 0.5, 9))});
  // Halos of the big title buttons (28 x 20): the button plus the glow margin of
  // Options.dat (BICON...GLOWMARGIN=6) on every side, so the halo hugs the button.
  const int w = kTitleButtonWidth + 2 * kTitleGlowMargin, h = kTitleButtonHeight + 2 * kTitleGlowMargin;
  const auto titleGlow = [&](TQuarnRgb color) { return EncodePng(Glow(w, h, kTitleGlowMargin, 4, color, 0.75, 3.5)); };
  files.push_back({"GlowCAlone.png", titleGlow(k.CloseGlow)});
  files.push_back({"GlowClose.PNG", titleGlow(k.CloseGlow)});
  files.push_back({"GlowMax.PNG", titleGlow(k.TitleGlow)});
  files.push_back({"GlowMin.png", titleGlow(k.TitleGlow)});
  files.push_back({"GlowNorm.png", titleGlow(k.TitleGlow)});
  return files;
}
