// A recording stand-in for what the neighbourhood asks of the catalogue, the
// simulator and the file layer, with person definitions held in a map.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gamedata/NeighborhoodServices.h"

namespace tova_test {

class FakeNeighborhoodServices : public tova::NeighborhoodServices {
 public:
  std::map<int32_t, tova::PersonDefinitionInfo> persons;
  std::vector<std::pair<int32_t, int32_t>> broadcasts;
  std::vector<std::string> registeredFolders;
  int moveCalls = 0;
  int failMoveCall = 0;  // the move with this 1-based number fails
  bool copyAlwaysExists = false;
  int32_t nextGuid = 0x5000;
  int32_t money = 0;
  tova::LotValueFigures figures;
  bool tutorial = false;
  std::vector<tova::LotPersonFacts> lotPersons;
  tova::LotDayFigures dayFigures;

  int importCalls = 0;
  int failImportCall = 0;  // the member import with this 1-based number fails

  std::vector<int32_t> removedLive;
  bool unloadFails = false;

  void AddPerson(int32_t guid, const std::string& name, bool user = false, const std::string& file = "") {
    persons[guid] = {guid, name, user, file};
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
  void RegisterCharacterFolder(const std::string& folder) override { registeredFolders.push_back(folder); }
  int CopyCharacterFile(int32_t, const std::string& path) override {
    if (copyAlwaysExists || std::filesystem::exists(path)) return -43;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "character";
    return 0;
  }
  std::vector<int32_t> LoadCharacterFile(const std::string& path) override {
    const int32_t guid = nextGuid++;
    AddPerson(guid, std::filesystem::path(path).stem().string(), true, path);
    return {guid};
  }
  bool UnloadCharacter(int32_t guid) override { return !unloadFails && persons.erase(guid) == 1; }
  void RemoveLiveObjectsOf(int32_t guid) override { removedLive.push_back(guid); }
  int ImportMemberResources(iResFile&, ResId, int32_t, const std::string&) override {
    return ++importCalls == failImportCall ? -1 : 0;
  }
  void Broadcast(int32_t command, int32_t value) override { broadcasts.emplace_back(command, value); }
  bool MoveFile(const std::string& from, const std::string& to) override {
    if (++moveCalls == failMoveCall) return false;
    return tova::NeighborhoodServices::MoveFile(from, to);
  }
  std::vector<tova::LotPersonFacts> GetLotPersons() override { return lotPersons; }
  tova::LotDayFigures GetLotDayFigures() override { return dayFigures; }
  bool IsTutorialLot() override { return tutorial; }
  int32_t GetMoney() override { return money; }
  tova::LotValueFigures GetLotFigures() override { return figures; }
};

}  // namespace tova_test
