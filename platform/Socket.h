// IPv4 TCP sockets for the update library's connection to its patch server,
// and the loopback pieces its tests play a server with.
//
// Answers keep the operating system's error number (errno) as the socket's
// last error, so callers can report it the way they reported Winsock codes.
// The descriptor is held atomically: another thread may Shutdown() a socket
// that its owner is blocked on (an abort), and only the owner closes it, so
// the descriptor number is never reused under a waiting call.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct SocketAddress {
  uint32_t ip = 0;     // host byte order: 127.0.0.1 is 0x7f000001
  uint16_t port = 0;
  // Dotted text, "127.0.0.1".
  std::string Text() const;
};

// The first IPv4 address of a host name or dotted text; false (error number
// in `error`, a resolver code otherwise EHOSTUNREACH) when there is none.
bool ResolveIPv4(std::string_view host, uint32_t& ip, int& error);

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(TcpSocket&& other) noexcept;
  TcpSocket& operator=(TcpSocket&& other) noexcept;
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // A new unconnected IPv4 stream socket (an open one is closed first).
  bool Create();
  bool IsOpen() const { return fd_.load() >= 0; }

  bool SetReuseAddress(bool on);
  // Linger on close for `seconds` (on) or not at all (off).
  bool SetLinger(bool on, int seconds);
  // Small frames go out at once instead of waiting for the previous one's
  // acknowledgement (no 40 ms stalls in a question-and-answer protocol).
  bool SetNoDelay(bool on);
  bool Connect(const SocketAddress& address);
  bool LocalAddress(SocketAddress& out);

  // 1 readable (data, end of stream or an error to collect), 0 the time-out
  // passed, -1 an error. A negative time-out waits without limit.
  int WaitReadable(int timeoutMs);
  // Bytes read (0 at the end of the stream), -1 on an error. With peek the
  // bytes stay queued. Never blocks longer than the data takes to come when
  // WaitReadable said so.
  int64_t Receive(void* buffer, size_t count, bool peek = false);
  // Sends every byte or fails; a closed peer is an error (EPIPE), never a
  // signal.
  bool SendAll(const void* data, size_t count);
  // Ends both directions; a thread blocked in WaitReadable or Receive wakes.
  // Safe from any thread while the owner uses the socket.
  void Shutdown();
  void Close();

  int LastError() const { return error_.load(); }

 private:
  friend bool MakeSocketPair(TcpSocket&, TcpSocket&);
  friend class TcpListener;
  bool Fail();
  std::atomic<int> fd_{-1};
  std::atomic<int> error_{0};
};

// Two connected stream sockets (local), for tests of framing over a real
// descriptor.
bool MakeSocketPair(TcpSocket& a, TcpSocket& b);

// A listener on 127.0.0.1 with a port chosen by the system, for test servers.
class TcpListener {
 public:
  TcpListener() = default;
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  bool Listen();
  uint16_t Port() const { return port_; }
  // Waits at most `timeoutMs` for a client; false on a time-out or error.
  bool Accept(TcpSocket& out, int timeoutMs);
  void Close();

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

}  // namespace platform
