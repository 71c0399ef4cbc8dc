// quarngen [--palette quarn|night] SKINDIR OUTDIR: makes an unpacked internal skin in OUTDIR:
// "Options.dat" copied from SKINDIR and every image drawn by code (QuarnImages) in the
// palette's colours (QuarnPalette.h; "quarn" when none is given). Before writing anything it checks
// that every master-bitmap value of the options file names a piece of the master bitmap with
// its frame count, mask type and (for borders) border widths, so the hand-written options and
// the drawn pictures cannot drift apart.
// quarngen --values: prints the value of every master piece, for writing the options file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "QuarnImages.h"

namespace {

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  text.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  f.close();
  if (!f) std::fprintf(stderr, "quarngen: cannot write %s\n", path.c_str());
  return bool(f);
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
  return s.substr(a, b - a);
}

// The value with its border widths, frame count and mask type, compared with the pieces:
// the rectangle must be a piece's, the frame count and mask type its own; a border value must
// carry the piece's border widths. The stretch digits and BorderWidth may differ per use.
std::string CheckValue(const std::string& value, const std::vector<TQuarnPiece>& pieces) {
  const char form = value[0];
  const size_t rectLength = 20;  // "^x1^y1^x2^y2" with four digits each
  for (const TQuarnPiece& p : pieces) {
    const std::string expected = p.Value();
    if (expected[0] != form || value.compare(0, rectLength, expected, 0, rectLength) != 0) continue;
    const size_t compared = form == '^' ? 44 : form == '@' ? 24 : 20;
    if (form == '~') {
      // Textures: ~x1~y1~x2~y2~ss[~m]; the stretch field is free.
      return value.size() >= 23 ? "" : "too short";
    }
    if (value.size() < compared || value.compare(0, compared, expected, 0, compared) != 0)
      return "differs from the piece " + p.Name + " (" + expected + ")";
    return "";
  }
  return "names no piece of the master bitmap";
}

int CheckOptions(const std::string& options, const std::vector<TQuarnPiece>& pieces) {
  std::istringstream lines(options);
  std::string line, section;
  int faults = 0;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string value = Trim(line.substr(eq + 1));
    if (value.empty() || (value[0] != '^' && value[0] != '@' && value[0] != '~')) continue;
    const std::string fault = CheckValue(value, pieces);
    if (!fault.empty()) {
      std::fprintf(stderr, "quarngen: [%s] %s: %s\n", section.c_str(), Trim(line.substr(0, eq)).c_str(), fault.c_str());
      ++faults;
    }
  }
  return faults;
}

}  // namespace

int main(int argc, char** argv) {
  const TQuarnPalette* palette = &QuarnPalette();
  if (argc == 2 && std::string(argv[1]) == "--values") {
    for (const TQuarnPiece& p : MasterPieces(*palette)) std::printf("%-16s %s\n", p.Name.c_str(), p.Value().c_str());
    return 0;
  }
  if (argc == 5 && std::string(argv[1]) == "--palette") {
    palette = FindQuarnPalette(argv[2]);
    if (!palette) {
      std::fprintf(stderr, "quarngen: no palette %s (quarn, night)\n", argv[2]);
      return 2;
    }
    argv += 2, argc -= 2;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: quarngen [--palette quarn|night] SKINDIR OUTDIR | quarngen --values\n");
    return 2;
  }
  const std::string source = std::string(argv[1]) + "/Options.dat", out = std::string(argv[2]) + "/";
  std::string options;
  if (!ReadText(source, options)) {
    std::fprintf(stderr, "quarngen: cannot read %s\n", source.c_str());
    return 1;
  }
  if (CheckOptions(options, MasterPieces(*palette)) > 0) return 1;
  bool ok = WriteBytes(out + "Options.dat", std::vector<uint8_t>(options.begin(), options.end()));
  for (const TQuarnFile& file : DrawSkinFiles(*palette)) ok = WriteBytes(out + file.Name, file.Bytes) && ok;
  return ok ? 0 : 1;
}
