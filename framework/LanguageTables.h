// The fixed facts about the twenty languages: keys, names, locale ids, code
// pages, day and month names, currency symbols and digit-group marks. Texts
// come back as bytes of the language's own code page.
#pragma once

#include <cstdint>
#include <string>

namespace LanguageTables {

constexpr std::uint32_t kLanguageCount = 20;

enum class NameKind { Day, ShortDay, Month, ShortMonth };

// Day (1 = Monday .. 7) or month (1 .. 12) name; null when the language has no
// names of that kind or the index is outside the table.
const std::string* Name(std::uint32_t language, NameKind kind, std::uint32_t index);
bool HasNames(std::uint32_t language, NameKind kind);

// Ids 1..20; null outside (and for the English name of language 20).
const char* Key(std::uint32_t language);
const char* EnglishName(std::uint32_t language);
const std::string* NativeName(std::uint32_t language);

// The Windows code page of the language; 1252 for unknown ids.
int CodePage(std::uint32_t language);
// The language of a Windows locale id; 1 for any id not in the table.
std::uint32_t LanguageFromLcid(std::uint16_t lcid);
// The symbol of the language's own currency; "$" for unknown ids.
const char* LocalCurrencySymbol(std::uint32_t language);
// The digit-group mark; "," for unknown ids.
const char* ThousandsSeparator(std::uint32_t language);

// Whether every table text had an exact form in its code page.
bool ConvertedExactly();

} // namespace LanguageTables
