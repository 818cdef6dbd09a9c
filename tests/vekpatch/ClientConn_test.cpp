#include "vekpatch/PatchDLL/ClientConn.h"

#include <atomic>
#include <thread>

#include "FakeServer.h"
#include "VekTestSupport.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/PatchFile.h"

using namespace vek;
using namespace vek_test;

namespace {

constexpr const char* kProductKey = "Software\\Acme\\Game";

int32_t RealEngine(const char* commandLine, PatchEngineCallbackFn callback, int32_t) {
  return platform::ApplyPatchCommand(commandLine, callback);
}

// An engine that makes nothing but says a restart is needed.
int32_t RestartEngine(const char*, PatchEngineCallbackFn callback, int32_t) {
  uint32_t count = 1;
  callback(6, &count);
  callback(26, nullptr);
  callback(8, nullptr);
  return 0;
}

std::string Bytes(char fill, size_t size, int salt = 0) {
  std::string s(size, fill);
  for (size_t i = 0; i < size; i += 97) s[i] = static_cast<char>('a' + (i / 97 + salt) % 26);
  return s;
}

std::string KeyMessage() { return std::string("\x01\x00", 2) + Text(kProductKey); }

class ClientTest : public VekTest {
 protected:
  void SetUp() override {
    VekTest::SetUp();
    install_ = Install();
    product_ = dir_ / "product";
    dir_.Write("product/.keep", "");
    SetText(kProductKey, "InstallPath", product_);
    SetText(kVekPatchKey, "PatchServer", server_.Address());
  }
  void TearDown() override {
    server_.Join();
    VekTest::TearDown();
  }
  int RunClient(PatchApplyFn engine = &RealEngine) {
    ClientConn conn(engine);
    const int rc = conn.Run("Upd1", t_.Context(), &Transcript::Callback);
    server_.Join();
    return rc;
  }
  // A session that logs in, sets the product key and runs `body`.
  void Serve(std::function<void(Peer&)> body, bool goodbye = true) {
    server_.Serve({[body, goodbye](Peer& p) {
      p.Login();
      p.Send(kMsgRegKey, KeyMessage());
      body(p);
      if (goodbye) p.Goodbye();
    }});
  }
  bool NothingLeftBehind() {
    for (const auto& e : platform::ListDirectory(product_, "*~")) ADD_FAILURE() << "left over: " << e.name;
    return platform::ListDirectory(product_, "*~").empty();
  }

  FakeServer server_;
  Transcript t_;
  std::string install_;
  std::string product_;
};

}  // namespace

