// Finding and measuring objects: distance, direction, the best object for a
// need, iterators over objects, neighbours and careers, the type test.
#include <gtest/gtest.h>

#include "PrimitiveFixture.h"
#include "gamedata/Careers.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/Neighbor.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"
#include "simulation/NeighbourhoodLinks.h"
#include "simulation/ObjectQueryPrimitives.h"

using namespace tova;
using namespace tova_test;

namespace {

class QueryPrimitives : public PrimitiveFixture {
 protected:
  // SetToNext of the kind with the iterator in temp 1.
  std::string Next(int kind, uint32_t guid = 0, int local = 0) {
    return "SetToNext" + Bytes({static_cast<int>(guid & 0xFF), static_cast<int>((guid >> 8) & 0xFF),
                                static_cast<int>((guid >> 16) & 0xFF), static_cast<int>(guid >> 24), kind | 0x80,
                                kOwnerTemp, local, 1});
  }
  // Steps the iterator in temp 1 of o from start; the ids it visits.
  std::vector<int16_t> Walk(cXObject& o, const std::string& node, int16_t start = 0, int16_t p3 = 0) {
    std::vector<int16_t> ids;
    o.Temps()[1] = start;
    for (int i = 0; i < 10 && Prim(o, node, 0, 0, 0, 0, p3) == 1; ++i) ids.push_back(o.Temps()[1]);
    EXPECT_EQ(o.Temps()[1], 0) << "a finished walk leaves 0";
    return ids;
  }
  std::unique_ptr<ObjectDefinition> OtherDefinition(uint32_t guid) {
    ObjectDefinitionRecord record = definition->GetRecord();
    record.SetGuid(guid);
    auto d = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Other", 0, 129);
    d->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    return d;
  }
  cXObject* MakeOf(ObjectDefinition& d) {
    auto o = std::make_unique<cXObject>(&d, &module);
    o->InitFromDefinition();
    cXObject* p = o.get();
    module.AddObject(std::move(o), 0, true);
    return p;
  }
};

TEST_F(QueryPrimitives, DistanceInTilesWithAStoreyCountingTwenty) {
  cXObject* me = Obj();
  cXObject* other = Obj();
  me->SetPosition(At(3, 3));
  other->SetPosition(At(3, 3));
  other->SetLevel(2);
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(4), me->GetId()), 1);
  EXPECT_EQ(me->Temps()[4], 0) << "to itself";
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(4), other->GetId()), 1);
  EXPECT_EQ(me->Temps()[4], 20) << "one level apart";
  other->SetLevel(1);
  other->SetPosition(At(6, 7));
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(4), other->GetId()), 1);
  EXPECT_EQ(me->Temps()[4], 5);
  other->SetPosition({At(3, 3).x + 30, At(3, 3).y});
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(4), other->GetId()), 1);
  EXPECT_EQ(me->Temps()[4], 1) << "1.875 tiles truncated";

  // From an object a variable names: temp 2.
  me->Temps()[2] = other->GetId();
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Bytes({3, 0, 1, kOwnerTemp, 2, 0}), other->GetId()), 1);
  EXPECT_EQ(me->Temps()[3], 0);
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(8), other->GetId()), 1000 + kErrTempOutOfRange);
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Words(4), 0), 1023) << "no stack object";
  me->Temps()[2] = 999;
  EXPECT_EQ(Prim(*me, "GetDistanceTo" + Bytes({3, 0, 1, kOwnerTemp, 2, 0}), other->GetId()), 1023);
}

