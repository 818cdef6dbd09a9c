// Character descriptions (.chr): one text that makes a skeleton, its suits
// (each skin a box mesh on its bone) and skills from key poses. Each line is
// a keyword and its values; '#' starts a comment.
//
//   skeleton adult                  the skeleton's name
//   bone NAME PARENT X Y Z          a bone ("-" for no parent) and its offset
//   suit NAME [TYPE]                a suit (type 0 joins the body's group)
//   skin BONE MESH SIZE TEXTURE     a skin: a box of half-size SIZE on BONE
//   skill NAME FRAMES DURATION      a skill of FRAMES frames over DURATION ms
//   travel X Y Z                    the root's translation at the last frame
//   turn DEGREES                    the root's turn about the vertical
//   swing BONE DEGREES              a bone swinging about x, once per play
//   event BONE FRAME KEY=VALUE...   time properties of a bone's motion
//
// Written into the data root: Skins/NAME.cmx (everything, text) with a
// Skins/MESH.skn per mesh, Animation/SKILL.cfp per skill, and the skills
// again as cmx/NAME-skills.bcf with its index cmx/NAME-skills.ndx.
#pragma once

#include <array>
#include <string>
#include <vector>

struct CharacterSkinSource {
    std::string bone, mesh, texture;
    float size = 0.1f;
};

struct CharacterSuitSource {
    std::string name;
    int type = 0;
    std::vector<CharacterSkinSource> skins;
};

struct CharacterEventSource {
    std::string bone;
    int frame = 0;
    std::vector<std::pair<std::string, std::string>> pairs;
};

struct CharacterSkillSource {
    std::string name;
    int frames = 1;
    float duration = 0;
    std::array<float, 3> travel{};
    float turn = 0;
    std::vector<std::pair<std::string, float>> swings;
    std::vector<CharacterEventSource> events;
};

struct CharacterSource {
    std::string file;  // the base name of the outputs
    std::string skeleton;
    struct BoneSource {
        std::string name, parent;
        std::array<float, 3> offset{};
    };
    std::vector<BoneSource> bones;
    std::vector<CharacterSuitSource> suits;
    std::vector<CharacterSkillSource> skills;
};

// False, with "name:line: reason" in error, for a bad description.
bool ParseCharacterSource(const std::string& name, const std::string& text, CharacterSource& out,
                          std::string& error);
bool WriteCharacterSource(const CharacterSource& source, const std::string& root, std::string& error);
