#pragma once
// The 'OBJD' record: 216 little-endian bytes that describe one kind of object.
// Fields are 16-bit words unless noted; bytes not named here stay as stored
// and are copied unchanged. A record shorter than 216 bytes is taken up to
// its size and the rest reads as zero.

#include <array>
#include <cstdint>

namespace tova {

class ObjectDefinitionRecord {
 public:
  static constexpr int kSize = 216;
  static constexpr int kFunctionEntries = 30;

  // Byte offsets of the fields the system reads.
  enum Offset : int {
    kStackSize = 4,
    kFirstDrawGroup = 6,
    kDrawGroupCount = 8,
    kTreeTableId = 14,
    kPairing = 16,
    kObjectType = 18,
    kMasterId = 20,
    kSubIndex = 22,
    kGuid = 28,  // 32-bit
    kSkipWord = 32,
    kPrice = 36,
    kBodyStringsId = 38,
    kSlotId = 40,
    kFirstDepreciation = 70,
    kDailyDepreciation = 72,
    kNoDepreciation = 74,
    kDepreciationFloor = 76,
    kCatalogMask1 = 78,
    kCatalogMask2 = 80,
    kCatalogStringsId = 82,
    kAutomaticInstance = 84,
    kPortalWord = 92,
    kDataWord58 = 98,
    kPersonWord = 102,
    kPartKey = 112,
    kNeighbourWord = 114,
    kWordArrayLength = 116,
    kFacingOffset = 122,
    kMainPart = 126,
    kFirstSwitchSprite = 128,
    kSwitchSpriteCount = 130,
    kRoutingWord = 132,
    kFootprintSize = 134,
    kCategory = 138,
    kOriginalGuid = 140,  // 32-bit
    kThumbnailWord = 150,
    kMasterFlags = 152,  // 8-bit
    kInsets = 154,
    kFloorShadow = 158,
    kWallPictureBase = 162,
    kFieldWords = 164,  // 7 words
    kFieldBits = 178,   // 8-bit
    kTypeAttributeCount = 180,
    kFlags182 = 182,  // 8-bit
    kSharedAttributesGuid = 184,  // 32-bit
  };

  // Where function-table entry n (0-29) is kept.
  static constexpr std::array<int, kFunctionEntries> kFunctionEntryOffset = {
      86, 10, 94, 104, 120, 42, 124, 100, 156, 88, 148, 96, 90, 106, 110,
      34, 12, 24, 48, 50, 52, 54, 56, 58, 60, 62, 64, 66, 118, 160};

  ObjectDefinitionRecord() { bytes_.fill(0); }
  // Copies min(size, 216) bytes and zero-fills the rest; never reads past size.
  ObjectDefinitionRecord(const uint8_t* data, int32_t size) { Assign(data, size); }
  void Assign(const uint8_t* data, int32_t size);

  int16_t Word(int offset) const;
  void SetWord(int offset, int16_t value);
  uint32_t Long(int offset) const;
  void SetLong(int offset, uint32_t value);
  uint8_t Byte(int offset) const;
  void SetByte(int offset, uint8_t value);

  uint32_t Guid() const { return Long(kGuid); }
  void SetGuid(uint32_t guid) { SetLong(kGuid, guid); }
  int16_t ObjectType() const { return Word(kObjectType); }
  int16_t MasterId() const { return Word(kMasterId); }
  int16_t SubIndex() const { return Word(kSubIndex); }
  int16_t FunctionEntry(int n) const;
  void SetFunctionEntry(int n, int16_t treeId);
  // GetField(n): n 0-6 the words at 164-176, 7-13 bit n-7 of byte 178, else 0.
  int GetField(int n) const;

  const uint8_t* Data() const { return bytes_.data(); }
  uint8_t* Data() { return bytes_.data(); }

 private:
  std::array<uint8_t, kSize> bytes_;
};

}  // namespace tova
