// The command line splitter and switch lookup on arbitrary text: every
// argument index in range answers, and switches are looked up with and
// without values, quoted or not.
#include "framework/cRZCmdLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the switch restriction; the text stops at a zero
  // byte, as a C string does.
  cRZCmdLine::SetSwitchRestriction(data[0] & 1);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  cRZCmdLine line(text.c_str());
  for (int i = -1; i <= line.GetCount(); ++i) {
    const cRZString argument = line.GetArgument(i);
    const char* raw = line.GetArgumentText(i);
    if (i >= 0 && i < line.GetCount() && (raw == nullptr || argument != cRZString(raw))) std::abort();
    if (i >= 0 && i < line.GetCount() && line.FindArgument(raw) > i) std::abort();
  }
  for (const char* name : {"w", "r", "nosound", "skip_intro", ""}) {
    cRZString value;
    line.FindSwitch(name, nullptr, false);
    line.FindSwitch(name, &value, true);
    line.FindSwitch(name, &value, false);
  }
  return 0;
}
