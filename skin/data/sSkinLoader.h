// Loading a skin into TsSkinTables, from a packed archive (a ".qvz" file or a stored skin's
// data) or from an unpacked folder holding "Options.dat" and its image files.
//
// Order of the steps, the same for every source:
//   1. masks: the master bitmap ("MASTERBITMAP" of "GLOBALINFO", made 24-bit), then one record
//      per image value of every section in file order (and the older forms of CommonSections);
//   2. patterns: JPEG values; 90,000 pixels or more stay patterns, smaller ones become texture
//      records appended to the masks;
//   3. sections: the global data, one TsGeneralData per section, CommonSections' new sections,
//      the sections' border and corner indexes, then the hue offset and the saturation;
//   4. the cached indexes.
//
// A load either completes or leaves the tables as they were: it is built aside and swapped
// in at the end, so a damaged skin never leaves records of two skins pointing at each other.
// Missing or undecodable image files are not errors: their records are skipped and listed in
// the report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/sSkinTables.h"
#include "skin/data/sStoredSkinData.h"

// Caps of one load, for hostile options files that name the same big image thousands of
// times: records of the mask and pattern tables, and bytes of their decoded own images.
constexpr size_t kMaxSkinRecords = 65536;
constexpr size_t kMaxSkinImageBytes = size_t(512) << 20;

struct TsSkinLoadOptions {
  int HueOffset = 0;
  int Saturation = 0;
  // Extra options text merged into the skin: sections the skin lacks, and older-form images.
  std::string CommonSections;
  size_t MaxRecords = kMaxSkinRecords;
  size_t MaxImageBytes = kMaxSkinImageBytes;
};

// What a load noticed without failing.
struct TsSkinLoadReport {
  std::vector<std::string> ImageProblems;   // image keys giving no record, and why
  std::vector<std::string> ParentProblems;  // PARENTCLASS chains that do not work
  bool HasOptions = false;                  // the source had an options file
  bool MasterBitmapMissing = false;         // "MASTERBITMAP" named but not loaded
  bool VersionTooNew = false;               // "VERSION" above 255: kVersionWarning applies
};

// The notice for a skin newer than the engine (two lines).
extern const char* const kVersionWarning;

// Each throws EzkSkinError (the archive's error texts, or a conversion error naming section,
// key and value) and then leaves `tables` untouched.
void LoadSkinFromArchive(const uint8_t* data, size_t size, TsSkinTables& tables,
                         const TsSkinLoadOptions& options = {}, TsSkinLoadReport* report = nullptr);
// An older stored skin from its collections (never throws for its own content; the caps of
// the options apply).
void LoadSkinFromStoredData(const TsStoredSkinData& stored, TsSkinTables& tables,
                            const TsSkinLoadOptions& options = {}, TsSkinLoadReport* report = nullptr);
// SkinPath becomes the file's folder.
void LoadSkinFromPackedFile(const std::string& path, TsSkinTables& tables,
                            const TsSkinLoadOptions& options = {}, TsSkinLoadReport* report = nullptr);
// Returns false, leaving the tables untouched, when the folder holds no "Options.dat".
bool LoadSkinFromFolder(const std::string& folder, TsSkinTables& tables,
                        const TsSkinLoadOptions& options = {}, TsSkinLoadReport* report = nullptr);

// The path of a skin file named in an options value: the name itself when it contains ":",
// else the skin path followed by the name. Where file names are case-sensitive and no file
// has that exact name, a file of the folder whose name differs only in letter case is taken,
// as it would be where names ignore case.
std::string ResolveSkinFile(const std::string& skinPath, const std::string& name);
// The folder with a trailing separator.
std::string WithTrailingSeparator(const std::string& folder);
