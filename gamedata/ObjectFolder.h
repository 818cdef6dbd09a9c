#pragma once
// The one catalogue of every object definition the game knows. At start-up
// it walks the object folders under the installation folder, opens each
// object resource file and builds one ObjectDefinition for each 'OBJD'
// resource in it, keyed by its 32-bit GUID (the first definition met with a
// GUID wins). It also opens the global behaviour file, reads the tree
// breakpoints and the careers, imports the tuning table and keeps the table
// that maps object types to the small indexes used in saved lots.
//
// What it asks of the subsystems above it (animation tables of the people,
// the start-up progress, tree tables and tree signatures of the interpreter)
// goes through CatalogueServices.

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "gamedata/CatalogueServices.h"
#include "gamedata/Commander.h"
#include "gamedata/ObjectDefinition.h"
#include "resfile/iResFile.h"

class ReconStream;

namespace tova {

class AnimTable;
struct TreeTableData;

// A type named by a loaded lot that the catalogue lacks.
struct MissingType {
  std::string name;
  uint32_t guid = 0;
  int16_t type = -1;
  int16_t saveIndex = 0;
};

// A definition reference read from a lot: the definition, or the record of
// a type the catalogue lacks, or neither.
struct DefinitionRef {
  ObjectDefinition* definition = nullptr;
  const MissingType* missing = nullptr;
};

struct TypeAttributes {
  uint32_t guid = 0;
  std::vector<int16_t> values;
};

// The semi-global file name of a 'GLOB' resource: a length byte and the
// text, or a C string when the data ends in a NUL; never past the data.
std::string ParseGlobName(const uint8_t* data, int32_t size);

// Finds the behaviour of a definition by reference in a saved lot.
class BehaviorFinder {
 public:
  virtual ~BehaviorFinder() = default;
  virtual void TransferBehaviorRef(Behavior*& ref, ReconStream& stream, int32_t version, bool useIndex) = 0;
};

class ObjectFolder : public BehaviorFinder, public Commander {
 public:
  static constexpr uint32_t kTemplatePersonGuid = 0x7FD96B54;
  static constexpr uint32_t kMissingTypeGuid = 0x3C08965F;
  static constexpr int kMaxTypeAttributes = 31999;
  static constexpr int kFirstIndexedSaveVersion = 47;

  enum Kind { kObjectFolder = 0, kCharacterFolder = 1, kDownloadsFolder = 2, kUserObjectFolder = 3 };

  // Makes the file object an object file is opened with.
  using FileMaker = std::function<std::unique_ptr<iResFile>()>;

  ObjectFolder();
  ~ObjectFolder() override;
  ObjectFolder(const ObjectFolder&) = delete;
  ObjectFolder& operator=(const ObjectFolder&) = delete;

  void SetServices(CatalogueServices* services) { services_ = services; }
  CatalogueServices* GetServices() const { return services_; }
  void SetFileMaker(FileMaker maker) { fileMaker_ = std::move(maker); }

  // The whole start-up load from the installation folder `basePath`
  // (ending in a separator, or empty for the working folder).
  void Init(const std::string& basePath, int32_t skipFlag = 1);
  void Clear();
  // Frees the cached tables of every definition nobody references.
  void Unload();

  int GetDefinitionCount() const { return static_cast<int>(definitions_.size()); }
  ObjectDefinition* GetDefinition(int index) const;
  ObjectDefinition* FindByGUID(uint32_t guid) const;
  ObjectDefinition* FindByName(const std::string& name) const;
  ObjectDefinition* GetTemplatePersonDefinition() const { return FindByGUID(kTemplatePersonGuid); }
  ObjectDefinition* GetMissingTypeDefinition() const { return FindByGUID(kMissingTypeGuid); }

  // Multi-tile lookups within the file of D.
  ObjectDefinition* FindMasterDefinition(const ObjectDefinition& d) const;
  ObjectDefinition* FindPart(const ObjectDefinition& d, int a, int b, int k) const;
  ObjectDefinition* FindFirstPart(const ObjectDefinition& d) const;
  ObjectDefinition* FindPartByOrdinal(const ObjectDefinition& d, int n) const;

  // The folder of every downloaded definition, each folder once.
  void GetObjectDirectories(std::vector<std::string>& out) const;
  // Loads one more file; its kind comes from its folder (other folders are
  // ignored). True when the file lay in a catalogue folder.
  bool AddObjectFile(const std::string& path);
  void SetCharacterFolder(const std::string& path);
  bool UnloadDefinition(ObjectDefinition* definition);

  // A reference to a definition inside a saved lot.
  void TransferDefinitionRef(DefinitionRef& ref, ReconStream& stream, int32_t version, bool useIndex);
  // The same for the behaviour of a definition (null for a missing type).
  void TransferBehaviorRef(Behavior*& ref, ReconStream& stream, int32_t version, bool useIndex) override;

