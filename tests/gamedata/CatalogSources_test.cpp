// The content compiler's catalogue statements, compiled in-process.
#include <gtest/gtest.h>

#include <string>

#include "gamedata/CareerFile.h"
#include "gamedata/Careers.h"
#include "gamedata/CatalogStrings.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::ScratchDir;
using tova_test::WriteBytes;

ProgramRun Compile(const ScratchDir& dir, const std::string& source) {
  WriteBytes(dir / "a.res", source);
  return tova_test::CompileContent({"--out", (dir / "data").string(), (dir / "a.res").string()});
}

TEST(CatalogSources, ObjectCatalogueGlobAndCareerBlocks) {
  ScratchDir dir;
  const ProgramRun run = Compile(dir,
                    "file GameData/Objects/A.iff\n"
                    "object 130 \"Stool\"\n"
                    "  guid 0xC3249A1D   # above 2^31\n"
                    "  type 4\n"
                    "  price 025   # a leading zero is still decimal\n"
                    "  entry 29 4100\n"
                    "  word 98 -3\n"
                    "  shareattributes 0x10\n"
                    "end\n"
                    "catalog 130\n"
                    "  name \"Stool\"\n"
                    "  description \"Three legs.\"\n"
                    "end\n"
                    "catalog 131 legacy\n"
                    "  name \"Old\"\n"
                    "end\n"
                    "semiglobal 1\n"
                    "  \"Shared\"\n"
                    "end\n"
                    "career 5 \"Jobs\"\n"
                    "  name \"Music\"\n"
                    "  level pay=10 hours=10p-6a title=\"Busker\" values=1,2 hourly=3 text4=\"late\"\n"
                    "end\n");
  ASSERT_EQ(run.code, 0) << run.err;
  IFFResFile2 file;
  ASSERT_EQ(file.Open((dir / "data/GameData/Objects/A.iff").string()), 0);
  MemHandle h = file.GetResource(TypeCode("OBJD"), 130, nullptr);
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(GetMemHandleSize(h), 216);
  tova::ObjectDefinitionRecord r(GetMemHandleData(h), GetMemHandleSize(h));
  EXPECT_EQ(r.Guid(), 0xC3249A1Du);
  EXPECT_EQ(r.Word(tova::ObjectDefinitionRecord::kPrice), 25);
  EXPECT_EQ(r.FunctionEntry(29), 4100);
  EXPECT_EQ(r.Word(98), -3);
  EXPECT_EQ(r.Long(tova::ObjectDefinitionRecord::kSharedAttributesGuid), 0x10u);
  std::string label;
  file.GetLabel(h, label);
  EXPECT_EQ(label, "Stool");

  tova::CatalogStrings strings;
  ASSERT_TRUE(strings.Read(file, 130));
  EXPECT_EQ(strings.name, "Stool");
  EXPECT_EQ(strings.description, "Three legs.");
  EXPECT_NE(file.GetResource(TypeCode("CATS"), 131, nullptr), nullptr);

  MemHandle glob = file.GetResource(TypeCode("GLOB"), 1, nullptr);
  ASSERT_NE(glob, nullptr);
  EXPECT_EQ(tova::ParseGlobName(GetMemHandleData(glob), GetMemHandleSize(glob)), "Shared");

  tova::CareerList list;
  ASSERT_TRUE(tova::LoadCareersFrom(file, "/nonexistent.txt", list));
  const tova::cCareer* c = list.FindCareer(5);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "Music");
  ASSERT_EQ(c->levels.size(), 1u);
  EXPECT_EQ(c->levels[0].startHour, 22);
  EXPECT_EQ(c->levels[0].endHour, 6);
  EXPECT_EQ(c->levels[0].values[1], 2);
  EXPECT_EQ(c->levels[0].hourly[0], 3);
  EXPECT_EQ(c->levels[0].text4, "late");
}

TEST(CatalogSources, FaultsNameTheirLine) {
  ScratchDir dir;
  const struct {
    const char* source;
    const char* message;
  } cases[] = {
      {"file A.iff\nobject 1\n  colour 3\nend\n", "a.res:3: unknown object field 'colour'"},
      {"file A.iff\nobject 1\n  type 4\nend\n", "an object needs a guid"},
      {"file A.iff\nobject 1\n  guid 1\n", "a.res:2: missing end"},
      {"file A.iff\ncareer 1\n  level hours=nine\nend\n", "a.res:3: hours look like 9a-3p"},
      {"file A.iff\nsemiglobal 1\n  Shared\nend\n", "a semi-global block holds one quoted file name"},
      {"file A.iff\nobject 1\n  price --5\nend\n", "a.res:3: not a number: '--5'"},
      {"file A.iff\nobject 1\n  price 9x\nend\n", "a.res:3: not a number: '9x'"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Compile(dir, c.source);
    EXPECT_NE(run.code, 0) << c.source;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
