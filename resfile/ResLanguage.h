// The current language as the string tables see it: a language id 1 to 20.
// The game sets it from its context at start-up; until then it is 1. A
// language setting with the top bit set (0x80) stands for this language.
#pragma once

constexpr int kLanguageCurrent = 0x80;
constexpr int kLanguageSlots = 20;

int GetCurrentLanguageId();
void SetCurrentLanguageId(int id);  // ids outside 1..20 are ignored

// The slot (0..19) a language setting names: a setting with the top bit set
// means the current language, anything else is taken as a slot.
int LanguageSlotOf(int setting);
