#include "gamedata/FloatConstants.h"

#include "gamedata/RecordIO.h"
#include "gamedata/TextCompare.h"

namespace tova {
namespace {
constexpr size_t kNameMax = 63;
constexpr size_t kCommentMax = 255;
}  // namespace

FloatConstants::Entry* FloatConstants::Find(std::string_view name) {
  for (Entry& e : entries_) {
    if (EqualsNoCase(e.name, name)) return &e;
  }
  return nullptr;
}

void FloatConstants::Append(Entry e) {
  if (e.name.size() > kNameMax) e.name.resize(kNameMax);
  if (e.comment.size() > kCommentMax) e.comment.resize(kCommentMax);
  entries_.push_back(std::move(e));
}

float FloatConstants::Get(std::string_view name, float fallback, bool add) {
  if (Entry* e = Find(name)) return e->value;
  if (add) Append({fallback, std::string(name), {}});
  return fallback;
}

void FloatConstants::Set(std::string_view name, float value) {
  if (Entry* e = Find(name)) {
    e->value = value;
  } else {
    Append({value, std::string(name), {}});
  }
}

void FloatConstants::Reconstitute(ReconStream& s, int32_t version) {
  uint32_t count = static_cast<uint32_t>(entries_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(count, 6)) return;  // an empty name and a value at least
    entries_.assign(count, Entry{});
  }
  for (Entry& e : entries_) {
    s.SerializeString(e.name);
    s.SerializeFloats(&e.value, 1);
    if (version >= 1) s.SerializeString(e.comment);
    if (s.Failed()) return;
    if (e.name.size() > kNameMax) e.name.resize(kNameMax);
    if (e.comment.size() > kCommentMax) e.comment.resize(kCommentMax);
  }
}

std::vector<uint8_t> FloatConstants::ToRecord() {
  SimpleReconObject<FloatConstants> record(this, kTypeFCNS);
  return WriteRecordBytes(record, kRecordVersion);
}

int FloatConstants::Load(ResourceSource& file, int16_t id) {
  entries_.clear();
  FloatConstants read;
  SimpleReconObject<FloatConstants> record(&read, kTypeFCNS);
  const int status = LoadRecord(file, kTypeFCNS, id, record);
  if (status == kResOK) entries_ = std::move(read.entries_);
  return status;
}

int FloatConstants::Save(ResourceSource& file, int16_t id) {
  SimpleReconObject<FloatConstants> record(this, kTypeFCNS);
  return SaveRecord(file, kTypeFCNS, id, record, kRecordVersion);
}

}  // namespace tova
