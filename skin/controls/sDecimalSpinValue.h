// The value behaviour of the decimal spin edit, free of any window: limits, stepping,
// formatting into the edit's text, reading the typed text back, and the key filter.
// The Win32 spin edits own one and feed it the edit's text and caret.
#pragma once

#include <string>

class TsDecimalSpinValue {
 public:
  // Settings (published properties of the spin edit). MinValue == MaxValue: no limits.
  double MinValue = 0;
  double MaxValue = 0;
  double Increment = 1;
  int DecimalPlaces = 2;
  bool UseSystemDecSeparator = true;
  bool EditorEnabled = true;
  char16_t DecimalSeparator = u'.';  // the platform's
  // True when the text was typed since the value was last set.
  bool TextEdited = false;

  // The value: the typed text parsed (0 when it does not parse) while TextEdited, else the
  // stored value.
  double Value(const std::u16string& text) const;
  double StoredValue() const { return value_; }

  // Stores x (clamped when there are limits) and returns the text to show for it.
  std::u16string SetValue(double x);

  // x clamped as the limits say; with MaxValue < MinValue everything below MinValue gives
  // MinValue and everything else MaxValue.
  double CheckValue(double x) const;

  // Fixed-point text with exactly DecimalPlaces digits after the separator.
  std::u16string Format(double x) const;

  // Whether a typed character may go into the text at the caret (selStart); an accepted
  // character sets TextEdited.
  bool IsValidChar(char16_t key, const std::u16string& text, int selStart);

  // The text for a changed DecimalPlaces (re-clamped and re-formatted).
  std::u16string SetDecimalPlaces(int places, const std::u16string& text);

  // Stepping: up/down by Increment, and by (delta div 120) increments for the wheel.
  std::u16string StepUp(const std::u16string& text) { return SetValue(Value(text) + Increment); }
  std::u16string StepDown(const std::u16string& text) { return SetValue(Value(text) - Increment); }
  std::u16string Wheel(const std::u16string& text, int delta) {
    return SetValue(Value(text) + double(delta / 120) * Increment);
  }

  // On leaving the control: a typed value outside the limits is clamped and re-formatted
  // (true and the new text); one inside keeps its text (false).
  bool ClampOnExit(const std::u16string& text, std::u16string& newText);

 private:
  bool IsSeparator(char16_t key) const;
  bool ParseNumber(const std::u16string& text, double& x) const;

  double value_ = 0;
};
