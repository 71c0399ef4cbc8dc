#include "skin/data/sOptionsFile.h"

#include "skin/data/zkSkinPack.h"
#include "skin/data/zkSkinText.h"

namespace {

// Calls line(text) for every line of the text; CR LF, LF and CR all end a line.
template <typename Line>
void ForEachLine(std::string_view text, const Line& line) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    line(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) line(text.substr(start));
}

}  // namespace

TsOptionsFile::TsOptionsFile(std::string_view text) {
  if (text.size() > kMaxOptionsBytes)
    throw EzkSkinError("The skin options file is too large (" + std::to_string(text.size()) + " bytes)");
  ForEachLine(text, [&](std::string_view raw) {
    const std::string_view line = TrimText(raw);
    if (line.empty() || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      if (sections_.size() >= kMaxOptionsSections)
        throw EzkSkinError("The skin options file has more than " +
                           std::to_string(kMaxOptionsSections) + " sections");
      TsOptionsSection section;
      section.Name = std::string(TrimText(line.substr(1, line.size() - 2)));
      firstByName_.emplace(UpperCase(section.Name), int(sections_.size()));
      sections_.push_back(std::move(section));
      return;
    }
    if (sections_.empty()) return;
    TsOptionsEntry entry;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      entry.Key = std::string(line);
      entry.HasEquals = false;
    } else {
      entry.Key = std::string(TrimText(line.substr(0, eq)));
      entry.Value = std::string(TrimText(line.substr(eq + 1)));
    }
    sections_.back().Entries.push_back(std::move(entry));
  });
  parents_.reserve(sections_.size());
  for (int i = 0; i < int(sections_.size()); ++i) {
    const std::string* parent = OwnValue(i, "PARENTCLASS");
    const bool ends = !parent || parent->empty() || *parent == "?" || SameText(*parent, sections_[size_t(i)].Name);
    parents_.push_back(ends ? -1 : FindSection(*parent));
  }
}

int TsOptionsFile::FindSection(std::string_view name) const {
  const auto it = firstByName_.find(UpperCase(name));
  return it == firstByName_.end() ? -1 : it->second;
}

const std::string* TsOptionsFile::OwnValue(int section, std::string_view key) const {
  if (section < 0 || section >= int(sections_.size())) return nullptr;
  for (const TsOptionsEntry& e : sections_[size_t(section)].Entries)
    if (e.HasEquals && SameText(e.Key, key)) return &e.Value;
  return nullptr;
}

int TsOptionsFile::ParentOf(int section) const {
  return section >= 0 && section < int(parents_.size()) ? parents_[size_t(section)] : -1;
}

template <typename Accept>
bool TsOptionsFile::WalkChain(int section, std::string_view key, const Accept& accept) const {
  // A chain cannot visit more distinct sections than there are; one that has not ended by then
  // runs in a circle, and sections seen again have nothing new to give.
  for (size_t steps = 0; section >= 0 && steps < sections_.size(); ++steps) {
    const std::string* value = OwnValue(section, key);
    if (value && *value != "?" && accept(*value)) return true;
    section = ParentOf(section);
  }
  return false;
}

std::string TsOptionsFile::ReadSectionText(int section, std::string_view key,
                                           std::string_view def) const {
  std::string result(def);
  WalkChain(section, key, [&](const std::string& v) {
    result = v;
    return true;
  });
  return result;
}

int32_t TsOptionsFile::ReadSectionInteger(int section, std::string_view key, int32_t def) const {
  int32_t result = def;
  WalkChain(section, key, [&](const std::string& v) {
    const auto n = ParseInteger(v);
    if (!n || *n == -1) return false;
    result = *n;
    return true;
  });
  return result;
}

int32_t TsOptionsFile::ReadSectionSignedInteger(int section, std::string_view key,
                                               int32_t def) const {
  int32_t result = def;
  WalkChain(section, key, [&](const std::string& v) {
    const auto n = ParseInteger(v);
    if (!n) return false;
    result = *n;
    return true;
  });
  return result;
}

bool TsOptionsFile::ReadSectionFlag(int section, std::string_view key, bool def) const {
  return UpperCase(ReadSectionText(section, key, def ? "TRUE" : "FALSE")) == "TRUE";
}

double TsOptionsFile::ReadSectionReal(int section, std::string_view key, double def) const {
  const auto v = ParseReal(ReadSectionText(section, key, ""));
  return v ? *v : def;
}
