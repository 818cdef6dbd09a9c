// One game day (43,200 ticks) of lot 5 of the starter data root, crowded to
// 300 objects by copies of its furniture: with the starter family and six
// more people (8 in all), against the same lot without people. The
// difference is what the people cost: their trees, autonomy over every
// object and their walks.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"
#include "world/HeadlessLot.h"

namespace {

constexpr int64_t kHouseholdDayTicks = 43200;
constexpr int32_t kHouseholdObjects = 300;
constexpr int32_t kHouseholdPeople = 8;
constexpr int32_t kHouseholdLotSize = 24;
// The furniture of lot 5, copied round and round.
constexpr std::array<uint32_t, 7> kHouseholdFurniture = {0x4C3A1070, 0x4C3A1071, 0x4C3A1072, 0x4C3A1073,
                                                         0x4C3A1075, 0x4C3A1076, 0x4C3A1077};

int32_t CountHouseholdPeople(tova::ObjectModule& module) {
  int32_t n = 0;
  for (tova::cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) n += o->IsPerson() ? 1 : 0;
  return n;
}

// Copies of the furniture outside the house in rows, every fourth row left
// free to walk along, until the lot holds `objects` objects besides its
// people; then people on the free rows until there are `people`.
void CrowdHouseholdLot(tova::HeadlessLot& lot, int32_t objects, int32_t people) {
  tova::ObjectModule& module = lot.Module();
  std::string error;
  size_t next = 0;
  for (int32_t y = 1; y < kHouseholdLotSize - 1; ++y) {
    for (int32_t x = 1; x < kHouseholdLotSize - 1; ++x) {
      const bool inHouse = x >= 2 && x <= 13 && y >= 2 && y <= 10;
      if (inHouse) continue;
      if (y % 4 != 0) {
        if (module.ObjectCount() - CountHouseholdPeople(module) >= objects) continue;
        lot.AddObject(kHouseholdFurniture[next++ % kHouseholdFurniture.size()], x, y, 1, error);
      } else if (people > 0 && CountHouseholdPeople(module) < people) {
        lot.AddPerson(x, y, 1, error);
      }
    }
  }
  lot.FindRooms();
}

// The lot as the benchmark runs it: lot 5 with its family (or, without
// people, its file alone), crowded.
std::unique_ptr<tova::HeadlessLot> MakeHouseholdLot(bool people) {
  auto lot = std::make_unique<tova::HeadlessLot>(TOVA_BENCH_DATA_ROOT);
  lot->UseHeadlessGait();
  std::string error;
  const bool loaded = people ? lot->LoadFamily(1, error)
                             : lot->Load(std::string(TOVA_BENCH_DATA_ROOT) + "/UserData/Houses/House05.iff", error);
  if (!loaded) return nullptr;
  CrowdHouseholdLot(*lot, kHouseholdObjects, people ? kHouseholdPeople : 0);
  return lot;
}

void RunHouseholdDay(benchmark::State& state, bool people) {
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<tova::HeadlessLot> lot = MakeHouseholdLot(people);
    if (lot == nullptr) {
      state.SkipWithError("lot 5 or its family does not load from the starter data root");
      return;
    }
    state.counters["objects"] = static_cast<double>(lot->Module().ObjectCount());
    state.counters["people"] = static_cast<double>(CountHouseholdPeople(lot->Module()));
    state.ResumeTiming();
    for (int64_t t = 0; t < kHouseholdDayTicks; ++t) lot->Tick();
    state.PauseTiming();
    lot.reset();
    state.ResumeTiming();
  }
}

void BM_SimDayHousehold(benchmark::State& state) { RunHouseholdDay(state, true); }
void BM_SimDayEmptyLot(benchmark::State& state) { RunHouseholdDay(state, false); }

BENCHMARK(BM_SimDayEmptyLot)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimDayHousehold)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
