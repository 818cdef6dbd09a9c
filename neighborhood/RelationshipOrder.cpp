#include "neighborhood/RelationshipOrder.h"

bool RelationshipOrder(const RelationshipKey& a, const RelationshipKey& b) {
    if (a.inLotFamily != b.inLotFamily) return a.inLotFamily;
    if (a.onLot != b.onLot) return a.onLot;
    if (a.value != b.value) return a.value > b.value;
    return a.index < b.index;
}

int32_t PromotionRequirementOfField(int32_t field) {
    switch (field) {
        case 10: return 1;
        case 11: return 3;
        case 12: return 2;
        case 15: return 6;
        case 17: return 4;
        case 18: return 5;
        default: return 0;
    }
}

int32_t GetPromotionNeed(int32_t field, int32_t fieldValue, const int32_t* requirements, int32_t requirementCount) {
    const int32_t which = PromotionRequirementOfField(field);
    if (which == 0 || !requirements || which >= requirementCount) return 0;
    const int32_t need = requirements[which];
    return fieldValue < need ? need : 0;
}
