#include "framework/cRZPath.h"

#include "platform/Path.h"

namespace {

constexpr size_t kMaxPart = 255;
constexpr size_t kMaxPath = 259;

cRZString Part(const cRZString& path, size_t from, size_t to) {
  return cRZString(path.substr(from, std::min(to - from, kMaxPart)));
}

}  // namespace

void cRZPath::SplitFullPath(const cRZString& path, cRZString& drive, cRZString& directory, cRZString& name,
                            cRZString& extension) {
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') start = 2;
  drive = Part(path, 0, start);
  size_t nameStart = start;
  for (size_t i = start; i < path.size(); ++i) {
    if (path[i] == '\\' || path[i] == '/') nameStart = i + 1;
  }
  directory = Part(path, start, nameStart);
  size_t extStart = path.rfind('.');
  if (extStart == std::string::npos || extStart < nameStart) extStart = path.size();
  name = Part(path, nameStart, extStart);
  extension = Part(path, extStart, path.size());
}

cRZString cRZPath::MakeFullPath(const cRZString& drive, const cRZString& directory, const cRZString& name,
                                const cRZString& extension) {
  std::string out = drive;
  if (drive.size() == 1) out += ':';
  out += directory;
  if (!directory.empty() && directory.back() != '\\' && directory.back() != '/') out += '\\';
  out += name;
  if (!extension.empty() && extension.front() != '.') out += '.';
  out += extension;
  if (out.size() > kMaxPath) out.resize(kMaxPath);
  return cRZString(out);
}

const cRZString& cRZPath::GetFullPath() {
  if (!mFullPathValid) Make();
  return mFullPath;
}

cRZString& cRZPath::FullPathForChange() {
  GetFullPath();
  mPartsValid = false;
  return mFullPath;
}

#define TOVA_PATH_PART(Getter, ForChange, member) \
  const cRZString& cRZPath::Getter() {            \
    if (!mPartsValid) Split();                    \
    return member;                                \
  }                                               \
  cRZString& cRZPath::ForChange() {               \
    Getter();                                     \
    mFullPathValid = false;                       \
    return member;                                \
  }

TOVA_PATH_PART(GetDrive, DriveForChange, mDrive)
TOVA_PATH_PART(GetDirectory, DirectoryForChange, mDirectory)
TOVA_PATH_PART(GetName, NameForChange, mName)
TOVA_PATH_PART(GetExtension, ExtensionForChange, mExtension)
#undef TOVA_PATH_PART

void cRZPath::SetFullPath(const cRZString& path) { FullPathForChange() = path; }

void cRZPath::SetParts(const cRZString& drive, const cRZString& directory, const cRZString& name,
                       const cRZString& extension) {
  mDrive = drive;
  mDirectory = directory;
  mName = name;
  mExtension = extension;
  mPartsValid = true;
  mFullPathValid = false;
}

void cRZPath::SetAndResolve(const cRZString& path) {
  SetFullPath(path);
  Resolve();
}

void cRZPath::Resolve() {
  GetFullPath();
  MakeAbsolute();
}

void cRZPath::Split() {
  SplitFullPath(mFullPath, mDrive, mDirectory, mName, mExtension);
  mPartsValid = true;
}

void cRZPath::Make() {
  mFullPath = MakeFullPath(mDrive, mDirectory, mName, mExtension);
  mFullPathValid = true;
}

void cRZPath::MakeAbsolute() {
  const std::string absolute = platform::AbsolutePath(mFullPath);
  // A path too long for the data layer's buffers stays as it was rather than
  // being cut into another name.
  if (absolute.size() <= kMaxPath) mFullPath = absolute;
  mPartsValid = false;
}
