// The data-file catalogue: data files of one kind are found by a four-character
// type code and a name or a numeric id. A file name carries the id as a prefix
// ("#12#Chair.IFF"); the extension comes from the type code ('iff ' -> ".iff";
// "****" -> any extension). Files are reached through the data-file manager
// (handle kind 1) or a file stream (kind 0), as the caller's handle asks.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CTGString.h"

class CTGFile;
class CTGFileManager;

// Result codes of the catalogue.
enum : int32_t {
  kDataFileOk = 0,
  kDataFileTypeRegistered = 1,
  kDataFileTypeUnknown = 2,
  kDataFileAlreadyPresent = 3,
  kDataFileStop = 4,
  kDataFileNotFound = 5,
  kDataFileOutOfMemory = 6,
};

constexpr int32_t kNoDataFileId = INT32_MIN;  // 0x80000000

// The first up to four characters packed with the first in the top byte.
uint32_t MakeTypeCode(const char* text);
// n moved to the top: below 256 by 24 bits, up to 0xFFFF by 16, up to
// 0xFFFFFF by 8, larger unchanged.
uint32_t MakeTypeCodeFromNumber(uint32_t n);
// '.' and the code's first three characters; "****" gives ".*".
std::string TypeExtension(uint32_t type);

// The data file a catalogue open hands to its caller; it owns the open file.
class cDataFileHandle {
 public:
  enum Kind : int32_t { kStream = 0, kFile = 1 };

  cDataFileHandle() = default;
  ~cDataFileHandle();
  cDataFileHandle(const cDataFileHandle&) = delete;
  cDataFileHandle& operator=(const cDataFileHandle&) = delete;

  // Takes the stream (null releases); a CTGFile held is closed first.
  void SetStream(std::istream* stream);
  // Takes the file (null releases); a stream held is deleted first.
  void SetFile(CTGFile* file, CTGFileManager* manager = nullptr);
  void SetKind(int32_t kind) { mKind = kind; }
  int32_t GetKind() const { return mKind; }
  void SetTypeCode(uint32_t type) { mType = type; }
  uint32_t GetTypeCode() const { return mType; }
  void SetName(const char* name) { mName = name != nullptr ? name : ""; }
  const std::string& GetName() const { return mName; }
  void SetId(int32_t id) { mId = id; }
  int32_t GetId() const { return mId; }
  void SetSize(uint32_t size) { mSize = size; }
  uint32_t GetSize() const { return mSize; }

  std::istream* GetStream() const { return mStream.get(); }
  CTGFile* GetFile() const { return mFile; }

 private:
  void ReleaseFile();

  int32_t mKind = kStream;
  std::unique_ptr<std::istream> mStream;
  CTGFile* mFile = nullptr;
  CTGFileManager* mManager = nullptr;
  uint32_t mType = 0;
  std::string mName;
  int32_t mId = kNoDataFileId;
  uint32_t mSize = 0;
};

struct cDataFileListEntry {
  CTGString directory;
  // The name after the id prefix, lower-cased, each '.' replaced by a zero
  // byte: the visible name ends before the extension.
  std::string nameKey;
  uint32_t type = 0;
  int32_t id = kNoDataFileId;
};

class cDataFileList {
 public:
  using const_iterator = std::vector<cDataFileListEntry>::const_iterator;
  const_iterator begin() const { return mEntries.begin(); }
  const_iterator end() const { return mEntries.end(); }
  size_t Count() const { return mEntries.size(); }
  const cDataFileListEntry& At(size_t index) const { return mEntries.at(index); }
  void Clear() { mEntries.clear(); }
  // kDataFileAlreadyPresent when an entry with the same key and id is listed.
  int32_t Add(cDataFileListEntry entry);

 private:
  std::vector<cDataFileListEntry> mEntries;
};

class cDataFileCatalog {
 public:
  using DirectoryList = std::vector<std::string>;

  int32_t RegisterType(uint32_t type);
  int32_t AddSubType(uint32_t type, uint32_t subType);
  // Lists the registered files (through the data-file manager's tables) of
  // the type, or of each of its sub-types, in the directories in order.
  int32_t ListFiles(cDataFileList& list, const DirectoryList& directories, uint32_t type);
  int32_t OpenByName(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type, const char* name);
  int32_t OpenById(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type, int32_t id);
  int32_t OpenListed(cDataFileHandle& handle, const cDataFileListEntry& entry);

  // Streams open without the binary mode when set (no difference on Linux
  // but for '\r': text-mode readers drop it themselves).
  void SetTextMode(bool text) { mTextMode = text; }
  bool TextMode() const { return mTextMode; }
  // The manager used for listings and kind-1 opens (the global one by default).
  void SetFileManager(CTGFileManager* manager) { mManager = manager; }

  // The id (kNoDataFileId when the name carries none) and name key of a file
  // name.
  static void ParseFileName(const std::string& fileName, int32_t* id, std::string* nameKey);

 private:
  // The type's sub-types, or the type itself when it has none.
  std::vector<uint32_t> SearchTypes(uint32_t type) const;
  // The first file found for the type (or each of its sub-types) in the
  // directories in order, by name (id kNoDataFileId) or by id (name null).
  int32_t OpenFirst(cDataFileHandle& handle, const DirectoryList& directories, uint32_t type, const char* name,
                    int32_t id);
  int32_t Open(cDataFileHandle& handle, uint32_t type, const std::string& directory, const char* name, int32_t id);
  int32_t OpenPath(cDataFileHandle& handle, const std::string& path);
  CTGFileManager& Manager() const;

  std::map<uint32_t, std::vector<uint32_t>> mTypes;
  bool mTextMode = false;
  CTGFileManager* mManager = nullptr;
};

cDataFileCatalog& GetDataFileCatalog();
