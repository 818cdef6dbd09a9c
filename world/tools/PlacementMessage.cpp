#include "world/tools/PlacementMessage.h"

std::string PlacementMessageText(int32_t code, int32_t value) {
    switch (code) {
        case 0: return {};
        case 1: return "You can only build on the lot";
        case 6: return "There is no wall here";
        case 11: return "Something is in the way";
        case 17: return "The ground is not level";
        case 25: return "Not enough money";
        case 26: return "Cost " + std::to_string(value);
        case 29: return "The pool is in the way";
        case 32: return "There is nothing to build on";
        case 34: return "There is no wall here on this floor";
        case 35: return "An object in the wall cannot be removed";
        case 46: return "Fences take no wallpaper";
        default: return "You cannot build here (" + std::to_string(code) + ")";
    }
}
