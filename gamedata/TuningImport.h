#pragma once
// The tuning import: designers change the advertisements of interactions and
// the tunable constant tables of objects from one text table ("Tuning.txt")
// without editing object files. ImportTuning reads it and stores the changes
// in memory (tree tables marked changed, constant overrides kept by the
// object files); SaveTuning writes what differs back to files that can be
// written. Every problem goes into a text report.
//
// The catalogue provides the files and definitions through TuningHost.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gamedata/TreeTableData.h"

namespace tova {

class TextTable;

// An open object file as the tuning code sees it.
class TuningFile {
 public:
  virtual ~TuningFile() = default;
  virtual std::string GetFileName() = 0;
  virtual bool IsWritable() = 0;
  // The stored constant table: false when missing.
  virtual bool GetConstants(int16_t id, std::vector<int16_t>& values, bool& tunable) = 0;
  // Writes a constant table with the tunable bit set; a status code.
  virtual int WriteConstants(int16_t id, const std::vector<int16_t>& values) = 0;
  // Overrides: {count, values...} per table id.
  virtual void SetConstantOverride(int16_t id, const std::vector<int16_t>& list) = 0;
  virtual void DropConstantOverrides() = 0;
  virtual std::map<int16_t, std::vector<int16_t>> GetConstantOverrides() = 0;
};

// A tree table that tuning changed, with where it is stored.
struct TunedTable {
  TreeTableData* table = nullptr;
  std::string definitionName;
  std::string fileName;
  int16_t id = 0;
  void* owner = nullptr;  // the host's own handle of the definition
};

class TuningHost {
 public:
  enum class Lookup { kFound, kNoObject, kNoTable };

  virtual ~TuningHost() = default;
  virtual std::vector<TuningFile*> OpenObjectFiles() = 0;
  // An open object file by path, else by file name; null when none.
  virtual TuningFile* FindObjectFile(const std::string& name) = 0;
  // The tree table of the definition with this GUID.
  virtual TreeTableData* FindTreeTable(uint32_t guid, Lookup& result) = 0;
  // Every changed tree table once.
  virtual std::vector<TunedTable> ChangedTreeTables() = 0;
  virtual bool ReadStoredTreeTable(const TunedTable& table, TreeTableData& out) = 0;
  // Writes the table with the label; a status code.
  virtual int WriteTreeTable(const TunedTable& table, const std::string& label) = 0;
  virtual bool IsWritable(const TunedTable& table) = 0;
};

// Applies the table at `path`. 0, or -1 when the file is missing or its
// header is bad (nothing is changed then).
int ImportTuning(TuningHost& host, const std::string& path, std::string& report);
int ImportTuningTable(TuningHost& host, const TextTable& table, std::string& report);
// Writes tuned tables and constants back where they differ from the stored ones.
void SaveTuning(TuningHost& host, std::string& report);

// The advertisement slot that tuning motive 1-9 names; -1 otherwise.
int TuningMotiveSlot(int motive);
// The modifier code a "mod" value selects; -1 for an unknown value.
int TuningModifierCode(int value);

}  // namespace tova
