#include "framework/cDataFileCatalog.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>

#include "framework/CTGFile.h"
#include "framework/CTGFileManager.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

const uint32_t kAnyType = MakeTypeCode("****");

bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
  return name.size() >= suffix.size() &&
         platform::EqualsNoCase(std::string_view(name).substr(name.size() - suffix.size()), suffix);
}

// Does the file name carry the type's extension? "****" takes any name.
bool HasTypeExtension(const std::string& name, uint32_t type) {
  return type == kAnyType || EndsWithNoCase(name, TypeExtension(type));
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '\\' || directory.back() == '/') return directory + name;
  return directory + "\\" + name;
}

}  // namespace

uint32_t MakeTypeCode(const char* text) {
  uint32_t code = 0;
  for (int i = 0; i < 4; ++i) {
    const auto c = text != nullptr ? static_cast<unsigned char>(text[i]) : 0;
    if (c == 0) break;
    code |= static_cast<uint32_t>(c) << (24 - 8 * i);
  }
  return code;
}

uint32_t MakeTypeCodeFromNumber(uint32_t n) {
  if (n < 256) return n << 24;
  if (n <= 0xFFFF) return n << 16;
  if (n <= 0xFFFFFF) return n << 8;
  return n;
}

std::string TypeExtension(uint32_t type) {
  if (type == kAnyType) return ".*";
  std::string ext = ".";
  for (int i = 0; i < 3; ++i) {
    const auto c = static_cast<char>(type >> (24 - 8 * i));
    if (c == '\0') break;
    ext += c;
  }
  return ext;
}

cDataFileHandle::~cDataFileHandle() { ReleaseFile(); }

void cDataFileHandle::ReleaseFile() {
  if (mFile != nullptr) {
    (mManager != nullptr ? *mManager : CTGFileManager::Global()).Close(mFile);
    mFile = nullptr;
  }
}

void cDataFileHandle::SetStream(std::istream* stream) {
  ReleaseFile();
  if (stream != mStream.get()) mStream.reset(stream);
  mKind = kStream;
}

void cDataFileHandle::SetFile(CTGFile* file, CTGFileManager* manager) {
  mStream.reset();
  if (file != mFile) ReleaseFile();
  mFile = file;
  mManager = manager;
  mKind = kFile;
}

int32_t cDataFileList::Add(cDataFileListEntry entry) {
  for (const auto& e : mEntries) {
    if (e.id == entry.id && e.nameKey == entry.nameKey) return kDataFileAlreadyPresent;
  }
  mEntries.push_back(std::move(entry));
  return kDataFileOk;
}

void cDataFileCatalog::ParseFileName(const std::string& fileName, int32_t* id, std::string* nameKey) {
  *id = kNoDataFileId;
  std::string rest = fileName;
  if (!fileName.empty() && fileName[0] == '#') {
    const size_t second = fileName.find('#', 1);
    if (second != std::string::npos) {
      const std::string digits = fileName.substr(1, second - 1);
      // Only a plain decimal number in range is an id; "#abc#" has none.
      const bool numeric = !digits.empty() && digits.size() <= 10 &&
                           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
      if (numeric) {
        const long long value = std::strtoll(digits.c_str(), nullptr, 10);
        if (value <= INT32_MAX) *id = static_cast<int32_t>(value);
      }
      rest = fileName.substr(second + 1);
    }
  }
  for (char& c : rest) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '.') c = '\0';
  }
  *nameKey = rest;
}

CTGFileManager& cDataFileCatalog::Manager() const {
  return mManager != nullptr ? *mManager : CTGFileManager::Global();
}

int32_t cDataFileCatalog::RegisterType(uint32_t type) {
  if (mTypes.count(type) != 0) return kDataFileTypeRegistered;
  mTypes[type];
  return kDataFileOk;
}

int32_t cDataFileCatalog::AddSubType(uint32_t type, uint32_t subType) {
  const auto it = mTypes.find(type);
  if (it == mTypes.end()) return kDataFileTypeUnknown;
  if (std::find(it->second.begin(), it->second.end(), subType) != it->second.end()) return kDataFileAlreadyPresent;
  it->second.push_back(subType);
  return kDataFileOk;
}

std::vector<uint32_t> cDataFileCatalog::SearchTypes(uint32_t type) const {
  const auto it = mTypes.find(type);
  if (it != mTypes.end() && !it->second.empty()) return it->second;
  return {type};
}

int32_t cDataFileCatalog::ListFiles(cDataFileList& list, const DirectoryList& directories, uint32_t type) {
  for (uint32_t t : SearchTypes(type)) {
    for (const std::string& directory : directories) {
      std::string dir = CTGFileManager::Normalize(directory.c_str());
      if (!dir.empty() && dir.back() != '\\') dir += '\\';
      CTGFindRecord record;
      for (bool ok = Manager().FindFirst((dir + "*").c_str(), record); ok; ok = Manager().FindNext(record)) {
        if (record.directoryFlag || !HasTypeExtension(record.name, t)) continue;
        cDataFileListEntry entry;
        entry.directory = dir;
        entry.type = t;
        ParseFileName(record.name, &entry.id, &entry.nameKey);
        list.Add(std::move(entry));  // a duplicate is skipped
      }
    }
  }
  return kDataFileOk;
}

