// A text dump of loaded skin tables, one record per line, for comparing two loads (a skin
// folder and its packed twin) and for the skin tool. Pixels appear as a hash; the skin path
// (which differs between sources) is left out.
#pragma once

#include <string>

#include "skin/data/sSkinTables.h"

std::string DumpSkinTables(const TsSkinTables& tables);
// FNV-1a over the pixel bytes of every row (row padding excluded), with size and format.
std::string BitmapDigest(const TzkBitmap& bitmap);
