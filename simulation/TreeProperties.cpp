#include "simulation/TreeProperties.h"

#include <algorithm>

#include "gamedata/Behavior.h"
#include "resfile/ReconObject.h"

namespace tova {

TreeProperties::TreeProperties(const Behavior* behavior, int16_t treeId) : behavior_(behavior), treeId_(treeId) {}

void TreeProperties::Reconstitute(ReconStream& s, int32_t version) {
  auto p = static_cast<int32_t>(parameters_.size());
  auto l = static_cast<int32_t>(locals_.size());
  s.SerializeLongs(&p, 1);
  s.SerializeLongs(&l, 1);
  if (s.IsReading()) {
    // Each name takes at least its terminator; the bytes after need P more.
    if (p < 0 || l < 0) s.Fail();
    if (!s.CheckCount(int64_t{p} * 2 + l, 1)) return;
    parameters_.assign(static_cast<size_t>(p), std::string());
    locals_.assign(static_cast<size_t>(l), std::string());
  }
  for (std::string& name : parameters_) s.SerializeString(name);
  for (std::string& name : locals_) s.SerializeString(name);
  if (version > 0) {
    int32_t flag = flagB_ ? 1 : 0;
    s.SerializeLongs(&flag, 1);
    flagB_ = flag != 0 ? 1 : 0;
  }
  parameterBytes_.resize(parameters_.size(), 1);
  if (version > 1) s.SerializeBytes(parameterBytes_.data(), static_cast<int32_t>(parameterBytes_.size()));
  if (version > 2) s.SerializeLongs(&valueD_, 1);
  if (version > 3) s.SerializeLongs(&valueC_, 1);
}

void TreeProperties::Load() {
  if (!behavior_ || !behavior_->GetTree(treeId_)) return;
  ResourceSource* file = behavior_->GetFileForTree(treeId_);
  if (!file) return;
  int status = 0;
  auto bytes = file->GetResource(kTypeTPRP, treeId_, SwapReconHeader, &status);
  flagA_ = 0;
  flagB_ = 0;
  if (!bytes) {
    if (status != kResNotFound) return;
    parameters_ = {"param 0", "param 1", "param 2", "param 3"};
    locals_.clear();
    parameterBytes_.assign(4, 1);
    flagA_ = 1;
    flagB_ = 1;
    return;
  }
  MemHandle h = NewMemHandle(static_cast<int32_t>(bytes->size()));
  if (!h) return;
  std::copy(bytes->begin(), bytes->end(), GetMemHandleData(h));
  SimpleReconObject<TreeProperties> record(this, kTypeTPRP);
  if (ReconObject::ReadFromHandle(record, h) != 0) {
    // A damaged record names nothing.
    parameters_.clear();
    locals_.clear();
    parameterBytes_.clear();
  }
  DisposeMemHandle(h);
}

std::string TreeProperties::GetName(int kind, int index) const {
  const std::vector<std::string>* names = kind == kParameters ? &parameters_ : kind == kLocals ? &locals_ : nullptr;
  if (!names || index < 0 || index >= static_cast<int>(names->size())) return {};
  return (*names)[static_cast<size_t>(index)];
}

int TreeProperties::GetCount(int kind) const {
  if (kind == kParameters) return static_cast<int>(parameters_.size());
  if (kind == kLocals) return static_cast<int>(locals_.size());
  return 0;
}

bool TreeProperties::ParameterFlag(int i) const {
  return i < 0 || i >= static_cast<int>(parameterBytes_.size()) || parameterBytes_[static_cast<size_t>(i)] != 0;
}

void TreeProperties::SetNames(std::vector<std::string> parameters, std::vector<std::string> locals) {
  parameters_ = std::move(parameters);
  locals_ = std::move(locals);
  parameterBytes_.resize(parameters_.size(), 1);
}

}  // namespace tova
