#pragma once
// What the object catalogue asks of the subsystems above it: the people's
// animation-name tables, the start-up progress display, the
// interpreter's tree tables and the readable text of tree nodes. Each has a harmless default
// so that tools and tests can run the catalogue alone.

#include <cstdint>
#include <memory>
#include <string>

#include "gamedata/Behavior.h"
#include "gamedata/TreeTableData.h"
#include "resfile/iResFile.h"

namespace tova {


class CatalogueServices {
 public:
  virtual ~CatalogueServices() = default;

  // Loads the people's animation-name tables from the global behaviour file
  // after the folders are scanned; the release at unload frees them.
  virtual void LoadAnimNameTables(iResFile* /*globalFile*/) {}
  virtual void ReleaseAnimNameTables() {}
  // A step of the start-up load ('ocns' "Importing Tuning.txt").
  virtual void ReportProgress(uint32_t /*code*/, const char* /*text*/) {}
  // The tree table of that id in the file, or null.
  virtual std::unique_ptr<TreeTableData> LoadTreeTable(iResFile& /*file*/, ResId /*id*/) { return nullptr; }
  // Writes a tree table with a label; a resource status.
  virtual int SaveTreeTable(iResFile& /*file*/, ResId /*id*/, const TreeTableData& /*table*/,
                            const std::string& /*label*/) {
    return -95;
  }
  // Names primitives and converts trees of the other byte order for every
  // definition's behaviours; null leaves the plain conversion.
  virtual const PrimitiveText* GetPrimitiveText() { return nullptr; }
};

}  // namespace tova
