#include "gamedata/GlobalContext.h"

namespace tova {

GlobalContext* gGlobalContext = nullptr;

}  // namespace tova
