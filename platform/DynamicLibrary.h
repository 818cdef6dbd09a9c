// A shared library loaded by name at run time and bound by entry name: the
// image codec plug-in, the binary-patch engine and the update library (in the
// host that loads it) all come in through here, never through dlopen calls of
// their own.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library (a path with a '/' is taken as it stands; a bare name is
  // sought the system's way). Every symbol is resolved now, so a library with
  // a missing dependency fails here rather than at its first call. An open
  // library is closed first. False, with LastError() telling why, on failure.
  bool Open(std::string_view path);
  // Unloads the library; entries found through it must not be called after.
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }
  const std::string& Path() const { return path_; }

  // The address of an entry, or nullptr (LastError() tells) when the library
  // has none of that name or is not open.
  void* Symbol(const char* name);
  // The entry as a function of the caller's type.
  template <class Fn>
  Fn Function(const char* name) {
    return reinterpret_cast<Fn>(Symbol(name));
  }

  // The loader's message for the last failure of this object.
  const std::string& LastError() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace platform
