// routedump --lot FILE [--data ROOT] [--characters] --from X,Y[,L] --to X,Y[,L]
//   Loads the lot with its objects and rooms, places the template person on
//   the centre of tile X,Y (level L, 1 when left out) of --from and a
//   step-aside marker on that of --to, has the person go to the marker and
//   ticks the lot headless until that route ends. Prints, for each room the
//   person walked in, "room <id>" (0 the outdoors), the last path planned
//   there as "point <x> <y>" lines (sixteenths of a tile) up to where the
//   walk ends, then "facing <x> <y>" (the point it turns to face), the portal it
//   took out of it as "portal <id> cost <c>" (the portal's cost for the
//   person's goal once taken); then "result <code>": 0 arrived, else the
//   route's failure code. ROOT defaults to the folder above UserData/ when
//   FILE lies in one, else the current folder. A route that has not ended
//   within 20000 ticks is an error (exit 1). With --characters the person's
//   body comes from the root's character files (skeleton, suits, skills)
//   instead of the headless gait.
//
// routedump --replay FILE.rte: plans the dumped request again with the
//   largest search budget and prints "goal <index>" (or "goal none"), then
//   "point <x> <y>" per path point, in sixteenths of a tile.
//
// Exit 0; 1 when a file cannot be read or the route does not end; 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterLibrary.h"
#include "platform/TextFile.h"
#include "simulation/people/PlanRoute.h"
#include "simulation/people/RouteRequest.h"
#include "simulation/people/RouteSearch.h"
#include "LotRoute.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: routedump --replay FILE.rte\n"
               "       routedump --lot FILE [--data ROOT] [--characters] --from X,Y[,L] --to X,Y[,L]\n");
  return 2;
}

int Replay(const char* path) {
  const std::optional<std::string> text = platform::ReadTextFile(path);
  if (!text) {
    std::fprintf(stderr, "routedump: cannot read %s\n", path);
    return 1;
  }
  tova::RouteRequest request;
  std::string error;
  if (!tova::ReadRouteDump(*text, request, error)) {
    std::fprintf(stderr, "routedump: %s: %s\n", path, error.c_str());
    return 1;
  }
  tova::RouteSearch search(tova::RoutePlanner::Global());
  search.Begin(request);
  search.Run(tova::kRouteSearchBudget);
  std::fputs(tova::DescribeRoute(search).c_str(), stdout);
  return 0;
}

// "X,Y" or "X,Y,L": tiles 0..63, level 1..3.
bool ParseTile(const char* text, tova::LotRouteEnd& out) {
  long v[3] = {0, 0, 1};
  int n = 0;
  const char* p = text;
  while (n < 3) {
    char* end = nullptr;
    v[n] = std::strtol(p, &end, 10);
    if (end == p) return false;
    ++n;
    if (*end == '\0') break;
    if (*end != ',') return false;
    p = end + 1;
  }
  if (n < 2 || *p == '\0') return false;
  if (v[0] < 0 || v[0] > 63 || v[1] < 0 || v[1] > 63 || v[2] < 1 || v[2] > 3) return false;
  out = {static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[2])};
  return true;
}

std::string DefaultRoot(const std::string& lot) {
  const size_t at = lot.rfind("UserData/");
  return at == std::string::npos ? std::string("./") : lot.substr(0, at);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) return Replay(argv[2]);
  std::string lot, root;
  tova::LotRouteEnd from, to;
  bool haveFrom = false, haveTo = false, characters = false;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--lot") == 0 && hasValue) {
      lot = argv[++i];
    } else if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
      root = argv[++i];
    } else if (std::strcmp(argv[i], "--characters") == 0) {
      characters = true;
    } else if (std::strcmp(argv[i], "--from") == 0 && hasValue) {
      if (!ParseTile(argv[++i], from)) return Usage();
      haveFrom = true;
    } else if (std::strcmp(argv[i], "--to") == 0 && hasValue) {
      if (!ParseTile(argv[++i], to)) return Usage();
      haveTo = true;
    } else {
      return Usage();
    }
  }
  if (lot.empty() || !haveFrom || !haveTo) return Usage();
  if (root.empty()) root = DefaultRoot(lot);

  if (root.back() != '/') root += '/';
  // The real character library of the root, made before the lot that uses it.
  std::unique_ptr<tova::CharacterLibrary> library;
  if (characters) {
    library = std::make_unique<tova::CharacterLibrary>();
    library->LoadDataRoot(root);
  }
  std::string out, error;
  if (!tova::RunLotRoute(root, lot, from, to, tova::kLotRouteTickLimit, out, error, library.get())) {
    std::fprintf(stderr, "routedump: %s\n", error.c_str());
    return 1;
  }
  std::fputs(out.c_str(), stdout);
  return 0;
}
