// simrun --data ROOT (--lot N | --family N | --load FILE) --ticks T [--save FILE] [--load FILE]
//        [--profile] [--debug-objects] [--answer N] [--quiet] [--characters]
//
// Loads lot N (UserData/Houses/HouseNN.iff under ROOT, or FILE with --load)
// into a house, or with --family the lot family N lives on as the game does
// when it moves in (from UserData/Neighborhood.iff: the house value charged,
// the members placed at the lot's entry), and runs T ticks one after the
// other (no real-time budget), people walking, then prints
//   before <yyyy>-<mm>-<dd> <hh>:<mm>:<ss> tick <n> funds <f>
//   after ...                                  (the same, T ticks on)
//   objects <n>
//   hash <16 hex digits>   FNV-1a 64 over the simulator's and the objects'
//                          records and the world's layers as a save writes them
// and, as they happen, one line per object error reported:
//   error <id> <code> "<message>"
// --profile adds one line per primitive opcode, most total time first:
//   prim <opcode> calls <n> us <total>
// --debug-objects writes each error's report file (the dialog answers
// Reset). --save writes the lot after the run. --answer N answers every
// object dialog with its button N (the last one when it has fewer; a text
// entry receives "Pat"); without it no object dialog is shown. As they
// happen:
//   dialog <kind> "<title>" "<message>" -> <result>
//   sound <name> <source id>     a sound played
//   string "<text>"              a string shown (command 235)
// With people on the lot, at every new game hour one line per person, and
// one line when a person starts an action (--quiet drops both):
//   motives <id> hunger H comfort C hygiene Y bladder B energy E fun F social S
//   action <person id> <object name> "<interaction>"
// --characters gives the people their bodies from ROOT's character files
// (their practices played on each tick); without it they have none.
// Exit 0; 1 when the lot does not load or cannot be saved.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterLibrary.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemResFile.h"
#include "resfile/ResStatus.h"
#include "resfile/TypeCode.h"
#include "gamedata/Commander.h"
#include "simulation/GameServices.h"
#include "simulation/ObjectDialog.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/SoundPlayer.h"
#include "simulation/PrimProfiler.h"
#include "simulation/SimProfiler.h"
#include "simulation/people/cXPerson.h"
#include "world/HeadlessLot.h"
#include "world/LotHouseParts.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: simrun --data ROOT (--lot N | --family N | --load FILE) --ticks T [--save FILE] "
               "[--load FILE] [--profile] [--debug-objects] [--answer N] [--quiet] [--characters]\n");
  return 2;
}

bool ParseNumber(const char* text, long long lo, long long hi, long long& out) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

class Shell : public tova::iGameShell {
 public:
  bool DebugObjects() const override { return debugObjects; }
  bool debugObjects = false;
};

// No one to ask headless: every error dialog answers Reset.
class ResetDialog : public tova::iPictureDialog {
 public:
  int32_t ShowModal(const std::string&, const std::string&, const std::vector<std::string>&) override {
    return tova::ObjectErrorReport::kReset;
  }
  void ShowMessageBox(const std::string& title, const std::string& text) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
};

// A dialog window that remembers its buttons and text entry.
class AnsweringWindow : public tova::iObjectDialogWindow {
 public:
  void SetPlacement(int32_t, int32_t, int32_t, const tova::DialogRect&) override {}
  void SetTitle(const std::string& t) override { title = t; }
  void SetPicture(const tova::DialogImage&, const tova::DialogRect*) override {}
  void AddButton(const std::string&, int32_t result) override { buttons.push_back(result); }
  void SetDefaultResult(int32_t result, int32_t) override { defaultResult = result; }
  void SetMessage(const std::string& m) override { message = m; }
  void AddTextEntry(const std::string&, int32_t) override { entry = true; }
  void ChooseAfter(int32_t, int32_t) override {}
  void BindKey(int32_t, int32_t) override {}
  void PlaceBeside(const tova::DialogRect&) override {}
  void SetTranslucent(bool, int32_t) override {}
  std::string EnteredText() const override { return entry ? "Pat" : ""; }

