#pragma once
// One person's route across a lot read from a file, ticked headless: the
// rooms it walked in, the path planned in each, the portals it took, and
// how the route ended.

#include <cstdint>
#include <string>

namespace tova {

class iCharacterLibrary;

struct LotRouteEnd {
  int32_t x = 0, y = 0, level = 1;  // a tile
};

constexpr int32_t kLotRouteTickLimit = 20000;

// Loads `lot` with the catalogue of `root`, puts the template person on
// `from` and a step-aside marker on `to`, has the person go to the marker
// and ticks until its route ends. `out` receives the lines routedump
// prints; false with `error` when the lot, the person or the marker cannot
// be had, or the route has not ended within `tickLimit` ticks.
// With `characters` the people's bodies come from that library rather than
// the headless gait.
bool RunLotRoute(const std::string& root, const std::string& lot, LotRouteEnd from, LotRouteEnd to,
                 int32_t tickLimit, std::string& out, std::string& error, iCharacterLibrary* characters = nullptr);

}  // namespace tova
