#include "platform/AtomicFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::AtomicFile;
using platform::SaveFileAtomically;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Ok());
        dir = scratch.Path();
        target = dir / "save.dat";
    }
    static std::string Slurp(const fs::path& p) { return tova_test::ReadBytes(p); }
    static void Put(const fs::path& p, const std::string& bytes) { tova_test::WriteBytes(p, bytes); }
    tova_test::ScratchDir scratch;
    fs::path dir, target;
};

TEST_F(AtomicFileTest, SavesNewFileAndLeavesNoTemporary) {
    std::string bytes("first\0second\r\n", 14);
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(target, bytes, &error)) << error;
    EXPECT_EQ(Slurp(target), bytes);
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(target)));
}

TEST_F(AtomicFileTest, ReplacesOldFileKeepingItsPermissions) {
    Put(target, "old content that is longer than the new one");
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(SaveFileAtomically(target, "new"));
    EXPECT_EQ(Slurp(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(AtomicFileTest, StreamedWritesCommitTogether) {
    Put(target, "old");
    AtomicFile file(target);
    ASSERT_TRUE(file.Begin());
    ASSERT_TRUE(file.Write("ab"));
    ASSERT_TRUE(file.Write("cd"));
    EXPECT_EQ(Slurp(target), "old");  // nothing visible before the commit
    ASSERT_TRUE(file.Commit()) << file.Error();
    EXPECT_EQ(Slurp(target), "abcd");
}

TEST_F(AtomicFileTest, StaleTemporaryFromACrashIsRemoved) {
    Put(target, "old");
    Put(AtomicFile::TempPathFor(target), "half-written junk from a crash, longer than the new text");
    ASSERT_TRUE(SaveFileAtomically(target, "new"));
    EXPECT_EQ(Slurp(target), "new");
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(target)));
}

TEST_F(AtomicFileTest, AbandonedSaveLeavesOldFileAndNoTemporary) {
    Put(target, "old");
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.Begin());
        ASSERT_TRUE(file.Write("never committed"));
    }
    EXPECT_EQ(Slurp(target), "old");
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(target)));
}

TEST_F(AtomicFileTest, TemporaryThatCannotBeRemovedFailsTheSave) {
    Put(target, "old");
    fs::create_directories(AtomicFile::TempPathFor(target) / "inside");
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(target, "new", &error));
    EXPECT_EQ(Slurp(target), "old");
    EXPECT_NE(error.find(target.string()), std::string::npos) << error;
}

TEST_F(AtomicFileTest, MissingFolderFailsWithMessage) {
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(dir / "no-such-folder" / "x.dat", "new", &error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;
}

// A real short write: the file-size limit makes write() fail half way, even for root.
TEST_F(AtomicFileTest, FailedWriteLeavesOldFileWhole) {
    Put(target, "old");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    std::string error;
    bool ok = SaveFileAtomically(target, std::string(5000, 'x'), &error);

    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("writing"), std::string::npos) << error;
    EXPECT_EQ(Slurp(target), "old");
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(target)));
}

TEST_F(AtomicFileTest, UnwritableFolderLeavesOldFileWhole) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    Put(target, "old");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(target, "new", &error));
    EXPECT_EQ(Slurp(target), "old");
}

TEST_F(AtomicFileTest, WriteWithoutBeginFails) {
    AtomicFile file(target);
    EXPECT_FALSE(file.Write("x"));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(file.Error().empty());
    EXPECT_FALSE(fs::exists(target));
}

}  // namespace
