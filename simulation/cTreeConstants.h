#pragma once
// What a constant table ('BCON') means: per element its label, comment and
// allowed range (resource 'TRCN' of the same id), with the table's values
// and the tuning overrides of the object's file beside them. Editors and the
// readable text of trees use it.

#include <cstdint>
#include <string>
#include <vector>

#include "resfile/iResFile.h"

class ReconStream;

namespace tova {

constexpr ResType kTypeTRCN = TypeCode("TRCN");

class cTreeConstants {
 public:
  static constexpr int32_t kCurrentVersion = 1;

  struct Entry {
    int32_t index = 0;
    int32_t valueA = 0;  // kept and saved as they are
    int32_t valueB = 0;
    uint8_t overridden = 0;
    int16_t overrideValue = 0;
    bool ranged = false;
    int16_t minimum = 0;
    int16_t maximum = 100;
    int16_t value = 0;
    std::string label;
    std::string comment;
  };

  // 0, or the code of the 'TRCN' or 'BCON' read that failed (no entries are
  // then left). Elements the 'BCON' table lacks read as 0.
  int Load(iResFile* file, ResId id);
  void Reconstitute(ReconStream& s, int32_t version);

  const std::vector<Entry>& Entries() const { return entries_; }
  std::vector<Entry>& Entries() { return entries_; }
  // Label of element i; empty when there is none.
  std::string ElementLabel(int i) const;
  const std::string& TableLabel() const { return tableLabel_; }
  bool Tunable() const { return tunable_; }
  int32_t Id() const { return id_; }
  iResFile* File() const { return file_; }

 private:
  iResFile* file_ = nullptr;
  int32_t id_ = 0;
  std::vector<Entry> entries_;
  std::string tableLabel_;
  bool tunable_ = false;
};

}  // namespace tova
