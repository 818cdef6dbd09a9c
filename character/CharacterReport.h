// The missing-file report of the character files: when it is switched on,
// files that could not be read and skills whose keyframes are missing add a
// line to the report text. Beside it the debug text that the conversion
// writes to.
#pragma once

#include <string>

namespace tova {

void SetCharacterReportEnabled(bool on);
bool CharacterReportEnabled();
// The report so far; taking it empties it.
std::string TakeCharacterReport();

void ReportUnreadCharacterFile(const std::string& fileName);
void ReportMissingKeyframes(const std::string& skillName, const std::string& motionDataName);

void WriteCharacterDebugText(const std::string& text);
std::string TakeCharacterDebugText();

}  // namespace tova
