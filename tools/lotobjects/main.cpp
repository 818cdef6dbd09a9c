// lotobjects --data ROOT (--size N | --load FILE) [--place GUID X Y [LEVEL [DIR]]]...
//            [--delete ID]... [--save FILE]
//
// Makes a new lot of N tiles (its automatic objects included) or loads one,
// places and deletes objects in the order given, and prints
//   place <guid> (<x>,<y>) L<level> -> id <id>      or  -> code <c>
//   object <id> "<name>" (<x>,<y>) L<level> dir <d> in <container>/<slot>
// (one line per object in list order), the grid check's lines and last
//   objects <n>
// --save writes the world's layers, the type table and the objects into one
// house file, put in place in one step.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/ObjectFolder.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ResStatus.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXMTObject.h"
#include "simulation/people/cXPerson.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: lotobjects --data ROOT (--size N | --load FILE) [--place GUID X Y [LEVEL [DIR]]]... "
               "[--delete ID]... [--save FILE]\n");
  return 2;
}

bool ParseNumber(const char* text, long long lo, long long hi, long long& out) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 0);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool IsNumber(const char* text) {
  long long v = 0;
  return ParseNumber(text, -0x7FFFFFFFLL, 0xFFFFFFFFLL, v);
}

struct Step {
  bool place = false;
  long long guid = 0, x = 0, y = 0, level = 1, direction = 0, id = 0;
};

// The house file's layers fit only a world of the size they were saved at:
// the first size whose world takes them is the lot's.
std::unique_ptr<cFixedWorld> LoadWorld(iResFile& file, int32_t version) {
  for (int32_t size = 4; size <= tova::kLotGridSize; ++size) {
    auto world = std::make_unique<cFixedWorld>(size);
    if (world->LoadLayers(file, version) == kResOK) return world;
  }
  return nullptr;
}

