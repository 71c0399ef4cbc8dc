// The files assetgen draws at build time, read back the way the program reads them.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Icon.h"
#include "toolkit/WideText.h"

namespace {

// Alpha values of an icon drawn into a transparent 32-bit bitmap.
std::vector<int> AlphaOf(const TIcon& icon) {
  TBitmap bitmap(icon.Width(), icon.Height());
  std::memset(bitmap.ScanLine(0), 0, size_t(icon.Width()) * size_t(icon.Height()) * 4);
  DrawIconEx(bitmap.Dc(), 0, 0, icon.Handle(), icon.Width(), icon.Height(), 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<int> alpha;
  for (int y = 0; y < icon.Height(); ++y)
    for (int x = 0; x < icon.Width(); ++x) alpha.push_back(int(bitmap.ScanLine(y)[x] >> 24));
  return alpha;
}

TEST(Assets, IconsHaveEverySizeWithSoftEdgesAndClearCorners) {
  for (const wchar_t* name : {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico", L"VornikDesktop.ico"}) {
    const bool app = std::wstring(name) == L"VornikDesktop.ico";
    for (int size : app ? std::vector<int>{48, 16, 32} : std::vector<int>{16, 20, 24, 32}) {
      TIcon icon;
      ASSERT_NO_THROW(icon.LoadFromFile(ExeFolder() + name, size, size)) << WideToUtf8(name);
      ICONINFO info = {};
      ASSERT_TRUE(GetIconInfo(icon.Handle(), &info));
      BITMAP bm = {};
      GetObjectW(info.hbmColor, sizeof(bm), &bm);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      EXPECT_EQ(bm.bmWidth, size) << WideToUtf8(name);  // the image of that size exists
      const std::vector<int> alpha = AlphaOf(icon);
      EXPECT_EQ(alpha.front(), 0) << WideToUtf8(name);
      EXPECT_EQ(alpha.back(), 0) << WideToUtf8(name);
      EXPECT_EQ(alpha[alpha.size() / 2 + size_t(size) / 2], 255) << WideToUtf8(name);
      int partial = 0;
      for (int a : alpha) partial += a > 0 && a < 255;
      EXPECT_GT(partial, size / 2) << WideToUtf8(name) << ": edges are anti-aliased";
    }
  }
}

TEST(Assets, TheAlarmIsAShortCleanSixteenBitChime) {
  const std::string wav = ReadBytes(ExeFolder() + L"sound.wav");
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  const auto u16 = [&](size_t at) { return unsigned(uint8_t(wav[at])) | unsigned(uint8_t(wav[at + 1])) << 8; };
  const auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  EXPECT_EQ(u16(20), 1u);   // PCM
  EXPECT_EQ(u16(34), 16u);  // bits per sample
  const unsigned rate = u32(24), channels = u16(22), bytes = u32(40);
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(bytes + 44, wav.size());
  const double seconds = double(bytes) / (rate * channels * 2);
  EXPECT_GT(seconds, 0.3);
  EXPECT_LT(seconds, 2.0);
  int peak = 0;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) peak = std::max(peak, std::abs(int(int16_t(u16(i)))));
  EXPECT_GT(peak, 8000);
  EXPECT_LT(peak, 32767);  // never clipped
  EXPECT_EQ(int16_t(u16(wav.size() - 2)), 0);  // fades out to silence
}

}  // namespace
