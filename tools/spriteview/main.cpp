// spriteview COMMAND ARGS...: draws one piece of the house renderer on its
// own, into PNG pictures, and prints what it drew. Run without arguments for
// the list of commands.
#include <cstdio>
#include <cstring>

#include "SpriteviewCommands.h"

int main(int argc, char** argv) {
  if (argc >= 2) {
    for (int i = 0; i < spriteview::kCommandCount; ++i) {
      const spriteview::Command& command = spriteview::kCommands[i];
      if (std::strcmp(argv[1], command.name) == 0) {
        return command.run(argc - 2, argv + 2);
      }
    }
    std::fprintf(stderr, "spriteview: unknown command \"%s\"\n", argv[1]);
  }
  std::fprintf(stderr, "usage:\n");
  for (int i = 0; i < spriteview::kCommandCount; ++i) {
    std::fprintf(stderr, "  spriteview %s %s\n", spriteview::kCommands[i].name,
                 spriteview::kCommands[i].usage);
  }
  return 2;
}