  std::string title, message;
  std::vector<int32_t> buttons;
  int32_t defaultResult = 2;
  bool entry = false;
};

// Answers every object dialog at once with button N, printing it.
class AnsweringShell : public tova::iDialogShell {
 public:
  explicit AnsweringShell(int32_t button) : button_(button) {}
  std::unique_ptr<tova::iObjectDialogWindow> CreateObjectDialog(tova::ObjectDialog& record) override {
    record_ = &record;
    return std::make_unique<AnsweringWindow>();
  }
  void RunDialog(tova::iObjectDialogWindow& window, bool) override {
    auto& w = static_cast<AnsweringWindow&>(window);
    int32_t result = w.defaultResult;
    if (!w.buttons.empty()) result = w.buttons[static_cast<size_t>(std::min<int32_t>(button_, w.buttons.size()) - 1)];
    std::printf("dialog %d \"%s\" \"%s\" -> %d\n", record_->GetKind(), w.title.c_str(), w.message.c_str(), result);
    record_->OnResult(result);
  }

 private:
  int32_t button_;
  tova::ObjectDialog* record_ = nullptr;
};

class PrintingSounds : public tova::iSoundPlayer {
 public:
  void Play(const std::string& event, int32_t argument) override {
    std::printf("sound %s %d\n", event.c_str(), argument);
  }
  void StopSources(int32_t) override {}
  void ForgetObject(int32_t) override {}
};

// Prints the strings trees show.
class StringPrinter : public tova::Commander {
 public:
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (command == tova::cmd::kShowString && argument != 0) {
      std::printf("string \"%s\"\n", reinterpret_cast<const char*>(argument));
    }
    return 0;
  }
};

void PrintClock(const char* label, tova::cSimulator& sim) {
  std::printf("%s %04d-%02d-%02d %02d:%02d:%02d tick %d funds %d\n", label, sim.GetGlobal(tova::kSimYear),
              sim.GetGlobal(tova::kSimMonth), sim.GetGlobal(tova::kSimDay), sim.GetGlobal(tova::kSimHour),
              sim.GetGlobal(tova::kSimMinute), sim.GetGlobal(tova::kSimSecond), sim.GetTickCount(), sim.GetFunds());
}

uint64_t Fnv1a(uint64_t hash, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) {
    hash ^= b;
    hash *= 0x100000001B3ull;
  }
  return hash;
}

// The records a save writes for the simulator, the objects and the world's
// layers, hashed type by type in the order the file keeps them.
bool HashState(tova::House& house, cLotHouseParts& parts, uint64_t& hash) {
  house.UpdateFigures();
  MemResFile memory;
  const int32_t version = tova::kGameSaveVersion;
  if (parts.GetSimulator().SaveState(memory, 1, version) != kResOK || parts.GetModule().Save(memory, version) != kResOK ||
      parts.GetWorld().SaveLayers(memory, version) != kResOK) {
    return false;
  }
  hash = 0xCBF29CE484222325ull;
  for (const ResType code : {TypeCode("VUXI"), TypeCode("ObjM"), TypeCode("Arry")}) {
    for (int i = 1; i <= memory.CountResources(code); ++i) {
      MemHandle h = memory.GetIndexedResource(code, i, nullptr);
      ResId id = 0;
      std::vector<uint8_t> bytes;
      if (h == nullptr || memory.GetId(h, id) != kResOK || !memory.GetStored(code, id, bytes)) return false;
      hash = Fnv1a(hash, bytes);
    }
  }
  return true;
}

// The people's lines: their motives at every new game hour, and each
// action as it becomes a person's current one.
class PeopleLines {
 public:
  explicit PeopleLines(tova::ObjectModule& module) : module_(module) {}

