#include "skin/controls/sDecimalSpinValue.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool Contains(const std::u16string& text, char16_t c) {
  return text.find(c) != std::u16string::npos;
}

std::u16string Widen(const char* s) {
  std::u16string out;
  for (; *s; ++s) out += char16_t(static_cast<unsigned char>(*s));
  return out;
}

}  // namespace

double TsDecimalSpinValue::CheckValue(double x) const {
  if (MaxValue == MinValue) return x;
  if (x < MinValue) return MinValue;
  if (x <= MaxValue) return x;
  return MaxValue;
}

std::u16string TsDecimalSpinValue::Format(double x) const {
  const int places = DecimalPlaces < 0 ? 0 : (DecimalPlaces > 18 ? 18 : DecimalPlaces);
  char buf[400];
  if (!std::isfinite(x)) x = 0;
  // Beyond 18 significant integer digits fixed notation would invent digits.
  if (std::fabs(x) >= 1e18)
    std::snprintf(buf, sizeof buf, "%.17E", x);
  else
    std::snprintf(buf, sizeof buf, "%.*f", places, x);
  std::u16string text = Widen(buf);
  for (char16_t& c : text)
    if (c == u'.') c = DecimalSeparator;
  // A value that rounds to zero shows no sign.
  if (!text.empty() && text[0] == u'-' &&
      text.find_first_not_of(std::u16string(u"0") + DecimalSeparator, 1) == std::u16string::npos)
    text.erase(0, 1);
  return text;
}

std::u16string TsDecimalSpinValue::SetValue(double x) {
  TextEdited = false;
  value_ = MaxValue <= MinValue ? x : std::fmin(std::fmax(x, MinValue), MaxValue);
  return Format(CheckValue(value_));
}

// A number as the platform reads one: blanks around it, an optional sign, digits with at
// most one decimal separator, and an optional exponent.
bool TsDecimalSpinValue::ParseNumber(const std::u16string& text, double& x) const {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == u' ') ++i;
  while (n > i && text[n - 1] == u' ') --n;
  std::string ascii;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii += char(text[i++]);
  size_t digits = 0;
  bool separator = false;
  for (; i < n; ++i) {
    if (IsDigit(text[i])) {
      ascii += char(text[i]);
      ++digits;
    } else if (text[i] == DecimalSeparator && !separator) {
      ascii += '.';
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii += char(text[i++]);
    size_t expDigits = 0;
    for (; i < n && IsDigit(text[i]) && expDigits < 5; ++i, ++expDigits) ascii += char(text[i]);
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  x = std::strtod(ascii.c_str(), nullptr);
  return std::isfinite(x);
}

double TsDecimalSpinValue::Value(const std::u16string& text) const {
  if (!TextEdited) return value_;
  double x = 0;
  return ParseNumber(text, x) ? x : 0;
}

bool TsDecimalSpinValue::IsSeparator(char16_t key) const {
  return UseSystemDecSeparator ? key == DecimalSeparator : (key == u',' || key == u'.');
}

bool TsDecimalSpinValue::IsValidChar(char16_t key, const std::u16string& text, int selStart) {
  const bool separator = IsSeparator(key);
  const bool sign = key == u'+' || key == u'-';
  bool valid = separator || (key < 32 && key != 13) || sign || IsDigit(key);
  if (valid && separator) {
    const size_t signPos = text.find_first_of(u"+-");
    if (DecimalPlaces <= 0 || Contains(text, key) ||
        (signPos != std::u16string::npos && int(signPos) >= selStart))
      valid = false;
  }
  if (valid && sign && (selStart != 0 || Contains(text, u'+') || Contains(text, u'-')))
    valid = false;
  if (valid && !EditorEnabled && (key == 8 || (key >= 32 && key <= 255))) valid = false;
  if (valid) TextEdited = true;
  return valid;
}

std::u16string TsDecimalSpinValue::SetDecimalPlaces(int places, const std::u16string& text) {
  if (places == DecimalPlaces) return text;
  DecimalPlaces = places;
  return SetValue(CheckValue(Value(text)));
}

bool TsDecimalSpinValue::ClampOnExit(const std::u16string& text, std::u16string& newText) {
  const double v = Value(text);
  if (CheckValue(v) == v) return false;
  newText = SetValue(v);
  return true;
}
