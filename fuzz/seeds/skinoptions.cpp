// seeds_skinoptions DIR: writes starting options texts for fuzz_skinoptions: a realistic
// skin's options and small files with every image notation.
#include <cstdio>
#include <fstream>
#include <string>

#include "fuzz/seeds/SeedWriter.h"
#include "tests/native/support/SkinTestData.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_skinoptions")) return 2;
  const std::string dir = argv[1];
  seeds::Write(dir, "realistic", skintest::RealisticOptions(20));
  seeds::Write(dir, "forms",
        "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nBIKEEPHUE=1\n"
        "BICONCLOSE=@0000@0000@0030@0010@3@0\n"
        "[A]\nB=^0000^0000^0030^0030^0000^0000^0000^0000^3^1^1^0\n"
        "G=@0010@0010@0020@0020@1@0\nT=~0000~0000~0008~0008~10~1\n"
        "F=!GLOW.PNG!1!0!3!0002!0002!0002!0002\nO=X# (1,2,30,40) (3,1,2,0)\n"
        "P=BUTTONHUGE.BMP\nJ=BACK.JPG\nK=TILE.JPG\n"
        "GRADIENTDATA=255;16711680;50;2;0;1;2;3\n"
        "[B]\nPARENTCLASS=A\nCOLOR=$FF00000F\n[C]\nPARENTCLASS=D\n[D]\nPARENTCLASS=c\n");
  seeds::Write(dir, "empty", "");
  return 0;
}
