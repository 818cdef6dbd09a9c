#include "platform/PatchFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"

using namespace platform;

namespace {

PatchTarget MakeTarget(const std::string& name, const std::string& oldBytes, const std::string& newBytes) {
  PatchTarget t;
  t.name = name;
  t.oldSize = oldBytes.size();
  t.newSize = newBytes.size();
  std::string error;
  EXPECT_TRUE(MakePatchFrame(oldBytes, newBytes, t.frame, error)) << error;
  return t;
}

std::string Sample(int seed, size_t size) {
  std::string s(size, '\0');
  uint32_t x = static_cast<uint32_t>(seed) * 2654435761u + 1;
  for (char& c : s) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>('a' + (x >> 27) % 16);
  }
  return s;
}

std::vector<std::pair<int, std::string>> gCalls;

void* Record(int32_t id, void* data) {
  std::string detail;
  if (id == 7 || id == 4) detail = static_cast<const char*>(data);
  if (id == 6) detail = std::to_string(*static_cast<uint32_t*>(data));
  if (id == 5) detail = std::to_string(*static_cast<uint16_t*>(data));
  gCalls.emplace_back(id, detail);
  return nullptr;
}

}  // namespace

TEST(PatchFile, TurnsTheOldFileIntoTheNewOneAndIsSmallForSmallChanges) {
  const std::string oldBytes = Sample(1, 200000);
  std::string newBytes = oldBytes;
  newBytes.replace(1000, 5, "HELLO");
  newBytes += "tail";
  const PatchTarget t = MakeTarget("data.bin", oldBytes, newBytes);
  EXPECT_LT(t.frame.size(), 2000u);
  std::vector<PatchTarget> read;
  std::string error;
  ASSERT_TRUE(ReadPatchFile(WritePatchFile({t}), read, error)) << error;
  ASSERT_EQ(read.size(), 1u);
  std::string made;
  ASSERT_TRUE(ApplyPatchFrame(oldBytes, read[0], made, error)) << error;
  EXPECT_EQ(made, newBytes);
  // Another old file is refused, never patched into nonsense.
  EXPECT_FALSE(ApplyPatchFrame(oldBytes + "x", read[0], made, error));
  EXPECT_FALSE(ApplyPatchFrame(Sample(2, oldBytes.size()), read[0], made, error));
}

TEST(PatchFile, RefusesDamagedFilesAndUnsafeNames) {
  const std::string good = WritePatchFile({MakeTarget("a.txt", "old", "new")});
  std::vector<PatchTarget> read;
  std::string error;
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_FALSE(ReadPatchFile(good.substr(0, cut), read, error)) << cut;
    EXPECT_TRUE(read.empty());
  }
  EXPECT_FALSE(ReadPatchFile(good + "x", read, error));
  for (const char* name : {"../a", "sub/a", "a\\b", "c:a", "a\"b", "..", ".", "", "a\nb"}) {
    EXPECT_FALSE(IsPlainPatchName(name)) << name;
    EXPECT_FALSE(ReadPatchFile(WritePatchFile({MakeTarget(name, "o", "n")}), read, error)) << name;
  }
  EXPECT_TRUE(IsPlainPatchName("file name-1.dat"));
}

TEST(PatchCommand, ReportsEachTargetAndReplacesAllAtTheEnd) {
  tova_test::TempFolder dir;
  dir.Write("install/one.txt", "first version");
  dir.Write("patch.vkp", WritePatchFile({MakeTarget("one.txt", "first version", "second version"),
                                         MakeTarget("new.txt", "", "made from nothing")}));
  gCalls.clear();
  const std::string command = "\"" + (dir / "patch.vkp") + "\" \"" + (dir / "install") + "\" ";
  ASSERT_EQ(ApplyPatchCommand(command.c_str(), &Record), 0);
  EXPECT_EQ(dir.Read("install/one.txt"), "second version");
  EXPECT_EQ(dir.Read("install/new.txt"), "made from nothing");
  const std::vector<std::pair<int, std::string>> expected = {
      {6, "2"}, {7, "one.txt"}, {5, "32768"}, {8, ""}, {7, "new.txt"}, {5, "32768"}, {8, ""}};
  EXPECT_EQ(gCalls, expected);
  EXPECT_FALSE(dir.Has("install/one.txt.patch~"));
}

TEST(PatchCommand, AFailingTargetChangesNothing) {
  tova_test::TempFolder dir;
  dir.Write("install/one.txt", "first version");
  dir.Write("install/two.txt", "not what the patch expects");
  dir.Write("patch.vkp", WritePatchFile({MakeTarget("one.txt", "first version", "second version"),
                                         MakeTarget("two.txt", "other", "x")}));
  gCalls.clear();
  const std::string command = "\"" + (dir / "patch.vkp") + "\" \"" + (dir / "install") + "\" ";
  EXPECT_NE(ApplyPatchCommand(command.c_str(), &Record), 0);
  EXPECT_EQ(dir.Read("install/one.txt"), "first version");
  EXPECT_FALSE(dir.Has("install/one.txt.patch~"));
  ASSERT_FALSE(gCalls.empty());
  EXPECT_EQ(gCalls.back().first, 4);
  EXPECT_NE(gCalls.back().second.find("two.txt"), std::string::npos);

  for (const std::string& bad : {std::string(), std::string("no quotes"), "\"" + (dir / "missing") + "\" \"" + dir.path() + "\""}) {
    gCalls.clear();
    EXPECT_NE(ApplyPatchCommand(bad.c_str(), &Record), 0) << bad;
    EXPECT_EQ(gCalls.size(), 1u);
  }
  EXPECT_NE(ApplyPatchCommand(nullptr, nullptr), 0);
}
