#include "gamedata/BehaviorTree.h"

namespace tova {

TreeView::TreeView(std::span<uint8_t> bytes) {
  if (IsRunnableTree(bytes)) bytes_ = bytes;
}

bool IsRunnableTree(std::span<const uint8_t> bytes) {
  if (bytes.size() < kTreeHeaderSize) return false;
  if (LoadI16(bytes.data()) >= 0) return false;
  const int count = LoadI16(bytes.data() + 2);
  if (count < 0 || count > kMaxTreeNodes) return false;
  return bytes.size() >= kTreeHeaderSize + kTreeNodeSize * static_cast<size_t>(count);
}

void SwapOperandWords(uint16_t, uint8_t* operands) {
  for (int i = 0; i < 4; ++i) Swap16At(operands + 2 * i);
}

void SwapTreeWith(void* bytes, int32_t length, NodeOperandSwap perNode) {
  if (!bytes || length < 2) return;
  auto* data = static_cast<uint8_t*>(bytes);
  const size_t size = static_cast<size_t>(length);
  Swap16At(data);
  const int16_t first = LoadI16(data);
  if (first < 0) {
    if (size < kTreeHeaderSize) return;
    Swap16At(data + 2);
    Swap32At(data + 8);
    const int count = LoadI16(data + 2);
    for (int i = 0; i < count; ++i) {
      const size_t at = kTreeHeaderSize + kTreeNodeSize * static_cast<size_t>(i);
      if (at + kTreeNodeSize > size) break;
      Swap16At(data + at);
      if (perNode) perNode(LoadU16(data + at), data + at + 4);
    }
  } else {
    // Old layout: the first word is the node count and nodes start at byte 2.
    for (int i = 0; i < first; ++i) {
      const size_t at = 2 + kTreeNodeSize * static_cast<size_t>(i);
      if (at + kTreeNodeSize > size) break;
      Swap16At(data + at);
      if (perNode) perNode(LoadU16(data + at), data + at + 4);
    }
  }
}

void SwapTreeStandard(void* data, int32_t size) { SwapTreeWith(data, size, SwapOperandWords); }

std::vector<uint8_t> WithoutBreakpoints(std::span<const uint8_t> tree) {
  std::vector<uint8_t> out(tree.begin(), tree.end());
  if (IsRunnableTree(out)) {
    TreeView view(out);
    for (int i = 0; i < view.NodeCount(); ++i) view.Node(i).SetBreakpoint(false);
  }
  return out;
}

void SwapConstants(void* bytes, int32_t size) {
  auto* data = static_cast<uint8_t*>(bytes);
  for (int32_t at = 0; at + 2 <= size; at += 2) Swap16At(data + at);
}

bool IsValidConstants(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2) return false;
  const size_t count = LoadU16(bytes.data()) & ~kConstantsTunable;
  return count <= (bytes.size() - 2) / 2;
}

std::vector<uint8_t> MakeConstants(const std::vector<int16_t>& values, bool tunable) {
  ByteWriter w;
  w.U16(static_cast<uint16_t>((values.size() & 0x7FFF) | (tunable ? kConstantsTunable : 0)));
  for (size_t i = 0; i < values.size() && i < 0x7FFF; ++i) w.I16(values[i]);
  return w.Take();
}

}  // namespace tova
