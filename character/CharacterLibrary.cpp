#include "character/CharacterLibrary.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "character/BodyMesh.h"
#include "character/CharacterBody.h"
#include "character/CharacterIndexFile.h"
#include "character/CharacterReport.h"
#include "character/KeyframeFile.h"
#include "character/MeshFile.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"
#include "framework/cDataFileCatalog.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace tova {

namespace {

CharacterLibrary* gCharacterLibrary = nullptr;

bool ReadLibraryFile(const std::string& path, std::string& bytes) {
    platform::File file;
    if (!file.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting)) return false;
    return file.ReadToEnd(bytes);
}

// The path of "name.ext" in the first folder of the list that holds it.
std::string FindInFolders(const CharacterFolders& folders, const std::string& fileName) {
    if (folders == nullptr) return {};
    for (const std::string& folder : *folders) {
        const std::string path = folder + fileName;
        if (platform::FileExists(path)) return path;
    }
    return {};
}

std::string WithoutExtension(const std::string& file) {
    const size_t dot = file.rfind('.');
    const size_t slash = file.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file;
    return file.substr(0, dot);
}

std::string AsFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

void RegisterCharacterTypes() {
    cDataFileCatalog& catalog = GetDataFileCatalog();
    const struct {
        const char* type;
        const char* subTypes[2];
    } kTypes[] = {{"SKIN", {"SKN", "BMF"}}, {"ANIM", {"CMX", "BCF"}}, {"INDX", {"NDX", nullptr}}};
    for (const auto& t : kTypes) {
        catalog.RegisterType(MakeTypeCode(t.type));
        for (const char* sub : t.subTypes) {
            if (sub != nullptr) catalog.AddSubType(MakeTypeCode(t.type), MakeTypeCode(sub));
        }
    }
}

std::vector<std::string> FoldersOf(const cRZSearchPath& path) {
    std::vector<std::string> folders;
    for (int i = 0; i < path.GetCount(); ++i) folders.push_back(AsFolder(path.GetDirectory(i).c_str()));
    return folders;
}

}  // namespace

// What the people see of a skill: its counts, the time properties of its
// motions at frames, and the root's translations.
class CharacterLibrary::SkillView : public iSkill {
public:
    void Fill(const Skill& skill) {
        name_ = skill.name;
        duration_ = skill.duration;
        frames_ = 0;
        travel_ = 0;
        motions_.clear();
        for (const auto& m : skill.motions) {
            frames_ = std::max(frames_, static_cast<int>(m->frameCount));
            SkillTrack track;
            track.bone = m->boneName;
            if (const TimePropertyList* events = m->Events()) {
                for (int i = 0; i < events->Count(); ++i) {
                    TimeProperty p;
                    const float at = skill.duration > 0 ? events->At(i).time * m->frameCount / skill.duration : 0;
                    p.frame = static_cast<int>(std::lround(at));
                    if (const PropertyList* list = events->At(i).list) {
                        for (int k = 0; k < list->Count(); ++k) p.pairs.push_back({list->Key(k), list->Value(k)});
                    }
                    track.properties.push_back(std::move(p));
                }
            }
            if (m->boneName == "ROOT" && m->hasTranslations != 0 && skill.motionDataLoaded) {
                for (int32_t f = 0; f < m->frameCount; ++f) {
                    const Vector3& t = skill.translations[m->firstTranslation + f];
                    track.translations.push_back({t.x, t.y, t.z});
                }
                if (!track.translations.empty()) {
                    const auto& a = track.translations.front();
                    const auto& b = track.translations.back();
                    travel_ = std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                                        (b[2] - a[2]) * (b[2] - a[2]));
                }
            }
            motions_.push_back(std::move(track));
        }
        // A loop is a skill whose name says so ("a2o-walkingloop").
        loops_ = skill.name.find("loop") != std::string::npos;
    }
    const std::string& GetName() const override { return name_; }
    int FrameCount() const override { return frames_; }
    float Duration() const override { return duration_; }
    float Travel() const override { return travel_; }
    bool Loops() const override { return loops_; }
    const std::vector<SkillTrack>& Motions() const override { return motions_; }

    const Skill* source = nullptr;

private:
    std::string name_;
    int frames_ = 0;
    float duration_ = 0;
    float travel_ = 0;
    bool loops_ = false;
    std::vector<SkillTrack> motions_;
};

