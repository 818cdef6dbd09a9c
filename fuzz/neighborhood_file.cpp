// Arbitrary bytes as a neighbourhood file: loaded with two known people, each
// family's history read, then saved and loaded again, which must work
// whenever the first load did.
//
// Built with -DNEIGHBORHOOD_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratch.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"

namespace {

class People : public tova::NeighborhoodServices {
 public:
  std::optional<tova::PersonDefinitionInfo> FindPersonDefinition(int32_t guid) override {
    if (guid == 0x100 || guid == 0x200) return tova::PersonDefinitionInfo{guid, "p", false, ""};
    return std::nullopt;
  }
  std::vector<tova::PersonDefinitionInfo> ListPersonDefinitions() override {
    return {{0x100, "Ada", false, ""}, {0x200, "Bo", false, ""}};
  }
};

}  // namespace

#ifndef NEIGHBORHOOD_SEED_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("Neighborhood.iff", data, size);
  People people;
  tova::Neighborhood hood(people);
  hood.SetPath(path.c_str());
  if (hood.Init() != 0) return 0;
  for (const auto& family : hood.Families()) family->GetHistory();
  if (hood.Save(tova::Neighborhood::kDefaultSaveVersion) != 0) return 0;
  tova::Neighborhood again(people);
  again.SetPath(path.c_str());
  if (again.Init() != 0) std::abort();
  if (again.Families().size() != hood.Families().size()) std::abort();
  return 0;
}
#else
#include <filesystem>

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  People people;
  // An empty neighbourhood, and one with people, families and a history.
  for (const char* name : {"empty", "families"}) {
    const std::string path = dir + "/" + name;
    std::filesystem::remove(path);
    tova::Neighborhood hood(people);
    hood.SetPath(path.c_str());
    if (hood.Init() != 0) return 1;
    if (std::string(name) == "families") {
      tova::Family* f = hood.NewFamily();
      f->SetName("Seed");
      hood.AddToFamily(*hood.FindNeighborByGUID(0x100), *f);
      hood.MoveFamilyToLot(*f, 3);
      tova::Neighbor* bo = hood.FindNeighborByGUID(0x200);
      bo->relationships.AddArray(1);
      bo->relationships.SetSize(1, 2);
      bo->relationships.SetValue(1, 0, 40);
      bo->personDataVersion = 5;
      tova::FamilyHistory::Row row{};
      row[0] = 3;
      row[24] = 20000;
      f->GetHistory().AddRow(row);
      f->GetHistory().AddRow(row);
    }
    if (hood.Save(tova::Neighborhood::kDefaultSaveVersion) != 0) return 1;
  }
  return 0;
}
#endif
