// Arbitrary bytes as a family file brought into a fresh neighbourhood that
// has one family living on lot 3; afterwards the neighbourhood must load.
//
// Built with -DFAMILY_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "FuzzScratch.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"

namespace {

// People kept in memory: copying a character always works and loading it
// brings one new person.
class People : public tova::NeighborhoodServices {
 public:
  People() {
    persons[tova::Neighborhood::kTemplateCharacterGuid] = {tova::Neighborhood::kTemplateCharacterGuid, "T", false, ""};
    persons[0x100] = {0x100, "Ada", false, ""};
    persons[0x200] = {0x200, "Bo", false, ""};
  }
  std::optional<tova::PersonDefinitionInfo> FindPersonDefinition(int32_t guid) override {
    auto it = persons.find(guid);
    if (it == persons.end()) return std::nullopt;
    return it->second;
  }
  std::vector<tova::PersonDefinitionInfo> ListPersonDefinitions() override {
    std::vector<tova::PersonDefinitionInfo> out;
    for (auto& [guid, info] : persons) out.push_back(info);
    return out;
  }
  int CopyCharacterFile(int32_t, const std::string&) override { return 0; }
  std::vector<int32_t> LoadCharacterFile(const std::string&) override {
    const int32_t guid = next++;
    persons[guid] = {guid, "U", true, ""};
    return {guid};
  }
  std::map<int32_t, tova::PersonDefinitionInfo> persons;
  int32_t next = 0x4000;
};

}  // namespace

#ifndef FAMILY_SEED_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::ScratchFolder::Path();
  std::error_code ec;
  std::filesystem::remove(folder + "/Neighborhood.iff", ec);
  std::filesystem::create_directories(folder + "/Houses", ec);
  People people;
  tova::Neighborhood hood(people);
  const std::string path = folder + "/Neighborhood.iff";
  hood.SetPath(path.c_str());
  if (hood.Init() != 0) std::abort();
  hood.MoveFamilyToLot(*hood.NewFamily(), 3);
  const std::string file = fuzz::WriteInput("In_1.FAM", data, size);
  tova::Family* made = nullptr;
  tova::Family* displaced = nullptr;
  hood.ImportFamily(file, &made, &displaced);
  tova::Neighborhood again(people);
  again.SetPath(path.c_str());
  if (std::filesystem::exists(path) && again.Init() != 0) std::abort();
  return 0;
}
#else
int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  const std::string work = dir + "/work";
  std::filesystem::create_directories(work + "/Houses");
  People people;
  tova::Neighborhood hood(people);
  const std::string path = work + "/Neighborhood.iff";
  hood.SetPath(path.c_str());
  if (hood.Init() != 0) return 1;
  tova::Family* f = hood.NewFamily();
  f->SetName("Seed");
  hood.AddToFamily(*hood.FindNeighborByGUID(0x100), *f);
  hood.AddToFamily(*hood.FindNeighborByGUID(0x200), *f);
  tova::Neighbor* ada = hood.FindNeighborByGUID(0x100);
  ada->relationships.AddArray(hood.FindNeighborByGUID(0x200)->id);
  ada->relationships.SetSize(hood.FindNeighborByGUID(0x200)->id, 2);
  f->GetHistory().AddRow({});
  if (hood.ExportFamily(work, *f) != 0) return 1;
  std::filesystem::rename(work + "/Seed_1.FAM", dir + "/two-members");
  std::filesystem::remove_all(work);
  return 0;
}
#endif
