#include "gamedata/NamePattern.h"

#include <algorithm>
#include <cmath>

#include "platform/Path.h"

namespace tova {

int32_t NamePattern::AddEntry(std::string_view text, int32_t kind) {
  Entry e{static_cast<int32_t>(text_.size()), static_cast<int32_t>(text.size()), kind, -1, -1};
  text_.append(text);
  entries_.push_back(e);
  return static_cast<int32_t>(entries_.size() - 1);
}

void NamePattern::LinkOpen(int32_t first, int32_t second) {
  for (Entry& e : entries_) {
    if (e.next1 == -1) e.next1 = first;
    if (e.next2 == -1) e.next2 = second;
  }
}

void NamePattern::AddLiteral(std::string_view text) {
  int32_t n = static_cast<int32_t>(entries_.size());
  LinkOpen(n, n);
  AddEntry(text, 0);
}

void NamePattern::AddAlternatives(std::string_view text1, std::string_view text2) {
  int32_t n = static_cast<int32_t>(entries_.size());
  LinkOpen(n, n + 1);
  AddEntry(text1, 1);
  AddEntry(text2, 1);
}

void NamePattern::AddGap(int n) {
  int32_t i = static_cast<int32_t>(entries_.size());
  LinkOpen(i, i);
  AddEntry({}, std::max(n, 0) + 2);
}

void NamePattern::ReplaceFirst(std::string_view text) {
  if (entries_.empty()) return;
  entries_[0].offset = static_cast<int32_t>(text_.size());
  entries_[0].length = static_cast<int32_t>(text.size());
  text_.append(text);
}

void NamePattern::Clear() {
  entries_.clear();
  text_.clear();
  bestName_.clear();
  bestRatio_ = 0.0;
  bestLength_ = 0;
}

// Successors always lie after their entry, so the walk cannot loop.
int NamePattern::MatchFrom(int32_t index, int position, std::string_view name) const {
  const Entry& e = entries_[static_cast<size_t>(index)];
  int after;
  if (e.kind >= 2) {
    int gap = e.kind - 2;
    if (static_cast<int>(name.size()) - position < gap) return 0;
    after = position + gap;
  } else {
    if (static_cast<int>(name.size()) - position < e.length) return 0;
    for (int i = 0; i < e.length; ++i) {
      if (platform::FoldCase(name[static_cast<size_t>(position + i)]) !=
          platform::FoldCase(text_[static_cast<size_t>(e.offset + i)])) {
        return 0;
      }
    }
    after = position + e.length;
  }
  if (e.next1 < 0) return after;
  int best = MatchFrom(e.next1, after, name);
  if (e.next2 >= 0 && e.next2 != e.next1) best = std::max(best, MatchFrom(e.next2, after, name));
  return best;
}

int NamePattern::Match(std::string_view name) const {
  if (entries_.empty()) return 0;
  return MatchFrom(0, 0, name);
}

void NamePattern::BestMatch(std::string_view name) {
  int m = Match(name);
  if (m == 0) return;
  double ratio = static_cast<double>(m) / static_cast<double>(name.size());
  bool better = ratio > bestRatio_ || (std::fabs(ratio - bestRatio_) <= 0.0001 && m > bestLength_);
  if (better) {
    bestRatio_ = ratio;
    bestLength_ = m;
    bestName_ = std::string(name);
  }
}

}  // namespace tova
