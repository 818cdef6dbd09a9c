#include "ui/graphics/RTScript.h"

#include <cstdio>
#include <cstdlib>

#include "platform/File.h"
#include "ui/graphics/cGZResourceMap.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& token) {
    size_t first = 0, last = token.size();
    while (first < last && (token[first] == ' ' || token[first] == '\t')) ++first;
    while (last > first && (token[last - 1] == ' ' || token[last - 1] == '\t')) --last;
    return token.substr(first, last - first);
}

// The leading decimal number of the text, as atoi reads it, kept in range.
int32_t Number(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string Format(const char* pattern, const std::string& value) {
    std::string out(pattern);
    const size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, value);
    return out;
}

bool ReadWhole(const std::string& path, std::string& out) {
    platform::File file;
    return file.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting) && file.ReadToEnd(out);
}

}  // namespace

bool RTScript::LoadScript(const std::string& path) {
    std::string text;
    if (!ReadWhole(path, text)) return false;
    const size_t slash = path.find_last_of("/\\");
    Parse(text, slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
    return true;
}

void RTScript::Parse(std::string_view text, const std::string& folder) {
    size_t pos = 0;
    for (;;) {
        const size_t open = text.find('{', pos);
        if (open == std::string_view::npos) break;
        size_t i = open + 1;
        while (i < text.size() && IsBlank(text[i])) ++i;
        const size_t close = text.find('}', i);
        // A sentence that never closes ends the script.
        if (close == std::string_view::npos) break;
        std::vector<std::string> tokens;
        while (i < close) {
            size_t end;
            if (text[i] == '"') {
                end = text.find('"', i + 1);
                if (end == std::string_view::npos || end > close) end = close;
                tokens.emplace_back(text.substr(i + 1, end - i - 1));
                i = end < close ? end + 1 : close;
            } else {
                end = i;
                while (end < close && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
                tokens.emplace_back(text.substr(i, end - i));
                i = end;
            }
            while (i < close && (IsBlank(text[i]) || text[i] == ',')) ++i;
        }
        Sentence(tokens, folder);
        pos = close + 1;
    }
    mProblems.emplace_back("End of file in sentance");
}

void RTScript::Sentence(const std::vector<std::string>& tokens, const std::string& folder) {
    if (tokens.empty()) {
        mProblems.emplace_back("Sentance without directive token");
        return;
    }
    const std::string& directive = tokens[0];
    if (directive == "BITMAP" || directive == "RLEBMP") Picture(tokens, directive == "RLEBMP");
    else if (directive == "INCLUDE") Include(tokens, folder);
    else mProblems.emplace_back("Unknown Directive in Sentance");
}

void RTScript::Picture(const std::vector<std::string>& tokens, bool rle) {
    if (tokens.size() < 2) {
        mProblems.emplace_back("No ResID Token in Resource Sentance");
        return;
    }
    const std::string idToken = Trim(tokens[1]);
    const auto symbol = mSymbols.find(idToken);
    const int32_t id = symbol != mSymbols.end() ? symbol->second : Number(idToken);
    if (id == 0) {
        mProblems.push_back(Format("ResID:%s has no known value in Resource Sentance", idToken));
        return;
    }
    if (tokens.size() < 3) {
        mProblems.emplace_back("No Location String in Resource Sentance");
        return;
    }
    int32_t language = 0;
    if (tokens.size() >= 4) {
        const std::string languageToken = Trim(tokens[3]);
        const auto named = mSymbols.find(languageToken);
        if (named == mSymbols.end()) {
            mProblems.push_back(Format("Res Language:%s has no known value in Resource Sentance", languageToken));
            return;
        }
        language = named->second;
    }
    if (language == 0 || language == mLanguage) mMap.Set(id, language, {tokens[2], rle});
}

void RTScript::Include(const std::vector<std::string>& tokens, const std::string& folder) {
    if (tokens.size() < 2) {
        mProblems.emplace_back("No Header Token found in Header Sentance");
        return;
    }
    const std::string path = folder + tokens[1];
    std::string text;
    if (!ReadWhole(path, text)) {
        mProblems.push_back(Format("Could not open header '%s' not found in Header Sentance", path));
        return;
    }
    ScanHeader(text);
}

void RTScript::ScanHeader(std::string_view text) {
    static constexpr std::string_view kDefinition = "const Sint32 ";
    size_t pos = 0;
    for (;;) {
        const size_t at = text.find(kDefinition, pos);
        if (at == std::string_view::npos) return;
        const size_t nameStart = at + kDefinition.size();
        const size_t equals = text.find('=', nameStart);
        if (equals == std::string_view::npos) return;
        const size_t semicolon = text.find(';', equals);
        if (semicolon == std::string_view::npos) return;
        const std::string name = Trim(std::string(text.substr(nameStart, equals - nameStart)));
        mSymbols[name] = Number(std::string(text.substr(equals + 1, semicolon - equals - 1)));
        pos = semicolon + 1;
    }
}
