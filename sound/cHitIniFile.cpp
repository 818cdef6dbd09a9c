#include "sound/cHitIniFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "framework/CTGFileManager.h"
#include "sound/cHitEngine.h"
#include "sound/cHitList.h"
#include "sound/cSamplePatch.h"
#include "sound/cTrack.h"

namespace {

// A definition's range "a-b" adds at most this many ids.
constexpr uint64_t kMaxRange = 4096;

std::vector<std::string> SplitItems(const std::string& text) {
    std::vector<std::string> items;
    size_t at = 0;
    while (true) {
        const size_t comma = text.find(',', at);
        items.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return items;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

cHitIniFile::cHitIniFile(cHitEngine& engine, std::string soundRoot, const std::string& path)
    : cRZIniFile(cRZString(path.c_str())), mEngine(engine), mSoundRoot(std::move(soundRoot)), mFileName(path) {}

void cHitIniFile::AddHandler(const std::string& section, Handler handler) {
    mHandlers.emplace_back(section, std::move(handler));
}

void cHitIniFile::RegisterBankHandlers() {
    AddHandler("EventMappingEquate", [](cHitIniFile& f, const auto& k, const auto& v) { f.OnEquate(k, v); });
    AddHandler("Patch", [](cHitIniFile& f, const auto& k, const auto& v) { f.OnPatch(k, v); });
    AddHandler("Track", [](cHitIniFile& f, const auto& k, const auto& v) { f.OnTrack(k, v); });
    AddHandler("TrackData", [](cHitIniFile& f, const auto& k, const auto& v) { f.OnTrackData(k, v); });
    AddHandler("GlobalHitList", [](cHitIniFile& f, const auto& k, const auto& v) { f.OnGlobalHitList(k, v); });
}

bool cHitIniFile::Read() {
    RegisterBankHandlers();
    return Parse();
}

bool cHitIniFile::Parse() {
    CTGFile* file = CTGFileManager::Global().Open(mFileName.c_str(), false);
    if (!file) return false;
    std::string text(static_cast<size_t>(std::max(file->GetSize(), 0)), '\0');
    const bool ok = text.empty() || file->Read(text.data(), static_cast<int32_t>(text.size())) ==
                                        static_cast<int32_t>(text.size());
    CTGFileManager::Global().Close(file);
    if (!ok) return false;
    const Handler* current = nullptr;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
        const std::string token = text.substr(at, end - at);
        at = end;
        if (token.empty()) continue;
        if (token[0] == '[') {
            current = nullptr;
            const size_t close = token.find(']');
            if (close == std::string::npos) continue;
            const std::string name = token.substr(1, close - 1);
            for (const auto& [section, handler] : mHandlers)
                if (section == name) current = &handler;
            continue;
        }
        const size_t equals = token.find('=');
        if (!current || equals == std::string::npos) continue;
        (*current)(*this, token.substr(0, equals), token.substr(equals + 1));
    }
    return true;
}

uint32_t cHitIniFile::ParseNumber(const std::string& text) {
    bool hex = text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c))) hex = true;
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, hex ? 16 : 10));
}

uint32_t cHitIniFile::Resolve(const std::string& item) const {
    if (item.empty()) return 0;
    if (item[0] == '@') return mEngine.LookupSymbol(item.substr(1));
    if (std::isdigit(static_cast<unsigned char>(item[0]))) return ParseNumber(item);
    auto it = mEquates.find(item);
    return it == mEquates.end() ? 0 : it->second;
}

void cHitIniFile::OnEquate(const std::string& key, const std::string& value) { mEquates[key] = ParseNumber(value); }

void cHitIniFile::OnPatch(const std::string& key, const std::string& value) {
    const uint32_t id = ParseNumber(key);
    if (id == 0) return;
    // n, name, "file", then the flags after the closing quote's comma.
    const size_t firstComma = value.find(',');
    if (firstComma == std::string::npos) return;
    const size_t nameEnd = value.find(',', firstComma + 1);
    const std::string name = value.substr(firstComma + 1, nameEnd == std::string::npos ? std::string::npos
                                                                                      : nameEnd - firstComma - 1);
    const size_t open = value.find('"', nameEnd == std::string::npos ? value.size() : nameEnd);
    const size_t close = open == std::string::npos ? std::string::npos : value.find('"', open + 1);
    if (close == std::string::npos) return;
    const std::string file = value.substr(open + 1, close - open - 1);
    std::vector<std::string> flags;
    if (const size_t comma = value.find(',', close); comma != std::string::npos) flags = SplitItems(value.substr(comma + 1));
    flags.resize(5);
    const auto set = [&](size_t i) { return ParseNumber(flags[i]) == 1 ? 1 : 0; };
    const std::string lower = Lower(file);
    const bool underSoundData = lower.find("sounddata\\") != std::string::npos || lower.find("sounddata/") != std::string::npos;
    std::string path = mSoundRoot;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    auto* patch = new cSamplePatch(path + file);
    patch->SetVar(44, set(0), true);
    patch->SetVar(38, set(1) && !underSoundData ? 1 : 0, true);
    patch->SetVar(43, set(2), true);
    patch->SetVar(26, set(3), true);
    patch->SetVar(27, set(4), true);
    (void)name;
    mEngine.RegisterObject(id, patch);
}

void cHitIniFile::OnTrack(const std::string& key, const std::string& value) {
    const uint32_t id = ParseNumber(key);
    if (id == 0) return;
    std::vector<std::string> items = SplitItems(value);
    items.resize(9);
    cTrackDefinition definition;
    definition.name = items[1];
    definition.volume = static_cast<int32_t>(Resolve(items[2]));
    definition.kind = Resolve(items[3]);
    definition.priority = static_cast<int32_t>(Resolve(items[4]));
    definition.controlGroup = Resolve(items[5]);
    definition.attenuation = static_cast<int32_t>(Resolve(items[6]));
    definition.programIndex = Resolve(items[7]);
    definition.patchId = static_cast<int32_t>(Resolve(items[8]));
    mEngine.RegisterObject(id, new cTrack(definition));
}

void cHitIniFile::OnTrackData(const std::string& key, const std::string& value) {
    const uint32_t index = ParseNumber(key);
    const uint32_t offset = ParseNumber(value);
    if (!mEngine.SetTrackData(index, offset)) {
        const std::string text = "Bad TrackData entry " + key + "=" + value + " in " + mFileName;
        mEngine.ReportError(nullptr, text.c_str());
    }
}

void cHitIniFile::OnGlobalHitList(const std::string& key, const std::string& value) {
    cHitList* list = mEngine.NewHitList(ParseNumber(key));
    uint64_t added = 0;
    for (const std::string& item : SplitItems(value)) {
        if (item.empty()) continue;
        const size_t dash = item.find('-');
        const uint32_t first = ParseNumber(item.substr(0, dash));
        const uint32_t last = dash == std::string::npos ? first : ParseNumber(item.substr(dash + 1));
        for (uint64_t id = first; id <= last && added < kMaxRange; ++id, ++added) list->Add(static_cast<uint32_t>(id));
    }
}
