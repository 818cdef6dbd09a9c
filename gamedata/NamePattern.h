#pragma once
// A small pattern over names, built from literal pieces, pairs of alternative
// pieces and gaps of a fixed number of characters; the person-appearance code
// uses it to find the best-fitting name among many. Matching is a
// depth-first search over every path through the pieces.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

class NamePattern {
 public:
  struct Entry {
    int32_t offset;  // into the shared text buffer
    int32_t length;
    int32_t kind;  // 0 literal, 1 literal alternative, n >= 2 a gap of n - 2 characters
    int32_t next1;  // -1 while still open
    int32_t next2;
  };

  void AddLiteral(std::string_view text);
  void AddAlternatives(std::string_view text1, std::string_view text2);
  // A gap of n characters (negative counts as 0).
  void AddGap(int n);
  // Gives entry 0 a new text; nothing on an empty pattern.
  void ReplaceFirst(std::string_view text);
  void Clear();

  // Length of the longest match from the start of the name (letters A-Z
  // compared without case); 0 for an empty pattern.
  int Match(std::string_view name) const;
  // Keeps the name with the best share of matched characters.
  void BestMatch(std::string_view name);

  const std::string& GetBestName() const { return bestName_; }
  double GetBestRatio() const { return bestRatio_; }
  int GetBestLength() const { return bestLength_; }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  int32_t AddEntry(std::string_view text, int32_t kind);
  void LinkOpen(int32_t first, int32_t second);
  int MatchFrom(int32_t entry, int position, std::string_view name) const;

  std::vector<Entry> entries_;
  std::string text_;
  std::string bestName_;
  double bestRatio_ = 0.0;
  int bestLength_ = 0;
};

}  // namespace tova
