// The update library's diagnostic log, shared by every connection: function
// traces at level 255, notes at 2, failures at 1. Only entries at or below the
// threshold (4) are written, to standard error unless another facility is
// chosen. Every entry starts with ": " (the prefix flags take only the empty
// field) and ends with "\r\n".
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace vek {

class VekLog {
 public:
  enum Facility : uint8_t { kEventLog = 0, kFile = 1, kStandardError = 2, kNone = 3, kNotChosen = 4 };
  // Prefix flag bits.
  enum : uint8_t { kPrefixDate = 1, kPrefixTime = 2, kPrefixEmpty = 4, kPrefixProcess = 8 };

  VekLog();
  ~VekLog();
  VekLog(const VekLog&) = delete;
  VekLog& operator=(const VekLog&) = delete;

  // 0 or -1. Facility 1 writes to `fileName`, or "<process id>.txt" when none
  // is given; creation flag 1 empties the file, 0 appends. Selecting 4 while
  // nothing was chosen throws the integer 1.
  int SetLogFacility(int facility, const char* fileName = nullptr, int creationFlag = 0);
  int LogArgs(int level, const char* format, va_list args);
  int Log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

  Facility CurrentFacility() const { return facility_; }
  uint8_t Threshold() const { return threshold_; }
  void SetThreshold(uint8_t level) { threshold_ = level; }
  // The text of the last assertion failure ("" when none), for reports.
  const std::string& LastAssertion() const { return assertion_; }

  // The log shared by the connections: the first user makes it, the last one
  // deletes it.
  static VekLog& AddUser();
  static void RemoveUser();

 private:
  int Assert(const char* text);
  int CloseFacility(Facility facility);

  Facility facility_ = kNotChosen;
  bool firstSelection_ = true;
  uint8_t threshold_ = 4;
  uint8_t prefixFlags_ = kPrefixEmpty;
  std::string lineEnd_ = "\r\n";
  std::FILE* file_ = nullptr;
  std::string fileName_;
  std::string assertion_;
  std::mutex mutex_;
};

}  // namespace vek
