// Localised formatting: numbers, money, dates, day and month names, the
// currency symbol and thousands separator of one language, its code page,
// and character classification and case of the current code page.
#pragma once

#include <cstdint>

#include "framework/LanguageTables.h"
#include "framework/cRZRefCount.h"
#include "framework/cRZString.h"

class cIGZLanguageUtility : public cIGZUnknown {
public:
    // Names write their text into `out`. A language without such names gives
    // "untranslated" and false; an index out of range leaves `out` alone and
    // answers true.
    virtual bool GetDayName(std::uint32_t day, cRZString& out) = 0;
    virtual bool GetShortDayName(std::uint32_t day, cRZString& out) = 0;
    virtual bool GetMonthName(std::uint32_t month, cRZString& out) = 0;
    virtual bool GetShortMonthName(std::uint32_t month, cRZString& out) = 0;
    // Styles 0..5; any other style answers false and leaves `out` alone.
    virtual bool FormatDate(std::uint32_t month, std::uint32_t day, std::uint32_t year, cRZString& out,
                            std::uint32_t style) = 0;
    virtual bool GetCurrencySymbol(cRZString& out) = 0;
    virtual bool IsCurrencyBeforeAmount() = 0;
    virtual bool IsSpaceAfterCurrency() = 0;
    virtual bool GetThousandsSeparator(cRZString& out) = 0;
    virtual bool FormatMoney(std::int64_t amount, cRZString& out) = 0;
    virtual bool FormatMoney(std::int32_t amount, cRZString& out) = 0;
    virtual bool FormatNumber(std::int64_t value, cRZString& out) = 0;
    virtual bool FormatNumber(std::int32_t value, cRZString& out) = 0;

    // Classification and case of the current code page.
    virtual bool ToLower(char& c) = 0;
    virtual bool ToLower(cRZString& text) = 0;
    virtual bool ToUpper(char& c) = 0;
    virtual bool ToUpper(cRZString& text) = 0;
    virtual bool IsLower(char c) = 0;
    virtual bool IsUpper(char c) = 0;
    virtual bool IsAlpha(char c) = 0;
    virtual bool IsDigit(char c) = 0;
    virtual bool IsAlnum(char c) = 0;
    virtual bool IsPrint(char c) = 0;
    virtual bool IsPunct(char c) = 0;

    virtual int GetCodePage(std::uint32_t language) = 0;
    virtual bool IsWesternLanguage(std::uint32_t language) = 0;
    virtual bool IsCentralEuropeanLanguage(std::uint32_t language) = 0;
    virtual bool IsNotUKOrJapanese(std::uint32_t language) = 0;
    virtual bool IsNotUSEnglish(std::uint32_t language) = 0;
    virtual void SetLanguage(std::uint32_t language) = 0;

protected:
    virtual ~cIGZLanguageUtility() = default;
};

class cRZLanguageUtility : public cIGZLanguageUtility {
public:
    explicit cRZLanguageUtility(std::uint32_t language = 1);
    ~cRZLanguageUtility() override = default;

    // The count starts at 0; the last Release deletes the object, unless it
    // lives inside another object (the language manager's own utility).
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    void SetEmbedded() { mbEmbedded = true; }

    bool GetDayName(std::uint32_t day, cRZString& out) override;
    bool GetShortDayName(std::uint32_t day, cRZString& out) override;
    bool GetMonthName(std::uint32_t month, cRZString& out) override;
    bool GetShortMonthName(std::uint32_t month, cRZString& out) override;
    bool FormatDate(std::uint32_t month, std::uint32_t day, std::uint32_t year, cRZString& out,
                    std::uint32_t style) override;
    bool GetCurrencySymbol(cRZString& out) override;
    bool IsCurrencyBeforeAmount() override { return true; }
    bool IsSpaceAfterCurrency() override { return false; }
    bool GetThousandsSeparator(cRZString& out) override;
    bool FormatMoney(std::int64_t amount, cRZString& out) override;
    bool FormatMoney(std::int32_t amount, cRZString& out) override;
    bool FormatNumber(std::int64_t value, cRZString& out) override;
    bool FormatNumber(std::int32_t value, cRZString& out) override;

    bool ToLower(char& c) override;
    bool ToLower(cRZString& text) override;
    bool ToUpper(char& c) override;
    bool ToUpper(cRZString& text) override;
    bool IsLower(char c) override;
    bool IsUpper(char c) override;
    bool IsAlpha(char c) override;
    bool IsDigit(char c) override;
    bool IsAlnum(char c) override;
    bool IsPrint(char c) override;
    bool IsPunct(char c) override;

    int GetCodePage(std::uint32_t language) override;
    bool IsWesternLanguage(std::uint32_t language) override;
    bool IsCentralEuropeanLanguage(std::uint32_t language) override;
    bool IsNotUKOrJapanese(std::uint32_t language) override;
    bool IsNotUSEnglish(std::uint32_t language) override;
    void SetLanguage(std::uint32_t language) override { mnLanguage = language; }

    std::uint32_t GetLanguage() const { return mnLanguage; }
    // Shows each language's own currency instead of "$". Nothing in the
    // game turns it on; it is kept for completeness of the tables.
    void SetLocalCurrency(bool on) { mbLocalCurrency = on; }

private:
    bool GetName(LanguageTables::NameKind kind, std::uint32_t index, cRZString& out);
    // The digits of |value| in groups of three, with the language's mark.
    std::string GroupedDigits(std::int64_t value) const;

    std::uint32_t mnRefCount = 0;
    std::uint32_t mnLanguage;
    bool mbLocalCurrency = false;
    bool mbEmbedded = false;
};
