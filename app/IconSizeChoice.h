// Which image of a multi-size icon file to show at a given size: the status icons come in
// 16, 20, 24 and 32 pixels, one for each usual display scale, and the list picks the one its
// DPI asks for.
#pragma once

#include <string>
#include <vector>

// The side of the status icons in a list laid out for a DPI: 16 pixels at 96 DPI.
int StatusIconSizeForDpi(int dpi);

// The sides of the square images an icon file holds, in file order (a side stored as 0 means
// 256); empty when the file is damaged (see IconFileDamage).
std::vector<int> IconFileSizes(const std::string& bytes);

// The image to load for an icon shown `wanted` pixels wide: that size when the file has it,
// else the smallest larger one (scaled down it stays sharp), else the largest; 0 when there
// is none.
int ChooseIconSize(const std::vector<int>& available, int wanted);
