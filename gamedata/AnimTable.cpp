#include "gamedata/AnimTable.h"

#include <string>

namespace tova {

int AnimTable::MergeNames(iResFile* file, ResId id) {
  StringSet loaded;
  int status = loaded.LoadFromFile(file, id, false);
  if (status != 0) return status;
  for (int i = 1; i <= loaded.GetCount(); ++i) {
    const char* mine = GetString(i);
    if (mine && *mine) continue;
    while (GetCount() < i - 1) SetString(GetCount() + 1, "");
    std::string name = loaded.GetString(i) ? loaded.GetString(i) : "";
    for (char& c : name) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    SetString(i, name.c_str());
  }
  return 0;
}

}  // namespace tova
