// The skin options file ("Options.dat"): INI text read once while a skin loads.
//
//   - lines end at CR LF, LF or CR and are trimmed of every character up to code 32;
//   - empty lines and lines starting with ";" are ignored, so are lines before the first section;
//   - "[NAME]" starts a section (a name given twice gives two sections; lookups find the first);
//   - other lines are entries "KEY=VALUE", both parts trimmed; a line without "=" is kept but
//     matches no key;
//   - section and key lookups ignore letter case; the order of sections and keys is kept.
//
// Section reads inherit: a key missing in a section is taken from the section its
// "PARENTCLASS" names, and so on. "?" counts as missing (and -1 for integers). A chain ends at
// an empty or "?" PARENTCLASS, at one naming the section itself, at a name that is no section,
// and at a section already visited.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TsOptionsEntry {
  std::string Key;
  std::string Value;
  bool HasEquals = true;  // false: a line without "=", never matched
};

struct TsOptionsSection {
  std::string Name;
  std::vector<TsOptionsEntry> Entries;
};

// Caps for hostile files: an options text bigger than this, or with more sections, is refused.
constexpr size_t kMaxOptionsBytes = size_t(16) << 20;
constexpr size_t kMaxOptionsSections = 4096;

class TsOptionsFile {
 public:
  TsOptionsFile() = default;
  // Throws EzkSkinError when the text exceeds the caps above.
  explicit TsOptionsFile(std::string_view text);

  const std::vector<TsOptionsSection>& Sections() const { return sections_; }
  // Index of the first section with that name (any letter case), or -1.
  int FindSection(std::string_view name) const;
  // The section's own value for the key, or nullptr (no inheritance, "?" returned as is).
  const std::string* OwnValue(int section, std::string_view key) const;
  // Index of the section that `section`'s PARENTCLASS names, or -1 where the chain ends.
  int ParentOf(int section) const;

  std::string ReadSectionText(int section, std::string_view key, std::string_view def) const;
  int32_t ReadSectionInteger(int section, std::string_view key, int32_t def) const;
  // Like ReadSectionInteger, but -1 is an ordinary value: the skin-wide settings (title-button
  // spacing, text shadow blur) may legitimately be negative.
  int32_t ReadSectionSignedInteger(int section, std::string_view key, int32_t def) const;
  bool ReadSectionFlag(int section, std::string_view key, bool def) const;
  double ReadSectionReal(int section, std::string_view key, double def) const;

 private:
  // Calls accept(value) for the key's value in each section of the chain until it returns true.
  template <typename Accept>
  bool WalkChain(int section, std::string_view key, const Accept& accept) const;

  std::vector<TsOptionsSection> sections_;
  std::unordered_map<std::string, int> firstByName_;  // upper-cased name -> first index
  std::vector<int> parents_;                           // ParentOf, worked out once
};
