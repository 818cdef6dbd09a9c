// One canonical text of the character objects, without the names of the
// files they came from: two readings of the same objects, from any file
// form, print the same text.
#pragma once

#include <string>

namespace tova {

class BodyMesh;
class PropertyList;
class Skeleton;
class Skill;
class Suit;

std::string DumpSkeleton(const Skeleton& skeleton);
// The skins' meshes are printed when they are loaded.
std::string DumpSuit(const Suit& suit);
// The keyframes are printed when they are loaded.
std::string DumpSkill(const Skill& skill);
std::string DumpBodyMesh(const BodyMesh& mesh, const std::string& indent);

}  // namespace tova
