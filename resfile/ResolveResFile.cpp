#include "resfile/ResolveResFile.h"

#include <algorithm>
#include <istream>

#include "framework/CTGFile.h"
#include "framework/CTGFileManager.h"
#include "framework/cDataFileCatalog.h"
#include "platform/FileSystem.h"

namespace {

int FromCatalog(int status) {
  switch (status) {
    case kDataFileOk: return 0;
    case kDataFileNotFound: return kResNotFound;
    case kDataFileOutOfMemory: return kResOutOfMemory;
    default: return kResBadData;
  }
}

// Reads the whole opened file into a new handle.
int ReadWhole(cDataFileHandle& file, MemHandle& out) {
  uint32_t size = file.GetSize();
  if (size > 0x40000000u) return kResBadData;
  out = NewMemHandle(static_cast<int32_t>(size));
  if (!out) return kResOutOfMemory;
  bool ok = false;
  if (CTGFile* f = file.GetFile()) {
    ok = f->ReadBytes(GetMemHandleData(out), static_cast<int32_t>(size));
  } else if (std::istream* in = file.GetStream()) {
    in->read(reinterpret_cast<char*>(GetMemHandleData(out)), static_cast<std::streamsize>(size));
    ok = in->gcount() == static_cast<std::streamsize>(size);
  }
  if (!ok) {
    DisposeMemHandle(out);
    out = nullptr;
    return kFlatShortRead;
  }
  return 0;
}

}  // namespace

ResolveResFile::ResolveResFile() = default;

ResolveResFile::~ResolveResFile() { Close(); }

int ResolveResFile::Open(const std::string& path) {
  Close();
  std::string text = path;
  std::replace(text.begin(), text.end(), '\\', '/');
  while (text.compare(0, 2, "./") == 0) text.erase(0, 2);
  std::vector<std::string> dirs;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string dir = text.substr(start, end - start);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (!dir.empty()) dirs.push_back(dir);
    start = end + 1;
  }
  if (dirs.empty()) return mError = kFlatAlreadyOpen;
  for (const std::string& dir : dirs)
    if (!platform::DirectoryExists(dir)) return mError = kFlatAlreadyOpen;
  for (const std::string& dir : dirs) {
    // The catalogue lists only what the data-file manager has registered.
    if (!CTGFileManager::Global().HasDirectory(dir.c_str()))
      CTGFileManager::Global().AddDirectory(dir.c_str(), false, true);
  }
  mDirectories = dirs;
  mPathText = text;
  return mError = 0;
}

int ResolveResFile::Close() {
  for (Loaded& l : mLoaded) DisposeMemHandle(l.handle);
  mLoaded.clear();
  mDirectories.clear();
  mPathText.clear();
  return mError = 0;
}

std::vector<ResType> ResolveResFile::Types() const {
  std::vector<ResType> types;
  for (const std::string& dir : mDirectories) {
    for (const auto& entry : platform::ListDirectory(dir)) {
      if (entry.isDirectory) continue;
      size_t dot = entry.name.rfind('.');
      if (dot == std::string::npos || dot + 1 >= entry.name.size()) continue;
      ResType type = MakeTypeCode(entry.name.c_str() + dot + 1);
      if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
    }
  }
  return types;
}

int ResolveResFile::CountTypes() {
  mError = 0;
  return static_cast<int>(Types().size());
}

ResType ResolveResFile::GetTypeAt(int index) {
  std::vector<ResType> types = Types();
  if (index < 1 || index > static_cast<int>(types.size())) {
    mError = kResBadData;
    return 0;
  }
  mError = 0;
  return types[static_cast<size_t>(index - 1)];
}

int ResolveResFile::CountResources(ResType type) {
  cDataFileList list;
  GetDataFileCatalog().RegisterType(type);
  GetDataFileCatalog().ListFiles(list, mDirectories, type);
  mError = 0;
  return static_cast<int>(list.Count());
}

