#include "vekpatch/Common/VekLog.h"

#include <ctime>
#include <memory>
#include <vector>

#include "platform/Process.h"

namespace vek {

namespace {

std::mutex gSharedMutex;
VekLog* gShared = nullptr;
int gUsers = 0;

}  // namespace

VekLog::VekLog() { SetLogFacility(kStandardError); }

VekLog::~VekLog() { CloseFacility(facility_); }

int VekLog::Assert(const char* text) {
  assertion_ = text;
  std::fprintf(stderr, "VekPatch assertion failed: %s\n", text);
  return -1;
}

int VekLog::SetLogFacility(int facility, const char* fileName, int creationFlag) {
  if (facility == kNotChosen && facility_ == kNotChosen) throw 1;
  if (!firstSelection_ && facility == facility_) return 0;
  if (facility < 0 || facility > kNone) return Assert("Unknown facility in SetLogFacility");
  // This system keeps no Windows NT event log.
  if (facility == kEventLog) return Assert("Attempt to use Event Log on unsupported Windows OS");
  if (facility == kFile) {
    if (creationFlag != 0 && creationFlag != 1) return Assert("Invalid file creation flag specified");
    const std::string name = (fileName != nullptr && fileName[0] != '\0')
                                 ? std::string(fileName)
                                 : std::to_string(platform::ProcessId()) + ".txt";
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != nullptr) {
      std::fclose(file_);
      file_ = nullptr;
    }
    std::FILE* f = std::fopen(name.c_str(), creationFlag == 1 ? "wb" : "ab");
    if (f == nullptr) return -1;
    file_ = f;
    fileName_ = name;
  }
  if (!firstSelection_ && facility_ != kFile) CloseFacility(facility_);
  firstSelection_ = false;
  facility_ = static_cast<Facility>(facility);
  return 0;
}

int VekLog::CloseFacility(Facility facility) {
  switch (facility) {
    case kFile: {
      std::lock_guard<std::mutex> lock(mutex_);
      if (file_ != nullptr) std::fclose(file_);
      file_ = nullptr;
      return 0;
    }
    case kEventLog:
    case kStandardError:
    case kNone:
    case kNotChosen:
      return 0;
  }
  return Assert("Attempt to close invalid logging facility");
}

int VekLog::LogArgs(int level, const char* format, va_list args) {
  if (level > threshold_) return 0;
  if (facility_ == kNotChosen) throw 1;

  std::string entry;
  bool anyField = false;
  auto field = [&](const std::string& text) {
    if (anyField) entry += ", ";
    entry += text;
    anyField = true;
  };
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  if (prefixFlags_ & kPrefixDate) {
    std::snprintf(buf, sizeof buf, "%2.2d/%2.2d/%4.4d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    field(buf);
  }
  if (prefixFlags_ & kPrefixTime) {
    std::snprintf(buf, sizeof buf, "%2.2d:%2.2d:%2.2d", local.tm_hour, local.tm_min, local.tm_sec);
    field(buf);
  }
  if (prefixFlags_ & kPrefixEmpty) field("");
  if (prefixFlags_ & kPrefixProcess) field(std::to_string(platform::ProcessId()));
  if (anyField) entry += ": ";

  // Measured first, so an entry of any length is written whole and nothing
  // overruns.
  va_list measure;
  va_copy(measure, args);
  const int size = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (size < 0) return -1;
  std::vector<char> text(static_cast<size_t>(size) + 1);
  std::vsnprintf(text.data(), text.size(), format, args);
  entry.append(text.data(), static_cast<size_t>(size));
  entry += lineEnd_;

  switch (facility_) {
    case kEventLog:
      return Assert("Attempt to use syslog/eventlog on unsupported version of Windows");
    case kFile: {
      std::lock_guard<std::mutex> lock(mutex_);
      if (file_ == nullptr || std::fwrite(entry.data(), 1, entry.size(), file_) != entry.size()) return -1;
      std::fflush(file_);
      return 0;
    }
    case kStandardError: {
      std::lock_guard<std::mutex> lock(mutex_);
      std::fprintf(stderr, "%s", entry.c_str());
      return 0;
    }
    case kNone:
      return 0;
    case kNotChosen:
      break;
  }
  return Assert("Attempt to use unknown facility in LogArgs");
}

int VekLog::Log(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int rc = LogArgs(level, format, args);
  va_end(args);
  return rc;
}

VekLog& VekLog::AddUser() {
  std::lock_guard<std::mutex> lock(gSharedMutex);
  if (gShared == nullptr) gShared = new VekLog();
  ++gUsers;
  return *gShared;
}

void VekLog::RemoveUser() {
  std::lock_guard<std::mutex> lock(gSharedMutex);
  if (gUsers > 0 && --gUsers == 0) {
    delete gShared;
    gShared = nullptr;
  }
}

}  // namespace vek
