// The message box of the skin engine: captions by kind and the style word for every
// combination of asked-for buttons.
#include <gtest/gtest.h>

#include "skin/data/zkMessageBoxStyle.h"

namespace {

constexpr unsigned kSetMask = 0xF;

// The buttons each platform set shows.
unsigned ButtonsShown(unsigned set) {
  switch (set) {
    case 0: return mbtOK;
    case 1: return mbtOK | mbtCancel;
    case 2: return mbtAbort | mbtRetry | mbtIgnore;
    case 3: return mbtYes | mbtNo | mbtCancel;
    case 4: return mbtYes | mbtNo;
    case 5: return mbtRetry | mbtCancel;
    default: return 0;
  }
}

TEST(MessageBoxStyle, CaptionsAndIconsFollowTheKind) {
  EXPECT_EQ(MessageBoxCaptionOf(mkWarning), "Warning");
  EXPECT_EQ(MessageBoxCaptionOf(mkError), "Error");
  EXPECT_EQ(MessageBoxCaptionOf(mkInformation), "Information");
  EXPECT_EQ(MessageBoxCaptionOf(mkConfirmation), "Confirm");
  EXPECT_EQ(MessageBoxCaptionOf(17), "Warning");
  EXPECT_EQ(MessageBoxStyleOf(mkWarning, mbtOK), 0x50030u);
  EXPECT_EQ(MessageBoxStyleOf(mkError, mbtOK), 0x50010u);
  EXPECT_EQ(MessageBoxStyleOf(mkInformation, mbtOK), 0x50040u);
  EXPECT_EQ(MessageBoxStyleOf(mkConfirmation, mbtYes | mbtNo), 0x50024u);
}

// Every one of the 256 combinations of the eight buttons (and each with and without Help):
// the platform set shows every button asked for when one set can, never shows a button of
// a lower rank than one dropped, and Help adds only the help flag.
TEST(MessageBoxStyle, EveryButtonCombinationGetsTheSetOfItsStrongestButton) {
  const unsigned all[] = {mbtYes, mbtNo, mbtOK, mbtCancel, mbtAbort, mbtRetry, mbtIgnore};
  for (unsigned combo = 0; combo < 128; ++combo) {
    unsigned asked = 0;
    for (int i = 0; i < 7; ++i)
      if (combo & (1u << i)) asked |= all[i];
    const unsigned style = MessageBoxStyleOf(mkWarning, asked);
    const unsigned set = style & kSetMask;
    SCOPED_TRACE(asked);
    EXPECT_EQ(style & ~kSetMask, 0x50030u);
    EXPECT_EQ(MessageBoxStyleOf(mkWarning, asked | mbtHelp), style | 0x4000u);
    const unsigned shown = ButtonsShown(set);
    ASSERT_NE(shown, 0u);
    if (asked & mbtOK) {
      // OK wins; Cancel joins it when asked for.
      EXPECT_EQ(shown, (asked & mbtCancel) ? mbtOK | mbtCancel : unsigned(mbtOK));
    } else if (asked & (mbtAbort | mbtIgnore)) {
      EXPECT_EQ(set, 2u);
    } else if (asked & (mbtYes | mbtNo)) {
      EXPECT_EQ(shown & mbtCancel, asked & mbtCancel);
      EXPECT_TRUE(shown & mbtYes);
    } else if (asked & mbtRetry) {
      EXPECT_EQ(set, 5u);
    } else {
      EXPECT_EQ(set, 0u);  // nothing that picks a set (Cancel alone, or nothing): OK
    }
  }
}

}  // namespace
