// An update run fed arbitrary frames after a correct login: a loopback server
// thread greets, accepts the connect and login, then sends the input and hangs
// up. The client must end with a report, never crash, hang or write outside
// its scratch installation.
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "FuzzScratch.h"
#include "platform/Registry.h"
#include "platform/Socket.h"
#include "vekpatch/Common/InstallOps.h"
#include "vekpatch/Common/VekSettings.h"
#include "vekpatch/PatchDLL/ClientConn.h"

namespace {

std::string Frame(uint16_t id, const std::string& payload, uint32_t seq) {
  const size_t total = payload.size() + 8;
  std::string f{static_cast<char>(id >> 8), static_cast<char>(id), static_cast<char>(total >> 8),
                static_cast<char>(total)};
  for (int shift = 24; shift >= 0; shift -= 8) f += static_cast<char>(seq >> shift);
  return f + payload;
}

// Says no to every question, so a free-space question cannot loop.
int32_t Host(intptr_t, int32_t code, intptr_t, int32_t) { return code == 13 ? 0 : 1; }

// One listener and one settings store for the process: a store written for
// every run would spend its time syncing the disk.
platform::TcpListener& Listener() {
  static platform::TcpListener listener;
  static bool listening = false;
  if (!listening) listening = listener.Listen();
  return listener;
}

void Prepare(uint16_t port) {
  static bool done = false;
  if (done) return;
  vek::VekSettings& s = vek::Settings();
  s.loopWaitMs = 5;
  s.messageTimeoutMs = 200;
  s.receiveRoundMs = 1;
  s.receiveRounds = 3;
  s.sendPauseStepMs = 0;
  s.flushWaitMs = 200;
  s.headerPeeks = 1;
  const std::string root = fuzz::ScratchFolder::Path();
  platform::Registry::SetDefaultFile(root + "/registry.txt");
  done = true;
  platform::RegKey key;
  platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, vek::kVekPatchKey, key);
  key.SetString("InstallPath", root + "/install/");
  key.SetString("PatchServer", "127.0.0.1:" + std::to_string(port));
}

// Puts the settings file back as Prepare left it, under a new name renamed
// over it so the store sees a changed file and reads it again. Each run then
// starts from the same settings, and the store does not grow with every
// run's keys: each change copies, compares and rewrites all of it. A file
// that kept its size and time since it was last put back is left alone (the
// store rewrites it whole on every change), so a run that changed nothing
// costs no rewrite and the store no new read.
void RestoreSettings() {
  const std::string path = fuzz::ScratchFolder::Path() + "/registry.txt";
  static const std::string initial = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  static std::filesystem::file_time_type restoredTime{};
  static std::uintmax_t restoredSize = static_cast<std::uintmax_t>(-1);
  std::error_code timeError, sizeError;
  const auto time = std::filesystem::last_write_time(path, timeError);
  const auto bytes = std::filesystem::file_size(path, sizeError);
  if (!timeError && !sizeError && time == restoredTime && bytes == restoredSize) return;
  {
    std::ofstream out(path + ".fresh", std::ios::binary | std::ios::trunc);
    out.write(initial.data(), static_cast<std::streamsize>(initial.size()));
  }
  std::rename((path + ".fresh").c_str(), path.c_str());
  restoredTime = std::filesystem::last_write_time(path, timeError);
  restoredSize = std::filesystem::file_size(path, sizeError);
  if (timeError || sizeError) restoredSize = static_cast<std::uintmax_t>(-1);
}

// The loopback server: greets, echoes the flush, logs the client in, sends
// the input and hangs up, then drains what the client says.
void Serve(platform::TcpListener& listener, const std::uint8_t* data, std::size_t size) {
  platform::TcpSocket s;
  if (!listener.Accept(s, 2000)) return;
  s.SendAll("hello", 5);
  char scratch[64];
  while (s.WaitReadable(500) == 1) {
    const int64_t n = s.Receive(scratch, sizeof scratch);
    if (n <= 0) break;
    s.SendAll(scratch, static_cast<size_t>(n));  // the flush echo, then nothing more to read for now
    break;
  }
  // The login reply answers the client's connect message: sent before it
  // came, the hang-up below could beat the client's message and fail the
  // run at the login, whichever thread happened to be quicker.
  if (s.WaitReadable(500) == 1) s.Receive(scratch, sizeof scratch);
  const std::string login = Frame(2069, "\x01", 1) + Frame(2069, "\x01", 2);
  s.SendAll(login.data(), login.size());
  s.SendAll(data, size);
  s.Shutdown();
  // Drain what the client says until it hangs up.
  while (s.WaitReadable(500) == 1 && s.Receive(scratch, sizeof scratch) > 0) {
  }
}

// One server thread for the process, handed one input per run: a thread
// started and ended per input cost more than the run itself under the
// sanitizers.
class Server {
 public:
  explicit Server(platform::TcpListener& listener) : mListener(listener), mThread([this] { Loop(); }) {}
  ~Server() {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      mQuit = true;
    }
    mWake.notify_all();
    mThread.join();
  }
  // Starts serving one input; Wait() returns once the server hung up.
  void Start(const std::uint8_t* data, std::size_t size) {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      mData = data;
      mSize = size;
      mPending = true;
    }
    mWake.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mMutex);
    mWake.wait(lock, [this] { return !mPending; });
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;) {
      mWake.wait(lock, [this] { return mPending || mQuit; });
      if (mQuit) return;
      lock.unlock();
      Serve(mListener, mData, mSize);
      lock.lock();
      mPending = false;
      mWake.notify_all();
    }
  }

  platform::TcpListener& mListener;
  std::mutex mMutex;
  std::condition_variable mWake;
  const std::uint8_t* mData = nullptr;
  std::size_t mSize = 0;
  bool mPending = false;
  bool mQuit = false;
  std::thread mThread;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 60000) return 0;
  platform::TcpListener& listener = Listener();
  if (listener.Port() == 0) return 0;
  Prepare(listener.Port());
  RestoreSettings();
  static Server server(listener);
  server.Start(data, size);
  {
    vek::ClientConn conn(nullptr);
    conn.Run("Fuzz", 0, &Host);
  }
  server.Wait();
  vek::ResetInstallCaches();
  return 0;
}
