// Composing a skin section into a bitmap: the background (colour, texture, gradient, mixed
// in the section's shares and made partly transparent over what lies behind), then the border
// mask in the current state, then the corner images.
//
// Coordinates: `target` is the rectangle painted in the destination (Right and Bottom
// exclusive); `point` is where the target's top-left lies in the element. The background
// pixel behind the target's top-left is (bg.X + point.X, bg.Y + point.Y) of bg.Bitmap.
// State 0 is normal; any other state uses the section's hot properties (the border mask and
// corner images pick their frame by the state itself).
#pragma once

#include <cstdint>
#include <string>

#include "skin/data/sSkinTables.h"
#include "skin/paint/sBackgroundInfo.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// The background of a section: content, transparency over `bg`, and in state 0 the overlay
// texture. customColor (0xFF00FF for none) replaces the section's colour and switches its
// transparency, texture and gradient off. textureIndex / hotTextureIndex are the section's
// "PATTERN" / "HOTPATTERN" images, or -1 to look them up by name.
void PaintSection(int sectionIndex, const std::string& sectionName, const TsBackgroundInfo& bg,
                  TColor customColor, int hotTextureIndex, int textureIndex,
                  const TsSkinTables* manager, TzkBitmap& dst, TPoint point, const TRect& target,
                  int state);

// The images a skinned element is drawn with: its section and the cached mask indexes.
struct TsItemLook {
  int SectionIndex = -1;
  std::string SectionName;
  int TextureIndex = -1;     // "PATTERN", or -1: looked up by name
  int HotTextureIndex = -1;  // "HOTPATTERN", or -1: looked up by name
  int BorderIndex = -1;      // "BORDERSMASK"
  int ImgTopLeft = -1;
  int ImgTopRight = -1;
  int ImgBottomLeft = -1;
  int ImgBottomRight = -1;
};

// The look of one section with its own cached indexes (border and corners from the record).
TsItemLook SectionLook(const TsSkinTables& manager, int sectionIndex, int textureIndex = -1,
                       int hotTextureIndex = -1);

// The whole look of a control: PaintSection, then the border mask (in state 0 only when its
// StretchMode bit 1 is clear), then the corner images over it. Nothing is drawn when the
// destination or manager is missing, the section is invalid or the target does not lie
// inside the destination.
void PaintSkinnedItem(const TsSkinTables* manager, const TsItemLook& look,
                      const TsBackgroundInfo& bg, TColor customColor, bool paintCentre,
                      bool fillCorners, TzkBitmap* dst, TPoint point, const TRect& target,
                      int state);

// The same look for callers without control data (frames, menus, adapters): no custom
// colour; the corner images first, then the border mask with transparent corners filled.
void PaintSectionByIndex(int sectionIndex, const std::string& sectionName,
                         const TsBackgroundInfo& bg, int hotTextureIndex, int textureIndex,
                         const TsSkinTables* manager, TzkBitmap* dst, TPoint point,
                         const TRect& target, int state, bool paintCentre);

// Paints the whole bitmap with the section `name` (or `fallback` when the skin has no `name`)
// in the given state, centre included. With `behind`, the bitmap first receives behind's
// pixels at rect's top-left and serves as its own background; otherwise the background is
// `color`. Returns the section index used, -1 when neither name is in the skin.
int PaintSectionByName(TzkBitmap& bitmap, const std::string& name, const std::string& fallback,
                       const TzkBitmap* behind, TColor color, const TRect& rect,
                       const TsSkinTables* manager, int state);

// How a disabled control looks: blended into its background, grey, or both.
enum TsDisabledKindFlag : uint8_t { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = uint8_t;  // a set of TsDisabledKindFlag
constexpr TsDisabledKind kDefaultDisabledKind = dkBlended;

// Applied to a control's finished image. dkGrayed: grey-scale first. dkBlended: the image
// keeps 40 % over a background bitmap (its area at X + point.X, Y + point.Y), or is tinted
// half-way towards the background colour, or towards parentColor when that is 0xFF00FF.
void PaintDisabledLook(TzkBitmap& image, TsDisabledKind kind, TColor parentColor, TPoint point,
                       const TsBackgroundInfo& bg);
