#include "gamedata/ZodiacSigns.h"

#include <algorithm>
#include <array>

#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

constexpr int8_t kPresets[kZodiacSignCount][5] = {
    {8, 3, 3, 5, 6}, {5, 4, 8, 5, 3}, {7, 3, 3, 4, 8}, {3, 6, 4, 6, 6}, {10, 3, 4, 4, 4}, {2, 5, 3, 9, 6},
    {8, 7, 6, 2, 2}, {5, 3, 3, 6, 8}, {3, 4, 7, 2, 9}, {4, 5, 8, 7, 1}, {4, 6, 7, 4, 4}, {3, 7, 3, 5, 7},
};

constexpr int8_t kPairsA[kZodiacSignCount][2] = {{3, 2},  {1, 7},  {12, 6}, {2, 8},  {9, 4},  {11, 9},
                                                 {6, 4},  {12, 5}, {12, 10}, {11, 2}, {10, 9}, {8, 3}};
constexpr int8_t kPairsB[kZodiacSignCount][2] = {{4, 7},  {6, 4},  {10, 1}, {3, 1}, {10, 3}, {5, 2},
                                                 {12, 8}, {7, 11}, {7, 8},  {5, 3}, {8, 6},  {5, 1}};

struct SignTexts {
  std::array<cRZString, kZodiacSignCount> names;
  std::array<cRZString, 2> extra;
  bool loaded = false;
};

SignTexts& Texts() {
  static SignTexts texts;
  return texts;
}

int32_t ClampSign(int32_t sign) { return std::clamp(sign, 1, kZodiacSignCount); }

void JoinPair(cRZString& out, const int8_t (&pairs)[kZodiacSignCount][2], int32_t sign) {
  const int8_t* pair = pairs[ClampSign(sign) - 1];
  out = GetZodiacName(pair[0]);
  out += ", ";
  out += GetZodiacName(pair[1]);
}

}  // namespace

bool LoadZodiacNames() {
  SignTexts& t = Texts();
  if (t.loaded) return true;
  StringSet names;
  if (LoadUIStringSet(kZodiacNamesTable, "UIText", names, false)) {
    for (int32_t i = 1; i <= kZodiacSignCount; ++i) {
      if (const char* text = names.GetString(i)) t.names[static_cast<size_t>(i - 1)] = text;
    }
  }
  StringSet extra;
  if (LoadUIStringSet(kUITextExtraTable, "UIText", extra, false)) {
    for (int32_t i = 0; i < 2; ++i) {
      if (const char* text = extra.GetString(7 + i)) t.extra[static_cast<size_t>(i)] = text;
    }
  }
  // A missing table is not looked for again.
  t.loaded = true;
  return t.loaded;
}

void ResetZodiacNames() { Texts() = SignTexts(); }

const cRZString& GetZodiacName(int32_t sign) {
  LoadZodiacNames();
  return Texts().names[static_cast<size_t>(ClampSign(sign) - 1)];
}

const cRZString& GetUITextExtra(int32_t which) {
  LoadZodiacNames();
  return Texts().extra[static_cast<size_t>(std::clamp(which, 0, 1))];
}

int32_t FindZodiacByName(const cRZString& name) {
  for (int32_t sign = 1; sign <= kZodiacSignCount; ++sign) {
    if (GetZodiacName(sign) == name) return sign;
  }
  return 0;
}

int32_t GetZodiacSign(std::span<const int16_t> personality) {
  double values[5] = {};
  for (size_t i = 0; i < 5; ++i) {
    const auto index = static_cast<size_t>(kZodiacPersonalityIndices[i]);
    values[i] = index < personality.size() ? personality[index] * 0.01 : 0.0;
  }
  int32_t best = 0;
  double bestDistance = 1e38;
  for (int32_t sign = 1; sign <= kZodiacSignCount; ++sign) {
    double distance = 0;
    for (size_t i = 0; i < 5; ++i) {
      const double d = values[i] - kPresets[sign - 1][i];
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = sign;
    }
  }
  return best == 0 ? 1 : best;
}

void SetPersonalityFromZodiac(std::span<int16_t> personality, int32_t sign) {
  if (sign < 1 || sign > kZodiacSignCount) return;
  for (size_t i = 0; i < 5; ++i) {
    const auto index = static_cast<size_t>(kZodiacPersonalityIndices[i]);
    if (index < personality.size()) {
      personality[index] = static_cast<int16_t>(kPresets[sign - 1][i] * 100.0 + 0.5);
    }
  }
}

void GetZodiacNamePairA(cRZString& out, int32_t sign) { JoinPair(out, kPairsA, sign); }
void GetZodiacNamePairB(cRZString& out, int32_t sign) { JoinPair(out, kPairsB, sign); }

}  // namespace tova
