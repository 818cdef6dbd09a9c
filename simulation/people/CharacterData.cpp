#include "simulation/people/CharacterData.h"

#include "framework/CTGFileManager.h"
#include "gamedata/CycleTimer.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

struct CharacterDataState {
  iCharacterDataHost* host = nullptr;
  std::unique_ptr<iLoadableCharacterLibrary> library;
  iDevice3D* context = nullptr;
  bool loaded = false;
  cRZSearchPath characterList;
  cRZSearchPath animationList;
  cXPerson* underCursor = nullptr;
  bool pickEnabled = false;
  cXPerson* animPerson = nullptr;
  iPointerTracker* tracker = nullptr;
};

CharacterDataState& State() {
  static CharacterDataState state;
  return state;
}

// Every folder of the list that the file manager does not know yet.
void AddFolders(CTGFileManager& files, const cRZSearchPath& list) {
  for (int i = 0; i < list.GetCount(); ++i) {
    const std::string folder = list.GetDirectory(i).c_str();
    if (!files.HasDirectory(folder.c_str())) files.AddDirectory(folder.c_str(), false, true);
  }
}

// The step's time for the start-up log; the timer runs on for the next.
std::string Lap(CycleTimer& timer) {
  timer.Stop();
  const std::string text = std::to_string(static_cast<int64_t>(timer.GetElapsedSeconds() * 1000)) + " ms";
  timer.Start();
  return text;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

}  // namespace

