// Glow windows: ids that no other owner can take over, the glows closed when a skin is applied
// or removed, when the pointer leaves an edit-style adapter and when the manager goes with its
// form, with no handles left after many cycles.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/controls/sButton.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/windows/zkEditWnd.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

const TRect kControl(100, 100, 160, 122);
const TRect kWhole(0, 0, 60, 22);

int ShowButtonGlow(TsSkinManager& m) {
  const int margin = m.Tables().Sections[size_t(m.IndexOfSection("BUTTON"))].GlowMargin;
  return ShowGlowEffect(kControl, kWhole, "BUTTON", &m, nullptr, 255, margin, "GLOW");
}

class GlowWindows : public SkinnedForm {
 protected:
  void TearDown() override {
    CloseAllGlowEffects();
    SkinnedForm::TearDown();
  }
  TsButton* AddButton() {
    auto* b = new TsButton(form);
    b->SetParent(form);
    b->SetBounds(20, 30, 100, 24);
    b->SetCaption(L"Hot");
    form->Show();
    Pump();
    return b;
  }
  static void Hover(TsButton* b) {
    b->Perform(CM_MOUSELEAVE, 0, LPARAM(b));
    b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  }
};

TEST_F(GlowWindows, IdsAreNeverReusedSoAStaleIdClosesNoOtherOwnersGlow) {
  const int first = ShowButtonGlow(Manager());
  ASSERT_GE(first, 0);
  CloseGlowEffect(first);
  const int second = ShowButtonGlow(Manager());
  ASSERT_GE(second, 0);
  EXPECT_NE(second, first);
  CloseGlowEffect(first);  // the first owner hides its old glow again
  EXPECT_TRUE(GlowEffectOpen(second));
  ASSERT_NE(GlowEffectWindow(second), nullptr);
  EXPECT_TRUE(IsWindowVisible(GlowEffectWindow(second)));

  // After closing everything, new glows still get ids of their own.
  CloseAllGlowEffects();
  const int third = ShowButtonGlow(Manager());
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  CloseGlowEffect(second);
  CloseGlowEffect(first);
  EXPECT_TRUE(GlowEffectOpen(third));
  CloseGlowEffect(third);
  CloseGlowEffect(third);  // twice: nothing the second time
  EXPECT_EQ(GlowEffectsOpen(), 0);
}

// The pointer going from an edit-style window (the task list) straight onto a button: the
// edit's leave comes after the button's enter, and must not take the button's glow.
TEST_F(GlowWindows, ThePointerGoingOnFromAnEditStyleWindowKeepsTheNextControlsGlow) {
  TsButton* b = AddButton();
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 70, 120, 24,
                              form->Handle(), nullptr, nullptr, nullptr);
  auto a = TzkMainWnd::Attach<TzkEditWnd>(edit, true, "", &Manager());
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Application->SetMouseControl(b);
  const int id = b->SkinData().GlowId;
  ASSERT_GE(id, 0);
  SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(GlowEffectOpen(id)) << "the button under the pointer keeps its glow";
  EXPECT_TRUE(b->SkinData().MouseAbove);
  // Gone out of every control: what is left goes with the edit's leave.
  Application->SetMouseControl(nullptr);
  const int stray = ShowButtonGlow(Manager());
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(GlowEffectOpen(stray));
  a.reset();
  DestroyWindow(edit);
}

TEST_F(GlowWindows, ApplyingOrRemovingTheSkinClosesEveryGlowWithoutHandleGrowth) {
  TsButton* b = AddButton();
  Hover(b);
  const int id = b->SkinData().GlowId;
  ASSERT_GE(id, 0);
  HWND glow = GlowEffectWindow(id);
  ASSERT_NE(glow, nullptr);
  // Re-applying the skin closes the glow drawn from the old one.
  Manager().ApplyNewSkin(false);
  EXPECT_FALSE(GlowEffectOpen(id));
  Pump();
  EXPECT_FALSE(IsWindow(glow));
  // The button shows a fresh glow when the pointer comes again.
  Hover(b);
  EXPECT_TRUE(GlowEffectOpen(b->SkinData().GlowId));

  // The new look at once: these cycles are about windows and handles, not the cross-fade.
  Manager().AnimEffects().SkinChanging.Time = 0;
  const auto cycle = [&] {
    Hover(b);
    Manager().SetActive(false);
    EXPECT_EQ(GlowEffectsOpen(), 0);
    Manager().SetActive(true);
    Pump();
  };
  cycle();
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 1000 && !HasFailure(); ++i) cycle();
    EXPECT_EQ(GlowEffectsOpen(), 0);
  }
}

TEST(GlowWindowsOwnedManager, AManagerGoingWithItsFormClosesItsGlowsAtOnce) {
  auto* owner = Application->CreateForm<TForm>();
  auto* manager = new TsSkinManager(owner);
  manager->InternalSkins().push_back(InternalStoredSkin());
  manager->SetSkinName(kInternalSkinName);
  ASSERT_TRUE(manager->SkinData().Active);
  const int id = ShowButtonGlow(*manager);
  ASSERT_GE(id, 0);
  HWND glow = GlowEffectWindow(id);
  ASSERT_NE(glow, nullptr);
  // As at program end: the form frees the manager; no message is handled after that.
  delete owner;
  EXPECT_FALSE(GlowEffectOpen(id));
  EXPECT_FALSE(IsWindow(glow));
  CloseGlowEffect(id);
  CloseAllGlowEffects();
  EXPECT_EQ(GlowEffectsOpen(), 0);
}

class GlowAndEditAdapter : public AdapterForm {};

TEST_F(GlowAndEditAdapter, ThePointerLeavingAnEditStyleAdapterClosesEveryGlow) {
  HWND edit = Child(L"Edit", L"text", WS_BORDER, TRect(20, 20, 140, 44));
  auto a = TzkMainWnd::Attach<TzkEditWnd>(edit, true, "", &Manager());
  const int id = ShowButtonGlow(Manager());
  ASSERT_GE(id, 0);
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(GlowEffectOpen(id));
  SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(GlowEffectOpen(id));
  EXPECT_EQ(GlowEffectsOpen(), 0);
  a.reset();
  DestroyWindow(edit);
}

}  // namespace
