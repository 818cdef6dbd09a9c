#pragma once
// One catalogue entry: everything the game knows about one kind of object
// before any instance exists. It keeps its own copy of the 'OBJD' record and
// hands out, built on first use and cached, the tables that live objects and
// the interpreter need: the function table of entry trees, the tree table of
// interactions, the catalogue strings, the animation-name tables and the
// body strings of persons.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gamedata/Behavior.h"
#include "gamedata/CatalogStrings.h"
#include "gamedata/DrawGroup.h"
#include "gamedata/ObjFnTable.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "resfile/iResFile.h"

class StringSet;

namespace tova {

class AnimTable;
class ObjectFolder;
struct TreeTableData;

class ObjectDefinition {
 public:
  static constexpr int kNameLength = 64;
  static constexpr int kPersonType = 2;

  // Flags word.
  static constexpr uint32_t kFlagDrawGroupsBuilt = 1u << 0;
  static constexpr uint32_t kFlagChanged = 1u << 1;
  static constexpr uint32_t kFlagAppearanceNormalised = 1u << 4;

  enum AnimTableKind { kAdultAnims = 0, kChildAnims = 1, kAdultToChildAnims = 2, kChildToAdultAnims = 3 };

  ObjectDefinition(ObjectFolder* owner, iResFile* ownFile, const ObjectDefinitionRecord& record,
                   const std::string& name, int kind, ResId resourceId);
  ~ObjectDefinition();
  ObjectDefinition(const ObjectDefinition&) = delete;
  ObjectDefinition& operator=(const ObjectDefinition&) = delete;

  uint32_t GetGUID() const { return record_.Guid(); }
  const std::string& GetName() const { return name_; }
  // The own file's name without its folder.
  std::string GetFileName() const;
  bool IsPerson() const { return record_.ObjectType() == kPersonType; }
  int16_t GetOBJDWord150() const { return record_.Word(ObjectDefinitionRecord::kThumbnailWord); }
  int16_t GetWord158() const { return record_.Word(ObjectDefinitionRecord::kFloorShadow); }
  int GetField(int n) const { return record_.GetField(n); }
  bool HasMainOrMaster() const;
  bool IsGroupPart() const;
  bool IsMasterBit0Clear();
  int GetKind() const { return static_cast<int>((flags_ >> 2) & 3); }
  ResId GetResourceId() const { return static_cast<ResId>(flags_ >> 16); }

  ObjectDefinition* GetMasterDefinition();
  // The word at byte 14; 0xFFFF gives the master's word; any other value
  // with bit 15 set gives 0.
  uint16_t GetTreeTableId();
  TreeTableData* GetTreeTable();
  bool HasTreeTable();
  bool HasOnlyFlag10Entries();
  bool HasOnlyFlag40Entries();
  bool HasLinkedEntries();

  // Entry trees: 'OBJf' of the definition's id when the file has it, else
  // entries 0-29 from the record.
  const ObjFnTable& GetFunctionTable();
  int16_t GetFunctionTreeId(int n);
  // Draw group i of the run at bytes 6 and 8; null out of range or missing.
  const DrawGroup* GetDrawGroup(int i);
  uint32_t GetInitSignature();
  uint32_t GetMainSignature();

  const CatalogStrings& GetCatalogStrings();
  const std::string& GetCatalogName() { return GetCatalogStrings().name; }
  const std::string& GetCatalogDescription() { return GetCatalogStrings().description; }

  AnimTable* GetAnimTable(AnimTableKind kind);
  AnimTable* GetAdultAnimTable() { return GetAnimTable(kAdultAnims); }
  AnimTable* GetChildAnimTable() { return GetAnimTable(kChildAnims); }
  AnimTable* GetAdultToChildAnimTable() { return GetAnimTable(kAdultToChildAnims); }
  AnimTable* GetChildToAdultAnimTable() { return GetAnimTable(kChildToAdultAnims); }
  // Persons only: the body strings (id at byte 38), cached; null otherwise.
  StringSet* GetBodyStrings();

  // For a single-tile object the word at byte 114; for a part whose word is
  // -1, -1; otherwise one bit per neighbouring part of the group.
  int32_t GetNeighbourMask();

  // Stores the name as the 'OBJD' label in the own file and broadcasts 130.
  // False, keeping the old name, when the file cannot be written.
  bool Rename(const std::string& name);

  // Live-object references; the release to 0 frees the cached tables.
  int AddRef() { return ++refCount_; }
  int Release();
  int GetRefCount() const { return refCount_; }
  // Frees the cached tables, leaving the definition catalogued.
  void FreeCachedTables();
  // Forgets the two tree signatures (an object file changed).
  void ForgetSignatures() { initSignature_.reset(); mainSignature_.reset(); }
  // Gives a cached tree table back to the table cache.
  void DropTreeTable();
  bool HoldsTreeTable() const { return treeTable_ != nullptr; }

  const ObjectDefinitionRecord& GetRecord() const { return record_; }
  ObjectDefinitionRecord& GetRecord() { return record_; }
  iResFile* GetOwnFile() const { return ownFile_; }
  Behavior* GetBehavior() const { return behavior_.get(); }
  void SetBehavior(std::unique_ptr<Behavior> behavior) { behavior_ = std::move(behavior); }
  // The own file as behaviour data reads it.
  ResourceSource* GetOwnSource() const { return behavior_ ? behavior_->OwnFile() : nullptr; }
  iResFile* GetSemiGlobalFile() const { return semiGlobalFile_; }
  void SetSemiGlobalFile(iResFile* file) { semiGlobalFile_ = file; }
  ObjectFolder* GetOwner() const { return owner_; }
  int16_t GetSaveIndex() const { return saveIndex_; }
  void SetSaveIndex(int16_t index) { saveIndex_ = index; }
  int32_t GetCatalogIndex() const { return catalogIndex_; }
  void SetCatalogIndex(int32_t index) { catalogIndex_ = index; }
  uint32_t GetFlags() const { return flags_; }
  void SetChanged(bool changed);
  bool IsChanged() const { return (flags_ & kFlagChanged) != 0; }
  // A pointer that the owner of a non-person definition may attach.
  void* GetAttachment() const { return attachment_; }
  void SetAttachment(void* p) { attachment_ = p; }

 private:
  ObjectFolder* owner_;
  iResFile* ownFile_;
  iResFile* semiGlobalFile_ = nullptr;
  std::string name_;
  ObjectDefinitionRecord record_;
  TreeTableData* treeTable_ = nullptr;
  std::array<AnimTable*, 4> animTables_{};
  std::unique_ptr<StringSet> bodyStrings_;
  void* attachment_ = nullptr;
  ObjectDefinition* master_ = nullptr;
  bool masterLooked_ = false;
  std::unique_ptr<Behavior> behavior_;
  std::optional<ObjFnTable> functionTable_;
  std::vector<std::unique_ptr<DrawGroup>> drawGroups_;
  int32_t refCount_ = 0;
  int16_t saveIndex_ = 0;
  int32_t catalogIndex_ = -1;
  std::optional<uint32_t> initSignature_;
  std::optional<uint32_t> mainSignature_;
  uint32_t flags_ = 0;
  std::optional<CatalogStrings> catalogStrings_;
};

}  // namespace tova
