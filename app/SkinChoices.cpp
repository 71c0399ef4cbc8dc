#include "app/SkinChoices.h"

#include <algorithm>

#include "skin/data/zkSkinText.h"

namespace {

bool Offered(const std::vector<TSkinChoice>& choices, const std::string& name) {
  return std::any_of(choices.begin(), choices.end(), [&](const TSkinChoice& c) { return SameText(c.Name, name); });
}

// The skins of one folder, one per name: the packed file where a folder has the same name.
std::vector<TsSkinListItem> OnePerName(std::vector<TsSkinListItem> items) {
  std::vector<TsSkinListItem> out;
  for (TsSkinListItem& item : items) {
    auto same = std::find_if(out.begin(), out.end(), [&](const TsSkinListItem& o) { return SameText(o.Name, item.Name); });
    if (same == out.end())
      out.push_back(std::move(item));
    else if (item.Kind == TsSkinKind::skkPacked && same->Kind != TsSkinKind::skkPacked)
      *same = std::move(item);
  }
  return out;
}

}  // namespace

std::vector<TSkinChoice> SkinChoices(const std::vector<std::string>& storedNames,
                                     const std::vector<std::string>& folders) {
  std::vector<TSkinChoice> choices;
  for (const std::string& name : storedNames)
    if (!name.empty() && !Offered(choices, name)) choices.push_back(TSkinChoice{name, {}, TsSkinKind::skkFolder, {}});
  const size_t stored = choices.size();
  for (const std::string& folder : folders)
    for (TsSkinListItem& item : OnePerName(ListSkinsInFolder(folder)))
      if (!Offered(choices, item.Name))
        choices.push_back(TSkinChoice{std::move(item.Name), folder, item.Kind, std::move(item.Path)});
  std::stable_sort(choices.begin() + std::ptrdiff_t(stored), choices.end(),
                   [](const TSkinChoice& a, const TSkinChoice& b) { return SkinNameLess(a.Name, b.Name); });
  return choices;
}

int IndexOfSkinChoice(const std::vector<TSkinChoice>& choices, const std::string& name) {
  for (size_t i = 0; i < choices.size(); ++i)
    if (choices[i].Name == name) return int(i);
  for (size_t i = 0; i < choices.size(); ++i)
    if (SameText(choices[i].Name, name)) return int(i);
  return -1;
}
