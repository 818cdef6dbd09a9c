// Operands that read the neighbourhood of the running game: values, globals
// and a neighbour record's person data, with the neighbour named by the
// frame's stack object id.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"

using namespace tova;
using namespace tova_test;

namespace {

class NeighborhoodOwners : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    Trees("tree 4096 \"Main\"\nn0: 39 -> n0 n0\nend\n");
    me = Run<cXObject>();
    ada = hood.AddNeighbor({0x100, "Ada", false, ""});
    bo = hood.AddNeighbor({0x200, "Bo", false, ""});
    ada->personData[58] = 321;
    ada->personData[79] = -4;
    Family* f = hood.NewFamily();
    hood.AddToFamily(*ada, *f);
    hood.MoveFamilyToLot(*f, 4);
    hood.SetSetting(Neighborhood::kSettingTutorialState, 2);
    hood.SetSetting(15, 77);
    context.neighborhood = &hood;
    gGlobalContext = &context;
  }
  void TearDown() override { gGlobalContext = nullptr; }

  static constexpr int32_t E(int32_t code) { return 100000 + code; }
  int32_t Read(int32_t owner, int32_t index, int16_t stackObject) {
    me->CurrentFrame()->stackObject = stackObject;
    try {
      int16_t* address = nullptr;
      const int16_t value = me->EvaluateVariable(owner, index, &address, nullptr);
      EXPECT_EQ(address, nullptr) << "owner " << owner << " cannot be written";
      return value;
    } catch (const ObjectError& e) {
      return E(e.code);
    }
  }

  NeighborhoodServices services;
  Neighborhood hood{services};
  GlobalContext context;
  cXObject* me = nullptr;
  Neighbor* ada = nullptr;
  Neighbor* bo = nullptr;
};

TEST_F(NeighborhoodOwners, ReadTheBoundNeighbourhood) {
  const struct {
    int32_t owner, index, stackObject, value;
  } cases[] = {
      {24, 2, 1, 321},        {24, 6, 1, 4},          {24, 6, 2, 0},         {24, 2, 9, 0},
      {34, 1, 0, 2},          {34, 15, 0, 77},        {34, 0, 0, E(60)},     {34, 16, 0, E(60)},
      {32, 58, 1, 321},       {32, 79, 1, -4},        {32, 80, 1, E(33)},    {32, 0, 3, E(55)},
      {32, 80, 3, E(55)},     {38, 0, 1, E(55)},      {38, 0, 3, E(55)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Read(c.owner, c.index, static_cast<int16_t>(c.stackObject)), c.value)
        << "owner " << c.owner << " index " << c.index << " neighbour " << c.stackObject;
}

TEST_F(NeighborhoodOwners, WithoutANeighbourhoodValuesAreZeroAndRecordsAbsent) {
  context.neighborhood = nullptr;
  EXPECT_EQ(Read(24, 2, 1), 0);
  EXPECT_EQ(Read(34, 1, 0), 0);
  EXPECT_EQ(Read(34, 16, 0), E(60));
  EXPECT_EQ(Read(32, 58, 1), E(55));
  EXPECT_EQ(Read(38, 0, 1), E(55));
}

}  // namespace
