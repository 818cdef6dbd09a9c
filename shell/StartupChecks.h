// The decisions start-up makes from the settings store, the command line
// and the machine: the language, the screen size and the machine check's
// list of failures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class cRZCmdLine;
class StringSet;

namespace tova {

// The language id of a "TOVA_LANGUAGE" name (exact); 0 when unknown.
int32_t LanguageOfRegistryName(const std::string& name);
// The first language switch given, in the switches' order of precedence;
// 0 when none ("lUSEnglish" is the last one asked about).
int32_t LanguageOfSwitches(const cRZCmdLine& line);
// The registry's name (or none), overridden by a switch; 1 without either.
int32_t ChooseLanguage(const std::string* registryName, const cRZCmdLine& line);

// The machine check's answers; each probe passes by default.
struct MachineProbes {
    std::function<bool()> otherCopyRunning = [] { return false; };
    std::function<bool()> processorOk = [] { return true; };
    std::function<bool()> platformOk = [] { return true; };
    std::function<bool()> directXOk = [] { return true; };
    std::function<bool()> depthOk = [] { return true; };
    std::function<bool()> sizeOk = [] { return true; };
    std::function<bool()> sixteenBitModeOk = [] { return true; };
    std::function<bool()> memoryAndDiskOk = [] { return true; };
};

// The machine check: empty when every check passed, else the box's text
// from set 157 (entry 1, then one line per failed check, then entry 10).
// Another copy running passes every other check.
std::string VerifySystemText(const MachineProbes& probes, const std::function<std::string(int)>& entry);

}  // namespace tova
