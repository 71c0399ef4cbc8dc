// seeds_jpeg DIR: encodes small JPEG files with libjpeg (grey, colour, CMYK; baseline,
// progressive, arithmetic, restart markers, subsampled) as starting inputs for fuzz_jpeg.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/seeds/SeedWriter.h"
#include "tests/native/support/JpegTestEncoder.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_jpeg")) return 2;
  using jpegtest::TJpegSpec;
  int count = 0;
  bool ok = true;
  for (int components : {1, 3, 4}) {
    for (int variant = 0; variant < 5; ++variant) {
      TJpegSpec s;
      s.Width = 19;
      s.Height = 13;
      s.Components = components;
      s.Quality = 75;
      s.Progressive = variant == 1;
      s.Arithmetic = variant == 2;
      s.RestartRows = variant == 3 ? 1 : 0;
      s.FullChroma = variant != 4;
      const std::string name = "c" + std::to_string(components) + "v" + std::to_string(variant) + ".jpg";
      ok = seeds::Write(argv[1], name, jpegtest::EncodeJpeg(s, jpegtest::SmoothSamples(19, 13, components))) && ok;
      ++count;
    }
  }
  std::printf("%d JPEG seeds\n", count);
  return ok ? 0 : 1;
}
