// The program's windows at other display scales: WM_DPICHANGED sent as the platform sends it
// (the new DPI twice in WParam, the suggested window rectangle in LParam) lays them out
// again, and the way back to 96 DPI gives exactly the old layout.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/IconSizeChoice.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/WideText.h"

namespace {

// What a form's layout is made of: every control's bounds and font height, the client size,
// the window rectangle and the list's columns.
struct TLayout {
  std::map<const TControl*, TRect> Bounds;
  std::map<const TControl*, int> FontHeights;
  TRect Window;
  int ClientWidth = 0, ClientHeight = 0;
  std::vector<int> Columns;

  bool operator==(const TLayout& o) const {
    return Bounds == o.Bounds && FontHeights == o.FontHeights && Window == o.Window &&
           ClientWidth == o.ClientWidth && ClientHeight == o.ClientHeight && Columns == o.Columns;
  }
};

void Collect(const TControl* c, TLayout& layout) {
  layout.Bounds[c] = c->BoundsRect();
  layout.FontHeights[c] = c->Font().Height();
  if (auto* w = dynamic_cast<const TWinControl*>(c))
    for (int i = 0; i < w->ControlCount(); ++i) Collect(w->Controls(i), layout);
}

TLayout LayoutOf(TCustomForm* form, TListView* list = nullptr) {
  TLayout layout;
  for (int i = 0; i < form->ControlCount(); ++i) Collect(form->Controls(i), layout);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  layout.Window = FromRECT(r);
  GetClientRect(form->Handle(), &r);
  layout.ClientWidth = r.right;
  layout.ClientHeight = r.bottom;
  if (list)
    for (int i = 0; i < list->ColumnCount(); ++i)
      layout.Columns.push_back(ListView_GetColumnWidth(list->Handle(), i));
  return layout;
}

// The platform's notice of a new DPI with the window rectangle it suggests.
void SendDpiChanged(TCustomForm* form, int dpi, const RECT& suggested) {
  RECT r = suggested;
  SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
  Pump();
}

// The window rectangle scaled about its top-left corner, as the platform suggests it.
RECT Suggested(const TRect& window, int dpi) {
  return RECT{window.Left, window.Top, window.Left + ScaleForDpi(window.Width(), dpi),
              window.Top + ScaleForDpi(window.Height(), dpi)};
}

// A design rectangle at a DPI: each edge scaled.
TRect ScaledEdges(const TRect& r, int dpi) {
  return TRect(ScaleForDpi(r.Left, dpi), ScaleForDpi(r.Top, dpi), ScaleForDpi(r.Right, dpi),
               ScaleForDpi(r.Bottom, dpi));
}

// Whether a control's caption fits inside its client area in the control's font.
::testing::AssertionResult CaptionFits(TWinControl* control) {
  TWindowDc screen(nullptr);
  TSelectObject font(screen.Get(), control->Font().Handle());
  const std::wstring text = control->Caption();
  SIZE extent = {};
  GetTextExtentPoint32W(screen.Get(), text.c_str(), int(text.size()), &extent);
  RECT client;
  GetClientRect(control->Handle(), &client);
  if (extent.cx <= client.right && extent.cy <= client.bottom) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << WideToUtf8(text) << ": text " << extent.cx << " x " << extent.cy
                                       << " in " << client.right << " x " << client.bottom
                                       << ", font height " << control->Font().Height();
}

// The CM_DPICHANGED notices a form hears, as (old, new) pairs.
class TDpiNotices {
 public:
  explicit TDpiNotices(TControl* control) : control_(control), previous_(control->WindowProc) {
    control->WindowProc = [this](TMessage& m) {
      if (m.Msg == CM_DPICHANGED) heard.push_back({int(m.WParam), int(m.LParam)});
      previous_(m);
    };
  }
  ~TDpiNotices() { control_->WindowProc = previous_; }
  std::vector<std::pair<int, int>> heard;

 private:
  TControl* control_;
  std::function<void(TMessage&)> previous_;
};

class MainWindowScale : public ::testing::Test, protected TMainWindowParts {
 protected:
  void SetUp() override {
    TForm1Setup setup = FormSetup();
    setup.OpenUrl = [](const std::wstring&) {};
    form = CreateMainForm(setup, false);
    dialog = Application->CreateForm<TForm2>(form);
    form->TimeLimitDialog = dialog;
    form->Timer1->SetEnabled(false);
    form->Show();
    Pump();
  }
  void TearDown() override {
    delete dialog;
    delete form;
    Pump();
  }

