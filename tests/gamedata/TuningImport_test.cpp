#include "gamedata/TuningImport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "gamedata/TextTable.h"
#include "support/ScratchDir.h"

namespace tova {
namespace {

class FakeFile : public TuningFile {
 public:
  explicit FakeFile(std::string name) : name_(std::move(name)) {}
  std::string GetFileName() override { return name_; }
  bool IsWritable() override { return writable; }
  bool GetConstants(int16_t id, std::vector<int16_t>& values, bool& tunable) override {
    auto it = tables.find(id);
    if (it == tables.end()) return false;
    values = it->second.values;
    tunable = it->second.tunable;
    return true;
  }
  int WriteConstants(int16_t id, const std::vector<int16_t>& values) override {
    tables[id] = {values, true};
    return 0;
  }
  void SetConstantOverride(int16_t id, const std::vector<int16_t>& list) override { overrides[id] = list; }
  void DropConstantOverrides() override { overrides.clear(); }
  std::map<int16_t, std::vector<int16_t>> GetConstantOverrides() override { return overrides; }

  struct Table {
    std::vector<int16_t> values;
    bool tunable = true;
  };
  std::map<int16_t, Table> tables;
  std::map<int16_t, std::vector<int16_t>> overrides;
  bool writable = true;

 private:
  std::string name_;
};

class FakeHost : public TuningHost {
 public:
  FakeHost() {
    TreeTableEntry e;
    e.nameIndex = 0;
    e.motives.resize(16);
    e.motives[6].base = 10;
    table.entries.push_back(e);
    e.nameIndex = 4;
    table.entries.push_back(e);
    stored = table;
  }
  std::vector<TuningFile*> OpenObjectFiles() override { return {&chair}; }
  TuningFile* FindObjectFile(const std::string& name) override {
    return (name == "Chair.iff" || name == "Objects\\Chair.iff") ? &chair : nullptr;
  }
  TreeTableData* FindTreeTable(uint32_t guid, Lookup& result) override {
    if (guid == 3000000000u) {
      result = Lookup::kFound;
      return &table;
    }
    result = guid == 7 ? Lookup::kNoTable : Lookup::kNoObject;
    return nullptr;
  }
  std::vector<TunedTable> ChangedTreeTables() override {
    if (!table.changed) return {};
    return {TunedTable{&table, "Chair", "Chair.iff", 4096, nullptr}};
  }
  bool ReadStoredTreeTable(const TunedTable&, TreeTableData& out) override {
    out = stored;
    return true;
  }
  int WriteTreeTable(const TunedTable&, const std::string& label) override {
    writtenLabel = label;
    stored = table;
    return 0;
  }
  bool IsWritable(const TunedTable&) override { return tableWritable; }

