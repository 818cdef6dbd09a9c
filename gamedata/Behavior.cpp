#include "gamedata/Behavior.h"

#include <set>
#include <vector>

#include "gamedata/Breakpoints.h"

namespace tova {

Behavior::Behavior(const PrimitiveText* text, ResourceSource* globalFile, ResourceSource* ownFile,
                   ResourceSource* semiGlobalFile)
    : text_(text),
      global_(globalFile),
      own_(ownFile),
      semi_(semiGlobalFile),
      swap_(text ? text->TreeSwapRoutine() : SwapTreeStandard) {
  if (!Breakpoints::Instance().Empty()) {
    for (ResourceSource* f : {global_, own_, semi_}) {
      if (f) Breakpoints::Instance().Apply(*f, swap_);
    }
  }
}

int Behavior::GetTreeIdScope(int32_t id) {
  if (id >= 0 && id <= 255) return kScopePrimitive;
  if (id >= 256 && id <= 4095) return kScopeGlobal;
  if (id >= 4096 && id <= 8191) return kScopeOwn;
  if (id >= 8192 && id <= 9000) return kScopeSemiGlobal;
  return kScopePrimitive;
}

ResourceSource* Behavior::GetFileForTree(int32_t id) const {
  switch (id >= 256 ? GetTreeIdScope(id) : kScopePrimitive) {
    case kScopeGlobal: return global_;
    case kScopeOwn: return own_;
    case kScopeSemiGlobal: return semi_;
    default: return nullptr;
  }
}

TreeView Behavior::GetTree(int32_t id) const {
  ResourceSource* file = GetFileForTree(id);
  if (!file) return {};
  auto bytes = file->GetResource(kTypeBHAV, static_cast<int16_t>(id), swap_);
  return bytes ? TreeView(*bytes) : TreeView();
}

std::optional<TreeNode> Behavior::GetNode(int32_t id, int n) const {
  TreeView tree = GetTree(id);
  if (!tree.HasNode(n)) return std::nullopt;
  return tree.Node(n);
}

bool Behavior::IsNodeTarget(int32_t id, int n) const {
  TreeView tree = GetTree(id);
  if (!tree.HasNode(n)) return false;
  for (int i = 0; i < tree.NodeCount(); ++i) {
    if (i == n) continue;
    TreeNode node = tree.Node(i);
    if (node.TrueTarget() == n || node.FalseTarget() == n) return true;
  }
  return false;
}

std::string Behavior::GetTreeName(int32_t id) const {
  if (id <= 255) return (id >= 0 && text_) ? text_->PrimitiveName(id) : std::string();
  if (id == 0x7FFF) return "***error***";
  ResourceSource* file = GetFileForTree(id);
  if (!file || !file->IsOpen()) return {};
  return file->GetLabel(kTypeBHAV, static_cast<int16_t>(id), swap_).value_or("");
}

int16_t Behavior::LocateTree(const std::string& label) const {
  for (ResourceSource* f : {own_, semi_, global_}) {
    if (!f) continue;
    if (auto id = f->FindByLabel(kTypeBHAV, label, swap_)) return *id;
  }
  return 0;
}

ConstantsView Behavior::GetConstants(int32_t id, bool tuning) const {
  ResourceSource* file = GetFileForTree(id);
  if (!file) return {};
  auto bytes = file->GetResource(kTypeBCON, static_cast<int16_t>(id), SwapConstants);
  if (!bytes || !IsValidConstants(*bytes)) return {};
  const uint16_t header = LoadU16(bytes->data());
  const bool tunable = (header & kConstantsTunable) != 0;
  if (tuning && tunable) {
    if (const int16_t* list = file->FindConstantList(static_cast<int16_t>(id))) {
      return ConstantsView(list + 1, static_cast<uint16_t>(list[0]) & 0x7FFF, true);
    }
  }
  return ConstantsView(bytes->data(), header & 0x7FFF, tunable);
}

uint32_t Behavior::GetSignature(int32_t id) const {
  std::set<int32_t> seen{id};
  std::vector<int32_t> pending{id};
  uint32_t sum = 0;
  while (!pending.empty()) {
    const int32_t current = pending.back();
    pending.pop_back();
    TreeView tree = GetTree(current);
    if (!tree) continue;
    sum += static_cast<uint32_t>(tree.Version());
    for (int i = 0; i < tree.NodeCount(); ++i) {
      const int32_t callee = tree.Node(i).Opcode();
      if (callee >= kFirstTreeId && seen.insert(callee).second) pending.push_back(callee);
    }
  }
  TreeView root = GetTree(id);
  const uint32_t rootVersion = root ? static_cast<uint32_t>(root.Version()) : 0;
  return rootVersion * 65536u + sum;
}

int WriteTree(ResourceSource& file, int16_t id, std::string_view label, std::span<const uint8_t> tree) {
  return file.PutResource(kTypeBHAV, id, label, WithoutBreakpoints(tree));
}

}  // namespace tova
