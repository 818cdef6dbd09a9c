#pragma once
// A person's body strings: the string set of a person definition that holds
// its looks (age, sex, skin tone, chosen body and head, and the derived
// suit, texture and hand names the 3D renderer reads).

#include <string>
#include <string_view>
#include <vector>

class StringSet;

namespace tova {

enum BodyString : int {
  kBodyAgeClass = 1,  // "child" or "adult"
  kBodyChoice = 2,
  kHeadChoice = 3,
  kBodySex = 13,
  kBodyAge = 14,
  kBodySkinKey = 15,
  kBodyDerived = 16,
  kBodyDerivedAlternate = 17,
  kBodyDerivedOther = 28,
};

struct BodyStrings {
  // Entry n cut at its first ';' (the part before, or with afterSemicolon the
  // part after), then at its first ',': the suit name folded to lower case
  // and the texture text, whose part after its first '=' is folded (the
  // prefix keeps its case). Without ',' all of it, folded, is the suit name.
  static void SplitEntry(const StringSet& strings, int n, std::string& suit, std::string& texture,
                         bool afterSemicolon);
  static void SplitText(std::string_view text, std::string& suit, std::string& texture, bool afterSemicolon);
  // Entry n, or "" when absent.
  static std::string Get(const StringSet& strings, int n);

  // The entries that hold suits (body, head, outfit bodies and hands).
  static const std::vector<int>& SuitEntries();
  // Adds empty entries until there are n, then sets entry n.
  static void SetEntry(StringSet& strings, int n, std::string_view text);
  // edited is a changed copy of base: each suit entry that differs from
  // base's (ignoring case) becomes its first part + ";" + base's entry, so
  // the first part is worn and the original kept. The base textures of
  // those entries, without their key, are added to textures once each.
  static void MergeChanged(StringSet& edited, const StringSet& base, std::vector<std::string>& textures);
  // Each entry holding a ';' keeps only the text after it.
  static void KeepSecond(StringSet& strings);
  // The difference of the entry counts when they differ, else the first
  // non-zero byte-wise comparison of the entries in order; 0 when equal.
  static int Compare(const StringSet& a, const StringSet& b);
};

}  // namespace tova
