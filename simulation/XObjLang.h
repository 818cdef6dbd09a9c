#pragma once
// Readable text of behaviour-tree nodes: the primitive's name and its
// operands in words, one line per node, for error reports, traces and the
// tree dump. Every word that is not fixed here comes from the string tables
// of the global behaviour file ("GameData/behavior") or from the object's
// own and semi-global files. It also names primitives for the catalogue's
// behaviours, says which nodes never take their false exit, and converts the
// operands of trees stored in the other byte order.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorTree.h"

class iResFile;

namespace tova {

class XObjLang : public PrimitiveText {
 public:
  static constexpr size_t kTextCapacity = 255;  // a 256-character buffer
  using GuidNameFn = std::function<std::string(uint32_t guid)>;
  using SoundNameFn = std::function<std::optional<std::string>(const Behavior& behavior, int16_t id)>;

  // `behaviorFile` holds the string tables; `balloonFile` (the same file as
  // a resource file, may be null) serves the balloon icon names.
  explicit XObjLang(ResourceSource* behaviorFile, iResFile* balloonFile = nullptr);
  ~XObjLang() override;

  void SetGuidNames(GuidNameFn names) { guidNames_ = std::move(names); }
  void SetSoundNames(SoundNameFn names) { soundNames_ = std::move(names); }

  // Entry index + 1 of the names of slot 1; "unknown" when missing.
  std::string GetName(int index) const;
  // The line for `node` of tree `treeId` (whose parameter and local names
  // the operands use) in `behavior`; at most 255 characters.
  std::string DescribeNode(const Behavior& behavior, int16_t treeId, const TreeNode& node) const;
  std::string GetPrimitiveName(int opcode) const;
  int GetPrimitiveCount() const;
  static bool IsSingleExitNode(const TreeNode& node);
  // Converts a whole tree stored in the other byte order.
  static ResourceSource::SwapFn GetOperandSwapper() { return SwapTree; }
  // Converts one node's eight operand bytes by its opcode.
  static void SwapOperands(uint16_t opcode, uint8_t* operands);

  std::string PrimitiveName(int opcode) const override { return GetPrimitiveName(opcode); }
  ResourceSource::SwapFn TreeSwapRoutine() const override { return SwapTree; }

 private:
  struct Node;
  static void SwapTree(void* data, int32_t size);

  std::optional<std::string> Global(int table, int entry) const;
  std::string GlobalOr(int table, int entry, const std::string& otherwise) const;
  std::string Operand(const Node& n, int scope, int value) const;
  std::optional<std::string> ValueName(const Node& n, int scope, int value) const;
  std::string ConstantName(const Node& n, int value) const;
  std::string Operands(const Node& n) const;
  std::string Expression(const Node& n, const std::string& prefix) const;
  std::string TreeCall(const Node& n) const;
  std::string GuidName(uint32_t guid) const;

  ResourceSource* file_;
  iResFile* balloonFile_;
  GuidNameFn guidNames_;
  SoundNameFn soundNames_;
};

}  // namespace tova