  // The lot's object-type table ('objt' 0) and type attributes ('TTAT' 1).
  int SaveTypeTable(iResFile& file);
  int LoadTypeTable(iResFile& file);
  int SaveTypeAttributes(iResFile& file);
  int LoadTypeAttributes(iResFile& file);
  void Reconstitute(ReconStream& stream, int32_t version);  // the 'TTAT' body
  int GetTypeAttributeCount(const ObjectDefinition& d) const;
  int16_t* GetTypeAttributes(const ObjectDefinition& d);
  const std::vector<MissingType>& GetMissingTypes() const { return missingTypes_; }
  const std::vector<uint32_t>& GetSaveIndexTable() const { return saveIndexTable_; }

  void AddRef(ObjectDefinition* d);
  void Release(ObjectDefinition* d);

  // Tuning: "Tuning.txt" of the game-data folder.
  int ImportTuning(std::string& report);
  void SaveTuning(std::string& report);

  // Copies an object file with fresh GUIDs into `target` (new name, or a
  // prefix before the old labels, when given). A resource-file status.
  int CopyWithFreshGuids(iResFile& source, iResFile& target, const std::string* name, const std::string* prefix);
  // A GUID from the clocks and the C library's random numbers, drawn again
  // until it is non-zero, not catalogued and not in `taken`.
  uint32_t DrawFreshGuid(const std::set<uint32_t>& taken) const;

  // Opening and closing object files through the cache (one count each).
  iResFile* OpenFile(const std::string& path);
  void CloseFile(iResFile* file);
  // The open file as behaviour data reads it (with its tuning overrides).
  ResourceSource* GetSource(iResFile* file);
  // Tables shared by every definition of a file, one use count per user.
  TreeTableData* AcquireTreeTable(iResFile* file, ResId id);
  void ReleaseTreeTable(TreeTableData* table);
  AnimTable* AcquireAnimTable(iResFile* file, ResId id);
  void ReleaseAnimTable(AnimTable* table);

  // Broadcast commands received: 129 with a resource file that changed, 258
  // with a Behavior whose trees changed.
  int16_t DoCommand(int32_t command, intptr_t argument) override;
  // Commands sent: the catalogue changed, a definition goes, was renamed.
  void Notify(int16_t command, intptr_t argument);

  iResFile* GetGlobalFile() const { return globalFile_; }
  const std::string& GetBaseFolder() const { return basePath_; }
  const std::string& GetGlobalFolder() const { return globalPath_; }
  const std::string& GetObjectFolder() const { return objectPath_; }
  const std::string& GetUserObjectFolder() const { return userObjectPath_; }
  const std::string& GetDownloadsFolder() const { return downloadsPath_; }
  const std::string& GetCharacterFolder() const { return characterPath_; }
  bool IsLoaded() const { return loaded_; }
  int32_t GetSkipFlag() const { return skipFlag_; }
  // What the catalogue printed to the debugger output (timing table,
  // diagnostics).
  const std::string& GetDebugLog() const { return debugLog_; }
  // What the tuning import of the start-up load reported.
  const std::string& GetTuningReport() const { return tuningReport_; }
  // Milliseconds of the fifteen timing scopes, in table order.
  std::vector<std::pair<std::string, uint32_t>> GetTimings() const;

 private:
  struct CachedFile;
  struct CachedTable;
  struct FileScan;
  class Scanner;
  class Tuning;
  class Timing;

  bool LoadCareers(const std::string& gameDataFolder);
  void LoadObjectFile(const std::string& path, int kind);
  // Makes the definition of one 'OBJD' resource of the scanned file (the
  // handle is released).
  void LoadDefinition(FileScan& scan, MemHandle h, ResId id, int kind);
  void ScanFolder(const std::string& folder, int kind);
  void RescanAll();
  int KindOfPath(const std::string& path) const;
  void RemoveDefinitionAt(size_t index);
  void RebuildSaveIndexTable();
  CachedFile* FindCached(iResFile* file);
  const TypeAttributes* FindTypeAttributes(const ObjectDefinition& d) const;

  std::vector<std::unique_ptr<ObjectDefinition>> definitions_;
  std::map<int32_t, ObjectDefinition*> byGuid_;
  // The open files in the order opened, found by folded path and by file
  // object without a walk: start-up opens every object file.
  using FileList = std::list<std::unique_ptr<CachedFile>>;
  FileList files_;
  std::unordered_map<std::string, CachedFile*> filesByKey_;
  std::unordered_map<const iResFile*, FileList::iterator> filesByObject_;
  std::vector<std::unique_ptr<CachedTable>> tables_;
  iResFile* globalFile_ = nullptr;
  std::string basePath_;
  std::string globalPath_;
  std::string objectPath_;
  std::string userObjectPath_;
  std::string downloadsPath_;
  std::string characterPath_;
  int32_t skipFlag_ = 1;
  bool loaded_ = false;
  std::vector<MissingType> missingTypes_;
  std::vector<TypeAttributes> typeAttributes_;
  std::vector<uint32_t> saveIndexTable_;
  CatalogueServices* services_ = nullptr;
  FileMaker fileMaker_;
  std::string debugLog_;
  std::string tuningReport_;
  std::unique_ptr<Timing> timing_;
};

}  // namespace tova
