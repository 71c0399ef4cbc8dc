// The main window's task list as the program builds it: a skinned list view whose bars and
// border the skin draws, with the application's row colours still coming through, and whose
// adapter is in place before the window first shows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "skin/data/sSkinManager.h"
#include "skin/windows/zkEditWnd.h"
#include "toolkit/Application.h"

namespace {

TEST(MainListSkin, TheTaskListIsSkinnedWithItsBarsAndRowColours) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm();
  TsListView* list = form->sListView1;
  EXPECT_STREQ(list->ClassName(), L"TsListView");
  EXPECT_EQ(list->SkinData().SkinSection(), "EDIT");
  EXPECT_FALSE(list->ColumnClick());
  auto* a = list->ScrollAdapter();
  ASSERT_NE(a, nullptr);
  for (int i = 0; i < 60; ++i) {
    SetWindowTextW(form->sEdit1->Handle(), (L"task " + std::to_wstring(i)).c_str());
    SendMessageW(form->sButton1->Handle(), BM_CLICK, 0, 0);
  }
  Pump();
  a->RefreshBars(true);
  EXPECT_TRUE(a->VertBar().Shown);
  RedrawWindow(list->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  LetPaintReachScreen();
  // The bar on the screen is the one the skin composes.
  TzkBitmap bar;
  a->RenderBar(SB_VERT, bar, bpNone, bpNone, -1);
  ASSERT_FALSE(bar.Empty());
  const TRect v = a->BarRect(SB_VERT);
  HDC screen = GetDC(nullptr);
  for (int y : {v.Height() / 2, v.Height() - 40}) {
    const uint8_t* p = bar.ScanLine(y) + (v.Width() / 2) * 3;
    EXPECT_EQ(GetPixel(screen, v.Left + v.Width() / 2, v.Top + y), RGB(p[2], p[1], p[0])) << y;
  }
  // Rows keep the application's colours: white for even rows, the 3-D light colour for odd.
  ListView_EnsureVisible(list->Handle(), 0, FALSE);
  UpdateWindow(list->Handle());
  LetPaintReachScreen();
  for (int row = 0; row < 2; ++row) {
    RECT r{};
    ListView_GetItemRect(list->Handle(), row, &r, LVIR_BOUNDS);
    POINT pt{r.left + 380, (r.top + r.bottom) / 2};
    ClientToScreen(list->Handle(), &pt);
    EXPECT_EQ(GetPixel(screen, pt.x, pt.y), row % 2 ? GetSysColor(COLOR_3DLIGHT) : RGB(255, 255, 255)) << row;
  }
  ReleaseDC(nullptr, screen);
  delete form;
  Pump();
}

// The paints the list's window gets, taken from the queue or sent to it (UpdateWindow), and
// whether the list had its adapter at the first one.
struct TPaintWatch {
  static inline TsListView* list = nullptr;
  static inline int paints = 0;
  static inline bool adapterAtFirst = false;
  static void Seen(HWND wnd, UINT msg) {
    if (msg != WM_PAINT || !list->HandleAllocated() || wnd != list->WindowHandle()) return;
    if (paints++ == 0) adapterAtFirst = list->ScrollAdapter() != nullptr;
  }
  static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION) Seen(m->hwnd, m->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK Taken(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) Seen(m->hwnd, m->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST(MainListSkin, TheListHasItsAdapterBeforeItsFirstPaintAndPaintsOnceAtShow) {
  TMainWindowParts parts;
  // Enough rows for a vertical bar, which the adapter draws from the first paint.
  const std::string start = parts.locale.DateTimeToText(parts.locale.now);
  std::string file = start + "\r\n";
  for (int i = 0; i < 60; ++i) file += "Task " + std::to_string(i) + "<#>" + start + "<#>notend<#>false<#>notime<#>0\r\n";
  WriteBytes(parts.folder.Path() + L"save.txt", file);
  // A pointer over the list would repaint it once more for its hot look.
  SetCursorPos(3, 3);
  TPaintWatch::paints = 0;
  HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, TPaintWatch::Sent, nullptr, GetCurrentThreadId());
  HHOOK taken = SetWindowsHookExW(WH_GETMESSAGE, TPaintWatch::Taken, nullptr, GetCurrentThreadId());
  TForm1* form = parts.CreateMainForm(false);
  TsListView* list = form->sListView1;
  TPaintWatch::list = list;
  form->Show();
  Pump();
  UnhookWindowsHookEx(sent);
  UnhookWindowsHookEx(taken);
  ASSERT_TRUE(list->HandleAllocated());
  EXPECT_NE(list->ScrollAdapter(), nullptr);
  EXPECT_EQ(TPaintWatch::paints, 1);
  EXPECT_TRUE(TPaintWatch::adapterAtFirst);
  EXPECT_FALSE(GetUpdateRect(list->Handle(), nullptr, FALSE)) << "nothing left to paint";
  ASSERT_EQ(ListView_GetItemCount(list->Handle()), 60);
  auto* a = list->ScrollAdapter();
  EXPECT_TRUE(a->VertBar().Shown);
  // The bar on the screen is the one the skin composes.
  TzkBitmap bar;
  a->RenderBar(SB_VERT, bar, bpNone, bpNone, -1);
  ASSERT_FALSE(bar.Empty());
  const TRect v = a->BarRect(SB_VERT);
  const uint8_t* p = bar.ScanLine(v.Height() - 40) + (v.Width() / 2) * 3;
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, v.Left + v.Width() / 2, v.Top + v.Height() - 40), RGB(p[2], p[1], p[0]));
  ReleaseDC(nullptr, screen);
  delete form;
  Pump();
}

// The form sets the list's colours while it loads; a refresh of the skin gives the list the
// skin's colours, through the adapter that draws its frame.
TEST(MainListSkin, ARefreshGivesTheTaskListTheSkinsColours) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm();
  TsListView* list = form->sListView1;
  ASSERT_NE(list->ScrollAdapter(), nullptr);
  const TsGeneralData* edit = list->SkinData().Section();
  ASSERT_NE(edit, nullptr);
  list->Font().SetColor(clBlack);
  form->sSkinManager1->RepaintAll();
  EXPECT_EQ(list->Font().Color(), TColor(edit->FontColor.Color));
  EXPECT_EQ(ColorToRGB(list->Color()), ColorToRGB(edit->Color));
  EXPECT_NE(list->ScrollAdapter(), nullptr);
  delete form;
  Pump();
}

}  // namespace
