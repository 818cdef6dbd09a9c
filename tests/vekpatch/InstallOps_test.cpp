#include "vekpatch/Common/InstallOps.h"

#include <functional>

#include "VekTestSupport.h"
#include "platform/FileSystem.h"
#include "vekpatch/Common/Md5.h"
#include "vekpatch/Common/VekException.h"

using namespace vek;
using namespace vek_test;

namespace {

class InstallOpsTest : public VekTest {};

}  // namespace

TEST_F(InstallOpsTest, PatchServerIsSplitAtTheLastColonAndItsPortChecked) {
  struct Case {
    const char* value;
    uint32_t code;  // 0: accepted
    const char* host;
    uint16_t port;
  };
  const Case cases[] = {
      {"srv:7000", 0, "srv", 7000},     {"a:b:80", 0, "a:b", 80},
      {"127.0.0.1:65535", 0, "127.0.0.1", 65535},
      {"srv", kErrServerSetting, "", 0}, {"srv:0", kErrServerSetting, "", 0},
      {"srv:70000", kErrServerSetting, "", 0}, {"srv:7a", kErrServerSetting, "", 0},
      {"srv:", kErrServerSetting, "", 0}, {"srv:-80", kErrServerSetting, "", 0},
  };
  for (const Case& c : cases) {
    SetText(kVekPatchKey, "PatchServer", c.value);
    std::string host;
    uint16_t port = 0;
    bool found = false;
    EXPECT_EQ(CodeOf([&] { found = GetPatchServer(host, port); }), c.code) << c.value;
    if (c.code == 0) {
      EXPECT_TRUE(found);
      EXPECT_EQ(host, c.host);
      EXPECT_EQ(port, c.port);
    }
  }
  // Longer than its 128-byte buffer: a read failure, not a cut value.
  SetText(kVekPatchKey, "PatchServer", std::string(130, 'h') + ":80");
  std::string host;
  uint16_t port = 0;
  EXPECT_EQ(CodeOf([&] { GetPatchServer(host, port); }), platform::kRegMoreData);
}

TEST_F(InstallOpsTest, NoServerSettingIsNoServer) {
  std::string host;
  uint16_t port = 0;
  EXPECT_FALSE(GetPatchServer(host, port));
  SetText(kVekPatchKey, "Language", "x");
  EXPECT_FALSE(GetPatchServer(host, port));
}

TEST_F(InstallOpsTest, InstallPathGainsASlashAndIsKeptForItsKey) {
  EXPECT_FALSE(GetInstallPath(kVekPatchKey));
  SetText(kVekPatchKey, "InstallPath", "/opt/product");
  EXPECT_EQ(GetInstallPath(kVekPatchKey), "/opt/product/");
  SetText(kVekPatchKey, "InstallPath", "/elsewhere/");
  EXPECT_EQ(GetInstallPath(kVekPatchKey), "/opt/product/");  // kept
  SetText("Software\\Other", "InstallPath", "/other/");
  EXPECT_EQ(GetInstallPath("Software\\Other"), "/other/");
  EXPECT_EQ(GetInstallPath(kVekPatchKey), "/elsewhere/");  // asked again after another key
}

TEST_F(InstallOpsTest, DownloadFolderStepsAsideForAFileNamedPatch) {
  const std::string install = Install();
  dir_.Write("install/PATCH", "not a folder");
  EXPECT_EQ(GetDownloadDir(), install + "PATCH0/");
  EXPECT_TRUE(platform::DirectoryExists(install + "PATCH0"));

  // Every name up to PATCH99 taken by a file: no folder, an error.
  ResetInstallCaches();
  SetText(kVekPatchKey, "InstallPath", dir_ / "crowded");
  dir_.Write("crowded/PATCH", "");
  for (int n = 0; n <= kLastPatchFolderNumber; ++n) dir_.Write("crowded/PATCH" + std::to_string(n), "");
  platform::ForgetCachedFolders();
  EXPECT_EQ(CodeOf([] { GetDownloadDir(); }), kErrDownloadDir);
}

TEST_F(InstallOpsTest, DownloadFolderNeedsAnInstallation) {
  EXPECT_EQ(CodeOf([] { GetDownloadDir(); }), kErrDownloadDir);
}

TEST_F(InstallOpsTest, CreateDirectoryPathMakesEveryLevelButNotThroughAFile) {
  EXPECT_TRUE(CreateDirectoryPath(dir_ / "a/b/c"));
  EXPECT_TRUE(platform::DirectoryExists(dir_ / "a/b/c"));
  EXPECT_TRUE(CreateDirectoryPath(dir_ / "a/b/c/"));
  EXPECT_TRUE(CreateDirectoryPath(""));
  dir_.Write("file", "x");
  EXPECT_FALSE(CreateDirectoryPath(dir_ / "file/sub/deeper"));
  EXPECT_FALSE(platform::DirectoryExists(dir_ / "file/sub"));
}

