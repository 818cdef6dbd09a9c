// The client side of one update run. It connects to the patch server
// (following redirects), names the update it wants, and then obeys the
// server's messages: it answers registry and version questions, asks the user
// through the host, receives files into the download folder and checks them
// by MD5, edits the registry, writes REGINIT.DAT lines, and finally installs
// the received files, copying plain ones into place and handing patch files
// to the patch engine. Everything is reported to the host's callback.
//
// What the server sends is not trusted: file names must be plain names,
// target folders must lie inside the installation folder, and an update that
// fails part way leaves the installation as it was.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/File.h"
#include "vekpatch/Common/Connection.h"
#include "vekpatch/Common/VekException.h"
#include "vekpatch/VekPatch.h"

namespace vek {

using ErrorInfo = VekErrorInfo;
// The record a host receives with code 11; it points into the error's texts,
// so it lives no longer than the error.
inline ErrorInfo MakeErrorInfo(const VekException& e) {
  return ErrorInfo{e.Source().c_str(), e.Line(), e.Message().c_str(), static_cast<int32_t>(e.Code())};
}
// The patch engine's entry and the callback it calls.
using PatchEngineCallbackFn = void* (*)(int32_t id, void* data);
using PatchApplyFn = int32_t (*)(const char* commandLine, PatchEngineCallbackFn callback, int32_t flag);

struct ReceivedFile {
  std::string downloadPath;
  std::string targetDir;  // ends with '/'
  std::string digest;     // 32 lowercase hexadecimal digits, as announced
  bool patch = false;
};

class ClientConn : public Connection {
 public:
  explicit ClientConn(PatchApplyFn engine);
  ~ClientConn() override;

  // Runs the update over this connection: 0, or -1 after an error (reported
  // as code 11 unless the run was aborted or the host said stop).
  int Run(const std::string& name, intptr_t context, VekCallback callback);
  // From the host's thread: asks the run to end and waits a bounded time for
  // it; a run that does not end then has its socket shut down.
  void Abort();
  // Marks the run as aborted without waiting (before it has started).
  void RequestAbort() {
    abortRequested_ = true;
    abortEvent_ = true;
  }
  // Calls the host: the answer for code 13, otherwise 1; any other answer
  // forgets the callback and raises 0x10000015.
  int ReportToHost(int32_t code, intptr_t data, int32_t value);
  int ReportText(int32_t code, const std::string& text, int32_t value);

  // The patch engine's progress calls for the running connection.
  void* OnPatchEngine(int32_t id, void* data);

  void HandleMsgGoodbye() override;
  void HandleMsgRegKey();
  void HandleMsgRegQueryDword();
  void HandleMsgRegTestKey();
  void HandleMsgRegTestDword();
  void HandleMsgQueryVersion();
  void HandleMsgAskHost();
  void HandleMsgUpdateInfo();
  void HandleMsgHostValue();
  void HandleMsgFileBegin();
  void HandleMsgFileChunk();
  void HandleMsgFileEnd();
  void HandleMsgApplyUpdates();
  void HandleMsgRegSetValue();
  void HandleMsgRegDeleteValue();
  void HandleMsgRegInitFile();
  void HandleMsgShowText();
  void HandleMsgOpenBrowser();
  void HandleNak() { SendNak(); }
  void HandleStatus() { HandleMsgStatus(); }

  const std::vector<ReceivedFile>& ReceivedFiles() const { return received_; }
  bool RestartNeeded() const { return restart_; }
  const std::string& LastErrorText() const { return lastErrorText_; }
  uint32_t LastErrorCode() const { return lastErrorCode_; }

 private:
  // One change made to the installation, undone when the update fails.
  struct Applied {
    std::string target;
    std::string backup;  // "" when the target did not exist before
    bool readOnly = false;
  };

  [[noreturn]] void Fail(uint32_t code, int stringId, int line, std::initializer_list<std::string> texts = {},
                         std::initializer_list<int64_t> numbers = {}) const;
  void ReportError(const VekException& e, int32_t value);
  // A 32-bit value of the current key (`missing` when the value is absent);
  // false, after a negative status, when the key is absent.
  bool ReadCurrentDword(const std::string& valueName, uint32_t missing, uint32_t& value);
  void Connect();
  void SendConnect();
  // 0 go on, 1 refused, 2 redirected (host and port changed).
  int ReadLoginReply(std::string& host, uint16_t& port);
  void RunUpdateSession();
  void ApplyPlainFile(const ReceivedFile& file);
  void ApplyPatchFile(const ReceivedFile& file);
  void BackUp(const std::string& target);
  void RollBack();
  void FinishApplied();
  std::string InstallFolder();
  std::string ResolveTargetDir(const std::string& text);
  void CloseReceived();
  void Dispatch();
  int Percent(uint64_t part, uint64_t whole) const;

  PatchApplyFn engine_;
  std::atomic<bool> abortEvent_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> active_{false};
  std::atomic<bool> abortRequested_{false};
  std::string name_;
  std::string currentKey_;
  uint8_t keyFlags_[2] = {0, 0};
  uint16_t fileCount_ = 0;
  uint32_t totalBytes_ = 0;
  std::vector<ReceivedFile> received_;
  platform::File out_;
  bool fileOpen_ = false;
  uint32_t fileBytes_ = 0;
  uint32_t fileSize_ = 0;
  uint64_t allBytes_ = 0;
  std::string engineMessage_;
  int engineLastPercent_ = 0;
  uint32_t engineCount_ = 0;
  uint32_t engineDone_ = 0;
  int progressBase_ = 0;
  int progressShare_ = 0;
  std::string patchFolder_;
  std::exception_ptr engineError_;
  std::vector<Applied> applied_;
  std::atomic<bool> restart_{false};
  std::string lastErrorText_;
  uint32_t lastErrorCode_ = 0;
  intptr_t context_ = 0;
  VekCallback callback_ = nullptr;
};

// The callback handed to the patch engine: it finds the running client
// connection through a library-wide pointer.
void* PatchEngineCallback(int32_t id, void* data);

}  // namespace vek
