// bhavasm: behaviour trees between readable text and their stored bytes.
//
//   bhavasm check SOURCE            assembles every tree, reports the first fault
//   bhavasm asm SOURCE OUTPUT       writes the one tree of SOURCE as raw bytes
//   bhavasm dis INPUT [ID [LABEL]]  prints the raw tree in INPUT as text
//
// Exit codes: 0 done, 1 bad input, 2 usage.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/BehaviorAssembler.h"

namespace {

int Usage() {
  std::cerr << "usage: bhavasm check SOURCE\n"
               "       bhavasm asm SOURCE OUTPUT\n"
               "       bhavasm dis INPUT [ID [LABEL]]\n";
  return 2;
}

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return static_cast<bool>(in) || in.eof();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  std::string input;
  if (!ReadFile(argv[2], input)) {
    std::cerr << "bhavasm: cannot read " << argv[2] << "\n";
    return 1;
  }
  try {
    if (command == "check" && argc == 3) {
      auto trees = tova::AssembleTrees(input);
      std::cout << trees.size() << (trees.size() == 1 ? " tree\n" : " trees\n");
      return 0;
    }
    if (command == "asm" && argc == 4) {
      auto trees = tova::AssembleTrees(input);
      if (trees.size() != 1) {
        std::cerr << "bhavasm: " << argv[2] << " holds " << trees.size() << " trees; raw output takes one\n";
        return 1;
      }
      // Written beside the target and moved over it, so a failure keeps the old file.
      const std::string temp = std::string(argv[3]) + ".tmp";
      {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(trees[0].bytes.data()),
                  static_cast<std::streamsize>(trees[0].bytes.size()));
        if (!out.flush()) {
          std::cerr << "bhavasm: cannot write " << temp << "\n";
          return 1;
        }
      }
      if (std::rename(temp.c_str(), argv[3]) != 0) {
        std::cerr << "bhavasm: cannot replace " << argv[3] << "\n";
        std::remove(temp.c_str());
        return 1;
      }
      return 0;
    }
    if (command == "dis" && argc >= 3 && argc <= 5) {
      int id = 0;
      if (argc >= 4) {
        std::istringstream number(argv[3]);
        if (!(number >> id) || id < -32768 || id > 32767) return Usage();
      }
      const std::string label = argc == 5 ? argv[4] : "";
      std::vector<uint8_t> bytes(input.begin(), input.end());
      std::cout << tova::DisassembleTree(static_cast<int16_t>(id), label, bytes);
      return 0;
    }
  } catch (const tova::AssemblyError& e) {
    std::cerr << "bhavasm: " << argv[2] << ": " << e.what() << "\n";
    return 1;
  }
  return Usage();
}
