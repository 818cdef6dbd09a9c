#pragma once
// A small scripted lot for person routes: a 20 by 20 tile square in one
// room unless told otherwise, flat, with tiles that block, tiles where a
// person does not fit, and seats a person can snap to.

#include <map>
#include <utility>
#include <vector>

#include "simulation/people/RouteSite.h"

namespace tova::test {

class FakeRouteSite : public iRouteSite {
 public:
  using Tile = std::pair<int32_t, int32_t>;
  static Tile TileOf(FinePoint p) { return {p.x >> 4, p.y >> 4}; }

  FinePoint personAt{56, 56};
  int32_t personLevel = 1;
  int32_t personRoom = 1;
  int32_t personDirection = 0;
  std::map<int32_t, int16_t> words;
  RouteSnapObject seat;
  FinePoint targetAt{168, 168};
  FinePoint targetFootprint{160, 160};
  int32_t targetDirection = 0;

  int32_t size = 20;
  std::map<Tile, int32_t> rooms;          // default: room 1
  std::map<Tile, uint8_t> masks;          // unturned: bit n blocks grid direction n
  std::map<Tile, uint32_t> corners;       // default: flat at 0
  std::map<Tile, Placement> placements;   // elsewhere: defaultPlacement
  Placement defaultPlacement{true, 0, 0, false};
  std::map<Tile, RouteSnapObject> seats;  // objects with an entry tree 26
  std::vector<int32_t> randoms;           // consumed in turn; 0 when used up
  size_t nextRandom = 0;
  // Every person direction a placement was tried with, by tile.
  std::map<Tile, int32_t> triedFacing;

  FinePoint PersonPosition() override { return personAt; }
  int32_t PersonLevel() override { return personLevel; }
  int32_t PersonRoom() override { return personRoom; }
  int32_t PersonDirection() override { return personDirection; }
  void SetPersonDirection(int32_t d) override { personDirection = d; }
  int16_t PersonWord(int32_t n) override { return words[n]; }
  void SetPersonWord(int32_t n, int16_t v) override { words[n] = v; }
  RouteSnapObject PersonSeat() override { return seat; }
  FinePoint TargetPosition(bool footprint) override { return footprint ? targetFootprint : targetAt; }
  int32_t TargetDirection() override { return targetDirection; }
  int32_t TargetLevel() override { return 1; }
  bool IsBorderTile(FinePoint p) override {
    const auto [x, y] = TileOf(p);
    return x <= 0 || y <= 0 || x >= size - 1 || y >= size - 1;
  }
  bool IsInsideWorld(FinePoint p) override {
    const auto [x, y] = TileOf(p);
    return x >= 0 && y >= 0 && x < size && y < size;
  }
  int32_t RoomAt(FinePoint p, int32_t) override {
    const auto it = rooms.find(TileOf(p));
    return it == rooms.end() ? 1 : it->second;
  }
  uint8_t BlockMask(FinePoint p, int32_t, int32_t rotation) override {
    const auto it = masks.find(TileOf(p));
    const uint32_t m = it == masks.end() ? 0 : it->second;
    const int32_t r = ((rotation % 8) + 8) % 8;
    return static_cast<uint8_t>(((m >> r) | (m << (8 - r))) & 0xFF);
  }
  uint32_t Corners(FinePoint p) override {
    const auto it = corners.find(TileOf(p));
    return it == corners.end() ? 0 : it->second;
  }
  Placement TryPlacePerson(FinePoint p) override {
    triedFacing[TileOf(p)] = personDirection;
    const auto it = placements.find(TileOf(p));
    if (it == placements.end()) return defaultPlacement;
    return it->second;
  }
  RouteSnapObject SnapObjectAt(FinePoint p, int32_t) override {
    const auto it = seats.find(TileOf(p));
    return it == seats.end() ? RouteSnapObject{} : it->second;
  }
  int32_t Random(int32_t n) override {
    const int32_t v = nextRandom < randoms.size() ? randoms[nextRandom++] : 0;
    return n > 0 ? v % n : 0;
  }
};

}  // namespace tova::test
