#include "SpriteviewCommands.h"

namespace spriteview {

// Each sub-command's entry, defined in its own file.
int RunLightmap(int argc, char** argv);

const Command kCommands[] = {
    {"lightmap", "--data ROOT --out DIR", RunLightmap},
    {nullptr, nullptr, nullptr},
};
const int kCommandCount = static_cast<int>(sizeof(kCommands) / sizeof(kCommands[0])) - 1;

}  // namespace spriteview
