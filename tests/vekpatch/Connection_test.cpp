#include "vekpatch/Common/Connection.h"

#include <functional>
#include <thread>

#include "VekTestSupport.h"
#include "vekpatch/Common/NetSocket.h"
#include "vekpatch/Common/VekException.h"

using namespace vek;
using namespace vek_test;

namespace {

class ConnectionTest : public VekTest {
 protected:
  void SetUp() override {
    VekTest::SetUp();
    platform::TcpSocket mine;
    ASSERT_TRUE(platform::MakeSocketPair(mine, peer_));
    conn_.AttachSocket(std::move(mine));
  }
  void Send(const std::string& bytes) { ASSERT_TRUE(peer_.SendAll(bytes.data(), bytes.size())); }
  // The status byte of the next frame the connection sent, -1 when that was
  // not a status.
  int NextStatus() {
    const RawFrame f = ReadFrame(peer_);
    return f.id == kMsgStatus && f.payload.size() == 1 ? static_cast<uint8_t>(f.payload[0]) : -1;
  }
  Connection conn_;
  platform::TcpSocket peer_;
};

}  // namespace

TEST_F(ConnectionTest, EveryEncodingRoundTripsAndSequencesCountFromOne) {
  for (uint32_t expected = 1; expected <= 3; ++expected) {
    conn_.BeginMsg(kMsgFileBegin);
    conn_.AddDword(0xdeadbeef);
    conn_.AddFlag(1);
    conn_.AddFlag(7);  // only 1 is written as yes
    conn_.AddWord(0xbeef);
    conn_.AddByte(0x80);
    conn_.AddText("name.bin");
    conn_.AddBytes("\x00\xff", 2);
    ASSERT_EQ(conn_.SendMsg(), 0);
    const RawFrame raw = ReadFrame(peer_);
    EXPECT_EQ(raw.id, kMsgFileBegin);
    EXPECT_EQ(raw.sequence, expected);
    // Back through the reader of a second connection.
    Connection reader;
    platform::TcpSocket a, b;
    ASSERT_TRUE(platform::MakeSocketPair(a, b));
    reader.AttachSocket(std::move(a));
    ASSERT_TRUE(b.SendAll(Frame(raw.id, raw.payload).data(), raw.payload.size() + 8));
    ASSERT_EQ(reader.GetNextMsg(1000), 1);
    EXPECT_EQ(reader.MsgId(), kMsgFileBegin);
    EXPECT_EQ(reader.ReadDword(0), 0xdeadbeefu);
    EXPECT_TRUE(reader.ReadFlag(4));
    EXPECT_EQ(reader.ReadByte(5), 0);
    EXPECT_EQ(reader.ReadWord(6), 0xbeef);
    EXPECT_EQ(reader.ReadByte(8), 0x80);
    size_t next = 0;
    EXPECT_EQ(reader.ReadText(9, &next), "name.bin");
    EXPECT_EQ(reader.ReadBytes(next, 2), std::string("\x00\xff", 2));
    EXPECT_EQ(reader.PayloadSize(), next + 2);
  }
  EXPECT_EQ(conn_.Sequence(), 4u);
}

TEST_F(ConnectionTest, FramesOfTheLargestSizeAreTakenAndLargerOrShorterOnesFailTheRead) {
  Send(Frame(kMsgFileChunk, std::string(kMaxFrameSize - 8, 'x')));
  ASSERT_EQ(conn_.GetNextMsg(1000), 1);
  EXPECT_EQ(conn_.MsgLength(), kMaxFrameSize);

  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case refused[] = {
      {"16385 bytes", Frame(kMsgFileChunk, std::string(kMaxFrameSize - 7, 'y'))},
      {"length 65535 with nothing after the header", Frame(kMsgFileChunk, "", 1, 0xffff)},
      {"length 7", Frame(kMsgFileChunk, "abc", 1, 7).substr(0, 7)},
      {"length 4", Frame(kMsgFileChunk, "", 1, 4).substr(0, 4)},
      {"length 0", Frame(kMsgFileChunk, "", 1, 0)},
  };
  for (const Case& c : refused) {
    Connection conn;
    platform::TcpSocket mine, peer;
    ASSERT_TRUE(platform::MakeSocketPair(mine, peer));
    conn.AttachSocket(std::move(mine));
    // A good frame behind the bad one is never reached: the bad header stays
    // first in the queue until the read gives up.
    const std::string bytes = c.bytes + Frame(kMsgShowText, Text("after"));
    ASSERT_TRUE(peer.SendAll(bytes.data(), bytes.size()));
    std::string message;
    uint32_t code = 0;
    try {
      conn.GetNextMsg(1000);
    } catch (const VekException& e) {
      code = e.Code();
      message = e.Message();
    }
    EXPECT_EQ(code, kErrTransfer) << c.what;
    EXPECT_EQ(message, LoadLanguageString(31)) << c.what;
    for (int round = 0; round < 11; ++round) {
      const RawFrame f = ReadFrame(peer);
      EXPECT_EQ(f.id, kMsgStatus) << c.what << " round " << round;
      EXPECT_EQ(f.payload, std::string(1, '\0')) << c.what << " round " << round;
    }
  }
}