CharacterLibrary::CharacterLibrary(iDevice3D* device, Clock clock)
    : device_(device),
      clock_(clock ? std::move(clock) : Clock([] { return platform::TimeMs(); })),
      folders_(std::make_shared<std::vector<std::string>>()),
      searchList_(folders_) {
    RegisterCharacterTypes();
    lastExpiryCheck_ = clock_();
    gCharacterLibrary = this;
}

CharacterLibrary::~CharacterLibrary() {
    Clear();
    if (gCharacterLibrary == this) gCharacterLibrary = nullptr;
}

CharacterLibrary* CharacterLibrary::Instance() { return gCharacterLibrary; }

uint32_t CharacterLibrary::IdleStamp() const {
    // 0 means "in use": a clock reading of 0 counts as 1.
    const uint32_t now = clock_();
    return now != 0 ? now : 1;
}

void CharacterLibrary::Clear() {
    for (Cache* cache : {&skeletons_, &suits_, &skills_}) {
        for (auto& [name, entry] : *cache) {
            if (entry.loaded && entry.object != nullptr) entry.object->Release();
        }
        cache->clear();
    }
    for (auto& [name, view] : views_) view->source = nullptr;
}

bool CharacterLibrary::Store(Cache& cache, CharacterObject* object, const std::string& name,
                             const std::string& folder, const std::string& file, const CharacterFolders& searchList) {
    auto it = cache.find(name);
    if (it == cache.end()) {
        cache.emplace(name, LibraryEntry{name, folder, file, searchList, true, object});
        return true;
    }
    LibraryEntry& entry = it->second;
    if (entry.loaded) {
        object->Release();
        return false;
    }
    if (entry.object != nullptr) entry.object->Release();
    entry.object = object;
    entry.loaded = true;
    return true;
}

bool CharacterLibrary::StoreSkeleton(Skeleton* skeleton, const std::string& folder, const std::string& file) {
    const std::string name = skeleton->name;
    return Store(skeletons_, skeleton, name, folder, file, nullptr);
}

bool CharacterLibrary::StoreSuit(Suit* suit, const std::string& folder, const std::string& file,
                                 const CharacterFolders& searchList) {
    suit->idleSince = IdleStamp();
    const std::string name = suit->name;
    return Store(suits_, suit, name, folder, file, searchList);
}

bool CharacterLibrary::StoreSkill(Skill* skill, const std::string& folder, const std::string& file,
                                  const CharacterFolders& searchList) {
    skill->idleSince = IdleStamp();
    const std::string name = skill->name;
    return Store(skills_, skill, name, folder, file, searchList);
}

void CharacterLibrary::AddIndexEntry(Cache& cache, const std::string& name, const std::string& folder,
                                     const std::string& file, const CharacterFolders& searchList) {
    if (cache.count(name) != 0) return;
    cache.emplace(name, LibraryEntry{name, folder, file + ".bcf", searchList, false, nullptr});
}

CharacterObject* CharacterLibrary::Lookup(Cache& cache, const std::string& name) {
    auto it = cache.find(name);
    if (it == cache.end()) return nullptr;
    if (!it->second.loaded) {
        // Copies: the load may store into this very entry.
        const std::string folder = it->second.folder, file = it->second.file;
        const CharacterFolders searchList = it->second.searchList;
        if (platform::FileExists(folder + file)) {
            loadingOnDemand_ = true;
            LoadCharacterFile(folder, file, searchList);
            loadingOnDemand_ = false;
        }
        // Tried once, whether or not it could be read.
        cache[name].loaded = true;
    }
    return cache[name].object;
}

Skeleton* CharacterLibrary::GetSkeleton(const std::string& name) {
    return static_cast<Skeleton*>(Lookup(skeletons_, name));
}

Suit* CharacterLibrary::GetSuit(const std::string& name) {
    auto* suit = static_cast<Suit*>(Lookup(suits_, name));
    if (suit != nullptr) suit->idleSince = 0;
    return suit;
}

Skill* CharacterLibrary::GetSkillData(const std::string& name) {
    // A lookup keeps the idle stamp: a skill that is never played still
    // expires, counted from when it was read.
    return static_cast<Skill*>(Lookup(skills_, name));
}

