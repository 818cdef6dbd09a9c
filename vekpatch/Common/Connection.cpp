#include "vekpatch/Common/Connection.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/Clock.h"
#include "vekpatch/Common/LanguageResources.h"
#include "vekpatch/Common/VekException.h"
#include "vekpatch/Common/VekSettings.h"

namespace vek {

namespace {

// Errors raised by this file always name the connection unit, also when a
// client connection calls these operations.
constexpr const char* kConnectionUnit = "connection.cpp";

}  // namespace

Connection::Lock::Lock(Connection& c) : mutex_(c.lock_) {
  if (!mutex_.try_lock_for(std::chrono::milliseconds(Settings().lockTimeoutMs))) {
    c.Raise(kErrBusy, 29, __LINE__);
  }
}

Connection::Connection() : log_(VekLog::AddUser()) { NetSocket::Instance().Start(); }

Connection::~Connection() {
  CloseSocket();
  VekLog::RemoveUser();
}

void Connection::Raise(uint32_t code, int stringId, int line, std::initializer_list<std::string> texts) const {
  RaiseVek(code, stringId, kConnectionUnit, line, texts);
}

void Connection::Append(const void* data, size_t size) {
  if (size > kMaxFrameSize - length_) Raise(kErrInvalidArgument, 39, __LINE__, {"Connection::SendMsg"});
  std::memcpy(buffer_.data() + length_, data, size);
  length_ = static_cast<uint16_t>(length_ + size);
  buffer_[2] = static_cast<uint8_t>(length_ >> 8);
  buffer_[3] = static_cast<uint8_t>(length_);
}

void Connection::BeginMsg(uint16_t id) {
  buffer_[0] = static_cast<uint8_t>(id >> 8);
  buffer_[1] = static_cast<uint8_t>(id);
  length_ = 4;
  AddDword(sequence_);
}

void Connection::AddFlag(int flag) { AddByte(flag == 1 ? 1 : 0); }
void Connection::AddByte(uint8_t value) { Append(&value, 1); }
void Connection::AddWord(uint16_t value) {
  const uint8_t b[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  Append(b, 2);
}
void Connection::AddDword(uint32_t value) {
  const uint8_t b[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                        static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  Append(b, 4);
}
void Connection::AddBytes(const void* data, size_t size) { Append(data, size); }
void Connection::AddText(std::string_view text) {
  if (text.size() > 0xffff) Raise(kErrInvalidArgument, 39, __LINE__, {"Connection::SendMsg"});
  AddWord(static_cast<uint16_t>(text.size()));
  Append(text.data(), text.size());
}

int Connection::SendMsg() {
  const VekSettings& s = Settings();
  for (int attempt = 0; attempt < s.sendAttempts; ++attempt) {
    if (NetSocket::Instance().Send(socket_, buffer_.data(), length_) >= 0) {
      bytesSent_ += length_;
      ++sequence_;
      return 0;
    }
    ++failedSends_;
    platform::SleepMs(static_cast<uint32_t>(attempt * s.sendPauseStepMs));
  }
  return -1;
}

uint16_t Connection::MsgId() const { return static_cast<uint16_t>(buffer_[0] << 8 | buffer_[1]); }

uint32_t Connection::MsgSequence() const {
  return uint32_t(buffer_[4]) << 24 | uint32_t(buffer_[5]) << 16 | uint32_t(buffer_[6]) << 8 | buffer_[7];
}

void Connection::CheckField(size_t offset, size_t size, const char* what) const {
  const size_t payload = length_ >= kHeaderSize ? length_ - kHeaderSize : 0;
  if (offset > payload || size > payload - offset) {
    RaiseVek(kErrProtocol, 45, kConnectionUnit, __LINE__, {what});
  }
}

uint8_t Connection::ReadByte(size_t offset) const {
  CheckField(offset, 1, "reading a byte of a message");
  return Payload()[offset];
}

uint16_t Connection::ReadWord(size_t offset) const {
  CheckField(offset, 2, "reading a 16-bit field of a message");
  const uint8_t* p = Payload() + offset;
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

uint32_t Connection::ReadDword(size_t offset) const {
  CheckField(offset, 4, "reading a 32-bit field of a message");
  const uint8_t* p = Payload() + offset;
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

std::string Connection::ReadBytes(size_t offset, size_t size) const {
  CheckField(offset, size, "reading the bytes of a message");
  return std::string(reinterpret_cast<const char*>(Payload() + offset), size);
}

std::string Connection::ReadText(size_t offset, size_t* next) const {
  const uint16_t size = ReadWord(offset);
  CheckField(offset + 2, size, "reading a text of a message");
  if (next != nullptr) *next = offset + 2 + size;
  return std::string(reinterpret_cast<const char*>(Payload() + offset + 2), size);
}

void Connection::SendStatus(uint8_t status) {
  Lock lock(*this);
  BeginMsg(kMsgStatus);
  AddFlag(status);
  if (SendMsg() != 0) Raise(kErrTransfer, 21, __LINE__);
}

void Connection::SendGoodbye() {
  Lock lock(*this);
  BeginMsg(kMsgGoodbye);
  if (SendMsg() != 0) Raise(kErrTransfer, 22, __LINE__);
  // The peer answers with a status; a peer that never does is not waited on
  // for ever.
  for (int i = 0; i < Settings().goodbyeFrames; ++i) {
    GetNextMsg();
    if (MsgId() == kMsgStatus) {
      HandleMsgStatus();
      return;
    }
  }
  Raise(kErrProtocol, 56, __LINE__);
}

void Connection::HandleMsgStatus() {
  Lock lock(*this);
  lastStatus_ = ReadFlag(0) ? 1 : 0;
}

void Connection::HandleMsgGoodbye() {
  log_.Log(255, "Enter: Connection::HandleMsgGoodbye");
  Lock lock(*this);
  try {
    SendAck();
  } catch (const VekException& e) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", e.Code());
    log_.Log(1, "%s", LanguageMessage(34, {e.Message(), code, e.Source()}, {e.Line()}).c_str());
    log_.Log(255, "Exit: Connection::HandleMsgGoodbye, failed");
    throw;
  }
  log_.Log(255, "Exit: Connection::HandleMsgGoodbye");
}

int Connection::ReadHeader(int timeoutMs) {
  const VekSettings& s = Settings();
  NetSocket& net = NetSocket::Instance();
  for (int round = 0; round < s.headerRounds; ++round) {
    uint8_t header[4];
    bool known = false;
    for (int peek = 0; peek < s.headerPeeks && !known; ++peek) {
      if (peek > 0) platform::SleepMs(static_cast<uint32_t>(s.headerPeekPauseMs));  // the rest is on its way
      const int w = net.WaitReadable(socket_, timeoutMs);
      if (w == 0) return -1;
      if (w < 0) return -2;
      known = net.Peek(socket_, header, sizeof header) == static_cast<int>(sizeof header);
    }
    if (!known) return -2;
    const int length = header[2] << 8 | header[3];
    if (length >= static_cast<int>(kHeaderSize) && length <= static_cast<int>(kMaxFrameSize)) return length;
    // A frame that cannot be held, or whose length cannot even cover its
    // header, stays queued: nothing after it can be found, so it is refused
    // until the rounds run out and the read fails.
    SendNak();
  }
  return -2;
}

int Connection::GetNextMsg(int timeoutMs) {
  log_.Log(255, "Enter: GetNextMsg");
  const VekSettings& s = Settings();
  const bool given = timeoutMs != kNoTimeout;
  const int wait = given ? timeoutMs : s.messageTimeoutMs;
  NetSocket& net = NetSocket::Instance();
  try {
    for (int frame = 0; frame < s.invalidFramesPerCall; ++frame) {
      const int length = ReadHeader(wait);
      if (length == -1) {
        if (given) {
          log_.Log(255, "Exit: GetNextMsg");
          return 0;
        }
        Raise(kErrTransfer, 33, __LINE__);
      }
      if (length < 0) Raise(kErrTransfer, 31, __LINE__);
      size_t got = 0;
      for (int attempt = 0; attempt < s.receiveRounds && got < static_cast<size_t>(length); ++attempt) {
        if (net.WaitReadable(socket_, wait) < 0) break;
        const int n = net.Receive(socket_, buffer_.data() + got, static_cast<size_t>(length) - got);
        if (n == NetSocket::kError || n == NetSocket::kNoSocket) break;
        if (n > 0) got += static_cast<size_t>(n);
      }
      length_ = static_cast<uint16_t>(got);
      if (got < static_cast<size_t>(length)) Raise(kErrTransfer, 32, __LINE__);
      bytesReceived_ += static_cast<uint32_t>(length);
      const uint16_t id = MsgId();
      if (id >= kFirstMessageId && id <= kLastMessageId) {
        ++validFrames_;
        log_.Log(255, "Exit: GetNextMsg");
        return 1;
      }
      log_.Log(2, "Message with invalid message ID received.");
      SendNak();
    }
    Raise(kErrProtocol, 56, __LINE__);
  } catch (...) {
    log_.Log(255, "Exit, GetNextMsg, failed");
    throw;
  }
}

}  // namespace vek
