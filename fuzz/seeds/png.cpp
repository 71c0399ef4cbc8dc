// seeds_png DIR: writes small PNG files of every colour type, depth and interlacing, with
// and without the optional chunks, as starting inputs for fuzz_png.
#include <cstdio>
#include <string>
#include <vector>

// The seed maker is a program of its own: it compiles the test tree's encoder into itself.
#include "fuzz/seeds/SeedWriter.h"
#include "tests/native/support/PngTestEncoder.cpp"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_png")) return 2;
  using namespace pngtest;
  const int formats[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  int count = 0;
  bool ok = true;
  for (const auto& f : formats) {
    for (bool interlaced : {false, true}) {
      const TPngImage img = TPngImage::Pattern(11, 9, f[0], f[1], uint32_t(count + 1));
      TPngOptions o;
      o.Interlaced = interlaced;
      o.Filters = {0, 1, 2, 3, 4};
      if (count % 3 == 0) o.Gamma = 45454;
      if (count % 4 == 1) o.IdatPieceSize = 16;
      if (f[0] == 0) o.Transparency = Be16(1);
      if (f[0] == 2) o.Transparency = {0, 1, 0, 2, 0, 3};
      if (f[0] == 3) {
        o.Transparency = {0, 128};
        o.Background = {1};
      }
      if (f[0] == 6) o.Background = {0, 10, 0, 20, 0, 30};
      const std::string name = "t" + std::to_string(f[0]) + "d" + std::to_string(f[1]) +
                               (interlaced ? "i" : "") + ".png";
      ok = seeds::Write(argv[1], name, EncodePng(img, o)) && ok;
      ++count;
    }
  }
  TPngOptions extra;
  extra.BeforeData = {{"tEXt", {'k', 0, 'v'}, {}}, {"pHYs", std::vector<uint8_t>(9, 0), {}}};
  extra.AfterData = {{"zTXt", {'k', 0, 0, 0x78, 0x9C, 3, 0, 0, 0, 0, 1}, {}}};
  ok = seeds::Write(argv[1], "ancillary.png", EncodePng(TPngImage::Pattern(5, 5, kRgba, 8, 3), extra)) && ok;
  std::printf("%d PNG seeds\n", count + 1);
  return ok ? 0 : 1;
}
