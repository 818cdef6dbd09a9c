#include "vekpatch/PatchDLL/PatchDLL.h"

#include <atomic>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "vekpatch/Common/InstallOps.h"
#include "vekpatch/Common/LanguageResources.h"
#include "vekpatch/Common/NetSocket.h"
#include "vekpatch/Common/VekSettings.h"

namespace vek {

namespace {

constexpr const char* kPatchDllUnit = "PatchDLL.cpp";
// The engine's file in the installation folder and its entry.
constexpr const char* kEngineFile = "libpatchw32.so";
constexpr const char* kEngineEntry = "RTPatchApply32";
// Paths the library builds stay within the limit its callers were made for.
constexpr size_t kMaxPath = 260;

struct Library {
  Library() {
    // Made first so they outlive this object at unload.
    Settings();
    NetSocket::Instance();
    LoadedLanguageId();
    LastInstallError();
  }
  ~Library() { ShutdownLibrary(); }

  std::mutex startMutex;  // VekDoUpdate, VekAbortUpdate and the start
  bool attached = false;
  bool languageLoaded = false;
  platform::DynamicLibrary engineLibrary;
  PatchApplyFn engine = nullptr;
  PatchApplyFn testEngine = nullptr;

  std::string name;
  intptr_t context = 0;
  std::atomic<VekCallback> callback{nullptr};
  std::thread worker;
  std::atomic<bool> workerActive{false};

