// The tree breakpoints file on arbitrary bytes: a count line, then per record
// a file name line, a tree id and a node. Whatever it reads must write back
// and read again to the same records.
#include "gamedata/Breakpoints.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzScratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tova::Breakpoints& list = tova::Breakpoints::Instance();
  const std::string path = fuzz::WriteInput("Breakpts.txt", data, size);
  list.Read(path);
  const std::vector<tova::Breakpoints::Record> first = list.Records();
  if (!list.Write()) return 0;
  list.Read(path);
  const std::vector<tova::Breakpoints::Record>& again = list.Records();
  if (again.size() != first.size()) std::abort();
  for (size_t i = 0; i < first.size(); ++i) {
    if (again[i].treeId != first[i].treeId || again[i].node != first[i].node) std::abort();
  }
  list.Clear();
  return 0;
}
