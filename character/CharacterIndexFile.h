// The index files (".ndx"): for skeletons, suits and skills, which
// character file holds each named object.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tova {

struct CharacterIndex {
    using Entries = std::vector<std::pair<std::string, std::string>>;  // object name, file name
    Entries skeletons;
    Entries suits;
    Entries skills;
};

// False when the bytes end early or a name is too long.
bool ReadCharacterIndex(std::string_view bytes, CharacterIndex& out);
std::string WriteCharacterIndex(const CharacterIndex& index);

}  // namespace tova