int32_t cDataFileCatalog::OpenPath(cDataFileHandle& handle, const std::string& path) {
  try {
    if (handle.GetKind() == cDataFileHandle::kFile) {
      CTGFile* file = Manager().Open(path.c_str(), false);
      if (file == nullptr) return kDataFileNotFound;
      handle.SetFile(file, &Manager());
      handle.SetSize(static_cast<uint32_t>(file->GetSize()));
      return kDataFileOk;
    }
    if (!platform::FileExists(path)) return kDataFileNotFound;
    const auto mode = mTextMode ? std::ios::in : std::ios::in | std::ios::binary;
    auto stream = std::make_unique<std::ifstream>(platform::ResolvePath(path), mode);
    if (!stream->good()) return kDataFileNotFound;
    stream->seekg(0, std::ios::end);
    const std::streamoff size = stream->tellg();
    stream->seekg(0, std::ios::beg);
    if (size < 0 || !stream->good()) return kDataFileNotFound;
    handle.SetStream(stream.release());
    handle.SetSize(static_cast<uint32_t>(size));
    return kDataFileOk;
  } catch (const std::bad_alloc&) {
    return kDataFileOutOfMemory;
  }
}

int32_t cDataFileCatalog::Open(cDataFileHandle& handle, uint32_t type, const std::string& directory, const char* name,
                               int32_t id) {
  const std::string ext = TypeExtension(type);
  const std::string idPrefix = id != kNoDataFileId ? "#" + std::to_string(id) + "#" : "";
  std::string foundName;
  int32_t foundId = id;
  if (name != nullptr) {
    const std::string direct = JoinPath(directory, idPrefix + name + ext);
    if (OpenPath(handle, direct) == kDataFileOk) {
      handle.SetTypeCode(type);
      handle.SetName(name);
      handle.SetId(id);
      return kDataFileOk;
    }
    const auto found = platform::FindFiles(JoinPath(directory, "#*#" + std::string(name) + ext));
    auto file = std::find_if(found.begin(), found.end(), [](const auto& e) { return !e.isDirectory; });
    if (file == found.end()) return kDataFileNotFound;
    std::string key;
    cDataFileCatalog::ParseFileName(file->name, &foundId, &key);
    foundName = name;
    const int32_t result = OpenPath(handle, JoinPath(directory, file->name));
    if (result != kDataFileOk) return result;
  } else {
    const auto found = platform::FindFiles(JoinPath(directory, idPrefix + "*" + ext));
    auto file = std::find_if(found.begin(), found.end(), [](const auto& e) { return !e.isDirectory; });
    if (file == found.end()) return kDataFileNotFound;
    const size_t second = file->name.find('#', 1);
    const std::string afterId = second == std::string::npos ? file->name : file->name.substr(second + 1);
    foundName = afterId.substr(0, afterId.find('.'));
    const int32_t result = OpenPath(handle, JoinPath(directory, file->name));
    if (result != kDataFileOk) return result;
  }
  handle.SetTypeCode(type);
  handle.SetName(foundName.c_str());
  handle.SetId(foundId);
  return kDataFileOk;
}

int32_t cDataFileCatalog::OpenFirst(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type,
                                    const char* name, int32_t id) {
  // Sub-types are tried one level deep, as ListFiles lists them: a sub-type
  // that names its own type again cannot send the search round forever.
  for (uint32_t t : SearchTypes(type)) {
    for (const std::string& directory : directories) {
      const int32_t result = Open(handle, t, directory, name, id);
      if (result == kDataFileOk || result == kDataFileStop) return result;
    }
  }
  return kDataFileNotFound;
}

int32_t cDataFileCatalog::OpenByName(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type,
                                     const char* name) {
  return OpenFirst(handle, directories, type, name != nullptr ? name : "", kNoDataFileId);
}

int32_t cDataFileCatalog::OpenById(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type,
                                   int32_t id) {
  return OpenFirst(handle, directories, type, nullptr, id);
}

int32_t cDataFileCatalog::OpenListed(cDataFileHandle& handle, const cDataFileListEntry& entry) {
  std::string fileName = entry.nameKey;
  std::replace(fileName.begin(), fileName.end(), '\0', '.');
  if (entry.id != kNoDataFileId) fileName = "#" + std::to_string(entry.id) + "#" + fileName;
  const int32_t result = OpenPath(handle, JoinPath(entry.directory, fileName));
  if (result != kDataFileOk) return result;
  handle.SetTypeCode(entry.type);
  handle.SetName(entry.nameKey.c_str());  // the visible part: up to the first zero byte
  handle.SetId(entry.id);
  return kDataFileOk;
}

cDataFileCatalog& GetDataFileCatalog() {
  static cDataFileCatalog catalog;
  return catalog;
}
