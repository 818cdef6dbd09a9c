// The update library's language-file reader on arbitrary bytes.
#include <cstdint>
#include <map>
#include <string>

#include "vekpatch/Common/LanguageResources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::map<int, std::string> strings;
  std::string error;
  vek::ParseLanguageFile(std::string_view(reinterpret_cast<const char*>(data), size), strings, error);
  return 0;
}
