#include "simulation/TreeTableServices.h"

#include "gamedata/Motives.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/TreeTable.h"

namespace tova {

TreeTableServices::TreeTableServices(iResFile* behaviorFile, const ObjectFolder* folder)
    : source_(behaviorFile), text_(behaviorFile ? &source_ : nullptr, behaviorFile) {
  if (folder) {
    text_.SetGuidNames([folder](uint32_t guid) {
      const ObjectDefinition* d = folder->FindByGUID(guid);
      return d ? d->GetName() : std::string();
    });
  }
}

std::unique_ptr<TreeTableData> TreeTableServices::LoadTreeTable(iResFile& file, ResId id) {
  TreeTable table(kMotiveCount);
  if (table.Load(&file, id, XObjLang::GetOperandSwapper()) != 0) return nullptr;
  return std::make_unique<TreeTableData>(std::move(table.Data()));
}

int TreeTableServices::SaveTreeTable(iResFile& file, ResId id, const TreeTableData& data, const std::string& label) {
  TreeTable table(kMotiveCount);
  table.Data() = data;
  return table.Save(&file, id, label);
}

}  // namespace tova
