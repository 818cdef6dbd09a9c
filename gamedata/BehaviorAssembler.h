#pragma once
// Readable text for behaviour trees, and back.
//
//   tree 4096 "Wander"          # id and label
//     format 0x8009             # header lines; each may be left out
//     type 0
//     params 4
//     locals 1
//     version 3
//   n0: Expression 1 2 0 -1 -> n1 false
//   n1: 4097 -1 -1 -1 -1 -> true n0
//   end
//
// The tree's label is in double quotes, at most 63 characters, with '\"' and
// '\\' for a quote and a backslash in it. A node line: an optional "label:",
// the opcode (a primitive's name or any number; 256 and up call that tree),
// up to four 16-bit operands (missing ones are 0) or "bytes" and up to eight
// operand bytes (-128 to 255; word k is byte 2k with byte 2k+1 above it),
// "->", then the true and the false target. A target is a label, a node
// number, or one of the exits "true", "false" and "undefined". Text after '#' is a comment. The
// disassembler prints every header line, all four operands, and labels "nN"
// on the nodes that are branched to, so its output assembles to the same
// bytes and prints back the same.

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

class AssemblyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct AssembledTree {
  int16_t id = 0;
  std::string label;
  std::vector<uint8_t> bytes;
};

// A number as the assembler reads it: decimal or "0x" hexadecimal, with at
// most one sign; nullopt for anything else.
std::optional<int64_t> ParseAssemblyNumber(std::string_view word);

// Names of the primitives the assembler knows; empty for unnamed opcodes.
std::string_view PrimitiveOpcodeName(int opcode);
std::optional<int> PrimitiveOpcodeByName(std::string_view name);

// Every tree of the text; throws AssemblyError "line N: ..." on the first fault.
std::vector<AssembledTree> AssembleTrees(std::string_view text);
// The text of one tree; throws AssemblyError when the bytes are not a tree
// that can be run or the label holds a line break.
std::string DisassembleTree(int16_t id, std::string_view label, std::span<const uint8_t> tree);

}  // namespace tova