  TForm1* form = nullptr;
  TForm2* dialog = nullptr;
};

TEST_F(MainWindowScale, TheMainWindowTakesEveryScaleAndComesBackExactly) {
  SetWindowTextW(form->sEdit1->Handle(), L"a task");
  SendMessageW(form->sButton1->Handle(), BM_CLICK, 0, 0);
  Pump();
  const TLayout designed = LayoutOf(form, form->sListView1);
  ASSERT_EQ(form->Dpi(), 96);
  ASSERT_EQ(designed.ClientWidth, 657);
  ASSERT_EQ(designed.ClientHeight, 451);
  ASSERT_EQ(designed.Columns, (std::vector<int>{400, 118, 118, 0, 0, 0}));
  EXPECT_TRUE(CaptionFits(form->sButton1));
  EXPECT_TRUE(CaptionFits(form->sButton2));
  TDpiNotices notices(form);

  for (const int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const RECT suggested = Suggested(designed.Window, dpi);
    SendDpiChanged(form, dpi, suggested);
    EXPECT_EQ(form->Dpi(), dpi);
    const TLayout scaled = LayoutOf(form, form->sListView1);
    // The test display is too small for the window at 200 %, and the platform keeps a window
    // within the largest size a user could drag it to: there only the place is checked.
    if (suggested.right - suggested.left <= GetSystemMetrics(SM_CXMAXTRACK))
      EXPECT_EQ(scaled.Window, FromRECT(suggested)) << "the window takes the suggested rectangle";
    else
      EXPECT_EQ(scaled.Window.TopLeft(), (TPoint{suggested.left, suggested.top}));
    for (TWinControl* c : std::vector<TWinControl*>{form->sGroupBox1, form->sListView1, form->sEdit1,
                                                    form->sButton1, form->sButton2})
      EXPECT_EQ(c->BoundsRect(), ScaledEdges(designed.Bounds.at(c), dpi)) << WideToUtf8(c->Name());
    EXPECT_EQ(form->Font().Height(), ScaleForDpi(-11, dpi));
    EXPECT_EQ(form->sListView1->Font().Height(), ScaleForDpi(-11, dpi));
    EXPECT_EQ(form->sWebLabel1->CurrentFont()->Height(), ScaleForDpi(-11, dpi));
    EXPECT_EQ(scaled.Columns, (std::vector<int>{ScaleForDpi(400, dpi), ScaleForDpi(118, dpi),
                                                ScaleForDpi(118, dpi), 0, 0, 0}));
    for (TWinControl* button : std::vector<TWinControl*>{form->sButton1, form->sButton2})
      EXPECT_TRUE(CaptionFits(button));

    // The clock: a larger face that still fits the group box.
    EXPECT_LT(form->sLabel1->Font().Height(), designed.FontHeights.at(form->sLabel1));
    EXPECT_LE(form->sLabel1->Left() + form->sLabel1->Width(), form->sGroupBox1->ClientWidth());

    // Status icons of the new size, and rows tall enough for them.
    const int size = StatusIconSizeForDpi(dpi);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(HIMAGELIST(SendMessageW(form->sListView1->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                          &cx, &cy);
    EXPECT_EQ(cx, size);
    EXPECT_EQ(cy, size);
    EXPECT_EQ(form->ImageList1->Count(), 4);
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(form->sListView1->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    EXPECT_GE(row.bottom - row.top, size);
  }
  EXPECT_EQ(notices.heard, (std::vector<std::pair<int, int>>{{96, 120}, {120, 144}, {144, 192}}));

  SendDpiChanged(form, 96, RECT{designed.Window.Left, designed.Window.Top, designed.Window.Right,
                                designed.Window.Bottom});
  EXPECT_EQ(form->Dpi(), 96);
  EXPECT_TRUE(LayoutOf(form, form->sListView1) == designed) << "back at 96 DPI nothing moved";
  int cx = 0, cy = 0;
  ImageList_GetIconSize(form->ImageList1->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 16);
}

TEST_F(MainWindowScale, TheTimeLimitDialogKeepsItsBoxesAndCaptionsWhole) {
  dialog->Show();
  Pump();
  const TLayout designed = LayoutOf(dialog);
  ASSERT_EQ(designed.ClientWidth, 193);
  ASSERT_EQ(designed.ClientHeight, 120);
  for (const int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    SendDpiChanged(dialog, dpi, Suggested(designed.Window, dpi));
    for (TWinControl* c : std::vector<TWinControl*>{dialog->sDecimalSpinEdit1, dialog->sDecimalSpinEdit2,
                                                    dialog->sButton1})
      EXPECT_EQ(c->BoundsRect(), ScaledEdges(designed.Bounds.at(c), dpi)) << WideToUtf8(c->Name());
    EXPECT_TRUE(CaptionFits(dialog->sButton1));
    for (TsDecimalSpinEdit* box : {dialog->sDecimalSpinEdit1, dialog->sDecimalSpinEdit2}) {
      TsEditLabel* label = box->BoundLabel().Label();
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->Font().Height(), ScaleForDpi(-11, dpi));
      // The caption stands above its box, inside the dialog, wide enough for its text.
      EXPECT_LE(label->Top() + label->Height(), box->Top());
      EXPECT_GE(label->Top(), 0);
      EXPECT_EQ(label->Left(), box->Left());
      TWindowDc screen(nullptr);
      TSelectObject font(screen.Get(), label->Font().Handle());
      SIZE extent = {};
      const std::wstring text = label->Caption();
      GetTextExtentPoint32W(screen.Get(), text.c_str(), int(text.size()), &extent);
      EXPECT_GE(label->Width(), extent.cx);
      EXPECT_GE(label->Height(), extent.cy);
    }
  }
  SendDpiChanged(dialog, 96, RECT{designed.Window.Left, designed.Window.Top, designed.Window.Right,
                                  designed.Window.Bottom});
  const TLayout back = LayoutOf(dialog);
  for (const auto& [control, bounds] : designed.Bounds)
    EXPECT_EQ(back.Bounds.at(control), bounds) << WideToUtf8(control->Name()) << " " << WideToUtf8(control->Caption());
  EXPECT_TRUE(back == designed) << "back at 96 DPI nothing moved";
}

TEST_F(MainWindowScale, TwoHundredScaleChangesLeaveNoWindowOrGdiObjectBehind) {
  const TLayout designed = LayoutOf(form, form->sListView1);
  // One round first: fonts and images of every scale made once, caches filled.
  const int dpis[] = {120, 144, 192, 96};
  for (int dpi : dpis) SendDpiChanged(form, dpi, Suggested(designed.Window, dpi));
  {
    TLeakCheck noLeaks(8);
    for (int i = 0; i < 200; ++i) {
      const int dpi = dpis[i % 4];
      SendDpiChanged(form, dpi, Suggested(designed.Window, dpi));
    }
  }
  SendDpiChanged(form, 96, RECT{designed.Window.Left, designed.Window.Top, designed.Window.Right,
                                designed.Window.Bottom});
  EXPECT_TRUE(LayoutOf(form, form->sListView1) == designed);
}

// A plain form: controls moved by the program at another scale keep their new place, and a
// long way through every scale still comes back to the design exactly.
TEST(FormDisplayScale, ScalesFromWhereTheProgramLeftEachControl) {
  TForm* form = Application->CreateForm<TForm>();
  form->SetClientSize(300, 200);
  TButton* a = new TButton(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 75, 25);
  TButton* b = new TButton(form);
  b->SetParent(form);
  b->SetBounds(85, 10, 75, 25);
  form->Show();
  Pump();
  const TRect aDesigned = a->BoundsRect(), bDesigned = b->BoundsRect();
  for (int dpi : {120, 144, 168, 192, 120, 144, 96}) form->ScaleToDpi(dpi);
  EXPECT_EQ(a->BoundsRect(), aDesigned);
  EXPECT_EQ(b->BoundsRect(), bDesigned);
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 200);

  form->ScaleToDpi(144);
  EXPECT_EQ(form->ClientWidth(), 450);
  EXPECT_EQ(a->Left() + a->Width(), b->Left()) << "neighbours that touched still touch";
  b->SetBounds(200, 30, 90, 30);  // the program moves one at 144 DPI
  form->ScaleToDpi(96);
  EXPECT_EQ(b->BoundsRect(), TRect(133, 20, 193, 40));
  form->ScaleToDpi(144);
  EXPECT_EQ(b->BoundsRect(), TRect(200, 30, 290, 60)) << "back at 144 DPI where the program put it";
  EXPECT_EQ(a->BoundsRect(), ScaledEdges(aDesigned, 144));
  delete form;
  Pump();
}

}  // namespace
