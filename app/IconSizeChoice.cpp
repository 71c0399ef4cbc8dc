#include "app/IconSizeChoice.h"

#include <algorithm>
#include <climits>

#include "app/IconFileCheck.h"

namespace {

constexpr int kDesignDpi = 96;
constexpr int kStatusIconDesignSize = 16;

}  // namespace

int StatusIconSizeForDpi(int dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  // Rounded half up, as every other length of the layout.
  return (kStatusIconDesignSize * dpi + kDesignDpi / 2) / kDesignDpi;
}

std::vector<int> IconFileSizes(const std::string& bytes) {
  std::vector<int> sizes;
  if (!IconFileDamage(bytes).empty()) return sizes;
  const auto byteAt = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
  const size_t count = byteAt(4) | size_t(byteAt(5)) << 8;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * i;
    const int width = byteAt(entry) == 0 ? 256 : byteAt(entry);
    const int height = byteAt(entry + 1) == 0 ? 256 : byteAt(entry + 1);
    if (width == height) sizes.push_back(width);
  }
  return sizes;
}

int ChooseIconSize(const std::vector<int>& available, int wanted) {
  int larger = INT_MAX, largest = 0;
  for (int size : available) {
    if (size == wanted) return size;
    if (size > wanted) larger = std::min(larger, size);
    largest = std::max(largest, size);
  }
  return larger != INT_MAX ? larger : largest;
}
