// The corners of a control's cached image taken again from what lies behind the control: the
// key pixels of the border mask take the background, with a key-colour mask and with an alpha
// mask alike. An alpha mask's other pixels were composed over the control's own fill when it
// was painted (a fully transparent one inside the control keeps the fill), so they stay.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/paint/sCommonData.h"
#include "skin/paint/zkBlit.h"
#include "toolkit/Edit.h"

namespace {

// A one-frame border mask 6 x 6 with 2-pixel borders: its picture in `picture`, the key
// colour in the top-left pixel; with alpha, the rows below hold the alpha `weight` (the share
// of the background) for every pixel.
TsMaskData CornerMask(TColor picture, bool alpha, uint8_t weight) {
  TsMaskData m;
  m.Image = std::make_unique<TzkBitmap>(NewBitmap24(6, alpha ? 12 : 6));
  FillSolid(*m.Image, Rect(0, 0, 6, 6), picture);
  FillSolid(*m.Image, Rect(0, 0, 1, 1), clFuchsia);
  if (alpha) FillSolid(*m.Image, Rect(0, 6, 6, 12), RGBColor(weight, weight, weight));
  m.Rect = Rect(0, 0, 6, alpha ? 12 : 6);
  m.ImageCount = 1;
  m.MaskType = alpha ? 1 : 0;
  m.WL = m.WT = m.WR = m.WB = 2;
  return m;
}

class ControlCorners : public AdapterForm {
 protected:
  // The corner pixel (x, y) of an edit's cached image, filled with green and then given its
  // corners again with `mask`.
  TColor CornerAfterUpdate(TsMaskData mask, int x, int y) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 60, 20);
    TColor c = clFuchsia;
    {
      TsCommonData d(edit, true);
      d.SetSkinManager(&skin);
      d.SetSkinSection("EDIT");
      skin.LoadedTables().Masks.push_back(std::move(mask));
      d.BorderIndex = int(skin.LoadedTables().Masks.size()) - 1;
      d.PrepareCacheBitmap();
      FillSolid(*d.CacheBmp, Rect(0, 0, 60, 20), RGBColor(0, 255, 0));
      d.UpdateCorners(0);
      c = PixelOf(*d.CacheBmp, x, y);
      skin.LoadedTables().Masks.pop_back();
    }
    delete edit;
    return c;
  }
};

TEST_F(ControlCorners, KeyPixelsTakeTheBackgroundAndTheControlsOwnPixelsStay) {
  TsBackgroundRequest r;
  AskBackgroundOfControl(r, form, false);
  const TColor back = BackgroundInfoOf(r).Color;  // what the form shows behind the edit
  const TColor own = RGBColor(0, 255, 0);
  EXPECT_EQ(CornerAfterUpdate(CornerMask(RGBColor(0, 0, 0), false, 0), 0, 0), back);
  EXPECT_EQ(CornerAfterUpdate(CornerMask(RGBColor(0, 0, 0), false, 0), 1, 1), own);
  EXPECT_EQ(CornerAfterUpdate(CornerMask(RGBColor(0, 0, 0), true, 255), 0, 0), back);
  EXPECT_EQ(CornerAfterUpdate(CornerMask(RGBColor(255, 255, 255), true, 255), 1, 1), own)
      << "a transparent pixel inside the control shows the control, not a hole";
  EXPECT_EQ(CornerAfterUpdate(CornerMask(RGBColor(0, 0, 0), true, 128), 59, 19), own);
}

}  // namespace
