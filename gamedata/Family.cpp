#include "gamedata/Family.h"

#include <algorithm>
#include <cstring>

#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"
#include "resfile/iResFile.h"

namespace tova {

Family::Family(int32_t n) : number(n) {}
Family::~Family() = default;

const int32_t* Family::GetMember(int n) const {
  return n >= 0 && n < GetMemberCount() ? &members_[static_cast<size_t>(n)] : nullptr;
}

bool Family::HasMember(int32_t guid) const { return std::find(members_.begin(), members_.end(), guid) != members_.end(); }

bool Family::AddMember(int32_t guid) {
  if (HasMember(guid)) return false;
  members_.push_back(guid);
  return true;
}

bool Family::RemoveMember(int32_t guid) {
  auto it = std::find(members_.begin(), members_.end(), guid);
  if (it == members_.end()) return false;
  members_.erase(it);
  return true;
}

std::string Family::GetFileStem() const { return std::string(name_.c_str()) + "_" + std::to_string(number); }

void Family::Reconstitute(ReconStream& s, int32_t v) {
  s.SerializeLongs(&lot, 1);
  if (v < 5) s.SerializeFixedString(name_);
  if (v >= 1) s.SerializeLongs(&sortKey, 1);
  if (v >= 2) {
    s.SerializeLongs(&funds, 1);
    s.SerializeLongs(&houseValue, 1);
    s.SerializeLongs(&friendCount, 1);
  }
  if (v >= 7) {
    s.SerializeLongs(&flags, 1);
  } else if (s.IsReading()) {
    // Older records kept the two lot bits as booleans; version 6 wrote the
    // second one twice and the later one decides.
    bool bit0 = true;
    if (v >= 3) s.SerializeBool(&bit0);
    bool bit1 = false;
    if (v >= 4) s.SerializeBool(&bit1);
    if (v == 6) s.SerializeBool(&bit1);
    flags = (flags & ~(kFlagLot0 | kFlagLot1)) | (bit0 ? kFlagLot0 : 0) | (bit1 ? kFlagLot1 : 0);
  }
  auto count = static_cast<int32_t>(members_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(count, 4)) return;
    members_.assign(static_cast<size_t>(count), 0);
  }
  if (count > 0) s.SerializeLongs(members_.data(), count);
}

bool Family::Load(iResFile& file, int32_t n, int languageSlot) {
  if (n < 0) {
    Reset();
    return false;
  }
  Family read(n);
  SimpleReconObject<Family> record(&read, kFamilyChunk);
  int32_t version = 0;
  if (ReconObject::LoadFromResFile(record, file, static_cast<ResId>(n), &version) != 0) return false;
  if (version >= 5) {
    StringSet names;
    names.SetSource(&file, static_cast<ResId>(n), kFamilyNameChunk, false, languageSlot);
    names.Load(true, false);
    const char* text = names.GetString(1, languageSlot);
    if (text == nullptr || *text == '\0') text = names.GetString(1, 1);
    read.name_.Assign(text != nullptr ? text : "");
  }
  read.number = n;
  if (MemHandle h = file.GetResource(kFamilyHistoryChunk, static_cast<ResId>(n), SwapReconHeader)) {
    const uint8_t* data = GetMemHandleData(h);
    read.rawHistory_.assign(data, data + GetMemHandleSize(h));
    file.ReleaseResource(h);
  }
  number = read.number;
  lot = read.lot;
  sortKey = read.sortKey;
  funds = read.funds;
  houseValue = read.houseValue;
  friendCount = read.friendCount;
  changed = true;
  flags = read.flags;
  name_.AssignString(read.name_);
  members_ = std::move(read.members_);
  rawHistory_ = std::move(read.rawHistory_);
  history_.reset();
  return true;
}

FamilyAlbum& Family::GetAlbum(const std::string& neighborhoodFolder) {
  if (!album_) {
    const std::string folder = neighborhoodFolder + "PhotoAlbum/";
    if (albumMaker_) album_ = albumMaker_(*this, folder);
    if (!album_) album_ = std::make_unique<FamilyAlbum>();
  }
  return *album_;
}

bool Family::Save(iResFile& file, int languageSlot) {
  if (number == -1) return true;
  // The album's pictures go first, so the family never names what is not saved.
  if (album_ && !album_->Save()) return false;
  const auto id = static_cast<ResId>(number);
  SimpleReconObject<Family> record(this, kFamilyChunk);
  if (ReconObject::SaveToResFile(record, kRecordVersion, file, id) != 0) return false;
  StringSet names;
  names.SetSource(&file, id, kFamilyNameChunk, false, languageSlot);
  names.SetString(1, name_.c_str(), languageSlot);
  if (names.Save() != 0) return false;
  if (history_) {
    SimpleReconObject<FamilyHistory> rows(history_.get(), kFamilyHistoryChunk);
    return ReconObject::SaveToResFile(rows, FamilyHistory::kRecordVersion, file, id) == 0;
  }
  if (rawHistory_.empty()) return true;
  MemHandle h = NewMemHandle(static_cast<int32_t>(rawHistory_.size()));
  if (!h) return false;
  std::memcpy(GetMemHandleData(h), rawHistory_.data(), rawHistory_.size());
  if (file.AddResource(h, kFamilyHistoryChunk, id, std::string(), true) != 0) {
    DisposeMemHandle(h);
    return false;
  }
  const int status = file.WriteResource(h);
  file.DetachResource(h);
  DisposeMemHandle(h);
  return status == 0;
}

void Family::Reset() {
  number = -1;
  lot = 0;
  sortKey = -1;
  funds = houseValue = friendCount = flags = 0;
  changed = true;
  name_.Clear();
  members_.clear();
  rawHistory_.clear();
  history_.reset();
}

FamilyHistory& Family::GetHistory() {
  if (!history_) {
    history_ = std::make_unique<FamilyHistory>();
    if (!rawHistory_.empty()) {
      FamilyHistory read;
      SimpleReconObject<FamilyHistory> record(&read, kFamilyHistoryChunk);
      MemHandle h = NewMemHandle(static_cast<int32_t>(rawHistory_.size()));
      if (h) {
        std::memcpy(GetMemHandleData(h), rawHistory_.data(), rawHistory_.size());
        if (ReconObject::ReadFromHandle(record, h) == 0) *history_ = std::move(read);
        DisposeMemHandle(h);
      }
    }
    rawHistory_.clear();
  }
  return *history_;
}

}  // namespace tova
