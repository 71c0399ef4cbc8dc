// seeds_skinarchive DIR: writes starting archives for fuzz_skinarchive.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/seeds/SeedWriter.h"
#include "skin/data/zkSkinPack.h"

namespace {

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace

int main(int argc, char** argv) {
  if (!seeds::CheckUsage(argc, "seeds_skinarchive")) return 2;
  const std::string dir = argv[1];
  seeds::Write(dir, "empty", TzkSkinPacker().Bytes());

  TzkSkinPacker skin;
  skin.Add("Options.dat", Text("[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[BUTTON]\nCOLOR=255\n"));
  skin.Add("Master.bmp", std::vector<uint8_t>(300, 0x42));
  skin.Add("Glow.png", Text("\x89PNG not really"));
  skin.Add("noise", Text("q8#2Lz!kP0@x"));
  const std::vector<uint8_t> full = skin.Bytes();
  seeds::Write(dir, "skin", full);
  seeds::Write(dir, "truncated", std::vector<uint8_t>(full.begin(), full.begin() + long(full.size() / 2)));

  TzkSkinPacker one;
  one.Add("a.BMP", std::vector<uint8_t>(5000, 7));
  seeds::Write(dir, "one", one.Bytes());
  return 0;
}
