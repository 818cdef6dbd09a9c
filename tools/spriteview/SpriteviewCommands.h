// The sub-commands of spriteview. Each lives in a file of its own and takes
// the arguments after its name; it returns the program's exit code (0 done,
// 1 failure with the reason on stderr, 2 usage).
#pragma once

namespace spriteview {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);
};

// The table main() dispatches through; add one line per sub-command.
extern const Command kCommands[];
extern const int kCommandCount;

}  // namespace spriteview
