#include "tools/contentc/BankSources.h"

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "platform/AtomicFile.h"
#include "sound/cTrackOpcodes.h"
#include "tools/contentc/KeywordLines.h"

namespace {

bool ParseNumber(const std::string& text, int64_t& out) {
    if (text.empty()) return false;
    try {
        size_t used = 0;
        out = std::stoll(text, &used, 0);
        return used == text.size() && out >= INT32_MIN && out <= int64_t(UINT32_MAX);
    } catch (...) {
        return false;
    }
}

struct BankAssembler {
    explicit BankAssembler(BankImage& image) : out(image) {}
    BankImage& out;
    std::map<std::string, int64_t> entries;  // program and label names: index, or -1 until assigned
    std::vector<std::pair<std::string, size_t>> entryOffsets;  // in order of definition
    std::vector<std::pair<size_t, std::string>> fixups;        // long operands naming an entry
    std::vector<std::pair<std::string, std::string>> trackLines;  // "ID=" prefix, program item
    std::vector<std::string> trackTails;
    std::string equates, patches, hitLists, events, rawData, raw;
    std::set<int64_t> usedIndexes;
    bool inProgram = false;

    void Put32(uint32_t value) {
        for (int i = 0; i < 4; ++i) out.code.push_back(uint8_t(value >> (8 * i)));
    }

    bool Entry(const std::string& name, int64_t index) {
        if (entries.count(name)) return false;
        if (index >= 0 && !usedIndexes.insert(index).second) return false;
        entries[name] = index;
        entryOffsets.emplace_back(name, out.code.size());
        inProgram = true;
        return true;
    }

    KeywordResult Instruction(const TrackOpcodeInfo& info, std::istringstream& words) {
        out.code.push_back(info.op);
        for (char kind : info.operands) {
            std::string word;
            if (!(words >> word)) return KeywordResult::kBadValue;
            int64_t value = 0;
            if (kind == 'L') {
                if (ParseNumber(word, value)) {
                    Put32(uint32_t(value));
                } else {
                    fixups.emplace_back(out.code.size(), word);
                    Put32(0);
                }
            } else {
                if (!ParseNumber(word, value) || value < 0 || value > 255) return KeywordResult::kBadValue;
                out.code.push_back(uint8_t(value));
            }
        }
        std::string extra;
        return words >> extra ? KeywordResult::kBadValue : KeywordResult::kTaken;
    }

    KeywordResult Statement(const std::string& key, std::istringstream& words) {
        std::string a, b;
        if (key == "bank") return words >> out.name && out.name.find('/') == std::string::npos ? KeywordResult::kTaken
                                                                                               : KeywordResult::kBadValue;
        if (key == "equate" || key == "symbol") {
            if (!(words >> a >> b)) return KeywordResult::kBadValue;
            (key == "equate" ? equates : out.symbols) += key == "equate" ? a + "=" + b + "\n" : a + " " + b + " (symbol)\n";
            return KeywordResult::kTaken;
        }
        if (key == "patch") {
            std::string id, name, file, flag;
            if (!(words >> id >> name >> file)) return KeywordResult::kBadValue;
            std::string flags;
            int count = 0;
            while (words >> flag) flags += "," + flag, ++count;
            for (; count < 5; ++count) flags += ",0";
            patches += id + "=1," + name + ",\"" + file + "\"" + flags + "\n";
            return KeywordResult::kTaken;
        }
        if (key == "track") {
            std::vector<std::string> items;
            for (std::string item; words >> item;) items.push_back(item);
            if (items.size() != 9) return KeywordResult::kBadValue;
            trackLines.emplace_back(items[0] + "=1," + items[1] + "," + items[2] + "," + items[3] + "," + items[4] +
                                        "," + items[5] + "," + items[6] + ",",
                                    items[7]);
            trackTails.push_back("," + items[8]);
            return KeywordResult::kTaken;
        }
        if (key == "hitlist" || key == "event") {
            if (!(words >> a)) return KeywordResult::kBadValue;
            std::string items;
            for (std::string item; words >> item;) items += (items.empty() ? "" : ",") + item;
            (key == "hitlist" ? hitLists : events) += a + "=" + items + "\n";
            return KeywordResult::kTaken;
        }
        if (key == "trackdata") {
            if (!(words >> a >> b)) return KeywordResult::kBadValue;
            rawData += a + "=" + b + "\n";
            return KeywordResult::kTaken;
        }
        if (key == "hot") {
            std::string rest;
            std::getline(words, rest);
            raw += rest + "\n";
            return KeywordResult::kTaken;
        }
        if (key == "program") {
            int64_t index = -1;
            if (!(words >> a) || ((words >> b) && (!ParseNumber(b, index) || index < 0 || index > 2047)))
                return KeywordResult::kBadValue;
            return Entry(a, index) ? KeywordResult::kTaken : KeywordResult::kBadValue;
        }
        if (key.size() > 1 && key.back() == ':')
            return inProgram && Entry(key.substr(0, key.size() - 1), -1) ? KeywordResult::kTaken
                                                                        : KeywordResult::kBadValue;
        if (key == "bytes") {
            int64_t value = 0;
            for (std::string word; words >> word;) {
                if (!ParseNumber(word, value) || value < 0 || value > 255) return KeywordResult::kBadValue;
                out.code.push_back(uint8_t(value));
            }
            return KeywordResult::kTaken;
        }
        if (key == "end") {
            inProgram = false;
            return KeywordResult::kTaken;
        }
        if (const TrackOpcodeInfo* info = FindTrackOpcode(key); info && inProgram) return Instruction(*info, words);
        return KeywordResult::kUnknown;
    }

