#include "app/IconFileCheck.h"

#include <cstdint>

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

uint32_t Little(const std::string& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + size_t(i)]);
  return value;
}

// An image's data is a bitmap (starting with the size of its header) or a PNG picture.
bool IsImageData(const std::string& bytes, size_t at, size_t size) {
  if (size >= 8 && bytes.compare(at, 8, "\x89PNG\r\n\x1A\n") == 0) return true;
  if (size < 4) return false;
  const uint32_t header = Little(bytes, at, 4);
  return (header == 12 || header == 40 || header == 108 || header == 124) && header <= size;
}

std::string ImageName(const std::string& bytes, size_t entry, uint32_t index) {
  const auto side = [&](size_t at) {
    const unsigned value = static_cast<unsigned char>(bytes[at]);
    return std::to_string(value == 0 ? 256 : value);  // 0 stands for 256 pixels
  };
  return "image " + std::to_string(index + 1) + " (" + side(entry) + " x " + side(entry + 1) + ")";
}

}  // namespace

std::string IconFileDamage(const std::string& bytes) {
  if (bytes.empty()) return "the file is empty";
  if (bytes.size() < kHeaderSize)
    return "the file is too short to be an icon (" + std::to_string(bytes.size()) + " bytes)";
  if (Little(bytes, 0, 2) != 0 || Little(bytes, 2, 2) != 1) return "the file is not an icon";
  const uint32_t count = Little(bytes, 4, 2);
  if (count == 0) return "the file holds no images";
  if (bytes.size() < kHeaderSize + kEntrySize * count)
    return "the file is cut short inside its list of " + std::to_string(count) + " images";
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = kHeaderSize + kEntrySize * i;
    const uint32_t size = Little(bytes, entry + 8, 4);
    const uint32_t offset = Little(bytes, entry + 12, 4);
    if (size == 0) return ImageName(bytes, entry, i) + " is empty";
    if (offset > bytes.size() || size > bytes.size() - offset)
      return ImageName(bytes, entry, i) + " lies beyond the end of the file (the file is cut short)";
    if (!IsImageData(bytes, offset, size))
      return ImageName(bytes, entry, i) + " holds neither a bitmap nor a PNG picture";
  }
  return {};
}
