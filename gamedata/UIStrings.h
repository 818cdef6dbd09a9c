#pragma once
// Interface string tables: a named resource file of the interface folder
// opened for one table and closed again.

#include <string>

class StringSet;

namespace tova {

// The folder the interface's resource files live in ("GameData" below the
// data root unless set).
void SetUIDirectory(const std::string& directory);
const std::string& GetUIDirectory();

// Loads table id of the named resource file into set; true only when the
// file opened and the table loaded.
bool LoadUIStringSet(int id, const std::string& fileName, StringSet& set, bool allLanguages);

}  // namespace tova
