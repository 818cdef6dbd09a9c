// A patch server played by a test: it listens on 127.0.0.1, accepts the
// client's connections in turn, and runs one scripted session for each on its
// own thread, sending and expecting frames byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "VekTestSupport.h"
#include "platform/Socket.h"
#include "vekpatch/Common/Connection.h"
#include "vekpatch/Common/Md5.h"
#include "vekpatch/VekPatch.h"

namespace vek_test {

// The server's end of one connection.
class Peer {
 public:
  explicit Peer(platform::TcpSocket&& s) : s_(std::move(s)) {}

  void Send(uint16_t id, const std::string& payload = "") { SendRaw(Frame(id, payload, seq_++)); }
  void SendRaw(const std::string& bytes) { s_.SendAll(bytes.data(), bytes.size()); }
  RawFrame Next() { return ReadFrame(s_); }
  // The next frame, which must have this id.
  RawFrame Expect(uint16_t id) {
    RawFrame f = Next();
    EXPECT_EQ(f.id, id) << "frame payload size " << f.payload.size();
    return f;
  }
  // The status byte of the next frame (a status), -1 otherwise.
  int ExpectStatus() {
    const RawFrame f = Expect(vek::kMsgStatus);
    return f.payload.size() == 1 ? static_cast<uint8_t>(f.payload[0]) : -1;
  }

  // The flush handshake and the connect message, answered positively.
  void Accept() {
    SendRaw("hello");
    const std::string flush = ReadExactly(s_, 15);
    EXPECT_EQ(flush, std::string("Flush the pipe\0", 15));
    SendRaw(flush);
    const RawFrame connect = Expect(vek::kMsgConnect);
    EXPECT_EQ(connect.payload, Dword(3));
    EXPECT_EQ(connect.sequence, 1u);
    Send(vek::kMsgStatus, "\x01");
  }
  // The client closes the connection (after an error) instead of answering.
  bool ExpectHangUp() { return Next().id == 0; }
  // A file's begin, chunks and end, without waiting for the verdict.
  void SendFileFrames(const std::string& name, const std::string& bytes, const std::string& targetDir = "",
                      bool patch = false, const std::string& digest = "") {
    const std::string md5 = digest.empty() ? vek::Md5::Of(bytes) : digest;
    Send(vek::kMsgFileBegin, Dword(static_cast<uint32_t>(bytes.size())) + std::string(1, patch ? 1 : 0) + md5 +
                                 Text(name) + Text(targetDir));
    for (size_t at = 0; at < bytes.size(); at += 5000) Send(vek::kMsgFileChunk, bytes.substr(at, 5000));
    Send(vek::kMsgFileEnd);
  }
  // Accept, a positive login reply, and the product information.
  RawFrame Login() {
    Accept();
    Send(vek::kMsgStatus, "\x01");
    return Expect(vek::kMsgProductInfo);
  }
  // Goodbye, answered by the client's positive status.
  void Goodbye() {
    Send(vek::kMsgGoodbye);
    EXPECT_EQ(ExpectStatus(), 1);
  }
  // One whole file: begin, its chunks, end; the client's verdict (1 accepted).
  int SendFile(const std::string& name, const std::string& bytes, const std::string& targetDir = "",
               bool patch = false, const std::string& digest = "") {
    SendFileFrames(name, bytes, targetDir, patch, digest);
    return ExpectStatus();
  }
  platform::TcpSocket& Socket() { return s_; }

 private:
  platform::TcpSocket s_;
  uint32_t seq_ = 1;
};

class FakeServer {
 public:
  using Session = std::function<void(Peer&)>;

  FakeServer() { EXPECT_TRUE(listener_.Listen()); }
  ~FakeServer() { Join(); }

  uint16_t Port() const { return listener_.Port(); }
  std::string Address() const { return "127.0.0.1:" + std::to_string(Port()); }

  // Plays the sessions, one per connection the client makes, in order.
  void Serve(std::vector<Session> sessions) {
    thread_ = std::thread([this, sessions = std::move(sessions)] {
      for (const Session& session : sessions) {
        platform::TcpSocket s;
        if (!listener_.Accept(s, 10000)) {
          ADD_FAILURE() << "the client did not connect";
          return;
        }
        Peer peer(std::move(s));
        session(peer);
      }
    });
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  platform::TcpListener listener_;
  std::thread thread_;
};

// Every callback as a line, the way vekhost prints them.
class Transcript {
 public:
  static int32_t Callback(intptr_t context, int32_t code, intptr_t data, int32_t value) {
    return reinterpret_cast<Transcript*>(context)->Record(code, data, value);
  }
  int32_t Record(int32_t code, intptr_t data, int32_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    codes_.push_back(code);
    std::string line = std::to_string(code);
    if (code == 1 || code == 4 || code == 7 || code == 12 || code == 13 || code == 14) {
      line += " \"" + std::string(reinterpret_cast<const char*>(data)) + "\"";
    } else if (code == 11) {
      const VekErrorInfo* info = reinterpret_cast<const VekErrorInfo*>(data);
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08x", static_cast<uint32_t>(info->code));
      line += std::string(" ") + hex + " " + info->source;
      errors_.push_back(static_cast<uint32_t>(info->code));
      messages_.push_back(info->message != nullptr ? info->message : "");
    } else {
      line += " " + std::to_string(data);
    }
    lines_.push_back(line + " " + std::to_string(value));
    if (code == 13) return answer_;
    return code == stopAt_ ? 0 : 1;
  }
  std::vector<int> Codes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return codes_;
  }
  std::vector<std::string> Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  std::vector<uint32_t> Errors() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errors_;
  }
  // The message of every error report, in order.
  std::vector<std::string> ErrorMessages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  // The data of every report of a code, in order.
  std::vector<std::string> Of(int code) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    for (const std::string& l : lines_) {
      if (l.rfind(std::to_string(code) + " ", 0) == 0) out.push_back(l.substr(l.find(' ') + 1));
    }
    return out;
  }
  std::string Dump() const {
    std::string out;
    for (const std::string& l : Lines()) out += l + "\n";
    return out;
  }
  // Waits (at most 20 s) until `count` reports came; false when they did not.
  bool WaitForReports(size_t count) const {
    for (int i = 0; i < 4000; ++i) {
      if (Codes().size() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void AnswerQuestions(int32_t answer) { answer_ = answer; }
  void StopAt(int code) { stopAt_ = code; }
  intptr_t Context() { return reinterpret_cast<intptr_t>(this); }

 private:
  mutable std::mutex mutex_;
  std::vector<int> codes_;
  std::vector<std::string> lines_;
  std::vector<uint32_t> errors_;
  std::vector<std::string> messages_;
  int32_t answer_ = 1;
  int stopAt_ = -1;
};

}  // namespace vek_test