int CharacterLibrary::LoadCharacterFile(const std::string& folder, const std::string& file,
                                        const CharacterFolders& searchList, bool convert,
                                        const std::string& targetFolder) {
    std::string bytes;
    if (!ReadLibraryFile(folder + file, bytes)) return 1;
    const bool text = IsTextCharacterFile(file);
    CharacterFileContents kept;
    if (!ReadCharacterFile(bytes, text, folder, file, searchList, *this, &kept)) return 1;
    if (text && convert && !Convert(folder, file, targetFolder, kept)) return 1;
    return 0;
}

bool CharacterLibrary::Convert(const std::string& sourceFolder, const std::string& file,
                               const std::string& targetFolder, const CharacterFileContents& contents) {
    const std::string base = WithoutExtension(file);
    const std::string target = AsFolder(targetFolder);
    platform::CreateDirectories(target);
    bool ok = true;
    for (Skeleton* s : contents.skeletons) s->sourceFile = base;
    for (Suit* suit : contents.suits) {
        suit->sourceFile = base;
        LoadSuitMeshes(*suit);
        for (const auto& skin : suit->skins) {
            if (skin->Mesh() == nullptr) continue;
            const std::string path = target + skin->meshName + ".bmf";
            if (platform::SaveFileAtomically(path, WriteBodyMesh(*skin->Mesh(), false))) {
                written_.push_back(path);
            } else {
                ok = false;
            }
        }
    }
    for (Skill* skill : contents.skills) {
        skill->sourceFile = base;
        const std::string from = AsFolder(sourceFolder) + skill->motionDataName + ".cfp";
        const std::string to = target + skill->motionDataName + ".cfp";
        if (platform::ResolvePath(from) == platform::ResolvePath(to)) continue;
        std::string source;
        if (!ReadLibraryFile(from, source)) {
            // The keyframes may lie in another folder of the search list.
            const std::string found = FindInFolders(skill->searchList, skill->motionDataName + ".cfp");
            if (found.empty() || !ReadLibraryFile(found, source)) {
                WriteCharacterDebugText("Missing CFP file: " + from + "\n");
                continue;
            }
        }
        if (platform::FileExists(to)) continue;
        if (platform::SaveFileAtomically(to, source)) {
            written_.push_back(to);
        } else {
            WriteCharacterDebugText("Missing CFP file: " + from + "\n");
        }
    }
    const std::string path = target + base + ".bcf";
    if (!platform::SaveFileAtomically(path, WriteCharacterFile(contents, false))) return false;
    written_.push_back(path);
    return ok;
}

void CharacterLibrary::ScanCharacterFiles(const std::vector<std::string>& folders, bool convert,
                                          const std::string& indexName, const std::string& indexFolder) {
    // The objects' meshes and keyframes are looked up in the scanned folders.
    for (const std::string& raw : folders) {
        const std::string folder = AsFolder(raw);
        if (std::find(characterFolders_.begin(), characterFolders_.end(), folder) == characterFolders_.end()) {
            characterFolders_.push_back(folder);
        }
    }
    UpdateSearchList();
    for (const std::string& raw : folders) {
        const std::string folder = AsFolder(raw);
        for (const platform::DirectoryEntry& e : platform::ListDirectory(folder, "*")) {
            if (e.isDirectory || e.name.size() < 4) continue;
            std::string lower = e.name.substr(e.name.size() - 4);
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower != ".cmx" && lower != ".bcf") continue;
            LoadCharacterFile(folder, e.name, searchList_, convert && lower == ".cmx", indexFolder);
        }
    }
    if (!convert) return;
    for (Cache* cache : {&skeletons_, &suits_, &skills_}) {
        std::vector<std::string> names;
        for (const auto& [name, entry] : *cache) names.push_back(name);
        for (const std::string& name : names) Lookup(*cache, name);
    }
    WriteIndex(AsFolder(indexFolder) + indexName + ".ndx");
}

bool CharacterLibrary::WriteIndex(const std::string& path) {
    CharacterIndex index;
    auto collect = [](const Cache& cache, CharacterIndex::Entries& out, auto sourceOf) {
        for (const auto& [name, entry] : cache) {
            if (entry.object != nullptr) out.emplace_back(name, WithoutExtension(sourceOf(entry.object)));
        }
    };
    collect(skeletons_, index.skeletons, [](CharacterObject* o) { return static_cast<Skeleton*>(o)->sourceFile; });
    collect(suits_, index.suits, [](CharacterObject* o) { return static_cast<Suit*>(o)->sourceFile; });
    collect(skills_, index.skills, [](CharacterObject* o) { return static_cast<Skill*>(o)->sourceFile; });
    if (!platform::SaveFileAtomically(path, WriteCharacterIndex(index))) return false;
    written_.push_back(path);
    return true;
}

