// The two exports of libvekpatch.so, loaded by name the way a host loads it.
// Each test loads the library afresh (and unloads it at its end), so the
// library's start runs against the test's own settings store.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "FakeServer.h"
#include "VekTestSupport.h"
#include "platform/DynamicLibrary.h"
#include "vekpatch/VekPatch.h"

using namespace vek;
using namespace vek_test;

namespace {

std::string LibraryFolder() { return std::string(TOVA_BIN_DIR) + "/../lib/"; }

class ExportsTest : public VekTest {
 protected:
  void SetUp() override {
    VekTest::SetUp();
    setenv("TOVA_REGISTRY", registry_.c_str(), 1);
    // The loaded library has settings of its own: its loop, which hears an
    // abort between waits, waits 50 ms instead of seconds.
    setenv("TOVA_VEK_LOOP_WAIT_MS", "50", 1);
    install_ = Install();
    dir_.Write("install/vekp0409.txt", tova_test::ReadBytes(EnglishTexts()));
    dir_.Write("install/libpatchw32.so", tova_test::ReadBytes(LibraryFolder() + "libpatchw32.so"));
    SetText(kVekPatchKey, "PatchServer", server_.Address());
  }
  void TearDown() override {
    library_.Close();  // stops a run and joins its thread
    server_.Join();
    unsetenv("TOVA_REGISTRY");
    unsetenv("TOVA_VEK_LOOP_WAIT_MS");
    VekTest::TearDown();
  }
  void Load() {
    ASSERT_TRUE(library_.Open(LibraryFolder() + "libvekpatch.so")) << library_.LastError();
    doUpdate_ = library_.Function<decltype(&VekDoUpdate)>("VekDoUpdate");
    abort_ = library_.Function<decltype(&VekAbortUpdate)>("VekAbortUpdate");
    ASSERT_NE(doUpdate_, nullptr);
    ASSERT_NE(abort_, nullptr);
  }
  int32_t Start(Transcript& t, const char* name = "Upd1") { return doUpdate_(name, t.Context(), &Transcript::Callback); }
  // Waits (at most 20 s) until the transcript holds `count` reports of code 15.
  static bool Ended(const Transcript& t, size_t count = 1) {
    for (int i = 0; i < 2000; ++i) {
      size_t ends = 0;
      for (int c : t.Codes()) ends += c == 15;
      if (ends >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  void ExpectRefusedStart(uint32_t code) {
    Load();
    Transcript t;
    EXPECT_EQ(Start(t), -1);
    EXPECT_EQ(t.Codes(), (std::vector<int>{11, 0, 15})) << t.Dump();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{code});
  }
  void ServeShortRun() {
    server_.Serve({[](Peer& p) {
      p.Login();
      p.Send(kMsgShowText, Text("hi"));
      p.Goodbye();
    }});
  }

  FakeServer server_;
  std::string install_;
  platform::DynamicLibrary library_;
  decltype(&VekDoUpdate) doUpdate_ = nullptr;
  decltype(&VekAbortUpdate) abort_ = nullptr;
};

}  // namespace

TEST_F(ExportsTest, ARunReportsEverythingAndEndsWith15) {
  Load();
  ServeShortRun();
  Transcript t;
  ASSERT_EQ(Start(t), 0);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 14, 15})) << t.Dump();
}

TEST_F(ExportsTest, BadArgumentsGoToTheLastAcceptedCallback) {
  Load();
  Transcript first;
  EXPECT_EQ(doUpdate_("", first.Context(), &Transcript::Callback), -1);
  EXPECT_EQ(doUpdate_("Upd1", first.Context(), nullptr), -1);
  EXPECT_TRUE(first.Codes().empty());  // no call was accepted yet: dropped

  ServeShortRun();
  Transcript accepted;
  ASSERT_EQ(Start(accepted), 0);
  ASSERT_TRUE(Ended(accepted));
  Transcript other;
  EXPECT_EQ(doUpdate_(nullptr, other.Context(), &Transcript::Callback), -1);
  // The reports carry this call's context, which is `other`.
  EXPECT_EQ(other.Codes(), (std::vector<int>{11, 0, 15}));
  EXPECT_EQ(other.Errors(), std::vector<uint32_t>{kErrInvalidArgument});
}

