#pragma once
// An object's view of its behaviour trees and constant tables. A 16-bit id's
// range decides the file: 256-4095 the global behaviour file, 4096-8191 the
// object's own file, 8192-9000 the semi-global file of its group; ids below
// 256 are primitives.

#include <cstdint>
#include <optional>
#include <string>

#include "gamedata/BehaviorTree.h"
#include "gamedata/ResourceSource.h"

namespace tova {

// What behaviours need of the primitive-text object: primitive names and the
// byte-order routine for trees, which knows each primitive's operand layout.
class PrimitiveText {
 public:
  virtual ~PrimitiveText() = default;
  virtual std::string PrimitiveName(int opcode) const = 0;
  virtual ResourceSource::SwapFn TreeSwapRoutine() const { return SwapTreeStandard; }
};

enum TreeScope : int { kScopePrimitive = 0, kScopeGlobal = 1, kScopeOwn = 2, kScopeSemiGlobal = 3 };

// A constant table, with the tuning overrides in place of the stored values
// when they apply.
class ConstantsView {
 public:
  ConstantsView() = default;
  ConstantsView(const uint8_t* stored, int count, bool tunable) : stored_(stored), count_(count), tunable_(tunable) {}
  ConstantsView(const int16_t* values, int count, bool tunable) : override_(values), count_(count), tunable_(tunable) {}
  explicit operator bool() const { return stored_ || override_; }
  int Count() const { return count_; }
  bool Tunable() const { return tunable_; }
  bool Overridden() const { return override_ != nullptr; }
  // Value i; 0 outside the table (callers check Count to report the fault).
  int16_t At(int i) const {
    if (i < 0 || i >= count_) return 0;
    return override_ ? override_[i] : LoadI16(stored_ + 2 + 2 * i);
  }

 private:
  const uint8_t* stored_ = nullptr;
  const int16_t* override_ = nullptr;
  int count_ = 0;
  bool tunable_ = false;
};

class Behavior {
 public:
  Behavior(const PrimitiveText* text, ResourceSource* globalFile, ResourceSource* ownFile,
           ResourceSource* semiGlobalFile);
  virtual ~Behavior() = default;

  virtual ResourceSource* GetFileForTree(int32_t id) const;
  static int GetTreeIdScope(int32_t id);

  // The tree, converted from its file's byte order on first load; empty when
  // the range has no file, the tree is missing or it cannot be run.
  TreeView GetTree(int32_t id) const;
  std::optional<TreeNode> GetNode(int32_t id, int n) const;
  bool IsNodeTarget(int32_t id, int n) const;
  std::string GetTreeName(int32_t id) const;
  // Id of the first tree with that label in the own, semi-global then global
  // file; 0 when none has it.
  int16_t LocateTree(const std::string& label) const;
  ConstantsView GetConstants(int32_t id, bool tuning) const;
  // Header version of the tree times 65536 plus the versions of every tree
  // reachable from it, itself included, each counted once.
  uint32_t GetSignature(int32_t id) const;

  ResourceSource* GlobalFile() const { return global_; }
  ResourceSource* OwnFile() const { return own_; }
  ResourceSource* SemiGlobalFile() const { return semi_; }

 private:
  const PrimitiveText* text_;
  ResourceSource* global_;
  ResourceSource* own_;
  ResourceSource* semi_;
  ResourceSource::SwapFn swap_;
};

// Writes a tree without its breakpoint marks.
int WriteTree(ResourceSource& file, int16_t id, std::string_view label, std::span<const uint8_t> tree);

}  // namespace tova