TEST_F(QueryPrimitives, DirectionToTheStackObject) {
  cXObject* me = Obj();
  cXObject* other = Obj();
  me->SetPosition(At(5, 5));
  struct Case {
    int x, y, direction;
  };
  const Case cases[] = {{4, 5, 0}, {4, 6, 1}, {5, 6, 2}, {6, 6, 3}, {6, 5, 4}, {6, 4, 5}, {5, 4, 6}, {4, 4, 7}, {9, 6, 4}};
  for (const Case& c : cases) {
    other->SetPosition(At(c.x, c.y));
    EXPECT_EQ(Prim(*me, "GetDirectionTo" + Words(0, kOwnerTemp), other->GetId()), 1);
    EXPECT_EQ(me->Temps()[0], c.direction) << c.x << "," << c.y;
  }
  EXPECT_EQ(Prim(*me, "GetDirectionTo" + Words(0, kOwnerLiteral), other->GetId()), 1000 + kErrReadOnlyWrite);
  EXPECT_EQ(Prim(*me, "GetDirectionTo" + Words(0, kOwnerTemp), 0), 1000 + kErrNoStackObject);
  me->Temps()[3] = 777;
  EXPECT_EQ(Prim(*me, "GetDirectionTo" + Bytes({0, 0, kOwnerTemp, 0, 1, kOwnerTemp, 3, 0}), other->GetId()), 1023);
}

TEST_F(QueryPrimitives, FindBestKeepsTheFirstOfEqualScoresAndFloorsAtOne) {
  cXObject* me = Obj();
  me->SetPosition(At(5, 5));
  cXObject* a = Obj();
  cXObject* b = Obj();
  a->SetPosition(At(6, 5));
  b->SetPosition(At(5, 5));
  // Kind 0 reads rating word 31: a scores 2 - 3 = -1, raised to 1; b
  // scores 1 - 0 = 1. The tie keeps a, the first in list order.
  a->SetData(31, 2);
  b->SetData(31, 1);
  EXPECT_EQ(Prim(*me, "FindBestObjectForFunction" + Words(0), 0), 1);
  EXPECT_EQ(me->Temps()[0], 0);
  EXPECT_EQ(me->GetData(66), 1) << "the last candidate's rating";

  // The winner becomes the stack object: seen through a second node.
  auto winner = [&](int kind) {
    own.Add(kTypeBHAV, 4098,
            AssembleTrees("tree 4098 \"W\"\n params 4\n"
                          "n0: FindBestObjectForFunction" + Words(kind) + " -> n1 false\n"
                          "n1: " + Expr(kOwnerTemp, 7, 5, kOwnerStackObjectId, 0) + " -> true true\nend\n")[0]
                .bytes,
            "W");
    me->Temps()[7] = -1;
    return me->RunTree(behavior(), 0, 4098, nullptr) ? me->Temps()[7] : int16_t{0};
  };
  EXPECT_EQ(winner(0), a->GetId());
  b->SetData(31, 5);
  EXPECT_EQ(winner(0), b->GetId());
  b->SetData(kDataFlags, 0x20);
  EXPECT_EQ(winner(0), a->GetId()) << "a busy object is no candidate";
  b->SetData(kDataFlags, 0);
  b->SetData(kDataIdleCountdown, 3);
  EXPECT_EQ(winner(0), a->GetId()) << "nor one that idles";
  b->SetData(kDataIdleCountdown, 0);
  a->SetData(31, 0);
  b->SetData(31, 0);
  EXPECT_EQ(winner(0), 0) << "rating 0 excludes";
  EXPECT_EQ(winner(1), 0) << "the definition has no entry 19";
  for (int kind : {4, 5, 9, 15, 99}) EXPECT_EQ(Prim(*me, "FindBestObjectForFunction" + Words(kind), 0), 0) << kind;
}

