// The catalogue's readers fed arbitrary bytes: 'OBJD' records (of any size),
// 'GLOB' names, 'TTAT' type attributes, 'objt' type tables, 'CARR' careers
// and the text tables (tuning table and careers table). Each must refuse or
// accept, never crash or read outside its data.
//
// The first byte picks the kind; the rest is the resource as stored. Built
// with -DCATALOG_SEED_MAIN this file is the program that writes the seeds.
#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/Careers.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/TextTable.h"
#include "gamedata/TuningImport.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"

namespace {

enum Kind : uint8_t { kObjd = 0, kGlob = 1, kTtat = 2, kObjt = 3, kCarr = 4, kText = 5, kKinds = 6 };

// A tuning host with one file, one tunable constant table and one tree table.
class CatalogHost : public tova::TuningHost, public tova::TuningFile {
 public:
  CatalogHost() {
    tova::TreeTableEntry e;
    e.motives.resize(16);
    table.entries.push_back(e);
  }
  std::vector<tova::TuningFile*> OpenObjectFiles() override { return {this}; }
  tova::TuningFile* FindObjectFile(const std::string& name) override { return name == "a" ? this : nullptr; }
  tova::TreeTableData* FindTreeTable(uint32_t guid, Lookup& result) override {
    result = guid == 1 ? Lookup::kFound : Lookup::kNoObject;
    return guid == 1 ? &table : nullptr;
  }
  std::vector<tova::TunedTable> ChangedTreeTables() override { return {}; }
  bool ReadStoredTreeTable(const tova::TunedTable&, tova::TreeTableData&) override { return false; }
  int WriteTreeTable(const tova::TunedTable&, const std::string&) override { return -1; }
  bool IsWritable(const tova::TunedTable&) override { return false; }
  std::string GetFileName() override { return "a"; }
  bool IsWritable() override { return false; }
  bool GetConstants(int16_t id, std::vector<int16_t>& values, bool& tunable) override {
    values.assign(static_cast<size_t>(id & 0x1FF), 0);
    tunable = true;
    return id != 0;
  }
  int WriteConstants(int16_t, const std::vector<int16_t>&) override { return -1; }
  void SetConstantOverride(int16_t, const std::vector<int16_t>&) override {}
  void DropConstantOverrides() override {}
  std::map<int16_t, std::vector<int16_t>> GetConstantOverrides() override { return {}; }

  tova::TreeTableData table;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1 << 20)) return 0;
  const uint8_t kind = data[0] % kKinds;
  const uint8_t* body = data + 1;
  const auto n = static_cast<int32_t>(size - 1);
  switch (kind) {
    case kObjd: {
      tova::ObjectDefinitionRecord r(body, n);
      int sum = 0;
      for (int i = 0; i < 32; ++i) sum += r.FunctionEntry(i) + r.GetField(i);
      return sum == 0x7FFFFFFF;
    }
    case kGlob:
      return tova::ParseGlobName(body, n).size() > 0x7FFFFFFF;
    case kTtat:
    case kObjt: {
      MemResFile file;
      file.AddStored(kind == kTtat ? TypeCode("TTAT") : TypeCode("objt"), kind == kTtat ? 1 : 0, body, n);
      tova::ObjectFolder folder;
      if (kind == kTtat) {
        folder.LoadTypeAttributes(file);
      } else {
        folder.LoadTypeTable(file);
      }
      return 0;
    }
    case kCarr: {
      MemHandle h = NewMemHandle(n);
      if (!h) return 0;
      std::copy(body, body + n, GetMemHandleData(h));
      tova::cCareer career;
      SimpleReconObject<tova::cCareer> record(&career, TypeCode("CARR"));
      if (ReconObject::ReadFromHandle(record, h) == 0) {
        // What was accepted writes back.
        MemHandle again = ReconObject::WriteToHandle(record, 0);
        DisposeMemHandle(again);
      }
      DisposeMemHandle(h);
      return 0;
    }
    default: {
      std::string text(reinterpret_cast<const char*>(body), static_cast<size_t>(n));
      tova::TextTable table;
      table.Parse(text);
      std::vector<tova::cCareer> careers;
      tova::ReadCareersTable(table, careers);
      CatalogHost host;
      std::string report;
      tova::ImportTuningTable(host, table, report);
      return 0;
    }
  }
}

#ifdef CATALOG_SEED_MAIN
#include <fstream>

namespace {
void Seed(const std::string& dir, const std::string& name, uint8_t kind, const std::string& bytes) {
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.put(static_cast<char>(kind));
  out << bytes;
}
std::string HandleBytes(MemHandle h) {
  std::string s(reinterpret_cast<const char*>(GetMemHandleData(h)), static_cast<size_t>(GetMemHandleSize(h)));
  DisposeMemHandle(h);
  return s;
}
}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  tova::ObjectDefinitionRecord r;
  r.SetGuid(0x7FD96B54);
  r.SetFunctionEntry(0, 4096);
  Seed(dir, "objd", kObjd, std::string(reinterpret_cast<const char*>(r.Data()), 216));
  Seed(dir, "glob", kGlob, std::string("\x05Seats", 6));

  tova::ObjectFolder folder;
  MemResFile file;
  folder.SaveTypeAttributes(file);
  std::vector<uint8_t> stored;
  file.GetStored(TypeCode("TTAT"), 1, stored);
  Seed(dir, "ttat", kTtat, std::string(stored.begin(), stored.end()));
  folder.SaveTypeTable(file);
  file.GetStored(TypeCode("objt"), 0, stored);
  Seed(dir, "objt", kObjt, std::string(stored.begin(), stored.end()));

  tova::cCareer career;
  career.name = "Cooking";
  career.levels.resize(2);
  career.levels[1].title = "Chef";
  SimpleReconObject<tova::cCareer> record(&career, TypeCode("CARR"));
  Seed(dir, "carr", kCarr, HandleBytes(ReconObject::WriteToHandle(record, 0)));
  Seed(dir, "tuning", kText, "x\tVersion 2\na\tads:1\n0\t1\tmax\t5\n\na\t12:c\n0\t3\n");
  return 0;
}
#endif
