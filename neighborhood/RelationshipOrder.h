// The order the relationship panel lists people in, and which person-data
// field each promotion requirement is measured by.
#pragma once

#include <cstdint>

struct RelationshipKey {
    bool inLotFamily = false;  // a member of the loaded lot's family
    bool onLot = false;        // standing on the loaded lot
    int32_t value = 0;         // the selected person's relationship value toward them
    int32_t index = 0;         // person-table index
};

// True when a comes before b: lot family first, then people on the lot, then
// the higher relationship, then the lower index.
bool RelationshipOrder(const RelationshipKey& a, const RelationshipKey& b);

// The number of the next level's requirement that a person-data field is
// measured against (fields 10, 11, 12, 15, 17, 18 give 1, 3, 2, 6, 4, 5);
// 0 for any other field.
int32_t PromotionRequirementOfField(int32_t field);
// The requirement when the field's value is below it, else 0.
int32_t GetPromotionNeed(int32_t field, int32_t fieldValue, const int32_t* requirements, int32_t requirementCount);
