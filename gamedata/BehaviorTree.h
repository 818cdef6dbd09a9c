#pragma once
// Layout of a behaviour tree ('BHAV') and of a constant table ('BCON').
// A tree is a 12-byte header {format word (negative), node count, type,
// parameter count, local count, unused byte, 32-bit version} followed by
// 12-byte nodes {opcode with the breakpoint mark in bit 15, true target,
// false target, four 16-bit operands}.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gamedata/RecordBytes.h"

namespace tova {

constexpr size_t kTreeHeaderSize = 12;
constexpr size_t kTreeNodeSize = 12;
constexpr int kMaxTreeNodes = 251;  // node targets 0 to 250
constexpr uint16_t kBreakpointMark = 0x8000;
constexpr uint16_t kOpcodeMask = 0x7FFF;
constexpr uint8_t kTargetUndefined = 253;
constexpr uint8_t kTargetTrue = 254;
constexpr uint8_t kTargetFalse = 255;
constexpr int kFirstTreeId = 256;  // opcodes below it are primitives
constexpr uint16_t kCurrentTreeFormat = 0x8009;

// One node inside a tree's bytes.
class TreeNode {
 public:
  explicit TreeNode(uint8_t* p) : p_(p) {}
  uint16_t OpcodeWord() const { return LoadU16(p_); }
  uint16_t Opcode() const { return OpcodeWord() & kOpcodeMask; }
  bool HasBreakpoint() const { return (OpcodeWord() & kBreakpointMark) != 0; }
  void SetBreakpoint(bool on) {
    StoreU16(p_, static_cast<uint16_t>(on ? (OpcodeWord() | kBreakpointMark) : (OpcodeWord() & kOpcodeMask)));
  }
  uint8_t TrueTarget() const { return p_[2]; }
  uint8_t FalseTarget() const { return p_[3]; }
  int16_t Operand(int i) const { return LoadI16(p_ + 4 + 2 * i); }
  uint8_t* Bytes() const { return p_; }

 private:
  uint8_t* p_;
};

// A checked view of a tree's bytes: valid only for the current format with
// every node present.
class TreeView {
 public:
  TreeView() = default;
  explicit TreeView(std::span<uint8_t> bytes);

  explicit operator bool() const { return !bytes_.empty(); }
  int16_t FormatWord() const { return LoadI16(bytes_.data()); }
  int NodeCount() const { return LoadI16(bytes_.data() + 2); }
  uint8_t TreeType() const { return bytes_[4]; }
  uint8_t ParamCount() const { return bytes_[5]; }
  uint8_t LocalCount() const { return bytes_[6]; }
  int32_t Version() const { return LoadI32(bytes_.data() + 8); }
  // Node n; callers check HasNode first.
  TreeNode Node(int n) const { return TreeNode(bytes_.data() + kTreeHeaderSize + kTreeNodeSize * static_cast<size_t>(n)); }
  bool HasNode(int n) const { return bytes_.size() > 0 && n >= 0 && n < NodeCount(); }
  std::span<uint8_t> Bytes() const { return bytes_; }

 private:
  std::span<uint8_t> bytes_;
};

// Whether the bytes hold a tree the interpreter can run: the current format
// (negative format word), a node count of 0 to 251, and every node present.
// Trees in the old layout (the first word is the node count) are refused.
bool IsRunnableTree(std::span<const uint8_t> bytes);

// Byte-order conversion of one node's operands (the four words from byte 4 of
// a current-format node); the opcode says how they are laid out.
using NodeOperandSwap = void (*)(uint16_t opcode, uint8_t* operands);
void SwapOperandWords(uint16_t opcode, uint8_t* operands);
// The generic tree conversion: swaps the header and each node's opcode and
// hands the operands to `perNode`. Bounded by the data's size.
void SwapTreeWith(void* data, int32_t size, NodeOperandSwap perNode);
// The conversion with every operand a plain 16-bit word.
void SwapTreeStandard(void* data, int32_t size);

// Copy of a tree without breakpoint marks: what may be written to a file.
std::vector<uint8_t> WithoutBreakpoints(std::span<const uint8_t> tree);

// A constant table: bit 15 of the header marks it tunable, bits 0-14 count
// the values that follow.
constexpr uint16_t kConstantsTunable = 0x8000;
void SwapConstants(void* data, int32_t size);
// Whether the header's count fits the resource.
bool IsValidConstants(std::span<const uint8_t> bytes);
std::vector<uint8_t> MakeConstants(const std::vector<int16_t>& values, bool tunable);

}  // namespace tova
