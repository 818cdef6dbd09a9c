// catalog_dump [--data ROOT]
//
// Loads the object catalogue of a data root (default: the working folder)
// and prints one line per definition: GUID, name, folder kind, object type
// and the function-table tree ids; then one line per career and the tuning
// report.
#include <cstdio>
#include <cstring>
#include <string>

#include "gamedata/Careers.h"
#include "gamedata/ObjectFolder.h"

namespace {

const char* KindName(int kind) {
  static const char* const kNames[] = {"objects", "characters", "downloads", "userobjects"};
  return kind >= 0 && kind < 4 ? kNames[kind] : "?";
}

}  // namespace

int main(int argc, char** argv) {
  std::string root = ".";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      root = argv[++i];
    } else {
      std::fprintf(stderr, "usage: catalog_dump [--data ROOT]\n");
      return 2;
    }
  }
  if (!root.empty() && root.back() != '/' && root.back() != '\\') root += '/';

  tova::ObjectFolder folder;
  folder.Init(root);
  std::printf("%d definitions\n", folder.GetDefinitionCount());
  for (int i = 0; i < folder.GetDefinitionCount(); ++i) {
    tova::ObjectDefinition* d = folder.GetDefinition(i);
    std::printf("0x%08X\t%s\t%s\t%d\t", d->GetGUID(), d->GetName().c_str(), KindName(d->GetKind()),
                d->GetRecord().ObjectType());
    const std::vector<tova::ObjFnTable::Entry>& fn = d->GetFunctionTable().Entries();
    for (size_t n = 0; n < fn.size(); ++n) std::printf("%s%d", n ? " " : "", fn[n].treeId);
    std::printf("\n");
  }
  for (const tova::cCareer& c : tova::CareerList::Instance().Careers()) {
    std::printf("career %d\t%s\t%zu levels\n", c.id, c.name.c_str(), c.levels.size());
  }
  const std::string& report = folder.GetTuningReport();
  std::printf("Tuning report:\n%s", report.empty() ? "(no problems)\n" : report.c_str());
  if (!report.empty() && report.back() != '\n') std::printf("\n");
  return 0;
}
