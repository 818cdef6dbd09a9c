#include "simulation/cTreeConstants.h"

#include <algorithm>

#include "gamedata/BehaviorTree.h"
#include "gamedata/ResourceSource.h"
#include "resfile/ReconObject.h"
#include "resfile/ResUtil.h"
#include "resfile/SeqResFile.h"

namespace tova {


void cTreeConstants::Reconstitute(ReconStream& s, int32_t version) {
  auto count = static_cast<int32_t>(entries_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(count, 10)) return;
    entries_.resize(static_cast<size_t>(count));
  }
  for (Entry& e : entries_) {
    s.SerializeLongs(&e.valueA, 1);
    s.SerializeLongs(&e.valueB, 1);
    s.SerializeString(e.label);
    s.SerializeString(e.comment);
    if (version >= 1) {
      uint8_t ranged = e.ranged ? 1 : 0;
      s.SerializeBytes(&ranged, 1);
      e.ranged = ranged != 0;
      s.SerializeShorts(&e.minimum, 1);
      s.SerializeShorts(&e.maximum, 1);
    } else if (s.IsReading()) {
      e.ranged = false;
      e.minimum = 0;
      e.maximum = 100;
    }
  }
}

int cTreeConstants::Load(iResFile* file, ResId id) {
  if (!file) {
    entries_.clear();
    return kResBadData;
  }
  SimpleReconObject<cTreeConstants> record(this, kTypeTRCN);
  int status = ReconObject::LoadFromResFile(record, *file, id);
  if (status != 0) {
    entries_.clear();
    return status;
  }
  MemHandle h = file->GetResource(kTypeBCON, id, SwapConstants);
  if (!h) {
    entries_.clear();
    return file->GetError() != 0 ? file->GetError() : kResNotFound;
  }
  const uint8_t* data = GetMemHandleData(h);
  const int32_t size = GetMemHandleSize(h);
  const uint16_t header = size >= 2 ? ReadU16LE(data) : 0;
  // Only the elements that exist: a count or an entry list longer than the
  // stored values reads the rest as 0.
  const int32_t stored = std::min<int32_t>(header & 0x7FFF, size >= 2 ? (size - 2) / 2 : 0);
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& e = entries_[i];
    e.index = static_cast<int32_t>(i);
    e.value = static_cast<int32_t>(i) < stored
                  ? static_cast<int16_t>(ReadU16LE(data + 2 + 2 * i))
                  : int16_t{0};
    e.overridden = 0;
    e.overrideValue = 0;
  }
  if (const auto* objectFile = dynamic_cast<const ObjResFile*>(file)) {
    if (const int16_t* list = objectFile->FindConstantList(id)) {
      const size_t n = std::min<size_t>(static_cast<uint16_t>(list[0]) & 0x7FFF, entries_.size());
      for (size_t i = 0; i < n; ++i) {
        entries_[i].overridden = 1;
        entries_[i].overrideValue = list[1 + i];
      }
    }
  }
  tunable_ = (header & 0x8000) != 0;
  tableLabel_.clear();
  file->GetLabel(h, tableLabel_);
  if (tableLabel_.size() > 64) tableLabel_.resize(64);
  file->ReleaseResource(h);
  file_ = file;
  id_ = id;
  return 0;
}

std::string cTreeConstants::ElementLabel(int i) const {
  if (i < 0 || i >= static_cast<int>(entries_.size())) return {};
  return entries_[static_cast<size_t>(i)].label;
}

}  // namespace tova
