#include "framework/cRZLanguageUtility.h"

#include "platform/CodePage.h"

#include <string>

using LanguageTables::NameKind;

namespace {

const char kUntranslated[] = "untranslated";

bool OneOf(std::uint32_t id, std::initializer_list<std::uint32_t> ids) {
    for (std::uint32_t x : ids)
        if (x == id) return true;
    return false;
}

const platform::CodePage& Current() { return platform::CurrentCodePage(); }
unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

} // namespace

cRZLanguageUtility::cRZLanguageUtility(std::uint32_t language) : mnLanguage(language) {}

std::uint32_t cRZLanguageUtility::AddRef() { return ++mnRefCount; }

std::uint32_t cRZLanguageUtility::Release() {
    if (mnRefCount > 0) --mnRefCount;
    if (mnRefCount == 0 && !mbEmbedded) {
        delete this;
        return 0;
    }
    return mnRefCount;
}

bool cRZLanguageUtility::GetName(NameKind kind, std::uint32_t index, cRZString& out) {
    std::uint32_t last = kind == NameKind::Day || kind == NameKind::ShortDay ? 7 : 12;
    if (index < 1 || index > last) return true;
    const std::string* name = LanguageTables::Name(mnLanguage, kind, index);
    if (!name) {
        out = kUntranslated;
        return false;
    }
    out.assign(*name);
    return true;
}

bool cRZLanguageUtility::GetDayName(std::uint32_t day, cRZString& out) { return GetName(NameKind::Day, day, out); }

bool cRZLanguageUtility::GetShortDayName(std::uint32_t day, cRZString& out) {
    return GetName(NameKind::ShortDay, day, out);
}

bool cRZLanguageUtility::GetMonthName(std::uint32_t month, cRZString& out) {
    return GetName(NameKind::Month, month, out);
}

bool cRZLanguageUtility::GetShortMonthName(std::uint32_t month, cRZString& out) {
    return GetName(NameKind::ShortMonth, month, out);
}

bool cRZLanguageUtility::FormatDate(std::uint32_t month, std::uint32_t day, std::uint32_t year, cRZString& out,
                                   std::uint32_t style) {
    if (style > 5) return false;
    cRZString name, shortName;
    GetMonthName(month, name);
    GetShortMonthName(month, shortName);
    const char* n = name.c_str();
    const char* s = shortName.c_str();
    const std::uint32_t id = mnLanguage;
    const char* numeric = nullptr;  // styles 0 and 1 of the European groups
    const char* numericMonth = nullptr;
    if (OneOf(id, {2, 5, 6, 13, 19})) {
        numeric = "%u/%u/%4u";
        numericMonth = "%u/%4u";
    } else if (OneOf(id, {3, 4, 9, 10, 11, 16})) {
        numeric = "%u.%u.%4u";
        numericMonth = "%u.%4u";
    } else if (OneOf(id, {7, 8, 14})) {
        numeric = "%u-%u-%4u";
        numericMonth = "%u-%4u";
    }

    if (id == 15) {
        switch (style) {
        case 0: out.Sprintf("%4u/%u/%u", year, month, day); break;
        case 1: out.Sprintf("%4u/%u", year, month); break;
        case 2: out.Sprintf("%4u.%s.%u", year, n, day); break;
        case 3: out.Sprintf("%4u.%s", year, n); break;
        case 4: out.Sprintf("%4u.%s.%u", year, s, day); break;
        case 5: out.Sprintf("%4u.%s", year, s); break;
        }
    } else if (id == 17 || id == 18) {
        switch (style) {
        case 0: out.Sprintf("%4u-%u-%u", year, month, day); break;
        case 1: out.Sprintf("%4u-%u", year, month); break;
        case 2: out.Sprintf("%4u %s %u", year, n, day); break;
        case 3: out.Sprintf("%4u %s", year, n); break;
        case 4: out.Sprintf("%4u %s %u", year, s, day); break;
        case 5: out.Sprintf("%4u %s", year, s); break;
        }
    } else if (numeric) {
        // Day before month.
        switch (style) {
        case 0: out.Sprintf(numeric, day, month, year); break;
        case 1: out.Sprintf(numericMonth, month, year); break;
        case 2: out.Sprintf("%u %s, %4u", day, n, year); break;
        case 3: out.Sprintf("%s %4u", n, year); break;
        case 4: out.Sprintf("%u %s., %4u", day, s, year); break;
        case 5: out.Sprintf("%s. %4u", s, year); break;
        }
    } else {
        // Languages 1, 12 and 20, and ids outside the table: month first.
        switch (style) {
        case 0: out.Sprintf("%u/%u/%4u", month, day, year); break;
        case 1: out.Sprintf("%u/%4u", month, year); break;
        case 2: out.Sprintf("%s %u, %4u", n, day, year); break;
        case 3: out.Sprintf("%s %4u", n, year); break;
        case 4: out.Sprintf("%s. %u, %4u", s, day, year); break;
        case 5: out.Sprintf("%s. %4u", s, year); break;
        }
    }
    return true;
}

