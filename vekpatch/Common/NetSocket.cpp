#include "vekpatch/Common/NetSocket.h"

#include <cstring>

#include "vekpatch/Common/VekSettings.h"

namespace vek {

NetSocket& NetSocket::Instance() {
  static NetSocket socketLayer;
  return socketLayer;
}

int NetSocket::Fail(platform::TcpSocket& socket, bool close) {
  lastError_ = socket.LastError();
  if (close) socket.Close();
  return kError;
}

int NetSocket::Create(const std::string& host, uint16_t port, platform::TcpSocket& socket,
                      platform::SocketAddress& address) {
  if (!socket.Create() || !socket.SetReuseAddress(false) || !socket.SetLinger(true, 3) || !socket.SetNoDelay(true)) {
    return Fail(socket, true);
  }
  int error = 0;
  uint32_t ip = 0;
  if (!platform::ResolveIPv4(host, ip, error)) {
    lastError_ = error;
    socket.Close();
    return kError;
  }
  address.ip = ip;
  address.port = port;
  return 0;
}

int NetSocket::Connect(platform::TcpSocket& socket, const platform::SocketAddress& address) {
  if (!socket.IsOpen()) return kNoSocket;
  if (!socket.Connect(address) || !socket.LocalAddress(local_)) return Fail(socket, false);
  return 0;
}

std::string NetSocket::LocalAddressText() const { return local_.Text(); }

int NetSocket::WaitReadable(platform::TcpSocket& socket, int timeoutMs) {
  if (!socket.IsOpen()) return kNoSocket;
  const int rc = socket.WaitReadable(timeoutMs);
  if (rc < 0) lastError_ = socket.LastError();
  return rc;
}

int NetSocket::FlushSocket(platform::TcpSocket& socket) {
  const VekSettings& s = Settings();
  char scratch[100];
  bool greeted = false;
  for (int i = 0; i < s.flushRounds && !greeted; ++i) {
    const int w = WaitReadable(socket, s.flushWaitMs);
    if (w < 0) return Fail(socket, true);
    if (w == 0) continue;
    const int64_t n = socket.Receive(scratch, sizeof scratch);
    if (n < 0) return Fail(socket, true);
    greeted = n > 0;
    if (n == 0) break;  // the server hung up
  }
  static const char kFlush[] = "Flush the pipe";  // sent with its zero: 15 bytes
  if (!greeted || !socket.SendAll(kFlush, sizeof kFlush)) return Fail(socket, true);
  for (int i = 0; i < s.flushRounds; ++i) {
    const int w = WaitReadable(socket, s.flushWaitMs);
    if (w < 0) return Fail(socket, true);
    if (w == 0) continue;
    const int64_t n = socket.Receive(scratch, sizeof kFlush);
    if (n > 0) return 0;
    if (n < 0) return Fail(socket, true);
    break;
  }
  socket.Close();
  return kError;
}

int NetSocket::Send(platform::TcpSocket& socket, const void* data, size_t length) {
  if (!socket.IsOpen()) return kNoSocket;
  if (!socket.SendAll(data, length)) return Fail(socket, true);
  return static_cast<int>(length);
}

int NetSocket::Receive(platform::TcpSocket& socket, void* buffer, size_t length, bool peek) {
  if (!socket.IsOpen()) return kNoSocket;
  std::memset(buffer, 0, length);
  const VekSettings& s = Settings();
  for (int round = 0; round < s.receiveRounds;) {
    const int w = socket.WaitReadable(s.receiveRoundMs);
    if (w < 0) return Fail(socket, false);
    if (w == 0) {
      round += 2;  // a wait that timed out counts twice
      continue;
    }
    const int64_t n = socket.Receive(buffer, length, peek);
    if (n < 0) return Fail(socket, false);
    if (n > 0) return static_cast<int>(n);
    ++round;  // end of stream: nothing will come
  }
  return kTimedOut;
}

}  // namespace vek
