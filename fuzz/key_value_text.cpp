// The key-value lists of the menu descriptions and the scanner under them on
// arbitrary text: parsing twice gives the same items, every item is
// reachable, and a key found answers the first item's value.
#include "gamedata/KeyValueList.h"
#include "gamedata/StringScanner.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The scanner alone: it ends at the text's end or its first zero byte, and
  // its line never goes back.
  tova::StringScanner scanner(text);
  int line = 0;
  for (size_t n = 0; n <= size + 1; ++n) {
    const int c = scanner.GetChar();
    if (scanner.GetLine() < line) std::abort();
    line = scanner.GetLine();
    if (c == 0) break;
    if (n == size) std::abort();  // a character past the end
  }

  tova::KeyValueList list;
  tova::StringScanner first(text);
  list.Parse(first);
  const auto items = list.Items();
  tova::StringScanner second(text);
  list.Parse(second);
  if (list.Items().size() != items.size()) std::abort();
  for (int i = 0; i < list.GetCount(); ++i) {
    if (!list.SetCurrent(i)) std::abort();
    const char* found = list.FindValue(list.GetKey());
    if (found == nullptr) std::abort();
  }
  if (list.SetCurrent(list.GetCount())) std::abort();
  return 0;
}
