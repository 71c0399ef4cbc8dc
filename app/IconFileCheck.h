// What is wrong with an icon file, told from its bytes once the platform failed to load it:
// the platform's loader only says that it failed.
#pragma once

#include <string>

// Empty when the header, the image list and every image's data are where they belong;
// otherwise a short description of the damage ("the file is empty", "image 2 (32 x 32) lies
// beyond the end of the file" ...), without a full stop.
std::string IconFileDamage(const std::string& bytes);