int Save(cFixedWorld& world, tova::ObjectModule& module, const std::string& path) {
  const std::string scratch = path + ".~lot";
  platform::DeleteFile(scratch);
  IFFResFile2 file;
  int32_t status = file.Create(scratch);
  if (status == kResOK) status = file.Open(scratch);
  if (status == kResOK) status = world.SaveLayers(file, tova::ObjectModule::kSaveVersion);
  if (status == kResOK) status = module.Save(file, tova::ObjectModule::kSaveVersion);
  const int32_t closed = file.IsOpen() ? file.Close() : kResOK;
  if (status == kResOK) status = closed;
  std::string error;
  if (status == kResOK) {
    std::ifstream in(scratch, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (!in || !platform::SaveFileAtomically(path, bytes.str(), &error)) status = kResBadData;
  }
  platform::DeleteFile(scratch);
  if (status != kResOK) std::fprintf(stderr, "lotobjects: cannot save %s (%d) %s\n", path.c_str(), status, error.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, load, save;
  long long size = 0;
  std::vector<Step> steps;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
      root = argv[++i];
    } else if (std::strcmp(argv[i], "--size") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 4, tova::kLotGridSize, size)) return Usage();
    } else if (std::strcmp(argv[i], "--load") == 0 && hasValue) {
      load = argv[++i];
    } else if (std::strcmp(argv[i], "--save") == 0 && hasValue) {
      save = argv[++i];
    } else if (std::strcmp(argv[i], "--delete") == 0 && hasValue) {
      Step s;
      if (!ParseNumber(argv[++i], 1, tova::ObjectModule::kMaxObjectId, s.id)) return Usage();
      steps.push_back(s);
    } else if (std::strcmp(argv[i], "--place") == 0 && i + 3 < argc) {
      Step s;
      s.place = true;
      if (!ParseNumber(argv[i + 1], 0, 0xFFFFFFFFLL, s.guid) || !ParseNumber(argv[i + 2], -1, 64, s.x) ||
          !ParseNumber(argv[i + 3], -1, 64, s.y)) {
        return Usage();
      }
      i += 3;
      if (i + 1 < argc && IsNumber(argv[i + 1])) {
        if (!ParseNumber(argv[++i], 0, 3, s.level)) return Usage();
        if (i + 1 < argc && IsNumber(argv[i + 1]) && !ParseNumber(argv[++i], 0, 7, s.direction)) return Usage();
      }
      steps.push_back(s);
    } else {
      return Usage();
    }
  }
  if (root.empty() || (size == 0) == load.empty()) return Usage();
  if (root.back() != '/' && root.back() != '\\') root += '/';

  // A lot may hold people: their definitions make persons.
  tova::cXPerson::Register();
  tova::ObjectFolder folder;
  folder.Init(root);
  tova::ObjectModule module(&folder);
  std::unique_ptr<cFixedWorld> world;
  std::vector<std::string> grid;
  if (!load.empty()) {
    IFFResFile2 file;
    if (file.Open(load) != kResOK) {
      std::fprintf(stderr, "lotobjects: cannot open %s\n", load.c_str());
      return 1;
    }
    world = LoadWorld(file, tova::ObjectModule::kSaveVersion);
    if (!world) {
      std::fprintf(stderr, "lotobjects: %s holds no lot layers\n", load.c_str());
      return 1;
    }
    cLotWorld lot(*world);
    module.SetLot(&lot, nullptr);
    const int status = module.Load(file, tova::ObjectModule::kSaveVersion, &grid);
    file.Close();
    if (status != 0) {
      std::fprintf(stderr, "lotobjects: the objects of %s cannot be read (%d)\n", load.c_str(), status);
      return 1;
    }
  } else {
    world = std::make_unique<cFixedWorld>(static_cast<int32_t>(size));
  }
  cLotWorld lot(*world);
  module.SetLot(&lot, nullptr);
  if (load.empty()) module.CreateAutomaticObjects();

  for (const Step& s : steps) {
    if (!s.place) {
      module.DeleteObject(static_cast<int16_t>(s.id));
      continue;
    }
    std::printf("place 0x%08llX (%lld,%lld) L%lld -> ", s.guid, s.x, s.y, s.level);
    tova::ObjectDefinition* definition = folder.FindByGUID(static_cast<uint32_t>(s.guid));
    const int16_t id = definition ? module.CreateObject(definition) : 0;
    tova::cXObject* o = module.GetObjectById(id);
    if (o == nullptr) {
      std::printf("code -1\n");
      continue;
    }
    // Every part of a group faces the same way; the offsets turn with it.
    std::vector<tova::cXObject*> group;
    o->GetGroup(group);
    for (tova::cXObject* part : group) part->SetData(tova::kDataDirection, static_cast<int16_t>(s.direction));
    if (o->IsGroupPart()) static_cast<tova::cXMTObject*>(o)->UpdateOffsets();
    const FinePoint point = TileLocation::At(static_cast<int32_t>(s.x), static_cast<int32_t>(s.y), 1).GetCenterPoint();
    const int32_t level = static_cast<int32_t>(s.level);
    if (!o->CanPlace(point, level, nullptr, 0)) {
      std::printf("code %d\n", tova::cXObject::PlaceFailureCode());
      module.DeleteObject(id);
      continue;
    }
    o->PlaceAndNotify(point, level, nullptr, 0);
    std::printf("id %d\n", id);
  }
  module.ProcessDeletions(false);
  if (load.empty()) grid = module.GridCheck();

  for (tova::cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
    const TileLocation t = o->GetTile();
    const bool on = o->IsOnLot();
    std::printf("object %d \"%s\" (%d,%d) L%d dir %d in %d/%d\n", o->GetId(),
                o->GetDefinition() ? o->GetDefinition()->GetName().c_str() : "", on ? t.x : -1, on ? t.y : -1,
                o->GetLevel(), o->GetData(tova::kDataDirection), o->GetData(tova::kDataContainer),
                o->GetData(tova::kDataSlotIndex));
  }
  for (const std::string& line : grid) std::printf("%s\n", line.c_str());
  std::printf("objects %d\n", module.ObjectCount());
  if (!save.empty() && Save(*world, module, save) != kResOK) return 1;
  return 0;
}
