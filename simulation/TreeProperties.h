#pragma once
// What one behaviour tree calls its parameters and locals (resource 'TPRP',
// same id as the tree), for the readable text of its nodes and for editing.
// A tree without the resource has four parameters named "param 0" to
// "param 3".

#include <cstdint>
#include <string>
#include <vector>

#include "resfile/iResFile.h"

class ReconStream;

namespace tova {

class Behavior;

constexpr ResType kTypeTPRP = TypeCode("TPRP");

class TreeProperties {
 public:
  static constexpr int32_t kCurrentVersion = 4;
  enum Kind : int { kParameters = 0, kLocals = 1 };

  TreeProperties(const Behavior* behavior, int16_t treeId);

  // Reads the tree's 'TPRP' from the file that holds the tree; nothing
  // happens when the tree does not exist.
  void Load();
  void Reconstitute(ReconStream& s, int32_t version);

  // Name `index` (from 0) of that kind; empty when missing or for another kind.
  std::string GetName(int kind, int index) const;
  int GetCount(int kind) const;
  bool ParameterFlag(int i) const;
  bool Defaulted() const { return flagA_ != 0 && flagB_ != 0; }

  void SetNames(std::vector<std::string> parameters, std::vector<std::string> locals);

 private:
  const Behavior* behavior_;
  int16_t treeId_;
  uint8_t flagA_ = 0;
  uint8_t flagB_ = 0;
  int32_t valueC_ = 0;  // kept and saved as it is
  std::vector<std::string> locals_;
  std::vector<std::string> parameters_;
  std::string text_;  // a buffer of 256 characters, kept as it is
  std::vector<uint8_t> parameterBytes_;
  int32_t valueD_ = 5;  // kept and saved as it is
};

}  // namespace tova
