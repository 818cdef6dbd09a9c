#include "vekpatch/Common/VekLog.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/TempFolder.h"

using vek::VekLog;

TEST(VekLog, WritesOnlyEntriesUpToItsThresholdToStandardError) {
  VekLog log;
  EXPECT_EQ(log.CurrentFacility(), VekLog::kStandardError);
  testing::internal::CaptureStderr();
  EXPECT_EQ(log.Log(255, "Enter: GetNextMsg"), 0);
  EXPECT_EQ(log.Log(2, "Message with invalid message ID received."), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), ": Message with invalid message ID received.\r\n");
}

TEST(VekLog, LongEntriesAreWrittenWhole) {
  VekLog log;
  const std::string path(10000, 'p');
  testing::internal::CaptureStderr();
  log.Log(1, "cannot open %s", path.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), ": cannot open " + path + "\r\n");
}

TEST(VekLog, AFileWithoutANameIsNamedByTheProcessId) {
  tova_test::TempFolder dir;
  const std::string before = platform::CurrentDirectory();
  ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()));
  {
    VekLog log;
    EXPECT_EQ(log.SetLogFacility(VekLog::kFile), 0);
    log.Log(1, "first %d", 1);
    EXPECT_EQ(log.SetLogFacility(VekLog::kFile, "other.txt", 1), 0);  // the same facility again: nothing
    VekLog second;
    EXPECT_EQ(second.SetLogFacility(VekLog::kFile, nullptr, 7), -1);
    EXPECT_EQ(second.LastAssertion(), "Invalid file creation flag specified");
  }
  ASSERT_TRUE(platform::SetCurrentDirectory(before));
  EXPECT_EQ(dir.Read(std::to_string(platform::ProcessId()) + ".txt"), ": first 1\r\n");
  EXPECT_FALSE(dir.Has("other.txt"));
}

TEST(VekLog, FacilitiesOfOtherSystemsAreRefused) {
  VekLog log;
  EXPECT_EQ(log.SetLogFacility(VekLog::kEventLog), -1);
  EXPECT_EQ(log.LastAssertion(), "Attempt to use Event Log on unsupported Windows OS");
  EXPECT_EQ(log.SetLogFacility(9), -1);
  EXPECT_EQ(log.SetLogFacility(VekLog::kNone), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(log.Log(1, "dropped"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(log.SetLogFacility(VekLog::kNone), 0);  // chosen again: nothing happens
}

TEST(VekLog, TheSharedLogLivesWhileItHasUsers) {
  VekLog& a = VekLog::AddUser();
  VekLog& b = VekLog::AddUser();
  EXPECT_EQ(&a, &b);
  VekLog::RemoveUser();
  VekLog::RemoveUser();
}
