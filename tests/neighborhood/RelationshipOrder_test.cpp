#include "neighborhood/RelationshipOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(RelationshipOrder, FamilyThenLotThenValueThenIndex) {
    std::vector<RelationshipKey> people = {
        {false, false, 90, 0},  // outsider with the highest relationship
        {false, true, 10, 1},   // visitor on the lot
        {true, true, 5, 2},     // lot family
        {false, false, 40, 3},
        {false, false, 40, 4},
        {true, false, 50, 5},   // lot family away
    };
    std::sort(people.begin(), people.end(), RelationshipOrder);
    std::vector<int32_t> order;
    for (const auto& p : people) order.push_back(p.index);
    EXPECT_EQ(order, (std::vector<int32_t>{2, 5, 1, 0, 3, 4}));
}

TEST(PromotionNeed, FieldsMapToTheirRequirements) {
    const int32_t requirements[7] = {0, 11, 22, 33, 44, 55, 66};
    struct Case {
        int32_t field, value, need;
    };
    for (const Case& c : std::vector<Case>{{10, 0, 11}, {11, 0, 33}, {12, 0, 22}, {15, 0, 66}, {17, 0, 44}, {18, 0, 55},
                                           {18, 55, 0}, {18, 54, 55}, {13, 0, 0}, {9, 0, 0}}) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(GetPromotionNeed(c.field, c.value, requirements, 7), c.need);
    }
    EXPECT_EQ(GetPromotionNeed(15, 0, requirements, 6), 0);  // a short table is not read past
}

}  // namespace
