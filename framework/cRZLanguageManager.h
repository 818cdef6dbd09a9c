// The language manager: the twenty languages by id, which are available and
// which one is current. Making a language current also makes its code page
// the process's current code page (platform/CodePage.h), which every
// framework string routine follows.
#pragma once

#include <cstdint>
#include <set>

#include "framework/cGZSystemService.h"
#include "framework/cRZLanguageUtility.h"
#include "framework/cRZString.h"

class cIGZLanguageManager {
public:
    virtual std::uint32_t AddLanguage(std::uint32_t language) = 0;
    virtual std::uint32_t RemoveLanguage(std::uint32_t language) = 0;
    virtual std::uint32_t GetLanguageFromLCID(std::uint32_t lcid) = 0;
    virtual std::uint32_t GetCurrentLanguage() = 0;
    virtual bool SetCurrentLanguage(std::uint32_t language) = 0;
    virtual bool IsLanguageAvailable(std::uint32_t language) = 0;
    virtual std::uint32_t GetUserDefaultLanguage() = 0;
    virtual bool GetLanguageKey(cRZString& out, std::uint32_t language) = 0;
    virtual bool GetNextAvailableLanguage(std::uint32_t& language) = 0;
    virtual bool GetLanguageName(cRZString& out, std::uint32_t language) = 0;
    virtual bool GetNativeLanguageName(cRZString& out, std::uint32_t language) = 0;
    virtual bool FindLanguageByName(const char* name, std::uint32_t& language) = 0;
    virtual bool FindLanguageByNativeName(const char* name, std::uint32_t& language) = 0;
    virtual std::uint32_t GetBaseLanguage(std::uint32_t language) = 0;
    virtual cIGZLanguageUtility* GetLanguageUtility() = 0;
    virtual cIGZLanguageUtility* CreateLanguageUtility(std::uint32_t language) = 0;
    virtual bool GetShortMonthName(std::uint32_t month, cRZString& out) = 0;
    virtual bool FormatMoney(std::int64_t amount, cRZString& out) = 0;
    virtual bool FormatTime(cRZString& out, std::uint32_t hour, std::uint32_t minute, bool upperCase,
                            bool markerFirst) = 0;
    // -1 asks about the current language.
    virtual bool IsDoubleByteLanguage(std::int32_t language) = 0;
    virtual bool IsNonEnglish(std::int32_t language) = 0;

protected:
    virtual ~cIGZLanguageManager() = default;
};

// The framework's language manager service (id kGZLanguageManagerServiceID);
// the framework initialises it directly, before the listed services.
class cRZLanguageManager : public cGZSystemService, public cIGZLanguageManager {
public:
    cRZLanguageManager();
    ~cRZLanguageManager() override = default;

    // Nothing to set up or tear down: the tables convert on first use.
    bool Init() override { return true; }
    bool Shutdown() override { return true; }

    // An id of 0 means the current language wherever an id is taken.
    std::uint32_t AddLanguage(std::uint32_t language) override;
    std::uint32_t RemoveLanguage(std::uint32_t language) override;
    std::uint32_t GetLanguageFromLCID(std::uint32_t lcid) override;
    std::uint32_t GetCurrentLanguage() override { return mnCurrentLanguage; }
    bool SetCurrentLanguage(std::uint32_t language) override;
    bool IsLanguageAvailable(std::uint32_t language) override;
    std::uint32_t GetUserDefaultLanguage() override;
    bool GetLanguageKey(cRZString& out, std::uint32_t language) override;
    bool GetNextAvailableLanguage(std::uint32_t& language) override;
    bool GetLanguageName(cRZString& out, std::uint32_t language) override;
    bool GetNativeLanguageName(cRZString& out, std::uint32_t language) override;
    bool FindLanguageByName(const char* name, std::uint32_t& language) override;
    bool FindLanguageByNativeName(const char* name, std::uint32_t& language) override;
    std::uint32_t GetBaseLanguage(std::uint32_t language) override;
    cIGZLanguageUtility* GetLanguageUtility() override { return &mUtility; }
    cIGZLanguageUtility* CreateLanguageUtility(std::uint32_t language) override;
    bool GetShortMonthName(std::uint32_t month, cRZString& out) override;
    bool FormatMoney(std::int64_t amount, cRZString& out) override;
    bool FormatTime(cRZString& out, std::uint32_t hour, std::uint32_t minute, bool upperCase,
                    bool markerFirst) override;
    bool IsDoubleByteLanguage(std::int32_t language) override;
    bool IsNonEnglish(std::int32_t language) override;

private:
    std::uint32_t Resolve(std::uint32_t language) const { return language == 0 ? mnCurrentLanguage : language; }
    // Finds the first id whose name (from `nameOf`) equals `name` ignoring case.
    template <typename NameOf>
    bool FindBy(const char* name, std::uint32_t& language, NameOf nameOf);

    std::set<std::uint32_t> mAvailable;
    std::uint32_t mnCurrentLanguage = 1;
    cRZLanguageUtility mUtility;
};
