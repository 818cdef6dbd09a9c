// vekhost and vekmkpatch run as a person would: an update played by a fake
// server, the patch made by vekmkpatch, and every callback printed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "FakeServer.h"
#include "VekTestSupport.h"
#include "support/RunProgram.h"

using namespace vek;
using namespace vek_test;

namespace {

constexpr const char* kHostProductKey = "Software\\Acme\\Game";

class VekHostTool : public VekTest {
 protected:
  void SetUp() override {
    VekTest::SetUp();
    const std::string lib = std::string(TOVA_BIN_DIR) + "/../lib/";
    dir_.Write("install/vekp0409.txt", tova_test::ReadBytes(lib + "vekp0409.txt"));
    dir_.Write("install/libpatchw32.so", tova_test::ReadBytes(lib + "libpatchw32.so"));
    dir_.Write("product/.keep", "");
    // vekhost's library hears an abort between waits for the next message:
    // 50 ms each instead of seconds.
    setenv("TOVA_VEK_LOOP_WAIT_MS", "50", 1);
  }
  void TearDown() override {
    unsetenv("TOVA_VEK_LOOP_WAIT_MS");
    server_.Join();
    VekTest::TearDown();
  }
  tova_test::ProgramRun Host(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--name", "Upd1", "--registry", registry_, "--server", server_.Address(),
                                     "--install", dir_ / "install", "--product-key", kHostProductKey,
                                     "--product-dir", dir_ / "product"};
    args.insert(args.end(), extra.begin(), extra.end());
    return tova_test::RunProgram("vekhost", args);
  }
  FakeServer server_;
};

}  // namespace

TEST_F(VekHostTool, PrintsTheTranscriptOfAPatchUpdate) {
  dir_.Write("old.bin", std::string(4000, 'o') + "version 1");
  dir_.Write("new.bin", std::string(4000, 'o') + "version 2, longer");
  dir_.Write("product/game.bin", dir_.Read("old.bin"));
  const tova_test::ProgramRun made =
      tova_test::RunProgram("vekmkpatch", {dir_ / "old.bin", dir_ / "new.bin", "game.bin", dir_ / "game.vkp"});
  ASSERT_EQ(made.code, 0) << made.err;
  const std::string patch = dir_.Read("game.vkp");
  EXPECT_EQ(made.out, Md5::Of(patch) + "\n");

  server_.Serve({[&](Peer& p) {
    const RawFrame info = p.Login();
    EXPECT_EQ(info.payload, Dword(0x0407) + Text("Upd1"));
    p.Send(kMsgRegKey, std::string("\x01\x00", 2) + Text(kHostProductKey));
    p.Send(kMsgUpdateInfo, Word(1) + Dword(static_cast<uint32_t>(patch.size())) + Dword(1));
    p.ExpectStatus();
    p.Send(kMsgShowText, Text("Tab\there \"quoted\""));
    p.SendFile("game.vkp", patch, "", true);
    p.Send(kMsgApplyUpdates);
    p.ExpectStatus();
    p.Goodbye();
  }});
  const tova_test::ProgramRun run = Host({"--language", "0x407"});
  EXPECT_EQ(run.code, 0) << run.err;
  const std::string size = std::to_string(patch.size());
  const std::string status = "The update has 1 files with " + size + " bytes in all.";
  EXPECT_EQ(run.out,
            "callback 0 0 1\n"
            "callback 12 \"Starting the update Upd1.\" 25\n"
            "callback 12 \"" + status + "\" " + std::to_string(status.size()) + "\n"
            "callback 14 \"Tab\\x09here \\\"quoted\\\"\" 17\n"
            "callback 1 \"game.vkp\" " + size + "\n"
            "callback 2 100 1\n"
            "callback 6 100 1\n"
            "callback 3 0 0\n"
            "callback 4 \"game.vkp\" 8\n"
            "callback 5 0 1\n"
            "callback 6 0 1\n"
            "callback 12 \"Installing the received files.\" 30\n"
            "callback 7 \"game.bin\" 9\n"
            "callback 8 100 1\n"
            "callback 9 1 1\n"
            "callback 6 100 1\n"
            "callback 6 100 1\n"
            "callback 15 0 0\n"
            "result finished\n");
  EXPECT_EQ(dir_.Read("product/game.bin"), dir_.Read("new.bin"));
}

