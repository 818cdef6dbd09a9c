#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <utility>

namespace platform {

namespace {

// dlerror's text is per thread but is reset by every loader call; one lock
// keeps a failure and its message together when objects share a thread pool.
std::mutex& LoaderMutex() {
  static std::mutex m;
  return m;
}

std::string TakeError(const char* fallback) {
  const char* e = dlerror();
  return e != nullptr ? std::string(e) : std::string(fallback);
}

}  // namespace

DynamicLibrary::~DynamicLibrary() { Close(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

bool DynamicLibrary::Open(std::string_view path) {
  Close();
  error_.clear();
  if (path.empty()) {
    error_ = "no library named";
    return false;
  }
  const std::string name(path);
  std::lock_guard<std::mutex> lock(LoaderMutex());
  dlerror();
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error_ = TakeError("the library could not be loaded");
    return false;
  }
  handle_ = handle;
  path_ = name;
  return true;
}

void DynamicLibrary::Close() {
  if (handle_ != nullptr) {
    std::lock_guard<std::mutex> lock(LoaderMutex());
    dlclose(handle_);
    handle_ = nullptr;
  }
  path_.clear();
}

void* DynamicLibrary::Symbol(const char* name) {
  if (handle_ == nullptr) {
    error_ = "the library is not loaded";
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(LoaderMutex());
  dlerror();
  void* address = dlsym(handle_, name);
  if (address == nullptr) {
    error_ = TakeError("no such entry");
    return nullptr;
  }
  return address;
}

}  // namespace platform
