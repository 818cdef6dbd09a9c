#include "character/CharacterFile.h"

#include <cctype>

#include "character/CharacterReport.h"
#include "character/CharacterStreams.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

namespace tova {

namespace {

// Releases an object being read unless it is handed on.
template <class T>
struct CharacterReadGuard {
    T* object;
    explicit CharacterReadGuard(T* o) : object(o) {}
    ~CharacterReadGuard() {
        if (object != nullptr) object->Release();
    }
    T* Take() {
        T* o = object;
        object = nullptr;
        return o;
    }
};

// has-properties and the list when it is set.
bool ReadOptionalProperties(CharacterIn& in, PropertyList*& out) {
    out = nullptr;
    int32_t has = 0;
    if (!in.Int(has)) return false;
    if (has == 0) return true;
    out = ReadPropertyList(in);
    return out != nullptr;
}

void WriteOptionalProperties(CharacterOut& out, const PropertyList* list) {
    out.Int(list != nullptr ? 1 : 0);
    if (list != nullptr) WritePropertyList(out, *list);
}

void WriteBoneTree(CharacterOut& out, const Bone* bone) {
    // Parents before children: a bone, its children, then its next sibling.
    for (; bone != nullptr; bone = bone->NextSibling()) {
        out.Name(bone->Name());
        out.Name(bone->ParentName());
        WriteOptionalProperties(out, bone->Properties());
        out.Vector(bone->translation);
        out.Rotation(bone->rotation);
        for (int32_t f : bone->flags) out.Int(f);
        out.Int(bone->WigglePower());
        out.Float(bone->wiggleValue);
        WriteBoneTree(out, bone->FirstChild());
    }
}

size_t NameLimit(const CharacterIn& in, bool longInText) {
    return in.IsText() && longInText ? kLongNameBuffer : kShortNameBuffer;
}

}  // namespace

bool IsTextCharacterFile(const std::string& fileName) {
    if (fileName.size() < 4) return false;
    std::string tail = fileName.substr(fileName.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".cmx";
}

PropertyList* ReadPropertyList(CharacterIn& in) {
    int32_t count = 0;
    if (!in.Count(count, 2)) return nullptr;
    CharacterReadGuard<PropertyList> list(new PropertyList);
    for (int32_t i = 0; i < count; ++i) {
        std::string key, value;
        if (!in.Name(key, kShortNameBuffer) || !in.Value(value, kShortNameBuffer)) return nullptr;
        list.object->Set(key, value);
    }
    return list.Take();
}

TimePropertyList* ReadEventList(CharacterIn& in) {
    int32_t count = 0;
    if (!in.Count(count, 8)) return nullptr;
    CharacterReadGuard<TimePropertyList> events(new TimePropertyList);
    for (int32_t i = 0; i < count; ++i) {
        int32_t time = 0;
        if (!in.Int(time)) return nullptr;
        PropertyList* list = ReadPropertyList(in);
        if (list == nullptr) return nullptr;
        events.object->Insert(time, list);
        list->Release();
    }
    return events.Take();
}

Skeleton* ReadSkeleton(CharacterIn& in) {
    CharacterReadGuard<Skeleton> skeleton(new Skeleton);
    int32_t count = 0;
    if (!in.Name(skeleton.object->name, NameLimit(in, true)) || !in.Count(count, 2 + 4 + 12 + 16 + 20)) {
        return nullptr;
    }
    for (int32_t i = 0; i < count; ++i) {
        std::string name, parent;
        if (!in.Name(name, NameLimit(in, true)) || !in.Name(parent, NameLimit(in, true))) return nullptr;
        auto bone = std::make_unique<Bone>(name, parent);
        PropertyList* props = nullptr;
        if (!ReadOptionalProperties(in, props)) return nullptr;
        bone->SetProperties(props);
        ReleaseCharacterData(props);
        int32_t power = 0;
        if (!in.Vector(bone->translation) || !in.Rotation(bone->rotation) || !in.Int(bone->flags[0]) ||
            !in.Int(bone->flags[1]) || !in.Int(bone->flags[2]) || !in.Int(power) || !in.Float(bone->wiggleValue)) {
            return nullptr;
        }
        bone->SetWigglePower(power);
        bone->UpdateKeyBone();
        skeleton.object->AddBone(std::move(bone));
    }
    return skeleton.Take();
}

Suit* ReadSuit(CharacterIn& in) {
    CharacterReadGuard<Suit> suit(new Suit);
    PropertyList* props = nullptr;
    if (!in.Name(suit.object->name, kShortNameBuffer) || !in.Int(suit.object->type) ||
        !ReadOptionalProperties(in, props)) {
        return nullptr;
    }
    suit.object->SetProperties(props);
    ReleaseCharacterData(props);
    int32_t count = 0;
    if (!in.Count(count, 2 + 4 + 4)) return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        Skin* skin = suit.object->AddSkin();
        if (!in.Name(skin->boneName, NameLimit(in, true)) || !in.Name(skin->meshName, NameLimit(in, true)) ||
            !in.Int(skin->flags) || !ReadOptionalProperties(in, props)) {
            return nullptr;
        }
        skin->SetProperties(props);
        ReleaseCharacterData(props);
    }
    return suit.Take();
}

Skill* ReadSkill(CharacterIn& in) {
    CharacterReadGuard<Skill> skill(new Skill);
    Skill& s = *skill.object;
    int32_t count = 0;
    if (!in.Name(s.name, kShortNameBuffer) || !in.Name(s.motionDataName, kShortNameBuffer) || !in.Float(s.duration) ||
        !in.Float(s.distance) || !in.Int(s.moving) || !in.Int(s.translationCount) || !in.Int(s.rotationCount) ||
        !in.Count(count, 1 + 4 * 8)) {
        return nullptr;
    }
    for (int32_t i = 0; i < count; ++i) {
        Motion* m = s.AddMotion();
        PropertyList* props = nullptr;
        int32_t hasEvents = 0;
        if (!in.Name(m->boneName, kShortNameBuffer) || !in.Int(m->frameCount) || !in.Float(m->duration) ||
            !in.Int(m->hasTranslations) || !in.Int(m->hasRotations) || !in.Int(m->firstTranslation) ||
            !in.Int(m->firstRotation) || !ReadOptionalProperties(in, props)) {
            return nullptr;
        }
        m->SetProperties(props);
        ReleaseCharacterData(props);
        if (!in.Int(hasEvents)) return nullptr;
        if (hasEvents != 0) {
            TimePropertyList* events = ReadEventList(in);
            if (events == nullptr) return nullptr;
            m->SetEvents(events);
            events->Release();
        }
    }
    // A motion whose frames lie outside the keyframe arrays fails the skill.
    if (!s.CheckMotions().empty()) {
        in.Fail();
        return nullptr;
    }
    return skill.Take();
}

void WritePropertyList(CharacterOut& out, const PropertyList& list) {
    out.Int(list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        out.Name(list.Key(i));
        out.Value(list.Value(i));
    }
}

void WriteEventList(CharacterOut& out, const TimePropertyList& list) {
    out.Int(list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        out.Int(list.At(i).time);
        if (list.At(i).list != nullptr) {
            WritePropertyList(out, *list.At(i).list);
        } else {
            out.Int(0);
        }
    }
}

void WriteSkeleton(CharacterOut& out, const Skeleton& skeleton) {
    out.Name(skeleton.name);
    out.Int(skeleton.BoneCount());
    WriteBoneTree(out, skeleton.Root());
}

void WriteSuit(CharacterOut& out, const Suit& suit) {
    out.Name(suit.name);
    out.Int(suit.type);
    WriteOptionalProperties(out, suit.Properties());
    out.Int(static_cast<int32_t>(suit.skins.size()));
    for (const auto& skin : suit.skins) {
        out.Name(skin->boneName);
        out.Name(skin->meshName);
        out.Int(skin->flags);
        WriteOptionalProperties(out, skin->Properties());
    }
}

void WriteSkill(CharacterOut& out, const Skill& skill) {
    out.Name(skill.name);
    out.Name(skill.motionDataName);
    out.Float(skill.duration);
    out.Float(skill.distance);
    out.Int(skill.moving);
    out.Int(skill.translationCount);
    out.Int(skill.rotationCount);
    out.Int(static_cast<int32_t>(skill.motions.size()));
    for (const auto& m : skill.motions) {
        out.Name(m->boneName);
        out.Int(m->frameCount);
        out.Float(m->duration);
        out.Int(m->hasTranslations);
        out.Int(m->hasRotations);
        out.Int(m->firstTranslation);
        out.Int(m->firstRotation);
        WriteOptionalProperties(out, m->Properties());
        out.Int(m->Events() != nullptr ? 1 : 0);
        if (m->Events() != nullptr) WriteEventList(out, *m->Events());
    }
}

std::string WriteCharacterFile(const CharacterFileContents& contents, bool text) {
    CharacterTextOut textOut;
    CharacterBinaryOut binaryOut;
    CharacterOut& out = text ? static_cast<CharacterOut&>(textOut) : binaryOut;
    if (text) {
        textOut.Line("// character file");
        textOut.Line("version 1");
    }
    out.Int(static_cast<int32_t>(contents.skeletons.size()));
    for (const Skeleton* s : contents.skeletons) WriteSkeleton(out, *s);
    out.Int(static_cast<int32_t>(contents.suits.size()));
    for (const Suit* s : contents.suits) WriteSuit(out, *s);
    out.Int(static_cast<int32_t>(contents.skills.size()));
    for (const Skill* s : contents.skills) WriteSkill(out, *s);
    return out.Bytes();
}

bool ReadCharacterFile(std::string_view bytes, bool text, const std::string& folder, const std::string& file,
                       const CharacterFolders& searchList, iCharacterStore& store, CharacterFileContents* kept) {
    CharacterTextIn textIn(bytes);
    CharacterBinaryIn binaryIn(bytes);
    CharacterIn& in = text ? static_cast<CharacterIn&>(textIn) : binaryIn;
    auto fail = [&] {
        ReportUnreadCharacterFile(file);
        return false;
    };
    if (text) {
        std::string header;
        if (!textIn.Line(header, kShortNameBuffer) || !textIn.Line(header, kShortNameBuffer)) return fail();
    }
    int32_t count = 0;
    if (!in.Count(count, 6)) return fail();
    for (int32_t i = 0; i < count; ++i) {
        Skeleton* s = ReadSkeleton(in);
        if (s == nullptr) return fail();
        s->sourceFile = file;
        if (store.StoreSkeleton(s, folder, file) && kept != nullptr) kept->skeletons.push_back(s);
    }
    if (!in.Count(count, 13)) return fail();
    for (int32_t i = 0; i < count; ++i) {
        Suit* s = ReadSuit(in);
        if (s == nullptr) return fail();
        s->sourceFile = file;
        s->searchList = searchList;
        if (store.StoreSuit(s, folder, file, searchList) && kept != nullptr) kept->suits.push_back(s);
    }
    if (!in.Count(count, 30)) return fail();
    for (int32_t i = 0; i < count; ++i) {
        Skill* s = ReadSkill(in);
        if (s == nullptr) return fail();
        s->sourceFile = file;
        s->searchList = searchList;
        if (store.StoreSkill(s, folder, file, searchList) && kept != nullptr) kept->skills.push_back(s);
    }
    return true;
}

}  // namespace tova
