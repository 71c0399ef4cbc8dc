// Encodes JPEG files with libjpeg for tests and fuzz seeds. Header-only so that the fuzz
// seed maker, a program of its own, can use it too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

struct TJpegSpec {
  int Width = 1;
  int Height = 1;
  int Components = 3;          // 1 grey, 3 RGB, 4 CMYK
  int Quality = 95;
  bool Progressive = false;
  bool FullChroma = true;      // no chroma subsampling
  bool Arithmetic = false;
  int RestartRows = 0;
};

// `samples` holds Width × Height × Components bytes, rows top to bottom (R, G, B order).
inline std::vector<uint8_t> EncodeJpeg(const TJpegSpec& s, const std::vector<uint8_t>& samples) {
  jpeg_compress_struct c;
  jpeg_error_mgr errors;
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(s.Width);
  c.image_height = JDIMENSION(s.Height);
  c.input_components = s.Components;
  c.in_color_space = s.Components == 1 ? JCS_GRAYSCALE : s.Components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, s.Quality, TRUE);
  if (s.FullChroma)
    for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  if (s.Progressive) jpeg_simple_progression(&c);
  c.arith_code = s.Arithmetic ? TRUE : FALSE;
  c.restart_in_rows = s.RestartRows;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(c.next_scanline) * size_t(s.Width) *
                                                              size_t(s.Components));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Smooth content that survives compression closely: gradients with a soft diagonal band.
inline std::vector<uint8_t> SmoothSamples(int width, int height, int components) {
  std::vector<uint8_t> v;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < components; ++c)
        v.push_back(uint8_t((x * 255 / (width > 1 ? width - 1 : 1) * (c + 1) / components +
                             y * 255 / (height > 1 ? height - 1 : 1) * (components - c) / components) / 2));
  return v;
}

}  // namespace jpegtest