bool cRZLanguageUtility::GetCurrencySymbol(cRZString& out) {
    out = mbLocalCurrency ? LanguageTables::LocalCurrencySymbol(mnLanguage) : "$";
    return true;
}

bool cRZLanguageUtility::GetThousandsSeparator(cRZString& out) {
    if (mnLanguage < 1 || mnLanguage > LanguageTables::kLanguageCount) return false;
    out = LanguageTables::ThousandsSeparator(mnLanguage);
    return true;
}

std::string cRZLanguageUtility::GroupedDigits(std::int64_t value) const {
    // The magnitude as unsigned, so the most negative value has one too.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    const std::string separator = LanguageTables::ThousandsSeparator(mnLanguage);
    std::string grouped;
    std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped.append(digits, 0, first);
    for (std::size_t i = first; i < digits.size(); i += 3) {
        grouped += separator;
        grouped.append(digits, i, 3);
    }
    return grouped;
}

bool cRZLanguageUtility::FormatNumber(std::int64_t value, cRZString& out) {
    std::string digits = GroupedDigits(value);
    if (value >= 0)
        out.assign(digits);
    else if (mnLanguage == 11)
        out.assign(digits + "-");
    else
        out.assign("-" + digits);
    return mnLanguage >= 1 && mnLanguage <= LanguageTables::kLanguageCount;
}

bool cRZLanguageUtility::FormatNumber(std::int32_t value, cRZString& out) {
    return FormatNumber(static_cast<std::int64_t>(value), out);
}

bool cRZLanguageUtility::FormatMoney(std::int64_t amount, cRZString& out) {
    cRZString symbol;
    GetCurrencySymbol(symbol);
    std::string digits = GroupedDigits(amount);
    if (amount >= 0)
        out.assign(symbol + digits);
    else if (mnLanguage == 8 || mnLanguage == 12)
        out.assign(symbol + " -" + digits);
    else if (mnLanguage == 10)
        out.assign(symbol + "-" + digits);
    else
        out.assign("-" + symbol + digits);
    return mnLanguage >= 1 && mnLanguage <= LanguageTables::kLanguageCount;
}

bool cRZLanguageUtility::FormatMoney(std::int32_t amount, cRZString& out) {
    return FormatMoney(static_cast<std::int64_t>(amount), out);
}

bool cRZLanguageUtility::ToLower(char& c) {
    c = static_cast<char>(Current().ToLower(Byte(c)));
    return true;
}

// Whole texts step by characters, so the second byte of a double-byte
// character is never taken for a letter.
bool cRZLanguageUtility::ToLower(cRZString& text) {
    Current().MakeLower(text);
    return true;
}

bool cRZLanguageUtility::ToUpper(char& c) {
    c = static_cast<char>(Current().ToUpper(Byte(c)));
    return true;
}

bool cRZLanguageUtility::ToUpper(cRZString& text) {
    Current().MakeUpper(text);
    return true;
}

bool cRZLanguageUtility::IsLower(char c) { return Current().IsLower(Byte(c)); }
bool cRZLanguageUtility::IsUpper(char c) { return Current().IsUpper(Byte(c)); }
bool cRZLanguageUtility::IsAlpha(char c) { return Current().IsAlpha(Byte(c)); }
bool cRZLanguageUtility::IsDigit(char c) { return Current().IsDigit(Byte(c)); }
bool cRZLanguageUtility::IsAlnum(char c) { return Current().IsAlnum(Byte(c)); }
bool cRZLanguageUtility::IsPrint(char c) { return Current().IsPrint(Byte(c)); }
bool cRZLanguageUtility::IsPunct(char c) { return Current().IsPunct(Byte(c)); }

int cRZLanguageUtility::GetCodePage(std::uint32_t language) { return LanguageTables::CodePage(language); }

bool cRZLanguageUtility::IsWesternLanguage(std::uint32_t language) {
    return (language >= 1 && language <= 11) || language == 14;
}

bool cRZLanguageUtility::IsCentralEuropeanLanguage(std::uint32_t language) {
    return language == 13 || language == 16;
}

bool cRZLanguageUtility::IsNotUKOrJapanese(std::uint32_t language) { return language != 2 && language != 15; }
bool cRZLanguageUtility::IsNotUSEnglish(std::uint32_t language) { return language != 1; }
