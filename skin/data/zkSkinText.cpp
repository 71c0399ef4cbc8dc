#include "skin/data/zkSkinText.h"

#include <cmath>
#include <cstdlib>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::string_view TrimText(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * uint64_t(base) + uint64_t(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    const uint32_t bits = uint32_t(value);
    return negative ? int32_t(0u - bits) : int32_t(bits);
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return int32_t(-int64_t(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return int32_t(value);
}

std::optional<double> ParseReal(std::string_view text) {
  // Digits, one optional ".", an optional exponent: checked by hand so that neither the
  // locale nor hexadecimal or "inf" forms of strtod come into play.
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    const size_t start = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == start) return std::nullopt;
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  // The C locale's separator is "."; the program never changes LC_NUMERIC.
  const std::string copy(text);
  const double v = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}
