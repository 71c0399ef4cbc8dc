#include <gtest/gtest.h>

#include "skin/controls/sDecimalSpinValue.h"

namespace {

TsDecimalSpinValue HoursBox(double minValue = 0, double maxValue = 23) {
  TsDecimalSpinValue v;
  v.MinValue = minValue;
  v.MaxValue = maxValue;
  v.DecimalPlaces = 0;
  return v;
}

TEST(DecimalSpinValue, SetValueClampsIntoTheLimits) {
  TsDecimalSpinValue v = HoursBox();
  EXPECT_EQ(v.SetValue(25), u"23");
  EXPECT_EQ(v.StoredValue(), 23);
  EXPECT_EQ(v.SetValue(-1), u"0");
  TsDecimalSpinValue free = HoursBox(0, 0);
  EXPECT_EQ(free.SetValue(-7), u"-7");
}

TEST(DecimalSpinValue, InvertedLimitsSplitAtMinValue) {
  TsDecimalSpinValue v = HoursBox(10, 5);
  EXPECT_EQ(v.CheckValue(3), 10);
  EXPECT_EQ(v.CheckValue(12), 5);
  EXPECT_EQ(v.CheckValue(7), 10);
  EXPECT_EQ(v.SetValue(3), u"10");  // stored unclamped, shown through CheckValue
  EXPECT_EQ(v.StoredValue(), 3);
}

TEST(DecimalSpinValue, FormatsWithTheDecimalPlacesAndTheSystemSeparator) {
  TsDecimalSpinValue v;
  v.DecimalSeparator = u',';
  EXPECT_EQ(v.SetValue(1.5), u"1,50");
  EXPECT_EQ(v.SetDecimalPlaces(0, u"1,50"), u"2");
  EXPECT_EQ(v.Format(-0.001), u"0");
  EXPECT_EQ(HoursBox().Format(12), u"12");
}

TEST(DecimalSpinValue, TypedTextIsTheValueUntilSetAgain) {
  TsDecimalSpinValue v = HoursBox();
  v.SetValue(4);
  EXPECT_EQ(v.Value(u"garbage"), 4);  // not typed: the stored value
  ASSERT_TRUE(v.IsValidChar(u'1', u"", 0));
  EXPECT_EQ(v.Value(u"12"), 12);
  EXPECT_EQ(v.Value(u""), 0);
  EXPECT_EQ(v.Value(u"-"), 0);
  EXPECT_EQ(v.Value(u" 7 "), 7);
  EXPECT_EQ(v.Value(u"1e2"), 100);
}

TEST(DecimalSpinValue, KeyFilter) {
  TsDecimalSpinValue v = HoursBox();
  EXPECT_FALSE(v.IsValidChar(u'.', u"12", 2)) << "no separator without decimal places";
  EXPECT_FALSE(v.IsValidChar(u'a', u"12", 2));
  EXPECT_FALSE(v.IsValidChar(13, u"12", 2)) << "Enter is not a text character";
  EXPECT_TRUE(v.IsValidChar(8, u"12", 2));
  EXPECT_FALSE(v.IsValidChar(u'-', u"12", 1)) << "sign only at the start";
  EXPECT_TRUE(v.IsValidChar(u'-', u"12", 0));
  EXPECT_FALSE(v.IsValidChar(u'+', u"-12", 0)) << "only one sign";

  TsDecimalSpinValue d;
  d.DecimalSeparator = u',';
  EXPECT_TRUE(d.IsValidChar(u',', u"12", 2));
  EXPECT_FALSE(d.IsValidChar(u'.', u"12", 2)) << "only the system separator";
  EXPECT_FALSE(d.IsValidChar(u',', u"1,2", 3)) << "one separator";
  EXPECT_FALSE(d.IsValidChar(u',', u"12-", 1)) << "not before a sign";
  d.UseSystemDecSeparator = false;
  EXPECT_TRUE(d.IsValidChar(u'.', u"12", 2));

  TsDecimalSpinValue locked = HoursBox();
  locked.EditorEnabled = false;
  EXPECT_FALSE(locked.IsValidChar(u'5', u"", 0));
  EXPECT_FALSE(locked.IsValidChar(8, u"5", 1));
  EXPECT_FALSE(locked.TextEdited);
}

TEST(DecimalSpinValue, ExitClampsOnlyOutOfRangeTypedValues) {
  TsDecimalSpinValue v = HoursBox();
  v.IsValidChar(u'1', u"", 0);
  std::u16string text;
  EXPECT_FALSE(v.ClampOnExit(u"012", text));
  EXPECT_TRUE(v.ClampOnExit(u"99", text));
  EXPECT_EQ(text, u"23");
  EXPECT_FALSE(v.TextEdited);
}

TEST(DecimalSpinValue, StepsAndWheel) {
  TsDecimalSpinValue v = HoursBox(0, 0);
  v.Increment = 2;
  EXPECT_EQ(v.StepUp(v.SetValue(1)), u"3");
  EXPECT_EQ(v.StepDown(u"3"), u"1");
  EXPECT_EQ(v.Wheel(u"1", 240), u"5");
  EXPECT_EQ(v.Wheel(u"5", -120), u"3");
  EXPECT_EQ(v.Wheel(u"3", 119), u"3") << "less than one notch does nothing";
}

}  // namespace
