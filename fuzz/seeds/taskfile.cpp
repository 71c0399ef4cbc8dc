// Starting inputs for fuzz_taskfile: a few task files in each of its locale pictures.
#include <string>

#include "fuzz/seeds/SeedWriter.h"

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_taskfile")) return 2;
  const std::string dir = argv[1];
  const std::string texts[] = {
      std::string(1, '\0') + "1/1/2026 9:00:00 AM\r\n"
          "Task<#>1/1/2026 9:00:00 AM<#>notend<#>false<#>0:30:00<#>1\r\n"
          "Done<#>1/1/2026 8:00:00 AM<#>00:10:00<#>true<#>notime<#>2\r\n",
      std::string(1, '\1') + "no\nA<#>01.01.2026 9:00:00<#>notend<#>false<#>1:0:00#<#>0",
      std::string(1, '\2') + "7 marzo de 26 08h05:09\rB<#>7 marzo de 26 08h05:09<#>notend<#>false<#>0:0:00<#>0",
      std::string(1, '\0') + "\xEF\xBB\xBFno\r\n\xD0\x97<#>x<#>notend<#>false<#>notime<#>0\r\n",
  };
  int n = 0;
  bool ok = true;
  for (const std::string& s : texts) ok = seeds::Write(dir, "seed" + std::to_string(n++), s) && ok;
  return ok ? 0 : 1;
}
