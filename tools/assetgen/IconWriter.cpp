#include "IconWriter.h"

#include <stdexcept>

namespace {

void Put16(std::string& out, unsigned v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPINFOHEADER, the colour rows bottom-up, then the 1-bit mask (set = transparent).
std::string ImageBytes(const TIconImage& img) {
  const int w = img.Width, h = img.Height;
  const size_t maskRow = size_t((w + 31) / 32 * 4);
  std::string out;
  Put32(out, 40);
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(h * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, uint32_t(size_t(w) * size_t(h) * 4 + maskRow * size_t(h)));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(out, img.Pixels[size_t(y) * size_t(w) + size_t(x)]);
  for (int y = h - 1; y >= 0; --y) {
    std::string row(maskRow, '\0');
    for (int x = 0; x < w; ++x)
      if ((img.Pixels[size_t(y) * size_t(w) + size_t(x)] >> 24) == 0)
        row[size_t(x / 8)] = char(row[size_t(x / 8)] | (0x80 >> (x % 8)));
    out += row;
  }
  return out;
}

}  // namespace

std::string IconFileBytes(const std::vector<TIconImage>& images) {
  std::string head;
  Put16(head, 0);
  Put16(head, 1);
  Put16(head, unsigned(images.size()));
  std::vector<std::string> bodies;
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (const TIconImage& img : images) {
    if (img.Width < 1 || img.Width > 256 || img.Height < 1 || img.Height > 256 ||
        img.Pixels.size() != size_t(img.Width) * size_t(img.Height))
      throw std::invalid_argument("bad icon image size");
    bodies.push_back(ImageBytes(img));
    head += char(img.Width == 256 ? 0 : img.Width);
    head += char(img.Height == 256 ? 0 : img.Height);
    head += char(0);
    head += char(0);
    Put16(head, 1);
    Put16(head, 32);
    Put32(head, uint32_t(bodies.back().size()));
    Put32(head, offset);
    offset += uint32_t(bodies.back().size());
  }
  for (const std::string& b : bodies) head += b;
  return head;
}
