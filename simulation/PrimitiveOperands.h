#pragma once
// What the object primitives share: the byte view of a node's operands and
// the error codes they raise beyond the interpreter's own.

#include <cstdint>

#include "gamedata/BehaviorTree.h"

namespace tova {

// Operand byte k (0-7) of a node; word i is bytes 2i (low) and 2i + 1.
inline uint8_t NodeOperandByte(const TreeNode& node, int k) { return node.Bytes()[4 + k]; }

// A GUID held in two operand words, low word first.
inline uint32_t NodeOperandGuid(const TreeNode& node, int word) {
  return static_cast<uint16_t>(node.Operand(word)) | static_cast<uint32_t>(static_cast<uint16_t>(node.Operand(word + 1))) << 16;
}

enum PrimitiveErrorCode : int16_t {
  kErrBadRefresh = 3,
  kErrBadRemoveTarget = 9,
  kErrNoSuchObject = 23,
  kErrBadIteratorKind = 30,
  kErrNoContainmentSlot = 32,
  kErrBadSnapMode = 36,
  kErrLocalOutOfRange = 51,
  kErrBothPassFlags = 54,
  kErrNeedsStartObject = 61,
};

}  // namespace tova
