// The Win32 benchmarks: start-up and closing of the real program with task files of
// several lengths, then the commands and the tick of the main window with a long list (and
// the skin at display scales). "win_bench start", "win_bench skin" or "win_bench list" runs
// one of them, "win_bench scale" the display scales alone; "win_bench child
// skinned|plain" is the child process of the skin start benchmark.
#include <cstdio>
#include <string>

#include "bench/win/WinBench.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkWindowSkinning.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  if (only == "child") return RunStartChild(argc > 2 ? argv[2] : "");
  // Engine bitmaps live in DIB sections, as they do in the program.
  InstallDibBitmapStorage();
  InstallWindowSkinning();
  Application->Initialize();
  Application->OnException = [](TObject*, const std::exception* e) {
    std::printf("error: %s\n", e ? e->what() : "unknown");
  };
  if (only.empty() || only == "start") RunStartupBench();
  if (only.empty() || only == "start" || only == "skin") RunSkinStartBench();
  if (only.empty() || only == "list") RunTaskListBench();
  if (only == "scale") RunScaleBenchAlone();
  return 0;
}