TEST_F(VekHostTool, AnErrorFailsTheRunAndAStallIsAborted) {
  server_.Serve({[](Peer& p) {
                   p.Login();
                   p.SendFileFrames("../escape", "x");
                   p.ExpectHangUp();
                 },
                 [](Peer& p) {
                   p.Login();
                   p.Next();  // the cancel notice
                   p.Goodbye();
                 }});
  tova_test::ProgramRun run = Host();
  EXPECT_EQ(run.code, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("callback 11 0x10000002 4 source=clientconn.cpp line="), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nresult failed\n"), std::string::npos) << run.out;

  run = Host({"--timeout", "0.5"});
  EXPECT_EQ(run.code, 3) << run.out << run.err;
  EXPECT_NE(run.out.find("result aborted\n"), std::string::npos) << run.out;
}

TEST_F(VekHostTool, BadArgumentsAndAMissingLibrary) {
  EXPECT_EQ(tova_test::RunProgram("vekhost", {}).code, 2);
  EXPECT_EQ(tova_test::RunProgram("vekhost", {"--name", "U", "--answer", "maybe"}).code, 2);
  EXPECT_EQ(tova_test::RunProgram("vekhost", {"--name", "U", "--product-key", "K"}).code, 2);
  EXPECT_EQ(tova_test::RunProgram("vekhost", {"--name", "U", "--language", "0x"}).code, 2);
  EXPECT_EQ(tova_test::RunProgram("vekhost", {"--name", "U", "--language", "12ab"}).code, 2);
  const tova_test::ProgramRun run =
      tova_test::RunProgram("vekhost", {"--name", "U", "--registry", registry_, "--library", dir_ / "none.so"});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("cannot load"), std::string::npos) << run.err;
}

// The library's transcripts as vekhost prints them: each script's lines
// appear in the output, in order.
TEST_F(VekHostTool, TranscriptsOfIdenticalBadAndManyFilesAndAQuestion) {
  struct Case {
    const char* what;
    std::function<void(Peer&)> script;
    std::vector<std::string> args;
    std::vector<std::string> lines;
  };
  // A login naming the product's key, where the files go.
  auto start = [](Peer& p) {
    p.Login();
    p.Send(kMsgRegKey, std::string("\x01\x00", 2) + Text(kHostProductKey));
  };
  const std::string same = std::string(100, 's');
  dir_.Write("product/same.dat", same);
  const std::vector<Case> cases = {
      {"identical target",
       [&](Peer& p) {
         start(p);
         p.SendFile("same.dat", same);
         p.Send(kMsgApplyUpdates);
         p.ExpectStatus();
         p.Goodbye();
       },
       {},
       {"callback 12 \"same.dat is already up to date.\" 31\n", "callback 9 1 1\n", "callback 6 100 1\n",
        "callback 15 0 0\n"}},
      {"digest mismatch",
       [&](Peer& p) {
         start(p);
         p.SendFile("bad.dat", std::string(200, 'x'), "", false, std::string(32, '0'));
         p.Goodbye();
       },
       {},
       {"callback 4 \"bad.dat\" 7\n", "callback 5 1 1\n", "callback 15 0 0\n"}},
      {"four files",
       [&](Peer& p) {
         start(p);
         for (int i = 0; i < 4; ++i) p.SendFile("f" + std::to_string(i), std::string(10, char('a' + i)));
         p.Send(kMsgApplyUpdates);
         p.ExpectStatus();
         p.Goodbye();
       },
       {},
       {"callback 6 25 1\n", "callback 6 50 1\n", "callback 6 75 1\n", "callback 6 100 1\n",
        "callback 15 0 0\n"}},
      {"a question answered no",
       [&](Peer& p) {
         start(p);
         p.Send(kMsgAskHost, Text("Continue?"));
         EXPECT_EQ(p.ExpectStatus(), 0);
         p.Goodbye();
       },
       {"--answer", "no"},
       {"callback 13 \"Continue?\" 9\n", "callback 15 0 0\n"}},
  };
  for (const Case& c : cases) {
    server_.Serve({c.script});
    const tova_test::ProgramRun run = Host(c.args);
    server_.Join();
    EXPECT_EQ(run.code, 0) << c.what << "\n" << run.out << run.err;
    size_t at = 0;
    for (const std::string& line : c.lines) {
      const size_t found = run.out.find(line, at);
      EXPECT_NE(found, std::string::npos) << c.what << ": " << line << "in\n" << run.out;
      if (found != std::string::npos) at = found + line.size();
    }
    EXPECT_NE(run.out.find("result finished\n"), std::string::npos) << c.what << "\n" << run.out;
  }
  EXPECT_EQ(dir_.Read("product/same.dat"), same);
  EXPECT_FALSE(dir_.Has("product/bad.dat"));
  EXPECT_EQ(dir_.Read("product/f3"), std::string(10, 'd'));
}
