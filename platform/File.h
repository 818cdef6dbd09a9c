// An open file with the Win32 open dispositions and access bits. Positions and
// sizes are 64-bit; callers that store 32-bit values narrow them themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace platform {

class File {
 public:
  enum Access : unsigned { kRead = 1, kWrite = 2 };
  // In the Win32 order, so stored or passed numbers 0-4 map directly.
  enum class Disposition { kCreateNew, kCreateAlways, kOpenExisting, kOpenAlways, kTruncateExisting };
  enum class Origin { kBegin, kCurrent, kEnd };

  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens (or creates) the file; the name is found whatever its letter case.
  //  kCreateNew        fails when the file exists
  //  kCreateAlways     creates or empties
  //  kOpenExisting     fails when the file is missing
  //  kOpenAlways       opens, creating a missing file
  //  kTruncateExisting empties an existing file; needs kWrite
  // Folders never open, and a read-only file never opens for writing.
  bool Open(std::string_view path, unsigned access, Disposition disposition);
  // After a failed Open: true when nothing stood at the path (or a folder on
  // the way to it was missing), so opening it any other way would fail too.
  bool WasMissing() const { return missing_; }
  bool IsOpen() const { return fd_ >= 0; }
  bool Close();

  // The number of bytes moved, or -1 on failure. Short counts mean the end of
  // the file (reads) or a full disk (writes).
  int64_t Read(void* buffer, size_t count);
  int64_t Write(const void* buffer, size_t count);
  // Reads at an offset without moving the position, so several readers may
  // share one handle.
  int64_t ReadAt(void* buffer, size_t count, int64_t offset) const;
  // Writes at an offset without moving the position.
  int64_t WriteAt(const void* buffer, size_t count, int64_t offset);
  // Appends everything from the position to the end of the file to `out`;
  // false on an error.
  bool ReadToEnd(std::string& out);

  // The new position, or -1 (position unchanged) when it would be negative.
  int64_t Seek(int64_t offset, Origin origin);
  int64_t Position() const;
  int64_t Size() const;
  // Makes the file `size` bytes long and leaves the position there.
  bool Truncate(int64_t size);
  bool Flush();

  // The path the file was opened under, as found on disk.
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
  bool missing_ = false;
};

// The loops File's reads and writes run on, for the layer's own code that
// holds a bare descriptor (saves, copies, the registry). Interrupted calls are
// repeated and short transfers continued: the answer is the bytes moved, fewer
// only at the end of the file or on an error (errno tells), -1 when an error
// came before any byte.
int64_t ReadFully(int fd, void* buffer, size_t count);
int64_t WriteFully(int fd, const void* buffer, size_t count);
// Appends everything from the position to the end of the file to `out`; false
// (errno tells) on an error.
bool ReadToEnd(int fd, std::string& out);

// Everything from an open stream's position to its end, read a block at a
// time into room made for it where the stream tells its size.
std::string ReadRest(std::istream& in);

}  // namespace platform
