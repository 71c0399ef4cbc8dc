// A small folder skin made by code for painter and preview tests: "Options.dat", a master
// bitmap "MASTER.BMP" and a glow picture "GLOW.PNG". It exercises a key-colour border with
// rounded corners, an alpha border, a texture, a glyph, a corner image, a border hidden in
// the normal state, the three gradient kinds, transparency and PARENTCLASS.
#pragma once

#include <string>

namespace painttest {

// Writes the skin's files into `folder` (which must exist).
void WriteSampleSkin(const std::string& folder);

}  // namespace painttest
