// skintool preview SKIN OUT.png [--size WxH]
//
// Loads a skin folder or a packed file as the engine does and writes a contact sheet PNG:
// every section painted in the normal, hot and pressed states at W x H pixels (default
// 120 x 36), then every glyph and glow image frame by frame, on a checkerboard.
#include <cstdio>
#include <exception>

#include "SkinTool.h"
#include "skin/data/sSkinLoader.h"
#include "skin/paint/zkPngWriter.h"
#include "skin/paint/zkSkinPreview.h"

namespace {

// "WxH" with both between 8 and 2000.
bool ParseSize(const std::string& text, TzkPreviewOptions& options) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X'))
    return false;
  if (w < 8 || h < 8 || w > 2000 || h > 2000) return false;
  options.CellWidth = w;
  options.CellHeight = h;
  return true;
}

}  // namespace

int RunPreview(const TArgs& args) {
  TzkPreviewOptions options;
  if (args.size() == 3 || (args.size() == 4 && args[2] != "--size") ||
      (args.size() == 4 && !ParseSize(args[3], options))) {
    PrintError("usage: skintool preview SKIN OUT.png [--size WxH] (W and H from 8 to 2000)");
    return kExitUsage;
  }
  const std::string& skin = args[0];
  TsSkinTables tables;
  TsSkinLoadReport report;
  try {
    if (IsFolder(skin)) {
      if (!LoadSkinFromFolder(skin, tables, {}, &report)) {
        PrintError("\"" + skin + "\" holds no Options.dat");
        return kExitFailed;
      }
    } else {
      LoadSkinFromPackedFile(skin, tables, {}, &report);
    }
    const TzkBitmap sheet = RenderSkinPreview(tables, options);
    if (!WriteFileReplacing(args[1], EncodePng(sheet))) return kExitFailed;
    std::printf("%s: %zu sections, %zu images -> \"%s\" (%dx%d)\n", skin.c_str(),
                tables.Sections.size(), tables.Masks.size(), args[1].c_str(), sheet.Width(),
                sheet.Height());
  } catch (const std::exception& e) {
    PrintError(skin + ": " + e.what());
    return kExitFailed;
  }
  for (const std::string& problem : report.ImageProblems) std::printf("  problem: %s\n", problem.c_str());
  return kExitOk;
}
