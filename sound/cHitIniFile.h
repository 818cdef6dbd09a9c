// A bank's definition file (".hot"), read as whitespace-separated tokens: a
// token "[NAME]" makes the handler registered under exactly NAME current
// (none for an unknown name or a header without "]"), and any other token
// holding "=" goes to the current handler as key and value. The file is
// read in one pass, so an equate must stand above its first use.
//
// Value items resolve as: "@NAME" the symbol's value, a leading digit a
// number (hexadecimal with "0x" or any hexadecimal letter), else the
// file's equate of that name; 0 when absent.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/cRZIniFile.h"

class cHitEngine;

class cHitIniFile : public cRZIniFile {
public:
    using Handler = std::function<void(cHitIniFile& file, const std::string& key, const std::string& value)>;

    // Patch files are found under soundRoot.
    cHitIniFile(cHitEngine& engine, std::string soundRoot, const std::string& path);

    // Registers the handlers of the sections and reads the file; false when
    // it cannot be opened.
    virtual bool Read();

    void AddHandler(const std::string& section, Handler handler);
    uint32_t Resolve(const std::string& item) const;
    static uint32_t ParseNumber(const std::string& text);
    cHitEngine& Engine() const { return mEngine; }
    const std::map<std::string, uint32_t>& Equates() const { return mEquates; }

protected:
    void RegisterBankHandlers();
    bool Parse();

private:
    void OnEquate(const std::string& key, const std::string& value);
    void OnPatch(const std::string& key, const std::string& value);
    void OnTrack(const std::string& key, const std::string& value);
    void OnTrackData(const std::string& key, const std::string& value);
    void OnGlobalHitList(const std::string& key, const std::string& value);

    cHitEngine& mEngine;
    std::string mSoundRoot;
    std::string mFileName;
    std::vector<std::pair<std::string, Handler>> mHandlers;
    std::map<std::string, uint32_t> mEquates;
};
