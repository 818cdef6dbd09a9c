#include <gtest/gtest.h>

#include "resfile/FlatFile.h"
#include "resfile/ResStatus.h"
#include "support/ScratchDir.h"

using tova_test::ScratchDir;

TEST(FlatFile, CreateWritesTheGivenBytesAndNeverReplacesAFile) {
  ScratchDir dir;
  ASSERT_TRUE(dir.Ok());
  const std::string path = (dir / "header.bin").string();
  FlatFile f;
  ASSERT_EQ(f.Create(path, "abcd", 4), 0);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.Create(path, "zz", 2), kFlatCreateExists);
  EXPECT_EQ(f.Create((dir / "HEADER.BIN").string()), kFlatCreateExists);  // names match in any case
  EXPECT_EQ(f.Create(dir.Path().string()), kFlatCreateExists);           // a folder
  EXPECT_EQ(f.Create((dir / "missing" / "x.bin").string()), kFlatCreateFailed);
  ASSERT_EQ(f.Open(path), 0);
  int32_t length = 0;
  ASSERT_EQ(f.GetLength(length), 0);
  ASSERT_EQ(length, 4);
  char buffer[4] = {};
  ASSERT_EQ(f.ReadAt(0, buffer, 4), 0);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST(FlatFile, CodesOfTheFileOperations) {
  ScratchDir dir;
  ASSERT_TRUE(dir.Ok());
  std::string path = (dir / "data.bin").string();
  FlatFile f;
  EXPECT_EQ(f.Delete(path), kFlatDeleteMissing);
  EXPECT_EQ(f.Open(path), kFlatOpenFailed);
  ASSERT_EQ(f.Create(path), 0);
  EXPECT_EQ(f.Create(path), kFlatCreateExists);
  char buffer[8] = {};
  EXPECT_EQ(f.Read(buffer, 1), kFlatNotOpen);
  EXPECT_EQ(f.Close(), kFlatNotOpen);

  ASSERT_EQ(f.Open(path), 0);
  EXPECT_TRUE(f.IsWritable());
  EXPECT_EQ(f.Open(path), kFlatAlreadyOpen);
  EXPECT_EQ(f.Delete(path), kFlatAlreadyOpen);
  EXPECT_EQ(f.Create(path), kFlatAlreadyOpen);
  ASSERT_EQ(f.Write("hello", 5), 0);
  int32_t length = 0;
  ASSERT_EQ(f.GetLength(length), 0);
  EXPECT_EQ(length, 5);
  ASSERT_EQ(f.ReadAt(1, buffer, 3), 0);
  EXPECT_EQ(std::string(buffer, 3), "ell");
  EXPECT_EQ(f.Read(buffer, 2), kFlatShortRead);
  ASSERT_EQ(f.SetLength(2), 0);
  ASSERT_EQ(f.GetLength(length), 0);
  EXPECT_EQ(length, 2);
  ASSERT_EQ(f.Flush(), 0);
  std::string got;
  ASSERT_EQ(f.GetPath(got), 0);
  EXPECT_NE(got.find("data.bin"), std::string::npos);
  ASSERT_EQ(f.Close(), 0);
  EXPECT_EQ(f.Delete(path), 0);
}
