// routedump --replay FILE.rte: plans the dumped request again with the
// largest search budget and prints "goal <index>" (or "goal none"), then
// "point <x> <y>" per path point, in sixteenths of a tile.
#include <cstdio>
#include <string>

#include "platform/TextFile.h"
#include "simulation/people/PlanRoute.h"
#include "simulation/people/RouteRequest.h"
#include "simulation/people/RouteSearch.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: routedump --replay FILE.rte\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "--replay") return Usage();
  const std::optional<std::string> text = platform::ReadTextFile(argv[2]);
  if (!text) {
    std::fprintf(stderr, "routedump: cannot read %s\n", argv[2]);
    return 1;
  }
  tova::RouteRequest request;
  std::string error;
  if (!tova::ReadRouteDump(*text, request, error)) {
    std::fprintf(stderr, "routedump: %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  tova::RouteSearch search(tova::RoutePlanner::Global());
  search.Begin(request);
  search.Run(tova::kRouteSearchBudget);
  std::fputs(tova::DescribeRoute(search).c_str(), stdout);
  return 0;
}