void CharacterLibrary::ReadIndexFiles(const std::vector<std::string>& folders) {
    for (const std::string& raw : folders) {
        const std::string folder = AsFolder(raw);
        for (const platform::DirectoryEntry& e : platform::ListDirectory(folder, "*.ndx")) {
            std::string bytes;
            CharacterIndex index;
            if (e.isDirectory || !ReadLibraryFile(folder + e.name, bytes) || !ReadCharacterIndex(bytes, index)) {
                continue;
            }
            for (const auto& [name, file] : index.skeletons) AddIndexEntry(skeletons_, name, folder, file, nullptr);
            for (const auto& [name, file] : index.suits) AddIndexEntry(suits_, name, folder, file, searchList_);
            for (const auto& [name, file] : index.skills) AddIndexEntry(skills_, name, folder, file, searchList_);
        }
    }
}

std::unique_ptr<BodyMesh> CharacterLibrary::LoadMesh(const CharacterFolders& searchList,
                                                     const std::string& meshName) const {
    std::string bytes;
    std::string path = FindInFolders(searchList, meshName + ".bmf");
    if (!path.empty() && ReadLibraryFile(path, bytes)) {
        if (auto mesh = ReadBodyMesh(bytes, false)) return mesh;
    }
    path = FindInFolders(searchList, meshName + ".skn");
    if (!path.empty() && ReadLibraryFile(path, bytes)) return ReadBodyMesh(bytes, true);
    return nullptr;
}

void CharacterLibrary::LoadSuitMeshes(Suit& suit) const {
    for (const auto& skin : suit.skins) {
        if (skin->Mesh() == nullptr) skin->SetMesh(LoadMesh(suit.searchList, skin->meshName));
    }
}

bool CharacterLibrary::LoadKeyframes(Skill& skill) const {
    if (skill.motionDataLoaded) return true;
    if (skill.searchList == nullptr) return false;
    std::string path = FindInFolders(skill.searchList, skill.motionDataName + ".cfp");
    const bool compressed = !path.empty();
    if (!compressed) path = FindInFolders(skill.searchList, skill.motionDataName + ".bin");
    std::string bytes;
    if (path.empty() || !ReadLibraryFile(path, bytes)) {
        ReportMissingKeyframes(skill.name, skill.motionDataName);
        return false;
    }
    // Counts the file could never fill are refused before anything is made
    // for them: a compressed byte stands for at most 65536 values.
    const uint64_t values = 3ull * static_cast<uint32_t>(skill.translationCount) +
                            4ull * static_cast<uint32_t>(skill.rotationCount);
    const uint64_t most = compressed ? bytes.size() * 65536ull : bytes.size() / 4;
    if (skill.translationCount < 0 || skill.rotationCount < 0 || values > most) return false;
    std::vector<Vector3> translations(static_cast<size_t>(skill.translationCount));
    std::vector<Quaternion> rotations(static_cast<size_t>(skill.rotationCount));
    KeyframeCounters& counters = GetKeyframeCounters();
    if (compressed) {
        counters.compressedBytes += DecodeCompressedKeyframes(bytes, translations, rotations);
        counters.decodedBytes += 12 * static_cast<int64_t>(translations.size()) + 16 * static_cast<int64_t>(rotations.size());
    } else if (!ReadRawKeyframes(bytes, translations, rotations)) {
        return false;
    }
    skill.translations = std::move(translations);
    skill.rotations = std::move(rotations);
    skill.motionDataLoaded = true;
    ++counters.filesLoaded;
    return true;
}

