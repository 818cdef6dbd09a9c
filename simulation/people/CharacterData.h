#pragma once
// The program's character data: the one character library that holds every
// skeleton, suit and skill, made once at start-up and told where the
// character files and the animation files lie; beside it the few values
// the renderer, the tools and the animator share (the person under the
// cursor, the picking switch, the current animation person) and thin
// wrappers around the pointer tracker that draws a person's head by the
// pie menu. The console's "reload_people" rebuilds the library's contents.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/cRZSearchPath.h"
#include "simulation/people/CharacterLibrary.h"

class CTGFileManager;
class iDevice3D;

namespace tova {

class cXPerson;
class iTrackerWindow;

// The library as start-up and the reload see it.
class iLoadableCharacterLibrary : public iCharacterLibrary {
 public:
  virtual void SetCharacterFolders(const cRZSearchPath& folders) = 0;
  virtual void SetAnimationFolders(const cRZSearchPath& folders) = 0;
  virtual void EmptyCaches() = 0;
  // Skills that practices still play and suits still worn, with the count
  // of those practices or dressings.
  virtual std::vector<std::pair<std::string, int32_t>> ActiveSkills() const = 0;
  virtual std::vector<std::pair<std::string, int32_t>> ActiveSuits() const = 0;
};

// The head drawn by the pie menu; world/ implements it.
class iPointerTracker {
 public:
  virtual ~iPointerTracker() = default;
  virtual void Attach(iTrackerWindow* window, PersonAnimator* data) = 0;
  virtual void Detach() = 0;
  virtual bool IsAttached() const = 0;
  virtual void SetTarget(iTrackerWindow* window) = 0;
  virtual void ReturnToSource() = 0;
  virtual void StartGesture() = 0;
  virtual void AdjustTilt(float tilt) = 0;
  virtual void GetPosition(int32_t& x, int32_t& y, int32_t& z) = 0;
  virtual void Update(void* renderTarget) = 0;
  // The person data it shows (null when detached).
  virtual PersonAnimator* GetData() const = 0;
};

// What start-up and the reload need from the layers around the people.
class iCharacterDataHost {
 public:
  virtual ~iCharacterDataHost() = default;
  // The library on the 3D context; null when it cannot be made.
  virtual std::unique_ptr<iLoadableCharacterLibrary> MakeLibrary(iDevice3D* context) = 0;
  // The object folders of the catalogue, first to last.
  virtual std::vector<std::string> ObjectFolders() const = 0;
  // The file manager the folders are added to.
  virtual CTGFileManager& Files() = 0;
  // The reload's steps on the house view and the lot's people.
  virtual void ClearHouseView() {}
  virtual std::vector<cXPerson*> PersonsOnLot() const { return {}; }
  virtual void ReleaseBody(cXPerson& /*person*/) {}
  virtual void BuildBody(cXPerson& /*person*/) {}
  // The start-up log's timing lines.
  virtual void StartupLog(const std::string& /*line*/) {}
};

// The data folder of skins (data directory 18).
constexpr const char* kSkinsFolder = "Skins/";
// Broadcast when there is a new current animation person.
constexpr int32_t kCommandNewAnimPerson = 247;

// The two search paths start-up builds from the base folder and the object
// folders (those with their index file go to the animations only).
std::string BuildCharacterSearchPath(const std::string& base, std::vector<std::string>& objectFolders,
                                     const std::function<bool(const std::string&)>& exists);
std::string BuildAnimationSearchPath(const std::string& base, const std::vector<std::string>& objectFolders);

void SetCharacterDataHost(iCharacterDataHost* host);
// Makes the library and hands it its folders; nothing when already loaded.
void LoadCharacterData(iDevice3D* context, const std::string& base);
void ReleaseCharacterData();
bool IsCharacterDataLoaded();
iLoadableCharacterLibrary* GetCharacterDataManager();
// The kept search lists.
const cRZSearchPath& CharacterSearchList();
const cRZSearchPath& AnimationSearchList();
// Every body released, what still plays logged, the caches emptied and
// every body built again.
void ReloadCharacterData();

cXPerson* GetPersonUnderCursor();
void SetPersonUnderCursor(cXPerson* person);
bool GetPersonPickEnabled();
void SetPersonPickEnabled(bool on);
cXPerson* GetCurrentAnimPerson();
// Stores the person; a non-null one is broadcast (command 247).
void SetCurrentAnimPerson(cXPerson* person);
// A person going away leaves the shared values and the tracker.
void ForgetCharacterPerson(cXPerson* person);

// ---- the pointer tracker ----
void SetPointerTracker(iPointerTracker* tracker);
iPointerTracker* GetPointerTracker();
void AttachPointerTracker(iTrackerWindow* window, PersonAnimator* animator);
void DetachPointerTracker();
void TrackerSetTarget(iTrackerWindow* window);
void TrackerReturnToSource();
void TrackerStartGesture();
void TrackerAdjustTilt(float tilt);
// False (and nothing written) when the tracker is not attached.
bool GetTrackerPosition(int32_t& x, int32_t& y, int32_t& z);
bool UpdatePointerTracker(void* renderTarget);

}  // namespace tova
