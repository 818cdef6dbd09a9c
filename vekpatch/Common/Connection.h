// One framed-message connection between the update library and its patch
// server. A frame is an 8-byte big-endian header (id 2048-2073, total length
// 8-16384, the sender's sequence number counting from 1) and its payload.
// The connection builds and sends frames, reads and checks incoming ones into
// its buffer, and answers the four messages both sides share: status,
// acknowledge, negative acknowledge and goodbye. ClientConn adds the client's
// handlers on top.
//
// Nothing in a received frame is trusted: every field read checks its offset
// and size against the frame's length and raises 0x10000002 past the end.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Socket.h"
#include "vekpatch/Common/NetSocket.h"
#include "vekpatch/Common/VekLog.h"

namespace vek {

enum MessageId : uint16_t {
  kMsgConnect = 2048,
  kMsgRedirect = 2049,
  kMsgProductInfo = 2050,
  kMsgRegKey = 2051,
  kMsgRegTestKey = 2052,
  kMsgRegQueryDword = 2053,
  kMsgDwordAnswer = 2054,
  kMsgRegTestDword = 2055,
  kMsgQueryVersion = 2056,
  kMsgTextAnswer = 2057,
  kMsgAskHost = 2058,
  kMsgHostValue = 2059,
  kMsgUpdateInfo = 2060,
  kMsgFileBegin = 2061,
  kMsgFileChunk = 2062,
  kMsgFileEnd = 2063,
  kMsgApplyUpdates = 2064,
  kMsgRegSetValue = 2065,
  kMsgRegDeleteValue = 2066,
  kMsgRegInitFile = 2067,
  kMsgShowText = 2068,
  kMsgStatus = 2069,
  kMsgGoodbye = 2070,
  kMsgCancel = 2071,
  kMsgUnused = 2072,
  kMsgOpenBrowser = 2073,
};

inline constexpr uint16_t kFirstMessageId = 2048;
inline constexpr uint16_t kLastMessageId = 2073;
inline constexpr size_t kHeaderSize = 8;
inline constexpr size_t kMaxFrameSize = 16384;

// A read given no time-out waits the settings' message time-out and then
// raises instead of answering 0.
inline constexpr int kNoTimeout = -1;

class Connection {
 public:
  Connection();
  virtual ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Frame building: BeginMsg writes the header with the current sequence
  // number; each Add appends big-endian. A frame that would outgrow 16384
  // bytes raises 0x10000004.
  void BeginMsg(uint16_t id);
  void AddFlag(int flag);
  void AddByte(uint8_t value);
  void AddWord(uint16_t value);
  void AddDword(uint32_t value);
  void AddBytes(const void* data, size_t size);
  // A 16-bit length and the bytes.
  void AddText(std::string_view text);
  // 0 sent, -1 after every attempt failed.
  virtual int SendMsg();

  // The frame in the buffer.
  uint16_t MsgId() const;
  uint16_t MsgLength() const { return length_; }
  uint32_t MsgSequence() const;
  uint16_t PayloadSize() const { return static_cast<uint16_t>(length_ - kHeaderSize); }
  // Payload fields at an offset from the first payload byte; past the frame's
  // end they raise 0x10000002.
  bool ReadFlag(size_t offset) const { return ReadByte(offset) != 0; }
  uint8_t ReadByte(size_t offset) const;
  uint16_t ReadWord(size_t offset) const;
  uint32_t ReadDword(size_t offset) const;
  std::string ReadBytes(size_t offset, size_t size) const;
  // A text (16-bit length and bytes); `next` gets the offset after it.
  std::string ReadText(size_t offset, size_t* next = nullptr) const;
  const uint8_t* Payload() const { return buffer_.data() + kHeaderSize; }

  virtual void SendStatus(uint8_t status);
  virtual void SendAck() { SendStatus(1); }
  virtual void SendNak() { SendStatus(0); }
  // Says goodbye and waits (a bounded number of frames) for the status.
  virtual void SendGoodbye();
  virtual void HandleMsgStatus();
  virtual void HandleMsgGoodbye();
  // 1 when a valid frame is in the buffer, 0 when `timeoutMs` passed without
  // one (with kNoTimeout the wait is the settings' and its end raises).
  virtual int GetNextMsg(int timeoutMs = kNoTimeout);
  // The length of the next frame, peeked and left queued: -1 the time-out
  // passed, -2 no header could be had. A frame of a length outside 8-16384 is
  // refused with a negative status in each round, and after the last -2.
  int ReadHeader(int timeoutMs);

  // The socket the connection talks over; tests attach one end of a pair.
  platform::TcpSocket& Socket() { return socket_; }
  void AttachSocket(platform::TcpSocket&& socket) { socket_ = std::move(socket); }
  void CloseSocket() { NetSocket::Instance().Close(socket_); }

  uint32_t Sequence() const { return sequence_; }
  void ResetSequence() { sequence_ = 1; }
  uint8_t LastStatus() const { return lastStatus_; }
  uint32_t BytesSent() const { return bytesSent_; }
  uint32_t BytesReceived() const { return bytesReceived_; }
  uint32_t ValidFrames() const { return validFrames_; }
  // Send attempts that failed, over the connection's life.
  uint32_t FailedSends() const { return failedSends_; }

 protected:
  // Holds the connection lock for a block; raises 0x10000013 when it is not
  // had within the settings' lock time-out.
  class Lock {
   public:
    explicit Lock(Connection& c);
    ~Lock() { mutex_.unlock(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    std::recursive_timed_mutex& mutex_;
  };

  // Raises `code` with language string `stringId` from this unit.
  [[noreturn]] void Raise(uint32_t code, int stringId, int line, std::initializer_list<std::string> texts = {}) const;
  void CheckField(size_t offset, size_t size, const char* what) const;
  void Append(const void* data, size_t size);

  VekLog& log_;

 private:
  platform::TcpSocket socket_;
  std::array<uint8_t, kMaxFrameSize> buffer_{};
  uint16_t length_ = 0;
  uint32_t sequence_ = 1;
  uint8_t lastStatus_ = 0;
  uint32_t bytesSent_ = 0;
  uint32_t bytesReceived_ = 0;
  uint32_t validFrames_ = 0;
  uint32_t failedSends_ = 0;
  std::recursive_timed_mutex lock_;
};

}  // namespace vek
