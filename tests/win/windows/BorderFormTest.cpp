// The extended border window of a skinned form: a layered window around the form that is
// never activated, follows the form's moves, sizes, activation, hiding and minimizing, and
// leaves nothing behind.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkBorderForm.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

class TBorderedForm : public TFramedTestForm {
 public:
  explicit TBorderedForm(TComponent* owner) : TFramedTestForm(owner) {
    SetBounds(150, 120, 300, 200);
  }
  const wchar_t* ClassName() const override { return L"TBorderedForm"; }
};

class BorderForm : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager([](TsSkinManager& m) { m.SetExtendedBorders(true); });
    ASSERT_TRUE(manager->ExtendedBorders());
  }
  TBorderedForm* ShowForm() {
    auto* f = Application->CreateForm<TBorderedForm>();
    ShowAndActivate(f);
    return f;
  }
  // The border's rectangle is the form's grown by the shadow margins.
  void ExpectAround(HWND form, HWND border) {
    RECT f, b;
    GetWindowRect(form, &f);
    GetWindowRect(border, &b);
    const TRect& m = manager->ShadowImages().Margins;
    EXPECT_EQ(b.left, f.left - m.Left);
    EXPECT_EQ(b.top, f.top - m.Top);
    EXPECT_EQ(b.right, f.right + m.Right);
    EXPECT_EQ(b.bottom, f.bottom + m.Bottom);
  }
};

TEST(BorderFormImage, TheShadowLiesAroundTheFormOnly) {
  InstallDibBitmapStorage();
  TzkBitmap shadow = DrawActiveShadow();
  const TRect margins(11, 7, 11, 11);
  TzkBitmap img = RenderShadowBorder(shadow, margins, 100, 60);
  ASSERT_EQ(img.Width(), 122);
  ASSERT_EQ(img.Height(), 78);
  EXPECT_EQ(img.ScanLine(40)[60 * 4 + 3], 0) << "nothing under the form";
  EXPECT_EQ(img.ScanLine(0)[0 * 4 + 3], 0) << "the outer edge fades to nothing";
  EXPECT_GT(img.ScanLine(40)[8 * 4 + 3], 0) << "shadow at the left";
  EXPECT_GT(img.ScanLine(74)[60 * 4 + 3], 0) << "shadow below";
  SetBitmapStorageFactory(nullptr);
}

TEST_F(BorderForm, TheBorderIsLayeredNeverActiveAndFollowsTheForm) {
  TBorderedForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->ExtBorder(), nullptr);
  HWND border = p->ExtBorder()->Window();
  HWND form = f->WindowHandle();
  const LONG ex = GetWindowLongW(border, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  TWinControl* c = TWinControl::FindControl(border);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Tag(), -98);
  EXPECT_TRUE(IsWindowVisible(border));
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(SendMessageW(border, WM_MOUSEACTIVATE, WPARAM(border), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  ExpectAround(form, border);
  // Moves and sizes.
  SetWindowPos(form, nullptr, 200, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectAround(form, border);
  SetWindowPos(form, nullptr, 0, 0, 420, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectAround(form, border);
  // Hidden, shown and minimized with the form, and still not active after the form is.
  ShowWindow(form, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(border));
  ShowWindow(form, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(border));
  ShowWindow(form, SW_MINIMIZE);
  EXPECT_FALSE(IsWindowVisible(border));
  ShowWindow(form, SW_RESTORE);
  SetActiveWindow(form);
  Pump();
  EXPECT_TRUE(IsWindowVisible(border));
  EXPECT_NE(GetActiveWindow(), border);
  ExpectAround(form, border);
  // Switching the extended borders off takes the window away.
  manager->SetExtendedBorders(false);
  EXPECT_EQ(p->ExtBorder(), nullptr);
  EXPECT_FALSE(IsWindow(border));
  delete f;
}

int ThreadWindows() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM p) { return ++*reinterpret_cast<int*>(p), TRUE; },
                    LPARAM(&n));
  return n;
}

TEST_F(BorderForm, ASkinChangeFadesTheFormWithItsBorderAndGivesEverythingBack) {
  TBorderedForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->ExtBorder(), nullptr);
  HWND form = f->WindowHandle();
  ASSERT_TRUE(manager->AnimEffects().SkinChanging.Active);
  const int windows = ThreadWindows();
  manager->SetHueOffset(40);  // reloads the skin and cross-fades
  Pump();
  EXPECT_FALSE(zkSkinAnimating);
  EXPECT_FALSE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_LAYERED) << "the form's own alpha back";
  ASSERT_NE(p->ExtBorder(), nullptr);
  EXPECT_TRUE(IsWindowVisible(p->ExtBorder()->Window()));
  ExpectAround(form, p->ExtBorder()->Window());
  EXPECT_EQ(ThreadWindows(), windows) << "the temporary window is gone";
  // Drawing works again after the frozen change: the form repaints its frame.
  EXPECT_EQ(SendMessageW(form, WM_SETREDRAW, TRUE, 0), 0);
  // A form that blends keeps its alpha value.
  SetWindowLongW(form, GWL_EXSTYLE, GetWindowLongW(form, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(form, 0, 200, LWA_ALPHA);
  manager->SetHueOffset(0);
  Pump();
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  delete f;
}

TEST_F(BorderForm, NothingIsLeftAfterManyForms) {
  auto cycle = [&] {
    auto* f = Application->CreateForm<TBorderedForm>();
    ShowWindow(f->Handle(), SW_SHOWNOACTIVATE);
    ClassifyWindow(f->Handle());
    TsSkinProvider* p = ProviderOf(f);
    ASSERT_NE(p, nullptr);
    ASSERT_NE(p->ExtBorder(), nullptr);
    SendMessageW(f->WindowHandle(), WM_NCACTIVATE, TRUE, 0);
    SetWindowPos(f->WindowHandle(), nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    delete f;
    Pump();
  };
  cycle();
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 20; ++i) cycle();
  }
}

}  // namespace
