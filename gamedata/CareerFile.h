#pragma once
// Loading and writing the careers list from the careers file "Careers" of the
// game-data folder: the numbers from "Careers.txt" beside it when that reads,
// else from the file's 'CARR' records; the titles and texts from its string
// tables in the current language.

#include <string>

class iResFile;

namespace tova {

class CareerList;

constexpr int kCareerScaleWordsTable = 4096;
constexpr int kCareerGradeNamesTable = 4097;

// Fills the list from an open careers file and the text table at textPath
// (tried first). True when the list was loaded; a 'CARR' record that does
// not load ends it with false (the careers read so far stay).
bool LoadCareersFrom(iResFile& file, const std::string& textPath, CareerList& list);
// Writes every career as a 'CARR' record (id = career id, version 0).
bool WriteCareersTo(iResFile& file, CareerList& list);

}  // namespace tova