TEST_F(ClientTest, ANormalUpdateReceivesVerifiesAndInstallsEveryFile) {
  const std::string a = Bytes('A', 3000), b = Bytes('B', 7000);
  dir_.Write("product/data/old.dat", "the old version");
  Serve([&](Peer& p) {
    p.Send(kMsgUpdateInfo, Word(2) + Dword(10000) + Dword(10000));
    EXPECT_EQ(p.ExpectStatus(), 1);
    EXPECT_EQ(p.SendFile("new.dat", a), 1);
    EXPECT_EQ(p.SendFile("old.dat", b, "data"), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  const std::vector<int> expected = {0,  12, 12, 1, 2, 6, 3, 4,  5, 1, 2, 6,  2, 6, 3, 4,
                                     5,  6,  12, 7, 12, 9, 6, 7, 12, 9, 6, 6};
  EXPECT_EQ(t_.Codes(), expected) << t_.Dump();
  EXPECT_EQ(t_.Of(6), (std::vector<std::string>{"30 1", "80 1", "100 1", "0 1", "50 1", "100 1", "100 1"}));
  EXPECT_EQ(t_.Of(12)[0], "\"Starting the update Upd1.\" 25");
  EXPECT_EQ(t_.Of(12)[1], "\"The update has 2 files with 10000 bytes in all.\" 47");
  EXPECT_EQ(t_.Of(1), (std::vector<std::string>{"\"new.dat\" 3000", "\"old.dat\" 7000"}));
  EXPECT_EQ(t_.Of(7), (std::vector<std::string>{"\"new.dat\" 8", "\"old.dat\" 8"}));
  EXPECT_EQ(dir_.Read("product/new.dat"), a);
  EXPECT_EQ(dir_.Read("product/data/old.dat"), b);
  EXPECT_FALSE(dir_.Has("install/PATCH/new.dat"));
  EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(ClientTest, AnIdenticalTargetIsLeftAloneButCountsAsInstalled) {
  const std::string a = Bytes('A', 100);
  dir_.Write("product/same.dat", a);
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("same.dat", a), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  const std::vector<std::string> statuses = t_.Of(12);
  EXPECT_EQ(statuses.back(), "\"same.dat is already up to date.\" 31");
  const std::vector<int> codes = t_.Codes();
  EXPECT_EQ(std::vector<int>(codes.end() - 4, codes.end()), (std::vector<int>{12, 9, 6, 6}));
}

TEST_F(ClientTest, AFileWhoseDigestDiffersIsDeletedAndRefused) {
  Serve([&](Peer& p) {
    p.Send(kMsgUpdateInfo, Word(1) + Dword(200) + Dword(200));
    EXPECT_EQ(p.ExpectStatus(), 1);
    EXPECT_EQ(p.SendFile("bad.dat", Bytes('x', 200), "", false, std::string(32, '0')), 0);
    EXPECT_EQ(p.SendFile("good.dat", Bytes('y', 100)), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(t_.Of(5), (std::vector<std::string>{"1 1", "0 1"}));
  EXPECT_FALSE(dir_.Has("install/PATCH/bad.dat"));
  EXPECT_FALSE(dir_.Has("product/bad.dat"));
  EXPECT_TRUE(dir_.Has("product/good.dat"));
  // The refused file's bytes no longer count: 100 of 200 after the good one.
  EXPECT_EQ(t_.Of(6)[1], "50 1");
}

TEST_F(ClientTest, RegistryQuestionsAndEditsAreAnswered) {
  SetDword(kProductKey, "Count", 7);
  SetText(kProductKey + std::string("\\Versions"), "Core", "2.5");
  Serve([&](Peer& p) {
    p.Send(kMsgRegTestKey);
    EXPECT_EQ(p.ExpectStatus(), 1);
    p.Send(kMsgRegQueryDword, Text("Count"));
    EXPECT_EQ(p.Expect(kMsgDwordAnswer).payload, Dword(7));
    p.Send(kMsgRegQueryDword, Text("Missing"));
    EXPECT_EQ(p.Expect(kMsgDwordAnswer).payload, Dword(1033));
    p.Send(kMsgRegTestDword, Text("Count"));
    EXPECT_EQ(p.ExpectStatus(), 1);
    p.Send(kMsgRegTestDword, Text("Missing"));
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgQueryVersion, Dword(0) + Text("Versions\\Core"));
    EXPECT_EQ(p.Expect(kMsgTextAnswer).payload, Text("2.5"));
    p.Send(kMsgQueryVersion, Dword(0) + Text("Nothing"));
    EXPECT_EQ(p.Expect(kMsgTextAnswer).payload, Text("0.0"));
    p.Send(kMsgQueryVersion, Dword(1) + Text("/bin/sh"));
    EXPECT_EQ(p.Expect(kMsgTextAnswer).payload, Text("0"));
    p.Send(kMsgRegSetValue, std::string(1, 0) + Text("Software\\Acme\\New") + Text("Name") + Text("value"));
    p.Send(kMsgRegSetValue, std::string(1, 1) + Text("Software\\Acme\\New") + Text("Size") + Dword(42));
    p.Send(kMsgRegDeleteValue, Text(kProductKey) + Text("Count"));
    p.Send(kMsgOpenBrowser, Dword(1));
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgHostValue, "\x05");
    p.Send(kMsgShowText, Text("Hello there"));
    p.Send(kMsgAskHost, Text("Continue?"));
    EXPECT_EQ(p.ExpectStatus(), 1);
    // A missing key: one negative status, no answer, and the run goes on.
    p.Send(kMsgRegKey, std::string("\x00\x00", 2) + Text("Software\\Nobody"));
    p.Send(kMsgRegQueryDword, Text("Count"));
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgRegTestKey);
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgRegKey, "\x01");  // no key: reported, not fatal
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(ReadRegistryDword("Software\\Acme\\New", "Size"), 42u);
  EXPECT_EQ(GetRegistryVersion("Software\\Acme\\New", "Name"), "value");
  EXPECT_EQ(ReadRegistryDword(kProductKey, "Count"), 1033u);
  EXPECT_EQ(t_.Of(10), (std::vector<std::string>{"1 1"}));
  EXPECT_EQ(t_.Of(14), (std::vector<std::string>{"\"Hello there\" 11"}));
  EXPECT_EQ(t_.Of(13), (std::vector<std::string>{"\"Continue?\" 9"}));
  const std::vector<std::string> errors = t_.Of(11);
  ASSERT_EQ(errors.size(), 2u) << t_.Dump();
  EXPECT_EQ(errors[0], "0x00000002 clientconn.cpp 0");
  EXPECT_EQ(errors[1], "0x00000001 clientconn.cpp 4");
}

TEST_F(ClientTest, RegInitLinesAreWrittenAndForgedFieldsRefused) {
  Serve([&](Peer& p) {
    p.Send(kMsgRegInitFile, std::string("\x00\x00", 2) + Text("Software\\A") + Text("Path") + Word(5) + "C:\\x1");
    p.Send(kMsgRegInitFile, std::string("\x00\x01", 2) + Text("Software\\A") + Text("Size") + Word(4) + Dword(4000000000u));
    p.Send(kMsgRegInitFile, std::string("\x01\x00", 2) + Text("Software\\A") + Text("Old"));
    p.Send(kMsgRegInitFile, std::string("\x00\x00", 2) + Text("Software\\A") + Text("Evil") + Word(9) + "x\r\nDELETE");
    EXPECT_TRUE(p.ExpectHangUp());
  }, false);
  EXPECT_EQ(RunClient(), -1);
  EXPECT_EQ(dir_.Read("install/PATCH/REGINIT.DAT"),
            "ADD\tSoftware\\A\tPath\t0\tC:\\x1\r\n"
            "ADD\tSoftware\\A\tSize\t1\t4000000000\r\n"
            "DELETE\tSoftware\\A\tOld\r\n");
  EXPECT_EQ(t_.Errors(), std::vector<uint32_t>{kErrProtocol});
}

TEST_F(ClientTest, APatchIsAppliedByTheEngine) {
  const std::string oldBytes = Bytes('o', 50000), newBytes = Bytes('o', 50000, 3) + "more";
  dir_.Write("product/game.bin", oldBytes);
  platform::PatchTarget target{"game.bin", oldBytes.size(), newBytes.size(), ""};
  std::string error;
  ASSERT_TRUE(platform::MakePatchFrame(oldBytes, newBytes, target.frame, error));
  const std::string patch = platform::WritePatchFile({target});
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("game.vkp", patch, "", true), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(dir_.Read("product/game.bin"), newBytes);
  EXPECT_EQ(t_.Of(7), (std::vector<std::string>{"\"game.bin\" 9"}));
  EXPECT_EQ(t_.Of(8), (std::vector<std::string>{"100 1"}));
  EXPECT_EQ(t_.Of(9), (std::vector<std::string>{"1 1"}));
  EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(ClientTest, AnEngineAskingForARestartEndsWithCode16) {
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("x.vkp", "patch bytes", "", true), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(&RestartEngine), 0) << t_.Dump();
  EXPECT_EQ(t_.Codes().back(), 16);
}

TEST_F(ClientTest, FourFilesProgressByQuarters) {
  Serve([&](Peer& p) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.SendFile("f" + std::to_string(i), Bytes('q', 10, i)), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  const std::vector<std::string> progress = t_.Of(6);
  EXPECT_EQ(std::vector<std::string>(progress.end() - 6, progress.end()),
            (std::vector<std::string>{"0 1", "25 1", "50 1", "75 1", "100 1", "100 1"}));
}

TEST_F(ClientTest, ZeroSizesAndCountsGiveAWholePercent) {
  Serve([&](Peer& p) {
    p.Send(kMsgUpdateInfo, Word(0) + Dword(0) + Dword(0));
    EXPECT_EQ(p.ExpectStatus(), 1);
    p.Send(kMsgApplyUpdates);  // nothing received
    EXPECT_EQ(p.ExpectStatus(), 1);
    EXPECT_EQ(p.SendFile("empty.dat", ""), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(t_.Of(6), (std::vector<std::string>{"0 1", "100 1"}));
}

TEST_F(ClientTest, ConnectFollowsARedirectWithSequencesFromOne) {
  FakeServer second;
  second.Serve({[](Peer& p) {
    p.Login();  // checks the connect frame's sequence is 1
    p.Goodbye();
  }});
  const uint16_t port = second.Port();
  server_.Serve({[port](Peer& p) {
    p.Accept();
    p.Send(kMsgRedirect, Word(port) + Text("127.0.0.1"));
    p.Goodbye();
  }});
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  second.Join();
  EXPECT_EQ(t_.Codes(), (std::vector<int>{0, 12}));
}

TEST_F(ClientTest, ConnectFailures) {
  struct Case {
    const char* what;
    FakeServer::Session session;
    uint32_t code;
  };
  const Case cases[] = {
      {"refusal", [](Peer& p) { p.Accept(); p.Send(kMsgRedirect); p.Goodbye(); }, kErrRefused},
      {"goodbye instead of a login", [](Peer& p) { p.Accept(); p.Goodbye(); }, kErrRefused},
      {"negative status to the connect",
       [](Peer& p) {
         p.SendRaw("hello");
         p.SendRaw(ReadExactly(p.Socket(), 15));
         p.Expect(kMsgConnect);
         p.Send(kMsgStatus, std::string(1, '\0'));
       },
       kErrProtocol},
      {"another message after the connect", [](Peer& p) { p.Accept(); p.Send(kMsgShowText, Text("?")); }, kErrProtocol},
  };
  for (const Case& c : cases) {
    Transcript t;
    server_.Serve({c.session});
    ClientConn conn(&RealEngine);
    EXPECT_EQ(conn.Run("Upd1", t.Context(), &Transcript::Callback), -1) << c.what;
    server_.Join();
    EXPECT_EQ(t.Codes(), (std::vector<int>{0, 11})) << c.what << "\n" << t.Dump();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{c.code}) << c.what;
  }
}

TEST_F(ClientTest, ARedirectLoopIsCutOff) {
  const uint16_t port = server_.Port();
  std::vector<FakeServer::Session> sessions(9, [port](Peer& p) {
    p.Accept();
    p.Send(kMsgRedirect, Word(port) + Text("127.0.0.1"));
    p.Goodbye();
  });
  server_.Serve(sessions);
  EXPECT_EQ(RunClient(), -1);
  EXPECT_EQ(t_.Errors(), std::vector<uint32_t>{kErrProtocol});
}

TEST_F(ClientTest, HostileNamesAndTargetsAreRefusedBeforeAnythingIsWritten) {
  const std::string outside = dir_ / "outside";
  const std::pair<std::string, std::string> cases[] = {
      {"../escape.dat", ""},      {"sub/x.dat", ""},         {"a\\b.dat", ""},       {"c:x.dat", ""},
      {"q\"uote.dat", ""},        {std::string("ctl\x01", 4), ""}, {"..", ""},           {"ok.dat", "../outside"},
      {"ok.dat", outside},        {"ok.dat", "%SYSDIR%"},    {"ok.dat", "C:\\Windows"}, {"ok.dat", "data\\..\\..\\x"},
  };
  for (const auto& [name, target] : cases) {
    Transcript t;
    server_.Serve({[name = name, target = target](Peer& p) {
      p.Login();
      p.Send(kMsgRegKey, KeyMessage());
      p.SendFileFrames(name, "payload", target);
      EXPECT_TRUE(p.ExpectHangUp());
    }});
    ClientConn conn(&RealEngine);
    EXPECT_EQ(conn.Run("Upd1", t.Context(), &Transcript::Callback), -1) << name << " " << target;
    server_.Join();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{kErrProtocol}) << name << " " << target;
    EXPECT_TRUE(t.Of(1).empty()) << name;
  }
  EXPECT_FALSE(dir_.Has("escape.dat"));
  EXPECT_FALSE(dir_.Has("install/escape.dat"));
  EXPECT_FALSE(dir_.Has("outside"));
  EXPECT_TRUE(platform::ListDirectory(install_ + "PATCH").empty());
}

TEST_F(ClientTest, TargetFoldersInsideTheInstallationAreMade) {
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("a.dat", "A", "sub\\deeper"), 1);
    EXPECT_EQ(p.SendFile("b.dat", "B", product_ + "/abs"), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 1);
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(dir_.Read("product/sub/deeper/a.dat"), "A");
  EXPECT_EQ(dir_.Read("product/abs/b.dat"), "B");
}

TEST_F(ClientTest, BrokenFileSequencesAreProtocolErrors) {
  const std::string md5 = Md5::Of("12345");
  auto begin = [md5](uint32_t size) {
    return Dword(size) + std::string(1, 0) + md5 + Text("f.dat") + Text("");
  };
  const std::pair<const char*, FakeServer::Session> cases[] = {
      {"a begin while a file is open", [begin](Peer& p) { p.Send(kMsgFileBegin, begin(5)); p.Send(kMsgFileBegin, begin(5)); }},
      {"a chunk without a file", [](Peer& p) { p.Send(kMsgFileChunk, "abc"); }},
      {"a chunk past the size", [begin](Peer& p) { p.Send(kMsgFileBegin, begin(5)); p.Send(kMsgFileChunk, "123456"); }},
      {"an end without a file", [](Peer& p) { p.Send(kMsgFileEnd); }},
      {"a begin cut short", [](Peer& p) { p.Send(kMsgFileBegin, Dword(5) + std::string(1, 0) + "abc"); }},
  };
  for (const auto& [what, session] : cases) {
    Transcript t;
    server_.Serve({[session = session](Peer& p) {
      p.Login();
      session(p);
    }});
    ClientConn conn(&RealEngine);
    EXPECT_EQ(conn.Run("Upd1", t.Context(), &Transcript::Callback), -1) << what;
    server_.Join();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{kErrProtocol}) << what << "\n" << t.Dump();
  }
}

TEST_F(ClientTest, UnknownFramesAreRefusedAndTheRunGoesOn) {
  Serve([&](Peer& p) {
    p.SendRaw(Frame(2047, ""));
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgUnused);
    EXPECT_EQ(p.ExpectStatus(), 0);
    p.Send(kMsgShowText, Text("still here"));
  });
  EXPECT_EQ(RunClient(), 0) << t_.Dump();
  EXPECT_EQ(t_.Of(14), (std::vector<std::string>{"\"still here\" 10"}));
}

TEST_F(ClientTest, AFrameLengthOutsideTheProtocolEndsTheRunWithAnError) {
  const std::pair<const char*, std::string> cases[] = {
      {"oversized", Frame(kMsgShowText, "", 9, 0xffff)},
      {"shorter than its header", Frame(kMsgShowText, "", 9, 4).substr(0, 4)},
  };
  for (const auto& [what, bytes] : cases) {
    Transcript t;
    std::atomic<int> refusals{0};
    server_.Serve({[&, bytes = bytes](Peer& p) {
      p.Login();
      p.SendRaw(bytes);
      for (RawFrame f = p.Next(); f.id != 0; f = p.Next()) {
        if (f.id == kMsgStatus && f.payload == std::string(1, '\0')) ++refusals;
      }
    }});
    ClientConn conn(&RealEngine);
    EXPECT_EQ(conn.Run("Upd1", t.Context(), &Transcript::Callback), -1) << what;
    server_.Join();
    EXPECT_EQ(t.Codes(), (std::vector<int>{0, 12, 11})) << what << "\n" << t.Dump();
    EXPECT_EQ(t.Errors(), std::vector<uint32_t>{kErrTransfer}) << what;
    EXPECT_EQ(t.ErrorMessages(), std::vector<std::string>{LoadLanguageString(31)}) << what;
    EXPECT_EQ(refusals, 11) << what;
  }
}

TEST_F(ClientTest, AStalledServerIsLeftByAnAbort) {
  std::atomic<bool> release{false};
  server_.Serve({[&](Peer& p) {
    p.Login();
    // Says nothing more until the client has gone.
    while (!release) platform::SleepMs(5);
  }});
  ClientConn conn(&RealEngine);
  std::thread host([&] {
    EXPECT_TRUE(t_.WaitForReports(2));
    conn.Abort();
  });
  EXPECT_EQ(conn.Run("Upd1", t_.Context(), &Transcript::Callback), 0);
  host.join();
  release = true;
  server_.Join();
  EXPECT_EQ(t_.Codes(), (std::vector<int>{0, 12}));
}

TEST_F(ClientTest, AFailureMidApplyPutsTheInstallationBack) {
  dir_.Write("product/one.dat", "old one");
  dir_.Write("product/blocked", "a file where a folder must go");
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("one.dat", "new one"), 1);
    EXPECT_EQ(p.SendFile("two.dat", "new two"), 1);
    EXPECT_EQ(p.SendFile("three.dat", "new three", "blocked"), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 0);
  }, false);
  EXPECT_EQ(RunClient(), -1) << t_.Dump();
  EXPECT_EQ(t_.Errors(), std::vector<uint32_t>{kErrCreateDirectory});
  EXPECT_EQ(dir_.Read("product/one.dat"), "old one");
  EXPECT_FALSE(dir_.Has("product/two.dat"));
  EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(ClientTest, AHostThatSaysStopEndsTheRunWithoutMoreReports) {
  t_.StopAt(14);
  Serve([&](Peer& p) {
    p.Send(kMsgShowText, Text("one"));
    p.Send(kMsgShowText, Text("two"));
  }, false);
  EXPECT_EQ(RunClient(), -1);
  EXPECT_EQ(t_.Codes(), (std::vector<int>{0, 12, 14}));
}

TEST_F(ClientTest, AnAbortWhileConnectingEndsTheFlushWait) {
  Settings().flushWaitMs = 60000;  // a server that never greets would hold the run for minutes
  std::atomic<bool> release{false};
  server_.Serve({[&](Peer&) {
    while (!release) platform::SleepMs(5);
  }});
  ClientConn conn(&RealEngine);
  std::thread host([&] {
    platform::SleepMs(100);
    conn.Abort();
  });
  EXPECT_EQ(conn.Run("Upd1", t_.Context(), &Transcript::Callback), 0);
  host.join();
  release = true;
  server_.Join();
  EXPECT_TRUE(t_.Errors().empty()) << t_.Dump();
}

TEST_F(ClientTest, AnAbortWhileInstallingPutsTheInstallationBack) {
  dir_.Write("product/one.dat", "old one");
  ClientConn conn(&RealEngine);
  struct Host {
    Transcript* t;
    ClientConn* conn;
    static int32_t Callback(intptr_t context, int32_t code, intptr_t data, int32_t value) {
      Host* h = reinterpret_cast<Host*>(context);
      if (code == 9) h->conn->RequestAbort();  // the host stops after the first file
      return h->t->Record(code, data, value);
    }
  } host{&t_, &conn};
  Serve([&](Peer& p) {
    EXPECT_EQ(p.SendFile("one.dat", "new one"), 1);
    EXPECT_EQ(p.SendFile("two.dat", "new two"), 1);
    p.Send(kMsgApplyUpdates);
    EXPECT_EQ(p.ExpectStatus(), 0);
  }, false);
  EXPECT_EQ(conn.Run("Upd1", reinterpret_cast<intptr_t>(&host), &Host::Callback), 0);
  server_.Join();
  EXPECT_EQ(dir_.Read("product/one.dat"), "old one");
  EXPECT_FALSE(dir_.Has("product/two.dat"));
  EXPECT_TRUE(t_.Errors().empty()) << t_.Dump();
  EXPECT_TRUE(NothingLeftBehind());
}
