// vekinfo: what the update library would use on this machine: its patch
// server, installation and download folders, its language texts, and the MD5
// digests it would compute for files.
//
//   vekinfo [--registry FILE] [FILE...]
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "vekpatch/Common/InstallOps.h"
#include "vekpatch/Common/LanguageResources.h"
#include "vekpatch/Common/VekException.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vekinfo [--registry FILE] [FILE...]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--registry") == 0) {
      if (i + 1 >= argc) return Usage();
      platform::Registry::SetDefaultFile(argv[++i]);
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return Usage();
    } else {
      files.push_back(argv[i]);
    }
  }
  // Loaded first so that errors below carry their texts.
  const bool language = vek::LoadLanguageResources();
  try {
    std::string host;
    uint16_t port = 0;
    if (vek::GetPatchServer(host, port)) std::printf("server %s %u\n", host.c_str(), port);
    else std::printf("server none\n");

    const std::optional<std::string> install = vek::GetInstallPath(vek::kVekPatchKey);
    if (!install) {
      std::fprintf(stderr, "vekinfo: no InstallPath under HKEY_LOCAL_MACHINE\\%s\n", vek::kVekPatchKey);
      return 1;
    }
    std::printf("install %s\n", install->c_str());
    std::printf("download %s\n", vek::GetDownloadDir().c_str());
    if (!language) {
      std::fprintf(stderr, "vekinfo: no usable language texts (vekp*.txt) in %s\n", install->c_str());
      return 1;
    }
    std::printf("language %s %s\n", vek::LoadedLanguageId().c_str(), vek::LoadedLanguagePath().c_str());
    for (const std::string& file : files) {
      std::string digest;
      if (!vek::Md5Digest(file, digest)) {
        std::fprintf(stderr, "vekinfo: cannot read %s\n", file.c_str());
        return 1;
      }
      std::printf("md5 %s %s\n", digest.c_str(), file.c_str());
    }
    vek::FreeLanguageResources();
  } catch (const vek::VekException& e) {
    std::fprintf(stderr, "vekinfo: error 0x%08x: %s (%s line %d)\n", e.Code(), e.Message().c_str(),
                 e.Source().c_str(), e.Line());
    return 1;
  }
  return 0;
}
