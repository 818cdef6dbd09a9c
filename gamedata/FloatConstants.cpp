#include "gamedata/FloatConstants.h"

#include "gamedata/RecordBytes.h"
#include "resfile/ReconObject.h"
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

void FloatConstants::Parse(std::span<const uint8_t> body, int32_t version, bool swapped) {
  ByteReader r(body, swapped);
  const uint32_t count = r.U32();
  r.RequireItems(count, 6, "float constants");  // an empty name and a value at least
  std::vector<Entry> read;
  read.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    Entry e;
    e.name = r.String();
    e.value = r.F32();
    if (version >= 1) e.comment = r.String();
    if (e.name.size() > kNameMax) e.name.resize(kNameMax);
    if (e.comment.size() > kCommentMax) e.comment.resize(kCommentMax);
    read.push_back(std::move(e));
  }
  entries_ = std::move(read);
}

std::vector<uint8_t> FloatConstants::Serialize() const {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(entries_.size()));
  for (const Entry& e : entries_) {
    w.String(e.name);
    w.F32(e.value);
    w.String(e.comment);
  }
  return w.Take();
}

std::vector<uint8_t> FloatConstants::ToRecord() const { return MakeRecord(kRecordVersion, kTypeFCNS, Serialize()); }

int FloatConstants::Load(ResourceSource& file, int16_t id) {
  entries_.clear();
  int status = kResOK;
  auto bytes = file.GetResource(kTypeFCNS, id, SwapReconHeader, &status);
  if (!bytes) return status;
  try {
    RecordView rec = ParseRecord(*bytes);
    Parse(rec.body, rec.version, rec.swapped);
  } catch (const RecordError&) {
    entries_.clear();
    return kResBadData;
  }
  return kResOK;
}

int FloatConstants::Save(ResourceSource& file, int16_t id) const {
  auto label = file.GetLabel(kTypeFCNS, id, SwapReconHeader);
  return file.PutResource(kTypeFCNS, id, label.value_or(""), ToRecord());
}

}  // namespace tova
