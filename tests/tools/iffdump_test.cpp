// iffdump and bhavasm on resource files whose chunk chain is cut short.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "resfile/IFFResFile2.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;

uint32_t ReadBE32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 8 | static_cast<uint8_t>(b[at + 3]);
}

void WriteBE32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
}

// A sound 2.5 file of three resources, its bytes and the offset of each chunk.
struct Fixture {
  std::string bytes;
  std::vector<size_t> chunks;
};

Fixture MakeFile(const tova_test::ScratchDir& dir) {
  const std::string path = (dir / "made.iff").string();
  {
    IFFResFile2 f;
    EXPECT_EQ(f.Create(path), 0);
    EXPECT_EQ(f.Open(path), 0);
    for (int i = 0; i < 3; ++i) {
      MemHandle h = NewMemHandle(10);
      EXPECT_EQ(f.AddResource(h, TypeCode("TEXT"), static_cast<ResId>(i + 1), "t", true), 0);
      EXPECT_EQ(f.WriteResource(h), 0);
      f.ReleaseResource(h);
    }
    EXPECT_EQ(f.Close(), 0);
  }
  Fixture fx{tova_test::ReadBytes(dir / "made.iff"), {}};
  for (size_t at = 64; at + 8 <= fx.bytes.size(); at += ReadBE32(fx.bytes, at + 4)) fx.chunks.push_back(at);
  return fx;
}

struct Damage {
  const char* what;
  uint32_t size;  // of the second chunk
};

const Damage kDamage[] = {
    {"a chunk of size 0", 0},
    {"a chunk running past the end", 5000},
    {"a huge chunk", 0xFFFFFFF0u},
};

TEST(IffdumpTest, ReportsWhereTheChainStopsAndFails) {
  tova_test::ScratchDir dir;
  const Fixture fx = MakeFile(dir);
  ASSERT_GE(fx.chunks.size(), 3u);
  tova_test::WriteBytes(dir / "good.iff", fx.bytes);
  ProgramRun good = RunProgram("iffdump", {(dir / "good.iff").string()});
  EXPECT_EQ(good.code, 0) << good.err;
  EXPECT_EQ(good.err, "");

  for (const Damage& d : kDamage) {
    std::string bytes = fx.bytes;
    WriteBE32(bytes, fx.chunks[1] + 4, d.size);
    tova_test::WriteBytes(dir / "bad.iff", bytes);
    const std::string path = (dir / "bad.iff").string();
    ProgramRun run = RunProgram("iffdump", {path});
    EXPECT_EQ(run.code, 1) << d.what;
    const std::string expected = path + ": damaged: the chunk chain stops at offset " + std::to_string(fx.chunks[1]) +
                                 "; " + std::to_string(bytes.size() - fx.chunks[1]) +
                                 " bytes after it cannot be reached\n";
    EXPECT_EQ(run.err, expected) << d.what;
    EXPECT_NE(run.out.find("IFF 2.5"), std::string::npos) << d.what;  // what can be read is still listed
  }
}

TEST(IffdumpTest, BhavasmLeavesADamagedFileAlone) {
  tova_test::ScratchDir dir;
  const Fixture fx = MakeFile(dir);
  ASSERT_GE(fx.chunks.size(), 3u);
  tova_test::WriteBytes(dir / "tree.txt", "tree 4096 \"T\"\n  version 2\nn0: 2 0 0 0 0 -> true true\nend\n");
  for (const Damage& d : kDamage) {
    std::string bytes = fx.bytes;
    WriteBE32(bytes, fx.chunks[1] + 4, d.size);
    tova_test::WriteBytes(dir / "bad.iff", bytes);
    ProgramRun run = RunProgram("bhavasm", {"asm", (dir / "tree.txt").string(), (dir / "bad.iff").string()});
    EXPECT_EQ(run.code, 1) << d.what;
    EXPECT_NE(run.err.find("is damaged: its chunk chain stops at offset " + std::to_string(fx.chunks[1])),
              std::string::npos)
        << run.err;
    EXPECT_EQ(tova_test::ReadBytes(dir / "bad.iff"), bytes) << d.what;
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.iff.tmp"));
  }
  tova_test::WriteBytes(dir / "good.iff", fx.bytes);
  ProgramRun run = RunProgram("bhavasm", {"asm", (dir / "tree.txt").string(), (dir / "good.iff").string()});
  EXPECT_EQ(run.code, 0) << run.err;
}

}  // namespace
