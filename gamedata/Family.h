#pragma once
// A household of the neighbourhood: name, number, lot, money, members (person
// GUIDs), flags and its history. Stored as three chunks with the family
// number as id: the record, its name as a string table, and the history,
// which stays as the stored bytes until someone first asks for it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/FamilyAlbum.h"
#include "gamedata/FamilyHistory.h"
#include "resfile/FixedString.h"
#include "resfile/TypeCode.h"

class iResFile;
class ReconStream;

namespace tova {

constexpr ResType kFamilyChunk = TypeCode("FAMI");
constexpr ResType kFamilyNameChunk = TypeCode("FAMs");
constexpr ResType kFamilyHistoryChunk = TypeCode("FAMh");

class Family {
 public:
  static constexpr int32_t kRecordVersion = 7;
  // Flag bits: 0 and 1 come from the lot's objects, 2 marks a lot not yet
  // played since moving in, 3 is cleared whenever the game takes the money.
  enum : int32_t { kFlagLot0 = 1, kFlagLot1 = 2, kFlagFirstVisit = 4, kFlagMoneyHeld = 8 };

  explicit Family(int32_t number = -1);
  ~Family();

  // Reads the family chunks of that number; a negative number leaves an empty
  // family. The name comes from the given language slot of the name table
  // (records from version 5 on), else from the second slot. True when the
  // record was read.
  bool Load(iResFile& file, int32_t number, int languageSlot = 0);
  bool Save(iResFile& file, int languageSlot = 0);
  // The record's fields in every stream mode.
  void Reconstitute(ReconStream& stream, int32_t version);

  int GetMemberCount() const { return static_cast<int>(members_.size()); }
  const int32_t* GetMember(int n) const;
  bool HasMember(int32_t guid) const;
  bool AddMember(int32_t guid);
  bool RemoveMember(int32_t guid);
  const std::vector<int32_t>& Members() const { return members_; }

  const char* GetName() const { return name_.c_str(); }
  void SetName(const char* name) { name_.Assign(name); }
  // Name, "_" and number.
  std::string GetFileStem() const;

  // The history, parsed from the stored bytes on first use (an unreadable
  // history starts empty).
  FamilyHistory& GetHistory();
  // The photo album, made on first use on "PhotoAlbum/" in the
  // neighbourhood folder given.
  FamilyAlbum& GetAlbum(const std::string& neighborhoodFolder);
  bool HasAlbum() const { return album_ != nullptr; }
  // How albums are made (null: the default album).
  static void SetAlbumMaker(FamilyAlbumMaker maker) { albumMaker_ = std::move(maker); }

  int32_t number = -1;
  int32_t lot = 0;
  int32_t sortKey = -1;
  int32_t funds = 0;
  int32_t houseValue = 0;
  int32_t friendCount = 0;
  bool changed = true;
  int32_t flags = 0;

 private:
  void Reset();

  FixedStringBuffer<256> name_;
  std::vector<int32_t> members_;
  std::vector<uint8_t> rawHistory_;
  std::unique_ptr<FamilyHistory> history_;
  std::unique_ptr<FamilyAlbum> album_;
  static inline FamilyAlbumMaker albumMaker_;
};

}  // namespace tova