TEST_F(QueryPrimitives, SetToNextOverTheObjectList) {
  cXObject* a = Obj();
  FakePerson* p = Obj<FakePerson>();
  cXObject* c = Obj();
  EXPECT_EQ(Walk(*a, Next(0)), (std::vector<int16_t>{a->GetId(), p->GetId(), c->GetId()}));
  EXPECT_EQ(Walk(*a, Next(0), p->GetId()), (std::vector<int16_t>{c->GetId()}));
  EXPECT_EQ(Walk(*a, Next(1)), (std::vector<int16_t>{p->GetId()}));
  EXPECT_EQ(Walk(*a, Next(2)), (std::vector<int16_t>{a->GetId(), c->GetId()}));
  EXPECT_TRUE(Walk(*a, Next(3), a->GetId()).empty()) << "a single object has no group lead";
  // An iterator naming an object that is gone: false, and 0.
  EXPECT_TRUE(Walk(*a, Next(0), 1234).empty());

  auto other = OtherDefinition(0xCAFE0001);
  cXObject* d = MakeOf(*other);
  EXPECT_EQ(Walk(*a, Next(4, 0xCAFE0001)), (std::vector<int16_t>{d->GetId()}));
  EXPECT_EQ(Walk(*a, Next(4, 0x10203040)).size(), 3u);

  c->SetData(59, 6);
  d->SetData(59, 6);
  a->Temps()[1] = 0;
  const std::string byGroup = "SetToNext" + Bytes({0, 0, 0, 0, 6 | 0x80, kOwnerTemp, 0, 1});
  std::vector<int16_t> group;
  while (Prim(*a, byGroup, 0, 6) == 1) group.push_back(a->Temps()[1]);
  EXPECT_EQ(group, (std::vector<int16_t>{c->GetId(), d->GetId()})) << "word 59 equal to parameter 0";
  module.Clear();  // before the other definition goes
}

TEST_F(QueryPrimitives, SetToNextOnATileWraps) {
  cXObject* first = Ground();
  cXObject* second = Ground();
  cXObject* away = Ground();
  for (cXObject* o : {first, second}) o->SetData(kDataFlags, kFlagNonBlocking);
  first->Place(At(5, 5), 1, nullptr, 0);
  second->Place(At(5, 5), 1, nullptr, 0);
  first->Temps()[1] = first->GetId();
  EXPECT_EQ(Prim(*first, Next(8), 0), 1);
  EXPECT_EQ(first->Temps()[1], second->GetId());
  EXPECT_EQ(Prim(*first, Next(8), 0), 1);
  EXPECT_EQ(first->Temps()[1], first->GetId()) << "wrapped to the first";
  first->Temps()[1] = away->GetId();
  EXPECT_EQ(Prim(*first, Next(8), 0), 0) << "off the lot";
  EXPECT_EQ(first->Temps()[1], 0);
}

TEST_F(QueryPrimitives, SetToNextWalksAroundTheCentre) {
  cXObject* centre = Ground();
  centre->Place(At(5, 5), 1, nullptr, 0);
  cXObject* south = Ground();  // (y + 1, x)
  south->Place(At(5, 6), 1, nullptr, 0);
  cXObject* east = Ground();  // (y, x + 1)
  east->Place(At(6, 5), 1, nullptr, 0);
  cXObject* west = Ground();  // (y, x - 1), in another room
  west->Place(At(4, 5), 1, nullptr, 0);
  west->SetData(kDataRoom, 3);
  // Local 0 (parameter 3) holds the centre.
  EXPECT_EQ(Walk(*centre, Next(9, 0, 0), 0, centre->GetId()), (std::vector<int16_t>{south->GetId(), east->GetId()}));
  EXPECT_TRUE(Walk(*centre, Next(9, 0, 0), west->GetId(), centre->GetId()).empty()) << "a west start ends the walk";
  cXObject* north = Ground();
  north->Place(At(5, 4), 1, nullptr, 0);
  EXPECT_EQ(Walk(*centre, Next(9, 0, 0), east->GetId(), centre->GetId()), (std::vector<int16_t>{north->GetId()}));
  EXPECT_EQ(Prim(*centre, Next(9, 0, 2), 0, 0, 0, 0, centre->GetId()), 1000 + kErrStackNumberOutOfRange)
      << "local 2 of two";
  EXPECT_EQ(Prim(*centre, Next(9, 0, 0), 0, 0, 0, 0, 999), 1000 + kErrNoParameter) << "no centre object";
}

class FakeNeighbours : public iNeighbourList {
 public:
  std::vector<int16_t> NeighbourIds() const override { return {3, 7, 9}; }
  uint32_t NeighbourGuid(int16_t id) const override { return id == 7 ? 0xBEEF : 0xF00D; }
  std::vector<int16_t> IdList() const override { return {40, 41}; }
};