  void AfterTick(tova::cSimulator& sim) {
    for (tova::cXObject* o = module_.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (!o->IsPerson()) continue;
      auto& person = static_cast<tova::cXPerson&>(*o);
      tova::QueuedAction& action = person.CurrentAction();
      uint32_t& last = serials_[person.GetId()];
      if (action.HasTarget() && action.serial != last) {
        tova::cXObject* target = module_.GetObjectById(action.target);
        const std::string name = target != nullptr && target->GetDefinition() != nullptr
                                     ? target->GetDefinition()->GetName()
                                     : "none";
        std::printf("action %d %s \"%s\"\n", person.GetId(), name.c_str(), action.GetName(module_).c_str());
      }
      last = action.HasTarget() ? action.serial : 0;
    }
    const int16_t hour = sim.GetGlobal(tova::kSimHour);
    if (hour == hour_) return;
    hour_ = hour;
    for (tova::cXObject* o = module_.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (!o->IsPerson()) continue;
      auto& p = static_cast<tova::cXPerson&>(*o);
      auto m = [&p](int32_t n) { return std::lround(p.GetMotiveValue(n)); };
      std::printf("motives %d hunger %ld comfort %ld hygiene %ld bladder %ld energy %ld fun %ld social %ld\n", p.GetId(),
                  m(tova::kMotiveHunger), m(tova::kMotiveComfort), m(tova::kMotiveHygiene), m(tova::kMotiveBladder),
                  m(tova::kMotiveEnergy), m(tova::kMotiveFun), m(tova::kMotiveSocial));
    }
  }
  void Start(tova::cSimulator& sim) {
    hour_ = sim.GetGlobal(tova::kSimHour);
    for (tova::cXObject* o = module_.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (o->IsPerson()) {
        tova::QueuedAction& action = static_cast<tova::cXPerson&>(*o).CurrentAction();
        serials_[o->GetId()] = action.HasTarget() ? action.serial : 0;
      }
    }
  }

 private:
  tova::ObjectModule& module_;
  std::map<int16_t, uint32_t> serials_;
  int16_t hour_ = -1;
};

