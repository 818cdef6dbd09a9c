#include "gamedata/ObjectDefinition.h"

#include "gamedata/AnimTable.h"
#include "gamedata/CatalogCommands.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/TreeTableData.h"
#include "resfile/PathHelpers.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {
constexpr ResType kObjdType = TypeCode("OBJD");
constexpr int kAnimTableIds[4] = {129, 130, 131, 132};

}  // namespace

ObjectDefinition::ObjectDefinition(ObjectFolder* owner, iResFile* ownFile, const ObjectDefinitionRecord& record,
                                   const std::string& name, int kind, ResId resourceId)
    : owner_(owner), ownFile_(ownFile), name_(name.substr(0, kNameLength - 1)), record_(record) {
  flags_ = (static_cast<uint32_t>(static_cast<uint16_t>(resourceId)) << 16) | (static_cast<uint32_t>(kind & 3) << 2);
}

ObjectDefinition::~ObjectDefinition() { FreeCachedTables(); }

std::string ObjectDefinition::GetFileName() const {
  if (!ownFile_) return {};
  std::string path;
  ownFile_->GetPath(path);
  char buffer[260];
  FixedString name;
  name.Init(buffer, sizeof buffer);
  GetFileNameOfPath(path.c_str(), name);
  return buffer;
}

bool ObjectDefinition::HasMainOrMaster() const {
  return record_.MasterId() != 0 || record_.Word(ObjectDefinitionRecord::kDrawGroupCount) != 0;
}

bool ObjectDefinition::IsGroupPart() const { return record_.MasterId() != 0 && record_.SubIndex() != -1; }

bool ObjectDefinition::IsMasterBit0Clear() {
  ObjectDefinition* master = GetMasterDefinition();
  const ObjectDefinitionRecord& r = master ? master->record_ : record_;
  return (r.Byte(ObjectDefinitionRecord::kMasterFlags) & 1) == 0;
}

ObjectDefinition* ObjectDefinition::GetMasterDefinition() {
  if (!masterLooked_ && owner_) {
    master_ = owner_->FindMasterDefinition(*this);
    masterLooked_ = true;
  }
  return master_;
}

uint16_t ObjectDefinition::GetTreeTableId() {
  uint16_t id = static_cast<uint16_t>(record_.Word(ObjectDefinitionRecord::kTreeTableId));
  if (id == 0xFFFF) {
    ObjectDefinition* master = GetMasterDefinition();
    return master ? static_cast<uint16_t>(master->record_.Word(ObjectDefinitionRecord::kTreeTableId)) : id;
  }
  return (id & 0x8000) ? 0 : id;
}

TreeTableData* ObjectDefinition::GetTreeTable() {
  if (treeTable_ || !owner_) return treeTable_;
  uint16_t id = GetTreeTableId();
  if (id == 0 || (id & 0x8000)) return nullptr;
  treeTable_ = owner_->AcquireTreeTable(ownFile_, static_cast<ResId>(id));
  if (!treeTable_ && semiGlobalFile_) treeTable_ = owner_->AcquireTreeTable(semiGlobalFile_, static_cast<ResId>(id));
  return treeTable_;
}

bool ObjectDefinition::HasTreeTable() {
  TreeTableData* t = GetTreeTable();
  return t && t->HasEntries();
}

bool ObjectDefinition::HasOnlyFlag10Entries() {
  TreeTableData* t = GetTreeTable();
  return t && t->HasOnlyFlagEntries(TreeTableEntry::kFlagOnly10);
}

bool ObjectDefinition::HasOnlyFlag40Entries() {
  TreeTableData* t = GetTreeTable();
  return t && t->HasOnlyFlagEntries(TreeTableEntry::kFlagOnly40);
}

bool ObjectDefinition::HasLinkedEntries() {
  TreeTableData* t = GetTreeTable();
  return t && t->HasLinkedEntries();
}

void ObjectDefinition::DropTreeTable() {
  if (treeTable_ && owner_) owner_->ReleaseTreeTable(treeTable_);
  treeTable_ = nullptr;
}

const ObjFnTable& ObjectDefinition::GetFunctionTable() {
  if (functionTable_) return *functionTable_;
  ObjFnTable table;
  ResourceSource* own = GetOwnSource();
  // Only a missing 'OBJf' falls back to the record's entries; a damaged one
  // leaves the table empty rather than pass off the record as its contents.
  if (!own || table.Load(*own, GetResourceId()) == kResNotFound) {
    table.Entries().assign(ObjectDefinitionRecord::kFunctionEntries, ObjFnTable::Entry{});
    for (int n = 0; n < ObjectDefinitionRecord::kFunctionEntries; ++n) {
      table.Entries()[static_cast<size_t>(n)].treeId = record_.FunctionEntry(n);
    }
  }
  functionTable_ = std::move(table);
  return *functionTable_;
}

int16_t ObjectDefinition::GetFunctionTreeId(int n) { return GetFunctionTable().GetTreeId(n); }