std::string BuildCharacterSearchPath(const std::string& base, std::vector<std::string>& objectFolders,
                                     const std::function<bool(const std::string&)>& exists) {
  std::string path = base + kSkinsFolder + ";" + base + "cmx;";
  for (int n = 2; n <= 10; ++n) path += base + "cmx" + std::to_string(n) + ";";
  // The preview folder's name carries its own ';': the empty entry it makes
  // is skipped when the text is split.
  path += base + "cmxpreview;" + ";";
  for (const char* name : {"People1", "People2", "Accessories1", "Accessories2"}) path += base + name + ";";
  // Object folders without an index file hold characters; they leave the
  // list, which keeps the animation folders.
  for (size_t i = objectFolders.size(); i-- > 0;) {
    const std::string folder = objectFolders[i];
    if (exists(WithoutTrailingSeparator(folder) + ".ndx")) continue;
    path += folder + ";";
    objectFolders.erase(objectFolders.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return path;
}

std::string BuildAnimationSearchPath(const std::string& base, const std::vector<std::string>& objectFolders) {
  std::string path = base + "Animation" + ";";
  for (const std::string& folder : objectFolders) path += folder + ";";
  return path;
}

void SetCharacterDataHost(iCharacterDataHost* host) { State().host = host; }

void LoadCharacterData(iDevice3D* context, const std::string& base) {
  CharacterDataState& s = State();
  if (s.loaded || s.host == nullptr) return;
  CycleTimer timer;
  timer.Start();
  s.context = context;
  s.library = s.host->MakeLibrary(context);
  if (!s.library) return;
  SetCharacterLibrary(s.library.get());

  CTGFileManager& files = s.host->Files();
  std::vector<std::string> folders = s.host->ObjectFolders();
  const std::string characterPath =
      BuildCharacterSearchPath(base, folders, [&](const std::string& name) { return files.Exists(name.c_str()); });
  s.characterList = cRZSearchPath(characterPath.c_str());
  AddFolders(files, s.characterList);
  s.library->SetCharacterFolders(s.characterList);
  s.host->StartupLog("character folders: " + Lap(timer));

  s.animationList = cRZSearchPath(BuildAnimationSearchPath(base, folders).c_str());
  AddFolders(files, s.animationList);
  s.library->SetAnimationFolders(s.animationList);
  s.host->StartupLog("animation folders: " + Lap(timer));
  s.loaded = true;
}

void ReleaseCharacterData() {
  CharacterDataState& s = State();
  if (!s.loaded) return;
  if (GetCharacterLibrary() == s.library.get()) SetCharacterLibrary(nullptr);
  s.library.reset();
  s.characterList = cRZSearchPath();
  s.animationList = cRZSearchPath();
  s.loaded = false;
}

bool IsCharacterDataLoaded() { return State().loaded; }
iLoadableCharacterLibrary* GetCharacterDataManager() { return State().library.get(); }
const cRZSearchPath& CharacterSearchList() { return State().characterList; }
const cRZSearchPath& AnimationSearchList() { return State().animationList; }

void ReloadCharacterData() {
  CharacterDataState& s = State();
  if (!s.loaded || s.host == nullptr) return;
  s.host->ClearHouseView();
  const std::vector<cXPerson*> people = s.host->PersonsOnLot();
  for (cXPerson* p : people) s.host->ReleaseBody(*p);
  for (const auto& [name, count] : s.library->ActiveSkills()) {
    PeopleHost().DebugLog(std::to_string(count) + " active practice(s) on skill " + name);
  }
  for (const auto& [name, count] : s.library->ActiveSuits()) {
    PeopleHost().DebugLog(std::to_string(count) + " active dressing(s) on suit " + name);
  }
  s.host->ClearHouseView();
  s.library->EmptyCaches();
  s.library->SetCharacterFolders(s.characterList);
  s.library->SetAnimationFolders(s.animationList);
  for (cXPerson* p : people) s.host->BuildBody(*p);
}

cXPerson* GetPersonUnderCursor() { return State().underCursor; }
void SetPersonUnderCursor(cXPerson* person) { State().underCursor = person; }
bool GetPersonPickEnabled() { return State().pickEnabled; }
void SetPersonPickEnabled(bool on) { State().pickEnabled = on; }
cXPerson* GetCurrentAnimPerson() { return State().animPerson; }

void SetCurrentAnimPerson(cXPerson* person) {
  State().animPerson = person;
  if (person != nullptr) PeopleHost().Broadcast(kCommandNewAnimPerson, person->GetId());
}

void ForgetCharacterPerson(cXPerson* person) {
  CharacterDataState& s = State();
  if (s.underCursor == person) s.underCursor = nullptr;
  if (s.animPerson == person) s.animPerson = nullptr;
  if (s.tracker != nullptr && s.tracker->IsAttached() && s.tracker->GetData() == &person->Animator()) {
    s.tracker->Detach();
  }
}

void SetPointerTracker(iPointerTracker* tracker) { State().tracker = tracker; }
iPointerTracker* GetPointerTracker() { return State().tracker; }

void AttachPointerTracker(iTrackerWindow* window, PersonAnimator* animator) {
  if (iPointerTracker* t = State().tracker) t->Attach(window, animator);
}
void DetachPointerTracker() {
  if (iPointerTracker* t = State().tracker) t->Detach();
}
void TrackerSetTarget(iTrackerWindow* window) {
  if (iPointerTracker* t = State().tracker) t->SetTarget(window);
}
void TrackerReturnToSource() {
  if (iPointerTracker* t = State().tracker) t->ReturnToSource();
}
void TrackerStartGesture() {
  if (iPointerTracker* t = State().tracker) t->StartGesture();
}
void TrackerAdjustTilt(float tilt) {
  if (iPointerTracker* t = State().tracker) t->AdjustTilt(tilt);
}

bool GetTrackerPosition(int32_t& x, int32_t& y, int32_t& z) {
  iPointerTracker* t = State().tracker;
  if (t == nullptr || !t->IsAttached()) return false;
  t->GetPosition(x, y, z);
  return true;
}

bool UpdatePointerTracker(void* renderTarget) {
  iPointerTracker* t = State().tracker;
  if (t == nullptr || !t->IsAttached()) return false;
  t->Update(renderTarget);
  return true;
}

}  // namespace tova
