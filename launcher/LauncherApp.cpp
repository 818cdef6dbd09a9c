#include "launcher/LauncherApp.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "framework/cRZIniFile.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The game's program in its folder.
constexpr const char* kGameProgram = "tova";
// Longest installed-game folder the registry read accepts.
constexpr size_t kMaxFolder = 256;

}  // namespace

bool LauncherStrings::Parse(const std::string& text, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        int32_t id = 0;
        bool ok = tab != std::string::npos && tab > 0 && tab <= 6;
        for (size_t i = 0; ok && i < tab; ++i) {
            ok = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
            id = id * 10 + (line[i] - '0');
        }
        if (!ok) {
            error = "line " + std::to_string(number) + ": expected a number, a tab and a text";
            return false;
        }
        // "\n" in a text is a line break.
        std::string value;
        for (size_t i = tab + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
                value += '\n';
                ++i;
            } else {
                value += line[i];
            }
        }
        mTexts[id] = value;
    }
    return true;
}

bool LauncherStrings::Load(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return Parse(text.str(), error);
}

std::string LauncherStrings::Get(int32_t id) const {
    auto it = mTexts.find(id);
    return it == mTexts.end() ? std::string() : it->second;
}

int32_t LanguageBaseOfName(const std::string& name) {
    static const std::pair<const char*, int32_t> kNames[] = {
        {"USEnglish", 1000}, {"UKEnglish", 1000},           {"French", 2000},     {"German", 3000},
        {"Italian", 8000},   {"Swedish", 4000},             {"Dutch", 5000},      {"Spanish", 7000},
        {"Portuguese", 6000}, {"Polish", 10000},           {"Japanese", 11000},  {"TraditionalChinese", 12000},
        {"SimplifiedChinese", 13000}, {"Thai", 14000},      {"Korean", 15000}};
    for (const auto& [text, base] : kNames)
        if (EqualNoCase(name, text)) return base;
    return 0;
}

LauncherApp::LauncherApp(std::filesystem::path root, platform::Registry& reg, platform::Spawner& spawn,
                         LauncherHost& window, const LauncherStrings& texts)
    : discRoot(std::move(root)), registry(reg), spawner(spawn), host(window), strings(texts) {}

std::string LauncherApp::DiscPath(const std::filesystem::path& relative) const {
    return platform::ResolvePath((discRoot / relative).string());
}

bool LauncherApp::ReadEdition() {
    cRZIniFile ini(cRZString(DiscPath("ORVEL.INI").c_str()));
    cRZString value;
    if (!ini.ReadString(cRZString("SKU"), cRZString("SKU"), value)) return false;
    std::string text = value.c_str();
    if (text.size() > 1024) text.resize(1024);
    if (EqualNoCase(text, "MISSING")) return false;
    editionText = text;
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') edition = text[0] - '0';
    return true;
}

void LauncherApp::ReadLanguageAndSku() {
    platform::RegKey key;
    if (registry.OpenKey(platform::RegRoot::kLocalMachine, kRegistryKey, platform::RegAccess::kRead, key) !=
        platform::kRegSuccess)
        return;
    platform::RegValue language;
    if (key.QueryValue("TOVA_LANGUAGE", language) != platform::kRegSuccess || language.type != platform::RegType::kString)
        return;
    const int32_t base = LanguageBaseOfName(language.text);
    if (base != 0) {
        languageBase = base;
        languageKnown = true;
    }
    // The edition may be a number 0..9 or a one-digit text.
    platform::RegValue sku;
    if (key.QueryValue("TOVA_SKU", sku) != platform::kRegSuccess) return;
    if (sku.type == platform::RegType::kDword && sku.number <= 9) {
        edition = static_cast<int32_t>(sku.number);
    } else if (sku.type == platform::RegType::kString && sku.text.size() == 1 && sku.text[0] >= '0' &&
               sku.text[0] <= '9') {
        edition = sku.text[0] - '0';
    }
}

bool LauncherApp::FindInstalledGame() {
    installed = false;
    platform::RegKey key;
    if (registry.OpenKey(platform::RegRoot::kLocalMachine, kRegistryKey, platform::RegAccess::kRead, key) !=
        platform::kRegSuccess)
        return false;
    platform::RegValue marker;
    if (key.QueryValue("Installed", marker) != platform::kRegSuccess) return false;
    std::string folder;
    if (key.QueryString("TOVA_DATA", folder) != platform::kRegSuccess) return false;
    // An over-long folder counts as not installed rather than being cut.
    if (folder.size() >= kMaxFolder) return false;
    installedFolder = folder;
    const std::string program = platform::ResolvePath((std::filesystem::path(folder) / kGameProgram).string());
    std::ifstream probe(program, std::ios::binary);
    installed = probe.good();
    return installed;
}
