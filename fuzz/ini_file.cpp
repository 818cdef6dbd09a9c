// Ini files on arbitrary bytes: every section and key the reader lists must
// read back with the same value, and a write must leave a file that still
// reads. Nothing may crash or read past the file.
#include "framework/cRZIniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzScratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cRZIniFile ini(cRZString(fuzz::WriteInput("input.ini", data, size)));
  struct Seen {
    cRZString section, key, value;
  };
  std::vector<Seen> seen;
  ini.ForEachSection(
      [&seen](const cRZString& section, const cRZString& key, const cRZString& value, void*) {
        seen.push_back({section, key, value});
      },
      nullptr);
  for (const Seen& s : seen) {
    if (s.key.empty() || s.value.empty()) continue;
    cRZString value;
    // The first section and key of a name win: an earlier duplicate may
    // answer instead, but some value must come back.
    if (!ini.ReadString(s.section, s.key, value)) std::abort();
  }
  ini.WriteString(cRZString("Fuzz"), cRZString("Key"), cRZString("Value"));
  cRZString back;
  if (ini.ReadString(cRZString("Fuzz"), cRZString("Key"), back) && back != cRZString("Value")) std::abort();
  return 0;
}
