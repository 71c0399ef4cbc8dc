// seeds_skinpaint DIR: writes starting options texts for fuzz_skinpaint: a realistic skin's
// options, and sections whose percentages, textures and masks sit at and beyond the edges
// of their ranges.
#include <string>

#include "fuzz/seeds/SeedWriter.h"
#include "tests/native/support/SkinTestData.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_skinpaint")) return 2;
  const std::string dir = argv[1];
  seeds::Write(dir, "realistic", skintest::RealisticOptions(20));
  seeds::Write(dir, "percentages",
               "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"
               "[EDIT]\nIMAGEPERCENT=50\nGRADIENTPERCENT=49\nTRANSPARENCY=30\n"
               "GRADIENTDATA=255;16711680;50;0;0;65280;255;50;0;0\n"
               "PATTERN=~0010~0010~0020~0020~01~0\nHOTPATTERN=~0040~0010~0050~0020~10~1\n"
               "BORDERSMASK=" + skintest::Border(0, 40, 30, 30, 4, 3, 1) + "\n"
               "IMGTOPLEFT=@0000@0120@0008@0128@1@0\n"
               "[BIG]\nIMAGEPERCENT=2000000000\nGRADIENTPERCENT=2000000000\nTRANSPARENCY=10000000\n"
               "HOTIMAGEPERCENT=-2000000000\nHOTGRADIENTPERCENT=-2000000000\nHOTTRANSPARENCY=-1\n"
               "PATTERN=TILE.JPG\nHOTGRADIENTDATA=255;0;100;1;0\n"
               "[HALF]\nPARENTCLASS=BIG\nTRANSPARENCY=50\nIMAGEPERCENT=100\nPATTERN=BACK.JPG\n"
               "BORDERSMASK=!GLOWBTN.PNG!3!0!2!0005!0005!0005!0005\n");
  seeds::Write(dir, "empty", "");
  return 0;
}
