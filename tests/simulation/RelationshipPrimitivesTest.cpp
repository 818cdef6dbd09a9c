// Relationship variables between objects, and between neighbours when both
// parties are persons: reading, writing, growing and the errors.
#include <gtest/gtest.h>

#include <map>

#include "PrimitiveFixture.h"
#include "resfile/KeyedArrayList.h"
#include "simulation/RelationshipPrimitives.h"

using namespace tova;
using namespace tova_test;

namespace {

class FakeRecords : public iNeighbourRecords {
 public:
  std::map<int16_t, KeyedArrayList> records;
  KeyedArrayList* RelationshipsOf(int16_t id) override {
    auto it = records.find(id);
    return it == records.end() ? nullptr : &it->second;
  }
  std::vector<int16_t> updated;
  void UpdateFromPerson(cXObject& person) override { updated.push_back(person.GetNeighbourId()); }
};

class RelationshipPrimitivesTest : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    RelationshipPrimitives::SetNeighbourRecords(&records);
  }
  void TearDown() override { RelationshipPrimitives::SetNeighbourRecords(nullptr); }
  // Relationship: direction, variable, parameter, whose, flags.
  static std::string Rel(int write, int variable, int parameter, int whose, int flags) {
    return "Relationship" + Bytes({write, variable, parameter, whose, flags});
  }
  // Runs the node on o, then copies parameter 1 into temp 6.
  int32_t RunRel(cXObject& o, const std::string& node, int16_t stack, int16_t p0 = 0, int16_t p1 = 0) {
    own.Add(kTypeBHAV, 4098,
            AssembleTrees("tree 4098 \"R\"\n params 4\n locals 1\n"
                          "n0: " + node + " -> n1 false\n"
                          "n1: " + Expr(kOwnerTemp, 6, 5, kOwnerParam, 1) + " -> true true\nend\n")[0]
                .bytes,
            "R");
    const int16_t params[4] = {p0, p1, 0, 0};
    o.SetErrorCode(0);
    const bool result = o.RunTree(behavior(), stack, 4098, params);
    const int16_t error = o.GetErrorCode();
    o.SetErrorCode(0);
    return error != 0 ? 1000 + error : result ? 1 : 0;
  }
  FakeRecords records;
};

TEST_F(RelationshipPrimitivesTest, AnArrayGrowsUnlessToldToFail) {
  cXObject* me = Obj();
  cXObject* other = Obj();
  me->KeyedArrays().SetSize(other->GetId(), 3);
  me->KeyedArrays().SetValue(other->GetId(), 2, 9);
  EXPECT_EQ(RunRel(*me, Rel(0, 5, 1, 0, 1), other->GetId()), 0) << "too small";
  EXPECT_EQ(me->KeyedArrays().GetSize(other->GetId()), 3) << "unchanged";
  me->Temps()[6] = -1;
  EXPECT_EQ(RunRel(*me, Rel(0, 5, 1, 0, 0), other->GetId(), 0, 77), 1);
  EXPECT_EQ(me->KeyedArrays().GetSize(other->GetId()), 6);
  EXPECT_EQ(me->Temps()[6], 0) << "read the new variable";
  EXPECT_EQ(RunRel(*me, Rel(0, 2, 1, 0, 0), other->GetId()), 1);
  EXPECT_EQ(me->Temps()[6], 9);
}

TEST_F(RelationshipPrimitivesTest, WhoseListAndTowardsWhom) {
  cXObject* me = Obj();
  cXObject* other = Obj();
  cXObject* third = Obj();
  struct Case {
    int whose;
    cXObject* owner;
    cXObject* party;
  };
  const Case cases[] = {{0, me, other}, {1, other, me}, {2, third, other}, {3, other, third}};
  for (const Case& c : cases) {
    EXPECT_EQ(RunRel(*me, Rel(1, 0, 1, c.whose, 0), other->GetId(), third->GetId(), 40 + c.whose), 1);
    EXPECT_EQ(c.owner->KeyedArrays().GetValue(c.party->GetId(), 0), 40 + c.whose) << "whose " << c.whose;
  }
  EXPECT_EQ(RunRel(*me, Rel(0, 0, 1, 4, 0), other->GetId()), 1000 + kErrNoStackObject);
  EXPECT_EQ(RunRel(*me, Rel(0, 0, 1, 0, 0), 0), 1000 + kErrNoStackObject);
  EXPECT_EQ(RunRel(*me, Rel(0, 0, 1, 2, 0), other->GetId(), 999), 1000 + kErrNoStackObject);
  EXPECT_EQ(RunRel(*me, Rel(0, 0, 4, 0, 0), other->GetId()), 1000 + kErrStackNumberOutOfRange)
      << "parameter 4 of four";
  EXPECT_FALSE(module.RefreshPending()) << "no neighbours involved";
}

