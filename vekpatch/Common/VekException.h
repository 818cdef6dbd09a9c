// The update library's errors. Every failure inside a run is one of these: a
// 32-bit code (the library's own 0x1000xxxx codes, or the system error number
// of the call that failed), a message in the installation's language, and the
// source unit and line that raised it, which the host is shown verbatim.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vek {

// The library's own error codes.
enum VekErrorCode : uint32_t {
  kErrTransfer = 0x10000000,        // a message could not be sent or received in time
  kErrPatchEngine = 0x10000001,     // the patch engine reported failure
  kErrProtocol = 0x10000002,        // the server broke the protocol
  kErrInvalidArgument = 0x10000004,
  kErrOutOfMemory = 0x10000005,
  kErrFileOpen = 0x10000007,        // a received file or REGINIT.DAT cannot be opened
  kErrUnexpected = 0x10000008,
  kErrCreateDirectory = 0x10000009,
  kErrSocket = 0x1000000d,          // socket cannot be made, resolved or connected
  kErrServerSetting = 0x1000000e,
  kErrRefused = 0x1000000f,
  kErrDownloadDir = 0x10000012,
  kErrBusy = 0x10000013,            // the connection's lock was not had in time
  kErrStopped = 0x10000015,         // no host callback, or the host said stop
  kErrNoKey = 1,                    // a registry-key message without its key
};

class VekException : public std::exception {
 public:
  virtual uint32_t Code() const = 0;
  virtual const std::string& Message() const = 0;
  virtual const std::string& Source() const = 0;
  virtual int32_t Line() const = 0;
};

class VekGenericException : public VekException {
 public:
  VekGenericException() = default;
  VekGenericException(uint32_t code, std::string message, std::string source, int32_t line)
      : code_(code), message_(std::move(message)), source_(std::move(source)), line_(line) {}

  uint32_t Code() const override { return code_; }
  const std::string& Message() const override { return message_; }
  const std::string& Source() const override { return source_; }
  int32_t Line() const override { return line_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  uint32_t code_ = 0;
  std::string message_;
  std::string source_;
  int32_t line_ = 0;
};

// Raises an error whose message is language string `stringId` with its "%s"
// placeholders filled by `texts` and its "%d" placeholders by `numbers`, in
// order (see ReplaceToken).
[[noreturn]] void RaiseVek(uint32_t code, int stringId, const char* source, int32_t line,
                           std::initializer_list<std::string> texts = {},
                           std::initializer_list<int64_t> numbers = {});

}  // namespace vek
