// Starting inputs for fuzz_appsettings: settings files as the program writes them and as
// people edit them.
#include <string>

#include "fuzz/seeds/SeedWriter.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_appsettings")) return 2;
  const std::string dir = argv[1];
  const std::string texts[] = {
      "; Vornik Desktop: the look chosen in the tray menu\r\nSkin=Quarn Night (internal)\r\nFollowWindows=0\r\nHue=60\r\n",
      "\xEF\xBB\xBFskin = \xD0\xA2\xD1\x91\xD0\xBC\xD0\xBD\xD0\xB0\xD1\x8F\nfollowwindows=true\nhue=300\n",
      "# comment\nSkin=Dark\nSkin=\nHue=359\nHue=360\n[Section]\n",
  };
  int n = 0;
  bool ok = true;
  for (const std::string& s : texts) ok = seeds::Write(dir, "seed" + std::to_string(n++), s) && ok;
  return ok ? 0 : 1;
}