    bool Finish(const std::string& sourceName, std::string& error) {
        int64_t next = 0;
        for (auto& [name, index] : entries) {
            if (index >= 0) continue;
            while (usedIndexes.count(next)) ++next;
            index = next;
            usedIndexes.insert(next);
        }
        for (const auto& [at, name] : fixups) {
            auto it = entries.find(name);
            if (it == entries.end()) {
                error = sourceName + ": no program or label '" + name + "'";
                return false;
            }
            for (int i = 0; i < 4; ++i) out.code[at + size_t(i)] = uint8_t(uint64_t(it->second) >> (8 * i));
        }
        std::string data, tracks;
        for (const auto& [name, offset] : entryOffsets) {
            data += std::to_string(entries[name]) + "=" + std::to_string(offset) + "\n";
            out.symbols += name + " " + std::to_string(entries[name]) + " (program)\n";
        }
        for (size_t i = 0; i < trackLines.size(); ++i) {
            const auto& [head, program] = trackLines[i];
            auto it = entries.find(program);
            tracks += head + (it == entries.end() ? program : std::to_string(it->second)) + trackTails[i] + "\n";
        }
        out.definitions = "[EventMappingEquate]\n" + equates + "[Patch]\n" + patches + "[Track]\n" + tracks +
                          "[TrackData]\n" + data + rawData + "[GlobalHitList]\n" + hitLists + "[EventMapping]\n" +
                          events + raw;
        if (out.name.empty()) {
            error = sourceName + ": no 'bank' line";
            return false;
        }
        return true;
    }
};

bool WriteWhole(const std::filesystem::path& path, const void* data, size_t size, std::string& error) {
    platform::AtomicFile file(path);
    if (!file.Begin() || !file.Write(data, size) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

}  // namespace

bool AssembleBank(const std::string& sourceName, const std::string& text, BankImage& out, std::string& error) {
    out = BankImage{};
    BankAssembler assembler(out);
    int lines = 0;
    if (!ForEachKeywordLine(sourceName, text, lines, error,
                            [&](const std::string& key, std::istringstream& words) { return assembler.Statement(key, words); }))
        return false;
    return assembler.Finish(sourceName, error);
}

bool WriteBank(const BankImage& bank, const std::string& root, std::string& error) {
    const std::filesystem::path folder = std::filesystem::path(root) / "SoundData";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return WriteWhole(folder / (bank.name + ".hit"), bank.code.data(), bank.code.size(), error) &&
           WriteWhole(folder / (bank.name + ".hsm"), bank.symbols.data(), bank.symbols.size(), error) &&
           WriteWhole(folder / (bank.name + ".hot"), bank.definitions.data(), bank.definitions.size(), error);
}