MemHandle ResolveResFile::Take(ResType type, int32_t id, const std::string& name, int status,
                               void* opened, SwapProc swap) {
  auto& file = *static_cast<cDataFileHandle*>(opened);
  if (status != 0) {
    mError = status;
    return nullptr;
  }
  MemHandle h = nullptr;
  if ((mError = ReadWhole(file, h)) != 0) return nullptr;
  if (swap) swap(GetMemHandleData(h), GetMemHandleSize(h));
  mLoaded.push_back(Loaded{type, file.GetId() != kNoDataFileId ? file.GetId() : id,
                           name.empty() ? file.GetName() : name, h});
  return h;
}

MemHandle ResolveResFile::GetResource(ResType type, ResId id, SwapProc swap) {
  for (const Loaded& l : mLoaded)
    if (l.type == type && l.id == id) return mError = 0, l.handle;
  if (!IsOpen()) return mError = kFlatNotOpen, nullptr;
  cDataFileHandle file;
  file.SetKind(cDataFileHandle::kFile);
  GetDataFileCatalog().RegisterType(type);
  int status = FromCatalog(GetDataFileCatalog().OpenById(file, mDirectories, type, id));
  return Take(type, id, std::string(), status, &file, swap);
}

MemHandle ResolveResFile::GetNamedResource(ResType type, const std::string& label, SwapProc swap) {
  for (const Loaded& l : mLoaded)
    if (l.type == type && LabelsEqualNoCase(l.name, label)) return mError = 0, l.handle;
  if (!IsOpen()) return mError = kFlatNotOpen, nullptr;
  cDataFileHandle file;
  file.SetKind(cDataFileHandle::kFile);
  GetDataFileCatalog().RegisterType(type);
  int status = FromCatalog(GetDataFileCatalog().OpenByName(file, mDirectories, type, label.c_str()));
  return Take(type, kNoDataFileId, label, status, &file, swap);
}

MemHandle ResolveResFile::GetIndexedResource(ResType type, int index, SwapProc swap) {
  cDataFileList list;
  GetDataFileCatalog().RegisterType(type);
  GetDataFileCatalog().ListFiles(list, mDirectories, type);
  if (index < 1 || index > static_cast<int>(list.Count())) return mError = kResBadData, nullptr;
  const cDataFileListEntry& entry = list.At(static_cast<size_t>(index - 1));
  std::string name = entry.nameKey.substr(0, entry.nameKey.find('\0'));
  for (const Loaded& l : mLoaded)
    if (l.type == type && l.id == entry.id && LabelsEqualNoCase(l.name, name)) return mError = 0, l.handle;
  cDataFileHandle file;
  file.SetKind(cDataFileHandle::kFile);
  int status = FromCatalog(GetDataFileCatalog().OpenListed(file, entry));
  return Take(type, entry.id, name, status, &file, swap);
}

const ResolveResFile::Loaded* ResolveResFile::Find(MemHandle h) const {
  for (const Loaded& l : mLoaded)
    if (h && l.handle == h) return &l;
  return nullptr;
}

bool ResolveResFile::HoldsHandle(MemHandle h) const { return Find(h) != nullptr; }

int ResolveResFile::GetLabel(MemHandle h, std::string& out) {
  const Loaded* l = Find(h);
  out = l ? l->name : std::string();
  return mError = l ? 0 : kResUnknownLabel;
}

ResType ResolveResFile::GetType(MemHandle h) {
  const Loaded* l = Find(h);
  mError = l ? 0 : kResUnknownLabel;
  return l ? l->type : 0;
}

int ResolveResFile::GetId(MemHandle h, ResId& out) {
  const Loaded* l = Find(h);
  out = l && l->id != kNoDataFileId ? static_cast<ResId>(l->id) : 0;
  return mError = l ? 0 : kResUnknownLabel;
}

int ResolveResFile::DetachResource(MemHandle h) {
  auto it = std::find_if(mLoaded.begin(), mLoaded.end(), [h](const Loaded& l) { return h && l.handle == h; });
  if (it == mLoaded.end()) return mError = kResUnknownLabel;
  mLoaded.erase(it);
  return mError = 0;
}
