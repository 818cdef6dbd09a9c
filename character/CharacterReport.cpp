#include "character/CharacterReport.h"

#include <utility>

namespace tova {

namespace {
bool gCharacterReportOn = false;
std::string gCharacterReport;
std::string gCharacterDebugText;
}  // namespace

void SetCharacterReportEnabled(bool on) { gCharacterReportOn = on; }
bool CharacterReportEnabled() { return gCharacterReportOn; }
std::string TakeCharacterReport() { return std::exchange(gCharacterReport, {}); }

void ReportUnreadCharacterFile(const std::string& fileName) {
    if (!gCharacterReportOn) return;
    gCharacterReport += "CMX file \"" + fileName + "\" could not be read. ";
}

void ReportMissingKeyframes(const std::string& skillName, const std::string& motionDataName) {
    if (!gCharacterReportOn || skillName.empty() || motionDataName.empty()) return;
    gCharacterReport += "The skill \"" + skillName + "\" could not be loaded because the CFP file \"" +
                        motionDataName + ".cfp\" is not present.";
}

void WriteCharacterDebugText(const std::string& text) { gCharacterDebugText += text; }
std::string TakeCharacterDebugText() { return std::exchange(gCharacterDebugText, {}); }

}  // namespace tova
