#pragma once
// The interpreter's side of the object catalogue: tree tables read and
// written as 'TTAB' with their names, and the readable text of tree nodes as
// the catalogue's primitive text (so trees of the other byte order are
// converted by each primitive's operand layout).

#include <memory>

#include "gamedata/CatalogueServices.h"
#include "gamedata/ResFileSource.h"
#include "simulation/XObjLang.h"

namespace tova {

class ObjectFolder;

class TreeTableServices : public CatalogueServices {
 public:
  // `behaviorFile` is the global behaviour file with the text tables (may
  // be null: primitives then have no names). `folder` names objects by GUID.
  explicit TreeTableServices(iResFile* behaviorFile, const ObjectFolder* folder = nullptr);

  std::unique_ptr<TreeTableData> LoadTreeTable(iResFile& file, ResId id) override;
  int SaveTreeTable(iResFile& file, ResId id, const TreeTableData& table, const std::string& label) override;
  const PrimitiveText* GetPrimitiveText() override { return &text_; }
  XObjLang& Text() { return text_; }

 private:
  ResFileSource source_;
  XObjLang text_;
};

}  // namespace tova
