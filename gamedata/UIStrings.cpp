#include "gamedata/UIStrings.h"

#include "resfile/SeqResFile.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {
std::string& UIDirectory() {
  static std::string directory = "GameData";
  return directory;
}
// Interface paths keep within the game's 260-byte limit.
constexpr size_t kMaxPath = 259;
}  // namespace

void SetUIDirectory(const std::string& directory) { UIDirectory() = directory; }
const std::string& GetUIDirectory() { return UIDirectory(); }

bool LoadUIStringSet(int id, const std::string& fileName, StringSet& set, bool allLanguages) {
  std::string path = UIDirectory();
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += fileName;
  if (path.size() > kMaxPath) return false;
  StdResFile file;
  if (file.Open(path) != 0) return false;
  const bool loaded = set.LoadFromFile(&file, id, allLanguages) == 0;
  file.Close();
  return loaded;
}

}  // namespace tova