TEST_F(InstallOpsTest, RegistryReadersAnswerDefaultsForMissingValues) {
  const std::string key = "Software\\Product";
  EXPECT_EQ(ReadRegistryDword(key, "Count"), 1033u);
  EXPECT_EQ(GetRegistryVersion(key, "Version"), "0.0");
  SetDword(key, "Count", 7);
  SetText(key, "Version", "1.2.3");
  EXPECT_EQ(ReadRegistryDword(key, "Count"), 7u);
  EXPECT_EQ(GetRegistryVersion(key, "Version"), "1.2.3");
  EXPECT_EQ(GetRegistryVersion(key, "Missing"), "0.0");
  SetText(key, "Version", std::string(16, '9'));
  EXPECT_EQ(GetRegistryVersion(key, "Version"), std::string(16, '9'));
  SetText(key, "Version", std::string(17, '9'));
  EXPECT_EQ(CodeOf([&] { GetRegistryVersion(key, "Version"); }), platform::kRegMoreData);
  EXPECT_NE(CodeOf([&] { ReadRegistryDword(key, "Version"); }), 0u);  // a text is no number
}

TEST_F(InstallOpsTest, FilesIdenticalComparesEveryByte) {
  const std::string big(200000, 'q');
  dir_.Write("a", big);
  dir_.Write("b", big);
  dir_.Write("c", big.substr(0, big.size() - 1) + "r");
  dir_.Write("d", big + "q");
  EXPECT_TRUE(FilesIdentical(dir_ / "a", dir_ / "b"));
  EXPECT_FALSE(FilesIdentical(dir_ / "a", dir_ / "c"));
  EXPECT_FALSE(FilesIdentical(dir_ / "a", dir_ / "d"));
  EXPECT_FALSE(FilesIdentical(dir_ / "a", dir_ / "missing"));
  EXPECT_FALSE(FilesIdentical(dir_ / "missing", dir_ / "missing"));
}

TEST_F(InstallOpsTest, ShortfallIsMeasuredInSixtyFourBits) {
  EXPECT_EQ(GetDiskShortfallKB(dir_.path(), 1), 0u);
  // Far more than any disk here has free: the shortfall is most of it, and
  // nothing wraps at 4 GiB.
  const uint32_t huge = 0xfffffff0u;
  const uint32_t shortfall = GetDiskShortfallKB(dir_ / "not/yet/made", huge);
  EXPECT_GT(shortfall, 0u);
  EXPECT_LE(shortfall, huge);
  EXPECT_EQ(CodeOf([] { GetDiskShortfallKB("ab", 1); }), kErrInvalidArgument);
}

TEST_F(InstallOpsTest, FileFactsOfThisSystem) {
  EXPECT_EQ(GetFileProductVersion(dir_ / "anything"), "0");
  EXPECT_FALSE(ReplaceFileAtRestart(dir_ / "a", dir_ / "b"));
  EXPECT_EQ(LastInstallError(), 120u);
  dir_.Write("f", "");
  EXPECT_TRUE(FileExists(dir_ / "f"));
  EXPECT_FALSE(FileExists(dir_.path()));
  ASSERT_TRUE(GetHostModulePart(0));
  EXPECT_EQ(*GetHostModulePart(1) + *GetHostModulePart(0), *GetHostModulePart(2));
  EXPECT_FALSE(GetHostModulePart(3));
}

TEST_F(InstallOpsTest, ALeftOverCopyOfTheHostIsDeleted) {
  const std::string install = Install();
  dir_.Write("install/PATCH/" + *GetHostModulePart(0), "old host");
  dir_.Write("install/PATCH/other", "kept");
  DeleteHostCopy();
  EXPECT_FALSE(dir_.Has("install/PATCH/" + *GetHostModulePart(0)));
  EXPECT_TRUE(dir_.Has("install/PATCH/other"));
}

TEST_F(InstallOpsTest, JavaFolderIsTheFirstExistingClassPathEntry) {
  std::string found;
  EXPECT_FALSE(GetJavaDirectory(1, found));
  dir_.Write("java/lib/.keep", "");
  SetText("SOFTWARE\\Microsoft\\Java VM", "Classpath", ".;" + (dir_ / "none") + ";" + (dir_ / "java/lib"));
  ASSERT_TRUE(GetJavaDirectory(1, found));
  EXPECT_EQ(found, dir_ / "java/lib/");
}

TEST(Md5, MatchesTheReferenceVectors) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, digest] : vectors) EXPECT_EQ(Md5::Of(input), digest) << input;
}

TEST_F(InstallOpsTest, Md5OfAFileOfManyBlocks) {
  dir_.Write("million", std::string(1000000, 'a'));
  std::string digest;
  ASSERT_TRUE(Md5Digest(dir_ / "million", digest));
  EXPECT_EQ(digest, "7707d6ae4e027c70eea2a935c2296f21");
  EXPECT_FALSE(Md5Digest(dir_ / "missing", digest));
}
