#include "framework/cRZLanguageManager.h"

#include "framework/LanguageTables.h"
#include "platform/CodePage.h"

namespace {

constexpr std::uint32_t kLast = LanguageTables::kLanguageCount;

} // namespace

cRZLanguageManager::cRZLanguageManager() : cGZSystemService(kGZLanguageManagerServiceID), mUtility(1) {
    mUtility.SetEmbedded();
    platform::SetCurrentCodePage(LanguageTables::CodePage(1));
}

std::uint32_t cRZLanguageManager::AddLanguage(std::uint32_t language) {
    language = Resolve(language);
    if (language <= kLast) mAvailable.insert(language);
    return static_cast<std::uint32_t>(mAvailable.size());
}

std::uint32_t cRZLanguageManager::RemoveLanguage(std::uint32_t language) {
    return static_cast<std::uint32_t>(mAvailable.erase(Resolve(language)));
}

std::uint32_t cRZLanguageManager::GetLanguageFromLCID(std::uint32_t lcid) {
    return LanguageTables::LanguageFromLcid(static_cast<std::uint16_t>(lcid & 0xFFFF));
}

bool cRZLanguageManager::SetCurrentLanguage(std::uint32_t language) {
    if (language == 0) language = 1;
    if (language == mnCurrentLanguage) return true;
    if (!IsLanguageAvailable(language)) return false;
    mnCurrentLanguage = language;
    mUtility.SetLanguage(language);
    // In place of the C runtime's locale: the language's code page becomes
    // the one every string routine uses.
    platform::SetCurrentCodePage(LanguageTables::CodePage(language));
    return LanguageTables::Key(language) != nullptr;
}

bool cRZLanguageManager::IsLanguageAvailable(std::uint32_t language) {
    return mAvailable.count(Resolve(language)) != 0;
}

std::uint32_t cRZLanguageManager::GetUserDefaultLanguage() {
    return GetLanguageFromLCID(platform::UserDefaultLcid());
}

bool cRZLanguageManager::GetLanguageKey(cRZString& out, std::uint32_t language) {
    const char* key = LanguageTables::Key(Resolve(language));
    if (!key) return false;
    out = key;
    return true;
}

bool cRZLanguageManager::GetNextAvailableLanguage(std::uint32_t& language) {
    const std::uint32_t start = Resolve(language);
    if (start > kLast) return false;
    std::uint32_t id = start;
    do {
        id = id >= kLast ? 1 : id + 1;
    } while (id != start && !IsLanguageAvailable(id));
    language = id;
    return id != start;
}

bool cRZLanguageManager::GetLanguageName(cRZString& out, std::uint32_t language) {
    language = Resolve(language);
    const char* name = language <= kLast - 1 ? LanguageTables::EnglishName(language) : nullptr;
    if (!name) {
        out.clear();
        return false;
    }
    out = name;
    return true;
}

bool cRZLanguageManager::GetNativeLanguageName(cRZString& out, std::uint32_t language) {
    language = Resolve(language);
    if (language < 1 || language > kLast - 1) {
        out = "Untranslated";
        return false;
    }
    out.assign(*LanguageTables::NativeName(language));
    return true;
}

template <typename NameOf>
bool cRZLanguageManager::FindBy(const char* name, std::uint32_t& language, NameOf nameOf) {
    cRZString wanted(name);
    mUtility.ToLower(wanted);
    for (std::uint32_t id = 1; id <= kLast + 1; ++id) {
        const char* candidate = nameOf(id);
        if (!candidate) continue;
        cRZString lowered(candidate);
        mUtility.ToLower(lowered);
        if (lowered == wanted) {
            language = id;
            return true;
        }
    }
    language = 1;
    return false;
}

bool cRZLanguageManager::FindLanguageByName(const char* name, std::uint32_t& language) {
    return FindBy(name, language, [](std::uint32_t id) { return LanguageTables::EnglishName(id); });
}

bool cRZLanguageManager::FindLanguageByNativeName(const char* name, std::uint32_t& language) {
    return FindBy(name, language, [](std::uint32_t id) -> const char* {
        const std::string* native = LanguageTables::NativeName(id);
        return native ? native->c_str() : nullptr;
    });
}

std::uint32_t cRZLanguageManager::GetBaseLanguage(std::uint32_t language) {
    language = Resolve(language);
    return language == 2 ? 1 : language;
}

cIGZLanguageUtility* cRZLanguageManager::CreateLanguageUtility(std::uint32_t language) {
    auto* utility = new cRZLanguageUtility(Resolve(language));
    utility->AddRef();
    return utility;
}

bool cRZLanguageManager::GetShortMonthName(std::uint32_t month, cRZString& out) {
    return mUtility.GetShortMonthName(month, out);
}

bool cRZLanguageManager::FormatMoney(std::int64_t amount, cRZString& out) { return mUtility.FormatMoney(amount, out); }

bool cRZLanguageManager::FormatTime(cRZString& out, std::uint32_t hour, std::uint32_t minute, bool upperCase,
                                    bool markerFirst) {
    const std::uint32_t id = mnCurrentLanguage;
    if (id != 1 && id != 2 && id != 19) {
        out.Sprintf("%2u:%.2u", hour, minute);
        return true;
    }
    const char* marker = hour < 12 ? (upperCase ? "AM" : "am") : (upperCase ? "PM" : "pm");
    std::uint32_t shown = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
    if (markerFirst)
        out.Sprintf("%s %2u:%.2u", marker, shown, minute);
    else
        out.Sprintf("%2u:%.2u %s", shown, minute, marker);
    return true;
}

bool cRZLanguageManager::IsDoubleByteLanguage(std::int32_t language) {
    std::uint32_t id = language == -1 ? mnCurrentLanguage : static_cast<std::uint32_t>(language);
    return id == 15 || id == 17 || id == 18 || id == 20;
}

bool cRZLanguageManager::IsNonEnglish(std::int32_t language) {
    std::uint32_t id = language == -1 ? mnCurrentLanguage : static_cast<std::uint32_t>(language);
    return id != 1 && id != 2;
}
