// Text helpers of the skin files: ASCII letter case, trimming and number conversion with the
// options file's rules. Skin texts are 8-bit; only ASCII letters change case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);  // equal ignoring ASCII letter case
// Cuts every character up to code 32 (blanks and control characters) from both ends.
std::string_view TrimText(std::string_view text);
// A 32-bit integer: decimal, or hexadecimal after "$", "0x" or "0X", optionally signed.
// Hexadecimal values of up to 8 digits wrap into the signed range ("$FFFFFFFF" is -1).
std::optional<int32_t> ParseInteger(std::string_view text);
// A real number with "." as the decimal separator.
std::optional<double> ParseReal(std::string_view text);