  FakeFile chair{"Chair.iff"};
  TreeTableData table;
  TreeTableData stored;
  std::string writtenLabel;
  bool tableWritable = true;
};

int Import(FakeHost& host, const std::string& text, std::string& report) {
  TextTable t;
  t.Parse(text);
  return ImportTuningTable(host, t, report);
}

TEST(TuningImport, HeaderChecksWithTheirMessages) {
  const struct {
    const char* text;
    int result;
    const char* report;
  } cases[] = {
      {"only one column\n", -1, "Not enough columns in the text file.\n"},
      {"x\tVersoin 3\n", -1, "Could not read version header.\n"},
      {"x\tVersion 1\n", -1, "Version is too old, must be 2 or greater.\n"},
      {"x\tVersion 3\n", 0, ""},
  };
  for (const auto& c : cases) {
    FakeHost host;
    host.chair.overrides[5] = {1, 2};
    std::string report;
    EXPECT_EQ(Import(host, c.text, report), c.result) << c.text;
    EXPECT_EQ(report, c.report) << c.text;
    // A bad header leaves the files untouched.
    EXPECT_EQ(host.chair.overrides.empty(), c.result == 0) << c.text;
  }
}

TEST(TuningImport, MissingFileIsReported) {
  FakeHost host;
  std::string report;
  EXPECT_EQ(ImportTuning(host, "/nonexistent/GameData/Tuning.txt", report), -1);
  EXPECT_EQ(report, "File not found : /nonexistent/GameData/Tuning.txt");
}

TEST(TuningImport, ReadsTheFileFromDisk) {
  tova_test::ScratchDir dir;
  tova_test::WriteBytes(dir / "Tuning.txt", "x\tVersion 2\r\nChair.iff\t4096:c\r\n0\t5\r\n");
  FakeHost host;
  host.chair.tables[4096] = {{1, 2, 3}, true};
  std::string report;
  EXPECT_EQ(ImportTuning(host, (dir / "Tuning.txt").string(), report), 0);
  EXPECT_EQ(report, "");
  EXPECT_EQ(host.chair.overrides[4096], (std::vector<int16_t>{3, 5, 2, 3}));
}

TEST(TuningImport, ConstantsBlockWithIndexEqualToCount) {
  FakeHost host;
  host.chair.tables[4096] = {{1, 2, 3}, true};
  std::string report;
  ASSERT_EQ(Import(host, "x\tVersion 2\nChair.iff\t4096:consts\n0\t10\n3\t99\n2\t30\n", report), 0);
  EXPECT_EQ(report, "Index exceeds programmed index count. (line 3, col 0, text:\"3\")\n");
  EXPECT_EQ(host.chair.overrides[4096], (std::vector<int16_t>{3, 10, 2, 30}));
}

TEST(TuningImport, BlankLineEndsABlock) {
  FakeHost host;
  host.chair.tables[4096] = {{1, 2}, true};
  std::string report;
  // After the blank line "1 7" starts a new block naming an unknown file.
  ASSERT_EQ(Import(host, "x\tVersion 2\nChair.iff\t4096:c\n0\t5\n\n1\t7\n", report), 0);
  EXPECT_EQ(host.chair.overrides[4096], (std::vector<int16_t>{2, 5, 2}));
  EXPECT_EQ(report, "Object file not found. (line 4, col 0, text:\"1\")\n");
}

TEST(TuningImport, ConstantsBlockErrors) {
  FakeHost host;
  host.chair.tables[1] = {{1}, false};
  host.chair.tables[2] = {std::vector<int16_t>(300, 0), true};
  host.chair.tables[3] = {{1}, true};
  std::string report;
  Import(host,
         "x\tVersion 2\n"
         "Chair.iff\tnocolon\n\n"
         "Chair.iff\tzero:\n\n"
         "Chair.iff\t9:absent\n\n"
         "Chair.iff\t1:fixed\n\n"
         "Chair.iff\t2:big\n\n"
         "Chair.iff\t3:empty\n\n",
         report);
  EXPECT_EQ(report,
            "Colon separator not found. (line 1, col 1, text:\"nocolon\")\n"
            "Could not parse constants id. (line 3, col 1, text:\"zero:\")\n"
            "Constants of given id do not exist. (line 5, col 1, text:\"9:absent\")\n"
            "Constants of given id are not marked as tunable. (line 7, col 1, text:\"1:fixed\")\n"
            "Temporary storage not large enough. (line 9, col 1, text:\"2:big\")\n"
            "Empty constants set found. (line 12, col 0, text:\"\")\n");
  EXPECT_TRUE(host.chair.overrides.empty());
}

TEST(TuningImport, AdvertisementsChangeTheTreeTable) {
  FakeHost host;
  std::string report;
  ASSERT_EQ(Import(host,
                   "x\tVersion 2\n"
                   "Chair.iff\tads:3000000000\n"
                   "4\t7\tmax\t60\n"
                   "4\t7\tmod\t33\n"
                   "0\t1\tatt\tHIGH\n"
                   "9\t1\tmax\t1\n"
                   "0\t10\tmax\t1\n"
                   "0\t1\tmod\t29\n"
                   "0\t1\tatt\tloud\n"
                   "0\t1\tmin\t1\n",
                   report),
            0);
  EXPECT_TRUE(host.table.changed);
  const TreeTableEntry& e = host.table.entries[1];
  EXPECT_EQ(e.motives[3].range, 60);  // motive 7 is slot 3
  EXPECT_EQ(e.motives[3].modifier, 4);
  EXPECT_EQ(host.table.entries[0].attenuationCode, 4);
  EXPECT_EQ(report,
            "Tree table entry not found. (line 5, col 0, text:\"9\")\n"
            "Invalid motive specified. (line 6, col 1, text:\"10\")\n"
            "Invalid advertisement specified. (line 7, col 3, text:\"29\")\n"
            "Invalid attenuation specified. (line 8, col 3, text:\"loud\")\n"
            "Invalid constant type specified. (line 9, col 2, text:\"min\")\n");
}

TEST(TuningImport, HugeNumbersInAdvertisementRows) {
  const struct {
    const char* motive;
    const char* max;
    int16_t base;
    int16_t range;  // of motive 7's slot; unchanged (0) when the row is refused
    const char* report;
  } cases[] = {
      {"7", "99999999999999999999", -10, INT16_MAX, ""},
      {"7", "40000", 0, INT16_MAX, ""},
      {"7", "-40000", 5, INT16_MIN, ""},
      {"7", "-99999999999999999999", 5, INT16_MIN, ""},
      // 2^32 + 7 is no motive number, not motive 7.
      {"4294967303", "1", 0, 0, "Invalid motive specified. (line 2, col 1, text:\"4294967303\")\n"},
  };
  for (const auto& c : cases) {
    FakeHost host;
    host.table.entries[1].motives[3].base = c.base;
    std::string report;
    Import(host, std::string("x\tVersion 2\nChair.iff\tads:3000000000\n4\t") + c.motive + "\tmax\t" + c.max + "\n",
           report);
    EXPECT_EQ(report, c.report) << c.max;
    EXPECT_EQ(host.table.entries[1].motives[3].range, c.range) << c.max;
  }
}

TEST(TuningImport, AdvertisementBlockErrors) {
  FakeHost host;
  std::string report;
  Import(host, "x\tVersion 2\nChair.iff\tads:abc\n\nChair.iff\tads:12\n\nChair.iff\tads:7\n4\t1\tmax\t1\n", report);
  EXPECT_EQ(report,
            "Could not parse guid. (line 1, col 1, text:\"ads:abc\")\n"
            "Could not find object with guid. (line 3, col 1, text:\"ads:12\")\n"
            "Tree table not found for given object. (line 5, col 1, text:\"ads:7\")\n");
}

TEST(TuningImport, SaveWritesOnlyWhatDiffers) {
  FakeHost host;
  host.chair.tables[4096] = {{1, 2}, true};
  host.chair.tables[4097] = {{1, 2}, true};
  std::string report;
  Import(host, "x\tVersion 2\nChair.iff\tads:3000000000\n4\t7\tmax\t60\n\nChair.iff\t4096:c\n0\t9\n\nChair.iff\t4097:c\n0\t1\n",
         report);
  ASSERT_EQ(report, "");
  SaveTuning(host, report);
  EXPECT_EQ(report,
            "Saved differences for tree table Chair.iff, id 4096\n"
            "Wrote constants Chair.iff, id 4096\n");
  EXPECT_EQ(host.writtenLabel, "Chair tree table");
  EXPECT_EQ(host.chair.tables[4096].values, (std::vector<int16_t>{9, 2}));

  // Nothing differs any more; on read-only files differences are only reported.
  report.clear();
  SaveTuning(host, report);
  EXPECT_EQ(report, "");
  host.table.entries[1].motives[3].range = 1;
  host.tableWritable = false;
  host.chair.writable = false;
  host.chair.overrides[4097] = {2, 5, 5};
  SaveTuning(host, report);
  EXPECT_EQ(report,
            "Differences found in read-only tree table Chair.iff, id 4096\n"
            "Read-only constants are different Chair.iff, id 4097\n");
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(TuningImport, AdvertisementRowWithoutTypeColumn) {
  FakeHost host;
  std::string report;
  // The widest row has two columns: the type and value cells do not exist.
  TextTable t;
  t.Parse("x\tVersion 2\nChair.iff\tads:3000000000\n4\t7\n");
  ASSERT_EQ(ImportTuningTable(host, t, report), 0);
  EXPECT_EQ(report, "Invalid constant type specified. (line 2, col 2, text:\"\")\n");
}

}  // namespace
}  // namespace tova
