// seeds_bmp DIR: writes small BMP files of every bit count, header and row order as
// starting inputs for fuzz_bmp.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/seeds/SeedWriter.h"
#include "tests/native/support/BmpTestWriter.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_bmp")) return 2;
  using bmptest::TBmpSpec;
  int count = 0;
  bool ok = true;
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    for (uint32_t header : {12u, 40u, 108u}) {
      for (bool topDown : {false, true}) {
        if (header == 12 && (topDown || bits == 16 || bits == 32)) continue;
        TBmpSpec s;
        s.Width = 7;
        s.Height = 5;
        s.BitCount = bits;
        s.HeaderSize = header;
        s.TopDown = topDown;
        if (bits <= 8)
          for (uint32_t i = 0; i < (1u << bits); ++i) s.Palette.push_back(i * 0x030507u & 0xFFFFFF);
        if ((bits == 16 || bits == 32) && header != 12 && !topDown) {
          s.Compression = 3;
          const uint32_t masks16[4] = {0xF800, 0x07E0, 0x001F, 0};
          const uint32_t masks32[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
          for (int i = 0; i < 4; ++i) s.Masks[i] = bits == 16 ? masks16[i] : masks32[i];
        }
        std::vector<uint32_t> pixels;
        for (int i = 0; i < 35; ++i)
          pixels.push_back(bits <= 8 ? uint32_t(i) % (1u << bits) : uint32_t(i) * 0x01030507u);
        const std::string name = "b" + std::to_string(bits) + "h" + std::to_string(header) +
                                 (topDown ? "t" : "") + ".bmp";
        ok = seeds::Write(argv[1], name, bmptest::WriteBmp(s, pixels)) && ok;
        ++count;
      }
    }
  }
  std::printf("%d BMP seeds\n", count);
  return ok ? 0 : 1;
}
