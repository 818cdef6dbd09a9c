#include "framework/cDataFileCatalog.h"

#include "framework/CTGFile.h"
#include "framework/CTGFileManager.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using tova_test::TempFolder;

int gStreamsDeleted = 0;

struct CountingStream : std::istringstream {
    CountingStream() : std::istringstream("bytes") {}
    ~CountingStream() override { ++gStreamsDeleted; }
};

// A five-byte file open through a manager of its own.
struct OneOpenFile {
    TempFolder t;
    CTGFileManager m;
    CTGFile* file = nullptr;
    OneOpenFile() {
        t.Write("D/a.dat", "12345");
        if (m.AddDirectory((t / "D").c_str(), false, false)) file = m.Open((t / "D/a.dat").c_str(), false);
        gStreamsDeleted = 0;
    }
};

TEST(cDataFileHandleTest, DestroyedWithoutAFileClosesNothing) {
    OneOpenFile f;
    CTGFile* file = f.file;
    ASSERT_NE(file, nullptr);
    {
        cDataFileHandle empty;
        empty.SetKind(cDataFileHandle::kFile);
        EXPECT_EQ(empty.GetFile(), nullptr);
        EXPECT_EQ(empty.GetId(), kNoDataFileId);
    }
    EXPECT_EQ(gStreamsDeleted, 0);
    EXPECT_EQ(file->GetSize(), 5u);  // still open
    f.m.Close(file);
}

TEST(cDataFileHandleTest, AFilePutOverAStreamDeletesTheStreamAndKeepsTheFile) {
    OneOpenFile f;
    CTGFile* file = f.file;
    ASSERT_NE(file, nullptr);
    cDataFileHandle h;
    h.SetStream(new CountingStream);
    EXPECT_EQ(h.GetKind(), cDataFileHandle::kStream);
    h.SetFile(file, &f.m);
    EXPECT_EQ(gStreamsDeleted, 1);
    EXPECT_EQ(h.GetStream(), nullptr);
    EXPECT_EQ(h.GetFile(), file);
    EXPECT_EQ(h.GetKind(), cDataFileHandle::kFile);
    EXPECT_EQ(h.GetFile()->GetSize(), 5u);
}

}  // namespace