struct OpcodeTotal {
  int64_t calls = 0;
  int64_t microseconds = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string root, load, save;
  long long lot = -1, family = -1, ticks = -1, answer = 0;
  bool profile = false, quiet = false, characters = false;
  Shell shell;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
      root = argv[++i];
    } else if (std::strcmp(argv[i], "--lot") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 0, 99, lot)) return Usage();
    } else if (std::strcmp(argv[i], "--family") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 1, 32767, family)) return Usage();
    } else if (std::strcmp(argv[i], "--quiet") == 0) {
      quiet = true;
    } else if (std::strcmp(argv[i], "--ticks") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 0, 100000000, ticks)) return Usage();
    } else if (std::strcmp(argv[i], "--save") == 0 && hasValue) {
      save = argv[++i];
    } else if (std::strcmp(argv[i], "--load") == 0 && hasValue) {
      load = argv[++i];
    } else if (std::strcmp(argv[i], "--answer") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 1, 3, answer)) return Usage();
    } else if (std::strcmp(argv[i], "--profile") == 0) {
      profile = true;
    } else if (std::strcmp(argv[i], "--characters") == 0) {
      characters = true;
    } else if (std::strcmp(argv[i], "--debug-objects") == 0) {
      shell.debugObjects = true;
    } else {
      return Usage();
    }
  }
  // One lot: a number, a family's, or a saved file (which --lot may name).
  if (root.empty() || ticks < 0 || (lot < 0 && family < 0 && load.empty()) || (family > 0 && (lot >= 0 || !load.empty())))
    return Usage();
  if (root.back() != '/' && root.back() != '\\') root += '/';
  if (load.empty() && family < 0) {
    char name[32];
    std::snprintf(name, sizeof name, "House%02lld.iff", lot);
    load = root + "UserData/Houses/" + name;
  }

  // The library outlives the lot whose people it dresses.
  std::unique_ptr<tova::CharacterLibrary> library;
  if (characters) {
    library = std::make_unique<tova::CharacterLibrary>();
    library->LoadDataRoot(root);
  }
  tova::HeadlessLot headless(root);
  if (library != nullptr && !headless.UseCharacterLibrary(*library)) {
    std::fprintf(stderr, "simrun: no global file under %s\n", root.c_str());
    return 1;
  }
  tova::House& house = headless.GetHouse();
  cLotHouseParts* parts = &headless.Parts();
  tova::ObjectModule& module = parts->GetModule();
  tova::cSimulator& sim = parts->GetSimulator();
  module.SetShell(&shell);

  ResetDialog dialog;
  tova::ObjectErrorReport report;
  report.SetDialog(&dialog);
  report.SetHouseNumber(static_cast<int32_t>(std::max(lot, 0LL)));
  report.SetTickSource([&sim] { return sim.GetTickCount(); });
  report.SetFolders(".", root + "UserData");
  report.SetObserver([](tova::cXObject& o) {
    std::printf("error %d %d \"%s\"\n", o.GetId(), o.GetErrorCode(), tova::ObjectErrorMessage(o.GetErrorCode()));
  });
  sim.SetErrorReport(&report);
  PrintingSounds sounds;
  tova::SetSoundPlayer(&sounds);
  StringPrinter strings;
  std::unique_ptr<AnsweringShell> answering;
  // What was installed here goes again on every way out (the lot takes
  // back its own).
  struct Uninstall {
    ~Uninstall() {
      tova::ObjectDialog::SetShell(nullptr);
      tova::SetSoundPlayer(nullptr);
    }
  } uninstall;
  if (answer > 0) {
    answering = std::make_unique<AnsweringShell>(static_cast<int32_t>(answer));
    tova::ObjectDialog::SetShell(answering.get());
  }

  // People walk with the headless gait; without the global file a lot has
  // no people that move.
  headless.UseHeadlessGait();
  std::string error;
  const bool loaded = family > 0 ? headless.LoadFamily(static_cast<int32_t>(family), error) : headless.Load(load, error);
  if (!loaded) {
    std::fprintf(stderr, "simrun: %s\n", error.c_str());
    return 1;
  }
  if (family > 0) report.SetHouseNumber(headless.FamilyLot());
  headless.FindRooms();
  PeopleLines people(module);

  std::vector<std::unique_ptr<tova::PrimProfiler>> profilers;
  std::vector<int32_t> seen;
  std::map<int32_t, OpcodeTotal> totals;
  tova::SimProfiler simProfiler;
  if (profile) {
    sim.SetProfiler(&simProfiler);
    for (tova::cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
      profilers.push_back(std::make_unique<tova::PrimProfiler>(tova::PrimProfiler::kTickRecords,
                                                               [&sim] { return sim.GetTickCount(); }));
      o->SetProfiler(profilers.back().get());
    }
    seen.assign(profilers.size(), 0);
  }

  PrintClock("before", sim);
  people.Start(sim);
  for (long long t = 0; t < ticks; ++t) {
    headless.Tick();
    if (!quiet) people.AfterTick(sim);
    for (size_t p = 0; p < profilers.size(); ++p) {
      for (; seen[p] < profilers[p]->SamplesTaken(); ++seen[p]) {
        if (const tova::PrimProfiler::TickRecord* r = profilers[p]->RecordOf(seen[p])) {
          for (const auto& e : r->entries) {
            totals[e.opcode].calls += e.calls;
            totals[e.opcode].microseconds += e.totalMicroseconds;
          }
        }
      }
    }
  }
  PrintClock("after", sim);
  std::printf("objects %d\n", module.ObjectCount());
  uint64_t hash = 0;
  if (!HashState(house, *parts, hash)) {
    std::fprintf(stderr, "simrun: the state cannot be written for its hash\n");
    return 1;
  }
  std::printf("hash %016" PRIx64 "\n", hash);
  if (profile) {
    std::vector<std::pair<int32_t, OpcodeTotal>> rows(totals.begin(), totals.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second.microseconds > b.second.microseconds; });
    for (const auto& [opcode, total] : rows) {
      std::printf("prim %d calls %" PRId64 " us %" PRId64 "\n", opcode, total.calls, total.microseconds);
    }
  }
  for (tova::cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) o->SetProfiler(nullptr);
  if (!save.empty()) {
    const int32_t saved = house.Save(save);
    if (saved != 0) {
      std::fprintf(stderr, "simrun: cannot save %s (%d)\n", save.c_str(), saved);
      return 1;
    }
  }
  return 0;
}
