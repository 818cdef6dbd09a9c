// vekmkpatch: writes a patch that turns target NAME from OLD into NEW, for
// the update library's patch engine, and prints the patch file's MD5 (the
// digest a server announces with it).
//
//   vekmkpatch OLD NEW NAME PATCH
#include <cstdio>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/PatchFile.h"
#include "vekpatch/Common/Md5.h"

namespace {

bool ReadWhole(const char* path, std::string& out) {
  platform::File f;
  return f.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting) && f.ReadToEnd(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: vekmkpatch OLD NEW NAME PATCH\n");
    return 2;
  }
  std::string oldBytes, newBytes;
  if (!ReadWhole(argv[1], oldBytes)) {
    std::fprintf(stderr, "vekmkpatch: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!ReadWhole(argv[2], newBytes)) {
    std::fprintf(stderr, "vekmkpatch: cannot read %s\n", argv[2]);
    return 1;
  }
  if (!platform::IsPlainPatchName(argv[3])) {
    std::fprintf(stderr, "vekmkpatch: %s is not a plain file name\n", argv[3]);
    return 1;
  }
  platform::PatchTarget target;
  target.name = argv[3];
  target.oldSize = oldBytes.size();
  target.newSize = newBytes.size();
  std::string error;
  if (!platform::MakePatchFrame(oldBytes, newBytes, target.frame, error)) {
    std::fprintf(stderr, "vekmkpatch: %s\n", error.c_str());
    return 1;
  }
  const std::string patch = platform::WritePatchFile({target});
  if (!platform::SaveFileAtomically(argv[4], patch, &error)) {
    std::fprintf(stderr, "vekmkpatch: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", vek::Md5::Of(patch).c_str());
  return 0;
}
