#include "gamedata/AnimTable.h"

#include "platform/Path.h"

namespace tova {

int AnimTable::MergeNames(iResFile* file, ResId id) {
  StringSet loaded;
  int status = loaded.LoadFromFile(file, id, false);
  if (status != 0) return status;
  for (int i = 1; i <= loaded.GetCount(); ++i) {
    const char* mine = GetString(i);
    if (mine && *mine) continue;
    while (GetCount() < i - 1) SetString(GetCount() + 1, "");
    const char* name = loaded.GetString(i);
    SetString(i, platform::ToLowerAscii(name ? name : "").c_str());
  }
  return 0;
}

}  // namespace tova