  std::mutex connMutex;  // the running connection's life
  ClientConn* running = nullptr;
  // An abort that came after the worker started but before its connection
  // existed; the connection hears of it when it is published.
  bool abortPending = false;
};

Library& Lib() {
  static Library library;
  return library;
}

// The start's steps, at the first export call (a load cannot fail here).
// Caller holds startMutex.
void Attach(Library& lib) {
  if (lib.attached) return;
  if (!lib.languageLoaded) {
    if (!LoadLanguageResources()) {
      throw VekGenericException(2, "The update's language texts (vekp*.txt) could not be loaded.", kPatchDllUnit, __LINE__);
    }
    lib.languageLoaded = true;
  }
  DeleteHostCopy();
  if (lib.testEngine == nullptr && lib.engine == nullptr) {
    const std::optional<std::string> install = GetInstallPath(kVekPatchKey);
    if (!install) throw VekGenericException(126, LanguageMessage(43), kPatchDllUnit, __LINE__);
    const std::string path = *install + kEngineFile;
    if (path.size() > kMaxPath) RaiseVek(206, 9, kPatchDllUnit, __LINE__, {path});
    if (!lib.engineLibrary.Open(path)) {
      throw VekGenericException(126, LanguageMessage(9, {path}) + " " + lib.engineLibrary.LastError(), kPatchDllUnit, __LINE__);
    }
    lib.engine = lib.engineLibrary.Function<PatchApplyFn>(kEngineEntry);
    if (lib.engine == nullptr) {
      const std::string why = lib.engineLibrary.LastError();
      lib.engineLibrary.Close();
      throw VekGenericException(127, LanguageMessage(9, {path}) + " " + why, kPatchDllUnit, __LINE__);
    }
  }
  lib.attached = true;
}

void WaitForWorker(Library& lib) {
  if (!lib.worker.joinable()) return;
  if (lib.worker.get_id() == std::this_thread::get_id()) return;  // called from a callback of the run
  while (lib.workerActive) platform::SleepMs(static_cast<uint32_t>(Settings().abortPollMs));
  lib.worker.join();
}

void UpdateWorkerThread(std::string name, intptr_t context, VekCallback callback, PatchApplyFn engine) {
  Library& lib = Lib();
  {
    ClientConn conn(engine);
    {
      std::lock_guard<std::mutex> lock(lib.connMutex);
      lib.running = &conn;
      if (lib.abortPending) conn.RequestAbort();
      lib.abortPending = false;
    }
    conn.Run(name, context, callback);
    // The abort path reaches the connection only under this lock, so it is
    // never touched while it is being destroyed.
    std::lock_guard<std::mutex> lock(lib.connMutex);
    lib.running = nullptr;
  }
  try {
    ReportToCaller(context, 15, 0, 0);
  } catch (const VekException&) {
  }
  lib.workerActive = false;
}

// Codes 11, 0 and 15 for a start that failed; failures of the reports are
// ignored (there may be no callback).
void ReportRefusal(const VekException& e, intptr_t context) {
  ErrorInfo info = MakeErrorInfo(e);
  for (const auto& [code, data, value] : {std::tuple<int32_t, intptr_t, int32_t>{11, reinterpret_cast<intptr_t>(&info), 4},
                                          {0, 0, 1}, {15, 0, 0}}) {
    try {
      ReportToCaller(context, code, data, value);
    } catch (const VekException&) {
      return;
    }
  }
}

}  // namespace

int ReportToCaller(intptr_t context, int32_t code, intptr_t data, int32_t value) {
  Library& lib = Lib();
  const VekCallback callback = lib.callback.load();
  if (callback == nullptr) RaiseVek(kErrStopped, 70, kPatchDllUnit, __LINE__);
  const int32_t result = callback(context, code, data, value);
  if (result == 1 || code == 13) return result;
  lib.callback = nullptr;
  RaiseVek(kErrStopped, 70, kPatchDllUnit, __LINE__);
}

void SetPatchEngineForTest(PatchApplyFn engine) {
  std::lock_guard<std::mutex> lock(Lib().startMutex);
  Lib().testEngine = engine;
}

void ShutdownLibrary() {
  Library& lib = Lib();
  {
    std::lock_guard<std::mutex> lock(lib.connMutex);
    if (lib.running != nullptr) lib.running->Abort();
    else if (lib.workerActive) lib.abortPending = true;
  }
  std::lock_guard<std::mutex> lock(lib.startMutex);
  WaitForWorker(lib);
  if (lib.worker.joinable()) lib.worker.detach();
  lib.engine = nullptr;
  lib.engineLibrary.Close();
  if (lib.languageLoaded) FreeLanguageResources();
  lib.languageLoaded = false;
  lib.attached = false;
  lib.callback = nullptr;
  lib.context = 0;
  ResetInstallCaches();
}

int32_t DoUpdate(const char* name, intptr_t context, VekCallback cb) {
  Library& lib = Lib();
  std::unique_lock<std::mutex> lock(lib.startMutex);
  try {
    try {
      Attach(lib);
    } catch (const VekException& e) {
      // Nobody else could hear of it: the reports go to this call's callback.
      if (cb != nullptr && (!lib.workerActive)) {
        lib.callback = cb;
        lib.context = context;
      }
      lock.unlock();
      ReportRefusal(e, context);
      return -1;
    }
    if (name == nullptr || name[0] == '\0' || cb == nullptr) {
      RaiseVek(kErrInvalidArgument, 39, kPatchDllUnit, __LINE__, {"VekDoUpdate"});
    }
    if (lib.workerActive) return -1;
    if (lib.worker.joinable()) lib.worker.join();
    lib.name = name;
    lib.context = context;
    lib.callback = cb;
    lib.workerActive = true;
    {
      std::lock_guard<std::mutex> conn(lib.connMutex);
      lib.abortPending = false;
    }
    try {
      lib.worker = std::thread(UpdateWorkerThread, lib.name, context, cb,
                               lib.testEngine != nullptr ? lib.testEngine : lib.engine);
    } catch (const std::system_error& e) {
      lib.workerActive = false;
      RaiseVek(static_cast<uint32_t>(e.code().value()), 49, kPatchDllUnit, __LINE__);
    }
    return 0;
  } catch (const std::bad_alloc&) {
    const VekGenericException e(kErrOutOfMemory, LanguageMessage(37), kPatchDllUnit, __LINE__);
    if (lock.owns_lock()) lock.unlock();
    ReportRefusal(e, context);
    return -1;
  } catch (const VekException& e) {
    if (lock.owns_lock()) lock.unlock();
    ReportRefusal(e, context);
    return -1;
  }
}

void AbortUpdate() {
  Library& lib = Lib();
  {
    std::lock_guard<std::mutex> lock(lib.connMutex);
    if (lib.running != nullptr) lib.running->Abort();
    else if (lib.workerActive) lib.abortPending = true;
  }
  intptr_t context;
  {
    std::lock_guard<std::mutex> lock(lib.startMutex);
    WaitForWorker(lib);
    context = lib.context;
  }
  try {
    ReportToCaller(context, 0, 0, 1);
    ReportToCaller(context, 15, 0, 0);
  } catch (const VekException&) {
  }
}

}  // namespace vek
