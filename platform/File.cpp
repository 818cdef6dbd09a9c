#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <istream>
#include <utility>

#include "platform/FileSystem.h"

namespace platform {

File::~File() { Close(); }

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

bool File::Open(std::string_view path, unsigned access, Disposition disposition) {
  Close();
  missing_ = false;
  const std::string resolved = ResolvePath(path);
  if (resolved.empty()) return false;
  const bool write = (access & kWrite) != 0;
  int flags = O_CLOEXEC;
  flags |= write ? ((access & kRead) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
    case Disposition::kCreateNew: flags |= O_CREAT | O_EXCL; break;
    case Disposition::kCreateAlways: flags |= O_CREAT | O_TRUNC; break;
    case Disposition::kOpenExisting: break;
    case Disposition::kOpenAlways: flags |= O_CREAT; break;
    case Disposition::kTruncateExisting:
      if (!write) return false;
      flags |= O_TRUNC;
      break;
    default: return false;
  }
  struct stat before {};
  const bool existed = stat(resolved.c_str(), &before) == 0;
  if (existed) {
    if (S_ISDIR(before.st_mode)) return false;
    // The read-only attribute holds for every user, root included.
    const bool modifies = write || (flags & O_TRUNC) != 0;
    if (modifies && (before.st_mode & 0222) == 0) return false;
  }
  int fd;
  do {
    fd = open(resolved.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    missing_ = errno == ENOENT || errno == ENOTDIR;
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return false;
  }
  if (!existed) NoteFolderChanged(resolved);
  fd_ = fd;
  path_ = resolved;
  return true;
}

bool File::Close() {
  if (fd_ < 0) return false;
  const int rc = close(fd_);
  fd_ = -1;
  return rc == 0;
}

namespace {

// Repeats a read or write call until `count` bytes moved, the end of the file,
// or an error; a partial transfer before an error still counts.
template <typename Step>
int64_t Transfer(size_t count, Step step) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = step(done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? static_cast<int64_t>(done) : -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

}  // namespace

int64_t ReadFully(int fd, void* buffer, size_t count) {
  char* bytes = static_cast<char*>(buffer);
  return Transfer(count, [&](size_t done) { return read(fd, bytes + done, count - done); });
}

int64_t WriteFully(int fd, const void* buffer, size_t count) {
  const char* bytes = static_cast<const char*>(buffer);
  return Transfer(count, [&](size_t done) { return write(fd, bytes + done, count - done); });
}

bool ReadToEnd(int fd, std::string& out) {
  // Room for the rest of a regular file at once, rather than regrowing (and
  // copying) the text many times over for a file of megabytes.
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const off_t at = lseek(fd, 0, SEEK_CUR);
    if (at >= 0 && info.st_size > at) out.reserve(out.size() + static_cast<size_t>(info.st_size - at));
  }
  char chunk[16 * 1024];
  for (;;) {
    const int64_t n = ReadFully(fd, chunk, sizeof chunk);
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(chunk, static_cast<size_t>(n));
  }
}

std::string ReadRest(std::istream& in) {
  std::string out;
  const std::streampos at = in.tellg();
  if (at != std::streampos(-1)) {
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    // A folder opened as a stream can tell an absurd size: a hint past this
    // is ignored and the reads alone decide.
    constexpr std::streamoff kLargestHint = std::streamoff{256} << 20;
    if (end != std::streampos(-1) && end > at && end - at <= kLargestHint)
      out.reserve(static_cast<size_t>(end - at));
    in.clear();
    in.seekg(at);
  }
  char chunk[64 * 1024];
  while (in.read(chunk, sizeof chunk), in.gcount() > 0) out.append(chunk, static_cast<size_t>(in.gcount()));
  return out;
}

int64_t File::Read(void* buffer, size_t count) { return fd_ < 0 ? -1 : ReadFully(fd_, buffer, count); }

int64_t File::Write(const void* buffer, size_t count) { return fd_ < 0 ? -1 : WriteFully(fd_, buffer, count); }

bool File::ReadToEnd(std::string& out) { return fd_ >= 0 && platform::ReadToEnd(fd_, out); }

int64_t File::ReadAt(void* buffer, size_t count, int64_t offset) const {
  if (fd_ < 0 || offset < 0) return -1;
  char* bytes = static_cast<char*>(buffer);
  return Transfer(count, [&](size_t done) {
    return pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
  });
}

int64_t File::WriteAt(const void* buffer, size_t count, int64_t offset) {
  if (fd_ < 0 || offset < 0) return -1;
  const char* bytes = static_cast<const char*>(buffer);
  return Transfer(count, [&](size_t done) {
    return pwrite(fd_, bytes + done, count - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
  });
}

int64_t File::Seek(int64_t offset, Origin origin) {
  if (fd_ < 0) return -1;
  int whence = SEEK_SET;
  if (origin == Origin::kCurrent) whence = SEEK_CUR;
  if (origin == Origin::kEnd) whence = SEEK_END;
  const off_t pos = lseek(fd_, static_cast<off_t>(offset), whence);
  return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

int64_t File::Position() const {
  if (fd_ < 0) return -1;
  const off_t pos = lseek(fd_, 0, SEEK_CUR);
  return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

int64_t File::Size() const {
  struct stat st {};
  if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool File::Truncate(int64_t size) {
  if (fd_ < 0 || size < 0) return false;
  if (ftruncate(fd_, static_cast<off_t>(size)) != 0) return false;
  return lseek(fd_, static_cast<off_t>(size), SEEK_SET) >= 0;
}

bool File::Flush() { return fd_ >= 0 && fsync(fd_) == 0; }

}  // namespace platform
