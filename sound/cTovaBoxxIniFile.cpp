#include "sound/cTovaBoxxIniFile.h"

#include <array>
#include <set>

#include "platform/FileSystem.h"
#include "sound/cHitEngine.h"
#include "sound/iSoundEventMappings.h"

cTovaBoxxIniFile::cTovaBoxxIniFile(cHitEngine& engine, std::string soundRoot, const std::string& path,
                                   iSoundEventMappings* mappings)
    : cHitIniFile(engine, std::move(soundRoot), path), mpMappings(mappings) {}

bool cTovaBoxxIniFile::Read() {
    AddHandler("EventMapping", [this](cHitIniFile& file, const std::string& key, const std::string& value) {
        std::array<int32_t, 6> values{};
        size_t at = 0;
        for (size_t i = 0; i < values.size() && at <= value.size(); ++i) {
            const size_t comma = value.find(',', at);
            values[i] = static_cast<int32_t>(file.Resolve(value.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
            if (comma == std::string::npos) break;
            at = comma + 1;
        }
        if (mpMappings) mpMappings->AddMapping(key, values);
    });
    RegisterBankHandlers();
    return Parse();
}

bool cTovaBoxxIniFile::LoadBanks(cHitEngine& engine, const std::string& folder, const std::string& soundRoot,
                                 iSoundEventMappings* mappings) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(folder, "*.hot")) {
        if (entry.isDirectory) continue;
        const std::string stem = base + entry.name.substr(0, entry.name.size() - 4);
        engine.LoadSymbols((stem + ".hsm").c_str());
        engine.LoadBank((stem + ".hit").c_str());
        cTovaBoxxIniFile definitions(engine, soundRoot, base + entry.name, mappings);
        if (!definitions.Read()) return false;
    }
    return true;
}
