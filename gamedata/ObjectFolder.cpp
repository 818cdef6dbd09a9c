#include "gamedata/ObjectFolder.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "gamedata/AnimTable.h"
#include "gamedata/BehaviorTree.h"
#include "gamedata/Breakpoints.h"
#include "gamedata/ResFileSource.h"
#include "gamedata/CareerFile.h"
#include "gamedata/CatalogCommands.h"
#include "gamedata/LotInterfaces.h"
#include "gamedata/PersonDataUpgrade.h"
#include "gamedata/Careers.h"
#include "gamedata/RecordBytes.h"
#include "gamedata/TreeTableData.h"
#include "gamedata/TuningImport.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "resfile/FolderScanner.h"
#include "resfile/ReconObject.h"
#include "resfile/ReconStream.h"
#include "resfile/SeqResFile.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

constexpr ResType kFolderObjdType = TypeCode("OBJD");
constexpr ResType kGlobType = TypeCode("GLOB");
constexpr ResType kObjtType = TypeCode("objt");
constexpr ResType kTtatType = TypeCode("TTAT");
constexpr ResType kCtssType = TypeCode("CTSS");
constexpr int32_t kTypeTableVersion = 2;
constexpr int32_t kTypeAttributesVersion = 0;

std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Folder part of a path, up to and including the last separator.
std::string FolderOf(const std::string& path) {
  size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

// Extension: from the first '.' after the last separator.
std::string ExtensionOf(const std::string& path) {
  size_t sep = path.find_last_of("/\\");
  size_t start = sep == std::string::npos ? 0 : sep + 1;
  size_t dot = path.find('.', start);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.size() >= prefix.size() &&
         platform::EqualsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

}  // namespace

std::string ParseGlobName(const uint8_t* data, int32_t size) {
  if (!data || size <= 0) return {};
  if (data[size - 1] == 0) return std::string(reinterpret_cast<const char*>(data));
  size_t n = std::min<size_t>(data[0], static_cast<size_t>(size - 1));
  return std::string(reinterpret_cast<const char*>(data + 1), n);
}

// ---------------------------------------------------------------------------
// Timing table

class ObjectFolder::Timing {
 public:
  enum Scope {
    kInit, kPreScan, kScan, kScanDir, kAddAll, kIffAlloc, kIffOpen, kIffMapRead, kIffMapScan,
    kAddLoop, kIffFetch, kDupCheck, kAddOne, kDefnLoad, kPostScan, kScopes
  };
  static constexpr const char* kNames[kScopes] = {
      "init", "pre scan", "scan", " scan dir", "  add all", "   iff alloc", "    iff open", "    iff map read",
      "    iff map scan", "   add loop", "    iff fetch", "    dup chk", "    add one", "     defn load", "post scan"};

  void Reset() {
    totals_[kIffOpen] = totals_[kIffMapRead] = totals_[kIffMapScan] = 0;
  }
  static int64_t Start() { return platform::PerfCounter(); }
  static int64_t MicrosecondsSince(int64_t started) {
    return platform::MulDiv64(platform::PerfCounter() - started, 1000000, platform::PerfFrequency());
  }
  void Stop(Scope s, int64_t started) {
    int64_t us = MicrosecondsSince(started);
    int64_t total = static_cast<int64_t>(totals_[s]) + us;
    totals_[s] = total > INT32_MAX || us > INT32_MAX ? INT32_MAX : static_cast<uint32_t>(total);
  }
  uint32_t Milliseconds(int s) const { return (totals_[s] + 500) / 1000; }
  // Adds the time until it goes out of scope to one scope's total.
  class Measure {
   public:
    Measure(Timing& timing, Scope scope) : timing_(timing), scope_(scope), started_(timing.Start()) {}
    ~Measure() { timing_.Stop(scope_, started_); }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

   private:
    Timing& timing_;
    Scope scope_;
    int64_t started_;
  };
  std::string Print() const {
    std::string out;
    for (int s = 0; s < kScopes; ++s) {
      std::string name = kNames[s];
      size_t lead = name.find_first_not_of(' ');
      out += name + "\t" + std::string(lead == std::string::npos ? 0 : lead, ' ') + std::to_string(Milliseconds(s)) + "\n";
    }
    return out;
  }

 private:
  uint32_t totals_[kScopes] = {};
};

// ---------------------------------------------------------------------------
// File and table caches

struct ObjectFolder::CachedFile {
  std::string key;  // the path, folded, with '\' separators
  std::string path;
  std::unique_ptr<iResFile> file;
  int count = 0;
  // Tuned constant lists, as also handed to the object file (which the
  // behaviours read them from); kept here to list them when saving.
  std::map<int16_t, std::vector<int16_t>> overrides;
  std::unique_ptr<ResFileSource> source;
};

struct ObjectFolder::CachedTable {
  iResFile* file = nullptr;
  ResId id = 0;
  int uses = 0;
  std::unique_ptr<TreeTableData> tree;
  std::unique_ptr<AnimTable> anim;
};

ObjectFolder::ObjectFolder()
    : fileMaker_([] { return std::unique_ptr<iResFile>(std::make_unique<ObjResFile>()); }),
      timing_(std::make_unique<Timing>()) {}

ObjectFolder::~ObjectFolder() { Clear(); }

iResFile* ObjectFolder::OpenFile(const std::string& path) {
  std::string key = platform::ToLowerAscii(Backslashed(path));
  if (auto known = filesByKey_.find(key); known != filesByKey_.end()) {
    ++known->second->count;
    return known->second->file.get();
  }
  if (!fileMaker_) return nullptr;
  std::unique_ptr<iResFile> file = fileMaker_();
  if (!file || file->Open(path) != 0) return nullptr;
  auto entry = std::make_unique<CachedFile>();
  entry->key = key;
  entry->path = path;
  entry->file = std::move(file);
  entry->count = 1;
  entry->source = std::make_unique<ResFileSource>(entry->file.get());
  CachedFile* cached = entry.get();
  const auto at = files_.insert(files_.end(), std::move(entry));
  filesByKey_.emplace(std::move(key), cached);
  filesByObject_.emplace(cached->file.get(), at);
  return cached->file.get();
}

ObjectFolder::CachedFile* ObjectFolder::FindCached(iResFile* file) {
  const auto found = filesByObject_.find(file);
  return found != filesByObject_.end() ? found->second->get() : nullptr;
}

ResourceSource* ObjectFolder::GetSource(iResFile* file) {
  CachedFile* cached = file ? FindCached(file) : nullptr;
  return cached ? cached->source.get() : nullptr;
}

void ObjectFolder::CloseFile(iResFile* file) {
  const auto found = filesByObject_.find(file);
  if (found == filesByObject_.end()) return;
  const FileList::iterator at = found->second;
  if (--(*at)->count > 0) return;
  // Tables cached for the file go with it.
  tables_.erase(std::remove_if(tables_.begin(), tables_.end(), [&](const auto& t) { return t->file == file; }),
                tables_.end());
  (*at)->file->Close();
  filesByKey_.erase((*at)->key);
  filesByObject_.erase(found);
  files_.erase(at);
}

TreeTableData* ObjectFolder::AcquireTreeTable(iResFile* file, ResId id) {
  if (!file) return nullptr;
  for (auto& t : tables_) {
    if (t->tree && t->file == file && t->id == id) {
      ++t->uses;
      return t->tree.get();
    }
  }
  if (!services_) return nullptr;
  std::unique_ptr<TreeTableData> tree = services_->LoadTreeTable(*file, id);
  if (!tree) return nullptr;
  tables_.push_back(std::make_unique<CachedTable>(CachedTable{file, id, 1, std::move(tree), nullptr}));
  return tables_.back()->tree.get();
}

void ObjectFolder::ReleaseTreeTable(TreeTableData* table) {
  for (size_t i = 0; i < tables_.size(); ++i) {
    if (tables_[i]->tree.get() != table) continue;
    // A tuned table stays while tuning may still save it.
    if (--tables_[i]->uses <= 0 && !table->changed) tables_.erase(tables_.begin() + static_cast<long>(i));
    return;
  }
}

AnimTable* ObjectFolder::AcquireAnimTable(iResFile* file, ResId id) {
  if (!file) return nullptr;
  for (auto& t : tables_) {
    if (t->anim && t->file == file && t->id == id) {
      ++t->uses;
      return t->anim.get();
    }
  }
  auto anim = std::make_unique<AnimTable>();
  if (anim->LoadFromFile(file, id, false) != 0) return nullptr;
  tables_.push_back(std::make_unique<CachedTable>(CachedTable{file, id, 1, nullptr, std::move(anim)}));
  return tables_.back()->anim.get();
}

void ObjectFolder::ReleaseAnimTable(AnimTable* table) {
  for (size_t i = 0; i < tables_.size(); ++i) {
    if (tables_[i]->anim.get() != table) continue;
    if (--tables_[i]->uses <= 0) tables_.erase(tables_.begin() + static_cast<long>(i));
    return;
  }
}

// ---------------------------------------------------------------------------
// Start-up load

void ObjectFolder::Init(const std::string& basePath, int32_t skipFlag) {
  if (loaded_ || !definitions_.empty()) Clear();
  int64_t initStart = timing_->Start();
  int64_t step = timing_->Start();
  timing_->Reset();
  skipFlag_ = skipFlag;
  basePath_ = Backslashed(basePath);
  globalPath_ = basePath_ + "GameData\\Global\\";
  objectPath_ = basePath_ + "GameData\\Objects\\";
  userObjectPath_ = basePath_ + "GameData\\UserObjects\\";
  downloadsPath_ = basePath_ + "Downloads\\";

  globalFile_ = OpenFile(globalPath_ + "Global");
  Breakpoints::Instance().Read(basePath_ + "GameData\\Breakpts.txt");
  LoadCareers(basePath_ + "GameData\\");
  timing_->Stop(Timing::kPreScan, step);

  step = timing_->Start();
  RescanAll();
  timing_->Stop(Timing::kScan, step);

  step = timing_->Start();
  if (services_) {
    services_->LoadAnimNameTables(globalFile_);
    services_->ReportProgress(TypeCode("ocns"), "Importing Tuning.txt");
  }
  tuningReport_.clear();
  ImportTuning(tuningReport_);
  debugLog_ += tuningReport_;
  loaded_ = true;
  Notify(kCommandCatalogueChanged, 0);
  timing_->Stop(Timing::kPostScan, step);
  timing_->Stop(Timing::kInit, initStart);
  debugLog_ += timing_->Print();
}

bool ObjectFolder::LoadCareers(const std::string& gameDataFolder) {
  CareerList::Instance().Clear();
  iResFile* file = OpenFile(gameDataFolder + "Careers");
  if (!file) return false;
  bool ok = LoadCareersFrom(*file, gameDataFolder + "Careers.txt", CareerList::Instance());
  CloseFile(file);
  return ok;
}

void ObjectFolder::RescanAll() {
  const std::pair<const std::string*, int> order[] = {{&objectPath_, kObjectFolder},
                                                       {&userObjectPath_, kUserObjectFolder},
                                                       {&characterPath_, kCharacterFolder},
                                                       {&downloadsPath_, kDownloadsFolder}};
  for (const auto& [path, kind] : order) {
    if (path->empty()) continue;
    Timing::Measure measure(*timing_, Timing::kScanDir);
    ScanFolder(*path, kind);
  }
}

// The object folder scanner: every file, every subfolder except ".dir"
// folders (loose-file members of object chains, not object folders).
class ObjectFolder::Scanner : public FolderScanner {
 public:
  Scanner(ObjectFolder& folder, int kind) : folder_(folder), kind_(kind) {}
  bool EnterFolder(const char* path) override { return !platform::EqualsNoCase(ExtensionOf(path), ".dir"); }
  void VisitFile(const char* path) override {
    Timing::Measure measure(*folder_.timing_, Timing::kAddAll);
    folder_.LoadObjectFile(path, kind_);
  }

 private:
  ObjectFolder& folder_;
  int kind_;
};

void ObjectFolder::ScanFolder(const std::string& folder, int kind) {
  Scanner scanner(*this, kind);
  scanner.Scan(folder.c_str());
}

// What the definitions of one object file share, looked up once per file.
struct ObjectFolder::FileScan {
  CachedFile* own = nullptr;
  ResourceSource* global = nullptr;
  bool semiGlobalLooked = false;
  CachedFile* semiGlobal = nullptr;  // one use held until the scan ends
};

void ObjectFolder::LoadObjectFile(const std::string& path, int kind) {
  if (!platform::EqualsNoCase(ExtensionOf(path), ".iff")) return;
  iResFile* file = nullptr;
  {
    Timing::Measure measure(*timing_, Timing::kIffAlloc);
    file = OpenFile(path);
  }
  if (!file) return;
  Timing::Measure measure(*timing_, Timing::kAddLoop);
  FileScan scan;
  scan.own = FindCached(file);
  scan.global = GetSource(globalFile_);
  // Every definition holds a use of its file, so only a file that was open
  // already can have definitions; each resource id is looked at once.
  std::set<ResId> seen;
  if (scan.own->count > 1) {
    for (const auto& d : definitions_) {
      if (d->GetOwnFile() == file) seen.insert(d->GetResourceId());
    }
  }
  // A file whose every record is a definition already (a rescan) is left
  // alone: fetching a record to learn its id reads its data.
  int count = file->CountResources(kFolderObjdType);
  if (static_cast<int>(seen.size()) == count) count = 0;
  for (int i = 1; i <= count; ++i) {
    MemHandle h = nullptr;
    ResId id = 0;
    bool fetched = false;
    {
      Timing::Measure fetch(*timing_, Timing::kIffFetch);
      h = file->GetIndexedResource(kFolderObjdType, i, nullptr);
      fetched = h && file->GetId(h, id) == 0;
    }
    bool known = false;
    {
      Timing::Measure check(*timing_, Timing::kDupCheck);
      known = fetched && !seen.insert(id).second;
    }
    if (!fetched || known) {
      if (h) file->ReleaseResource(h);
      continue;
    }
    Timing::Measure add(*timing_, Timing::kAddOne);
    LoadDefinition(scan, h, id, kind);
  }
  if (scan.semiGlobal) CloseFile(scan.semiGlobal->file.get());
  CloseFile(file);
}

void ObjectFolder::LoadDefinition(FileScan& scan, MemHandle h, ResId id, int kind) {
  Timing::Measure measure(*timing_, Timing::kDefnLoad);
  iResFile* file = scan.own->file.get();
  std::string label;
  file->GetLabel(h, label);
  label = label.substr(0, ObjectDefinition::kNameLength - 1);
  // A short record is taken up to its size; the rest reads as zero.
  ObjectDefinitionRecord record(GetMemHandleData(h), GetMemHandleSize(h));
  // A person's record is brought to the current layout as it loads.
  if (record.ObjectType() == kDefinitionTypePerson) {
    const uint8_t* raw = GetMemHandleData(h);
    std::vector<uint8_t> bytes(raw, raw + std::max<int32_t>(GetMemHandleSize(h), 0));
    UpgradePersonDataBlock(bytes);
    record = ObjectDefinitionRecord(bytes.data(), static_cast<int32_t>(bytes.size()));
  }
  file->ReleaseResource(h);
  if (record.Word(ObjectDefinitionRecord::kSkipWord) != 0 && skipFlag_ != 0) return;
  // GUID 0 ends the lot's type table: saved, it would hide every later type.
  if (record.Guid() == 0) {
    std::string path;
    file->GetPath(path);
    debugLog_ += path + " 'OBJD' " + std::to_string(id) + " (" + label + ") : guid 0, not catalogued\n";
    return;
  }
  if (ObjectDefinition* known = FindByGUID(record.Guid())) {
    debugLog_ += known->GetName() + ", " + label + " : duplicate guid, just ignore\n";
    return;
  }
  if (!scan.semiGlobalLooked) {
    scan.semiGlobalLooked = true;
    if (MemHandle glob = file->GetResource(kGlobType, 1, nullptr)) {
      std::string name = ParseGlobName(GetMemHandleData(glob), GetMemHandleSize(glob));
      file->ReleaseResource(glob);
      if (!name.empty()) scan.semiGlobal = FindCached(OpenFile(globalPath_ + name));
    }
  }
  // The definition holds one use of its file and one of its semi-global file.
  ++scan.own->count;
  auto d = std::make_unique<ObjectDefinition>(this, file, record, label, kind, id);
  d->SetCatalogIndex(static_cast<int32_t>(definitions_.size()));
  if (scan.semiGlobal) {
    ++scan.semiGlobal->count;
    d->SetSemiGlobalFile(scan.semiGlobal->file.get());
  }
  // Primitive names come from the readable-text tables of the interpreter;
  // the catalogue's behaviours work without them.
  d->SetBehavior(std::make_unique<Behavior>(services_ ? services_->GetPrimitiveText() : nullptr, scan.global, scan.own->source.get(),
                                            scan.semiGlobal ? scan.semiGlobal->source.get() : nullptr));
  int count = record.Word(ObjectDefinitionRecord::kTypeAttributeCount);
  if (count != 0) {
    size_t size = count > 0 && count <= kMaxTypeAttributes ? static_cast<size_t>(count) : 0;
    // A type unloaded and loaded again keeps its one entry and its values: a
    // second entry would be saved too and overwrite them when read back.
    // Nothing is unloaded during the start-up scan, which need not look.
    auto known = loaded_ ? std::find_if(typeAttributes_.begin(), typeAttributes_.end(),
                                        [&](const TypeAttributes& t) { return t.guid == record.Guid(); })
                         : typeAttributes_.end();
    if (known != typeAttributes_.end()) {
      known->values.resize(size, 0);
    } else {
      typeAttributes_.push_back(TypeAttributes{record.Guid(), std::vector<int16_t>(size, 0)});
    }
  }
  byGuid_[static_cast<int32_t>(record.Guid())] = d.get();
  definitions_.push_back(std::move(d));
}

std::vector<std::pair<std::string, uint32_t>> ObjectFolder::GetTimings() const {
  std::vector<std::pair<std::string, uint32_t>> out;
  for (int s = 0; s < Timing::kScopes; ++s) out.emplace_back(Timing::kNames[s], timing_->Milliseconds(s));
  return out;
}

// ---------------------------------------------------------------------------
// Lifecycle

void ObjectFolder::Clear() {
  if (loaded_) Breakpoints::Instance().Write();
  if (services_) services_->ReleaseAnimNameTables();
  CareerList::Instance().Clear();
  // Every file is closed below whatever its count, so the definitions' uses
  // of them need no settling one by one.
  for (auto& d : definitions_) d->FreeCachedTables();
  definitions_.clear();
  byGuid_.clear();
  tables_.clear();
  globalFile_ = nullptr;
  for (auto& f : files_) f->file->Close();
  files_.clear();
  filesByKey_.clear();
  filesByObject_.clear();
  basePath_.clear();
  globalPath_.clear();
  objectPath_.clear();
  userObjectPath_.clear();
  downloadsPath_.clear();
  characterPath_.clear();
  typeAttributes_.clear();
  bool wasLoaded = loaded_;
  loaded_ = false;
  if (wasLoaded) Notify(kCommandCatalogueChanged, 0);
}

void ObjectFolder::Unload() {
  int64_t started = Timing::Start();
  for (auto& d : definitions_) {
    if (d->GetRefCount() == 0) d->FreeCachedTables();
  }
  debugLog_ += "Object unload time: " + std::to_string(Timing::MicrosecondsSince(started) / 1000) + "\n";
}

void ObjectFolder::AddRef(ObjectDefinition* d) {
  if (d) d->AddRef();
}

void ObjectFolder::Release(ObjectDefinition* d) {
  if (d) d->Release();
}

// ---------------------------------------------------------------------------
// Lookups

ObjectDefinition* ObjectFolder::GetDefinition(int index) const {
  if (index < 0 || index >= GetDefinitionCount()) return nullptr;
  return definitions_[static_cast<size_t>(index)].get();
}

ObjectDefinition* ObjectFolder::FindByGUID(uint32_t guid) const {
  auto it = byGuid_.find(static_cast<int32_t>(guid));
  return it == byGuid_.end() ? nullptr : it->second;
}

ObjectDefinition* ObjectFolder::FindByName(const std::string& name) const {
  for (const auto& d : definitions_) {
    if (platform::EqualsNoCase(d->GetName(), name)) return d.get();
  }
  return nullptr;
}

ObjectDefinition* ObjectFolder::FindMasterDefinition(const ObjectDefinition& d) const {
  int16_t master = d.GetRecord().MasterId();
  if (master == 0) return const_cast<ObjectDefinition*>(&d);
  for (const auto& p : definitions_) {
    if (p->GetOwnFile() == d.GetOwnFile() && p->GetRecord().MasterId() == master && p->GetRecord().SubIndex() == -1) {
      return p.get();
    }
  }
  return nullptr;
}

ObjectDefinition* ObjectFolder::FindPart(const ObjectDefinition& d, int a, int b, int k) const {
  int16_t master = d.GetRecord().MasterId();
  if (a < 0 || b < 0 || master == 0) return nullptr;
  auto sub = static_cast<int16_t>(static_cast<uint16_t>(a * 256 + (b & 255)));
  for (const auto& p : definitions_) {
    const ObjectDefinitionRecord& r = p->GetRecord();
    if (p->GetOwnFile() == d.GetOwnFile() && r.MasterId() == master && r.SubIndex() == sub &&
        r.Word(ObjectDefinitionRecord::kPartKey) == k) {
      return p.get();
    }
  }
  return nullptr;
}

ObjectDefinition* ObjectFolder::FindFirstPart(const ObjectDefinition& d) const {
  int16_t master = d.GetRecord().MasterId();
  for (const auto& p : definitions_) {
    const ObjectDefinitionRecord& r = p->GetRecord();
    if (master != 0 && p->GetOwnFile() == d.GetOwnFile() && r.MasterId() == master && r.SubIndex() != -1 &&
        r.Word(ObjectDefinitionRecord::kMainPart) != 0) {
      return p.get();
    }
  }
  return FindPart(d, 0, 0, 0);
}

ObjectDefinition* ObjectFolder::FindPartByOrdinal(const ObjectDefinition& d, int n) const {
  int16_t master = d.GetRecord().MasterId();
  if (master == 0 || n < 0) return nullptr;
  for (const auto& p : definitions_) {
    const ObjectDefinitionRecord& r = p->GetRecord();
    if (p->GetOwnFile() == d.GetOwnFile() && r.MasterId() == master && r.SubIndex() != -1 && n-- == 0) return p.get();
  }
  return nullptr;
}

void ObjectFolder::GetObjectDirectories(std::vector<std::string>& out) const {
  std::vector<std::string> seen;
  for (const auto& d : definitions_) {
    if (d->GetKind() != kDownloadsFolder || !d->GetOwnFile()) continue;
    std::string path;
    d->GetOwnFile()->GetPath(path);
    std::string folder = FolderOf(path).substr(0, 259);
    if (std::find(seen.begin(), seen.end(), folder) != seen.end()) continue;
    seen.push_back(folder);
    out.push_back(folder);
  }
}

// ---------------------------------------------------------------------------
// Adding and removing

int ObjectFolder::KindOfPath(const std::string& path) const {
  std::string p = Backslashed(path);
  if (StartsWithNoCase(p, objectPath_)) return kObjectFolder;
  if (StartsWithNoCase(p, characterPath_)) return kCharacterFolder;
  if (StartsWithNoCase(p, downloadsPath_)) return kDownloadsFolder;
  if (StartsWithNoCase(p, userObjectPath_)) return kUserObjectFolder;
  return -1;
}

bool ObjectFolder::AddObjectFile(const std::string& path) {
  int kind = KindOfPath(path);
  if (kind < 0) return false;
  int before = GetDefinitionCount();
  LoadObjectFile(Backslashed(path), kind);
  if (GetDefinitionCount() != before && loaded_) Notify(kCommandCatalogueChanged, 0);
  return true;
}

void ObjectFolder::SetCharacterFolder(const std::string& path) {
  std::string folder = Backslashed(path);
  if (folder == characterPath_) return;
  for (size_t i = definitions_.size(); i-- > 0;) {
    if (definitions_[i]->GetKind() == kCharacterFolder) RemoveDefinitionAt(i);
  }
  characterPath_ = folder;
  RescanAll();
}

void ObjectFolder::RemoveDefinitionAt(size_t index) {
  ObjectDefinition* d = definitions_[index].get();
  // Told also before the catalogue is loaded: whoever holds the definition
  // must let go of it whatever the catalogue's state.
  Notify(kCommandDefinitionRemoving, static_cast<intptr_t>(d->GetGUID()));
  Notify(kCommandCatalogueChanged, 0);
  byGuid_.erase(static_cast<int32_t>(d->GetGUID()));
  d->FreeCachedTables();
  iResFile* own = d->GetOwnFile();
  iResFile* semi = d->GetSemiGlobalFile();
  definitions_.erase(definitions_.begin() + static_cast<long>(index));
  if (semi) CloseFile(semi);
  CloseFile(own);
}

bool ObjectFolder::UnloadDefinition(ObjectDefinition* definition) {
  for (size_t i = 0; i < definitions_.size(); ++i) {
    if (definitions_[i].get() == definition) {
      RemoveDefinitionAt(i);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Commands

int16_t ObjectFolder::DoCommand(int32_t command, intptr_t argument) {
  auto* file = reinterpret_cast<iResFile*>(argument);
  switch (static_cast<int16_t>(command)) {
    case kCommandFileChanged:
      for (auto& d : definitions_) {
        if (d->GetOwnFile() == file || d->GetSemiGlobalFile() == file || globalFile_ == file) d->ForgetSignatures();
      }
      return 0;
    case kCommandTreesChanged: {
      auto* behavior = reinterpret_cast<Behavior*>(argument);
      if (!behavior) return 0;
      ResourceSource* own = behavior->OwnFile();
      ResourceSource* semi = behavior->SemiGlobalFile();
      // Each definition's behaviour holds the sources of its files.
      for (auto& d : definitions_) {
        const Behavior* b = d->GetBehavior();
        if (!d->HoldsTreeTable() || !b) continue;
        if ((own && b->OwnFile() == own) || (semi && b->SemiGlobalFile() == semi)) d->DropTreeTable();
      }
      return 0;
    }
    default:
      return 0;
  }
}

void ObjectFolder::Notify(int16_t command, intptr_t argument) { Broadcast(command, argument); }

// ---------------------------------------------------------------------------
// References in saved lots

void ObjectFolder::TransferDefinitionRef(DefinitionRef& ref, ReconStream& s, int32_t version, bool useIndex) {
  if (version >= kFirstIndexedSaveVersion && useIndex) {
    int16_t index = 0;
    if (!s.IsReading()) index = ref.definition ? ref.definition->GetSaveIndex() : (ref.missing ? ref.missing->saveIndex : 0);
    s.SerializeShorts(&index, 1);
    if (!s.IsReading()) return;
    ref = DefinitionRef{};
    if (index < 0 || index >= static_cast<int>(saveIndexTable_.size())) return;
    ref.definition = FindByGUID(saveIndexTable_[static_cast<size_t>(index)]);
    if (ref.definition || index == 0) return;
    for (const MissingType& m : missingTypes_) {
      if (m.saveIndex == index) {
        ref.missing = &m;
        return;
      }
    }
    return;
  }
  uint32_t guid = 0;
  if (!s.IsReading()) guid = ref.definition ? ref.definition->GetGUID() : (ref.missing ? ref.missing->guid : 0);
  s.SerializeLongs(&guid, 1);
  if (s.IsReading()) ref = DefinitionRef{guid ? FindByGUID(guid) : nullptr, nullptr};
}

void ObjectFolder::TransferBehaviorRef(Behavior*& ref, ReconStream& s, int32_t version, bool useIndex) {
  DefinitionRef definition;
  if (!s.IsReading() && ref) {
    for (auto& d : definitions_) {
      if (d->GetBehavior() == ref) definition.definition = d.get();
    }
  }
  TransferDefinitionRef(definition, s, version, useIndex);
  if (s.IsReading()) ref = definition.definition ? definition.definition->GetBehavior() : nullptr;
}

// ---------------------------------------------------------------------------
// The object-type table

namespace {

struct TypeTableRecord {
  ObjectFolder* folder;
  std::vector<MissingType>* missing;

  void Reconstitute(ReconStream& s, int32_t version) {
    if (!s.IsReading()) {
      for (int i = 0; i < folder->GetDefinitionCount(); ++i) {
        ObjectDefinition* d = folder->GetDefinition(i);
        if (d->GetSaveIndex() == 0) continue;
        uint32_t guid = d->GetGUID();
        uint32_t init = d->GetInitSignature();
        uint32_t main = d->GetMainSignature();
        int16_t index = d->GetSaveIndex();
        int16_t type = d->GetRecord().ObjectType();
        std::string name = d->IsGroupPart() ? std::string() : d->GetCatalogName();
        s.SerializeLongs(&guid, 1);
        s.SerializeLongs(&init, 1);
        s.SerializeLongs(&main, 1);
        s.SerializeShorts(&index, 1);
        s.SerializeShorts(&type, 1);
        s.SerializeString(name);
      }
      // Types the lot names but the catalogue lacks keep their place, so
      // references to them do not turn into another type's index.
      for (MissingType& m : *missing) {
        if (m.saveIndex <= 0) continue;
        uint32_t guid = m.guid;
        uint32_t none = 0;
        int16_t index = m.saveIndex;
        int16_t type = m.type;
        s.SerializeLongs(&guid, 1);
        s.SerializeLongs(&none, 1);
        s.SerializeLongs(&none, 1);
        s.SerializeShorts(&index, 1);
        s.SerializeShorts(&type, 1);
        s.SerializeString(m.name);
      }
      uint32_t end = 0;
      s.SerializeLongs(&end, 1);
      return;
    }
    while (true) {
      uint32_t guid = 0;
      s.SerializeLongs(&guid, 1);
      if (s.Failed()) return;
      if (guid == 0) {
        // The end mark comes last: entries after it mean the table was cut.
        if (s.Remaining() > 0) s.Fail();
        return;
      }
      uint32_t init = 0, main = 0;
      if (version > 0) {
        s.SerializeLongs(&init, 1);
        s.SerializeLongs(&main, 1);
      }
      int16_t index = 0;
      s.SerializeShorts(&index, 1);
      int16_t type = -1;
      if (version >= 2) s.SerializeShorts(&type, 1);
      std::string name;
      s.SerializeString(name);
      if (s.Failed()) return;
      if (ObjectDefinition* d = folder->FindByGUID(guid)) {
        d->SetSaveIndex(index);
        d->SetChanged(version <= 0 ? d->IsPerson() : (init != d->GetInitSignature() || main != d->GetMainSignature()));
      } else {
        missing->push_back(MissingType{name, guid, type, index});
      }
    }
  }
};

}  // namespace

void ObjectFolder::RebuildSaveIndexTable() {
  int16_t highest = 0;
  for (auto& d : definitions_) highest = std::max(highest, d->GetSaveIndex());
  for (const MissingType& m : missingTypes_) highest = std::max(highest, m.saveIndex);
  saveIndexTable_.assign(static_cast<size_t>(highest) + 1, 0);
  for (auto& d : definitions_) {
    if (d->GetSaveIndex() > 0) saveIndexTable_[static_cast<size_t>(d->GetSaveIndex())] = d->GetGUID();
  }
}

int ObjectFolder::SaveTypeTable(iResFile& file) {
  int16_t next = 1;
  for (auto& d : definitions_) {
    d->SetSaveIndex(0);
    if (d->GetRefCount() > 0 && next < INT16_MAX) d->SetSaveIndex(next++);
  }
  for (MissingType& m : missingTypes_) {
    // A type catalogued since the lot was loaded is written as a definition.
    m.saveIndex = (!FindByGUID(m.guid) && next < INT16_MAX) ? next++ : 0;
  }
  RebuildSaveIndexTable();
  TypeTableRecord body{this, &missingTypes_};
  SimpleReconObject<TypeTableRecord> record(&body, kObjtType);
  return ReconObject::SaveToResFile(record, kTypeTableVersion, file, 0);
}

int ObjectFolder::LoadTypeTable(iResFile& file) {
  for (auto& d : definitions_) d->SetSaveIndex(0);
  missingTypes_.clear();
  TypeTableRecord body{this, &missingTypes_};
  SimpleReconObject<TypeTableRecord> record(&body, kObjtType);
  int status = ReconObject::LoadFromResFile(record, file, 0);
  RebuildSaveIndexTable();
  return status;
}

// ---------------------------------------------------------------------------
// Type attributes

const TypeAttributes* ObjectFolder::FindTypeAttributes(const ObjectDefinition& d) const {
  uint32_t key = d.GetRecord().Long(ObjectDefinitionRecord::kSharedAttributesGuid);
  if (key == 0) key = d.GetGUID();
  for (const TypeAttributes& t : typeAttributes_) {
    if (t.guid == key) return &t;
  }
  return nullptr;
}

int ObjectFolder::GetTypeAttributeCount(const ObjectDefinition& d) const {
  const TypeAttributes* t = FindTypeAttributes(d);
  return t ? static_cast<int>(t->values.size()) : 0;
}

int16_t* ObjectFolder::GetTypeAttributes(const ObjectDefinition& d) {
  auto* t = const_cast<TypeAttributes*>(FindTypeAttributes(d));
  return t && !t->values.empty() ? t->values.data() : nullptr;
}

void ObjectFolder::Reconstitute(ReconStream& s, int32_t /*version*/) {
  bool packed = true;
  s.SerializeBool(&packed);
  if (packed) s.SetPacked();
  int32_t count = static_cast<int32_t>(typeAttributes_.size());
  s.SerializeLongs(&count, 1);
  if (!s.IsReading()) {
    for (TypeAttributes& t : typeAttributes_) {
      int32_t n = static_cast<int32_t>(t.values.size());
      s.SerializeLongs(&t.guid, 1);
      s.SerializeLongs(&n, 1);
      if (n > 0) s.SerializeShorts(t.values.data(), n);
    }
    return;
  }
  if (!s.CheckCount(count, 8)) return;
  // The first entry of a GUID takes its record, looked up once per record.
  std::map<uint32_t, TypeAttributes*> byGuid;
  for (TypeAttributes& t : typeAttributes_) byGuid.emplace(t.guid, &t);
  for (int32_t i = 0; i < count && !s.Failed(); ++i) {
    uint32_t guid = 0;
    int32_t n = 0;
    s.SerializeLongs(&guid, 1);
    s.SerializeLongs(&n, 1);
    if (!s.CheckCount(n, 2)) return;
    auto found = byGuid.find(guid);
    TypeAttributes* target = found == byGuid.end() ? nullptr : found->second;
    // Values the loaded record has no room for, or that belong to no loaded
    // record, are read and dropped; the following records still load.
    int32_t keep = target ? std::min<int32_t>(n, static_cast<int32_t>(target->values.size())) : 0;
    if (target) {
      std::fill(target->values.begin(), target->values.end(), 0);
      if (keep > 0) s.SerializeShorts(target->values.data(), keep);
    }
    for (int32_t k = keep; k < n && !s.Failed(); ++k) {
      int16_t scratch = 0;
      s.SerializeShorts(&scratch, 1);
    }
  }
}

int ObjectFolder::SaveTypeAttributes(iResFile& file) {
  SimpleReconObject<ObjectFolder> record(this, kTtatType);
  return ReconObject::SaveToResFile(record, kTypeAttributesVersion, file, 1);
}

int ObjectFolder::LoadTypeAttributes(iResFile& file) {
  SimpleReconObject<ObjectFolder> record(this, kTtatType);
  return ReconObject::LoadFromResFile(record, file, 1);
}

// ---------------------------------------------------------------------------
// Fresh GUIDs

uint32_t ObjectFolder::DrawFreshGuid(const std::set<uint32_t>& taken) const {
  for (uint32_t salt = 0;; ++salt) {
    uint32_t guid = (platform::TimeMs() << 16) ^ static_cast<uint32_t>(std::time(nullptr)) ^
                    static_cast<uint32_t>(std::rand()) ^ (salt * 0x9E3779B9u);
    if (guid != 0 && !FindByGUID(guid) && !taken.count(guid)) return guid;
  }
}

int ObjectFolder::CopyWithFreshGuids(iResFile& source, iResFile& target, const std::string* name,
                                     const std::string* prefix) {
  std::set<uint32_t> drawn;
  int types = source.CountTypes();
  for (int t = 1; t <= types; ++t) {
    ResType type = source.GetTypeAt(t);
    int count = source.CountResources(type);
    for (int i = 1; i <= count; ++i) {
      MemHandle h = source.GetIndexedResource(type, i, nullptr);
      if (!h) return source.GetError() != 0 ? source.GetError() : kResNotFound;
      ResId id = 0;
      std::string label;
      source.GetId(h, id);
      source.GetLabel(h, label);
      const bool native = source.IsNative(h);
      const int variant = source.GetVariant(h);
      // A string table goes through StringSet, which reads the default
      // variant; any other variant is copied byte for byte below.
      if (type == kCtssType && variant == 0) {
        source.ReleaseResource(h);
        StringSet set;
        set.SetSource(&source, id, kCtssType, false, 0);
        int status = set.Load(true, true);
        if (status == 0) {
          set.SetSource(&target, id, kCtssType, false, 0);
          status = set.Save();
        }
        if (status != 0) return status;
        continue;
      }
      int32_t size = GetMemHandleSize(h);
      MemHandle copy = NewMemHandle(size);
      if (!copy) {
        source.ReleaseResource(h);
        return kResOutOfMemory;
      }
      std::copy_n(GetMemHandleData(h), size, GetMemHandleData(copy));
      source.ReleaseResource(h);
      if (type == kFolderObjdType && size >= ObjectDefinitionRecord::kGuid + 4) {
        uint8_t* p = GetMemHandleData(copy);
        uint32_t old = LoadU32(p + ObjectDefinitionRecord::kGuid);
        uint32_t fresh = DrawFreshGuid(drawn);
        drawn.insert(fresh);
        StoreU32(p + ObjectDefinitionRecord::kGuid, fresh);
        // The copy remembers the GUID it was made from.
        if (size >= ObjectDefinitionRecord::kOriginalGuid + 4) StoreU32(p + ObjectDefinitionRecord::kOriginalGuid, old);
        if (name) {
          label = *name;
        } else if (prefix) {
          label = *prefix + label;
        }
      }
      // With its variant: the variants of one id are separate resources.
      int status = target.AddResourceVariant(copy, type, id, ClampLabel(label), variant, native);
      if (status != 0) {
        DisposeMemHandle(copy);
        return status;
      }
      status = target.WriteResource(copy);
      if (status != 0) return status;
      target.DetachResource(copy);
      DisposeMemHandle(copy);
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Tuning

class ObjectFolder::Tuning : public TuningHost {
 public:
  explicit Tuning(ObjectFolder& folder) : folder_(folder) {
    for (auto& f : folder_.files_) files_.push_back(std::make_unique<File>(*f));
  }

  std::vector<TuningFile*> OpenObjectFiles() override {
    std::vector<TuningFile*> out;
    for (auto& f : files_) out.push_back(f.get());
    return out;
  }
  TuningFile* FindObjectFile(const std::string& name) override {
    std::string key = platform::ToLowerAscii(Backslashed(name));
    for (auto& f : files_) {
      if (f->cached.key == key) return f.get();
    }
    // By file name, with or without its extension.
    for (auto& f : files_) {
      std::string fileName = f->GetFileName();
      std::string bare = fileName.substr(0, fileName.find('.'));
      if (platform::EqualsNoCase(fileName, name) || platform::EqualsNoCase(bare, name)) return f.get();
    }
    return nullptr;
  }
  TreeTableData* FindTreeTable(uint32_t guid, Lookup& result) override {
    ObjectDefinition* d = folder_.FindByGUID(guid);
    if (!d) {
      result = Lookup::kNoObject;
      return nullptr;
    }
    TreeTableData* t = d->GetTreeTable();
    result = t ? Lookup::kFound : Lookup::kNoTable;
    return t;
  }
  std::vector<TunedTable> ChangedTreeTables() override {
    std::vector<TunedTable> out;
    std::set<TreeTableData*> seen;
    for (auto& d : folder_.definitions_) {
      TreeTableData* t = d->HoldsTreeTable() ? d->GetTreeTable() : nullptr;
      if (!t || !t->changed || !seen.insert(t).second) continue;
      TunedTable tuned{t, d->GetName(), d->GetFileName(), static_cast<int16_t>(d->GetTreeTableId()), d.get()};
      out.push_back(tuned);
    }
    return out;
  }
  bool ReadStoredTreeTable(const TunedTable& table, TreeTableData& out) override {
    auto* d = static_cast<ObjectDefinition*>(table.owner);
    if (!folder_.services_ || !d->GetOwnFile()) return false;
    std::unique_ptr<TreeTableData> stored = folder_.services_->LoadTreeTable(*d->GetOwnFile(), table.id);
    if (!stored) return false;
    out = *stored;
    return true;
  }
  int WriteTreeTable(const TunedTable& table, const std::string& label) override {
    auto* d = static_cast<ObjectDefinition*>(table.owner);
    if (!folder_.services_) return kResUnsupported;
    return folder_.services_->SaveTreeTable(*d->GetOwnFile(), table.id, *table.table, label);
  }
  bool IsWritable(const TunedTable& table) override {
    auto* d = static_cast<ObjectDefinition*>(table.owner);
    return d->GetOwnFile() && d->GetOwnFile()->IsWritable();
  }

 private:
  class File : public TuningFile {
   public:
    explicit File(CachedFile& cached) : cached(cached) {}
    // The name as the file reports it (a chain drops the extension of the
    // name it was opened with, which is put back). Every block of the tuning
    // table asks each file, so it is worked out once.
    std::string GetFileName() override {
      if (name_.empty()) {
        std::string path;
        cached.file->GetPath(path);
        size_t sep = path.find_last_of("/\\");
        name_ = sep == std::string::npos ? path : path.substr(sep + 1);
        if (ExtensionOf(name_).empty()) name_ += ExtensionOf(cached.path);
      }
      return name_;
    }
    bool IsWritable() override { return cached.file->IsWritable(); }
    // Through the file's shared cache, where the behaviours read the same
    // tables: it turns foreign data once and keeps what they point into.
    bool GetConstants(int16_t id, std::vector<int16_t>& values, bool& tunable) override {
      auto bytes = cached.source->GetResource(kTypeBCON, id, SwapConstants);
      if (!bytes || bytes->size() < 2) return false;
      const uint16_t header = LoadU16(bytes->data());
      tunable = (header & kConstantsTunable) != 0;
      // The count is bounded by the bytes that exist.
      const size_t n = std::min<size_t>(header & 0x7FFF, (bytes->size() - 2) / 2);
      values.resize(n);
      for (size_t i = 0; i < n; ++i) values[i] = LoadI16(bytes->data() + 2 + 2 * i);
      return true;
    }
    int WriteConstants(int16_t id, const std::vector<int16_t>& values) override {
      ResourceSource& source = *cached.source;
      const std::string label = source.GetLabel(kTypeBCON, id, SwapConstants).value_or("");
      return source.PutResource(kTypeBCON, id, label, MakeConstants(values, true));
    }
    void SetConstantOverride(int16_t id, const std::vector<int16_t>& list) override {
      cached.overrides[id] = list;
      if (auto* obj = dynamic_cast<ObjResFile*>(cached.file.get())) {
        obj->SetConstantList(id, nullptr);
        obj->SetConstantList(id, list.data());
      }
    }
    void DropConstantOverrides() override {
      if (auto* obj = dynamic_cast<ObjResFile*>(cached.file.get())) {
        for (const auto& [id, list] : cached.overrides) obj->SetConstantList(id, nullptr);
      }
      cached.overrides.clear();
    }
    std::map<int16_t, std::vector<int16_t>> GetConstantOverrides() override { return cached.overrides; }

    CachedFile& cached;

   private:
    std::string name_;
  };

  ObjectFolder& folder_;
  std::vector<std::unique_ptr<File>> files_;
};

int ObjectFolder::ImportTuning(std::string& report) {
  Tuning host(*this);
  return tova::ImportTuning(host, basePath_ + "GameData\\Tuning.txt", report);
}

void ObjectFolder::SaveTuning(std::string& report) {
  Tuning host(*this);
  tova::SaveTuning(host, report);
}

}  // namespace tova
