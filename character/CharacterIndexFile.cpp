#include "character/CharacterIndexFile.h"

#include "character/CharacterStreams.h"

namespace tova {

bool ReadCharacterIndex(std::string_view bytes, CharacterIndex& out) {
    CharacterBinaryIn in(bytes);
    for (CharacterIndex::Entries* section : {&out.skeletons, &out.suits, &out.skills}) {
        int32_t count = 0;
        if (!in.Count(count, 2)) return false;
        section->clear();
        for (int32_t i = 0; i < count; ++i) {
            std::string name, file;
            if (!in.Name(name, kLongNameBuffer) || !in.Name(file, kLongNameBuffer)) return false;
            section->emplace_back(std::move(name), std::move(file));
        }
    }
    return true;
}

std::string WriteCharacterIndex(const CharacterIndex& index) {
    CharacterBinaryOut out;
    for (const CharacterIndex::Entries* section : {&index.skeletons, &index.suits, &index.skills}) {
        out.Int(static_cast<int32_t>(section->size()));
        for (const auto& [name, file] : *section) {
            out.Name(name);
            out.Name(file);
        }
    }
    return out.Bytes();
}

}  // namespace tova
