#include "tools/contentc/KeywordLines.h"

bool ForEachKeywordLine(const std::string& name, const std::string& text, int& lines, std::string& error,
                        const std::function<KeywordResult(const std::string& key, std::istringstream& values)>& take) {
    std::istringstream in(text);
    std::string line;
    lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        const KeywordResult result = take(key, words);
        if (result == KeywordResult::kTaken) continue;
        error = name + ":" + std::to_string(lines) + ": " +
                (result == KeywordResult::kUnknown ? "unknown keyword '" + key + "'" : "bad value for '" + key + "'");
        return false;
    }
    return true;
}
