#include "platform/Socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {

namespace {

sockaddr_in ToNative(const SocketAddress& a) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_port = htons(a.port);
  s.sin_addr.s_addr = htonl(a.ip);
  return s;
}

int PollReadable(int fd, int timeoutMs) {
  pollfd p{};
  p.fd = fd;
  p.events = POLLIN;
  for (;;) {
    const int rc = poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (rc < 0 && errno == EINTR) continue;
    return rc < 0 ? -1 : (rc == 0 ? 0 : 1);
  }
}

}  // namespace

std::string SocketAddress::Text() const {
  return std::to_string((ip >> 24) & 0xff) + "." + std::to_string((ip >> 16) & 0xff) + "." +
         std::to_string((ip >> 8) & 0xff) + "." + std::to_string(ip & 0xff);
}

bool ResolveIPv4(std::string_view host, uint32_t& ip, int& error) {
  const std::string name(host);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const int rc = getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (rc != 0 || list == nullptr) {
    error = (rc == EAI_SYSTEM && errno != 0) ? errno : EHOSTUNREACH;
    if (list) freeaddrinfo(list);
    return false;
  }
  ip = ntohl(reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr);
  freeaddrinfo(list);
  return true;
}

TcpSocket::~TcpSocket() { Close(); }

TcpSocket::TcpSocket(TcpSocket&& other) noexcept
    : fd_(other.fd_.exchange(-1)), error_(other.error_.load()) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_.exchange(-1);
    error_ = other.error_.load();
  }
  return *this;
}

bool TcpSocket::Fail() {
  error_ = errno;
  return false;
}

bool TcpSocket::Create() {
  Close();
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Fail();
  fd_ = fd;
  return true;
}

bool TcpSocket::SetReuseAddress(bool on) {
  const int v = on ? 1 : 0;
  if (setsockopt(fd_.load(), SOL_SOCKET, SO_REUSEADDR, &v, sizeof v) != 0) return Fail();
  return true;
}

bool TcpSocket::SetLinger(bool on, int seconds) {
  linger l{};
  l.l_onoff = on ? 1 : 0;
  l.l_linger = seconds;
  if (setsockopt(fd_.load(), SOL_SOCKET, SO_LINGER, &l, sizeof l) != 0) return Fail();
  return true;
}

bool TcpSocket::SetNoDelay(bool on) {
  const int v = on ? 1 : 0;
  if (setsockopt(fd_.load(), IPPROTO_TCP, TCP_NODELAY, &v, sizeof v) != 0) return Fail();
  return true;
}

bool TcpSocket::Connect(const SocketAddress& address) {
  const sockaddr_in s = ToNative(address);
  int rc;
  do {
    rc = connect(fd_.load(), reinterpret_cast<const sockaddr*>(&s), sizeof s);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return Fail();
  return true;
}

bool TcpSocket::LocalAddress(SocketAddress& out) {
  sockaddr_in s{};
  socklen_t len = sizeof s;
  if (getsockname(fd_.load(), reinterpret_cast<sockaddr*>(&s), &len) != 0) return Fail();
  out.ip = ntohl(s.sin_addr.s_addr);
  out.port = ntohs(s.sin_port);
  return true;
}

int TcpSocket::WaitReadable(int timeoutMs) {
  const int rc = PollReadable(fd_.load(), timeoutMs);
  if (rc < 0) error_ = errno;
  return rc;
}

int64_t TcpSocket::Receive(void* buffer, size_t count, bool peek) {
  for (;;) {
    const ssize_t n = recv(fd_.load(), buffer, count, peek ? MSG_PEEK : 0);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    error_ = errno;
    return -1;
  }
}

bool TcpSocket::SendAll(const void* data, size_t count) {
  const char* p = static_cast<const char*>(data);
  while (count > 0) {
    const ssize_t n = send(fd_.load(), p, count, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail();
    }
    p += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

void TcpSocket::Shutdown() {
  const int fd = fd_.load();
  if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

void TcpSocket::Close() {
  const int fd = fd_.exchange(-1);
  if (fd >= 0) close(fd);
}

bool MakeSocketPair(TcpSocket& a, TcpSocket& b) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
    a.error_ = errno;
    return false;
  }
  a.Close();
  b.Close();
  a.fd_ = fds[0];
  b.fd_ = fds[1];
  return true;
}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen() {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  sockaddr_in s = ToNative(SocketAddress{0x7f000001u, 0});
  socklen_t len = sizeof s;
  if (bind(fd_, reinterpret_cast<sockaddr*>(&s), sizeof s) != 0 || listen(fd_, 8) != 0 ||
      getsockname(fd_, reinterpret_cast<sockaddr*>(&s), &len) != 0) {
    Close();
    return false;
  }
  port_ = ntohs(s.sin_port);
  return true;
}

bool TcpListener::Accept(TcpSocket& out, int timeoutMs) {
  if (fd_ < 0 || PollReadable(fd_, timeoutMs) != 1) return false;
  int fd;
  do {
    fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  out.Close();
  out.fd_ = fd;
  const int v = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &v, sizeof v);
  return true;
}

void TcpListener::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  port_ = 0;
}

}  // namespace platform
