#pragma once
// The neighbourhood's services over the game's object catalogue: person
// definitions, the characters folder, copies of the template character and
// the object-type table. What the lot's live objects and the simulator do
// stays at the defaults here; the game's lot layer adds them.

#include "gamedata/NeighborhoodServices.h"

namespace tova {

class ObjectFolder;

class NeighborhoodCatalogServices : public NeighborhoodServices {
 public:
  explicit NeighborhoodCatalogServices(ObjectFolder& catalogue) : catalogue_(catalogue) {}

  std::optional<PersonDefinitionInfo> FindPersonDefinition(int32_t guid) override;
  std::vector<PersonDefinitionInfo> ListPersonDefinitions() override;
  void RegisterCharacterFolder(const std::string& folder) override;
  int ReadObjectTypeTable(iResFile& file) override;
  int WriteObjectTypeTable(iResFile& file) override;
  // The copy gets fresh GUIDs, so the new character is a person of its own.
  int CopyCharacterFile(int32_t guid, const std::string& path) override;
  std::vector<int32_t> LoadCharacterFile(const std::string& path) override;
  bool UnloadCharacter(int32_t guid) override;

 protected:
  ObjectFolder& Catalogue() { return catalogue_; }

 private:
  ObjectFolder& catalogue_;
};

}  // namespace tova
