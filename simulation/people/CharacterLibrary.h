#pragma once
// What the people ask of the 3D character library that lives above the
// simulation: skills by name, bodies that play practices and wear suits,
// and the callback through which a practice reports the time properties
// ("name" = "value" pairs at frames of its motions) it passes. The game
// installs the library; tests install a recording fake.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "simulation/people/PoseMatrix.h"

namespace tova {

class iCharacterBody;
class PersonAnimator;

// One time property of a motion.
struct EventPair {
  std::string name;
  std::string value;
};

struct TimeProperty {
  int frame = 0;
  std::vector<EventPair> pairs;
};

// A bone track of a skill, with the time properties placed on it.
struct SkillTrack {
  std::string bone;
  std::vector<TimeProperty> properties;
  // The bone's translation at each frame (the "ROOT" motion carries the
  // root's travel).
  std::vector<std::array<float, 3>> translations;
};

// An animation of the character files.
class iSkill {
 public:
  virtual ~iSkill() = default;
  virtual const std::string& GetName() const = 0;
  virtual int FrameCount() const = 0;
  // Length of one play in milliseconds.
  virtual float Duration() const = 0;
  // Distance the root travels in one play.
  virtual float Travel() const = 0;
  virtual bool Loops() const = 0;
  virtual const std::vector<SkillTrack>& Motions() const = 0;
};

// A skill playing on a body.
struct PracticeRef {
  const iSkill* skill = nullptr;
  iCharacterBody* body = nullptr;
  // Practices play in rate order; a person's own start at 1.
  int rate = 1;
  // Negative plays backwards.
  float speed = 1.0f;
  // 0 to 1 through the skill.
  float time = 0;
  float weight = 1.0f;
  int hold = 0;
  int interruptible = 0;
  int anchorWord = 0;
  const SkillTrack* anchor = nullptr;
  int blend[2] = {};
  bool finished = false;
  int mode = 0;
  // A fade-out over fadeTime from the clock fadeStart; removeWhenFaded
  // drops the practice when it ends.
  float fadeTime = 0;
  int32_t fadeStart = 0;
  bool removeWhenFaded = false;
};

class iCharacterBody {
 public:
  virtual ~iCharacterBody() = default;
  // The animator this body was made for (its back link), or null.
  virtual PersonAnimator* GetAnimator() const = 0;
  // A new practice of the skill at the clock; null when the skill's motion
  // data cannot be loaded.
  virtual PracticeRef* AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t clock) = 0;
  virtual void RemovePractice(PracticeRef* practice) = 0;
  // Wears a suit with a texture at a level; false when the suit is unknown.
  virtual bool AddDressing(const std::string& suit, const std::string& texture, int level) = 0;
  virtual void RemoveDressing(const std::string& suit) = 0;

  // Advances every practice to the clock, then recomputes the bones'
  // world transforms.
  virtual void UpdatePractices(int32_t clock) {}
  virtual void UpdateTransforms() {}
  // The world position of a bone after the last transform update; false
  // when the skeleton has no such bone.
  virtual bool BonePosition(const std::string& bone, float out[3]) const { return false; }
  // An attachment point known by id, fixed to a bone at the skeleton's
  // point of that name (the bone itself for no name); false when the bone
  // or the named point is missing.
  virtual bool MakeAttachmentPoint(const std::string& id, const std::string& bone, const std::string& point) {
    return false;
  }
  virtual void RemoveAttachmentPoint(const std::string& id) {}
  // The world position of an attachment point; false when it is missing.
  virtual bool AttachmentPosition(const std::string& id, float out[3]) const { return false; }
  // Turns a bone about the vertical axis by the angle (radians) on top of
  // its animated pose.
  virtual void TurnBone(const std::string& bone, float angle) {}
  virtual void SetSelected(bool selected) {}
  // Recomputes the skins from the bones.
  virtual void UpdateSkins() {}
  // Every mesh of every dressing worn.
  virtual std::vector<WornMesh> DressingMeshes() const { return {}; }
  // The vertices (world space) of the meshes of one worn suit.
  virtual std::vector<std::array<float, 3>> SuitVertices(const std::string& suit) const { return {}; }
  // Where the body stands: position, orientation (radians about the
  // vertical) at the clock.
  virtual void SetPlacement(const float position[3], float orientation, int32_t clock) {}
  // The body's bounds (world space); false when it has none.
  virtual bool Bounds(float min[3], float max[3]) const { return false; }
  virtual PoseMatrix GetTransform() const { return {}; }
  virtual void Draw() {}
};

class iCharacterLibrary {
 public:
  virtual ~iCharacterLibrary() = default;
  // The skill of that name, loaded on first use; null when there is none.
  virtual const iSkill* GetSkill(const std::string& name) = 0;
  // Whether a suit of that name can be worn (loaded on first use).
  virtual bool HasSuit(const std::string& name) { return false; }
  // A body on the named skeleton that points back to the animator; null
  // when the skeleton is unknown.
  virtual std::unique_ptr<iCharacterBody> CreateBody(const std::string& skeleton, PersonAnimator* animator) {
    return nullptr;
  }
};

// The installed library; null until the character data is loaded.
iCharacterLibrary* GetCharacterLibrary();
void SetCharacterLibrary(iCharacterLibrary* library);

// The callback the character library calls when a practice passes time
// properties: the pairs go to the animator of the practice's body.
void OnAnimationEvents(PracticeRef& practice, const SkillTrack& motion, const std::vector<EventPair>& pairs,
                       float time);

}  // namespace tova
