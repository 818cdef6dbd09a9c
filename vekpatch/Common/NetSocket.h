// The thin socket layer under a connection: create and connect with the
// protocol's options, the flush handshake after a connect, and sends and
// receives in bounded rounds. Results: 0 or a byte count on success, -1 on a
// socket error (its number kept as LastError), -2 when the rounds ran out with
// nothing read, -28 when there is no socket.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "platform/Socket.h"

namespace vek {

class NetSocket {
 public:
  static constexpr int kError = -1;
  static constexpr int kTimedOut = -2;
  static constexpr int kNoSocket = -28;

  // The process's one socket layer.
  static NetSocket& Instance();

  int Start() { return 0; }
  // A stream socket for the host and port, its options set and the address
  // resolved; the socket is closed again on any failure.
  int Create(const std::string& host, uint16_t port, platform::TcpSocket& socket, platform::SocketAddress& address);
  // Connects and keeps the local address.
  int Connect(platform::TcpSocket& socket, const platform::SocketAddress& address);
  // The handshake after every connect: wait for the server's greeting, answer
  // "Flush the pipe" and wait for its echo. Closes the socket on failure.
  int FlushSocket(platform::TcpSocket& socket);
  // Sends every byte; closes the socket on an error.
  int Send(platform::TcpSocket& socket, const void* data, size_t length);
  // Waits up to a round at a time for data and reads what is there.
  int Receive(platform::TcpSocket& socket, void* buffer, size_t length, bool peek = false);
  int Peek(platform::TcpSocket& socket, void* buffer, size_t length) { return Receive(socket, buffer, length, true); }
  // 1 readable, 0 time-out, -1 error, -28 no socket.
  int WaitReadable(platform::TcpSocket& socket, int timeoutMs);
  void Close(platform::TcpSocket& socket) { socket.Close(); }

  int LastError() const { return lastError_.load(); }
  std::string LocalAddressText() const;

 private:
  int Fail(platform::TcpSocket& socket, bool close);
  std::atomic<int> lastError_{0};
  platform::SocketAddress local_;
};

}  // namespace vek
