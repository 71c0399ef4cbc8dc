// The skin-change cross-fade: frame weights and the blending of one frame.
#include <gtest/gtest.h>

#include "skin/paint/sCrossFade.h"

namespace {

TEST(CrossFade, WeightsFollowTheTransitionTime) {
  const std::vector<uint8_t> w = CrossFadeWeights(100);
  ASSERT_EQ(w.size(), 13u);
  for (size_t i = 0; i < w.size(); ++i) EXPECT_EQ(w[i], 255 - 21 * int(i));
  EXPECT_EQ(w.back(), 3);
  EXPECT_TRUE(CrossFadeWeights(7).empty());
  EXPECT_TRUE(CrossFadeWeights(0).empty());
  EXPECT_EQ(CrossFadeWeights(8), (std::vector<uint8_t>{255, 0}));
  // Long transitions: d = 0 once there are more than 255 steps; every frame stays old.
  EXPECT_EQ(CrossFadeWeights(65535).size(), 8192u);
}

TEST(CrossFade, FramesBlendOldOverNew) {
  TzkBitmap oldLook = NewBitmap24(2, 1), newLook = NewBitmap32(2, 1), frame = NewBitmap24(3, 1);
  oldLook.Fill(0xC8C8C8);           // 200
  newLook.Fill(0x0A0A0A0A);         // 10
  BlendCrossFadeFrame(oldLook, newLook, 255, frame);
  EXPECT_EQ(frame.ScanLine(0)[0], (255 * 190 + 2560) >> 8);  // 199
  BlendCrossFadeFrame(oldLook, newLook, 0, frame);
  EXPECT_EQ(frame.ScanLine(0)[3], 10);
  BlendCrossFadeFrame(newLook, oldLook, 128, frame);   // old darker than new
  EXPECT_EQ(frame.ScanLine(0)[0], (128 * -190 + 256 * 200) >> 8);
  EXPECT_EQ(frame.ScanLine(0)[6], 0);  // outside the shared area: untouched
}

}  // namespace
