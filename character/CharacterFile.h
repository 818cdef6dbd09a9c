// The character files: skeletons, suits and skills in a text form (".cmx")
// and a binary form (".bcf"), read into objects that are handed one by one
// to a store (the library), and written back from objects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

class CharacterIn;
class CharacterOut;
class PropertyList;
class Skeleton;
class Skill;
class Suit;
class TimePropertyList;

using CharacterFolders = std::shared_ptr<const std::vector<std::string>>;

// Where read objects go. Each call takes over the object's reference and
// answers whether the object was kept (else it has been released).
class iCharacterStore {
public:
    virtual ~iCharacterStore() = default;
    virtual bool StoreSkeleton(Skeleton* skeleton, const std::string& folder, const std::string& file) = 0;
    virtual bool StoreSuit(Suit* suit, const std::string& folder, const std::string& file,
                           const CharacterFolders& searchList) = 0;
    virtual bool StoreSkill(Skill* skill, const std::string& folder, const std::string& file,
                            const CharacterFolders& searchList) = 0;
};

// The objects of one file (not retained).
struct CharacterFileContents {
    std::vector<Skeleton*> skeletons;
    std::vector<Suit*> suits;
    std::vector<Skill*> skills;
};

// Reads a whole character file. On failure the object being read is
// released, the report gets its "could not be read" line and the answer is
// false; objects stored before stay stored. `kept` collects what the store
// kept.
bool ReadCharacterFile(std::string_view bytes, bool text, const std::string& folder, const std::string& file,
                       const CharacterFolders& searchList, iCharacterStore& store,
                       CharacterFileContents* kept = nullptr);

// Whether a file name is read as text (".cmx" in any case).
bool IsTextCharacterFile(const std::string& fileName);

// The records, in either form.
PropertyList* ReadPropertyList(CharacterIn& in);
TimePropertyList* ReadEventList(CharacterIn& in);
Skeleton* ReadSkeleton(CharacterIn& in);
Suit* ReadSuit(CharacterIn& in);
Skill* ReadSkill(CharacterIn& in);
void WritePropertyList(CharacterOut& out, const PropertyList& list);
void WriteEventList(CharacterOut& out, const TimePropertyList& list);
void WriteSkeleton(CharacterOut& out, const Skeleton& skeleton);
void WriteSuit(CharacterOut& out, const Suit& suit);
void WriteSkill(CharacterOut& out, const Skill& skill);

// A whole file of the objects: binary, or text with its two header lines.
std::string WriteCharacterFile(const CharacterFileContents& contents, bool text);

}  // namespace tova