void CharacterLibrary::ExpireUnused(uint32_t now) {
    if (now - lastExpiryCheck_ <= kExpiryCheckInterval) return;
    lastExpiryCheck_ = now;
    auto expire = [&](Cache& cache, auto inUse, auto stampOf) {
        for (auto& [name, entry] : cache) {
            if (!entry.loaded || entry.searchList == nullptr || entry.object == nullptr) continue;
            const uint32_t stamp = stampOf(entry.object);
            if (entry.object->RefCount() != 1 || inUse(entry.object) || stamp == 0) continue;
            if (now - stamp <= kIdleBeforeExpiry) continue;
            entry.object->Release();
            entry.object = nullptr;
            entry.loaded = false;
            if (auto view = views_.find(name); view != views_.end()) view->second->source = nullptr;
        }
    };
    expire(skills_, [](CharacterObject* o) { return static_cast<Skill*>(o)->practices > 0; },
           [](CharacterObject* o) { return static_cast<Skill*>(o)->idleSince; });
    expire(suits_, [](CharacterObject* o) { return static_cast<Suit*>(o)->dressings > 0; },
           [](CharacterObject* o) { return static_cast<Suit*>(o)->idleSince; });
}

std::vector<std::pair<std::string, int32_t>> CharacterLibrary::UsageReport() const {
    std::vector<std::pair<std::string, int32_t>> out = ActiveSkills();
    for (auto& s : ActiveSuits()) out.push_back(std::move(s));
    return out;
}

const iSkill* CharacterLibrary::GetSkill(const std::string& name) {
    Skill* skill = GetSkillData(name);
    if (skill == nullptr) return nullptr;
    LoadKeyframes(*skill);
    // A view lives as long as the library, so the people may keep it across
    // expiry and reloads; it is refilled when its skill was read again.
    std::unique_ptr<SkillView>& view = views_[name];
    if (view == nullptr) view = std::make_unique<SkillView>();
    if (view->source != skill) {
        view->Fill(*skill);
        view->source = skill;
    }
    return view.get();
}

bool CharacterLibrary::HasSuit(const std::string& name) { return GetSuit(name) != nullptr; }

void CharacterLibrary::UpdateSearchList() {
    folders_->clear();
    folders_->insert(folders_->end(), characterFolders_.begin(), characterFolders_.end());
    for (const std::string& f : animationFolders_) {
        if (std::find(folders_->begin(), folders_->end(), f) == folders_->end()) folders_->push_back(f);
    }
}

void CharacterLibrary::LoadDataRoot(const std::string& root) {
    std::vector<std::string> objectFolders;
    const std::string characters =
        BuildCharacterSearchPath(root, objectFolders, [](const std::string&) { return false; });
    SetAnimationFolders(cRZSearchPath(BuildAnimationSearchPath(root, objectFolders).c_str()));
    SetCharacterFolders(cRZSearchPath(characters.c_str()));
}

void CharacterLibrary::SetCharacterFolders(const cRZSearchPath& folders) {
    characterFolders_.clear();
    const std::vector<std::string> list = FoldersOf(folders);
    ScanCharacterFiles(list);
    ReadIndexFiles(list);
}

void CharacterLibrary::SetAnimationFolders(const cRZSearchPath& folders) {
    animationFolders_ = FoldersOf(folders);
    UpdateSearchList();
    ReadIndexFiles(animationFolders_);
}

void CharacterLibrary::EmptyCaches() { Clear(); }

std::vector<std::pair<std::string, int32_t>> CharacterLibrary::ActiveSkills() const {
    std::vector<std::pair<std::string, int32_t>> out;
    for (const auto& [name, entry] : skills_) {
        const auto* s = static_cast<const Skill*>(entry.object);
        if (s != nullptr && s->practices > 0) out.emplace_back(name, s->practices);
    }
    return out;
}

std::vector<std::pair<std::string, int32_t>> CharacterLibrary::ActiveSuits() const {
    std::vector<std::pair<std::string, int32_t>> out;
    for (const auto& [name, entry] : suits_) {
        const auto* s = static_cast<const Suit*>(entry.object);
        if (s != nullptr && s->dressings > 0) out.emplace_back(name, s->dressings);
    }
    return out;
}

std::unique_ptr<iCharacterBody> CharacterLibrary::CreateBody(const std::string& skeleton, PersonAnimator* animator) {
    chr::CharacterBody::InstallEventHook();
    auto body = std::make_unique<chr::CharacterBody>(*this, renderDevice_, animator);
    if (body->Init(nullptr, skeleton, {}, {}, static_cast<int32_t>(clock_())) != 0) return nullptr;
    return body;
}

std::unique_ptr<iLoadableCharacterLibrary> MakeCharacterLibrary(iDevice3D* device) {
    return std::make_unique<CharacterLibrary>(device);
}

}  // namespace tova
