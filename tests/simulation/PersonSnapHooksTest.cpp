// What the object primitives ask of a live person through their hooks: the
// snap's measured move and placed marks kept in its animation, and whether
// it is a visitor.
#include <gtest/gtest.h>

#include "PersonFixture.h"
#include "simulation/CreationPrimitives.h"
#include "simulation/PlacementPrimitives.h"

namespace tova_test {
namespace {

class PersonHooks : public PersonFixture {};

TEST_F(PersonHooks, TheSnapsFiguresLandInTheAnimation) {
  cXPerson* p = MakePerson();
  iSnapPerson& hook = *p;
  hook.SetSnapOffsets(-16.0f, 8.0f, 2.0f);
  EXPECT_EQ(p->Animator().offset[0], -16.0f);
  EXPECT_EQ(p->Animator().offset[1], 8.0f);
  EXPECT_EQ(p->Animator().offset[2], 2.0f);
  p->Animator().grid[0] = 40.0f;
  hook.SetPlacedMarks(-999.0f, -999.0f, -999.0f);
  for (float v : p->Animator().grid) EXPECT_EQ(v, PersonAnimator::kNoPosition);
}

TEST_F(PersonHooks, AVisitorIsKnownByItsPersonWord) {
  cXPerson* p = MakePerson();
  const iVisitorMark& mark = *p;
  EXPECT_FALSE(mark.IsVisitor());
  p->SetWord(kPersonVisitor, 1);
  EXPECT_TRUE(mark.IsVisitor());
  // A plain object is no person to ask.
  EXPECT_EQ(dynamic_cast<iVisitorMark*>(MakeThing()), nullptr);
}

}  // namespace
}  // namespace tova_test
