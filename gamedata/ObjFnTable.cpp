#include "gamedata/ObjFnTable.h"

#include "gamedata/RecordIO.h"

namespace tova {

int16_t ObjFnTable::GetTreeId(int n, int* count) const {
  if (count) *count = static_cast<int>(entries_.size());
  if (n < 0 || n >= static_cast<int>(entries_.size())) return 0;
  return entries_[static_cast<size_t>(n)].treeId;
}

void ObjFnTable::Reconstitute(ReconStream& s, int32_t) {
  uint32_t count = static_cast<uint32_t>(entries_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(count, 4)) return;
    entries_.resize(count);  // new entries are zero, a smaller count drops the tail
  }
  for (Entry& e : entries_) {
    s.SerializeShorts(&e.companionId, 1);
    s.SerializeShorts(&e.treeId, 1);
  }
}

std::vector<uint8_t> ObjFnTable::ToRecord() {
  SimpleReconObject<ObjFnTable> record(this, kTypeOBJf);
  return WriteRecordBytes(record, kRecordVersion);
}

int ObjFnTable::Load(ResourceSource& file, int16_t id) {
  ObjFnTable read;
  SimpleReconObject<ObjFnTable> record(&read, kTypeOBJf);
  const int status = LoadRecord(file, kTypeOBJf, id, record);
  if (status == kResOK) entries_ = std::move(read.entries_);
  return status;
}

int ObjFnTable::Save(ResourceSource& file, int16_t id) {
  SimpleReconObject<ObjFnTable> record(this, kTypeOBJf);
  return SaveRecord(file, kTypeOBJf, id, record, kRecordVersion);
}

}  // namespace tova
