// The skinned controls of the main window: a full repaint of the client area with the skin
// active (cached images, and every cached image rebuilt) against the same window with the skin
// manager inactive, and one cross-fade frame of the 113 x 22 add button.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sFade.h"
#include "toolkit/Application.h"

namespace {

void Repaint(TForm1* form) {
  RedrawWindow(form->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Every skinned control of the window marks its cached image stale.
void StaleCaches(TForm1* form) {
  for (TControl* c : {static_cast<TControl*>(form->sGroupBox1), static_cast<TControl*>(form->sButton1),
                      static_cast<TControl*>(form->sButton2)})
    SendCommandToControl(c, zcBackgroundChanged, 0, 1);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

void RunSkinnedControlsBench(TForm1* form) {
  std::printf("Skinned controls, main window (Wine)\n");
  if (!form->sSkinManager1->SkinData().Active) {
    std::printf("the internal skin is not active\n");
    return;
  }
  Application->ProcessMessages();
  const auto cached = TimeRuns(30, [&] { Repaint(form); });
  const auto rebuilt = TimeRuns(30, [&] {
    StaleCaches(form);
    Repaint(form);
  });
  BenchReport("client repaint, skinned (cached images)", cached);
  BenchReport("client repaint, skinned (images rebuilt)", rebuilt);

  TsButton* add = form->sButton1;
  add->Perform(CM_MOUSEENTER, 0, LPARAM(add));
  if (TsFadeTimer* t = add->FadeTimer()) {
    t->SetEnabled(false);
    BenchReport("one fade frame, 113 x 22 button", TimeRuns(200, [&] {
             t->Step = 1 + (t->Step % t->StepCount);
             t->DoTick();
           }));
  }
  add->Perform(CM_MOUSELEAVE, 0, LPARAM(add));
  Application->ProcessMessages();

  form->sSkinManager1->SetActive(false);
  Application->ProcessMessages();
  const auto plain = TimeRuns(30, [&] { Repaint(form); });
  BenchReport("client repaint, skin manager inactive", plain);
  std::printf("%-44s %8.2f (rebuilt) %8.2f (cached)\n", "ratio skinned / inactive",
              Median(rebuilt) / Median(plain), Median(cached) / Median(plain));
  form->sSkinManager1->SetActive(true);
  Application->ProcessMessages();
}
