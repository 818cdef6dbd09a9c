#include "resfile/PathHelpers.h"

#include <cstring>

namespace {

struct PathParts {
  size_t nameStart = 0;  // just after the last separator
  size_t extStart = 0;   // the first '.' after it, or the end
  size_t end = 0;
};

PathParts Parts(const char* path) {
  PathParts parts;
  parts.end = strlen(path);
  for (size_t i = 0; i < parts.end; ++i) {
    if (path[i] == '\\' || path[i] == '/') parts.nameStart = i + 1;
  }
  parts.extStart = parts.end;
  for (size_t i = parts.nameStart; i < parts.end; ++i) {
    if (path[i] == '.') {
      parts.extStart = i;
      break;
    }
  }
  return parts;
}

void Put(FixedString* out, const char* from, size_t count) {
  if (out == nullptr) return;
  out->Clear();
  out->Append(from, static_cast<int32_t>(count));
}

}  // namespace

void SplitPath(const char* path, FixedString* directory, FixedString* base, FixedString* extension) {
  if (path == nullptr) path = "";
  const PathParts p = Parts(path);
  Put(directory, path, p.nameStart);
  Put(base, path + p.nameStart, p.extStart - p.nameStart);
  Put(extension, path + p.extStart, p.end - p.extStart);
}

void GetDirectoryOfPath(const char* path, FixedString& directory) { SplitPath(path, &directory, nullptr, nullptr); }

void GetFileNameOfPath(const char* path, FixedString& name) {
  if (path == nullptr) path = "";
  const PathParts p = Parts(path);
  Put(&name, path + p.nameStart, p.end - p.nameStart);
}

void SplitExtension(const char* path, FixedString& withoutExtension, FixedString& extension) {
  if (path == nullptr) path = "";
  const PathParts p = Parts(path);
  Put(&withoutExtension, path, p.extStart);
  Put(&extension, path + p.extStart, p.end - p.extStart);
}
