// Loads arbitrary bytes as a saved lot with people into a headless lot whose
// catalogue holds a person (its file compiled once per process from the
// text below), finds its rooms and runs a few ticks. A lot that does not
// load (cut short, a person record cut, a queue index past its end) must be
// refused with a message, never read outside the bytes or crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "FuzzScratch.h"
#include "simulation/people/cXPerson.h"
#include "tools/contentc/ContentCompiler.h"
#include "world/HeadlessLot.h"

namespace {

// A person of the template's GUID that stands on floors and ground and
// rests; enough for a saved person to be made and ticked.
const char* const kPersonLotPerson =
    "file GameData/Objects/PersonTemplate.iff\n"
    "object 128 \"Template Person\"\n"
    "  guid 0x7FD96B54\n"
    "  type 2\n"
    "  entry 0 4096\n"
    "  entry 1 4097\n"
    "end\n"
    "tree 4096 \"Person: init\"\n"
    "  version 1\n"
    "n0: Expression bytes 42 0 1 0 0 9 3 7 -> n1 n1\n"
    "n1: Expression bytes 8 0 4 0 0 9 3 7 -> true true\n"
    "end\n"
    "tree 4097 \"Person: main\"\n"
    "  version 1\n"
    "  params 4\n"
    "n0: Expression bytes 0 0 30 0 0 5 9 7 -> n1 n1\n"
    "n1: Sleep 0 0 0 0 -> n0 n0\n"
    "end\n";

tova::HeadlessLot& PersonLot() {
  static std::unique_ptr<tova::HeadlessLot> lot = [] {
    const std::string root = fuzz::ScratchFolder::Path() + "/person-lot-data";
    const std::string source = fuzz::WriteInput("person.res", reinterpret_cast<const uint8_t*>(kPersonLotPerson),
                                                std::char_traits<char>::length(kPersonLotPerson));
    std::ostringstream messages;
    if (RunContentCompiler({"--out", root, source}, messages) != 0) std::abort();
    tova::cXPerson::Register();
    return std::make_unique<tova::HeadlessLot>(root);
  }();
  return *lot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tova::HeadlessLot& lot = PersonLot();
  const std::string path = fuzz::WriteInput("House05.iff", data, size);
  std::string error;
  if (!lot.Load(path, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  lot.FindRooms();
  for (int i = 0; i < 3; ++i) lot.Tick();
  return 0;
}
