#include "gamedata/ObjFnTable.h"

#include "gamedata/RecordBytes.h"
#include "resfile/ReconObject.h"

namespace tova {

int16_t ObjFnTable::GetTreeId(int n, int* count) const {
  if (count) *count = static_cast<int>(entries_.size());
  if (n < 0 || n >= static_cast<int>(entries_.size())) return 0;
  return entries_[static_cast<size_t>(n)].treeId;
}

void ObjFnTable::Parse(std::span<const uint8_t> body, bool swapped) {
  ByteReader r(body, swapped);
  const uint32_t count = r.U32();
  r.RequireItems(count, 4, "entry points");
  std::vector<Entry> read(count);
  for (Entry& e : read) {
    e.companionId = r.I16();
    e.treeId = r.I16();
  }
  entries_ = std::move(read);
}

std::vector<uint8_t> ObjFnTable::Serialize() const {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(entries_.size()));
  for (const Entry& e : entries_) {
    w.I16(e.companionId);
    w.I16(e.treeId);
  }
  return w.Take();
}

std::vector<uint8_t> ObjFnTable::ToRecord() const { return MakeRecord(kRecordVersion, kTypeOBJf, Serialize()); }

int ObjFnTable::Load(ResourceSource& file, int16_t id) {
  int status = kResOK;
  auto bytes = file.GetResource(kTypeOBJf, id, SwapReconHeader, &status);
  if (!bytes) return status;
  try {
    RecordView rec = ParseRecord(*bytes);
    Parse(rec.body, rec.swapped);
  } catch (const RecordError&) {
    return kResBadData;
  }
  return kResOK;
}

int ObjFnTable::Save(ResourceSource& file, int16_t id) const {
  return file.PutResource(kTypeOBJf, id, file.GetLabel(kTypeOBJf, id, SwapReconHeader).value_or(""), ToRecord());
}

}  // namespace tova
