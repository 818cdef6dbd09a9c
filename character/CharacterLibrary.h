// The one owner of every skeleton, suit and skill. Three name-keyed caches
// are filled by reading the character files of a list of folders, or from
// index files that only say where each object lives (those objects are read
// on first lookup). Suits and skills left unused for two minutes are
// dropped and read again when next asked for; skeletons stay.
//
// For the people it is their loadable character library: skills answer as
// read-only views with their keyframes loaded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "character/CharacterFile.h"
#include "simulation/people/CharacterData.h"

class Device3D;
class iDevice3D;

namespace tova {

class BodyMesh;
class CharacterObject;
class Skeleton;
class Skill;
class Suit;

struct LibraryEntry {
    std::string name;
    std::string folder;
    std::string file;
    CharacterFolders searchList;
    bool loaded = false;
    CharacterObject* object = nullptr;
};

class CharacterLibrary : public iLoadableCharacterLibrary, public iCharacterStore {
public:
    static constexpr uint32_t kExpiryCheckInterval = 30000;
    static constexpr uint32_t kIdleBeforeExpiry = 120000;

    using Clock = std::function<uint32_t()>;
    using Cache = std::map<std::string, LibraryEntry>;

    // The clock defaults to the framework's millisecond clock.
    explicit CharacterLibrary(iDevice3D* device = nullptr, Clock clock = {});
    ~CharacterLibrary() override;
    CharacterLibrary(const CharacterLibrary&) = delete;
    CharacterLibrary& operator=(const CharacterLibrary&) = delete;

    static CharacterLibrary* Instance();

    // Lookups load an index entry on first use; the object is not retained.
    Skeleton* GetSkeleton(const std::string& name);
    Suit* GetSuit(const std::string& name);
    Skill* GetSkillData(const std::string& name);

    void Clear();
    // Reads a data root's character and animation folders, as the game's
    // start-up finds them (root ends with '/').
    void LoadDataRoot(const std::string& root);
    void ScanCharacterFiles(const std::vector<std::string>& folders, bool convert = false,
                            const std::string& indexName = {}, const std::string& indexFolder = {});
    void ReadIndexFiles(const std::vector<std::string>& folders);
    std::unique_ptr<BodyMesh> LoadMesh(const CharacterFolders& searchList, const std::string& meshName) const;
    void LoadSuitMeshes(Suit& suit) const;
    // Reads the skill's keyframes when they are not loaded yet; false when
    // they could not be.
    bool LoadKeyframes(Skill& skill) const;
    void ExpireUnused(uint32_t now);
    // Reads one character file of a folder into the caches; 1 on failure.
    int LoadCharacterFile(const std::string& folder, const std::string& file, const CharacterFolders& searchList,
                          bool convert = false, const std::string& targetFolder = {});
    // The usage counts: practices per skill and dressings per suit.
    std::vector<std::pair<std::string, int32_t>> UsageReport() const;

    const Cache& Skeletons() const { return skeletons_; }
    const Cache& Suits() const { return suits_; }
    const Cache& Skills() const { return skills_; }
    bool LoadingOnDemand() const { return loadingOnDemand_; }
    // Files the conversion wrote, in order.
    const std::vector<std::string>& WrittenFiles() const { return written_; }
    // The search list objects get: the character folders, then the
    // animation folders.
    const CharacterFolders& SearchList() const { return searchList_; }

    // ---- iCharacterStore ----
    bool StoreSkeleton(Skeleton* skeleton, const std::string& folder, const std::string& file) override;
    bool StoreSuit(Suit* suit, const std::string& folder, const std::string& file,
                   const CharacterFolders& searchList) override;
    bool StoreSkill(Skill* skill, const std::string& folder, const std::string& file,
                    const CharacterFolders& searchList) override;

    // ---- iLoadableCharacterLibrary ----
    const iSkill* GetSkill(const std::string& name) override;
    bool HasSuit(const std::string& name) override;
    void SetCharacterFolders(const cRZSearchPath& folders) override;
    void SetAnimationFolders(const cRZSearchPath& folders) override;
    void EmptyCaches() override;
    std::vector<std::pair<std::string, int32_t>> ActiveSkills() const override;
    std::vector<std::pair<std::string, int32_t>> ActiveSuits() const override;
    // A dressed-less body on the skeleton that reports its practices'
    // events to the animator; null for an unknown skeleton.
    std::unique_ptr<iCharacterBody> CreateBody(const std::string& skeleton, PersonAnimator* animator) override;

    // Where bodies made here get their skins' render meshes (none: the
    // skins are deformed without being drawable).
    void SetRenderDevice(Device3D* device) { renderDevice_ = device; }
    Device3D* RenderDevice() const { return renderDevice_; }

private:
    class SkillView;

    bool Store(Cache& cache, CharacterObject* object, const std::string& name, const std::string& folder,
               const std::string& file, const CharacterFolders& searchList);
    CharacterObject* Lookup(Cache& cache, const std::string& name);
    void AddIndexEntry(Cache& cache, const std::string& name, const std::string& folder, const std::string& file,
                       const CharacterFolders& searchList);
    bool Convert(const std::string& sourceFolder, const std::string& file, const std::string& targetFolder,
                 const CharacterFileContents& contents);
    bool WriteIndex(const std::string& path);
    void UpdateSearchList();
    uint32_t IdleStamp() const;

    iDevice3D* device_;
    Device3D* renderDevice_ = nullptr;
    Clock clock_;
    Cache skeletons_, suits_, skills_;
    uint32_t lastExpiryCheck_ = 0;
    bool loadingOnDemand_ = false;
    std::vector<std::string> characterFolders_, animationFolders_;
    std::shared_ptr<std::vector<std::string>> folders_;
    CharacterFolders searchList_;
    std::vector<std::string> written_;
    std::map<std::string, std::unique_ptr<SkillView>> views_;
};

// The library the people's character data start-up makes.
std::unique_ptr<iLoadableCharacterLibrary> MakeCharacterLibrary(iDevice3D* device);

}  // namespace tova
