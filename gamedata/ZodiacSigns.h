#pragma once
// The twelve signs: names of personality presets, read once from the
// interface texts, and the preset nearest to a person's personality.

#include <cstdint>
#include <span>

#include "framework/cRZString.h"

namespace tova {

constexpr int32_t kZodiacSignCount = 12;
// The personality values used, in order, by their person-data index.
inline constexpr int32_t kZodiacPersonalityIndices[5] = {6, 2, 5, 7, 3};
constexpr int32_t kZodiacNamesTable = 164;
constexpr int32_t kUITextExtraTable = 154;

// Loads table 164 (and the two texts of table 154) of "UIText" on the first
// call, found or not; returns the loaded flag.
bool LoadZodiacNames();
// Sign clamped into 1..12.
const cRZString& GetZodiacName(int32_t sign);
// 1..12 for an exact name, else 0.
int32_t FindZodiacByName(const cRZString& name);
// personality: values by person-data index (at least 8), stored x 100.
int32_t GetZodiacSign(std::span<const int16_t> personality);
// Signs outside 1..12 change nothing.
void SetPersonalityFromZodiac(std::span<int16_t> personality, int32_t sign);
void GetZodiacNamePairA(cRZString& out, int32_t sign);
void GetZodiacNamePairB(cRZString& out, int32_t sign);
// Entries 7 and 8 of table 154.
const cRZString& GetUITextExtra(int32_t which);
// Forgets the names and the loaded flag (tests, language changes).
void ResetZodiacNames();

}  // namespace tova
