// The images of the internal skins "Quarn" and "Quarn Night": the pieces of their master
// bitmap and their separate image files, all drawn by code in the colours of a palette
// (QuarnPalette.h). The pieces lie at the same places in every palette, so the master-bitmap
// values of the two options files are the same.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "QuarnCanvas.h"
#include "QuarnPalette.h"
#include "skin/paint/zkBitmap.h"

// One picture of the master bitmap: frames side by side, with the mask below the picture
// when Masked. The options file refers to it by its rectangle.
struct TQuarnPiece {
  std::string Name;
  char Form = '^';  // '^' border, '@' glyph, '~' texture
  int Frames = 1;
  int FrameWidth = 0, FrameHeight = 0;
  bool Masked = true;
  int WL = 0, WT = 0, WR = 0, WB = 0;  // borders ('^' only)
  int Stretch = 0;                     // StretchMode digit(s)
  int BorderWidth = 0;                 // '^' only
  std::function<void(TQuarnCanvas& frame, int state)> Draw;
  int X = 0, Y = 0;  // placed by MasterPieces

  int Width() const { return Frames * FrameWidth; }
  int Height() const { return FrameHeight * (Masked ? 2 : 1); }
  // The value an options file gives this piece, e.g. "^0000^0000^0048^0032^0005^...".
  std::string Value() const;
};

// Every master piece in the palette's colours, placed row by row.
std::vector<TQuarnPiece> MasterPieces(const TQuarnPalette& palette);
// The 24-bit master bitmap holding them, magenta where nothing is drawn.
TzkBitmap DrawMaster(const std::vector<TQuarnPiece>& pieces);

// A separate image file of the skin: its entry name and bytes.
struct TQuarnFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};
// "Master.bmp", "ButtonHuge.bmp", "Corner.bmp" and the glow PNGs.
std::vector<TQuarnFile> DrawSkinFiles(const TQuarnPalette& palette);