TEST_F(ExportsTest, ASecondRunDuringOneIsRefusedAndAnAbortEndsTheFirst) {
  Load();
  std::atomic<bool> cancelled{false};
  server_.Serve({[&](Peer& p) {
    p.Login();
    // Stalls until the client's cancel notice, then says goodbye.
    const RawFrame f = p.Next();
    cancelled = f.id == kMsgCancel;
    p.Goodbye();
  }});
  Transcript running, second;
  ASSERT_EQ(Start(running), 0);
  ASSERT_TRUE(running.WaitForReports(2));
  EXPECT_EQ(Start(second, "Upd2"), -1);
  EXPECT_TRUE(second.Codes().empty());
  abort_();
  EXPECT_TRUE(cancelled);
  // 15 from the run's end, then 0 and 15 from the abort.
  EXPECT_EQ(running.Codes(), (std::vector<int>{0, 12, 15, 0, 15})) << running.Dump();
}

TEST_F(ExportsTest, AbortWithoutARun) {
  Load();
  abort_();  // nothing known yet: nothing to report to
  ServeShortRun();
  Transcript t;
  ASSERT_EQ(Start(t), 0);
  ASSERT_TRUE(Ended(t));
  abort_();
  EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 14, 15, 0, 15}));
}

TEST_F(ExportsTest, ACallbackAnsweringZeroEndsTheRunAnd15StillFollows) {
  Load();
  server_.Serve({[](Peer& p) {
    p.Login();
    p.Send(kMsgShowText, Text("one"));
    p.Send(kMsgShowText, Text("two"));
    p.ExpectHangUp();
  }});
  Transcript t;
  t.StopAt(14);
  ASSERT_EQ(Start(t), 0);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 14, 15}));
}

// A frame length outside 8-16384 fails the run at once: the host hears the
// error and the end within a second, not after the server's next time-out.
TEST_F(ExportsTest, ABadFrameLengthEndsTheRunPromptly) {
  Load();
  const std::pair<const char*, std::string> cases[] = {
      {"length 65535", Frame(kMsgFileChunk, "", 2, 0xffff)},
      {"length 4", Frame(kMsgFileChunk, "", 2, 4).substr(0, 4)},
  };
  for (const auto& [what, bytes] : cases) {
    std::atomic<int> refusals{0};
    std::atomic<int64_t> sentAt{0};
    server_.Serve({[&, bytes = bytes](Peer& p) {
      p.Login();
      sentAt = std::chrono::steady_clock::now().time_since_epoch().count();
      p.SendRaw(bytes);
      for (RawFrame f = p.Next(); f.id != 0; f = p.Next()) {
        if (f.id == kMsgStatus && f.payload == std::string(1, '\0')) ++refusals;
      }
    }});
    Transcript t;
    ASSERT_EQ(Start(t), 0) << what;
    ASSERT_TRUE(Ended(t)) << what << "\n" << t.Dump();
    const auto took = std::chrono::steady_clock::now() -
                      std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(sentAt.load()));
    server_.Join();
    EXPECT_LT(took, std::chrono::seconds(1)) << what;
    EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 11, 15})) << what << "\n" << t.Dump();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{kErrTransfer}) << what;
    EXPECT_GE(refusals, 1) << what;
  }
}

// The start runs at the first export call; when it fails, that call's
// callback hears why (codes 11, 0, 15) and the call gives -1.
TEST_F(ExportsTest, AStartWithoutLanguageTextsIsRefused) {
  std::remove((install_ + "vekp0409.txt").c_str());
  ExpectRefusedStart(2);
}

TEST_F(ExportsTest, AStartWithoutAnInstallationFolderIsRefused) {
  platform::RegKey k;
  platform::Registry::Default().OpenKey(platform::RegRoot::kLocalMachine, kVekPatchKey, platform::RegAccess::kAll, k);
  k.DeleteValue("InstallPath");
  ExpectRefusedStart(2);  // the texts are sought in the installation folder first
}

TEST_F(ExportsTest, AStartWithoutThePatchEngineIsRefused) {
  std::remove((install_ + "libpatchw32.so").c_str());
  ExpectRefusedStart(126);
}

TEST_F(ExportsTest, AStartWithAnEngineLackingItsEntryIsRefused) {
  dir_.Write("install/libpatchw32.so", tova_test::ReadBytes(LibraryFolder() + "libvekpatch.so"));
  ExpectRefusedStart(127);
}

TEST_F(ExportsTest, UnloadingStopsARunAndJoinsItsWorker) {
  Load();
  std::atomic<bool> cancelled{false};
  server_.Serve({[&](Peer& p) {
    p.Login();
    cancelled = p.Next().id == kMsgCancel;
    p.Goodbye();
  }});
  Transcript t;
  ASSERT_EQ(Start(t), 0);
  ASSERT_TRUE(t.WaitForReports(2));
  library_.Close();  // returns only when the worker has ended
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 15})) << t.Dump();
}
