#include "shell/StartupChecks.h"

#include "framework/cRZCmdLine.h"

namespace tova {

namespace {

struct LanguageName {
    const char* name;
    int32_t id;
};

constexpr LanguageName kRegistryLanguages[] = {
    {"USEnglish", 1},   {"UKEnglish", 2},  {"French", 3},     {"German", 4},
    {"Italian", 5},     {"Spanish", 6},    {"Dutch", 7},      {"Swedish", 9},
    {"Portuguese", 14}, {"Japanese", 15},  {"Polish", 16},    {"SimplifiedChinese", 17},
    {"TraditionalChinese", 18}, {"Thai", 19}, {"Korean", 20},
};

constexpr LanguageName kLanguageSwitches[] = {
    {"lUKEnglish", 2},  {"lFrench", 3},     {"lGerman", 4},   {"lItalian", 5},   {"lSpanish", 6},
    {"lDutch", 7},      {"lDanish", 8},     {"lSwedish", 9},  {"lNorwegian", 10}, {"lFinnish", 11},
    {"lHebrew", 12},    {"lRussian", 13},   {"lPortuguese", 14}, {"lJapanese", 15}, {"lPolish", 16},
    {"lSimplifiedChinese", 17}, {"lTraditionalChinese", 18}, {"lThai", 19}, {"lKorean", 20},
    {"lUSEnglish", 1},
};

}  // namespace

int32_t LanguageOfRegistryName(const std::string& name) {
    for (const LanguageName& l : kRegistryLanguages)
        if (name == l.name) return l.id;
    return 0;
}

int32_t LanguageOfSwitches(const cRZCmdLine& line) {
    for (const LanguageName& l : kLanguageSwitches)
        if (line.FindSwitch(l.name, nullptr, false)) return l.id;
    return 0;
}

int32_t ChooseLanguage(const std::string* registryName, const cRZCmdLine& line) {
    if (const int32_t fromSwitch = LanguageOfSwitches(line)) return fromSwitch;
    if (registryName)
        if (const int32_t fromRegistry = LanguageOfRegistryName(*registryName)) return fromRegistry;
    return 1;
}

std::string VerifySystemText(const MachineProbes& probes, const std::function<std::string(int)>& entry) {
    const bool another = probes.otherCopyRunning();
    // Entry of set 157 per failed check, in the order the box lists them.
    const struct {
        bool passed;
        int entry;
    } checks[] = {
        {another || probes.processorOk(), 4},       {another || probes.depthOk(), 5},
        {another || probes.platformOk(), 6},        {another || probes.directXOk(), 2},
        {another || probes.sizeOk(), 7},            {!another, 8},
        {another || probes.sixteenBitModeOk(), 9},  {another || probes.memoryAndDiskOk(), 11},
    };
    std::string text;
    for (const auto& c : checks)
        if (!c.passed) text += "\n" + entry(c.entry);
    if (text.empty()) return text;
    return entry(1) + text + "\n" + entry(10);
}

}  // namespace tova
