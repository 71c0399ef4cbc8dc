#include "skin/paint/zkMenuLayout.h"

#include <gtest/gtest.h>

TEST(MenuLayout, ItemKindsFollowTheCaption) {
  EXPECT_EQ(MenuItemTypeOf(L"-", false), smDivider);
  EXPECT_EQ(MenuItemTypeOf(L"-", true), smDivider);
  EXPECT_EQ(MenuItemTypeOf(L"-Group-", false), smCaption);
  EXPECT_EQ(MenuItemTypeOf(L"--", false), smCaption);
  EXPECT_EQ(MenuItemTypeOf(L"-Open", false), smNormal);
  EXPECT_EQ(MenuItemTypeOf(L"Open-", false), smNormal);
  EXPECT_EQ(MenuItemTypeOf(L"File", true), smTopLine);
  EXPECT_EQ(MenuItemTypeOf(L"", false), smNormal);
  EXPECT_EQ(CaptionItemText(L"-Group-"), L"Group");
  EXPECT_EQ(CaptionItemText(L"--"), L"");
  EXPECT_EQ(WithoutAmpersands(L"&File && &Edit"), L"File  Edit");
}

TEST(MenuLayout, TextUnitRoundsHalvesToEven) {
  EXPECT_EQ(MenuTextUnit(13), 16);  // 16.25
  EXPECT_EQ(MenuTextUnit(14), 18);  // 17.5 -> 18
  EXPECT_EQ(MenuTextUnit(10), 12);  // 12.5 -> 12
  EXPECT_EQ(MenuTextUnit(15), 19);  // 18.75
  EXPECT_EQ(MenuTextUnit(0), 0);
}

TEST(MenuLayout, ItemSizes) {
  const TzkMenuSpacing s;  // margin 2, spacing 6
  EXPECT_EQ(MenuItemHeight(smDivider, 16, 16, s), 2);
  EXPECT_EQ(MenuItemHeight(smCaption, 16, 32, s), 20);  // images do not count
  EXPECT_EQ(MenuItemHeight(smNormal, 14, 16, s), 20);   // max(t, 16) + 4
  EXPECT_EQ(MenuItemHeight(smNormal, 18, 16, s), 22);
  EXPECT_EQ(MenuItemWidth(16, 50, s, 0), 32 + 50 + 6 + 6);
  EXPECT_EQ(MenuItemWidth(16, 50, s, 32), 32 + 50 + 6 + 6 + 32);
  EXPECT_EQ(MenuCaptionLeft(16, s), 26);
}

TEST(MenuLayout, MenuSizeAddsColumnsAndFrame) {
  EXPECT_EQ(MenuSizeOf({}, 3).cx, 6);
  const TSize one = MenuSizeOf({{100, 20, false}, {80, 22, false}}, 3);
  EXPECT_EQ(one.cx, 100 + 12 + 6);
  EXPECT_EQ(one.cy, 42 + 6);
  // A break starts a second column 4 pixels on; the tallest column gives the height.
  const TSize two = MenuSizeOf({{100, 20, false}, {80, 22, false}, {60, 50, true}}, 3);
  EXPECT_EQ(two.cx, (100 + 12) + 4 + (60 + 12) + 6);
  EXPECT_EQ(two.cy, 50 + 6);
  // A break on the first item starts no empty column.
  EXPECT_EQ(MenuSizeOf({{40, 10, true}}, 0).cx, 52);
}

TEST(MenuLayout, BordersBandsAndDividers) {
  EXPECT_EQ(AutomaticMenuBorder(false, 5), 0);
  EXPECT_EQ(AutomaticMenuBorder(true, 0), 3);
  EXPECT_EQ(AutomaticMenuBorder(true, -2), 3);
  EXPECT_EQ(AutomaticMenuBorder(true, 5), 5);
  const TzkMenuSpacing s;
  const TzkMenuBands plain = MenuBandsOf(TSize(120, 100), 3, 0, 16, s);
  EXPECT_EQ(plain.IconBand, TRect(3, 3, 3 + 24, 97));
  EXPECT_TRUE(plain.ExtraLine.IsEmpty());
  const TzkMenuBands lined = MenuBandsOf(TSize(120, 100), 3, 32, 16, s);
  EXPECT_EQ(lined.ExtraLine, TRect(3, 3, 35, 97));
  EXPECT_EQ(lined.IconBand.Left, 35);
  // A divider never starts inside the icon band.
  const TzkSpan inside = DividerSpan(3, 117, 0, 27, s);
  EXPECT_EQ(inside.From, 29);
  EXPECT_EQ(inside.To, 117 - 10);
  const TzkSpan past = DividerSpan(40, 117, 0, 27, s);
  EXPECT_EQ(past.From, 48);
}

TEST(MenuLayout, BackspaceCaptionsAreRightAligned) {
  const TzkMenuCaption plain = MenuCaptionOf(L"Open");
  EXPECT_EQ(plain.Text, L"Open");
  EXPECT_FALSE(plain.RightAligned);
  const TzkMenuCaption right = MenuCaptionOf(L"\bHelp");
  EXPECT_EQ(right.Text, L"Help      ");
  EXPECT_TRUE(right.RightAligned);
  EXPECT_FALSE(MenuCaptionOf(L"").RightAligned);
}
