// skintool check [--dump] SKIN
//
// Loads a skin folder or a packed file as the engine does and prints its sections, masks and
// patterns, then every problem: image keys that give no image, a missing master bitmap,
// PARENTCLASS chains that do not work. A folder is also packed in memory and loaded again; its
// tables must come out the same, or the skin would look different once packed.
// --dump prints only DumpSkinTables, so the dumps of two sources can be compared with diff.
#include <cstdio>
#include <sstream>

#include "SkinTool.h"
#include "skin/data/sSkinDump.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"

namespace {

const char* const kTypeNames[] = {"border", "texture", "glyph", "glow", "png-glyph"};

void PrintTables(const TsSkinTables& t) {
  const TsSkinData& d = t.SkinData;
  std::printf("version %g, author \"%s\", title height %d, master bitmap %s\n", d.Version,
              d.Author.c_str(), d.TitleHeight, BitmapDigest(t.MasterBitmap).c_str());
  std::printf("\nsections (%zu):\n", t.Sections.size());
  for (size_t i = 0; i < t.Sections.size(); ++i) {
    const TsGeneralData& s = t.Sections[i];
    std::printf("  %3zu %-20s", i, s.SectionName.c_str());
    if (!s.ParentClass.empty()) std::printf(" parent %-14s", s.ParentClass.c_str());
    std::printf(" color %06X", unsigned(s.Color) & 0xFFFFFFu);
    if (s.BorderIndex >= 0) std::printf(" border mask %d", s.BorderIndex);
    std::printf("\n");
  }
  std::printf("\nmasks (%zu):\n", t.Masks.size());
  for (size_t i = 0; i < t.Masks.size(); ++i) {
    const TsMaskData& m = t.Masks[i];
    std::printf("  %3zu [%s] %s: %s, %d frame(s), mask type %d, borders %d/%d/%d/%d, ", i,
                m.SectionName.c_str(), m.PropertyName.c_str(), kTypeNames[m.ImgType % 5],
                m.ImageCount, m.MaskType, m.WL, m.WT, m.WR, m.WB);
    if (m.Image)
      std::printf("own image %dx%d %d-bit\n", m.Image->Width(), m.Image->Height(), m.Image->BytesPerPixel() * 8);
    else
      std::printf("master (%d,%d)-(%d,%d)\n", m.Rect.Left, m.Rect.Top, m.Rect.Right, m.Rect.Bottom);
  }
  std::printf("\npatterns (%zu):\n", t.Patterns.size());
  for (size_t i = 0; i < t.Patterns.size(); ++i) {
    const TsPatternData& p = t.Patterns[i];
    std::printf("  %3zu [%s] %s: %dx%d\n", i, p.SectionName.c_str(), p.PropertyName.c_str(),
                p.Image ? p.Image->Width() : 0, p.Image ? p.Image->Height() : 0);
  }
}

int PrintProblems(const std::string& title, const std::vector<std::string>& lines) {
  if (lines.empty()) return 0;
  std::printf("\n%s (%zu):\n", title.c_str(), lines.size());
  for (const std::string& line : lines) std::printf("  %s\n", line.c_str());
  return int(lines.size());
}

// The first line where two dumps differ, or empty when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  while (true) {
    const bool ha = bool(std::getline(sa, la)), hb = bool(std::getline(sb, lb));
    if (!ha && !hb) return "";
    if (!ha || !hb || la != lb) return "folder:  " + (ha ? la : "(end)") + "\n  packed:  " + (hb ? lb : "(end)");
  }
}

}  // namespace

int RunCheck(const TArgs& args) {
  const bool dumpOnly = args.size() == 2;
  if (dumpOnly && args[0] != "--dump") {
    PrintError("usage: skintool check [--dump] SKIN");
    return kExitUsage;
  }
  const std::string& skin = args.back();
  const bool folder = IsFolder(skin);
  TsSkinTables tables;
  TsSkinLoadReport report;
  try {
    if (folder) {
      if (!LoadSkinFromFolder(skin, tables, {}, &report)) {
        PrintError("\"" + skin + "\" holds no Options.dat");
        return kExitFailed;
      }
    } else {
      if (!FileExists(skin)) {
        PrintError("\"" + skin + "\" does not exist");
        return kExitFailed;
      }
      LoadSkinFromPackedFile(skin, tables, {}, &report);
    }
  } catch (const EzkSkinError& e) {
    PrintError(skin + ": " + e.what());
    return kExitFailed;
  }
  const std::string dump = DumpSkinTables(tables);
  if (dumpOnly) {
    std::fputs(dump.c_str(), stdout);
    return kExitOk;
  }

  std::printf("skin \"%s\" (%s)\n", skin.c_str(), folder ? "folder" : "packed file");
  PrintTables(tables);
  int problems = 0;
  if (!report.HasOptions) problems += PrintProblems("options", {"the archive holds no Options.dat"});
  problems += PrintProblems("unresolved image keys", report.ImageProblems);
  problems += PrintProblems("PARENTCLASS problems", report.ParentProblems);
  if (report.VersionTooNew) problems += PrintProblems("version", {kVersionWarning});
  if (folder) {
    try {
      const std::vector<uint8_t> packed = PackSkinFolder(skin);
      TsSkinTables twin;
      TsSkinLoadReport twinReport;
      LoadSkinFromArchive(packed.data(), packed.size(), twin, {}, &twinReport);
      const std::string difference = FirstDifference(dump, DumpSkinTables(twin));
      if (!difference.empty()) {
        // Usually an image name that only a folder resolves: packed skins compare the name as
        // written with upper-cased entry names.
        std::vector<std::string> lines = twinReport.ImageProblems;
        if (lines.empty()) lines.push_back(difference);
        problems += PrintProblems("the packed skin would differ from the folder", lines);
      }
    } catch (const EzkSkinError& e) {
      problems += PrintProblems("packed twin fails to load", {e.what()});
    }
  }
  if (problems == 0) {
    std::printf("\nno problems found\n");
    return kExitOk;
  }
  std::printf("\n%d problem(s) found\n", problems);
  return kExitFailed;
}
