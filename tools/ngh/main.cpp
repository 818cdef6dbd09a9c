// ngh --data ROOT COMMAND [ARGS]: edits ROOT/UserData/Neighborhood.iff.
// With the data root's object catalogue the game data is loaded as the game
// starts: the people are its person definitions and the characters of
// UserData/Characters, and evicting loads the lot into the house. A root
// without a catalogue keeps the people its file already knows (a new
// character then needs the template character among them and its file) and
// has no house to evict from.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"
#include "platform/FileSystem.h"
#include "world/GameStartupServices.h"

namespace {

using tova::Family;
using tova::Neighbor;
using tova::Neighborhood;

// Without the object catalogue every person the file names is taken to
// exist: nobody is dropped as missing when the tool saves.
class KeepEveryone : public tova::NeighborhoodServices {
 public:
  std::optional<tova::PersonDefinitionInfo> FindPersonDefinition(int32_t guid) override {
    return tova::PersonDefinitionInfo{guid, "", false, ""};
  }
};

int Usage() {
  std::fprintf(stderr,
               "usage: ngh --data ROOT COMMAND [ARGS]\n"
               "  list | new-family NAME | new-character | add NEIGHBOR FAMILY | remove NEIGHBOR\n"
               "  move-in FAMILY LOT | evict LOT [clear] | swap A B | export FAMILY DIR | import FILE\n"
               "  report FAMILY FILE\n");
  return 2;
}

int Fail(int code) {
  std::printf("error %d\n", code);
  return 1;
}

bool ToInt(const std::string& text, int32_t& out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < -2147483647L || value > 2147483647L) return false;
  out = static_cast<int32_t>(value);
  return true;
}

void List(Neighborhood& hood) {
  for (const auto& f : hood.Families())
    std::printf("family %d \"%s\" lot %d funds %d members %d\n", f->number, f->GetName(), f->lot, f->funds,
                f->GetMemberCount());
  int32_t neighbors = 0;
  for (int32_t id = hood.GetNextNeighborIndex(0); id != 0; id = hood.GetNextNeighborIndex(id)) {
    const Neighbor* n = hood.GetNeighbor(id);
    std::printf("neighbor %d \"%s\" family %d\n", id, n->name.c_str(), n->personData[tova::kPersonDataFamily]);
    ++neighbors;
  }
  std::printf("families %zu neighbors %d\n", hood.Families().size(), neighbors);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3 || args[0] != "--data") return Usage();
  const std::string root = args[1];
  const std::string command = args[2];
  const std::vector<std::string> rest(args.begin() + 3, args.end());
  auto want = [&](size_t n) { return rest.size() == n; };

  std::string base = root;
  if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
  // A root with the object catalogue is loaded as the game starts: the
  // catalogue, the neighbourhood and the house its lots load into.
  cGameStartupServices startup;
  tova::GlobalContext context;
  std::unique_ptr<tova::NeighborhoodServices> keep;
  std::unique_ptr<Neighborhood> own;
  Neighborhood* loaded = nullptr;
  if (platform::FileExists(base + "GameData/Global/Global.iff")) {
    context.dataRoot = base;
    context.startup = &startup;
    tova::gGlobalContext = &context;
    if (!context.LoadGameData(0, 0, 0, "", "", "")) return Fail(-1);
    loaded = context.neighborhood;
  } else {
    keep = std::make_unique<KeepEveryone>();
    own = std::make_unique<Neighborhood>(*keep);
    own->SetPath((base + "UserData/Neighborhood.iff").c_str());
    loaded = own.get();
  }
  Neighborhood& hood = *loaded;
  if (int status = hood.Init()) return Fail(status);
  const int32_t version = context.saveVersion;

  int32_t a = 0, b = 0;
  if (command == "list" && want(0)) {
    List(hood);
    return 0;
  }
  if (command == "new-family" && want(1)) {
    Family* f = hood.NewFamily();
    if (f == nullptr) return Fail(-1);
    f->SetName(rest[0].c_str());
    if (int status = hood.Save(version)) return Fail(status);
    std::printf("family %d\n", f->number);
    return 0;
  }
  if (command == "new-character" && want(0)) {
    Neighbor* n = nullptr;
    if (int status = hood.CreateUserCharacter(&n)) return Fail(status);
    if (int status = hood.Save(version)) return Fail(status);
    std::printf("neighbor %d \"%s\"\n", n->id, n->name.c_str());
    return 0;
  }
  if (command == "add" && want(2) && ToInt(rest[0], a) && ToInt(rest[1], b)) {
    Neighbor* n = hood.GetNeighbor(a);
    Family* f = hood.FindFamily(b);
    if (n == nullptr || f == nullptr) return Fail(-1);
    if (int status = hood.AddToFamily(*n, *f)) return Fail(status);
    return hood.Save(version) == 0 ? 0 : Fail(-1);
  }
  if (command == "remove" && want(1) && ToInt(rest[0], a)) {
    Neighbor* n = hood.GetNeighbor(a);
    if (n == nullptr) return Fail(-1);
    if (int status = hood.RemoveFromFamily(*n)) return Fail(status);
    if (int status = hood.Save(version)) return Fail(status);
    return 0;
  }
  if (command == "move-in" && want(2) && ToInt(rest[0], a) && ToInt(rest[1], b)) {
    Family* f = hood.FindFamily(a);
    if (f == nullptr) return Fail(-1);
    if (int status = hood.MoveFamilyToLot(*f, b)) return Fail(status);
    if (int status = hood.Save(version)) return Fail(status);
    return 0;
  }
  if (command == "evict" && (want(1) || (want(2) && rest[1] == "clear")) && ToInt(rest[0], a)) {
    if (int status = hood.EvictLot(a, want(2))) return Fail(status);
    return 0;
  }
  if (command == "swap" && want(2) && ToInt(rest[0], a) && ToInt(rest[1], b)) {
    FixedPath message;
    if (a < 1 || a > Neighborhood::kLotCount || b < 1 || b > Neighborhood::kLotCount || a == b) return Fail(-1);
    if (int status = hood.SwapLots(a, b, message)) {
      std::fprintf(stderr, "%s\n", message.c_str());
      return Fail(status);
    }
    return 0;
  }
  if (command == "export" && want(2) && ToInt(rest[0], a)) {
    Family* f = hood.FindFamily(a);
    if (f == nullptr) return Fail(-1);
    if (int status = hood.ExportFamily(rest[1], *f)) return Fail(status);
    std::string folder = rest[1];
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    std::printf("exported %s%s.FAM\n", folder.c_str(), Neighborhood::FamilyFileStem(*f).c_str());
    return 0;
  }
  if (command == "import" && want(1)) {
    Family* made = nullptr;
    Family* displaced = nullptr;
    if (int status = hood.ImportFamily(rest[0], &made, &displaced)) return Fail(status);
    if (displaced != nullptr)
      std::printf("imported family %d displaced %d\n", made->number, displaced->number);
    else
      std::printf("imported family %d displaced none\n", made->number);
    return 0;
  }
  if (command == "report" && want(2) && ToInt(rest[0], a)) {
    Family* f = hood.FindFamily(a);
    if (f == nullptr) return Fail(-1);
    return f->GetHistory().WriteReport(rest[1]) ? 0 : Fail(-1);
  }
  return Usage();
}
