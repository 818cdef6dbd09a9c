// Loads arbitrary bytes as a lot file into a house over the real world,
// object module and simulator (no catalogue: every object is of a missing
// definition), then reads its figures and ratings and runs a few ticks.
// A lot that does not load must be refused with a status, never read
// outside the bytes, and leave a house that still works.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzScratch.h"
#include "gamedata/House.h"
#include "resfile/IFFResFile2.h"
#include "world/LotHouseParts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static cLotHouseParts* parts = nullptr;
  static tova::House house(nullptr, [](int32_t n) {
    auto made = std::make_unique<cLotHouseParts>(n, nullptr);
    parts = made.get();
    return made;
  });
  static const bool created = (house.CreateWorld(), true);
  (void)created;
  const std::string path = fuzz::WriteInput("House01.iff", data, size);
  IFFResFile2 file;
  if (file.Open(path) != 0) return 0;
  int32_t version = 0;
  const int32_t status = house.Load(file, &version);
  file.Close();
  house.UpdateFigures();
  tova::HouseRatings ratings;
  house.ComputeRatings(ratings);
  house.GetOverallRating(ratings);
  if (status == 0) {
    for (int i = 0; i < 3; ++i) parts->GetSimulator().Tick();
  }
  return 0;
}
