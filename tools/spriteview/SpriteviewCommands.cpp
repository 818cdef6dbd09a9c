#include "SpriteviewCommands.h"

namespace spriteview {

// Each sub-command's entry, defined in its own file.
int RunLightmap(int argc, char** argv);
int RunSheet(int argc, char** argv);
int RunShadows(int argc, char** argv);
int RunCompose(int argc, char** argv);

const Command kCommands[] = {
    {"lightmap", "--data ROOT --out DIR", RunLightmap},
    {"sheet", "--file FILE.iff [--default-palette PAL] --out OUT.png", RunSheet},
    {"shadows", "--data ROOT --zoom Z --out OUT.png", RunShadows},
    {"compose", "--file FILE.iff --scene SCENE.txt [--default-palette PAL] --out OUT.png", RunCompose},
    {nullptr, nullptr, nullptr},
};
const int kCommandCount = static_cast<int>(sizeof(kCommands) / sizeof(kCommands[0])) - 1;

}  // namespace spriteview
