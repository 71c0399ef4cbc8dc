// Scrolling the main window's 2,000-row skinned task list by pages and by a thumb drag
// across the whole range, each step painted at once, against the same list with the skin
// taken off it (the platform's bars and header). Milliseconds per step and the ratio.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/windows/zkEditWnd.h"
#include "toolkit/Application.h"
#include "skin/data/sSkinView.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}
double Max(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

template <typename Fn>
double TimeStep(Fn fn) {
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  fn();
  QueryPerformanceCounter(&b);
  return BenchSeconds(a, b);
}

// Page steps down from the top until the end.
std::vector<double> PageSteps(HWND list) {
  ListView_EnsureVisible(list, 0, FALSE);
  UpdateWindow(list);
  std::vector<double> steps;
  for (int i = 0; i < 60; ++i)
    steps.push_back(TimeStep([&] {
      SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
      UpdateWindow(list);
    }));
  return steps;
}

// The skinned bar's thumb dragged from the top to the bottom in 80 pointer moves.
std::vector<double> SkinnedDragSteps(HWND list, TzkScrollWnd& a) {
  ListView_EnsureVisible(list, 0, FALSE);
  UpdateWindow(list);
  a.RefreshBars(true);
  const TRect v = a.BarRect(SB_VERT);
  const TzkBarMetrics m = a.VertBar().Metrics(v, a.Skin().Tables());
  const TzkThumb t = ThumbGeometry(m, a.VertBar().Info);
  const int x = v.Left + v.Width() / 2, y0 = v.Top + t.Start + t.Length / 2;
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, y0));
  std::vector<double> steps;
  const int kMoves = 80;
  for (int i = 1; i <= kMoves; ++i) {
    POINT p{x, y0 + (v.Bottom - y0) * i / kMoves};
    ScreenToClient(list, &p);
    steps.push_back(TimeStep([&] {
      SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      UpdateWindow(list);
    }));
  }
  SendMessageW(list, WM_LBUTTONUP, 0, 0);
  return steps;
}

// The same travel on the plain list: the platform scrolls by the rows a drag step covers.
std::vector<double> PlainDragSteps(HWND list, int rows) {
  ListView_EnsureVisible(list, 0, FALSE);
  UpdateWindow(list);
  RECT item{};
  ListView_GetItemRect(list, 0, &item, LVIR_BOUNDS);
  const int rowHeight = std::max<int>(1, item.bottom - item.top);
  std::vector<double> steps;
  const int kMoves = 80;
  for (int i = 1; i <= kMoves; ++i)
    steps.push_back(TimeStep([&] {
      ListView_Scroll(list, 0, rows / kMoves * rowHeight);
      UpdateWindow(list);
    }));
  return steps;
}

void Line(const char* what, const std::vector<double>& skinned, const std::vector<double>& plain) {
  const double s = Median(skinned) * 1e3, p = Median(plain) * 1e3;
  std::printf("%-34s skinned median %7.3f ms (max %7.3f)   plain %7.3f ms   ratio %5.2f\n", what, s,
              Max(skinned) * 1e3, p, p > 0 ? s / p : 0.0);
}

}  // namespace

void RunListScrollBench(TForm1* form) {
  TsListView* list = form->sListView1;
  HWND wnd = list->Handle();
  const int rows = ListView_GetItemCount(wnd);
  TzkScrollWnd* adapter = list->ScrollAdapter();
  TsSkinView* manager = list->SkinData().SkinManager();
  if (!adapter || !manager) {
    std::printf("list scrolling: the list is not skinned\n");
    return;
  }
  const std::vector<double> skinnedPage = PageSteps(wnd);
  const std::vector<double> skinnedDrag = SkinnedDragSteps(wnd, *adapter);
  // The same list with the skin taken off it: the platform's bars and header.
  SendMessageW(wnd, SM_ORVEXCMD, MakeCommandWParam(zcSkinRemove), LPARAM(manager));
  Application->ProcessMessages();
  const std::vector<double> plainPage = PageSteps(wnd);
  const std::vector<double> plainDrag = PlainDragSteps(wnd, rows);
  SendMessageW(wnd, SM_ORVEXCMD, MakeCommandWParam(zcSkinRefresh), LPARAM(manager));
  Application->ProcessMessages();
  std::printf("List scrolling, %d rows, one step each, skinned against the same list unskinned (Wine)\n",
              rows);
  Line("page down", skinnedPage, plainPage);
  Line("thumb drag across the whole range", skinnedDrag, plainDrag);
}
