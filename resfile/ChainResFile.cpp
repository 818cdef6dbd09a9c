#include "resfile/ChainResFile.h"

#include <algorithm>

ChainResFile::ChainResFile() = default;
ChainResFile::~ChainResFile() = default;

bool ChainResFile::AddFile(iResFile* file) {
  if (!file || CountFiles() >= kMaxMembers) return false;
  mMembers.push_back(Member{file, {}, true});
  return true;
}

iResFile* ChainResFile::GetFile(int index) const {
  return index >= 0 && index < CountFiles() ? mMembers[static_cast<size_t>(index)].file : nullptr;
}

void ChainResFile::ExcludeType(int member, ResType type) {
  if (member < 0 || member >= CountFiles()) return;
  Member& m = mMembers[static_cast<size_t>(member)];
  if (!m.types.empty() && !m.exclude) return;
  m.exclude = true;
  m.types.push_back(type);
}

void ChainResFile::IncludeType(int member, ResType type) {
  if (member < 0 || member >= CountFiles()) return;
  Member& m = mMembers[static_cast<size_t>(member)];
  if (!m.types.empty() && m.exclude) return;
  m.exclude = false;
  m.types.push_back(type);
}

bool ChainResFile::Admits(int member, ResType type) const {
  if (member < 0 || member >= CountFiles()) return false;
  const Member& m = mMembers[static_cast<size_t>(member)];
  bool listed = std::find(m.types.begin(), m.types.end(), type) != m.types.end();
  return m.exclude ? !listed : listed;
}

// A plain chain is made of files opened elsewhere.
int ChainResFile::Create(const std::string&) { return mError = kResUnsupported; }
int ChainResFile::Delete(const std::string&) { return mError = kResUnsupported; }
int ChainResFile::Open(const std::string&) { return mError = kResUnsupported; }

int ChainResFile::ForEveryMember(int (iResFile::*op)()) {
  int status = 0;
  for (Member& m : mMembers)
    if (int s = (m.file->*op)()) status = s;
  return mError = status;
}

int ChainResFile::Suspend() { return ForEveryMember(&iResFile::Suspend); }
int ChainResFile::Resume() { return ForEveryMember(&iResFile::Resume); }
int ChainResFile::Close() { return ForEveryMember(&iResFile::Close); }

int ChainResFile::Flush() {
  int status = 0;
  for (Member& m : mMembers)
    if (m.file->IsWritable()) {
      int s = m.file->Flush();
      if (status == 0) status = s;
    }
  return mError = status;
}

bool ChainResFile::IsWritable() {
  mError = 0;
  return std::any_of(mMembers.begin(), mMembers.end(), [](Member& m) { return m.file->IsWritable(); });
}

bool ChainResFile::IsOpen() {
  mError = 0;
  return std::any_of(mMembers.begin(), mMembers.end(), [](Member& m) { return m.file->IsOpen(); });
}

void ChainResFile::GetPath(std::string& out) {
  out.clear();
  mError = 0;
  if (!mMembers.empty()) mMembers.front().file->GetPath(out);
}

std::vector<ResType> ChainResFile::TypeUnion() {
  std::vector<ResType> types;
  for (Member& m : mMembers) {
    for (int i = m.file->CountTypes(); i >= 1; --i) {
      ResType t = m.file->GetTypeAt(i);
      if (std::find(types.begin(), types.end(), t) == types.end()) types.push_back(t);
    }
  }
  return types;
}

int ChainResFile::CountTypes() {
  mError = 0;
  return static_cast<int>(TypeUnion().size());
}

ResType ChainResFile::GetTypeAt(int index) {
  std::vector<ResType> types = TypeUnion();
  if (index < 1 || index > static_cast<int>(types.size())) {
    mError = kResBadTypeIndex;
    return 0;
  }
  mError = 0;
  return types[static_cast<size_t>(index - 1)];
}

int ChainResFile::CountResources(ResType type) {
  int total = 0;
  for (Member& m : mMembers) {
    total += m.file->CountResources(type);
    if (int s = m.file->GetError()) {
      mError = s;
      return 0;
    }
  }
  mError = 0;
  return total;
}

MemHandle ChainResFile::GetResource(ResType type, ResId id, SwapProc swap) {
  return GetResourceVariant(type, id, 0, swap);
}

MemHandle ChainResFile::GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) {
  mError = kResNotFound;
  for (Member& m : mMembers) {
    if (MemHandle h = m.file->GetResourceVariant(type, id, variant, swap)) {
      mError = 0;
      return h;
    }
    mError = m.file->GetError();
  }
  return nullptr;
}

MemHandle ChainResFile::GetNamedResource(ResType type, const std::string& label, SwapProc swap) {
  mError = kResNotFound;
  for (Member& m : mMembers) {
    if (MemHandle h = m.file->GetNamedResource(type, label, swap)) {
      mError = 0;
      return h;
    }
    mError = m.file->GetError();
  }
  return nullptr;
}