TEST_F(RelationshipPrimitivesTest, TwoPersonsUseTheirNeighbourRecords) {
  auto* a = Obj<NeighbourPerson>();
  auto* b = Obj<NeighbourPerson>();
  a->neighbour = 12;
  b->neighbour = 13;
  EXPECT_EQ(RunRel(*a, Rel(1, 2, 1, 0, 0), b->GetId(), 0, 5), 1000 + kErrNoStackObject) << "no records yet";
  records.records[12];
  records.records[13];
  EXPECT_EQ(RunRel(*a, Rel(1, 2, 1, 0, 0), b->GetId(), 0, 5), 1);
  EXPECT_EQ(records.records[12].GetValue(13, 2), 5);
  EXPECT_EQ(a->KeyedArrays().GetSize(b->GetId()), 0) << "not in the object's own list";
  EXPECT_TRUE(module.RefreshPending());

  // The use-neighbours bit: the stack object id is a neighbour id.
  EXPECT_EQ(RunRel(*a, Rel(1, 1, 1, 0, 2), 13, 0, 8), 1);
  EXPECT_EQ(records.records[12].GetValue(13, 1), 8);
  EXPECT_EQ(RunRel(*a, Rel(1, 1, 1, 3, 2), 13, 12, 6), 1);
  EXPECT_EQ(records.records[13].GetValue(12, 1), 6);
  cXObject* plain = Obj();
  EXPECT_EQ(RunRel(*plain, Rel(0, 1, 1, 0, 2), 13), 1000 + kErrNotAPerson);
  EXPECT_EQ(RunRel(*plain, Rel(0, 1, 1, 2, 2), 13, 12), 1);
  EXPECT_EQ(plain->Temps()[6], 8) << "record 12 towards 13";
}

TEST_F(RelationshipPrimitivesTest, StackRelationshipThroughAVariable) {
  cXObject* me = Obj();
  cXObject* other = Obj();
  cXObject* third = Obj();
  me->Temps()[3] = 31;
  // Variable 1, whose 2 (the stack object towards local 0's object), write
  // from temp 3.
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 2, 4, 0, kOwnerTemp, 0, 3, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            1);
  EXPECT_EQ(other->KeyedArrays().GetValue(third->GetId(), 1), 31);
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 3, 0, 0, kOwnerTemp, 0, 5, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            1);
  EXPECT_EQ(me->Temps()[5], 0) << "whose 3 reads the third object's list, grown";
  EXPECT_EQ(third->KeyedArrays().GetSize(other->GetId()), 2);
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 2, 0, 0, kOwnerTemp, 0, 5, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            1);
  EXPECT_EQ(me->Temps()[5], 31);
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 2, 0, 0, kOwnerLiteral, 0, 5, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            1000 + kErrReadOnlyWrite);
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 2, 0, 2, kOwnerTemp, 0, 5, 0}), other->GetId()), 1051)
      << "local 2 of two";
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({1, 2, 1, 0, kOwnerTemp, 0, 5, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            1)
      << "large enough already";
  EXPECT_EQ(Prim(*me, "StackRelationship" + Bytes({9, 2, 1, 0, kOwnerTemp, 0, 5, 0}), other->GetId(), 0, 0, 0,
                 third->GetId()),
            0)
      << "fail if too small";
}

TEST_F(RelationshipPrimitivesTest, ARemovedPersonUpdatesItsRecord) {
  cXObject* me = Obj();
  auto* person = Obj<NeighbourPerson>();
  person->neighbour = 21;
  cXObject* plain = Obj();
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(1), plain->GetId()), 1);
  EXPECT_TRUE(records.updated.empty());
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(1), person->GetId()), 1);
  EXPECT_EQ(records.updated, std::vector<int16_t>{21});
}

}  // namespace
