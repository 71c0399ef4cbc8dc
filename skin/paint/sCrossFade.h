// The cross-fade that hides a form's switch from its old look to its new one: the weights of
// the old look in each frame and the blending of one frame. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/paint/zkBitmap.h"

// Frame pause of the skin-changing transition, in milliseconds.
constexpr int kCrossFadeFramePause = 8;

// Old-look weights (out of 256) of the frames of a transition lasting `time` milliseconds:
// n = time div 8 steps, d = 255 div n, frames i = 0 .. n weigh max(0, 255 - i * d). No frames
// when time is below 8 (the new look replaces the old one at once).
std::vector<uint8_t> CrossFadeWeights(uint16_t time);

// One frame: each channel = (w * (old - new) + 256 * new) >> 8. The three bitmaps are 24-bit
// or 32-bit of any mix; the frame covers the area all three share (alpha is left alone).
void BlendCrossFadeFrame(const TzkBitmap& oldLook, const TzkBitmap& newLook, uint8_t weight,
                         TzkBitmap& frame);