TEST_F(ConnectionTest, IdsOutsideTheTableAreRefusedAndElevenInARowRaise) {
  Send(Frame(2047, "") + Frame(2074, "x") + Frame(kMsgStatus, "\x01"));
  ASSERT_EQ(conn_.GetNextMsg(1000), 1);
  EXPECT_EQ(conn_.MsgId(), kMsgStatus);
  EXPECT_EQ(NextStatus(), 0);
  EXPECT_EQ(NextStatus(), 0);

  std::string garbage;
  for (int i = 0; i < 11; ++i) garbage += Frame(static_cast<uint16_t>(3000 + i), "");
  Send(garbage);
  EXPECT_EQ(CodeOf([&] { conn_.GetNextMsg(1000); }), kErrProtocol);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(NextStatus(), 0) << i;
}

TEST_F(ConnectionTest, FieldsPastTheFrameRaiseInsteadOfReadingOn) {
  // A text claiming 60000 bytes in a 10-byte payload.
  Send(Frame(kMsgShowText, Word(60000) + "12345678"));
  ASSERT_EQ(conn_.GetNextMsg(1000), 1);
  EXPECT_EQ(CodeOf([&] { conn_.ReadText(0); }), kErrProtocol);
  EXPECT_EQ(CodeOf([&] { conn_.ReadDword(7); }), kErrProtocol);
  EXPECT_EQ(CodeOf([&] { conn_.ReadByte(10); }), kErrProtocol);
  EXPECT_EQ(CodeOf([&] { conn_.ReadBytes(3, SIZE_MAX); }), kErrProtocol);
  EXPECT_EQ(conn_.ReadByte(9), '8');
}

TEST_F(ConnectionTest, AGivenTimeOutAnswersZeroAndNoneRaises) {
  EXPECT_EQ(conn_.GetNextMsg(30), 0);
  Settings().messageTimeoutMs = 30;
  EXPECT_EQ(CodeOf([&] { conn_.GetNextMsg(); }), kErrTransfer);
}

TEST_F(ConnectionTest, AFrameCutShortByTheServerRaises) {
  Send(Frame(kMsgShowText, Text("abcdef")).substr(0, 12));
  peer_.Close();
  EXPECT_EQ(CodeOf([&] { conn_.GetNextMsg(1000); }), kErrTransfer);
}

TEST_F(ConnectionTest, AFailingSendGivesUpAfterSixAttempts) {
  conn_.CloseSocket();
  conn_.BeginMsg(kMsgGoodbye);
  EXPECT_EQ(conn_.SendMsg(), -1);
  EXPECT_EQ(conn_.FailedSends(), 6u);
  EXPECT_EQ(conn_.Sequence(), 1u);
  EXPECT_EQ(CodeOf([&] { conn_.SendAck(); }), kErrTransfer);
}

TEST_F(ConnectionTest, OverlongOutgoingFramesAreRefusedBeforeSending) {
  conn_.BeginMsg(kMsgProductInfo);
  EXPECT_EQ(CodeOf([&] { conn_.AddText(std::string(kMaxFrameSize, 'n')); }), kErrInvalidArgument);
}

TEST_F(ConnectionTest, GoodbyeWaitsForTheStatusButNotForEver) {
  Send(Frame(kMsgShowText, Text("hi")) + Frame(kMsgStatus, "\x05"));
  conn_.SendGoodbye();
  EXPECT_EQ(ReadFrame(peer_).id, kMsgGoodbye);
  EXPECT_EQ(conn_.LastStatus(), 1);

  std::string chatter;
  for (int i = 0; i < 11; ++i) chatter += Frame(kMsgShowText, Text("x"));
  Send(chatter);
  EXPECT_EQ(CodeOf([&] { conn_.SendGoodbye(); }), kErrProtocol);
}

TEST_F(ConnectionTest, AGoodbyeIsAnsweredWithAPositiveStatus) {
  Send(Frame(kMsgGoodbye, ""));
  ASSERT_EQ(conn_.GetNextMsg(1000), 1);
  conn_.HandleMsgGoodbye();
  EXPECT_EQ(NextStatus(), 1);
}

TEST_F(ConnectionTest, TheFlushHandshakeAnswersTheGreetingAndWaitsForTheEcho) {
  platform::TcpSocket client, server;
  ASSERT_TRUE(platform::MakeSocketPair(client, server));
  std::thread serverSide([&] {
    server.SendAll("hello", 5);
    const std::string flush = ReadExactly(server, 15);
    EXPECT_EQ(flush, std::string("Flush the pipe\0", 15));
    server.SendAll(flush.data(), flush.size());
  });
  EXPECT_EQ(NetSocket::Instance().FlushSocket(client), 0);
  serverSide.join();
  EXPECT_TRUE(client.IsOpen());

  // A server that hangs up instead of greeting fails it and the socket closes.
  ASSERT_TRUE(platform::MakeSocketPair(client, server));
  server.Close();
  EXPECT_EQ(NetSocket::Instance().FlushSocket(client), -1);
  EXPECT_FALSE(client.IsOpen());
}
