// The bitmap resource script reader (".RT" files): braced sentences that map
// resource ids (numbers, or symbols of "const Sint32 NAME = value;" headers
// pulled in with INCLUDE) to picture files, for every language or one:
//   { INCLUDE, "ids.h" }
//   { BITMAP, kPanelId, "Panels/panel.bmp" }
//   { RLEBMP, 77, "Buttons/ok.bmp", kLangFrench }
// A sentence with a problem is dropped and the problem recorded; reading
// goes on with the next sentence.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class cGZResourceMap;

class RTScript {
public:
    // Picture sentences for other languages than `currentLanguage` (or 0)
    // are dropped.
    RTScript(cGZResourceMap& map, int32_t currentLanguage) : mMap(map), mLanguage(currentLanguage) {}

    // Reads the whole file and parses it; INCLUDE names are relative to the
    // file's own folder. False when the file cannot be read (nothing added).
    bool LoadScript(const std::string& path);
    // Parses a script's text; `folder` (ending in a separator, or empty)
    // prefixes header names.
    void Parse(std::string_view text, const std::string& folder);
    // Scans a header's text for "const Sint32 NAME = value;" definitions.
    void ScanHeader(std::string_view text);

    const std::vector<std::string>& Problems() const { return mProblems; }
    const std::map<std::string, int32_t>& Symbols() const { return mSymbols; }

private:
    void Sentence(const std::vector<std::string>& tokens, const std::string& folder);
    void Picture(const std::vector<std::string>& tokens, bool rle);
    void Include(const std::vector<std::string>& tokens, const std::string& folder);

    cGZResourceMap& mMap;
    int32_t mLanguage;
    std::map<std::string, int32_t> mSymbols;
    std::vector<std::string> mProblems;
};
