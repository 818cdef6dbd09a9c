// treedump --data ROOT FILE [ID]
//
// Loads the catalogue of ROOT and prints every tree of FILE (a path under
// ROOT), or only tree ID:
//   tree <id> "<label>"
//     <i>: <text> -> <true> <false>
// where an exit is a node number, "true", "false" or "undefined", and a node
// that never takes its false exit prints its true exit only. The texts come
// from ROOT's GameData/behavior.iff.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "simulation/TreeTableServices.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: treedump --data ROOT FILE [ID]\n");
  return 2;
}

std::string Exit(uint8_t target) {
  switch (target) {
    case tova::kTargetTrue: return "true";
    case tova::kTargetFalse: return "false";
    case tova::kTargetUndefined: return "undefined";
    default: return std::to_string(target);
  }
}

// Separators and case do not matter when naming the file.
std::string Normal(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  while (path.size() > 2 && path.compare(0, 2, "./") == 0) path.erase(0, 2);
  // Object files open as chains under their base name.
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && path.find('/', dot) == std::string::npos) path.erase(dot);
  return path;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      root = argv[++i];
    } else if (argv[i][0] == '-' && argv[i][1] != '\0' && !(argv[i][1] >= '0' && argv[i][1] <= '9')) {
      return Usage();
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (root.empty() || rest.empty() || rest.size() > 2) return Usage();
  long only = 0;
  if (rest.size() == 2) {
    char* end = nullptr;
    only = std::strtol(rest[1].c_str(), &end, 0);
    if (end == rest[1].c_str() || *end != '\0' || only < 256 || only > 32767) return Usage();
  }
  if (root.back() != '/' && root.back() != '\\') root += '/';

  IFFResFile2 behaviorFile;
  const bool haveTexts = behaviorFile.Open(root + "GameData/behavior.iff") == 0;
  if (!haveTexts) std::fprintf(stderr, "treedump: no GameData/behavior.iff in %s; primitives are unnamed\n", root.c_str());
  // The catalogue uses its services until it is gone: they outlive it.
  std::unique_ptr<tova::TreeTableServices> services;
  tova::ObjectFolder folder;
  services = std::make_unique<tova::TreeTableServices>(haveTexts ? &behaviorFile : nullptr, &folder);
  folder.SetServices(services.get());
  folder.Init(root);

  const std::string wanted = "/" + Normal(rest[0]);
  tova::ObjectDefinition* definition = nullptr;
  for (int i = 0; i < folder.GetDefinitionCount() && !definition; ++i) {
    tova::ObjectDefinition* d = folder.GetDefinition(i);
    iResFile* file = d ? d->GetOwnFile() : nullptr;
    std::string path;
    if (file) file->GetPath(path);
    if (file && EndsWith("/" + Normal(path), wanted)) definition = d;
  }
  if (!definition || !definition->GetBehavior()) {
    std::fprintf(stderr, "treedump: %s is not an object file of the catalogue in %s\n", rest[0].c_str(), root.c_str());
    return 1;
  }
  const tova::Behavior& behavior = *definition->GetBehavior();
  iResFile& file = *definition->GetOwnFile();
  const tova::XObjLang& text = services->Text();

  std::vector<int16_t> ids;
  const int count = file.CountResources(tova::kTypeBHAV);
  for (int i = 1; i <= count; ++i) {
    MemHandle h = file.GetIndexedResource(tova::kTypeBHAV, i, text.TreeSwapRoutine());
    ResId id = 0;
    if (h && file.GetId(h, id) == 0 && (only == 0 || id == only)) ids.push_back(id);
  }
  if (only != 0 && ids.empty()) {
    std::fprintf(stderr, "treedump: no tree %ld in %s\n", only, rest[0].c_str());
    return 1;
  }
  int damaged = 0;
  for (int16_t id : ids) {
    std::printf("tree %d \"%s\"\n", id, behavior.GetTreeName(id).c_str());
    tova::TreeView tree = behavior.GetTree(id);
    if (!tree) {
      std::printf("  (not a tree that can be run)\n");
      ++damaged;
      continue;
    }
    for (int n = 0; n < tree.NodeCount(); ++n) {
      tova::TreeNode node = tree.Node(n);
      std::string line = "  " + std::to_string(n) + ": " + text.DescribeNode(behavior, id, node) + " -> " +
                         Exit(node.TrueTarget());
      if (!tova::XObjLang::IsSingleExitNode(node)) line += " " + Exit(node.FalseTarget());
      std::printf("%s\n", line.c_str());
    }
  }
  return damaged ? 1 : 0;
}
