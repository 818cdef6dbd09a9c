// The content compiler's source parser on arbitrary text: statements of every
// kind (resources, string tables, behaviour and catalogue blocks) are parsed
// and either accepted or refused with a "file:line: message" error. Nothing
// is written.
#include "tools/contentc/ContentSource.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ContentSource source;
  std::string error;
  if (!source.Parse("fuzz.src", text, error) && error.rfind("fuzz.src:", 0) != 0) std::abort();
  return 0;
}
