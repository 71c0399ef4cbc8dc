#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/IconFileCheck.h"

namespace {

void Put(std::string& s, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) s[at + size_t(i)] = char(value >> (8 * i));
}

// An icon file with a 16 x 16 and a 32 x 32 image, each a bitmap header and some bytes.
std::string TwoImageIcon() {
  std::string s(6 + 2 * 16 + 2 * 48, '\0');
  Put(s, 2, 1, 2);
  Put(s, 4, 2, 2);
  for (uint32_t i = 0; i < 2; ++i) {
    const size_t entry = 6 + 16 * i, data = 38 + 48 * i;
    s[entry] = s[entry + 1] = char(16 << i);
    Put(s, entry + 8, 48, 4);
    Put(s, entry + 12, uint32_t(data), 4);
    Put(s, data, 40, 4);
  }
  return s;
}

TEST(IconFileCheck, ASoundFileHasNoDamage) {
  std::string icon = TwoImageIcon();
  EXPECT_EQ(IconFileDamage(icon), "");
  icon.replace(38, 8, "\x89PNG\r\n\x1A\n");  // an image stored as PNG
  EXPECT_EQ(IconFileDamage(icon), "");
}

TEST(IconFileCheck, SaysWhatIsWrongWithTheFile) {
  const std::string good = TwoImageIcon();
  const auto with = [&](size_t at, uint32_t value, int size) {
    std::string s = good;
    Put(s, at, value, size);
    return IconFileDamage(s);
  };
  EXPECT_EQ(IconFileDamage(""), "the file is empty");
  EXPECT_EQ(IconFileDamage(good.substr(0, 5)), "the file is too short to be an icon (5 bytes)");
  EXPECT_EQ(IconFileDamage("GIF89a and more"), "the file is not an icon");
  EXPECT_EQ(with(2, 2, 2), "the file is not an icon");  // a cursor
  EXPECT_EQ(with(4, 0, 2), "the file holds no images");
  EXPECT_EQ(IconFileDamage(good.substr(0, 30)), "the file is cut short inside its list of 2 images");
  EXPECT_EQ(IconFileDamage(good.substr(0, good.size() - 1)),
            "image 2 (32 x 32) lies beyond the end of the file (the file is cut short)");
  EXPECT_EQ(with(6 + 12, 0xFFFFFFF0u, 4),
            "image 1 (16 x 16) lies beyond the end of the file (the file is cut short)");
  EXPECT_EQ(with(6 + 16 + 8, 0, 4), "image 2 (32 x 32) is empty");
  EXPECT_EQ(with(38, 0x4B4E554A, 4), "image 1 (16 x 16) holds neither a bitmap nor a PNG picture");
  std::string large = good;
  large[6] = large[7] = 0;  // 0 stands for 256 pixels
  Put(large, 38, 7, 4);
  EXPECT_EQ(IconFileDamage(large), "image 1 (256 x 256) holds neither a bitmap nor a PNG picture");
}

}  // namespace