const DrawGroup* ObjectDefinition::GetDrawGroup(int i) {
  if (!(flags_ & kFlagDrawGroupsBuilt)) {
    drawGroups_.clear();
    int first = record_.Word(ObjectDefinitionRecord::kFirstDrawGroup);
    int count = record_.Word(ObjectDefinitionRecord::kDrawGroupCount);
    ResourceSource* own = GetOwnSource();
    for (int k = 0; first != 0 && own && k < count; ++k) {
      auto group = std::make_unique<DrawGroup>();
      if (group->Load(*own, static_cast<int16_t>(first + k)) != 0) group.reset();
      drawGroups_.push_back(std::move(group));
    }
    flags_ |= kFlagDrawGroupsBuilt;
  }
  if (i < 0 || i >= static_cast<int>(drawGroups_.size())) return nullptr;
  return drawGroups_[static_cast<size_t>(i)].get();
}

uint32_t ObjectDefinition::GetInitSignature() {
  if (!initSignature_) {
    initSignature_ = behavior_ ? behavior_->GetSignature(GetFunctionTreeId(0)) : 0;
  }
  return *initSignature_;
}

uint32_t ObjectDefinition::GetMainSignature() {
  if (!mainSignature_) {
    mainSignature_ = behavior_ ? behavior_->GetSignature(GetFunctionTreeId(1)) : 0;
  }
  return *mainSignature_;
}

const CatalogStrings& ObjectDefinition::GetCatalogStrings() {
  if (!catalogStrings_) {
    CatalogStrings strings;
    if (ownFile_) {
      strings.Read(*ownFile_, record_.Word(ObjectDefinitionRecord::kCatalogStringsId));
    }
    if (strings.name.empty()) strings.name = "*" + name_;
    catalogStrings_ = std::move(strings);
  }
  return *catalogStrings_;
}

AnimTable* ObjectDefinition::GetAnimTable(AnimTableKind kind) {
  int k = static_cast<int>(kind);
  if (k < 0 || k > 3) return nullptr;
  if (!animTables_[static_cast<size_t>(k)] && owner_ && ownFile_) {
    animTables_[static_cast<size_t>(k)] = owner_->AcquireAnimTable(ownFile_, static_cast<ResId>(kAnimTableIds[k]));
  }
  return animTables_[static_cast<size_t>(k)];
}

StringSet* ObjectDefinition::GetBodyStrings() {
  if (!IsPerson() || !ownFile_) return nullptr;
  if (!bodyStrings_) {
    auto set = std::make_unique<StringSet>();
    if (set->LoadFromFile(ownFile_, record_.Word(ObjectDefinitionRecord::kBodyStringsId), false) != 0) return nullptr;
    bodyStrings_ = std::move(set);
  }
  return bodyStrings_.get();
}

int32_t ObjectDefinition::GetNeighbourMask() {
  int16_t own = record_.Word(ObjectDefinitionRecord::kNeighbourWord);
  if (record_.MasterId() == 0) return own;
  if (own == -1) return -1;
  if (!owner_) return 0;
  int a = (record_.SubIndex() >> 8) & 0xFF;
  int b = record_.SubIndex() & 0xFF;
  static const int kSteps[8][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}, {-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
  int32_t mask = 0;
  for (int i = 0; i < 8; ++i) {
    int na = a + kSteps[i][0];
    int nb = b + kSteps[i][1];
    if (na < 0 || nb < 0) continue;
    ObjectDefinition* part = owner_->FindPart(*this, na, nb, 0);
    if (part && part->record_.Word(ObjectDefinitionRecord::kNeighbourWord) != -1) mask |= 1 << i;
  }
  return mask;
}

bool ObjectDefinition::Rename(const std::string& name) {
  // A read-only or archived file keeps its label, and so does the definition.
  if (!ownFile_ || !ownFile_->IsWritable()) return false;
  MemHandle h = ownFile_->GetResource(kObjdType, GetResourceId(), nullptr);
  if (!h) return false;
  std::string label = ClampLabel(name);
  if (ownFile_->SetIdAndLabel(h, GetResourceId(), label, 0) != 0 || ownFile_->WriteResource(h) != 0) return false;
  name_ = label;
  if (owner_) owner_->Notify(kCommandDefinitionRenamed, static_cast<intptr_t>(GetGUID()));
  return true;
}

int ObjectDefinition::Release() {
  if (refCount_ > 0 && --refCount_ == 0) FreeCachedTables();
  return refCount_;
}

void ObjectDefinition::FreeCachedTables() {
  DropTreeTable();
  for (AnimTable*& t : animTables_) {
    if (t && owner_) owner_->ReleaseAnimTable(t);
    t = nullptr;
  }
  functionTable_.reset();
  drawGroups_.clear();
  catalogStrings_.reset();
  flags_ &= ~kFlagDrawGroupsBuilt;
}

void ObjectDefinition::SetChanged(bool changed) {
  if (changed) {
    flags_ |= kFlagChanged;
  } else {
    flags_ &= ~kFlagChanged;
  }
}

}  // namespace tova
