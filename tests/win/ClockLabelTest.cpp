// The big clock of the main window sizes itself to its text: every digit shows for lists
// running for up to 99,999 hours, whatever face the system draws the clock with.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

SIZE Extent(const TFont& font, const std::wstring& text) {
  TWindowDc screen(nullptr);
  TSelectObject selected(screen.Get(), font.Handle());
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), text.c_str(), int(text.size()), &size);
  return size;
}

TEST(ClockLabel, EveryDigitShowsUpToNinetyNineThousandHours) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm(false);
  TLabel* clock = form->sLabel1;
  EXPECT_TRUE(clock->AutoSize());
  const int room = clock->Parent()->ClientRect().Width();
  for (const wchar_t* text : {L"00:00:00", L"207:51:21", L"99999:59:59"}) {
    clock->SetCaption(text);
    const SIZE size = Extent(clock->Font(), text);
    EXPECT_GE(clock->Width(), size.cx) << text;
    EXPECT_GE(clock->Height(), size.cy) << text;
    EXPECT_LE(clock->Left() + clock->Width(), room) << text << ": cut by the group box";
  }
  // Back to a short time: the clock shrinks again.
  clock->SetCaption(L"00:00:01");
  EXPECT_EQ(clock->Width(), Extent(clock->Font(), L"00:00:01").cx);
  delete form;
  Pump();
}

}  // namespace