MemHandle ChainResFile::GetIndexedResource(ResType type, int index, SwapProc swap) {
  mError = kResNotFound;
  for (Member& m : mMembers) {
    int count = m.file->CountResources(type);
    if (index >= 1 && index <= count) {
      MemHandle h = m.file->GetIndexedResource(type, index, swap);
      mError = m.file->GetError();
      return h;
    }
    index -= count;
  }
  return nullptr;
}

template <class F>
int ChainResFile::AskOwner(F ask, bool writableOnly, int none) {
  int status = none;
  for (Member& m : mMembers) {
    if (writableOnly && !m.file->IsWritable()) continue;
    ask(*m.file);
    status = m.file->GetError();
    if (status == 0) break;
  }
  return mError = status;
}

int ChainResFile::GetLabel(MemHandle h, std::string& out) {
  out.clear();
  return AskOwner([&](iResFile& f) { f.GetLabel(h, out); }, false, kResNotFound);
}

ResType ChainResFile::GetType(MemHandle h) {
  ResType type = 0;
  AskOwner([&](iResFile& f) { type = f.GetType(h); }, false, kResNotFound);
  return mError == 0 ? type : 0;
}

int ChainResFile::GetId(MemHandle h, ResId& out) {
  return AskOwner([&](iResFile& f) { f.GetId(h, out); }, false, kResNotFound);
}

int ChainResFile::GetHandleAttribute(MemHandle h, int32_t& out) {
  out = 0;
  return AskOwner([&](iResFile& f) { f.GetHandleAttribute(h, out); }, false, kResUnsupported);
}

int ChainResFile::GetVariant(MemHandle h) {
  int variant = 0;
  AskOwner([&](iResFile& f) { variant = f.GetVariant(h); }, false, kResNotFound);
  return mError == 0 ? variant : 0;
}

int ChainResFile::DetachResource(MemHandle h) {
  return AskOwner([&](iResFile& f) { f.DetachResource(h); }, false, kResUnknownLabel);
}

int ChainResFile::ChangeId(MemHandle h, ResId id) {
  return AskOwner([&](iResFile& f) { f.ChangeId(h, id); }, false, kResUnknownLabel);
}

bool ChainResFile::IsNative(MemHandle h) {
  for (Member& m : mMembers) {
    bool native = m.file->IsNative(h);
    if (m.file->GetError() == 0) {
      mError = 0;
      return native;
    }
  }
  mError = kResUnknownLabel;
  return false;
}

int ChainResFile::WriteResource(MemHandle h) {
  return AskOwner([&](iResFile& f) { f.WriteResource(h); }, true, kResUnknownLabel);
}

int ChainResFile::DeleteResource(MemHandle h) {
  return AskOwner([&](iResFile& f) { f.DeleteResource(h); }, true, kResUnknownLabel);
}

int ChainResFile::SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int variant) {
  return AskOwner([&](iResFile& f) { f.SetIdAndLabel(h, id, label, variant); }, true, kResUnknownLabel);
}

int ChainResFile::MakeUniqueLabel(ResType type, std::string& label) {
  if (label.empty()) label = "anonymous 0";
  for (Member& m : mMembers) m.file->MakeUniqueLabel(type, label);
  return mError = 0;
}

ResId ChainResFile::GetUnusedId(ResType type) {
  // Over every member: sprites live in the other member of an object, and
  // an id taken there must not be handed out again.
  mError = 0;
  bool any = false;
  ResId best = 0;
  for (Member& m : mMembers) {
    ResId id = m.file->GetUnusedId(type);
    if (m.file->GetError() != 0) continue;
    if (!any || id > best) best = id;
    any = true;
  }
  return best;
}

int ChainResFile::AddResource(MemHandle h, ResType type, ResId id, const std::string& label,
                              bool native) {
  return AddResourceVariant(h, type, id, label, 0, native);
}

int ChainResFile::AddResourceVariant(MemHandle h, ResType type, ResId id, const std::string& label,
                                     int variant, bool native) {
  // Only an exact (id, variant) match is replaced, wherever it is.
  MemHandle old = GetResourceVariant(type, id, variant, nullptr);
  if (old && old == h) {
    DetachResource(h);
    old = GetResourceVariant(type, id, variant, nullptr);
  }
  if (old && GetVariant(old) == variant) {
    if (int status = DeleteResource(old)) return status;
  }
  int status = kResNoMember;
  for (size_t i = 0; i < mMembers.size(); ++i) {
    if (!Admits(static_cast<int>(i), type)) {
      status = kResTypeRefused;
      continue;
    }
    if (!mMembers[i].file->IsWritable()) continue;
    status = mMembers[i].file->AddResourceVariant(h, type, id, label, variant, native);
    break;
  }
  return mError = status;
}

bool ChainResFile::CanAddType(ResType type) {
  for (size_t i = 0; i < mMembers.size(); ++i)
    if (Admits(static_cast<int>(i), type) && mMembers[i].file->IsWritable()) return true;
  return false;
}
