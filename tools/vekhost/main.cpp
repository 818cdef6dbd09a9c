// vekhost: runs one update through the update library the way an outside
// host does (loading libvekpatch.so by name and binding its two exports), and
// prints every callback as a line.
//
//   vekhost --name NAME [--registry FILE] [--server HOST:PORT] [--install DIR]
//           [--product-key KEY --product-dir DIR] [--language ID]
//           [--library PATH] [--answer yes|no] [--timeout SECONDS]
//
// Exit 0 when the run ended (code 15) with no error other than the ones the
// library reports and goes on from; 1 after another error or a refused start;
// 2 on bad arguments or a library that cannot be loaded; 3 after --timeout.
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "vekpatch/VekPatch.h"

namespace {

constexpr const char* kLibraryKey = "Software\\Halvard Works\\Vek Link Service\\VekPatch";

struct HostState {
  std::mutex mutex;
  std::condition_variable ended;
  bool sawEnd = false;
  bool failed = false;
  int32_t answer = 1;
};

HostState gHost;

std::string Quote(const char* text) {
  std::string out = "\"";
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 32 || c > 126) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int32_t Callback(intptr_t, int32_t code, intptr_t data, int32_t value) {
  std::lock_guard<std::mutex> lock(gHost.mutex);
  switch (code) {
    case 1: case 4: case 7: case 12: case 13: case 14:
      std::printf("callback %d %s %d\n", code, Quote(reinterpret_cast<const char*>(data)).c_str(), value);
      break;
    case 11: {
      const VekErrorInfo* info = reinterpret_cast<const VekErrorInfo*>(data);
      if (info == nullptr) {
        std::printf("callback 11 0x%08x %d\n", 0u, value);
        gHost.failed = true;
        break;
      }
      std::printf("callback 11 0x%08x %d source=%s line=%d message=%s\n", static_cast<uint32_t>(info->code), value,
                  info->source != nullptr ? info->source : "", info->line, Quote(info->message).c_str());
      // A failed key test (value 0) and a message without its key (code 1)
      // are reported while the run goes on.
      if (value != 0 && info->code != 1) gHost.failed = true;
      break;
    }
    default:
      std::printf("callback %d %lld %d\n", code, static_cast<long long>(data), value);
      break;
  }
  std::fflush(stdout);
  if (code == 15) {
    gHost.sawEnd = true;
    gHost.ended.notify_all();
  }
  return code == 13 ? gHost.answer : 1;
}

int Usage(const char* why) {
  std::fprintf(stderr, "vekhost: %s\n", why);
  std::fprintf(stderr,
               "usage: vekhost --name NAME [--registry FILE] [--server HOST:PORT] [--install DIR]\n"
               "               [--product-key KEY --product-dir DIR] [--language ID] [--library PATH]\n"
               "               [--answer yes|no] [--timeout SECONDS]\n");
  return 2;
}

bool SetText(const std::string& key, const char* name, const std::string& text) {
  platform::RegKey k;
  return platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, key, k) == 0 &&
         k.SetString(name, text) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name, registry, server, install, productKey, productDir, language, library;
  double timeout = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage(("missing value after " + arg).c_str());
    const std::string value = argv[++i];
    if (arg == "--name") name = value;
    else if (arg == "--registry") registry = value;
    else if (arg == "--server") server = value;
    else if (arg == "--install") install = value;
    else if (arg == "--product-key") productKey = value;
    else if (arg == "--product-dir") productDir = value;
    else if (arg == "--language") language = value;
    else if (arg == "--library") library = value;
    else if (arg == "--answer") {
      if (value != "yes" && value != "no") return Usage("--answer takes yes or no");
      gHost.answer = value == "yes" ? 1 : 0;
    } else if (arg == "--timeout") {
      char* end = nullptr;
      timeout = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0' || timeout < 0) return Usage("--timeout takes a number of seconds");
    } else {
      return Usage(("unknown argument " + arg).c_str());
    }
  }
  if (name.empty()) return Usage("--name is required");
  if (productKey.empty() != productDir.empty()) return Usage("--product-key and --product-dir go together");

  if (!registry.empty()) setenv("TOVA_REGISTRY", registry.c_str(), 1);
  bool stored = true;
  if (!server.empty()) stored = stored && SetText(kLibraryKey, "PatchServer", server);
  if (!install.empty()) stored = stored && SetText(kLibraryKey, "InstallPath", install.back() == '/' ? install : install + "/");
  if (!language.empty()) {
    char* end = nullptr;
    // Decimal, or hexadecimal after "0x"; a leading zero is not octal.
    const bool hex = language.size() > 2 && language[0] == '0' && (language[1] == 'x' || language[1] == 'X');
    const char* digits = language.c_str() + (hex ? 2 : 0);
    const unsigned long id = std::strtoul(digits, &end, hex ? 16 : 10);
    if (!std::isxdigit(static_cast<unsigned char>(*digits)) || end == digits || *end != '\0' || id > 0xffffffffUL) {
      return Usage("--language takes a decimal number or 0x and hexadecimal digits");
    }
    platform::RegKey k;
    stored = stored && platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, kLibraryKey, k) == 0 &&
             k.SetDword("Language", static_cast<uint32_t>(id)) == 0;
  }
  if (!productKey.empty()) stored = stored && SetText(productKey, "InstallPath", productDir);
  if (!stored) {
    std::fprintf(stderr, "vekhost: cannot write the settings store %s: %s\n",
                 platform::Registry::Default().File().c_str(), platform::Registry::Default().LastError().c_str());
    return 2;
  }

  if (library.empty()) {
    const std::string self = platform::ExecutablePath();
    library = self.substr(0, self.rfind('/') + 1) + "../lib/libvekpatch.so";
  }
  platform::DynamicLibrary lib;
  if (!lib.Open(library)) {
    std::fprintf(stderr, "vekhost: cannot load %s: %s\n", library.c_str(), lib.LastError().c_str());
    return 2;
  }
  using DoUpdateFn = int32_t (*)(const char*, intptr_t, VekCallback);
  using AbortFn = void (*)();
  const auto doUpdate = lib.Function<DoUpdateFn>("VekDoUpdate");
  const auto abort = lib.Function<AbortFn>("VekAbortUpdate");
  if (doUpdate == nullptr || abort == nullptr) {
    std::fprintf(stderr, "vekhost: %s lacks its exports: %s\n", library.c_str(), lib.LastError().c_str());
    return 2;
  }

  if (doUpdate(name.c_str(), 0, &Callback) != 0) {
    std::printf("result failed\n");
    return 1;
  }
  bool timedOut = false;
  {
    std::unique_lock<std::mutex> lock(gHost.mutex);
    if (timeout >= 0) {
      timedOut = !gHost.ended.wait_for(lock, std::chrono::duration<double>(timeout), [] { return gHost.sawEnd; });
    } else {
      gHost.ended.wait(lock, [] { return gHost.sawEnd; });
    }
  }
  if (timedOut) {
    abort();
    std::printf("result aborted\n");
    std::fflush(stdout);
    return 3;
  }
  std::lock_guard<std::mutex> lock(gHost.mutex);
  std::printf("result %s\n", gHost.failed ? "failed" : "finished");
  std::fflush(stdout);
  return gHost.failed ? 1 : 0;
}