TEST_F(QueryPrimitives, SetToNextOverNeighboursAndCareers) {
  cXObject* a = Obj();
  EXPECT_TRUE(Walk(*a, Next(5)).empty()) << "no neighbourhood";
  FakeNeighbours neighbours;
  ObjectQueryPrimitives::SetNeighbourList(&neighbours);
  EXPECT_EQ(Walk(*a, Next(5)), (std::vector<int16_t>{3, 7, 9}));
  EXPECT_EQ(Walk(*a, Next(7, 0xF00D)), (std::vector<int16_t>{3, 9}));
  EXPECT_EQ(Walk(*a, Next(11)), (std::vector<int16_t>{40, 41}));
  ObjectQueryPrimitives::SetNeighbourList(nullptr);

  CareerList& careers = CareerList::Instance();
  careers.Clear();
  for (int id : {2, 5, 8}) {
    cCareer c;
    c.id = id;
    careers.Careers().push_back(c);
  }
  EXPECT_EQ(Walk(*a, Next(10)), (std::vector<int16_t>{2, 5, 8}));
  EXPECT_EQ(Walk(*a, Next(10), 5), (std::vector<int16_t>{8}));
  careers.Clear();
}

TEST_F(QueryPrimitives, SetToNextOverTheNeighbourhoodsNeighbours) {
  NeighborhoodServices services;
  Neighborhood hood{services};
  std::vector<Neighbor*> added;
  for (int32_t guid : {0xF00D, 0xBEEF, 0xF00D, 0xF00D}) {
    PersonDefinitionInfo info;
    info.guid = guid;
    added.push_back(hood.AddNeighbor(info));
    ASSERT_NE(added.back(), nullptr);
  }
  hood.FreeNeighbor(added[2]);  // a gap in the ids
  const int16_t first = added[0]->id, second = added[1]->id, last = added[3]->id;

  cXObject* a = Obj();
  NeighbourhoodLinks given(&hood);
  NeighbourhoodLinks::Install(&given);
  EXPECT_EQ(Walk(*a, Next(5)), (std::vector<int16_t>{first, second, last}));
  EXPECT_EQ(Walk(*a, Next(7, 0xF00D)), (std::vector<int16_t>{first, last}));
  EXPECT_EQ(Walk(*a, Next(7, 0xBEEF), first), (std::vector<int16_t>{second}));
  EXPECT_TRUE(Walk(*a, Next(11)).empty()) << "the neighbourhood keeps no other id list";
  EXPECT_EQ(given.DefinitionOfNeighbour(first), nullptr) << "no catalogue";

  // Without one given, the running game's neighbourhood.
  NeighbourhoodLinks running;
  NeighbourhoodLinks::Install(&running);
  EXPECT_TRUE(Walk(*a, Next(5)).empty()) << "no game running";
  GlobalContext context;
  context.neighborhood = &hood;
  gGlobalContext = &context;
  EXPECT_EQ(Walk(*a, Next(5)), (std::vector<int16_t>{first, second, last}));
  EXPECT_EQ(running.NeighbourGuid(second), 0xBEEFu);
  EXPECT_EQ(running.NeighbourGuid(999), 0u);
  gGlobalContext = nullptr;
  NeighbourhoodLinks::Install(nullptr);
}

TEST_F(QueryPrimitives, SetToNextKindsAndErrors) {
  cXObject* a = Obj();
  EXPECT_EQ(Prim(*a, Next(12), 0), 1030);
  EXPECT_EQ(Prim(*a, Next(13), 0), 1030);
  EXPECT_EQ(Prim(*a, "SetToNext" + Bytes({0, 0, 0, 0, 0x80, kOwnerLiteral, 0, 1}), 0), 1000 + kErrReadOnlyWrite);
}

TEST_F(QueryPrimitives, TestObjectTypeByGuid) {
  cXObject* a = Obj();
  a->Temps()[2] = a->GetId();
  const auto test = [&](uint32_t guid) {
    return Prim(*a, "TestObjectType" + Words(static_cast<int>(guid & 0xFFFF), static_cast<int>(guid >> 16), 2, kOwnerTemp), 0);
  };
  EXPECT_EQ(test(0x10203040), 1);
  EXPECT_EQ(test(0x10203041), 0);
  a->Temps()[2] = 555;
  EXPECT_EQ(test(0x10203040), 1023);
}

}  // namespace
