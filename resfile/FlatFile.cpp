#include "resfile/FlatFile.h"

#include "platform/FileSystem.h"
#include "resfile/ResStatus.h"

using platform::File;

FlatFile::FlatFile() = default;

FlatFile::~FlatFile() { Close(); }

int FlatFile::Open(const std::string& path) {
  if (mFile.IsOpen()) return kFlatAlreadyOpen;
  mWritable = true;
  if (!mFile.Open(path, File::kRead | File::kWrite, File::Disposition::kOpenExisting)) {
    mWritable = false;
    // Only a file that stands there may open read-only instead.
    if (mFile.WasMissing() || !mFile.Open(path, File::kRead, File::Disposition::kOpenExisting)) return kFlatOpenFailed;
  }
  return kResOK;
}

int FlatFile::OpenReadOnly(const std::string& path) {
  if (mFile.IsOpen()) return kFlatAlreadyOpen;
  mWritable = false;
  return mFile.Open(path, File::kRead, File::Disposition::kOpenExisting) ? kResOK : kFlatOpenFailed;
}

int FlatFile::Create(const std::string& path, const void* contents, int32_t length) {
  if (mFile.IsOpen()) return kFlatAlreadyOpen;
  if (length < 0) return kFlatShortWrite;
  // The creation itself refuses an existing name; only then is it worth
  // asking what stands there.
  File f;
  if (!f.Open(path, File::kWrite, File::Disposition::kCreateNew))
    return platform::FileExists(path) || platform::DirectoryExists(path) ? kFlatCreateExists : kFlatCreateFailed;
  const bool written = length == 0 || f.Write(contents, static_cast<size_t>(length)) == length;
  const bool closed = f.Close();
  if (!written) return kFlatShortWrite;
  return closed ? kResOK : kFlatCreateFailed;
}

int FlatFile::Delete(const std::string& path) {
  if (mFile.IsOpen()) return kFlatAlreadyOpen;
  if (!platform::FileExists(path)) return kFlatDeleteMissing;
  return platform::DeleteFile(path) ? kResOK : kFlatDeleteFailed;
}

int FlatFile::Close() {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  mWritable = false;
  return mFile.Close() ? kResOK : kFlatOpenFailed;
}

int FlatFile::Read(void* buffer, int32_t length) {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  if (length < 0) return kFlatShortRead;
  if (length == 0) return kResOK;
  return mFile.Read(buffer, static_cast<size_t>(length)) == length ? kResOK : kFlatShortRead;
}

int FlatFile::Write(const void* buffer, int32_t length) {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  if (length < 0 || !mWritable) return kFlatShortWrite;
  if (length == 0) return kResOK;
  return mFile.Write(buffer, static_cast<size_t>(length)) == length ? kResOK : kFlatShortWrite;
}

int FlatFile::Seek(int32_t position) {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  if (position < 0) return kFlatShortRead;
  return mFile.Seek(position, File::Origin::kBegin) == position ? kResOK : kFlatShortRead;
}

int FlatFile::GetLength(int32_t& out) {
  out = 0;
  if (!mFile.IsOpen()) return kFlatNotOpen;
  int64_t size = mFile.Size();
  if (size < 0 || size > INT32_MAX) return kFlatShortRead;
  out = static_cast<int32_t>(size);
  return kResOK;
}

int FlatFile::SetLength(int32_t length) {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  if (length < 0 || !mWritable) return kFlatOpenFailed;
  return mFile.Truncate(length) ? kResOK : kFlatOpenFailed;
}

int FlatFile::Flush() {
  if (!mFile.IsOpen()) return kFlatNotOpen;
  return mFile.Flush() ? kResOK : kFlatOpenFailed;
}

int FlatFile::GetPath(std::string& out) {
  out.clear();
  if (!mFile.IsOpen()) return kFlatNotOpen;
  out = mFile.Path();
  return kResOK;
}

int FlatFile::ReadAt(int32_t position, void* buffer, int32_t length) {
  int status = Seek(position);
  return status != 0 ? status : Read(buffer, length);
}

int FlatFile::WriteAt(int32_t position, const void* buffer, int32_t length) {
  int status = Seek(position);
  return status != 0 ? status : Write(buffer, length);
}
