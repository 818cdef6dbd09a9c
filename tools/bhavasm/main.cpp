// bhavasm: behaviour trees between readable text and their stored bytes.
//
//   bhavasm check SOURCE            assembles every tree, reports the first fault
//   bhavasm asm SOURCE OUTPUT       OUTPUT.iff: adds every tree of SOURCE to that
//                                   resource file (made when missing), replacing
//                                   trees of the same id; a file whose chunk
//                                   chain is damaged is left alone; any other name: writes
//                                   the one tree of SOURCE as raw bytes
//   bhavasm dis INPUT [ID [LABEL]]  INPUT.iff: prints its trees (or tree ID);
//                                   any other name: prints the raw tree in it
//
// Exit codes: 0 done, 1 bad input, 2 usage.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/Behavior.h"
#include "platform/File.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ResFileSource.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"

namespace {

namespace fs = std::filesystem;

int Usage() {
  std::cerr << "usage: bhavasm check SOURCE\n"
               "       bhavasm asm SOURCE OUTPUT\n"
               "       bhavasm dis INPUT [ID [LABEL]]\n";
  return 2;
}

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out = platform::ReadRest(in);
  return true;
}

bool IsResourceFile(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".iff";
}

// Replaces `target` with what `fill` writes into a temporary copy of it, so a
// failure leaves the old file whole.
template <typename Fill>
int ReplaceFile(const std::string& target, Fill fill) {
  const std::string temp = target + ".tmp";
  std::error_code ec;
  fs::remove(temp, ec);  // a stale one from an earlier failure
  if (fs::exists(target)) fs::copy_file(target, temp, ec);
  if (ec) {
    std::cerr << "bhavasm: cannot copy " << target << ": " << ec.message() << "\n";
    return 1;
  }
  const int status = fill(temp);
  if (status != 0) {
    fs::remove(temp, ec);
    return status;
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::cerr << "bhavasm: cannot replace " << target << ": " << ec.message() << "\n";
    fs::remove(temp, ec);
    return 1;
  }
  return 0;
}

int AssembleInto(const std::string& source, const std::string& output, const std::vector<tova::AssembledTree>& trees) {
  if (IsResourceFile(output)) {
    return ReplaceFile(output, [&](const std::string& path) {
      IFFResFile2 file;
      int status = file.OpenWithFlags(path, iResFile::kOpenCreateMissing);
      // Resources behind a break in the chain are reached only through the
      // old map: writing a new one would lose them for good.
      if (status == 0 && file.ChainEnd() < file.GetLength()) {
        std::cerr << "bhavasm: " << output << " is damaged: its chunk chain stops at offset " << file.ChainEnd()
                  << " with " << file.GetLength() - file.ChainEnd() << " bytes after it; nothing written\n";
        file.Close();
        return 1;
      }
      tova::ResFileSource target(&file);
      for (const tova::AssembledTree& t : trees) {
        if (status == 0) status = tova::WriteTree(target, t.id, t.label, t.bytes);
      }
      const int closed = file.Close();
      if (status == 0) status = closed;
      if (status != 0) std::cerr << "bhavasm: writing " << output << " failed with status " << status << "\n";
      return status != 0 ? 1 : 0;
    });
  }
  if (trees.size() != 1) {
    std::cerr << "bhavasm: " << source << " holds " << trees.size() << " trees; raw output takes one\n";
    return 1;
  }
  return ReplaceFile(output, [&](const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(trees[0].bytes.data()), static_cast<std::streamsize>(trees[0].bytes.size()));
    if (out.flush()) return 0;
    std::cerr << "bhavasm: cannot write " << path << "\n";
    return 1;
  });
}

int PrintResourceFile(const std::string& input, bool one, int16_t only) {
  IFFResFile2 file;
  if (file.Open(input) != 0) {
    std::cerr << "bhavasm: cannot open " << input << " (status " << file.GetError() << ")\n";
    return 1;
  }
  int status = 0;
  bool found = false;
  const int count = file.CountResources(tova::kTypeBHAV);
  for (int i = 1; i <= count; ++i) {
    MemHandle h = file.GetIndexedResource(tova::kTypeBHAV, i, tova::SwapTreeStandard);
    ResId id = 0;
    if (!h || file.GetId(h, id) != 0) {
      if (!one) {
        std::cerr << "bhavasm: " << input << ": tree number " << i << " cannot be read (status " << file.GetError()
                  << ")\n";
        status = 1;
      }
      continue;
    }
    if (one && id != only) continue;
    found = true;
    std::string label;
    file.GetLabel(h, label);
    const int32_t size = GetMemHandleSize(h);
    try {
      std::cout << tova::DisassembleTree(id, label, {GetMemHandleData(h), size > 0 ? static_cast<size_t>(size) : 0});
    } catch (const tova::AssemblyError& e) {
      std::cerr << "bhavasm: " << input << ": " << e.what() << "\n";
      status = 1;
    }
  }
  if (one && !found) {
    std::cerr << "bhavasm: " << input << " has no tree " << only << "\n";
    return 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::string input = argv[2];
  int16_t id = 0;
  if (command == "dis" && argc >= 4) {
    std::istringstream number(argv[3]);
    int v = 0;
    if (!(number >> v) || !number.eof() || v < -32768 || v > 32767) return Usage();
    id = static_cast<int16_t>(v);
  }
  if (command == "dis" && argc <= 5 && IsResourceFile(input)) return PrintResourceFile(input, argc >= 4, id);
  std::string text;
  if (!ReadFile(input, text)) {
    std::cerr << "bhavasm: cannot read " << input << "\n";
    return 1;
  }
  try {
    if (command == "check" && argc == 3) {
      auto trees = tova::AssembleTrees(text);
      std::cout << trees.size() << (trees.size() == 1 ? " tree\n" : " trees\n");
      return 0;
    }
    if (command == "asm" && argc == 4) return AssembleInto(input, argv[3], tova::AssembleTrees(text));
    if (command == "dis" && argc <= 5) {
      std::vector<uint8_t> bytes(text.begin(), text.end());
      std::cout << tova::DisassembleTree(id, argc == 5 ? argv[4] : "", bytes);
      return 0;
    }
  } catch (const tova::AssemblyError& e) {
    std::cerr << "bhavasm: " << input << ": " << e.what() << "\n";
    return 1;
  }
  return Usage();
}
