#include "gamedata/NeighborhoodServices.h"

#include "platform/FileSystem.h"

namespace tova {

bool NeighborhoodServices::MoveFile(const std::string& from, const std::string& to) {
  return platform::MoveFile(from, to);
}

bool NeighborhoodServices::CopyFile(const std::string& from, const std::string& to, bool replace) {
  return platform::CopyFile(from, to, !replace);
}

bool NeighborhoodServices::DeleteFile(const std::string& path) { return platform::DeleteFile(path); }

bool NeighborhoodServices::FileExists(const std::string& path) { return platform::FileExists(path); }

}  // namespace tova
