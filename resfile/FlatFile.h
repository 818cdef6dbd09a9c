// The plain file under both IFF containers: open, create, delete, read,
// write, seek and size one file, each answered with a status code (ResStatus.h:
// -39 to -50) that the resource layer passes on unchanged.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

class FlatFile {
 public:
  FlatFile();
  virtual ~FlatFile();
  FlatFile(const FlatFile&) = delete;
  FlatFile& operator=(const FlatFile&) = delete;

  // For reading and writing, else read-only.
  int Open(const std::string& path);
  // Read-only in any case (tools that must not change what they look at).
  int OpenReadOnly(const std::string& path);
  // A new file holding `length` bytes of `contents` (empty by default); -43
  // when one exists already (never truncates).
  int Create(const std::string& path, const void* contents = nullptr, int32_t length = 0);
  int Delete(const std::string& path);
  int Close();
  // Exactly length bytes or a failure.
  int Read(void* buffer, int32_t length);
  int Write(const void* buffer, int32_t length);
  int Seek(int32_t position);
  int GetLength(int32_t& out);
  int SetLength(int32_t length);
  int Flush();
  int GetPath(std::string& out);
  bool IsOpen() const { return mFile.IsOpen(); }
  bool IsWritable() const { return mFile.IsOpen() && mWritable; }

  // Seek and Read or Write in one step.
  int ReadAt(int32_t position, void* buffer, int32_t length);
  int WriteAt(int32_t position, const void* buffer, int32_t length);

 private:
  platform::File mFile;
  bool mWritable = false;
};
